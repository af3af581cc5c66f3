#pragma once
// The program's texts are UTF-8; the Win32 W calls take UTF-16, and the edit controls
// count characters in UTF-16 units.

#include <string>
#include <string_view>

// Each byte that starts no valid UTF-8 sequence becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// Lossless for any bytes: an invalid UTF-8 byte b travels as the lone surrogate U+DC00 + b
// and comes back as b. For texts that must come back as they were given (list entries).
std::wstring WideFromBytes(std::string_view bytes);
std::string BytesFromWide(std::wstring_view wide);
