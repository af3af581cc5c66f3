#include "platform/toolkit/DialogNumberText.h"

#include <algorithm>
#include <cstdint>

namespace {

// Only this many characters of a number's text are read. A character outside ASCII
// is never part of a number, so counting bytes of UTF-8 decides the same as counting
// characters: up to the first such byte the two counts agree.
constexpr std::size_t kNumberTextLength = 31;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<unsigned> ParseUnsignedDialogText(std::string_view fullText)
{
    const std::string_view text = fullText.substr(0, kNumberTextLength);
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    const char first = i < text.size() ? text[i] : '\0';
    if (first == '-')
        return std::nullopt;
    std::size_t j = i;
    if (j < text.size() && text[j] == '+')
        ++j;
    const std::size_t digitsStart = j;
    std::uint64_t value = 0;
    while (j < text.size() && IsDecimalDigit(text[j])) {
        value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(text[j] - '0'), 0xFFFFFFFFu);
        ++j;
    }
    if (j == digitsStart)
        j = i;
    if (value == 0 && first != '0')
        return std::nullopt;
    while (j < text.size() && IsBlank(text[j]))
        ++j;
    if (j != text.size())
        return std::nullopt;
    return static_cast<unsigned>(value);
}
