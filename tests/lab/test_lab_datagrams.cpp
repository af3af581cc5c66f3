// What leaves the PC's adapters, captured on each of them: a search request goes out once
// through every adapter that is up, the same bytes each time, with that adapter's address as
// source; a save request once through the adapter its device was heard on; none through an
// adapter that is down.
#include <QTest>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "LabTest.h"
#include "tests/support/Wait.h"

namespace {

constexpr std::uint16_t kDevicePort = 27700;

struct Broadcast {
    std::uint32_t source;  // first octet in the most significant byte
    std::uint16_t sourcePort;
    std::string payload;
};

// The UDP datagrams to 255.255.255.255:27700 that leave one adapter, seen by a packet socket
// on it (the PC namespace is the test's own, so it may open one).
class OutgoingBroadcasts {
public:
    explicit OutgoingBroadcasts(const std::string& adapter)
    {
        // Only a socket for every protocol is shown what the machine sends.
        m_fd = ::socket(AF_PACKET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, htons(ETH_P_ALL));
        sockaddr_ll link{};
        link.sll_family = AF_PACKET;
        link.sll_protocol = htons(ETH_P_ALL);
        link.sll_ifindex = static_cast<int>(if_nametoindex(adapter.c_str()));
        m_open = m_fd >= 0 && link.sll_ifindex != 0 &&
                 ::bind(m_fd, reinterpret_cast<const sockaddr*>(&link), sizeof link) == 0;
    }
    ~OutgoingBroadcasts()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OutgoingBroadcasts(const OutgoingBroadcasts&) = delete;
    OutgoingBroadcasts& operator=(const OutgoingBroadcasts&) = delete;

    bool IsOpen() const { return m_open; }

    // Everything captured since the last call.
    std::vector<Broadcast> Take()
    {
        std::vector<Broadcast> taken;
        unsigned char packet[70000];
        for (;;) {
            sockaddr_ll from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n = ::recvfrom(m_fd, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from),
                                         &fromLength);
            if (n < 0)
                return taken;
            if (from.sll_pkttype != PACKET_OUTGOING || from.sll_protocol != htons(ETH_P_IP) ||
                static_cast<std::size_t>(n) < sizeof(iphdr))
                continue;
            iphdr ip{};
            std::memcpy(&ip, packet, sizeof ip);
            const std::size_t ipLength = std::size_t(ip.ihl) * 4;
            if (ip.protocol != IPPROTO_UDP || ip.daddr != htonl(INADDR_BROADCAST) ||
                static_cast<std::size_t>(n) < ipLength + sizeof(udphdr))
                continue;
            udphdr udp{};
            std::memcpy(&udp, packet + ipLength, sizeof udp);
            if (ntohs(udp.dest) != kDevicePort)
                continue;
            const auto* payload = reinterpret_cast<const char*>(packet + ipLength + sizeof udp);
            taken.push_back({ntohl(ip.saddr), ntohs(udp.source),
                             std::string(payload, static_cast<std::size_t>(n) - ipLength - sizeof udp)});
        }
    }

private:
    int m_fd = -1;
    bool m_open = false;
};

class LabDatagrams : public LabTest {
protected:
    void SetUp() override
    {
        LabTest::SetUp();
        for (const LabAdapter& adapter : lab.adapters)
            Capture(adapter);
        for (const LabAdapter& adapter : lab.downAdapters)
            Capture(adapter);
    }

    // Lets the requests just sent be captured, then checks: one through each of the adapters
    // named, with its address and port 27700 as source, the same bytes everywhere, of the given
    // command; nothing through any other adapter, up or down.
    void ExpectOneThrough(const char* command, const std::vector<LabAdapter>& through)
    {
        for (const LabAdapter& adapter : through) {
            SCOPED_TRACE(adapter.name);
            std::vector<Broadcast>& seen = m_seen[adapter.name];
            ASSERT_TRUE(WaitUntil([&] {
                Collect(adapter.name);
                return !seen.empty();
            }));
        }
        // Time for a second copy to show, if one were sent.
        QTest::qWait(200);
        std::string first;
        for (const LabAdapter& adapter : through) {
            SCOPED_TRACE(adapter.name);
            Collect(adapter.name);
            const std::vector<Broadcast>& seen = m_seen[adapter.name];
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].source, adapter.ip) << DottedAddress(seen[0].source);
            EXPECT_EQ(seen[0].sourcePort, kDevicePort);
            ASSERT_EQ(seen[0].payload.size(), 128u);
            EXPECT_EQ(seen[0].payload.substr(8, 2), command);
            if (first.empty())
                first = seen[0].payload;
            EXPECT_EQ(seen[0].payload, first) << "the adapters got different bytes";
        }
        for (const auto& [name, capture] : m_captures) {
            const bool named = std::any_of(through.begin(), through.end(),
                                           [&](const LabAdapter& adapter) { return adapter.name == name; });
            if (named)
                continue;
            Collect(name);
            EXPECT_TRUE(m_seen[name].empty()) << "a copy through " << name;
        }
        m_seen.clear();
    }

    // The adapter of the segment a device sits on.
    LabAdapter AdapterOf(const std::string& macText) const
    {
        const bool second = std::any_of(lab.secondDevices.begin(), lab.secondDevices.end(),
                                        [&](const LabDevice& device) { return device.macText == macText; });
        const std::string name = second ? "lvpc2" : "lvpc";
        const auto found = std::find_if(lab.adapters.begin(), lab.adapters.end(),
                                        [&](const LabAdapter& adapter) { return adapter.name == name; });
        return found != lab.adapters.end() ? *found : LabAdapter{name, 0};
    }

private:
    void Capture(const LabAdapter& adapter)
    {
        auto capture = std::make_unique<OutgoingBroadcasts>(adapter.name);
        ASSERT_TRUE(capture->IsOpen()) << "no packet socket on " << adapter.name << ": " << std::strerror(errno);
        m_captures[adapter.name] = std::move(capture);
    }
    void Collect(const std::string& adapter)
    {
        for (Broadcast& broadcast : m_captures.at(adapter)->Take())
            m_seen[adapter].push_back(std::move(broadcast));
    }

    std::map<std::string, std::unique_ptr<OutgoingBroadcasts>> m_captures;
    std::map<std::string, std::vector<Broadcast>> m_seen;
};

}  // namespace

TEST_F(LabDatagrams, SearchGoesOutOncePerAdapterAndSaveTheWayItsDeviceWasHeard)
{
    f.Click(IDC_SEARCH);
    ASSERT_NO_FATAL_FAILURE(ExpectOneThrough("00", lab.adapters));

    // Every device heard, so that one of the second segment can be saved as well as one of the
    // first, where the second's adapter is up.
    const bool secondUp = lab.downAdapters.empty() && !lab.secondDevices.empty();
    const std::size_t heard = lab.devices.size() + 1 + (secondUp ? lab.secondDevices.size() : 0);
    ASSERT_TRUE(f.WaitForDevices(static_cast<int>(heard)));
    const LabDevice& other = secondUp ? lab.secondDevices.front() : lab.nakDevice;
    for (const std::string& macText : {lab.devices.front().macText, other.macText}) {
        SCOPED_TRACE(macText);
        f.ClickDeviceListRow(RowOf(macText));
        boxes.Expect("Save Complete!");
        f.Click(IDC_SAVE);
        ASSERT_NO_FATAL_FAILURE(ExpectOneThrough("10", {AdapterOf(macText)}));
        EXPECT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }));
    }
}
