// HexPairsToBytes.
#include "link/HexCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct HexCase {
    const char* text;
    unsigned count;
    std::vector<unsigned char> bytes;
};

TEST(HexCodec, Table)
{
    const std::vector<HexCase> cases = {
        {"C0A80001", 8, {0xC0, 0xA8, 0x00, 0x01}},
        {"c0a80001", 8, {0xC0, 0xA8, 0x00, 0x01}},
        {"FFFFFF00", 8, {0xFF, 0xFF, 0xFF, 0x00}},
        {"fF", 2, {0xFF}},
        {"Ff", 2, {0xFF}},
        {"9g", 2, {0x90}},
        {"g9", 2, {0x09}},
        {"zz", 2, {0x00}},
        {"0x", 2, {0x00}},
        {"0x1F", 4, {0x00, 0x1F}},
        {"8C23", 4, {0x8C, 0x23}},
        {"238C", 4, {0x23, 0x8C}},
        {"@G`g", 4, {0x00, 0x00}},  // neighbours of the digit ranges
        {"/:", 2, {0x00}},
        {"09AFaf", 6, {0x09, 0xAF, 0xAF}},
    };
    for (const HexCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<unsigned char> out(c.bytes.size() + 2, 0xEE);
        HexPairsToBytes(c.text, out.data(), c.count);
        EXPECT_EQ(std::vector<unsigned char>(out.begin(), out.begin() + c.bytes.size()), c.bytes);
        // Writes count / 2 bytes, nothing after.
        EXPECT_EQ(out[c.bytes.size()], 0xEE);
        EXPECT_EQ(out[c.bytes.size() + 1], 0xEE);
    }
}

TEST(HexCodec, HighBitCharactersCountAsZero)
{
    const char text[] = {'\xC1', '5', '5', '\xFF'};
    unsigned char out[2];
    HexPairsToBytes(text, out, 4);
    EXPECT_EQ(out[0], 0x05);
    EXPECT_EQ(out[1], 0x50);
}

TEST(HexCodec, CountZeroWritesNothing)
{
    unsigned char out[1] = {0xEE};
    HexPairsToBytes(nullptr, out, 0);
    EXPECT_EQ(out[0], 0xEE);
}

TEST(HexCodec, OddCountIgnoresLoneLastCharacterAndReadsNothingBeyond)
{
    // The text is exactly count characters long in its own allocation, so a read
    // beyond it would show up under AddressSanitizer.
    auto text = std::make_unique<char[]>(3);
    std::memcpy(text.get(), "AB7", 3);
    unsigned char out[3] = {0xEE, 0xEE, 0xEE};
    HexPairsToBytes(text.get(), out, 3);
    EXPECT_EQ(out[0], 0xAB);
    EXPECT_EQ(out[1], 0xEE);

    auto one = std::make_unique<char[]>(1);
    one[0] = 'F';
    unsigned char single = 0xEE;
    HexPairsToBytes(one.get(), &single, 1);
    EXPECT_EQ(single, 0xEE);
}

TEST(HexCodec, ExactLengthBufferEvenCount)
{
    auto text = std::make_unique<char[]>(8);
    std::memcpy(text.get(), "0A0B0C0D", 8);
    unsigned char out[4];
    HexPairsToBytes(text.get(), out, 8);
    EXPECT_EQ(out[0], 0x0A);
    EXPECT_EQ(out[3], 0x0D);
}

} // namespace
