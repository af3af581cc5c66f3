#include "tests/support/Wire.h"

#include "link/Crc.h"
#include "link/Datagram.h"

std::string AsText(const unsigned char* bytes, std::size_t count)
{
    return std::string(reinterpret_cast<const char*>(bytes), count);
}

std::uint32_t PayloadCrc(std::string_view datagram)
{
    return CalcCrc(reinterpret_cast<const unsigned char*>(datagram.data()) + kCommandOffset,
                   kDatagramSize - kCommandOffset);
}

std::string LowerHex(std::uint32_t crc)
{
    char out[8];
    FormatCrcLower(crc, out);
    return std::string(out, sizeof out);
}

std::string UpperHex(std::uint32_t crc)
{
    char out[8];
    FormatCrcUpper(crc, out);
    return std::string(out, sizeof out);
}

std::string SealedLower(std::string datagram)
{
    datagram.replace(0, 8, LowerHex(PayloadCrc(datagram)));
    return datagram;
}
