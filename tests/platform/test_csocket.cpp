#include "SocketTestSupport.h"

#include "platform/sockets/CSocket.h"
#include "platform/sockets/SocketFaults.h"
#include "platform/sockets/SocketNotificationHold.h"

#include <memory>

using namespace sockettest;

namespace {

using RecordingCSocket = Recording<CSocket>;

class CSocketTest : public SocketTest {
protected:
    // Connects `socket` to the raw listener and returns the accepted descriptor.
    RawSocket ConnectToPeer(CSocket& socket)
    {
        EXPECT_TRUE(socket.Create());
        EXPECT_TRUE(socket.Connect("127.0.0.1", listener.port));
        RawSocket fd = INVALID_SOCKET;
        EXPECT_TRUE(WaitFor([&] { return (fd = listener.Accept()) != INVALID_SOCKET; }, 5000));
        return fd;
    }
    static void ShrinkSendBuffer(CSocket& socket)
    {
        int small = 16 * 1024;
        socket.SetSockOpt(SO_SNDBUF, &small, sizeof small);
    }

    RawListener listener;
};

TEST_F(CSocketTest, ConnectToARefusedPortFailsWithConnectionRefused)
{
    RecordingCSocket socket;
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.Connect("127.0.0.1", RefusedPort()));
    EXPECT_EQ(WSAGetLastError(), WSAECONNREFUSED);
    Pump(50);
    EXPECT_EQ(socket.connects, 0) << "a blocking connect ends by its result alone";
    EXPECT_EQ(socket.closes, 0);
}

TEST_F(CSocketTest, ConnectReturnsConnectedAndOnSendFollows)
{
    RecordingCSocket socket;
    const RawSocket fd = ConnectToPeer(socket);
    ASSERT_NE(fd, INVALID_SOCKET);
    EXPECT_FALSE(socket.IsBlocking());
    ASSERT_TRUE(WaitFor([&] { return socket.sends == 1; }, 5000));
    EXPECT_EQ(socket.connects, 0);
    RawClose(fd);
}

TEST_F(CSocketTest, SendWaitsUntilEveryByteOfSeveralMebibytesIsSent)
{
    CSocket socket;
    SlowReader reader(ConnectToPeer(socket));
    ShrinkSendBuffer(socket);
    const std::string data = Pattern(4 * 1024 * 1024 + 123);
    reader.Start();
    EXPECT_EQ(socket.Send(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    EXPECT_GT(reader.ticks, 10) << "timers stop while the send waits";
    ASSERT_TRUE(WaitFor([&] { return reader.received.size() == data.size(); }, 60000));
    EXPECT_TRUE(reader.received == data);
}

TEST_F(CSocketTest, AWaitWhoseNotificationNeverComesEndsThoughOtherMessagesKeepComing)
{
    // A send refused as "would block" although the socket has room: the system announces room
    // only after a send it refused itself, so no notification follows, while another thread
    // keeps the queue from running dry. The wait must still see the room.
    CSocket socket;
    const RawSocket fd = ConnectToPeer(socket);
    Pump(50);  // the room announced after the connect is taken in
    constexpr int kGiveUp = 2000;
    MessageStream busy(5, kGiveUp);
    lanvista::sockets::InjectSocketFaultForTesting({lanvista::sockets::SocketCall::Send, EWOULDBLOCK});
    EXPECT_EQ(socket.Send("abc", 3), 3);
    const int postedAtReturn = busy.posted();
    busy.Stop();
    lanvista::sockets::ClearSocketFaultsForTesting();
    EXPECT_LT(postedAtReturn, kGiveUp) << "the send ended only once the other thread had stopped";
    char buf[8];
    ASSERT_TRUE(WaitFor([&] { return RawReceiveNow(fd, buf, sizeof buf) == 3; }, 5000));
    RawClose(fd);
}

TEST_F(CSocketTest, NotificationsArrivingDuringAWaitAreDeliveredAfterIt)
{
    RecordingCSocket socket;
    const RawSocket fd = ConnectToPeer(socket);
    ASSERT_TRUE(WaitFor([&] { return socket.sends == 1; }, 5000));
    SlowReader reader(fd, 8 * 1024);
    ShrinkSendBuffer(socket);

    RawUdp peer;
    RecordingSocket udp;
    ASSERT_TRUE(udp.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return udp.sends == 1; }, 5000));

    bool sending = false;
    bool udpDuringWait = false, ownDuringWait = false;
    int ticksAfterDatagram = -1;
    udp.onReceive = [&](int) { udpDuringWait = udpDuringWait || sending; };
    socket.onReceive = [&](int) { ownDuringWait = ownDuringWait || sending; };
    reader.onTick = [&] {
        if (ticksAfterDatagram < 0) {
            peer.SendTo(PortOf(udp), "during the wait");
            RawSend(fd, "from the peer");  // for the waiting socket itself
            ticksAfterDatagram = 0;
        } else {
            ++ticksAfterDatagram;
        }
    };
    const std::string data = Pattern(2 * 1024 * 1024);
    reader.Start();
    sending = true;
    EXPECT_EQ(socket.Send(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    sending = false;

    EXPECT_GT(ticksAfterDatagram, 5) << "the wait ended too soon to show anything";
    EXPECT_FALSE(SocketNotificationHold::IsActive());
    EXPECT_EQ(udp.receives, 0);
    EXPECT_EQ(socket.receives, 0);
    ASSERT_TRUE(WaitFor([&] { return udp.receives == 1 && socket.receives == 1; }, 5000));
    EXPECT_FALSE(udpDuringWait);
    EXPECT_FALSE(ownDuringWait);
    EXPECT_EQ(udp.sends, 1);
}

TEST_F(CSocketTest, APeerResetDuringTheWaitEndsTheSendWithoutOnClose)
{
    RecordingCSocket socket;
    const RawSocket fd = ConnectToPeer(socket);
    ShrinkSendBuffer(socket);
    RawReceiveBuffer(fd, 16 * 1024);
    RunLater(20, [fd] { ResetClose(fd); });
    const std::string data = Pattern(4 * 1024 * 1024);
    EXPECT_EQ(socket.Send(data.data(), static_cast<int>(data.size())), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
    Pump(50);
    EXPECT_EQ(socket.closes, 0);
}

TEST_F(CSocketTest, ReceiveWaitsForDataAndReturnsZeroAfterAnOrderlyClose)
{
    RecordingCSocket socket;
    const RawSocket fd = ConnectToPeer(socket);
    RunLater(20, [fd] { RawSend(fd, "abc"); });
    char buf[16];
    ASSERT_EQ(socket.Receive(buf, sizeof buf), 3);
    EXPECT_EQ(std::string(buf, 3), "abc");

    RunLater(20, [fd] { RawShutDownSend(fd); });
    EXPECT_EQ(socket.Receive(buf, sizeof buf), 0);
    Pump(50);
    EXPECT_EQ(socket.closes, 0) << "the close ended the wait: no OnClose";
    EXPECT_EQ(socket.receives, 0);
    RawClose(fd);
}

class PendingCounter : public CSocket {
public:
    int pending = 0;
    BOOL OnMessagePending() override
    {
        ++pending;
        return CSocket::OnMessagePending();
    }
};

TEST_F(CSocketTest, OnMessagePendingIsCalledOnlyWhileAWaitRuns)
{
    PendingCounter socket;
    SlowReader reader(ConnectToPeer(socket), 8 * 1024);
    ShrinkSendBuffer(socket);
    const int afterConnect = socket.pending;  // the connect may have waited too
    Pump(20);
    EXPECT_EQ(socket.pending, afterConnect);
    reader.Start();
    const std::string data = Pattern(512 * 1024);
    EXPECT_EQ(socket.Send(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    const int duringWait = socket.pending;
    EXPECT_GT(duringWait, afterConnect);
    Pump(20);
    EXPECT_EQ(socket.pending, duringWait);
}

TEST_F(CSocketTest, ABlockingCallDuringAWaitOfTheSameSocketFailsInProgress)
{
    CSocket socket;
    SlowReader reader(ConnectToPeer(socket), 4 * 1024);
    ShrinkSendBuffer(socket);
    int nested = 0, nestedError = 0;
    reader.onTick = [&] {
        if (nested == 0 && socket.IsBlocking()) {
            nested = socket.Send("x", 1);
            nestedError = WSAGetLastError();
        }
    };
    reader.Start();
    const std::string data = Pattern(512 * 1024);
    EXPECT_EQ(socket.Send(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    EXPECT_EQ(nested, SOCKET_ERROR);
    EXPECT_EQ(nestedError, WSAEINPROGRESS);
}

TEST_F(CSocketTest, DeletingTheSocketDuringItsWaitEndsTheCall)
{
    auto* socket = new CSocket;
    const RawSocket fd = ConnectToPeer(*socket);
    ShrinkSendBuffer(*socket);
    RunLater(20, [socket] { delete socket; });
    const std::string data = Pattern(4 * 1024 * 1024);
    EXPECT_EQ(socket->Send(data.data(), static_cast<int>(data.size())), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINTR);
    EXPECT_FALSE(SocketNotificationHold::IsActive());
    RawClose(fd);
}

TEST_F(CSocketTest, ClosingTheSocketDuringItsWaitEndsTheCall)
{
    CSocket socket;
    const RawSocket fd = ConnectToPeer(socket);
    RunLater(20, [&socket] { socket.Close(); });
    char buf[4];
    EXPECT_EQ(socket.Receive(buf, sizeof buf), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINTR);
    EXPECT_EQ(socket.m_hSocket, INVALID_SOCKET);
    RawClose(fd);
}

}  // namespace
