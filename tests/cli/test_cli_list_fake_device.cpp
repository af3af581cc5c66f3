// list against the test's own devices on 127.0.0.1: nobody answering, the requests it sends,
// and what it does with replies it must not show as they came.

#include "cli/ExitCode.h"
#include "link/Datagram.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/FakeDevice.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

TEST(ListNoDevice, IsAnEmptyListWithANoteOnStderrAndSuccess)
{
    FakeAnswers silent;
    silent.search = false;
    FakeDevice device({}, silent);
    for (const auto& [format, expected] :
         std::vector<std::pair<std::string, std::string>>{{"--json", "[]\n"},
                                                          {"--csv", "mac,ip,mask,gateway,port,dhcp,version,from,interface\n"}}) {
        const CliRun run = RunCliCapturing({"list", "--timeout", "0.2", format}, LoopbackNetwork(device.port()));
        EXPECT_EQ(run.exitCode, kExitSuccess);
        EXPECT_EQ(run.out, expected);
        EXPECT_NE(run.err.find("no device answered within 0.2 s"), std::string::npos) << run.err;
    }
    // Each list repeats its search within the timeout, so a lost request is made up for.
    EXPECT_GE(device.searchesReceived(), 4);
}

TEST(ListRequests, AreTheCoreSearchRequestsForAllOrOneMac)
{
    FakeDevice device;
    RunCliCapturing({"list", "--timeout", "0.2"}, LoopbackNetwork(device.port()));
    const std::size_t forAll = device.received().size();
    RunCliCapturing({"list", "--timeout", "0.2", "--mac", "00:a0:b1:c2:00:10"}, LoopbackNetwork(device.port()));
    const std::vector<std::string> received = device.received();
    ASSERT_GE(forAll, 1u);
    ASSERT_GT(received.size(), forAll);
    const auto all = ReadSearchRequest(received[0].data(), received[0].size());
    const auto one = ReadSearchRequest(received[forAll].data(), received[forAll].size());
    ASSERT_TRUE(all && one);
    EXPECT_EQ(received[0].size(), kDatagramSize);
    EXPECT_TRUE(all->all);
    EXPECT_FALSE(one->all);
    EXPECT_EQ(one->mac12, "00A0B1C20010");
}

// Replies the tool must not print as they came: a wrong seal, another device's answer to a
// search for one MAC, and text that would drive a terminal or break UTF-8.
TEST(ListReplies, DropsBadSealsAndForeignDevicesAndMakesDeviceTextPrintable)
{
    FakeSettings hostile;
    hostile.mac12 = "00A0B1\x1b[2J00";
    FakeAnswers answers;
    std::string reply = BuildSearchReply(hostile.mac12, hostile.ip, hostile.mask, hostile.gateway, hostile.port,
                                         hostile.dhcp, "3.07", 1);
    reply[61] = '\x9b';  // a C1 control byte in the version field
    answers.searchReply = SealReply(reply);
    FakeDevice device(hostile, answers);

    const CliRun json = RunCliCapturing({"list", "--timeout", "0.3", "--json"}, LoopbackNetwork(device.port()));
    ASSERT_EQ(json.exitCode, kExitSuccess) << json.err;
    const nlohmann::json list = nlohmann::json::parse(json.out);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["mac"], "00:A0:B1:?[:2J:00");
    EXPECT_EQ(list[0]["version"], "?.07");
    const CliRun table = RunCliCapturing({"list", "--timeout", "0.3"}, LoopbackNetwork(device.port()));
    EXPECT_EQ(table.out.find('\x1b'), std::string::npos);

    FakeAnswers badSeal;
    badSeal.searchReply = reply;  // edited after sealing
    FakeDevice unsealed({}, badSeal);
    const CliRun dropped = RunCliCapturing({"list", "--timeout", "0.3", "--json"}, LoopbackNetwork(unsealed.port()));
    EXPECT_EQ(dropped.out, "[]\n");

    FakeAnswers wrongDevice;
    wrongDevice.searchReply = BuildSearchReply("00A0B1C20099", 1, 2, 3, 4, false, "3.07", 1);
    FakeDevice other({}, wrongDevice);
    const CliRun foreign = RunCliCapturing({"list", "--timeout", "0.3", "--json", "--mac", "00A0B1C20010"},
                                           LoopbackNetwork(other.port()));
    EXPECT_EQ(foreign.out, "[]\n");
}

} // namespace
