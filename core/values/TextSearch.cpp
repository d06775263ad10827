#include "core/values/TextSearch.h"

#include <string>

#include "framework/CaseFolding.h"

namespace {

std::string ToStd(const CString& s)
{
    return std::string(static_cast<const char*>(s), static_cast<size_t>(s.GetLength()));
}

// Every byte folded to lower case by the string's own rules, asked once.
struct LowerTable {
    unsigned char lower[256];
    bool byteByByte;
};

const LowerTable& Lower()
{
    static const LowerTable table = [] {
        LowerTable t{};
        for (int i = 0; i < 256; ++i) {
            char c = static_cast<char>(i);
            ZvFoldLower(&c, 1);
            t.lower[i] = static_cast<unsigned char>(c);
        }
        t.byteByByte = ZvFoldsByteByByte();
        return t;
    }();
    return table;
}

bool StandsAlone(const unsigned char* hay, size_t size, size_t at, size_t end)
{
    return (at == 0 || IsTextWhiteSpace(static_cast<char>(hay[at - 1]))) &&
           (end >= size || IsTextWhiteSpace(static_cast<char>(hay[end])));
}

// Walks the places where the pattern occurs, in order, with the bytes
// compared through fold (the identity when case matters). It runs for every
// searched field of every record at each keystroke, so nothing is copied.
template <typename Fold>
bool FindBytes(const unsigned char* hay, size_t size, const unsigned char* needle, size_t length, bool wholeWord,
               Fold fold)
{
    if (length > size) return false;
    const size_t last = size - length;
    if (length == 0) {
        if (!wholeWord) return true;
        for (size_t at = 0; at <= last; ++at)
            if (StandsAlone(hay, size, at, at)) return true;
        return false;
    }
    const unsigned char first = fold(needle[0]);
    for (size_t at = 0; at <= last; ++at) {
        if (fold(hay[at]) != first) continue;
        size_t i = 1;
        while (i < length && fold(hay[at + i]) == fold(needle[i])) ++i;
        if (i < length) continue;
        if (!wholeWord || StandsAlone(hay, size, at, at + length)) return true;
    }
    return false;
}

// The whole texts folded, for a code page whose folding is not byte by byte.
bool FindFoldedCopies(const CString& text, const CString& pattern, bool wholeWord)
{
    CString t = text, p = pattern;
    t.MakeLower();
    p.MakeLower();
    const std::string hay = ToStd(t), needle = ToStd(p);
    return FindBytes(reinterpret_cast<const unsigned char*>(hay.data()), hay.size(),
                     reinterpret_cast<const unsigned char*>(needle.data()), needle.size(), wholeWord,
                     [](unsigned char c) { return c; });
}

}  // namespace

bool FindTextInString(const CString& text, const CString& pattern, bool matchCase, bool wholeWord)
{
    const auto* hay = reinterpret_cast<const unsigned char*>(text.GetString());
    const auto* needle = reinterpret_cast<const unsigned char*>(pattern.GetString());
    const size_t size = static_cast<size_t>(text.GetLength()), length = static_cast<size_t>(pattern.GetLength());
    if (matchCase) return FindBytes(hay, size, needle, length, wholeWord, [](unsigned char c) { return c; });
    const LowerTable& table = Lower();
    if (!table.byteByByte) return FindFoldedCopies(text, pattern, wholeWord);
    return FindBytes(hay, size, needle, length, wholeWord, [&table](unsigned char c) { return table.lower[c]; });
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
