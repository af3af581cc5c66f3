#include "platform/sockets/AfxSocketInit.h"
#include "platform/GetTickCount.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(WSAStartup, GrantsTheRequestedVersionUpToTwoTwo)
{
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
    EXPECT_EQ(data.wHighVersion, MAKEWORD(2, 2));
    ASSERT_EQ(WSAStartup(MAKEWORD(3, 0), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 1), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(2, 1));
    EXPECT_EQ(WSAStartup(MAKEWORD(0, 9), &data), WSAVERNOTSUPPORTED);
    EXPECT_EQ(WSAStartup(MAKEWORD(1, 1), nullptr), WSAEFAULT);
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

TEST(AfxSocketInit, SucceedsWithVersionOneOne)
{
    WSADATA data;
    ASSERT_TRUE(AfxSocketInit(&data));
    EXPECT_EQ(LOBYTE(data.wVersion), 1);
    EXPECT_EQ(HIBYTE(data.wVersion), 1);
    EXPECT_TRUE(AfxSocketInit());
}

TEST(AfxSocketInit, FailsWhenStartUpFails)
{
    SetWSAStartupForTesting([](WORD, WSADATA*) { return WSAVERNOTSUPPORTED; });
    EXPECT_FALSE(AfxSocketInit());
    SetWSAStartupForTesting(nullptr);
    EXPECT_TRUE(AfxSocketInit());
}

TEST(AfxSocketInit, FailsAndReleasesWhenAnotherVersionIsGranted)
{
    // The fake starts the real layer so that the release can be counted.
    SetWSAStartupForTesting([](WORD, WSADATA* data) {
        WSADATA real;
        WSAStartup(MAKEWORD(2, 2), &real);
        data->wVersion = MAKEWORD(2, 2);
        data->wHighVersion = MAKEWORD(2, 2);
        return 0;
    });
    while (WSACleanup() == 0) {
    }
    EXPECT_FALSE(AfxSocketInit());
    SetWSAStartupForTesting(nullptr);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR) << "the granted start-up was not released";
}

#ifndef _WIN32
// Our own tick count. Windows has its own, which counts in steps of the system timer (10 to
// 16 ms), so a reading may run ahead of the elapsed time by up to one step.
TEST(GetTickCount, FollowsTheMonotonicClockInMilliseconds)
{
    const auto start = std::chrono::steady_clock::now();
    const DWORD first = GetTickCount();
    DWORD now = first;
    while (now - first < 20 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        now = GetTickCount();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(now - first, 20u);
    EXPECT_LE(now - first, static_cast<DWORD>(elapsed) + 2);
}
#endif

}  // namespace
