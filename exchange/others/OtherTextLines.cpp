// Lines and values of other programs' text exports.
#include "exchange/others/OtherTextLines.h"

#include <cstring>
#include <string>

namespace others {

namespace {

bool IsBlankChar(char ch) { return ch == ' ' || ch == '\t'; }
bool IsWhite(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\x0B' || ch == '\f'; }

// Where the current line ends (at its CR, LF or the end of the text).
size_t LineEndOf(const CTextCursor& c)
{
    size_t end = c.pos;
    while (end < c.length && c.text[end] != '\r' && c.text[end] != '\n') ++end;
    return end;
}

}  // namespace

bool IsLineEnd(const CTextCursor& c) { return c.AtLineEnd(); }

void PassLineEnd(CTextCursor& c)
{
    if (c.AtEnd()) return;
    const char first = c.text[c.pos];
    if (first == '\n') {
        ++c.pos;
        return;
    }
    if (first != '\r') return;
    ++c.pos;
    if (c.Peek() == '\n') {
        ++c.pos;
    } else if (c.Peek() == '\r' && c.pos + 1 < c.length && c.text[c.pos + 1] == '\n') {
        c.pos += 2;  // CR CR LF: one line end written twice over
    }
}

CString TakeLine(CTextCursor& c)
{
    const size_t end = LineEndOf(c);
    CString line(c.text + c.pos, static_cast<int>(end - c.pos));
    c.pos = end;
    PassLineEnd(c);
    return line;
}

void PassLine(CTextCursor& c)
{
    c.pos = LineEndOf(c);
    PassLineEnd(c);
}

bool AtBlankLineOrEnd(const CTextCursor& c)
{
    size_t i = c.pos;
    while (i < c.length && IsBlankChar(c.text[i])) ++i;
    return i >= c.length || c.text[i] == '\r' || c.text[i] == '\n';
}

void PassBlankLines(CTextCursor& c)
{
    while (!c.AtEnd() && AtBlankLineOrEnd(c)) PassLine(c);
}

CString TrimValue(const CString& value)
{
    const std::string& s = value.Std();
    size_t from = 0, to = s.size();
    while (from < to && IsBlankChar(s[from])) ++from;
    while (to > from && IsWhite(s[to - 1])) --to;
    return CString(s.substr(from, to - from));
}

bool BeginsWith(const CString& line, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    return line.Std().compare(0, n, prefix) == 0;
}

CString TakeLabelValue(const CString& firstLine, CTextCursor& c, bool passBlankLines)
{
    const int colon = firstLine.Find(':');
    std::string value = colon < 0 ? std::string() : firstLine.Std().substr(static_cast<size_t>(colon) + 1);
    // A value that begins on the next line has no empty first part.
    bool empty = TrimValue(CString(value)).IsEmpty();
    if (empty) value.clear();
    for (;;) {
        CTextCursor next = c;
        if (passBlankLines) PassBlankLines(next);
        if (AtBlankLineOrEnd(next)) break;
        CTextCursor peek = next;
        const CString line = TakeLine(peek);
        if (line.Find(':') >= 0) break;
        if (!empty) value += "\r\n";
        value += line.Std();
        empty = false;
        c = peek;
    }
    return TrimValue(CString(std::move(value)));
}

CString ReadSepValue(CTextCursor& c, char stop)
{
    while (!c.AtEnd() && IsWhite(c.text[c.pos])) ++c.pos;
    size_t end = c.pos;
    while (end < c.length && c.text[end] != ',' && c.text[end] != stop) ++end;
    size_t last = end;
    while (last > c.pos && (c.text[last - 1] == '\r' || c.text[last - 1] == '\n')) --last;
    CString value(c.text + c.pos, static_cast<int>(last - c.pos));
    c.pos = end;
    if (c.Peek() == ',') ++c.pos;
    return value;
}

CString ReadTabValue(CTextCursor& c)
{
    size_t end = c.pos;
    while (end < c.length && c.text[end] != '\t' && c.text[end] != '\r' && c.text[end] != '\n') ++end;
    CString value(c.text + c.pos, static_cast<int>(end - c.pos));
    c.pos = end;
    if (c.Peek() == '\t') ++c.pos;
    return value;
}

}  // namespace others
