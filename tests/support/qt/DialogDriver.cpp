#include "tests/support/DialogDriver.h"

#include "platform/toolkit/qt/ListBoxWidget.h"
#include "platform/toolkit/qt/QtHandles.h"
#include "tests/support/Wait.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace driver {
namespace {

QWidget* WidgetOf(HWND hWnd)
{
    return WidgetFromHandle(hWnd);
}

Qt::KeyboardModifiers ModifiersOf(WPARAM keys)
{
    Qt::KeyboardModifiers modifiers;
    if (keys & MK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (keys & MK_CONTROL)
        modifiers |= Qt::ControlModifier;
    return modifiers;
}

Qt::Key QtKeyOf(int virtualKey)
{
    switch (virtualKey) {
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_F4:
        return Qt::Key_F4;
    default:
        return static_cast<Qt::Key>(virtualKey);
    }
}

// The window a key goes to: the focus, or the active window when no control has it.
QWidget* KeyTarget()
{
    if (QWidget* focus = QApplication::focusWidget())
        return focus;
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

} // namespace

bool Activate(const CWnd& dialog)
{
    QWidget* window = WidgetOf(dialog.m_hWnd);
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

bool ActivateModal()
{
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr)
        return false;
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

void Click(HWND control, WPARAM keys)
{
    QWidget* widget = WidgetOf(control);
    QTest::mouseClick(widget, Qt::LeftButton, ModifiersOf(keys), widget->rect().center());
}

void ClickListEntry(HWND list, int index)
{
    auto* box = qobject_cast<ListBoxWidget*>(WidgetOf(list));
    const QRect rect = box->visualItemRect(box->item(index));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void Type(HWND control, std::string_view utf8)
{
    QWidget* widget = WidgetOf(control);
    widget->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(widget, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void TypeIntoFocus(std::string_view utf8)
{
    for (const QChar ch : QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))) {
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus ? focus : QApplication::activeWindow();
        // A character beyond ASCII comes as its text alone, as an input method sends it.
        if (ch.unicode() < 0x80)
            QTest::keyClick(target, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

void PressKey(int virtualKey, bool keypad)
{
    QWidget* target = KeyTarget();
    if (keypad && virtualKey == VK_RETURN)
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
    else
        QTest::keyClick(target, QtKeyOf(virtualKey));
}

void PressAltKey(int virtualKey)
{
    QTest::keyClick(KeyTarget(), QtKeyOf(virtualKey), Qt::AltModifier);
}

void ClickCloseBox(const CWnd& window)
{
    // Qt draws no caption of its own; the window system's close box asks the window to close.
    WidgetOf(window.m_hWnd)->close();
}

void PressInSystemMenu(char mnemonic)
{
    PressAltKey(VK_SPACE);
    if (!WaitUntil([] { return QApplication::activePopupWidget() != nullptr; })) {
        ADD_FAILURE() << "Alt+Space opened no menu";
        return;
    }
    QTest::keyClick(QApplication::activePopupWidget(), mnemonic);
}

void PasteIntoFocus(std::string_view utf8)
{
    QApplication::clipboard()->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
}

void SelectAll(HWND edit)
{
    qobject_cast<QLineEdit*>(WidgetOf(edit))->selectAll();
}

void CaretToEnd(HWND edit)
{
    qobject_cast<QLineEdit*>(WidgetOf(edit))->end(false);
}

void RunSoon(std::function<void()> step)
{
    QTimer::singleShot(0, qApp, std::move(step));
}

} // namespace driver
