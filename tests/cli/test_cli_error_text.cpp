// The socket layer's error numbers in words, the same words on Linux and Windows, with what
// they mean for the tool and the number after.
#include "cli/ErrorText.h"
#include "platform/sockets/WinSock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    int error;
    const char* start;  // what the text begins with
};

class SocketErrorWords : public testing::TestWithParam<Case> {};

TEST_P(SocketErrorWords, ComeFirstWithTheNumberAfter)
{
    const std::string text = SocketErrorText(GetParam().error);
    EXPECT_EQ(text.find(GetParam().start), 0u) << text;
    const std::string number = "(socket error " + std::to_string(GetParam().error) + ")";
    EXPECT_EQ(text.rfind(number), text.size() - number.size()) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Layer, SocketErrorWords,
    testing::Values(Case{WSAENETUNREACH, "network is unreachable: no adapter leads there"},
                    Case{WSAECONNREFUSED, "connection refused: the device does not take downloads"},
                    Case{WSAEADDRINUSE, "address already in use: another program holds the port"},
                    Case{WSAETIMEDOUT, "connection timed out: the device did not answer in time"},
                    Case{WSAECONNRESET, "connection reset by peer: the device broke the connection off"},
                    Case{WSAEINVAL, "invalid argument ("},
                    Case{WSAENOTSOCK, "socket operation on non-socket ("},
                    // A number no system knows still reads as an error.
                    Case{99999, "unknown error ("}));

TEST(SocketErrorWords, OfANumberTheSystemPassesOnAreTheSystemsOwn)
{
    // 5 is an errno on Linux (EIO) and a system error on Windows (ERROR_ACCESS_DENIED): the
    // words are the system's, whichever it is, never blank.
    const std::string text = SocketErrorText(5);
    EXPECT_NE(text.find(" (socket error 5)"), std::string::npos) << text;
    EXPECT_EQ(text.find("unknown error"), std::string::npos) << text;
}

}  // namespace
