// Host-build parts of CString: case rules and the string table.
#include "framework/CString.h"
#include "framework/CaseFolding.h"
#include "framework/CStringTable.h"

// The host build has no ANSI code page to ask, and the C library's locale
// would classify the bytes by some other character set; only the ASCII
// letters are folded here. Case rules for the other ANSI letters are the
// windows build's and are tested there.
void ZvFoldUpper(char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i] >= 'a' && p[i] <= 'z') p[i] = (char)(p[i] - 'a' + 'A');
}

void ZvFoldLower(char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i] >= 'A' && p[i] <= 'Z') p[i] = (char)(p[i] - 'A' + 'a');
}

bool ZvFoldsByteByByte() { return true; }

BOOL CString::LoadString(UINT nID)
{
    Empty();
    return ZvFindRegisteredString(nID, *this) ? TRUE : FALSE;
}

CString ZvAnsiFromUtf16(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;  // one character, one replacement
        out += c < 0x80 ? (char)c : '?';
    }
    return CString(std::move(out));
}

std::u16string ZvUtf16FromAnsi(const CString& text)
{
    std::u16string out;
    out.reserve((size_t)text.GetLength());
    for (int i = 0; i < text.GetLength(); ++i) {
        const unsigned char c = (unsigned char)text.GetString()[i];
        out += c < 0x80 ? (char16_t)c : u'?';
    }
    return out;
}
