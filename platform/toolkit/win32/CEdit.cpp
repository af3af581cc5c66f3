#include "platform/toolkit/CEdit.h"


void CEdit::SetLimitText(UINT nMax)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, nMax, 0);
}

void CEdit::LimitText(int nChars)
{
    SetLimitText(nChars < 0 ? 0u : static_cast<UINT>(nChars));
}

UINT CEdit::GetLimitText() const
{
    return m_hWnd ? static_cast<UINT>(::SendMessageW(m_hWnd, EM_GETLIMITTEXT, 0, 0)) : 0;
}

void CEdit::SetSel(int nStartChar, int nEndChar)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD start = 0;
    DWORD end = 0;
    if (m_hWnd)
        ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
}

DWORD CEdit::GetSel() const
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    return MAKELONG(static_cast<unsigned>(start), static_cast<unsigned>(end));
}
