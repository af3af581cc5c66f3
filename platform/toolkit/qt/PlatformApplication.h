#pragma once

#include <QApplication>

// The toolkit's application object. It sees every input event once, before Qt delivers
// or propagates it, and runs the dialogs' key filter (PreTranslateMessage) there; an
// application-wide event filter would see an ignored event again at each parent.
class PlatformApplication : public QApplication {
    Q_OBJECT

public:
    PlatformApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
