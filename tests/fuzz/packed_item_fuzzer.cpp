// libFuzzer target: the bytes as the packed form of an item of each class,
// unpacked in every schema a database can name (2 and older, 4, 3, 5, 6, 7),
// plain and under a key. Unpacking must stay within the bytes; whatever was
// read must pack again, and what is packed must unpack into an item that
// packs to the very same bytes (plain and under the key).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "core/items/Category.h"
#include "core/items/ItemPacking.h"
#include "core/os/ProcessSeams.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"

namespace {

int FixedTail() { return 0x5A5; }

// A broken expectation is a finding like a crash.
void Fail(const char* what, int line)
{
    std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, line, what);
    std::abort();
}
#define CHECK(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

int UnpackAs(CBaseItem& item, int schema, const BlowfishContext* key)
{
    if (schema < 3) return item.UnpackV2(key);
    if (schema == 4) return item.UnpackV4(key);
    return item.Unpack(key, schema);
}

// Packs the item as read (its packed form is replaced), unpacks that into a
// new item and packs it again.
template <class Item> void RoundTrip(Item& read, const BlowfishContext* key)
{
    CHECK(read.Pack(key) == 0);
    const std::vector<uint8_t> packed = read.GetPackedBlob();
    Item second;
    second.SetBlob(packed.data(), packed.size());
    CHECK(second.Unpack(key, kCurrentItemSchema) == 0);
    CHECK(second.Pack(key) == 0);
    CHECK(second.GetPackedBlob() == packed);
}

template <class Item> void UnpackEveryWay(const uint8_t* data, size_t size, const BlowfishContext* key)
{
    for (int schema : {2, 3, 4, 5, 6, 7}) {
        for (const BlowfishContext* k : {static_cast<const BlowfishContext*>(nullptr), key}) {
            Item item;
            item.SetBlob(data, size);
            if (UnpackAs(item, schema, k) != 0) continue;
            if (item.PackedSize() < kPackedHeaderSize + kPackedTailSize) continue;  // no packed form of its own
            RoundTrip(item, nullptr);
            RoundTrip(item, key);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const BlowfishKeyPtr key = MakeBlowfishKey(CString("Correct Horse 7"));
    SetPackRandomSource(&FixedTail);
    UnpackEveryWay<CRecord>(data, size, key.get());
    UnpackEveryWay<CTypeItem>(data, size, key.get());
    UnpackEveryWay<CCategoryItem>(data, size, key.get());
    UnpackEveryWay<CCategory>(data, size, key.get());
    UnpackEveryWay<CBaseItem>(data, size, key.get());
    return 0;
}
