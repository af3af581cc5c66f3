// list against devsim on 127.0.0.1: every device or one MAC, in the table, JSON and CSV, and
// what -v says of the datagrams it sets aside.

#include "cli/ExitCode.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/DevsimNetwork.h"
#include "tests/devsim/DevsimProcess.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <streambuf>

namespace {

const char* const kTimeout = "0.5";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class ListAgainstDevsim : public testing::Test {
protected:
    DevsimProcess devsim{{"--devices", "3", "--first-mac", "00:1A:2B:3C:4D:01", "--first-ip", "192.168.0.101",
                          "--firmware-version", "3.07", "--quiet"}};

    void SetUp() override { ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString(); }

    CliRun List(std::vector<std::string> options)
    {
        std::vector<std::string> arguments{"list", "--timeout", kTimeout};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return RunCliCapturing(arguments, DevsimNetwork(devsim));
    }
};

TEST_F(ListAgainstDevsim, JsonHasEveryDeviceWithExactlyTheDocumentedKeysAndTypes)
{
    const CliRun run = List({"--json"});
    ASSERT_EQ(run.exitCode, kExitSuccess) << run.err;
    EXPECT_EQ(run.err, "");
    const nlohmann::json list = nlohmann::json::parse(run.out);
    ASSERT_TRUE(list.is_array());
    ASSERT_EQ(list.size(), 3u);

    std::vector<std::string> macs;
    for (const nlohmann::json& device : list) {
        ASSERT_TRUE(device.is_object());
        EXPECT_EQ(device.size(), 9u) << device.dump();
        for (const char* key : {"mac", "ip", "mask", "gateway", "version", "from", "interface"})
            EXPECT_TRUE(device.at(key).is_string()) << key << " in " << device.dump();
        EXPECT_TRUE(device.at("port").is_number_unsigned()) << device.dump();
        EXPECT_TRUE(device.at("dhcp").is_boolean()) << device.dump();
        macs.push_back(device.at("mac"));
    }
    std::sort(macs.begin(), macs.end());
    EXPECT_EQ(macs, (std::vector<std::string>{"00:1A:2B:3C:4D:01", "00:1A:2B:3C:4D:02", "00:1A:2B:3C:4D:03"}));

    const nlohmann::json& first = *std::find_if(list.begin(), list.end(),
                                                [](const nlohmann::json& d) { return d["mac"] == "00:1A:2B:3C:4D:01"; });
    EXPECT_EQ(first["ip"], "192.168.0.101");
    EXPECT_EQ(first["mask"], "255.255.255.0");
    EXPECT_EQ(first["gateway"], "192.168.0.1");
    EXPECT_EQ(first["port"], 9100);
    EXPECT_EQ(first["dhcp"], false);
    EXPECT_EQ(first["version"], "3.07");
    EXPECT_EQ(first["from"], "127.0.0.1");
    EXPECT_EQ(first["interface"], "lo");
}

TEST_F(ListAgainstDevsim, OneMacInAnyFormListsThatDeviceAlone)
{
    for (const std::string mac : {"001A2B3C4D02", "00:1a:2b:3c:4d:02", "00-1A-2B-3C-4D-02"}) {
        const CliRun run = List({"--mac", mac, "--json"});
        ASSERT_EQ(run.exitCode, kExitSuccess) << run.err;
        const nlohmann::json list = nlohmann::json::parse(run.out);
        ASSERT_EQ(list.size(), 1u) << mac << ": " << run.out;
        EXPECT_EQ(list[0]["mac"], "00:1A:2B:3C:4D:02");
        EXPECT_EQ(list[0]["ip"], "192.168.0.102");
    }
}

TEST_F(ListAgainstDevsim, CsvHasTheHeaderLineThenOneLinePerDevice)
{
    const CliRun run = List({"--csv", "--mac", "00:1A:2B:3C:4D:03"});
    ASSERT_EQ(run.exitCode, kExitSuccess) << run.err;
    EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                  "mac,ip,mask,gateway,port,dhcp,version,from,interface",
                                  "00:1A:2B:3C:4D:03,192.168.0.103,255.255.255.0,192.168.0.1,9100,false,3.07,127.0.0.1,lo",
                              }));
}

TEST_F(ListAgainstDevsim, TableAlignsItsColumnsUnderTheTitles)
{
    const CliRun run = List({});
    ASSERT_EQ(run.exitCode, kExitSuccess) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(lines[0].rfind("MAC", 0), 0u) << lines[0];
    for (const char* title : {"IP", "MASK", "GATEWAY", "PORT", "DHCP", "VERSION", "FROM", "INTERFACE"}) {
        const std::size_t column = lines[0].find(std::string("  ") + title) + 2;
        ASSERT_NE(column, std::string::npos + 2) << title;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            ASSERT_GT(lines[i].size(), column) << lines[i];
            EXPECT_EQ(lines[i][column - 1], ' ') << title << " in " << lines[i];
            EXPECT_NE(lines[i][column], ' ') << title << " in " << lines[i];
        }
    }
    EXPECT_NE(run.out.find("00:1A:2B:3C:4D:01  192.168.0.101  255.255.255.0  192.168.0.1  9100  off   3.07"),
              std::string::npos)
        << run.out;
}

TEST_F(ListAgainstDevsim, InterfaceKeepsOnlyTheRepliesThatCameInOnIt)
{
    const CliRun onLoopback = List({"--json", "--interface", "lo"});
    ASSERT_EQ(onLoopback.exitCode, kExitSuccess) << onLoopback.err;
    EXPECT_EQ(nlohmann::json::parse(onLoopback.out).size(), 3u);

    // An adapter this host does not have is a usage error: nothing is sent.
    const CliRun elsewhere = List({"--json", "--interface", "lo", "--interface", "lvnone1"});
    EXPECT_EQ(elsewhere.exitCode, kExitUsage);
    EXPECT_EQ(elsewhere.out, "");
    EXPECT_NE(elsewhere.err.find("no network adapter \"lvnone1\""), std::string::npos) << elsewhere.err;
}

// --count and --mac end the search once they are met; the timeout is only the bound.
TEST_F(ListAgainstDevsim, EndsOnceTheDevicesAskedForHaveAnswered)
{
    using Clock = std::chrono::steady_clock;
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--count", "2", "--json"}, {"--mac", "00:1A:2B:3C:4D:02", "--json"}}) {
        std::vector<std::string> arguments{"list", "--timeout", "60"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const Clock::time_point start = Clock::now();
        const CliRun run = RunCliCapturing(arguments, DevsimNetwork(devsim));
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(30)) << options[0];
        ASSERT_EQ(run.exitCode, kExitSuccess) << run.err;
        EXPECT_EQ(nlohmann::json::parse(run.out).size(), options[0] == "--count" ? 2u : 1u) << run.out;
    }
}

TEST_F(ListAgainstDevsim, JsonLinesIsOneObjectPerLinePerDevice)
{
    const CliRun run = List({"--jsonl"});
    ASSERT_EQ(run.exitCode, kExitSuccess) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    for (const std::string& line : lines)
        EXPECT_TRUE(nlohmann::json::parse(line).is_object()) << line;
}

// A stream every write to which fails, as stdout on a full disk.
class FullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST_F(ListAgainstDevsim, AResultThatCannotBeWrittenIsAFailure)
{
    FullDisk disk;
    std::ostream out(&disk);
    std::ostringstream err;
    const int code = RunCli({"list", "--timeout", kTimeout, "--json"}, DevsimNetwork(devsim), out, err);
    EXPECT_EQ(code, kExitOutput);
    EXPECT_NE(err.str().find("could not be written to standard output"), std::string::npos) << err.str();
}

struct Misbehaviour {
    const char* devsimOption;
    const char* reason;
};

class ListVerbose : public testing::TestWithParam<Misbehaviour> {};

// -v says of every datagram set aside who sent it and why, where silence says only that
// nobody answered.
TEST_P(ListVerbose, NamesTheSenderAndTheReasonOfEveryDatagramSetAside)
{
    DevsimProcess devsim({"--quiet", GetParam().devsimOption});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const CliRun run = RunCliCapturing({"list", "--timeout", "0.3", "-v"}, DevsimNetwork(devsim));
    EXPECT_EQ(run.exitCode, kExitSuccess) << run.err;
    EXPECT_NE(run.err.find("lanvista-cli: sent request 00"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(std::string("from 127.0.0.1:") + std::to_string(devsim.udpPort())), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(GetParam().reason), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Faults, ListVerbose,
                         testing::Values(Misbehaviour{"--bad-checksum", ": wrong checksum"},
                                         Misbehaviour{"--short-reply", ": shorter than 128 bytes"},
                                         Misbehaviour{"--unknown-command", ": unknown command"}),
                         [](const testing::TestParamInfo<Misbehaviour>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.devsimOption))
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name;
                         });

} // namespace
