#pragma once

#include "platform/sockets/WinSock.h"

#include <cstdint>
#include <optional>
#include <string>

/// A device stand-in on 127.0.0.1: receives what the dialog sends and answers what a
/// simulated device cannot (bad, short and hand-made datagrams). Plain system sockets, not
/// the layer's, so that a fault a test arms in the layer never reaches the peer.
class UdpPeer {
public:
    /// anyAddress: bound to every address, not only loopback, and not shared, to hold a port
    /// against another socket.
    explicit UdpPeer(bool anyAddress = false);
    ~UdpPeer();
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;

    std::uint16_t port() const { return m_port; }

    struct Datagram {
        std::string data;
        std::uint16_t senderPort = 0;
    };
    /// The next datagram that reaches the peer, or nothing within timeoutMs; the event loop
    /// runs meanwhile.
    std::optional<Datagram> Receive(int timeoutMs = 5000);

    /// Sends to 127.0.0.1:port.
    void Send(const std::string& data, std::uint16_t port);

private:
    SOCKET m_socket = INVALID_SOCKET;
    std::uint16_t m_port = 0;
};
