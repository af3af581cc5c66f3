// Exit by every route the platform offers: the Exit button, the close box, Alt+F4 and the
// system menu's Close, driven through Qt's widgets.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "FakeDevice.h"
#include "UpdateFixture.h"
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

QWidget* WindowOf(CDialog& dlg)
{
    return reinterpret_cast<QWidget*>(dlg.GetSafeHwnd());
}

void RequestExit(QWidget* window, Route route)
{
    switch (route) {
    case Route::ExitButton:
        QTest::mouseClick(window->findChild<QWidget*>("exitButton"), Qt::LeftButton);
        break;
    case Route::CloseBox:
        window->close();
        break;
    case Route::AltF4:
        QTest::keyClick(window, Qt::Key_F4, Qt::AltModifier);
        break;
    case Route::SystemMenuClose: {
        QTest::keyClick(window, Qt::Key_Space, Qt::AltModifier);
        auto* menu = window->findChild<QMenu*>("systemMenu");
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (action->text().startsWith("&Close"))
                action->trigger();
        break;
    }
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
    QObject steps;  // the queued steps die with the test
    bool requested = false;
    QTimer::singleShot(0, &steps, [&] {
        QWidget* window = WindowOf(dlg);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        RequestExit(window, GetParam().route);
        requested = true;
    });
    // Ends a dialog that ignored the request, so that a fault fails instead of hanging.
    QTimer::singleShot(20000, &steps, [&] { dlg.EndDialog(-2); });

    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(requested);
}

TEST_P(ExitRoutes, StopAtAPortBoxThatHoldsNoNumber)
{
    DialogFixture f;
    MessageBoxRecorder boxes;
    auto* port = f.widget<QLineEdit>("portBox");
    port->clear();
    QTest::keyClicks(port, "abc");

    boxes.Expect(kParsePrompt);
    RequestExit(f.window(), GetParam().route);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }));

    EXPECT_TRUE(f.window()->isVisible());
    EXPECT_EQ(f.dialog().GetModalResult(), -1);
}

INSTANTIATE_TEST_SUITE_P(Routes, ExitRoutes, testing::ValuesIn(kRoutes),
                         [](const testing::TestParamInfo<RouteCase>& info) { return info.param.name; });
