// A dialog from its template on the layer: texts and states from the rows, the modal run
// and its end, and what the window's destruction does.
#include "ContractDialog.h"

#include "tests/support/DialogDriver.h"

#include <gtest/gtest.h>

using namespace contract;

namespace {

TEST(ContractDialog, BuildsTheTemplateRows)
{
    ContractDialog dialog;
    RunModal(dialog, [&] {
        std::string caption;
        dialog.GetWindowText(caption);
        EXPECT_EQ(caption, kCaption);
        EXPECT_EQ(driver::Text(driver::Control(dialog, kNameLabel)), kNameLabelText) << "the text keeps its mnemonic";
        EXPECT_EQ(driver::Text(driver::Control(dialog, kGoButton)), kGoText);

        struct State {
            int id;
            bool visible;
            bool enabled;
        };
        const State states[] = {
            {kNameEdit, true, true},
            {kGoButton, true, true},
            {kHiddenEdit, false, true},
            {kOffButton, true, false},
        };
        for (const State& s : states) {
            const CWnd* control = dialog.GetDlgItem(s.id);
            ASSERT_NE(control, nullptr) << s.id;
            EXPECT_EQ(control->IsWindowVisible() != FALSE, s.visible) << s.id;
            EXPECT_EQ(control->IsWindowEnabled() != FALSE, s.enabled) << s.id;
        }
        EXPECT_EQ(dialog.GetDlgItem(4242), nullptr) << "no such control";
        EXPECT_EQ(dialog.m_flagBox.GetCheck(), BST_UNCHECKED);
    });
}

TEST(ContractDialog, FocusStartsOnTheFirstTabStop)
{
    ContractDialog dialog;
    RunModal(dialog, [&] { EXPECT_TRUE(driver::HasFocus(driver::Control(dialog, kNameEdit))); });
}

TEST(ContractDialog, ModalRunEndsWithTheResultAndDestroysTheWindow)
{
    ContractDialog dialog;
    const INT_PTR result = RunModal(dialog, [&] {
        EXPECT_TRUE(dialog.IsWindowVisible());
        dialog.EndDialog(1234);
    });
    EXPECT_EQ(result, 1234);
    EXPECT_FALSE(dialog.visibleDuringInit) << "the window shows once it is initialised";
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.destroyCount, 1) << "WM_DESTROY reaches the map";
    EXPECT_EQ(dialog.m_nameEdit.m_hWnd, nullptr) << "control members detach with the window";
}

TEST(ContractDialog, RunsAgainAfterItEnded)
{
    ContractDialog dialog;
    EXPECT_EQ(RunModal(dialog, [] {}), kEndedByTest);
    EXPECT_EQ(RunModal(dialog, [&] { dialog.EndDialog(IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(dialog.destroyCount, 2);
}

} // namespace
