#pragma once

#include "platform/toolkit/CCmdTarget.h"
#include "platform/toolkit/WinUser.h"

#include <string>

class CWnd;

// The application object. The first one constructed is the application (AfxGetApp).
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The process exit code.
    virtual int ExitInstance();
    HICON LoadIcon(UINT nIDResource) const;
    // The standard help command; the program ships no help content, so it shows nothing.
    void OnHelp();
    // Controls draw their own 3-D look here; kept for the program's start-up sequence.
    void Enable3dControlsStatic();
    // The id by which the desktop groups the program's windows and finds its icon and menu
    // entry; set before the application starts.
    void SetAppID(const char* lpcszAppID);

    CWnd* m_pMainWnd = nullptr;
    // The title; when empty, the executable's name without its extension.
    std::string m_strAppName;
    // Empty: the desktop guesses from the executable's name.
    std::string m_strAppID;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
// The application title, caption of the application's message boxes.
const char* AfxGetAppName();
// Dialogs may host embedded controls; nothing to set up on this toolkit.
void AfxEnableControlContainer();
// Creates the toolkit application, runs InitInstance and, if it returns TRUE, the event
// loop; returns the exit code of ExitInstance.
int AfxWinMain(int argc, char** argv);
