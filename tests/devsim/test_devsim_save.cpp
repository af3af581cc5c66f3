// Saves against a running devsim on 127.0.0.1: the answer, and what a later search shows.

#include "link/DeviceRecord.h"
#include "tests/devsim/DeviceRequests.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/devsim/LoopbackUdp.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr int kReplyTimeoutMs = 5000;
constexpr int kQuietMs = 300;

class SaveTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_devsim.isReady()) << m_devsim.errorText().toStdString();
        ASSERT_TRUE(m_udp.isOpen());
    }

    std::map<std::string, DeviceRecord> SearchAll()
    {
        EXPECT_TRUE(m_udp.sendTo(m_devsim.udpPort(), SearchAllRequest()));
        std::map<std::string, DeviceRecord> byMac;
        for (const LoopbackUdp::Datagram& reply : m_udp.receiveMany(3, kReplyTimeoutMs)) {
            const auto record = AcceptSearchReply(reply.data.data(), reply.data.size());
            EXPECT_TRUE(record) << "not accepted as a search reply";
            if (record)
                byMac[record->mac12] = *record;
        }
        EXPECT_EQ(byMac.size(), 3u);
        return byMac;
    }

    DevsimProcess m_devsim;
    LoopbackUdp m_udp;
};

TEST_F(SaveTest, SaveIsAnsweredAndTheNextSearchShowsTheNewSettings)
{
    const auto before = SearchAll();
    // Port 4001 is 0x0FA1: written high byte first in the save, read low byte first back.
    ASSERT_TRUE(m_udp.sendTo(m_devsim.udpPort(), SaveRequest("001A2B3C4D02", Ipv4(10, 1, 2, 3),
                                                             Ipv4(255, 255, 0, 0), Ipv4(10, 1, 0, 1), 4001, true)));
    const auto answer = m_udp.receive(kReplyTimeoutMs);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->data.size(), kDatagramSize);
    EXPECT_EQ(answer->fromPort, m_devsim.udpPort());
    EXPECT_EQ(ClassifyReply(answer->data.data(), answer->data.size()), ReplyKind::SaveReply);
    EXPECT_FALSE(m_udp.receive(kQuietMs));

    auto after = SearchAll();
    const DeviceRecord& saved = after["001A2B3C4D02"];
    EXPECT_EQ(saved.ip, Ipv4(10, 1, 2, 3));
    EXPECT_EQ(saved.mask, Ipv4(255, 255, 0, 0));
    EXPECT_EQ(saved.gateway, Ipv4(10, 1, 0, 1));
    EXPECT_EQ(saved.port, 4001);
    EXPECT_TRUE(saved.dhcp);
    EXPECT_EQ(saved.version, " 3.07");
    for (const char* untouched : {"001A2B3C4D01", "001A2B3C4D03"}) {
        SCOPED_TRACE(untouched);
        EXPECT_EQ(after[untouched].ip, before.at(untouched).ip);
        EXPECT_EQ(after[untouched].port, before.at(untouched).port);
        EXPECT_EQ(after[untouched].dhcp, before.at(untouched).dhcp);
    }
}

TEST_F(SaveTest, SaveForAnUnknownMacIsNotAnsweredAndChangesNoDevice)
{
    const auto before = SearchAll();
    ASSERT_TRUE(m_udp.sendTo(m_devsim.udpPort(), SaveRequest("001A2B3C4D09", Ipv4(10, 1, 2, 3),
                                                             Ipv4(255, 255, 0, 0), Ipv4(10, 1, 0, 1), 4001, true)));
    // Devsim answers in order: the search replies come first unless a save reply came before.
    const auto after = SearchAll();
    for (const auto& [mac, fields] : before) {
        SCOPED_TRACE(mac);
        ASSERT_EQ(after.count(mac), 1u);
        EXPECT_EQ(after.at(mac).ip, fields.ip);
        EXPECT_EQ(after.at(mac).dhcp, fields.dhcp);
    }
    EXPECT_FALSE(m_udp.receive(kQuietMs));
}

} // namespace
