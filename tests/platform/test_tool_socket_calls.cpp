// The socket calls a command-line tool makes without an event loop, on either system:
// batched receives with each datagram's arrival, waits with a deadline, adapters by name,
// the bytes a peer has not taken, the receive buffer, terminal detection.
#include "SocketCallsTestSupport.h"

#include "platform/sockets/AdapterNames.h"
#include "platform/sockets/DatagramBatch.h"
#include "platform/sockets/ReadyBefore.h"
#include "platform/sockets/ReceiveBuffer.h"
#include "platform/sockets/Terminal.h"
#include "platform/sockets/UnacknowledgedBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace socketcallstest;
using Clock = std::chrono::steady_clock;

constexpr int kRoom = 8;

// Receives batches until `count` datagrams have come or five seconds have passed.
std::vector<std::pair<std::string, BatchDatagram>> ReceiveAll(SOCKET s, std::size_t count)
{
    std::array<std::array<char, kRoom>, 4> rooms{};
    std::array<BatchDatagram, 4> batch{};
    std::vector<std::pair<std::string, BatchDatagram>> received;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (received.size() < count && ReadyBefore(s, POLLIN, deadline) != 0) {
        for (std::size_t i = 0; i < batch.size(); ++i) {
            batch[i] = {};
            batch[i].data = rooms[i].data();
            batch[i].room = kRoom;
        }
        const int n = ReceiveDatagrams(s, batch.data(), static_cast<int>(batch.size()));
        for (int i = 0; i < n; ++i)
            received.emplace_back(std::string(batch[i].data, static_cast<std::size_t>(batch[i].size)), batch[i]);
    }
    return received;
}

TEST(ReceiveDatagrams, TakesEveryWaitingDatagramWithItsSenderAndArrivalCuttingTheLongOnes)
{
    UdpPair pair;
    const std::vector<std::string> sent{"one", "0123456789abcdef", "", "three"};
    for (const std::string& datagram : sent)
        ASSERT_EQ(SendBytesTo(pair.sender, datagram.data(), static_cast<int>(datagram.size()), 0,
                              reinterpret_cast<const sockaddr*>(&pair.to), sizeof pair.to),
                  static_cast<int>(datagram.size()));

    const auto received = ReceiveAll(pair.receiver, sent.size());
    ASSERT_EQ(received.size(), sent.size());
    sockaddr_in sender{};
    SocketName(pair.sender, sender);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE("datagram " + std::to_string(i));
        EXPECT_EQ(received[i].first, sent[i].substr(0, kRoom));
        const BatchDatagram& datagram = received[i].second;
        EXPECT_EQ(datagram.from.sin_port, sender.sin_port);
        EXPECT_EQ(ntohl(datagram.from.sin_addr.s_addr), INADDR_LOOPBACK);
        EXPECT_EQ(ntohl(datagram.arrival.destination.s_addr), INADDR_LOOPBACK);
        EXPECT_EQ(datagram.arrival.interfaceIndex, LoopbackIndex());
    }

    // Nothing is left, not even the cut datagram's rest.
    std::array<char, kRoom> room{};
    BatchDatagram none;
    none.data = room.data();
    none.room = kRoom;
    EXPECT_EQ(ReceiveDatagrams(pair.receiver, &none, 1), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

TEST(ReadyBefore, SaysWhatIsReadyOrNothingOnceTheDeadlineHasPassed)
{
    UdpPair pair;
    EXPECT_EQ(ReadyBefore(pair.receiver, POLLIN, Clock::now() + std::chrono::milliseconds(50)), 0);
    ASSERT_EQ(SendBytesTo(pair.sender, "x", 1, 0, reinterpret_cast<const sockaddr*>(&pair.to), sizeof pair.to), 1);
    EXPECT_EQ(ReadyBefore(pair.receiver, POLLIN, Clock::now() + std::chrono::seconds(5)), POLLIN);
    EXPECT_EQ(ReadyBefore(pair.sender, POLLOUT, Clock::now() + std::chrono::seconds(5)), POLLOUT);
}

TEST(AdapterNames, LeadFromIndexToNameAndBack)
{
    std::vector<unsigned> indexes{LoopbackIndex()};
    for (const NetworkAdapter& adapter : BroadcastAdapters()) {
        indexes.push_back(adapter.index);
        EXPECT_EQ(AdapterName(adapter.index), adapter.name) << "as the adapter list names it";
    }
    for (const unsigned index : indexes) {
        const std::string name = AdapterName(index);
        ASSERT_FALSE(name.empty()) << index;
        EXPECT_EQ(AdapterIndex(name), index) << name;
    }
}

TEST(AdapterNames, NoneForWhatNoAdapterIsCalled)
{
    EXPECT_EQ(AdapterName(0), "");
    // A colon and more is no name of its own unless an address carries it as a label.
    for (const std::string& name : std::vector<std::string>{"", "lvnone1", AdapterName(LoopbackIndex()) + ":lvnone"})
        EXPECT_EQ(AdapterIndex(name), 0u) << name;
}

// A connected pair on 127.0.0.1, made with the calls under test.
struct TcpPair {
    TcpPair()
    {
        const SOCKET listener = OpenSocket(SOCK_STREAM);
        BindSocket(listener, Loopback(0));
        ListenOn(listener, 1);
        sockaddr_in address{};
        SocketName(listener, address);
        sender = OpenSocket(SOCK_STREAM);
        ConnectSocket(sender, address);
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        if (ReadyBefore(listener, POLLIN, deadline) != 0)
            receiver = AcceptConnection(listener);
        ReadyBefore(sender, POLLOUT, deadline);
        CloseSocket(listener);
    }
    ~TcpPair()
    {
        CloseSocket(sender);
        if (receiver != INVALID_SOCKET)
            CloseSocket(receiver);
    }
    TcpPair(const TcpPair&) = delete;
    TcpPair& operator=(const TcpPair&) = delete;

    SOCKET sender = INVALID_SOCKET;
    SOCKET receiver = INVALID_SOCKET;
};

TEST(UnacknowledgedBytes, CountWhatAPeerThatReadsNothingHasNotTaken)
{
    TcpPair pair;
    ASSERT_NE(pair.receiver, INVALID_SOCKET);
    EXPECT_EQ(UnacknowledgedBytes(pair.sender), 0u);
    // Until the peer's window is shut and the sender's own buffer full, nothing blocks.
    const std::vector<char> piece(64 * 1024, 'x');
    std::size_t handedOver = 0;
    for (int n = 0; n != SOCKET_ERROR; handedOver += n > 0 ? static_cast<std::size_t>(n) : 0)
        n = SendBytes(pair.sender, piece.data(), static_cast<int>(piece.size()), 0);
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    const std::size_t unacknowledged = UnacknowledgedBytes(pair.sender);
    EXPECT_GT(unacknowledged, 0u);
    EXPECT_LE(unacknowledged, handedOver);
}

TEST(GrowReceiveBuffer, NeverShrinksIt)
{
    UdpPair pair;
    int before = 0;
    int length = sizeof before;
    ASSERT_TRUE(GetSocketOption(pair.receiver, SOL_SOCKET, SO_RCVBUF, &before, length));
    EXPECT_GE(GrowReceiveBuffer(pair.receiver, 4 * before), before);
}

TEST(StandardErrorIsTerminal, NotWhenItIsCaptured)
{
    // CTest reads every test's standard error through a pipe.
    EXPECT_FALSE(StandardErrorIsTerminal());
}

}  // namespace
