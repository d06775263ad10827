#include "framework/DataExchange.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "framework/ModalSeam.h"
#include "framework/Wnd.h"

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    m_hWndLastControl = hControl;
    m_bEditLastControl = FALSE;
    return hControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hControl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hControl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw Failure{};
}

namespace {
CString ControlText(HWND hControl)
{
    CString text;
    if (hControl) CWnd(hControl).GetWindowText(text);
    return text;
}

// A signed or unsigned whole number with optional blanks around it.
bool ParseInteger(const CString& text, bool isSigned, long long lo, long long hi, long long& out)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) return false;
    if (!isSigned && *p == '-') return false;
    char* end = nullptr;
    errno = 0;
    long long v = strtoll(p, &end, 10);
    if (end == p || errno == ERANGE) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

void FailMessage(CDataExchange* pDX, const char* text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class T> void TextInteger(CDataExchange* pDX, int nIDC, T& value, bool isSigned, long long lo, long long hi)
{
    HWND hControl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseInteger(ControlText(hControl), isSigned, lo, hi, v)) FailMessage(pDX, "Please enter an integer.");
        value = (T)v;
    } else {
        char text[32];
        if (isSigned)
            snprintf(text, sizeof(text), "%lld", (long long)value);
        else
            snprintf(text, sizeof(text), "%llu", (unsigned long long)value);
        ::SetWindowTextA(hControl, text);
    }
}
}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hControl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hControl);
    else
        ::SetWindowTextA(hControl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { TextInteger(pDX, nIDC, value, true, INT_MIN, INT_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { TextInteger(pDX, nIDC, value, false, 0, UINT_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { TextInteger(pDX, nIDC, value, true, LONG_MIN, LONG_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) { TextInteger(pDX, nIDC, value, false, 0, 0xFFFFFFFFLL); }

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hControl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text = ControlText(hControl);
        const char* p = text;
        char* end = nullptr;
        double v = strtod(p, &end);
        while (end && (*end == ' ' || *end == '\t')) ++end;
        if (end == p || (end && *end)) FailMessage(pDX, "Please enter a number.");
        value = v;
    } else {
        char text[64];
        snprintf(text, sizeof(text), "%.15g", value);
        ::SetWindowTextA(hControl, text);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hControl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(hControl, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(hControl, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hControl = pDX->PrepareCtrl(nIDC);
    if (!hControl) return;
    if (pDX->m_bSaveAndValidate) value = -1;
    // The group runs from nIDC to the next control with WS_GROUP.
    int index = 0;
    HWND h = hControl;
    do {
        if (::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    } while (h && !(::GetWindowLongPtrA(h, GWL_STYLE) & WS_GROUP));
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd) return;
    HWND hControl = pDX->PrepareCtrl(nIDC);
    if (!hControl || !rControl.SubclassWindow(hControl)) pDX->Fail();
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hControl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hControl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hControl, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hControl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = ControlText(hControl);
    } else if (::SendMessageA(hControl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value) == CB_ERR) {
        ::SetWindowTextA(hControl, value);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hControl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hControl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hControl, LB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hControl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value.Empty();
        int sel = (int)::SendMessageA(hControl, LB_GETCURSEL, 0, 0);
        if (sel != LB_ERR) {
            int n = (int)::SendMessageA(hControl, LB_GETTEXTLEN, (WPARAM)sel, 0);
            char* buf = value.GetBuffer(n + 1);
            ::SendMessageA(hControl, LB_GETTEXT, (WPARAM)sel, (LPARAM)buf);
            value.ReleaseBuffer();
        }
    } else {
        ::SendMessageA(hControl, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    char text[96];
    snprintf(text, sizeof(text), "Please enter an integer between %d and %d.", minVal, maxVal);
    FailMessage(pDX, text);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    char text[96];
    snprintf(text, sizeof(text), "Please enter an integer between %u and %u.", minVal, maxVal);
    FailMessage(pDX, text);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->m_hWndLastControl && pDX->m_bEditLastControl)
            ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
        return;
    }
    if (value.GetLength() <= nChars) return;
    char text[96];
    snprintf(text, sizeof(text), "Enter no more than %d characters.", nChars);
    FailMessage(pDX, text);
}
