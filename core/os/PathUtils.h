#pragma once
// Pure text helpers for paths. Paths use backslashes; no file system access.
#include "framework/CString.h"

// first + second with exactly one backslash between them when both are
// non-empty and neither brings one of its own.
CString JoinPath(const CString& first, const CString& second);

// Cuts the folder part off the path: path keeps name plus extension, folder
// (when given) receives the folder part with or without its trailing
// separator. A path without a folder part is left alone and folder is not
// written.
void SplitPath(CString& path, CString* folder, bool keepBackslash);

CString GetFileNameOfPath(const CString& path);

// The text before the last backslash (empty when there is none); with the
// flag a backslash is always appended.
CString GetDirectoryOfPath(const CString& path, bool trailingBackslash);

// Removes the last extension. False when there is none to remove (no dot, a
// backslash after the last dot, or the only dot starts the text). An empty
// path gives true.
bool StripExtension(CString& path);

// The text after the last dot of the file name; empty when there is none.
CString GetExtensionOfPath(const CString& path);

// Replaces each character Windows forbids in file names with an underscore.
CString MakeSafeFileName(const CString& text);

// "1024 Bytes", "1.00 KB", "1.00 MB": the size text of FormatFileSizeText,
// with the two decimals cut, not rounded.
CString FormatByteSizeText(unsigned int size);
