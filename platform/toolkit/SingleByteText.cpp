#include "platform/toolkit/SingleByteText.h"

#include "platform/toolkit/Utf16Text.h"

std::string SingleByteText(const std::string& utf8)
{
    // One byte per UTF-16 unit, so a surrogate pair gives two '?'.
    std::string bytes;
    for (const wchar_t unit : WideFromUtf8(utf8))
        bytes.push_back(static_cast<unsigned>(unit) < 0x100 ? static_cast<char>(unit) : '?');
    return bytes;
}
