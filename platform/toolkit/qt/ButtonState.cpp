#include "platform/toolkit/qt/ButtonState.h"

#include "platform/toolkit/WinUser.h"

#include <QCheckBox>

int CheckStateOf(const QWidget* widget)
{
    const auto* box = qobject_cast<const QCheckBox*>(widget);
    if (box == nullptr)
        return BST_UNCHECKED;
    switch (box->checkState()) {
    case Qt::Checked:
        return BST_CHECKED;
    case Qt::PartiallyChecked:
        return BST_INDETERMINATE;
    default:
        return BST_UNCHECKED;
    }
}

void SetCheckStateOf(QWidget* widget, int state)
{
    auto* box = qobject_cast<QCheckBox*>(widget);
    if (box == nullptr)
        return;
    if (state == BST_INDETERMINATE) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        return;
    }
    box->setCheckState(state == BST_CHECKED ? Qt::Checked : Qt::Unchecked);
}
