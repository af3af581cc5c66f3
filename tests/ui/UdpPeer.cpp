#include "UdpPeer.h"

#include <QHostAddress>
#include <QNetworkDatagram>

#include <gtest/gtest.h>

#include "tests/support/Wait.h"

UdpPeer::UdpPeer()
{
    EXPECT_TRUE(m_socket.bind(QHostAddress::LocalHost, 0)) << m_socket.errorString().toStdString();
}

std::optional<UdpPeer::Datagram> UdpPeer::Receive(int timeoutMs)
{
    if (!WaitUntil([this] { return m_socket.hasPendingDatagrams(); }, timeoutMs))
        return std::nullopt;
    const QNetworkDatagram datagram = m_socket.receiveDatagram();
    return Datagram{datagram.data(), static_cast<quint16>(datagram.senderPort())};
}

void UdpPeer::Send(const QByteArray& data, quint16 port)
{
    EXPECT_EQ(m_socket.writeDatagram(data, QHostAddress::LocalHost, port), data.size());
}

void UdpPeer::Send(const std::string& data, quint16 port)
{
    Send(QByteArray(data.data(), static_cast<qsizetype>(data.size())), port);
}
