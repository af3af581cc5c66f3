// The image's version from its file name, and versions compared as update compares them.
#include "cli/FirmwareVersion.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct NameCase {
    const char* path;
    std::optional<std::string> version;
};

class ImageName : public testing::TestWithParam<NameCase> {};

TEST_P(ImageName, GivesTheVersionBetweenTheFamilyNameAndBin)
{
    EXPECT_EQ(VersionFromImageName(GetParam().path), GetParam().version) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ImageName,
    testing::Values(NameCase{"Brimnet_v3.08.bin", "3.08"}, NameCase{"/srv/fw/Brimnet_v3.08.bin", "3.08"},
                    NameCase{"site-Brimnet_v10.1.2.bin", "10.1.2"}, NameCase{"Brimnet_v4.bin.bak", "4"},
                    // The folders do not name the version, only the file does.
                    NameCase{"Brimnet_v3.08.bin/image.bin", std::nullopt},
                    NameCase{"Brimnet_v.bin", std::nullopt}, NameCase{"Brimnet_vbeta.bin", std::nullopt},
                    NameCase{"Brimnet_v3..08.bin", std::nullopt}, NameCase{"Brimnet_v3.08-rc1.bin", std::nullopt},
                    NameCase{"Brimnet_v3.08", std::nullopt}, NameCase{"brimnet_v3.08.bin", std::nullopt}));

struct OrderCase {
    const char* a;
    const char* b;
    std::optional<int> order;
};

class VersionOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(VersionOrder, ComparesPartByPartAsNumbers)
{
    EXPECT_EQ(CompareVersions(GetParam().a, GetParam().b), GetParam().order)
        << GetParam().a << " against " << GetParam().b;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, VersionOrder,
    testing::Values(OrderCase{"3.07", "3.08", -1}, OrderCase{"3.08", "3.08", 0}, OrderCase{"3.09", "3.08", 1},
                    OrderCase{"3.10", "3.9", 1}, OrderCase{"4.00", "3.99", 1}, OrderCase{"3", "3.0", 0},
                    OrderCase{"3.08", "3.08.1", -1}, OrderCase{"3.0x", "3.08", std::nullopt},
                    OrderCase{"", "3.08", std::nullopt}));

TEST(DeviceVersion, IsTheReplysFieldWithoutItsSpaces)
{
    EXPECT_EQ(TrimmedVersion(" 3.07"), "3.07");
    EXPECT_EQ(TrimmedVersion("3.07  "), "3.07");
    EXPECT_EQ(TrimmedVersion("   "), "");
}

} // namespace
