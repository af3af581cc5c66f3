// The socket calls on Winsock: the adapter list from GetAdaptersAddresses.
#include "SocketCallsTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

using namespace socketcallstest;

namespace {

struct Entry {
    const wchar_t* friendlyName;
    DWORD index;
    IFTYPE type;
    IF_OPER_STATUS status;
    std::vector<const char*> addresses;  // "v4:..." or "v6:..."
};

constexpr IFTYPE kEthernet = IF_TYPE_ETHERNET_CSMACD;
constexpr IFTYPE kWireless = IF_TYPE_IEEE80211;

// An adapter list as GetAdaptersAddresses gives it.
class AdapterList {
public:
    explicit AdapterList(const std::vector<Entry>& entries)
    {
        for (const Entry& e : entries) {
            Node& node = m_nodes.emplace_back();
            node.entry.FriendlyName = const_cast<wchar_t*>(e.friendlyName);
            node.entry.IfIndex = e.index;
            node.entry.IfType = e.type;
            node.entry.OperStatus = e.status;
            for (const char* text : e.addresses) {
                Address& address = node.addresses.emplace_back();
                const std::string family(text, 3);
                if (family == "v4:") {
                    address.v4.sin_family = AF_INET;
                    inet_pton(AF_INET, text + 3, &address.v4.sin_addr);
                    address.unicast.Address = {reinterpret_cast<sockaddr*>(&address.v4), sizeof address.v4};
                } else {
                    address.v6.sin6_family = AF_INET6;
                    inet_pton(AF_INET6, text + 3, &address.v6.sin6_addr);
                    address.unicast.Address = {reinterpret_cast<sockaddr*>(&address.v6), sizeof address.v6};
                }
            }
            for (std::size_t n = 0; n + 1 < node.addresses.size(); ++n)
                node.addresses[n].unicast.Next = &node.addresses[n + 1].unicast;
            node.entry.FirstUnicastAddress = node.addresses.empty() ? nullptr : &node.addresses.front().unicast;
        }
        for (std::size_t n = 0; n + 1 < m_nodes.size(); ++n)
            m_nodes[n].entry.Next = &m_nodes[n + 1].entry;
    }
    const IP_ADAPTER_ADDRESSES* First() const { return m_nodes.empty() ? nullptr : &m_nodes.front().entry; }

private:
    struct Address {
        IP_ADAPTER_UNICAST_ADDRESS unicast{};
        sockaddr_in v4{};
        sockaddr_in6 v6{};
    };
    struct Node {
        IP_ADAPTER_ADDRESSES entry{};
        std::deque<Address> addresses;  // stable addresses for the links
    };
    std::deque<Node> m_nodes;
};

struct AdapterCase {
    const char* name;
    std::vector<Entry> entries;
    std::vector<std::string> expected;
};

const AdapterCase kAdapterCases[] = {
    {"WiredAndWireless",
     {{L"Ethernet", 2, kEthernet, IfOperStatusUp, {"v4:192.168.1.5"}},
      {L"WLAN-Verbindung ü", 3, kWireless, IfOperStatusUp, {"v4:10.0.0.7"}}},
     {"Ethernet#2=192.168.1.5", "WLAN-Verbindung \xC3\xBC#3=10.0.0.7"}},
    {"LoopbackIsNoAdapter",
     {{L"Loopback Pseudo-Interface 1", 1, IF_TYPE_SOFTWARE_LOOPBACK, IfOperStatusUp, {"v4:127.0.0.1"}}},
     {}},
    {"NotUpIsSkipped",
     {{L"Ethernet", 2, kEthernet, IfOperStatusDown, {"v4:192.168.1.5"}},
      {L"WLAN", 3, kWireless, IfOperStatusDormant, {"v4:10.0.0.7"}},
      {L"Ethernet 2", 4, kEthernet, IfOperStatusUp, {"v4:172.16.0.1"}}},
     {"Ethernet 2#4=172.16.0.1"}},
    {"PointToPointIsSkipped",
     {{L"VPN", 5, IF_TYPE_PPP, IfOperStatusUp, {"v4:10.8.0.2"}},
      {L"Tunnel", 6, IF_TYPE_TUNNEL, IfOperStatusUp, {"v4:10.9.0.2"}}},
     {}},
    {"OnlyIPv4Counts",
     {{L"Ethernet", 2, kEthernet, IfOperStatusUp, {"v6:fe80::1", "v4:192.168.1.5"}},
      {L"Ethernet 2", 4, kEthernet, IfOperStatusUp, {"v6:fe80::2"}},
      {L"Ethernet 3", 5, kEthernet, IfOperStatusUp, {}}},
     {"Ethernet#2=192.168.1.5"}},
    {"OneDatagramPerAdapter",
     {{L"Ethernet", 2, kEthernet, IfOperStatusUp, {"v4:192.168.1.5", "v4:192.168.2.5"}},
      {L"Ethernet", 2, kEthernet, IfOperStatusUp, {"v4:192.168.3.5"}}},
     {"Ethernet#2=192.168.1.5"}},
    // IPv4 disabled on the adapter: it has no IPv4 index.
    {"WithoutAnIPv4IndexIsSkipped", {{L"Ethernet", 0, kEthernet, IfOperStatusUp, {"v4:192.168.1.5"}}}, {}},
};

class BroadcastAdapterList : public testing::TestWithParam<AdapterCase> {};

}  // namespace

TEST_P(BroadcastAdapterList, HoldsTheUpIPv4AdaptersOncePerAdapter)
{
    const AdapterList list(GetParam().entries);
    EXPECT_EQ(Described(BroadcastAdaptersIn(list.First())), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BroadcastAdapterList, testing::ValuesIn(kAdapterCases),
                         [](const testing::TestParamInfo<AdapterCase>& info) { return std::string(info.param.name); });

// Checked against the older address table, which names each address's adapter by index.
TEST(BroadcastAdapters, OfThisHostAreItsOwnAndNeverLoopback)
{
    ULONG size = 0;
    ASSERT_EQ(GetIpAddrTable(nullptr, &size, FALSE), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    std::vector<unsigned char> buffer(size);
    auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data());
    ASSERT_EQ(GetIpAddrTable(table, &size, FALSE), static_cast<DWORD>(NO_ERROR));
    for (const NetworkAdapter& adapter : BroadcastAdapters()) {
        SCOPED_TRACE(adapter.name);
        EXPECT_NE(ntohl(adapter.address.s_addr) >> 24, 127u);
        bool held = false;
        for (DWORD n = 0; n < table->dwNumEntries; ++n)
            held = held || (table->table[n].dwAddr == adapter.address.s_addr && table->table[n].dwIndex == adapter.index);
        EXPECT_TRUE(held) << AddressText(adapter.address) << " is not held by adapter " << adapter.index;
    }
}
