#pragma once
// Hex-pair decoder of the device link.

// Reads count characters of text as pairs and writes count / 2 bytes to out:
// byte i/2 = high digit (character i) * 16 + low digit (character i + 1).
// '0'-'9', 'A'-'F' and 'a'-'f' are digits; every other character counts as 0.
// Never reads at or beyond text[count]. With an odd count the last lone character is
// ignored (not read) and count / 2 bytes are written.
void HexPairsToBytes(const char* text, unsigned char* out, unsigned count);
