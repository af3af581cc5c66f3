#include "platform/toolkit/CPaintDC.h"

#include "platform/toolkit/CWnd.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <QPainter>
#include <QWidget>

struct CPaintDCState {
    QPainter painter;
    HDC__ dc{nullptr, nullptr};
};

CPaintDC::CPaintDC(CWnd* pWnd) : m_pState(std::make_unique<CPaintDCState>())
{
    QWidget* widget = pWnd && pWnd->m_hWnd ? WidgetFromHandle(pWnd->m_hWnd) : nullptr;
    // Painting only works while the window handles its paint message.
    if (widget != nullptr && m_pState->painter.begin(widget)) {
        m_pState->dc = HDC__{&m_pState->painter, widget};
        m_hDC = &m_pState->dc;
    }
}

CPaintDC::~CPaintDC() = default;

HDC CPaintDC::GetSafeHdc() const
{
    return m_hDC;
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON hIcon)
{
    if (m_hDC == nullptr || hIcon == nullptr)
        return FALSE;
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    m_pState->painter.drawPixmap(x, y, hIcon->icon.pixmap(cx, cy));
    return TRUE;
}
