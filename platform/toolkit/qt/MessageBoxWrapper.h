#pragma once

#include "platform/toolkit/MessageBox.h"

class QWidget;

// The one place every message box goes through: the test hook, else a real modal box
// owned by owner (or the active window).
int ShowMessageBox(const MessageBoxRequest& request, QWidget* owner);
