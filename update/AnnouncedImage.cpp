#include "update/AnnouncedImage.h"

#include <utility>

void AnnouncedImage::Announce()
{
    m_state = State::DialogImage;
}

void AnnouncedImage::KeepBeforeChange(FirmwareImage& dialogImage)
{
    // Before the header nothing is promised, and once sent nothing more goes out.
    if (m_state != State::DialogImage)
        return;
    // Moved, not copied: a large image is never held twice.
    m_kept = std::move(dialogImage);
    dialogImage.clear();
    m_state = State::Kept;
}

const FirmwareImage& AnnouncedImage::ToSend(const FirmwareImage& dialogImage) const
{
    static const FirmwareImage nothing;
    switch (m_state) {
    case State::Kept: return m_kept;
    case State::Sent: return nothing;
    case State::NotAnnounced:
    case State::DialogImage: break;
    }
    return dialogImage;
}

bool AnnouncedImage::MarkSent()
{
    const bool dialogImageSent = m_state != State::Kept;
    FirmwareImage().swap(m_kept);
    m_state = State::Sent;
    return dialogImageSent;
}
