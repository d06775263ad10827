#pragma once
// What the zip tests read back from archive bytes by hand, and the contents
// the fixture generator (tests/fixtures/zip/make_fixtures.py) puts in its files.
#include <cstdint>
#include <string>
#include <vector>

namespace zvtest {

struct ZipRecordView {
    // Central directory.
    uint16_t madeBy = 0, flags = 0, method = 0, internalAttributes = 0;
    uint32_t dosDateTime = 0, crc = 0, compressedSize = 0, uncompressedSize = 0, externalAttributes = 0;
    uint32_t offset = 0;
    std::string name;
    // Its local header.
    uint16_t localFlags = 0, localMethod = 0;
    uint32_t localCrc = 0, localCompressedSize = 0, localUncompressedSize = 0;
    uint16_t localExtraLength = 0;
    // The 16 bytes after its data, when they are a data descriptor.
    bool hasDescriptor = false;
    uint32_t descriptorCrc = 0, descriptorCompressed = 0, descriptorUncompressed = 0;
};

// The entries of an archive by its central directory; false when the bytes
// do not hold a well-formed one.
bool ParseZip(const std::string& bytes, std::vector<ZipRecordView>& entries);

// "Record 00000: the quick brown fox ...\r\n" 700 times (41,300 bytes).
std::string FixtureText();
// 40,000 bytes of a fixed pattern.
std::string FixtureBinary();

}  // namespace zvtest
