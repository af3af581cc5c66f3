#include "ui/CUdpAsySk.h"

#include "link/DeviceRecord.h"
#include "platform/OutputDebugString.h"
#include "link/NetworkSettings.h"
#include "ui/UdpEndpointOwner.h"

#include <string_view>
#include <vector>

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
        const int sent = SendRequest(destination);
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

int CUdpAsySk::SendRequest(const SOCKADDR_IN& destination)
{
    const char* const text = m_strSendText.data() + m_nSentCount;
    const int length = m_nSendLength - m_nSentCount;
    const auto* const to = reinterpret_cast<const SOCKADDR*>(&destination);
    // A search goes through every adapter, so devices behind one without the default route
    // see it too; a save only the way(s) its device was heard, so that it is written once.
    if (m_nSendMode == 1 && m_strSendText.size() >= kMacOffset + 12) {
        std::vector<DatagramArrival> heard;
        for (const ReplyPath& path : m_replyWays.PathsOf(std::string_view(m_strSendText).substr(kMacOffset, 12))) {
            // Through s_addr: Windows' in_addr is a union whose first member is a byte.
            DatagramArrival arrival;
            arrival.destination.s_addr = htonl(path.destination);
            arrival.interfaceIndex = path.interfaceIndex;
            heard.push_back(arrival);
        }
        return SendToAdaptersHeard(text, length, to, sizeof destination, heard, 0);
    }
    return SendToEachAdapter(text, length, to, sizeof destination, 0);
}

void CUdpAsySk::OnReceive(int)
{
    OutputDebugStringA("CUdpAsySk::OnReceive\n");

    char buffer[kReceiveBufferSize];
    SOCKADDR_IN sender{};
    DatagramArrival arrival;
    const int received = ReceiveFrom(buffer, kReceiveBufferSize - 1, sender, arrival, 0);
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
        if (m_replyWays.IsDouble(reply.record->text, {ntohl(sender.sin_addr.s_addr), ntohs(sender.sin_port),
                                                      ntohl(arrival.destination.s_addr), arrival.interfaceIndex}))
            break;
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
