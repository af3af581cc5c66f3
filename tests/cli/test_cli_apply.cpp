// apply against devsim's devices on 127.0.0.1: list's output edited and applied, a second run
// that writes nothing, the dry run, the JSON report, absent devices and refused plans.

#include "cli/ExitCode.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/DevsimNetwork.h"
#include "tests/devsim/DevsimProcess.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

using Args = std::vector<std::string>;

class ApplyAgainstDevsim : public testing::Test {
protected:
    DevsimProcess devsim{{"--devices", "3", "--first-mac", "02:4C:56:00:00:01", "--first-ip", "10.0.0.11",
                          "--quiet"}};
    const std::string planPath =
        (std::filesystem::temp_directory_path() / ("lanvista-plan-" + std::to_string(::getpid()))).string();

    void SetUp() override { ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString(); }
    void TearDown() override { std::filesystem::remove(planPath); }

    CliRun Run(Args arguments) { return RunCliCapturing(arguments, DevsimNetwork(devsim)); }

    std::string ListCsv()
    {
        const CliRun list = Run({"list", "--csv", "--timeout", "0.3"});
        EXPECT_EQ(list.exitCode, kExitSuccess) << list.err;
        return list.out;
    }

    void WritePlan(const std::string& text) { std::ofstream(planPath) << text; }

    CliRun Apply(Args options = {})
    {
        Args arguments{"apply", planPath, "--timeout", "0.3"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return Run(arguments);
    }

    nlohmann::json Device(const std::string& mac)
    {
        const CliRun list = Run({"list", "--json", "--timeout", "0.3", "--mac", mac});
        const nlohmann::json devices = nlohmann::json::parse(list.out);
        return devices.empty() ? nlohmann::json() : devices[0];
    }
};

// list --csv's output with one device's port edited.
std::string WithPort(std::string csv, const std::string& mac, const std::string& port)
{
    const std::size_t line = csv.find(mac);
    const std::size_t old = csv.find(",9100,", line);
    return csv.replace(old, 6, "," + port + ",");
}

TEST_F(ApplyAgainstDevsim, ListsCsvEditedIsAppliedAndASecondRunWritesNothing)
{
    WritePlan(WithPort(ListCsv(), "02:4C:56:00:00:02", "4001"));

    const CliRun first = Apply();
    ASSERT_EQ(first.exitCode, kExitSuccess) << first.err << first.out;
    EXPECT_NE(first.out.find("02:4C:56:00:00:01  unchanged\n"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("02:4C:56:00:00:02  changed  port 9100 -> 4001\n"), std::string::npos) << first.out;
    EXPECT_EQ(Device("02:4C:56:00:00:02")["port"], 4001);

    const CliRun second = Apply({"--json"});
    ASSERT_EQ(second.exitCode, kExitSuccess) << second.err;
    const nlohmann::json report = nlohmann::json::parse(second.out);
    ASSERT_EQ(report.size(), 3u);
    for (const nlohmann::json& device : report) {
        EXPECT_EQ(device["result"], "unchanged") << device.dump();
        EXPECT_TRUE(device["changes"].empty()) << device.dump();
    }
}

TEST_F(ApplyAgainstDevsim, DryRunSaysWhatWouldChangeAndWritesNothing)
{
    WritePlan("mac,ip,port\n02:4C:56:00:00:03,10.0.0.99,4003\n");
    const CliRun run = Apply({"--dry-run", "--json"});
    ASSERT_EQ(run.exitCode, kExitSuccess) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    ASSERT_EQ(report.size(), 1u);
    EXPECT_EQ(report[0]["result"], "would change");
    EXPECT_EQ(report[0]["changes"]["ip"], nlohmann::json({{"before", "10.0.0.13"}, {"after", "10.0.0.99"}}));
    EXPECT_EQ(report[0]["changes"]["port"], nlohmann::json({{"before", "9100"}, {"after", "4003"}}));
    EXPECT_EQ(Device("02:4C:56:00:00:03")["ip"], "10.0.0.13");
}

TEST_F(ApplyAgainstDevsim, AnAbsentDeviceIsReportedAndFailsTheRunButTheOthersAreWritten)
{
    WritePlan("[{\"mac\": \"02:4C:56:00:00:09\", \"port\": 4009}, {\"mac\": \"02:4C:56:00:00:01\", \"port\": 4001}]");
    const CliRun run = Apply();
    EXPECT_EQ(run.exitCode, kExitDevice) << run.err;
    EXPECT_NE(run.out.find("02:4C:56:00:00:09  absent  (did not answer within 0.3 s)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("02:4C:56:00:00:01  changed  port 9100 -> 4001"), std::string::npos) << run.out;
}

TEST_F(ApplyAgainstDevsim, RefusesBeforeAnySaveAnAddressADeviceOutsideThePlanReports)
{
    WritePlan("mac,ip,port\n02:4C:56:00:00:01,10.0.0.13,4001\n");
    const CliRun run = Apply();
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_NE(run.err.find("line 2: 02:4C:56:00:00:01: address 10.0.0.13 is already reported"), std::string::npos)
        << run.err;
    EXPECT_EQ(Device("02:4C:56:00:00:01")["port"], 9100);

    // Moved out of the way in the same plan, the address is free to take.
    WritePlan("mac,ip\n02:4C:56:00:00:01,10.0.0.13\n02:4C:56:00:00:03,10.0.0.23\n");
    const CliRun swap = Apply();
    EXPECT_EQ(swap.exitCode, kExitSuccess) << swap.err << swap.out;
    EXPECT_EQ(Device("02:4C:56:00:00:01")["ip"], "10.0.0.13");
}

TEST_F(ApplyAgainstDevsim, JudgesByTheRulesOnlyWhatWouldChangeAndForceWritesIt)
{
    // The device's own gateway kept as it is is no change, and so no rule's business.
    WritePlan("mac,mask,gateway\n02:4C:56:00:00:02,255.0.255.0,0.0.0.0\n02:4C:56:00:00:01,255.255.255.0,10.0.0.1\n");
    const CliRun refused = Apply();
    EXPECT_EQ(refused.exitCode, kExitUsage);
    EXPECT_NE(refused.err.find("line 2: 02:4C:56:00:00:02: mask 255.0.255.0"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("line 3"), std::string::npos) << refused.err;
    EXPECT_EQ(Device("02:4C:56:00:00:02")["mask"], "255.255.255.0");

    const CliRun forced = Apply({"--force"});
    EXPECT_EQ(forced.exitCode, kExitSuccess) << forced.err;
    EXPECT_EQ(Device("02:4C:56:00:00:02")["mask"], "255.0.255.0");
}

TEST_F(ApplyAgainstDevsim, AnUnreadablePlanIsAUsageErrorNamingItsLines)
{
    WritePlan("mac,port\n02:4C:56:00:00:01,70000\n02:4C:56:00:00:01,4001\n");
    const CliRun run = Apply();
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_NE(run.err.find("line 2: port \"70000\" is not a port"), std::string::npos) << run.err;
    const CliRun missing = Run({"apply", planPath + ".nosuch"});
    EXPECT_EQ(missing.exitCode, kExitUsage);
    EXPECT_NE(missing.err.find("cannot read the plan"), std::string::npos) << missing.err;
}

} // namespace
