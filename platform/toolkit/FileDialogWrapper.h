#pragma once
// What each backend provides behind CFileDialog: the platform's own file dialog.

#include "platform/toolkit/CFileDialog.h"

struct FileDialogSetup {
    FileDialogRequest request;
    // The filter as the program gave it: "Text (*.txt)|*.txt|All Files (*.*)|*.*||".
    std::string windowsFilter;
    std::string defExt;
    std::string fileName;
    HWND owner;
};

// The chosen full path, or std::nullopt for cancel.
std::optional<std::string> RunRealFileDialog(const FileDialogSetup& setup);
