#include "framework/CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/CException.h"

namespace {

const char kWhitespace[] = " \t\n\v\f\r";

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

std::string Folded(std::string s)
{
    if (!s.empty()) ZvFoldLower(&s[0], s.size());
    return s;
}

}  // namespace

char CString::GetAt(int i) const
{
    if (i < 0 || i >= GetLength()) AfxThrowInvalidArgException();
    return m_s[(size_t)i];
}

void CString::SetAt(int i, char ch)
{
    if (i < 0 || i >= GetLength()) AfxThrowInvalidArgException();
    m_s[(size_t)i] = ch;
}

// Byte-wise over unsigned bytes; the whole text of this string takes part
// (so it agrees with std::hash<CString>), the other side ends at its zero.
int CString::Compare(const char* psz) const { return Sign(m_s.compare(psz ? psz : "")); }
int CString::Compare(const CString& s) const { return Sign(m_s.compare(s.m_s)); }

// Case is folded to lower case before a byte-wise comparison, so that names
// sort the same way as the C runtime's case-insensitive comparison puts them.
int CString::CompareNoCase(const char* psz) const { return Sign(Folded(m_s).compare(Folded(psz ? psz : ""))); }
int CString::CompareNoCase(const CString& s) const { return Sign(Folded(m_s).compare(Folded(s.m_s))); }

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - std::max(nFirst, 0)); }

CString CString::Mid(int nFirst, int nCount) const
{
    const int len = GetLength();
    if (nFirst < 0) nFirst = 0;
    if (nCount < 0) nCount = 0;
    if (nFirst > len) return CString();
    if (nCount > len - nFirst) nCount = len - nFirst;
    return CString(m_s.substr((size_t)nFirst, (size_t)nCount));
}

CString CString::Left(int nCount) const
{
    if (nCount < 0) nCount = 0;
    return CString(m_s.substr(0, std::min((size_t)nCount, m_s.size())));
}

CString CString::Right(int nCount) const
{
    if (nCount < 0) nCount = 0;
    const size_t n = std::min((size_t)nCount, m_s.size());
    return CString(m_s.substr(m_s.size() - n));
}

CString CString::SpanIncluding(const char* pszCharSet) const
{
    const size_t n = std::strspn(m_s.c_str(), pszCharSet ? pszCharSet : "");
    return CString(m_s.substr(0, n));
}

CString CString::SpanExcluding(const char* pszCharSet) const
{
    const size_t n = std::strcspn(m_s.c_str(), pszCharSet ? pszCharSet : "");
    return CString(m_s.substr(0, n));
}

CString CString::Tokenize(const char* pszTokens, int& iStart) const
{
    if (iStart < 0) AfxThrowInvalidArgException();
    const int len = GetLength();
    if (iStart < len) {
        if (!pszTokens || !*pszTokens) {
            // No delimiters: the rest is the one token. The position moves to
            // the end so that a loop calling again ends.
            CString rest = Mid(iStart);
            iStart = len;
            return rest;
        }
        const size_t from = m_s.find_first_not_of(pszTokens, (size_t)iStart);
        if (from != std::string::npos) {
            size_t to = m_s.find_first_of(pszTokens, from);
            if (to == std::string::npos) to = m_s.size();
            iStart = (int)to + 1;
            return CString(m_s.substr(from, to - from));
        }
    }
    iStart = -1;
    return CString();
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0) nStart = 0;
    if (nStart >= GetLength()) return -1;
    const size_t pos = m_s.find(ch, (size_t)nStart);
    return pos == std::string::npos ? -1 : (int)pos;
}

int CString::Find(const char* pszSub, int nStart) const
{
    if (nStart < 0) nStart = 0;
    if (nStart > GetLength()) return -1;
    const size_t pos = m_s.find(pszSub ? pszSub : "", (size_t)nStart);
    return pos == std::string::npos ? -1 : (int)pos;
}

int CString::ReverseFind(char ch) const
{
    const size_t pos = m_s.rfind(ch);
    return pos == std::string::npos ? -1 : (int)pos;
}

int CString::FindOneOf(const char* pszCharSet) const
{
    if (!pszCharSet || !*pszCharSet) return -1;
    const size_t pos = m_s.find_first_of(pszCharSet);
    return pos == std::string::npos ? -1 : (int)pos;
}

int CString::Replace(char chOld, char chNew)
{
    int n = 0;
    if (chOld == chNew) return 0;
    for (char& c : m_s)
        if (c == chOld) {
            c = chNew;
            ++n;
        }
    return n;
}

int CString::Replace(const char* pszOld, const char* pszNew)
{
    if (!pszOld || !*pszOld) return 0;
    const std::string oldS(pszOld), newS(pszNew ? pszNew : "");
    std::string out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        const size_t hit = m_s.find(oldS, pos);
        if (hit == std::string::npos) break;
        out.append(m_s, pos, hit - pos);
        out += newS;
        pos = hit + oldS.size();
        ++n;
    }
    if (n) {
        out.append(m_s, pos, std::string::npos);
        m_s.swap(out);
    }
    return n;
}

int CString::Remove(char ch)
{
    const size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return (int)(before - m_s.size());
}

int CString::Insert(int nIndex, char ch)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_s.insert((size_t)nIndex, 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, const char* psz)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_s.insert((size_t)nIndex, psz ? psz : "");
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0) nIndex = 0;
    if (nCount > 0 && nIndex < GetLength()) m_s.erase((size_t)nIndex, (size_t)nCount);
    return GetLength();
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(const char* pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }
CString& CString::TrimLeft() { return TrimLeft(kWhitespace); }
CString& CString::TrimLeft(char chTarget)
{
    const char set[2] = {chTarget, 0};
    return chTarget ? TrimLeft(set) : *this;
}
CString& CString::TrimLeft(const char* pszTargets)
{
    if (!pszTargets || !*pszTargets) return *this;
    const size_t pos = m_s.find_first_not_of(pszTargets);
    m_s.erase(0, pos == std::string::npos ? m_s.size() : pos);
    return *this;
}
CString& CString::TrimRight() { return TrimRight(kWhitespace); }
CString& CString::TrimRight(char chTarget)
{
    const char set[2] = {chTarget, 0};
    return chTarget ? TrimRight(set) : *this;
}
CString& CString::TrimRight(const char* pszTargets)
{
    if (!pszTargets || !*pszTargets) return *this;
    const size_t pos = m_s.find_last_not_of(pszTargets);
    m_s.erase(pos == std::string::npos ? 0 : pos + 1);
    return *this;
}

CString& CString::MakeUpper()
{
    if (!m_s.empty()) ZvFoldUpper(&m_s[0], m_s.size());
    return *this;
}

CString& CString::MakeLower()
{
    if (!m_s.empty()) ZvFoldLower(&m_s[0], m_s.size());
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength < 0 || nNewLength > GetLength()) AfxThrowInvalidArgException();
    m_s.resize((size_t)nNewLength);
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...)
{
    CString format;
    Empty();
    if (!format.LoadString(nFormatID)) return;
    va_list args;
    va_start(args, nFormatID);
    FormatV(format.GetString(), args);
    va_end(args);
}

void CString::AppendFormat(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(const char* pszFormat, va_list args)
{
    m_s.clear();
    AppendFormatV(pszFormat, args);
}

void CString::AppendFormatV(const char* pszFormat, va_list args)
{
    if (!pszFormat) AfxThrowInvalidArgException();
    char stackBuf[256];
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(stackBuf, sizeof stackBuf, pszFormat, copy);
    va_end(copy);
    if (n < 0) AfxThrowInvalidArgException();
    if ((size_t)n < sizeof stackBuf) {
        m_s.append(stackBuf, (size_t)n);
        return;
    }
    std::vector<char> big((size_t)n + 1);
    va_copy(copy, args);
    std::vsnprintf(big.data(), big.size(), pszFormat, copy);
    va_end(copy);
    m_s.append(big.data(), (size_t)n);
}

char* CString::GetBuffer() { return &m_s[0]; }

char* CString::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength < 0) AfxThrowInvalidArgException();
    if ((size_t)nMinBufferLength > m_s.size()) m_s.resize((size_t)nMinBufferLength, '\0');
    return &m_s[0];
}

char* CString::GetBufferSetLength(int nLength)
{
    if (nLength < 0) AfxThrowInvalidArgException();
    m_s.resize((size_t)nLength, '\0');
    return &m_s[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0) {
        m_s.resize(std::strlen(m_s.c_str()));
    } else {
        if ((size_t)nNewLength > m_s.size()) AfxThrowInvalidArgException();
        m_s.resize((size_t)nNewLength);
    }
}

CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
CString operator+(const CString& a, char b) { return CString(a.m_s + b); }
CString operator+(char a, const CString& b) { return CString(a + b.m_s); }

bool operator==(const CString& a, const CString& b) { return a.Std() == b.Std(); }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
