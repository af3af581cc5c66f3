// Start Update failures that a healthy host never shows, made real by the socket layer's
// fault seam: the connection object cannot be allocated, the header cannot be sent.
#include <gtest/gtest.h>

#include <cerrno>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "tests/support/InjectedSocketFault.h"
#include "tests/support/MessageBoxRecorder.h"

using lanvista::sockets::SocketCall;

namespace {

constexpr std::size_t kHeaderSize = 32;

}  // namespace

TEST(StartUpdateFault, AConnectionThatCannotBeAllocatedStartsNothingAndMayBeTriedAgain)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;
    SetLoopbackUpdateAddress(f.dialog());

    boxes.Expect("Failed to allocate client socket! Close and restart app.");
    {
        InjectedSocketFault fault({SocketCall::Allocate});
        f.Click(IDC_START_UPDATE);
    }
    EXPECT_EQ(boxes.Pending(), 0u);
    EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    EXPECT_EQ(device.connectionCount(), 0);

    f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(device.WaitForConnection(1));
    EXPECT_TRUE(device.WaitForBytes(kHeaderSize));
    EXPECT_NE(f.dialog().m_pDownload, nullptr);
}

// The connection is closed and destroyed before the box; the device sees it go without a
// header, and a new Start Update connects again.
TEST(StartUpdateFault, AHeaderThatCannotBeSentEndsTheDownloadBeforeTheMessage)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;
    SetLoopbackUpdateAddress(f.dialog());

    bool destroyedBeforeBox = false;
    boxes.Expect("Failed to send on client socket: 10054",
                 [&] { destroyedBeforeBox = f.dialog().m_pDownload == nullptr; });
    {
        InjectedSocketFault fault({SocketCall::Send, ECONNRESET});
        f.Click(IDC_START_UPDATE);
    }
    EXPECT_EQ(boxes.Pending(), 0u);
    EXPECT_TRUE(destroyedBeforeBox);
    EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    ASSERT_TRUE(device.WaitForConnection(1));
    EXPECT_TRUE(device.WaitForPeerClose());
    EXPECT_TRUE(device.received().empty());

    f.Click(IDC_START_UPDATE);
    ASSERT_TRUE(device.WaitForConnection(2));
    EXPECT_TRUE(device.WaitForBytes(kHeaderSize));
}

// A send that reports nothing sent is tried again: the header still arrives whole, once.
TEST(StartUpdateFault, AHeaderSendThatMovesNothingIsRepeated)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;
    SetLoopbackUpdateAddress(f.dialog());
    {
        InjectedSocketFault fault({SocketCall::Send, 0});
        f.Click(IDC_START_UPDATE);
    }
    ASSERT_TRUE(device.WaitForConnection(1));
    ASSERT_TRUE(device.WaitForBytes(kHeaderSize));
    EXPECT_EQ(device.received().size(), kHeaderSize);
    EXPECT_EQ(static_cast<unsigned char>(device.received().at(0)), 0x02);
    EXPECT_NE(f.dialog().m_pDownload, nullptr);
}
