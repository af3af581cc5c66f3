#include "platform/toolkit/CWinApp.h"

#include "platform/toolkit/ExecutableTitle.h"
#include "platform/toolkit/Utf16Text.h"

#include <vector>

std::string ExecutableTitle()
{
    std::vector<wchar_t> path(32768, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring name(path.data(), length);
    name.erase(0, name.find_last_of(L"\\/") + 1);
    if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return Utf8FromWide(name);
}

int AfxWinMain(int, char**)
{
    // The IP-address control lives in comctl32; the manifest asks for its version 6 look.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    if (app->m_strAppName.empty())
        app->m_strAppName = ExecutableTitle();
    if (app->InitInstance()) {
        MSG msg{};
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return app->ExitInstance();
}
