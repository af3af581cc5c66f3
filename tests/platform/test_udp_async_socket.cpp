#include "SocketTestSupport.h"

#include <memory>

using namespace sockettest;

namespace {

class UdpAsyncSocket : public SocketTest {};

TEST_F(UdpAsyncSocket, CreateBindsToTheGivenAddressAndAnEphemeralPort)
{
    CAsyncSocket any;
    ASSERT_TRUE(any.Create(0, SOCK_DGRAM));
    std::string address;
    UINT port = 0;
    ASSERT_TRUE(any.GetSockName(address, port));
    EXPECT_EQ(address, "0.0.0.0");
    EXPECT_NE(port, 0u);

    CAsyncSocket loopback;
    ASSERT_TRUE(loopback.Create(0, SOCK_DGRAM, FD_READ, "127.0.0.1"));
    ASSERT_TRUE(loopback.GetSockName(address, port));
    EXPECT_EQ(address, "127.0.0.1");
}

TEST_F(UdpAsyncSocket, BroadcastOptionCanBeSetAndReadBack)
{
    CAsyncSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM));
    int on = 1;
    ASSERT_TRUE(socket.SetSockOpt(SO_BROADCAST, &on, sizeof on, SOL_SOCKET));
    int value = 0;
    int length = sizeof value;
    ASSERT_TRUE(socket.GetSockOpt(SO_BROADCAST, &value, &length, SOL_SOCKET));
    EXPECT_NE(value, 0);
    EXPECT_EQ(length, 4);
}

TEST_F(UdpAsyncSocket, SendToAndReceiveFromAPeer)
{
    RawUdp peer;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    const UINT port = PortOf(socket);

    EXPECT_EQ(socket.SendTo("hello", 5, peer.port, "127.0.0.1"), 5);
    std::string got;
    std::uint16_t from = 0;
    ASSERT_TRUE(peer.Receive(got, &from));
    EXPECT_EQ(got, "hello");
    EXPECT_EQ(from, port);

    SOCKADDR_IN to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(peer.port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(socket.SendTo("world!", 6, reinterpret_cast<const SOCKADDR*>(&to), sizeof to), 6);
    ASSERT_TRUE(peer.Receive(got));
    EXPECT_EQ(got, "world!");

    std::string received, sender;
    UINT senderPort = 0;
    socket.onReceive = [&](int error) {
        EXPECT_EQ(error, 0);
        char buf[100];
        const int n = socket.ReceiveFrom(buf, sizeof buf, sender, senderPort);
        if (n > 0)
            received.assign(buf, static_cast<size_t>(n));
    };
    ASSERT_EQ(peer.SendTo(port, "reply"), 5);
    ASSERT_TRUE(WaitFor([&] { return !received.empty(); }, 5000));
    EXPECT_EQ(received, "reply");
    EXPECT_EQ(sender, "127.0.0.1");
    EXPECT_EQ(senderPort, peer.port);
}

TEST_F(UdpAsyncSocket, BindingAPortInUseFailsWithAddressInUseAndClosesTheSocket)
{
    CAsyncSocket holder;
    ASSERT_TRUE(holder.Create(0, SOCK_DGRAM));
    const UINT port = PortOf(holder);

    CAsyncSocket second;
    EXPECT_FALSE(second.Create(port, SOCK_DGRAM, 63));
    EXPECT_EQ(WSAGetLastError(), WSAEADDRINUSE);
    EXPECT_EQ(CAsyncSocket::GetLastError(), 10048);
    EXPECT_EQ(second.m_hSocket, INVALID_SOCKET);
}

TEST_F(UdpAsyncSocket, OperationsOnAClosedSocketFailWithNotASocket)
{
    CAsyncSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM));
    socket.Close();
    EXPECT_EQ(socket.m_hSocket, INVALID_SOCKET);
    socket.Close();  // already closed: nothing happens

    WSASetLastError(0);
    EXPECT_EQ(socket.SendTo("x", 1, 9, "127.0.0.1"), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);

    char buf[8];
    std::string address;
    UINT port = 0;
    WSASetLastError(0);
    EXPECT_EQ(socket.ReceiveFrom(buf, sizeof buf, address, port), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), 10038);

    int value = 1;
    WSASetLastError(0);
    EXPECT_FALSE(socket.SetSockOpt(SO_BROADCAST, &value, sizeof value));
    EXPECT_EQ(WSAGetLastError(), 10038);
}

TEST_F(UdpAsyncSocket, AnEmptyDatagramReachesOnReceiveAndReadsAsZero)
{
    RawUdp peer;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    int result = -2;
    socket.onReceive = [&](int) {
        char buf[16];
        std::string address;
        UINT port = 0;
        result = socket.ReceiveFrom(buf, sizeof buf, address, port);
    };
    ASSERT_EQ(peer.SendTo(PortOf(socket), ""), 0);
    ASSERT_TRUE(WaitFor([&] { return socket.receives > 0; }, 5000));
    EXPECT_EQ(result, 0);
}

TEST_F(UdpAsyncSocket, OnSendComesOnceAfterCreate)
{
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return socket.sends > 0; }, 5000));
    Pump(50);  // an always-writable socket must not report again
    EXPECT_EQ(socket.sends, 1);
}

TEST_F(UdpAsyncSocket, EachDatagramGetsItsOwnOnReceive)
{
    RawUdp peer;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    std::vector<std::string> got;
    socket.onReceive = [&](int) {
        char buf[70000];
        std::string address;
        UINT port = 0;
        const int n = socket.ReceiveFrom(buf, 69999, address, port);
        if (n >= 0)
            got.emplace_back(buf, static_cast<size_t>(n));
    };
    peer.SendTo(PortOf(socket), "one");
    peer.SendTo(PortOf(socket), "two");
    ASSERT_TRUE(WaitFor([&] { return got.size() == 2; }, 5000));
    EXPECT_EQ(got[0], "one");
    EXPECT_EQ(got[1], "two");
    EXPECT_EQ(socket.receives, 2);
}

TEST_F(UdpAsyncSocket, OnReceiveComesAgainOnlyAfterTheDatagramIsRead)
{
    RawUdp peer;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    peer.SendTo(PortOf(socket), "unread");
    ASSERT_TRUE(WaitFor([&] { return socket.receives == 1; }, 5000));
    Pump(50);
    EXPECT_EQ(socket.receives, 1);

    char buf[16];
    std::string address;
    UINT port = 0;
    EXPECT_EQ(socket.ReceiveFrom(buf, sizeof buf, address, port), 6);
    peer.SendTo(PortOf(socket), "next");
    EXPECT_TRUE(WaitFor([&] { return socket.receives == 2; }, 5000));
}

TEST_F(UdpAsyncSocket, ADatagramLargerThanTheBufferFailsWithMessageSize)
{
    RawUdp peer;
    CAsyncSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 0, "127.0.0.1"));
    peer.SendTo(PortOf(socket), "0123456789");
    char buf[4] = {};
    std::string address;
    UINT port = 0;
    int n = SOCKET_ERROR;
    ASSERT_TRUE(WaitFor(
        [&] {
            n = socket.ReceiveFrom(buf, sizeof buf, address, port);
            return !(n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK);
        },
        5000));
    EXPECT_EQ(n, SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEMSGSIZE);
    EXPECT_EQ(std::string(buf, 4), "0123");
}

TEST_F(UdpAsyncSocket, OnReceiveIsDeliveredInsideANestedEventLoop)
{
    RawUdp peer;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    bool deliveredInside = false;
    bool done = false;
    // Like a modal message box opened by a timer's slot.
    RunLater(0, [&] {
        ModalLoop modal;
        bool inside = true;
        socket.onReceive = [&](int) {
            deliveredInside = inside;
            char buf[16];
            std::string address;
            UINT port = 0;
            socket.ReceiveFrom(buf, sizeof buf, address, port);
            modal.Quit();
        };
        peer.SendTo(PortOf(socket), "nested");
        modal.Run(5000);
        inside = false;
        socket.onReceive = nullptr;
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done; }, 10000));
    EXPECT_TRUE(deliveredInside);
}

TEST_F(UdpAsyncSocket, AReplyIsHandledWhileAHandlerOfTheSameSocketShowsABox)
{
    RawUdp peer;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    std::vector<std::string> order;
    socket.onReceive = [&](int) {
        char buf[16];
        std::string address;
        UINT port = 0;
        const int n = socket.ReceiveFrom(buf, sizeof buf, address, port);
        const std::string text(buf, static_cast<size_t>(std::max(n, 0)));
        order.push_back("begin " + text);
        if (text == "first") {
            ModalLoop box;
            RunLater(0, [&] { peer.SendTo(PortOf(socket), "second"); });
            RepeatingTimer poll([&] {
                if (order.size() >= 3)
                    box.Quit();
            });
            poll.Start(1);
            box.Run(5000);
        }
        order.push_back("end " + text);
    };
    peer.SendTo(PortOf(socket), "first");
    ASSERT_TRUE(WaitFor([&] { return order.size() == 4; }, 10000));
    EXPECT_EQ(order, (std::vector<std::string>{"begin first", "begin second", "end second", "end first"}));
}

TEST_F(UdpAsyncSocket, AHandlerMayDeleteItsOwnSocket)
{
    RawUdp peer;
    auto* socket = new RecordingSocket;
    ASSERT_TRUE(socket->Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    const UINT port = PortOf(*socket);
    int calls = 0;
    socket->onReceive = [&, socket](int) {
        ++calls;
        delete socket;
    };
    peer.SendTo(port, "a");
    peer.SendTo(port, "b");
    ASSERT_TRUE(WaitFor([&] { return calls == 1; }, 5000));
    Pump(50);
    EXPECT_EQ(calls, 1);
}

TEST_F(UdpAsyncSocket, AHandlerMayDeleteAnotherSocketWithANotificationDue)
{
    RawUdp peer;
    auto first = std::make_unique<RecordingSocket>();
    auto second = std::make_unique<RecordingSocket>();
    ASSERT_TRUE(first->Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    ASSERT_TRUE(second->Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    int calls = 0;
    // Whichever runs first deletes the other, whose datagram is already waiting.
    first->onReceive = [&](int) {
        ++calls;
        second.reset();
    };
    second->onReceive = [&](int) {
        ++calls;
        first.reset();
    };
    peer.SendTo(PortOf(*first), "1");
    peer.SendTo(PortOf(*second), "2");
    ASSERT_TRUE(WaitFor([&] { return calls >= 1; }, 5000));
    Pump(50);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(!first != !second);
}

TEST_F(UdpAsyncSocket, AHandlerMayCloseItsOwnSocket)
{
    RawUdp peer;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    const UINT port = PortOf(socket);
    socket.onReceive = [&](int) { socket.Close(); };
    peer.SendTo(port, "a");
    peer.SendTo(port, "b");
    ASSERT_TRUE(WaitFor([&] { return socket.receives == 1; }, 5000));
    EXPECT_EQ(socket.m_hSocket, INVALID_SOCKET);
    Pump(50);
    EXPECT_EQ(socket.receives, 1);

    // Reopened on another port, it works as new.
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    socket.onReceive = nullptr;
    peer.SendTo(PortOf(socket), "c");
    EXPECT_TRUE(WaitFor([&] { return socket.receives == 2; }, 5000));
}

TEST_F(UdpAsyncSocket, AClosedSocketGetsNoNotificationThatWasAlreadyDue)
{
    RawUdp peer;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
    peer.SendTo(PortOf(socket), "due");
    // Wait for the datagram without running the event loop, then close before it can run.
    ASSERT_TRUE(RawWaitReadable(socket.m_hSocket));
    socket.Close();
    Pump(50);
    EXPECT_EQ(socket.receives, 0);
}

}  // namespace
