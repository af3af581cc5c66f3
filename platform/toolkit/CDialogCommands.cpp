// A dialog's own commands and initialisation, the same on every backend.
#include "platform/toolkit/CDialog.h"

#include "platform/toolkit/CWinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

int CDialog::GetModalResult() const
{
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    // Application commands (ids 0x8000 to 0xEFFF) go on to the application's map.
    if (nCode != 0 || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode);
}
