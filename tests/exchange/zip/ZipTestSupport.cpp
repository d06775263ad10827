#include "ZipTestSupport.h"

#include <cstdio>

namespace zvtest {
namespace {

uint32_t Get16(const std::string& b, size_t at) { return uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8); }
uint32_t Get32(const std::string& b, size_t at) { return Get16(b, at) | (Get16(b, at + 2) << 16); }

}  // namespace

bool ParseZip(const std::string& bytes, std::vector<ZipRecordView>& entries)
{
    entries.clear();
    if (bytes.size() < 22) return false;
    size_t end = bytes.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos || end + 22 > bytes.size()) return false;
    uint32_t count = Get16(bytes, end + 10);
    size_t at = Get32(bytes, end + 16);
    for (uint32_t i = 0; i < count; ++i) {
        if (at + 46 > bytes.size() || Get32(bytes, at) != 0x02014b50) return false;
        ZipRecordView e;
        e.madeBy = Get16(bytes, at + 4);
        e.flags = Get16(bytes, at + 8);
        e.method = Get16(bytes, at + 10);
        e.dosDateTime = Get32(bytes, at + 12);
        e.crc = Get32(bytes, at + 16);
        e.compressedSize = Get32(bytes, at + 20);
        e.uncompressedSize = Get32(bytes, at + 24);
        uint32_t nameLength = Get16(bytes, at + 28), extra = Get16(bytes, at + 30), comment = Get16(bytes, at + 32);
        e.internalAttributes = Get16(bytes, at + 36);
        e.externalAttributes = Get32(bytes, at + 38);
        e.offset = Get32(bytes, at + 42);
        if (at + 46 + nameLength > bytes.size()) return false;
        e.name = bytes.substr(at + 46, nameLength);
        at += 46 + nameLength + extra + comment;
        size_t local = e.offset;
        if (local + 30 > bytes.size() || Get32(bytes, local) != 0x04034b50) return false;
        e.localFlags = Get16(bytes, local + 6);
        e.localMethod = Get16(bytes, local + 8);
        e.localCrc = Get32(bytes, local + 14);
        e.localCompressedSize = Get32(bytes, local + 18);
        e.localUncompressedSize = Get32(bytes, local + 22);
        e.localExtraLength = static_cast<uint16_t>(Get16(bytes, local + 28));
        size_t data = local + 30 + Get16(bytes, local + 26) + e.localExtraLength;
        size_t after = data + e.compressedSize;
        if (after + 16 <= bytes.size() && Get32(bytes, after) == 0x08074b50) {
            e.hasDescriptor = true;
            e.descriptorCrc = Get32(bytes, after + 4);
            e.descriptorCompressed = Get32(bytes, after + 8);
            e.descriptorUncompressed = Get32(bytes, after + 12);
        }
        entries.push_back(e);
    }
    return true;
}

std::string FixtureText()
{
    std::string text;
    char line[80];
    for (int i = 0; i < 700; ++i) {
        std::snprintf(line, sizeof(line), "Record %05d: the quick brown fox jumps over the lazy dog\r\n", i);
        text += line;
    }
    return text;
}

std::string FixtureBinary()
{
    std::string bytes(40000, '\0');
    for (int i = 0; i < 40000; ++i) bytes[i] = static_cast<char>((i * 7919 + (i >> 3)) & 0xFF);
    return bytes;
}

}  // namespace zvtest
