// The key filter: key and mouse input reaches PreTranslateMessage as the platform's
// messages, from the target control's wrapper up to its dialog, and a consumed message
// never reaches the widgets.
#include "ToolkitTestDialog.h"

#include "platform/toolkit/CEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

struct Message {
    UINT message;
    WPARAM wParam;
    bool operator==(const Message&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Message& m)
{
    return out << "{0x" << std::hex << m.message << ", 0x" << m.wParam << std::dec << "}";
}

std::vector<Message> Kinds(const std::vector<MSG>& messages, UINT first = WM_KEYDOWN, UINT last = WM_SYSCHAR)
{
    std::vector<Message> kinds;
    for (const MSG& msg : messages) {
        if (msg.message >= first && msg.message <= last)
            kinds.push_back(Message{msg.message, msg.wParam});
    }
    return kinds;
}

bool EnterOrEscape(const MSG& msg)
{
    return msg.wParam == 13 || msg.wParam == 27;
}

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::vector<Message> expected;
};

std::ostream& operator<<(std::ostream& out, const KeyCase& c)
{
    return out << c.name;
}

class KeyMessages : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyMessages, EachKeyGivesTheMessagesOfThePlatformOnce)
{
    const KeyCase& c = GetParam();
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    QWidget* edit = dialog.Control("nameEdit");
    edit->setFocus();
    dialog.filtered.clear();

    QTest::keyClick(edit, c.key, c.modifiers);

    EXPECT_EQ(Kinds(dialog.filtered), c.expected);
    for (const MSG& msg : dialog.filtered)
        EXPECT_EQ(msg.hwnd, dialog.GetDlgItem(kNameEdit)->m_hWnd) << "the target is the focused control";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyMessages,
    testing::Values(
        KeyCase{"letter", Qt::Key_A, {}, {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}}},
        // The modifier keys are keys of their own.
        KeyCase{"shifted_digit", Qt::Key_Exclam, Qt::ShiftModifier,
                {{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, '1'}, {WM_CHAR, '!'}, {WM_KEYUP, '1'}, {WM_KEYUP, VK_SHIFT}}},
        // Enter and Esc are ignored by the edit and go on to the dialog: still one of each.
        KeyCase{"enter", Qt::Key_Return, {}, {{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13}, {WM_KEYUP, VK_RETURN}}},
        KeyCase{"escape", Qt::Key_Escape, {}, {{WM_KEYDOWN, VK_ESCAPE}, {WM_CHAR, 27}, {WM_KEYUP, VK_ESCAPE}}},
        KeyCase{"backspace", Qt::Key_Backspace, {}, {{WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8}, {WM_KEYUP, VK_BACK}}},
        KeyCase{"arrow", Qt::Key_Left, {}, {{WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}}},
        KeyCase{"delete", Qt::Key_Delete, {}, {{WM_KEYDOWN, VK_DELETE}, {WM_KEYUP, VK_DELETE}}},
        KeyCase{"control_letter", Qt::Key_C, Qt::ControlModifier,
                {{WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'C'}, {WM_CHAR, 3}, {WM_KEYUP, 'C'}, {WM_KEYUP, VK_CONTROL}}},
        KeyCase{"alt_letter", Qt::Key_X, Qt::AltModifier,
                {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'}, {WM_SYSKEYUP, 'X'}, {WM_KEYUP, VK_MENU}}},
        KeyCase{"function_key", Qt::Key_F4, {}, {{WM_KEYDOWN, VK_F4}, {WM_KEYUP, VK_F4}}}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(KeyFilter, ConsumedEnterAndEscapeNeverReachTheWidgets)
{
    TestDialog dialog;
    dialog.consume = EnterOrEscape;
    ASSERT_TRUE(dialog.Open());
    QWidget* name = dialog.Control("nameEdit");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(name, Qt::Key_Escape);
    auto* notes = qobject_cast<QPlainTextEdit*>(dialog.Control("notesEdit"));
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Return);
    QWidget* go = dialog.Control("goButton");
    go->setFocus();
    QTest::keyClick(go, Qt::Key_Return);

    EXPECT_EQ(dialog.okCount, 0);
    EXPECT_EQ(dialog.cancelCount, 0);
    EXPECT_TRUE(notes->toPlainText().isEmpty()) << "no new line in the multi-line edit";
    EXPECT_TRUE(dialog.notifications.empty()) << "the focused button was not pressed";
    EXPECT_TRUE(dialog.Window()->isVisible());
    const std::vector<Message> keyUps = Kinds(dialog.filtered, WM_KEYUP, WM_KEYUP);
    EXPECT_EQ(keyUps.size(), 4u) << "key-up messages are offered too";

    // Without the filter the same keys act.
    dialog.consume = {};
    QTest::keyClick(go, Qt::Key_Return);
    EXPECT_EQ(dialog.notifications, (std::vector<Notification>{{kGoButton, BN_CLICKED}}));
}

struct MouseCase {
    const char* name;
    std::vector<Qt::MouseButton> held;
    Qt::KeyboardModifiers modifiers;
    WPARAM downFlags;
    bool clicks;
};

std::ostream& operator<<(std::ostream& out, const MouseCase& c)
{
    return out << c.name;
}

class MouseMessages : public testing::TestWithParam<MouseCase> {};

TEST_P(MouseMessages, KeyStateFlagsDecideWhetherTheClickIsConsumed)
{
    const MouseCase& c = GetParam();
    TestDialog dialog;
    dialog.consume = EnterOrEscape;
    ASSERT_TRUE(dialog.Open());
    QWidget* go = dialog.Control("goButton");
    const QPoint where(5, 4);
    for (Qt::MouseButton button : c.held)
        QTest::mousePress(go, button, c.modifiers, where);
    dialog.filtered.clear();
    QTest::mousePress(go, Qt::LeftButton, c.modifiers, where);
    QTest::mouseRelease(go, Qt::LeftButton, c.modifiers, where);
    for (Qt::MouseButton button : c.held)
        QTest::mouseRelease(go, button, c.modifiers, where);

    ASSERT_GE(dialog.filtered.size(), 2u);
    const MSG& down = dialog.filtered[0];
    EXPECT_EQ(down.message, WM_LBUTTONDOWN);
    EXPECT_EQ(down.wParam, c.downFlags);
    EXPECT_EQ(down.lParam, MAKELPARAM(5, 4));
    EXPECT_EQ(down.hwnd, dialog.GetDlgItem(kGoButton)->m_hWnd);
    EXPECT_EQ(dialog.filtered[1].message, WM_LBUTTONUP);
    EXPECT_EQ(dialog.filtered[1].wParam & MK_LBUTTON, 0u) << "the released button is no longer held";
    EXPECT_EQ(!dialog.notifications.empty(), c.clicks);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, MouseMessages,
    testing::Values(MouseCase{"plain", {}, {}, MK_LBUTTON, true},
                    MouseCase{"shift", {}, Qt::ShiftModifier, MK_LBUTTON | MK_SHIFT, true},
                    MouseCase{"shift_control_is_13", {}, Qt::ShiftModifier | Qt::ControlModifier,
                              MK_LBUTTON | MK_SHIFT | MK_CONTROL, false},
                    MouseCase{"all_buttons_control_is_27", {Qt::MiddleButton, Qt::RightButton}, Qt::ControlModifier,
                              MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_CONTROL, false}),
    [](const testing::TestParamInfo<MouseCase>& info) { return std::string(info.param.name); });

TEST(KeyFilter, DoubleClickAndMoveMessages)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    QWidget* go = dialog.Control("goButton");
    // QTest's double-click sends the double-click alone; the platform's sequence is built here.
    QTest::mousePress(go, Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseRelease(go, Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseDClick(go, Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseRelease(go, Qt::RightButton, {}, QPoint(3, 3));
    // QTest moves the cursor for a move without buttons; a drag gives the widget its moves.
    QTest::mousePress(go, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseMove(go, QPoint(6, 7));
    QTest::mouseRelease(go, Qt::LeftButton, {}, QPoint(6, 7));
    std::vector<UINT> kinds;
    for (const MSG& msg : dialog.filtered)
        kinds.push_back(msg.message);
    const std::vector<UINT> clicks = {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_RBUTTONUP};
    EXPECT_TRUE(std::search(kinds.begin(), kinds.end(), clicks.begin(), clicks.end()) != kinds.end());
    const auto move = std::find_if(dialog.filtered.begin(), dialog.filtered.end(),
                                   [](const MSG& msg) { return msg.message == WM_MOUSEMOVE; });
    ASSERT_NE(move, dialog.filtered.end());
    EXPECT_EQ(move->hwnd, dialog.GetDlgItem(kGoButton)->m_hWnd);
    EXPECT_EQ(move->lParam, MAKELPARAM(6, 7));
    EXPECT_EQ(move->wParam, MK_LBUTTON);
}

// A control member that consumes 'Q' before its dialog sees it.
class QuietEdit : public CEdit {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        ++seen;
        return pMsg->wParam == 'Q' ? TRUE : FALSE;
    }
    int seen = 0;
};

TEST(KeyFilter, TheControlsWrapperIsAskedBeforeTheDialog)
{
    TestDialog dialog;
    QuietEdit quiet;
    dialog.exchange = [&quiet](CDataExchange* pDX) { DDX_Control(pDX, kNameEdit, quiet); };
    ASSERT_TRUE(dialog.Open());
    auto* name = qobject_cast<QLineEdit*>(dialog.Control("nameEdit"));
    name->setFocus();
    dialog.filtered.clear();
    QTest::keyClicks(name, "pq");
    EXPECT_EQ(name->text(), QStringLiteral("p"));
    EXPECT_GT(quiet.seen, 0);
    EXPECT_EQ(Kinds(dialog.filtered, WM_KEYDOWN, WM_KEYDOWN), (std::vector<Message>{{WM_KEYDOWN, 'P'}}));

    // Other controls have no wrapper of their own: the dialog alone decides.
    auto* code = qobject_cast<QLineEdit*>(dialog.Control("codeEdit"));
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Q);
    EXPECT_EQ(code->text(), QStringLiteral("Q"));
}

TEST(KeyFilter, AnotherTopLevelDialogIsNotFiltered)
{
    TestDialog main;
    main.consume = EnterOrEscape;
    ASSERT_TRUE(main.Open());
    TestDialog box(kBoxDialog);
    ASSERT_TRUE(box.Open());
    main.filtered.clear();

    QWidget* edit = box.Control("boxEdit");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);

    EXPECT_EQ(box.okCount, 1) << "Enter pressed the box's default button";
    EXPECT_TRUE(main.filtered.empty());
    EXPECT_FALSE(box.Window()->isVisible());
    EXPECT_TRUE(main.Window()->isVisible());
}

} // namespace
