#include "ui/CUpdateSocket.h"

#include <cstdio>

#include "platform/toolkit/MessageBox.h"
#include "ui/CConfigDlg.h"
#include "update/StatusFraming.h"

CUpdateSocket::CUpdateSocket(CConfigDlg* pOwnerDlg) : m_pOwnerDlg(pOwnerDlg) {}

int CUpdateSocket::Receive(void* lpBuf, int nBufLen, int nFlags)
{
    return CSocket::Receive(lpBuf, nBufLen, nFlags);
}

int CUpdateSocket::Send(const void* lpBuf, int nBufLen, int nFlags)
{
    return CSocket::Send(lpBuf, nBufLen, nFlags);
}

BOOL CUpdateSocket::OnMessagePending()
{
    return CSocket::OnMessagePending();
}

void CUpdateSocket::OnReceive(int /*nErrorCode*/)
{
    CConfigDlg* const dlg = m_pOwnerDlg;
    char buffer[4096];
    const int received = Receive(buffer, sizeof buffer);
    if (received == SOCKET_ERROR) {
        std::snprintf(dlg->m_szMsg, sizeof dlg->m_szMsg, "Error number is %d", WSAGetLastError());
        AfxMessageBox(dlg->m_szMsg);
        return;
    }
    if (received == 0) {
        // The device has closed its side; holding on to the dead connection would block
        // every later Start Update.
        ForgetConnection();
        return;
    }

    // Longer than a status message, the reply text can never frame one again until it is
    // emptied: further bytes would only pile up, without end from a device that keeps
    // sending.
    if (dlg->m_strReplyText.size() <= kStatusMessageSize)
        AppendReceived(dlg->m_strReplyText, buffer, static_cast<std::size_t>(received));
    dlg->UpdateData(FALSE);

    // SendImage and CloseDownload may end this connection (CloseDownload always does):
    // after they return, nothing of this object or of the reply text is touched.
    switch (ClassifyStatus(dlg->m_strReplyText)) {
    case StatusAction::SendImage:
        dlg->m_strReplyText.clear();
        // A device repeating its request while the answer's message box is open would
        // otherwise stack one box on another until the stack runs out.
        if (dlg->m_bAnsweringImageRequest)
            break;
        dlg->m_bAnsweringImageRequest = true;
        dlg->SendImage();
        dlg->m_bAnsweringImageRequest = false;
        break;
    case StatusAction::Success:
        dlg->m_strReplyText.clear();
        dlg->CloseDownload();
        AfxMessageBox("Success Program Download!");
        break;
    case StatusAction::Failure:
        dlg->m_strReplyText.clear();
        dlg->CloseDownload();
        AfxMessageBox("Fail Program Download!");
        break;
    case StatusAction::None:
        break;
    }
}

void CUpdateSocket::OnSend(int nErrorCode)
{
    CSocket::OnSend(nErrorCode);
}

void CUpdateSocket::OnOutOfBandData(int nErrorCode)
{
    CSocket::OnOutOfBandData(nErrorCode);
}

void CUpdateSocket::OnAccept(int nErrorCode)
{
    CSocket::OnAccept(nErrorCode);
}

void CUpdateSocket::OnConnect(int nErrorCode)
{
    if (nErrorCode == 0)
        return;
    CConfigDlg* const dlg = m_pOwnerDlg;
    std::snprintf(dlg->m_szMsg, sizeof dlg->m_szMsg, "OnConnect error: %d", nErrorCode);
    AfxMessageBox(dlg->m_szMsg);
    AfxMessageBox("Please close the application");
}

void CUpdateSocket::OnClose(int /*nErrorCode*/)
{
    ForgetConnection();
}

void CUpdateSocket::ForgetConnection()
{
    CConfigDlg* const dlg = m_pOwnerDlg;
    dlg->m_pDownload = nullptr;
    dlg->m_strReplyText.clear();
    dlg->UpdateData(FALSE);
    delete this;
}
