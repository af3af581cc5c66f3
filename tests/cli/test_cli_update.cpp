// update against devsim's download port on 127.0.0.1: the device's verdict, a connection
// refused or ended early, a status never recognised, and the progress bar.

#include "cli/ExitCode.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/DevsimNetwork.h"
#include "tests/cli/ImageFolder.h"
#include "tests/devsim/DevsimProcess.h"

#include <gtest/gtest.h>

namespace {

CliRun Update(const std::string& image, const CliNetwork& network, const std::string& timeout = "10",
              bool terminal = false)
{
    return RunCliCapturing({"update", "127.0.0.1", image, "--timeout", timeout}, network, terminal);
}

struct Verdict {
    const char* name;
    std::vector<QString> devsimOptions;
    int exitCode;
    const char* message;
    const char* result;  // in the report
};

class UpdateAgainstDevsim : public testing::TestWithParam<Verdict> {};

TEST_P(UpdateAgainstDevsim, EndsWithTheDevicesVerdictOrTheConnectionsEnd)
{
    QStringList options{"--quiet"};
    for (const QString& option : GetParam().devsimOptions)
        options << option;
    DevsimProcess devsim(options);
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("fw/Brimnet_v1.2.bin"), DevsimNetwork(devsim));
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    // 127.0.0.1 is none of the devices' own addresses, so the search does not find it there.
    EXPECT_EQ(run.out.rfind(std::string("-  127.0.0.1  ") + GetParam().result + "  (", 0), 0u) << run.out;
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateAgainstDevsim,
    testing::Values(
        Verdict{"Success", {}, kExitSuccess, "the device reported success", "updated"},
        Verdict{"SplitStatus", {"--split-status"}, kExitSuccess, "the device reported success", "updated"},
        Verdict{"Failure", {"--nak-before-request"}, kExitDevice, "the device reported failure", "failed"},
        Verdict{"ClosedMidTransfer", {"--close-mid-transfer"}, kExitConnection, "127.0.0.1 port", "failed"},
        Verdict{"ResetMidTransfer", {"--reset"}, kExitConnection, "127.0.0.1 port", "failed"}),
    [](const testing::TestParamInfo<Verdict>& info) { return info.param.name; });

TEST(UpdateConnection, RefusedNamesTheDevice)
{
    DevsimProcess devsim({"--refuse", "--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("Brimnet_v1.bin"), DevsimNetwork(devsim));
    EXPECT_EQ(run.exitCode, kExitConnection);
    EXPECT_NE(run.err.find("127.0.0.1 port " + std::to_string(devsim.tcpPort()) + " refused the connection"),
              std::string::npos)
        << run.err;
}

TEST(UpdateConnection, AStatusThatIsNeverRecognisedEndsAtOnce)
{
    // An unknown status stays in the reply text, so no status can ever be framed after it: the
    // dialog waits for ever there, the tool ends at once instead of waiting out its timeout.
    DevsimProcess devsim({"--unknown-status", "--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("Brimnet_v1.bin"), DevsimNetwork(devsim), "600");
    EXPECT_EQ(run.exitCode, kExitDevice);
    EXPECT_NE(run.err.find("can never become one"), std::string::npos) << run.err;
}

TEST(UpdateProgress, IsDrawnOnATerminalOnly)
{
    DevsimProcess devsim({"--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const ImageFolder folder;
    const std::string image = folder.Write("Brimnet_v1.bin");

    const CliRun terminal = Update(image, DevsimNetwork(devsim), "10", true);
    ASSERT_EQ(terminal.exitCode, kExitSuccess) << terminal.err;
    EXPECT_NE(terminal.err.find("\r[##############################] 100%  200000/200000 bytes  "), std::string::npos)
        << terminal.err;

    const CliRun quiet = Update(image, DevsimNetwork(devsim), "10", false);
    ASSERT_EQ(quiet.exitCode, kExitSuccess) << quiet.err;
    EXPECT_EQ(quiet.err, "lanvista-cli: the device reported success\n");
}

} // namespace
