#pragma once

#include "platform/toolkit/CWnd.h"

#include <string>

// A combo box; CBS_DROPDOWN gives it an edit field.
class CComboBox : public CWnd {
public:
    // Index of the new entry, or CB_ERR.
    int AddString(const char* lpszString);
    int GetCount() const;
    // CB_ERR when nothing is selected.
    int GetCurSel() const;
    // The index selected, or CB_ERR (-1 clears the selection).
    int SetCurSel(int nSelect);
    // Length of the entry's text, or CB_ERR.
    int GetLBText(int nIndex, std::string& rString) const;
};
