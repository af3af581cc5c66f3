// Failures of the UDP endpoint that a healthy host never shows, made real by the socket
// layer's fault seam: the set-up of a Search, the send of its request and a receive.
#include <gtest/gtest.h>

#include <algorithm>

#include <cerrno>
#include <string>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "link/Datagram.h"
#include "ui/CUdpAsySk.h"
#include "tests/support/InjectedSocketFault.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/Wait.h"

using lanvista::sockets::SocketCall;
using lanvista::sockets::SocketFault;

namespace {

constexpr int kNoReply = 300;

std::string DeviceReply(const char* mac12)
{
    return BuildSearchReply(mac12, 0xC0A80065, 0xFFFFFF00, 0xC0A80001, 9100, false, "3.07", 1);
}

struct SetUpCase {
    const char* name;
    SocketFault fault;
    const char* box;
};

const SetUpCase kSetUpCases[] = {
    {"Allocation", {SocketCall::Allocate}, "Fail to allocate UDP socket! Close and restart app."},
    {"Create", {SocketCall::Open, EMFILE}, "Fail to create UDP socket: 10024! Close and restart app."},
    {"SetBroadcast", {SocketCall::SetOption, EACCES}, "SetSockOpt failed to set SO_BROADCAST: 10013"},
    {"GetBroadcast", {SocketCall::GetOption, EINVAL}, "GetSockOpt failed to get SO_BROADCAST: 10022"},
};

class SearchSetUpFault : public testing::TestWithParam<SetUpCase> {};

}  // namespace

// The box comes after the earlier endpoint and its lists are gone and the new one is
// destroyed; nothing is sent, the request stays in the outgoing text, and the next Search
// works again.
TEST_P(SearchSetUpFault, IsReportedWithoutAnEndpointAndNothingIsSent)
{
    const SetUpCase& c = GetParam();
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    const auto dialogPort = static_cast<std::uint16_t>(f.dialog().Network().localUdpPort);
    f.Click(IDC_SEARCH);
    ASSERT_TRUE(peer.Receive());
    peer.Send(DeviceReply("001A2B3C4D01"), dialogPort);
    ASSERT_TRUE(f.WaitForDevices(1));

    bool boxAfterTeardown = false;
    boxes.Expect(c.box, [&] {
        boxAfterTeardown = f.dialog().m_pUdpEndpoint == nullptr && f.DeviceList().empty() && f.RecordList().empty();
    });
    {
        InjectedSocketFault fault(c.fault);
        f.Click(IDC_SEARCH);
    }
    EXPECT_EQ(boxes.Pending(), 0u);
    EXPECT_TRUE(boxAfterTeardown);
    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);
    EXPECT_EQ(f.dialog().m_strOutgoing.size(), kDatagramSize) << "the request stays in the outgoing text";
    EXPECT_FALSE(peer.Receive(kNoReply)) << "a request went out";

    f.Click(IDC_SEARCH);
    EXPECT_TRUE(peer.Receive());
    EXPECT_NE(f.dialog().m_pUdpEndpoint, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Fault, SearchSetUpFault, testing::ValuesIn(kSetUpCases),
                         [](const testing::TestParamInfo<SetUpCase>& info) { return std::string(info.param.name); });

namespace {

struct SendCase {
    const char* name;
    SocketFault fault;
    const char* box;  // nullptr: silent, the request stays queued on the open endpoint
};

const SendCase kSendCases[] = {
    {"WouldBlock", {SocketCall::SendTo, EWOULDBLOCK}, nullptr},
    {"NothingSent", {SocketCall::SendTo, 0}, nullptr},
    {"Unreachable", {SocketCall::SendTo, ENETUNREACH}, "Sever Socket failed to send: 10051"},
};

class SearchSendFault : public testing::TestWithParam<SendCase> {};

}  // namespace

TEST_P(SearchSendFault, LeavesTheRequestQueuedOrClosesTheEndpoint)
{
    const SendCase& c = GetParam();
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    bool closedBeforeBox = false;
    if (c.box)
        boxes.Expect(c.box, [&] { closedBeforeBox = f.dialog().m_pUdpEndpoint->m_hSocket == INVALID_SOCKET; });
    {
        InjectedSocketFault fault(c.fault);
        f.Click(IDC_SEARCH);
    }
    EXPECT_EQ(boxes.Pending(), 0u);
    CUdpAsySk* const endpoint = f.dialog().m_pUdpEndpoint;
    ASSERT_NE(endpoint, nullptr) << "the endpoint stays with the dialog";
    // The send-ready notification that follows sends nothing either.
    EXPECT_FALSE(peer.Receive(kNoReply)) << "the request went out after all";

    if (c.box) {
        EXPECT_TRUE(closedBeforeBox);
        EXPECT_EQ(endpoint->m_hSocket, INVALID_SOCKET);
        return;
    }
    EXPECT_NE(endpoint->m_hSocket, INVALID_SOCKET);
    EXPECT_EQ(endpoint->m_nSendLength, static_cast<int>(kDatagramSize));
    EXPECT_EQ(endpoint->m_strSendText.size(), kDatagramSize);

    // The endpoint still receives, and the next request (a Save) replaces the queued one.
    peer.Send(DeviceReply("001A2B3C4D01"), static_cast<std::uint16_t>(f.dialog().Network().localUdpPort));
    ASSERT_TRUE(f.WaitForDevices(1));
    f.Click(IDC_SAVE);
    const auto request = peer.Receive();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->data.substr(8, 2), "10");
    EXPECT_EQ(endpoint->m_nSendLength, 0);
    EXPECT_FALSE(peer.Receive(kNoReply)) << "the queued search request went out too";
}

INSTANTIATE_TEST_SUITE_P(Fault, SearchSendFault, testing::ValuesIn(kSendCases),
                         [](const testing::TestParamInfo<SendCase>& info) { return std::string(info.param.name); });

// The failed receive leaves the reply waiting; the next notification reads it.
TEST(EndpointReceiveFault, IsSilentAndTheEndpointStaysOpen)
{
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    f.Click(IDC_SEARCH);
    ASSERT_TRUE(peer.Receive());

    long receiveTraces = 0;
    bool listed = false;
    {
        TraceCapture trace;
        InjectedSocketFault fault({SocketCall::Receive, ECONNREFUSED});
        peer.Send(DeviceReply("001A2B3C4D01"), static_cast<std::uint16_t>(f.dialog().Network().localUdpPort));
        listed = f.WaitForDevices(1);
        receiveTraces = std::count(trace.Lines().begin(), trace.Lines().end(), "CUdpAsySk::OnReceive\n");
    }

    EXPECT_TRUE(listed);
    EXPECT_EQ(receiveTraces, 2) << "one failed receive, then the one that read the reply";
    EXPECT_NE(f.dialog().m_pUdpEndpoint->m_hSocket, INVALID_SOCKET);
}
