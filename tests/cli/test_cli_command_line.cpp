// The command line of lanvista-cli: what it accepts, what it refuses before anything is
// sent, and what --help and --version print.

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/InputText.h"
#include "lanvista/Version.h"
#include "tests/cli/CliRun.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

struct Refusal {
    Args arguments;
    std::string because;  // part of the message
};

class RefusedLine : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedLine, IsAUsageErrorWithItsReasonOnStderr)
{
    const CliRun run = RunCliCapturing(GetParam().arguments, CliNetwork{});
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().because), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedLine,
    testing::Values(
        Refusal{{}, "no command"},
        Refusal{{"scan"}, "unknown command \"scan\""},
        Refusal{{"list", "--bogus"}, "unknown option --bogus"},
        Refusal{{"list", "--timeout"}, "--timeout needs a value"},
        Refusal{{"list", "--timeout", "0"}, "--timeout wants a positive number"},
        Refusal{{"list", "--timeout", "-1"}, "--timeout wants a positive number"},
        Refusal{{"list", "--timeout", "2s"}, "--timeout wants a positive number"},
        Refusal{{"list", "--json", "--csv"}, "exclude each other"},
        Refusal{{"list", "--mac", "00A0B1C2001"}, "is not a MAC address"},
        Refusal{{"list", "--mac", "00:A0:B1:C2:00-10"}, "is not a MAC address"},
        Refusal{{"list", "--mac", "00A0B1C2001G"}, "is not a MAC address"},
        Refusal{{"list", "stray"}, "list takes no argument \"stray\""},
        Refusal{{"list", "--js"}, "ambiguous option --js (--json or --jsonl)"},
        Refusal{{"set", "00A0B1C20010", "--i", "10.0.0.9"}, "ambiguous option --i (--"},
        Refusal{{"set", "--ip", "10.0.0.9"}, "set wants one MAC address"},
        Refusal{{"set", "00A0B1C20010"}, "at least one of --ip"},
        Refusal{{"set", "00A0B1C2001Z", "--ip", "10.0.0.9"}, "is not a MAC address"},
        Refusal{{"set", "00A0B1C20010", "--ip", "10.0.0.256"}, "--ip wants an address"},
        Refusal{{"set", "00A0B1C20010", "--ip", "10.0.0"}, "--ip wants an address"},
        // A leading zero reads as octal to some readers: 010 is 8 there.
        Refusal{{"set", "00A0B1C20010", "--ip", "10.0.0.010"}, "--ip wants an address"},
        Refusal{{"set", "00A0B1C20010", "--mask", "255.255.255.0.0"}, "--mask wants an address"},
        Refusal{{"set", "00A0B1C20010", "--gateway", "gateway"}, "--gateway wants an address"},
        Refusal{{"set", "00A0B1C20010", "--port", "65536"}, "--port wants 1 to 65535"},
        Refusal{{"set", "00A0B1C20010", "--port", "0"}, "--port wants 1 to 65535"},
        Refusal{{"set", "00A0B1C20010", "--port", "91OO"}, "--port wants 1 to 65535"},
        Refusal{{"set", "00A0B1C20010", "--dhcp", "yes"}, "--dhcp wants on or off"},
        Refusal{{"update", "10.0.0.5"}, "update wants the devices (addresses, --mac or --all) and an image file"},
        Refusal{{"update"}, "update wants the devices (addresses, --mac or --all) and an image file"},
        Refusal{{"update", "device.local", "Brimnet_v1.bin"}, "is not an IPv4 address"},
        Refusal{{"update", "10.0.0.5", "Brimnet_v1.bin", "--csv"}, "unknown option --csv"},
        Refusal{{"update", "--all", "10.0.0.5", "Brimnet_v1.bin"}, "--all takes no addresses and no --mac"},
        Refusal{{"update", "--all", "--mac", "024C56000001", "Brimnet_v1.bin"}, "--all takes no addresses and no --mac"},
        Refusal{{"update", "--mac", "024C5600", "Brimnet_v1.bin"}, "is not a MAC address"},
        Refusal{{"update", "--all", "--parallel", "0", "Brimnet_v1.bin"}, "--parallel wants 1 to 64 downloads"},
        Refusal{{"update", "--all", "--parallel", "65", "Brimnet_v1.bin"}, "--parallel wants 1 to 64 downloads"},
        Refusal{{"update", "--all", "--parallel", "two", "Brimnet_v1.bin"}, "--parallel wants 1 to 64 downloads"}));

struct AddressText {
    const char* text;
    std::optional<std::uint32_t> address;
};

class Ipv4Text : public testing::TestWithParam<AddressText> {};

// Four decimal fields of 0 to 255 and nothing else, read the same on every system.
TEST_P(Ipv4Text, IsReadWholeOrRefused)
{
    EXPECT_EQ(ParseIpv4(GetParam().text), GetParam().address) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Ipv4Text,
    testing::Values(AddressText{"0.0.0.0", 0u}, AddressText{"255.255.255.255", 0xFFFFFFFFu},
                    AddressText{"10.0.0.1", 0x0A000001u}, AddressText{"192.168.100.200", 0xC0A864C8u},
                    AddressText{"", std::nullopt}, AddressText{"1.2.3", std::nullopt},
                    AddressText{"1.2.3.4.", std::nullopt}, AddressText{".1.2.3", std::nullopt},
                    AddressText{"1..2.3", std::nullopt}, AddressText{"256.0.0.1", std::nullopt},
                    AddressText{"01.2.3.4", std::nullopt}, AddressText{"1.2.3.00", std::nullopt},
                    AddressText{"1.2.3.4 ", std::nullopt}, AddressText{" 1.2.3.4", std::nullopt},
                    AddressText{"1.2.3.-4", std::nullopt}, AddressText{"1.2.3.4a", std::nullopt},
                    AddressText{"1234.1.1.1", std::nullopt}, AddressText{"0x1.2.3.4", std::nullopt},
                    AddressText{"1.2.3.+4", std::nullopt}));

TEST(CommandLine, TakesEachMacFormInEitherCase)
{
    for (const std::string mac : {"00a0b1c2f010", "00:a0:b1:c2:f0:10", "00-A0-B1-C2-F0-10"}) {
        const ParsedCommandLine parsed = ParseCommandLine({"list", "--mac", mac});
        ASSERT_TRUE(parsed.command) << mac << ": " << parsed.error;
        EXPECT_EQ(std::get<ListCommand>(*parsed.command).mac12, "00A0B1C2F010") << mac;
    }
}

TEST(CommandLine, ReadsEveryFieldOfSetWhereverTheMacStands)
{
    const ParsedCommandLine parsed = ParseCommandLine({"set", "--ip", "10.1.2.3", "00:a0:b1:c2:00:10", "--mask",
                                                       "255.255.0.0", "--gateway", "10.1.0.1", "--port", "65535",
                                                       "--dhcp", "off", "--timeout", "0.25", "--interface", "eth1"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    const auto& set = std::get<SetCommand>(*parsed.command);
    EXPECT_EQ(set.mac12, "00A0B1C20010");
    EXPECT_EQ(set.ip, 0x0A010203u);
    EXPECT_EQ(set.mask, 0xFFFF0000u);
    EXPECT_EQ(set.gateway, 0x0A010001u);
    EXPECT_EQ(set.port, 65535);
    EXPECT_EQ(set.dhcp, false);
    EXPECT_DOUBLE_EQ(set.timeoutSeconds, 0.25);
    EXPECT_EQ(set.interfaces, std::vector<std::string>{"eth1"});
}

TEST(CommandLine, LeavesFieldsNotGivenUnset)
{
    const ParsedCommandLine parsed = ParseCommandLine({"set", "00A0B1C20010", "--dhcp", "on"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    const auto& set = std::get<SetCommand>(*parsed.command);
    EXPECT_EQ(set.dhcp, true);
    EXPECT_FALSE(set.ip || set.mask || set.gateway || set.port);
}

TEST(CommandLine, ParsesAgainAfterAnEarlierParse)
{
    // getopt keeps its place between calls unless the parser resets it.
    ASSERT_TRUE(ParseCommandLine({"list", "--json", "--interface", "a", "--interface", "b"}).command);
    const ParsedCommandLine parsed = ParseCommandLine({"list", "--csv"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    const auto& list = std::get<ListCommand>(*parsed.command);
    EXPECT_EQ(list.format, ListFormat::Csv);
    EXPECT_TRUE(list.interfaces.empty());
}

TEST(CommandLine, UpdateTakesAddressImageAndTimeout)
{
    const ParsedCommandLine parsed = ParseCommandLine({"update", "192.168.0.101", "fw/Brimnet_v1.2.bin"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    const auto& update = std::get<UpdateCommand>(*parsed.command);
    EXPECT_EQ(update.addresses, std::vector<std::uint32_t>{0xC0A80065u});
    EXPECT_EQ(update.imagePath, "fw/Brimnet_v1.2.bin");
    EXPECT_DOUBLE_EQ(update.timeoutSeconds, 60);
    EXPECT_EQ(update.parallel, 4u);
    EXPECT_FALSE(update.force || update.allowDowngrade || update.all || update.json);
}

TEST(CommandLine, UpdateTakesSeveralDevicesTheLastArgumentBeingTheImage)
{
    const ParsedCommandLine parsed =
        ParseCommandLine({"update", "10.0.0.5", "--mac", "02:4c:56:00:00:01", "10.0.0.6", "--parallel", "2",
                          "Brimnet_v3.08.bin", "--mac", "024C56000002", "--force", "--allow-downgrade", "--json"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    const auto& update = std::get<UpdateCommand>(*parsed.command);
    EXPECT_EQ(update.addresses, (std::vector<std::uint32_t>{0x0A000005u, 0x0A000006u}));
    EXPECT_EQ(update.macs, (std::vector<std::string>{"024C56000001", "024C56000002"}));
    EXPECT_EQ(update.imagePath, "Brimnet_v3.08.bin");
    EXPECT_EQ(update.parallel, 2u);
    EXPECT_TRUE(update.force && update.allowDowngrade && update.json);
    EXPECT_FALSE(update.all);
}

TEST(CommandLine, TakesWhatFollowsADoubleDashAsArgumentsEvenWhenItLooksLikeAnOption)
{
    const ParsedCommandLine parsed = ParseCommandLine({"update", "--timeout", "5", "--", "10.0.0.5", "--Brimnet_v1.bin"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    const auto& update = std::get<UpdateCommand>(*parsed.command);
    EXPECT_EQ(update.addresses, std::vector<std::uint32_t>{0x0A000005u});
    EXPECT_EQ(update.imagePath, "--Brimnet_v1.bin");
    EXPECT_DOUBLE_EQ(update.timeoutSeconds, 5);
}

TEST(CommandLine, HelpListsEveryCommandAndExitCodeOnStdout)
{
    for (const Args& arguments : {Args{"--help"}, Args{"-h"}, Args{"set", "--help"}}) {
        const CliRun run = RunCliCapturing(arguments, CliNetwork{});
        EXPECT_EQ(run.exitCode, kExitSuccess);
        EXPECT_EQ(run.err, "");
        for (const char* text : {"lanvista-cli list", "lanvista-cli set", "lanvista-cli update", "Exit codes:",
                                 "  0  success", "  1  ", "  2  usage error", "  3  UDP port 27700 is in use",
                                 "  4  ", "  5  "})
            EXPECT_NE(run.out.find(text), std::string::npos) << text;
    }
}

TEST(CommandLine, VersionIsTheProjectsOnStdout)
{
    const CliRun run = RunCliCapturing({"--version"}, CliNetwork{});
    EXPECT_EQ(run.exitCode, kExitSuccess);
    EXPECT_EQ(run.out, "lanvista-cli " LANVISTA_VERSION "\n");
    EXPECT_EQ(run.err, "");
}

} // namespace
