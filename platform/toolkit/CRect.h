#pragma once

#include "platform/toolkit/WinUser.h"

// A RECT with the size accessors; a CRect* passes wherever a RECT* is asked for.
class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(long l, long t, long r, long b) : RECT{l, t, r, b} {}

    int Width() const { return static_cast<int>(right - left); }
    int Height() const { return static_cast<int>(bottom - top); }
};
