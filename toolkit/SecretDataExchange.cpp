#include "toolkit/SecretDataExchange.h"

#include <utility>

#include "framework/CString.h"
#include "framework/DataExchange.h"

CSecretString GetSecretWindowText(HWND hWnd)
{
    CSecretString text;
    if (!hWnd) return text;
    // The length may be larger than the text (double-byte code pages); the
    // count copied is what counts.
    const int room = ::GetWindowTextLengthA(hWnd);
    char* buffer = text.GetBufferSetLength(room);
    text.Truncate(::GetWindowTextA(hWnd, buffer, room + 1));
    return text;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CSecretString& value)
{
    HWND hControl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetSecretWindowText(hControl);
    else if (hControl)
        ::SetWindowTextA(hControl, value.c_str());
}

void DDV_MaxChars(CDataExchange* pDX, const CSecretString& value, int nChars)
{
    // Only the length is checked, so a stand-in of that length carries no
    // part of the secret.
    DDV_MaxChars(pDX, CString('*', value.GetLength()), nChars);
}
