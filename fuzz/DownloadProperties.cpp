#include "fuzz/DownloadProperties.h"

#include "fuzz/ExactBuffer.h"
#include "update/FirmwareDownload.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

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

// The reply text a receive must leave before any status message is acted on: the bytes up
// to a zero byte appended, unless the text is already too long to frame a status message.
std::string TextAfter(const std::string& before, const char* data, std::size_t count)
{
    if (before.size() > kStatusMessageSize)
        return before;
    const void* zero = std::memchr(data, 0, count);
    const std::size_t kept = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : count;
    return before + std::string(data, kept);
}

// One download as the dialog runs it: the header announced image, each image request is
// answered with what the download allows, and a complete send drops the dialog's image.
class Session {
public:
    Session() { m_download.Announce(); }

    void Receive(DownloadRun& run, const char* data, std::size_t count)
    {
        const std::string before = m_replyText;
        const bool wasFinished = m_download.Finished();
        const StatusAction action = m_download.Receive(m_replyText, data, count);
        if (action != StatusAction::None)
            run.actions.push_back(action);

        Findings& findings = run.findings;
        if (wasFinished) {
            CHECK_RULE(findings, action == StatusAction::None);
            CHECK_RULE(findings, m_replyText == before);
            CHECK_RULE(findings, m_download.Finished());
            return;
        }
        const std::string expected = TextAfter(before, data, count);
        const bool framed = expected.size() == kStatusMessageSize && static_cast<unsigned char>(expected[0]) == 0x02;
        CHECK_RULE(findings, action == (framed ? ActionOfCode(static_cast<unsigned char>(expected[11]))
                                               : StatusAction::None));
        CHECK_RULE(findings, m_replyText == (action == StatusAction::None ? expected : std::string()));
        CHECK_RULE(findings, m_replyText.size() <= kStatusMessageSize + kDownloadReceiveSize);
        CHECK_RULE(findings, m_download.Finished() ==
                                 (action == StatusAction::Success || action == StatusAction::Failure));
        if (action == StatusAction::SendImage)
            AnswerImageRequest(findings);
    }

private:
    void AnswerImageRequest(Findings& findings)
    {
        const FirmwareImage& toSend = m_download.ImageToSend(m_image);
        // The announced image goes out once; a repeated request finds nothing to send.
        CHECK_RULE(findings, toSend == (m_sent ? FirmwareImage() : Announced()));
        if (toSend.empty())
            return;
        if (m_download.MarkImageSent())
            m_image.clear();
        m_sent = true;
        CHECK_RULE(findings, m_download.ImageToSend(m_image).empty());
    }

    static FirmwareImage Announced() { return {'a', 'b', 'c'}; }

    FirmwareDownload m_download;
    FirmwareImage m_image = Announced();
    std::string m_replyText;
    bool m_sent = false;
};

} // namespace

DownloadRun CheckDownloadInput(const std::uint8_t* data, std::size_t size)
{
    DownloadRun run;
    Session session;
    std::size_t at = 0;
    while (size - at >= 2) {
        const std::size_t length = (data[at] | (data[at + 1] << 8)) % (kDownloadReceiveSize + 1);
        at += 2;
        if (length == 0) {
            session = Session();
            continue;
        }
        const ExactBuffer received(data + at, std::min(length, size - at));
        at += received.size();
        if (received.size() == 0)
            break;
        session.Receive(run, received.data(), received.size());
    }
    return run;
}
