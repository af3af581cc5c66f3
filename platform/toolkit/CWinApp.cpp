// The application object, the same on every backend; AfxWinMain is each backend's own.
#include "platform/toolkit/CWinApp.h"

#include "platform/toolkit/ExecutableTitle.h"
#include "platform/toolkit/ResourceTable.h"

namespace {

CWinApp*& TheApp()
{
    static CWinApp* app = nullptr;
    return app;
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
