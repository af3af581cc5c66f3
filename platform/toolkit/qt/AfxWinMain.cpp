#include "platform/toolkit/CWinApp.h"

#include "platform/toolkit/ExecutableTitle.h"
#include "platform/toolkit/qt/PlatformApplication.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

std::string ExecutableTitle()
{
    const QStringList arguments = QCoreApplication::arguments();
    const QString path = arguments.isEmpty() ? QCoreApplication::applicationFilePath() : arguments.first();
    return QFileInfo(path).completeBaseName().toStdString();
}

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
