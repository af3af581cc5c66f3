#include "cli/InputText.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

constexpr double kMaxSeconds = 86400;

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::optional<std::string> ParseMac(std::string_view text)
{
    std::string digits;
    if (text.size() == 12) {
        digits = text;
    } else if (text.size() == 17) {
        // One separator throughout, after every pair.
        const char separator = text[2];
        if (separator != ':' && separator != '-')
            return std::nullopt;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (i % 3 == 2) {
                if (text[i] != separator)
                    return std::nullopt;
            } else {
                digits += text[i];
            }
        }
    } else {
        return std::nullopt;
    }
    for (char& c : digits) {
        if (!IsHexDigit(c))
            return std::nullopt;
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return digits;
}

std::optional<std::uint32_t> ParseIpv4(std::string_view text)
{
    // Exactly four decimal fields of 0 to 255 with no leading zero (which some readers take
    // for octal) and nothing else, as inet_pton takes them.
    std::uint32_t address = 0;
    std::size_t at = 0;
    for (int field = 0; field < 4; ++field) {
        if (field > 0 && (at >= text.size() || text[at++] != '.'))
            return std::nullopt;
        const std::size_t start = at;
        unsigned value = 0;
        while (at < text.size() && at - start < 3 && text[at] >= '0' && text[at] <= '9')
            value = value * 10 + static_cast<unsigned>(text[at++] - '0');
        if (at == start || value > 255 || (text[start] == '0' && at - start > 1))
            return std::nullopt;
        address = address << 8 | value;
    }
    if (at != text.size())
        return std::nullopt;
    return address;
}

std::optional<std::uint16_t> ParsePort(std::string_view text)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::optional<double> ParseSeconds(std::string_view text)
{
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value <= 0 || value > kMaxSeconds)
        return std::nullopt;
    return value;
}

std::optional<std::size_t> ParseCount(std::string_view text)
{
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 || value > 1000000)
        return std::nullopt;
    return value;
}

std::optional<bool> ParseOnOff(std::string_view text)
{
    if (text == "on")
        return true;
    if (text == "off")
        return false;
    return std::nullopt;
}

std::string DottedAddress(std::uint32_t address)
{
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
           std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

std::string MacWithColons(std::string_view mac12)
{
    std::string text;
    for (std::size_t i = 0; i < mac12.size(); ++i) {
        if (i > 0 && i % 2 == 0)
            text += ':';
        text += mac12[i];
    }
    return text;
}

std::filesystem::path PathFromUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}
