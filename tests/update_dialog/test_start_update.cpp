// Start Update before a download runs: the address, the connect and what it does to
// discovery, and a socket that cannot be made.
#include <QTcpServer>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"

TEST(StartUpdate, AsksForTheAddressWhenTheUpdateIpBoxIsBlank)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;

    boxes.Expect("Please Type the IP Address");
    f.Click("startUpdateButton");
    EXPECT_EQ(f.dialog().m_pDownload, nullptr);

    // While a download runs, a blank box is still reported, and an address starts nothing new.
    SetLoopbackUpdateAddress(f.dialog());
    f.Click("startUpdateButton");
    ASSERT_TRUE(device.WaitForConnection(1));
    CUpdateSocket* const running = f.dialog().m_pDownload;
    ASSERT_NE(running, nullptr);

    f.Click("startUpdateButton");
    EXPECT_EQ(f.dialog().m_pDownload, running);

    f.dialog().m_ctlUpdateIp.ClearAddress();
    boxes.Expect("Please Type the IP Address");
    f.Click("startUpdateButton");
    EXPECT_EQ(f.dialog().m_pDownload, running);
}

TEST(StartUpdate, ReportsARefusedConnectionAndCanTryAgain)
{
    DevsimProcess devsim({"--bind", "127.0.0.1", "--quiet", "--refuse"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    DialogFixture f(DownloadNetwork(devsim.tcpPort()));
    MessageBoxRecorder boxes;
    SetLoopbackUpdateAddress(f.dialog());

    for (int attempt = 0; attempt < 2; ++attempt) {
        boxes.Expect("Failed to connect: 10061.");
        f.Click("startUpdateButton");
        EXPECT_EQ(boxes.Pending(), 0u);
        EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    }
}

namespace {

struct DiscoveryCase {
    const char* name;
    QStringList faults;
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
    DevsimProcess devsim(QStringList{"--bind", "127.0.0.1", "--quiet", "--devices", "3"} + c.faults);
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    DialogFixture f(DownloadNetwork(devsim.tcpPort(), devsim.udpPort()));
    MessageBoxRecorder boxes;

    f.Click("searchButton");
    ASSERT_TRUE(f.WaitForDevices(3));
    SetLoopbackUpdateAddress(f.dialog());
    if (c.box)
        boxes.Expect(c.box);
    f.Click("startUpdateButton");

    EXPECT_EQ(f.dialog().m_pUdpEndpoint != nullptr, c.endpointRemains);
    EXPECT_EQ(f.DeviceList().size(), c.endpointRemains ? 3u : 0u);
    EXPECT_EQ(f.RecordList().size(), c.endpointRemains ? 3u : 0u);
    EXPECT_EQ(f.dialog().m_pDownload != nullptr, !c.box);
}

INSTANTIATE_TEST_SUITE_P(Connect, StartUpdateAfterSearch, testing::ValuesIn(kDiscoveryCases),
                         [](const testing::TestParamInfo<DiscoveryCase>& info) { return info.param.name; });

namespace {

// Lowers the open-file limit so that the next socket cannot be made, and puts it back.
class NoFreeDescriptor {
public:
    NoFreeDescriptor()
    {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        const int probe = dup(0);
        close(probe);
        rlimit lowered = m_saved;
        lowered.rlim_cur = static_cast<rlim_t>(probe) + 4;
        setrlimit(RLIMIT_NOFILE, &lowered);
        // Fill every slot under the limit, so that no descriptor freed meanwhile helps.
        for (int i = 0; i < 64; ++i) {
            const int fd = dup(0);
            if (fd < 0)
                break;
            m_filled.push_back(fd);
        }
    }
    ~NoFreeDescriptor()
    {
        for (int fd : m_filled)
            close(fd);
        setrlimit(RLIMIT_NOFILE, &m_saved);
    }

private:
    rlimit m_saved{};
    std::vector<int> m_filled;
};

}  // namespace

// The connection stays registered, as the message says: Start Update then does nothing
// until the program is restarted.
TEST(StartUpdate, SocketThatCannotBeMadeLeavesTheDownloadInert)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;
    SetLoopbackUpdateAddress(f.dialog());

    boxes.Expect("Failed to create client socket: 10024! Close and restart app.");
    {
        NoFreeDescriptor exhausted;
        f.Click("startUpdateButton");
    }
    EXPECT_EQ(boxes.Pending(), 0u);
    CUpdateSocket* const inert = f.dialog().m_pDownload;
    EXPECT_NE(inert, nullptr);

    f.Click("startUpdateButton");
    EXPECT_EQ(f.dialog().m_pDownload, inert);
}
