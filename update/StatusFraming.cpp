#include "update/StatusFraming.h"

#include "link/SeededRandom.h"

#include <cstring>

void AppendReceived(std::string& replyText, const char* data, std::size_t count)
{
    if (data == nullptr || count == 0)
        return;
    const void* zero = std::memchr(data, 0, count);
    const std::size_t take = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : count;
    replyText.append(data, take);
}

StatusAction ClassifyStatus(const std::string& replyText)
{
    if (replyText.size() != kStatusMessageSize || static_cast<unsigned char>(replyText[0]) != 0x02)
        return StatusAction::None;
    switch (static_cast<unsigned char>(replyText[11])) {
    case kStatusImageRequest: return StatusAction::SendImage;
    case kStatusSuccess: return StatusAction::Success;
    case kStatusFailure: return StatusAction::Failure;
    default: return StatusAction::None;
    }
}

std::array<unsigned char, 32> BuildStatusMessage(unsigned char code, std::uint32_t seed)
{
    std::array<unsigned char, 32> message{};
    SeededRandom random(seed);
    for (unsigned char& byte : message)
        byte = static_cast<unsigned char>(random.Next() % 255 + 1);
    message[0] = 0x02;
    message[11] = code;
    return message;
}
