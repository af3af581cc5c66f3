// set against devsim on 127.0.0.1: only the fields given change, and late copies of a reply
// do not pass for the device's answer.

#include "cli/ExitCode.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/DevsimNetwork.h"
#include "tests/devsim/DevsimProcess.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>


namespace {

using Args = std::vector<std::string>;

nlohmann::json Devices(const DevsimProcess& devsim)
{
    const CliRun run = RunCliCapturing({"list", "--timeout", "0.5", "--json"}, DevsimNetwork(devsim));
    EXPECT_EQ(run.exitCode, kExitSuccess) << run.err;
    nlohmann::json byMac = nlohmann::json::object();
    for (const nlohmann::json& device : nlohmann::json::parse(run.out))
        byMac[device["mac"].get<std::string>()] = device;
    return byMac;
}

struct FieldChange {
    Args options;
    const char* key;
    nlohmann::json value;
};

class SetOneField : public testing::TestWithParam<FieldChange> {};

TEST_P(SetOneField, ChangesThatFieldOfThatDeviceAlone)
{
    DevsimProcess devsim({"--devices", "3", "--first-mac", "00:1A:2B:3C:4D:01", "--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    nlohmann::json expected = Devices(devsim);
    ASSERT_EQ(expected.size(), 3u);

    Args arguments{"set", "00:1a:2b:3c:4d:02", "--timeout", "0.5"};
    arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
    const CliRun run = RunCliCapturing(arguments, DevsimNetwork(devsim));
    EXPECT_EQ(run.exitCode, kExitSuccess) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("00:1A:2B:3C:4D:02 saved and confirmed"), std::string::npos) << run.err;

    expected["00:1A:2B:3C:4D:02"][GetParam().key] = GetParam().value;
    EXPECT_EQ(Devices(devsim), expected);
}

INSTANTIATE_TEST_SUITE_P(Fields, SetOneField,
                         testing::Values(FieldChange{{"--ip", "192.168.0.140"}, "ip", "192.168.0.140"},
                                         FieldChange{{"--mask", "255.255.0.0"}, "mask", "255.255.0.0"},
                                         FieldChange{{"--gateway", "192.168.0.254"}, "gateway", "192.168.0.254"},
                                         FieldChange{{"--port", "65535"}, "port", 65535},
                                         FieldChange{{"--dhcp", "on"}, "dhcp", true}));

TEST(SetAgainstDevsim, SucceedsWhenEveryReplyComesThreeTimes)
{
    // Late copies of the first reply reach the read-back; they must not pass for it.
    DevsimProcess devsim({"--devices", "2", "--first-mac", "00:1A:2B:3C:4D:01", "--duplicate", "3", "--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const CliRun run = RunCliCapturing({"set", "001A2B3C4D01", "--ip", "192.168.0.111", "--port", "4001", "--timeout", "0.5"},
                                       DevsimNetwork(devsim));
    EXPECT_EQ(run.exitCode, kExitSuccess) << run.err;
    const nlohmann::json device = Devices(devsim)["00:1A:2B:3C:4D:01"];
    EXPECT_EQ(device["ip"], "192.168.0.111");
    EXPECT_EQ(device["port"], 4001);
}

} // namespace
