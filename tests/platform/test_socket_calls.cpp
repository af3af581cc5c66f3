// The socket calls on their own, without Qt: which adapters a broadcast leaves by, the retry
// of an interrupted wait, and the fault seam the dialog tests rely on.
#include "platform/sockets/SendToEachAdapter.h"
#include "platform/sockets/SocketCalls.h"
#include "platform/sockets/SocketFaults.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <deque>
#include <string>
#include <thread>
#include <vector>

using namespace lanvista::sockets;

namespace {

// ---------------------------------------------------------------------------------------
// Adapter list

struct Interface {
    const char* name;
    int family;  // AF_INET, AF_INET6, or 0 for an entry without an address
    const char* address;
    unsigned flags;
};

constexpr unsigned kUp = IFF_UP | IFF_RUNNING | IFF_BROADCAST;

// An interface list as getifaddrs gives it.
class InterfaceList {
public:
    explicit InterfaceList(const std::vector<Interface>& interfaces)
    {
        for (const Interface& i : interfaces) {
            Node& node = m_nodes.emplace_back();
            node.entry.ifa_name = const_cast<char*>(i.name);
            node.entry.ifa_flags = i.flags;
            if (i.family == AF_INET) {
                node.v4.sin_family = AF_INET;
                inet_pton(AF_INET, i.address, &node.v4.sin_addr);
                node.entry.ifa_addr = reinterpret_cast<sockaddr*>(&node.v4);
            } else if (i.family == AF_INET6) {
                node.v6.sin6_family = AF_INET6;
                inet_pton(AF_INET6, i.address, &node.v6.sin6_addr);
                node.entry.ifa_addr = reinterpret_cast<sockaddr*>(&node.v6);
            }
        }
        for (std::size_t n = 0; n + 1 < m_nodes.size(); ++n)
            m_nodes[n].entry.ifa_next = &m_nodes[n + 1].entry;
    }
    const ifaddrs* First() const { return m_nodes.empty() ? nullptr : &m_nodes.front().entry; }

private:
    struct Node {
        ifaddrs entry{};
        sockaddr_in v4{};
        sockaddr_in6 v6{};
    };
    std::deque<Node> m_nodes;  // stable addresses for the links
};

// Index by name: "eth0" 2, "wlan0" 3, "eth1" 4, "lo" 1; anything else has none.
unsigned IndexOf(const char* name)
{
    const std::string n = name;
    return n == "lo" ? 1 : n == "eth0" ? 2 : n == "wlan0" ? 3 : n == "eth1" ? 4 : 0;
}

std::vector<std::string> Described(const std::vector<NetworkAdapter>& adapters)
{
    std::vector<std::string> described;
    for (const NetworkAdapter& a : adapters) {
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &a.address, text, sizeof text);
        described.push_back(a.name + "#" + std::to_string(a.index) + "=" + text);
    }
    return described;
}

struct AdapterCase {
    const char* name;
    std::vector<Interface> interfaces;
    std::vector<std::string> expected;
};

const AdapterCase kAdapterCases[] = {
    {"WiredAndWireless",
     {{"eth0", AF_INET, "192.168.1.5", kUp}, {"wlan0", AF_INET, "10.0.0.7", kUp}},
     {"eth0#2=192.168.1.5", "wlan0#3=10.0.0.7"}},
    {"LoopbackIsNoAdapter", {{"lo", AF_INET, "127.0.0.1", kUp | IFF_LOOPBACK}}, {}},
    {"DownOrWithoutLinkIsSkipped",
     {{"eth0", AF_INET, "192.168.1.5", IFF_BROADCAST | IFF_RUNNING},
      {"wlan0", AF_INET, "10.0.0.7", IFF_UP | IFF_BROADCAST},
      {"eth1", AF_INET, "172.16.0.1", kUp}},
     {"eth1#4=172.16.0.1"}},
    {"PointToPointIsSkipped", {{"eth0", AF_INET, "10.8.0.2", IFF_UP | IFF_RUNNING | IFF_POINTOPOINT}}, {}},
    {"OnlyIPv4Counts",
     {{"eth0", AF_INET6, "fe80::1", kUp}, {"eth0", 0, nullptr, kUp}, {"eth0", AF_INET, "192.168.1.5", kUp}},
     {"eth0#2=192.168.1.5"}},
    {"OneDatagramPerInterface",
     {{"eth0", AF_INET, "192.168.1.5", kUp}, {"eth0", AF_INET, "192.168.2.5", kUp}},
     {"eth0#2=192.168.1.5"}},
    {"AnInterfaceGoneMeanwhileIsSkipped", {{"usb0", AF_INET, "192.168.42.1", kUp}}, {}},
};

class BroadcastAdapterList : public testing::TestWithParam<AdapterCase> {};

// ---------------------------------------------------------------------------------------
// A pair of plain UDP sockets on 127.0.0.1, outside the calls under test.

sockaddr_in Loopback(std::uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

struct UdpPair {
    UdpPair()
    {
        for (SOCKET* s : {&sender, &receiver}) {
            *s = OpenSocket(SOCK_DGRAM);
            const sockaddr_in any = Loopback(0);
            BindSocket(*s, any);
        }
        SocketName(receiver, to);
    }
    ~UdpPair()
    {
        ClearSocketFaultsForTesting();
        CloseSocket(sender);
        CloseSocket(receiver);
    }
    // Datagrams waiting at the receiver.
    int Waiting() const
    {
        int count = 0;
        char buffer[256];
        while (ReceiveBytes(receiver, buffer, sizeof buffer, 0, true) >= 0)
            ++count;
        return count;
    }
    SOCKET sender = INVALID_SOCKET;
    SOCKET receiver = INVALID_SOCKET;
    sockaddr_in to{};
};

std::atomic<bool> g_interrupted{false};

void NoteInterrupt(int)
{
    g_interrupted = true;
}

}  // namespace

TEST_P(BroadcastAdapterList, HoldsTheUpBroadcastIPv4AdaptersOncePerInterface)
{
    const AdapterCase& c = GetParam();
    const InterfaceList list(c.interfaces);
    EXPECT_EQ(Described(BroadcastAdaptersIn(list.First(), &IndexOf)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BroadcastAdapterList, testing::ValuesIn(kAdapterCases),
                         [](const testing::TestParamInfo<AdapterCase>& info) { return std::string(info.param.name); });

TEST(BroadcastAdapters, OfThisHostAreItsOwnAndNeverLoopback)
{
    for (const NetworkAdapter& adapter : BroadcastAdapters()) {
        SCOPED_TRACE(adapter.name);
        EXPECT_EQ(adapter.index, if_nametoindex(adapter.name.c_str()));
        EXPECT_NE(ntohl(adapter.address.s_addr) >> 24, 127u);
    }
}

TEST(SendToEachAdapter, ToAnAddressOtherThanTheLimitedBroadcastSendsOneRoutedDatagram)
{
    UdpPair pair;
    EXPECT_EQ(SendToEachAdapter(pair.sender, "request", 7, 0, pair.to), 7);
    pollfd ready{pair.receiver, POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 5000), 1);
    EXPECT_EQ(pair.Waiting(), 1);
}

// The wait is interrupted by a signal before the datagram comes; it must go on waiting.
TEST(SocketCalls, AnInterruptedWaitGoesOnUntilTheSocketIsReady)
{
    UdpPair pair;
    struct sigaction action {};
    action.sa_handler = &NoteInterrupt;  // no SA_RESTART: the wait sees EINTR
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);
    g_interrupted = false;
    const pthread_t waiter = pthread_self();
    std::thread peer([&] {
        // Signals go on for a while after the first is handled, so some reach the wait.
        for (int sent = 0; sent < 50 || !g_interrupted; ++sent) {
            pthread_kill(waiter, SIGUSR1);
            usleep(1000);
        }
        const sockaddr_in to = pair.to;
        SendBytesTo(pair.sender, "late", 4, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    });
    WaitReady(pair.receiver, POLLIN);
    const short ready = ReadyNow(pair.receiver, POLLIN);
    peer.join();
    sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_TRUE(g_interrupted);
    EXPECT_EQ(ready, POLLIN) << "the wait ended before the datagram came";
}

TEST(SocketFaults, FailTheChosenCallsWithTheirWindowsNumberThenLetThemThrough)
{
    UdpPair pair;
    const auto send = [&] {
        return SendBytesTo(pair.sender, "x", 1, 0, reinterpret_cast<const sockaddr*>(&pair.to), sizeof pair.to);
    };
    InjectSocketFaultForTesting({SocketCall::SendTo, ENETUNREACH, 1, 2});
    EXPECT_EQ(send(), 1);
    EXPECT_EQ(send(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENETUNREACH);
    EXPECT_EQ(send(), SOCKET_ERROR);
    EXPECT_EQ(send(), 1);

    InjectSocketFaultForTesting({SocketCall::SendTo, 0});
    EXPECT_EQ(send(), 0) << "a send that reports nothing sent";
    pollfd ready{pair.receiver, POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 5000), 1);
    EXPECT_EQ(pair.Waiting(), 2) << "only the sends let through arrive";

    InjectSocketFaultForTesting({SocketCall::Open, EMFILE, 0, 100});
    ClearSocketFaultsForTesting();
    const SOCKET s = OpenSocket(SOCK_DGRAM);
    EXPECT_NE(s, INVALID_SOCKET) << "a cleared fault still fired";
    CloseSocket(s);

    InjectSocketFaultForTesting({SocketCall::Allocate});
    EXPECT_EQ(AllocateSocketObject(16), nullptr);
    void* object = AllocateSocketObject(16);
    EXPECT_NE(object, nullptr);
    FreeSocketObject(object);
}

namespace {

NetworkAdapter Adapter(const char* name, unsigned index, const char* address)
{
    NetworkAdapter adapter{name, index, {}};
    inet_pton(AF_INET, address, &adapter.address);
    return adapter;
}

DatagramArrival Arrival(const char* destination, unsigned interfaceIndex)
{
    DatagramArrival arrival{{}, interfaceIndex};
    inet_pton(AF_INET, destination, &arrival.destination);
    return arrival;
}

struct HeardCase {
    const char* name;
    std::vector<DatagramArrival> heard;
    std::vector<std::string> expected;  // names of the adapters a save leaves by
};

// eth0 and wlan0 on one office segment, eth1 on a bench.
const std::vector<NetworkAdapter> kThreeAdapters = {Adapter("eth0", 2, "192.168.0.10"),
                                                   Adapter("wlan0", 3, "192.168.0.11"),
                                                   Adapter("eth1", 4, "192.168.0.12")};

const HeardCase kHeardCases[] = {
    {"NothingHeard", {}, {}},
    {"TheAdapterTheReplyWasSentTo", {Arrival("192.168.0.11", 3)}, {"wlan0"}},
    // Either adapter of a segment may take in the other's traffic.
    {"SentToOneCameInOnTheOther", {Arrival("192.168.0.11", 2)}, {"wlan0"}},
    {"TwinsOnTwoSegments", {Arrival("192.168.0.10", 2), Arrival("192.168.0.12", 4)}, {"eth0", "eth1"}},
    {"BroadcastReplyByItsAdapter", {Arrival("255.255.255.255", 4)}, {"eth1"}},
    {"AddressNoLongerHeldByItsAdapter", {Arrival("192.168.0.99", 3)}, {"wlan0"}},
    {"AdapterGoneMeanwhile", {Arrival("10.0.0.7", 9)}, {}},
};

class AdaptersHeardTable : public testing::TestWithParam<HeardCase> {};

}  // namespace

TEST_P(AdaptersHeardTable, LeadBackTheWayTheRepliesCame)
{
    std::vector<std::string> names;
    for (const NetworkAdapter& adapter : AdaptersHeard(kThreeAdapters, GetParam().heard))
        names.push_back(adapter.name);
    EXPECT_EQ(names, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AdaptersHeardTable, testing::ValuesIn(kHeardCases),
                         [](const testing::TestParamInfo<HeardCase>& info) { return std::string(info.param.name); });

TEST(ReceiveBytes, TellsTheAddressADatagramWasSentToAndItsAdapter)
{
    UdpPair pair;
    ASSERT_EQ(SendBytesTo(pair.sender, "reply", 5, 0, reinterpret_cast<const sockaddr*>(&pair.to), sizeof pair.to), 5);
    pollfd ready{pair.receiver, POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 5000), 1);

    char buffer[16];
    sockaddr_in from{};
    DatagramArrival arrival{};
    ASSERT_EQ(ReceiveBytes(pair.receiver, buffer, sizeof buffer, 0, true, &from, &arrival), 5);
    sockaddr_in sender{};
    SocketName(pair.sender, sender);
    EXPECT_EQ(from.sin_port, sender.sin_port);
    EXPECT_EQ(ntohl(arrival.destination.s_addr), INADDR_LOOPBACK);
    EXPECT_EQ(arrival.interfaceIndex, if_nametoindex("lo"));
}
