#include "app/CConfigApp.h"

#include "lanvista/Version.h"

#include "platform/sockets/AfxSocketInit.h"
#include "platform/toolkit/MessageBox.h"
#include "ui/CConfigDlg.h"
#include "ui/Resource.h"
#include "ui/Resources.h"

BEGIN_MESSAGE_MAP(CConfigApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CConfigApp::CConfigApp()
{
    SetAppID(LANVISTA_APP_ID);
}

BOOL CConfigApp::InitInstance()
{
    RegisterResources();

    if (!AfxSocketInit()) {
        AfxMessageBox(IDP_SOCKETS_INIT_FAILED);
        return FALSE;
    }

    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CConfigDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // No message loop of our own: the program ends with the dialog.
    return FALSE;
}
