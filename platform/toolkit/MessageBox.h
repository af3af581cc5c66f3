#pragma once
// Every message box of the program goes through one wrapper. A test installs a hook that
// sees each box and answers it; without a hook a real modal box runs.

#include "platform/toolkit/WinUser.h"

#include <functional>
#include <string>
#include <vector>

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    UINT type;
};

using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
// An empty hook restores the real boxes.
void SetMessageBoxHook(MessageBoxHook hook);

// The answers a box of this type offers (IDOK, IDCANCEL, ...), in button order.
std::vector<int> MessageBoxAnswers(UINT nType);

// Caption: the application title. Without an icon bit the box gets the type's usual
// icon (the exclamation mark for MB_OK and MB_OKCANCEL).
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is string nIDPrompt of the resource table.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = 0);
