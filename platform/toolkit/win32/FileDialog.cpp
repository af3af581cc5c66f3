#include "platform/toolkit/FileDialogWrapper.h"

#include "platform/toolkit/Utf16Text.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

// "Text (*.txt)|*.txt||" as the dialog takes it: each '|' a terminator, two at the end.
std::wstring NativeFilter(const std::string& filter)
{
    std::wstring native = WideFromUtf8(filter);
    for (wchar_t& c : native) {
        if (c == L'|')
            c = L'\0';
    }
    native.append(2, L'\0');
    return native;
}

} // namespace

std::optional<std::string> RunRealFileDialog(const FileDialogSetup& setup)
{
    const std::wstring filter = NativeFilter(setup.windowsFilter);
    const std::wstring defExt = WideFromUtf8(setup.defExt);
    std::vector<wchar_t> path(32768, L'\0');
    const std::wstring initial = WideFromUtf8(setup.fileName);
    initial.copy(path.data(), std::min(initial.size(), path.size() - 1));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = setup.owner;
    dialog.lpstrFilter = setup.windowsFilter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
    // The process's current directory is left as it was.
    dialog.Flags = setup.request.flags | OFN_NOCHANGEDIR | OFN_EXPLORER;
    const BOOL chosen = setup.request.open ? ::GetOpenFileNameW(&dialog) : ::GetSaveFileNameW(&dialog);
    if (!chosen)
        return std::nullopt;
    return Utf8FromWide(path.data());
}
