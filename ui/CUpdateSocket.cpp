#include "ui/CUpdateSocket.h"

#include "ui/DownloadOwner.h"

CUpdateSocket::CUpdateSocket(DownloadOwner* pOwnerDlg) : m_pOwnerDlg(pOwnerDlg) {}

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
    char buffer[4096];
    const int received = Receive(buffer, sizeof buffer);
    if (received == SOCKET_ERROR) {
        m_pOwnerDlg->ReportFailure("Error number is %d", WSAGetLastError());
        return;
    }
    // The device has closed its side; holding on to the dead connection would block every
    // later Start Update.
    if (received == 0) {
        m_pOwnerDlg->OnDownloadClosed();
        return;
    }
    m_pOwnerDlg->OnDownloadReceived(buffer, static_cast<std::size_t>(received));
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
    if (nErrorCode != 0)
        m_pOwnerDlg->OnDownloadConnectFailed(nErrorCode);
}

void CUpdateSocket::OnClose(int /*nErrorCode*/)
{
    m_pOwnerDlg->OnDownloadClosed();
}
