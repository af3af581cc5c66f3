#include "platform/toolkit/ControlAccess.h"

#include "platform/toolkit/Utf16Text.h"

namespace {

std::wstring WindowTextW(HWND hWnd)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
    const int copied = ::GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

bool IsEdit(HWND hWnd)
{
    wchar_t name[16] = {};
    ::GetClassNameW(hWnd, name, 16);
    return ::lstrcmpiW(name, L"Edit") == 0;
}

} // namespace

std::string ControlText(HWND hWnd)
{
    return Utf8FromWide(WindowTextW(hWnd));
}

void SetControlText(HWND hWnd, std::string_view utf8)
{
    const std::wstring text = WideFromUtf8(utf8);
    if (WindowTextW(hWnd) != text)
        ::SetWindowTextW(hWnd, text.c_str());
}

void SelectAllText(HWND hWnd)
{
    if (IsEdit(hWnd))
        ::SendMessageW(hWnd, EM_SETSEL, 0, -1);
}

void LimitEditText(HWND hWnd, int nChars)
{
    if (IsEdit(hWnd) && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & ES_MULTILINE) == 0)
        ::SendMessageW(hWnd, EM_SETLIMITTEXT, static_cast<WPARAM>(nChars), 0);
}

int ControlCheckState(HWND hWnd)
{
    return static_cast<int>(::SendMessageW(hWnd, BM_GETCHECK, 0, 0));
}

void SetControlCheckState(HWND hWnd, int state)
{
    ::SendMessageW(hWnd, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}
