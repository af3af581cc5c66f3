// Data exchange on the layer: members to controls and back, and a failed validation: its
// message, the focus on the control with its whole text selected, and the exchange stopped.
#include "ContractDialog.h"

#include "platform/toolkit/CWinApp.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

using namespace contract;

namespace {

constexpr UINT kUnchanged = 7777;

struct FailureCase {
    const char* name;
    const char* portText;
    std::string message;
    UINT portAfter;
};

const FailureCase kFailures[] = {
    {"not a number", "abc", "양의 정수를 입력하십시오.", kUnchanged},
    {"out of range", "80", "1024와(과) 50000 사이의 정수를 입력하십시오.", 80},
};

TEST(ContractExchange, FailedValidationShowsFocusesSelectsAndStops)
{
    for (const FailureCase& c : kFailures) {
        SCOPED_TRACE(c.name);
        ContractDialog dialog;
        UINT port = kUnchanged;
        std::string later = "before";
        dialog.exchange = [&](CDataExchange* pDX) {
            DDX_Text(pDX, kPortEdit, port);
            DDV_MinMaxUInt(pDX, port, 1024, 50000);
            DDX_Text(pDX, kLaterEdit, later);
        };
        RunModal(dialog, [&] {
            const HWND portEdit = driver::Control(dialog, kPortEdit);
            CWnd::FromHandle(portEdit)->SetWindowText(c.portText);
            CWnd::FromHandle(driver::Control(dialog, kLaterEdit))->SetWindowText("typed later");
            dialog.GetDlgItem(kNameEdit)->SetFocus();

            MessageBoxRecorder boxes;
            boxes.Expect(c.message);
            EXPECT_FALSE(dialog.UpdateData(TRUE));
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].caption, AfxGetAppName());
            EXPECT_EQ(boxes.Boxes()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
            EXPECT_TRUE(driver::HasFocus(portEdit));
            const auto [start, end] = driver::Selection(portEdit);
            EXPECT_EQ(start, 0);
            EXPECT_EQ(end, static_cast<int>(std::string(c.portText).size())) << "the whole text is selected";
            EXPECT_EQ(port, c.portAfter);
            EXPECT_EQ(later, "before") << "the exchange stopped at the failure";
        });
    }
}

TEST(ContractExchange, MembersReachTheControlsAndComeBack)
{
    ContractDialog dialog;
    UINT port = 9100;
    std::string name = "한글 이름";
    int flag = 1;
    dialog.exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, kNameEdit, name);
        DDV_MaxChars(pDX, name, 8);
        DDX_Text(pDX, kPortEdit, port);
        DDX_Check(pDX, kFlagBox, flag);
    };
    RunModal(dialog, [&] {
        EXPECT_EQ(driver::Text(driver::Control(dialog, kNameEdit)), "한글 이름");
        EXPECT_EQ(driver::Text(driver::Control(dialog, kPortEdit)), "9100");
        EXPECT_EQ(dialog.m_flagBox.GetCheck(), BST_CHECKED);

        CWnd::FromHandle(driver::Control(dialog, kPortEdit))->SetWindowText(" 01024 ");
        dialog.m_nameEdit.SetWindowText("새 이름");
        dialog.m_flagBox.SetCheck(BST_UNCHECKED);
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(port, 1024u);
        EXPECT_EQ(name, "새 이름");
        EXPECT_EQ(flag, 0);
    });
}

TEST(ContractExchange, TheLengthLimitCountsCharactersAndCapsTyping)
{
    ContractDialog dialog;
    std::string name;
    dialog.exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, kNameEdit, name);
        DDV_MaxChars(pDX, name, 2);
    };
    RunModal(dialog, [&] {
        // Two Korean characters are two characters, though six bytes.
        dialog.m_nameEdit.SetWindowText("한글");
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(name, "한글");

        dialog.m_nameEdit.SetWindowText("abc");
        MessageBoxRecorder boxes;
        boxes.Expect("2 이하의 문자를 입력하십시오.");
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        EXPECT_EQ(name, "abc") << "the text was read before the check";
    });
}

} // namespace
