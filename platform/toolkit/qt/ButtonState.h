#pragma once

class QWidget;

// The check state of a check box (BST_*); 0 for any other widget.
int CheckStateOf(const QWidget* widget);
// BST_INDETERMINATE shows the third state; other widgets are left alone.
void SetCheckStateOf(QWidget* widget, int state);
