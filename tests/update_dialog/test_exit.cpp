// Exit by every route the platform offers: the Exit button, the close box, Alt+F4 and the
// system menu's Close, each driven as the platform delivers it.
#include <gtest/gtest.h>

#include "UpdateFixture.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"
#include "platform/toolkit/CWinApp.h"
#include "ui/Resource.h"
#include "ui/Resources.h"

namespace {

constexpr const char kParsePrompt[] = "양의 정수를 입력하십시오.";

enum class Route { ExitButton, CloseBox, AltF4, SystemMenuClose };

struct RouteCase {
    const char* name;
    Route route;
};

const RouteCase kRoutes[] = {
    {"ExitButton", Route::ExitButton},
    {"CloseBox", Route::CloseBox},
    {"AltF4", Route::AltF4},
    {"SystemMenuClose", Route::SystemMenuClose},
};

void RequestExit(CConfigDlg& dlg, Route route)
{
    switch (route) {
    case Route::ExitButton:
        driver::Click(driver::Control(dlg, IDC_EXIT));
        break;
    case Route::CloseBox:
        driver::ClickCloseBox(dlg);
        break;
    case Route::AltF4:
        driver::PressAltKey(VK_F4);
        break;
    case Route::SystemMenuClose:
        driver::ChooseFromSystemMenu(dlg, SC_CLOSE);
        break;
    }
}

// The dialog takes its icon from the application object when it is made, so the application
// and its resources come first, whichever test runs first.
class ExitRoutes : public testing::TestWithParam<RouteCase> {
protected:
    void SetUp() override
    {
        if (!AfxGetApp())
            static CWinApp app;
        RegisterResources();
    }
};

}  // namespace

TEST_P(ExitRoutes, EndTheModalDialogWithOk)
{
    CConfigDlg dlg(nullptr, DownloadNetwork(FreeUdpPort()));
    bool requested = false;
    // A dialog that ignored the request ends with -2, so that a fault fails instead of hanging.
    const INT_PTR result = driver::RunModal(
        dlg,
        [&] {
            RequestExit(dlg, GetParam().route);
            requested = true;
            // The system's routes deliver their command through the queue, after the input.
            WaitUntil([&] { return dlg.GetModalResult() != -1; }, 20000);
        },
        -2);

    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(requested);
}

TEST_P(ExitRoutes, StopAtAPortBoxThatHoldsNoNumber)
{
    DialogFixture f;
    MessageBoxRecorder boxes;
    const HWND port = f.control(IDC_PORT);
    driver::SelectAll(port);
    driver::Type(port, "abc");
    ASSERT_EQ(driver::Text(port), "abc");

    boxes.Expect(kParsePrompt);
    RequestExit(f.dialog(), GetParam().route);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }));

    EXPECT_TRUE(f.dialog().IsWindowVisible());
    EXPECT_EQ(f.dialog().GetModalResult(), -1);
}

INSTANTIATE_TEST_SUITE_P(Routes, ExitRoutes, testing::ValuesIn(kRoutes),
                         [](const testing::TestParamInfo<RouteCase>& info) { return info.param.name; });
