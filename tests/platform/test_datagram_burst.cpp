// A burst of datagrams already waiting when the event loop comes to the socket: delivered
// one OnReceive each, back to back in one turn of the loop, as posted notifications are
// handled before painting; the loop gets its turn again when the time for it is used up,
// when the handler closes the socket or turns notifications off, and after a nested loop.
#include "SocketTestSupport.h"

#include "platform/sockets/DatagramDrainBudget.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <string>
#include <vector>

using namespace sockettest;
namespace sockets = lanvista::sockets;

namespace {

constexpr int kBurst = 8;

class DatagramBurst : public SocketTest {
protected:
    void SetUp() override
    {
        SocketTest::SetUp();
        // Long enough that no check below depends on the machine's speed.
        sockets::SetDatagramDrainBudgetForTesting(std::chrono::hours(1));
        ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, 63, "127.0.0.1"));
        socket.onReceive = [this](int) { Handle(); };
    }
    void TearDown() override
    {
        sockets::ResetDatagramDrainBudgetForTesting();
        SocketTest::TearDown();
    }

    // Queues the whole burst before the event loop runs again.
    void SendBurst()
    {
        for (int i = 0; i < kBurst; ++i)
            ASSERT_EQ(peer.SendTo(PortOf(socket), std::to_string(i)), 1);
    }

    std::vector<std::string> Expected(int count) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < count; ++i)
            texts.push_back(std::to_string(i));
        return texts;
    }

    // Notes whether the loop had a turn since the previous call ended (an event posted at its
    // end comes through at the next turn), runs the test's steps around reading one datagram.
    void Handle()
    {
        turned.push_back(loopTurned);
        if (depth > 0)
            ++nestedCalls;
        ++depth;
        const int index = static_cast<int>(got.size());
        if (beforeReceive)
            beforeReceive(index);
        char buf[64];
        std::string address;
        UINT port = 0;
        const int n = socket.ReceiveFrom(buf, sizeof buf, address, port);
        if (n >= 0)
            got.emplace_back(buf, static_cast<size_t>(n));
        if (afterReceive)
            afterReceive(index);
        --depth;
        loopTurned = false;
        QMetaObject::invokeMethod(&witness, [this] { loopTurned = true; }, Qt::QueuedConnection);
    }

    RawUdp peer;
    RecordingSocket socket;
    QObject witness;  // takes the posted events with it when the test ends
    bool loopTurned = true;
    int depth = 0;
    int nestedCalls = 0;
    std::vector<bool> turned;
    std::vector<std::string> got;
    std::function<void(int)> beforeReceive, afterReceive;
};

TEST_F(DatagramBurst, WaitingDatagramsAreDeliveredInOneTurnOfTheLoop)
{
    SendBurst();
    ASSERT_TRUE(QTest::qWaitFor([&] { return got.size() == kBurst; }, 5000));
    EXPECT_EQ(got, Expected(kBurst));
    EXPECT_EQ(std::vector<bool>(turned.begin() + 1, turned.end()), std::vector<bool>(kBurst - 1, false));
}

TEST_F(DatagramBurst, WithItsTimeUsedUpTheLoopHasATurnAfterEachDatagram)
{
    sockets::SetDatagramDrainBudgetForTesting(std::chrono::nanoseconds(0));
    SendBurst();
    ASSERT_TRUE(QTest::qWaitFor([&] { return got.size() == kBurst; }, 5000));
    EXPECT_EQ(got, Expected(kBurst));
    EXPECT_EQ(std::vector<bool>(turned.begin() + 1, turned.end()), std::vector<bool>(kBurst - 1, true));
}

TEST_F(DatagramBurst, AHandlerThatRunsANestedLoopBeforeItReadsEndsTheTurn)
{
    // Like a message box opened before the receive: inside it the unread datagram is not
    // reported again, and afterwards the loop has its turn before the next datagram.
    beforeReceive = [](int index) {
        if (index != 2)
            return;
        QEventLoop box;
        QTimer::singleShot(20, &box, &QEventLoop::quit);
        box.exec();
    };
    SendBurst();
    ASSERT_TRUE(QTest::qWaitFor([&] { return got.size() == kBurst; }, 5000));
    EXPECT_EQ(got, Expected(kBurst));
    EXPECT_EQ(nestedCalls, 0);
    ASSERT_EQ(turned.size(), static_cast<size_t>(kBurst));
    EXPECT_TRUE(turned[3]) << "the burst went on after the nested loop";
    EXPECT_FALSE(turned[4]) << "the rest is again one turn";
}

struct StopCase {
    const char* name;
    void (*stop)(CAsyncSocket& socket);
};

class DatagramBurstStop : public DatagramBurst, public ::testing::WithParamInterface<StopCase> {};

TEST_P(DatagramBurstStop, NothingMoreIsDeliveredAfterTheHandlerStopsTheSocket)
{
    afterReceive = [this](int index) {
        if (index == 2)
            GetParam().stop(socket);
    };
    SendBurst();
    ASSERT_TRUE(QTest::qWaitFor([&] { return got.size() == 3; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(got, Expected(3));
    EXPECT_EQ(socket.receives, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, DatagramBurstStop,
    ::testing::Values(StopCase{"Close", [](CAsyncSocket& s) { s.Close(); }},
                      StopCase{"NotificationsOff", [](CAsyncSocket& s) { s.AsyncSelect(0); }}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

}  // namespace
