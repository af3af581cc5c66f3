// status messages and the framing of the reply text.
#include "update/StatusFraming.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Feeds the pieces one receive at a time and returns the action after each.
std::vector<StatusAction> Feed(std::string& replyText, const std::vector<std::string>& pieces)
{
    std::vector<StatusAction> actions;
    for (const std::string& piece : pieces) {
        AppendReceived(replyText, piece.data(), piece.size());
        actions.push_back(ClassifyStatus(replyText));
    }
    return actions;
}

using A = StatusAction;

struct FramingCase {
    const char* name;
    std::vector<std::string> pieces;
    std::vector<StatusAction> actions;
    std::size_t finalSize;
};

TEST(StatusFraming, Table)
{
    const std::string request = AsText(BuildStatusMessage(0x02, 1));
    const std::string ack = AsText(BuildStatusMessage(0x06, 2));
    const std::string nak = AsText(BuildStatusMessage(0x15, 3));
    const std::string other = AsText(BuildStatusMessage(0x07, 4));
    std::string wrongFirst = ack;
    wrongFirst[0] = 0x03;
    std::string withZero = ack;
    withZero[20] = '\0';

    const std::vector<FramingCase> cases = {
        {"image_request", {request}, {A::SendImage}, 32},
        {"success", {ack}, {A::Success}, 32},
        {"failure", {nak}, {A::Failure}, 32},
        {"split_20_then_12", {ack.substr(0, 20), ack.substr(20)}, {A::None, A::Success}, 32},
        {"split_1_30_1", {nak.substr(0, 1), nak.substr(1, 30), nak.substr(31)}, {A::None, A::None, A::Failure}, 32},
        {"zero_byte_truncates_receive", {withZero}, {A::None}, 20},
        // The bytes after the zero are lost; the next 12 make it 32 again, with the
        // code byte still at 11.
        {"zero_byte_then_more", {withZero, ack.substr(20)}, {A::None, A::Success}, 32},
        {"other_code_ignored_then_64", {other, ack}, {A::None, A::None}, 64},
        {"wrong_first_byte_then_64", {wrongFirst, ack}, {A::None, A::None}, 64},
        {"longer_than_32_in_one_receive", {ack + "x"}, {A::None}, 33},
        {"empty_receive", {std::string()}, {A::None}, 0},
        {"leading_zero_drops_whole_receive", {std::string(1, '\0') + ack}, {A::None}, 0},
    };
    for (const FramingCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string replyText;
        EXPECT_EQ(Feed(replyText, c.pieces), c.actions);
        EXPECT_EQ(replyText.size(), c.finalSize);
    }
}

TEST(StatusFraming, ClassifyLooksOnlyAtBytes0And11)
{
    std::string text(32, '\x7F');
    text[0] = 0x02;
    text[11] = 0x06;
    EXPECT_EQ(ClassifyStatus(text), StatusAction::Success);
    text[11] = 0x15;
    EXPECT_EQ(ClassifyStatus(text), StatusAction::Failure);
    text[11] = 0x02;
    EXPECT_EQ(ClassifyStatus(text), StatusAction::SendImage);
    text[11] = 0x00;
    EXPECT_EQ(ClassifyStatus(text), StatusAction::None);
    text[11] = static_cast<char>(0x86);
    EXPECT_EQ(ClassifyStatus(text), StatusAction::None);
    EXPECT_EQ(ClassifyStatus(std::string()), StatusAction::None);
    EXPECT_EQ(ClassifyStatus(text.substr(0, 31)), StatusAction::None);
}

TEST(StatusFraming, AppendKeepsEarlierText)
{
    std::string replyText = "ab";
    const char data[] = {'c', 'd', '\0', 'e'};
    AppendReceived(replyText, data, 4);
    EXPECT_EQ(replyText, "abcd");
    AppendReceived(replyText, nullptr, 0);
    EXPECT_EQ(replyText, "abcd");
    const char high[] = {'\xFF', '\x80'};
    AppendReceived(replyText, high, 2);
    EXPECT_EQ(replyText, "abcd\xFF\x80");
}

TEST(StatusFraming, BuiltMessagesNonZeroFillerAndDeterministic)
{
    for (std::uint32_t seed = 0; seed < 2000; ++seed) {
        for (unsigned char code : {0x02, 0x06, 0x15}) {
            const auto message = BuildStatusMessage(code, seed);
            ASSERT_EQ(message[0], 0x02);
            ASSERT_EQ(message[11], code);
            for (unsigned char b : message)
                ASSERT_NE(b, 0);
        }
    }
    EXPECT_EQ(BuildStatusMessage(0x06, 9), BuildStatusMessage(0x06, 9));
    EXPECT_NE(BuildStatusMessage(0x06, 9), BuildStatusMessage(0x06, 10));
}

} // namespace
