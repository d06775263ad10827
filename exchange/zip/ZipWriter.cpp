#include "exchange/zip/ZipWriter.h"

#include <zlib.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/crypto/SecretString.h"
#include "core/crypto/SecureZero.h"
#include "core/crypto/SystemRandom.h"
#include "exchange/zip/ZipCrypt.h"
#include "exchange/zip/ZipFormat.h"
#include "exchange/zip/ZipOs.h"

namespace {

std::atomic<uint32_t> g_lastResult{0};

uint32_t Remember(uint32_t result)
{
    g_lastResult = result;
    return result;
}

constexpr uint32_t kBufferSize = 16384;
// The first block's worth of input decides whether deflated data is text.
constexpr uint32_t kTextSample = 32768;

bool IsStoredSuffix(const std::string& name)
{
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    static const char* const kStored[] = {".Z", ".zip", ".zoo", ".arc", ".lzh", ".arj", ".gz", ".tgz"};
    std::string suffix = name.substr(dot);
    for (const char* s : kStored) {
        if (suffix.size() != std::strlen(s)) continue;
        bool same = true;
        for (size_t i = 0; i < suffix.size() && same; ++i) same = (suffix[i] | 0x20) == (s[i] | 0x20);
        if (same) return true;
    }
    return false;
}

// A memory source of no bytes, for ZipAddEmptyFile.
constexpr int kEmptyMemory = 100;

// One entry being written: where its bytes come from and what they are.
struct Source {
    std::unique_ptr<ZipStream> stream;  // file or handle
    const unsigned char* memory = nullptr;
    uint32_t memoryLength = 0, memoryPosition = 0;
    bool folder = false;
    bool sizeKnown = true;
    uint32_t size = 0;
    uint32_t attributes = 0;
    uint16_t dosDate = 0, dosTime = 0;
    uint32_t mtime = 0, atime = 0, ctime = 0;
    // Counted while reading.
    uint32_t bytesRead = 0;
    uint32_t crc = 0;
    bool readError = false;

    uint32_t Read(unsigned char* buffer, uint32_t size)
    {
        uint32_t got = 0;
        if (memory) {
            got = memoryLength - memoryPosition < size ? memoryLength - memoryPosition : size;
            std::memcpy(buffer, memory + memoryPosition, got);
            memoryPosition += got;
        } else if (stream) {
            if (!stream->Read(buffer, size, got)) readError = true;
        }
        crc = ZipCrc32(crc, buffer, got);
        bytesRead += got;
        return got;
    }
};

class CZipWriter {
public:
    ~CZipWriter()
    {
        if (m_deflater) deflateEnd(m_deflater.get());
        if (m_ownsBlock) zvzip::ReleaseBlock(m_block, m_blockSize);
        m_crypt.Wipe();
    }

    uint32_t Create(void* target, uint32_t length, int kind, const char* password);
    uint32_t Add(const char* name, const void* source, uint32_t length, int kind);
    uint32_t GetMemory(void** block, uint32_t* length);
    uint32_t Finish();

private:
    uint32_t OpenSource(Source& src, const void* source, uint32_t length, int kind);
    void Write(const void* data, uint32_t size);
    void WriteData(const unsigned char* data, uint32_t size);
    uint32_t CopyStored(Source& src);
    uint32_t CopyDeflated(Source& src, ZipEntryRecord& entry);

    CSecretString m_password;
    std::unique_ptr<ZipStream> m_output;
    void* m_block = nullptr;
    uint32_t m_blockSize = 0;
    bool m_ownsBlock = false;
    bool m_inMemory = false;
    uint64_t m_start = 0;
    uint32_t m_error = 0;
    uint32_t m_written = 0;
    bool m_canSeek = false;
    bool m_finished = false;
    bool m_encrypting = false;
    CZipCrypt m_crypt;
    std::vector<ZipEntryRecord> m_entries;
    std::unique_ptr<z_stream> m_deflater;
    unsigned char m_in[kBufferSize];
    unsigned char m_out[kBufferSize];
};

uint32_t CZipWriter::Create(void* target, uint32_t length, int kind, const char* password)
{
    if (m_output) return ZR_NOTINITED;
    m_password = password ? password : "";
    if (kind == ZIP_HANDLE) {
        m_output = zvzip::WrapFileHandle(target);
        if (!m_output) return ZR_ARGS;
        m_canSeek = m_output->Tell(m_start);
        if (!m_canSeek) m_start = 0;
        return ZR_OK;
    }
    if (kind == ZIP_FILENAME) {
        if (!target) return ZR_ARGS;
        m_output = zvzip::CreateFileForWrite(static_cast<const char*>(target));
        if (!m_output) return ZR_NOFILE;
        m_canSeek = true;
        return ZR_OK;
    }
    if (kind == ZIP_MEMORY) {
        if (length == 0) return ZR_MEMSIZE;
        if (target) {
            m_block = target;
        } else {
            m_block = zvzip::CreateBlock(length);
            if (!m_block) return ZR_NOALLOC;
            m_ownsBlock = true;
        }
        m_blockSize = length;
        m_inMemory = true;
        m_output = std::make_unique<ZipMemoryStream>(m_block, length);
        m_canSeek = true;
        return ZR_OK;
    }
    return ZR_ARGS;
}

void CZipWriter::Write(const void* data, uint32_t size)
{
    if (m_error) return;
    if (!m_output) {
        m_error = ZR_NOTINITED;
        return;
    }
    if (!m_output->Write(data, size)) {
        m_error = m_inMemory ? ZR_MEMSIZE : ZR_WRITE;
        return;
    }
    m_written += size;
}

void CZipWriter::WriteData(const unsigned char* data, uint32_t size)
{
    if (!m_encrypting) {
        Write(data, size);
        return;
    }
    unsigned char scratch[kBufferSize];
    while (size > 0) {
        uint32_t n = size < kBufferSize ? size : kBufferSize;
        std::memcpy(scratch, data, n);
        m_crypt.Encrypt(scratch, n);
        Write(scratch, n);
        data += n;
        size -= n;
    }
    SecureZero(scratch, sizeof(scratch));
}

uint32_t CZipWriter::OpenSource(Source& src, const void* source, uint32_t length, int kind)
{
    zvzip::LocalNow now = zvzip::CurrentLocalTime();
    auto useNow = [&src, &now]() {
        src.dosDate = ZipDosDate(now.year, now.month, now.day);
        src.dosTime = ZipDosTime(now.hour, now.minute, now.second);
        src.mtime = src.atime = src.ctime = ZipUnixSeconds(now.fileTime);
    };
    if (kind == ZIP_FOLDER) {
        src.folder = true;
        src.size = 0;
        src.attributes = 0x41C00010;
        useNow();
        return ZR_OK;
    }
    if (kind == kEmptyMemory) {
        static const unsigned char kNothing = 0;
        src.memory = &kNothing;
        src.memoryLength = src.size = 0;
        src.attributes = 0x80000000;
        useNow();
        return ZR_OK;
    }
    if (kind == ZIP_MEMORY) {
        if (!source || length == 0) return ZR_ARGS;
        src.memory = static_cast<const unsigned char*>(source);
        src.memoryLength = src.size = length;
        src.attributes = 0x80000000;
        useNow();
        return ZR_OK;
    }
    if (kind == ZIP_FILENAME) {
        if (!source) return ZR_ARGS;
        src.stream = zvzip::OpenFileForRead(static_cast<const char*>(source));
        if (!src.stream) return ZR_NOFILE;
    } else if (kind == ZIP_HANDLE) {
        src.stream = zvzip::WrapFileHandle(const_cast<void*>(source));
        if (!src.stream) return ZR_ARGS;
    } else {
        return ZR_ARGS;
    }
    uint64_t position = 0;
    if (!src.stream->Tell(position)) {
        // Written from where it stands, its size open unless given.
        src.sizeKnown = length != 0;
        src.size = length;
        src.attributes = 0x80000000;
        useNow();
        return ZR_OK;
    }
    ZipFileInfo info;
    if (!src.stream->Info(info) || !src.stream->Seek(0)) return ZR_NOFILE;
    src.size = static_cast<uint32_t>(info.size);
    src.attributes = info.attributes & 0x37;
    src.attributes |= (info.attributes & 0x10) ? 0x40000000 : 0x80000000;
    src.attributes |= 0x1000000;
    if (!(info.attributes & 1)) src.attributes |= 0x800000;
    ZipDosFromFileTime(info.writeTime, src.dosDate, src.dosTime);
    src.mtime = ZipUnixSeconds(info.writeTime);
    src.atime = ZipUnixSeconds(info.accessTime);
    src.ctime = ZipUnixSeconds(info.createTime);
    return ZR_OK;
}

uint32_t CZipWriter::CopyStored(Source& src)
{
    for (;;) {
        uint32_t got = src.Read(m_in, kBufferSize);
        if (src.readError) return ZR_NOFILE;
        if (got == 0) return ZR_OK;
        WriteData(m_in, got);
        if (m_error) return ZR_MISSIZE;
    }
}

uint32_t CZipWriter::CopyDeflated(Source& src, ZipEntryRecord& entry)
{
    if (!m_deflater) {
        m_deflater = std::make_unique<z_stream>();
        std::memset(m_deflater.get(), 0, sizeof(z_stream));
        // Level 8: good 32, lazy 128, nice 258, chain 1024; raw data, 32 KB window.
        if (deflateInit2(m_deflater.get(), 8, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            m_deflater.reset();
            return ZR_FLATE;
        }
    } else if (deflateReset(m_deflater.get()) != Z_OK) {
        return ZR_FLATE;
    }
    z_stream& z = *m_deflater;
    uint32_t counts[256] = {};
    uint32_t sampled = 0;
    uint32_t compressed = 0;
    bool end = false;
    while (!end) {
        uint32_t got = src.Read(m_in, kBufferSize);
        if (src.readError) return ZR_NOFILE;
        end = got == 0;
        for (uint32_t i = 0; i < got && sampled < kTextSample; ++i, ++sampled) ++counts[m_in[i]];
        z.next_in = m_in;
        z.avail_in = got;
        int flush = end ? Z_FINISH : Z_NO_FLUSH;
        int rc;
        do {
            z.next_out = m_out;
            z.avail_out = kBufferSize;
            rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR) return ZR_FLATE;
            uint32_t produced = kBufferSize - z.avail_out;
            WriteData(m_out, produced);
            compressed += produced;
            if (m_error) return m_error;
        } while (z.avail_out == 0 || (end && rc != Z_STREAM_END));
    }
    uint32_t binary = 0, text = 0;
    for (int i = 0; i < 7; ++i) binary += counts[i];
    for (int i = 128; i < 256; ++i) binary += counts[i];
    for (int i = 7; i < 128; ++i) text += counts[i];
    if (binary <= text / 4) entry.internalAttributes |= 1;
    entry.compressedSize += compressed;
    return ZR_OK;
}

uint32_t CZipWriter::Add(const char* name, const void* source, uint32_t length, int kind)
{
    if (m_error) return ZR_FAILED;
    if (m_finished) return ZR_ENDED;
    if (!name || !*name) return ZR_ARGS;
    std::string entryName = name;
    for (char& c : entryName)
        if (c == '\\') c = '/';
    if (kind == ZIP_FOLDER && entryName.back() != '/') entryName += '/';

    Source src;
    uint32_t rc = OpenSource(src, source, length, kind);
    if (rc) return rc;

    ZipEntryRecord entry;
    entry.name = entryName;
    entry.method = (src.folder || IsStoredSuffix(entryName)) ? 0 : 8;
    bool encrypted = !m_password.IsEmpty() && !src.folder;
    entry.flags = encrypted ? 9 : 8;
    if (entry.method == 8) entry.flags |= 2;
    entry.dosDateTime = (uint32_t(src.dosDate) << 16) | src.dosTime;
    entry.mtime = src.mtime;
    entry.atime = src.atime;
    entry.ctime = src.ctime;
    entry.externalAttributes = src.attributes;
    entry.offset = static_cast<uint32_t>(m_start) + m_written;
    entry.crc = 0;
    entry.uncompressedSize = src.sizeKnown ? src.size : 0xFFFFFFFF;
    entry.compressedSize = (entry.method == 0 && src.sizeKnown) ? src.size + (encrypted ? 12 : 0) : 0;
    const uint32_t announcedCompressed = entry.compressedSize;

    std::string header = ZipLocalHeader(entry);
    Write(header.data(), static_cast<uint32_t>(header.size()));
    if (m_error) return ZR_WRITE;

    m_encrypting = false;
    m_crypt.Init(m_password.c_str(), static_cast<size_t>(m_password.GetLength()));
    entry.compressedSize = 0;
    if (encrypted) {
        unsigned char head[12];
        if (!SystemRandomBytes(head, sizeof(head))) {
            // Still unpredictable enough for a header's filler bytes.
            for (int i = 0; i < 12; ++i) head[i] = static_cast<unsigned char>(ZipCrc32(entry.offset + i, head, 12));
        }
        head[11] = static_cast<unsigned char>(src.dosTime >> 8);
        m_crypt.Encrypt(head, sizeof(head));
        Write(head, sizeof(head));
        entry.compressedSize = 12;
        m_encrypting = true;
    }

    if (!src.folder) {
        rc = entry.method == 0 ? CopyStored(src) : CopyDeflated(src, entry);
        if (entry.method == 0) entry.compressedSize += src.bytesRead;
    }
    m_encrypting = false;
    src.stream.reset();
    if (rc) {
        // Half an entry is on the output: nothing more can follow it.
        if (!m_error) m_error = rc;
        return rc;
    }
    if (m_error) return m_error;
    entry.crc = src.crc;
    entry.uncompressedSize = src.bytesRead;

    if (m_canSeek && (!encrypted || src.folder)) {
        entry.flags &= ~8u;
        uint64_t end = m_start + m_written;
        if (!m_output->Seek(entry.offset)) {
            m_error = ZR_SEEK;
            return ZR_SEEK;
        }
        std::string final = ZipLocalHeader(entry);
        uint32_t before = m_written;
        Write(final.data(), static_cast<uint32_t>(final.size()));
        m_written = before;
        if (m_error) return ZR_WRITE;
        if (!m_output->Seek(end)) {
            m_error = ZR_SEEK;
            return ZR_SEEK;
        }
    } else {
        if (entry.method == 0 && entry.compressedSize != announcedCompressed) {
            m_error = ZR_NOCHANGE;
            return ZR_NOCHANGE;
        }
        std::string descriptor = ZipDataDescriptor(entry);
        Write(descriptor.data(), static_cast<uint32_t>(descriptor.size()));
        if (m_error) return ZR_WRITE;
    }
    m_entries.push_back(entry);
    return m_error;
}

uint32_t CZipWriter::Finish()
{
    if (m_finished) return ZR_OK;
    m_finished = true;
    uint32_t directoryStart = static_cast<uint32_t>(m_start) + m_written;
    // A failed output still gets the directory of what it holds, when it can.
    uint32_t earlier = m_error;
    m_error = 0;
    for (const ZipEntryRecord& entry : m_entries) {
        std::string record = ZipCentralRecord(entry);
        Write(record.data(), static_cast<uint32_t>(record.size()));
        if (m_error) break;
    }
    if (!m_error) {
        uint32_t directorySize = static_cast<uint32_t>(m_start) + m_written - directoryStart;
        std::string end = ZipEndRecord(static_cast<uint32_t>(m_entries.size()), directorySize, directoryStart);
        Write(end.data(), static_cast<uint32_t>(end.size()));
    }
    uint32_t result = m_error ? ZR_WRITE : ZR_OK;
    if (!m_error) m_error = earlier;
    return result;
}

uint32_t CZipWriter::GetMemory(void** block, uint32_t* length)
{
    if (!m_inMemory) return ZR_NOTMMAP;
    uint32_t rc = Finish();
    if (rc) return rc;
    if (block) *block = m_block;
    if (length) *length = m_written;
    return ZR_OK;
}

CZipWriter* WriterOf(HZIP hz, uint32_t& rc) { return ZipHandleObject<CZipWriter>(hz, ZIP_HANDLE_WRITER, rc); }

}  // namespace

HZIP CreateZip(void* target, uint32_t length, int kind, const char* password)
{
    auto writer = std::make_unique<CZipWriter>();
    uint32_t rc = writer->Create(target, length, kind, password);
    Remember(rc);
    if (rc) return nullptr;
    return new ZipHandle{ZIP_HANDLE_WRITER, writer.release()};
}

HZIP CreateZipFile(const char* fileName, const char* password)
{
    return CreateZip(const_cast<char*>(fileName), 0, ZIP_FILENAME, password);
}

HZIP CreateZipInMemory(void* block, uint32_t length, const char* password)
{
    return CreateZip(block, length, ZIP_MEMORY, password);
}

uint32_t ZipAdd(HZIP hz, const char* name, const void* source, uint32_t length, int kind)
{
    uint32_t rc;
    CZipWriter* writer = WriterOf(hz, rc);
    if (!writer) return Remember(rc);
    return Remember(writer->Add(name, source, length, kind));
}

uint32_t ZipAddFile(HZIP hz, const char* name, const char* fileName)
{
    return ZipAdd(hz, name, fileName, 0, ZIP_FILENAME);
}

uint32_t ZipAddMemory(HZIP hz, const char* name, const void* block, uint32_t length)
{
    return ZipAdd(hz, name, block, length, ZIP_MEMORY);
}

uint32_t ZipAddFolder(HZIP hz, const char* name) { return ZipAdd(hz, name, nullptr, 0, ZIP_FOLDER); }

uint32_t ZipAddEmptyFile(HZIP hz, const char* name) { return ZipAdd(hz, name, nullptr, 0, kEmptyMemory); }

uint32_t ZipGetMemory(HZIP hz, void** block, uint32_t* length)
{
    uint32_t rc;
    CZipWriter* writer = WriterOf(hz, rc);
    if (!writer) return Remember(rc);
    return Remember(writer->GetMemory(block, length));
}

uint32_t CloseZip(HZIP hz)
{
    uint32_t rc;
    CZipWriter* writer = WriterOf(hz, rc);
    if (!writer) return Remember(rc);
    rc = writer->Finish();
    delete writer;
    delete hz;
    return Remember(rc);
}

uint32_t LastZipResult() { return g_lastResult; }
