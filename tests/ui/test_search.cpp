// Search against simulated devices: every reply becomes a pair of list entries in arrival
// order, and each Search starts over on a fresh endpoint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "ui/CUdpAsySk.h"
#include "link/Datagram.h"
#include "tests/support/DevsimSession.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wire.h"

namespace {

DWORD ShownAddress(CIPAddressCtrl& box)
{
    DWORD address = 0;
    box.GetAddress(address);
    return address;
}


struct SearchCase {
    const char* name;
    std::vector<std::string> macStrings;  // typed into the MAC boxes; empty: none
    std::vector<std::string> listed;
    DWORD shownIp;
};

const SearchCase kSearchCases[] = {
    {"all devices", {}, {"00:1A:2B:3C:4D:01", "00:1A:2B:3C:4D:02", "00:1A:2B:3C:4D:03"}, Ipv4(192, 168, 0, 103)},
    {"one device by MAC", {"00", "1A", "2B", "3C", "4D", "02"}, {"00:1A:2B:3C:4D:02"}, Ipv4(192, 168, 0, 102)},
};

class Search : public testing::TestWithParam<SearchCase> {};

}  // namespace

TEST_P(Search, ListsTheAnswersInArrivalOrderAndShowsTheLast)
{
    const SearchCase& c = GetParam();
    DevsimSession devsim({"--devices", "3"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
    DialogFixture f(LoopbackNetwork(devsim.udpPort()));
    MessageBoxRecorder boxes;
    for (std::size_t i = 0; i < c.macStrings.size(); ++i)
        driver::Type(f.control(IDC_MAC1 + static_cast<int>(i)), c.macStrings[i]);

    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(static_cast<int>(c.listed.size())));

    EXPECT_EQ(f.DeviceList(), c.listed);
    const std::vector<std::string> records = f.RecordList();
    ASSERT_EQ(records.size(), c.listed.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].size(), kDatagramSize);
        EXPECT_EQ(MacTextOf(records[i]), c.listed[i]) << "the lists are not parallel at " << i;
    }
    EXPECT_EQ(f.dialog().m_ctlDeviceList.GetCurSel(), LB_ERR);
    EXPECT_EQ(f.dialog().m_strCurrentRecord, records.back());
    EXPECT_EQ(ShownAddress(f.dialog().m_ctlIp), c.shownIp);
    EXPECT_EQ(ShownAddress(f.dialog().m_ctlMask), Ipv4(255, 255, 255, 0));
    EXPECT_EQ(ShownAddress(f.dialog().m_ctlGateway), Ipv4(192, 168, 0, 1));
    EXPECT_EQ(f.Text(IDC_PORT), "9100");
    EXPECT_EQ(f.Text(IDC_VERSION), " 3.07");
}

INSTANTIATE_TEST_SUITE_P(Devsim, Search, testing::ValuesIn(kSearchCases),
                         [](const testing::TestParamInfo<SearchCase>& info) {
                             return info.index == 0 ? std::string("AllDevices") : std::string("OneMac");
                         });

TEST(SearchDevsim, ADeviceAnsweringTwiceIsListedTwice)
{
    DevsimSession devsim({"--devices", "1", "--duplicate", "2"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
    DialogFixture f(LoopbackNetwork(devsim.udpPort()));
    MessageBoxRecorder boxes;

    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(2));

    const std::vector<std::string> twice{"00:1A:2B:3C:4D:01", "00:1A:2B:3C:4D:01"};
    EXPECT_EQ(f.DeviceList(), twice);
    EXPECT_EQ(f.RecordList().size(), 2u);
}

TEST(SearchDevsim, SearchingAgainEmptiesTheListsAndRebindsThePort)
{
    DevsimSession devsim({"--devices", "3", "--dhcp"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
    const NetworkSettings network = LoopbackNetwork(devsim.udpPort());
    DialogFixture f(network);
    MessageBoxRecorder boxes;

    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(3));
    f.ClickDeviceListRow(1);
    ASSERT_EQ(f.dialog().m_ctlDeviceList.GetCurSel(), 1);
    ASSERT_EQ(driver::CheckState(f.control(IDC_USE_DHCP)), BST_CHECKED);

    f.Click(IDC_SEARCH);

    // Nothing of the new search has been handled yet: the lists are empty, the previous
    // device's values stay, and the DHCP box is unchecked.
    EXPECT_TRUE(f.DeviceList().empty());
    EXPECT_TRUE(f.RecordList().empty());
    EXPECT_TRUE(f.dialog().m_strCurrentRecord.empty());
    EXPECT_EQ(ShownAddress(f.dialog().m_ctlIp), Ipv4(192, 168, 0, 102));
    EXPECT_EQ(f.Text(IDC_VERSION), " 3.07");
    EXPECT_NE(driver::CheckState(f.control(IDC_USE_DHCP)), BST_CHECKED);
    ASSERT_NE(f.dialog().m_pUdpEndpoint, nullptr);
    std::string boundAddress;
    UINT boundPort = 0;
    ASSERT_TRUE(f.dialog().m_pUdpEndpoint->GetSockName(boundAddress, boundPort));
    EXPECT_EQ(boundPort, network.localUdpPort);

    ASSERT_TRUE(f.WaitForDevices(3));
    EXPECT_EQ(f.DeviceList().size(), 3u);
}

TEST(SearchDevsim, APortHeldByAnotherSocketLeavesNoEndpoint)
{
    const UdpPeer holder(true);
    ASSERT_NE(holder.port(), 0);
    NetworkSettings network = LoopbackNetwork(FreeUdpPort());
    network.localUdpPort = holder.port();
    DialogFixture f(network);
    MessageBoxRecorder boxes;

    boxes.Expect("Fail to create UDP socket: 10048! Close and restart app.");
    f.Click(IDC_SEARCH);
    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);

    boxes.Expect("Please create socket first.");
    f.Click(IDC_SAVE);
}
