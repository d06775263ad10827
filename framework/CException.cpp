#include "framework/CException.h"

void AfxThrowMemoryException() { throw CMemoryException(); }
void AfxThrowInvalidArgException() { throw CInvalidArgException(); }
void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
void AfxThrowFileException(int cause, long lOsError, const char* pszFileName)
{
    throw CFileException(cause, lOsError, pszFileName);
}
void AfxThrowArchiveException(int cause, const char* pszFileName) { throw CArchiveException(cause, pszFileName); }
