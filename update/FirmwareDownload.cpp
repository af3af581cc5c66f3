#include "update/FirmwareDownload.h"

#include "update/DownloadHeader.h"

std::array<unsigned char, 32> FirmwareDownload::Header(std::span<const unsigned char> image, std::uint32_t seed)
{
    const unsigned char* bytes = image.empty() ? nullptr : image.data();
    return BuildDownloadHeader(bytes, static_cast<std::uint32_t>(image.size()), seed);
}

StatusAction FirmwareDownload::Receive(std::string& replyText, const char* data, std::size_t count)
{
    if (m_finished)
        return StatusAction::None;
    if (replyText.size() <= kStatusMessageSize)
        AppendReceived(replyText, data, count);

    const StatusAction action = ClassifyStatus(replyText);
    if (action != StatusAction::None)
        replyText.clear();
    if (action == StatusAction::Success || action == StatusAction::Failure)
        m_finished = true;
    return action;
}
