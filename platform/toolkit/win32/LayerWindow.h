#pragma once
// How the Win32 backend ties the layer's window objects to the system's windows. A dialog's
// window is subclassed so that its messages run through CWnd::WindowProc (the message map),
// while its default handling stays the dialog manager's.

#include "platform/toolkit/CWnd.h"

#include <map>
#include <memory>

class CMenu;

struct CWndState {
    bool ownsWindow = false;
    // The window procedure the layer replaced; nullptr while the window is not subclassed.
    WNDPROC previousProc = nullptr;
    // Wrappers handed out for controls that have no attached member.
    std::map<HWND, std::unique_ptr<CWnd>> temporaries;
    std::unique_ptr<CMenu> systemMenu;

    // Attaches wnd to hWnd as the window it owns and routes the window's messages through
    // its WindowProc from now on.
    static void AttachSubclassed(CWnd* wnd, HWND hWnd);
    // The pre-dispatch walk: from the message's window up to stop, each permanent wrapper's
    // PreTranslateMessage; true when one consumed it.
    static bool WalkPreTranslate(HWND stop, MSG* pMsg);

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The controls attached to members detach as their dialog's window goes.
    static void DetachDescendants(CWnd* wnd);
};

// The control window that hWnd belongs to (an IP-address control for one of its fields), or
// the layer dialog itself; nullptr for a window of no layer dialog.
HWND LayerWindowOf(HWND hWnd);
// The parent of a child window, nullptr for a top-level one (whose GetParent is its owner).
HWND ParentOf(HWND hWnd);
