#pragma once
// The handle shared by the zip writer (ZipWriter.h) and reader (ZipReader.h):
// a kind tag and the module's own object. Both modules answer with numeric
// result codes, 0 for success, and keep the result of their latest call.
#include <cstdint>

enum : int { ZIP_HANDLE_READER = 1, ZIP_HANDLE_WRITER = 2 };

struct ZipHandle {
    int kind;
    void* object;
};
typedef ZipHandle* HZIP;

// Codes both modules give.
enum : uint32_t {
    ZR_OK = 0,
    ZR_NOFILE = 0x200,         // a file cannot be opened or created, or its information read
    ZR_NOALLOC = 0x300,        // the memory block cannot be made
    ZR_WRITE = 0x400,          // writing failed
    ZR_MORE = 0x600,           // more data of the entry remains
    ZR_CORRUPT = 0x700,        // the entry's local header cannot be checked
    ZR_READ = 0x800,           // the entry's local extra field cannot be read
    ZR_PASSWORD = 0x1000,      // the entry's data does not decrypt
    ZR_ARGS = 0x10000,         // bad arguments
    ZR_NOTMMAP = 0x20000,      // the archive is not in memory
    ZR_MEMSIZE = 0x30000,      // a memory block of size 0, or data that does not fit it
    ZR_FAILED = 0x40000,       // an earlier error stopped the writer
    ZR_ENDED = 0x50000,        // the archive is already finished
    ZR_MISSIZE = 0x60000,      // a stored entry's data cannot be written completely
    ZR_ZMODE = 0x80000,        // the handle belongs to the other module
    ZR_NOTINITED = 0x1000000,  // already has a target or an open archive, or has no output
    ZR_SEEK = 0x2000000,       // cannot seek
    ZR_NOCHANGE = 0x4000000,   // an entry cannot be completed on an output that cannot seek
    ZR_FLATE = 0x5000000,      // the data cannot be compressed or decompressed
};

// The module's object behind a handle of the given kind; null with ZR_ARGS
// for no handle and ZR_ZMODE for the other module's, else rc is ZR_OK.
template <class T> T* ZipHandleObject(HZIP hz, int kind, uint32_t& rc)
{
    if (!hz) {
        rc = ZR_ARGS;
        return nullptr;
    }
    if (hz->kind != kind) {
        rc = ZR_ZMODE;
        return nullptr;
    }
    rc = ZR_OK;
    return static_cast<T*>(hz->object);
}
