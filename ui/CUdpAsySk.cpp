#include "ui/CUdpAsySk.h"

#include "link/DeviceRecord.h"
#include "platform/OutputDebugString.h"
#include "link/NetworkSettings.h"
#include "ui/UdpEndpointOwner.h"

namespace {

// One byte more than a receive may fill, so a terminating zero always fits; larger than
// any IPv4 UDP payload, so no datagram is ever cut.
constexpr int kReceiveBufferSize = 70000;

}  // namespace

CUdpAsySk::CUdpAsySk(UdpEndpointOwner* pOwner) : m_pOwner(pOwner) {}

void CUdpAsySk::SendPending()
{
    if (m_nSentCount >= m_nSendLength)
        return;

    const NetworkSettings& network = m_pOwner->Network();
    SOCKADDR_IN destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(static_cast<WORD>(network.remoteUdpPort));
    inet_pton(AF_INET, network.udpDestination.c_str(), &destination.sin_addr);

    while (m_nSentCount < m_nSendLength) {
        // Through every adapter, so devices behind one without the default route see it too.
        const int sent = SendToEachAdapter(m_strSendText.data() + m_nSentCount, m_nSendLength - m_nSentCount,
                                           reinterpret_cast<const SOCKADDR*>(&destination), sizeof destination, 0);
        if (sent == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            // Left queued: the next request replaces it.
            if (error == WSAEWOULDBLOCK)
                return;
            Close();
            m_pOwner->ReportFailure("Sever Socket failed to send: %d", error);
            return;
        }
        // A datagram goes out whole or not at all; a send that moved nothing would never end.
        if (sent == 0)
            return;
        m_nSentCount += sent;
        if (m_nSentCount == m_nSendLength) {
            m_nSendLength = 0;
            m_nSentCount = 0;
            m_strSendText.clear();
        }
    }
}

void CUdpAsySk::OnReceive(int)
{
    OutputDebugStringA("CUdpAsySk::OnReceive\n");

    char buffer[kReceiveBufferSize];
    std::string senderAddress;
    UINT senderPort = 0;
    const int received = ReceiveFrom(buffer, kReceiveBufferSize - 1, senderAddress, senderPort, 0);
    if (received == SOCKET_ERROR)
        return;
    if (received == 0) {
        Close();
        return;
    }
    buffer[received] = '\0';

    const AcceptedReply reply = AcceptReply(buffer, static_cast<std::size_t>(received));
    switch (reply.kind) {
    case ReplyKind::SearchReply:
        m_pOwner->OnSearchReply(*reply.record);
        break;
    case ReplyKind::SaveReply:
        m_pOwner->OnSaveReply();
        break;
    case ReplyKind::Dropped:
        break;
    }
}

void CUdpAsySk::OnOutOfBandData(int nErrorCode)
{
    OutputDebugStringA("CUdpAsySk::OnOutOfBandData\n");
    CAsyncSocket::OnOutOfBandData(nErrorCode);
}

void CUdpAsySk::OnAccept(int nErrorCode)
{
    OutputDebugStringA("CUdpAsySk::OnAccept\n");
    CAsyncSocket::OnAccept(nErrorCode);
}

void CUdpAsySk::OnConnect(int nErrorCode)
{
    OutputDebugStringA("CUdpAsySk::OnConnect\n");
    CAsyncSocket::OnConnect(nErrorCode);
}

void CUdpAsySk::OnClose(int nErrorCode)
{
    OutputDebugStringA("CUdpAsySk::OnClose\n");
    CAsyncSocket::OnClose(nErrorCode);
}
