#pragma once
// Dialog data exchange: DoDataExchange moves values between a window's
// controls and its members in one direction per call (UpdateData). The DDV_
// checks run only when reading from the controls; a failing check shows the
// framework's message, gives the control the focus and ends the exchange
// (UpdateData returns FALSE).

#include <windows.h>

#include "framework/CString.h"

class CWnd;

class CDataExchange {
public:
    // Thrown by Fail and caught by UpdateData.
    struct Failure {};

    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control's handle; remembered as the one a failure returns to.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// Edit (or any window text) <-> value. Numbers that do not parse fail with
// "Please enter an integer." (or "Please enter a number.").
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
// Check box state 0, 1 or 2.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// Index of the checked button in the group that starts at nIDC (-1: none).
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Subclasses the control into rControl on the first exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);

// "Please enter an integer between %d and %d."
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
// Limits the edit's length when filling; "Enter no more than %d characters."
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
