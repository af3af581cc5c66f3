#pragma once

#include "platform/sockets/CSocket.h"
#include "update/FirmwareDownload.h"

class DownloadOwner;

/// The TCP connection of one firmware download. What arrives from the device goes to the
/// owner, which decides with the download's rules what to send and when to end.
class CUpdateSocket : public CSocket {
public:
    explicit CUpdateSocket(DownloadOwner* pOwnerDlg);

    int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
    int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;
    BOOL OnMessagePending() override;

    DownloadOwner* const m_pOwnerDlg;
    FirmwareDownload m_download;

protected:
    void OnReceive(int nErrorCode) override;
    void OnSend(int nErrorCode) override;
    void OnOutOfBandData(int nErrorCode) override;
    void OnAccept(int nErrorCode) override;
    void OnConnect(int nErrorCode) override;
    void OnClose(int nErrorCode) override;
};
