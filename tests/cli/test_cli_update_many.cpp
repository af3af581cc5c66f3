// update for several devices against devsim's devices on 127.0.0.x: the version rules (skip,
// refuse a downgrade), the confirmation by a search afterwards, and mixed outcomes.

#include "cli/ExitCode.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/DevsimNetwork.h"
#include "tests/cli/ImageFolder.h"
#include "tests/devsim/DevsimProcess.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <map>

namespace {

using Args = std::vector<std::string>;

// Each device's result and versions in a JSON report, by address.
struct Outcome {
    std::string result;
    nlohmann::json before;
    nlohmann::json after;
    nlohmann::json reason;
};

std::map<std::string, Outcome> ByAddress(const std::string& report)
{
    std::map<std::string, Outcome> outcomes;
    for (const nlohmann::json& device : nlohmann::json::parse(report))
        outcomes[device["address"].is_null() ? device["mac"].get<std::string>() : device["address"].get<std::string>()] =
            {device["result"], device["before"], device["after"], device["reason"]};
    return outcomes;
}

// Devices at 127.0.0.2 and on, which all run 3.07 until a download.
class UpdateMany : public testing::Test {
protected:
    void Start(QStringList options)
    {
        options << "--first-mac" << "02:4C:56:00:00:01" << "--quiet";
        if (!options.contains("--first-ip"))
            options << "--first-ip" << "127.0.0.2";
        devsim.emplace(options);
        ASSERT_TRUE(devsim->isReady()) << devsim->errorText().toStdString();
    }
    CliRun Run(Args arguments) { return RunCliCapturing(arguments, DevsimNetwork(*devsim)); }

    const ImageFolder folder;
    const std::string image = folder.Write("fw/Brimnet_v3.08.bin");
    std::optional<DevsimProcess> devsim;
};

TEST_F(UpdateMany, UpdatesWhatRunsAnOlderVersionAndSkipsWhatRunsTheImages)
{
    Start({"--devices", "3", "--version-after-update", "3.08"});

    // A dry run reports and downloads nothing: the run after it still finds 3.07.
    const CliRun dry = Run({"update", "--all", image, "--dry-run", "--json", "--timeout", "5"});
    ASSERT_EQ(dry.exitCode, kExitSuccess) << dry.err;
    const auto planned = ByAddress(dry.out);
    ASSERT_EQ(planned.size(), 3u) << dry.out;
    for (const auto& [address, outcome] : planned) {
        EXPECT_EQ(outcome.result, "would update") << address;
        EXPECT_EQ(outcome.before, "3.07") << address;
        EXPECT_EQ(outcome.after, "3.08") << address;
    }

    const CliRun one = Run({"update", "127.0.0.3", image, "--timeout", "5"});
    ASSERT_EQ(one.exitCode, kExitSuccess) << one.err;
    EXPECT_EQ(one.out, "02:4C:56:00:00:02  127.0.0.3  updated  3.07 -> 3.08\n");

    const CliRun all = Run({"update", "--all", image, "--parallel", "2", "--json", "--timeout", "5"});
    ASSERT_EQ(all.exitCode, kExitSuccess) << all.err;
    const auto outcomes = ByAddress(all.out);
    ASSERT_EQ(outcomes.size(), 3u) << all.out;
    for (const char* address : {"127.0.0.2", "127.0.0.4"}) {
        EXPECT_EQ(outcomes.at(address).result, "updated") << address;
        EXPECT_EQ(outcomes.at(address).before, "3.07") << address;
        EXPECT_EQ(outcomes.at(address).after, "3.08") << address;
    }
    EXPECT_EQ(outcomes.at("127.0.0.3").result, "skipped");
    EXPECT_EQ(outcomes.at("127.0.0.3").before, "3.08");
    EXPECT_EQ(outcomes.at("127.0.0.3").after, nullptr);

    // Once every device runs the image's version a run downloads nothing, unless forced.
    const CliRun again = Run({"update", "--all", image, "--json", "--timeout", "5"});
    ASSERT_EQ(again.exitCode, kExitSuccess) << again.err;
    for (const auto& [address, outcome] : ByAddress(again.out))
        EXPECT_EQ(outcome.result, "skipped") << address;

    const CliRun forced = Run({"update", "--mac", "02:4C:56:00:00:01", image, "--force", "--timeout", "5"});
    ASSERT_EQ(forced.exitCode, kExitSuccess) << forced.err;
    EXPECT_EQ(forced.out, "02:4C:56:00:00:01  127.0.0.2  updated  3.08 -> 3.08\n");
}

TEST_F(UpdateMany, RefusesADowngradeUnlessAllowed)
{
    Start({"--devices", "1", "--firmware-version", "3.09", "--version-after-update", "3.08"});

    const CliRun refused = Run({"update", "--mac", "024C56000001", image, "--timeout", "5"});
    EXPECT_EQ(refused.exitCode, kExitDevice) << refused.err;
    EXPECT_EQ(refused.out, "02:4C:56:00:00:01  127.0.0.2  refused  3.09  (runs 3.09, newer than the image's 3.08 "
                           "(--allow-downgrade downloads it))\n");

    // Had the refused run downloaded, the device would run 3.08 by now.
    const CliRun allowed = Run({"update", "--mac", "024C56000001", image, "--allow-downgrade", "--timeout", "5"});
    EXPECT_EQ(allowed.exitCode, kExitSuccess) << allowed.err;
    EXPECT_EQ(allowed.out, "02:4C:56:00:00:01  127.0.0.2  updated  3.09 -> 3.08\n");
}

TEST_F(UpdateMany, ADeviceThatReportsSuccessButKeepsItsVersionHasFailed)
{
    Start({"--devices", "2", "--version-after-update", "same"});

    const CliRun run = Run({"update", "--all", image, "--json", "--timeout", "1"});
    EXPECT_EQ(run.exitCode, kExitDevice) << run.err;
    for (const auto& [address, outcome] : ByAddress(run.out)) {
        EXPECT_EQ(outcome.result, "failed") << address;
        EXPECT_EQ(outcome.reason, "reported success but still runs 3.07") << address;
    }
    EXPECT_NE(run.err.find("lanvista-cli: 127.0.0.2: the device reported success"), std::string::npos) << run.err;
}

TEST_F(UpdateMany, OneDevicesFailureLeavesTheOthersToFinish)
{
    // devsim listens on 127.0.0.1 alone, so the device at 127.0.0.2 refuses every connection;
    // a MAC nobody answers for is absent.
    Start({"--devices", "2", "--first-ip", "127.0.0.1", "--bind", "127.0.0.1", "--version-after-update", "3.08"});

    const CliRun run = Run({"update", "127.0.0.2", "--mac", "02:4C:56:00:00:01", "--mac", "02:4C:56:00:00:99", image,
                            "--json", "--timeout", "2"});
    EXPECT_EQ(run.exitCode, kExitConnection) << run.err;
    const auto outcomes = ByAddress(run.out);
    ASSERT_EQ(outcomes.size(), 3u) << run.out;
    EXPECT_EQ(outcomes.at("127.0.0.1").result, "updated");
    EXPECT_EQ(outcomes.at("127.0.0.1").after, "3.08");
    EXPECT_EQ(outcomes.at("127.0.0.2").result, "failed");
    EXPECT_NE(outcomes.at("127.0.0.2").reason.get<std::string>().find("refused the connection"), std::string::npos)
        << run.out;
    EXPECT_EQ(outcomes.at("02:4C:56:00:00:99").result, "absent");
}

TEST_F(UpdateMany, ANameWithoutAVersionUpdatesUncheckedWithANote)
{
    Start({"--devices", "2", "--version-after-update", "same"});
    const std::string unversioned = folder.Write("Brimnet_v/image.bin");

    const CliRun run = Run({"update", "--all", unversioned, "--json", "--timeout", "5"});
    EXPECT_EQ(run.exitCode, kExitSuccess) << run.err;
    EXPECT_NE(run.err.find("holds no version"), std::string::npos) << run.err;
    for (const auto& [address, outcome] : ByAddress(run.out)) {
        EXPECT_EQ(outcome.result, "updated") << address;
        EXPECT_EQ(outcome.reason, "not confirmed: the image's file name holds no version") << address;
    }
}

} // namespace
