// the 32-byte download header.
#include "link/Crc.h"
#include "link/SeededRandom.h"
#include "update/DownloadHeader.h"
#include "update/HeaderMask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Bytes 7-11 equal bytes 2-6 XOR the mask, each mask byte applied to its own position.
// (The mask is used as five separate constants here too, never as one array.)
::testing::AssertionResult Masked(const unsigned char* header)
{
    if ((header[7] ^ header[2]) != kHeaderMask0 || (header[8] ^ header[3]) != kHeaderMask1 ||
        (header[9] ^ header[4]) != kHeaderMask2 || (header[10] ^ header[5]) != kHeaderMask3 ||
        (header[11] ^ header[6]) != kHeaderMask4)
        return ::testing::AssertionFailure() << "bytes 7-11 are not bytes 2-6 XOR the header mask";
    return ::testing::AssertionSuccess();
}

std::string Text(const std::array<unsigned char, 32>& header, std::size_t offset, std::size_t count)
{
    return std::string(reinterpret_cast<const char*>(header.data()) + offset, count);
}

std::uint32_t LittleEndianAt(const std::array<unsigned char, 32>& header, std::size_t offset)
{
    return header[offset] | (header[offset + 1] << 8) | (header[offset + 2] << 16) |
           (static_cast<std::uint32_t>(header[offset + 3]) << 24);
}

// Every structural property of a header for the given image and seed.
void ExpectWellFormed(const std::array<unsigned char, 32>& header, const std::vector<unsigned char>& image,
                      std::uint32_t seed)
{
    EXPECT_EQ(header[0], 0x02);
    EXPECT_EQ(header[1], 0x20);
    SeededRandom random(seed);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto r = static_cast<unsigned char>(random.Next() % 255 + 1);
        EXPECT_EQ(header[2 + i], r) << i;
        EXPECT_NE(header[2 + i], 0) << i;
    }
    EXPECT_TRUE(Masked(header.data()));
    char expected[8];
    FormatCrcLower(static_cast<std::uint32_t>(image.size()), expected);
    EXPECT_EQ(Text(header, 12, 8), std::string(expected, 8));
    FormatCrcLower(CalcCrc(image.data(), image.size()), expected);
    EXPECT_EQ(Text(header, 20, 8), std::string(expected, 8));
    EXPECT_EQ(LittleEndianAt(header, 28), CalcCrc(header.data(), 28));
}

TEST(HeaderMask, FiveUpperCaseLetters)
{
    auto upper = [](unsigned char m) { return m >= 'A' && m <= 'Z'; };
    EXPECT_TRUE(upper(kHeaderMask0));
    EXPECT_TRUE(upper(kHeaderMask1));
    EXPECT_TRUE(upper(kHeaderMask2));
    EXPECT_TRUE(upper(kHeaderMask3));
    EXPECT_TRUE(upper(kHeaderMask4));
}

TEST(DownloadHeader, NoImageGivesSixteenZeroDigits)
{
    const auto header = BuildDownloadHeader(nullptr, 0, 1234);
    EXPECT_EQ(header.size(), kDownloadHeaderSize);
    EXPECT_EQ(Text(header, 12, 16), "0000000000000000");
    for (std::size_t i = 12; i < 28; ++i)
        EXPECT_EQ(header[i], 0x30);
    ExpectWellFormed(header, {}, 1234);
}

TEST(DownloadHeader, Image4096BytesGivesLength00001000)
{
    std::vector<unsigned char> image(4096);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<unsigned char>(i * 31 + 7);
    const auto header = BuildDownloadHeader(image.data(), 4096, 99);
    EXPECT_EQ(Text(header, 12, 8), "00001000");
    ExpectWellFormed(header, image, 99);
}

TEST(DownloadHeader, ImageAbc)
{
    const std::vector<unsigned char> image = {0x61, 0x62, 0x63};
    const auto header = BuildDownloadHeader(image.data(), 3, 5);
    EXPECT_EQ(Text(header, 12, 16), "00000003031a73ae");
    ExpectWellFormed(header, image, 5);
}

TEST(DownloadHeader, RandomBytes1To255OverManySeeds)
{
    const std::vector<unsigned char> image = {'x', 0, 0xFF, 'y'};
    bool seen[256] = {};
    for (std::uint32_t seed = 0; seed < 5000; ++seed) {
        SCOPED_TRACE(seed);
        const std::uint32_t s = seed * 2654435761u;
        const auto header = BuildDownloadHeader(image.data(), 4, s);
        for (std::size_t i = 2; i < 7; ++i) {
            ASSERT_NE(header[i], 0);
            seen[header[i]] = true;
        }
        ASSERT_TRUE(Masked(header.data()));
        ASSERT_EQ(LittleEndianAt(header, 28), CalcCrc(header.data(), 28));
    }
    EXPECT_FALSE(seen[0]);
    for (int v = 1; v < 256; ++v)
        EXPECT_TRUE(seen[v]) << v;
}

TEST(DownloadHeader, HeaderChecksumLeastSignificantByteFirst)
{
    const auto header = BuildDownloadHeader(nullptr, 0, 77);
    const std::uint32_t crc = CalcCrc(header.data(), 28);
    EXPECT_EQ(header[28], crc & 0xFF);
    EXPECT_EQ(header[29], (crc >> 8) & 0xFF);
    EXPECT_EQ(header[30], (crc >> 16) & 0xFF);
    EXPECT_EQ(header[31], crc >> 24);
}

TEST(DownloadHeader, SameSeedSameHeaderNewSeedNewRandomBytesSameFields)
{
    const std::vector<unsigned char> image(1000, 0xA5);
    const auto a = BuildDownloadHeader(image.data(), 1000, 42);
    const auto b = BuildDownloadHeader(image.data(), 1000, 42);
    const auto c = BuildDownloadHeader(image.data(), 1000, 43);
    EXPECT_EQ(a, b);
    EXPECT_NE(Text(a, 2, 5), Text(c, 2, 5));
    EXPECT_EQ(Text(a, 12, 16), Text(c, 12, 16));
}

// Finds a seed whose header has a zero byte at the given offset.
std::uint32_t SeedWithZeroAt(std::size_t offset, const std::vector<unsigned char>& image)
{
    for (std::uint32_t seed = 0; seed < 50000000u; ++seed) {
        const auto header = BuildDownloadHeader(image.data(), static_cast<std::uint32_t>(image.size()), seed);
        if (header[offset] == 0)
            return seed;
    }
    ADD_FAILURE() << "no seed gives a zero at " << offset;
    return 0;
}

TEST(DownloadHeader, ZeroBytesInMaskedOrChecksumBytesStayInPlace)
{
    const std::vector<unsigned char> image = {'a', 'b', 'c'};
    for (std::size_t offset : {7u, 9u, 11u, 28u, 31u}) {
        SCOPED_TRACE(offset);
        const std::uint32_t seed = SeedWithZeroAt(offset, image);
        const auto header = BuildDownloadHeader(image.data(), 3, seed);
        ASSERT_EQ(header.size(), 32u);
        EXPECT_EQ(header[offset], 0);
        ExpectWellFormed(header, image, seed);
        // Bytes after the zero are in place, not shifted nor lost.
        EXPECT_EQ(Text(header, 12, 16), "00000003031a73ae");
        const auto read = ReadDownloadHeader(header.data(), header.size());
        ASSERT_TRUE(read);
        EXPECT_EQ(read->imageLength, 3u);
        EXPECT_EQ(read->imageCrc, 0x031A73AEu);
    }
}

TEST(ReadDownloadHeader, RoundTrip)
{
    std::mt19937 rng(7);
    for (std::uint32_t length : {0u, 1u, 3u, 7u, 8u, 4096u, 65537u}) {
        std::vector<unsigned char> image(length);
        for (auto& b : image)
            b = static_cast<unsigned char>(rng());
        const auto header = BuildDownloadHeader(image.data(), length, rng());
        const auto read = ReadDownloadHeader(header.data(), header.size());
        ASSERT_TRUE(read) << length;
        EXPECT_EQ(read->imageLength, length);
        EXPECT_EQ(read->imageCrc, CalcCrc(image.data(), image.size()));
    }
}

TEST(ReadDownloadHeader, Rejections)
{
    const std::vector<unsigned char> image = {'a', 'b', 'c'};
    const auto good = BuildDownloadHeader(image.data(), 3, 1000);
    ASSERT_TRUE(ReadDownloadHeader(good.data(), good.size()));

    EXPECT_FALSE(ReadDownloadHeader(good.data(), 31));
    EXPECT_FALSE(ReadDownloadHeader(nullptr, 0));

    // Recomputes the header checksum after a change, so the check under test is the
    // one that fails.
    auto resealed = [](std::array<unsigned char, 32> h) {
        const std::uint32_t crc = CalcCrc(h.data(), 28);
        for (int i = 0; i < 4; ++i)
            h[28 + i] = static_cast<unsigned char>(crc >> (8 * i));
        return h;
    };
    struct Change {
        const char* name;
        std::size_t offset;
        unsigned char value;
    };
    const std::vector<Change> changes = {
        {"no_stx", 0, 0x03},
        {"no_space", 1, 0x21},
        {"masked_byte_0", 7, static_cast<unsigned char>(good[7] ^ 0x01)},
        {"masked_byte_4", 11, static_cast<unsigned char>(good[11] ^ 0x80)},
        {"random_byte_changed", 4, static_cast<unsigned char>(good[4] ^ 0x10)},
        {"length_not_hex", 15, 'g'},
        {"length_uppercase", 19, 'A'},
        {"crc_not_hex", 20, ' '},
        {"crc_uppercase", 21, 'A'},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        auto header = good;
        header[c.offset] = c.value;
        EXPECT_FALSE(ReadDownloadHeader(resealed(header).data(), 32));
    }
    // A zero random byte with a matching masked byte is still refused.
    auto zeroRandom = good;
    zeroRandom[2] = 0;
    zeroRandom[7] = kHeaderMask0;
    EXPECT_FALSE(ReadDownloadHeader(resealed(zeroRandom).data(), 32));
    // Header checksum wrong, or big-endian.
    for (std::size_t i = 28; i < 32; ++i) {
        auto header = good;
        header[i] ^= 0x01;
        EXPECT_FALSE(ReadDownloadHeader(header.data(), 32)) << i;
    }
    auto bigEndian = good;
    std::reverse(bigEndian.begin() + 28, bigEndian.end());
    ASSERT_NE(bigEndian, good);
    EXPECT_FALSE(ReadDownloadHeader(bigEndian.data(), 32));
}

} // namespace
