#pragma once

#include "platform/toolkit/CWnd.h"

// An edit control: single-line, or multi-line with ES_MULTILINE.
class CEdit : public CWnd {
public:
    // Caps what typing and pasting can make the text; text set by the program may be
    // longer. 0 means the largest limit.
    void SetLimitText(UINT nMax);
    void LimitText(int nChars = 0);
    UINT GetLimitText() const;
    // (0, -1) selects everything; a start of -1 removes the selection.
    void SetSel(int nStartChar, int nEndChar);
    void GetSel(int& nStartChar, int& nEndChar) const;
    // Start in the low word, end in the high word.
    DWORD GetSel() const;
};
