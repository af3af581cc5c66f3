#pragma once
// Dialog data exchange: the bindings between a dialog's members and its controls, and
// their validation. A failed validation shows its message, moves the focus to the
// control (selecting an edit's whole text) and stops the exchange.

#include "platform/toolkit/WinUser.h"

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control nIDC; remembered as the control a failure refers to.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Focuses the last prepared control (selecting an edit's text) and stops the exchange.
    [[noreturn]] void Fail();

    // The control of the latest binding, 0 before the first.
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
