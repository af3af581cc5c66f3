#include "link/Datagram.h"

#include "link/Crc.h"
#include "link/HexCodec.h"
#include "link/SeededRandom.h"

#include <cstring>

namespace {

constexpr char kUpperHex[] = "0123456789ABCDEF";

// 128 bytes: 0-7 placeholders (overwritten by the seal), 8-127 filler drawn in order.
std::string FilledDatagram(std::uint32_t seed)
{
    std::string datagram(kDatagramSize, '0');
    SeededRandom random(seed);
    for (std::size_t i = kCommandOffset; i < kDatagramSize; ++i)
        datagram[i] = static_cast<char>(random.Next() % 96 + 32);
    return datagram;
}

std::uint32_t PayloadCrc(const char* datagram)
{
    return CalcCrc(reinterpret_cast<const unsigned char*>(datagram) + kCommandOffset,
                   kDatagramSize - kCommandOffset);
}

// Writes the eight digits into 0-7 only; position 8 is never touched.
void SealLower(std::string& datagram)
{
    FormatCrcLower(PayloadCrc(datagram.data()), datagram.data());
}

void SealUpper(std::string& datagram)
{
    FormatCrcUpper(PayloadCrc(datagram.data()), datagram.data());
}

void WriteHexByte(std::string& datagram, std::size_t offset, unsigned value)
{
    datagram[offset] = kUpperHex[(value >> 4) & 0xFu];
    datagram[offset + 1] = kUpperHex[value & 0xFu];
}

void WriteAddress(std::string& datagram, std::size_t offset, std::uint32_t address)
{
    for (std::size_t i = 0; i < 4; ++i)
        WriteHexByte(datagram, offset + 2 * i, (address >> (24 - 8 * i)) & 0xFFu);
}

std::uint32_t DecodeAddress(const char* text)
{
    unsigned char octets[4];
    HexPairsToBytes(text, octets, 8);
    return (static_cast<std::uint32_t>(octets[0]) << 24) | (static_cast<std::uint32_t>(octets[1]) << 16) |
           (static_cast<std::uint32_t>(octets[2]) << 8) | static_cast<std::uint32_t>(octets[3]);
}

// At least 128 bytes, no zero byte in the first 128, 0-7 equal to the rendering of
// the checksum of 8-127 (case-sensitive).
bool IsSealed(const char* data, std::size_t length, bool upper)
{
    if (data == nullptr || length < kDatagramSize)
        return false;
    if (std::memchr(data, 0, kDatagramSize) != nullptr)
        return false;
    char expected[8];
    if (upper)
        FormatCrcUpper(PayloadCrc(data), expected);
    else
        FormatCrcLower(PayloadCrc(data), expected);
    return std::memcmp(expected, data, sizeof expected) == 0;
}

bool HasCommand(const char* data, char c0, char c1)
{
    return data[kCommandOffset] == c0 && data[kCommandOffset + 1] == c1;
}

} // namespace

std::string BuildSearchRequest(const std::array<std::string, 6>& macStrings, std::uint32_t seed)
{
    std::string datagram = FilledDatagram(seed);
    bool byMac = true;
    for (const std::string& mac : macStrings)
        byMac = byMac && mac.size() == 2;
    datagram[kCommandOffset] = '0';
    datagram[kCommandOffset + 1] = byMac ? '1' : '0';
    if (byMac) {
        for (std::size_t box = 0; box < 6; ++box) {
            datagram[kMacOffset + 2 * box] = macStrings[box][0];
            datagram[kMacOffset + 2 * box + 1] = macStrings[box][1];
        }
    }
    SealLower(datagram);
    return datagram;
}

std::string BuildSaveRequest(const std::string& macText, std::uint32_t ip, std::uint32_t mask,
                             std::uint32_t gateway, std::uint32_t port, int dhcpValue,
                             std::uint32_t seed)
{
    std::string datagram = FilledDatagram(seed);
    datagram[kCommandOffset] = '1';
    datagram[kCommandOffset + 1] = '0';
    // Characters 0,1, 3,4, ..., 15,16 of "aa:bb:cc:dd:ee:ff".
    for (std::size_t pair = 0; pair < 6; ++pair)
        for (std::size_t k = 0; k < 2; ++k) {
            const std::size_t from = 3 * pair + k;
            if (from < macText.size())
                datagram[kMacOffset + 2 * pair + k] = macText[from];
        }
    WriteAddress(datagram, kIpOffset, ip);
    WriteAddress(datagram, kMaskOffset, mask);
    WriteAddress(datagram, kGatewayOffset, gateway);
    // "%04X"; a value above 65535 keeps its low 16 bits (documented in the header).
    WriteHexByte(datagram, kPortOffset, (port >> 8) & 0xFFu);
    WriteHexByte(datagram, kPortOffset + 2, port & 0xFFu);
    datagram[kDhcpOffset] = dhcpValue == 1 ? '1' : '0';
    SealLower(datagram);
    return datagram;
}

std::string FormatAddressField(std::uint32_t address)
{
    std::string text(8, '0');
    WriteAddress(text, 0, address);
    return text;
}

DropReason WhyDropped(const char* data, std::size_t length)
{
    if (data == nullptr || length < kDatagramSize)
        return DropReason::Short;
    if (std::memchr(data, 0, kDatagramSize) != nullptr)
        return DropReason::ZeroInside;
    if (!IsSealed(data, length, true))
        return DropReason::Checksum;
    return ClassifyReply(data, length) == ReplyKind::Dropped ? DropReason::UnknownCommand : DropReason::None;
}

const char* DropReasonText(DropReason reason)
{
    switch (reason) {
    case DropReason::None: return "";
    case DropReason::Short: return "shorter than 128 bytes";
    case DropReason::ZeroInside: return "a zero byte within its first 128";
    case DropReason::Checksum: return "wrong checksum";
    case DropReason::UnknownCommand: return "unknown command";
    }
    return "";
}

ReplyKind ClassifyReply(const char* data, std::size_t length)
{
    if (!IsSealed(data, length, true))
        return ReplyKind::Dropped;
    if (HasCommand(data, '2', '0'))
        return ReplyKind::SearchReply;
    if (HasCommand(data, '2', '1'))
        return ReplyKind::SaveReply;
    return ReplyKind::Dropped;
}

std::optional<std::string> MacTextOf(std::string_view record)
{
    if (record.size() < kMacOffset + 12)
        return std::nullopt;
    std::string text;
    text.reserve(17);
    for (std::size_t pair = 0; pair < 6; ++pair) {
        if (pair != 0)
            text += ':';
        text += record[kMacOffset + 2 * pair];
        text += record[kMacOffset + 2 * pair + 1];
    }
    return text;
}

std::optional<std::uint32_t> AddressFieldOf(std::string_view record, std::size_t offset)
{
    if (offset > record.size() || record.size() - offset < 8)
        return std::nullopt;
    return DecodeAddress(record.data() + offset);
}

std::optional<std::uint16_t> PortFieldOf(std::string_view record)
{
    if (record.size() < kPortOffset + 4)
        return std::nullopt;
    unsigned char pairs[2];
    HexPairsToBytes(record.data() + kPortOffset, pairs, 4);
    return static_cast<std::uint16_t>(pairs[0] + 256u * pairs[1]);
}

std::optional<bool> DhcpFlagOf(std::string_view record)
{
    if (record.size() < kDhcpOffset + 1)
        return std::nullopt;
    return record[kDhcpOffset] == '1';
}

std::optional<std::string> VersionOf(std::string_view record)
{
    if (record.size() < kMinRecordLength)
        return std::nullopt;
    if (record[60] != ' ' || record[65] != '0')
        return std::nullopt;
    return std::string{record[60], record[61], '.', record[63], record[64]};
}

std::optional<std::string> PatchRecordAddresses(std::string_view record, std::uint32_t ip,
                                                std::uint32_t mask, std::uint32_t gateway)
{
    if (record.size() < kGatewayOffset + 8)
        return std::nullopt;
    std::string edited(record);
    WriteAddress(edited, kIpOffset, ip);
    WriteAddress(edited, kMaskOffset, mask);
    WriteAddress(edited, kGatewayOffset, gateway);
    return edited;
}

std::string BuildSearchReply(const std::string& mac12, std::uint32_t ip, std::uint32_t mask,
                             std::uint32_t gateway, std::uint16_t port, bool dhcp,
                             const std::string& version, std::uint32_t seed)
{
    std::string datagram = FilledDatagram(seed);
    datagram[kCommandOffset] = '2';
    datagram[kCommandOffset + 1] = '0';
    for (std::size_t i = 0; i < 12 && i < mac12.size(); ++i)
        datagram[kMacOffset + i] = mac12[i];
    WriteAddress(datagram, kIpOffset, ip);
    WriteAddress(datagram, kMaskOffset, mask);
    WriteAddress(datagram, kGatewayOffset, gateway);
    WriteHexByte(datagram, kPortOffset, port & 0xFFu);
    WriteHexByte(datagram, kPortOffset + 2, (port >> 8) & 0xFFu);
    datagram[kDhcpOffset] = dhcp ? '1' : '0';
    auto versionChar = [&version](std::size_t i) { return i < version.size() ? version[i] : '0'; };
    datagram[60] = ' ';
    datagram[61] = versionChar(0);
    datagram[62] = '.';
    datagram[63] = versionChar(2);
    datagram[64] = versionChar(3);
    datagram[65] = '0';
    SealUpper(datagram);
    return datagram;
}

std::string BuildSaveReply(std::uint32_t seed)
{
    std::string datagram = FilledDatagram(seed);
    datagram[kCommandOffset] = '2';
    datagram[kCommandOffset + 1] = '1';
    SealUpper(datagram);
    return datagram;
}

std::string SealReply(std::string datagram)
{
    if (datagram.size() >= kDatagramSize)
        SealUpper(datagram);
    return datagram;
}

std::optional<SaveRequestFields> ReadSaveRequest(const char* data, std::size_t length)
{
    if (!IsSealed(data, length, false) || !HasCommand(data, '1', '0'))
        return std::nullopt;
    SaveRequestFields fields;
    fields.mac12.assign(data + kMacOffset, 12);
    fields.ip = DecodeAddress(data + kIpOffset);
    fields.mask = DecodeAddress(data + kMaskOffset);
    fields.gateway = DecodeAddress(data + kGatewayOffset);
    unsigned char pairs[2];
    HexPairsToBytes(data + kPortOffset, pairs, 4);
    fields.port = static_cast<std::uint16_t>(pairs[0] * 256u + pairs[1]);
    fields.dhcp = data[kDhcpOffset] == '1';
    return fields;
}

std::optional<SearchRequestFields> ReadSearchRequest(const char* data, std::size_t length)
{
    if (!IsSealed(data, length, false))
        return std::nullopt;
    if (HasCommand(data, '0', '0'))
        return SearchRequestFields{true, std::string()};
    if (HasCommand(data, '0', '1'))
        return SearchRequestFields{false, std::string(data + kMacOffset, 12)};
    return std::nullopt;
}
