// Which replies of one search are doubles heard through a second adapter, and which are a
// device's own answers that the list must keep.

#include "link/AdapterDoubles.h"
#include "link/Datagram.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kDeviceA = Ipv4(192, 168, 0, 100);
constexpr std::uint32_t kDeviceB = Ipv4(192, 168, 0, 101);
constexpr std::uint32_t kWired = Ipv4(192, 168, 0, 10);   // adapter 2
constexpr std::uint32_t kWifi = Ipv4(192, 168, 0, 11);    // adapter 3
constexpr std::uint32_t kBroadcast = Ipv4(255, 255, 255, 255);

std::string Reply(const std::string& mac12, std::uint32_t ip, std::uint32_t seed = 1, const char* version = "3.07")
{
    return BuildSearchReply(mac12, ip, Ipv4(255, 255, 255, 0), Ipv4(192, 168, 0, 1), 9100, false, version, seed);
}

const std::string kA = Reply("001A2B3C4D01", kDeviceA);
const std::string kAOtherFiller = Reply("001A2B3C4D01", kDeviceA, 77);
const std::string kANewVersion = Reply("001A2B3C4D01", kDeviceA, 1, "3.08");
const std::string kB = Reply("001A2B3C4D02", kDeviceB);
const std::string kBAtA = Reply("001A2B3C4D02", kDeviceA);  // another device at A's address

struct Heard {
    const std::string* reply;
    std::uint32_t sender;
    std::uint32_t destination;
    unsigned interfaceIndex;
};

struct Case {
    const char* name;
    std::vector<Heard> replies;
    std::vector<bool> listed;  // per reply: listed (true) or dropped as a double
};

class AdapterDoublesTable : public testing::TestWithParam<Case> {};

TEST_P(AdapterDoublesTable, ListsWhatOneAdapterWouldHaveListed)
{
    AdapterDoubles doubles;
    std::vector<bool> listed;
    for (const Heard& heard : GetParam().replies)
        listed.push_back(!doubles.IsDouble(*heard.reply, {heard.sender, 27700, heard.destination, heard.interfaceIndex}));
    EXPECT_EQ(listed, GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    Search, AdapterDoublesTable,
    testing::Values(
        Case{"OneAdapterTwoDevices", {{&kA, kDeviceA, kWired, 2}, {&kB, kDeviceB, kWired, 2}}, {true, true}},
        Case{"TwoAdaptersOneSegment",
             {{&kA, kDeviceA, kWired, 2}, {&kB, kDeviceB, kWired, 2}, {&kA, kDeviceA, kWifi, 3}, {&kB, kDeviceB, kWifi, 3}},
             {true, true, false, false}},
        // Replies to one adapter's address can come in on the other (either answers for both).
        Case{"AnswerToSecondAdapterComesInOnTheFirst", {{&kA, kDeviceA, kWired, 2}, {&kA, kDeviceA, kWifi, 2}}, {true, false}},
        Case{"DoubleWithOtherUnreadFiller", {{&kA, kDeviceA, kWired, 2}, {&kAOtherFiller, kDeviceA, kWifi, 3}}, {true, false}},
        Case{"DeviceAnswersOneRequestTwice", {{&kA, kDeviceA, kWired, 2}, {&kA, kDeviceA, kWired, 2}}, {true, true}},
        Case{"DeviceAnswersTwiceThroughTwoAdapters",
             {{&kA, kDeviceA, kWired, 2}, {&kA, kDeviceA, kWired, 2}, {&kA, kDeviceA, kWifi, 3}, {&kA, kDeviceA, kWifi, 3}},
             {true, true, false, false}},
        Case{"DeviceSendsTwoDifferentReplies",
             {{&kA, kDeviceA, kWired, 2}, {&kANewVersion, kDeviceA, kWired, 2}, {&kA, kDeviceA, kWifi, 3},
              {&kANewVersion, kDeviceA, kWifi, 3}},
             {true, true, false, false}},
        // Two benches at factory defaults: the same device address on separate segments.
        Case{"SameAddressOnTwoSegments", {{&kA, kDeviceA, kWired, 2}, {&kBAtA, kDeviceA, kWifi, 3}}, {true, true}},
        Case{"SameRecordFromTwoSenders", {{&kA, kDeviceA, kWired, 2}, {&kA, kDeviceB, kWifi, 3}}, {true, true}},
        // A device broadcasting its answer is heard on each adapter of its segment.
        Case{"BroadcastAnswerHeardOnTwoAdapters",
             {{&kA, kDeviceA, kBroadcast, 2}, {&kA, kDeviceA, kBroadcast, 3}}, {true, false}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(AdapterDoubles, ARecordTooShortToReadIsNeverADouble)
{
    AdapterDoubles doubles;
    const std::string cut = kA.substr(0, kMinRecordLength - 1);
    EXPECT_FALSE(doubles.IsDouble(cut, {kDeviceA, 27700, kWired, 2}));
    EXPECT_FALSE(doubles.IsDouble(cut, {kDeviceA, 27700, kWifi, 3}));
    EXPECT_TRUE(doubles.PathsOf(kA.substr(kMacOffset, 12)).empty());
}

TEST(AdapterDoubles, PathsOfADeviceAreTheWaysItsListedRepliesCameIn)
{
    AdapterDoubles doubles;
    const ReplyPath wired{kDeviceA, 27700, kWired, 2};
    const ReplyPath wifi{kDeviceA, 27700, kWifi, 3};
    doubles.IsDouble(kA, wired);
    doubles.IsDouble(kA, wired);
    doubles.IsDouble(kA, wifi);  // a double: not a way to this device
    doubles.IsDouble(kB, {kDeviceB, 27700, kWifi, 3});

    const std::vector<ReplyPath> paths = doubles.PathsOf("001A2B3C4D01");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_TRUE(paths[0].SameWayAs(wired));
    EXPECT_TRUE(doubles.PathsOf("001A2B3C4D09").empty());
}

TEST(AdapterDoubles, TwinsOnTwoSegmentsGiveBothWays)
{
    // A cloned unit on each segment: one MAC, two devices; a save must reach both, as one
    // broadcast on a single segment would.
    AdapterDoubles doubles;
    doubles.IsDouble(kA, {kDeviceA, 27700, kWired, 2});
    doubles.IsDouble(Reply("001A2B3C4D01", kDeviceB), {kDeviceB, 27700, kWifi, 3});
    EXPECT_EQ(doubles.PathsOf("001A2B3C4D01").size(), 2u);
}

}  // namespace
