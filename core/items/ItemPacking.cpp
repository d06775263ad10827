#include "core/items/ItemPacking.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "core/os/ProcessSeams.h"

namespace {

// Slicing by eight: entry b of table j is what byte b followed by j zero
// bytes adds to the CRC, so eight bytes fold in with eight independent
// lookups instead of a chain of eight. Table 0 is the usual byte table.
struct CrcTables {
    uint16_t entries[8][256];
    CrcTables()
    {
        for (int i = 0; i < 256; ++i) {
            uint16_t crc = static_cast<uint16_t>(i << 8);
            for (int bit = 0; bit < 8; ++bit)
                crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
            entries[0][i] = crc;
        }
        for (int j = 1; j < 8; ++j)
            for (int i = 0; i < 256; ++i) {
                const uint16_t previous = entries[j - 1][i];
                entries[j][i] = static_cast<uint16_t>((previous << 8) ^ entries[0][previous >> 8]);
            }
    }
};

const CrcTables& Tables()
{
    static const CrcTables tables;
    return tables;
}

std::atomic<PackRandomSource> g_randomSource{nullptr};

int RuntimeRandom() { return std::rand(); }

// Largest whole-block chunk a 16-bit buffer routine takes.
constexpr size_t kCryptChunk = 0xFFF8;

// Whether bytes 0-1 hold the CRC of the first count bytes, taken with those
// two bytes zero.
bool ChecksumMatches(uint8_t* form, size_t count)
{
    const uint8_t stored[2] = {form[0], form[1]};
    form[0] = form[1] = 0;
    const uint16_t crc = PackedItemCrc(form, count);
    form[0] = stored[0];
    form[1] = stored[1];
    return crc == ReadBigEndian16(stored);
}

thread_local const BlowfishContext* t_scopeKey = nullptr;
thread_local bool t_scopeActive = false;

}  // namespace

uint16_t PackedItemCrc(const uint8_t* data, size_t count)
{
    const auto& t = Tables().entries;
    uint16_t crc = 0x04EB;
    for (; count >= 8; data += 8, count -= 8) {
        // The register meets the first two bytes; the other six go in as they are.
        crc = static_cast<uint16_t>(t[7][data[0] ^ (crc >> 8)] ^ t[6][data[1] ^ (crc & 0xFF)] ^ t[5][data[2]] ^
                                    t[4][data[3]] ^ t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]]);
    }
    for (; count; ++data, --count) crc = static_cast<uint16_t>((crc << 8) ^ t[0][((crc >> 8) ^ *data) & 0xFF]);
    return crc;
}

void CryptPackedRange(uint8_t* data, size_t length, const BlowfishContext* key, bool encrypt)
{
    if (!key) return;
    while (length >= 8) {
        size_t chunk = length < kCryptChunk ? length - length % 8 : kCryptChunk;
        BlowfishCryptInPlace(static_cast<uint16_t>(chunk), data, key, encrypt ? 1 : 0);
        data += chunk;
        length -= chunk;
    }
}

bool DecryptPackedForm(std::vector<uint8_t>& form, const BlowfishContext* key)
{
    if (form.size() < kPackedHeaderSize) return false;
    const size_t checked = form.size() - kPackedTailSize, encrypted = form.size() - kPackedHeaderSize;
    const size_t checked16 = checked & 0xFFFF, encrypted16 = encrypted & 0xFFFF;
    if (checked16 == checked && encrypted16 == encrypted) {
        CryptPackedRange(form.data() + kPackedHeaderSize, encrypted, key, false);
        return ChecksumMatches(form.data(), checked);
    }
    // Over 64 KB: our rule (the whole form) first, then the 16-bit one.
    std::vector<uint8_t> whole(form);
    CryptPackedRange(whole.data() + kPackedHeaderSize, encrypted, key, false);
    if (ChecksumMatches(whole.data(), checked)) {
        form.swap(whole);
        return true;
    }
    CryptPackedRange(form.data() + kPackedHeaderSize, encrypted16, key, false);
    if (ChecksumMatches(form.data(), checked16)) return true;
    form.swap(whole);
    return false;
}

void SetPackRandomSource(PackRandomSource source) { g_randomSource.store(source); }

uint8_t NextPackRandomByte()
{
    PackRandomSource source = g_randomSource.load();
    int r = (source ? source() : RuntimeRandom()) & 0x7FFF;
    return static_cast<uint8_t>(r >> 4);
}

void WritePackedString(uint8_t*& cursor, const CString& s)
{
    const size_t length = static_cast<size_t>(s.GetLength());
    if (length) memcpy(cursor, s.GetString(), length);
    cursor[length] = 0;
    cursor += length + 1;
}

CItemKeyScope::CItemKeyScope(const BlowfishContext* key) : m_previousKey(t_scopeKey), m_previousActive(t_scopeActive)
{
    t_scopeKey = key;
    t_scopeActive = true;
}

CItemKeyScope::~CItemKeyScope()
{
    t_scopeKey = m_previousKey;
    t_scopeActive = m_previousActive;
}

bool CItemKeyScope::IsActive() { return t_scopeActive; }

const BlowfishContext* CItemKeyScope::CurrentKey() { return t_scopeKey; }
