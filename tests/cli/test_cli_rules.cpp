// Settings refused before they reach a device, and text made safe for a terminal, a
// spreadsheet and a JSON reader.
#include "cli/SafeText.h"
#include "cli/SettingsRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t Ip(unsigned a, unsigned b, unsigned c, unsigned d)
{
    return (a << 24) | (b << 16) | (c << 8) | d;
}

struct RuleCase {
    const char* name;
    PlannedSettings planned;
    const char* broken;  // a piece of the one rule broken; empty: none
};

class SettingsRuleTable : public testing::TestWithParam<RuleCase> {};

TEST_P(SettingsRuleTable, RefusesNonsenseAndLetsTheRestThrough)
{
    const auto broken = BrokenRules(GetParam().planned);
    if (*GetParam().broken == '\0') {
        EXPECT_TRUE(broken.empty()) << broken.front();
        return;
    }
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_NE(broken.front().find(GetParam().broken), std::string::npos) << broken.front();
}

const std::uint32_t kMask24 = Ip(255, 255, 255, 0);

INSTANTIATE_TEST_SUITE_P(
    Rules, SettingsRuleTable,
    testing::Values(
        RuleCase{"Sound", {Ip(10, 0, 0, 5), kMask24, Ip(10, 0, 0, 1), false, true, true, true}, ""},
        RuleCase{"NoGateway", {Ip(10, 0, 0, 5), kMask24, 0u, false, true, true, true}, ""},
        RuleCase{"HolesInMask", {Ip(10, 0, 0, 5), Ip(255, 0, 255, 0), 0u, false, true, true, true}, "not contiguous"},
        RuleCase{"MaskZero", {Ip(10, 0, 0, 5), 0u, 0u, false, false, true, false}, "leaves no room"},
        RuleCase{"MaskAllOnes", {Ip(10, 0, 0, 5), 0xFFFFFFFFu, 0u, false, false, true, false}, "leaves no room"},
        RuleCase{"AddressZero", {0u, kMask24, 0u, false, true, false, false}, "0.0.0.0 is no address"},
        RuleCase{"AddressBroadcast", {0xFFFFFFFFu, kMask24, 0u, false, true, false, false}, "limited broadcast"},
        RuleCase{"Loopback", {Ip(127, 0, 0, 9), kMask24, 0u, false, true, false, false}, "loopback"},
        RuleCase{"Multicast", {Ip(239, 1, 1, 1), kMask24, 0u, false, true, false, false}, "multicast"},
        RuleCase{"NetworkAddress", {Ip(10, 0, 0, 0), kMask24, 0u, false, true, false, false}, "network address"},
        RuleCase{"SubnetBroadcast", {Ip(10, 0, 0, 255), kMask24, 0u, false, true, false, false}, "broadcast address"},
        RuleCase{"GatewayElsewhere", {Ip(10, 0, 0, 5), kMask24, Ip(10, 0, 1, 1), false, false, false, true}, "outside"},
        RuleCase{"UnknownMaskWaits", {Ip(10, 0, 0, 5), std::nullopt, Ip(10, 9, 9, 9), false, true, false, true}, ""},
        RuleCase{"DhcpLooksAtNoAddress", {0u, 0u, 0u, true, true, true, true}, "",}),
    [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

TEST(AddressTaken, OnlyAnAskedAddressAnotherDeviceReports)
{
    const PlannedSettings asked{Ip(10, 0, 0, 7), kMask24, 0u, false, true, false, false};
    EXPECT_NE(AddressTakenRule(asked, {Ip(10, 0, 0, 7)}).find("already reported"), std::string::npos);
    EXPECT_EQ(AddressTakenRule(asked, {Ip(10, 0, 0, 8)}), "");
    PlannedSettings kept = asked;
    kept.ipAsked = false;
    EXPECT_EQ(AddressTakenRule(kept, {Ip(10, 0, 0, 7)}), "");
}

TEST(SafeText, NeutralisesWhatATerminalSpreadsheetOrJsonWouldMisread)
{
    EXPECT_EQ(PrintableText("eth\x1b[2J\xff"), "eth?[2J?");
    for (const char* formula : {"=1+1", "+1", "-1", "@SUM(A1)"})
        EXPECT_EQ(CsvCell(formula), std::string("'") + formula);
    EXPECT_EQ(CsvCell("a,\"b\""), "\"a,\"\"b\"\"\"");
    EXPECT_EQ(CsvCell("3.07"), "3.07");
    EXPECT_EQ(JsonString("a\"b\\c\x01"), "\"a\\\"b\\\\c?\"");
}

}  // namespace
