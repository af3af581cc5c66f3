#include "platform/toolkit/CDialog.h"

#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/ResourceTable.h"
#include "platform/toolkit/win32/DialogTemplateImage.h"
#include "platform/toolkit/win32/LayerWindow.h"

struct CDialogState {
    bool ended = false;
    bool focusFirstTabStop = false;
    bool visible = false;
};

namespace {

// Icon statics show an icon of the resource table; the template cannot name one.
void SetTemplateIcons(HWND hWnd, const DialogTemplate& dialog)
{
    for (const DialogControlTemplate& control : dialog.controls) {
        if (control.kind != ControlKind::Icon)
            continue;
        if (HWND item = ::GetDlgItem(hWnd, control.id))
            ::SendMessageW(item, STM_SETICON, reinterpret_cast<WPARAM>(ResourceTable::LoadIcon(control.iconId)), 0);
    }
}

// The window a dialog without a parent belongs to: the application's main window.
HWND OwnerWindow(CWnd* pParentWnd, const CWnd* self)
{
    if (pParentWnd && pParentWnd->m_hWnd)
        return pParentWnd->m_hWnd;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd != self && app->m_pMainWnd->m_hWnd)
        return app->m_pMainWnd->m_hWnd;
    return nullptr;
}

} // namespace

// The dialog procedure of every layer dialog: it attaches the dialog object at
// WM_INITDIALOG; from then on the subclassed window procedure routes every message.
struct CDialogProc {
    static INT_PTR CALLBACK Run(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
    {
        if (message != WM_INITDIALOG)
            return FALSE;
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        CWndState::AttachSubclassed(dialog, hWnd);
        if (const DialogTemplate* tmpl = ResourceTable::FindDialog(static_cast<int>(dialog->m_nIDTemplate)))
            SetTemplateIcons(hWnd, *tmpl);
        dialog->m_pDialogState->focusFirstTabStop = dialog->OnInitDialog() != FALSE;
        // TRUE lets the dialog manager give the focus to the first tab stop.
        return dialog->m_pDialogState->focusFirstTabStop ? TRUE : FALSE;
    }
};

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_pDialogState(std::make_unique<CDialogState>())
{
}

CDialog::~CDialog()
{
    DestroyWindow();
}

BOOL CDialog::CreateFromTemplate(CWnd* pParentWnd)
{
    const DialogTemplate* dialog = ResourceTable::FindDialog(static_cast<int>(m_nIDTemplate));
    if (dialog == nullptr || m_hWnd != nullptr)
        return FALSE;
    *m_pDialogState = CDialogState{};
    m_pDialogState->visible = (dialog->style & WS_VISIBLE) != 0;
    m_nModalResult = -1;
    DWORD layout = 0;
    ::GetProcessDefaultLayout(&layout);
    const std::vector<DWORD> image = DialogTemplateImage(*dialog, false, (layout & LAYOUT_RTL) != 0);
    HWND hWnd = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(image.data()),
                                             OwnerWindow(pParentWnd, this), &CDialogProc::Run,
                                             reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr ? TRUE : FALSE;
}

INT_PTR CDialog::DoModal()
{
    if (!CreateFromTemplate(m_pParentWnd))
        return -1;
    if (!m_pDialogState->ended && m_hWnd != nullptr) {
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
        if (disableOwner)
            ::EnableWindow(owner, FALSE);
        ::ShowWindow(m_hWnd, SW_SHOW);
        MSG msg{};
        while (!m_pDialogState->ended && m_hWnd != nullptr) {
            const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
            if (got <= 0) {
                // WM_QUIT belongs to the loop outside this one.
                if (got == 0)
                    ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (CWndState::WalkPreTranslate(m_hWnd, &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        // The owner comes back before this window goes, so the focus returns to it.
        if (disableOwner)
            ::EnableWindow(owner, TRUE);
    }
    DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    if (!CreateFromTemplate(pParentWnd))
        return FALSE;
    if (m_pDialogState->visible && !m_pDialogState->ended && m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_pDialogState->ended = true;
    if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        // Wakes the modal loop, which checks for the end after each message.
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // The dialog manager's keyboard handling: Tab and arrow keys, mnemonics, Enter and Esc.
    if (m_hWnd == nullptr || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}
