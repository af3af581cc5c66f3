#pragma once
// Which widgets are windows of the layer: the dialog itself and the root widget of each
// control (a control may be built from several widgets, like the IP-address control).

#include "platform/toolkit/WinUser.h"

class QWidget;
class CWnd;

void MarkControlWindow(QWidget* control, int id);
bool IsControlWindow(const QWidget* widget);
// The control id, 0 for a widget that is not a control window.
int ControlId(const QWidget* widget);
// The first control window with this id among parent's children, or nullptr.
QWidget* FindControlWindow(const QWidget* parent, int id);
// Changes whenever a control window or a wrapper of one comes or goes, so that a window
// may keep the answers of its id look-ups until then.
unsigned WindowLinksGeneration();
void WindowLinksChanged();
// The control window that widget belongs to, else its dialog window, else nullptr.
QWidget* LayerWindowOf(QWidget* widget);
// The dialog object whose window holds widget, or nullptr.
CWnd* DialogOwnerOf(const QWidget* widget);
// Sends WM_COMMAND with the control's id and code to the dialog, as controls do.
void NotifyParent(QWidget* control, UINT code);
