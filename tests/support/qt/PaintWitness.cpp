#include "tests/support/PaintWitness.h"

#include "platform/toolkit/qt/QtHandles.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QObject>
#include <QWidget>

struct PaintWitness::Hook : QObject {
    std::function<void()> onPaint;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            onPaint();
        return false;
    }
};

PaintWitness::PaintWitness(HWND control, std::function<void()> onPaint) : m_hook(std::make_unique<Hook>())
{
    m_hook->onPaint = std::move(onPaint);
    QWidget* widget = WidgetFromHandle(control);
    // A list paints its rows on its viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        widget = area->viewport();
    widget->installEventFilter(m_hook.get());
}

PaintWitness::~PaintWitness() = default;
