#pragma once
// Frame checksum of the device link and the firmware download.
//
// The register runs least-significant-bit first with the CRC-32 generator in its
// normal (not bit-reversed) form, starts at 0 and is not inverted at the end. It is
// NOT the common CRC-32; an off-the-shelf CRC-32 routine gives different values.

#include <cstddef>
#include <cstdint>

// Per-byte step, table-driven: only the low 8 bits of value are used.
// Every table entry equals CrcStepBitLoop of the same input.
std::uint32_t CrcStep(std::uint32_t value);

// The reference step: 8 times { if bit 0 is set, XOR 0x09823B6E; shift right by 1 }.
// Applied to the whole 32-bit value (callers pass values below 256).
std::uint32_t CrcStepBitLoop(std::uint32_t value);

// Checksum of length bytes at data (data may be null when length is 0). Reads
// exactly length bytes. Gives the same value as CalcCrcBitLoop for every input:
// table-driven (slicing-by-16, then byte by byte); on x86 processors with PCLMULQDQ,
// buffers of 256 bytes and more are folded with carry-less multiplication first and
// finished by the tables.
std::uint32_t CalcCrc(const unsigned char* data, std::size_t length);

// The portable table-driven form alone (slicing-by-16); same values as CalcCrc.
std::uint32_t CalcCrcSliced(const unsigned char* data, std::size_t length);

// True when CalcCrc uses the carry-less multiplication path on this processor.
bool CalcCrcUsesClmul();

// Reference checksum: register = (register >> 8) ^ CrcStepBitLoop((register ^ b) & 0xFF).
std::uint32_t CalcCrcBitLoop(const unsigned char* data, std::size_t length);

// "%08x": writes exactly 8 lowercase hex digits to out, no terminator.
void FormatCrcLower(std::uint32_t crc, char out[8]);

// "%08X": writes exactly 8 uppercase hex digits to out, no terminator.
void FormatCrcUpper(std::uint32_t crc, char out[8]);
