#include "exchange/zip/ZipReader.h"

#include <minizip/unzip.h>
#include <zlib.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/crypto/SecretString.h"
#include "exchange/zip/ZipCrypt.h"
#include "exchange/zip/ZipFormat.h"
#include "exchange/zip/ZipNames.h"
#include "exchange/zip/ZipOs.h"

namespace {

std::atomic<uint32_t> g_lastResult{0};

uint32_t Remember(uint32_t result)
{
    g_lastResult = result;
    return result;
}

constexpr uint32_t kBufferSize = 16384;

// minizip reads through these, over the reader's stream (passed as the "file name").
voidpf ZCALLBACK StreamOpen(voidpf, const void* stream, int) { return const_cast<void*>(stream); }

uLong ZCALLBACK StreamRead(voidpf, voidpf stream, void* buffer, uLong size)
{
    uint32_t got = 0;
    if (size > 0xffffffffu) size = 0xffffffffu;
    if (!static_cast<ZipStream*>(stream)->Read(buffer, static_cast<uint32_t>(size), got)) return 0;
    return got;
}

uLong ZCALLBACK StreamWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK StreamTell(voidpf, voidpf stream)
{
    uint64_t position = 0;
    if (!static_cast<ZipStream*>(stream)->Tell(position)) return static_cast<ZPOS64_T>(-1);
    return position;
}

long ZCALLBACK StreamSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    ZipStream* s = static_cast<ZipStream*>(stream);
    uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
        if (!s->Tell(base)) return -1;
    } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
        if (!s->Length(base)) return -1;
    } else if (origin != ZLIB_FILEFUNC_SEEK_SET) {
        return -1;
    }
    if (offset > UINT64_MAX - base) return -1;
    return s->Seek(base + offset) ? 0 : -1;
}

int ZCALLBACK StreamClose(voidpf, voidpf) { return 0; }
int ZCALLBACK StreamError(voidpf, voidpf) { return 0; }

bool IsAbsolute(const std::string& path)
{
    if (path.empty()) return false;
    if (path[0] == '\\' || path[0] == '/') return true;
    return path.size() >= 2 && path[1] == ':';
}

class CZipReader {
public:
    ~CZipReader()
    {
        if (m_inflater) inflateEnd(m_inflater.get());
        m_crypt.Wipe();
        if (m_zip) {
            if (m_openIndex >= 0) unzCloseCurrentFile(m_zip);
            unzClose(m_zip);
        }
    }

    uint32_t Open(const void* source, uint32_t length, int kind, const char* password);
    uint32_t Describe(int index, ZipEntryInfo& entry);
    uint32_t Unzip(int index, void* target, int kind);
    uint32_t ToMemory(int index, void* block, uint32_t length, uint32_t* got);

private:
    uint32_t WalkTo(int index);
    void CloseOpenEntry();
    uint32_t OpenEntryForReading(int index);
    uint32_t CopyEntryTo(ZipStream& out);
    // Up to size bytes of the open entry, decrypted and inflated; 0 at its
    // end, -1 with rc set on failure.
    int ReadOpen(unsigned char* out, uint32_t size, uint32_t& rc);
    int ReadRaw(uint32_t& rc);
    bool OpenEntryAtEnd() const;
    // Closes the entry read to its end: 0 when it was whole and sound.
    uint32_t CloseAtEnd();
    uint32_t ReadError(bool encrypted) const { return encrypted ? ZR_PASSWORD : ZR_FLATE; }

    std::unique_ptr<ZipStream> m_source;
    unzFile m_zip = nullptr;
    int m_count = 0;
    int m_position = -1;  // minizip's current entry, -1 before the first walk
    int m_openIndex = -1;
    bool m_openEncrypted = false;
    // Bytes given out of the open entry, against the size its header declares.
    uint64_t m_openRead = 0;
    uint64_t m_openExpected = 0;
    int m_openMethod = 0;
    uint32_t m_openCrc = 0;
    uint32_t m_expectedCrc = 0;
    uint64_t m_rawLeft = 0;
    bool m_streamEnd = false;
    CZipCrypt m_crypt;
    std::unique_ptr<z_stream> m_inflater;
    std::vector<unsigned char> m_raw;
    CSecretString m_password;
    int m_cachedIndex = -1;
    ZipEntryInfo m_cached{};
    std::vector<unsigned char> m_buffer;
    std::string m_root;
};

uint32_t CZipReader::Open(const void* source, uint32_t length, int kind, const char* password)
{
    if (m_zip) return ZR_NOTINITED;
    m_root = zvzip::CurrentFolderWithSeparator();
    if (kind == UNZIP_HANDLE) {
        m_source = zvzip::WrapFileHandle(const_cast<void*>(source));
        if (!m_source) return ZR_ARGS;
        uint64_t position;
        if (!m_source->Tell(position)) return ZR_SEEK;
    } else if (kind == UNZIP_FILENAME) {
        if (!source) return ZR_ARGS;
        m_source = zvzip::OpenFileForRead(static_cast<const char*>(source));
        if (!m_source) return ZR_NOFILE;
    } else if (kind == UNZIP_MEMORY) {
        if (!source) return ZR_ARGS;
        m_source = std::make_unique<ZipMemoryStream>(source, length);
    } else {
        return ZR_ARGS;
    }
    m_password = password ? password : "";
    zlib_filefunc64_def io = {StreamOpen, StreamRead,  StreamWrite, StreamTell,
                              StreamSeek, StreamClose, StreamError, nullptr};
    m_zip = unzOpen2_64(m_source.get(), &io);
    if (!m_zip) return ZR_NOFILE;
    unz_global_info64 gi;
    if (unzGetGlobalInfo64(m_zip, &gi) != UNZ_OK) return ZR_NOFILE;
    // Entries are walked one by one, never allocated by this count.
    m_count = gi.number_entry > 0x7fffffff ? 0x7fffffff : static_cast<int>(gi.number_entry);
    return ZR_OK;
}

void CZipReader::CloseOpenEntry()
{
    if (m_openIndex >= 0) unzCloseCurrentFile(m_zip);
    m_openIndex = -1;
}

uint32_t CZipReader::WalkTo(int index)
{
    if (m_position < 0 || index < m_position) {
        m_position = -1;
        if (unzGoToFirstFile(m_zip) != UNZ_OK) return ZR_CORRUPT;
        m_position = 0;
    }
    while (m_position < index) {
        if (unzGoToNextFile(m_zip) != UNZ_OK) {
            m_position = -1;
            return ZR_CORRUPT;
        }
        ++m_position;
    }
    return ZR_OK;
}

uint32_t CZipReader::Describe(int index, ZipEntryInfo& entry)
{
    CloseOpenEntry();
    if (index == -1) {
        std::memset(&entry, 0, sizeof(entry));
        entry.index = m_count;
        return ZR_OK;
    }
    if (index < 0 || index >= m_count) return ZR_ARGS;
    if (index == m_cachedIndex) {
        entry = m_cached;
        return ZR_OK;
    }
    m_cachedIndex = -1;
    uint32_t rc = WalkTo(index);
    if (rc) return rc;
    unz_file_info64 info;
    char stored[261];
    if (unzGetCurrentFileInfo64(m_zip, &info, stored, 260, nullptr, 0, nullptr, 0) != UNZ_OK) return ZR_CORRUPT;
    stored[260] = 0;
    // The local header must agree; its extra field may carry the "UT" times.
    int method = 0, level = 0;
    if (unzOpenCurrentFile2(m_zip, &method, &level, 1) != UNZ_OK) return ZR_CORRUPT;
    unsigned char extra[0x10000];
    int extraLength = unzGetLocalExtrafield(m_zip, extra, sizeof(extra));
    unzCloseCurrentFile(m_zip);
    if (extraLength < 0) return ZR_READ;

    std::memset(&entry, 0, sizeof(entry));
    entry.index = index;
    std::string name = ZipCleanEntryName(stored);
    // A name stored without a final separator is a file's, and cleaning
    // ("ok/.." to "ok/") must not make it a folder's.
    const size_t storedLength = std::strlen(stored);
    if (storedLength > 0 && stored[storedLength - 1] != '/' && stored[storedLength - 1] != '\\') {
        while (!name.empty() && (name.back() == '/' || name.back() == '\\')) name.pop_back();
    }
    std::strncpy(entry.name, name.c_str(), sizeof(entry.name) - 1);

    uint32_t host = info.version >> 8;
    uint32_t external = static_cast<uint32_t>(info.external_fa);
    if (host == 0 || host == 7 || host == 11 || host == 14) {
        entry.attributes = external & 0x37;
    } else {
        entry.attributes = 0x20;
        if (!(external & 0x800000)) entry.attributes |= 1;
        if (external & 0x40000000) entry.attributes |= 0x10;
    }

    uint16_t dosDate = static_cast<uint16_t>(info.dosDate >> 16), dosTime = static_cast<uint16_t>(info.dosDate);
    entry.writeTime = entry.accessTime = entry.createTime = zvzip::LocalDosToFileTime(dosDate, dosTime);
    for (int at = 0; at + 4 <= extraLength;) {
        unsigned id = extra[at] | (extra[at + 1] << 8);
        int size = extra[at + 2] | (extra[at + 3] << 8);
        int body = at + 4;
        if (body + size > extraLength) break;
        if (id == 0x5455 && size >= 1) {
            unsigned flags = extra[body];
            int p = body + 1;
            uint64_t* targets[3] = {&entry.writeTime, &entry.accessTime, &entry.createTime};
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1u << bit))) continue;
                if (p + 4 > body + size) break;
                uint32_t seconds =
                    extra[p] | (extra[p + 1] << 8) | (extra[p + 2] << 16) | (uint32_t(extra[p + 3]) << 24);
                *targets[bit] = ZipFileTimeFromUnix(seconds);
                p += 4;
            }
        }
        at = body + size;
    }
    entry.compressedSize = info.compressed_size;
    entry.uncompressedSize = info.uncompressed_size;
    m_cached = entry;
    m_cachedIndex = index;
    return ZR_OK;
}

uint32_t CZipReader::OpenEntryForReading(int index)
{
    ZipEntryInfo entry;
    uint32_t rc = Describe(index, entry);
    if (rc) return rc;
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return ZR_CORRUPT;
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) return ZR_FLATE;
    bool encrypted = (info.flag & 1) != 0;
    if (encrypted && m_password.IsEmpty()) return ZR_PASSWORD;
    // The entry's bytes are read as they are stored; decryption and
    // inflation are ours, the same in every build of minizip.
    if (unzOpenCurrentFile2(m_zip, nullptr, nullptr, 1) != UNZ_OK) return ZR_CORRUPT;
    m_openIndex = index;
    m_openEncrypted = encrypted;
    m_openMethod = static_cast<int>(info.compression_method);
    m_openRead = 0;
    m_openExpected = info.uncompressed_size;
    m_openCrc = 0;
    m_expectedCrc = static_cast<uint32_t>(info.crc);
    m_rawLeft = info.compressed_size;
    m_streamEnd = false;
    if (encrypted) {
        unsigned char head[12];
        int n = unzReadCurrentFile(m_zip, head, sizeof(head));
        if (n != 12) {
            CloseOpenEntry();
            return ZR_PASSWORD;
        }
        m_rawLeft -= 12;
        m_crypt.Init(m_password.c_str(), static_cast<size_t>(m_password.GetLength()));
        m_crypt.Decrypt(head, sizeof(head));
        // The twelfth byte checks the password: the CRC's high byte, or the
        // time's when a data descriptor follows.
        unsigned char check = (info.flag & 8) ? static_cast<unsigned char>(info.dosDate >> 8)
                                              : static_cast<unsigned char>(info.crc >> 24);
        if (head[11] != check) {
            CloseOpenEntry();
            return ZR_PASSWORD;
        }
    }
    if (m_openMethod == Z_DEFLATED) {
        if (!m_inflater) {
            m_inflater = std::make_unique<z_stream>();
            std::memset(m_inflater.get(), 0, sizeof(z_stream));
            if (inflateInit2(m_inflater.get(), -15) != Z_OK) {
                m_inflater.reset();
                CloseOpenEntry();
                return ZR_FLATE;
            }
        } else if (inflateReset(m_inflater.get()) != Z_OK) {
            CloseOpenEntry();
            return ZR_FLATE;
        }
        m_inflater->avail_in = 0;
    }
    if (m_raw.empty()) m_raw.resize(kBufferSize);
    return ZR_OK;
}

int CZipReader::ReadRaw(uint32_t& rc)
{
    int n = unzReadCurrentFile(m_zip, m_raw.data(), kBufferSize);
    if (n < 0) {
        rc = ReadError(m_openEncrypted);
        return -1;
    }
    if (m_openEncrypted) m_crypt.Decrypt(m_raw.data(), static_cast<size_t>(n));
    m_rawLeft -= static_cast<uint64_t>(n) <= m_rawLeft ? static_cast<uint64_t>(n) : m_rawLeft;
    return n;
}

int CZipReader::ReadOpen(unsigned char* out, uint32_t size, uint32_t& rc)
{
    rc = ZR_OK;
    if (size == 0) return 0;
    uint32_t produced = 0;
    if (m_openMethod == 0) {
        int n = unzReadCurrentFile(m_zip, out, size);
        if (n < 0) {
            rc = ReadError(m_openEncrypted);
            return -1;
        }
        if (m_openEncrypted) m_crypt.Decrypt(out, static_cast<size_t>(n));
        m_rawLeft -= static_cast<uint64_t>(n) <= m_rawLeft ? static_cast<uint64_t>(n) : m_rawLeft;
        produced = static_cast<uint32_t>(n);
    } else {
        if (m_streamEnd) return 0;
        z_stream& z = *m_inflater;
        z.next_out = out;
        z.avail_out = size;
        while (z.avail_out > 0 && !m_streamEnd) {
            if (z.avail_in == 0) {
                int n = ReadRaw(rc);
                if (n < 0) return -1;
                if (n == 0) {
                    // The data ends before the compressed stream does.
                    if (z.avail_out < size) break;
                    rc = ReadError(m_openEncrypted);
                    return -1;
                }
                z.next_in = m_raw.data();
                z.avail_in = static_cast<uInt>(n);
            }
            int zr = inflate(&z, Z_NO_FLUSH);
            if (zr == Z_STREAM_END) {
                m_streamEnd = true;
            } else if (zr != Z_OK) {
                rc = ReadError(m_openEncrypted);
                return -1;
            }
        }
        produced = size - z.avail_out;
    }
    m_openCrc = ZipCrc32(m_openCrc, out, produced);
    m_openRead += produced;
    // Never more than the entry declares: a damaged size stops here.
    if (m_openRead > m_openExpected) {
        rc = ReadError(m_openEncrypted);
        return -1;
    }
    return static_cast<int>(produced);
}

bool CZipReader::OpenEntryAtEnd() const
{
    return m_openMethod == 0 ? m_rawLeft == 0 || m_openRead == m_openExpected : m_streamEnd;
}

uint32_t CZipReader::CopyEntryTo(ZipStream& out)
{
    if (m_buffer.empty()) m_buffer.resize(kBufferSize);
    for (;;) {
        uint32_t rc = ZR_OK;
        int n = ReadOpen(m_buffer.data(), kBufferSize, rc);
        if (n < 0) return rc;
        if (n == 0) break;
        if (!out.Write(m_buffer.data(), static_cast<uint32_t>(n))) return ZR_WRITE;
    }
    return CloseAtEnd();
}

uint32_t CZipReader::CloseAtEnd()
{
    bool encrypted = m_openEncrypted;
    bool whole = m_openRead == m_openExpected && m_openCrc == m_expectedCrc && (m_openMethod == 0 || m_streamEnd);
    unzCloseCurrentFile(m_zip);
    m_openIndex = -1;
    return whole ? ZR_OK : ReadError(encrypted);
}

uint32_t CZipReader::Unzip(int index, void* target, int kind)
{
    CloseOpenEntry();
    ZipEntryInfo entry;
    uint32_t rc = Describe(index, entry);
    if (rc) return rc;
    std::string name = entry.name;
    bool folder = (entry.attributes & 0x10) || (!name.empty() && (name.back() == '/' || name.back() == '\\'));
    if (folder) {
        if (kind == UNZIP_HANDLE) return ZR_OK;
        if (kind != UNZIP_FILENAME) return ZR_ARGS;
        std::string path = IsAbsolute(name) ? name : m_root + name;
        return zvzip::CreateFolders(path) ? ZR_OK : ZR_NOFILE;
    }
    if (kind != UNZIP_HANDLE && kind != UNZIP_FILENAME) return ZR_ARGS;
    if (kind == UNZIP_FILENAME && (!target || !*static_cast<const char*>(target))) return ZR_ARGS;
    // The entry opens (and its password checks) before any file is made for it.
    rc = OpenEntryForReading(index);
    if (rc) return rc;
    std::unique_ptr<ZipStream> out;
    if (kind == UNZIP_HANDLE) {
        out = zvzip::WrapFileHandle(target);
    } else {
        std::string given = static_cast<const char*>(target);
        size_t cut = given.find_last_of("\\/");
        std::string folderPart = cut == std::string::npos ? std::string() : given.substr(0, cut + 1);
        std::string filePart = cut == std::string::npos ? given : given.substr(cut + 1);
        std::string dir = IsAbsolute(folderPart) ? folderPart : m_root + folderPart;
        if (!folderPart.empty()) zvzip::CreateFolders(dir);
        if (!filePart.empty()) out = zvzip::CreateFileForExtract(dir + filePart, entry.attributes);
    }
    if (!out) {
        CloseOpenEntry();
        return kind == UNZIP_HANDLE ? ZR_ARGS : ZR_NOFILE;
    }
    rc = CopyEntryTo(*out);
    CloseOpenEntry();
    if (rc) return rc;
    if (kind == UNZIP_FILENAME) out->SetTimes(entry.createTime, entry.accessTime, entry.writeTime);
    return ZR_OK;
}

uint32_t CZipReader::ToMemory(int index, void* block, uint32_t length, uint32_t* got)
{
    if (got) *got = 0;
    if (!block && length) return ZR_ARGS;
    if (index != m_openIndex) {
        CloseOpenEntry();
        if (index < 0 || index >= m_count) return ZR_ARGS;
        uint32_t rc = OpenEntryForReading(index);
        if (rc) return rc;
    }
    unsigned char* at = static_cast<unsigned char*>(block);
    uint32_t filled = 0;
    while (filled < length) {
        uint32_t rc = ZR_OK;
        int n = ReadOpen(at + filled, length - filled, rc);
        if (n < 0) {
            CloseOpenEntry();
            if (got) *got = filled;
            return rc;
        }
        if (n == 0) break;
        filled += static_cast<uint32_t>(n);
    }
    if (got) *got = filled;
    if (filled == length && length > 0 && !OpenEntryAtEnd()) return ZR_MORE;
    return CloseAtEnd();
}

CZipReader* ReaderOf(HZIP hz, uint32_t& rc) { return ZipHandleObject<CZipReader>(hz, ZIP_HANDLE_READER, rc); }

}  // namespace

HZIP OpenZipReader(const void* source, uint32_t length, int kind, const char* password)
{
    auto reader = std::make_unique<CZipReader>();
    uint32_t rc = reader->Open(source, length, kind, password);
    Remember(rc);
    if (rc) return nullptr;
    return new ZipHandle{ZIP_HANDLE_READER, reader.release()};
}

HZIP OpenZipReaderFile(const char* fileName, const char* password)
{
    return OpenZipReader(fileName, 0, UNZIP_FILENAME, password);
}

uint32_t GetZipReaderItem(HZIP hz, int index, ZipEntryInfo* entry)
{
    uint32_t rc;
    CZipReader* reader = ReaderOf(hz, rc);
    if (!reader) return Remember(rc);
    if (!entry) return Remember(ZR_ARGS);
    return Remember(reader->Describe(index, *entry));
}

uint32_t UnzipItem(HZIP hz, int index, void* target, uint32_t length, int kind)
{
    if (kind == UNZIP_MEMORY) return UnzipItemToMemory(hz, index, target, length);
    uint32_t rc;
    CZipReader* reader = ReaderOf(hz, rc);
    if (!reader) return Remember(rc);
    return Remember(reader->Unzip(index, target, kind));
}

uint32_t UnzipItemToMemory(HZIP hz, int index, void* block, uint32_t length, uint32_t* got)
{
    uint32_t rc;
    CZipReader* reader = ReaderOf(hz, rc);
    if (!reader) return Remember(rc);
    return Remember(reader->ToMemory(index, block, length, got));
}

uint32_t CloseZipReader(HZIP hz)
{
    uint32_t rc;
    CZipReader* reader = ReaderOf(hz, rc);
    if (!reader) return Remember(rc);
    delete reader;
    delete hz;
    return Remember(ZR_OK);
}

bool IsZipReaderHandle(HZIP hz) { return hz && hz->kind == ZIP_HANDLE_READER; }

uint32_t LastUnzipResult() { return g_lastResult; }
