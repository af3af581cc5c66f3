// Searches against a running devsim on 127.0.0.1: who answers, and with what.

#include "link/DeviceRecord.h"
#include "tests/devsim/DeviceRequests.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/devsim/LoopbackUdp.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace {

constexpr int kReplyTimeoutMs = 5000;
// Only ever used to show that nothing more comes; a slow devsim cannot fail a test here.
constexpr int kQuietMs = 300;

const std::string kMac1 = "001A2B3C4D01";
const std::string kMac2 = "001A2B3C4D02";
const std::string kMac3 = "001A2B3C4D03";

class SearchTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_devsim.isReady()) << m_devsim.errorText().toStdString();
        ASSERT_TRUE(m_udp.isOpen());
    }

    // Replies to a request, keyed by MAC, after checking each is a valid search reply
    // from devsim's port.
    std::map<std::string, DeviceRecord> Search(const std::string& request, std::size_t expected)
    {
        EXPECT_TRUE(m_udp.sendTo(m_devsim.udpPort(), request));
        std::map<std::string, DeviceRecord> byMac;
        for (const LoopbackUdp::Datagram& reply : m_udp.receiveMany(expected, kReplyTimeoutMs)) {
            EXPECT_EQ(reply.data.size(), kDatagramSize);
            EXPECT_EQ(reply.fromPort, m_devsim.udpPort());
            const auto record = AcceptSearchReply(reply.data.data(), reply.data.size());
            EXPECT_TRUE(record) << "not accepted as a search reply";
            if (record)
                byMac[record->mac12] = *record;
        }
        EXPECT_EQ(byMac.size(), expected);
        return byMac;
    }

    DevsimProcess m_devsim;
    LoopbackUdp m_udp;
};

TEST_F(SearchTest, SearchAllGetsOneReplyPerDeviceWithItsSettings)
{
    const auto replies = Search(SearchAllRequest(), 3);
    EXPECT_FALSE(m_udp.receive(kQuietMs)) << "more replies than devices";

    std::uint32_t ip = Ipv4(192, 168, 0, 101);
    for (const std::string& mac : {kMac1, kMac2, kMac3}) {
        SCOPED_TRACE(mac);
        ASSERT_EQ(replies.count(mac), 1u);
        const DeviceRecord& device = replies.at(mac);
        EXPECT_EQ(device.ip, ip++);
        EXPECT_EQ(device.mask, Ipv4(255, 255, 255, 0));
        EXPECT_EQ(device.gateway, Ipv4(192, 168, 0, 1));
        EXPECT_EQ(device.port, 9100);
        EXPECT_FALSE(device.dhcp);
        EXPECT_EQ(device.version, " 3.07");
    }
}

TEST(SearchOptionsTest, DevicesCountUpAcrossOctetsFromTheFirstMacAndAddress)
{
    DevsimProcess devsim({"--devices", "4", "--first-mac", "00:1a:2b:3c:4d:fe", "--first-ip", "10.0.0.254", "--dhcp",
                          "--firmware-version", "4.12"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    LoopbackUdp udp;
    ASSERT_TRUE(udp.sendTo(devsim.udpPort(), SearchAllRequest()));

    std::map<std::string, DeviceRecord> byMac;
    for (const LoopbackUdp::Datagram& reply : udp.receiveMany(4, kReplyTimeoutMs)) {
        const auto record = AcceptSearchReply(reply.data.data(), reply.data.size());
        ASSERT_TRUE(record) << "not accepted as a search reply";
        byMac[record->mac12] = *record;
    }
    const std::map<std::string, std::uint32_t> expected{{"001A2B3C4DFE", Ipv4(10, 0, 0, 254)},
                                                        {"001A2B3C4DFF", Ipv4(10, 0, 0, 255)},
                                                        {"001A2B3C4E00", Ipv4(10, 0, 1, 0)},
                                                        {"001A2B3C4E01", Ipv4(10, 0, 1, 1)}};
    ASSERT_EQ(byMac.size(), expected.size());
    for (const auto& [mac, ip] : expected) {
        SCOPED_TRACE(mac);
        ASSERT_EQ(byMac.count(mac), 1u);
        EXPECT_EQ(byMac[mac].ip, ip);
        EXPECT_EQ(byMac[mac].gateway, Ipv4(10, 0, 0, 1));
        EXPECT_TRUE(byMac[mac].dhcp);
        EXPECT_EQ(byMac[mac].version, " 4.12");
    }
}

struct SearchOneCase {
    const char* name;
    std::string requestMac;
    std::string answeringMac;  // empty: nobody answers
};

void PrintTo(const SearchOneCase& row, std::ostream* out)
{
    *out << row.name;
}

class SearchOneTest : public SearchTest, public testing::WithParamInterface<SearchOneCase> {};

TEST_P(SearchOneTest, OnlyTheDeviceWithThatMacAnswers)
{
    ASSERT_TRUE(m_udp.sendTo(m_devsim.udpPort(), SearchOneRequest(GetParam().requestMac)));
    // Devsim answers in order: the reply to this second request marks the end of the first's.
    ASSERT_TRUE(m_udp.sendTo(m_devsim.udpPort(), SearchOneRequest(kMac3)));

    std::vector<std::string> order;
    for (const LoopbackUdp::Datagram& reply : m_udp.receiveMany(GetParam().answeringMac.empty() ? 1 : 2,
                                                               kReplyTimeoutMs)) {
        EXPECT_EQ(ClassifyReply(reply.data.data(), reply.data.size()), ReplyKind::SearchReply);
        order.push_back(reply.data.substr(kMacOffset, 12));
    }
    std::vector<std::string> expected;
    if (!GetParam().answeringMac.empty())
        expected.push_back(GetParam().answeringMac);
    expected.push_back(kMac3);
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(m_udp.receive(kQuietMs));
}

INSTANTIATE_TEST_SUITE_P(Macs, SearchOneTest,
                         testing::Values(SearchOneCase{"UpperCase", kMac2, kMac2},
                                         SearchOneCase{"LowerCase", "001a2b3c4d01", kMac1},
                                         SearchOneCase{"UnknownMac", "001A2B3C4D09", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

struct IgnoredCase {
    const char* name;
    std::string datagram;
};

std::string WithWrongChecksum(std::string request)
{
    request[0] = request[0] == '0' ? '1' : '0';
    return request;
}

std::string WithCommand(std::string request, char second)
{
    request[kCommandOffset + 1] = second;
    return SealedLower(request);
}

void PrintTo(const IgnoredCase& row, std::ostream* out)
{
    *out << row.name;
}

class IgnoredTest : public SearchTest, public testing::WithParamInterface<IgnoredCase> {};

TEST_P(IgnoredTest, IsNotAnsweredAndChangesNothing)
{
    ASSERT_TRUE(m_udp.sendTo(m_devsim.udpPort(), GetParam().datagram));
    ASSERT_TRUE(m_udp.sendTo(m_devsim.udpPort(), SearchOneRequest(kMac2)));

    const auto first = m_udp.receive(kReplyTimeoutMs);
    ASSERT_TRUE(first);
    const auto device = AcceptSearchReply(first->data.data(), first->data.size());
    ASSERT_TRUE(device) << "not accepted as a search reply";
    EXPECT_EQ(device->mac12, kMac2);
    EXPECT_EQ(device->ip, Ipv4(192, 168, 0, 102));
    EXPECT_EQ(device->port, 9100);
    EXPECT_FALSE(m_udp.receive(kQuietMs));
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, IgnoredTest,
    testing::Values(
        IgnoredCase{"SearchWithWrongChecksum", WithWrongChecksum(SearchAllRequest())},
        IgnoredCase{"SaveWithWrongChecksum", WithWrongChecksum(SaveRequest(kMac2, Ipv4(10, 9, 9, 9),
                                                                           Ipv4(255, 0, 0, 0), Ipv4(10, 0, 0, 1),
                                                                           4000, false))},
        IgnoredCase{"UnknownCommand", WithCommand(SearchAllRequest(), '5')},
        IgnoredCase{"SearchReplyEchoedBack",
                    BuildSearchReply(kMac2, Ipv4(10, 9, 9, 9), Ipv4(255, 0, 0, 0), Ipv4(10, 0, 0, 1), 4000, false,
                                     "3.07", 7)},
        IgnoredCase{"SaveReplyEchoedBack", BuildSaveReply(7)},
        IgnoredCase{"CutTo127Bytes", SearchAllRequest().substr(0, kDatagramSize - 1)},
        IgnoredCase{"Empty", std::string()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchFleetTest, TheLastOfFiveThousandDevicesAnswersWithItsOwnMacAndAddress)
{
    DevsimProcess devsim({"--devices", "5000", "--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    LoopbackUdp udp;
    // 0x001A2B3C4D01 + 4999 and 192.168.0.101 + 4999.
    ASSERT_TRUE(udp.sendTo(devsim.udpPort(), SearchOneRequest("001A2B3C6088")));
    const auto reply = udp.receive(kReplyTimeoutMs);
    ASSERT_TRUE(reply);
    const auto device = AcceptSearchReply(reply->data.data(), reply->data.size());
    ASSERT_TRUE(device) << "not accepted as a search reply";
    EXPECT_EQ(device->mac12, "001A2B3C6088");
    EXPECT_EQ(device->ip, Ipv4(192, 168, 19, 236));
}

} // namespace
