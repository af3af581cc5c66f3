#include "platform/toolkit/CWinApp.h"

#include "platform/toolkit/qt/PlatformApplication.h"
#include "platform/toolkit/ResourceTable.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileInfo>
#include <QStringList>

namespace {

CWinApp*& TheApp()
{
    static CWinApp* app = nullptr;
    return app;
}

// The executable's file name without its extension.
std::string ExecutableTitle()
{
    const QStringList arguments = QCoreApplication::arguments();
    const QString path = arguments.isEmpty() ? QCoreApplication::applicationFilePath() : arguments.first();
    return QFileInfo(path).completeBaseName().toStdString();
}

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* lpszAppName) : m_strAppName(lpszAppName ? lpszAppName : "")
{
    if (TheApp() == nullptr)
        TheApp() = this;
}

CWinApp::~CWinApp()
{
    if (TheApp() == this)
        TheApp() = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ResourceTable::LoadIcon(static_cast<int>(nIDResource));
}

void CWinApp::OnHelp() {}

void CWinApp::Enable3dControlsStatic() {}

void CWinApp::SetAppID(const char* lpcszAppID)
{
    m_strAppID = lpcszAppID ? lpcszAppID : "";
}

CWinApp* AfxGetApp()
{
    return TheApp();
}

const char* AfxGetAppName()
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr && !app->m_strAppName.empty())
        return app->m_strAppName.c_str();
    static std::string title;
    if (title.empty())
        title = ExecutableTitle();
    return title.c_str();
}

void AfxEnableControlContainer() {}

int AfxWinMain(int argc, char** argv)
{
    PlatformApplication application(argc, argv);
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    if (app->m_strAppName.empty())
        app->m_strAppName = ExecutableTitle();
    // Wayland's app id and X11's _GTK_APPLICATION_ID / WM_CLASS hint: shells match the
    // window to the desktop entry of that name.
    if (!app->m_strAppID.empty())
        QGuiApplication::setDesktopFileName(QString::fromStdString(app->m_strAppID));
    if (app->InitInstance())
        application.exec();
    return app->ExitInstance();
}
