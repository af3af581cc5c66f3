#include "platform/toolkit/CListBox.h"

#include "platform/toolkit/Utf16Text.h"

#include <climits>

// Entries travel as bytes: GetText gives back what AddString was given, UTF-8 or not.
int CListBox::AddString(const char* lpszItem)
{
    if (m_hWnd == nullptr)
        return LB_ERR;
    const std::wstring text = WideFromBytes(lpszItem ? lpszItem : "");
    const LRESULT index = ::SendMessageW(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return index < 0 ? LB_ERR : static_cast<int>(index);
}

int CListBox::DeleteString(UINT nIndex)
{
    if (m_hWnd == nullptr || nIndex > static_cast<UINT>(INT_MAX))
        return LB_ERR;
    const LRESULT left = ::SendMessageW(m_hWnd, LB_DELETESTRING, nIndex, 0);
    return left < 0 ? LB_ERR : static_cast<int>(left);
}

int CListBox::GetCount() const
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0)) : LB_ERR;
}

int CListBox::GetCurSel() const
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LB_GETCURSEL, 0, 0)) : LB_ERR;
}

int CListBox::SetCurSel(int nSelect)
{
    if (m_hWnd == nullptr)
        return LB_ERR;
    const LRESULT result = ::SendMessageW(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(nSelect), 0);
    return result < 0 ? LB_ERR : static_cast<int>(result);
}

int CListBox::GetText(int nIndex, std::string& rString) const
{
    if (m_hWnd == nullptr)
        return LB_ERR;
    const LRESULT length = ::SendMessageW(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (length < 0)
        return LB_ERR;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    rString = BytesFromWide(text);
    return static_cast<int>(rString.size());
}

void CListBox::ResetContent()
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, LB_RESETCONTENT, 0, 0);
}
