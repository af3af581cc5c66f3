#include "platform/toolkit/CPaintDC.h"

#include "platform/toolkit/CWnd.h"

struct CPaintDCState {
    HWND hWnd = nullptr;
    PAINTSTRUCT paint{};
};

CPaintDC::CPaintDC(CWnd* pWnd) : m_pState(std::make_unique<CPaintDCState>())
{
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return;
    m_pState->hWnd = pWnd->m_hWnd;
    m_hDC = ::BeginPaint(m_pState->hWnd, &m_pState->paint);
}

CPaintDC::~CPaintDC()
{
    if (m_hDC != nullptr)
        ::EndPaint(m_pState->hWnd, &m_pState->paint);
}

HDC CPaintDC::GetSafeHdc() const
{
    return m_hDC;
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON hIcon)
{
    if (m_hDC == nullptr || hIcon == nullptr)
        return FALSE;
    return ::DrawIcon(m_hDC, x, y, hIcon);
}
