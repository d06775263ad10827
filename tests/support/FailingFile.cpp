#include "tests/support/FailingFile.h"

#include "framework/CException.h"

namespace zvtest {

void FailingFile::FailWritesAfter(unsigned long long nBytes, int cause, long lOsError)
{
    m_writeLimit = nBytes;
    m_writeCause = cause;
    m_writeOsError = lOsError;
}

void FailingFile::FailReadsAfter(unsigned long long nBytes, int cause, long lOsError)
{
    m_readLimit = nBytes;
    m_readCause = cause;
    m_readOsError = lOsError;
}

UINT FailingFile::Read(void* lpBuf, UINT nCount)
{
    UINT allowed = nCount;
    if (m_readLimit != kNever && m_read + nCount > m_readLimit) allowed = (UINT)(m_readLimit - m_read);
    const UINT n = CMemFile::Read(lpBuf, allowed);
    m_read += n;
    if (allowed < nCount && n == allowed) {
        ++m_failures;
        AfxThrowFileException(m_readCause, m_readOsError);
    }
    return n;
}

void FailingFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_writeLimit != kNever && m_written + nCount > m_writeLimit) {
        const UINT allowed = (UINT)(m_writeLimit - m_written);
        CMemFile::Write(lpBuf, allowed);
        m_written += allowed;
        ++m_failures;
        AfxThrowFileException(m_writeCause, m_writeOsError);
    }
    CMemFile::Write(lpBuf, nCount);
    m_written += nCount;
}

void FailingFile::Flush()
{
    if (m_failFlush) {
        ++m_failures;
        AfxThrowFileException(m_writeCause ? m_writeCause : (int)CFileException::hardIO, m_writeOsError);
    }
    CMemFile::Flush();
}

}  // namespace zvtest
