#pragma once
// ZipStream: the byte stream under the zip writer and reader: a file, an open
// file handle of the caller's or a block of memory. The file kinds come from
// ZipOs.h (the system's files in each build); the memory kind is here.
#include <cstdint>
#include <memory>

// What the file system tells about an open file. Times are system file times
// (100 ns units since 1601, UTC).
struct ZipFileInfo {
    uint32_t attributes = 0;  // DOS attribute bits: 1 read-only, 2 hidden, 4 system, 0x10 folder, 0x20 archive
    uint64_t size = 0;
    uint64_t writeTime = 0;
    uint64_t accessTime = 0;
    uint64_t createTime = 0;
};

class ZipStream {
public:
    virtual ~ZipStream() = default;
    // Up to size bytes; got says how many (0 at the end). False on an error.
    virtual bool Read(void* buffer, uint32_t size, uint32_t& got) = 0;
    // All of the bytes or false.
    virtual bool Write(const void* buffer, uint32_t size) = 0;
    // False when the position cannot be read: the stream cannot seek.
    virtual bool Tell(uint64_t& position) = 0;
    virtual bool Seek(uint64_t position) = 0;
    // False when the stream is no file or its information cannot be read.
    virtual bool Info(ZipFileInfo& info) { return false; }
    // The whole length; false when it cannot be told.
    virtual bool Length(uint64_t& length)
    {
        ZipFileInfo info;
        if (!Info(info)) return false;
        length = info.size;
        return true;
    }
    // Sets the three times of a file written by the reader; false when it cannot.
    virtual bool SetTimes(uint64_t createTime, uint64_t accessTime, uint64_t writeTime) { return false; }
};

// A block of memory of a fixed size: reads and writes stop at its end.
class ZipMemoryStream : public ZipStream {
public:
    ZipMemoryStream(const void* data, uint32_t size)
        : m_data(static_cast<unsigned char*>(const_cast<void*>(data))), m_size(size)
    {}
    bool Read(void* buffer, uint32_t size, uint32_t& got) override;
    bool Write(const void* buffer, uint32_t size) override;
    bool Tell(uint64_t& position) override
    {
        position = m_position;
        return true;
    }
    bool Seek(uint64_t position) override;
    bool Length(uint64_t& length) override
    {
        length = m_size;
        return true;
    }

private:
    unsigned char* m_data;
    uint32_t m_size;
    uint32_t m_position = 0;
};
