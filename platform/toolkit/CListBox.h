#pragma once

#include "platform/toolkit/CWnd.h"

#include <string>

// A single-selection list box. Changes made through these calls send no notification.
class CListBox : public CWnd {
public:
    // Index of the new entry, or LB_ERR.
    int AddString(const char* lpszItem);
    // Entries left, or LB_ERR for an index out of range.
    int DeleteString(UINT nIndex);
    int GetCount() const;
    // LB_ERR when nothing is selected.
    int GetCurSel() const;
    // -1 clears the selection (and returns LB_ERR, as does an index out of range).
    int SetCurSel(int nSelect);
    // Length of the entry's text, or LB_ERR.
    int GetText(int nIndex, std::string& rString) const;
    void ResetContent();
};
