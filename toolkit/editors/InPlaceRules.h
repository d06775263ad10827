#pragma once
// What the in-place cell editors accept, without their windows.
#include "framework/CString.h"

// The edit box's characters: with no valid characters set every character
// is allowed; otherwise only those, and the control characters of copy (3),
// backspace (8), paste (22) and cut (24).
bool InPlaceCharAllowed(const CString& validChars, unsigned ch);

// A paste: with no valid characters set any text is taken; otherwise every
// character of the clipboard's text must be valid (no text: refused).
bool InPlacePasteAllowed(const CString& validChars, const char* clipboardText);

// Cell heights added below a cell combo for its list part: choices + 10 when
// there are fewer than 10 choices, else 11.
int InPlaceComboExtraRows(int choiceCount);
