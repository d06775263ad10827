#pragma once
// The system calls behind the zip writer and reader. ZipOsWin.cpp serves the
// windows build (file handles are HANDLEs), ZipOsHost.cpp the host build
// (file handles are FILE pointers). Paths may be written with backslashes.
#include <cstdint>
#include <memory>
#include <string>

#include "exchange/zip/ZipStream.h"

namespace zvzip {

// An existing file opened for reading, shared with readers; null when it cannot be.
std::unique_ptr<ZipStream> OpenFileForRead(const std::string& path);
// A file created or truncated for writing without sharing; null when it cannot be.
std::unique_ptr<ZipStream> CreateFileForWrite(const std::string& path);
// Like CreateFileForWrite, replacing any file, with the given DOS attribute bits.
std::unique_ptr<ZipStream> CreateFileForExtract(const std::string& path, uint32_t attributes);
// A caller's open file handle; the stream never closes it.
std::unique_ptr<ZipStream> WrapFileHandle(void* handle);

// A new zero-filled block of memory of the system's paging kind; null when
// it cannot be made. Released with ReleaseBlock.
void* CreateBlock(uint32_t size);
void ReleaseBlock(void* block, uint32_t size);

// The current local time: calendar fields and, for the "UT" times, the
// system file time of that moment.
struct LocalNow {
    int year, month, day, hour, minute, second;
    uint64_t fileTime;
};
LocalNow CurrentLocalTime();
// A DOS date and time read as local time, as a system file time (UTC).
uint64_t LocalDosToFileTime(uint16_t dosDate, uint16_t dosTime);

// Creates a folder and its missing parents; true when it exists afterwards.
bool CreateFolders(const std::string& path);
// The process's current folder ending in a separator.
std::string CurrentFolderWithSeparator();

}  // namespace zvzip
