#include "UdpPeer.h"

#include <gtest/gtest.h>

#include "tests/support/PlainSocket.h"
#include "tests/support/Wait.h"

namespace {

constexpr int kLargestDatagram = 65536;

sockaddr_in Address(std::uint32_t host, std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(host);
    address.sin_port = htons(port);
    return address;
}

}  // namespace

UdpPeer::UdpPeer(bool anyAddress)
{
    m_socket = socket(AF_INET, SOCK_DGRAM, 0);
    EXPECT_NE(m_socket, INVALID_SOCKET) << "no UDP socket";
    if (m_socket == INVALID_SOCKET)
        return;
#ifdef _WIN32
    // Not shared: on Windows another socket may otherwise take the port over.
    if (anyAddress) {
        const BOOL exclusive = TRUE;
        setsockopt(m_socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    }
#endif
    sockaddr_in address = Address(anyAddress ? INADDR_ANY : INADDR_LOOPBACK, 0);
    EXPECT_EQ(bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << "bind";
    socklen_t length = sizeof address;
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    plain_socket::MakeNonBlocking(m_socket);
}

UdpPeer::~UdpPeer()
{
    if (m_socket != INVALID_SOCKET)
        plain_socket::Close(m_socket);
}

std::optional<UdpPeer::Datagram> UdpPeer::Receive(int timeoutMs)
{
    std::string buffer(kLargestDatagram, '\0');
    Datagram datagram;
    const bool received = WaitUntil([&] {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const auto got = recvfrom(m_socket, buffer.data(), static_cast<int>(buffer.size()), 0,
                                  reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            return false;
        datagram.data = buffer.substr(0, static_cast<std::size_t>(got));
        datagram.senderPort = ntohs(from.sin_port);
        return true;
    }, timeoutMs);
    if (!received)
        return std::nullopt;
    return datagram;
}

void UdpPeer::Send(const std::string& data, std::uint16_t port)
{
    const sockaddr_in to = Address(INADDR_LOOPBACK, port);
    const auto sent = sendto(m_socket, data.data(), static_cast<int>(data.size()), 0,
                             reinterpret_cast<const sockaddr*>(&to), sizeof to);
    EXPECT_EQ(static_cast<long long>(sent), static_cast<long long>(data.size()));
}
