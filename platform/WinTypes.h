#pragma once

#ifdef _WIN32

// The system's own vocabulary (the build defines WIN32_LEAN_AND_MEAN and NOMINMAX, so
// <windows.h> brings neither the old Winsock header nor min and max macros).
#include <windows.h>

#else

#include <cstdint>

// Basic Windows integer vocabulary, with the same widths the program's code assumes.
using BOOL = int;
inline constexpr BOOL TRUE = 1, FALSE = 0;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = unsigned char;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;

constexpr WORD MAKEWORD(unsigned low, unsigned high)
{
    return static_cast<WORD>((low & 0xFFu) | ((high & 0xFFu) << 8));
}
constexpr BYTE LOBYTE(std::uintptr_t w) { return static_cast<BYTE>(w & 0xFFu); }
constexpr BYTE HIBYTE(std::uintptr_t w) { return static_cast<BYTE>((w >> 8) & 0xFFu); }
constexpr WORD LOWORD(std::uintptr_t l) { return static_cast<WORD>(l & 0xFFFFu); }
constexpr WORD HIWORD(std::uintptr_t l) { return static_cast<WORD>((l >> 16) & 0xFFFFu); }
constexpr DWORD MAKELONG(unsigned low, unsigned high)
{
    return static_cast<DWORD>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) { return static_cast<WPARAM>(MAKELONG(low, high)); }
// Zero-extended, as on the platform: receivers recover signed coordinates from the words.
constexpr LPARAM MAKELPARAM(unsigned low, unsigned high) { return static_cast<LPARAM>(MAKELONG(low, high)); }

#endif
