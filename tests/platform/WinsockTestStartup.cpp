// Starts Winsock once for a test program on Windows, as the program's start-up does.
#include "platform/sockets/WinSock.h"

#include <gtest/gtest.h>

namespace {

class WinsockStartup : public ::testing::Environment {
public:
    void SetUp() override
    {
        WSADATA data{};
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
};

const auto* const g_startup = ::testing::AddGlobalTestEnvironment(new WinsockStartup);

}  // namespace
