#include "exchange/zip/ZipReplace.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/os/FileSystemOs.h"
#include "exchange/zip/ZipOs.h"
#include "exchange/zip/ZipReader.h"
#include "exchange/zip/ZipWriter.h"

namespace {

bool SameName(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a + 32) : *a;
        char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b + 32) : *b;
        if (ca != cb) return false;
    }
    return *a == *b;
}

bool FileLength(const char* path, uint64_t& length)
{
    std::unique_ptr<ZipStream> file = zvzip::OpenFileForRead(path);
    return file && file->Length(length);
}

// Copies entry i of the reader into the writer under its described name.
uint32_t CopyEntry(HZIP reader, HZIP writer, const ZipEntryInfo& entry)
{
    // A folder by its name only: an entry whose name has no final "/" is
    // copied as the file it is named as, with its bytes, whatever its
    // attributes say (the writer would give a folder's name a "/").
    size_t nameLength = std::strlen(entry.name);
    bool folder = nameLength > 0 && (entry.name[nameLength - 1] == '/' || entry.name[nameLength - 1] == '\\');
    if (folder) return ZipAddFolder(writer, entry.name);
    // The size comes from the archive: it is believed only as far as deflate
    // can expand (about 1032 to 1) and a whole file is held in memory.
    if (entry.uncompressedSize > zvos::kMaxWholeFileBytes ||
        entry.uncompressedSize > entry.compressedSize * 1032 + 1024)
        return ZR_MEMSIZE;
    uint32_t size = static_cast<uint32_t>(entry.uncompressedSize);
    std::vector<unsigned char> data(size + 1);
    uint32_t got = 0;
    uint32_t rc = UnzipItemToMemory(reader, entry.index, data.data(), size + 1, &got);
    // One byte more than announced tells a size that lies.
    if (rc == ZR_OK && got != size) rc = ZR_FLATE;
    if (rc == ZR_MORE) rc = ZR_FLATE;
    if (rc) return rc;
    if (size == 0) return ZipAddEmptyFile(writer, entry.name);
    return ZipAddMemory(writer, entry.name, data.data(), size);
}

uint32_t WriteImage(const std::string& archive, const void* image, uint32_t length)
{
    // The image goes next to the archive and then takes its place in one step,
    // so a failed write leaves the archive whole.
    std::string temp = archive + ".new";
    zvos::DeleteFileAt(temp);
    std::string bytes(static_cast<const char*>(image), length);
    if (zvos::WriteNewFile(temp, bytes) != 0) return ZR_WRITE;
    if (zvos::ReplaceFileAtomically(temp, archive) != 0) {
        zvos::DeleteFileAt(temp);
        return ZR_WRITE;
    }
    return ZR_OK;
}

}  // namespace

uint32_t ZipReplaceEntry(const char* archivePath, const char* entryName, const char* sourceFile)
{
    if (!archivePath || !*archivePath || !entryName || !*entryName) return ZR_ARGS;
    bool hasSource = sourceFile && *sourceFile;
    if (!zvos::AccessExists(archivePath) || (hasSource && !zvos::AccessExists(sourceFile))) return ZR_NOFILE;
    uint64_t archiveLength = 0, sourceLength = 0;
    if (!FileLength(archivePath, archiveLength)) return ZR_NOFILE;
    if (hasSource && !FileLength(sourceFile, sourceLength)) return ZR_NOFILE;
    uint64_t imageSize = 2 * (archiveLength + sourceLength);
    if (imageSize == 0 || imageSize > 0xffffffffull) return ZR_MEMSIZE;

    HZIP reader = OpenZipReaderFile(archivePath, nullptr);
    if (!reader) return ZR_READ;
    HZIP writer = CreateZipInMemory(nullptr, static_cast<uint32_t>(imageSize), nullptr);
    if (!writer) {
        CloseZipReader(reader);
        return ZR_WRITE;
    }
    ZipEntryInfo archive;
    uint32_t rc = GetZipReaderItem(reader, -1, &archive);
    for (int i = 0; rc == ZR_OK && i < archive.index; ++i) {
        ZipEntryInfo entry;
        rc = GetZipReaderItem(reader, i, &entry);
        if (rc == ZR_OK && !SameName(entry.name, entryName)) rc = CopyEntry(reader, writer, entry);
    }
    if (rc == ZR_OK && hasSource) rc = ZipAddFile(writer, entryName, sourceFile);
    uint32_t closed = CloseZipReader(reader);
    if (rc == ZR_OK) rc = closed;
    void* image = nullptr;
    uint32_t length = 0;
    if (rc == ZR_OK) rc = ZipGetMemory(writer, &image, &length);
    if (rc) {
        CloseZip(writer);
        return rc;
    }
    rc = WriteImage(archivePath, image, length);
    uint32_t finished = CloseZip(writer);
    return rc ? rc : finished;
}
