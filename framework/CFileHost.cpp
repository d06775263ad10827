// CFile over POSIX descriptors (host build).
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

#include "framework/CException.h"
#include "framework/CFile.h"

namespace {

// The program builds its paths with backslashes; the host's file system
// separates folders with slashes.
std::string NativePath(const char* path)
{
    std::string native = path ? path : "";
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
}

}  // namespace

int CFileException::OsErrorToException(long lOsError)
{
    switch (lOsError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return accessDenied;
    case EBADF: return invalidFile;
    case EBUSY: return sharingViolation;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return diskFull;
    case EIO: return hardIO;
    case EINVAL:
    case ESPIPE: return badSeek;
    default: return genericException;
    }
}

void CFile::ThrowOsError(long lOsError) const
{
    AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, m_strFileName);
}

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (IsOpen()) Abort();
    m_strFileName = lpszFileName;
    // POSIX has no share modes; the share flags have no effect here.
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case modeRead: flags |= O_RDONLY; break;
    case modeWrite: flags |= O_WRONLY; break;
    default: flags |= O_RDWR; break;
    }
    if (nOpenFlags & modeCreate) flags |= (nOpenFlags & modeNoTruncate) ? O_CREAT : (O_CREAT | O_TRUNC);
    int fd;
    do {
        fd = ::open(NativePath(lpszFileName).c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int err = errno;
        if (pError) *pError = CFileException(CFileException::OsErrorToException(err), err, lpszFileName);
        return FALSE;
    }
    m_hFile = fd;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (!IsOpen()) ThrowOsError(EBADF);
    UINT done = 0;
    while (done < nCount) {
        const ssize_t n = ::read((int)m_hFile, static_cast<char*>(lpBuf) + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowOsError(errno);
        }
        if (n == 0) break;
        done += (UINT)n;
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (!IsOpen()) ThrowOsError(EBADF);
    UINT done = 0;
    while (done < nCount) {
        const ssize_t n = ::write((int)m_hFile, static_cast<const char*>(lpBuf) + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowOsError(errno);
        }
        if (n == 0) ThrowOsError(ENOSPC);
        done += (UINT)n;
    }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (!IsOpen()) ThrowOsError(EBADF);
    const int whence = nFrom == begin ? SEEK_SET : (nFrom == current ? SEEK_CUR : SEEK_END);
    const off_t pos = ::lseek((int)m_hFile, (off_t)lOff, whence);
    if (pos < 0) ThrowOsError(errno);
    return (ULONGLONG)pos;
}

ULONGLONG CFile::GetPosition() const
{
    if (!IsOpen()) ThrowOsError(EBADF);
    const off_t pos = ::lseek((int)m_hFile, 0, SEEK_CUR);
    if (pos < 0) ThrowOsError(errno);
    return (ULONGLONG)pos;
}

ULONGLONG CFile::GetLength() const
{
    if (!IsOpen()) ThrowOsError(EBADF);
    struct stat st;
    if (::fstat((int)m_hFile, &st) != 0) ThrowOsError(errno);
    return (ULONGLONG)st.st_size;
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    if (!IsOpen()) ThrowOsError(EBADF);
    if (::ftruncate((int)m_hFile, (off_t)dwNewLen) != 0) ThrowOsError(errno);
}

void CFile::Flush()
{
    if (IsOpen() && ::fsync((int)m_hFile) != 0 && errno != EINVAL) ThrowOsError(errno);
}

void CFile::Close()
{
    if (!IsOpen()) return;
    const int fd = (int)m_hFile;
    m_hFile = hFileNull;
    if (::close(fd) != 0 && errno != EINTR) ThrowOsError(errno);
}

void CFile::Abort()
{
    if (IsOpen()) ::close((int)m_hFile);
    m_hFile = hFileNull;
}

void CFile::Remove(const char* lpszFileName)
{
    if (::unlink(NativePath(lpszFileName).c_str()) != 0) {
        const int err = errno;
        AfxThrowFileException(CFileException::OsErrorToException(err), err, lpszFileName);
    }
}

void CFile::Rename(const char* lpszOldName, const char* lpszNewName)
{
    if (std::rename(NativePath(lpszOldName).c_str(), NativePath(lpszNewName).c_str()) != 0) {
        const int err = errno;
        AfxThrowFileException(CFileException::OsErrorToException(err), err, lpszOldName);
    }
}
