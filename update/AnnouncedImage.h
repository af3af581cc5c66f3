#pragma once

#include "update/FirmwareImage.h"

/// Which bytes a download may send on the device's image request: exactly the image its
/// header announced, which is the dialog's image when the header went out. Loading another
/// file before the request moves the announced bytes here instead of letting the new file
/// go out under the old length and checksum.
class AnnouncedImage {
public:
    /// The header has gone out for the dialog's image as it is now.
    void Announce();
    /// Call before the dialog replaces or drops its image; keeps the announced bytes.
    void KeepBeforeChange(FirmwareImage& dialogImage);
    /// The bytes to send: the kept ones, the dialog's own, or none once they were sent.
    const FirmwareImage& ToSend(const FirmwareImage& dialogImage) const;
    /// Records a complete send; true when it was the dialog's own image, which the dialog
    /// then discards.
    bool MarkSent();

private:
    enum class State { NotAnnounced, DialogImage, Kept, Sent };

    State m_state = State::NotAnnounced;
    FirmwareImage m_kept;
};
