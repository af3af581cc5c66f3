#include "tests/cli/TcpDevices.h"

#include "platform/sockets/ReadyBefore.h"
#include "platform/sockets/SocketCalls.h"
#include "update/FirmwareDownload.h"

#include <algorithm>
#include <chrono>

using namespace lanvista::sockets;

namespace {

// Long enough for any step of a test; a test that hangs still ends.
constexpr auto kLongest = std::chrono::seconds(20);

// A listening TCP socket on an ephemeral port of 127.0.0.1.
SOCKET Listen(int backlog, std::uint16_t& port)
{
    const SOCKET s = OpenSocket(SOCK_STREAM);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    BindSocket(s, address);
    ListenOn(s, backlog);
    SocketName(s, address);
    port = ntohs(address.sin_port);
    return s;
}

} // namespace

SilentListener::SilentListener()
{
    m_socket = Listen(4, m_port);
}

SilentListener::~SilentListener()
{
    CloseSocket(m_socket);
}

bool SilentListener::connectionWaiting() const
{
    return ReadyNow(m_socket, POLLIN) != 0;
}

ScriptedDevice::ScriptedDevice(std::function<void(SOCKET)> script)
{
    m_socket = Listen(1, m_port);
    m_thread = std::thread([this, script = std::move(script)] {
        if (ReadyBefore(m_socket, POLLIN, std::chrono::steady_clock::now() + kLongest) == 0)
            return;
        const SOCKET connection = AcceptConnection(m_socket);
        if (connection == INVALID_SOCKET)
            return;
        script(connection);
        CloseSocket(connection);
    });
}

ScriptedDevice::~ScriptedDevice()
{
    m_thread.join();
    CloseSocket(m_socket);
}

bool SendToTool(SOCKET connection, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    const auto deadline = std::chrono::steady_clock::now() + kLongest;
    for (std::size_t sent = 0; sent < size;) {
        const int n = SendBytes(connection, bytes + sent, static_cast<int>(size - sent), 0);
        if (n > 0)
            sent += static_cast<std::size_t>(n);
        else if (WSAGetLastError() != WSAEWOULDBLOCK || ReadyBefore(connection, POLLOUT, deadline) == 0)
            return false;
    }
    return true;
}

bool SendStatus(SOCKET connection, unsigned char code)
{
    const auto status = BuildStatusMessage(code, code);
    return SendToTool(connection, status.data(), status.size());
}

void Take(SOCKET connection, std::size_t count)
{
    char buffer[4096];
    const auto deadline = std::chrono::steady_clock::now() + kLongest;
    for (std::size_t taken = 0; taken < count;) {
        const int n = ReceiveBytes(connection, buffer, static_cast<int>(std::min(sizeof buffer, count - taken)), 0, false);
        if (n > 0)
            taken += static_cast<std::size_t>(n);
        else if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK || ReadyBefore(connection, POLLIN, deadline) == 0)
            return;
    }
}
