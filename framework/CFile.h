#pragma once
// CFile: unbuffered binary file over the system's file handles (Win32 handles
// in the windows build, POSIX descriptors on the host). Errors throw
// CFileException with the system's error code in m_lOsError, except Open,
// which reports through its return value and optional exception object.

#include "framework/CObject.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

class CFileException;

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,  // treated as exclusive
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,      // create, truncating an existing file...
        modeNoTruncate = 0x2000,  // ...unless this is given too
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile();
    // Opens at once; throws CFileException on failure.
    CFile(const char* lpszFileName, UINT nOpenFlags);
    ~CFile() override;  // closes without reporting errors

    // FALSE on failure, with the cause in *pError when given.
    virtual BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Up to nCount bytes; fewer only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();

    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    bool IsOpen() const { return m_hFile != hFileNull; }
    const CString& GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;

    static void Remove(const char* lpszFileName);
    static void Rename(const char* lpszOldName, const char* lpszNewName);

    static const INT_PTR hFileNull = -1;

protected:
    [[noreturn]] void ThrowOsError(long lOsError) const;

    INT_PTR m_hFile = hFileNull;  // HANDLE or descriptor
    CString m_strFileName;
};
