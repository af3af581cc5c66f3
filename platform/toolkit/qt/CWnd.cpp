#include "platform/toolkit/CWnd.h"

#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/CMenu.h"
#include "platform/toolkit/qt/ControlWindow.h"
#include "platform/toolkit/qt/DialogWidget.h"
#include "platform/toolkit/qt/IpAddressWidget.h"
#include "platform/toolkit/MessageBoxWrapper.h"
#include "platform/toolkit/PermanentWindows.h"
#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/qt/QtHandles.h"
#include "platform/toolkit/qt/WindowText.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <map>
#include <unordered_map>

struct CWndState {
    bool ownsWindow = false;
    QMetaObject::Connection destroyedConnection;
    // Wrappers handed out for controls that have no attached member.
    std::map<HWND, std::unique_ptr<CWnd>> temporaries;
    // GetDlgItem's answers, kept while no control or wrapper comes or goes: every data
    // exchange looks each of its controls up.
    std::unordered_map<int, CWnd*> dlgItems;
    unsigned dlgItemsGeneration = 0;
    std::unique_ptr<HMENU__> systemMenuItems;
    std::unique_ptr<CMenu> systemMenu;
    HICON icons[2] = {nullptr, nullptr};
};

namespace {

QIcon CombinedIcon(HICON big, HICON small)
{
    QIcon icon = big ? big->icon : QIcon();
    if (small && small != big) {
        const int size = 16;
        icon.addPixmap(small->icon.pixmap(size, size));
    }
    return icon;
}

} // namespace

CWnd::CWnd() : m_pState(std::make_unique<CWndState>()) {}

CWnd::~CWnd()
{
    ReleaseWindowLinks();
}

void CWnd::ReleaseWindowLinks()
{
    WindowLinksChanged();
    m_pState->temporaries.clear();
    const bool owns = m_pState->ownsWindow;
    HWND hWnd = Detach();
    if (owns && hWnd != nullptr) {
        QWidget* widget = WidgetFromHandle(hWnd);
        if (auto* dialog = qobject_cast<DialogWidget*>(widget))
            dialog->ClearOwner();
        delete widget;
    }
    m_pState->ownsWindow = false;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd))
        return permanent;
    CWnd* owner = DialogOwnerOf(WidgetFromHandle(hWnd));
    if (owner == nullptr)
        return nullptr;
    std::unique_ptr<CWnd>& temporary = owner->m_pState->temporaries[hWnd];
    if (!temporary)
        temporary = std::make_unique<CWnd>();
    // The entry may be left from a destroyed control whose address was reused.
    temporary->m_hWnd = hWnd;
    return temporary.get();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd != nullptr || hWndNew == nullptr || FromHandlePermanent(hWndNew) != nullptr)
        return FALSE;
    m_hWnd = hWndNew;
    PermanentWindows()[hWndNew] = this;
    WindowLinksChanged();
    // A window that goes without DestroyWindow (its parent deleted) leaves no dangling handle.
    m_pState->destroyedConnection = QObject::connect(WidgetFromHandle(hWndNew), &QObject::destroyed, [this] {
        WindowLinksChanged();
        PermanentWindows().erase(m_hWnd);
        m_hWnd = nullptr;
        m_pState->ownsWindow = false;
        m_pState->temporaries.clear();
    });
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return nullptr;
    QObject::disconnect(m_pState->destroyedConnection);
    WindowLinksChanged();
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
    if (m_hWnd == nullptr)
        return nullptr;
    if (m_pState->dlgItemsGeneration != WindowLinksGeneration()) {
        m_pState->dlgItems.clear();
        m_pState->dlgItemsGeneration = WindowLinksGeneration();
    }
    const auto known = m_pState->dlgItems.find(nID);
    if (known != m_pState->dlgItems.end())
        return known->second;
    QWidget* control = FindControlWindow(WidgetFromHandle(m_hWnd), nID);
    CWnd* item = control ? FromHandle(HandleFromWidget(control)) : nullptr;
    m_pState->dlgItems.emplace(nID, item);
    return item;
}

int CWnd::GetDlgCtrlID() const
{
    return m_hWnd ? ControlId(WidgetFromHandle(m_hWnd)) : 0;
}

CWnd* CWnd::SetFocus()
{
    CWnd* previous = GetFocus();
    if (m_hWnd)
        WidgetFromHandle(m_hWnd)->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr)
        return nullptr;
    QWidget* window = LayerWindowOf(focus);
    return window ? FromHandle(HandleFromWidget(window)) : nullptr;
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    if (m_hWnd == nullptr)
        return FALSE;
    QWidget* widget = WidgetFromHandle(m_hWnd);
    const BOOL wasDisabled = widget->isEnabled() ? FALSE : TRUE;
    widget->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd && WidgetFromHandle(m_hWnd)->isEnabled() ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (m_hWnd == nullptr)
        return FALSE;
    QWidget* widget = WidgetFromHandle(m_hWnd);
    const BOOL wasVisible = widget->isHidden() ? FALSE : TRUE;
    switch (nCmdShow) {
    case SW_HIDE:
        widget->hide();
        break;
    case SW_MINIMIZE:
        widget->showMinimized();
        break;
    case SW_RESTORE:
        widget->showNormal();
        break;
    default:
        widget->show();
        break;
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd && WidgetFromHandle(m_hWnd)->isVisible() ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const
{
    if (m_hWnd == nullptr)
        return FALSE;
    const QWidget* widget = WidgetFromHandle(m_hWnd);
    return widget->isWindow() && widget->isMinimized() ? TRUE : FALSE;
}

void CWnd::SetWindowText(const char* lpszString)
{
    if (m_hWnd)
        SetWindowTextOf(WidgetFromHandle(m_hWnd), FromUtf8(lpszString));
}

void CWnd::GetWindowText(std::string& rString) const
{
    rString = m_hWnd ? ToUtf8(WindowText(WidgetFromHandle(m_hWnd))) : std::string();
}

int CWnd::GetWindowTextLength() const
{
    return m_hWnd ? static_cast<int>(WindowText(WidgetFromHandle(m_hWnd)).size()) : 0;
}

void CWnd::GetClientRect(RECT* lpRect) const
{
    const QRect rect = m_hWnd ? WidgetFromHandle(m_hWnd)->rect() : QRect();
    *lpRect = RECT{0, 0, rect.width(), rect.height()};
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowProc(message, wParam, lParam);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert)
{
    if (!m_pState->systemMenu) {
        m_pState->systemMenuItems = std::make_unique<HMENU__>();
        m_pState->systemMenuItems->ResetToPlatformItems();
        m_pState->systemMenu = std::make_unique<CMenu>();
        m_pState->systemMenu->m_hMenu = m_pState->systemMenuItems.get();
    }
    if (bRevert) {
        m_pState->systemMenuItems->ResetToPlatformItems();
        return nullptr;
    }
    return m_pState->systemMenu.get();
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    return m_pState->icons[bBigIcon ? ICON_BIG : ICON_SMALL];
}

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType)
{
    MessageBoxRequest request{lpszText ? lpszText : "", lpszCaption ? lpszCaption : AfxGetAppName(), nType};
    return ShowMessageBox(request, m_hWnd);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    QPointer<QWidget> widget = WidgetFromHandle(m_hWnd);
    SendMessage(WM_DESTROY);
    if (widget.isNull())
        return TRUE;
    // Dialogs this window owns are destroyed with it, each through its own map.
    std::vector<QPointer<DialogWidget>> ownedDialogs;
    for (DialogWidget* owned : widget->findChildren<DialogWidget*>(Qt::FindDirectChildrenOnly))
        ownedDialogs.emplace_back(owned);
    for (const QPointer<DialogWidget>& owned : ownedDialogs) {
        if (!owned.isNull() && owned->Owner() != nullptr)
            owned->Owner()->DestroyWindow();
    }
    if (widget.isNull())
        return TRUE;
    // Control members detach from the window's controls.
    std::vector<CWnd*> attached;
    for (const auto& [hWnd, wnd] : PermanentWindows()) {
        if (wnd != this && widget->isAncestorOf(WidgetFromHandle(hWnd)))
            attached.push_back(wnd);
    }
    for (CWnd* wnd : attached)
        wnd->Detach();
    m_pState->ownsWindow = true;
    ReleaseWindowLinks();
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return 0;
    QWidget* widget = WidgetFromHandle(m_hWnd);
    switch (message) {
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(WM_CLOSE);
            break;
        case SC_MINIMIZE:
            widget->showMinimized();
            break;
        case SC_RESTORE:
            widget->showNormal();
            break;
        case SC_MOVE:
            if (QWindow* window = widget->windowHandle())
                window->startSystemMove();
            break;
        default:
            break;
        }
        return 0;
    case WM_CLOSE:
        if (qobject_cast<DialogWidget*>(widget)) {
            // A dialog turns Close into its cancel command, delivered once the request is done.
            CWnd* cancel = GetDlgItem(IDCANCEL);
            if (cancel && !cancel->IsWindowEnabled()) {
                QApplication::beep();
                return 0;
            }
            const LPARAM source = reinterpret_cast<LPARAM>(cancel ? cancel->m_hWnd : nullptr);
            QMetaObject::invokeMethod(
                widget,
                [widget, source] {
                    if (CWnd* dialog = FromHandlePermanent(HandleFromWidget(widget)))
                        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), source);
                },
                Qt::QueuedConnection);
        } else {
            DestroyWindow();
        }
        return 0;
    case WM_ICONERASEBKGND:
        if (auto* dc = reinterpret_cast<HDC>(wParam); dc && dc->painter) {
            dc->painter->fillRect(widget->rect(), widget->palette().window());
            return TRUE;
        }
        return FALSE;
    case WM_SETICON: {
        const std::size_t slot = wParam == ICON_BIG ? ICON_BIG : ICON_SMALL;
        HICON previous = m_pState->icons[slot];
        m_pState->icons[slot] = reinterpret_cast<HICON>(lParam);
        widget->setWindowIcon(CombinedIcon(m_pState->icons[ICON_BIG], m_pState->icons[ICON_SMALL]));
        return reinterpret_cast<LRESULT>(previous);
    }
    default:
        break;
    }
    if (auto* address = qobject_cast<IpAddressWidget*>(widget)) {
        LRESULT result = 0;
        if (address->HandleMessage(message, wParam, lParam, &result))
            return result;
    }
    return 0;
}
