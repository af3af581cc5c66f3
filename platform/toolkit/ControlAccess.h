#pragma once
// What the layer's shared code (the data exchange) asks each backend about one control.

#include "platform/toolkit/WinUser.h"

#include <string>
#include <string_view>

// The control's text as UTF-8.
std::string ControlText(HWND hWnd);
// Rewrites the text only when it differs, so an unchanged edit sends no notification.
void SetControlText(HWND hWnd, std::string_view utf8);
// Selects an edit's whole text; other controls are left alone.
void SelectAllText(HWND hWnd);
// Caps what typing and pasting can make a single-line edit's text.
void LimitEditText(HWND hWnd, int nChars);
// BST_* of a check box; BST_UNCHECKED for any other control.
int ControlCheckState(HWND hWnd);
void SetControlCheckState(HWND hWnd, int state);
