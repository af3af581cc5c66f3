#include "cli/TcpConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// Pieces small enough for a progress bar to move smoothly.
constexpr std::size_t kPieceSize = 64 * 1024;

} // namespace

TcpConnection::~TcpConnection()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool TcpConnection::WaitFor(short events, Deadline deadline) const
{
    using namespace std::chrono;
    for (;;) {
        const auto left = ceil<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd ready{m_fd, events, 0};
        const int n = ::poll(&ready, 1, static_cast<int>(left));
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
    }
}

int TcpConnection::Connect(std::uint32_t address, unsigned port, Deadline deadline)
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return errno;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(address);
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
        return 0;
    if (errno != EINPROGRESS)
        return errno;
    if (!WaitFor(POLLOUT, deadline))
        return ETIMEDOUT;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

int TcpConnection::SendAll(const unsigned char* data, std::size_t size, std::size_t& sent, double stepSeconds,
                           const std::function<void()>& progress)
{
    using namespace std::chrono;
    while (sent < size) {
        pollfd incoming{m_fd, POLLIN, 0};
        if (::poll(&incoming, 1, 0) > 0)
            return kIncoming;
        const std::size_t piece = std::min(kPieceSize, size - sent);
        const ssize_t n = ::send(m_fd, data + sent, piece, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            progress();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return errno;
        if (!WaitFor(POLLOUT | POLLIN,
                     steady_clock::now() + duration_cast<steady_clock::duration>(duration<double>(stepSeconds))))
            return ETIMEDOUT;
    }
    return 0;
}

std::size_t TcpConnection::Unacknowledged() const
{
    int queued = 0;
    if (::ioctl(m_fd, SIOCOUTQ, &queued) != 0 || queued < 0)
        return 0;
    return static_cast<std::size_t>(queued);
}

ssize_t TcpConnection::Receive(char* buffer, std::size_t size, Deadline deadline)
{
    for (;;) {
        const ssize_t n = ::recv(m_fd, buffer, size, 0);
        if (n >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return n;
        if (errno == EINTR)
            continue;
        if (!WaitFor(POLLIN, deadline)) {
            errno = ETIMEDOUT;
            return -1;
        }
    }
}
