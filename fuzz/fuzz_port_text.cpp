// The port box's number parse, for any text the user can type or paste. Besides memory
// safety it checks what a reading must satisfy whatever the text: only the first 31
// characters count, blanks around a number change nothing, a minus sign or no digits
// is no number, and the value read is the one its digits spell (capped at 4294967295).

#include "fuzz/ExactBuffer.h"
#include "fuzz/FuzzCheck.h"
#include "platform/toolkit/DialogNumberText.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kReadLength = 31;

std::optional<unsigned> Parse(std::string_view text)
{
    const ExactBuffer exact(text);
    return ParseUnsignedDialogText(exact.view());
}

// The decimal value of the digits in text, capped at 4294967295.
std::uint64_t DigitValue(std::string_view text)
{
    std::uint64_t value = 0;
    for (const char c : text)
        if (c >= '0' && c <= '9')
            value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(c - '0'), 0xFFFFFFFFu);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<unsigned> read = Parse(text);
    const std::string_view counted = text.substr(0, kReadLength);

    FUZZ_CHECK(read == Parse(counted));
    if (counted.size() < kReadLength) {
        FUZZ_CHECK(read == Parse(" " + std::string(counted)));
        FUZZ_CHECK(read == Parse(std::string(counted) + "\t"));
    }
    const std::size_t firstNonBlank = counted.find_first_not_of(" \t");
    const char first = firstNonBlank != std::string_view::npos ? counted[firstNonBlank] : '\0';
    if (first == '-')
        FUZZ_CHECK(!read);

    if (read) {
        FUZZ_CHECK(counted.find_first_not_of(" \t+0123456789") == std::string_view::npos);
        FUZZ_CHECK(counted.find_first_of("0123456789") != std::string_view::npos);
        // Zero counts only when written with the digit 0 first.
        FUZZ_CHECK(*read != 0 || first == '0');
        FUZZ_CHECK(counted.find('+') == counted.rfind('+'));
        FUZZ_CHECK(*read == DigitValue(counted));
        FUZZ_CHECK(Parse(std::to_string(*read)) == read);
    }
    return 0;
}
