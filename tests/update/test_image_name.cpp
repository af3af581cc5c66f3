// firmware image name rules and the load trace.
#include "update/ImageName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct NameCase {
    const char* path;
    bool accepted;
};

TEST(ImageName, Table)
{
    const std::vector<NameCase> cases = {
        {"fw/Brimnet_v1.2.bin", true},
        {"/home/tech/fw/Brimnet_v1.2.bin", true},
        {"fw/brimnet_v1.2.bin", false},       // marker in lower case
        {"fw/Brimnet_v1.2.BIN", false},       // upper-case extension alone
        {"bin/Brimnet_v1.2.BIN", true},       // "bin" in the directory name
        {"cabinet/Brimnet_v1.2.img", true},   // "bin" inside a longer word
        {"Brimnet_v/firmware.bin", true},     // marker in a directory name
        {"fw/Brimnet_1.2.bin", false},        // no "_v"
        {"fw/BRIMNET_V1.2.bin", false},
        {"fw/Brimnet_V1.2.bin", false},
        {"Brimnet_vbin", true},
        {"binBrimnet_v", true},                // order does not matter
        {"Brimnet_v", false},
        {"bin", false},
        {"", false},
        {"fw/Brimnet_v1.2.bi", false},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(IsFirmwareImagePath(c.path), c.accepted) << c.path;
}

struct TraceCase {
    const char* name;
    std::vector<unsigned char> image;
    unsigned beforeZero;
    std::string trace;
};

TEST(ImageTrace, Table)
{
    std::vector<unsigned char> firstZero(1000, 0x41);
    firstZero[0] = 0;
    const std::vector<unsigned char> noZero(1000, 0x41);
    std::vector<unsigned char> middleZero(1000, 0xFF);
    middleZero[512] = 0;
    middleZero[700] = 0;

    const std::vector<TraceCase> cases = {
        {"empty", {}, 0, " Len: 0, 0"},
        {"first_byte_zero", firstZero, 0, " Len: 0, 1000"},
        {"no_zero", noZero, 1000, " Len: 1000, 1000"},
        {"zero_in_middle", middleZero, 512, " Len: 512, 1000"},
        {"last_byte_zero", {1, 2, 3, 0}, 3, " Len: 3, 4"},
    };
    for (const TraceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LengthBeforeZero(c.image), c.beforeZero);
        EXPECT_EQ(FormatImageTrace(c.image), c.trace);
    }
}

} // namespace
