#include "tests/support/DialogDriver.h"

#include "platform/toolkit/Utf16Text.h"
#include "tests/support/win32/MessagePump.h"

#include <deque>
#include <map>

namespace driver {
namespace {

// Input is posted to the window's queue, as the system queues input: the modal loop's
// key filter and the dialog manager see it as they see a user's keys and clicks.
void PostKey(HWND target, UINT message, WPARAM wParam)
{
    const bool up = message == WM_KEYUP;
    ::PostMessageW(target, message, wParam, static_cast<LPARAM>(1u | (up ? (1u << 30) | (1u << 31) : 0u)));
}

HWND FocusOrActive()
{
    HWND focus = ::GetFocus();
    return focus ? focus : ::GetActiveWindow();
}

std::map<UINT_PTR, std::function<void()>>& Steps()
{
    static std::map<UINT_PTR, std::function<void()>> steps;
    return steps;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    const auto it = Steps().find(id);
    if (it == Steps().end())
        return;
    std::function<void()> step = std::move(it->second);
    Steps().erase(it);
    step();
}

} // namespace

bool Activate(const CWnd& dialog)
{
    ::SetForegroundWindow(dialog.m_hWnd);
    ::SetActiveWindow(dialog.m_hWnd);
    return ::GetActiveWindow() == dialog.m_hWnd;
}

bool ActivateModal()
{
    // A modal run's window is the active one as it opens; the owner it disabled cannot be.
    HWND active = ::GetActiveWindow();
    return active != nullptr && ::IsWindowEnabled(active);
}

void Click(HWND control, WPARAM keys)
{
    RECT rect{};
    ::GetClientRect(control, &rect);
    const LPARAM at = MAKELPARAM(static_cast<unsigned>(rect.right / 2), static_cast<unsigned>(rect.bottom / 2));
    ::PostMessageW(control, WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
    ::PostMessageW(control, WM_LBUTTONUP, keys, at);
}

void ClickListEntry(HWND list, int index)
{
    RECT rect{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM(static_cast<unsigned>((rect.left + rect.right) / 2),
                                 static_cast<unsigned>((rect.top + rect.bottom) / 2));
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(list, WM_LBUTTONUP, 0, at);
}

void Type(HWND control, std::string_view utf8)
{
    ::SetFocus(control);
    // The characters as TranslateMessage would have made them from the keys.
    for (const wchar_t unit : WideFromUtf8(utf8))
        PostKey(control, WM_CHAR, static_cast<WPARAM>(unit));
}

void TypeIntoFocus(std::string_view utf8)
{
    for (const wchar_t unit : WideFromUtf8(utf8)) {
        PostKey(FocusOrActive(), WM_CHAR, static_cast<WPARAM>(unit));
        // The focus this character moves decides where the next one goes.
        while (PumpOne()) {
        }
    }
}

void PressKey(int virtualKey)
{
    HWND target = FocusOrActive();
    PostKey(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey));
    PostKey(target, WM_KEYUP, static_cast<WPARAM>(virtualKey));
}

void RunSoon(std::function<void()> step)
{
    const UINT_PTR id = ::SetTimer(nullptr, 0, 0, &RunStep);
    Steps()[id] = std::move(step);
}

} // namespace driver
