// Edit controls: EN_UPDATE/EN_CHANGE on every change of the text, upper-case conversion,
// the text limit against typing and pasting, multi-line and read-only edits, selection.
#include "ToolkitTestDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

const std::vector<Notification> kOneChange = {{kNameEdit, EN_UPDATE}, {kNameEdit, EN_CHANGE}};

class EditControl : public testing::Test {
protected:
    void SetUp() override
    {
        dialog.exchange = [this](CDataExchange* pDX) { DDX_Control(pDX, kNameEdit, dialog.m_nameEdit); };
        ASSERT_TRUE(dialog.Open());
        name = qobject_cast<QLineEdit*>(dialog.Control("nameEdit"));
        ASSERT_NE(name, nullptr);
        name->setFocus();
        dialog.notifications.clear();
    }

    void Paste(QWidget* edit, const QString& text)
    {
        QApplication::clipboard()->setText(text);
        QTest::keySequence(edit, QKeySequence::Paste);
    }

    TestDialog dialog;
    QLineEdit* name = nullptr;
};

TEST_F(EditControl, EveryChangeOfTheTextNotifiesUpdateThenChange)
{
    QTest::keyClick(name, Qt::Key_A);
    EXPECT_EQ(dialog.notifications, kOneChange) << "typing";

    dialog.notifications.clear();
    Paste(name, "xy");
    EXPECT_EQ(name->text(), QStringLiteral("axy"));
    EXPECT_EQ(dialog.notifications, kOneChange) << "pasting";

    dialog.notifications.clear();
    dialog.m_nameEdit.SetWindowText("other");
    EXPECT_EQ(dialog.notifications, kOneChange) << "a different text set by the program";

    dialog.notifications.clear();
    dialog.m_nameEdit.SetWindowText("other");
    name->setCursorPosition(0);
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_TRUE(dialog.notifications.empty()) << "the same text again, Backspace at the start";
}

TEST_F(EditControl, UpperCaseBoxConvertsTypedPastedAndSetText)
{
    auto* code = qobject_cast<QLineEdit*>(dialog.Control("codeEdit"));
    code->setFocus();
    QTest::keyClicks(code, "ab1-");
    EXPECT_EQ(code->text(), QStringLiteral("AB1-"));
    Paste(code, "cd");
    EXPECT_EQ(code->text(), QStringLiteral("AB1-CD"));
    CWnd* wrapper = dialog.GetDlgItem(kCodeEdit);
    wrapper->SetWindowText("x한y");
    std::string text;
    wrapper->GetWindowText(text);
    EXPECT_EQ(text, "X한Y");
    // One notification pair per keystroke: the conversion is no second change.
    const auto updates = std::count(dialog.notifications.begin(), dialog.notifications.end(),
                                    Notification{kCodeEdit, EN_UPDATE});
    EXPECT_EQ(updates, 6);

    // One character for one: a letter without a single capital stays as it is.
    wrapper->SetWindowText("straße");
    wrapper->GetWindowText(text);
    EXPECT_EQ(text, "STRAßE");
}

TEST_F(EditControl, LimitCapsTypingAndPastingButNotTheProgram)
{
    dialog.UpdateData(FALSE);
    dialog.m_nameEdit.SetLimitText(2);
    EXPECT_EQ(dialog.m_nameEdit.GetLimitText(), 2u);

    QTest::keyClicks(name, "abc");
    EXPECT_EQ(name->text(), QStringLiteral("ab"));

    name->clear();
    Paste(name, "xyz");
    EXPECT_EQ(name->text(), QStringLiteral("xy")) << "pasting three into an empty box keeps the first two";

    dialog.notifications.clear();
    QTest::keyClick(name, Qt::Key_Q);
    EXPECT_TRUE(dialog.notifications.empty()) << "a refused character changes nothing";

    name->selectAll();
    QTest::keyClick(name, Qt::Key_Q);
    EXPECT_EQ(name->text(), QStringLiteral("q"));

    dialog.m_nameEdit.SetWindowText("ABCD");
    EXPECT_EQ(name->text(), QStringLiteral("ABCD"));
    name->end(false);
    QTest::keyClick(name, Qt::Key_E);
    EXPECT_EQ(name->text(), QStringLiteral("ABCD")) << "nothing more goes into an over-long text";
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClick(name, Qt::Key_E);
    EXPECT_EQ(name->text(), QStringLiteral("ABC"));
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClick(name, Qt::Key_E);
    EXPECT_EQ(name->text(), QStringLiteral("Ae"));

    dialog.m_nameEdit.LimitText(0);
    QTest::keyClicks(name, "fgh");
    EXPECT_EQ(name->text(), QStringLiteral("Aefgh"));
}

TEST_F(EditControl, SelectionSetAndRead)
{
    dialog.UpdateData(FALSE);
    dialog.m_nameEdit.SetWindowText("abcdef");
    dialog.m_nameEdit.SetSel(0, -1);
    EXPECT_EQ(name->selectedText(), QStringLiteral("abcdef"));
    dialog.m_nameEdit.SetSel(1, 3);
    EXPECT_EQ(name->selectedText(), QStringLiteral("bc"));
    int start = 0;
    int end = 0;
    dialog.m_nameEdit.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    EXPECT_EQ(dialog.m_nameEdit.GetSel(), MAKELONG(1, 3));
    dialog.m_nameEdit.SetSel(-1, 0);
    EXPECT_FALSE(name->hasSelectedText());
}

TEST_F(EditControl, MultiLineEditHoldsLinesAndNotifies)
{
    CWnd* notes = dialog.GetDlgItem(kNotesEdit);
    ASSERT_NE(notes, nullptr);
    auto* widget = qobject_cast<QPlainTextEdit*>(dialog.Control("notesEdit"));
    ASSERT_NE(widget, nullptr);

    notes->SetWindowText("one\ntwo");
    EXPECT_EQ(widget->toPlainText(), QStringLiteral("one\ntwo"));
    std::string text;
    notes->GetWindowText(text);
    EXPECT_EQ(text, "one\ntwo");
    EXPECT_EQ(notes->GetWindowTextLength(), 7);
    const std::vector<Notification> change = {{kNotesEdit, EN_CHANGE}};
    EXPECT_EQ(dialog.notifications, change);

    dialog.notifications.clear();
    notes->SetWindowText("one\ntwo");
    EXPECT_TRUE(dialog.notifications.empty());

    widget->setFocus();
    widget->moveCursor(QTextCursor::End);
    QTest::keyClick(widget, Qt::Key_Return);
    QTest::keyClick(widget, Qt::Key_Z);
    EXPECT_EQ(widget->toPlainText(), QStringLiteral("one\ntwo\nz"));
    EXPECT_EQ(dialog.notifications.size(), 2u);
}

// A hidden edit lays its text out only when shown, yet reads back and notifies at once.
TEST_F(EditControl, HiddenMultiLineEditTakesTextAtOnceAndShowsItWhenShown)
{
    CWnd* notes = dialog.GetDlgItem(kNotesEdit);
    ASSERT_NE(notes, nullptr);
    auto* widget = qobject_cast<QPlainTextEdit*>(dialog.Control("notesEdit"));
    ASSERT_NE(widget, nullptr);
    notes->ShowWindow(SW_HIDE);
    dialog.notifications.clear();

    notes->SetWindowText("one\ntwo");
    std::string text;
    notes->GetWindowText(text);
    EXPECT_EQ(text, "one\ntwo");
    EXPECT_EQ(notes->GetWindowTextLength(), 7);
    const std::vector<Notification> change = {{kNotesEdit, EN_CHANGE}};
    EXPECT_EQ(dialog.notifications, change);
    EXPECT_TRUE(widget->toPlainText().isEmpty()) << "laid out while hidden";

    dialog.notifications.clear();
    notes->SetWindowText("one\ntwo");
    EXPECT_TRUE(dialog.notifications.empty()) << "the same text again";

    notes->ShowWindow(SW_SHOW);
    EXPECT_EQ(widget->toPlainText(), QStringLiteral("one\ntwo"));
    EXPECT_TRUE(dialog.notifications.empty()) << "showing is no change of the text";
    notes->GetWindowText(text);
    EXPECT_EQ(text, "one\ntwo");

    dialog.notifications.clear();
    notes->SetWindowText("three");
    EXPECT_EQ(widget->toPlainText(), QStringLiteral("three")) << "a shown edit takes the text at once";
    EXPECT_EQ(dialog.notifications, change);
}

// The caret works on the text the edit holds, even one set while hidden.
TEST_F(EditControl, HiddenMultiLineEditSelectsInTheTextItWasGiven)
{
    CEdit notes;
    notes.Attach(dialog.GetDlgItem(kNotesEdit)->m_hWnd);
    notes.ShowWindow(SW_HIDE);
    notes.SetWindowText("abcdef");

    notes.SetSel(2, 5);
    int start = -1;
    int end = -1;
    notes.GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 5);
    notes.Detach();
}

TEST_F(EditControl, ReadOnlyEditRefusesTypingButTakesProgramText)
{
    auto* readOnly = qobject_cast<QLineEdit*>(dialog.Control("readOnlyEdit"));
    readOnly->setFocus();
    QTest::keyClicks(readOnly, "abc");
    EXPECT_TRUE(readOnly->text().isEmpty());
    dialog.GetDlgItem(kReadOnlyEdit)->SetWindowText("/path/file.bin");
    EXPECT_EQ(readOnly->text(), QStringLiteral("/path/file.bin"));
}

} // namespace
