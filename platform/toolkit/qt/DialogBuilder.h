#pragma once
// Turns a dialog template into its Qt window: the controls at their dialog-unit
// rectangles, converted through the dialog font's metrics as the platform maps them.

#include "platform/toolkit/DialogTemplate.h"

#include <QFont>
#include <QRect>
#include <QSize>

class CDialog;
class DialogWidget;
class QWidget;

// The template's face at its point size, with a locally installed stand-in after it.
QFont DialogFont(const char* face, int pointSize);
// Horizontal unit: average width of "A".."Z" and "a".."z"; vertical unit: the height.
QSize DialogBaseUnits(const QFont& font);
// A rectangle in dialog units in pixels: x * base.width / 4, y * base.height / 8, rounded.
QRect MapDialogRect(const QSize& baseUnits, int x, int y, int cx, int cy);

// The window, hidden, with every control of the template.
DialogWidget* BuildDialogWindow(const DialogTemplate& dialog, CDialog* owner, QWidget* parent);
