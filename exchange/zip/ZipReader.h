#pragma once
// The zip reader: lists the entries of an archive and extracts them to files,
// open file handles or memory, over minizip, with the handle and result codes
// of ZipHandle.h; the result of the latest call is kept for LastUnzipResult.
#include <cstdint>

#include "exchange/zip/ZipHandle.h"

// Kinds of source (OpenZipReader) and target (UnzipItem).
enum : int { UNZIP_HANDLE = 1, UNZIP_FILENAME = 2, UNZIP_MEMORY = 3 };

struct ZipEntryInfo {
    int index;            // for index -1: the number of entries
    char name[260];       // cleaned: never leaves the folder it is extracted to
    uint32_t attributes;  // 1 read-only, 2 hidden, 4 system, 0x10 folder, 0x20 archive
    uint64_t accessTime;  // system file times (UTC)
    uint64_t createTime;
    uint64_t writeTime;
    uint64_t compressedSize;
    uint64_t uncompressedSize;
};

// Kind 1: an open file handle that can seek; kind 2: a file name; kind 3: a
// memory block of length bytes (kept by the caller while the reader lives).
// Null on failure, the reason in LastUnzipResult.
HZIP OpenZipReader(const void* source, uint32_t length, int kind, const char* password);
HZIP OpenZipReaderFile(const char* fileName, const char* password);

// Index -1 describes the archive, 0 to count - 1 an entry.
uint32_t GetZipReaderItem(HZIP hz, int index, ZipEntryInfo* entry);
// Kind 1: to an open file handle; kind 2: to a file of that name (under the
// current folder taken at opening unless absolute); kind 3: into a memory
// block of length bytes, continued by the next call while 0x600 says more remains.
uint32_t UnzipItem(HZIP hz, int index, void* target, uint32_t length, int kind);
// got, when given, receives the number of bytes this call put in the block.
uint32_t UnzipItemToMemory(HZIP hz, int index, void* block, uint32_t length, uint32_t* got = nullptr);
uint32_t CloseZipReader(HZIP hz);
bool IsZipReaderHandle(HZIP hz);

uint32_t LastUnzipResult();
