#pragma once
// CString: the program's string, a byte string in the ANSI code page.
//
// Value semantics over std::string; embedded zero bytes are kept by the
// length-based operations. Positions and counts are ints as callers expect;
// out-of-range arguments are clamped the way the classic string class does
// (Mid/Left/Right/Delete/Insert), never read outside the text.
//
// Objects of this class must not be passed through "..." (Format and
// friends): pass GetString() or (LPCSTR)s.

#include <cstdarg>
#include <functional>
#include <string>

#include "framework/ZvTypes.h"

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;

    CString(const char* psz) : m_s(psz ? psz : "") {}  // NOLINT
    CString(const char* pch, int nLength) : m_s(pch && nLength > 0 ? std::string(pch, (size_t)nLength) : std::string())
    {}
    CString(char ch, int nRepeat = 1) : m_s(nRepeat > 0 ? (size_t)nRepeat : 0, ch) {}  // NOLINT
    explicit CString(const unsigned char* psz) : CString(reinterpret_cast<const char*>(psz)) {}
    explicit CString(const std::string& s) : m_s(s) {}
    explicit CString(std::string&& s) noexcept : m_s(std::move(s)) {}

    CString& operator=(const char* psz)
    {
        m_s = psz ? psz : "";
        return *this;
    }
    CString& operator=(char ch)
    {
        m_s.assign(1, ch);
        return *this;
    }

    // Size and access
    int GetLength() const { return (int)m_s.size(); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    // Character at a position; throws CInvalidArgException outside the text.
    char GetAt(int i) const;
    void SetAt(int i, char ch);
    char operator[](int i) const { return GetAt(i); }
    const char* GetString() const { return m_s.c_str(); }
    operator const char*() const { return m_s.c_str(); }  // NOLINT
    // The underlying bytes, for code that works with the standard library.
    const std::string& Std() const { return m_s; }

    // Concatenation
    CString& operator+=(const CString& s)
    {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(const char* psz)
    {
        if (psz) m_s += psz;
        return *this;
    }
    CString& operator+=(char ch)
    {
        m_s += ch;
        return *this;
    }
    void Append(const char* pch, int nLength)
    {
        if (pch && nLength > 0) m_s.append(pch, (size_t)nLength);
    }
    void AppendChar(char ch) { m_s += ch; }

    // Comparison: Compare is byte-wise (unsigned), CompareNoCase folds case
    // first (see CompareNoCase in CString.cpp for which case rules apply).
    int Compare(const char* psz) const;
    int Compare(const CString& s) const;
    int CompareNoCase(const char* psz) const;
    int CompareNoCase(const CString& s) const;

    // Extraction
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(const char* pszCharSet) const;
    CString SpanExcluding(const char* pszCharSet) const;
    // Next token after position iStart, skipping leading delimiters; iStart
    // becomes the position after the token's end delimiter, or -1 (and the
    // result is empty) when no token is left.
    CString Tokenize(const char* pszTokens, int& iStart) const;

    // Searching: positions or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(const char* pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* pszCharSet) const;

    // Changing
    int Replace(char chOld, char chNew);
    int Replace(const char* pszOld, const char* pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, const char* psz);
    int Delete(int nIndex, int nCount = 1);
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(const char* pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(const char* pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(const char* pszTargets);
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    void Truncate(int nNewLength);

    // printf-style formatting; the text replaces the old contents.
    void Format(const char* pszFormat, ...) ZV_PRINTF_LIKE(2, 3);
    void AppendFormat(const char* pszFormat, ...) ZV_PRINTF_LIKE(2, 3);
    // The same with the format text taken from the string table (empty
    // result when there is no such entry).
    void Format(UINT nFormatID, ...);
    void FormatV(const char* pszFormat, va_list args);
    void AppendFormatV(const char* pszFormat, va_list args);

    // Direct buffer access. GetBuffer(n) gives room for at least n bytes and a
    // terminating zero; ReleaseBuffer(-1) takes the length up to the first zero
    // byte (within the buffer), ReleaseBuffer(n) sets it to n.
    char* GetBuffer();
    char* GetBuffer(int nMinBufferLength);
    char* GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }

    // Loads a string-table entry (from the current resource module on
    // Windows). FALSE and an empty string when there is no such entry.
    BOOL LoadString(UINT nID);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

private:
    std::string m_s;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

// Registers the text of a string-table entry for LoadString. The host build
// has no resources, so its string table is whatever was registered; in the
// windows build an entry of the resource module wins over a registered one.
void ZvRegisterString(UINT nID, const char* pszText);

// Case folding of the byte text in place, as CString uses it (ANSI code page
// on Windows, ASCII on the host build).
void ZvFoldUpper(char* p, size_t n);
void ZvFoldLower(char* p, size_t n);

namespace std {
template <> struct hash<CString> {
    size_t operator()(const CString& s) const noexcept { return std::hash<std::string>()(s.Std()); }
};
}  // namespace std

// UTF-16 text converted to the ANSI code page (Windows); the host build
// keeps ASCII and writes '?' for everything else.
CString ZvAnsiFromUtf16(const std::u16string& text);
// ANSI text converted to UTF-16 with the ANSI code page (Windows); the host
// build keeps ASCII and writes '?' for everything else.
std::u16string ZvUtf16FromAnsi(const CString& text);
