// building requests, accepting replies, reading device records; and the
// device side (replies built, requests read) used by the simulator.
#include "link/Crc.h"
#include "link/Datagram.h"
#include "link/SeededRandom.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The filler a builder draws for positions 8-127 from seed.
std::string ExpectedFiller(std::uint32_t seed)
{
    std::string filler(120, '\0');
    SeededRandom random(seed);
    for (char& c : filler)
        c = static_cast<char>(random.Next() % 96 + 32);
    return filler;
}

// Checks every property a sealed request must have.
void ExpectValidRequest(const std::string& datagram)
{
    ASSERT_EQ(datagram.size(), kDatagramSize);
    EXPECT_EQ(datagram.find('\0'), std::string::npos);
    EXPECT_EQ(datagram.substr(0, 8), LowerHex(PayloadCrc(datagram)));
}

const std::array<std::string, 6> kMac = {"00", "1A", "2B", "3C", "4D", "5E"};
const std::array<std::string, 6> kNoMac = {"", "", "", "", "", ""};

// ---- request builders -------------------------------------------------------

TEST(SearchRequest, AllDevicesFillerRangeAndLowercaseChecksumOverManySeeds)
{
    for (std::uint32_t seed = 0; seed < 3000; ++seed) {
        SCOPED_TRACE(seed);
        const std::string datagram = BuildSearchRequest(kNoMac, seed * 7919u + 13u);
        ExpectValidRequest(datagram);
        EXPECT_EQ(datagram.substr(8, 2), "00");
        for (std::size_t i = 10; i < kDatagramSize; ++i) {
            const auto c = static_cast<unsigned char>(datagram[i]);
            ASSERT_GE(c, 32u) << "position " << i;
            ASSERT_LE(c, 127u) << "position " << i;
        }
        for (char c : datagram.substr(0, 8))
            ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
    }
}

TEST(SearchRequest, FillerCoversWholeRangeIncluding127)
{
    bool seen[128] = {};
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        const std::string datagram = BuildSearchRequest(kNoMac, seed);
        for (std::size_t i = 10; i < kDatagramSize; ++i)
            seen[static_cast<unsigned char>(datagram[i])] = true;
    }
    for (int c = 32; c <= 127; ++c)
        EXPECT_TRUE(seen[c]) << c;
}

TEST(SearchRequest, FillerIsDrawnForAll120PositionsFirst)
{
    const std::uint32_t seed = 4242;
    const std::string datagram = BuildSearchRequest(kMac, seed);
    const std::string filler = ExpectedFiller(seed);
    // 22-127 keep the filler drawn for them, positions counted from 8.
    EXPECT_EQ(datagram.substr(22), filler.substr(14));
}

TEST(SearchRequest, ByMacWhenAllSixHoldTwoCharacters)
{
    const std::string datagram = BuildSearchRequest(kMac, 99);
    ExpectValidRequest(datagram);
    EXPECT_EQ(datagram.substr(8, 2), "01");
    EXPECT_EQ(datagram.substr(10, 12), "001A2B3C4D5E");
}

TEST(SearchRequest, MacCopiedAsItIsNoCheckNoCaseChange)
{
    const std::array<std::string, 6> odd = {"zz", "1a", "  ", "~~", "4d", "5e"};
    const std::string datagram = BuildSearchRequest(odd, 5);
    ExpectValidRequest(datagram);
    EXPECT_EQ(datagram.substr(8, 14), "01zz1a  ~~4d5e");
}

TEST(SearchRequest, AllDevicesWhenAnyMacStringIsNotTwoCharacters)
{
    const std::vector<std::array<std::string, 6>> cases = {
        {"0", "1A", "2B", "3C", "4D", "5E"},
        {"00", "1A", "2B", "3C", "4D", ""},
        {"00", "1A", "2B", "3CC", "4D", "5E"},
        kNoMac,
    };
    for (const auto& mac : cases) {
        const std::uint32_t seed = 777;
        const std::string datagram = BuildSearchRequest(mac, seed);
        ExpectValidRequest(datagram);
        EXPECT_EQ(datagram.substr(8, 2), "00");
        // 10-127 are filler.
        EXPECT_EQ(datagram.substr(10), ExpectedFiller(seed).substr(2));
    }
}

TEST(SearchRequest, SameSeedSameDatagramDifferentSeedDifferentFiller)
{
    EXPECT_EQ(BuildSearchRequest(kNoMac, 123456), BuildSearchRequest(kNoMac, 123456));
    EXPECT_EQ(BuildSearchRequest(kMac, 123456), BuildSearchRequest(kMac, 123456));
    EXPECT_NE(BuildSearchRequest(kNoMac, 123456), BuildSearchRequest(kNoMac, 123457));
}

TEST(SearchRequest, IsReadByTheDeviceSide)
{
    const std::string all = BuildSearchRequest(kNoMac, 1);
    auto fields = ReadSearchRequest(all.data(), all.size());
    ASSERT_TRUE(fields);
    EXPECT_TRUE(fields->all);
    EXPECT_EQ(fields->mac12, "");

    const std::string one = BuildSearchRequest(kMac, 1);
    fields = ReadSearchRequest(one.data(), one.size());
    ASSERT_TRUE(fields);
    EXPECT_FALSE(fields->all);
    EXPECT_EQ(fields->mac12, "001A2B3C4D5E");

    // Not a search request, and the program does not accept its own request as reply.
    EXPECT_EQ(ClassifyReply(one.data(), one.size()), ReplyKind::Dropped);
    EXPECT_EQ(ClassifyReply(all.data(), all.size()), ReplyKind::Dropped);
}

struct SaveCase {
    const char* name;
    std::string macText;
    std::uint32_t ip, mask, gateway, port;
    int dhcp;
    std::string expected8to50;  // positions 8-50
};

TEST(SaveRequest, Table)
{
    const std::vector<SaveCase> cases = {
        {"documented_example", "00:1A:2B:3C:4D:5E", Ipv4(192, 168, 0, 1), Ipv4(255, 255, 255, 0), Ipv4(192, 168, 0, 254), 9100, 0,
         "10001A2B3C4D5EC0A80001FFFFFF00C0A800FE238C0"},
        {"dhcp_on", "00:1A:2B:3C:4D:5E", Ipv4(10, 0, 0, 7), Ipv4(255, 0, 0, 0), Ipv4(10, 0, 0, 1), 1024, 1,
         "10001A2B3C4D5E0A000007FF0000000A0000010400" "1"},
        {"dhcp_not_exactly_1", "aa:bb:cc:dd:ee:ff", 0, 0, 0, 50000, 2, "10aabbccddeeff000000000000000000000000C3500"},
        {"port_above_65535_low_16_bits", "00:1A:2B:3C:4D:5E", Ipv4(1, 2, 3, 4), Ipv4(5, 6, 7, 8), Ipv4(9, 10, 11, 12),
         0x12345u, 0, "10001A2B3C4D5E0102030405060708090A0B0C23450"},
        {"port_4294967295", "00:1A:2B:3C:4D:5E", 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, -1,
         "10001A2B3C4D5EFFFFFFFFFFFFFFFFFFFFFFFFFFFF0"},
        {"mac_text_copied_as_is", "zz-y1:x2;w3:v4:u5", 0, 0, 0, 9100, 0, "10zzy1x2w3v4u5000000000000000000000000238C0"},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint32_t seed = 31337;
        const std::string datagram = BuildSaveRequest(c.macText, c.ip, c.mask, c.gateway, c.port, c.dhcp, seed);
        ExpectValidRequest(datagram);
        EXPECT_EQ(datagram.substr(8, 43), c.expected8to50);
        // 51-127 are the filler drawn for them.
        EXPECT_EQ(datagram.substr(51), ExpectedFiller(seed).substr(43));
    }
}

TEST(SaveRequest, DocumentedExampleFields)
{
    const std::string datagram = BuildSaveRequest("00:1A:2B:3C:4D:5E", Ipv4(192, 168, 0, 1), Ipv4(255, 255, 255, 0),
                                                  Ipv4(192, 168, 0, 254), 9100, 0, 1);
    EXPECT_EQ(datagram.substr(22, 8), "C0A80001");
    EXPECT_EQ(datagram.substr(30, 8), "FFFFFF00");
    EXPECT_EQ(datagram.substr(38, 8), "C0A800FE");
    EXPECT_EQ(datagram.substr(46, 4), "238C");
    EXPECT_EQ(datagram[50], '0');
}

TEST(SaveRequest, ShortMacTextLeavesFillerAndKeepsLayout)
{
    const std::uint32_t seed = 8;
    const std::string datagram = BuildSaveRequest("00:1A", 0, 0, 0, 9100, 0, seed);
    ExpectValidRequest(datagram);
    EXPECT_EQ(datagram.substr(10, 4), "001A");
    EXPECT_EQ(datagram.substr(14, 8), ExpectedFiller(seed).substr(6, 8));
    EXPECT_EQ(datagram.substr(46, 4), "238C");
}

TEST(SaveRequest, FillerRangeOverManySeedsAndDeviceSideReadsIt)
{
    for (std::uint32_t seed = 0; seed < 2000; ++seed) {
        SCOPED_TRACE(seed);
        const std::string datagram = BuildSaveRequest("00:1A:2B:3C:4D:5E", Ipv4(192, 168, 1, seed & 0xFF),
                                                      Ipv4(255, 255, 255, 0), Ipv4(192, 168, 1, 254), 1024 + seed,
                                                      static_cast<int>(seed & 1), seed * 2654435761u);
        ExpectValidRequest(datagram);
        for (std::size_t i = 51; i < kDatagramSize; ++i) {
            const auto c = static_cast<unsigned char>(datagram[i]);
            ASSERT_GE(c, 32u);
            ASSERT_LE(c, 127u);
        }
        const auto fields = ReadSaveRequest(datagram.data(), datagram.size());
        ASSERT_TRUE(fields);
        EXPECT_EQ(fields->mac12, "001A2B3C4D5E");
        EXPECT_EQ(fields->ip, Ipv4(192, 168, 1, seed & 0xFF));
        EXPECT_EQ(fields->mask, Ipv4(255, 255, 255, 0));
        EXPECT_EQ(fields->gateway, Ipv4(192, 168, 1, 254));
        EXPECT_EQ(fields->port, 1024 + seed);
        EXPECT_EQ(fields->dhcp, (seed & 1) == 1);
    }
}

TEST(SaveRequest, DeviceSideRejects)
{
    const std::string good = BuildSaveRequest("00:1A:2B:3C:4D:5E", 1, 2, 3, 9100, 0, 5);
    ASSERT_TRUE(ReadSaveRequest(good.data(), good.size()));
    EXPECT_FALSE(ReadSaveRequest(good.data(), 127));
    EXPECT_FALSE(ReadSaveRequest(nullptr, 0));
    // An uppercase seal (the reply form) is not a request: take a seed whose checksum
    // has a letter in it, so that the two renderings differ.
    std::string upper;
    for (std::uint32_t seed = 0;; ++seed) {
        upper = BuildSaveRequest("00:1A:2B:3C:4D:5E", 1, 2, 3, 9100, 0, seed);
        if (LowerHex(PayloadCrc(upper)) != UpperHex(PayloadCrc(upper)))
            break;
    }
    ASSERT_TRUE(ReadSaveRequest(upper.data(), upper.size()));
    FormatCrcUpper(PayloadCrc(upper), upper.data());
    EXPECT_FALSE(ReadSaveRequest(upper.data(), upper.size()));
    // A search request is not a save request, and vice versa.
    const std::string search = BuildSearchRequest(kMac, 5);
    EXPECT_FALSE(ReadSaveRequest(search.data(), search.size()));
    EXPECT_FALSE(ReadSearchRequest(good.data(), good.size()));
    // A damaged payload.
    std::string damaged = good;
    damaged[60] = damaged[60] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(ReadSaveRequest(damaged.data(), damaged.size()));
    // A zero byte inside the first 128, resealed.
    std::string zero = good;
    zero[100] = '\0';
    FormatCrcLower(PayloadCrc(zero), zero.data());
    EXPECT_FALSE(ReadSaveRequest(zero.data(), zero.size()));
}

TEST(FormatAddressField, FirstOctetFirstUppercase)
{
    EXPECT_EQ(FormatAddressField(Ipv4(192, 168, 0, 1)), "C0A80001");
    EXPECT_EQ(FormatAddressField(Ipv4(255, 255, 255, 0)), "FFFFFF00");
    EXPECT_EQ(FormatAddressField(Ipv4(192, 168, 0, 254)), "C0A800FE");
    EXPECT_EQ(FormatAddressField(0), "00000000");
    EXPECT_EQ(FormatAddressField(Ipv4(10, 11, 12, 13)), "0A0B0C0D");
}

// ---- reply acceptance -------------------------------------------------------

struct ReplyCase {
    const char* name;
    std::string bytes;
    ReplyKind expected;
};

std::string GoodSearchReply()
{
    return BuildSearchReply("001A2B3C4D5E", Ipv4(192, 168, 0, 10), Ipv4(255, 255, 255, 0), Ipv4(192, 168, 0, 254), 9100,
                            false, "3.07", 2024);
}

TEST(ReplyAcceptance, Table)
{
    const std::string search = GoodSearchReply();
    const std::string save = BuildSaveReply(77);

    std::string wrongCrc = search;
    wrongCrc[3] = wrongCrc[3] == '0' ? '1' : '0';

    // A checksum with letters in it, rendered in lowercase.
    std::string lowercase;
    for (std::uint32_t seed = 0;; ++seed) {
        lowercase = BuildSaveReply(seed);
        if (LowerHex(PayloadCrc(lowercase)) != UpperHex(PayloadCrc(lowercase)))
            break;
    }
    FormatCrcLower(PayloadCrc(lowercase), lowercase.data());

    std::string command22 = save;
    command22[9] = '2';
    command22 = SealReply(command22);

    const std::string ownSearch = BuildSearchRequest(kNoMac, 3);
    const std::string ownSearchMac = BuildSearchRequest(kMac, 3);
    const std::string ownSave = BuildSaveRequest("00:1A:2B:3C:4D:5E", 1, 2, 3, 9100, 1, 3);
    // The program's request resealed in uppercase: still its command, still dropped.
    const std::string ownSaveUpper = SealReply(ownSave);

    std::string zeroInside = search;
    zeroInside[70] = '\0';
    zeroInside = SealReply(zeroInside);
    std::string zeroInChecksum = search;
    zeroInChecksum[2] = '\0';

    std::string longer = search + "extra bytes beyond 128";
    std::string longerWithZero = search + std::string("\0\0zz", 4);

    const std::string worked = "05DFCC14" + ("21" + std::string(118, '0'));
    const std::string workedLower = "05dfcc14" + ("21" + std::string(118, '0'));

    const std::vector<ReplyCase> cases = {
        {"good_search_reply", search, ReplyKind::SearchReply},
        {"good_save_reply", save, ReplyKind::SaveReply},
        {"worked_save_reply_uppercase", worked, ReplyKind::SaveReply},
        {"worked_save_reply_lowercase", workedLower, ReplyKind::Dropped},
        {"wrong_checksum", wrongCrc, ReplyKind::Dropped},
        {"lowercase_checksum", lowercase, ReplyKind::Dropped},
        {"command_22", command22, ReplyKind::Dropped},
        {"own_search_request_echoed", ownSearch, ReplyKind::Dropped},
        {"own_search_request_by_mac_echoed", ownSearchMac, ReplyKind::Dropped},
        {"own_save_request_echoed", ownSave, ReplyKind::Dropped},
        {"own_save_request_uppercase_sealed", ownSaveUpper, ReplyKind::Dropped},
        {"shorter_than_128", search.substr(0, 127), ReplyKind::Dropped},
        {"empty", std::string(), ReplyKind::Dropped},
        {"zero_byte_inside_first_128", zeroInside, ReplyKind::Dropped},
        {"zero_byte_in_checksum_field", zeroInChecksum, ReplyKind::Dropped},
        {"longer_than_128_valid_head", longer, ReplyKind::SearchReply},
        {"longer_than_128_zero_after_128", longerWithZero, ReplyKind::SearchReply},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Each datagram in a buffer of exactly its length: a read beyond it would be
        // caught by AddressSanitizer.
        auto buffer = std::make_unique<char[]>(c.bytes.size() + (c.bytes.empty() ? 1 : 0));
        std::memcpy(buffer.get(), c.bytes.data(), c.bytes.size());
        EXPECT_EQ(ClassifyReply(buffer.get(), c.bytes.size()), c.expected);
    }
    EXPECT_EQ(ClassifyReply(nullptr, 0), ReplyKind::Dropped);
}

TEST(ReplyAcceptance, ChecksumCoversPositions8To127Only)
{
    // Changing any byte in 8-127 without resealing drops the reply.
    const std::string search = GoodSearchReply();
    for (std::size_t i = 8; i < kDatagramSize; ++i) {
        std::string changed = search;
        changed[i] = changed[i] == 'Q' ? 'R' : 'Q';
        ASSERT_EQ(ClassifyReply(changed.data(), changed.size()), ReplyKind::Dropped) << i;
    }
}

// ---- replies built by the device side ---------------------------------------

TEST(DeviceReplies, SearchReplyLayout)
{
    const std::string reply = BuildSearchReply("001A2B3C4D5E", Ipv4(192, 168, 0, 10), Ipv4(255, 255, 255, 0),
                                               Ipv4(192, 168, 0, 254), 9100, true, "3.07", 1);
    ASSERT_EQ(reply.size(), kDatagramSize);
    EXPECT_EQ(reply.find('\0'), std::string::npos);
    EXPECT_EQ(reply.substr(0, 8), UpperHex(PayloadCrc(reply)));
    EXPECT_EQ(reply.substr(8, 43), "20001A2B3C4D5EC0A8000AFFFFFF00C0A800FE8C231");
    EXPECT_EQ(reply.substr(60, 6), " 3.070");
}

TEST(DeviceReplies, FillerNeverZeroAndSealedUppercase)
{
    for (std::uint32_t seed = 0; seed < 1000; ++seed) {
        const std::string reply = BuildSearchReply("AABBCCDDEEFF", seed, ~seed, seed ^ 0x5A5A5A5Au,
                                                   static_cast<std::uint16_t>(seed), seed & 1, "1.00", seed);
        ASSERT_EQ(reply.find('\0'), std::string::npos);
        ASSERT_EQ(ClassifyReply(reply.data(), reply.size()), ReplyKind::SearchReply);
        const std::string save = BuildSaveReply(seed);
        ASSERT_EQ(save.find('\0'), std::string::npos);
        ASSERT_EQ(ClassifyReply(save.data(), save.size()), ReplyKind::SaveReply);
    }
}

TEST(DeviceReplies, RoundTripThroughReaders)
{
    const std::string reply = BuildSearchReply("00a1B2c3D4e5", Ipv4(172, 16, 5, 200), Ipv4(255, 255, 0, 0),
                                               Ipv4(172, 16, 0, 1), 35875, false, "2.10", 44);
    EXPECT_EQ(MacTextOf(reply), "00:a1:B2:c3:D4:e5");
    EXPECT_EQ(AddressFieldOf(reply, 22), Ipv4(172, 16, 5, 200));
    EXPECT_EQ(AddressFieldOf(reply, 30), Ipv4(255, 255, 0, 0));
    EXPECT_EQ(AddressFieldOf(reply, 38), Ipv4(172, 16, 0, 1));
    EXPECT_EQ(PortFieldOf(reply), 35875);
    EXPECT_EQ(DhcpFlagOf(reply), false);
    EXPECT_EQ(VersionOf(reply), " 2.10");
}

TEST(DeviceReplies, SealReply)
{
    std::string reply = BuildSaveReply(3);
    reply[100] = '#';
    EXPECT_EQ(ClassifyReply(reply.data(), reply.size()), ReplyKind::Dropped);
    reply = SealReply(reply);
    EXPECT_EQ(ClassifyReply(reply.data(), reply.size()), ReplyKind::SaveReply);
    EXPECT_EQ(SealReply("short"), "short");
    // Bytes beyond 128 are kept and not covered.
    const std::string longer = SealReply(reply + "tail");
    EXPECT_EQ(longer.substr(0, 128), reply);
    EXPECT_EQ(longer.substr(128), "tail");
}

// ---- field readers ----------------------------------------------------------

// A 128-character record of '#' with the given text written at offset.
std::string RecordWith(std::size_t offset, const std::string& text)
{
    std::string record(128, '#');
    record.replace(offset, text.size(), text);
    return record;
}

TEST(FieldReaders, Table)
{
    EXPECT_EQ(PortFieldOf(RecordWith(46, "8C23")), 9100);
    EXPECT_EQ(PortFieldOf(RecordWith(46, "238C")), 35875);
    EXPECT_EQ(PortFieldOf(RecordWith(46, "1700")), 23);
    EXPECT_EQ(PortFieldOf(RecordWith(46, "ffff")), 65535);
    EXPECT_EQ(PortFieldOf(RecordWith(46, "zz01")), 256);

    EXPECT_EQ(AddressFieldOf(RecordWith(22, "c0a80001"), 22), Ipv4(192, 168, 0, 1));
    EXPECT_EQ(AddressFieldOf(RecordWith(22, "C0A80001"), 22), Ipv4(192, 168, 0, 1));
    EXPECT_EQ(AddressFieldOf(RecordWith(30, "FFFFFF00"), 30), Ipv4(255, 255, 255, 0));
    EXPECT_EQ(AddressFieldOf(RecordWith(38, "C0A800FE"), 38), Ipv4(192, 168, 0, 254));
    EXPECT_EQ(AddressFieldOf(RecordWith(22, "C0g80x01"), 22), Ipv4(192, 8, 0, 1));  // g8 -> 08, 0x -> 00

    EXPECT_EQ(DhcpFlagOf(RecordWith(50, "1")), true);
    EXPECT_EQ(DhcpFlagOf(RecordWith(50, "0")), false);
    EXPECT_EQ(DhcpFlagOf(RecordWith(50, "Y")), false);

    EXPECT_EQ(MacTextOf(RecordWith(10, "001A2B3C4D5E")), "00:1A:2B:3C:4D:5E");

    EXPECT_EQ(VersionOf(RecordWith(60, " 3x070")), " 3.07");
    EXPECT_EQ(VersionOf(RecordWith(60, " 2.070")), " 2.07");
    EXPECT_EQ(VersionOf(RecordWith(60, "3x0700")), std::nullopt);   // position 60 is '3'
    EXPECT_EQ(VersionOf(RecordWith(60, " 3x071")), std::nullopt);   // position 65 is not '0'
}

TEST(FieldReaders, TooShortRecordsGiveNullopt)
{
    const std::string full = GoodSearchReply();
    // Exactly long enough.
    EXPECT_TRUE(MacTextOf(std::string_view(full).substr(0, 22)));
    EXPECT_TRUE(AddressFieldOf(std::string_view(full).substr(0, 30), 22));
    EXPECT_TRUE(AddressFieldOf(std::string_view(full).substr(0, 38), 30));
    EXPECT_TRUE(AddressFieldOf(std::string_view(full).substr(0, 46), 38));
    EXPECT_TRUE(PortFieldOf(std::string_view(full).substr(0, 50)));
    EXPECT_TRUE(DhcpFlagOf(std::string_view(full).substr(0, 51)));
    EXPECT_TRUE(VersionOf(std::string_view(full).substr(0, 66)));
    EXPECT_TRUE(PatchRecordAddresses(std::string_view(full).substr(0, 46), 1, 2, 3));
    // One short. Each in its own exact-size allocation: ASan catches any read beyond.
    auto check = [&full](std::size_t length, auto reader) {
        auto buffer = std::make_unique<char[]>(length + 1);
        std::memcpy(buffer.get(), full.data(), length);
        return reader(std::string_view(buffer.get(), length));
    };
    EXPECT_FALSE(check(21, [](std::string_view r) { return MacTextOf(r).has_value(); }));
    EXPECT_FALSE(check(29, [](std::string_view r) { return AddressFieldOf(r, 22).has_value(); }));
    EXPECT_FALSE(check(37, [](std::string_view r) { return AddressFieldOf(r, 30).has_value(); }));
    EXPECT_FALSE(check(45, [](std::string_view r) { return AddressFieldOf(r, 38).has_value(); }));
    EXPECT_FALSE(check(49, [](std::string_view r) { return PortFieldOf(r).has_value(); }));
    EXPECT_FALSE(check(50, [](std::string_view r) { return DhcpFlagOf(r).has_value(); }));
    EXPECT_FALSE(check(65, [](std::string_view r) { return VersionOf(r).has_value(); }));
    EXPECT_FALSE(check(45, [](std::string_view r) { return PatchRecordAddresses(r, 1, 2, 3).has_value(); }));
    // The empty record (the edited record before any Save).
    const std::string_view empty;
    EXPECT_FALSE(MacTextOf(empty));
    EXPECT_FALSE(AddressFieldOf(empty, 22));
    EXPECT_FALSE(PortFieldOf(empty));
    EXPECT_FALSE(DhcpFlagOf(empty));
    EXPECT_FALSE(VersionOf(empty));
    EXPECT_FALSE(PatchRecordAddresses(empty, 1, 2, 3));
    // Offsets beyond the record.
    EXPECT_FALSE(AddressFieldOf(full, 121));
    EXPECT_FALSE(AddressFieldOf(full, 1000));
    EXPECT_FALSE(AddressFieldOf(full, static_cast<std::size_t>(-1)));
    EXPECT_TRUE(AddressFieldOf(full, 120));
    EXPECT_LT(kMinRecordLength - 1, 66u);
    EXPECT_EQ(kMinRecordLength, 66u);
}

TEST(PatchRecordAddresses, WritesOnly22To45)
{
    const std::string record = BuildSearchReply("001A2B3C4D5E", Ipv4(192, 168, 0, 10), Ipv4(255, 255, 255, 0),
                                                Ipv4(192, 168, 0, 254), 9100, true, "3.07", 9) +
                               "extra";
    const auto edited = PatchRecordAddresses(record, Ipv4(10, 1, 2, 3), Ipv4(255, 0, 0, 0), Ipv4(10, 0, 0, 1));
    ASSERT_TRUE(edited);
    ASSERT_EQ(edited->size(), record.size());
    EXPECT_EQ(edited->substr(0, 22), record.substr(0, 22));
    EXPECT_EQ(edited->substr(22, 24), "0A010203FF0000000A000001");
    EXPECT_EQ(edited->substr(46), record.substr(46));
    EXPECT_EQ(PortFieldOf(*edited), 9100);
    EXPECT_EQ(DhcpFlagOf(*edited), true);
}

} // namespace

TEST(WhyDropped, NamesTheFirstRuleADatagramBreaks)
{
    const std::string good = BuildSearchReply("001A2B3C4D01", 0xC0A80001, 0xFFFFFF00, 0xC0A800FE, 9100, false, "3.07", 7);
    std::string zero = good;
    zero[100] = '\0';
    std::string badCrc = good;
    badCrc[0] = badCrc[0] == 'A' ? 'B' : 'A';
    const std::string unknown = SealReply("xxxxxxxx22" + good.substr(10));
    const std::string request = BuildSearchRequest({}, 3);
    const struct {
        std::string datagram;
        DropReason reason;
    } cases[] = {{good, DropReason::None},
                 {good.substr(0, 127), DropReason::Short},
                 {zero, DropReason::ZeroInside},
                 {badCrc, DropReason::Checksum},
                 {unknown, DropReason::UnknownCommand},
                 {request, DropReason::Checksum}};  // a request is sealed in lower case
    for (const auto& c : cases) {
        SCOPED_TRACE(c.datagram.substr(0, 10));
        EXPECT_EQ(WhyDropped(c.datagram.data(), c.datagram.size()), c.reason);
        EXPECT_EQ(c.reason == DropReason::None, ClassifyReply(c.datagram.data(), c.datagram.size()) != ReplyKind::Dropped);
    }
}
