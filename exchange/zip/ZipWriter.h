#pragma once
// The zip writer: archives of PKWARE's zip format (stored or deflated
// entries, optional traditional encryption, data descriptors, central
// directory) written to a file it creates, a caller's open file handle or a
// block of memory. Handle-based, with the result codes of ZipHandle.h; the
// result of the latest call is kept for LastZipResult.
#include <cstdint>

#include "exchange/zip/ZipHandle.h"

// Kinds of target (CreateZip) and source (ZipAdd).
enum : int { ZIP_HANDLE = 1, ZIP_FILENAME = 2, ZIP_MEMORY = 3, ZIP_FOLDER = 4 };

// Kind 1: an open file handle (the archive starts at its position); kind 2: a
// file name; kind 3: a memory block of length bytes, or with no target a new
// block of that length. Null on failure, the reason in LastZipResult. An
// empty or null password writes no encryption.
HZIP CreateZip(void* target, uint32_t length, int kind, const char* password);
HZIP CreateZipFile(const char* fileName, const char* password);
HZIP CreateZipInMemory(void* block, uint32_t length, const char* password);

// Adds one entry. Kind 1: an open file handle (length, when not 0, the size
// of one that cannot seek); kind 2: a file name; kind 3: a memory block of
// length bytes; kind 4: a folder (no source).
uint32_t ZipAdd(HZIP hz, const char* name, const void* source, uint32_t length, int kind);
uint32_t ZipAddFile(HZIP hz, const char* name, const char* fileName);
uint32_t ZipAddMemory(HZIP hz, const char* name, const void* block, uint32_t length);
uint32_t ZipAddFolder(HZIP hz, const char* name);
// An entry of no bytes, as a copied archive may hold (a memory block must not be empty).
uint32_t ZipAddEmptyFile(HZIP hz, const char* name);

// Finishes a memory archive when not yet finished and gives its block and
// the number of bytes written.
uint32_t ZipGetMemory(HZIP hz, void** block, uint32_t* length);
// Finishes the archive when not yet finished, closes what the writer opened
// and frees the handle; the finishing result.
uint32_t CloseZip(HZIP hz);

uint32_t LastZipResult();
