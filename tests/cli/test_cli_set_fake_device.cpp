// set against the test's own devices on 127.0.0.1: success only when the device reports the
// settings, bounded retries, nothing sent for bad input or nonsense, twins refused.

#include "cli/ExitCode.h"
#include "link/Datagram.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/FakeDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Args = std::vector<std::string>;

const char* const kMac = "00:A0:B1:C2:00:10";  // FakeSettings' default

TEST(SetRequest, CarriesTheFieldsGivenAndKeepsTheOthersAfterALostSave)
{
    FakeAnswers answers;
    answers.ignoredSaves = 1;
    FakeDevice device({}, answers);
    const CliRun run = RunCliCapturing({"set", kMac, "--gateway", "10.0.0.254", "--dhcp", "on", "--timeout", "0.3"},
                                       LoopbackNetwork(device.port()));
    EXPECT_EQ(run.exitCode, kExitSuccess) << run.err;
    EXPECT_EQ(device.savesReceived(), 2);

    std::vector<SaveRequestFields> saves;
    for (const std::string& datagram : device.received())
        if (const auto save = ReadSaveRequest(datagram.data(), datagram.size()))
            saves.push_back(*save);
    ASSERT_EQ(saves.size(), 2u);
    const FakeSettings before;
    for (const SaveRequestFields& save : saves) {
        EXPECT_EQ(save.mac12, before.mac12);
        EXPECT_EQ(save.ip, before.ip);
        EXPECT_EQ(save.mask, before.mask);
        EXPECT_EQ(save.gateway, 0x0A0000FEu);
        EXPECT_EQ(save.port, before.port);
        EXPECT_TRUE(save.dhcp);
    }
}

struct Silence {
    const char* name;
    FakeAnswers answers;
    int searches;  // search requests the device must have seen at least (each search repeats them)
    int saves;
    const char* message;
};

class SetWithoutAnswer : public testing::TestWithParam<Silence> {};

TEST_P(SetWithoutAnswer, FailsAfterItsRetries)
{
    FakeDevice device({}, GetParam().answers);
    const CliRun run = RunCliCapturing({"set", kMac, "--ip", "10.0.0.9", "--timeout", "0.2"},
                                       LoopbackNetwork(device.port()));
    EXPECT_EQ(run.exitCode, kExitDevice);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_GE(device.searchesReceived(), GetParam().searches);
    EXPECT_EQ(device.savesReceived(), GetParam().saves);
}

FakeAnswers Answers(bool search, bool save, bool applySave)
{
    FakeAnswers answers;
    answers.search = search;
    answers.save = save;
    answers.applySave = applySave;
    return answers;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetWithoutAnswer,
    testing::Values(
        Silence{"Absent", Answers(false, false, false), 2, 0, "no device 00:A0:B1:C2:00:10 answered within 0.2 s"},
        Silence{"NoSaveReply", Answers(true, false, false), 2, 3,
                "00:A0:B1:C2:00:10 did not confirm 3 save requests"},
        Silence{"KeepsOldSettings", Answers(true, true, false), 8, 1,
                "does not report the new settings:\n  ip: asked 10.0.0.9, the device reports 10.0.0.5"}),
    [](const testing::TestParamInfo<Silence>& info) { return info.param.name; });

TEST(SetBadInput, SendsNothing)
{
    FakeDevice device;
    for (const Args& arguments :
         {Args{"set", "00A0B1C2001", "--ip", "10.0.0.9"}, Args{"set", kMac, "--ip", "10.0.0.300"},
          Args{"set", kMac, "--port", "65536"}, Args{"set", kMac}, Args{"set", kMac, "--dhcp", "maybe"}}) {
        const CliRun run = RunCliCapturing(arguments, LoopbackNetwork(device.port()));
        EXPECT_EQ(run.exitCode, kExitUsage) << run.err;
    }
    // A search afterwards: once it has arrived, anything the refused lines sent would have too.
    RunCliCapturing({"list", "--timeout", "0.1"}, LoopbackNetwork(device.port()));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (device.received().empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    const std::vector<std::string> received = device.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(ReadSearchRequest(received[0].data(), received[0].size()));
    EXPECT_EQ(device.settings().ip, FakeSettings().ip);
}

TEST(SetTwins, TwoDevicesAnsweringForOneMacAreNamedAndNeitherIsWritten)
{
    // A cloned unit: a second record for the same MAC, at another address.
    const FakeSettings settings;
    FakeAnswers answers;
    answers.twinReply = BuildSearchReply(settings.mac12, 0x0A000006, settings.mask, settings.gateway, settings.port,
                                         false, settings.version, 7);
    FakeDevice device(settings, answers);
    const CliRun run = RunCliCapturing({"set", kMac, "--gateway", "10.0.0.254", "--timeout", "0.3"},
                                       LoopbackNetwork(device.port()));
    EXPECT_EQ(run.exitCode, kExitDevice) << run.err;
    EXPECT_NE(run.err.find("2 devices answer for 00:A0:B1:C2:00:10"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("at 10.0.0.5"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("at 10.0.0.6"), std::string::npos) << run.err;
    EXPECT_EQ(device.savesReceived(), 0);
}

TEST(SetDhcp, SucceedsWhenTheDeviceReportsItsLeaseInPlaceOfTheOldAddress)
{
    FakeAnswers answers;
    answers.leaseIp = 0x0A000063;  // 10.0.0.99
    FakeDevice device({}, answers);
    const CliRun run = RunCliCapturing({"set", kMac, "--dhcp", "on", "--timeout", "0.3"},
                                       LoopbackNetwork(device.port()));
    EXPECT_EQ(run.exitCode, kExitSuccess) << run.err;
    EXPECT_TRUE(device.settings().dhcp);
    EXPECT_EQ(device.settings().ip, FakeSettings().ip);
}

struct Guard {
    const char* name;
    Args options;
    const char* rule;
};

class SetGuard : public testing::TestWithParam<Guard> {};

// Each nonsense setting is refused before anything is sent; --force writes it all the same.
TEST_P(SetGuard, RefusesBeforeSendingAndForceWritesIt)
{
    // The device, and with each of its answers a neighbour's at 10.0.0.7, an address in use.
    FakeSettings other;
    other.mac12 = "00A0B1C20011";
    other.ip = 0x0A000007;
    FakeAnswers answers;
    answers.twinReply = BuildSearchReply(other.mac12, other.ip, other.mask, other.gateway, other.port, false,
                                         other.version, 7);
    FakeDevice both({}, answers);

    Args refused{"set", kMac, "--timeout", "0.3"};
    refused.insert(refused.end(), GetParam().options.begin(), GetParam().options.end());
    const CliRun run = RunCliCapturing(refused, LoopbackNetwork(both.port()));
    EXPECT_EQ(run.exitCode, kExitUsage) << run.err;
    EXPECT_NE(run.err.find(GetParam().rule), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--force"), std::string::npos) << run.err;
    EXPECT_EQ(both.savesReceived(), 0);

    Args forced = refused;
    forced.push_back("--force");
    const CliRun written = RunCliCapturing(forced, LoopbackNetwork(both.port()));
    EXPECT_GT(both.savesReceived(), 0) << written.err;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SetGuard,
    testing::Values(Guard{"HoledMask", {"--mask", "255.0.255.0"}, "mask"},
                    Guard{"GatewayElsewhere", {"--gateway", "192.168.1.1"}, "gateway"},
                    Guard{"BroadcastAddress", {"--ip", "10.0.0.255"}, "broadcast"},
                    Guard{"AddressInUse", {"--ip", "10.0.0.7"}, "10.0.0.7"}),
    [](const testing::TestParamInfo<Guard>& info) { return info.param.name; });

} // namespace
