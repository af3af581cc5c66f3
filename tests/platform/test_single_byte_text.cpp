// The single-byte form of a text: one byte per character the edit controls count, Latin-1
// where the character has a Latin-1 byte, '?' where it has none.
#include "platform/toolkit/SingleByteText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* name;
    std::string utf8;
    std::string bytes;
};

const Case kCases[] = {
    {"empty", "", ""},
    {"ASCII as it is", "0a:Z?", "0a:Z?"},
    {"Latin-1 letters become their byte", "\xC3\xA9\xC3\x89\xC3\xBF", "\xE9\xC9\xFF"},
    {"first and last Latin-1 beyond ASCII", "\xC2\x80\xC2\xA0\xC3\xBF", "\x80\xA0\xFF"},
    {"no Latin-1 byte gives a question mark", "\xE2\x82\xAC\xCE\xA9\xED\x95\x9C", "???"},
    {"mixed, one byte per character", "A\xC3\xBC\xE2\x82\xAC" "7", "A\xFC?7"},
    {"a character beyond 16 bits counts two units", "\xF0\x9F\x98\x80", "??"},
    {"bytes that are not UTF-8 stand for a replaced character", "A\xFF" "B", "A?B"},
};

TEST(SingleByteText, OneBytePerCharacter)
{
    for (const Case& c : kCases) {
        const std::string bytes = SingleByteText(c.utf8);
        EXPECT_EQ(bytes, c.bytes) << c.name;
    }
}

}  // namespace
