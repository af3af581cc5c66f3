#include "platform/toolkit/Utf16Text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kEscapeBase = 0xDC00;

void AppendUnit(std::wstring& out, char32_t c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(c));
    }
}

// The length of the valid UTF-8 sequence at the start of s (its code point in c), 0 when
// the first byte starts none.
std::size_t ValidSequence(std::string_view s, char32_t& c)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(0);
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    std::size_t length = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, c = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, c = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

std::wstring Decode(std::string_view utf8, bool escapeInvalid)
{
    std::wstring out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t c = 0;
        std::size_t length = ValidSequence(utf8, c);
        if (length == 0) {
            c = escapeInvalid ? kEscapeBase + static_cast<unsigned char>(utf8[0]) : kReplacement;
            length = 1;
        }
        AppendUnit(out, c);
        utf8.remove_prefix(length);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string Encode(std::wstring_view wide, bool unescape)
{
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char16_t>(wide[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(wide[i + 1]) - 0xDC00);
            ++i;
        } else if (c >= 0xDC80 && c <= 0xDCFF && unescape) {
            out.push_back(static_cast<char>(c - kEscapeBase));
            continue;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace

std::wstring WideFromUtf8(std::string_view utf8)
{
    return Decode(utf8, false);
}

std::string Utf8FromWide(std::wstring_view wide)
{
    return Encode(wide, false);
}

std::wstring WideFromBytes(std::string_view bytes)
{
    return Decode(bytes, true);
}

std::string BytesFromWide(std::wstring_view wide)
{
    return Encode(wide, true);
}
