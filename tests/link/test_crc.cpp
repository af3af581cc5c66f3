// the frame checksum, its step, its renderings; the worked datagram examples.
#include "link/Crc.h"
#include "link/Datagram.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::uint32_t CrcOf(const std::string& text)
{
    return CalcCrc(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

std::uint32_t BitLoopCrcOf(const std::string& text)
{
    return CalcCrcBitLoop(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

struct CheckValue {
    const char* name;
    std::string input;
    std::uint32_t crc;
    const char* lower;
    const char* upper;
};

// The check values and the worked datagram examples, as one table. The inputs of
// the worked examples are positions 8-127 of the datagram.
std::vector<CheckValue> CheckValues()
{
    return {
        {"abc", "abc", 0x031A73AEu, "031a73ae", "031A73AE"},
        {"digits", "123456789", 0x0328B978u, "0328b978", "0328B978"},
        {"a", "a", 0x03D26C4Du, "03d26c4d", "03D26C4D"},
        {"empty", "", 0x00000000u, "00000000", "00000000"},
        {"search00_spaces", "00" + std::string(118, ' '), 0x0084109Au, "0084109a", "0084109A"},
        {"save_reply21_zeros", "21" + std::string(118, '0'), 0x05DFCC14u, "05dfcc14", "05DFCC14"},
    };
}

TEST(Crc, CheckValuesAndWorkedExamples)
{
    for (const CheckValue& row : CheckValues()) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CrcOf(row.input), row.crc);
        EXPECT_EQ(BitLoopCrcOf(row.input), row.crc);
        EXPECT_EQ(LowerHex(row.crc), row.lower);
        EXPECT_EQ(UpperHex(row.crc), row.upper);
    }
}

TEST(Crc, WorkedSaveReplyAcceptedUppercaseDroppedLowercase)
{
    const std::string payload = "21" + std::string(118, '0');
    const std::string upper = "05DFCC14" + payload;
    const std::string lower = "05dfcc14" + payload;
    ASSERT_EQ(upper.size(), kDatagramSize);
    EXPECT_EQ(ClassifyReply(upper.data(), upper.size()), ReplyKind::SaveReply);
    EXPECT_EQ(ClassifyReply(lower.data(), lower.size()), ReplyKind::Dropped);
}

TEST(Crc, StepSampleResults)
{
    EXPECT_EQ(CrcStep(0x01), 0x06233697u);
    EXPECT_EQ(CrcStep(0x02), 0x05C45641u);
    EXPECT_EQ(CrcStep(0x80), 0x04C11DB7u);
    EXPECT_EQ(CrcStep(0xFF), 0x0560FB57u);
    EXPECT_EQ(CrcStepBitLoop(0x01), 0x06233697u);
    EXPECT_EQ(CrcStepBitLoop(0x02), 0x05C45641u);
    EXPECT_EQ(CrcStepBitLoop(0x80), 0x04C11DB7u);
    EXPECT_EQ(CrcStepBitLoop(0xFF), 0x0560FB57u);
    EXPECT_EQ(CrcStep(0x00), 0u);
}

TEST(Crc, TableEqualsBitLoopForAll256Inputs)
{
    for (std::uint32_t v = 0; v < 256; ++v)
        EXPECT_EQ(CrcStep(v), CrcStepBitLoop(v)) << "input " << v;
}

TEST(Crc, TableStepUsesLowEightBitsOnly)
{
    EXPECT_EQ(CrcStep(0x1FFu), CrcStep(0xFFu));
    EXPECT_EQ(CrcStep(0xABCDEF01u), CrcStep(0x01u));
}

TEST(Crc, ByteFFProcessedAs255)
{
    const unsigned char ff[] = {0xFF};
    // One byte from a zero register: CrcStep(0 ^ 255).
    EXPECT_EQ(CalcCrc(ff, 1), 0x0560FB57u);
    EXPECT_EQ(CalcCrcBitLoop(ff, 1), 0x0560FB57u);
    // Through a plain (possibly signed) char buffer as well.
    const char asChar[] = {'\xFF', '\x80', 'a'};
    const auto* bytes = reinterpret_cast<const unsigned char*>(asChar);
    EXPECT_EQ(CalcCrc(bytes, 3), CalcCrcBitLoop(bytes, 3));
    // A long run of 0xFF goes through the sliced path too.
    const std::vector<unsigned char> run(67, 0xFF);
    EXPECT_EQ(CalcCrc(run.data(), run.size()), CalcCrcBitLoop(run.data(), run.size()));
}

TEST(Crc, TableEqualsBitLoopOnRandomBuffersOfManyLengths)
{
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<unsigned char> buffer(5000);
    for (auto& b : buffer)
        b = static_cast<unsigned char>(byte(rng));
    // Every length 0..2100 covers each slicing-by-16 tail (0..15 bytes), the switch to
    // the folding path at 256 bytes, and each of its 64-byte and 16-byte remainders.
    for (std::size_t length = 0; length <= 2100; ++length) {
        const std::uint32_t expected = CalcCrcBitLoop(buffer.data(), length);
        ASSERT_EQ(CalcCrc(buffer.data(), length), expected) << "length " << length;
        ASSERT_EQ(CalcCrcSliced(buffer.data(), length), expected) << "length " << length;
    }
    for (std::size_t length : {4095u, 4096u, 4097u, 4999u, 5000u})
        ASSERT_EQ(CalcCrc(buffer.data(), length), CalcCrcBitLoop(buffer.data(), length)) << "length " << length;
    // Unaligned starts.
    for (std::size_t start = 1; start < 16; ++start)
        for (std::size_t length : {7u, 8u, 9u, 15u, 16u, 17u, 31u, 32u, 33u, 120u, 255u, 256u, 257u, 1000u, 4000u})
            ASSERT_EQ(CalcCrc(buffer.data() + start, length), CalcCrcBitLoop(buffer.data() + start, length))
                << "start " << start << " length " << length;
}

TEST(Crc, LongBuffersAllFormsAgree)
{
    RecordProperty("clmul", CalcCrcUsesClmul() ? "yes" : "no");
    std::mt19937 rng(99);
    std::vector<unsigned char> buffer((1 << 20) + 13);
    for (auto& b : buffer)
        b = static_cast<unsigned char>(rng());
    const std::uint32_t expected = CalcCrcBitLoop(buffer.data(), buffer.size());
    EXPECT_EQ(CalcCrc(buffer.data(), buffer.size()), expected);
    EXPECT_EQ(CalcCrcSliced(buffer.data(), buffer.size()), expected);
    // Degenerate contents: all zero (checksum 0), all 0xFF.
    std::vector<unsigned char> zeros(100000, 0);
    EXPECT_EQ(CalcCrc(zeros.data(), zeros.size()), 0u);
    std::vector<unsigned char> ones(100003, 0xFF);
    EXPECT_EQ(CalcCrc(ones.data(), ones.size()), CalcCrcBitLoop(ones.data(), ones.size()));
}

TEST(Crc, ReadsExactlyLengthBytes)
{
    // Bytes after the given length must not change the result.
    std::vector<unsigned char> a = {'a', 'b', 'c', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::vector<unsigned char> b = {'a', 'b', 'c', 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(CalcCrc(a.data(), 3), 0x031A73AEu);
    EXPECT_EQ(CalcCrc(b.data(), 3), 0x031A73AEu);
    EXPECT_EQ(CalcCrc(nullptr, 0), 0u);
    EXPECT_EQ(CalcCrcBitLoop(nullptr, 0), 0u);
}

TEST(Crc, FormatWritesExactlyEightCharacters)
{
    char out[10];
    std::memset(out, '#', sizeof out);
    FormatCrcLower(0xABCDEF01u, out);
    EXPECT_EQ(std::string(out, 10), "abcdef01##");
    std::memset(out, '#', sizeof out);
    FormatCrcUpper(0xABCDEF01u, out);
    EXPECT_EQ(std::string(out, 10), "ABCDEF01##");
    FormatCrcLower(0x1u, out);
    EXPECT_EQ(std::string(out, 8), "00000001");
    FormatCrcUpper(0xFFFFFFFFu, out);
    EXPECT_EQ(std::string(out, 8), "FFFFFFFF");
}

TEST(Crc, AllDecimalDigitsRenderIdenticallyInBothCases)
{
    EXPECT_EQ(LowerHex(0x12345678u), UpperHex(0x12345678u));
    EXPECT_NE(LowerHex(0x1234567Au), UpperHex(0x1234567Au));
}

} // namespace
