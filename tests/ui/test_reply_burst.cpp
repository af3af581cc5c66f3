// A burst of search replies already waiting on the endpoint: every reply listed in order of
// arrival, both lists parallel, the last one shown, and the device list painted only once
// the burst is listed, as the platform paints when its message queue is empty.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "link/Datagram.h"
#include "platform/sockets/DatagramDrainBudget.h"
#include "tests/support/PaintWitness.h"
#include "tests/support/Wait.h"

namespace {

constexpr int kBurst = 40;
constexpr DWORD kMask = 0xFFFFFF00;
constexpr DWORD kGateway = 0xC0A80001;

DWORD IpOf(int device)
{
    return 0xC0A80000u + 10u + static_cast<DWORD>(device);
}

std::string MacOf(int device)
{
    char mac[13];
    std::snprintf(mac, sizeof mac, "001A2B3C%04X", device);
    return mac;
}

std::string MacTextOf(int device)
{
    const std::string mac = MacOf(device);
    std::string text;
    for (std::size_t i = 0; i < mac.size(); i += 2)
        text += (i ? ":" : "") + mac.substr(i, 2);
    return text;
}

}  // namespace

TEST(ReplyBurst, EveryReplyIsListedAndShownBeforeTheListIsPainted)
{
    // The whole burst in one turn of the loop, however slow the machine. On Win32 each
    // datagram is a posted notification, which the queue hands out before any paint: no
    // budget there.
#ifndef _WIN32
    lanvista::sockets::SetDatagramDrainBudgetForTesting(std::chrono::hours(1));
#endif
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    const auto dialogPort = static_cast<std::uint16_t>(f.dialog().Network().localUdpPort);
    f.Click(IDC_SEARCH);
    ASSERT_TRUE(peer.Receive()) << "no search request";

    // How many devices the device list holds each time it is painted.
    std::vector<int> listedAtPaint;
    CListBox& list = f.dialog().m_ctlDeviceList;
    const PaintWitness witness(f.control(IDC_DEVICE_LIST), [&] { listedAtPaint.push_back(list.GetCount()); });
    std::vector<std::string> replies;
    std::vector<std::string> macTexts;
    for (int i = 0; i < kBurst; ++i) {
        replies.push_back(BuildSearchReply(MacOf(i), IpOf(i), kMask, kGateway, 9100, false, "3.07", 7));
        macTexts.push_back(MacTextOf(i));
        peer.Send(replies.back(), dialogPort);
    }
    ASSERT_TRUE(f.WaitForDevices(kBurst));
    const bool repainted = WaitUntil([&] { return !listedAtPaint.empty() && listedAtPaint.back() == kBurst; });
#ifndef _WIN32
    lanvista::sockets::ResetDatagramDrainBudgetForTesting();
#endif
    EXPECT_TRUE(repainted) << "the list was not painted after the burst";

    EXPECT_EQ(f.DeviceList(), macTexts);
    EXPECT_EQ(f.RecordList(), replies);
    for (int listed : listedAtPaint)
        EXPECT_TRUE(listed == 0 || listed == kBurst) << "painted with " << listed << " of " << kBurst << " listed";
    DWORD ip = 0, mask = 0, gateway = 0;
    f.dialog().m_ctlIp.GetAddress(ip);
    f.dialog().m_ctlMask.GetAddress(mask);
    f.dialog().m_ctlGateway.GetAddress(gateway);
    EXPECT_EQ(ip, IpOf(kBurst - 1));
    EXPECT_EQ(mask, kMask);
    EXPECT_EQ(gateway, kGateway);
    EXPECT_EQ(f.dialog().m_ctlDeviceList.GetCurSel(), LB_ERR);
}
