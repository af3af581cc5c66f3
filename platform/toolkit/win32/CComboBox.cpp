#include "platform/toolkit/CComboBox.h"

#include "platform/toolkit/Utf16Text.h"

int CComboBox::AddString(const char* lpszString)
{
    if (m_hWnd == nullptr)
        return CB_ERR;
    const std::wstring text = WideFromUtf8(lpszString ? lpszString : "");
    const LRESULT index = ::SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return index < 0 ? CB_ERR : static_cast<int>(index);
}

int CComboBox::GetCount() const
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0)) : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)) : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect)
{
    if (m_hWnd == nullptr)
        return CB_ERR;
    return static_cast<int>(::SendMessageW(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(nSelect), 0));
}

int CComboBox::GetLBText(int nIndex, std::string& rString) const
{
    if (m_hWnd == nullptr)
        return CB_ERR;
    const LRESULT length = ::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (length < 0)
        return CB_ERR;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    rString = Utf8FromWide(text);
    return static_cast<int>(length);
}
