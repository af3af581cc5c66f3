#pragma once
// The file-open (and save) dialog, behind one wrapper with a hook for tests.

#include "platform/toolkit/WinUser.h"

#include <functional>
#include <optional>
#include <string>

class CWnd;

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

struct FileDialogRequest {
    BOOL open;
    // The filter list in the toolkit's form: "Text (*.txt);;All Files (*)".
    std::string qtFilter;
    std::string selectedFilter;
    DWORD flags;
};

// Returns the chosen full path, or std::nullopt for cancel.
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogRequest&)>;
// An empty hook restores the real dialog.
void SetFileDialogHook(FileDialogHook hook);

// "Text (*.txt)|*.txt|All Files (*.*)|*.*||" in the toolkit's form; "*.*" means all files.
std::string QtFilterFromWindowsFilter(const char* lpszFilter);

class CFileDialog {
public:
    explicit CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
                         const char* lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // IDOK or IDCANCEL. The process's current directory is left as it was.
    INT_PTR DoModal();
    std::string GetPathName() const;

private:
    BOOL m_bOpenFileDialog;
    std::string m_defExt;
    std::string m_fileName;
    DWORD m_dwFlags;
    std::string m_filter;
    CWnd* m_pParentWnd;
    std::string m_pathName;
};
