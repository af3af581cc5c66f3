#include "bench/StartupProbe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QEvent>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace startup {

namespace {

class ExposeWatch : public QObject {
public:
    explicit ExposeWatch(void (*onExposed)(QWidget*, long long)) : m_onExposed(onExposed) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !watched->isWindowType())
            return false;
        auto* window = static_cast<QWindow*>(watched);
        if (!window->isExposed())
            return false;
        const long long now = MonotonicNs();
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->windowHandle() == window) {
                m_onExposed(widget, now);
                break;
            }
        return false;
    }

private:
    void (*m_onExposed)(QWidget*, long long);
};

// The standard Qt class a control is, or nothing for a container of the program's own.
const char* KindOf(const QWidget* widget)
{
    static const char* const kKinds[] = {"QPushButton", "QCheckBox", "QRadioButton", "QComboBox",
                                         "QLineEdit",   "QPlainTextEdit", "QTextEdit", "QListView",
                                         "QGroupBox",   "QLabel"};
    for (const char* kind : kKinds)
        if (widget->inherits(kind))
            return kind;
    return nullptr;
}

QString TextOf(const QWidget* widget)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* line = qobject_cast<const QLineEdit*>(widget))
        return line->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<const QTextEdit*>(widget))
        return rich->toPlainText();
    return widget->windowTitle();
}

void Describe(const QWidget* widget, int parent, QJsonArray& out)
{
    for (QObject* child : widget->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control == nullptr || control->isWindow())
            continue;
        const char* kind = KindOf(control);
        QJsonObject row{{"kind", kind ? kind : "QWidget"},
                        {"parent", parent},
                        {"x", control->x()},
                        {"y", control->y()},
                        {"w", control->width()},
                        {"h", control->height()},
                        {"visible", !control->isHidden()},
                        {"enabled", control->isEnabled()},
                        {"text", TextOf(control)}};
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            QJsonArray items;
            for (int i = 0; i < combo->count(); ++i)
                items.append(combo->itemText(i));
            row.insert("items", items);
        }
        out.append(row);
        // A standard control makes its own inner widgets; only containers are walked.
        if (kind == nullptr || qstrcmp(kind, "QGroupBox") == 0)
            Describe(control, static_cast<int>(out.size()) - 1, out);
    }
}

}  // namespace

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void WatchFirstExpose(void (*onExposed)(QWidget*, long long))
{
    qApp->installEventFilter(new ExposeWatch(onExposed));
}

QJsonArray DescribeControls(QWidget* window)
{
    QJsonArray controls;
    Describe(window, -1, controls);
    return controls;
}

void ReportAndExit(QWidget* window, long long ns, const char* layoutPath)
{
    if (layoutPath != nullptr && *layoutPath != '\0') {
        const QJsonObject layout{{"w", window->width()},
                                 {"h", window->height()},
                                 {"title", window->windowTitle()},
                                 {"font", window->font().toString()},
                                 {"controls", DescribeControls(window)}};
        QFile file(QString::fromLocal8Bit(layoutPath));
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(layout).toJson()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", layoutPath);
            std::fflush(stderr);
            std::_Exit(1);
        }
        file.close();
    }
    std::printf("exposed_ns=%lld\n", ns);
    std::fflush(stdout);
    std::_Exit(0);
}

}  // namespace startup
