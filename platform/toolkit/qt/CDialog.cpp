#include "platform/toolkit/CDialog.h"

#include "platform/toolkit/qt/DialogBuilder.h"
#include "platform/toolkit/qt/DialogWidget.h"
#include "platform/toolkit/qt/QtHandles.h"
#include "platform/toolkit/ResourceTable.h"

#include <QEventLoop>

struct CDialogState {
    QEventLoop* modalLoop = nullptr;
    bool ended = false;
    bool focusFirstTabStop = false;
    bool visible = false;
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
    QWidget* parent = pParentWnd && pParentWnd->m_hWnd ? WidgetFromHandle(pParentWnd->m_hWnd) : nullptr;
    DialogWidget* window = BuildDialogWindow(*dialog, this, parent);
    SetOwnedWindow(HandleFromWidget(window));
    *m_pDialogState = CDialogState{};
    // A window deleted with its parent ends a modal run instead of leaving it waiting.
    QObject::connect(window, &QObject::destroyed, [state = m_pDialogState.get()] {
        if (state->modalLoop)
            state->modalLoop->exit();
    });
    m_pDialogState->visible = (dialog->style & WS_VISIBLE) != 0;
    m_nModalResult = -1;
    m_pDialogState->focusFirstTabStop = OnInitDialog() != FALSE;
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    if (!CreateFromTemplate(m_pParentWnd))
        return -1;
    if (!m_pDialogState->ended && m_hWnd != nullptr) {
        auto* window = static_cast<DialogWidget*>(WidgetFromHandle(m_hWnd));
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        if (m_pDialogState->focusFirstTabStop)
            window->FocusFirstTabStop();
        QEventLoop loop;
        m_pDialogState->modalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
        m_pDialogState->modalLoop = nullptr;
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
    if (m_pDialogState->visible && !m_pDialogState->ended && m_hWnd != nullptr) {
        auto* window = static_cast<DialogWidget*>(WidgetFromHandle(m_hWnd));
        window->show();
        if (m_pDialogState->focusFirstTabStop)
            window->FocusFirstTabStop();
    }
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_pDialogState->ended = true;
    if (m_hWnd)
        WidgetFromHandle(m_hWnd)->hide();
    if (m_pDialogState->modalLoop)
        m_pDialogState->modalLoop->exit();
}

BOOL CDialog::PreTranslateMessage(MSG*)
{
    return FALSE;
}
