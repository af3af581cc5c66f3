// The application object and the entry point: one registered application, the title taken
// from the executable's name, InitInstance with and without an event loop, ExitInstance's
// exit code.
#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/qt/PlatformApplication.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class StartApp : public CWinApp {
public:
    explicit StartApp(BOOL result) : m_result(result) {}

    BOOL InitInstance() override
    {
        sawApplication = qobject_cast<PlatformApplication*>(QCoreApplication::instance()) != nullptr;
        titleDuringInit = AfxGetAppName();
        if (m_result)
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        return m_result;
    }
    int ExitInstance() override
    {
        ++exits;
        return m_result ? 5 : 3;
    }

    bool sawApplication = false;
    std::string titleDuringInit;
    int exits = 0;

private:
    BOOL m_result;
};

int RunMain(const char* argv0)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string program = argv0;
    std::vector<char*> argv = {program.data(), nullptr};
    return AfxWinMain(1, argv.data());
}

TEST(WinApp, InitInstanceFalseEndsWithoutAnEventLoop)
{
    StartApp app(FALSE);
    ASSERT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(RunMain("/opt/tools/Lanvista.exe"), 3);
    EXPECT_TRUE(app.sawApplication);
    EXPECT_EQ(app.titleDuringInit, "Lanvista");
    EXPECT_EQ(app.exits, 1);
}

TEST(WinApp, InitInstanceTrueRunsTheLoopUntilItEnds)
{
    StartApp app(TRUE);
    EXPECT_EQ(RunMain("lanvista"), 5);
    EXPECT_EQ(app.titleDuringInit, "lanvista");
    EXPECT_EQ(app.exits, 1);
}

TEST(WinApp, TheFirstApplicationObjectIsTheApplication)
{
    StartApp first(FALSE);
    {
        StartApp second(FALSE);
        EXPECT_EQ(AfxGetApp(), &first);
    }
    EXPECT_EQ(AfxGetApp(), &first);
}

TEST(WinApp, AGivenNameIsTheTitle)
{
    CWinApp app("Named");
    EXPECT_STREQ(AfxGetAppName(), "Named");
}

} // namespace
