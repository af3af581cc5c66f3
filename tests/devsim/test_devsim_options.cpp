// devsim's command line: help, refusal of bad values, and a port that is taken.

#include "tests/devsim/DevsimProcess.h"

#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 10000;

struct DevsimRun {
    bool finished = false;
    int exitCode = -1;
    QString out;
};

// Runs devsim to its end; options that make it listen must not be given here.
DevsimRun RunDevsim(const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(DevsimProcess::executablePath(), arguments);
    DevsimRun run;
    run.finished = process.waitForStarted(kTimeoutMs) && process.waitForFinished(kTimeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(kTimeoutMs);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    return run;
}

TEST(DevsimOptionsTest, HelpNamesEveryOption)
{
    const DevsimRun run = RunDevsim({"--help"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option :
         {"--devices", "--first-mac", "--first-ip", "--dhcp", "--firmware-version", "--version-after-update", "--bind", "--udp-port",
          "--tcp-port", "--no-tcp", "--quiet", "--bad-checksum", "--lowercase-checksum", "--unknown-command",
          "--empty-datagram", "--duplicate", "--delay", "--short-reply", "--nak-before-request",
          "--split-status", "--unknown-status", "--close-mid-transfer", "--refuse", "--slow-reader", "--reset",
          "--garbage-status", "--version"})
        EXPECT_TRUE(run.out.contains(QLatin1String(option))) << option;
}

class BadOptionTest : public testing::TestWithParam<QStringList> {};

TEST_P(BadOptionTest, EndsWithAnErrorInsteadOfListening)
{
    const DevsimRun run = RunDevsim(GetParam());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.out.contains(QLatin1String("devsim ready")));
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadOptionTest,
    testing::Values(QStringList{"--devices", "0"}, QStringList{"--devices", "many"},
                    QStringList{"--first-mac", "00:1A:2B:3C:4D"}, QStringList{"--first-mac", "00:1A:2B:3C:4D:0G"},
                    // The second device would need a MAC beyond FF:FF:FF:FF:FF:FF.
                    QStringList{"--first-mac", "FF:FF:FF:FF:FF:FF", "--devices", "2"},
                    QStringList{"--first-ip", "192.168.0.256"}, QStringList{"--first-ip", "255.255.255.255", "--devices", "2"},
                    QStringList{"--firmware-version", "3.7"}, QStringList{"--version-after-update", "newest"},
                    QStringList{"--udp-port", "65536"},
                    QStringList{"--duplicate", "0"}, QStringList{"--delay", "-1"}, QStringList{"--garbage-status", "0"},
                    QStringList{"--refuse", "--no-tcp"}, QStringList{"--no-such-option"}));

TEST(DevsimOptionsTest, TakenUdpPortEndsDevsimAndTheHelperSaysSoAtOnce)
{
    DevsimProcess first;
    ASSERT_TRUE(first.isReady()) << first.errorText().toStdString();

    QElapsedTimer clock;
    clock.start();
    DevsimProcess second({"--udp-port", QString::number(first.udpPort())}, kTimeoutMs);
    EXPECT_FALSE(second.isReady());
    EXPECT_TRUE(second.errorText().contains(QLatin1String("exited with code 1"))) << second.errorText().toStdString();
    EXPECT_LT(clock.elapsed(), kTimeoutMs) << "the helper waited out its deadline for a devsim that had ended";
}

} // namespace
