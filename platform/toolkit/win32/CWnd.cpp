#include "platform/toolkit/CWnd.h"

#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/CMenu.h"
#include "platform/toolkit/ControlAccess.h"
#include "platform/toolkit/MessageBoxWrapper.h"
#include "platform/toolkit/PermanentWindows.h"
#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/win32/LayerWindow.h"

#include <unordered_map>
#include <vector>

namespace {

bool IsLayerDialog(HWND hWnd)
{
    return dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd)) != nullptr;
}

} // namespace

HWND ParentOf(HWND hWnd)
{
    if (hWnd == nullptr || (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) == 0)
        return nullptr;
    return ::GetAncestor(hWnd, GA_PARENT);
}

HWND LayerWindowOf(HWND hWnd)
{
    for (HWND w = hWnd; w != nullptr; w = ParentOf(w)) {
        if (IsLayerDialog(w) || IsLayerDialog(ParentOf(w)))
            return w;
    }
    return nullptr;
}

void CWndState::AttachSubclassed(CWnd* wnd, HWND hWnd)
{
    wnd->Attach(hWnd);
    wnd->m_pState->ownsWindow = true;
    wnd->m_pState->previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWndState::SubclassProc)));
}

LRESULT CWndState::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (wnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC previous = wnd->m_pState->previousProc;
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        wnd->m_pState->previousProc = nullptr;
        wnd->m_pState->ownsWindow = false;
        wnd->Detach();
        return ::CallWindowProcW(previous, hWnd, message, wParam, lParam);
    }
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_DESTROY)
        DetachDescendants(wnd);
    return result;
}

void CWndState::DetachDescendants(CWnd* wnd)
{
    std::vector<CWnd*> attached;
    for (const auto& [hWnd, other] : PermanentWindows()) {
        if (other != wnd && ::IsChild(wnd->m_hWnd, hWnd))
            attached.push_back(other);
    }
    for (CWnd* other : attached)
        other->Detach();
    wnd->m_pState->temporaries.clear();
}

bool CWndState::WalkPreTranslate(HWND stop, MSG* pMsg)
{
    for (HWND w = pMsg->hwnd; w != nullptr; w = ParentOf(w)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(w); wnd && wnd->PreTranslateMessage(pMsg))
            return true;
        // A handler may have destroyed the windows.
        if (w == stop || !::IsWindow(stop))
            break;
    }
    return false;
}

CWnd::CWnd() : m_pState(std::make_unique<CWndState>()) {}

CWnd::~CWnd()
{
    ReleaseWindowLinks();
}

void CWnd::ReleaseWindowLinks()
{
    m_pState->temporaries.clear();
    m_pState->systemMenu.reset();
    const bool owns = m_pState->ownsWindow;
    HWND hWnd = m_hWnd;
    if (owns && hWnd != nullptr)
        ::DestroyWindow(hWnd);
    if (m_hWnd != nullptr)
        Detach();
    m_pState->ownsWindow = false;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd))
        return permanent;
    HWND dialog = ParentOf(hWnd);
    while (dialog != nullptr && !IsLayerDialog(dialog))
        dialog = ParentOf(dialog);
    CWnd* owner = FromHandlePermanent(dialog);
    if (owner == nullptr)
        return nullptr;
    std::unique_ptr<CWnd>& temporary = owner->m_pState->temporaries[hWnd];
    if (!temporary)
        temporary = std::make_unique<CWnd>();
    // The entry may be left from a destroyed control whose handle was reused.
    temporary->m_hWnd = hWnd;
    return temporary.get();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd != nullptr || hWndNew == nullptr || FromHandlePermanent(hWndNew) != nullptr)
        return FALSE;
    m_hWnd = hWndNew;
    PermanentWindows()[hWndNew] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return nullptr;
    if (FromHandlePermanent(hWnd) == this)
        PermanentWindows().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::SetOwnedWindow(HWND hWnd)
{
    Attach(hWnd);
    m_pState->ownsWindow = true;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return m_hWnd ? FromHandle(::GetDlgItem(m_hWnd, nID)) : nullptr;
}

int CWnd::GetDlgCtrlID() const
{
    return m_hWnd ? ::GetDlgCtrlID(m_hWnd) : 0;
}

CWnd* CWnd::SetFocus()
{
    CWnd* previous = GetFocus();
    if (m_hWnd)
        ::SetFocus(m_hWnd);
    return previous;
}

CWnd* CWnd::GetFocus()
{
    HWND window = LayerWindowOf(::GetFocus());
    return window ? FromHandle(window) : nullptr;
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return m_hWnd && ::EnableWindow(m_hWnd, bEnable) ? TRUE : FALSE;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd && ::IsWindowEnabled(m_hWnd) ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return m_hWnd && ::ShowWindow(m_hWnd, nCmdShow) ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd && ::IsWindowVisible(m_hWnd) ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const
{
    return m_hWnd && ::IsIconic(m_hWnd) ? TRUE : FALSE;
}

void CWnd::SetWindowText(const char* lpszString)
{
    if (m_hWnd)
        SetControlText(m_hWnd, lpszString ? lpszString : "");
}

void CWnd::GetWindowText(std::string& rString) const
{
    rString = m_hWnd ? ControlText(m_hWnd) : std::string();
}

int CWnd::GetWindowTextLength() const
{
    return m_hWnd ? ::GetWindowTextLengthW(m_hWnd) : 0;
}

void CWnd::GetClientRect(RECT* lpRect) const
{
    *lpRect = RECT{0, 0, 0, 0};
    if (m_hWnd)
        ::GetClientRect(m_hWnd, lpRect);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_hWnd ? ::SendMessageW(m_hWnd, message, wParam, lParam) : 0;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert)
{
    if (m_hWnd == nullptr)
        return nullptr;
    if (bRevert) {
        ::GetSystemMenu(m_hWnd, TRUE);
        m_pState->systemMenu.reset();
        return nullptr;
    }
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (menu == nullptr)
        return nullptr;
    if (!m_pState->systemMenu)
        m_pState->systemMenu = std::make_unique<CMenu>();
    m_pState->systemMenu->m_hMenu = menu;
    return m_pState->systemMenu.get();
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    if (m_hWnd == nullptr)
        return nullptr;
    return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
}

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType)
{
    const MessageBoxRequest request{lpszText ? lpszText : "", lpszCaption ? lpszCaption : AfxGetAppName(), nType};
    return ShowMessageBox(request, m_hWnd);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    // WM_DESTROY reaches the map of a subclassed window; owned windows go first, each through
    // its own map, and the controls' members detach with it.
    HWND hWnd = m_hWnd;
    const bool subclassed = m_pState->previousProc != nullptr;
    ::DestroyWindow(hWnd);
    if (!subclassed && m_hWnd != nullptr)
        Detach();
    m_pState->ownsWindow = false;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return 0;
    if (m_pState->previousProc != nullptr)
        return ::CallWindowProcW(m_pState->previousProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}
