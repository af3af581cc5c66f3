#include "platform/sockets/WinSock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

namespace {

struct ErrnoCase {
    int err;
    int wsa;
};

class WsaErrorFromErrnoTest : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(WsaErrorFromErrnoTest, MapsToWindowsNumber)
{
    EXPECT_EQ(WsaErrorFromErrno(GetParam().err), GetParam().wsa);
}

INSTANTIATE_TEST_SUITE_P(Table, WsaErrorFromErrnoTest,
                         ::testing::Values(ErrnoCase{EWOULDBLOCK, 10035}, ErrnoCase{EAGAIN, 10035},
                                           ErrnoCase{EINPROGRESS, 10036}, ErrnoCase{EBADF, 10038},
                                           ErrnoCase{ENOTSOCK, 10038}, ErrnoCase{EMSGSIZE, 10040},
                                           ErrnoCase{EADDRINUSE, 10048}, ErrnoCase{EADDRNOTAVAIL, 10049},
                                           ErrnoCase{ENETDOWN, 10050}, ErrnoCase{ENETUNREACH, 10051},
                                           ErrnoCase{ECONNABORTED, 10053}, ErrnoCase{ECONNRESET, 10054},
                                           ErrnoCase{EPIPE, 10054}, ErrnoCase{ENOTCONN, 10057},
                                           ErrnoCase{ETIMEDOUT, 10060}, ErrnoCase{ECONNREFUSED, 10061},
                                           ErrnoCase{EHOSTUNREACH, 10065}, ErrnoCase{EACCES, 10013},
                                           ErrnoCase{EINVAL, 10022}, ErrnoCase{EMFILE, 10024},
                                           // Unmapped values pass through unchanged.
                                           ErrnoCase{ENOENT, ENOENT}, ErrnoCase{0, 0}));

TEST(WsaErrorConstants, HaveTheWindowsValues)
{
    EXPECT_EQ(WSAEWOULDBLOCK, 10035);
    EXPECT_EQ(WSAENOTSOCK, 10038);
    EXPECT_EQ(WSAEADDRINUSE, 10048);
    EXPECT_EQ(WSAECONNREFUSED, 10061);
    EXPECT_EQ(FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE, 63);
    EXPECT_EQ(SD_RECEIVE, 0);
    EXPECT_EQ(SD_SEND, 1);
    EXPECT_EQ(SD_BOTH, 2);
    EXPECT_EQ(INVALID_SOCKET, -1);
    EXPECT_EQ(SOCKET_ERROR, -1);
    EXPECT_EQ(sizeof(SOCKADDR_IN), 16u);
}

// No call is made between a set and the read that checks it: on Windows the number is the
// thread's last error, which any system call (a thread's start or join) may overwrite.
TEST(WsaLastError, IsPerThread)
{
    std::atomic<bool> mainSet{false}, otherSet{false};
    int seenByOtherThread = -1;
    std::thread other([&] {
        while (!mainSet.load())
            ;
        seenByOtherThread = WSAGetLastError();
        WSASetLastError(10061);
        otherSet = true;
    });
    WSASetLastError(10054);
    mainSet = true;
    while (!otherSet.load())
        ;
    const int seenHere = WSAGetLastError();
    other.join();
    EXPECT_EQ(seenByOtherThread, 0);
    EXPECT_EQ(seenHere, 10054);
}

}  // namespace
