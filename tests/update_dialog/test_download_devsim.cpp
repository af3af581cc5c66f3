// Whole downloads against the simulated device, with the faults a real one can show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UpdateFixture.h"
#include "tests/support/DevsimSession.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"

namespace {

constexpr int kDownloadTimeoutMs = 120000;
constexpr std::size_t kMiB = 1024 * 1024;

struct DevsimCase {
    const char* name;
    std::vector<std::string> faults;
    std::size_t imageSize;
    std::string verdict;
    bool imageKept;
};

// A device that goes away mid-transfer breaks the send only when the rest of the image
// cannot all fit into the socket buffers on the way, hence the large images there.
const DevsimCase kDevsimCases[] = {
    {"Accepted", {}, 300000, "Success Program Download!", false},
    {"StatusMessagesInTwoPieces", {"--split-status"}, 300000, "Success Program Download!", false},
    {"SlowReader", {"--slow-reader"}, 20000, "Success Program Download!", false},
    {"NakBeforeTheImageRequest", {"--nak-before-request"}, 300000, "Fail Program Download!", true},
    {"ClosedMidTransfer", {"--close-mid-transfer"}, 64 * kMiB, "Failed to send on client socket: 10054", true},
    {"ResetMidTransfer", {"--reset"}, 64 * kMiB, "Failed to send on client socket: 10054", true},
};

class DevsimDownload : public testing::TestWithParam<DevsimCase> {};

}  // namespace

TEST_P(DevsimDownload, EndsWithTheVerdict)
{
    const DevsimCase& c = GetParam();
    std::vector<std::string> options{"--bind", "127.0.0.1", "--quiet"};
    options.insert(options.end(), c.faults.begin(), c.faults.end());
    DevsimSession devsim(options);
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
    DialogFixture f(DownloadNetwork(devsim.tcpPort()));
    MessageBoxRecorder boxes;
    FileDialogRecorder files;
    ImageFolder folder;
    const std::string image = FirmwareBytes(c.imageSize, 5);
    Browse(f, files, folder.Write("Brimnet_v3.bin", image));
    SetLoopbackUpdateAddress(f.dialog());

    boxes.Expect(c.verdict);
    f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }, kDownloadTimeoutMs));

    EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    EXPECT_TRUE(f.dialog().m_strReplyText.empty());
    if (c.imageKept)
        EXPECT_EQ(LoadedImage(f.dialog()), image);
    else
        EXPECT_TRUE(LoadedImage(f.dialog()).empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, DevsimDownload, testing::ValuesIn(kDevsimCases),
                         [](const testing::TestParamInfo<DevsimCase>& info) { return info.param.name; });

// An unknown status stays in the reply text; the image request after it makes 64 bytes,
// which is never a status message, so the image is not sent.
TEST(DevsimUnknownStatus, LocksTheReplyTextAt64Bytes)
{
    DevsimSession devsim({"--bind", "127.0.0.1", "--quiet", "--unknown-status"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
    DialogFixture f(DownloadNetwork(devsim.tcpPort()));
    MessageBoxRecorder boxes;
    FileDialogRecorder files;
    ImageFolder folder;
    const std::string image = FirmwareBytes(1000, 6);
    Browse(f, files, folder.Write("Brimnet_v3.bin", image));
    SetLoopbackUpdateAddress(f.dialog());

    f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(WaitUntil([&] { return f.dialog().m_strReplyText.size() >= 64; }));
    EXPECT_EQ(f.dialog().m_strReplyText.size(), 64u);
    EXPECT_NE(f.dialog().m_pDownload, nullptr);
    EXPECT_EQ(LoadedImage(f.dialog()), image) << "the image was sent";
}
