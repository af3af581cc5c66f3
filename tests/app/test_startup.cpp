// Start-up: the socket layer first, then the main dialog as the program's whole life.
#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"
#include "app/CConfigApp.h"
#include "platform/sockets/AfxSocketInit.h"

namespace {

CConfigApp theApp;

int RefuseStartup(WORD, WSADATA*)
{
    return WSAVERNOTSUPPORTED;
}

int GrantTwoTwo(WORD, WSADATA* data)
{
    data->wVersion = MAKEWORD(2, 2);
    data->wHighVersion = MAKEWORD(2, 2);
    return 0;
}

int GrantOneZero(WORD, WSADATA* data)
{
    data->wVersion = MAKEWORD(1, 0);
    data->wHighVersion = MAKEWORD(1, 0);
    return 0;
}

QWidget* VisibleMainDialog()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->windowTitle() == QStringLiteral("Lanvista(Ver 1.13)"))
            return top;
    return nullptr;
}

class StartupFailure : public ::testing::TestWithParam<WSAStartupFunction> {
protected:
    void TearDown() override { SetWSAStartupForTesting(nullptr); }
};

TEST_P(StartupFailure, ShowsTheMessageAndNoWindow)
{
    SetWSAStartupForTesting(GetParam());
    bool dialogShown = false;
    MessageBoxRecorder boxes;
    boxes.Expect("Windows 소켓 초기화에 실패하였습니다.", [&dialogShown] { dialogShown = VisibleMainDialog() != nullptr; });

    EXPECT_EQ(theApp.InitInstance(), FALSE);

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, AfxGetAppName());
    EXPECT_EQ(boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(VisibleMainDialog(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Versions, StartupFailure, ::testing::Values(&RefuseStartup, &GrantTwoTwo, &GrantOneZero));

TEST(Startup, RunsTheMainDialogUntilExit)
{
    bool exitClicked = false;
    QTimer::singleShot(0, [&exitClicked] {
        ASSERT_TRUE(WaitUntil([] { return VisibleMainDialog() != nullptr; }));
        auto* exitButton = VisibleMainDialog()->findChild<QAbstractButton*>(QStringLiteral("exitButton"));
        ASSERT_NE(exitButton, nullptr);
        QTest::mouseClick(exitButton, Qt::LeftButton);
        exitClicked = true;
    });

    EXPECT_EQ(theApp.InitInstance(), FALSE);
    EXPECT_TRUE(exitClicked);
    EXPECT_EQ(VisibleMainDialog(), nullptr);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

TEST(Startup, ApplicationTitleIsTheExecutableName)
{
    EXPECT_STREQ(AfxGetAppName(), "test_startup");
}

}  // namespace
