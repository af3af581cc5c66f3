#pragma once

#include <QByteArray>
#include <QUdpSocket>

#include <optional>

/// A device stand-in on 127.0.0.1: receives what the dialog sends and answers what a
/// simulated device cannot (bad, short and hand-made datagrams).
class UdpPeer {
public:
    UdpPeer();

    quint16 port() const { return m_socket.localPort(); }

    struct Datagram {
        QByteArray data;
        quint16 senderPort = 0;
    };
    /// The next datagram that reaches the peer, or nothing within timeoutMs.
    std::optional<Datagram> Receive(int timeoutMs = 5000);

    /// Sends to 127.0.0.1:port.
    void Send(const QByteArray& data, quint16 port);
    void Send(const std::string& data, quint16 port);

private:
    QUdpSocket m_socket;
};
