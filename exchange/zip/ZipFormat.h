#pragma once
// The zip format's records as the writer lays them out, and the DOS and Unix
// time conversions its headers use.
#include <cstdint>
#include <string>

// The values of one entry's local and central headers.
struct ZipEntryRecord {
    uint16_t flags = 8;
    uint16_t method = 0;
    uint32_t dosDateTime = 0;  // date in the high half
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    std::string name;
    uint32_t mtime = 0, atime = 0, ctime = 0;  // Unix seconds for the "UT" fields
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint32_t offset = 0;  // of the local header
};

// Version made by: NTFS, specification 2.3.
constexpr uint16_t kZipVersionMadeBy = 0x0B17;
constexpr uint16_t kZipVersionNeeded = 20;

// 30 bytes, the name and the 17-byte "UT" field of modification, access and creation time.
std::string ZipLocalHeader(const ZipEntryRecord& entry);
// 46 bytes, the name and the 9-byte "UT" field of the modification time.
std::string ZipCentralRecord(const ZipEntryRecord& entry);
// Signature 50 4B 07 08, CRC-32, compressed and uncompressed size.
std::string ZipDataDescriptor(const ZipEntryRecord& entry);
std::string ZipEndRecord(uint32_t entries, uint32_t directorySize, uint32_t directoryOffset);

uint16_t ZipDosDate(int year, int month, int day);
uint16_t ZipDosTime(int hour, int minute, int second);
// The calendar fields of a system file time as they stand (no zone conversion).
void ZipDosFromFileTime(uint64_t fileTime, uint16_t& dosDate, uint16_t& dosTime);
// (file time - 116444736000000000) / 10,000,000, as 32 bits; 0 before 1970.
uint32_t ZipUnixSeconds(uint64_t fileTime);
uint64_t ZipFileTimeFromUnix(uint32_t seconds);
