#pragma once
// A backend-neutral driver for the layer's contract tests: controls are found by id through
// the layer, and input goes the platform's own way (through the key filter).

#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/CWnd.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace driver {

// Makes the shown dialog the active window, as a user's click on it would; false when it
// did not become active.
bool Activate(const CWnd& dialog);
// The same for the dialog that the innermost modal run shows, which the test may not hold.
bool ActivateModal();
// The window of the dialog's control nID; nullptr when there is none.
HWND Control(const CWnd& dialog, int nID);
// The left button pressed and released in the control's middle, with keys (MK_SHIFT,
// MK_CONTROL) held.
void Click(HWND control, WPARAM keys = 0);
// A click on entry index of a list box.
void ClickListEntry(HWND list, int index);
// The control takes the focus, then each character of the UTF-8 text is typed.
void Type(HWND control, std::string_view utf8);
// Each character of the UTF-8 text typed into whichever control has the focus when it comes,
// as a user typing without looking does.
void TypeIntoFocus(std::string_view utf8);
// One key (VK_RETURN, VK_ESCAPE, VK_TAB, VK_BACK, VK_SPACE, 'A'...) pressed and released on
// the window that has the focus; keypad: the number pad's Enter for VK_RETURN.
void PressKey(int virtualKey, bool keypad = false);
// One key (VK_F4, VK_SPACE...) pressed and released with Alt held, on the window that has
// the focus, as the platform delivers a system key.
void PressAltKey(int virtualKey);
// A click on the close box in the caption of a top-level window.
void ClickCloseBox(const CWnd& window);
// Opens the window's system menu with Alt+Space and chooses the item of command by its
// mnemonic, as a user does; a test failure when the item has none. Item positions are the
// platform's (Wine adds one of its own), so the item is found by its command.
void ChooseFromSystemMenu(CWnd& window, UINT command);
// The backend's half of ChooseFromSystemMenu: Alt+Space, then the mnemonic's key in the menu
// that opens.
void PressInSystemMenu(char mnemonic);
// The UTF-8 text put on the clipboard and pasted with Ctrl+V into the control that has the
// focus.
void PasteIntoFocus(std::string_view utf8);
// The whole text of an edit box selected, as a user's drag over it does.
void SelectAll(HWND edit);
// The caret after the last character of an edit box, nothing selected.
void CaretToEnd(HWND edit);
// The control's window text, as the layer reads it.
std::string Text(HWND control);
bool HasFocus(HWND control);
// The control id of the window that has the focus; 0 when no window has it.
int FocusedId();
// BST_CHECKED or BST_UNCHECKED of a check box, as the layer reads it.
int CheckState(HWND button);
/// The selection of an edit box as GetSel gives it: first character, one past the last.
std::pair<int, int> Selection(HWND edit);
// The selected part of an edit box's text (ASCII text: positions are bytes).
std::string SelectedText(HWND edit);
// Runs step once the running event loop (a modal dialog's) next turns.
void RunSoon(std::function<void()> step);
// Runs the dialog modally; steps run inside its loop once it is the active window, then it
// ends with endedByTest unless they ended it. Returns DoModal's result.
INT_PTR RunModal(CDialog& dialog, const std::function<void()>& steps, int endedByTest);

} // namespace driver
