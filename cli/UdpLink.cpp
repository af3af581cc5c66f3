#include "cli/UdpLink.h"

#include "platform/sockets/AdapterNames.h"
#include "platform/sockets/DatagramBatch.h"
#include "platform/sockets/ReadyBefore.h"
#include "platform/sockets/ReceiveBuffer.h"
#include "platform/sockets/SocketCalls.h"

#include <thread>

#include <array>

using namespace lanvista::sockets;

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
    std::array<std::array<char, kDatagramRoom>, kBatchSize> rooms;
    std::array<BatchDatagram, kBatchSize> datagrams;
    std::size_t filled = 0;
    std::size_t next = 0;  // the first datagram not handed out yet

    Batch()
    {
        for (std::size_t i = 0; i < kBatchSize; ++i) {
            datagrams[i].data = rooms[i].data();
            datagrams[i].room = static_cast<int>(kDatagramRoom);
        }
    }

    // Reads what has arrived, up to a batch; false, with the layer's error set, when nothing had.
    bool Fill(SOCKET s)
    {
        const int received = ReceiveDatagrams(s, datagrams.data(), static_cast<int>(kBatchSize));
        filled = received > 0 ? static_cast<std::size_t>(received) : 0;
        next = 0;
        return filled > 0;
    }

    LinkDatagram Take()
    {
        const BatchDatagram& received = datagrams[next++];
        LinkDatagram datagram;
        datagram.data = received.data;
        datagram.size = static_cast<std::size_t>(received.size);
        datagram.from = ntohl(received.from.sin_addr.s_addr);
        datagram.fromPort = ntohs(received.from.sin_port);
        datagram.interfaceIndex = static_cast<int>(received.arrival.interfaceIndex);
        datagram.destination = ntohl(received.arrival.destination.s_addr);
        return datagram;
    }
};

UdpLink::UdpLink() : m_batch(std::make_unique<Batch>()) {}

UdpLink::~UdpLink()
{
    if (m_socket != INVALID_SOCKET)
        CloseSocket(m_socket);
}

int UdpLink::Open(unsigned localPort)
{
    // A datagram socket of the layer notes how each datagram arrives from the start.
    m_socket = OpenSocket(SOCK_DGRAM);
    if (m_socket == INVALID_SOCKET)
        return WSAGetLastError();
    const int on = 1;
    if (!SetSocketOption(m_socket, SOL_SOCKET, SO_BROADCAST, &on, sizeof on))
        return WSAGetLastError();
    m_gatherBursts = GrowReceiveBuffer(m_socket, kSocketReceiveBuffer) >= kGatheringBuffer;

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(localPort));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (!BindSocket(m_socket, address))
        return WSAGetLastError();
    return 0;
}

std::optional<LinkDatagram> UdpLink::ReceiveNow()
{
    if (m_batch->next == m_batch->filled && !m_batch->Fill(m_socket))
        return std::nullopt;
    return m_batch->Take();
}

std::optional<LinkDatagram> UdpLink::Receive(std::chrono::steady_clock::time_point deadline)
{
    // The deadline is looked at before every datagram, so a flood cannot stretch the wait.
    while (std::chrono::steady_clock::now() < deadline) {
        if (auto datagram = ReceiveNow())
            return datagram;
        // Any other failed receive loses that datagram only, as in the dialog.
        if (WSAGetLastError() == WSAEWOULDBLOCK && ReadyBefore(m_socket, POLLIN, deadline) != 0 && m_gatherBursts)
            GatherBurst(deadline);
    }
    return std::nullopt;
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
    if (found == m_names.end())
        found = m_names.emplace(index, index > 0 ? AdapterName(static_cast<unsigned>(index)) : std::string()).first;
    return found->second;
}

int UdpLink::InterfaceIndex(const std::string& name)
{
    return static_cast<int>(AdapterIndex(name));
}
