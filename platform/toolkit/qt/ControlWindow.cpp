#include "platform/toolkit/qt/ControlWindow.h"

#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/qt/DialogWidget.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <QHash>
#include <QPair>
#include <QWidget>

namespace {
using ControlKey = QPair<const QWidget*, int>;  // parent window, control id

// Exchanges and GetDlgItem look controls up by id all the time; a scan of the dialog's
// children with a property lookup each made one reply from the network cost a millisecond.
struct ControlRegistry {
    QHash<const QWidget*, ControlKey> keys;
    QHash<ControlKey, QWidget*> controls;  // the first control of each id, as a scan finds it
};

ControlRegistry& Registry()
{
    static ControlRegistry registry;
    return registry;
}

unsigned g_windowLinksGeneration = 0;

void Forget(const QWidget* control)
{
    WindowLinksChanged();
    ControlRegistry& registry = Registry();
    const ControlKey key = registry.keys.take(control);
    const auto found = registry.controls.constFind(key);
    if (found != registry.controls.cend() && found.value() == control)
        registry.controls.erase(found);
}
}

unsigned WindowLinksGeneration()
{
    return g_windowLinksGeneration;
}

void WindowLinksChanged()
{
    ++g_windowLinksGeneration;
}

void MarkControlWindow(QWidget* control, int id)
{
    WindowLinksChanged();
    ControlRegistry& registry = Registry();
    if (registry.keys.contains(control))
        Forget(control);
    else
        QObject::connect(control, &QObject::destroyed, [control] { Forget(control); });
    const ControlKey key(control->parentWidget(), id);
    registry.keys.insert(control, key);
    if (!registry.controls.contains(key))
        registry.controls.insert(key, control);
}

bool IsControlWindow(const QWidget* widget)
{
    return Registry().keys.contains(widget);
}

int ControlId(const QWidget* widget)
{
    return Registry().keys.value(widget, ControlKey(nullptr, 0)).second;
}

QWidget* FindControlWindow(const QWidget* parent, int id)
{
    return Registry().controls.value(ControlKey(parent, id), nullptr);
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
