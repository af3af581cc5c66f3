#include "platform/toolkit/CMenu.h"

#include "platform/toolkit/Utf16Text.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem)
{
    if (m_hMenu == nullptr)
        return FALSE;
    if (nFlags & MF_SEPARATOR)
        return ::AppendMenuW(m_hMenu, nFlags, 0, nullptr);
    const std::wstring text = WideFromUtf8(lpszNewItem ? lpszNewItem : "");
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, text.c_str());
}

int CMenu::GetMenuItemCount() const
{
    return m_hMenu ? ::GetMenuItemCount(m_hMenu) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    return m_hMenu ? ::GetMenuItemID(m_hMenu, nPos) : 0xFFFFFFFFu;
}

int CMenu::GetMenuString(UINT nIDItem, std::string& rString, UINT nFlags) const
{
    rString.clear();
    if (m_hMenu == nullptr)
        return 0;
    const int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (length <= 0)
        return 0;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::GetMenuStringW(m_hMenu, nIDItem, text.data(), length + 1, nFlags);
    text.resize(static_cast<std::size_t>(length));
    rString = Utf8FromWide(text);
    return static_cast<int>(rString.size());
}
