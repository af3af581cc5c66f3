// The IP-address control: its keyboard behaviour field by field, and the address
// operations of the wrapper and of the control's messages.
#include "ToolkitTestDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

using namespace toolkit_test;

namespace {

using Fields = std::array<const char*, 4>;

class IpAddressControl : public testing::Test {
protected:
    void SetUp() override
    {
        dialog.exchange = [this](CDataExchange* pDX) { DDX_Control(pDX, kAddressBox, dialog.m_addressBox); };
        ASSERT_TRUE(dialog.Open());
        control = dialog.Control("addressBox");
        for (int i = 0; i < 4; ++i) {
            fields[static_cast<std::size_t>(i)] = control->findChild<QLineEdit*>(QStringLiteral("field%1").arg(i));
            ASSERT_NE(fields[static_cast<std::size_t>(i)], nullptr);
        }
    }

    Fields Texts(std::array<std::string, 4>& storage) const
    {
        Fields texts{};
        for (std::size_t i = 0; i < 4; ++i) {
            storage[i] = fields[i]->text().toStdString();
            texts[i] = storage[i].c_str();
        }
        return texts;
    }

    int FocusedField() const
    {
        for (std::size_t i = 0; i < 4; ++i) {
            if (QApplication::focusWidget() == fields[i])
                return static_cast<int>(i);
        }
        return -1;
    }

    TestDialog dialog;
    QWidget* control = nullptr;
    std::array<QLineEdit*, 4> fields{};
};

struct KeyCase {
    const char* name;
    Fields start;
    int startField;
    const char* keys;  // typed characters; '<' stands for Backspace
    Fields expected;
    int focusedAfter;
};

class IpAddressKeys : public IpAddressControl, public testing::WithParamInterface<KeyCase> {};

TEST_P(IpAddressKeys, TypingMovesBetweenFields)
{
    const KeyCase& c = GetParam();
    for (std::size_t i = 0; i < 4; ++i)
        fields[i]->setText(QString::fromLatin1(c.start[i]));
    QLineEdit* start = fields[static_cast<std::size_t>(c.startField)];
    start->setFocus();
    start->end(false);
    for (const char* k = c.keys; *k != '\0'; ++k) {
        QWidget* target = QApplication::focusWidget();
        if (*k == '<')
            QTest::keyClick(target, Qt::Key_Backspace);
        else
            QTest::keyClick(target, *k);
    }
    std::array<std::string, 4> storage;
    const Fields texts = Texts(storage);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_STREQ(texts[i], c.expected[i]) << "field " << i;
    EXPECT_EQ(FocusedField(), c.focusedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IpAddressKeys,
    testing::Values(
        KeyCase{"full_address_with_dots", {"", "", "", ""}, 0, "192.168.1.20", {"192", "168", "1", "20"}, 3},
        KeyCase{"short_fields", {"", "", "", ""}, 0, "1.2.3.4", {"1", "2", "3", "4"}, 3},
        KeyCase{"space_moves_on_too", {"", "", "", ""}, 0, "10 20", {"10", "20", "", ""}, 1},
        KeyCase{"dot_in_empty_field_stays", {"", "", "", ""}, 0, "..7", {"7", "", "", ""}, 0},
        KeyCase{"over_255_becomes_255", {"", "", "", ""}, 0, "300", {"255", "", "", ""}, 1},
        KeyCase{"letters_refused", {"", "", "", ""}, 0, "a1b-2", {"12", "", "", ""}, 0},
        KeyCase{"third_digit_in_last_field_stays", {"1", "2", "3", ""}, 3, "254", {"1", "2", "3", "254"}, 3},
        KeyCase{"backspace_in_empty_field_goes_back", {"12", "", "", ""}, 1, "<", {"12", "", "", ""}, 0},
        KeyCase{"backspace_deletes_then_goes_back", {"12", "3", "", ""}, 1, "<<<", {"1", "", "", ""}, 0},
        KeyCase{"backspace_in_first_field_stays", {"", "", "", ""}, 0, "<", {"", "", "", ""}, 0}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(IpAddressControl, IsOneTabStop)
{
    fields[1]->setFocus();
    QTest::keyClick(fields[1], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.Control("otherAddress")->findChild<QLineEdit*>("field0"));
    fields[2]->setFocus();
    QTest::keyClick(fields[2], Qt::Key_Backtab, Qt::ShiftModifier);
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == dialog.Control("choiceBox") || dialog.Control("choiceBox")->isAncestorOf(focus))
        << "focus on " << focus->metaObject()->className() << " " << focus->objectName().toStdString()
        << " parent " << focus->parentWidget()->objectName().toStdString();
}

TEST_F(IpAddressControl, AddressOperationsOfTheWrapper)
{
    CIPAddressCtrl& address = dialog.m_addressBox;
    DWORD value = 0xDEADBEEF;
    EXPECT_TRUE(address.IsBlank());
    EXPECT_EQ(address.GetAddress(value), 0);
    EXPECT_EQ(value, 0u);

    fields[0]->setText("10");
    fields[2]->setText("7");
    EXPECT_FALSE(address.IsBlank());
    EXPECT_EQ(address.GetAddress(value), 2) << "blank fields read 0";
    EXPECT_EQ(value, 0x0A000700u);

    address.SetAddress(0xC0A80114);
    std::array<std::string, 4> storage;
    const Fields texts = Texts(storage);
    EXPECT_STREQ(texts[0], "192");
    EXPECT_STREQ(texts[3], "20");
    BYTE b0 = 0, b1 = 0, b2 = 0, b3 = 0;
    EXPECT_EQ(address.GetAddress(b0, b1, b2, b3), 4);
    EXPECT_EQ((std::array<BYTE, 4>{b0, b1, b2, b3}), (std::array<BYTE, 4>{192, 168, 1, 20}));
    std::string text;
    address.GetWindowText(text);
    EXPECT_EQ(text, "192.168.1.20");

    address.SetAddress(255, 0, 10, 1);
    EXPECT_EQ(address.GetAddress(value), 4);
    EXPECT_EQ(value, 0xFF000A01u);

    address.ClearAddress();
    EXPECT_TRUE(address.IsBlank());
}

TEST_F(IpAddressControl, SetAddressRewritesOnlyTheFieldsThatChange)
{
    CIPAddressCtrl& address = dialog.m_addressBox;
    address.SetAddress(0x00096364);
    std::array<std::string, 4> storage;
    Texts(storage);
    EXPECT_EQ(storage, (std::array<std::string, 4>{"0", "9", "99", "100"}));

    // A user's selection in a field the new address leaves as it is stays.
    fields[1]->setSelection(0, 1);
    address.SetAddress(0x0009FF0A);
    Texts(storage);
    EXPECT_EQ(storage, (std::array<std::string, 4>{"0", "9", "255", "10"}));
    EXPECT_EQ(fields[1]->selectedText(), QStringLiteral("9"));
}

TEST_F(IpAddressControl, MessagesReachAControlWithoutMember)
{
    CWnd* other = dialog.GetDlgItem(kOtherAddress);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other->SendMessage(IPM_ISBLANK), 0);
    other->SendMessage(IPM_SETADDRESS, 0, 0x01020304);
    DWORD value = 0;
    EXPECT_EQ(other->SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value)), 4);
    EXPECT_EQ(value, 0x01020304u);
    other->SendMessage(IPM_CLEARADDRESS);
    EXPECT_NE(other->SendMessage(IPM_ISBLANK), 0);
}

TEST_F(IpAddressControl, DisablingTheControlDisablesEveryField)
{
    EXPECT_EQ(dialog.m_addressBox.EnableWindow(FALSE), FALSE);
    for (QLineEdit* field : fields)
        EXPECT_FALSE(field->isEnabled());
    EXPECT_EQ(dialog.m_addressBox.IsWindowEnabled(), FALSE);
    EXPECT_EQ(dialog.m_addressBox.EnableWindow(TRUE), TRUE);
    for (QLineEdit* field : fields)
        EXPECT_TRUE(field->isEnabled());
}

} // namespace
