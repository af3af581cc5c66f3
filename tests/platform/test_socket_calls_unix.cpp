// The socket calls on POSIX: the adapter list from getifaddrs and the retry of an
// interrupted wait.
#include "SocketCallsTestSupport.h"

#include <gtest/gtest.h>

#include <ifaddrs.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <deque>
#include <string>
#include <thread>
#include <vector>

using namespace socketcallstest;

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
