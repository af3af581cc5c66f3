// Typing a MAC filter: the focus walks through the six boxes and on to Search; the key
// filter keeps Enter from pressing anything.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "link/Datagram.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

using MacStrings = std::array<std::string, 6>;

constexpr int kMacBoxes[] = {IDC_MAC1, IDC_MAC2, IDC_MAC3, IDC_MAC4, IDC_MAC5, IDC_MAC6};
constexpr const char* kNotANumber = "양의 정수를 입력하십시오.";

// Fills the boxes through the members, so that no box handler runs.
void SetMacStrings(CConfigDlg& dlg, const MacStrings& strings)
{
    dlg.m_strMac1 = strings[0];
    dlg.m_strMac2 = strings[1];
    dlg.m_strMac3 = strings[2];
    dlg.m_strMac4 = strings[3];
    dlg.m_strMac5 = strings[4];
    dlg.m_strMac6 = strings[5];
    dlg.UpdateData(FALSE);
}

MacStrings MacMembers(const CConfigDlg& dlg)
{
    return {dlg.m_strMac1, dlg.m_strMac2, dlg.m_strMac3, dlg.m_strMac4, dlg.m_strMac5, dlg.m_strMac6};
}

MacStrings MacBoxTexts(const DialogFixture& f)
{
    MacStrings texts;
    for (int i = 0; i < 6; ++i)
        texts[i] = f.Text(kMacBoxes[i]);
    return texts;
}

// A test name made of a case's name: letters and digits kept, everything else '_'.
template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& info)
{
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

// Focuses a box and puts the caret after its text, as a click behind it does.
void FocusAtEnd(DialogFixture& f, int id)
{
    f.dialog().GetDlgItem(id)->SetFocus();
    driver::CaretToEnd(f.control(id));
}

}  // namespace

TEST(MacEntry, TwelveCharactersFillTheBoxesAndSpaceOnSearchSearches)
{
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    f.dialog().GetDlgItem(IDC_MAC1)->SetFocus();

    driver::TypeIntoFocus("001122aabbcc");

    const MacStrings expected{"00", "11", "22", "AA", "BB", "CC"};
    EXPECT_EQ(MacBoxTexts(f), expected);
    EXPECT_EQ(MacMembers(f.dialog()), expected);
    EXPECT_EQ(driver::FocusedId(), IDC_SEARCH);

    driver::PressKey(VK_RETURN);
    driver::PressKey(VK_RETURN, true);
    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr) << "Enter started a search";
    EXPECT_TRUE(f.dialog().IsWindowVisible()) << "Enter closed the dialog";

    driver::PressKey(VK_SPACE);
    const auto request = peer.Receive();
    ASSERT_TRUE(request);
    const auto search = ReadSearchRequest(request->data.data(), request->data.size());
    ASSERT_TRUE(search);
    EXPECT_FALSE(search->all);
    EXPECT_EQ(search->mac12, "001122AABBCC");
}

namespace {

enum class Action { Type, Backspace, SelectAllThenType, Paste };

struct FocusCase {
    const char* name;
    MacStrings before;
    int box;  // 1 to 6, focused before the action
    Action action;
    const char* text;
    MacStrings after;
    int focusAfter;
};

const FocusCase kFocusCases[] = {
    {"full box moves on", {"00", "", "", "", "", ""}, 2, Action::Type, "1A", {"00", "1A", "", "", "", ""}, IDC_MAC3},
    {"sixth box hands over to Search", {"00", "11", "22", "33", "44", "5"}, 6, Action::Type, "5",
     {"00", "11", "22", "33", "44", "55"}, IDC_SEARCH},
    {"lower case shows upper", {"", "", "", "", "", ""}, 3, Action::Type, "b", {"", "", "B", "", "", ""}, IDC_MAC3},
    {"one character stays", {"", "", "", "", "", ""}, 4, Action::Type, "7", {"", "", "", "7", "", ""}, IDC_MAC4},
    {"non-hex accepted", {"", "", "", "", "", ""}, 5, Action::Type, "zq", {"", "", "", "", "ZQ", ""}, IDC_MAC6},
    {"backspace empties box 3, back to box 2", {"00", "11", "2", "", "", ""}, 3, Action::Backspace, "",
     {"00", "11", "", "", "", ""}, IDC_MAC2},
    {"emptying box 1 moves nothing", {"0", "", "", "", "", ""}, 1, Action::Backspace, "",
     {"", "", "", "", "", ""}, IDC_MAC1},
    {"backspace in an empty box does nothing", {"00", "", "", "", "", ""}, 2, Action::Backspace, "",
     {"00", "", "", "", "", ""}, IDC_MAC2},
    {"third character refused", {"00", "11", "", "", "", ""}, 2, Action::Type, "C", {"00", "11", "", "", "", ""},
     IDC_MAC2},
    {"selected pair replaced by one character", {"00", "11", "22", "AB", "", ""}, 4, Action::SelectAllThenType, "7",
     {"00", "11", "22", "7", "", ""}, IDC_MAC4},
    {"pasting two moves on", {"", "", "", "", "", ""}, 1, Action::Paste, "4d", {"4D", "", "", "", "", ""}, IDC_MAC2},
    {"pasting three keeps two", {"00", "11", "22", "33", "", ""}, 5, Action::Paste, "ABC",
     {"00", "11", "22", "33", "AB", ""}, IDC_MAC6},
    // The boxes count characters, however many bytes each takes in UTF-8.
    {"one non-ASCII character stays", {"00", "1A", "2B", "3C", "4D", ""}, 6, Action::Type, "é",
     {"00", "1A", "2B", "3C", "4D", "É"}, IDC_MAC6},
    {"two non-ASCII characters move on", {"", "", "", "", "", ""}, 2, Action::Type, "éΩ",
     {"", "ÉΩ", "", "", "", ""}, IDC_MAC3},
    {"a digit after a non-ASCII character moves on", {"", "Ü", "", "", "", ""}, 2, Action::Type, "7",
     {"", "Ü7", "", "", "", ""}, IDC_MAC3},
    {"pasting one non-ASCII character stays", {"", "", "", "", "", ""}, 3, Action::Paste, "ø",
     {"", "", "Ø", "", "", ""}, IDC_MAC3},
    {"pasting three non-ASCII keeps two and moves on", {"", "", "", "", "", ""}, 4, Action::Paste, "€üß",
     {"", "", "", "€Ü", "", ""}, IDC_MAC5},
    {"sharp s has no single capital and stays one character", {"", "", "", "", "", ""}, 2, Action::Type, "ß",
     {"", "ß", "", "", "", ""}, IDC_MAC2},
    {"a character beyond 16 bits fills a box", {"", "", "", "", "", ""}, 1, Action::Paste, "😀",
     {"😀", "", "", "", "", ""}, IDC_MAC2},
};

class MacFocus : public testing::TestWithParam<FocusCase> {};

}  // namespace

TEST_P(MacFocus, MovesAsTheBoxesFillAndEmpty)
{
    const FocusCase& c = GetParam();
    DialogFixture f;
    MessageBoxRecorder boxes;
    SetMacStrings(f.dialog(), c.before);
    const int box = kMacBoxes[c.box - 1];
    FocusAtEnd(f, box);

    switch (c.action) {
    case Action::Type:
        driver::TypeIntoFocus(c.text);
        break;
    case Action::Backspace:
        driver::PressKey(VK_BACK);
        break;
    case Action::SelectAllThenType:
        driver::SelectAll(f.control(box));
        driver::TypeIntoFocus(c.text);
        break;
    case Action::Paste:
        driver::PasteIntoFocus(c.text);
        break;
    }

    EXPECT_EQ(MacBoxTexts(f), c.after);
    EXPECT_EQ(MacMembers(f.dialog()), c.after);
    EXPECT_EQ(driver::FocusedId(), c.focusAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, MacFocus, testing::ValuesIn(kFocusCases),
                         CaseName<FocusCase>);

namespace {

struct RequestCase {
    const char* name;
    const char* typed;   // into MAC box 1, walking on as the boxes fill
    const char* pasted;  // then into the box that has the focus
    bool oneDevice;
    std::string mac12;   // positions 10-21 of a "01" request
};

const RequestCase kRequestCases[] = {
    {"typed, one character in box 6 asks all devices", "001A2B3C4Dé", "", false, ""},
    {"typed, two non-ASCII characters fill box 6", "001A2B3C4DéΩ", "", true, "001A2B3C4D\xC9?"},
    {"typed, two non-ASCII characters fill box 1", "ÄÖ1A2B3C4D5E", "", true, "\xC4\xD6" "1A2B3C4D5E"},
    {"pasted, a Latin-1 and a non-Latin-1 character", "001A2B3C4D", "€ü", true, "001A2B3C4D?\xDC"},
    {"pasted, a character beyond 16 bits", "001A2B3C4D", "😀", true, "001A2B3C4D??"},
};

class MacRequest : public testing::TestWithParam<RequestCase> {};

}  // namespace

// Each character of the MAC strings is one byte of the request: its Latin-1 byte, or '?'.
TEST_P(MacRequest, CarriesOneBytePerCharacter)
{
    const RequestCase& c = GetParam();
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    f.dialog().GetDlgItem(IDC_MAC1)->SetFocus();
    driver::TypeIntoFocus(c.typed);
    if (*c.pasted != '\0')
        driver::PasteIntoFocus(c.pasted);

    f.Click(IDC_SEARCH);

    const auto request = peer.Receive();
    ASSERT_TRUE(request);
    ASSERT_EQ(request->data.size(), kDatagramSize);
    const auto search = ReadSearchRequest(request->data.data(), request->data.size());
    ASSERT_TRUE(search) << "checksum or command wrong";
    EXPECT_EQ(!search->all, c.oneDevice);
    EXPECT_EQ(search->mac12, c.mac12);
}

INSTANTIATE_TEST_SUITE_P(Cases, MacRequest, testing::ValuesIn(kRequestCases),
                         CaseName<RequestCase>);

namespace {

struct BadPortCase {
    const char* name;
    MacStrings before;
    int box;
    Action action;
    const char* text;
    const char* portAfter;   // the port box, rewritten or not
    int focusAfter;
};

const BadPortCase kBadPortCases[] = {
    {"box 1 reaching two rewrites and moves on", {"0", "", "", "", "", ""}, 1, Action::Type, "1", "9100", IDC_MAC2},
    {"box 1 with one character leaves the port box", {"", "", "", "", "", ""}, 1, Action::Type, "0", "x9", IDC_PORT},
    {"box 4 with one character rewrites, focus stays in the port box", {"00", "11", "22", "", "", ""}, 4,
     Action::Type, "3", "9100", IDC_PORT},
    {"box 3 emptied rewrites and moves back", {"00", "11", "2", "", "", ""}, 3, Action::Backspace, "", "9100",
     IDC_MAC2},
};

class MacWithBadPort : public testing::TestWithParam<BadPortCase> {};

}  // namespace

TEST_P(MacWithBadPort, ShowsTheParseMessageFirst)
{
    const BadPortCase& c = GetParam();
    DialogFixture f;
    MessageBoxRecorder boxes;
    SetMacStrings(f.dialog(), c.before);
    const HWND port = f.control(IDC_PORT);
    CWnd::FromHandle(port)->SetWindowText("x9");
    FocusAtEnd(f, kMacBoxes[c.box - 1]);

    boxes.Expect(kNotANumber);
    if (c.action == Action::Backspace)
        driver::PressKey(VK_BACK);
    else
        driver::TypeIntoFocus(c.text);

    EXPECT_EQ(driver::Text(port), c.portAfter);
    EXPECT_EQ(driver::FocusedId(), c.focusAfter);
    EXPECT_EQ(f.dialog().m_nPort, 9100u);
    if (std::string(c.portAfter) == "x9") {
        EXPECT_EQ(driver::SelectedText(port), "x9") << "the refused text is selected";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MacWithBadPort, testing::ValuesIn(kBadPortCases),
                         CaseName<BadPortCase>);

TEST(MacEntry, MacClearEmptiesTheBoxesAndRestoresAnUnreadPortEdit)
{
    DialogFixture f;
    MessageBoxRecorder boxes;
    SetMacStrings(f.dialog(), {"00", "11", "22", "33", "44", "55"});
    const HWND port = f.control(IDC_PORT);
    f.dialog().GetDlgItem(IDC_PORT)->SetFocus();
    driver::SelectAll(port);
    driver::TypeIntoFocus("1234");
    ASSERT_EQ(driver::Text(port), "1234");

    f.Click(IDC_MAC_CLEAR);

    const MacStrings empty{};
    EXPECT_EQ(MacBoxTexts(f), empty);
    EXPECT_EQ(MacMembers(f.dialog()), empty);
    EXPECT_EQ(driver::Text(port), "9100");
    EXPECT_EQ(driver::FocusedId(), IDC_MAC_CLEAR);
}

TEST(MacEntry, ShiftCtrlClickOnSearchIsSwallowed)
{
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    const HWND search = f.control(IDC_SEARCH);

    driver::Click(search, MK_SHIFT | MK_CONTROL);
    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);

    driver::Click(search);
    EXPECT_NE(f.dialog().m_pUdpEndpoint, nullptr);
    EXPECT_TRUE(peer.Receive());
}
