#include "link/Crc.h"

#include <array>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define LANVISTA_CRC_CLMUL 1
#include <immintrin.h>
#endif

// The checksum as a polynomial code: the register holds a residue modulo
// G(x) = x^32 + g(x) in reflected order (register bit b is the coefficient of
// x^(31 - b)), and x^32 = g(x) is the shift-right constant 0x04C11DB7
// (= 0x09823B6E >> 1; bit 0 of 0x09823B6E is 0, so "XOR, then shift" is "shift, then
// XOR 0x04C11DB7"). CalcCrc of a message M is M(x) * x^32 mod G with the first bit
// of M (bit 0 of the first byte) as the highest coefficient. Everything below is
// linear over GF(2) and is tested against the bit loop.

namespace {

constexpr std::uint32_t kStepXor = 0x09823B6Eu;
constexpr std::uint32_t kShiftRightPoly = kStepXor >> 1;  // 0x04C11DB7
static_assert((kStepXor & 1u) == 0);

constexpr std::uint32_t StepBits(std::uint32_t value)
{
    for (int bit = 0; bit < 8; ++bit) {
        if (value & 1u)
            value ^= kStepXor;
        value >>= 1;
    }
    return value;
}

// kTables[0][i] = CrcStep(i). kTables[k][i] is the contribution of byte i when it is
// followed by k further bytes: kTables[k][i] = (kTables[k-1][i] >> 8) ^
// kTables[0][kTables[k-1][i] & 0xFF]. The step is linear over GF(2), so the usual
// slicing-by-N decomposition applies to it exactly as to the common CRC-32.
// 16 tables of 1 KiB: slicing-by-16 for long buffers, byte at a time for the tail.
constexpr std::size_t kSlices = 16;
using Tables = std::array<std::array<std::uint32_t, 256>, kSlices>;

constexpr Tables MakeTables()
{
    Tables tables{};
    for (std::uint32_t i = 0; i < 256; ++i)
        tables[0][i] = StepBits(i);
    for (std::size_t k = 1; k < kSlices; ++k)
        for (std::size_t i = 0; i < 256; ++i) {
            const std::uint32_t prev = tables[k - 1][i];
            tables[k][i] = (prev >> 8) ^ tables[0][prev & 0xFFu];
        }
    return tables;
}

constexpr Tables kTables = MakeTables();

static_assert(kTables[0][0x01] == 0x06233697u);
static_assert(kTables[0][0x02] == 0x05C45641u);
static_assert(kTables[0][0x80] == 0x04C11DB7u);
static_assert(kTables[0][0xFF] == 0x0560FB57u);

inline std::uint32_t Load32Le(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Continues the register crc over length bytes: slicing-by-16, then byte by byte.
std::uint32_t SlicedUpdate(std::uint32_t crc, const unsigned char* data, std::size_t length)
{
    const auto& t = kTables;
    while (length >= 16) {
        const std::uint32_t w0 = crc ^ Load32Le(data);
        const std::uint32_t w1 = Load32Le(data + 4);
        const std::uint32_t w2 = Load32Le(data + 8);
        const std::uint32_t w3 = Load32Le(data + 12);
        crc = t[15][w0 & 0xFFu] ^ t[14][(w0 >> 8) & 0xFFu] ^ t[13][(w0 >> 16) & 0xFFu] ^ t[12][w0 >> 24] ^
              t[11][w1 & 0xFFu] ^ t[10][(w1 >> 8) & 0xFFu] ^ t[9][(w1 >> 16) & 0xFFu] ^ t[8][w1 >> 24] ^
              t[7][w2 & 0xFFu] ^ t[6][(w2 >> 8) & 0xFFu] ^ t[5][(w2 >> 16) & 0xFFu] ^ t[4][w2 >> 24] ^
              t[3][w3 & 0xFFu] ^ t[2][(w3 >> 8) & 0xFFu] ^ t[1][(w3 >> 16) & 0xFFu] ^ t[0][w3 >> 24];
        data += 16;
        length -= 16;
    }
    while (length > 0) {
        crc = (crc >> 8) ^ t[0][(crc ^ *data) & 0xFFu];
        ++data;
        --length;
    }
    return crc;
}

#ifdef LANVISTA_CRC_CLMUL

// x^n mod G in the register's reflected order: multiplying by x is a shift right,
// and the x^32 that falls out of bit 0 comes back as g(x).
constexpr std::uint32_t XPowModG(unsigned n)
{
    std::uint32_t r = 0x80000000u;  // x^0
    for (unsigned i = 0; i < n; ++i) {
        const bool out = (r & 1u) != 0;
        r >>= 1;
        if (out)
            r ^= kShiftRightPoly;
    }
    return r;
}

// Folding constant for a 64-bit half that stands at x^n: a 128-bit register loaded
// little-endian from 16 message bytes holds the coefficient of x^(127 - i) in bit i,
// a qword of it the coefficient of x^(63 - i). The carry-less product of such a qword
// with a 64-bit constant whose bit j holds x^(63 - j) puts x^(126 - k) in bit k; read
// with the register's convention (x^(127 - k)) that is one extra factor x, so the
// constant carries x^(n - 1) mod G, placed in bits 32-63.
constexpr std::uint64_t FoldConstant(unsigned n)
{
    return static_cast<std::uint64_t>(XPowModG(n - 1)) << 32;
}

// Folding a 16-byte block over a distance of d bytes multiplies it by x^(8d): its
// first qword (the high-order half, x^64 above the second) by x^(8d + 64), the second
// by x^(8d).
struct FoldPair {
    std::uint64_t first;
    std::uint64_t second;
};

constexpr FoldPair FoldBy(unsigned bytes)
{
    return {FoldConstant(8 * bytes + 64), FoldConstant(8 * bytes)};
}

constexpr FoldPair kFold64 = FoldBy(64);
constexpr FoldPair kFold48 = FoldBy(48);
constexpr FoldPair kFold32 = FoldBy(32);
constexpr FoldPair kFold16 = FoldBy(16);

__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i x, __m128i k)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11));
}

__attribute__((target("pclmul,sse2"))) inline __m128i Constants(FoldPair pair)
{
    return _mm_set_epi64x(static_cast<long long>(pair.second), static_cast<long long>(pair.first));
}

__attribute__((target("pclmul,sse2"))) inline __m128i Load(const unsigned char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Carry-less multiplication folding, four 16-byte lanes at a stride of 64 bytes. The
// folded remainder X satisfies X(x) = (bytes consumed)(x) mod G with degree below 128,
// so CalcCrc(consumed || rest) = CalcCrc(X as 16 bytes || rest), which the tables
// finish. Requires length >= 64.
__attribute__((target("pclmul,sse2"))) std::uint32_t ClmulCrc(const unsigned char* data, std::size_t length)
{
    __m128i x0 = Load(data);
    __m128i x1 = Load(data + 16);
    __m128i x2 = Load(data + 32);
    __m128i x3 = Load(data + 48);
    data += 64;
    length -= 64;
    const __m128i k64 = Constants(kFold64);
    while (length >= 64) {
        x0 = _mm_xor_si128(Fold(x0, k64), Load(data));
        x1 = _mm_xor_si128(Fold(x1, k64), Load(data + 16));
        x2 = _mm_xor_si128(Fold(x2, k64), Load(data + 32));
        x3 = _mm_xor_si128(Fold(x3, k64), Load(data + 48));
        data += 64;
        length -= 64;
    }
    __m128i x = _mm_xor_si128(_mm_xor_si128(Fold(x0, Constants(kFold48)), Fold(x1, Constants(kFold32))),
                              _mm_xor_si128(Fold(x2, Constants(kFold16)), x3));
    const __m128i k16 = Constants(kFold16);
    while (length >= 16) {
        x = _mm_xor_si128(Fold(x, k16), Load(data));
        data += 16;
        length -= 16;
    }
    alignas(16) unsigned char folded[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(folded), x);
    return SlicedUpdate(SlicedUpdate(0, folded, sizeof folded), data, length);
}

bool HasClmul()
{
    static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
    return has;
}

#endif

// Below this length the tables are as quick as the folding set-up.
constexpr std::size_t kClmulMinLength = 256;

constexpr char kLowerDigits[] = "0123456789abcdef";
constexpr char kUpperDigits[] = "0123456789ABCDEF";

void FormatCrc(std::uint32_t crc, char out[8], const char* digits)
{
    for (int i = 7; i >= 0; --i) {
        out[i] = digits[crc & 0xFu];
        crc >>= 4;
    }
}

} // namespace

std::uint32_t CrcStep(std::uint32_t value)
{
    return kTables[0][value & 0xFFu];
}

std::uint32_t CrcStepBitLoop(std::uint32_t value)
{
    return StepBits(value);
}

std::uint32_t CalcCrc(const unsigned char* data, std::size_t length)
{
#ifdef LANVISTA_CRC_CLMUL
    if (length >= kClmulMinLength && HasClmul())
        return ClmulCrc(data, length);
#endif
    return SlicedUpdate(0, data, length);
}

std::uint32_t CalcCrcSliced(const unsigned char* data, std::size_t length)
{
    return SlicedUpdate(0, data, length);
}

bool CalcCrcUsesClmul()
{
#ifdef LANVISTA_CRC_CLMUL
    return HasClmul();
#else
    return false;
#endif
}

std::uint32_t CalcCrcBitLoop(const unsigned char* data, std::size_t length)
{
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < length; ++i)
        crc = (crc >> 8) ^ CrcStepBitLoop((crc ^ data[i]) & 0xFFu);
    return crc;
}

void FormatCrcLower(std::uint32_t crc, char out[8])
{
    FormatCrc(crc, out, kLowerDigits);
}

void FormatCrcUpper(std::uint32_t crc, char out[8])
{
    FormatCrc(crc, out, kUpperDigits);
}
