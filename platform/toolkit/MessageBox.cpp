// The message-box wrapper, the same on every backend: the test hook, the answers a type
// offers, and AfxMessageBox's icon and caption.
#include "platform/toolkit/MessageBox.h"

#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/CWnd.h"
#include "platform/toolkit/MessageBoxWrapper.h"
#include "platform/toolkit/ResourceTable.h"

#include <utility>

namespace {

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

std::vector<int> MessageBoxAnswers(UINT nType)
{
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

int ShowMessageBox(const MessageBoxRequest& request, HWND owner)
{
    // A copy: the hook may replace itself while its box is "open".
    if (MessageBoxHook hook = Hook())
        return hook(request);
    return RunRealMessageBox(request, owner);
}

int AfxMessageBox(const char* lpszText, UINT nType, UINT)
{
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    return ShowMessageBox(MessageBoxRequest{lpszText ? lpszText : "", AfxGetAppName(), nType}, owner);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    return AfxMessageBox(ResourceTable::LoadString(nIDPrompt).c_str(), nType, nIDHelp);
}
