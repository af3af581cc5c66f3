#include "platform/toolkit/qt/PlatformApplication.h"

#include "platform/toolkit/qt/InputTranslation.h"

#include <QWidget>

PlatformApplication::PlatformApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool PlatformApplication::notify(QObject* receiver, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        // Input that the program forwards between widgets is not queued input.
        if (event->spontaneous() && receiver->isWidgetType()
            && PreTranslateInput(static_cast<QWidget*>(receiver), event))
            return true;
        break;
    default:
        break;
    }
    return QApplication::notify(receiver, event);
}
