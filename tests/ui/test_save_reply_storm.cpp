// A flood of save replies while "Save Complete!" is open: no box inside another, a bounded
// number of boxes afterwards, and lists that stay parallel.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "link/Datagram.h"
#include "platform/toolkit/MessageBox.h"
#include "tests/support/Wait.h"

namespace {

std::string Reply(const std::string& mac12)
{
    return BuildSearchReply(mac12, 0xC0A8000A, 0xFFFFFF00, 0xC0A80001, 9100, false, "3.07", 5);
}

constexpr int kStorm = 200;

}  // namespace

TEST(SaveReplyStorm, RepliesWaitForTheOpenBoxAndAreBounded)
{
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    const auto dialogPort = static_cast<std::uint16_t>(f.dialog().Network().localUdpPort);
    f.Click(IDC_SEARCH);
    ASSERT_TRUE(peer.Receive());
    peer.Send(Reply("001A2B3C4D01"), dialogPort);
    ASSERT_TRUE(f.WaitForDevices(1));
    f.Click(IDC_SAVE);
    ASSERT_TRUE(peer.Receive());

    int shown = 0;
    int depth = 0;
    int deepest = 0;
    bool stormHandled = false;
    SetMessageBoxHook([&](const MessageBoxRequest& box) {
        ++shown;
        deepest = std::max(deepest, ++depth);
        EXPECT_EQ(box.text, "Save Complete!");
        if (shown == 1) {
            // The storm, and a search reply behind it, all reach the dialog while this box is open.
            for (int i = 0; i < kStorm; ++i)
                peer.Send(BuildSaveReply(static_cast<std::uint32_t>(i)), dialogPort);
            peer.Send(Reply("001A2B3C4D02"), dialogPort);
            stormHandled = WaitUntil([&] { return f.dialog().m_ctlDeviceList.GetCount() == 2; }, 10000);
        }
        --depth;
        return IDOK;
    });
    peer.Send(BuildSaveReply(0), dialogPort);
    const bool settled = WaitUntil([&] { return shown >= 9 && depth == 0; }, 10000);
    SetMessageBoxHook({});

    ASSERT_TRUE(stormHandled);
    ASSERT_TRUE(settled);
    EXPECT_EQ(deepest, 1) << "a box opened inside another";
    EXPECT_EQ(shown, 9) << "the first reply and the eight that waited";
    EXPECT_EQ(f.DeviceList(), (std::vector<std::string>{"00:1A:2B:3C:4D:02", "00:1A:2B:3C:4D:01"}));
    const std::vector<std::string> records = f.RecordList();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(MacTextOf(records[0]), "00:1A:2B:3C:4D:02");
    EXPECT_EQ(records[1], f.dialog().m_strEditedRecord);
    EXPECT_EQ(f.dialog().m_ctlDeviceList.GetCurSel(), 1);
}
