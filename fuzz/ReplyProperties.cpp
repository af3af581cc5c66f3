#include "fuzz/ReplyProperties.h"

#include "fuzz/ExactBuffer.h"
#include "link/Crc.h"
#include "link/DeviceRecord.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

// Value of count hex characters at offset, an invalid digit counting as 0, taken two at a
// time with the first pair most significant: how the record display reads a field.
std::uint32_t HexField(std::string_view text, std::size_t offset, std::size_t count)
{
    auto digit = [](char c) -> std::uint32_t {
        if (c >= '0' && c <= '9')
            return static_cast<std::uint32_t>(c - '0');
        if (c >= 'A' && c <= 'F')
            return static_cast<std::uint32_t>(c - 'A' + 10);
        if (c >= 'a' && c <= 'f')
            return static_cast<std::uint32_t>(c - 'a' + 10);
        return 0;
    };
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value * 16 + digit(text[offset + i]);
    return value;
}

// The verdict the wire format gives, worked out without the acceptance code.
ReplyKind ExpectedKind(const char* bytes, std::size_t size)
{
    if (size < kDatagramSize || std::memchr(bytes, 0, kDatagramSize) != nullptr)
        return ReplyKind::Dropped;
    char seal[8];
    FormatCrcUpper(CalcCrc(reinterpret_cast<const unsigned char*>(bytes) + kCommandOffset,
                           kDatagramSize - kCommandOffset),
                   seal);
    if (std::memcmp(seal, bytes, sizeof seal) != 0 || bytes[kCommandOffset] != '2')
        return ReplyKind::Dropped;
    if (bytes[kCommandOffset + 1] == '0')
        return ReplyKind::SearchReply;
    if (bytes[kCommandOffset + 1] == '1')
        return ReplyKind::SaveReply;
    return ReplyKind::Dropped;
}

// Every field of a record against its text.
void CheckRecord(Findings& findings, const DeviceRecord& record)
{
    const std::string& text = record.text;
    CHECK_RULE(findings, text.size() >= kMinRecordLength);
    CHECK_RULE(findings, record.mac12 == text.substr(kMacOffset, 12));
    CHECK_RULE(findings, record.macText.size() == 17);
    for (std::size_t pair = 0; pair < 6 && record.macText.size() == 17; ++pair) {
        CHECK_RULE(findings, record.macText.compare(3 * pair, 2, text, kMacOffset + 2 * pair, 2) == 0);
        CHECK_RULE(findings, pair == 5 || record.macText[3 * pair + 2] == ':');
    }
    CHECK_RULE(findings, record.ip == HexField(text, kIpOffset, 8));
    CHECK_RULE(findings, record.mask == HexField(text, kMaskOffset, 8));
    CHECK_RULE(findings, record.gateway == HexField(text, kGatewayOffset, 8));
    // Low byte first.
    CHECK_RULE(findings, record.port == HexField(text, kPortOffset, 2) + 256 * HexField(text, kPortOffset + 2, 2));
    CHECK_RULE(findings, record.dhcp == (text[kDhcpOffset] == '1'));
    const bool versioned = text[kVersionOffset] == ' ' && text[kVersionOffset + 5] == '0';
    CHECK_RULE(findings, record.version.has_value() == versioned);
    if (versioned && record.version)
        CHECK_RULE(findings, *record.version == std::string({text[60], text[61], '.', text[63], text[64]}));
}

constexpr std::uint32_t kEditIp = 0xC0A80001, kEditMask = 0xFFFFFF00, kEditGateway = 0xC0A800FE;

// The Save workflow's edited copy of any record text: 22-45 rewritten when it reaches 45,
// nothing else changed, nothing read beyond its end.
void CheckPatch(Findings& findings, std::string_view record)
{
    const auto edited = PatchRecordAddresses(record, kEditIp, kEditMask, kEditGateway);
    CHECK_RULE(findings, edited.has_value() == (record.size() >= kGatewayOffset + 8));
    if (edited) {
        CHECK_RULE(findings, edited->size() == record.size());
        CHECK_RULE(findings, record.compare(0, kIpOffset, *edited, 0, kIpOffset) == 0);
        CHECK_RULE(findings, record.substr(kPortOffset) == std::string_view(*edited).substr(kPortOffset));
        CHECK_RULE(findings, edited->substr(kIpOffset, 24) == "C0A80001FFFFFF00C0A800FE");
    }
    CHECK_RULE(findings, MacTextOf(record).has_value() == (record.size() >= kMacOffset + 12));
}

// The save request for an accepted record.
void CheckSaveFrom(Findings& findings, const DeviceRecord& record, std::uint32_t seed)
{
    const DeviceEdit edit{kEditIp, kEditMask, kEditGateway, seed % 65536, static_cast<int>(seed % 3)};
    const std::string request = BuildSaveRequest(record, edit, seed);
    const auto read = ReadSaveRequest(request.data(), request.size());
    CHECK_RULE(findings, request.size() == kDatagramSize);
    CHECK_RULE(findings, read.has_value());
    if (read) {
        // The MAC goes back exactly as it arrived.
        CHECK_RULE(findings, read->mac12 == record.mac12);
        CHECK_RULE(findings, read->ip == kEditIp && read->mask == kEditMask && read->gateway == kEditGateway);
        CHECK_RULE(findings, read->port == edit.port);
        CHECK_RULE(findings, read->dhcp == (edit.dhcp == 1));
    }
}

// As the endpoint receives it: the bytes in a buffer of exactly their size.
ReplyKind Receive(Findings& findings, const char* bytes, std::size_t size)
{
    const ExactBuffer received(bytes, size);
    const AcceptedReply reply = AcceptReply(received.data(), received.size());
    CHECK_RULE(findings, reply.kind == ExpectedKind(bytes, size));
    CHECK_RULE(findings, reply.record.has_value() == (reply.kind == ReplyKind::SearchReply));
    CHECK_RULE(findings, AcceptSearchReply(received.data(), received.size()).has_value() == reply.record.has_value());
    if (reply.record) {
        // The text up to the first zero byte: all 128 and whatever follows them before a zero.
        const void* zero = std::memchr(bytes, 0, size);
        const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
        CHECK_RULE(findings, reply.record->text == std::string_view(bytes, length));
        CheckRecord(findings, *reply.record);
        CheckSaveFrom(findings, *reply.record, static_cast<std::uint32_t>(size));
    }
    return reply.kind;
}

} // namespace

ReplyRun CheckReplyInput(const std::uint8_t* data, std::size_t size)
{
    ReplyRun run;
    const char* bytes = reinterpret_cast<const char*>(data);
    run.kind = Receive(run.findings, bytes, size);

    if (size >= kDatagramSize) {
        const std::string sealed = SealReply(std::string(bytes, size));
        const bool clean = std::memchr(sealed.data(), 0, kDatagramSize) == nullptr;
        const bool replyCommand = sealed[kCommandOffset] == '2' &&
                                  (sealed[kCommandOffset + 1] == '0' || sealed[kCommandOffset + 1] == '1');
        const ReplyKind kind = Receive(run.findings, sealed.data(), sealed.size());
        CHECK_RULE(run.findings, (kind != ReplyKind::Dropped) == (clean && replyCommand));
    }

    // Any text as a record, short or holding zero bytes: decoded only when it holds every
    // shown field, and never read beyond its end.
    const ExactBuffer raw(bytes, size);
    const auto record = DecodeDeviceRecord(std::string(raw.view()));
    CHECK_RULE(run.findings, record.has_value() == (size >= kMinRecordLength));
    if (record) {
        CHECK_RULE(run.findings, record->text == raw.view());
        CheckRecord(run.findings, *record);
    }
    CheckPatch(run.findings, raw.view());
    return run;
}
