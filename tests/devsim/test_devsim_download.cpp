// Firmware downloads against a running devsim on 127.0.0.1: the status messages it
// sends, its verdict on the image, and each TCP fault option.

#include "link/Crc.h"
#include "link/DeviceRecord.h"
#include "tests/devsim/DeviceRequests.h"
#include "tests/devsim/LoopbackUdp.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/devsim/LoopbackTcp.h"
#include "update/DownloadHeader.h"
#include "update/StatusFraming.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <iterator>
#include <ostream>
#include <vector>

// Shown in failure messages instead of the raw bytes.
void PrintTo(LoopbackTcp::End end, std::ostream* out)
{
    static const char* const names[] = {"Open", "Closed", "Reset", "Failed"};
    *out << names[static_cast<int>(end)];
}

namespace {

constexpr int kTimeoutMs = 10000;
constexpr std::size_t kImageSize = 16384;
constexpr unsigned char kUnknownCode = 0x99;

// Every byte value, zero included, so the image is truly binary.
std::vector<unsigned char> TestImage()
{
    std::vector<unsigned char> image(kImageSize);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<unsigned char>(i * 31 + i / 256);
    return image;
}

enum class Header { Good, BadMask, WrongImageChecksum };

std::array<unsigned char, 32> MakeHeader(Header kind, const std::vector<unsigned char>& image)
{
    if (kind == Header::WrongImageChecksum) {
        std::vector<unsigned char> other = image;
        other[100] ^= 0x01;
        return BuildDownloadHeader(other.data(), static_cast<std::uint32_t>(other.size()), 42);
    }
    auto header = BuildDownloadHeader(image.data(), static_cast<std::uint32_t>(image.size()), 42);
    if (kind == Header::BadMask) {
        header[7] ^= 0x01;
        // Resealed, so that the mask is the only thing wrong.
        const std::uint32_t crc = CalcCrc(header.data(), 28);
        for (std::size_t i = 0; i < 4; ++i)
            header[28 + i] = static_cast<unsigned char>(crc >> (8 * i));
    }
    return header;
}

enum class Send { Nothing, WholeImage, HalfImage };

struct DownloadCase {
    const char* name;
    QStringList arguments;
    Header header;
    std::size_t sendAfterBytes;  // bytes to receive before sending the image
    Send send;
    std::size_t garbageBytes;    // leading bytes that are no status message
    std::vector<unsigned char> codes;
    LoopbackTcp::End end;
    qint64 minimumMs;            // lower bound from header to end of connection
};

void PrintTo(const DownloadCase& row, std::ostream* out)
{
    *out << row.name;
}

class DownloadTest : public testing::TestWithParam<DownloadCase> {};

TEST_P(DownloadTest, DeviceAnswersAsConfigured)
{
    const DownloadCase& row = GetParam();
    DevsimProcess devsim(row.arguments);
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    LoopbackTcp tcp(devsim.tcpPort());
    ASSERT_EQ(tcp.connectError(), 0);

    const std::vector<unsigned char> image = TestImage();
    const auto header = MakeHeader(row.header, image);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(tcp.sendAll(header.data(), header.size()));
    std::string received;
    if (row.send != Send::Nothing) {
        received = tcp.receive(row.sendAfterBytes, kTimeoutMs);
        ASSERT_EQ(received.size(), row.sendAfterBytes);
        const std::size_t count = row.send == Send::WholeImage ? image.size() : image.size() / 2;
        ASSERT_TRUE(tcp.sendAll(image.data(), count));
    }
    received += tcp.receiveToEnd(kTimeoutMs);
    EXPECT_EQ(tcp.end(), row.end);
    EXPECT_GE(clock.elapsed(), row.minimumMs);

    ASSERT_EQ(received.size(), row.garbageBytes + 32 * row.codes.size());
    if (row.garbageBytes > 0) {
        EXPECT_NE(static_cast<unsigned char>(received[0]), 0x02);
    }
    for (std::size_t i = 0; i < row.codes.size(); ++i) {
        const std::string status = received.substr(row.garbageBytes + 32 * i, 32);
        SCOPED_TRACE(i);
        EXPECT_EQ(static_cast<unsigned char>(status[0]), 0x02);
        EXPECT_EQ(static_cast<unsigned char>(status[11]), row.codes[i]);
        // The program drops what follows a zero byte: a status with one would never count.
        EXPECT_EQ(status.find('\0'), std::string::npos);
    }
}

using End = LoopbackTcp::End;

INSTANTIATE_TEST_SUITE_P(
    Options, DownloadTest,
    testing::Values(
        DownloadCase{"GoodImage", {}, Header::Good, 32, Send::WholeImage, 0,
                     {kStatusImageRequest, kStatusSuccess}, End::Closed, 0},
        DownloadCase{"WrongImageChecksum", {}, Header::WrongImageChecksum, 32, Send::WholeImage, 0,
                     {kStatusImageRequest, kStatusFailure}, End::Closed, 0},
        DownloadCase{"BadMask", {}, Header::BadMask, 0, Send::Nothing, 0, {kStatusFailure}, End::Closed, 0},
        DownloadCase{"NakBeforeRequest", {"--nak-before-request"}, Header::Good, 0, Send::Nothing, 0,
                     {kStatusFailure}, End::Closed, 0},
        DownloadCase{"UnknownStatus", {"--unknown-status"}, Header::Good, 64, Send::WholeImage, 0,
                     {kUnknownCode, kStatusImageRequest, kStatusSuccess}, End::Closed, 0},
        DownloadCase{"GarbageStatus", {"--garbage-status", "7"}, Header::Good, 7, Send::WholeImage, 7,
                     {kStatusSuccess}, End::Closed, 0},
        DownloadCase{"CloseMidTransfer", {"--close-mid-transfer"}, Header::Good, 32, Send::HalfImage, 0,
                     {kStatusImageRequest}, End::Closed, 0},
        DownloadCase{"Reset", {"--reset"}, Header::Good, 32, Send::HalfImage, 0, {kStatusImageRequest},
                     End::Reset, 0},
        // 16 KiB in 512-byte pieces, one every 10 ms at the fastest.
        DownloadCase{"SlowReader", {"--slow-reader"}, Header::Good, 32, Send::WholeImage, 0,
                     {kStatusImageRequest, kStatusSuccess}, End::Closed, 300}),
    [](const auto& info) { return std::string(info.param.name); });

// Reads one status message, noting how much had arrived at each receive.
std::string ReceiveStatus(LoopbackTcp& tcp, std::vector<std::size_t>& totals)
{
    std::string status;
    QElapsedTimer clock;
    clock.start();
    while (status.size() < 32 && tcp.end() == LoopbackTcp::End::Open && clock.elapsed() < kTimeoutMs) {
        status += tcp.receiveSome(static_cast<int>(kTimeoutMs - clock.elapsed()));
        totals.push_back(status.size());
    }
    return status;
}

TEST(DownloadSplitTest, StatusMessagesArriveAsTwentyThenTwelveBytes)
{
    DevsimProcess devsim({"--split-status"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    LoopbackTcp tcp(devsim.tcpPort());
    ASSERT_EQ(tcp.connectError(), 0);
    const std::vector<unsigned char> image = TestImage();
    const auto header = MakeHeader(Header::Good, image);

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(tcp.sendAll(header.data(), header.size()));
    std::vector<std::size_t> totals;
    const std::string request = ReceiveStatus(tcp, totals);
    // The second piece follows a pause of 200 ms; only the pieces' sizes may ever show.
    EXPECT_GE(clock.elapsed(), 200);
    ASSERT_EQ(request.size(), 32u);
    EXPECT_EQ(static_cast<unsigned char>(request[11]), kStatusImageRequest);
    for (std::size_t total : totals)
        EXPECT_TRUE(total == 20 || total == 32) << total;

    ASSERT_TRUE(tcp.sendAll(image.data(), image.size()));
    totals.clear();
    const std::string verdict = ReceiveStatus(tcp, totals);
    ASSERT_EQ(verdict.size(), 32u);
    EXPECT_EQ(static_cast<unsigned char>(verdict[11]), kStatusSuccess);
    for (std::size_t total : totals)
        EXPECT_TRUE(total == 20 || total == 32) << total;
    EXPECT_TRUE(tcp.receiveToEnd(kTimeoutMs).empty());
    EXPECT_EQ(tcp.end(), LoopbackTcp::End::Closed);
}

// The program answers an image request without a loaded image by sending nothing; the
// device must go on waiting rather than judge an empty image.
TEST(DownloadEmptyImageTest, RequestIsSentAndNoVerdictFollows)
{
    DevsimProcess devsim;
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    LoopbackTcp tcp(devsim.tcpPort());
    ASSERT_EQ(tcp.connectError(), 0);
    const auto header = BuildDownloadHeader(nullptr, 0, 42);
    ASSERT_TRUE(tcp.sendAll(header.data(), header.size()));

    const std::string request = tcp.receive(32, kTimeoutMs);
    ASSERT_EQ(request.size(), 32u);
    EXPECT_EQ(static_cast<unsigned char>(request[11]), kStatusImageRequest);
    EXPECT_TRUE(tcp.receiveSome(300).empty());
    EXPECT_EQ(tcp.end(), LoopbackTcp::End::Open);
}

// One download on a connection already open: the image request, the image, the verdict code.
unsigned char Download(LoopbackTcp& tcp, const std::vector<unsigned char>& image, Header header)
{
    const auto bytes = MakeHeader(header, image);
    if (!tcp.sendAll(bytes.data(), bytes.size()))
        return 0;
    const std::string request = tcp.receive(32, kTimeoutMs);
    if (request.size() != 32 || static_cast<unsigned char>(request[11]) != kStatusImageRequest)
        return 0;
    if (!tcp.sendAll(image.data(), image.size()))
        return 0;
    const std::string verdict = tcp.receive(32, kTimeoutMs);
    return verdict.size() == 32 ? static_cast<unsigned char>(verdict[11]) : 0;
}

// One devsim judges each image on its own bytes, whatever the downloads before it left.
TEST(DownloadSequenceTest, EachImageIsJudgedOnItsOwnBytes)
{
    DevsimProcess devsim;
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const std::vector<unsigned char> large = TestImage();
    const std::vector<unsigned char> small(large.rbegin(), large.rbegin() + 1000);
    struct Step {
        const std::vector<unsigned char>* image;
        Header header;
        unsigned char verdict;
    };
    const Step steps[] = {{&large, Header::Good, kStatusSuccess},
                          {&small, Header::Good, kStatusSuccess},
                          {&large, Header::WrongImageChecksum, kStatusFailure},
                          {&small, Header::Good, kStatusSuccess},
                          {&large, Header::Good, kStatusSuccess}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        LoopbackTcp tcp(devsim.tcpPort());
        ASSERT_EQ(tcp.connectError(), 0);
        EXPECT_EQ(Download(tcp, *steps[i].image, steps[i].header), steps[i].verdict);
    }

    // Two at once: the one that ends first must not hand its buffer to the other.
    LoopbackTcp first(devsim.tcpPort());
    LoopbackTcp second(devsim.tcpPort());
    ASSERT_EQ(first.connectError(), 0);
    ASSERT_EQ(second.connectError(), 0);
    const auto firstHeader = MakeHeader(Header::Good, large);
    ASSERT_TRUE(first.sendAll(firstHeader.data(), firstHeader.size()));
    ASSERT_EQ(first.receive(32, kTimeoutMs).size(), 32u);
    ASSERT_TRUE(first.sendAll(large.data(), large.size() / 2));
    EXPECT_EQ(Download(second, small, Header::Good), kStatusSuccess);
    ASSERT_TRUE(first.sendAll(large.data() + large.size() / 2, large.size() - large.size() / 2));
    const std::string verdict = first.receive(32, kTimeoutMs);
    ASSERT_EQ(verdict.size(), 32u);
    EXPECT_EQ(static_cast<unsigned char>(verdict[11]), kStatusSuccess);
}

struct VersionCase {
    const char* name;
    QStringList arguments;
    const char* imageText;  // written into the image at byte 1000
    bool goodChecksum;
    const char* reported;   // the version a search shows afterwards
};

void PrintTo(const VersionCase& row, std::ostream* out)
{
    *out << row.name;
}

class VersionAfterDownload : public testing::TestWithParam<VersionCase> {};

// What a device reports once a download has ended, so tools can check the update took.
TEST_P(VersionAfterDownload, IsTheImagesTheOptionsOrTheOldOne)
{
    const VersionCase& row = GetParam();
    QStringList arguments{"--devices", "1", "--quiet"};
    arguments << row.arguments;
    DevsimProcess devsim(arguments);
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();

    std::vector<unsigned char> image = TestImage();
    const std::string text = row.imageText;
    std::copy(text.begin(), text.end(), image.begin() + 1000);
    LoopbackTcp tcp(devsim.tcpPort());
    ASSERT_EQ(tcp.connectError(), 0);
    EXPECT_EQ(Download(tcp, image, row.goodChecksum ? Header::Good : Header::WrongImageChecksum),
              row.goodChecksum ? kStatusSuccess : kStatusFailure);

    LoopbackUdp udp;
    ASSERT_TRUE(udp.sendTo(devsim.udpPort(), SearchAllRequest()));
    const auto reply = udp.receive(kTimeoutMs);
    ASSERT_TRUE(reply);
    const AcceptedReply accepted = AcceptReply(reply->data.data(), reply->data.size());
    ASSERT_TRUE(accepted.record);
    EXPECT_EQ(accepted.record->version, std::string(" ") + row.reported);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, VersionAfterDownload,
    testing::Values(VersionCase{"TheImages", {}, "xBrimnet_v-Brimnet_v3.08.bin", true, "3.08"},
                    VersionCase{"NoneInTheImage", {}, "Brimnet_v3.0", true, "3.07"},
                    VersionCase{"RefusedImage", {}, "Brimnet_v3.08", false, "3.07"},
                    VersionCase{"Given", {"--version-after-update", "4.00"}, "Brimnet_v3.08", true, "4.00"},
                    VersionCase{"KeptOld", {"--version-after-update", "same"}, "Brimnet_v3.08", true, "3.07"}),
    [](const testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

TEST(DownloadRefuseTest, ConnectionsToTheDownloadPortAreRefused)
{
    DevsimProcess devsim({"--refuse"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    ASSERT_NE(devsim.tcpPort(), 0);
    LoopbackTcp tcp(devsim.tcpPort());
    EXPECT_EQ(tcp.connectError(), ECONNREFUSED);
}

} // namespace
