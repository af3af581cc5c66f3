// The teardown of the endpoint and the download connection before the dialog ends or when
// its window goes.
#include <gtest/gtest.h>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "tests/support/DevsimSession.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/PlainSocket.h"
#include "tests/support/Wait.h"
#include "ui/Resource.h"

namespace {

constexpr const char kRangePrompt[] = "1024와(과) 50000 사이의 정수를 입력하십시오.";

}  // namespace

namespace {

bool UdpPortIsFree(std::uint16_t port)
{
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool bound = bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    plain_socket::Close(probe);
    return bound;
}

// A dialog that has searched the simulated devices and holds a download connection.
class SearchedAndDownloading : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
        f.Click(IDC_SEARCH);
        ASSERT_TRUE(f.WaitForDevices(3));
        SetLoopbackUpdateAddress(f.dialog());
        f.Click(IDC_START_UPDATE);
        ASSERT_TRUE(device.WaitForBytes(32));
        // The download ended discovery; search again so that both exist.
        f.Click(IDC_SEARCH);
        ASSERT_TRUE(f.WaitForDevices(3));
        ASSERT_NE(f.dialog().m_pUdpEndpoint, nullptr);
        ASSERT_NE(f.dialog().m_pDownload, nullptr);
        ASSERT_FALSE(UdpPortIsFree(network.localUdpPort));
    }

    DevsimSession devsim{{"--bind", "127.0.0.1", "--quiet", "--devices", "3"}};
    FakeDevice device;
    NetworkSettings network = DownloadNetwork(device.port(), devsim.udpPort());
    DialogFixture f{network};
    MessageBoxRecorder boxes;
};

}  // namespace

// The range check refuses the exit, but only after both network objects have gone; the
// lists and the shown device stay.
TEST_F(SearchedAndDownloading, RefusedExitHasAlreadyTornBothDown)
{
    f.dialog().m_nPort = 80;  // as a device reporting port 80 leaves it
    boxes.Expect(kRangePrompt, [&] {
        EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);
        EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    });
    f.Click(IDC_EXIT);

    EXPECT_EQ(boxes.Pending(), 0u);
    EXPECT_TRUE(device.WaitForPeerClose());
    EXPECT_TRUE(UdpPortIsFree(network.localUdpPort));
    EXPECT_EQ(f.DeviceList().size(), 3u);
    EXPECT_EQ(f.RecordList().size(), 3u);
    EXPECT_TRUE(f.dialog().m_strCurrentRecord.empty());
    EXPECT_EQ(f.dialog().m_nUseDhcp, 0);
    EXPECT_TRUE(f.dialog().IsWindowVisible());

    CWnd::FromHandle(f.control(IDC_PORT))->SetWindowText("9100");
    f.Click(IDC_EXIT);
    EXPECT_EQ(f.dialog().GetModalResult(), IDOK);
}

// Closing the endpoint rewrites the controls from the members first, so a port typed but
// never read is replaced by the port value and the exit goes through.
TEST_F(SearchedAndDownloading, ExitDropsPortTextNoExchangeHasRead)
{
    CWnd::FromHandle(f.control(IDC_PORT))->SetWindowText("abc");
    f.Click(IDC_EXIT);

    EXPECT_EQ(f.dialog().GetModalResult(), IDOK);
    EXPECT_EQ(f.Text(IDC_PORT), "9100");
    EXPECT_TRUE(device.WaitForPeerClose());
    EXPECT_TRUE(UdpPortIsFree(network.localUdpPort));
}

TEST_F(SearchedAndDownloading, DestroyingTheWindowReleasesBoth)
{
    f.dialog().DestroyWindow();

    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);
    EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    EXPECT_TRUE(device.WaitForPeerClose());
    EXPECT_TRUE(UdpPortIsFree(network.localUdpPort));
}
