// Portable parts of CFile; the system calls are in CFileWin.cpp / CFileHost.cpp.
#include "framework/CFile.h"

#include <algorithm>

#include "framework/CException.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile() = default;

CFile::CFile(const char* lpszFileName, UINT nOpenFlags)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e)) throw e;
}

CFile::~CFile()
{
    if (IsOpen()) Abort();
}

CString CFile::GetFileName() const
{
    const int slash = std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'));
    return m_strFileName.Mid(slash + 1);
}
