#pragma once
#include "framework/CException.h"
#include "framework/CMemFile.h"

namespace zvtest {

// An in-memory file that fails like a disk that fills up or goes bad: once
// the given number of bytes has been written (or read), the next Write (or
// Read) that would go past it throws CFileException with the cause and
// system error code given. Bytes before the limit are written (read)
// normally, so a partly written file can be inspected with GetContents().
class FailingFile : public CMemFile {
public:
    static const unsigned long long kNever = ~0ull;

    FailingFile() = default;
    // Starts with the given contents, positioned at the start (for reading).
    FailingFile(const void* data, UINT size) : CMemFile(static_cast<const BYTE*>(data), size) {}

    void FailWritesAfter(unsigned long long nBytes, int cause = CFileException::diskFull, long lOsError = 112);
    void FailReadsAfter(unsigned long long nBytes, int cause = CFileException::hardIO, long lOsError = 30);
    // Flush throws from now on.
    void FailFlush(bool fail = true) { m_failFlush = fail; }

    unsigned long long BytesWritten() const { return m_written; }
    unsigned long long BytesRead() const { return m_read; }
    int Failures() const { return m_failures; }

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    void Flush() override;

private:
    unsigned long long m_writeLimit = kNever, m_readLimit = kNever;
    int m_writeCause = 0, m_readCause = 0;
    long m_writeOsError = -1, m_readOsError = -1;
    bool m_failFlush = false;
    unsigned long long m_written = 0, m_read = 0;
    int m_failures = 0;
};

}  // namespace zvtest
