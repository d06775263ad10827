#pragma once
// Helpers of the packed item form: its checksum, the encryption of its
// encrypted part, its random tail and the key the archive code packs under.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/crypto/Blowfish.h"
#include "framework/CString.h"

// A packed item: 22 header bytes, the body, 7 random bytes.
constexpr size_t kPackedHeaderSize = 22;
constexpr size_t kPackedTailSize = 7;
// The newest item schema (database version) this build reads and writes.
constexpr int kCurrentItemSchema = 7;
// Packed forms are stored with signed 32-bit lengths.
constexpr size_t kMaxPackedSize = 0x7FFFFFFF;

// CRC-16, CCITT polynomial 0x1021, most significant bit first, initial value
// 0x04EB, no final XOR, over count bytes.
uint16_t PackedItemCrc(const uint8_t* data, size_t count);

// Encrypts or decrypts the whole 8-byte blocks of [data, data + length) in
// place; the last length % 8 bytes stay as they are. Any length: long items
// are processed in chunks, so nothing past 64 KB is left in plain.
void CryptPackedRange(uint8_t* data, size_t length, const BlowfishContext* key, bool encrypt);

// Decrypts a packed form of the current layout in place (from byte 22, under
// key; null: plain) and checks its checksum (bytes 0-1) against the CRC of
// the plain form with those bytes zero, the random tail excluded. Forms over
// 64 KB may come from an older writer that counted both ranges in 16 bits:
// only (size - 22) mod 65536 bytes encrypted and (size - 7) mod 65536
// checksummed. For them both rules are tried and the one whose checksum
// matches is taken. False when no rule matches (damaged bytes or another
// key): the form is then decrypted to its end, as this build writes it.
bool DecryptPackedForm(std::vector<uint8_t>& form, const BlowfishContext* key);

// The random tail: each byte is (r >> 4) % 256 of a value r in 0..32767 from
// the C runtime's generator, or from the source a test put in place
// (SetPackRandomSource, core/os/ProcessSeams.h).
uint8_t NextPackRandomByte();

// Strings in the packed form: the bytes, then one zero.
inline size_t PackedStringSize(const CString& s) { return static_cast<size_t>(s.GetLength()) + 1; }
void WritePackedString(uint8_t*& cursor, const CString& s);

inline void WriteBigEndian16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}
inline uint16_t ReadBigEndian16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

// The key CBaseItem::Serialize packs and unpacks under while this scope lives
// on this thread (null: plain). A load or save sets it, so each thread works
// under the key it was given whatever another thread does meanwhile. Without
// a scope, Serialize uses the master password manager's key.
class CItemKeyScope {
public:
    explicit CItemKeyScope(const BlowfishContext* key);
    ~CItemKeyScope();
    CItemKeyScope(const CItemKeyScope&) = delete;
    CItemKeyScope& operator=(const CItemKeyScope&) = delete;

    static bool IsActive();
    static const BlowfishContext* CurrentKey();

private:
    const BlowfishContext* m_previousKey;
    bool m_previousActive;
};
