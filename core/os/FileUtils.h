#pragma once
// Portable file and folder helpers. Failures come back as results (false, 0,
// -1 or a system error code), never as exceptions or messages.
#include "framework/CString.h"

// Folder of the running executable, with its trailing backslash.
CString GetAppDirectory();
// The process's current directory.
CString GetCurrentDirectoryPath();

// The run-time's existence test: true for files and folders.
bool FileExists(const CString& path);
// True when the system reports attributes for the path.
bool PathExists(const CString& path);
// Creates every missing folder of the path from the left. 0 when the whole
// path exists afterwards, else the system error of the creation that failed.
int CreateFolderPath(const CString& path);

// Size of an existing file (low 32 bits); 0 when it cannot be opened.
unsigned int GetFileSizeOfPath(const CString& path);
// Reads a whole file into text, cut at the first zero byte. Double quotes
// around the path are dropped first. 0, -1 when it cannot be read, or
// zvos::kErrorFileTooLarge (text empty) for a file over
// zvos::kMaxWholeFileBytes (core/os/FileSystemOs.h).
int ReadTextFile(const CString& path, CString& text);
// The file's size as "%ld Bytes", "x.xx KB" or "x.xx MB"; a missing file
// counts as 0 bytes.
CString FormatFileSizeText(const CString& path);
