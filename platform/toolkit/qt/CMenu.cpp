#include "platform/toolkit/CMenu.h"

#include "platform/toolkit/qt/QtHandles.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem)
{
    if (m_hMenu == nullptr)
        return FALSE;
    if (nFlags & MF_SEPARATOR)
        m_hMenu->items.push_back(HMENU__::Item{nFlags, 0, std::string()});
    else
        m_hMenu->items.push_back(HMENU__::Item{nFlags, nIDNewItem, lpszNewItem ? lpszNewItem : ""});
    return TRUE;
}

int CMenu::GetMenuItemCount() const
{
    return m_hMenu ? static_cast<int>(m_hMenu->items.size()) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    if (m_hMenu == nullptr || nPos < 0 || static_cast<std::size_t>(nPos) >= m_hMenu->items.size())
        return 0xFFFFFFFFu;
    return static_cast<UINT>(m_hMenu->items[static_cast<std::size_t>(nPos)].id);
}

int CMenu::GetMenuString(UINT nIDItem, std::string& rString, UINT nFlags) const
{
    rString.clear();
    if (m_hMenu == nullptr)
        return 0;
    const std::vector<HMENU__::Item>& items = m_hMenu->items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool match = (nFlags & MF_BYPOSITION) ? i == nIDItem
                                                    : !(items[i].flags & MF_SEPARATOR) && items[i].id == nIDItem;
        if (match) {
            rString = items[i].text;
            return static_cast<int>(rString.size());
        }
    }
    return 0;
}

void HMENU__::ResetToPlatformItems()
{
    items = {
        Item{MF_STRING, SC_MOVE, "&Move"},
        Item{MF_SEPARATOR, 0, std::string()},
        Item{MF_STRING, SC_CLOSE, "&Close\tAlt+F4"},
    };
}
