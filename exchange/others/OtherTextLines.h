#pragma once
// Lines and values of other programs' text exports. Every helper keeps to
// one line end at a time (CR LF, CR, LF, or the CR CR LF some editors
// leave), so that a blank line is always seen, whatever line ends the file
// uses.
#include "exchange/readers/ExchangeValues.h"
#include "framework/CString.h"

namespace others {

// At CR, LF or the end of the text.
bool IsLineEnd(const CTextCursor& c);
// Passes one line end, when the cursor stands at one.
void PassLineEnd(CTextCursor& c);
// The rest of the current line (without its end), then its line end.
CString TakeLine(CTextCursor& c);
// Passes the rest of the current line and its line end.
void PassLine(CTextCursor& c);
// The cursor stands at a blank line (one holding nothing or only blanks and
// tabs) or at the end of the text.
bool AtBlankLineOrEnd(const CTextCursor& c);
// Passes blank lines.
void PassBlankLines(CTextCursor& c);
// Blanks and tabs at the start and all white space at the end removed.
CString TrimValue(const CString& value);
// Whether the line begins with the prefix (case as written).
bool BeginsWith(const CString& line, const char* prefix);

// A label line's value and its continuation lines: the text after the
// first colon of the line, then each following line that holds no colon,
// every part separated by CR LF; a blank line or a line with a colon ends
// it. With passBlankLines, blank lines between continuation lines are passed
// (and dropped) instead of ending the value. The cursor stands after the
// last line taken. The value is trimmed.
CString TakeLabelValue(const CString& firstLine, CTextCursor& c, bool passBlankLines);

// Copies characters after leading white space (line breaks included) until
// a comma, which is consumed, or the stop character or the end of the text,
// which are not. Line breaks inside the value are kept, those at its end
// are not: they part it from the stop character.
CString ReadSepValue(CTextCursor& c, char stop);
// Copies characters as they stand until a tab, which is consumed, or a line
// end or the end of the text, which are not.
CString ReadTabValue(CTextCursor& c);

}  // namespace others
