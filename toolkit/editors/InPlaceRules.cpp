#include "toolkit/editors/InPlaceRules.h"

bool InPlaceCharAllowed(const CString& validChars, unsigned ch)
{
    if (validChars.IsEmpty()) return true;
    if (ch == 3 || ch == 8 || ch == 22 || ch == 24) return true;
    return ch != 0 && ch < 256 && validChars.Find((char)ch) >= 0;
}

bool InPlacePasteAllowed(const CString& validChars, const char* clipboardText)
{
    if (validChars.IsEmpty()) return true;
    if (!clipboardText) return false;
    for (const char* p = clipboardText; *p; ++p)
        if (validChars.Find(*p) < 0) return false;
    return true;
}

int InPlaceComboExtraRows(int choiceCount) { return choiceCount < 10 ? choiceCount + 10 : 11; }
