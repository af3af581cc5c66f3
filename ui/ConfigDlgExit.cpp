// Exit and the teardown of the dialog's network objects.
#include "ui/CConfigDlg.h"

#include "ui/CUdpAsySk.h"
#include "ui/CUpdateSocket.h"

void CConfigDlg::OnCancel()
{
    // As CloseUdpEndpoint, but the lists stay: the dialog is about to end, or stays open
    // showing what was found if the port box refuses the exit.
    if (m_pUdpEndpoint != nullptr)
        TearDownUdpEndpoint();

    CloseDownload();

    OnOK();
}

void CConfigDlg::OnDestroy()
{
    CDialog::OnDestroy();

    if (m_pUdpEndpoint != nullptr) {
        m_pUdpEndpoint->Close();
        delete m_pUdpEndpoint;
        m_pUdpEndpoint = nullptr;
    }
    // The device sees the connection end, no shutdown first.
    if (m_pDownload != nullptr)
        DropDownload();
}
