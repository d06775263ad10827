#pragma once
// Helpers shared by the packing, list and password tests: hex, keyed
// contexts, a reference CRC, a reproducible random tail and archive round
// trips.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/items/BaseItem.h"
#include "core/crypto/Blowfish.h"
#include "core/items/ItemPacking.h"
#include "core/os/ProcessSeams.h"
#include "framework/CArchive.h"
#include "framework/CMemFile.h"

namespace packtest {

inline std::vector<uint8_t> Hex(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline std::string ToHex(const std::vector<uint8_t>& b)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (uint8_t c : b) {
        s += kDigits[c >> 4];
        s += kDigits[c & 15];
    }
    return s;
}

inline std::unique_ptr<BlowfishContext> Keyed(const std::string& key)
{
    auto ctx = std::make_unique<BlowfishContext>();
    BlowfishInit(ctx.get(), reinterpret_cast<const uint8_t*>(key.data()), int32_t(key.size()));
    return ctx;
}

// Bitwise CRC-16 (0x1021, initial 0x04EB), independent of the table-driven one.
inline uint16_t BitwiseCrc(const uint8_t* p, size_t n)
{
    uint16_t c = 0x04EB;
    for (size_t i = 0; i < n; ++i) {
        c ^= uint16_t(p[i] << 8);
        for (int bit = 0; bit < 8; ++bit) c = uint16_t((c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1);
    }
    return c;
}

// The tail bytes come out as 01 02 03 ... while this lives.
class CountingTail {
public:
    CountingTail()
    {
        s_next = 0;
        SetPackRandomSource(&Next);
    }
    ~CountingTail() { SetPackRandomSource(nullptr); }
    static void Restart() { s_next = 0; }

private:
    static int Next() { return (++s_next & 0xFF) << 4; }
    static inline int s_next = 0;
};

// What the archive writes for one object.
inline std::vector<uint8_t> StoreObject(CObject* object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(object);
        ar.Close();
    }
    return file.GetContents();
}

template <class T> std::unique_ptr<T> LoadObject(const std::vector<uint8_t>& bytes)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CObject* object = ar.ReadObject(RUNTIME_CLASS(CBaseItem));
    std::unique_ptr<CObject> owner(object);
    T* typed = dynamic_cast<T*>(object);
    if (typed) owner.release();
    return std::unique_ptr<T>(typed);
}

// Little-endian writers for hand-built archive records.
inline void Le16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void Le32(std::vector<uint8_t>& out, uint32_t v)
{
    Le16(out, uint16_t(v));
    Le16(out, uint16_t(v >> 16));
}
inline void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more)
{
    out.insert(out.end(), more.begin(), more.end());
}
// A packed string: the bytes and a zero.
inline void Str(std::vector<uint8_t>& out, const std::string& s)
{
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}
// A new-class tag: FF FF, schema, name length, name.
inline std::vector<uint8_t> ClassTag(const std::string& name, uint16_t schema)
{
    std::vector<uint8_t> out = {0xFF, 0xFF};
    Le16(out, schema);
    Le16(out, uint16_t(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    return out;
}

}  // namespace packtest
