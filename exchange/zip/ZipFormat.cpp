#include "exchange/zip/ZipFormat.h"

namespace {

constexpr uint64_t kUnixEpochFileTime = 116444736000000000ull;

void Put16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}

void Put32(std::string& out, uint32_t v)
{
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

uint16_t NameLength(const ZipEntryRecord& entry)
{
    return static_cast<uint16_t>(entry.name.size() > 0xffff ? 0xffff : entry.name.size());
}

}  // namespace

std::string ZipLocalHeader(const ZipEntryRecord& entry)
{
    std::string out;
    Put32(out, 0x04034b50);
    Put16(out, kZipVersionNeeded);
    Put16(out, entry.flags);
    Put16(out, entry.method);
    Put32(out, entry.dosDateTime);
    Put32(out, entry.crc);
    Put32(out, entry.compressedSize);
    Put32(out, entry.uncompressedSize);
    Put16(out, NameLength(entry));
    Put16(out, 17);
    out.append(entry.name, 0, NameLength(entry));
    out += "UT";
    Put16(out, 13);
    out += static_cast<char>(7);
    Put32(out, entry.mtime);
    Put32(out, entry.atime);
    Put32(out, entry.ctime);
    return out;
}

std::string ZipCentralRecord(const ZipEntryRecord& entry)
{
    std::string out;
    Put32(out, 0x02014b50);
    Put16(out, kZipVersionMadeBy);
    Put16(out, kZipVersionNeeded);
    Put16(out, entry.flags);
    Put16(out, entry.method);
    Put32(out, entry.dosDateTime);
    Put32(out, entry.crc);
    Put32(out, entry.compressedSize);
    Put32(out, entry.uncompressedSize);
    Put16(out, NameLength(entry));
    Put16(out, 9);
    Put16(out, 0);  // comment
    Put16(out, 0);  // disk
    Put16(out, entry.internalAttributes);
    Put32(out, entry.externalAttributes);
    Put32(out, entry.offset);
    out.append(entry.name, 0, NameLength(entry));
    out += "UT";
    Put16(out, 5);
    out += static_cast<char>(7);
    Put32(out, entry.mtime);
    return out;
}

std::string ZipDataDescriptor(const ZipEntryRecord& entry)
{
    std::string out;
    Put32(out, 0x08074b50);
    Put32(out, entry.crc);
    Put32(out, entry.compressedSize);
    Put32(out, entry.uncompressedSize);
    return out;
}

std::string ZipEndRecord(uint32_t entries, uint32_t directorySize, uint32_t directoryOffset)
{
    std::string out;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, entries & 0xffff);
    Put16(out, entries & 0xffff);
    Put32(out, directorySize);
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}

uint16_t ZipDosDate(int year, int month, int day)
{
    if (year < 1980) return static_cast<uint16_t>(0 * 512 + 1 * 32 + 1);
    if (year > 2107) year = 2107;
    return static_cast<uint16_t>((year - 1980) * 512 + month * 32 + day);
}

uint16_t ZipDosTime(int hour, int minute, int second)
{
    return static_cast<uint16_t>(hour * 2048 + minute * 32 + second / 2);
}

void ZipDosFromFileTime(uint64_t fileTime, uint16_t& dosDate, uint16_t& dosTime)
{
    uint64_t seconds = fileTime / 10000000ull;  // since 1601-01-01
    int64_t days = static_cast<int64_t>(seconds / 86400);
    uint32_t inDay = static_cast<uint32_t>(seconds % 86400);
    // Civil date of a day count from 1970 (Howard Hinnant's algorithm).
    int64_t z = days - 134774 + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    dosDate = ZipDosDate(year, month, day);
    dosTime =
        ZipDosTime(static_cast<int>(inDay / 3600), static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60));
}

uint32_t ZipUnixSeconds(uint64_t fileTime)
{
    if (fileTime < kUnixEpochFileTime) return 0;
    return static_cast<uint32_t>((fileTime - kUnixEpochFileTime) / 10000000ull);
}

uint64_t ZipFileTimeFromUnix(uint32_t seconds) { return uint64_t(seconds) * 10000000ull + kUnixEpochFileTime; }
