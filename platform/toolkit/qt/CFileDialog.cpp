#include "platform/toolkit/CFileDialog.h"

#include "platform/toolkit/CWnd.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include <utility>

namespace {

FileDialogHook& Hook()
{
    static FileDialogHook hook;
    return hook;
}

// "*.*" matches every name on the platform, also names without a dot.
QString QtPatterns(const QString& patterns)
{
    QStringList converted;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        converted << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
    }
    return converted.join(QLatin1Char(' '));
}

// The description without a trailing "(...)" of its own, which Qt would read as patterns.
QString BareDescription(const QString& description)
{
    QString bare = description.trimmed();
    if (bare.endsWith(QLatin1Char(')'))) {
        const qsizetype open = bare.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            bare = bare.left(open).trimmed();
    }
    return bare;
}

QStringList QtFilterEntries(const char* lpszFilter)
{
    QStringList entries;
    const QStringList parts = FromUtf8(lpszFilter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty())
            break;
        entries << QStringLiteral("%1 (%2)").arg(BareDescription(parts.at(i)), QtPatterns(parts.at(i + 1)));
    }
    return entries;
}

std::optional<std::string> RunRealFileDialog(const FileDialogRequest& request, const std::string& defExt,
                                             const std::string& fileName, QWidget* owner)
{
    QFileDialog dialog(owner ? owner : QApplication::activeModalWidget());
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    const bool mustExist = request.open && (request.flags & OFN_FILEMUSTEXIST);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.open && !(request.flags & OFN_OVERWRITEPROMPT))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.qtFilter.empty()) {
        dialog.setNameFilter(FromUtf8(request.qtFilter.c_str()));
        dialog.selectNameFilter(FromUtf8(request.selectedFilter.c_str()));
    }
    if (!defExt.empty())
        dialog.setDefaultSuffix(FromUtf8(defExt.c_str()));
    if (!fileName.empty())
        dialog.selectFile(FromUtf8(fileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToUtf8(dialog.selectedFiles().first());
}

} // namespace

void SetFileDialogHook(FileDialogHook hook)
{
    Hook() = std::move(hook);
}

std::string QtFilterFromWindowsFilter(const char* lpszFilter)
{
    return ToUtf8(QtFilterEntries(lpszFilter).join(QStringLiteral(";;")));
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                         const char* lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog),
      m_defExt(lpszDefExt ? lpszDefExt : ""),
      m_fileName(lpszFileName ? lpszFileName : ""),
      m_dwFlags(dwFlags),
      m_filter(lpszFilter ? lpszFilter : ""),
      m_pParentWnd(pParentWnd)
{
}

INT_PTR CFileDialog::DoModal()
{
    const QStringList entries = QtFilterEntries(m_filter.c_str());
    const FileDialogRequest request{m_bOpenFileDialog, ToUtf8(entries.join(QStringLiteral(";;"))),
                                    entries.isEmpty() ? std::string() : ToUtf8(entries.first()), m_dwFlags};
    std::optional<std::string> chosen;
    if (FileDialogHook hook = Hook()) {
        chosen = hook(request);
    } else {
        QWidget* owner = m_pParentWnd && m_pParentWnd->m_hWnd ? WidgetFromHandle(m_pParentWnd->m_hWnd) : nullptr;
        chosen = RunRealFileDialog(request, m_defExt, m_fileName, owner);
    }
    if (!chosen)
        return IDCANCEL;
    m_pathName = *chosen;
    return IDOK;
}

std::string CFileDialog::GetPathName() const
{
    return m_pathName;
}
