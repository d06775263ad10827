#pragma once
// The few operating-system calls behind the portable file helpers. Paths are
// written with backslashes; the host implementation maps them to slashes.
// FileSystemOsWin.cpp serves the windows build, FileSystemOsHost.cpp the host.
#include <cstdint>
#include <string>

namespace zvos {

// Whole-file reads hold the file in memory: a file larger than this is
// refused rather than read (or cut).
constexpr uint64_t kMaxWholeFileBytes = 128ull << 20;
// The error code of that refusal: the system's ERROR_FILE_TOO_LARGE, the
// same number in both builds.
constexpr int kErrorFileTooLarge = 223;

// The run-time's existence test (files and folders).
bool AccessExists(const std::string& path);
// True when the system reports attributes for the path.
bool HasAttributes(const std::string& path);
// Creates one folder level; 0 or the system error code.
int MakeDirectory(const std::string& path);
// Opens an existing file for no access with read and write sharing and reads
// the low 32 bits of its size. False when it cannot be opened.
bool QueryFileSize(const std::string& path, uint32_t& size);
// Whole contents of a file opened read-only with all sharing. 0, -1 when it
// cannot be opened or a read fails (bytes then holds what was read), or
// kErrorFileTooLarge, with bytes empty, for a file over kMaxWholeFileBytes.
int ReadWholeFile(const std::string& path, std::string& bytes);
// Copies a file over any file at the destination. False on failure, and when
// both paths name the same file.
bool CopyFileOverwrite(const std::string& source, const std::string& destination);
// Creates a file that must not exist yet, writes the bytes and flushes them to
// the disk. 0; else the system error code (the one for "file exists" when
// something is at the path, which is then left alone); a file that could not
// be written completely is removed.
int WriteNewFile(const std::string& path, const std::string& bytes);
// Deletes one file. False when it could not be deleted.
bool DeleteFileAt(const std::string& path);
// The path as the system's file calls take it (the host uses slashes).
std::string NativePath(const std::string& path);
// Puts the file at source in place of the one at destination in one step
// (a reader sees the old file or the new one, never a mix), written through
// to the disk. 0, or the system error code with both files as they were.
int ReplaceFileAtomically(const std::string& source, const std::string& destination);
// The process's current directory; empty on failure.
std::string CurrentDirectory();
// Full path of the running executable; empty on failure.
std::string ExecutablePath();

}  // namespace zvos
