#include "core/values/TextSearch.h"

#include <string>

namespace {

std::string ToStd(const CString& s)
{
    return std::string(static_cast<const char*>(s), static_cast<size_t>(s.GetLength()));
}

}  // namespace

bool FindTextInString(const CString& text, const CString& pattern, bool matchCase, bool wholeWord)
{
    CString t = text, p = pattern;
    if (!matchCase) {
        t.MakeLower();
        p.MakeLower();
    }
    const std::string hay = ToStd(t), needle = ToStd(p);
    size_t at = hay.find(needle);
    if (!wholeWord) return at != std::string::npos;
    while (at != std::string::npos) {
        const size_t end = at + needle.size();
        const bool startOk = at == 0 || IsTextWhiteSpace(hay[at - 1]);
        const bool endOk = end >= hay.size() || IsTextWhiteSpace(hay[end]);
        if (startOk && endOk) return true;
        if (at + 1 > hay.size()) break;
        at = hay.find(needle, at + 1);
    }
    return false;
}

const char* CopyTextRun(const char* pos, CString& run)
{
    if (!pos || !*pos) return pos;
    const bool white = IsTextWhiteSpace(*pos);
    const char* end = pos;
    while (*end && IsTextWhiteSpace(*end) == white) ++end;
    run += CString(pos, static_cast<int>(end - pos));
    return end;
}

int FlattenLineBreaks(CString& text)
{
    std::string s = ToStd(text), out;
    int crs = 0;
    for (char c : s) {
        if (c == '\r') {
            ++crs;
            out += ' ';
        } else if (c != '\n') {
            out += c;
        }
    }
    text = CString(out.c_str(), static_cast<int>(out.size()));
    return crs;
}

int CountCarriageReturns(const CString& text)
{
    int n = 0;
    for (char c : ToStd(text))
        if (c == '\r') ++n;
    return n;
}
