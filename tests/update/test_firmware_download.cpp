// The download session without its connection: what each sequence of received bytes makes
// it do, the bound on the reply text, its end, and which image answers the image request.
#include "link/Crc.h"
#include "update/DownloadHeader.h"
#include "update/FirmwareDownload.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using A = StatusAction;

const std::string kRequest = AsText(BuildStatusMessage(kStatusImageRequest, 1));
const std::string kSuccess = AsText(BuildStatusMessage(kStatusSuccess, 2));
const std::string kFailure = AsText(BuildStatusMessage(kStatusFailure, 3));
const std::string kOtherCode = AsText(BuildStatusMessage(0x07, 4));

std::string WithByte(std::string text, std::size_t at, char byte)
{
    text[at] = byte;
    return text;
}

struct ReceiveCase {
    const char* name;
    std::vector<std::string> receives;
    std::vector<StatusAction> actions;  // one per receive
    std::size_t finalTextSize;
    bool finished;
};

TEST(FirmwareDownloadReceive, Table)
{
    const std::string garbage(4096, 'G');
    const std::vector<ReceiveCase> cases = {
        {"image_request", {kRequest}, {A::SendImage}, 0, false},
        {"success", {kSuccess}, {A::Success}, 0, true},
        {"failure", {kFailure}, {A::Failure}, 0, true},
        {"request_then_success", {kRequest, kSuccess}, {A::SendImage, A::Success}, 0, true},
        {"split_20_then_12", {kSuccess.substr(0, 20), kSuccess.substr(20)}, {A::None, A::Success}, 0, true},
        {"split_1_30_1", {kRequest.substr(0, 1), kRequest.substr(1, 30), kRequest.substr(31)},
         {A::None, A::None, A::SendImage}, 0, false},
        {"two_messages_in_one_receive", {kRequest + kSuccess}, {A::None}, 64, false},
        {"other_code_then_status_never_framed", {kOtherCode, kSuccess}, {A::None, A::None}, 64, false},
        {"wrong_first_byte_then_status", {WithByte(kSuccess, 0, 0x03), kSuccess}, {A::None, A::None}, 64, false},
        // The bytes after a zero are lost; the next ones complete the message around it.
        {"zero_byte_cuts_the_receive", {WithByte(kSuccess, 20, '\0'), kSuccess.substr(20)}, {A::None, A::Success}, 0,
         true},
        {"zero_byte_first", {std::string(1, '\0') + kSuccess}, {A::None}, 0, false},
        {"empty_receive", {""}, {A::None}, 0, false},
        // Once longer than a status message the text takes nothing more: garbage cannot grow it.
        {"garbage_then_more_garbage", {garbage, garbage, kSuccess}, {A::None, A::None, A::None}, 4096, false},
        {"31_bytes_then_garbage", {garbage.substr(0, 31), garbage, garbage}, {A::None, A::None, A::None}, 4127,
         false},
        {"unrecognised_32_takes_one_more_receive", {kOtherCode, garbage, kRequest}, {A::None, A::None, A::None}, 4128,
         false},
        // After the verdict every byte is ignored, even a complete status message.
        {"request_after_success", {kSuccess, kRequest}, {A::Success, A::None}, 0, true},
        {"success_after_failure", {kFailure, kSuccess}, {A::Failure, A::None}, 0, true},
        {"bytes_after_success_not_kept", {kSuccess, kSuccess.substr(0, 10)}, {A::Success, A::None}, 0, true},
    };
    for (const ReceiveCase& c : cases) {
        SCOPED_TRACE(c.name);
        FirmwareDownload download;
        std::string replyText;
        std::vector<StatusAction> actions;
        for (const std::string& bytes : c.receives)
            actions.push_back(download.Receive(replyText, bytes.data(), bytes.size()));
        EXPECT_EQ(actions, c.actions);
        EXPECT_EQ(replyText.size(), c.finalTextSize);
        EXPECT_EQ(download.Finished(), c.finished);
    }
}

TEST(FirmwareDownloadReceive, AfterTheEndTheReplyTextIsLeftAlone)
{
    FirmwareDownload download;
    std::string replyText;
    ASSERT_EQ(download.Receive(replyText, kFailure.data(), kFailure.size()), A::Failure);
    replyText = kRequest.substr(0, 20);
    EXPECT_EQ(download.Receive(replyText, kRequest.data() + 20, 12), A::None);
    EXPECT_EQ(replyText, kRequest.substr(0, 20));
}

TEST(FirmwareDownloadHeader, AnnouncesTheImageLengthAndChecksum)
{
    const std::vector<std::vector<unsigned char>> images = {{}, {'a', 'b', 'c'}, std::vector<unsigned char>(4096, 0)};
    for (const auto& image : images) {
        SCOPED_TRACE(image.size());
        const auto header = FirmwareDownload::Header(image, 77);
        const auto fields = ReadDownloadHeader(header.data(), header.size());
        ASSERT_TRUE(fields);
        EXPECT_EQ(fields->imageLength, image.size());
        EXPECT_EQ(fields->imageCrc, CalcCrc(image.data(), image.size()));
    }
}

const FirmwareImage kOld = {'o', 'l', 'd'};
const FirmwareImage kNew = {'n', 'e', 'w', '!'};
const FirmwareImage kNothing;

// A download whose header announced the dialog's image, and that image.
struct Announced {
    FirmwareDownload download;
    FirmwareImage image = kOld;

    Announced() { download.Announce(); }

    // The dialog loading another file: the download keeps what it announced first.
    void Reload(FirmwareImage other)
    {
        download.KeepBeforeChange(image);
        image = std::move(other);
    }

    // The dialog answering an image request; returns the bytes sent.
    FirmwareImage AnswerRequest()
    {
        const FirmwareImage sent = download.ImageToSend(image);
        if (!sent.empty() && download.MarkImageSent())
            image.clear();
        return sent;
    }
};

TEST(AnnouncedImage, WithoutReloadTheDialogsImageGoesOutOnceAndIsDropped)
{
    Announced a;
    EXPECT_EQ(a.AnswerRequest(), kOld);
    EXPECT_EQ(a.image, kNothing);
    EXPECT_EQ(a.AnswerRequest(), kNothing);
}

TEST(AnnouncedImage, AReloadBeforeTheRequestSendsTheAnnouncedImageAndKeepsTheNewOne)
{
    Announced a;
    const auto header = FirmwareDownload::Header(a.image, 5);
    a.Reload(kNew);
    a.Reload({'t', 'h', 'i', 'r', 'd'});
    const auto sent = a.AnswerRequest();
    EXPECT_EQ(sent, kOld);
    // What goes out is what the header announced.
    const auto fields = ReadDownloadHeader(header.data(), header.size());
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->imageLength, sent.size());
    EXPECT_EQ(fields->imageCrc, CalcCrc(sent.data(), sent.size()));
    // The file loaded last stays the dialog's; nothing more goes out on this download.
    EXPECT_EQ(a.image, (FirmwareImage{'t', 'h', 'i', 'r', 'd'}));
    EXPECT_EQ(a.AnswerRequest(), kNothing);
}

TEST(AnnouncedImage, AReloadAfterTheSendIsLeftToTheDialog)
{
    Announced a;
    ASSERT_EQ(a.AnswerRequest(), kOld);
    a.Reload(kNew);
    EXPECT_EQ(a.image, kNew);
    EXPECT_EQ(a.AnswerRequest(), kNothing);
}

TEST(AnnouncedImage, BeforeTheHeaderNothingIsKept)
{
    FirmwareDownload download;
    FirmwareImage image = kOld;
    download.KeepBeforeChange(image);
    EXPECT_EQ(image, kOld);
    EXPECT_EQ(download.ImageToSend(kNew), kNew);
}

} // namespace
