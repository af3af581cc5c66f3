// Dialog data exchange: the unsigned-number parse, the length and range checks, the check
// state, what a failure does, and the lockout of control notifications meanwhile.
#include "ToolkitTestDialog.h"

#include "platform/toolkit/CWinApp.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

const std::string kNotANumber = "양의 정수를 입력하십시오.";
const std::string kOutOfRange = "1024와(과) 50000 사이의 정수를 입력하십시오.";
const std::string kTooLong = "2 이하의 문자를 입력하십시오.";

constexpr UINT kUnchanged = 7777;

struct PortCase {
    const char* name;
    QString text;
    std::string message;  // empty: the exchange succeeds
    UINT portAfter;
};

std::ostream& operator<<(std::ostream& out, const PortCase& c)
{
    return out << c.name;
}

class PortExchange : public testing::TestWithParam<PortCase> {
protected:
    void SetUp() override
    {
        dialog.exchange = [this](CDataExchange* pDX) {
            DDX_Text(pDX, kPortEdit, port);
            DDV_MinMaxUInt(pDX, port, 1024, 50000);
        };
        ASSERT_TRUE(dialog.Open());
    }

    TestDialog dialog;
    UINT port = kUnchanged;
};

TEST_P(PortExchange, ReadsValidatesAndReports)
{
    const PortCase& c = GetParam();
    auto* edit = qobject_cast<QLineEdit*>(dialog.Control("portEdit"));
    edit->setText(c.text);
    dialog.Control("nameEdit")->setFocus();
    MessageBoxRecorder boxes;
    if (!c.message.empty())
        boxes.Expect(c.message);

    const BOOL ok = dialog.UpdateData(TRUE);

    EXPECT_EQ(ok, c.message.empty() ? TRUE : FALSE);
    EXPECT_EQ(port, c.portAfter);
    if (c.message.empty())
        return;
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, AfxGetAppName());
    EXPECT_EQ(boxes.Boxes()[0].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), edit->text());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PortExchange,
    testing::Values(PortCase{"plain", "9100", "", 9100},
                    PortCase{"blanks_and_tabs_around", " \t 9100\t  ", "", 9100},
                    PortCase{"plus_sign", "+9100", "", 9100},
                    PortCase{"leading_zero", "01024", "", 1024},
                    PortCase{"upper_bound", "50000", "", 50000},
                    PortCase{"trailing_letter", "9100x", kNotANumber, kUnchanged},
                    PortCase{"minus_sign", "-9100", kNotANumber, kUnchanged},
                    PortCase{"minus_after_blanks", "  -1", kNotANumber, kUnchanged},
                    PortCase{"empty", "", kNotANumber, kUnchanged},
                    PortCase{"blanks_only", "   ", kNotANumber, kUnchanged},
                    PortCase{"plus_zero", "+0", kNotANumber, kUnchanged},
                    PortCase{"hex", "0x400", kNotANumber, kUnchanged},
                    PortCase{"inner_blank", "91 00", kNotANumber, kUnchanged},
                    PortCase{"zero", "0", kOutOfRange, 0},
                    PortCase{"below_range", "80", kOutOfRange, 80},
                    PortCase{"above_range", "50001", kOutOfRange, 50001},
                    PortCase{"just_past_32_bits", "4294967296", kOutOfRange, 4294967295u},
                    PortCase{"far_past_32_bits", "123456789012345678901234567890", kOutOfRange, 4294967295u},
                    // Only the first 31 characters are read: here "...102".
                    PortCase{"thirty_one_characters", QString(28, QLatin1Char(' ')) + "1025", kOutOfRange, 102}),
    [](const testing::TestParamInfo<PortCase>& info) { return std::string(info.param.name); });

TEST(PortExchangeToControls, WritesDecimalAndNeverFails)
{
    TestDialog dialog;
    UINT port = 23;
    dialog.exchange = [&port](CDataExchange* pDX) {
        DDX_Text(pDX, kPortEdit, port);
        DDV_MinMaxUInt(pDX, port, 1024, 50000);
    };
    ASSERT_TRUE(dialog.Open());
    MessageBoxRecorder boxes;
    EXPECT_EQ(dialog.UpdateData(FALSE), TRUE);
    EXPECT_EQ(Text(dialog.Control("portEdit")), QStringLiteral("23"));
    port = 4294967295u;
    EXPECT_EQ(dialog.UpdateData(FALSE), TRUE);
    EXPECT_EQ(Text(dialog.Control("portEdit")), QStringLiteral("4294967295"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

class ExchangeOrder : public testing::Test {
protected:
    void SetUp() override
    {
        dialog.exchange = [this](CDataExchange* pDX) {
            DDX_Text(pDX, kNameEdit, name);
            DDV_MaxChars(pDX, name, 2);
            DDX_Text(pDX, kPortEdit, port);
            DDV_MinMaxUInt(pDX, port, 1024, 50000);
            DDX_Check(pDX, kFlagBox, flag);
            DDX_Text(pDX, kLaterEdit, later);
        };
        ASSERT_TRUE(dialog.Open());
    }

    TestDialog dialog;
    std::string name = "x";
    UINT port = 5000;
    int flag = 0;
    std::string later = "old";
};

TEST_F(ExchangeOrder, FailureStopsAtTheFailingBindingAndKeepsEarlierValues)
{
    qobject_cast<QLineEdit*>(dialog.Control("nameEdit"))->setText("AB");
    auto* portEdit = qobject_cast<QLineEdit*>(dialog.Control("portEdit"));
    portEdit->setText("abc");
    qobject_cast<QCheckBox*>(dialog.Control("flagBox"))->setChecked(true);
    qobject_cast<QLineEdit*>(dialog.Control("laterEdit"))->setText("new");
    dialog.Control("laterEdit")->setFocus();
    MessageBoxRecorder boxes;
    boxes.Expect(kNotANumber);

    EXPECT_EQ(dialog.UpdateData(TRUE), FALSE);

    EXPECT_EQ(name, "AB");
    EXPECT_EQ(port, 5000u);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(later, "old");
    EXPECT_EQ(QApplication::focusWidget(), portEdit);
    EXPECT_EQ(portEdit->selectedText(), QStringLiteral("abc"));
}

TEST_F(ExchangeOrder, SuccessReadsEveryBinding)
{
    qobject_cast<QLineEdit*>(dialog.Control("nameEdit"))->setText("AB");
    qobject_cast<QLineEdit*>(dialog.Control("portEdit"))->setText("2048");
    qobject_cast<QCheckBox*>(dialog.Control("flagBox"))->setChecked(true);
    qobject_cast<QLineEdit*>(dialog.Control("laterEdit"))->setText("new");
    MessageBoxRecorder boxes;

    EXPECT_EQ(dialog.UpdateData(TRUE), TRUE);

    EXPECT_EQ(name, "AB");
    EXPECT_EQ(port, 2048u);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(later, "new");
}

TEST_F(ExchangeOrder, OverlongTextFailsTheLengthCheckOnlyFromTheControls)
{
    name = "ABCD";
    MessageBoxRecorder boxes;
    // Towards the controls the text is written whole and the limit is set; nothing fails.
    ASSERT_EQ(dialog.UpdateData(FALSE), TRUE);
    auto* nameEdit = qobject_cast<QLineEdit*>(dialog.Control("nameEdit"));
    EXPECT_EQ(nameEdit->text(), QStringLiteral("ABCD"));
    EXPECT_EQ(dialog.m_nameEdit.m_hWnd, nullptr) << "DDX_Text attaches nothing";

    boxes.Expect(kTooLong);
    EXPECT_EQ(dialog.UpdateData(TRUE), FALSE);
    EXPECT_EQ(name, "ABCD");
    EXPECT_EQ(QApplication::focusWidget(), nameEdit);
    EXPECT_EQ(nameEdit->selectedText(), QStringLiteral("ABCD"));
}

TEST_F(ExchangeOrder, LengthCheckLimitsTypingFromTheFirstExchange)
{
    name = "";
    ASSERT_EQ(dialog.UpdateData(FALSE), TRUE);
    auto* nameEdit = qobject_cast<QLineEdit*>(dialog.Control("nameEdit"));
    nameEdit->setFocus();
    QTest::keyClicks(nameEdit, "xyz");
    EXPECT_EQ(nameEdit->text(), QStringLiteral("xy"));
}

struct CheckCase {
    int member;
    Qt::CheckState shown;
    int memberAfterLoad;
};

TEST(CheckExchange, ValueOutsideZeroToTwoIsFirstSetToZero)
{
    const CheckCase cases[] = {
        {0, Qt::Unchecked, 0}, {1, Qt::Checked, 1}, {2, Qt::PartiallyChecked, 2},
        {3, Qt::Unchecked, 0}, {-1, Qt::Unchecked, 0},
    };
    TestDialog dialog;
    int flag = 0;
    dialog.exchange = [&flag](CDataExchange* pDX) { DDX_Check(pDX, kFlagBox, flag); };
    ASSERT_TRUE(dialog.Open());
    auto* box = qobject_cast<QCheckBox*>(dialog.Control("flagBox"));
    for (const CheckCase& c : cases) {
        flag = c.member;
        ASSERT_EQ(dialog.UpdateData(FALSE), TRUE);
        EXPECT_EQ(flag, c.memberAfterLoad) << "member " << c.member;
        EXPECT_EQ(box->checkState(), c.shown) << "member " << c.member;
        flag = 99;
        ASSERT_EQ(dialog.UpdateData(TRUE), TRUE);
        EXPECT_EQ(flag, c.memberAfterLoad) << "member " << c.member;
    }
}

TEST(ExchangeLockout, RewrittenTextsNotifyNothingButTypingDoes)
{
    TestDialog dialog;
    std::string name = "first";
    dialog.exchange = [&name](CDataExchange* pDX) { DDX_Text(pDX, kNameEdit, name); };
    ASSERT_TRUE(dialog.Open());
    dialog.notifications.clear();

    name = "second";
    ASSERT_EQ(dialog.UpdateData(FALSE), TRUE);
    EXPECT_EQ(Text(dialog.Control("nameEdit")), QStringLiteral("second"));
    EXPECT_TRUE(dialog.notifications.empty());

    QWidget* edit = dialog.Control("nameEdit");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(dialog.notifications, (std::vector<Notification>{{kNameEdit, EN_UPDATE}, {kNameEdit, EN_CHANGE}}));
}

TEST(ExchangeLockout, NothingIsDispatchedWhileTheFailureBoxIsOpen)
{
    TestDialog dialog;
    UINT port = 5000;
    dialog.exchange = [&port](CDataExchange* pDX) {
        DDX_Text(pDX, kPortEdit, port);
        DDV_MinMaxUInt(pDX, port, 1024, 50000);
    };
    ASSERT_TRUE(dialog.Open());
    qobject_cast<QLineEdit*>(dialog.Control("portEdit"))->setText("1");
    dialog.notifications.clear();
    MessageBoxRecorder boxes;
    boxes.Expect(kOutOfRange, [&dialog] {
        QTest::mouseClick(dialog.Control("goButton"), Qt::LeftButton);
        QWidget* edit = dialog.Control("nameEdit");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Y);
    });

    EXPECT_EQ(dialog.UpdateData(TRUE), FALSE);
    EXPECT_TRUE(dialog.notifications.empty());

    QTest::mouseClick(dialog.Control("goButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.notifications, (std::vector<Notification>{{kGoButton, BN_CLICKED}}));
}

TEST(ExchangeLockout, ANotificationHandlerMayExchangeAgain)
{
    TestDialog dialog;
    std::string name;
    std::string code;
    dialog.exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, kNameEdit, name);
        DDX_Text(pDX, kCodeEdit, code);
    };
    dialog.onNotification = [&](const Notification& n) {
        if (n.id == kNameEdit && n.code == EN_UPDATE) {
            dialog.UpdateData(TRUE);
            code = name;
            dialog.UpdateData(FALSE);
        }
    };
    ASSERT_TRUE(dialog.Open());
    QWidget* edit = dialog.Control("nameEdit");
    edit->setFocus();
    QTest::keyClicks(edit, "ab");
    EXPECT_EQ(Text(dialog.Control("codeEdit")), QStringLiteral("AB"));
    // The code box was rewritten inside exchanges only: it never notified.
    for (const Notification& n : dialog.notifications)
        EXPECT_NE(n.id, kCodeEdit);
}

} // namespace
