#include "core/items/NodeValue.h"

#include <array>
#include <cstring>

#include "core/crypto/Random.h"

namespace {

constexpr std::array<uint16_t, 256> MakeCrcTable()
{
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = uint16_t(i << 8);
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint16_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

uint16_t AdapterStatusCrc(const uint8_t status[kAdapterStatusSize])
{
    uint16_t crc = 0x0DE5;
    for (size_t i = 0; i < kAdapterStatusSize; ++i)
        crc = uint16_t((crc << 8) ^ kCrcTable[((crc >> 8) ^ status[i]) & 0xFF]);
    return crc;
}

uint16_t ComputeNodeValue(AdapterStatusSource& source)
{
    std::vector<uint8_t> adapters;
    if (source.EnumerateAdapters(adapters)) {
        for (uint8_t number : adapters) {
            if (!source.ResetAdapter(number)) continue;
            // Cleared first, so bytes the answer leaves unfilled cannot make the
            // value differ between calls on one machine.
            uint8_t status[kAdapterStatusSize];
            std::memset(status, 0, sizeof status);
            if (!source.QueryAdapterStatus(number, status)) continue;
            uint16_t crc = AdapterStatusCrc(status);
            if (crc != 0) return crc;
        }
    }
    return uint16_t(NextRandom() % 65535u);
}

uint16_t ComputeNodeValue() { return ComputeNodeValue(PlatformAdapterStatusSource()); }
