#pragma once
// The system's headers for the Win32 backend. The layer's own vocabulary (WinUser.h) is the
// program's, so it comes first; the system's same-named types are renamed while its headers
// are read, and its A/W name macros, which would rename the layer's members, are dropped.
// Include this last: a layer header read after it would meet the system's macros.

#include "platform/toolkit/WinUser.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#define DWORD Win32DWORD
#define RECT Win32RECT
#define POINT Win32POINT
#define MSG Win32MSG
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#undef DWORD
#undef RECT
#undef POINT
#undef MSG

#undef AppendMenu
#undef DefWindowProc
#undef GetMenuString
#undef GetWindowText
#undef GetWindowTextLength
#undef LoadIcon
#undef LoadString
#undef MessageBox
#undef SendMessage
#undef SetWindowText
