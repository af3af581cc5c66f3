#include "platform/toolkit/CMenu.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem)
{
    if (nFlags & MF_SEPARATOR)
        m_items.push_back(Item{nFlags, 0, std::string()});
    else
        m_items.push_back(Item{nFlags, nIDNewItem, lpszNewItem ? lpszNewItem : ""});
    return TRUE;
}

int CMenu::GetMenuItemCount() const
{
    return static_cast<int>(m_items.size());
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    if (nPos < 0 || static_cast<std::size_t>(nPos) >= m_items.size())
        return 0xFFFFFFFFu;
    return static_cast<UINT>(m_items[static_cast<std::size_t>(nPos)].id);
}

int CMenu::GetMenuString(UINT nIDItem, std::string& rString, UINT nFlags) const
{
    rString.clear();
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const bool match = (nFlags & MF_BYPOSITION) ? i == nIDItem
                                                    : !(m_items[i].flags & MF_SEPARATOR) && m_items[i].id == nIDItem;
        if (match) {
            rString = m_items[i].text;
            return static_cast<int>(rString.size());
        }
    }
    return 0;
}

void CMenu::ResetToPlatformItems()
{
    m_items = {
        Item{MF_STRING, SC_MOVE, "&Move"},
        Item{MF_SEPARATOR, 0, std::string()},
        Item{MF_STRING, SC_CLOSE, "&Close\tAlt+F4"},
    };
}
