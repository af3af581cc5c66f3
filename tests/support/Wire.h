#pragma once
// Address, byte and checksum helpers shared by the tests of the core, of devsim and of the
// dialog. No Qt: the core's tests link it too.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// a.b.c.d as the program holds an address: the first octet in the most significant byte.
constexpr std::uint32_t Ipv4(unsigned a, unsigned b, unsigned c, unsigned d)
{
    return (a << 24) | (b << 16) | (c << 8) | d;
}

/// Binary bytes as a std::string, zero bytes included.
std::string AsText(const unsigned char* bytes, std::size_t count);

template <std::size_t N>
std::string AsText(const std::array<unsigned char, N>& bytes)
{
    return AsText(bytes.data(), N);
}

/// The checksum of a datagram: CalcCrc over positions 8-127 (datagram holds at least 128).
std::uint32_t PayloadCrc(std::string_view datagram);

/// The two renderings of a checksum, "%08x" and "%08X".
std::string LowerHex(std::uint32_t crc);
std::string UpperHex(std::uint32_t crc);

/// datagram (at least 128 bytes) with positions 0-7 replaced by the lower-case rendering of
/// its checksum: how a request is sealed, and the wrong case for a reply.
std::string SealedLower(std::string datagram);
