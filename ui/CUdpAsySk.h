#pragma once

#include <string>

#include "link/AdapterDoubles.h"
#include "platform/sockets/CAsyncSocket.h"

class UdpEndpointOwner;

/// The dialog's one UDP endpoint: sends its requests to the devices and hands every verified
/// reply back to its owner.
class CUdpAsySk : public CAsyncSocket {
public:
    explicit CUdpAsySk(UdpEndpointOwner* pOwner);

    /// Sends what the send fields describe; a failure other than would-block closes the
    /// endpoint and is shown to the user.
    void SendPending();

    int m_nSendMode = 0;  // 0 = search request, 1 = save request
    std::string m_strSendText;
    int m_nSendLength = 0;
    int m_nSentCount = 0;
    UdpEndpointOwner* m_pOwner;

protected:
    void OnReceive(int nErrorCode) override;
    void OnOutOfBandData(int nErrorCode) override;
    void OnAccept(int nErrorCode) override;
    void OnConnect(int nErrorCode) override;
    void OnClose(int nErrorCode) override;

private:
    int SendRequest(const SOCKADDR_IN& destination);

    // This search's replies by the way each came in: a device heard again through a second
    // adapter is listed once, and a save goes back only the way its device was heard.
    AdapterDoubles m_replyWays;
};
