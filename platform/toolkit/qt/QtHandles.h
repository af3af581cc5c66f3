#pragma once
// The Qt objects behind the layer's handles. Only the layer's own sources include this.

#include "platform/toolkit/WinUser.h"

#include <QIcon>

#include <string>
#include <vector>

class QPainter;
class QWidget;

struct HICON__ {
    QIcon icon;
};

// A window's system menu: the platform's items followed by the ones the program appends.
struct HMENU__ {
    struct Item {
        UINT flags;
        UINT_PTR id;
        std::string text;
    };
    std::vector<Item> items;

    // The platform items of a dialog with a modal frame and no minimise or maximise box.
    void ResetToPlatformItems();
};

struct HDC__ {
    QPainter* painter;
    QWidget* widget;
};

inline QWidget* WidgetFromHandle(HWND hWnd)
{
    return reinterpret_cast<QWidget*>(hWnd);
}

inline HWND HandleFromWidget(QWidget* widget)
{
    return reinterpret_cast<HWND>(widget);
}

inline QString FromUtf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

inline std::string ToUtf8(const QString& text)
{
    return text.toStdString();
}
