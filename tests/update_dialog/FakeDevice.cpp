#include "FakeDevice.h"

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/PlainSocket.h"
#include "tests/support/Wait.h"
#include "update/StatusFraming.h"

namespace {

constexpr auto kPoll = std::chrono::milliseconds(2);

// A send to a dialog that has gone fails instead of raising SIGPIPE.
#ifdef _WIN32
constexpr int kSendFlags = 0;
#else
constexpr int kSendFlags = MSG_NOSIGNAL;
#endif

}  // namespace

FakeDevice::FakeDevice()
{
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(m_listener, INVALID_SOCKET);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(m_listener, 8), 0);
    socklen_t length = sizeof address;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    plain_socket::MakeNonBlocking(m_listener);
    m_thread = std::thread([this] { Serve(); });
}

FakeDevice::~FakeDevice()
{
    m_stop = true;
    m_thread.join();
    CloseCurrent();
    plain_socket::Close(m_listener);
}

void FakeDevice::CloseCurrent()
{
    if (m_socket != INVALID_SOCKET)
        plain_socket::Close(m_socket);
    m_socket = INVALID_SOCKET;
}

void FakeDevice::Serve()
{
    char buffer[65536];
    while (!m_stop) {
        const SOCKET accepted = accept(m_listener, nullptr, nullptr);
        std::unique_lock lock(m_mutex);
        if (accepted != INVALID_SOCKET) {
            plain_socket::MakeNonBlocking(accepted);
            CloseCurrent();
            m_socket = accepted;
            m_received.clear();
            m_peerClosed = false;
            ++m_connections;
        }
        bool idle = accepted == INVALID_SOCKET;
        while (m_socket != INVALID_SOCKET) {
            const auto got = recv(m_socket, buffer, sizeof buffer, 0);
            if (got > 0) {
                m_received.append(buffer, static_cast<std::size_t>(got));
                idle = false;
                continue;
            }
            if (got < 0 && plain_socket::WouldBlock())
                break;
            // An orderly close or a reset by the dialog.
            m_peerClosed = true;
            CloseCurrent();
        }
        lock.unlock();
        if (idle)
            std::this_thread::sleep_for(kPoll);
    }
}

int FakeDevice::connectionCount() const
{
    std::lock_guard lock(m_mutex);
    return m_connections;
}

bool FakeDevice::WaitForConnection(int number, int timeoutMs)
{
    return WaitUntil([&] { return connectionCount() >= number; }, timeoutMs);
}

bool FakeDevice::WaitForBytes(std::size_t count, int timeoutMs)
{
    return WaitUntil([&] { return received().size() >= count; }, timeoutMs);
}

bool FakeDevice::WaitForPeerClose(int timeoutMs)
{
    return WaitUntil([&] {
        std::lock_guard lock(m_mutex);
        return m_peerClosed;
    }, timeoutMs);
}

std::string FakeDevice::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void FakeDevice::Send(const std::string& bytes)
{
    std::lock_guard lock(m_mutex);
    std::size_t sent = 0;
    while (m_socket != INVALID_SOCKET && sent < bytes.size()) {
        const auto n = send(m_socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), kSendFlags);
        if (n > 0)
            sent += static_cast<std::size_t>(n);
        else if (!(n < 0 && plain_socket::WouldBlock()))
            break;
    }
}

void FakeDevice::SendStatus(unsigned char code)
{
    Send(StatusMessage(code));
}

void FakeDevice::Close()
{
    std::lock_guard lock(m_mutex);
    // Closed here: the end the thread would see is no close by the dialog.
    CloseCurrent();
}

std::string StatusMessage(unsigned char code)
{
    const auto message = BuildStatusMessage(code, 7);
    return std::string(reinterpret_cast<const char*>(message.data()), message.size());
}
