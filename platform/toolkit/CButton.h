#pragma once

#include "platform/toolkit/CWnd.h"

// A push button, check box or group box of a dialog.
class CButton : public CWnd {
public:
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; 0 for a button without a state.
    int GetCheck() const;
    void SetCheck(int nCheck);
};
