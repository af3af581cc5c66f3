#include "update/AnnouncedImage.h"

#include <utility>

void AnnouncedImage::Announce()
{
    m_state = State::DialogImage;
}

void AnnouncedImage::KeepBeforeChange(std::vector<unsigned char>& dialogImage)
{
    // Before the header nothing is promised, and once sent nothing more goes out.
    if (m_state != State::DialogImage)
        return;
    // Moved, not copied: a large image is never held twice.
    m_kept = std::move(dialogImage);
    dialogImage.clear();
    m_state = State::Kept;
}

const std::vector<unsigned char>& AnnouncedImage::ToSend(const std::vector<unsigned char>& dialogImage) const
{
    static const std::vector<unsigned char> nothing;
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
    std::vector<unsigned char>().swap(m_kept);
    m_state = State::Sent;
    return dialogImageSent;
}
