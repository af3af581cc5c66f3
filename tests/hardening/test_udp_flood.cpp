// Floods at the dialog's UDP endpoint on loopback. A hundred thousand datagrams of every
// kind a crowded or hostile segment can send: the dialog lists exactly the valid search
// replies, shows nothing, keeps its event loop turning and grows no faster than its
// device list. A storm of save replies never stacks one "Save Complete!" box on another.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "DatagramFlood.h"
#include "DialogFixture.h"
#include "GuiGapMeter.h"
#include "MixedDatagrams.h"
#include "ProcessFigures.h"
#include "UdpPeer.h"
#include "ui/CUdpAsySk.h"
#include "link/Datagram.h"
#include "platform/toolkit/MessageBox.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"

namespace {

constexpr std::size_t kFloodSize = 100000;
constexpr std::size_t kStormSize = 50000;
constexpr auto kSendLimit = std::chrono::seconds(600);
constexpr int kDrainTimeoutMs = 600000;

// The dialog after a Search: its endpoint is open and a peer stands in for the devices.
class UdpFlood : public testing::Test {
protected:
    void SetUp() override
    {
        f.Click(IDC_SEARCH);
        ASSERT_TRUE(peer.Receive()) << "no search request";
        ASSERT_NE(f.dialog().m_pUdpEndpoint, nullptr);
        endpointFd = static_cast<int>(f.dialog().m_pUdpEndpoint->m_hSocket);
        endpointPort = static_cast<std::uint16_t>(f.dialog().Network().localUdpPort);
    }

    // Runs the event loop until the flood is sent and the dialog has read all of it.
    bool Drained(const DatagramFlood& flood)
    {
        return WaitUntil([&] { return flood.Finished() && QueueOf(endpointFd).queuedBytes == 0; }, kDrainTimeoutMs);
    }

    UdpPeer peer;
    DialogFixture f{LoopbackNetwork(peer.port())};
    int endpointFd = -1;
    std::uint16_t endpointPort = 0;
};

bool IsSearchReply(FloodKind kind)
{
    return kind == FloodKind::SearchReply || kind == FloodKind::OverLongSearchReply;
}

// Restores the real message boxes however the test ends.
struct BoxHook {
    explicit BoxHook(MessageBoxHook hook) { SetMessageBoxHook(std::move(hook)); }
    ~BoxHook() { SetMessageBoxHook({}); }
};

}  // namespace

TEST_F(UdpFlood, MixedDatagramsListExactlyTheValidSearchReplies)
{
    MessageBoxRecorder boxes;

    std::map<std::string, std::string> expected;  // MAC text -> record, of each valid search reply
    for (std::size_t i = 0; i < kFloodSize; ++i) {
        if (IsSearchReply(KindOf(i))) {
            const std::string bytes = MixedDatagram(i).bytes;
            expected[*MacTextOf(bytes)] = RecordOf(bytes);
        }
    }

    const std::size_t heapBefore = HeapInUse();
    const auto start = std::chrono::steady_clock::now();
    GuiGapMeter meter;
    DatagramFlood flood(endpointFd, endpointPort, kFloodSize, [](std::size_t i) { return MixedDatagram(i).bytes; },
                        kSendLimit);
    ASSERT_TRUE(Drained(flood));
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t heapAfter = HeapInUse();
    const int ticks = meter.Ticks();
    const qint64 longestGapMs = meter.LongestGapMs();

    ASSERT_EQ(flood.Sent(), kFloodSize);
    EXPECT_EQ(flood.SendErrors(), 0u);
    const std::vector<std::string> devices = f.DeviceList();
    const std::vector<std::string> records = f.RecordList();
    ASSERT_EQ(devices.size(), records.size());
    std::size_t listBytes = 0;
    for (std::size_t k = 0; k < devices.size(); ++k) {
        const auto it = expected.find(devices[k]);
        ASSERT_NE(it, expected.end()) << "listed " << devices[k] << ", which no valid search reply carried";
        EXPECT_EQ(records[k], it->second) << "record of " << devices[k];
        listBytes += records[k].size() + devices[k].size();
    }
    EXPECT_EQ(std::set<std::string>(devices.begin(), devices.end()).size(), devices.size()) << "a reply listed twice";
    const std::uint32_t drops = QueueOf(endpointFd).drops;
    EXPECT_LE(expected.size() - devices.size(), drops) << "valid replies went missing";

    const std::size_t growth = heapAfter > heapBefore ? heapAfter - heapBefore : 0;
    std::printf("[ FIGURES  ] flood: %zu datagrams in %.1f s, %zu listed (%u dropped by the kernel), "
                "list holds %zu bytes, heap grew %zu bytes, peak RSS %zu MiB, longest GUI timer gap %lld ms "
                "over %d ticks\n",
                flood.Sent(), seconds, devices.size(), drops, listBytes, growth, PeakResidentBytes() >> 20,
                static_cast<long long>(longestGapMs), ticks);

    EXPECT_GT(ticks, 0) << "the GUI thread's timer never fired during the flood";
    // Every entry costs its text twice over (wide characters) and a list item; anything
    // beyond that, with a generous allowance, grows with the flood instead of the list.
    EXPECT_LE(growth, 4 * listBytes + 1024 * devices.size() + (32u << 20));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(UdpFlood, SaveReplyStormNeverStacksBoxes)
{
    peer.Send(BuildSearchReply("001A2B3C4D01", 0xC0A8000A, 0xFFFFFF00, 0xC0A80001, 9100, false, "3.07", 1),
              endpointPort);
    ASSERT_TRUE(f.WaitForDevices(1));
    f.Click(IDC_SAVE);
    ASSERT_TRUE(peer.Receive()) << "no save request";

    int shown = 0;
    int depth = 0;
    int deepest = 0;
    std::unique_ptr<DatagramFlood> storm;
    BoxHook hook([&](const MessageBoxRequest& box) {
        ++shown;
        deepest = std::max(deepest, ++depth);
        EXPECT_EQ(box.text, "Save Complete!");
        // The box stays open while the storm goes on, until the dialog has caught up.
        WaitUntil([&] { return QueueOf(endpointFd).queuedBytes == 0 || (storm && storm->Finished()); }, 10000);
        --depth;
        return IDOK;
    });

    const std::size_t heapBefore = HeapInUse();
    GuiGapMeter meter;
    storm = std::make_unique<DatagramFlood>(
        endpointFd, endpointPort, kStormSize,
        [](std::size_t i) { return BuildSaveReply(static_cast<std::uint32_t>(i)); }, kSendLimit);
    ASSERT_TRUE(Drained(*storm));
    const std::size_t heapAfter = HeapInUse();
    std::printf("[ FIGURES  ] save reply storm: %zu replies, %d boxes, deepest nesting %d, longest GUI timer gap "
                "%lld ms, heap %+lld bytes\n",
                storm->Sent(), shown, deepest, static_cast<long long>(meter.LongestGapMs()),
                static_cast<long long>(heapAfter) - static_cast<long long>(heapBefore));

    EXPECT_EQ(storm->Sent(), kStormSize);
    EXPECT_GE(shown, 1);
    EXPECT_EQ(deepest, 1) << "a box opened inside another";
    EXPECT_EQ(f.DeviceList(), std::vector<std::string>{"00:1A:2B:3C:4D:01"});
    EXPECT_EQ(f.RecordList(), std::vector<std::string>{f.dialog().m_strEditedRecord});
    EXPECT_EQ(f.dialog().m_ctlDeviceList.GetCurSel(), 0);
    EXPECT_LT(heapAfter, heapBefore + (8u << 20)) << "the storm left memory behind";
}
