#include "platform/toolkit/qt/DialogAccessible.h"

#include "platform/toolkit/qt/DialogWidget.h"
#include "platform/toolkit/qt/IpAddressField.h"
#include "platform/toolkit/qt/IpAddressWidget.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

// A widget whose tree holds only some of its child widgets.
class ChosenChildrenAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return static_cast<int>(Children().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> children = Children();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child == nullptr)
            return -1;
        return static_cast<int>(Children().indexOf(qobject_cast<QWidget*>(child->object())));
    }

protected:
    virtual QList<QWidget*> Children() const = 0;
};

// A dialog: only the controls that are shown.
class DialogAccessible : public ChosenChildrenAccessible {
public:
    explicit DialogAccessible(QWidget* dialog) : ChosenChildrenAccessible(dialog, QAccessible::Dialog) {}

protected:
    QList<QWidget*> Children() const override
    {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child != nullptr && !child->isWindow() && !child->isHidden())
                shown.append(child);
        }
        return shown;
    }
};

// An IP-address control: its four fields, not the dots drawn between them.
class IpAddressAccessible : public ChosenChildrenAccessible {
public:
    explicit IpAddressAccessible(IpAddressWidget* control) : ChosenChildrenAccessible(control, QAccessible::Grouping) {}

protected:
    QList<QWidget*> Children() const override
    {
        const auto* control = static_cast<const IpAddressWidget*>(widget());
        QList<QWidget*> fields;
        for (int i = 0; i < IpAddressWidget::kFields; ++i)
            fields.append(control->Field(i));
        return fields;
    }
};

}  // namespace

QAccessibleInterface* DialogAccessibleFactory(const QString&, QObject* object)
{
    if (auto* dialog = qobject_cast<DialogWidget*>(object))
        return new DialogAccessible(dialog);
    if (auto* control = qobject_cast<IpAddressWidget*>(object))
        return new IpAddressAccessible(control);
    return nullptr;
}
