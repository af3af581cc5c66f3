#include "tests/support/DialogDriver.h"

#include "platform/toolkit/Utf16Text.h"
#include "tests/support/Wait.h"
#include "tests/support/win32/MessagePump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <string>

namespace driver {
namespace {

// Input is posted to the window's queue, as the system queues input: the modal loop's
// key filter and the dialog manager see it as they see a user's keys and clicks.
// alt: the key comes with Alt held (the context bit), as system keys do.
void PostKey(HWND target, UINT message, WPARAM wParam, bool extended = false, bool alt = false)
{
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    const unsigned flags =
        1u | (extended ? 1u << 24 : 0u) | (alt ? 1u << 29 : 0u) | (up ? (1u << 30) | (1u << 31) : 0u);
    ::PostMessageW(target, message, wParam, static_cast<LPARAM>(flags));
}

// Handles the input posted, and the characters its keys make, before the call returns, as
// input on Qt is handled before its call returns; the rest of the queue (a socket's
// notifications...) waits for the loop, as it does on Qt.
void Settle()
{
    while (PumpOne(WM_KEYFIRST, WM_KEYLAST) || PumpOne(WM_MOUSEFIRST, WM_MOUSELAST)) {
    }
}

HWND FocusOrActive()
{
    HWND focus = ::GetFocus();
    return focus ? focus : ::GetActiveWindow();
}

// The screen point in the middle of the window's close box: where the window's own hit test
// answers HTCLOSE, as the system asks it before it posts a click on the caption.
bool CloseBoxPoint(HWND window, POINT& at)
{
    RECT frame{};
    ::GetWindowRect(window, &frame);
    POINT clientTop{0, 0};
    ::ClientToScreen(window, &clientTop);
    auto hit = [window](LONG x, LONG y) {
        return ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    };
    // Every other pixel: a close box is far wider than two, and the walk stays short.
    constexpr LONG kStep = 2;
    RECT box{frame.right, frame.bottom, frame.left, frame.top};
    for (LONG y = frame.top; y < clientTop.y; y += kStep) {
        for (LONG x = frame.left; x < frame.right; x += kStep) {
            if (hit(x, y) != HTCLOSE)
                continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    at = POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    return box.left <= box.right && hit(at.x, at.y) == HTCLOSE;
}

// Mouse input at a screen point, in the 65536ths of the screen that absolute input takes.
INPUT MouseInput(POINT at, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(at.x, 65536, ::GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = ::MulDiv(at.y, 65536, ::GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

BOOL CALLBACK FindOpenMenu(HWND hWnd, LPARAM found)
{
    wchar_t name[16]{};
    ::GetClassNameW(hWnd, name, 16);
    // #32768 is the system's class of popup menus.
    if (std::wcscmp(name, L"#32768") != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// A popup menu of this thread is on the screen.
bool MenuIsOpen()
{
    bool open = false;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindOpenMenu, reinterpret_cast<LPARAM>(&open));
    return open;
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
    Settle();
}

void ClickListEntry(HWND list, int index)
{
    RECT rect{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM(static_cast<unsigned>((rect.left + rect.right) / 2),
                                 static_cast<unsigned>((rect.top + rect.bottom) / 2));
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(list, WM_LBUTTONUP, 0, at);
    Settle();
}

void Type(HWND control, std::string_view utf8)
{
    ::SetFocus(control);
    // The characters as TranslateMessage would have made them from the keys.
    for (const wchar_t unit : WideFromUtf8(utf8))
        PostKey(control, WM_CHAR, static_cast<WPARAM>(unit));
    Settle();
}

void TypeIntoFocus(std::string_view utf8)
{
    for (const wchar_t unit : WideFromUtf8(utf8)) {
        PostKey(FocusOrActive(), WM_CHAR, static_cast<WPARAM>(unit));
        // The focus this character moves decides where the next one goes.
        Settle();
    }
}

void PressKey(int virtualKey, bool keypad)
{
    HWND target = FocusOrActive();
    const bool extended = keypad && virtualKey == VK_RETURN;
    PostKey(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), extended);
    PostKey(target, WM_KEYUP, static_cast<WPARAM>(virtualKey), extended);
    Settle();
}

void PressAltKey(int virtualKey)
{
    // Alt, the key, and their releases, as the keyboard sends them: through the loop's key
    // filter and the dialog manager, DefWindowProc makes the platform's command of them.
    HWND target = FocusOrActive();
    PostKey(target, WM_SYSKEYDOWN, VK_MENU, false, true);
    PostKey(target, WM_SYSKEYDOWN, static_cast<WPARAM>(virtualKey), false, true);
    PostKey(target, WM_SYSKEYUP, static_cast<WPARAM>(virtualKey), false, true);
    PostKey(target, WM_KEYUP, VK_MENU);
    Settle();
}

void ClickCloseBox(const CWnd& window)
{
    POINT at{};
    if (!CloseBoxPoint(window.m_hWnd, at)) {
        ADD_FAILURE() << "the window's caption has no close box";
        return;
    }
    POINT rest{};
    ::GetCursorPos(&rest);
    // A click as the mouse makes it: the system hit-tests it, and DefWindowProc tracks the
    // press on the close box until the release.
    INPUT click[] = {MouseInput(at, MOUSEEVENTF_MOVE), MouseInput(at, MOUSEEVENTF_LEFTDOWN),
                     MouseInput(at, MOUSEEVENTF_LEFTUP)};
    if (::SendInput(3, click, sizeof(INPUT)) != 3)
        ADD_FAILURE() << "the system took no mouse input";
    // The click is handled before the call returns; the command it makes waits for the loop.
    while (HIWORD(::GetQueueStatus(QS_MOUSEBUTTON)) != 0 && PumpOne()) {
    }
    // The pointer goes back, so that later tests find it where it was.
    INPUT back = MouseInput(rest, MOUSEEVENTF_MOVE);
    ::SendInput(1, &back, sizeof(INPUT));
}

void PressInSystemMenu(char mnemonic)
{
    // The menu runs a loop of its own until it closes; the keys come from steps that loop
    // runs once it is idle, that is with the menu open. The last step closes a menu the key
    // left open, so that a fault fails instead of hanging.
    auto finished = std::make_shared<bool>(false);
    RunSoon([mnemonic, finished] {
        if (!MenuIsOpen()) {
            ADD_FAILURE() << "Alt+Space opened no menu";
            *finished = true;
            return;
        }
        const auto key = static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(mnemonic)));
        PostKey(FocusOrActive(), WM_KEYDOWN, key);
        PostKey(FocusOrActive(), WM_KEYUP, key);
        RunSoon([finished] {
            *finished = true;
            if (!MenuIsOpen())
                return;
            ADD_FAILURE() << "the menu stayed open after its item's key";
            PostKey(FocusOrActive(), WM_KEYDOWN, VK_ESCAPE);
            PostKey(FocusOrActive(), WM_KEYDOWN, VK_ESCAPE);
        });
    });
    PressAltKey(VK_SPACE);
    // No step outlives the call, where it would meet a later menu.
    if (!WaitUntil([&finished] { return *finished; }))
        ADD_FAILURE() << "the system menu's steps never ran";
}

void PasteIntoFocus(std::string_view utf8)
{
    HWND target = FocusOrActive();
    const std::wstring text = WideFromUtf8(utf8);
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr || !::OpenClipboard(target)) {
        ADD_FAILURE() << "the clipboard cannot be written";
        if (memory)
            ::GlobalFree(memory);
        return;
    }
    std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
    ::GlobalUnlock(memory);
    ::EmptyClipboard();
    if (!::SetClipboardData(CF_UNICODETEXT, memory)) {
        ADD_FAILURE() << "the clipboard took no text";
        ::GlobalFree(memory);
    }
    ::CloseClipboard();
    // Ctrl+V, as TranslateMessage hands it to the edit box: the character 0x16.
    PostKey(target, WM_CHAR, 0x16);
    Settle();
}

void SelectAll(HWND edit)
{
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

void CaretToEnd(HWND edit)
{
    const int end = ::GetWindowTextLengthW(edit);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void RunSoon(std::function<void()> step)
{
    const UINT_PTR id = ::SetTimer(nullptr, 0, 0, &RunStep);
    Steps()[id] = std::move(step);
}

} // namespace driver
