// Firmware downloads against a device that misbehaves: it stops reading mid-image, resets
// the connection while the program waits on it, sends garbage where a status message
// belongs, or repeats its image request. Each case ends with the program's message or
// silently, as designed, and leaves no connection or descriptor behind.
#include <gtest/gtest.h>

#include <sys/ioctl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "FaultyDevice.h"
#include "GuiGapMeter.h"
#include "ProcessFigures.h"
#include "UpdateFixture.h"
#include "platform/toolkit/MessageBox.h"
#include "ui/CUpdateSocket.h"
#include "update/StatusFraming.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"

namespace {

constexpr int kCaseTimeoutMs = 120000;
constexpr qsizetype kMiB = 1024 * 1024;
// The most bytes one receive of the download connection takes.
constexpr std::size_t kReceiveSize = 4096;

// Large enough that the socket buffers on the way cannot take the rest of the image once
// the device stops reading.
constexpr qsizetype kStallImageSize = 64 * kMiB;

// A download against the faulty device: the dialog, an image loaded through Browse (when
// imageSize is not 0) and 127.0.0.1 in the update IP box.
class FaultyDownload {
public:
    FaultyDownload(FaultyDevice::Fault fault, qsizetype imageSize)
        : device(fault), f(DownloadNetwork(device.port())), image(FirmwareBytes(imageSize, 9))
    {
        if (imageSize != 0)
            Browse(f, files, folder.Write("Brimnet_v3.bin", image));
        SetLoopbackUpdateAddress(f.dialog());
        descriptorsBefore = OpenFileDescriptors();
    }

    // The device has played its part and the dialog holds no connection any more.
    bool Ended()
    {
        return WaitUntil([&] { return device.Finished() && f.dialog().m_pDownload == nullptr; }, kCaseTimeoutMs);
    }

    FaultyDevice device;
    DialogFixture f;
    FileDialogRecorder files;
    ImageFolder folder;
    std::string image;
    int descriptorsBefore = 0;
};

struct StallCase {
    const char* name;
    FaultyDevice::Fault fault;
    std::string verdict;
    bool imageKept;
};

const StallCase kStallCases[] = {
    {"Resumes", FaultyDevice::Fault::StallThenResume, "Success Program Download!", false},
    {"Resets", FaultyDevice::Fault::StallThenReset, "Failed to send on client socket: 10054", true},
};

class DeviceStopsReading : public testing::TestWithParam<StallCase> {};

// The client socket of the download has nothing left to read.
bool NothingQueuedFor(const CConfigDlg& dlg)
{
    int queued = 0;
    return dlg.m_pDownload == nullptr || (ioctl(static_cast<int>(dlg.m_pDownload->m_hSocket), FIONREAD, &queued) == 0 &&
                                          queued == 0);
}

// Restores the real message boxes however the test ends.
struct BoxHook {
    explicit BoxHook(MessageBoxHook hook) { SetMessageBoxHook(std::move(hook)); }
    ~BoxHook() { SetMessageBoxHook({}); }
};

}  // namespace

TEST_P(DeviceStopsReading, MidImage)
{
    const StallCase& c = GetParam();
    FaultyDownload d(c.fault, kStallImageSize);
    MessageBoxRecorder boxes;
    boxes.Expect(c.verdict);

    GuiGapMeter meter;
    d.f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(d.Ended());
    EXPECT_TRUE(d.device.SenderStuck()) << "the program's send never came to a halt";
    std::printf("[ FIGURES  ] stall %s: longest GUI timer gap %lld ms over %d ticks\n", c.name,
                static_cast<long long>(meter.LongestGapMs()), meter.Ticks());

    EXPECT_EQ(boxes.Pending(), 0u);
    EXPECT_TRUE(d.f.dialog().m_strReplyText.empty());
    if (c.imageKept)
        EXPECT_EQ(LoadedImage(d.f.dialog()), d.image);
    else {
        EXPECT_TRUE(d.device.ImageIntact());
        EXPECT_TRUE(LoadedImage(d.f.dialog()).empty());
    }
    EXPECT_EQ(OpenFileDescriptors(), d.descriptorsBefore);
}

INSTANTIATE_TEST_SUITE_P(Faults, DeviceStopsReading, testing::ValuesIn(kStallCases),
                         [](const testing::TestParamInfo<StallCase>& info) { return info.param.name; });

// The garbage never frames a status message, and the ACK behind it comes too late to be
// one: nothing is shown, the image is never asked for, the reply text stops growing once
// it can no longer frame one, and the device's close ends the download silently.
TEST(DeviceSendsGarbage, InsteadOfAStatusMessage)
{
    FaultyDownload d(FaultyDevice::Fault::GarbageStatus, 4096);
    MessageBoxRecorder boxes;
    const std::size_t heapBefore = HeapInUse();
    std::size_t longestReplyText = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&] { longestReplyText = std::max(longestReplyText, d.f.dialog().m_strReplyText.size()); });
    watch.start(1);

    d.f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(d.Ended());
    watch.stop();
    const std::size_t heapAfter = HeapInUse();
    std::printf("[ FIGURES  ] garbage status: longest reply text seen %zu bytes, heap %+lld bytes after the close, "
                "peak RSS %zu MiB\n",
                longestReplyText, static_cast<long long>(heapAfter) - static_cast<long long>(heapBefore),
                PeakResidentBytes() >> 20);

    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(d.f.dialog().m_strReplyText.empty());
    EXPECT_EQ(LoadedImage(d.f.dialog()), d.image);
    EXPECT_LE(longestReplyText, kStatusMessageSize + kReceiveSize);
    EXPECT_LT(heapAfter, heapBefore + FaultyDevice::kGarbageBytes / 2) << "the garbage outlived the connection";
    EXPECT_EQ(OpenFileDescriptors(), d.descriptorsBefore);
}

// With no image loaded an image request shows "Please Type the Strings to Send". While
// that box is open the device keeps asking, one request at a time; each reaches the
// dialog inside the box, and none may open a box inside the box: a device asking
// without end would otherwise overflow the stack.
TEST(DeviceRepeatsImageRequests, WhileTheBoxIsOpen)
{
    FaultyDownload d(FaultyDevice::Fault::RepeatedImageRequests, 0);
    int shown = 0;
    int depth = 0;
    int deepest = 0;
    BoxHook hook([&](const MessageBoxRequest& box) {
        ++shown;
        deepest = std::max(deepest, ++depth);
        EXPECT_EQ(box.text, "Please Type the Strings to Send");
        while (!d.device.Finished() && d.device.Permit())
            WaitUntil([&] { return d.device.RequestsSent() >= d.device.Permitted() && NothingQueuedFor(d.f.dialog()); },
                      kCaseTimeoutMs);
        --depth;
        return IDOK;
    });

    d.f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(d.Ended());
    std::printf("[ FIGURES  ] repeated image requests: %d sent, %d boxes, deepest nesting %d\n",
                d.device.RequestsSent(), shown, deepest);

    EXPECT_EQ(d.device.RequestsSent(), FaultyDevice::kImageRequests);
    EXPECT_GE(shown, 1);
    EXPECT_EQ(deepest, 1) << "a box opened inside another";
    EXPECT_TRUE(d.f.dialog().m_strReplyText.empty());
    EXPECT_EQ(OpenFileDescriptors(), d.descriptorsBefore);
}
