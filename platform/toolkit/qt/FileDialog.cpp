#include "platform/toolkit/FileDialogWrapper.h"

#include "platform/toolkit/qt/QtHandles.h"

#include <QApplication>
#include <QFileDialog>

std::optional<std::string> RunRealFileDialog(const FileDialogSetup& setup)
{
    const FileDialogRequest& request = setup.request;
    QWidget* owner = setup.owner ? WidgetFromHandle(setup.owner) : nullptr;
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
    if (!setup.defExt.empty())
        dialog.setDefaultSuffix(FromUtf8(setup.defExt.c_str()));
    if (!setup.fileName.empty())
        dialog.selectFile(FromUtf8(setup.fileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToUtf8(dialog.selectedFiles().first());
}
