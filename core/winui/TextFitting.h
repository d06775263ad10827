#pragma once
// Fitting one line of text into a pixel width (windows only).
#include <windows.h>

#include "framework/CString.h"

// Number of leading characters that stay narrower than width; the text's
// length when all of it does; -1 for a width of 0 or less.
int CountCharsThatFit(HDC dc, const CString& text, int width);

// Draws the text on one line in rect, cut and ended with "..." when it is too
// wide; returns the width of what was drawn.
int DrawTextWithEllipsis(HDC dc, const CString& text, const RECT& rect, UINT flags);
