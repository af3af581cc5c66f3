#include "cli/UdpLink.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Room for the largest datagram, so a longer-than-usual reply is still read whole.
constexpr std::size_t kBufferSize = 65536;
// Room for a burst of thousands of replies; the kernel caps it unless the tool may force it.
constexpr int kSocketReceiveBuffer = 8 * 1024 * 1024;

} // namespace

UdpLink::~UdpLink()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int UdpLink::Open(unsigned localPort)
{
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return errno;
    const int on = 1;
    if (::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        ::setsockopt(m_fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0)
        return errno;
    if (::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUFFORCE, &kSocketReceiveBuffer, sizeof kSocketReceiveBuffer) != 0)
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &kSocketReceiveBuffer, sizeof kSocketReceiveBuffer);

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(localPort));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return errno;
    m_buffer.resize(kBufferSize);
    return 0;
}

std::optional<LinkDatagram> UdpLink::ReceiveNow()
{
    sockaddr_in from{};
    iovec bytes{m_buffer.data(), m_buffer.size()};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &bytes;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t received = ::recvmsg(m_fd, &message, 0);
    if (received < 0)
        return std::nullopt;

    LinkDatagram datagram;
    datagram.data = m_buffer.data();
    datagram.size = static_cast<std::size_t>(received);
    datagram.from = ntohl(from.sin_addr.s_addr);
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            in_pktinfo info{};
            std::memcpy(&info, CMSG_DATA(header), sizeof info);
            datagram.interfaceIndex = info.ipi_ifindex;
        }
    }
    return datagram;
}

std::optional<LinkDatagram> UdpLink::Receive(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    // The deadline is looked at before every read, so a flood cannot stretch the wait.
    for (;;) {
        const auto left = ceil<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        if (auto datagram = ReceiveNow())
            return datagram;
        // Any other failed receive loses that datagram only, as in the dialog.
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd readable{m_fd, POLLIN, 0};
            ::poll(&readable, 1, static_cast<int>(left));
        }
    }
}

void UdpLink::Drain()
{
    while (ReceiveNow()) {
    }
}

const std::string& UdpLink::InterfaceName(int index)
{
    auto found = m_names.find(index);
    if (found == m_names.end()) {
        char name[IF_NAMESIZE] = {};
        const bool known = index > 0 && ::if_indextoname(static_cast<unsigned>(index), name) != nullptr;
        found = m_names.emplace(index, known ? std::string(name) : std::string()).first;
    }
    return found->second;
}
