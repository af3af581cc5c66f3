// The dialog's UDP endpoint on real sockets: what goes out, what an empty datagram does,
// and its trace lines.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "ui/CUdpAsySk.h"
#include "link/Datagram.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/Wait.h"

namespace {

using MacStrings = std::array<std::string, 6>;

struct RequestCase {
    const char* name;
    MacStrings macStrings;
    bool all;
    const char* mac12;
};

const RequestCase kRequestCases[] = {
    {"no_filter", {}, true, ""},
    {"one_box_short", {"00", "1A", "2B", "3C", "4D", "5"}, true, ""},
    {"full_filter", {"00", "1A", "2B", "3C", "4D", "5E"}, false, "001A2B3C4D5E"},
    {"full_filter_not_hex", {"ZZ", "G1", "-+", "  ", "XY", "9q"}, false, "ZZG1-+  XY9q"},
};

class SearchRequest : public testing::TestWithParam<RequestCase> {};

}  // namespace

TEST_P(SearchRequest, ArrivesWholeFromTheEndpointsPort)
{
    const RequestCase& c = GetParam();
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    CConfigDlg& dlg = f.dialog();
    dlg.m_strMac1 = c.macStrings[0];
    dlg.m_strMac2 = c.macStrings[1];
    dlg.m_strMac3 = c.macStrings[2];
    dlg.m_strMac4 = c.macStrings[3];
    dlg.m_strMac5 = c.macStrings[4];
    dlg.m_strMac6 = c.macStrings[5];

    f.Click(IDC_SEARCH);

    const auto request = peer.Receive();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->data.size(), kDatagramSize);
    EXPECT_EQ(request->senderPort, dlg.Network().localUdpPort);
    const auto fields = ReadSearchRequest(request->data.data(), request->data.size());
    ASSERT_TRUE(fields) << "not a valid search request";
    EXPECT_EQ(fields->all, c.all);
    EXPECT_EQ(fields->mac12, c.mac12);
    EXPECT_TRUE(dlg.m_strOutgoing.empty());
    EXPECT_EQ(dlg.m_pUdpEndpoint->m_nSendLength, 0);
    EXPECT_EQ(dlg.m_pUdpEndpoint->m_nSendMode, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, SearchRequest, testing::ValuesIn(kRequestCases),
                         [](const testing::TestParamInfo<RequestCase>& info) { return std::string(info.param.name); });

TEST(UdpEndpoint, AnEmptyDatagramClosesItSilentlyAndASaveThenReportsTheClosedSocket)
{
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    const auto dialogPort = static_cast<std::uint16_t>(f.dialog().Network().localUdpPort);
    f.Click(IDC_SEARCH);
    ASSERT_TRUE(peer.Receive());
    peer.Send(BuildSearchReply("001A2B3C4D01", 0xC0A80065, 0xFFFFFF00, 0xC0A80001, 9100, false, "3.07", 1),
              dialogPort);
    ASSERT_TRUE(f.WaitForDevices(1));

    peer.Send(std::string(), dialogPort);
    ASSERT_TRUE(WaitUntil([&] { return f.dialog().m_pUdpEndpoint->m_hSocket == INVALID_SOCKET; }, 5000));
    EXPECT_EQ(f.DeviceList().size(), 1u) << "the lists stay until the next search";

    boxes.Expect("Sever Socket failed to send: 10038");
    f.Click(IDC_SAVE);
    EXPECT_NE(f.dialog().m_pUdpEndpoint, nullptr) << "the closed endpoint stays with the dialog";
}

TEST(UdpEndpoint, EachDatagramIsOneReceiveWithItsTraceLine)
{
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    f.Click(IDC_SEARCH);
    ASSERT_TRUE(peer.Receive());

    std::vector<std::string> traceLines;
    bool listed = false;
    {
        TraceCapture trace;
        const auto dialogPort = static_cast<std::uint16_t>(f.dialog().Network().localUdpPort);
        peer.Send(BuildSearchReply("001A2B3C4D01", 1, 2, 3, 9100, false, "3.07", 1), dialogPort);
        peer.Send(BuildSearchReply("001A2B3C4D02", 1, 2, 3, 9100, false, "3.07", 2), dialogPort);
        listed = f.WaitForDevices(2);
        traceLines = trace.Lines();
    }

    ASSERT_TRUE(listed);
    EXPECT_EQ(traceLines, (std::vector<std::string>{"CUdpAsySk::OnReceive\n", "CUdpAsySk::OnReceive\n"}));
}
