#pragma once
// What a user types on the command line, read strictly: a value that does not parse whole
// is refused before anything is sent.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

/// "00A0B1C20010", "00:a0:b1:c2:00:10" or "00-A0-B1-C2-00-10" as twelve upper-case hex
/// digits (the dialog's MAC boxes turn letters to upper case too).
std::optional<std::string> ParseMac(std::string_view text);

/// "a.b.c.d" with four decimal fields of 0 to 255; first octet in the most significant byte.
std::optional<std::uint32_t> ParseIpv4(std::string_view text);

/// A device port, 1 to 65535 (the save request's port field holds 16 bits).
std::optional<std::uint16_t> ParsePort(std::string_view text);

/// A positive number of seconds, fractions allowed, at most a day.
std::optional<double> ParseSeconds(std::string_view text);

/// A count of devices: 1 to a million.
std::optional<std::size_t> ParseCount(std::string_view text);

/// "on" or "off".
std::optional<bool> ParseOnOff(std::string_view text);

/// "a.b.c.d" of an address held first octet first.
std::string DottedAddress(std::uint32_t address);

/// "AA:BB:CC:DD:EE:FF" of twelve characters.
std::string MacWithColons(std::string_view mac12);

/// The file a UTF-8 text names, on every system (Windows' own names are UTF-16).
std::filesystem::path PathFromUtf8(const std::string& utf8);
/// A path as UTF-8 text, for the name rules and for messages.
std::string Utf8Of(const std::filesystem::path& path);
