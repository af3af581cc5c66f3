// The main dialog's exchange: bindings in order, stopping at the first failed check.
#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "tests/support/MessageBoxRecorder.h"
#include "platform/toolkit/CWinApp.h"

namespace {

const char kNotANumber[] = "양의 정수를 입력하십시오.";
const char kOutOfRange[] = "1024와(과) 50000 사이의 정수를 입력하십시오.";

TEST(ExchangeOrder, FailedPortCheckLeavesLaterMembersAndUpdatesEarlierOnes)
{
    DialogFixture fixture;
    CConfigDlg& dialog = fixture.dialog();
    fixture.widget<QLineEdit>("mac3")->setText(QStringLiteral("AB"));
    fixture.widget<QLineEdit>("portBox")->setText(QStringLiteral("abc"));

    // Members that no exchange has written into their controls yet.
    dialog.m_strMac3 = "stale";
    dialog.m_nUseDhcp = 1;
    dialog.m_strUpdateFile = "file";
    dialog.m_strTrace = "trace";
    dialog.m_strVersion = "version";

    MessageBoxRecorder boxes;
    boxes.Expect(kNotANumber);
    EXPECT_FALSE(dialog.UpdateData(TRUE));

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, AfxGetAppName());
    EXPECT_EQ(boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(dialog.m_strMac3, "AB");
    EXPECT_EQ(dialog.m_nPort, 9100u);
    EXPECT_EQ(dialog.m_nUseDhcp, 1);
    EXPECT_EQ(dialog.m_strUpdateFile, "file");
    EXPECT_EQ(dialog.m_strTrace, "trace");
    EXPECT_EQ(dialog.m_strVersion, "version");

    auto* port = fixture.widget<QLineEdit>("portBox");
    EXPECT_EQ(QApplication::focusWidget(), port);
    EXPECT_EQ(port->selectedText(), QStringLiteral("abc"));
}

struct PortCase {
    const char* text;
    const char* message;  // nullptr: the exchange succeeds
    unsigned portAfter;
};

class PortBox : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortBox, ParsesAndChecksTheRange)
{
    const PortCase& c = GetParam();
    DialogFixture fixture;
    CConfigDlg& dialog = fixture.dialog();
    fixture.widget<QLineEdit>("portBox")->setText(QString::fromUtf8(c.text));

    MessageBoxRecorder boxes;
    if (c.message)
        boxes.Expect(c.message);
    EXPECT_EQ(dialog.UpdateData(TRUE), c.message ? FALSE : TRUE);
    EXPECT_EQ(dialog.m_nPort, c.portAfter);
}

INSTANTIATE_TEST_SUITE_P(Texts, PortBox,
                         ::testing::Values(PortCase{" \t9100 \t", nullptr, 9100},
                                           PortCase{"01024", nullptr, 1024},
                                           PortCase{"50000", nullptr, 50000},
                                           PortCase{"9100x", kNotANumber, 9100},
                                           PortCase{"-9100", kNotANumber, 9100},
                                           PortCase{"", kNotANumber, 9100},
                                           PortCase{"   ", kNotANumber, 9100},
                                           PortCase{"0", kOutOfRange, 0},
                                           PortCase{"80", kOutOfRange, 80},
                                           PortCase{"50001", kOutOfRange, 50001},
                                           PortCase{"99999999999", kOutOfRange, 4294967295u}));

}  // namespace
