#pragma once

#include "platform/sockets/CSocket.h"
#include "update/AnnouncedImage.h"

class CConfigDlg;

/// The TCP connection of one firmware download. The device's status messages arrive in
/// OnReceive and drive the owner dialog's SendImage and CloseDownload.
class CUpdateSocket : public CSocket {
public:
    explicit CUpdateSocket(CConfigDlg* pOwnerDlg);

    int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
    int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;
    BOOL OnMessagePending() override;

    CConfigDlg* const m_pOwnerDlg;
    AnnouncedImage m_announcedImage;

protected:
    void OnReceive(int nErrorCode) override;
    void OnSend(int nErrorCode) override;
    void OnOutOfBandData(int nErrorCode) override;
    void OnAccept(int nErrorCode) override;
    void OnConnect(int nErrorCode) override;
    void OnClose(int nErrorCode) override;

private:
    void ForgetConnection();
};
