#pragma once

#include "platform/toolkit/WinUser.h"

#include <memory>

class CWnd;
struct CPaintDCState;

// Painting on a window during its WM_PAINT handling.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const;
    // Draws the icon at the standard icon size with its top-left corner at (x, y).
    BOOL DrawIcon(int x, int y, HICON hIcon);

private:
    std::unique_ptr<CPaintDCState> m_pState;
    HDC m_hDC = nullptr;
};
