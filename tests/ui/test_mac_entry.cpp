// Typing a MAC filter: the focus walks through the six boxes and on to Search; the key
// filter keeps Enter from pressing anything.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "link/Datagram.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

using MacStrings = std::array<std::string, 6>;

constexpr const char* kMacBoxes[] = {"mac1", "mac2", "mac3", "mac4", "mac5", "mac6"};
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
        texts[i] = f.widget<QLineEdit>(kMacBoxes[i])->text().toStdString();
    return texts;
}

// Types into whatever has the focus, as a user typing without looking does. A character
// beyond ASCII comes as its text alone, as a keyboard layout or input method sends it.
void TypeIntoFocus(const QString& text)
{
    for (const QChar ch : text) {
        QWidget* focus = QApplication::focusWidget();
        if (ch.unicode() < 0x80)
            QTest::keyClick(focus, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

void PasteIntoFocus(const QString& text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
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

std::string FocusName()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : std::string("(none)");
}

}  // namespace

TEST(MacEntry, TwelveCharactersFillTheBoxesAndSpaceOnSearchSearches)
{
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    f.widget("mac1")->setFocus();

    TypeIntoFocus("001122aabbcc");

    const MacStrings expected{"00", "11", "22", "AA", "BB", "CC"};
    EXPECT_EQ(MacBoxTexts(f), expected);
    EXPECT_EQ(MacMembers(f.dialog()), expected);
    EXPECT_EQ(FocusName(), "searchButton");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr) << "Enter started a search";
    EXPECT_TRUE(f.window()->isVisible()) << "Enter closed the dialog";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    const auto request = peer.Receive();
    ASSERT_TRUE(request);
    const auto search = ReadSearchRequest(request->data.constData(), static_cast<std::size_t>(request->data.size()));
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
    const char* focusAfter;
};

const FocusCase kFocusCases[] = {
    {"full box moves on", {"00", "", "", "", "", ""}, 2, Action::Type, "1A", {"00", "1A", "", "", "", ""}, "mac3"},
    {"sixth box hands over to Search", {"00", "11", "22", "33", "44", "5"}, 6, Action::Type, "5",
     {"00", "11", "22", "33", "44", "55"}, "searchButton"},
    {"lower case shows upper", {"", "", "", "", "", ""}, 3, Action::Type, "b", {"", "", "B", "", "", ""}, "mac3"},
    {"one character stays", {"", "", "", "", "", ""}, 4, Action::Type, "7", {"", "", "", "7", "", ""}, "mac4"},
    {"non-hex accepted", {"", "", "", "", "", ""}, 5, Action::Type, "zq", {"", "", "", "", "ZQ", ""}, "mac6"},
    {"backspace empties box 3, back to box 2", {"00", "11", "2", "", "", ""}, 3, Action::Backspace, "",
     {"00", "11", "", "", "", ""}, "mac2"},
    {"emptying box 1 moves nothing", {"0", "", "", "", "", ""}, 1, Action::Backspace, "",
     {"", "", "", "", "", ""}, "mac1"},
    {"backspace in an empty box does nothing", {"00", "", "", "", "", ""}, 2, Action::Backspace, "",
     {"00", "", "", "", "", ""}, "mac2"},
    {"third character refused", {"00", "11", "", "", "", ""}, 2, Action::Type, "C", {"00", "11", "", "", "", ""},
     "mac2"},
    {"selected pair replaced by one character", {"00", "11", "22", "AB", "", ""}, 4, Action::SelectAllThenType, "7",
     {"00", "11", "22", "7", "", ""}, "mac4"},
    {"pasting two moves on", {"", "", "", "", "", ""}, 1, Action::Paste, "4d", {"4D", "", "", "", "", ""}, "mac2"},
    {"pasting three keeps two", {"00", "11", "22", "33", "", ""}, 5, Action::Paste, "ABC",
     {"00", "11", "22", "33", "AB", ""}, "mac6"},
    // The boxes count characters, however many bytes each takes in UTF-8.
    {"one non-ASCII character stays", {"00", "1A", "2B", "3C", "4D", ""}, 6, Action::Type, "é",
     {"00", "1A", "2B", "3C", "4D", "É"}, "mac6"},
    {"two non-ASCII characters move on", {"", "", "", "", "", ""}, 2, Action::Type, "éΩ",
     {"", "ÉΩ", "", "", "", ""}, "mac3"},
    {"a digit after a non-ASCII character moves on", {"", "Ü", "", "", "", ""}, 2, Action::Type, "7",
     {"", "Ü7", "", "", "", ""}, "mac3"},
    {"pasting one non-ASCII character stays", {"", "", "", "", "", ""}, 3, Action::Paste, "ø",
     {"", "", "Ø", "", "", ""}, "mac3"},
    {"pasting three non-ASCII keeps two and moves on", {"", "", "", "", "", ""}, 4, Action::Paste, "€üß",
     {"", "", "", "€Ü", "", ""}, "mac5"},
    {"sharp s has no single capital and stays one character", {"", "", "", "", "", ""}, 2, Action::Type, "ß",
     {"", "ß", "", "", "", ""}, "mac2"},
    {"a character beyond 16 bits fills a box", {"", "", "", "", "", ""}, 1, Action::Paste, "😀",
     {"😀", "", "", "", "", ""}, "mac2"},
};

class MacFocus : public testing::TestWithParam<FocusCase> {};

}  // namespace

TEST_P(MacFocus, MovesAsTheBoxesFillAndEmpty)
{
    const FocusCase& c = GetParam();
    DialogFixture f;
    MessageBoxRecorder boxes;
    SetMacStrings(f.dialog(), c.before);
    auto* box = f.widget<QLineEdit>(kMacBoxes[c.box - 1]);
    box->setFocus();
    box->end(false);

    switch (c.action) {
    case Action::Type:
        TypeIntoFocus(QString::fromUtf8(c.text));
        break;
    case Action::Backspace:
        QTest::keyClick(box, Qt::Key_Backspace);
        break;
    case Action::SelectAllThenType:
        box->selectAll();
        TypeIntoFocus(QString::fromUtf8(c.text));
        break;
    case Action::Paste:
        PasteIntoFocus(QString::fromUtf8(c.text));
        break;
    }

    EXPECT_EQ(MacBoxTexts(f), c.after);
    EXPECT_EQ(MacMembers(f.dialog()), c.after);
    EXPECT_EQ(FocusName(), c.focusAfter);
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
    f.widget("mac1")->setFocus();
    TypeIntoFocus(QString::fromUtf8(c.typed));
    if (*c.pasted != '\0')
        PasteIntoFocus(QString::fromUtf8(c.pasted));

    f.Click("searchButton");

    const auto request = peer.Receive();
    ASSERT_TRUE(request);
    ASSERT_EQ(request->data.size(), static_cast<qsizetype>(kDatagramSize));
    const auto search = ReadSearchRequest(request->data.constData(), static_cast<std::size_t>(request->data.size()));
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
    const char* focusAfter;
};

const BadPortCase kBadPortCases[] = {
    {"box 1 reaching two rewrites and moves on", {"0", "", "", "", "", ""}, 1, Action::Type, "1", "9100", "mac2"},
    {"box 1 with one character leaves the port box", {"", "", "", "", "", ""}, 1, Action::Type, "0", "x9", "portBox"},
    {"box 4 with one character rewrites, focus stays in the port box", {"00", "11", "22", "", "", ""}, 4,
     Action::Type, "3", "9100", "portBox"},
    {"box 3 emptied rewrites and moves back", {"00", "11", "2", "", "", ""}, 3, Action::Backspace, "", "9100",
     "mac2"},
};

class MacWithBadPort : public testing::TestWithParam<BadPortCase> {};

}  // namespace

TEST_P(MacWithBadPort, ShowsTheParseMessageFirst)
{
    const BadPortCase& c = GetParam();
    DialogFixture f;
    MessageBoxRecorder boxes;
    SetMacStrings(f.dialog(), c.before);
    auto* port = f.widget<QLineEdit>("portBox");
    port->setText("x9");
    auto* box = f.widget<QLineEdit>(kMacBoxes[c.box - 1]);
    box->setFocus();
    box->end(false);

    boxes.Expect(kNotANumber);
    if (c.action == Action::Backspace)
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        TypeIntoFocus(QString::fromLatin1(c.text));

    EXPECT_EQ(port->text().toStdString(), c.portAfter);
    EXPECT_EQ(FocusName(), c.focusAfter);
    EXPECT_EQ(f.dialog().m_nPort, 9100u);
    if (std::string(c.portAfter) == "x9") {
        EXPECT_EQ(port->selectedText(), "x9") << "the refused text is selected";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MacWithBadPort, testing::ValuesIn(kBadPortCases),
                         CaseName<BadPortCase>);

TEST(MacEntry, MacClearEmptiesTheBoxesAndRestoresAnUnreadPortEdit)
{
    DialogFixture f;
    MessageBoxRecorder boxes;
    SetMacStrings(f.dialog(), {"00", "11", "22", "33", "44", "55"});
    auto* port = f.widget<QLineEdit>("portBox");
    port->setFocus();
    port->selectAll();
    TypeIntoFocus("1234");
    ASSERT_EQ(port->text(), "1234");

    QTest::mouseClick(f.widget("macClearButton"), Qt::LeftButton);

    const MacStrings empty{};
    EXPECT_EQ(MacBoxTexts(f), empty);
    EXPECT_EQ(MacMembers(f.dialog()), empty);
    EXPECT_EQ(port->text(), "9100");
    EXPECT_EQ(FocusName(), "macClearButton");
}

TEST(MacEntry, ShiftCtrlClickOnSearchIsSwallowed)
{
    UdpPeer peer;
    DialogFixture f(LoopbackNetwork(peer.port()));
    MessageBoxRecorder boxes;
    QWidget* search = f.widget("searchButton");

    QTest::mouseClick(search, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);

    QTest::mouseClick(search, Qt::LeftButton);
    EXPECT_NE(f.dialog().m_pUdpEndpoint, nullptr);
    EXPECT_TRUE(peer.Receive());
}
