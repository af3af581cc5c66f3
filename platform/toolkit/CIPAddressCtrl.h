#pragma once

#include "platform/toolkit/CWnd.h"

// The four-field IP-address control. An address is a 32-bit value with the first field
// in the most significant byte; a blank field reads as 0.
class CIPAddressCtrl : public CWnd {
public:
    BOOL IsBlank() const;
    void ClearAddress();
    // The number of fields that are not blank.
    int GetAddress(DWORD& dwAddress);
    int GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3);
    void SetAddress(DWORD dwAddress);
    void SetAddress(BYTE nField0, BYTE nField1, BYTE nField2, BYTE nField3);
};
