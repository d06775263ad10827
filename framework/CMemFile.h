#pragma once
// CMemFile: a file kept in a growable block of memory. It never touches the
// disk; Open, Remove and Rename do not apply to it.

#include <vector>

#include "framework/CFile.h"

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // A file whose contents start as a copy of the given bytes, positioned
    // at the start.
    CMemFile(const BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    // The whole contents.
    const std::vector<BYTE>& GetContents() const { return m_data; }

private:
    std::vector<BYTE> m_data;
    size_t m_pos = 0;
};
