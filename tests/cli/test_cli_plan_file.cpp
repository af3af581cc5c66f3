// Reading apply's plans: list's CSV and JSON read back, and every problem the plan alone
// shows named with its line.

#include "cli/PlanFile.h"

#include <gtest/gtest.h>

namespace {

TEST(PlanFile, ReadsListsCsvBackWithItsQuotingAndIgnoresOtherColumns)
{
    const Plan plan = ReadPlan("mac,ip,mask,gateway,port,dhcp,version,from,interface\r\n"
                               "02:4C:56:00:00:01,10.0.0.5,255.255.255.0,10.0.0.1,9100,false,3.07,10.0.0.5,eth0\r\n"
                               "\r\n"
                               "\"02:4c:56:00:00:02\",,,,4001,,'-x,10.0.0.6,\"a,b\"\r\n");
    ASSERT_TRUE(plan.problems.empty()) << plan.problems.front();
    ASSERT_EQ(plan.devices.size(), 2u);
    const PlannedDevice& first = plan.devices[0];
    EXPECT_EQ(first.where, "line 2");
    EXPECT_EQ(first.mac12, "024C56000001");
    EXPECT_EQ(first.ip, 0x0A000005u);
    EXPECT_EQ(first.mask, 0xFFFFFF00u);
    EXPECT_EQ(first.port, 9100);
    EXPECT_EQ(first.dhcp, false);
    const PlannedDevice& second = plan.devices[1];
    EXPECT_EQ(second.where, "line 4");
    EXPECT_EQ(second.mac12, "024C56000002");
    EXPECT_FALSE(second.ip || second.mask || second.gateway || second.dhcp);
    EXPECT_EQ(second.port, 4001);
}

TEST(PlanFile, ReadsListsJsonBackWithNullsLeftAsTheyAre)
{
    const Plan plan = ReadPlan(R"( [{"mac": "02-4C-56-00-00-01", "ip": "10.0.0.9", "port": 4001, "dhcp": false,
                                     "version": "3.07", "from": "10.0.0.5", "interface": null},
                                    {"mac": "024C56000002", "gateway": null, "dhcp": "on"}] )");
    ASSERT_TRUE(plan.problems.empty()) << plan.problems.front();
    ASSERT_EQ(plan.devices.size(), 2u);
    EXPECT_EQ(plan.devices[0].where, "entry 1");
    EXPECT_EQ(plan.devices[0].ip, 0x0A000009u);
    EXPECT_EQ(plan.devices[0].port, 4001);
    EXPECT_FALSE(plan.devices[1].gateway);
    EXPECT_EQ(plan.devices[1].dhcp, true);
}

struct Problem {
    const char* name;
    const char* plan;
    const char* problem;  // found among the problems
};

class PlanProblem : public testing::TestWithParam<Problem> {};

TEST_P(PlanProblem, IsNamedWithItsLine)
{
    const Plan plan = ReadPlan(GetParam().plan);
    std::string all;
    for (const std::string& problem : plan.problems)
        all += problem + "\n";
    EXPECT_NE(all.find(GetParam().problem), std::string::npos) << all;
}

INSTANTIATE_TEST_SUITE_P(
    Plans, PlanProblem,
    testing::Values(
        Problem{"Empty", " \n", "the plan is empty"},
        Problem{"NoMacColumn", "ip,port\n10.0.0.5,1\n", "line 1: the header has no mac column"},
        Problem{"NoMac", "mac,port\n,4001\n", "line 2: no mac"},
        Problem{"BadMac", "mac\n02:4C:56:00:00\n", "line 2: mac \"02:4C:56:00:00\" is not a MAC address"},
        Problem{"BadAddress", "mac,ip\n024C56000001,10.0.0.300\n", "line 2: ip \"10.0.0.300\" is not an address"},
        Problem{"BadPort", "mac,port\n024C56000001,0\n", "line 2: port \"0\" is not a port"},
        Problem{"BadDhcp", "mac,dhcp\n024C56000001,maybe\n", "line 2: dhcp \"maybe\" is not true or false"},
        Problem{"MacTwice", "mac,port\n024C56000001,1\n02:4c:56:00:00:01,2\n",
                "line 3: 02:4C:56:00:00:01 is planned already at line 2"},
        Problem{"AddressTwice", "mac,ip\n024C56000001,10.0.0.9\n024C56000002,10.0.0.9\n",
                "line 3: 10.0.0.9 is planned already for 02:4C:56:00:00:01 at line 2"},
        Problem{"JsonNotAnArray", "[1, 2", "not a JSON array"},
        Problem{"JsonNotObjects", "[1]", "entry 1: not an object"},
        Problem{"JsonBadValue", R"([{"mac": "024C56000001", "port": "many"}])",
                "entry 1: port \"many\" is not a port"}),
    [](const testing::TestParamInfo<Problem>& info) { return std::string(info.param.name); });

} // namespace
