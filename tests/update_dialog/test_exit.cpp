// Exit by every route the platform offers, and the teardown of the endpoint and the
// download connection before the dialog ends or when its window goes.
#include <QAction>
#include <QHostAddress>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"
#include "ui/Resource.h"

namespace {

constexpr const char kParsePrompt[] = "양의 정수를 입력하십시오.";
constexpr const char kRangePrompt[] = "1024와(과) 50000 사이의 정수를 입력하십시오.";

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

class ExitRoutes : public testing::TestWithParam<RouteCase> {};

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

namespace {

bool UdpPortIsFree(std::uint16_t port)
{
    QUdpSocket probe;
    return probe.bind(QHostAddress::LocalHost, port, QAbstractSocket::DontShareAddress);
}

// A dialog that has searched the simulated devices and holds a download connection.
class SearchedAndDownloading : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
        f.Click(IDC_SEARCH);
        ASSERT_TRUE(f.WaitForDevices(3));
        SetLoopbackUpdateAddress(f.dialog());
        f.Click(IDC_START_UPDATE);
        ASSERT_TRUE(device.WaitForBytes(32));
        // The download ended discovery; search again so that both exist.
        f.Click(IDC_SEARCH);
        ASSERT_TRUE(f.WaitForDevices(3));
        ASSERT_NE(f.dialog().m_pUdpEndpoint, nullptr);
        ASSERT_NE(f.dialog().m_pDownload, nullptr);
        ASSERT_FALSE(UdpPortIsFree(network.localUdpPort));
    }

    DevsimProcess devsim{{"--bind", "127.0.0.1", "--quiet", "--devices", "3"}};
    FakeDevice device;
    NetworkSettings network = DownloadNetwork(device.port(), devsim.udpPort());
    DialogFixture f{network};
    MessageBoxRecorder boxes;
};

}  // namespace

// The range check refuses the exit, but only after both network objects have gone; the
// lists and the shown device stay.
TEST_F(SearchedAndDownloading, RefusedExitHasAlreadyTornBothDown)
{
    f.dialog().m_nPort = 80;  // as a device reporting port 80 leaves it
    boxes.Expect(kRangePrompt, [&] {
        EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);
        EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    });
    f.Click(IDC_EXIT);

    EXPECT_EQ(boxes.Pending(), 0u);
    EXPECT_TRUE(device.WaitForPeerClose());
    EXPECT_TRUE(UdpPortIsFree(network.localUdpPort));
    EXPECT_EQ(f.DeviceList().size(), 3u);
    EXPECT_EQ(f.RecordList().size(), 3u);
    EXPECT_TRUE(f.dialog().m_strCurrentRecord.empty());
    EXPECT_EQ(f.dialog().m_nUseDhcp, 0);
    EXPECT_TRUE(f.window()->isVisible());

    f.widget<QLineEdit>("portBox")->setText("9100");
    f.Click(IDC_EXIT);
    EXPECT_EQ(f.dialog().GetModalResult(), IDOK);
}

// Closing the endpoint rewrites the controls from the members first, so a port typed but
// never read is replaced by the port value and the exit goes through.
TEST_F(SearchedAndDownloading, ExitDropsPortTextNoExchangeHasRead)
{
    f.widget<QLineEdit>("portBox")->setText("abc");
    f.Click(IDC_EXIT);

    EXPECT_EQ(f.dialog().GetModalResult(), IDOK);
    EXPECT_EQ(f.widget<QLineEdit>("portBox")->text(), "9100");
    EXPECT_TRUE(device.WaitForPeerClose());
    EXPECT_TRUE(UdpPortIsFree(network.localUdpPort));
}

TEST_F(SearchedAndDownloading, DestroyingTheWindowReleasesBoth)
{
    f.dialog().DestroyWindow();

    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);
    EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    EXPECT_TRUE(device.WaitForPeerClose());
    EXPECT_TRUE(UdpPortIsFree(network.localUdpPort));
}
