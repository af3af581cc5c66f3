#include "platform/sockets/SystemErrorText.h"

#include <windows.h>

#include <cctype>

namespace lanvista::sockets {

std::string SystemErrorText(int error)
{
    char text[512] = {};
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                          static_cast<DWORD>(error), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                          text, sizeof text, nullptr);
    std::string words(text, length);
    // "A socket operation was attempted to an unreachable network.\r\n" reads as a clause.
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == '.' || words.back() == ' '))
        words.pop_back();
    if (!words.empty())
        words[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(words[0])));
    return words;
}

}  // namespace lanvista::sockets
