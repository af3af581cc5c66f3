// The file dialog's wrapper, the same on every backend: the test hook, the filter list in
// the toolkit's form, and the dialog's answer.
#include "platform/toolkit/CFileDialog.h"

#include "platform/toolkit/CWnd.h"
#include "platform/toolkit/FileDialogWrapper.h"

#include <string_view>
#include <utility>
#include <vector>

namespace {

FileDialogHook& Hook()
{
    static FileDialogHook hook;
    return hook;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string_view Trimmed(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// "*.*" matches every name on the platform, also names without a dot.
std::string ToolkitPatterns(std::string_view patterns)
{
    std::string converted;
    for (std::string_view pattern : Split(patterns, ';')) {
        if (pattern.empty())
            continue;
        const std::string_view trimmed = Trimmed(pattern);
        if (!converted.empty())
            converted += ' ';
        converted += trimmed == "*.*" ? std::string_view("*") : trimmed;
    }
    return converted;
}

// The description without a trailing "(...)" of its own, which would be read as patterns.
std::string_view BareDescription(std::string_view description)
{
    std::string_view bare = Trimmed(description);
    if (!bare.empty() && bare.back() == ')') {
        const std::size_t open = bare.rfind('(');
        if (open != std::string_view::npos)
            bare = Trimmed(bare.substr(0, open));
    }
    return bare;
}

std::vector<std::string> FilterEntries(std::string_view filter)
{
    std::vector<std::string> entries;
    const std::vector<std::string_view> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty())
            break;
        entries.push_back(std::string(BareDescription(parts[i])) + " (" + ToolkitPatterns(parts[i + 1]) + ")");
    }
    return entries;
}

std::string Joined(const std::vector<std::string>& entries)
{
    std::string joined;
    for (const std::string& entry : entries)
        joined += (joined.empty() ? "" : ";;") + entry;
    return joined;
}

} // namespace

void SetFileDialogHook(FileDialogHook hook)
{
    Hook() = std::move(hook);
}

std::string QtFilterFromWindowsFilter(const char* lpszFilter)
{
    return Joined(FilterEntries(lpszFilter ? lpszFilter : ""));
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
    const std::vector<std::string> entries = FilterEntries(m_filter);
    const FileDialogRequest request{m_bOpenFileDialog, Joined(entries), entries.empty() ? std::string() : entries.front(),
                                    m_dwFlags};
    std::optional<std::string> chosen;
    if (FileDialogHook hook = Hook()) {
        chosen = hook(request);
    } else {
        HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
        chosen = RunRealFileDialog(FileDialogSetup{request, m_filter, m_defExt, m_fileName, owner});
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
