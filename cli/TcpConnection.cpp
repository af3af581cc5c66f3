#include "cli/TcpConnection.h"

#include "platform/sockets/ReadyBefore.h"
#include "platform/sockets/SocketCalls.h"
#include "platform/sockets/UnacknowledgedBytes.h"

#include <algorithm>

using namespace lanvista::sockets;

namespace {

// Pieces small enough for a progress bar to move smoothly.
constexpr std::size_t kPieceSize = 64 * 1024;

} // namespace

TcpConnection::~TcpConnection()
{
    if (m_socket != INVALID_SOCKET)
        CloseSocket(m_socket);
}

int TcpConnection::Connect(std::uint32_t address, unsigned port, Deadline deadline)
{
    m_socket = OpenSocket(SOCK_STREAM);
    if (m_socket == INVALID_SOCKET)
        return WSAGetLastError();
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(address);
    if (ConnectSocket(m_socket, to))
        return 0;
    if (WSAGetLastError() != WSAEINPROGRESS)
        return WSAGetLastError();
    if (ReadyBefore(m_socket, POLLOUT, deadline) == 0)
        return WSAETIMEDOUT;
    return PendingError(m_socket);
}

int TcpConnection::SendAll(const unsigned char* data, std::size_t size, std::size_t& sent, double stepSeconds,
                           const std::function<void()>& progress)
{
    using namespace std::chrono;
    while (sent < size) {
        // A failed or ended connection counts too: the receive then tells what happened.
        if (WaitReadyFor(m_socket, POLLIN, 0) > 0)
            return kIncoming;
        const std::size_t piece = std::min(kPieceSize, size - sent);
        const int n = SendBytes(m_socket, data + sent, static_cast<int>(piece), 0);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            progress();
            continue;
        }
        if (n == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK)
            return WSAGetLastError();
        const auto stepEnd = steady_clock::now() + duration_cast<steady_clock::duration>(duration<double>(stepSeconds));
        if (ReadyBefore(m_socket, POLLOUT | POLLIN, stepEnd) == 0)
            return WSAETIMEDOUT;
    }
    return 0;
}

std::size_t TcpConnection::Unacknowledged() const
{
    return UnacknowledgedBytes(m_socket);
}

int TcpConnection::Receive(char* buffer, std::size_t size, Deadline deadline)
{
    for (;;) {
        const int n = ReceiveBytes(m_socket, buffer, static_cast<int>(size), 0, false);
        if (n >= 0 || WSAGetLastError() != WSAEWOULDBLOCK)
            return n;
        if (ReadyBefore(m_socket, POLLIN, deadline) == 0) {
            WSASetLastError(WSAETIMEDOUT);
            return SOCKET_ERROR;
        }
    }
}
