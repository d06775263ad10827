#pragma once
// The framework's exceptions. They are thrown by value and caught by
// reference (catch (const CFileException& e)); there is nothing to delete.
// Callers at file and archive boundaries turn them into return codes.

#include <exception>

#include "framework/CString.h"

class CException : public std::exception {
public:
    const char* what() const noexcept override { return "framework exception"; }
};

// Storage could not be had.
class CMemoryException : public CException {
public:
    const char* what() const noexcept override { return "out of memory"; }
};

// A programming error: an argument outside what the operation accepts.
class CInvalidArgException : public CException {
public:
    const char* what() const noexcept override { return "invalid argument"; }
};

class CNotSupportedException : public CException {
public:
    const char* what() const noexcept override { return "not supported"; }
};

class CFileException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    CFileException() = default;
    CFileException(int cause, long lOsError = -1, const char* pszFileName = nullptr)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(pszFileName)
    {}
    const char* what() const noexcept override { return "file exception"; }

    // The cause that stands for a system error code (errno on the host).
    static int OsErrorToException(long lOsError);

    int m_cause = none;
    long m_lOsError = -1;  // the system's error code, -1 when there is none
    CString m_strFileName;
};

class CArchiveException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        readOnly = 2,    // tried to write into an archive opened for loading
        endOfFile = 3,   // the data ended before the value being read
        writeOnly = 4,   // tried to read from an archive opened for storing
        badIndex = 5,    // an object or class index that was never assigned
        badClass = 6,    // an unknown class, or an object of the wrong class
        badSchema = 7,   // a schema the class cannot read
        bufferFull = 8,  // too many objects for one archive
    };

    CArchiveException() = default;
    explicit CArchiveException(int cause, const char* pszFileName = nullptr)
        : m_cause(cause), m_strFileName(pszFileName)
    {}
    const char* what() const noexcept override { return "archive exception"; }

    int m_cause = none;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowFileException(int cause, long lOsError = -1, const char* pszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, const char* pszFileName = nullptr);
