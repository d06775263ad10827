#pragma once
// Text helpers of the record search and of the list and details drawing.
#include "framework/CString.h"

// True when pattern occurs in text. Without matchCase case is folded as
// CString::MakeLower folds it; with wholeWord an occurrence counts only between white space or the
// ends of the text.
bool FindTextInString(const CString& text, const CString& pattern, bool matchCase, bool wholeWord);

// Appends to run the characters from pos on that are all white space or all
// not white space (the first decides); returns the position after them.
const char* CopyTextRun(const char* pos, CString& run);

// Every CR becomes a space and every LF goes; returns the number of CRs.
int FlattenLineBreaks(CString& text);

int CountCarriageReturns(const CString& text);

// Tab, line feed, carriage return and space.
inline bool IsTextWhiteSpace(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }
