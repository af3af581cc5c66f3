#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "update/AnnouncedImage.h"
#include "update/FirmwareImage.h"
#include "update/StatusFraming.h"

/// The largest image a download sends: its length must fit the header's eight hex digits
/// and one send's count.
inline constexpr std::uint64_t kMaxImageSize = 0x7FFFFFFF;

/// The program's side of one firmware download without its connection: the header it opens
/// with, which bytes may answer the device's image request, and what each status message
/// means. It consumes received bytes and returns what to do; the caller sends and closes.
class FirmwareDownload {
public:
    /// The 32-byte header announcing image; seed draws its random bytes.
    static std::array<unsigned char, 32> Header(std::span<const unsigned char> image, std::uint32_t seed);

    /// Bytes from the device. They are appended to replyText up to a zero byte among them,
    /// and not at all once the text is longer than a status message (it can never frame one
    /// again). When the text frames a request, a success or a failure, the text is emptied
    /// and that step returned. After a success or failure every later byte is ignored.
    StatusAction Receive(std::string& replyText, const char* data, std::size_t count);

    /// The header went out for the image as it is now.
    void Announce() { m_image.Announce(); }
    /// The image is about to be replaced or dropped: the announced bytes are kept.
    void KeepBeforeChange(FirmwareImage& image) { m_image.KeepBeforeChange(image); }
    /// The bytes an image request is answered with: only what the header announced.
    const FirmwareImage& ImageToSend(const FirmwareImage& image) const
    {
        return m_image.ToSend(image);
    }
    /// The image went out whole; true when it was the caller's own, which it now discards.
    bool MarkImageSent() { return m_image.MarkSent(); }

    bool Finished() const { return m_finished; }

private:
    AnnouncedImage m_image;
    bool m_finished = false;
};
