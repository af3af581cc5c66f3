// A search sent through the Windows socket layer, under Wine in the lab's PC namespace: the
// request leaves through each of the PC's adapters (IP_UNICAST_IF) with that adapter's
// address as its source, lanvista-devsim's devices answer each copy, and every reply comes
// back telling the address it was sent to: through the socket calls alone, and through a
// CAsyncSocket whose replies come as WSAAsyncSelect notifications, as the dialog's do.
#include "link/Datagram.h"
#include "link/DevicePorts.h"
#include "link/DeviceRecord.h"
#include "platform/sockets/CAsyncSocket.h"
#include "platform/sockets/SendToEachAdapter.h"
#include "platform/sockets/SocketCalls.h"

#include "../platform/SocketTestLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace lanvista::sockets;

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// "aa:bb:cc:dd:ee:ff" plus n in its last three bytes, upper case as the device list shows it.
std::string MacPlus(const std::string& mac, unsigned n)
{
    unsigned b[6] = {};
    std::sscanf(mac.c_str(), "%x:%x:%x:%x:%x:%x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]);
    const unsigned low = ((b[3] << 16) | (b[4] << 8) | b[5]) + n;
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", b[0], b[1], b[2], (low >> 16) & 0xFF,
                  (low >> 8) & 0xFF, low & 0xFF);
    return text;
}

// The lab's adapters by address: "lvpc=10.213.77.1 lvpcb=10.213.77.2".
std::map<std::string, std::string> LabAdapters()
{
    std::map<std::string, std::string> byAddress;
    std::istringstream words(Env("LANVISTA_LAB_ADAPTERS"));
    for (std::string word; words >> word;)
        byAddress[word.substr(word.find('=') + 1)] = word.substr(0, word.find('='));
    return byAddress;
}

struct Heard {
    std::string mac;
    std::string adapter;  // the lab's name of the adapter whose address the reply was sent to
};

class WinsockSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Env("LANVISTA_LAB_ADAPTERS").empty())
            GTEST_SKIP() << "runs inside lab/lab.sh only";
        s_ = OpenSocket(SOCK_DGRAM);
        ASSERT_NE(s_, INVALID_SOCKET) << WSAGetLastError();
        const BOOL on = TRUE;
        ASSERT_TRUE(SetSocketOption(s_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on)) << WSAGetLastError();
        sockaddr_in any{};
        ASSERT_TRUE(ResolveIPv4(nullptr, kDeviceUdpPort, INADDR_ANY, any));
        ASSERT_TRUE(BindSocket(s_, any)) << WSAGetLastError();
    }
    void TearDown() override
    {
        if (s_ != INVALID_SOCKET)
            CloseSocket(s_);
    }

    /// Every search reply that comes within `seconds`, with the adapter it came in on.
    std::vector<Heard> Replies(int seconds)
    {
        const std::map<std::string, std::string> lab = LabAdapters();
        std::vector<Heard> heard;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            WSAPOLLFD ready{s_, POLLRDNORM, 0};
            if (WSAPoll(&ready, 1, 100) != 1)
                continue;
            char buffer[2048];
            DatagramArrival arrival{};
            const int n = ReceiveBytes(s_, buffer, sizeof buffer, 0, true, nullptr, &arrival);
            if (n <= 0)
                continue;
            const auto record = AcceptSearchReply(buffer, static_cast<std::size_t>(n));
            const auto adapter = lab.find(AddressText(arrival.destination));
            if (record)
                heard.push_back({record->macText, adapter == lab.end() ? AddressText(arrival.destination) : adapter->second});
        }
        return heard;
    }

    /// The MACs the lab's devices have on the first segment, the NAK device's among them.
    static std::set<std::string> FirstSegmentMacs()
    {
        std::set<std::string> macs;
        const unsigned devices = static_cast<unsigned>(std::atoi(Env("LANVISTA_LAB_DEVICES").c_str()));
        for (unsigned n = 0; n < devices; ++n)
            macs.insert(MacPlus(Env("LANVISTA_LAB_FIRST_MAC"), n));
        macs.insert(MacPlus(Env("LANVISTA_LAB_NAK_MAC"), 0));
        return macs;
    }

    SOCKET s_ = INVALID_SOCKET;
};

TEST_F(WinsockSearch, EveryDeviceAnswersThroughEachAdapterItIsReachedBy)
{
    const std::string request = BuildSearchRequest({}, 7);
    sockaddr_in to{};
    ASSERT_TRUE(ResolveIPv4(kLimitedBroadcast, kDeviceUdpPort, INADDR_NONE, to));
    ASSERT_EQ(SendToEachAdapter(s_, request.data(), static_cast<int>(request.size()), 0, to),
              static_cast<int>(request.size()))
        << WSAGetLastError();

    const std::vector<Heard> heard = Replies(2);
    std::map<std::string, std::set<std::string>> adaptersOf;
    for (const Heard& h : heard)
        adaptersOf[h.mac].insert(h.adapter);

    // Each adapter on the devices' segment carried its own copy of the request out. Which of
    // the two takes a reply in is the kernel's choice; the address it was sent to is not.
    std::set<std::string> segmentAdapters = {"lvpc"};
    if (LabAdapters().count("10.213.77.2"))
        segmentAdapters.insert(LabAdapters().at("10.213.77.2"));
    for (const std::string& mac : FirstSegmentMacs()) {
        SCOPED_TRACE(mac);
        EXPECT_EQ(adaptersOf[mac], segmentAdapters);
    }
    std::size_t expected = FirstSegmentMacs().size() * segmentAdapters.size();
    EXPECT_EQ(heard.size(), expected) << "a reply heard more often than requests went out";
}

// The dialog's way: one OnReceive per reply, each read with its arrival.
class SearchEndpoint : public CAsyncSocket {
public:
    std::vector<Heard> heard;

protected:
    void OnReceive(int error) override
    {
        ASSERT_EQ(error, 0);
        char buffer[2048];
        SOCKADDR_IN from{};
        DatagramArrival arrival{};
        const int n = ReceiveFrom(buffer, sizeof buffer, from, arrival);
        if (n <= 0)
            return;
        const auto record = AcceptSearchReply(buffer, static_cast<std::size_t>(n));
        const auto lab = LabAdapters();
        const auto adapter = lab.find(AddressText(arrival.destination));
        if (record)
            heard.push_back({record->macText, adapter == lab.end() ? AddressText(arrival.destination) : adapter->second});
    }
};

TEST(WinsockSearchNotified, EveryDeviceAnswerReachesOnReceiveWithTheAddressItWasSentTo)
{
    if (Env("LANVISTA_LAB_ADAPTERS").empty())
        GTEST_SKIP() << "runs inside lab/lab.sh only";
    SearchEndpoint endpoint;
    ASSERT_TRUE(endpoint.Create(kDeviceUdpPort, SOCK_DGRAM, FD_READ | FD_WRITE)) << WSAGetLastError();
    const BOOL on = TRUE;
    ASSERT_TRUE(endpoint.SetSockOpt(SO_BROADCAST, &on, sizeof on)) << WSAGetLastError();
    const std::string request = BuildSearchRequest({}, 11);
    sockaddr_in to{};
    ASSERT_TRUE(ResolveIPv4(kLimitedBroadcast, kDeviceUdpPort, INADDR_NONE, to));
    ASSERT_EQ(endpoint.SendToEachAdapter(request.data(), static_cast<int>(request.size()),
                                         reinterpret_cast<const SOCKADDR*>(&to), sizeof to),
              static_cast<int>(request.size()))
        << WSAGetLastError();

    const std::size_t expected = (static_cast<std::size_t>(std::atoi(Env("LANVISTA_LAB_DEVICES").c_str())) + 1)
                                 * (LabAdapters().count("10.213.77.2") ? 2 : 1);
    EXPECT_TRUE(sockettest::WaitFor([&] { return endpoint.heard.size() >= expected; }, 5000));
    sockettest::Pump(300);
    EXPECT_EQ(endpoint.heard.size(), expected) << "a reply delivered twice, or one lost";
    for (const Heard& h : endpoint.heard)
        EXPECT_TRUE(h.adapter == "lvpc" || h.adapter == "lvpcb") << h.mac << " sent to " << h.adapter;
}

}  // namespace
