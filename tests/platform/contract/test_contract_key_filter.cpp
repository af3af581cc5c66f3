// The key filter on the layer: input for the dialog and its controls is offered to
// PreTranslateMessage first, as the platform's messages; a consumed message goes no further,
// and the rest get the dialog's ordinary keyboard handling (Enter, Esc).
#include "ContractDialog.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace contract;

namespace {

bool Saw(const ContractDialog& dialog, UINT message, WPARAM wParam)
{
    return std::any_of(dialog.filtered.begin(), dialog.filtered.end(),
                       [&](const MSG& m) { return m.message == message && m.wParam == wParam; });
}

TEST(ContractKeyFilter, ConsumedCharactersNeverReachTheControl)
{
    ContractDialog dialog;
    dialog.consume = [](const MSG& m) { return m.message == WM_CHAR && m.wParam == 'x'; };
    RunModal(dialog, [&] {
        const HWND edit = driver::Control(dialog, kNameEdit);
        driver::Type(edit, "axb");
        ASSERT_TRUE(WaitUntil([&] { return driver::Text(edit) == "ab"; })) << driver::Text(edit);
        EXPECT_TRUE(Saw(dialog, WM_CHAR, 'x'));
        const auto target = std::find_if(dialog.filtered.begin(), dialog.filtered.end(),
                                         [](const MSG& m) { return m.message == WM_CHAR; });
        ASSERT_NE(target, dialog.filtered.end());
        EXPECT_EQ(target->hwnd, edit) << "the message names the control it is for";
    });
}

struct KeyCase {
    const char* name;
    int key;
    bool consumed;
    INT_PTR result;
};

const KeyCase kKeys[] = {
    {"Enter without a default button is OK", VK_RETURN, false, IDOK},
    {"Esc is Cancel", VK_ESCAPE, false, IDCANCEL},
    {"a consumed Enter does nothing", VK_RETURN, true, kEndedByTest},
    {"a consumed Esc does nothing", VK_ESCAPE, true, kEndedByTest},
};

TEST(ContractKeyFilter, EnterAndEscEndTheDialogUnlessConsumed)
{
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(c.name);
        ContractDialog dialog;
        if (c.consumed)
            dialog.consume = [](const MSG& m) { return m.wParam == VK_RETURN || m.wParam == VK_ESCAPE; };
        const INT_PTR result = RunModal(dialog, [&] {
            driver::PressKey(c.key);
            WaitUntil([&] { return dialog.GetModalResult() != -1; }, c.consumed ? 200 : 5000);
            EXPECT_TRUE(Saw(dialog, WM_KEYDOWN, static_cast<WPARAM>(c.key)));
        });
        EXPECT_EQ(result, c.result);
    }
}

TEST(ContractKeyFilter, MouseMessagesCarryTheKeyState)
{
    ContractDialog dialog;
    // Left button with Shift and Ctrl: 1 + 4 + 8.
    dialog.consume = [](const MSG& m) { return m.wParam == 13; };
    RunModal(dialog, [&] {
        driver::Click(driver::Control(dialog, kGoButton), MK_SHIFT | MK_CONTROL);
        WaitUntil([&] { return Saw(dialog, WM_LBUTTONUP, MK_SHIFT | MK_CONTROL); });
        EXPECT_TRUE(Saw(dialog, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL));
        WaitUntil([] { return false; }, 100);
        EXPECT_TRUE(CodesOf(dialog, kGoButton).empty()) << "the consumed press clicked nothing";
    });
}

} // namespace
