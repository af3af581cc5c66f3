#pragma once
// The 32-byte download header of the firmware download.
//
//   0       0x02 (STX)
//   1       0x20 (space)
//   2-6     R0..R4: SeededRandom(seed).Next() % 255 + 1, so 1..255, never 0
//   7-11    Ri XOR kHeaderMask<i> (zero when Ri equals its mask byte)
//   12-19   image length, "%08x"
//   20-27   CalcCrc of the image, "%08x"
//   28-31   CalcCrc of bytes 0-27, binary, least significant byte first
// The header is binary: zero bytes may occur at 7-11 and 28-31 and belong to it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

inline constexpr std::size_t kDownloadHeaderSize = 32;

// image may be null when imageLength is 0 (then 12-27 are sixteen '0').
std::array<unsigned char, 32> BuildDownloadHeader(const unsigned char* image, std::uint32_t imageLength,
                                                  std::uint32_t seed);

struct DownloadHeaderFields {
    std::uint32_t imageLength;
    std::uint32_t imageCrc;
};

// Device side: reads the first 32 bytes of header (length must be at least 32; more
// is not read) and checks STX at 0, space at 1, R0..R4 non-zero, bytes 7-11 equal to
// Ri XOR kHeaderMask<i>, 12-27 sixteen lowercase hex digits ("%08x") and 28-31 the
// little-endian CalcCrc of 0-27. Returns the announced length and image checksum, or
// std::nullopt when any check fails.
std::optional<DownloadHeaderFields> ReadDownloadHeader(const unsigned char* header, std::size_t length);
