#include "SocketTestSupport.h"

#include <memory>

using namespace sockettest;

namespace {

class TcpAsyncSocket : public SocketTest {
protected:
    // A listening layer socket, a client connected to it and the accepted server side.
    void ConnectPair()
    {
        ASSERT_TRUE(listener.Create(0, SOCK_STREAM, 63, "127.0.0.1"));
        ASSERT_TRUE(listener.Listen());
        listener.onAccept = [this](int error) {
            EXPECT_EQ(error, 0);
            EXPECT_TRUE(listener.Accept(server));
        };
        ASSERT_TRUE(client.Create());
        const BOOL immediate = client.Connect("127.0.0.1", PortOf(listener));
        if (!immediate) {
            ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
        }
        ASSERT_TRUE(WaitFor([&] { return client.connects == 1 && server.m_hSocket != INVALID_SOCKET; }, 5000));
        ASSERT_EQ(client.lastConnectError, 0);
    }

    static std::string ReceiveAll(CAsyncSocket& socket)
    {
        std::string all;
        char buf[4096];
        int n;
        while ((n = socket.Receive(buf, sizeof buf)) > 0)
            all.append(buf, static_cast<size_t>(n));
        return all;
    }

    RecordingSocket listener, client, server;
};

TEST_F(TcpAsyncSocket, ConnectAcceptAndExchangeData)
{
    ConnectPair();
    EXPECT_EQ(listener.accepts, 1);
    // One FD_WRITE after the connect, on both ends, and no more on an idle socket.
    ASSERT_TRUE(WaitFor([&] { return client.sends == 1 && server.sends == 1; }, 5000));
    Pump(50);
    EXPECT_EQ(client.sends, 1);
    EXPECT_EQ(server.sends, 1);

    std::string atServer;
    server.onReceive = [&](int) { atServer += ReceiveAll(server); };
    EXPECT_EQ(client.Send("ping", 4), 4);
    ASSERT_TRUE(WaitFor([&] { return atServer == "ping"; }, 5000));

    std::string address;
    UINT port = 0;
    ASSERT_TRUE(client.GetSockName(address, port));
    EXPECT_EQ(address, "127.0.0.1");
}

TEST_F(TcpAsyncSocket, AcceptWithNothingPendingWouldBlock)
{
    ASSERT_TRUE(listener.Create(0, SOCK_STREAM, 63, "127.0.0.1"));
    ASSERT_TRUE(listener.Listen());
    CAsyncSocket nobody;
    EXPECT_FALSE(listener.Accept(nobody));
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

TEST_F(TcpAsyncSocket, DataThenOrderlyCloseGivesOnReceiveThenOnCloseOnce)
{
    ConnectPair();
    std::string atClient;
    client.onReceive = [&](int) { atClient += ReceiveAll(client); };
    ASSERT_EQ(server.Send("bye", 3), 3);
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return client.closes == 1; }, 5000));
    EXPECT_EQ(atClient, "bye");
    EXPECT_EQ(client.lastCloseError, 0);
    Pump(50);
    EXPECT_EQ(client.closes, 1);
}

TEST_F(TcpAsyncSocket, ResetGivesOnCloseWithConnectionReset)
{
    ConnectPair();
    linger l{1, 0};
    ASSERT_TRUE(server.SetSockOpt(SO_LINGER, &l, sizeof l));
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return client.closes == 1; }, 5000));
    EXPECT_EQ(client.lastCloseError, WSAECONNRESET);
    Pump(50);
    EXPECT_EQ(client.closes, 1);
}

TEST_F(TcpAsyncSocket, OnCloseMayDeleteTheSocket)
{
    ConnectPair();
    auto* doomed = new RecordingSocket;
    int closes = 0;
    ASSERT_TRUE(doomed->Create());
    doomed->onClose = [&, doomed](int) {
        ++closes;
        delete doomed;
    };
    RawListener peer;
    doomed->Connect("127.0.0.1", peer.port);
    RawSocket fd = INVALID_SOCKET;
    ASSERT_TRUE(WaitFor([&] { return (fd = peer.Accept()) != INVALID_SOCKET; }, 5000));
    RawClose(fd);
    ASSERT_TRUE(WaitFor([&] { return closes == 1; }, 5000));
    Pump(50);
    EXPECT_EQ(closes, 1);
}

TEST_F(TcpAsyncSocket, ConnectToARefusedPortReportsConnectionRefused)
{
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create());
    if (socket.Connect("127.0.0.1", RefusedPort())) {
        FAIL() << "connected to a port where nobody listens";
    } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
        ASSERT_TRUE(WaitFor([&] { return socket.connects == 1; }, 5000));
        EXPECT_EQ(socket.lastConnectError, WSAECONNREFUSED);
    } else {
        EXPECT_EQ(WSAGetLastError(), WSAECONNREFUSED);
    }
    Pump(50);
    EXPECT_EQ(socket.sends, 0);
    EXPECT_EQ(socket.closes, 0);
}

TEST_F(TcpAsyncSocket, OnSendComesAgainAfterASendWouldBlock)
{
    ConnectPair();
    ASSERT_TRUE(WaitFor([&] { return client.sends == 1; }, 5000));
    const std::string chunk(65536, 'x');
    int sent = 0;
    int n;
    while ((n = client.Send(chunk.data(), static_cast<int>(chunk.size()))) > 0)
        sent += n;
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    EXPECT_EQ(client.sends, 1);

    int drained = 0;
    char buf[65536];
    ASSERT_TRUE(WaitFor(
        [&] {
            int r;
            while ((r = server.Receive(buf, sizeof buf)) > 0)
                drained += r;
            return client.sends == 2;
        },
        10000));
    Pump(50);
    EXPECT_EQ(client.sends, 2);
    EXPECT_GT(sent, 0);
}

TEST_F(TcpAsyncSocket, SendingToAResetPeerFailsWithoutSigpipe)
{
    ConnectPair();
    linger l{1, 0};
    server.SetSockOpt(SO_LINGER, &l, sizeof l);
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return client.closes == 1; }, 5000));
    int n = 0;
    for (int i = 0; i < 3 && n != SOCKET_ERROR; ++i)
        n = client.Send("x", 1);
    EXPECT_EQ(n, SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
}

TEST_F(TcpAsyncSocket, ShutDownSendGivesThePeerAnOrderlyClose)
{
    ConnectPair();
    ASSERT_TRUE(client.ShutDown(SD_SEND));
    ASSERT_TRUE(WaitFor([&] { return server.closes == 1; }, 5000));
    EXPECT_EQ(server.lastCloseError, 0);
    // The other direction still works.
    std::string atClient;
    client.onReceive = [&](int) { atClient += ReceiveAll(client); };
    ASSERT_EQ(server.Send("still", 5), 5);
    ASSERT_TRUE(WaitFor([&] { return atClient == "still"; }, 5000));
}

TEST_F(TcpAsyncSocket, UrgentDataGivesOnOutOfBandDataOnce)
{
    ConnectPair();
    ASSERT_EQ(server.Send("!", 1, MSG_OOB), 1);
    ASSERT_TRUE(WaitFor([&] { return client.outOfBands == 1; }, 5000));
    Pump(50);
    EXPECT_EQ(client.outOfBands, 1);
    EXPECT_EQ(client.receives, 0);
    char c = 0;
    EXPECT_EQ(client.Receive(&c, 1, MSG_OOB), 1);
    EXPECT_EQ(c, '!');

    // Ordinary data after it still arrives as such.
    std::string atClient;
    client.onReceive = [&](int) { atClient += ReceiveAll(client); };
    ASSERT_EQ(server.Send("data", 4), 4);
    ASSERT_TRUE(WaitFor([&] { return atClient == "data"; }, 5000));
    EXPECT_EQ(client.outOfBands, 1);
}

TEST_F(TcpAsyncSocket, ShutDownOnAnUnconnectedSocketFailsWithNotConnected)
{
    CAsyncSocket socket;
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.ShutDown());
    EXPECT_EQ(WSAGetLastError(), WSAENOTCONN);
}

}  // namespace
