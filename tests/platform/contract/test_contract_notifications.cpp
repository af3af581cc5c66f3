// Control notifications reach the message map as commands with the control's id and code:
// from the user's input, never from a change the program makes, and never while the dialog
// exchanges its data.
#include "ContractDialog.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

using namespace contract;

namespace {

TEST(ContractNotifications, UserInputNotifies)
{
    ContractDialog dialog;
    RunModal(dialog, [&] {
        driver::Click(driver::Control(dialog, kGoButton));
        ASSERT_TRUE(WaitUntil([&] { return !CodesOf(dialog, kGoButton).empty(); }));
        EXPECT_EQ(CodesOf(dialog, kGoButton), std::vector<UINT>{BN_CLICKED});

        driver::Type(driver::Control(dialog, kNameEdit), "ab");
        ASSERT_TRUE(WaitUntil([&] { return driver::Text(driver::Control(dialog, kNameEdit)) == "ab"; }));
        // Each change: first "about to be shown", then "changed".
        EXPECT_EQ(CodesOf(dialog, kNameEdit), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));

        dialog.m_itemList.AddString("one");
        dialog.m_itemList.AddString("two");
        driver::ClickListEntry(driver::Control(dialog, kItemList), 1);
        ASSERT_TRUE(WaitUntil([&] { return dialog.m_itemList.GetCurSel() == 1; }));
        EXPECT_TRUE(WaitUntil([&] { return !CodesOf(dialog, kItemList).empty(); }));
        EXPECT_EQ(CodesOf(dialog, kItemList), std::vector<UINT>{LBN_SELCHANGE});

        driver::Click(driver::Control(dialog, kFlagBox));
        ASSERT_TRUE(WaitUntil([&] { return dialog.m_flagBox.GetCheck() == BST_CHECKED; }));
        EXPECT_EQ(CodesOf(dialog, kFlagBox), std::vector<UINT>{BN_CLICKED});
    });
}

TEST(ContractNotifications, ProgramChangesDoNotNotify)
{
    ContractDialog dialog;
    RunModal(dialog, [&] {
        dialog.m_itemList.AddString("one");
        dialog.m_itemList.AddString("two");
        EXPECT_EQ(dialog.m_itemList.SetCurSel(1), 1);
        EXPECT_EQ(dialog.m_itemList.GetCurSel(), 1);
        dialog.m_flagBox.SetCheck(BST_CHECKED);

        dialog.m_nameEdit.SetWindowText("same");
        dialog.notifications.clear();
        dialog.m_nameEdit.SetWindowText("same");
        // Let anything posted arrive.
        WaitUntil([] { return false; }, 100);
        EXPECT_TRUE(dialog.notifications.empty()) << "a selection, a check and an unchanged text";
    });
}

TEST(ContractNotifications, NoneReachTheMapWhileAnExchangeRuns)
{
    ContractDialog dialog;
    std::string name = "from the member";
    dialog.exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, kNameEdit, name); };
    RunModal(dialog, [&] {
        dialog.notifications.clear();
        EXPECT_TRUE(dialog.UpdateData(FALSE));
        EXPECT_EQ(driver::Text(driver::Control(dialog, kNameEdit)), "from the member");
        WaitUntil([] { return false; }, 100);
        EXPECT_TRUE(dialog.notifications.empty());

        dialog.m_nameEdit.SetWindowText("outside an exchange");
        EXPECT_FALSE(CodesOf(dialog, kNameEdit).empty()) << "the same rewrite notifies outside an exchange";
    });
}

} // namespace
