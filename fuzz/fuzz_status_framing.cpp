// The download's status framing over any sequence of receives, with the rules of the
// connection: a recognised status message, the end of the download and the device
// closing the connection each empty the reply text, and a text too long to frame a
// status message keeps nothing more.

#include "fuzz/ExactBuffer.h"
#include "fuzz/FuzzCheck.h"
#include "update/StatusFraming.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

// One receive of the connection: at most this many bytes.
constexpr std::size_t kReceiveSize = 4096;

// What a framed status message with this code asks for.
StatusAction ActionOfCode(unsigned char code)
{
    switch (code) {
    case kStatusImageRequest: return StatusAction::SendImage;
    case kStatusSuccess: return StatusAction::Success;
    case kStatusFailure: return StatusAction::Failure;
    default: return StatusAction::None;
    }
}

} // namespace

// The input is a sequence of events, each a two-byte length (low byte first) and that
// many bytes received at once; length 0 is the connection ending (close notification
// or CloseDownload).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string replyText;
    std::size_t at = 0;
    while (size - at >= 2) {
        const std::size_t length = (data[at] | (data[at + 1] << 8)) % (kReceiveSize + 1);
        at += 2;
        if (length == 0) {
            replyText.clear();
            continue;
        }
        const ExactBuffer received(data + at, std::min(length, size - at));
        at += received.size();
        if (received.size() == 0)
            break;

        // As the connection does: a reply text longer than a status message can never
        // frame one again until it is emptied, so nothing more is kept.
        const std::size_t before = replyText.size();
        if (before <= kStatusMessageSize) {
            AppendReceived(replyText, received.data(), received.size());
            const void* zero = std::memchr(received.data(), 0, received.size());
            const std::size_t kept = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - received.data())
                                          : received.size();
            FUZZ_CHECK(replyText.size() == before + kept);
            FUZZ_CHECK(replyText.compare(before, kept, received.data(), kept) == 0);
        }
        FUZZ_CHECK(replyText.size() <= kStatusMessageSize + kReceiveSize);

        const StatusAction action = ClassifyStatus(replyText);
        const bool framed = replyText.size() == kStatusMessageSize &&
                            static_cast<unsigned char>(replyText[0]) == 0x02;
        FUZZ_CHECK(action == (framed ? ActionOfCode(static_cast<unsigned char>(replyText[11])) : StatusAction::None));
        if (action != StatusAction::None)
            replyText.clear();
    }
    return 0;
}
