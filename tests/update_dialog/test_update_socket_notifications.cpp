// Notifications of the download connection that a loopback device cannot bring about on
// demand, delivered by hand.
#include <gtest/gtest.h>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "tests/support/MessageBoxRecorder.h"
#include "platform/sockets/WinSock.h"
#include "tests/support/Wait.h"
#include "ui/CUpdateSocket.h"

namespace {

class ProbeSocket : public CUpdateSocket {
public:
    using CUpdateSocket::CUpdateSocket;
    using CUpdateSocket::OnConnect;
    using CUpdateSocket::OnReceive;
};

}  // namespace

TEST(UpdateSocketNotifications, ReceiveErrorIsReportedAndTheConnectionStays)
{
    DialogFixture f;
    MessageBoxRecorder boxes;
    auto* socket = new ProbeSocket(&f.dialog());  // never created: every receive fails
    f.dialog().m_pDownload = socket;
    f.dialog().m_strReplyText = "partial";

    boxes.Expect("Error number is 10038");
    socket->OnReceive(0);
    EXPECT_EQ(f.dialog().m_pDownload, socket);
    EXPECT_EQ(f.dialog().m_strReplyText, "partial");
}

// The layer reports a closed peer as a close notification; a receive that still comes
// back empty ends the download the same way, so Start Update works again at once.
TEST(UpdateSocketNotifications, ReceiveOfNothingForgetsTheConnection)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;
    auto* socket = new ProbeSocket(&f.dialog());
    ASSERT_TRUE(socket->Create());
    ASSERT_TRUE(socket->Connect("127.0.0.1", device.port()));
    socket->AsyncSelect(0);  // the test delivers the notification itself
    f.dialog().m_pDownload = socket;
    f.dialog().m_strReplyText = "partial";
    ASSERT_TRUE(device.WaitForConnection(1));
    device.Close();
    ASSERT_TRUE(WaitUntil([&] {
        // The layer's sockets never block.
        char byte = 0;
        return ::recv(socket->m_hSocket, &byte, 1, MSG_PEEK) == 0;
    }));

    socket->OnReceive(0);
    EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    EXPECT_TRUE(f.dialog().m_strReplyText.empty());

    SetLoopbackUpdateAddress(f.dialog());
    f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(device.WaitForConnection(2));
    EXPECT_TRUE(device.WaitForBytes(32));
}

TEST(UpdateSocketNotifications, ConnectNotificationReportsOnlyAnError)
{
    DialogFixture f;
    MessageBoxRecorder boxes;
    ProbeSocket socket(&f.dialog());

    socket.OnConnect(0);
    EXPECT_TRUE(boxes.Boxes().empty());

    boxes.Expect("OnConnect error: 10061");
    boxes.Expect("Please close the application");
    socket.OnConnect(10061);
}
