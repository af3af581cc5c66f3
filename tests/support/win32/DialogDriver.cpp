#include "tests/support/DialogDriver.h"

#include "platform/toolkit/Utf16Text.h"
#include "tests/support/win32/MessagePump.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

namespace driver {
namespace {

// Input is posted to the window's queue, as the system queues input: the modal loop's
// key filter and the dialog manager see it as they see a user's keys and clicks.
void PostKey(HWND target, UINT message, WPARAM wParam, bool extended = false)
{
    const bool up = message == WM_KEYUP;
    const unsigned flags = 1u | (extended ? 1u << 24 : 0u) | (up ? (1u << 30) | (1u << 31) : 0u);
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
