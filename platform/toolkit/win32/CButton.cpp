#include "platform/toolkit/CButton.h"

#include "platform/toolkit/ControlAccess.h"

int CButton::GetCheck() const
{
    return m_hWnd ? ControlCheckState(m_hWnd) : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck)
{
    if (m_hWnd)
        SetControlCheckState(m_hWnd, nCheck);
}
