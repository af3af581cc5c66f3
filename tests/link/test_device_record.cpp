// The device record: which received datagrams become one, the fields it decodes, and the
// save request built from it.
#include "link/DeviceRecord.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::array<std::string, 6> kNoMac = {"", "", "", "", "", ""};
const std::array<std::string, 6> kMac = {"00", "1A", "2B", "3C", "4D", "5E"};

std::string SearchReply(std::uint32_t seed = 2024)
{
    return BuildSearchReply("001A2B3C4D5E", Ipv4(192, 168, 0, 10), Ipv4(255, 255, 255, 0), Ipv4(192, 168, 0, 254),
                            9100, false, "3.07", seed);
}

// A reply whose checksum has a letter in it, so that its two renderings differ.
std::string ReplyWithLetterInChecksum()
{
    for (std::uint32_t seed = 0;; ++seed) {
        std::string reply = SearchReply(seed);
        if (LowerHex(PayloadCrc(reply)) != UpperHex(PayloadCrc(reply)))
            return reply;
    }
}

// The datagram in a buffer of exactly its size: AddressSanitizer reports a read beyond it.
AcceptedReply Accept(const std::string& datagram)
{
    auto buffer = std::make_unique<char[]>(datagram.size() + (datagram.empty() ? 1 : 0));
    std::memcpy(buffer.get(), datagram.data(), datagram.size());
    return AcceptReply(buffer.get(), datagram.size());
}

struct AcceptCase {
    const char* name;
    std::string datagram;
    ReplyKind kind;
    std::string recordText;  // the record of a search reply; empty for anything else
};

TEST(AcceptReply, Table)
{
    const std::string search = SearchReply();
    const std::string save = BuildSaveReply(77);

    std::string wrongChecksum = search;
    wrongChecksum[3] = wrongChecksum[3] == '0' ? '1' : '0';
    std::string zeroInside = search;
    zeroInside[70] = '\0';
    zeroInside = SealReply(zeroInside);
    std::string unknownCommand = search;
    unknownCommand[9] = '2';
    unknownCommand = SealReply(unknownCommand);

    const std::string tail = "bytes beyond 128";
    const std::string zeroTail("after\0hidden", 12);

    const std::vector<AcceptCase> cases = {
        {"search_reply", search, ReplyKind::SearchReply, search},
        {"save_reply", save, ReplyKind::SaveReply, ""},
        {"lowercase_checksum", SealedLower(ReplyWithLetterInChecksum()), ReplyKind::Dropped, ""},
        {"wrong_checksum", wrongChecksum, ReplyKind::Dropped, ""},
        {"short", search.substr(0, 127), ReplyKind::Dropped, ""},
        {"empty", "", ReplyKind::Dropped, ""},
        {"zero_byte_inside_first_128", zeroInside, ReplyKind::Dropped, ""},
        {"beyond_128_without_zero", search + tail, ReplyKind::SearchReply, search + tail},
        {"beyond_128_with_zero", search + zeroTail, ReplyKind::SearchReply, search + "after"},
        {"zero_right_after_128", search + std::string(1, '\0') + tail, ReplyKind::SearchReply, search},
        {"unknown_command", unknownCommand, ReplyKind::Dropped, ""},
        {"own_search_request", BuildSearchRequest(kNoMac, 3), ReplyKind::Dropped, ""},
        {"own_search_request_by_mac", BuildSearchRequest(kMac, 3), ReplyKind::Dropped, ""},
        {"own_save_request", BuildSaveRequest("00:1A:2B:3C:4D:5E", 1, 2, 3, 9100, 1, 3), ReplyKind::Dropped, ""},
    };
    for (const AcceptCase& c : cases) {
        SCOPED_TRACE(c.name);
        const AcceptedReply reply = Accept(c.datagram);
        EXPECT_EQ(reply.kind, c.kind);
        ASSERT_EQ(reply.record.has_value(), c.kind == ReplyKind::SearchReply);
        if (reply.record) {
            EXPECT_EQ(reply.record->text, c.recordText);
        }
        EXPECT_EQ(AcceptSearchReply(c.datagram.data(), c.datagram.size()).has_value(),
                  c.kind == ReplyKind::SearchReply);
    }
    EXPECT_EQ(AcceptReply(nullptr, 0).kind, ReplyKind::Dropped);
    EXPECT_FALSE(AcceptSearchReply(nullptr, 0));
}

TEST(AcceptReply, DecodesEveryFieldOfTheSearchReply)
{
    const std::string reply = BuildSearchReply("00a1B2c3D4e5", Ipv4(172, 16, 5, 200), Ipv4(255, 255, 0, 0),
                                               Ipv4(172, 16, 0, 1), 35875, true, "2.10", 44);
    const auto record = AcceptSearchReply(reply.data(), reply.size());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->text, reply);
    EXPECT_EQ(record->mac12, "00a1B2c3D4e5");
    EXPECT_EQ(record->macText, "00:a1:B2:c3:D4:e5");
    EXPECT_EQ(record->ip, Ipv4(172, 16, 5, 200));
    EXPECT_EQ(record->mask, Ipv4(255, 255, 0, 0));
    EXPECT_EQ(record->gateway, Ipv4(172, 16, 0, 1));
    EXPECT_EQ(record->port, 35875);
    EXPECT_TRUE(record->dhcp);
    EXPECT_EQ(record->version, " 2.10");
}

// The search reply with text written over it at offset; the decoder checks no seal.
std::string RecordWith(std::size_t offset, const std::string& text)
{
    std::string record = SearchReply();
    record.replace(offset, text.size(), text);
    return record;
}

TEST(DecodeDeviceRecord, FieldsAsTheDisplayReadsThem)
{
    // Port low byte first; address pairs in either case, an invalid digit counting as 0.
    EXPECT_EQ(DecodeDeviceRecord(RecordWith(46, "8C23"))->port, 9100);
    EXPECT_EQ(DecodeDeviceRecord(RecordWith(46, "238C"))->port, 35875);
    EXPECT_EQ(DecodeDeviceRecord(RecordWith(22, "c0a80001"))->ip, Ipv4(192, 168, 0, 1));
    EXPECT_EQ(DecodeDeviceRecord(RecordWith(30, "FFFFFF00"))->mask, Ipv4(255, 255, 255, 0));
    EXPECT_EQ(DecodeDeviceRecord(RecordWith(38, "C0g800FE"))->gateway, Ipv4(192, 8, 0, 254));
    EXPECT_TRUE(DecodeDeviceRecord(RecordWith(50, "1"))->dhcp);
    EXPECT_FALSE(DecodeDeviceRecord(RecordWith(50, "Y"))->dhcp);
    EXPECT_EQ(DecodeDeviceRecord(RecordWith(60, " 3x070"))->version, " 3.07");
    // Not in the version's form: the display keeps what it showed.
    EXPECT_EQ(DecodeDeviceRecord(RecordWith(60, "3x0700"))->version, std::nullopt);
    EXPECT_EQ(DecodeDeviceRecord(RecordWith(60, " 3x071"))->version, std::nullopt);
}

TEST(DecodeDeviceRecord, NeedsTheVersionFieldAndReadsNoFurther)
{
    const std::string reply = SearchReply();
    // Each text in its own allocation of exactly its size.
    auto decode = [](const std::string& text) {
        auto buffer = std::make_unique<char[]>(text.size());
        std::memcpy(buffer.get(), text.data(), text.size());
        return DecodeDeviceRecord(std::string(buffer.get(), text.size()));
    };
    EXPECT_FALSE(decode(""));
    EXPECT_FALSE(decode(reply.substr(0, kMinRecordLength - 1)));
    const auto shortest = decode(reply.substr(0, kMinRecordLength));
    ASSERT_TRUE(shortest);
    EXPECT_EQ(shortest->version, " 3.07");
    EXPECT_EQ(shortest->text.size(), kMinRecordLength);
}

TEST(BuildSaveRequest, FromTheRecordWithTheEditedFields)
{
    // The MAC exactly as it arrived, never decoded or case-changed; the record's own
    // addresses, port and DHCP flag do not leak into the request.
    const std::string reply = BuildSearchReply("00a1B2c3D4zz", Ipv4(10, 0, 0, 5), Ipv4(255, 0, 0, 0),
                                               Ipv4(10, 0, 0, 1), 9100, true, "3.07", 5);
    const auto record = AcceptSearchReply(reply.data(), reply.size());
    ASSERT_TRUE(record);

    struct EditCase {
        const char* name;
        DeviceEdit edit;
        std::uint16_t port;
        bool dhcp;
    };
    const std::vector<EditCase> cases = {
        {"dhcp_off", {Ipv4(192, 168, 0, 1), Ipv4(255, 255, 255, 0), Ipv4(192, 168, 0, 254), 4001, 0}, 4001, false},
        {"dhcp_on", {Ipv4(172, 16, 1, 2), Ipv4(255, 255, 0, 0), Ipv4(172, 16, 0, 1), 50000, 1}, 50000, true},
        {"dhcp_not_exactly_1", {0, 0, 0, 1024, 2}, 1024, false},
        {"largest_port", {0, 0, 0, 65535, 0}, 65535, false},
        // A port the field cannot hold keeps the device's own instead of its low 16 bits.
        {"port_too_large", {0, 0, 0, 65536 + 4001, 0}, 9100, false},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string request = BuildSaveRequest(*record, c.edit, 31337);
        ASSERT_EQ(request.size(), kDatagramSize);
        const auto fields = ReadSaveRequest(request.data(), request.size());
        ASSERT_TRUE(fields);
        EXPECT_EQ(fields->mac12, "00a1B2c3D4zz");
        EXPECT_EQ(fields->ip, c.edit.ip);
        EXPECT_EQ(fields->mask, c.edit.mask);
        EXPECT_EQ(fields->gateway, c.edit.gateway);
        EXPECT_EQ(fields->port, c.port);
        EXPECT_EQ(fields->dhcp, c.dhcp);
    }
}

} // namespace
