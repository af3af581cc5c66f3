#include "platform/toolkit/CButton.h"

#include "platform/toolkit/qt/ButtonState.h"
#include "platform/toolkit/qt/QtHandles.h"

int CButton::GetCheck() const
{
    return m_hWnd ? CheckStateOf(WidgetFromHandle(m_hWnd)) : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck)
{
    if (m_hWnd)
        SetCheckStateOf(WidgetFromHandle(m_hWnd), nCheck);
}
