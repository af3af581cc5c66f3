#pragma once
// Dialog templates are data: tables of rows that the layer turns into windows.

#include "platform/toolkit/WinUser.h"

#include <span>

enum class ControlKind { PushButton, CheckBox, GroupBox, Static, Icon, Edit, ListBox, ComboBox, IpAddress };

// One control, in dialog units. For ControlKind::Icon, text is nullptr and the icon
// resource comes from iconId.
struct DialogControlTemplate {
    ControlKind kind;
    int id;
    const char* objectName;
    const char* text;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
    int iconId = 0;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
    const char* fontFace;
    int pointSize;
    std::span<const DialogControlTemplate> controls;
};
