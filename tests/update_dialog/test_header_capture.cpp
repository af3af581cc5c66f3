// The 32-byte download header as a device receives it, captured on a TCP port of the test.

#include <gtest/gtest.h>

#include <string>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "platform/GetTickCount.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"
#include "update/DownloadHeader.h"
#include "update/StatusFraming.h"

namespace {

std::string Expected(const std::string& image, std::uint32_t seed)
{
    const auto header = BuildDownloadHeader(reinterpret_cast<const unsigned char*>(image.data()),
                                            static_cast<std::uint32_t>(image.size()), seed);
    return std::string(reinterpret_cast<const char*>(header.data()), static_cast<std::size_t>(header.size()));
}

// The header is the one the wire library builds for some tick read during Start Update.
bool BuiltWithTickBetween(const std::string& header, const std::string& image, DWORD first, DWORD last)
{
    for (DWORD tick = first;; ++tick) {
        if (Expected(image, tick) == header)
            return true;
        if (tick == last)
            return false;
    }
}

struct HeaderCase {
    const char* name;
    std::string image;           // empty: no image loaded
    std::string lengthField;    // the start of header bytes 12 to 27
    std::string trace;          // the trace text afterwards
};

const HeaderCase kHeaderCases[] = {
    {"NoImage", {}, "0000000000000000", "\n"},
    {"Abc", "abc", "00000003031a73ae", "abc\n"},
    {"FourKiB", std::string(4096, 'x'), "00001000", std::string(4096, 'x') + "\n"},
    {"TextUpToTheFirstZeroByte", std::string("ab\0cd", 5), "00000005", "ab\n"},
};

class DownloadHeader : public testing::TestWithParam<HeaderCase> {};

}  // namespace

TEST_P(DownloadHeader, AnnouncesLengthAndChecksumOfTheLoadedImage)
{
    const HeaderCase& c = GetParam();
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;
    FileDialogRecorder files;
    ImageFolder folder;
    if (!c.image.empty())
        Browse(f, files, folder.Write("Brimnet_v1.bin", c.image));
    SetLoopbackUpdateAddress(f.dialog());

    const DWORD before = GetTickCount();
    f.Click(IDC_START_UPDATE);
    const DWORD after = GetTickCount();
    ASSERT_TRUE(device.WaitForBytes(32));

    const std::string header = device.received().substr(0, 32);
    EXPECT_TRUE(BuiltWithTickBetween(header, c.image, before, after));
    EXPECT_EQ(header.substr(12, c.lengthField.size()), c.lengthField);
    EXPECT_EQ(f.dialog().m_strTrace, c.trace);
    EXPECT_EQ(f.dialog().m_strUpdateAddress, "127.0.0.1");

    // Nothing follows the header: after a NAK the dialog closes and the device has 32 bytes.
    boxes.Expect("Fail Program Download!");
    device.SendStatus(kStatusFailure);
    ASSERT_TRUE(device.WaitForPeerClose());
    EXPECT_EQ(device.received().size(), 32);
}

INSTANTIATE_TEST_SUITE_P(Images, DownloadHeader, testing::ValuesIn(kHeaderCases),
                         [](const testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

// Bytes 7 to 11 are zero when a random byte equals its mask byte, and the binary checksum
// at 28 to 31 can hold zeros: such a header still goes out whole. Each Start Update draws
// new random bytes (a new tick), so a few dozen downloads bring one along.
TEST(DownloadHeaderZeroBytes, AreSentInPlace)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;
    FileDialogRecorder files;
    ImageFolder folder;
    const std::string image = "abc";
    Browse(f, files, folder.Write("Brimnet_v1.bin", image));
    SetLoopbackUpdateAddress(f.dialog());

    constexpr int kMaxDownloads = 3000;
    bool sawZero = false;
    for (int n = 1; n <= kMaxDownloads && !sawZero; ++n) {
        const DWORD previous = GetTickCount();
        ASSERT_TRUE(WaitUntil([&] { return GetTickCount() != previous; }));
        const DWORD before = GetTickCount();
        f.Click(IDC_START_UPDATE);
        const DWORD after = GetTickCount();
        ASSERT_TRUE(device.WaitForConnection(n));
        ASSERT_TRUE(device.WaitForBytes(32));
        const std::string header = device.received();
        ASSERT_TRUE(BuiltWithTickBetween(header.substr(0, 32), image, before, after)) << "download " << n;
        for (int i : {7, 8, 9, 10, 11, 28, 29, 30, 31})
            sawZero = sawZero || header[i] == '\0';

        boxes.Expect("Fail Program Download!");
        device.SendStatus(kStatusFailure);
        ASSERT_TRUE(device.WaitForPeerClose());
        ASSERT_EQ(device.received().size(), 32);
    }
    EXPECT_TRUE(sawZero) << "no header with a zero byte in " << kMaxDownloads << " downloads";
}
