#pragma once
// The window handles that have a permanent wrapper (a dialog, an attached control member),
// kept by each backend's Attach and Detach.

#include "platform/toolkit/WinUser.h"

#include <unordered_map>

class CWnd;

std::unordered_map<HWND, CWnd*>& PermanentWindows();
