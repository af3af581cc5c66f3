#pragma once
// Status messages of the firmware download: 32 bytes, 0x02 at 0,
// status code at 11, the rest not examined. Framing is by the reply text alone.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::size_t kStatusMessageSize = 32;
inline constexpr unsigned char kStatusImageRequest = 0x02;
inline constexpr unsigned char kStatusSuccess = 0x06;  // ACK
inline constexpr unsigned char kStatusFailure = 0x15;  // NAK

enum class StatusAction { None, SendImage, Success, Failure };

// Appends data[0..count) up to, not including, the first zero byte among them (all of
// them if there is none) to replyText. Bytes after a zero byte are dropped.
void AppendReceived(std::string& replyText, const char* data, std::size_t count);

// Acts only when replyText is exactly 32 bytes and its byte 0 is 0x02: byte 11 0x02
// SendImage, 0x06 Success, 0x15 Failure; anything else None (the text stays).
StatusAction ClassifyStatus(const std::string& replyText);

// False once replyText holds a whole status message that meant nothing, or more: bytes only
// ever add to it, so it can never frame a status again and the device has nothing left to say.
inline bool CanFrameStatus(const std::string& replyText)
{
    return replyText.size() < kStatusMessageSize;
}

// Device side: 0x02 at 0, code at 11, every other byte non-zero filler
// (SeededRandom(seed).Next() % 255 + 1, drawn for all 32 positions first).
std::array<unsigned char, 32> BuildStatusMessage(unsigned char code, std::uint32_t seed);
