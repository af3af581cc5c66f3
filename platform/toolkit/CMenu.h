#pragma once

#include "platform/toolkit/WinUser.h"

#include <string>
#include <vector>

// A window's system menu: the platform's items followed by the ones the program appends.
class CMenu {
public:
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
    int GetMenuItemCount() const;
    // 0 for a separator, 0xFFFFFFFF for a position out of range.
    UINT GetMenuItemID(int nPos) const;
    // nFlags: MF_BYCOMMAND or MF_BYPOSITION. Length of the text, 0 when not found.
    int GetMenuString(UINT nIDItem, std::string& rString, UINT nFlags) const;

    struct Item {
        UINT flags;
        UINT_PTR id;
        std::string text;
    };
    const std::vector<Item>& Items() const { return m_items; }
    // The platform items of a dialog with a modal frame and no minimise or maximise box.
    void ResetToPlatformItems();

private:
    std::vector<Item> m_items;
};
