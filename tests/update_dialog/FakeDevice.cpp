#include "FakeDevice.h"

#include <QHostAddress>
#include <QTest>

#include "update/StatusFraming.h"

FakeDevice::FakeDevice()
{
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { Accept(); });
    m_server.listen(QHostAddress::LocalHost, 0);
}

FakeDevice::~FakeDevice()
{
    // A socket that dies with the server still signals its end; nobody listens any more.
    if (m_socket)
        m_socket->disconnect();
}

void FakeDevice::Accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_socket) {
            m_socket->disconnect();
            m_socket->deleteLater();
        }
        m_socket = socket;
        m_received.clear();
        m_peerClosed = false;
        m_closedHere = false;
        ++m_connections;
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { m_received += socket->readAll(); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this] {
            if (!m_closedHere)
                m_peerClosed = true;
        });
    }
}

bool FakeDevice::WaitForConnection(int number, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_connections >= number; }, timeoutMs);
}

bool FakeDevice::WaitForBytes(qsizetype count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_received.size() >= count; }, timeoutMs);
}

bool FakeDevice::WaitForPeerClose(int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_peerClosed; }, timeoutMs);
}

void FakeDevice::Send(const QByteArray& bytes)
{
    if (m_socket) {
        m_socket->write(bytes);
        m_socket->flush();
    }
}

void FakeDevice::SendStatus(unsigned char code)
{
    Send(StatusMessage(code));
}

void FakeDevice::Close()
{
    if (m_socket) {
        m_closedHere = true;
        m_socket->disconnectFromHost();
    }
}

QByteArray StatusMessage(unsigned char code)
{
    const auto message = BuildStatusMessage(code, 7);
    return QByteArray(reinterpret_cast<const char*>(message.data()), static_cast<qsizetype>(message.size()));
}
