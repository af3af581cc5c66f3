#include "tests/devsim/LoopbackUdp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {

constexpr std::size_t kReceiveBufferSize = 70000;
// Room for a burst of replies; the kernel caps it at its own limit.
constexpr int kSocketReceiveBuffer = 4 * 1024 * 1024;

sockaddr_in Loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

LoopbackUdp::LoopbackUdp()
{
    m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (m_fd < 0)
        return;
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &kSocketReceiveBuffer, sizeof kSocketReceiveBuffer);
    const sockaddr_in address = Loopback(0);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

LoopbackUdp::~LoopbackUdp()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool LoopbackUdp::sendTo(std::uint16_t port, const std::string& datagram)
{
    const sockaddr_in to = Loopback(port);
    const ssize_t sent =
        ::sendto(m_fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    return sent == static_cast<ssize_t>(datagram.size());
}

std::optional<LoopbackUdp::Datagram> LoopbackUdp::receive(int timeoutMs)
{
    pollfd readable{m_fd, POLLIN, 0};
    if (::poll(&readable, 1, timeoutMs) != 1)
        return std::nullopt;
    std::string buffer(kReceiveBufferSize, '\0');
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t received =
        ::recvfrom(m_fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received < 0)
        return std::nullopt;
    buffer.resize(static_cast<std::size_t>(received));
    return Datagram{std::move(buffer), ntohs(from.sin_port)};
}

std::vector<LoopbackUdp::Datagram> LoopbackUdp::receiveMany(std::size_t count, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<Datagram> datagrams;
    while (datagrams.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        auto datagram = receive(static_cast<int>(left));
        if (!datagram)
            break;
        datagrams.push_back(std::move(*datagram));
    }
    return datagrams;
}
