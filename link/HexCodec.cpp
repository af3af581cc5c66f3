#include "link/HexCodec.h"

namespace {

unsigned char HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned char>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned char>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned char>(c - 'a' + 10);
    return 0;
}

} // namespace

void HexPairsToBytes(const char* text, unsigned char* out, unsigned count)
{
    for (unsigned i = 0; i + 1 < count; i += 2)
        out[i / 2] = static_cast<unsigned char>(HexDigitValue(text[i]) * 16 + HexDigitValue(text[i + 1]));
}
