#include "SocketTestSupport.h"

#include "platform/sockets/SocketNotificationHold.h"

#include <memory>
#include <optional>

using namespace sockettest;

namespace {

class NotificationHold : public SocketTest {
protected:
    void SetUp() override
    {
        SocketTest::SetUp();
        ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, FD_READ, "127.0.0.1"));
        socket.onReceive = [this](int) {
            char buf[64];
            std::string address;
            UINT port = 0;
            socket.ReceiveFrom(buf, sizeof buf, address, port);
        };
    }
    // Waits, without running the event loop, until the socket has a datagram.
    void WaitReadable(const CAsyncSocket& s) { ASSERT_TRUE(RawWaitReadable(s.m_hSocket)); }

    RawUdp peer;
    RecordingSocket socket;
};

TEST_F(NotificationHold, HeldNotificationIsDeliveredByTheEventLoopAfterTheHoldEnds)
{
    std::optional<SocketNotificationHold> hold(std::in_place);
    EXPECT_TRUE(SocketNotificationHold::IsActive());
    peer.SendTo(PortOf(socket), "held");
    WaitReadable(socket);
    Pump(50);
    EXPECT_EQ(socket.receives, 0);

    hold.reset();
    EXPECT_FALSE(SocketNotificationHold::IsActive());
    EXPECT_EQ(socket.receives, 0) << "delivered from inside the release";
    ASSERT_TRUE(WaitFor([&] { return socket.receives == 1; }, 5000));
}

TEST_F(NotificationHold, HoldsNest)
{
    std::optional<SocketNotificationHold> outer(std::in_place);
    {
        SocketNotificationHold inner;
        peer.SendTo(PortOf(socket), "held");
        WaitReadable(socket);
        Pump(20);
    }
    EXPECT_TRUE(SocketNotificationHold::IsActive());
    Pump(50);
    EXPECT_EQ(socket.receives, 0);
    outer.reset();
    ASSERT_TRUE(WaitFor([&] { return socket.receives == 1; }, 5000));
}

TEST_F(NotificationHold, ASocketDeletedOrClosedWhileHeldGetsNothing)
{
    auto doomed = std::make_unique<RecordingSocket>();
    ASSERT_TRUE(doomed->Create(0, SOCK_DGRAM, FD_READ, "127.0.0.1"));
    std::optional<SocketNotificationHold> hold(std::in_place);
    peer.SendTo(PortOf(*doomed), "x");
    peer.SendTo(PortOf(socket), "y");
    WaitReadable(*doomed);
    WaitReadable(socket);
    Pump(20);
    doomed.reset();
    socket.Close();
    hold.reset();
    Pump(50);
    EXPECT_EQ(socket.receives, 0);
}

TEST_F(NotificationHold, AWriteNotificationIsHeldToo)
{
    RecordingSocket other;
    std::optional<SocketNotificationHold> hold(std::in_place);
    ASSERT_TRUE(other.Create(0, SOCK_DGRAM, FD_WRITE, "127.0.0.1"));
    Pump(50);
    EXPECT_EQ(other.sends, 0);
    hold.reset();
    ASSERT_TRUE(WaitFor([&] { return other.sends == 1; }, 5000));
}

}  // namespace
