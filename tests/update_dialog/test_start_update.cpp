// Start Update before a download runs: the address, the connect and what it does to
// discovery, and a socket that cannot be made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "tests/support/DevsimSession.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"

TEST(StartUpdate, AsksForTheAddressWhenTheUpdateIpBoxIsBlank)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;

    boxes.Expect("Please Type the IP Address");
    f.Click(IDC_START_UPDATE);
    EXPECT_EQ(f.dialog().m_pDownload, nullptr);

    // While a download runs, a blank box is still reported, and an address starts nothing new.
    SetLoopbackUpdateAddress(f.dialog());
    f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(device.WaitForConnection(1));
    CUpdateSocket* const running = f.dialog().m_pDownload;
    ASSERT_NE(running, nullptr);

    f.Click(IDC_START_UPDATE);
    EXPECT_EQ(f.dialog().m_pDownload, running);

    f.dialog().m_ctlUpdateIp.ClearAddress();
    boxes.Expect("Please Type the IP Address");
    f.Click(IDC_START_UPDATE);
    EXPECT_EQ(f.dialog().m_pDownload, running);
}

TEST(StartUpdate, ReportsARefusedConnectionAndCanTryAgain)
{
    DevsimSession devsim({"--bind", "127.0.0.1", "--quiet", "--refuse"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
    DialogFixture f(DownloadNetwork(devsim.tcpPort()));
    MessageBoxRecorder boxes;
    SetLoopbackUpdateAddress(f.dialog());

    for (int attempt = 0; attempt < 2; ++attempt) {
        boxes.Expect("Failed to connect: 10061.");
        f.Click(IDC_START_UPDATE);
        EXPECT_EQ(boxes.Pending(), 0u);
        EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    }
}

namespace {

struct DiscoveryCase {
    const char* name;
    std::vector<std::string> faults;
    const char* box;            // nullptr: the connect succeeds
    bool endpointRemains;
};

const DiscoveryCase kDiscoveryCases[] = {
    {"ConnectedDownloadEndsDiscovery", {}, nullptr, false},
    {"RefusedConnectLeavesDiscovery", {"--refuse"}, "Failed to connect: 10061.", true},
};

class StartUpdateAfterSearch : public testing::TestWithParam<DiscoveryCase> {};

}  // namespace

TEST_P(StartUpdateAfterSearch, ClosesTheEndpointOnlyOnceConnected)
{
    const DiscoveryCase& c = GetParam();
    std::vector<std::string> options{"--bind", "127.0.0.1", "--quiet", "--devices", "3"};
    options.insert(options.end(), c.faults.begin(), c.faults.end());
    DevsimSession devsim(options);
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
    DialogFixture f(DownloadNetwork(devsim.tcpPort(), devsim.udpPort()));
    MessageBoxRecorder boxes;

    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(3));
    SetLoopbackUpdateAddress(f.dialog());
    if (c.box)
        boxes.Expect(c.box);
    f.Click(IDC_START_UPDATE);

    EXPECT_EQ(f.dialog().m_pUdpEndpoint != nullptr, c.endpointRemains);
    EXPECT_EQ(f.DeviceList().size(), c.endpointRemains ? 3u : 0u);
    EXPECT_EQ(f.RecordList().size(), c.endpointRemains ? 3u : 0u);
    EXPECT_EQ(f.dialog().m_pDownload != nullptr, !c.box);
}

INSTANTIATE_TEST_SUITE_P(Connect, StartUpdateAfterSearch, testing::ValuesIn(kDiscoveryCases),
                         [](const testing::TestParamInfo<DiscoveryCase>& info) { return info.param.name; });
