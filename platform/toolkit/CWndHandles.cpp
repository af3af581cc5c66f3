// A window object's handle and the wrappers found by handle, the same on every backend.
#include "platform/toolkit/CWnd.h"

#include "platform/toolkit/PermanentWindows.h"

std::unordered_map<HWND, CWnd*>& PermanentWindows()
{
    static std::unordered_map<HWND, CWnd*> windows;
    return windows;
}

HWND CWnd::GetSafeHwnd() const
{
    return m_hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    const auto it = PermanentWindows().find(hWnd);
    return it == PermanentWindows().end() ? nullptr : it->second;
}
