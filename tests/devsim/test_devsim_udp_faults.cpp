// Each UDP fault option of devsim produces the damage it names, and only that.

#include "link/Datagram.h"
#include "tests/devsim/DeviceRequests.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/devsim/LoopbackUdp.h"
#include "tests/support/Wire.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace {

constexpr int kReplyTimeoutMs = 5000;
constexpr int kQuietMs = 300;
constexpr std::size_t kDevices = 3;

enum class Checksum { Upper, Lower, Wrong };

struct UdpFaultCase {
    const char* name;
    QStringList arguments;
    std::size_t replySize;
    const char* command;
    Checksum checksum;
    int copies;          // of each device's reply
    bool emptyAfter;     // one empty datagram after the replies
    qint64 minimumDelayMs;
};

// What the checksum field of a 128-byte reply holds compared with the real checksum.
Checksum ChecksumForm(const std::string& reply)
{
    const std::uint32_t crc = PayloadCrc(reply);
    if (reply.compare(0, 8, UpperHex(crc)) == 0)
        return Checksum::Upper;
    if (reply.compare(0, 8, LowerHex(crc)) == 0)
        return Checksum::Lower;
    return Checksum::Wrong;
}

ReplyKind ExpectedKind(const UdpFaultCase& row)
{
    if (row.replySize != kDatagramSize || row.checksum != Checksum::Upper || std::string(row.command) != "20")
        return ReplyKind::Dropped;
    return ReplyKind::SearchReply;
}

void PrintTo(const UdpFaultCase& row, std::ostream* out)
{
    *out << row.name;
}

class UdpFaultTest : public testing::TestWithParam<UdpFaultCase> {};

TEST_P(UdpFaultTest, SearchRepliesCarryExactlyTheFault)
{
    const UdpFaultCase& row = GetParam();
    DevsimProcess devsim(row.arguments);
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    LoopbackUdp udp;

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(udp.sendTo(devsim.udpPort(), SearchAllRequest()));
    const std::size_t expected = kDevices * static_cast<std::size_t>(row.copies) + (row.emptyAfter ? 1 : 0);
    const auto datagrams = udp.receiveMany(expected, kReplyTimeoutMs);
    const qint64 elapsed = clock.elapsed();
    ASSERT_EQ(datagrams.size(), expected);
    EXPECT_FALSE(udp.receive(kQuietMs)) << "more datagrams than expected";
    EXPECT_GE(elapsed, row.minimumDelayMs);

    std::map<std::string, int> copiesByMac;
    const std::size_t replies = expected - (row.emptyAfter ? 1 : 0);
    for (std::size_t i = 0; i < replies; ++i) {
        const std::string& reply = datagrams[i].data;
        SCOPED_TRACE(i);
        ASSERT_EQ(reply.size(), row.replySize);
        EXPECT_EQ(reply.substr(kCommandOffset, 2), row.command);
        EXPECT_EQ(ClassifyReply(reply.data(), reply.size()), ExpectedKind(row));
        if (reply.size() == kDatagramSize) {
            EXPECT_EQ(ChecksumForm(reply), row.checksum);
            // Only the checksum (or the command) is damaged: resealed, a search reply is whole.
            if (std::string(row.command) == "20") {
                EXPECT_EQ(ClassifyReply(SealReply(reply).data(), kDatagramSize), ReplyKind::SearchReply);
            }
        }
        ++copiesByMac[reply.substr(kMacOffset, 12)];
    }
    EXPECT_EQ(copiesByMac.size(), kDevices);
    for (const auto& [mac, copies] : copiesByMac)
        EXPECT_EQ(copies, row.copies) << mac;
    if (row.emptyAfter) {
        EXPECT_TRUE(datagrams.back().data.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, UdpFaultTest,
    testing::Values(UdpFaultCase{"None", {}, kDatagramSize, "20", Checksum::Upper, 1, false, 0},
                    UdpFaultCase{"BadChecksum", {"--bad-checksum"}, kDatagramSize, "20", Checksum::Wrong, 1, false, 0},
                    UdpFaultCase{"LowercaseChecksum", {"--lowercase-checksum"}, kDatagramSize, "20", Checksum::Lower,
                                 1, false, 0},
                    UdpFaultCase{"UnknownCommand", {"--unknown-command"}, kDatagramSize, "22", Checksum::Upper, 1,
                                 false, 0},
                    UdpFaultCase{"ShortReply", {"--short-reply"}, 100, "20", Checksum::Upper, 1, false, 0},
                    UdpFaultCase{"Duplicate", {"--duplicate", "3"}, kDatagramSize, "20", Checksum::Upper, 3, false, 0},
                    UdpFaultCase{"EmptyDatagram", {"--empty-datagram"}, kDatagramSize, "20", Checksum::Upper, 1, true,
                                 0},
                    UdpFaultCase{"Delay", {"--delay", "300"}, kDatagramSize, "20", Checksum::Upper, 1, false, 300}),
    [](const auto& info) { return std::string(info.param.name); });

struct SaveFaultCase {
    const char* name;
    const char* option;
    const char* command;
    Checksum checksum;
};

void PrintTo(const SaveFaultCase& row, std::ostream* out)
{
    *out << row.name;
}

class SaveFaultTest : public testing::TestWithParam<SaveFaultCase> {};

TEST_P(SaveFaultTest, SaveReplyCarriesTheFaultToo)
{
    DevsimProcess devsim({GetParam().option});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    LoopbackUdp udp;
    ASSERT_TRUE(udp.sendTo(devsim.udpPort(), SaveRequest("001A2B3C4D01", Ipv4(10, 1, 2, 3), Ipv4(255, 0, 0, 0),
                                                         Ipv4(10, 0, 0, 1), 4001, false)));
    const auto answer = udp.receive(kReplyTimeoutMs);
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->data.size(), kDatagramSize);
    EXPECT_EQ(answer->data.substr(kCommandOffset, 2), GetParam().command);
    EXPECT_EQ(ChecksumForm(answer->data), GetParam().checksum);
    EXPECT_EQ(ClassifyReply(answer->data.data(), answer->data.size()), ReplyKind::Dropped);
}

INSTANTIATE_TEST_SUITE_P(Options, SaveFaultTest,
                         testing::Values(SaveFaultCase{"BadChecksum", "--bad-checksum", "21", Checksum::Wrong},
                                         SaveFaultCase{"LowercaseChecksum", "--lowercase-checksum", "21",
                                                       Checksum::Lower},
                                         SaveFaultCase{"UnknownCommand", "--unknown-command", "22", Checksum::Upper}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
