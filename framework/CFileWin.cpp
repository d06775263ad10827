// CFile over Win32 file handles (windows build). Names are ANSI paths.
#include <windows.h>

#include "framework/CException.h"
#include "framework/CFile.h"

int CFileException::OsErrorToException(long lOsError)
{
    switch (lOsError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_NOT_READY: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

void CFile::ThrowOsError(long lOsError) const
{
    AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, m_strFileName);
}

namespace {
HANDLE H(INT_PTR h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (IsOpen()) Abort();
    m_strFileName = lpszFileName;

    DWORD access;
    switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD share;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = 0; break;
    }
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    DWORD disposition = OPEN_EXISTING;
    if (nOpenFlags & modeCreate) disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    HANDLE h = ::CreateFileA(lpszFileName ? lpszFileName : "", access, share, &sa, disposition, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const long err = (long)::GetLastError();
        if (pError) *pError = CFileException(CFileException::OsErrorToException(err), err, lpszFileName);
        return FALSE;
    }
    m_hFile = reinterpret_cast<INT_PTR>(h);
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (!IsOpen()) ThrowOsError(ERROR_INVALID_HANDLE);
    UINT done = 0;
    while (done < nCount) {
        DWORD n = 0;
        if (!::ReadFile(H(m_hFile), static_cast<char*>(lpBuf) + done, nCount - done, &n, nullptr))
            ThrowOsError((long)::GetLastError());
        if (n == 0) break;
        done += n;
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (!IsOpen()) ThrowOsError(ERROR_INVALID_HANDLE);
    DWORD n = 0;
    if (!::WriteFile(H(m_hFile), lpBuf, nCount, &n, nullptr)) ThrowOsError((long)::GetLastError());
    if (n != nCount) ThrowOsError(ERROR_DISK_FULL);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (!IsOpen()) ThrowOsError(ERROR_INVALID_HANDLE);
    LARGE_INTEGER dist, pos;
    dist.QuadPart = lOff;
    const DWORD method = nFrom == begin ? FILE_BEGIN : (nFrom == current ? FILE_CURRENT : FILE_END);
    if (!::SetFilePointerEx(H(m_hFile), dist, &pos, method)) ThrowOsError((long)::GetLastError());
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    if (!IsOpen()) ThrowOsError(ERROR_INVALID_HANDLE);
    LARGE_INTEGER dist, pos;
    dist.QuadPart = 0;
    if (!::SetFilePointerEx(H(m_hFile), dist, &pos, FILE_CURRENT)) ThrowOsError((long)::GetLastError());
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    if (!IsOpen()) ThrowOsError(ERROR_INVALID_HANDLE);
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(H(m_hFile), &size)) ThrowOsError((long)::GetLastError());
    return (ULONGLONG)size.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    const ULONGLONG keep = GetPosition();
    Seek((LONGLONG)dwNewLen, begin);
    if (!::SetEndOfFile(H(m_hFile))) ThrowOsError((long)::GetLastError());
    Seek((LONGLONG)(keep < dwNewLen ? keep : dwNewLen), begin);
}

void CFile::Flush()
{
    if (IsOpen() && !::FlushFileBuffers(H(m_hFile))) ThrowOsError((long)::GetLastError());
}

void CFile::Close()
{
    if (!IsOpen()) return;
    HANDLE h = H(m_hFile);
    m_hFile = hFileNull;
    if (!::CloseHandle(h)) ThrowOsError((long)::GetLastError());
}

void CFile::Abort()
{
    if (IsOpen()) ::CloseHandle(H(m_hFile));
    m_hFile = hFileNull;
}

void CFile::Remove(const char* lpszFileName)
{
    if (!::DeleteFileA(lpszFileName)) {
        const long err = (long)::GetLastError();
        AfxThrowFileException(CFileException::OsErrorToException(err), err, lpszFileName);
    }
}

void CFile::Rename(const char* lpszOldName, const char* lpszNewName)
{
    if (!::MoveFileA(lpszOldName, lpszNewName)) {
        const long err = (long)::GetLastError();
        AfxThrowFileException(CFileException::OsErrorToException(err), err, lpszOldName);
    }
}
