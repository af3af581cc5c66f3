#pragma once
// The key filter: key and mouse input for a dialog's window is first offered, as the
// platform's messages, to PreTranslateMessage of the target control's wrapper and then of
// each window up to the dialog. A consumed message never reaches Qt.

#include "platform/toolkit/WinUser.h"

#include <Qt>

class QEvent;
class QWidget;

// True when the event was consumed and must not be delivered.
bool PreTranslateInput(QWidget* receiver, QEvent* event);

// The virtual-key code of a Qt key, 0 when there is none.
int VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);
