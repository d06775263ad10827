#pragma once
// Password boxes read straight into a self-wiping text: the dialog data
// exchange of CSecretString members, and reading a window's text the same
// way. Unlike the CString exchange, no unwiped copy of the typed text is
// made on the way.
#include <windows.h>

#include "core/crypto/SecretString.h"

class CDataExchange;

// The window's text, read into the secret's own buffer; empty without a
// window.
CSecretString GetSecretWindowText(HWND hWnd);

// Edit <-> secret, as DDX_Text does for a CString.
void DDX_Text(CDataExchange* pDX, int nIDC, CSecretString& value);
// The length check of DDV_MaxChars (and the edit's limit when filling).
void DDV_MaxChars(CDataExchange* pDX, const CSecretString& value, int nChars);
