#pragma once
// The one place every message box goes through, and what each backend provides for it.

#include "platform/toolkit/MessageBox.h"

// The test hook, else a real modal box owned by owner (or the active window).
int ShowMessageBox(const MessageBoxRequest& request, HWND owner);
// The backend's modal box: the type's buttons and icon; returns the button's answer.
int RunRealMessageBox(const MessageBoxRequest& request, HWND owner);
