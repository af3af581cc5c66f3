#include "platform/toolkit/qt/InputTranslation.h"

#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/qt/ControlWindow.h"
#include "platform/toolkit/qt/DialogWidget.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

namespace {

struct KeyMapping {
    int key;
    int virtualKey;
};

// Keys without a letter or digit of their own, on the US layout the platform's codes follow.
constexpr KeyMapping kKeyMappings[] = {
    {Qt::Key_Backspace, VK_BACK},    {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},     {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},   {Qt::Key_Alt, VK_MENU},         {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},       {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},           {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},             {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},     {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},       {Qt::Key_Equal, VK_OEM_PLUS},   {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},   {Qt::Key_Less, VK_OEM_COMMA},   {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},       {Qt::Key_Question, VK_OEM_2},   {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},  {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},   {Qt::Key_Bar, VK_OEM_5},        {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},  {Qt::Key_Apostrophe, VK_OEM_7}, {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'},           {Qt::Key_At, '2'},              {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},           {Qt::Key_Percent, '5'},         {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},        {Qt::Key_Asterisk, '8'},        {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

constexpr KeyMapping kKeypadMappings[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},     {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Slash, VK_DIVIDE}, {Qt::Key_Enter, VK_RETURN},
};

bool IsSystemKey(Qt::KeyboardModifiers modifiers, int key)
{
    const bool alt = (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier);
    return alt || key == Qt::Key_F10;
}

// The character a key press produces, as WM_CHAR carries it; 0 for none.
unsigned CharacterOf(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    default:
        break;
    }
    if ((event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & Qt::AltModifier)
        && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
        return static_cast<unsigned>(event->key() - Qt::Key_A + 1);
    const QString text = event->text();
    if (text.isEmpty())
        return 0;
    const char16_t c = text.at(0).unicode();
    return (c < 0x20 || c == 0x7F) ? 0 : c;
}

WPARAM MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    WPARAM flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT MouseMessage(QEvent::Type type, Qt::MouseButton button)
{
    // Down, up and double-click of one button are consecutive message numbers.
    UINT down = WM_LBUTTONDOWN;
    if (button == Qt::RightButton)
        down = WM_RBUTTONDOWN;
    else if (button == Qt::MiddleButton)
        down = WM_MBUTTONDOWN;
    switch (type) {
    case QEvent::MouseButtonPress:
        return down;
    case QEvent::MouseButtonRelease:
        return down + 1;
    default:
        return down + 2;
    }
}

POINT ToPoint(const QPoint& p)
{
    return POINT{p.x(), p.y()};
}

// Offers msg to the wrappers from the target window up to the dialog. The walk stops if
// a handler destroys the window.
bool WalkPreTranslate(QWidget* target, DialogWidget* dialog, MSG& msg)
{
    QPointer<QWidget> guard(dialog);
    for (QWidget* w = target; w != nullptr && !guard.isNull(); w = w->parentWidget()) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(HandleFromWidget(w)); wnd && wnd->PreTranslateMessage(&msg))
            return true;
        if (w == dialog)
            break;
    }
    return false;
}

// Shift+F10 and the Menu key, the keyboard's right click. Many window managers take
// Alt+Space for their own menu, so these are the keyboard's way to the system menu there.
bool IsContextMenuKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

// What the platform does with a system key nobody consumed: Alt+Space and the context-menu
// keys open the system menu, Alt+F4 closes.
bool HandleSystemKey(DialogWidget* dialog, const QKeyEvent* event)
{
    if (IsContextMenuKey(event)) {
        const QWidget* focus = QApplication::focusWidget();
        const QWidget* at = focus && focus->window() == dialog ? focus : dialog;
        dialog->ShowSystemMenu(at->mapToGlobal(QPoint(0, at->height())));
        return true;
    }
    const bool alt = (event->modifiers() & Qt::AltModifier) && !(event->modifiers() & Qt::ControlModifier);
    if (!alt)
        return false;
    if (event->key() == Qt::Key_Space) {
        dialog->ShowSystemMenu(dialog->mapToGlobal(QPoint(0, 0)));
        return true;
    }
    if (event->key() == Qt::Key_F4) {
        if (CDialog* owner = dialog->Owner())
            owner->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    return false;
}

bool PreTranslateKey(QWidget* target, DialogWidget* dialog, QKeyEvent* event)
{
    const bool system = IsSystemKey(event->modifiers(), event->key());
    MSG msg{};
    msg.hwnd = HandleFromWidget(target);
    msg.wParam = static_cast<WPARAM>(VirtualKeyFromQt(event->key(), event->modifiers()));
    msg.time = static_cast<DWORD>(event->timestamp());
    msg.pt = ToPoint(QCursor::pos());
    if (event->type() == QEvent::KeyRelease) {
        // Auto-repeat produces no key-up on the platform.
        if (event->isAutoRepeat())
            return false;
        msg.message = system ? WM_SYSKEYUP : WM_KEYUP;
        msg.lParam = static_cast<LPARAM>(1u | (1u << 30) | (1u << 31) | (system ? 1u << 29 : 0u));
        return WalkPreTranslate(target, dialog, msg);
    }
    msg.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    msg.lParam = static_cast<LPARAM>(1u | (event->isAutoRepeat() ? 1u << 30 : 0u) | (system ? 1u << 29 : 0u));
    QPointer<QWidget> guard(target);
    if (WalkPreTranslate(target, dialog, msg))
        return true;
    if (const unsigned character = CharacterOf(event); character != 0 && !guard.isNull()) {
        MSG charMsg = msg;
        charMsg.message = system ? WM_SYSCHAR : WM_CHAR;
        charMsg.wParam = character;
        if (WalkPreTranslate(target, dialog, charMsg))
            return true;
    }
    return !guard.isNull() && HandleSystemKey(dialog, event);
}

bool PreTranslateMouse(QWidget* receiver, QWidget* target, DialogWidget* dialog, QMouseEvent* event)
{
    MSG msg{};
    msg.hwnd = HandleFromWidget(target);
    msg.message = event->type() == QEvent::MouseMove ? WM_MOUSEMOVE : MouseMessage(event->type(), event->button());
    msg.wParam = MouseKeyState(event->buttons(), event->modifiers());
    const QPoint local = receiver->mapTo(target, event->position().toPoint());
    msg.lParam = MAKELPARAM(static_cast<unsigned>(local.x()) & 0xFFFFu, static_cast<unsigned>(local.y()) & 0xFFFFu);
    msg.time = static_cast<DWORD>(event->timestamp());
    msg.pt = ToPoint(event->globalPosition().toPoint());
    return WalkPreTranslate(target, dialog, msg);
}

} // namespace

int VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return VK_NUMPAD0 + (key - Qt::Key_0);
        for (const KeyMapping& mapping : kKeypadMappings) {
            if (mapping.key == key)
                return mapping.virtualKey;
        }
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + (key - Qt::Key_F1);
    for (const KeyMapping& mapping : kKeyMappings) {
        if (mapping.key == key)
            return mapping.virtualKey;
    }
    return 0;
}

bool PreTranslateInput(QWidget* receiver, QEvent* event)
{
    auto* dialog = qobject_cast<DialogWidget*>(receiver->window());
    if (dialog == nullptr || dialog->Owner() == nullptr)
        return false;
    QWidget* target = LayerWindowOf(receiver);
    if (target == nullptr)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return PreTranslateKey(target, dialog, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return PreTranslateMouse(receiver, target, dialog, static_cast<QMouseEvent*>(event));
    default:
        return false;
    }
}
