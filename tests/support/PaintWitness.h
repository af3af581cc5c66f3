#pragma once
// Calls back each time a control is painted, while it lives: the paint event of its widget
// (or of a list's viewport) on Qt, WM_PAINT on Win32.

#include "platform/toolkit/WinUser.h"

#include <functional>
#include <memory>

class PaintWitness {
public:
    PaintWitness(HWND control, std::function<void()> onPaint);
    ~PaintWitness();
    PaintWitness(const PaintWitness&) = delete;
    PaintWitness& operator=(const PaintWitness&) = delete;

    struct Hook;

private:
    std::unique_ptr<Hook> m_hook;
};
