#include "platform/toolkit/ControlAccess.h"

#include "platform/toolkit/qt/ButtonState.h"
#include "platform/toolkit/qt/LineEdit.h"
#include "platform/toolkit/qt/MultiLineEdit.h"
#include "platform/toolkit/qt/QtHandles.h"
#include "platform/toolkit/qt/WindowText.h"

std::string ControlText(HWND hWnd)
{
    return ToUtf8(WindowText(WidgetFromHandle(hWnd)));
}

void SetControlText(HWND hWnd, std::string_view utf8)
{
    // Given as a view, an unchanged text is compared in place and never converted.
    SetWindowTextOf(WidgetFromHandle(hWnd), QUtf8StringView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void SelectAllText(HWND hWnd)
{
    QWidget* widget = WidgetFromHandle(hWnd);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->selectAll();
    } else if (auto* multi = qobject_cast<MultiLineEdit*>(widget)) {
        multi->ApplyHeldText();
        multi->selectAll();
    }
}

void LimitEditText(HWND hWnd, int nChars)
{
    if (auto* edit = qobject_cast<LineEdit*>(WidgetFromHandle(hWnd)))
        edit->SetTextLimit(nChars);
}

int ControlCheckState(HWND hWnd)
{
    return CheckStateOf(WidgetFromHandle(hWnd));
}

void SetControlCheckState(HWND hWnd, int state)
{
    SetCheckStateOf(WidgetFromHandle(hWnd), state);
}
