#include "cli/UdpLink.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include <array>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t kBatchSize = 64;
constexpr std::size_t kDatagramRoom = 2048;
// Room for a burst of thousands of replies; the kernel caps it unless the tool may force it.
constexpr int kSocketReceiveBuffer = 8 * 1024 * 1024;
// A burst's first datagram wakes the tool; the rest of the burst is let in for this long and
// then read many to a call, instead of one wake-up per datagram. Thousands of replies then
// cost a fraction of the time; a lone reply waits half a millisecond longer.
constexpr auto kBurstGathering = std::chrono::microseconds(500);
// Only a buffer this large holds what a fast segment brings in that time: thousands of
// devices on 1 Gbit/s answer at up to 700 replies a millisecond, some 2 KiB of buffer each.
constexpr int kGatheringBuffer = 2 * 1024 * 1024;

} // namespace

struct UdpLink::Batch {
    struct Slot {
        char data[kDatagramRoom];
        sockaddr_in from;
        alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))];
        iovec bytes;
    };
    std::array<Slot, kBatchSize> slots;
    std::array<mmsghdr, kBatchSize> messages;
    std::size_t filled = 0;
    std::size_t next = 0;  // the first datagram not handed out yet

    // Reads what has arrived, up to a batch; false when nothing had.
    bool Fill(int fd)
    {
        for (std::size_t i = 0; i < kBatchSize; ++i) {
            Slot& slot = slots[i];
            slot.bytes = {slot.data, sizeof slot.data};
            messages[i] = {};
            msghdr& message = messages[i].msg_hdr;
            message.msg_name = &slot.from;
            message.msg_namelen = sizeof slot.from;
            message.msg_iov = &slot.bytes;
            message.msg_iovlen = 1;
            message.msg_control = slot.control;
            message.msg_controllen = sizeof slot.control;
        }
        const int received = ::recvmmsg(fd, messages.data(), kBatchSize, 0, nullptr);
        filled = received > 0 ? static_cast<std::size_t>(received) : 0;
        next = 0;
        return filled > 0;
    }

    LinkDatagram Take()
    {
        const std::size_t i = next++;
        msghdr& message = messages[i].msg_hdr;
        LinkDatagram datagram;
        datagram.data = slots[i].data;
        datagram.size = messages[i].msg_len;
        datagram.from = ntohl(slots[i].from.sin_addr.s_addr);
        datagram.fromPort = ntohs(slots[i].from.sin_port);
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(header), sizeof info);
                datagram.interfaceIndex = info.ipi_ifindex;
                datagram.destination = ntohl(info.ipi_addr.s_addr);
            }
        }
        return datagram;
    }
};

UdpLink::UdpLink() : m_batch(std::make_unique<Batch>()) {}

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

    int buffer = 0;
    socklen_t length = sizeof buffer;
    m_gatherBursts = ::getsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &buffer, &length) == 0 && buffer >= kGatheringBuffer;

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(localPort));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return errno;
    return 0;
}

std::optional<LinkDatagram> UdpLink::ReceiveNow()
{
    if (m_batch->next == m_batch->filled && !m_batch->Fill(m_fd))
        return std::nullopt;
    return m_batch->Take();
}

std::optional<LinkDatagram> UdpLink::Receive(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    // The deadline is looked at before every datagram, so a flood cannot stretch the wait.
    for (;;) {
        const auto left = ceil<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        if (auto datagram = ReceiveNow())
            return datagram;
        // Any other failed receive loses that datagram only, as in the dialog.
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd readable{m_fd, POLLIN, 0};
            if (::poll(&readable, 1, static_cast<int>(left)) > 0 && m_gatherBursts)
                GatherBurst(deadline);
        }
    }
}

void UdpLink::GatherBurst(std::chrono::steady_clock::time_point deadline)
{
    std::this_thread::sleep_until(std::min(deadline, std::chrono::steady_clock::now() + kBurstGathering));
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

int UdpLink::InterfaceIndex(const std::string& name)
{
    // A label is the interface's name, a colon and more. The kernel ignores what follows a
    // colon when it looks a name up, so a label is taken only when an address carries it.
    const std::size_t colon = name.find(':');
    if (colon == std::string::npos)
        return static_cast<int>(::if_nametoindex(name.c_str()));
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return 0;
    bool labelled = false;
    for (const ifaddrs* entry = list; entry != nullptr && !labelled; entry = entry->ifa_next)
        labelled = entry->ifa_name != nullptr && name == entry->ifa_name;
    ::freeifaddrs(list);
    return labelled ? static_cast<int>(::if_nametoindex(name.substr(0, colon).c_str())) : 0;
}
