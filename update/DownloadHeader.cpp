#include "update/DownloadHeader.h"

#include "link/Crc.h"
#include "link/SeededRandom.h"
#include "update/HeaderMask.h"

namespace {

constexpr std::size_t kRandomOffset = 2;
constexpr std::size_t kMaskedOffset = 7;
constexpr std::size_t kLengthOffset = 12;
constexpr std::size_t kImageCrcOffset = 20;
constexpr std::size_t kHeaderCrcOffset = 28;

// Applies mask byte i to r. The five constants stay separate: no string of the mask
// exists in the program.
unsigned char Masked(std::size_t i, unsigned char r)
{
    switch (i) {
    case 0: return static_cast<unsigned char>(r ^ kHeaderMask0);
    case 1: return static_cast<unsigned char>(r ^ kHeaderMask1);
    case 2: return static_cast<unsigned char>(r ^ kHeaderMask2);
    case 3: return static_cast<unsigned char>(r ^ kHeaderMask3);
    default: return static_cast<unsigned char>(r ^ kHeaderMask4);
    }
}

bool ParseLowerHex8(const unsigned char* text, std::uint32_t& value)
{
    value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const unsigned char c = text[i];
        std::uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10u;
        else
            return false;
        value = (value << 4) | digit;
    }
    return true;
}

} // namespace

std::array<unsigned char, 32> BuildDownloadHeader(const unsigned char* image, std::uint32_t imageLength,
                                                  std::uint32_t seed)
{
    std::array<unsigned char, 32> header{};
    SeededRandom random(seed);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto r = static_cast<unsigned char>(random.Next() % 255 + 1);
        header[kRandomOffset + i] = r;
        header[kMaskedOffset + i] = Masked(i, r);
    }
    header[0] = 0x02;
    header[1] = 0x20;
    FormatCrcLower(imageLength, reinterpret_cast<char*>(header.data() + kLengthOffset));
    const std::uint32_t imageCrc = imageLength == 0 ? 0u : CalcCrc(image, imageLength);
    FormatCrcLower(imageCrc, reinterpret_cast<char*>(header.data() + kImageCrcOffset));
    const std::uint32_t headerCrc = CalcCrc(header.data(), kHeaderCrcOffset);
    for (std::size_t i = 0; i < 4; ++i)
        header[kHeaderCrcOffset + i] = static_cast<unsigned char>(headerCrc >> (8 * i));
    return header;
}

std::optional<DownloadHeaderFields> ReadDownloadHeader(const unsigned char* header, std::size_t length)
{
    if (header == nullptr || length < kDownloadHeaderSize)
        return std::nullopt;
    if (header[0] != 0x02 || header[1] != 0x20)
        return std::nullopt;
    for (std::size_t i = 0; i < 5; ++i) {
        const unsigned char r = header[kRandomOffset + i];
        if (r == 0 || header[kMaskedOffset + i] != Masked(i, r))
            return std::nullopt;
    }
    DownloadHeaderFields fields{};
    if (!ParseLowerHex8(header + kLengthOffset, fields.imageLength) ||
        !ParseLowerHex8(header + kImageCrcOffset, fields.imageCrc))
        return std::nullopt;
    std::uint32_t headerCrc = 0;
    for (std::size_t i = 0; i < 4; ++i)
        headerCrc |= static_cast<std::uint32_t>(header[kHeaderCrcOffset + i]) << (8 * i);
    if (headerCrc != CalcCrc(header, kHeaderCrcOffset))
        return std::nullopt;
    return fields;
}
