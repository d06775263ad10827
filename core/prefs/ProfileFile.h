#pragma once
// The preferences file through the system's private-profile functions, one
// call per value: nothing is cached, so every reader of the file sees each
// write at once. Without a file name the system would turn to a file of its
// own choosing: with an empty path everything reads absent and nothing is
// written.
#include <string>

#include "framework/CString.h"

namespace zvini {

// The reader's text limit: longer values come back cut.
const int kTextBufferSize = 260;

// The value of a key; empty when absent.
CString ReadText(const CString& path, const char* section, const char* key, int bufferSize = kTextBufferSize);
// A folder's path read in full; absent when longer than any path can be.
CString ReadFolder(const CString& path, const char* section, const char* key);
// A null key removes the whole section, a null value the key.
bool WriteText(const CString& path, const char* section, const char* key, const char* value);

// The number at the start of the value, as the system's profile reader takes
// it; absent for an absent or empty value.
int ReadInt(const CString& path, const char* section, const char* key, int absent);
void WriteInt(const CString& path, const char* section, const char* key, int value);

// A block in the file's block form; false (out untouched) when absent or
// damaged.
bool ReadBlock(const CString& path, const char* section, const char* key, void* out, int size);
bool WriteBlock(const CString& path, const char* section, const char* key, const void* data, int size);
// A 32-bit number as a 4-byte block, lowest byte first.
int ReadBlockInt(const CString& path, const char* section, const char* key, int absent);
void WriteBlockInt(const CString& path, const char* section, const char* key, int value);

// Every section name, and a whole section's "key=value" lines, each as its
// run of zero-terminated texts, whatever the size up to a cap (a seam,
// SetProfileListCap). 0, or kProfileListTooLarge (core/prefs/ProfileList.h)
// with nothing read.
int ReadSectionNameList(const CString& path, std::string& names);
int ReadSectionLines(const CString& path, const char* section, std::string& lines);

}  // namespace zvini
