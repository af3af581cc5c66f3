// The dialog's system menu on the layer: the platform's items, those the program appends
// last, and system commands through the map to the platform's handling.
#include "ContractDialog.h"

#include "platform/toolkit/CMenu.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

using namespace contract;

namespace {

constexpr UINT kAboutCommand = 16;
constexpr char kAboutText[] = "정보(&A)...";

bool HasCommand(const CMenu& menu, UINT id)
{
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        if (menu.GetMenuItemID(i) == id)
            return true;
    }
    return false;
}

TEST(ContractSystemMenu, AppendedItemsComeAfterThePlatformItems)
{
    ContractDialog dialog;
    RunModal(dialog, [&] {
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(HasCommand(*menu, SC_CLOSE));
        const int platformItems = menu->GetMenuItemCount();
        EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
        EXPECT_TRUE(menu->AppendMenu(MF_STRING, kAboutCommand, kAboutText));

        ASSERT_EQ(menu->GetMenuItemCount(), platformItems + 2);
        EXPECT_EQ(menu->GetMenuItemID(platformItems), 0u) << "a separator";
        EXPECT_EQ(menu->GetMenuItemID(platformItems + 1), kAboutCommand);
        std::string text;
        const int length = menu->GetMenuString(kAboutCommand, text, MF_BYCOMMAND);
        EXPECT_EQ(text, kAboutText);
        EXPECT_EQ(length, static_cast<int>(text.size()));

        EXPECT_EQ(dialog.GetSystemMenu(TRUE), nullptr);
        EXPECT_EQ(dialog.GetSystemMenu(FALSE)->GetMenuItemCount(), platformItems) << "reverted";
    });
}

TEST(ContractSystemMenu, CloseCommandCancelsTheDialog)
{
    ContractDialog dialog;
    const INT_PTR result = RunModal(dialog, [&] {
        dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitUntil([&] { return dialog.GetModalResult() != -1; });
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_FALSE(dialog.sysCommands.empty());
    EXPECT_EQ(dialog.sysCommands.front(), SC_CLOSE) << "the command went through the map first";
}

} // namespace
