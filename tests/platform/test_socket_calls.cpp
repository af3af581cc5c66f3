// The socket calls on their own, without Qt, on either system: the routed send, the fault
// seam the dialog tests rely on, which adapters a save goes back by, and what a receive
// tells of a datagram's arrival.
#include "SocketCallsTestSupport.h"

#include "platform/sockets/SendToEachAdapter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

using namespace socketcallstest;

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

TEST(SendToEachAdapter, ToAnAddressOtherThanTheLimitedBroadcastSendsOneRoutedDatagram)
{
    UdpPair pair;
    EXPECT_EQ(SendToEachAdapter(pair.sender, "request", 7, 0, pair.to), 7);
    ASSERT_TRUE(WaitReadable(pair.receiver, 5000));
    EXPECT_EQ(pair.Waiting(), 1);
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
    ASSERT_TRUE(WaitReadable(pair.receiver, 5000));
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
    ASSERT_TRUE(WaitReadable(pair.receiver, 5000));

    char buffer[16];
    sockaddr_in from{};
    DatagramArrival arrival{};
    ASSERT_EQ(ReceiveBytes(pair.receiver, buffer, sizeof buffer, 0, true, &from, &arrival), 5);
    sockaddr_in sender{};
    SocketName(pair.sender, sender);
    EXPECT_EQ(from.sin_port, sender.sin_port);
    EXPECT_EQ(ntohl(arrival.destination.s_addr), INADDR_LOOPBACK);
    EXPECT_EQ(arrival.interfaceIndex, LoopbackIndex());
}

TEST(ReceiveBytes, ADatagramLongerThanTheBufferFillsItAndFailsWithMsgSize)
{
    UdpPair pair;
    const std::string datagram = "0123456789abcdef";
    for (const bool withArrival : {false, true}) {
        SCOPED_TRACE(withArrival ? "with its arrival" : "with its sender");
        ASSERT_EQ(SendBytesTo(pair.sender, datagram.data(), 16, 0, reinterpret_cast<const sockaddr*>(&pair.to),
                              sizeof pair.to),
                  16);
        ASSERT_TRUE(WaitReadable(pair.receiver, 5000));
        char buffer[8] = {};
        sockaddr_in from{};
        DatagramArrival arrival{};
        EXPECT_EQ(ReceiveBytes(pair.receiver, buffer, sizeof buffer, 0, true, &from,
                               withArrival ? &arrival : nullptr),
                  SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), WSAEMSGSIZE);
        EXPECT_EQ(std::string(buffer, 8), datagram.substr(0, 8));
        EXPECT_EQ(pair.Waiting(), 0) << "the rest of a datagram cut short is gone, not a datagram of its own";
    }
}

TEST(SocketCalls, ADatagramToAClosedPortDoesNotFailTheNextReceive)
{
    UdpPair pair;
    const SOCKET gone = OpenSocket(SOCK_DGRAM);
    const sockaddr_in any = Loopback(0);
    ASSERT_TRUE(BindSocket(gone, any));
    sockaddr_in closed{};
    SocketName(gone, closed);
    CloseSocket(gone);
    ASSERT_EQ(SendBytesTo(pair.receiver, "x", 1, 0, reinterpret_cast<const sockaddr*>(&closed), sizeof closed), 1);
    ASSERT_EQ(SendBytesTo(pair.sender, "reply", 5, 0, reinterpret_cast<const sockaddr*>(&pair.to), sizeof pair.to), 5);
    ASSERT_TRUE(WaitReadable(pair.receiver, 5000));
    char buffer[16];
    EXPECT_EQ(ReceiveBytes(pair.receiver, buffer, sizeof buffer, 0, true), 5) << WSAGetLastError();
}
