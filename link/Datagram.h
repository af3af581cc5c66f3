#pragma once
// Discovery and configuration datagrams of the device link.
//
// A datagram is exactly 128 single-byte characters held in a std::string of size
// 128, with no terminator inside: 0-7 checksum field, 8-9 command field, 10-21 MAC,
// 22-29 IP, 30-37 mask, 38-45 gateway, 46-49 port, 50 DHCP flag, 60-65 version.
// Requests (program to device) are sealed with the "%08x" (lowercase) rendering of
// CalcCrc over 8-127; replies (device to program) with "%08X" (uppercase).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::size_t kDatagramSize = 128;

inline constexpr std::size_t kCommandOffset = 8;
inline constexpr std::size_t kMacOffset = 10;
inline constexpr std::size_t kIpOffset = 22;
inline constexpr std::size_t kMaskOffset = 30;
inline constexpr std::size_t kGatewayOffset = 38;
inline constexpr std::size_t kPortOffset = 46;
inline constexpr std::size_t kDhcpOffset = 50;
inline constexpr std::size_t kVersionOffset = 60;

// A device record shorter than this (the version field ends at 65) is not shown.
inline constexpr std::size_t kMinRecordLength = 66;

// ---- Requests (program side) -------------------------------------------------
//
// Every builder draws the 120 filler bytes for positions 8-127 first
// (SeededRandom(seed).Next() % 96 + 32, so 32..127 and never 0), writes the fields
// over them, then writes the "%08x" checksum over 8-127 into 0-7 without touching
// position 8. The result is always exactly 128 bytes.

// Search request: "01" followed by the 12 characters of the six MAC strings (two
// each, in box order, copied as they are) when every one of them holds exactly two
// characters; otherwise "00" with filler at 10-127.
std::string BuildSearchRequest(const std::array<std::string, 6>& macStrings, std::uint32_t seed);

// Save request "10". macText is the device list entry "aa:bb:cc:dd:ee:ff": its
// characters 0,1,3,4,6,7,9,10,12,13,15,16 go to positions 10-21 as they are (a
// character missing because macText is shorter leaves the filler in its place).
// ip/mask/gateway: first octet in the most significant byte, written "%02X" x 4.
// port: written "%04X", most significant digit first (9100 -> "238C"). A value above
// 65535 does not fit the four digits: only its low 16 bits are written (the dialog
// keeps the port in range; the request stays 128 bytes with every field in place).
// DHCP flag '1' when dhcpValue is exactly 1, otherwise '0'.
std::string BuildSaveRequest(const std::string& macText, std::uint32_t ip, std::uint32_t mask,
                             std::uint32_t gateway, std::uint32_t port, int dhcpValue,
                             std::uint32_t seed);

// "%02X%02X%02X%02X" of the four octets, most significant (first) octet first.
std::string FormatAddressField(std::uint32_t address);

// ---- Accepting replies (program side) ------------------------------

enum class ReplyKind { Dropped, SearchReply, SaveReply };

// SearchReply for command "20", SaveReply for "21", Dropped otherwise. Accepts only
// a datagram of at least 128 bytes with no zero byte in its first 128 whose 0-7
// equal the "%08X" rendering of CalcCrc over 8-127 (case-sensitive). Bytes beyond
// 128 are neither checked nor read. Never reads beyond length (data may be null when
// length is 0).
ReplyKind ClassifyReply(const char* data, std::size_t length);

// Why ClassifyReply drops a datagram, in the order it checks; None for one it accepts.
enum class DropReason { None, Short, ZeroInside, Checksum, UnknownCommand };
DropReason WhyDropped(const char* data, std::size_t length);
// "shorter than 128 bytes", "a zero byte within its first 128", "wrong checksum",
// "unknown command"; empty for None.
const char* DropReasonText(DropReason reason);

// ---- Field readers of a device record -----------------------------
//
// A device record is the text of an accepted search reply. Each reader returns
// std::nullopt when the record is too short to hold its field, and never reads at or
// beyond record.size().

// Positions 10-21 as six pairs joined by ':' (17 characters), copied, not decoded.
std::optional<std::string> MacTextOf(std::string_view record);

// 8 hex characters at offset (22 IP, 30 mask, 38 gateway) decoded with
// HexPairsToBytes (either letter case; invalid digits count as 0); the first pair is
// the most significant byte.
std::optional<std::uint32_t> AddressFieldOf(std::string_view record, std::size_t offset);

// Positions 46-49, low byte first: first pair + 256 * second pair (8C23 -> 9100).
std::optional<std::uint16_t> PortFieldOf(std::string_view record);

// Position 50 == '1'.
std::optional<bool> DhcpFlagOf(std::string_view record);

// When [60] == ' ' and [65] == '0': "%c%c.%c%c" of positions 60, 61, 63, 64 (so it
// begins with the space, e.g. " 3.07"). Otherwise (or when the record is shorter than
// 66) std::nullopt: the version display stays as it was.
std::optional<std::string> VersionOf(std::string_view record);

// The Save workflow's edited record: a copy of record with FormatAddressField of ip,
// mask and gateway at 22-29, 30-37 and 38-45; everything else (port field, DHCP flag)
// unchanged. std::nullopt when the record is shorter than 46 (nothing is written).
std::optional<std::string> PatchRecordAddresses(std::string_view record, std::uint32_t ip,
                                                std::uint32_t mask, std::uint32_t gateway);

// ---- Replies (device side: simulator and tests) ------------------------------
//
// Filler at 8-127 as for requests (32..127, never 0), fields over it, then the
// "%08X" checksum in 0-7.

// Search reply "20". mac12: up to 12 characters for 10-21 (a shorter text leaves the
// filler in the remaining positions). port is written low byte first ("%02X%02X" of
// low, high). version "d.dd" (e.g. "3.07") is written as [60] ' ', [61] v[0],
// [62] '.', [63] v[2], [64] v[3], [65] '0', so that VersionOf gives " " + version;
// a character missing from a shorter version is written as '0'.
std::string BuildSearchReply(const std::string& mac12, std::uint32_t ip, std::uint32_t mask,
                             std::uint32_t gateway, std::uint16_t port, bool dhcp,
                             const std::string& version, std::uint32_t seed);

// Save reply "21": the command field and filler.
std::string BuildSaveReply(std::uint32_t seed);

// Writes the "%08X" checksum of 8-127 into 0-7 (after a test or the simulator edited
// a reply). A text shorter than 128 is returned unchanged; bytes beyond 128 are kept
// and not covered.
std::string SealReply(std::string datagram);

// ---- Reading requests (device side) ------------------------------------------
//
// A request is valid when it holds at least 128 bytes, no zero byte in its first 128,
// and 0-7 equal the "%08x" (lowercase) rendering of CalcCrc over 8-127
// (case-sensitive). Bytes beyond 128 are not read.

struct SaveRequestFields {
    std::string mac12;       // positions 10-21 as they are
    std::uint32_t ip;        // first octet in the most significant byte
    std::uint32_t mask;
    std::uint32_t gateway;
    std::uint16_t port;      // 46-49 high byte first: first pair * 256 + second pair
    bool dhcp;               // position 50 == '1'
};

// The fields of a valid "10" request; std::nullopt otherwise.
std::optional<SaveRequestFields> ReadSaveRequest(const char* data, std::size_t length);

struct SearchRequestFields {
    bool all;                // command "00"
    std::string mac12;       // "01": positions 10-21 as they are; empty for "00"
};

// The kind of a valid "00" or "01" request; std::nullopt otherwise.
std::optional<SearchRequestFields> ReadSearchRequest(const char* data, std::size_t length);
