#pragma once

#include "platform/sockets/WinSock.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

/// A device's download port on 127.0.0.1 that the test drives by hand: it records what the
/// dialog sends and sends whatever status bytes the test asks for. Plain system sockets on a
/// thread of its own, so that it reads while the dialog runs, whatever the test waits on,
/// and a fault armed in the socket layer never reaches it.
class FakeDevice {
public:
    FakeDevice();
    ~FakeDevice();

    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    std::uint16_t port() const { return m_port; }
    int connectionCount() const;

    /// Waits for the connection with this 1-based number to be accepted.
    bool WaitForConnection(int number, int timeoutMs = 10000);
    /// Waits until the current connection has delivered at least count bytes.
    bool WaitForBytes(std::size_t count, int timeoutMs = 10000);
    /// Waits until the dialog has closed or reset the current connection (a close by
    /// Close() does not count).
    bool WaitForPeerClose(int timeoutMs = 10000);

    /// Everything received on the current connection.
    std::string received() const;

    void Send(const std::string& bytes);
    /// A 32-byte status message carrying code at offset 11.
    void SendStatus(unsigned char code);
    /// Closes the current connection from the device's side.
    void Close();

private:
    void Serve();
    void CloseCurrent();

    SOCKET m_listener = INVALID_SOCKET;
    std::uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    SOCKET m_socket = INVALID_SOCKET;  // the current connection; earlier ones report nothing
    std::string m_received;
    int m_connections = 0;
    bool m_peerClosed = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

/// A 32-byte status message as a device sends it: 0x02, filler, code at 11.
std::string StatusMessage(unsigned char code);
