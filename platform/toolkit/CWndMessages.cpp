// How a window of the layer routes its messages, the same on every backend: the message
// map first, the platform's handling (DefWindowProc) for the rest, and no control
// notification while the window exchanges its data.
#include "platform/toolkit/CWnd.h"

#include "platform/toolkit/DataExchange.h"
#include "platform/toolkit/DataExchangeFailure.h"

namespace {

struct CurrentMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The message WindowProc is dispatching, for Default().
thread_local CurrentMessage t_currentMessage;

} // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    // Control notifications are locked out until the exchange (and any failure box) ends.
    struct Lockout {
        int& depth;
        explicit Lockout(int& d) : depth(d) { ++depth; }
        ~Lockout() { --depth; }
    } lockout(m_nExchangeDepth);
    try {
        DoDataExchange(&dx);
    } catch (const DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    DefWindowProc(WM_SYSCOMMAND, nID, lParam);
}

void CWnd::OnPaint()
{
    DefWindowProc(WM_PAINT, 0, 0);
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(DefWindowProc(WM_QUERYDRAGICON, 0, 0));
}

void CWnd::OnDestroy()
{
    DefWindowProc(WM_DESTROY, 0, 0);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_currentMessage.message, t_currentMessage.wParam, t_currentMessage.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A notification from a control is dropped while this window exchanges its data.
    if (lParam != 0 && m_nExchangeDepth > 0)
        return TRUE;
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage saved = t_currentMessage;
    t_currentMessage = {message, wParam, lParam};
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    t_currentMessage = saved;
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (entry == nullptr)
        return FALSE;
    *pResult = entry->pfn(this, wParam, lParam);
    return TRUE;
}
