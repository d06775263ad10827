#include "framework/CMemFile.h"

#include <cstring>
#include <limits>
#include <new>

#include "framework/CException.h"

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT) {}

CMemFile::CMemFile(const BYTE* lpBuffer, UINT nBufferSize, UINT)
    : m_data(lpBuffer, lpBuffer + (lpBuffer ? nBufferSize : 0))
{}

CMemFile::~CMemFile() = default;

BOOL CMemFile::Open(const char*, UINT, CFileException* pError)
{
    if (pError) *pError = CFileException(CFileException::genericException);
    return FALSE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (m_pos >= m_data.size()) return 0;
    const size_t n = std::min<size_t>(nCount, m_data.size() - m_pos);
    if (n) std::memcpy(lpBuf, m_data.data() + m_pos, n);
    m_pos += n;
    return (UINT)n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (!nCount) return;
    const size_t end = m_pos + nCount;
    try {
        if (end > m_data.size()) m_data.resize(end);
    } catch (const std::exception&) {
        AfxThrowFileException(CFileException::diskFull);
    }
    std::memcpy(m_data.data() + m_pos, lpBuf, nCount);
    m_pos = end;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base = nFrom == begin ? 0 : (nFrom == current ? (LONGLONG)m_pos : (LONGLONG)m_data.size());
    if ((lOff < 0 && base + lOff < 0) || (lOff > 0 && lOff > std::numeric_limits<LONGLONG>::max() - base))
        AfxThrowFileException(CFileException::badSeek);
    // Seeking past the end is allowed; a later write fills the gap with zeros.
    m_pos = (size_t)(base + lOff);
    return m_pos;
}

ULONGLONG CMemFile::GetPosition() const { return m_pos; }

ULONGLONG CMemFile::GetLength() const { return m_data.size(); }

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    try {
        m_data.resize((size_t)dwNewLen);
    } catch (const std::exception&) {
        AfxThrowFileException(CFileException::diskFull);
    }
    if (m_pos > m_data.size()) m_pos = m_data.size();
}

void CMemFile::Flush() {}

void CMemFile::Close()
{
    m_data.clear();
    m_pos = 0;
}

void CMemFile::Abort() { Close(); }
