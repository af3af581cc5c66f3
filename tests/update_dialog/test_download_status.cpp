// The device's status messages drive the download: image requests, verdicts and a device
// that goes away, played by a TCP port of the test.
#include <gtest/gtest.h>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"
#include "update/StatusFraming.h"

namespace {

class DownloadStatus : public testing::Test {
protected:
    DownloadStatus() { SetLoopbackUpdateAddress(f.dialog()); }

    CConfigDlg& dlg() { return f.dialog(); }

    // Start Update and wait until the device has the header.
    void Start(int connection = 1)
    {
        f.Click(IDC_START_UPDATE);
        ASSERT_TRUE(device.WaitForConnection(connection));
        ASSERT_TRUE(device.WaitForBytes(32));
    }

    FakeDevice device;
    DialogFixture f{DownloadNetwork(device.port())};
    MessageBoxRecorder boxes;
    FileDialogRecorder files;
    ImageFolder folder;
};

}  // namespace

TEST_F(DownloadStatus, ImageRequestWithoutAnImageLeavesTheConnectionWaiting)
{
    Start();
    boxes.Expect("Please Type the Strings to Send");
    device.SendStatus(kStatusImageRequest);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }));
    EXPECT_NE(dlg().m_pDownload, nullptr);
    EXPECT_TRUE(dlg().m_strReplyText.empty());

    // Still listening: the verdict that follows is acted on.
    boxes.Expect("Fail Program Download!");
    device.SendStatus(kStatusFailure);
    ASSERT_TRUE(device.WaitForPeerClose());
    EXPECT_EQ(dlg().m_pDownload, nullptr);
    EXPECT_EQ(device.received().size(), 32);
}

TEST_F(DownloadStatus, NakBeforeTheRequestKeepsTheImageForTheSameAnnouncement)
{
    const std::string image = FirmwareBytes(5000, 1);
    Browse(f, files, folder.Write("Brimnet_v2.bin", image));
    Start();
    const std::string first = device.received().substr(0, 32);

    boxes.Expect("Fail Program Download!");
    device.SendStatus(kStatusFailure);
    ASSERT_TRUE(device.WaitForPeerClose());
    EXPECT_EQ(dlg().m_pDownload, nullptr);
    EXPECT_TRUE(dlg().m_strReplyText.empty());
    EXPECT_EQ(LoadedImage(dlg()), image);

    Start(2);
    EXPECT_EQ(device.received().substr(12, 16), first.substr(12, 16)) << "length and checksum differ the second time";
}

TEST_F(DownloadStatus, SendsTheImageOnceAndReportsTheVerdict)
{
    const std::string image = FirmwareBytes(70000, 2);
    Browse(f, files, folder.Write("Brimnet_v2.bin", image));
    Start();

    device.SendStatus(kStatusImageRequest);
    ASSERT_TRUE(device.WaitForBytes(32 + image.size()));
    EXPECT_EQ(device.received().substr(32), image);
    EXPECT_EQ(dlg().m_nImageLength, 0u);
    EXPECT_TRUE(dlg().m_firmwareImage.empty());

    // A second request finds nothing left to send.
    boxes.Expect("Please Type the Strings to Send");
    device.SendStatus(kStatusImageRequest);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }));

    boxes.Expect("Success Program Download!");
    device.SendStatus(kStatusSuccess);
    ASSERT_TRUE(device.WaitForPeerClose());
    EXPECT_EQ(dlg().m_pDownload, nullptr);
    EXPECT_TRUE(dlg().m_strReplyText.empty());
    EXPECT_EQ(device.received().size(), 32 + image.size());
}

// The header announced the first image; loading another one before the device asks must
// not put the second file on the wire under the first one's length and checksum.
TEST_F(DownloadStatus, ImageLoadedMidDownloadDoesNotReplaceTheAnnouncedOne)
{
    const std::string announced = FirmwareBytes(3000, 3);
    const std::string later = FirmwareBytes(5000, 4);
    Browse(f, files, folder.Write("Brimnet_v1.bin", announced));
    Start();
    Browse(f, files, folder.Write("Brimnet_v2.bin", later));
    EXPECT_EQ(LoadedImage(dlg()), later);

    device.SendStatus(kStatusImageRequest);
    ASSERT_TRUE(device.WaitForBytes(32 + announced.size()));
    EXPECT_EQ(device.received().substr(32), announced);
    EXPECT_EQ(LoadedImage(dlg()), later) << "the image loaded later was never sent";

    boxes.Expect("Please Type the Strings to Send");
    device.SendStatus(kStatusImageRequest);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }));

    boxes.Expect("Success Program Download!");
    device.SendStatus(kStatusSuccess);
    ASSERT_TRUE(device.WaitForPeerClose());
    EXPECT_EQ(device.received().size(), 32 + announced.size());
    EXPECT_EQ(LoadedImage(dlg()), later);
}

TEST_F(DownloadStatus, DeviceClosingEndsTheDownloadSilently)
{
    Start();
    device.Send(StatusMessage(kStatusImageRequest).substr(0, 10));
    ASSERT_TRUE(WaitUntil([&] { return dlg().m_strReplyText.size() == 10; }));

    device.Close();
    ASSERT_TRUE(WaitUntil([&] { return dlg().m_pDownload == nullptr; }));
    EXPECT_TRUE(dlg().m_strReplyText.empty());

    // Start Update works again at once.
    Start(2);
    EXPECT_NE(dlg().m_pDownload, nullptr);
}
