#pragma once

#include "platform/toolkit/WinUser.h"

#include <string>

// A menu of a window (its system menu): the platform's items followed by the ones the
// program appends. The wrapper does not own the menu.
class CMenu {
public:
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
    // -1 without a menu.
    int GetMenuItemCount() const;
    // 0 for a separator, 0xFFFFFFFF for a position out of range.
    UINT GetMenuItemID(int nPos) const;
    // nFlags: MF_BYCOMMAND or MF_BYPOSITION. Length of the text, 0 when not found.
    int GetMenuString(UINT nIDItem, std::string& rString, UINT nFlags) const;

    HMENU m_hMenu = nullptr;
};
