#include "platform/ControlWindow.h"

#include "platform/CDialog.h"
#include "platform/DialogWidget.h"
#include "platform/QtHandles.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr char kControlIdProperty[] = "lanvistaControlId";
}

void MarkControlWindow(QWidget* control, int id)
{
    control->setProperty(kControlIdProperty, id);
}

bool IsControlWindow(const QWidget* widget)
{
    return widget->property(kControlIdProperty).isValid();
}

int ControlId(const QWidget* widget)
{
    return widget->property(kControlIdProperty).toInt();
}

QWidget* LayerWindowOf(QWidget* widget)
{
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (IsControlWindow(w) || qobject_cast<DialogWidget*>(w) != nullptr)
            return w;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

CWnd* DialogOwnerOf(const QWidget* widget)
{
    auto* dialog = qobject_cast<DialogWidget*>(widget->window());
    return dialog ? dialog->Owner() : nullptr;
}

void NotifyParent(QWidget* control, UINT code)
{
    if (CWnd* owner = DialogOwnerOf(control)) {
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(ControlId(control)), code),
                           reinterpret_cast<LPARAM>(HandleFromWidget(control)));
    }
}
