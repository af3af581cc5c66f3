#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>

/// A device's download port on 127.0.0.1 that the test drives by hand: it records what the
/// dialog sends and sends whatever status bytes the test asks for.
class FakeDevice {
public:
    FakeDevice();
    ~FakeDevice();

    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    quint16 port() const { return m_server.serverPort(); }
    int connectionCount() const { return m_connections; }

    /// Waits for the connection with this 1-based number to be accepted.
    bool WaitForConnection(int number, int timeoutMs = 10000);
    /// Waits until the current connection has delivered at least count bytes.
    bool WaitForBytes(qsizetype count, int timeoutMs = 10000);
    /// Waits until the dialog has closed or reset the current connection (a close by
    /// Close() does not count).
    bool WaitForPeerClose(int timeoutMs = 10000);

    /// Everything received on the current connection.
    const QByteArray& received() const { return m_received; }

    void Send(const QByteArray& bytes);
    /// A 32-byte status message carrying code at offset 11.
    void SendStatus(unsigned char code);
    /// Closes the current connection from the device's side.
    void Close();

private:
    void Accept();

    QTcpServer m_server;
    QTcpSocket* m_socket = nullptr;  // the current connection; earlier ones report nothing
    QByteArray m_received;
    int m_connections = 0;
    bool m_peerClosed = false;
    bool m_closedHere = false;
};

/// A 32-byte status message as a device sends it: 0x02, filler, code at 11.
QByteArray StatusMessage(unsigned char code);
