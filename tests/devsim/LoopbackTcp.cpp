#include "tests/devsim/LoopbackTcp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

LoopbackTcp::LoopbackTcp(std::uint16_t port)
{
    m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_fd < 0) {
        m_connectError = errno;
        m_end = End::Failed;
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        m_connectError = errno;
        m_end = End::Failed;
    }
}

LoopbackTcp::~LoopbackTcp()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool LoopbackTcp::sendAll(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0 && m_end == End::Open) {
        // No SIGPIPE when devsim has already dropped the connection.
        const ssize_t sent = ::send(m_fd, bytes, size, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return size == 0;
}

std::string LoopbackTcp::receiveSome(int timeoutMs)
{
    if (m_end != End::Open)
        return {};
    pollfd readable{m_fd, POLLIN, 0};
    if (::poll(&readable, 1, timeoutMs) != 1)
        return {};
    char buffer[4096];
    const ssize_t received = ::recv(m_fd, buffer, sizeof buffer, 0);
    if (received > 0)
        return std::string(buffer, static_cast<std::size_t>(received));
    if (received == 0)
        m_end = End::Closed;
    else
        m_end = errno == ECONNRESET ? End::Reset : End::Failed;
    return {};
}

std::string LoopbackTcp::receive(std::size_t count, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string bytes;
    while (bytes.size() < count && m_end == End::Open) {
        const int left = MillisecondsUntil(deadline);
        if (left == 0)
            break;
        bytes += receiveSome(left);
    }
    return bytes;
}

std::string LoopbackTcp::receiveToEnd(int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string bytes;
    while (m_end == End::Open) {
        const int left = MillisecondsUntil(deadline);
        if (left == 0)
            break;
        bytes += receiveSome(left);
    }
    return bytes;
}
