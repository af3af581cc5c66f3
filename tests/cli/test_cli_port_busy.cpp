// The tool's UDP port held by another program (an open Lanvista window, most likely): a clear
// message naming the port, nothing on stdout, its own exit code. Once in the test's process
// on a port of the test's own, once as the installed program on the devices' port 27700.

#include "cli/ExitCode.h"
#include "tests/cli/CliRun.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QProcess>

#include <gtest/gtest.h>

namespace {

// A UDP socket bound to the port on every address, as the dialog's endpoint binds it.
class PortHolder {
public:
    explicit PortHolder(std::uint16_t port)
    {
        m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        m_bound = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        socklen_t length = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~PortHolder() { ::close(m_fd); }
    bool bound() const { return m_bound; }
    std::uint16_t port() const { return m_port; }

private:
    int m_fd = -1;
    bool m_bound = false;
    std::uint16_t m_port = 0;
};

TEST(PortBusy, ListAndSetSayWhichPortAndWhyBeforeSendingAnything)
{
    const PortHolder holder(0);
    ASSERT_TRUE(holder.bound());
    CliNetwork network = LoopbackNetwork(9);
    network.localUdpPort = holder.port();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"list", "--json"}, std::vector<std::string>{"set", "00A0B1C20010", "--ip", "10.0.0.9"}}) {
        const CliRun run = RunCliCapturing(arguments, network);
        EXPECT_EQ(run.exitCode, kExitNetwork);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "lanvista-cli: UDP port " + std::to_string(holder.port()) +
                               " is already in use, most likely by an open Lanvista window; close it and try again\n");
    }
}

TEST(PortBusy, TheProgramOnPort27700)
{
    // Held by this test, or already by someone else: busy either way.
    const PortHolder holder(27700);
    QProcess cli;
    cli.start(qEnvironmentVariable("LANVISTA_CLI"), {"list", "--timeout", "0.2", "--json"});
    ASSERT_TRUE(cli.waitForFinished(10000)) << cli.errorString().toStdString();
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), kExitNetwork);
    EXPECT_EQ(cli.readAllStandardOutput().toStdString(), "");
    EXPECT_EQ(cli.readAllStandardError().toStdString(),
              "lanvista-cli: UDP port 27700 is already in use, most likely by an open Lanvista window; close it and "
              "try again\n");
}

TEST(Program, PrintsHelpAndVersionOnStdoutAndRefusesBadLinesOnStderr)
{
    const QString program = qEnvironmentVariable("LANVISTA_CLI");
    struct Case {
        QStringList arguments;
        int exitCode;
        bool stdoutEmpty;
        bool stderrEmpty;
    };
    for (const Case& c : {Case{{"--help"}, kExitSuccess, false, true}, Case{{"--version"}, kExitSuccess, false, true},
                          Case{{"list", "--timeout", "x"}, kExitUsage, true, false}}) {
        QProcess cli;
        cli.start(program, c.arguments);
        ASSERT_TRUE(cli.waitForFinished(10000)) << cli.errorString().toStdString();
        EXPECT_EQ(cli.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(cli.readAllStandardOutput().isEmpty(), c.stdoutEmpty) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(cli.readAllStandardError().isEmpty(), c.stderrEmpty) << c.arguments.join(' ').toStdString();
    }
}

} // namespace
