// Damaged database files and packed items of every shape: random cuts, byte
// flips, length fields pointed past the data and spliced runs, from a fixed
// seed. Reading must end in a clean result or a clean error - never a crash,
// an out-of-bounds access or an allocation the data does not back (the
// sanitizer build watches all three).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "core/items/Category.h"
#include "core/store/DatabaseObj.h"
#include "core/items/ItemPacking.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CMemFile.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

const char kFixturePassword[] = "Correct Horse 7";

struct DbFixture {
    const char* name;
    bool password;
};
const DbFixture kDbFixtures[] = {
    {"smallest.zdb", false}, {"defaults.zdb", false}, {"password.zdb", true},
    {"version2.zdb", true},  {"version4.zdb", false}, {"version6.zdb", false},
};

using Bytes = std::vector<uint8_t>;

Bytes FixtureBytes(const char* name)
{
    const std::string s = zvtest::ReadFileBytes(zvtest::FixturePath(std::string("db/") + name));
    return Bytes(s.begin(), s.end());
}

// One random damage of the bytes.
Bytes Mutate(Bytes bytes, std::mt19937& rng)
{
    auto pick = [&](size_t n) { return n ? static_cast<size_t>(rng() % n) : 0; };
    const int edits = 1 + static_cast<int>(rng() % 3);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        switch (rng() % 6) {
        case 0:  // cut short
            bytes.resize(pick(bytes.size()));
            break;
        case 1:  // flip bits of one byte
            bytes[pick(bytes.size())] ^= static_cast<uint8_t>(1 + rng() % 255);
            break;
        case 2: {  // a 16- or 32-bit field set to an extreme
            const size_t at = pick(bytes.size());
            static const uint8_t kExtremes[] = {0x00, 0x7F, 0x80, 0xFE, 0xFF};
            const uint8_t v = kExtremes[rng() % sizeof kExtremes];
            const size_t width = rng() % 2 ? 2 : 4;
            for (size_t i = 0; i < width && at + i < bytes.size(); ++i)
                bytes[at + i] = (i + 1 == width && v == 0xFF && rng() % 2) ? 0x7F : v;
            break;
        }
        case 3: {  // a run of bytes copied elsewhere (tags and lengths out of place)
            const size_t from = pick(bytes.size()), to = pick(bytes.size());
            const size_t n = std::min<size_t>(1 + rng() % 16, bytes.size() - std::max(from, to));
            std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                      bytes.begin() + static_cast<std::ptrdiff_t>(from + n),
                      bytes.begin() + static_cast<std::ptrdiff_t>(to));
            break;
        }
        case 4:  // bytes removed from the middle
        {
            const size_t at = pick(bytes.size());
            const size_t n = std::min<size_t>(1 + rng() % 8, bytes.size() - at);
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
            break;
        }
        default:  // random bytes inserted
        {
            const size_t at = pick(bytes.size() + 1);
            const size_t n = 1 + rng() % 8;
            Bytes extra(n);
            for (uint8_t& b : extra) b = static_cast<uint8_t>(rng());
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), extra.begin(), extra.end());
            break;
        }
        }
    }
    return bytes;
}

// Reads the bytes as a database the way a load does; true when accepted.
bool ReadDatabase(const Bytes& bytes, const BlowfishContext* key)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CDatabaseObj db;
    try {
        CItemKeyScope scope(key);
        CArchive ar(&file, CArchive::load);
        db.Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        EXPECT_FALSE(db.CanSave());
        return false;
    }
    EXPECT_TRUE(db.CanSave());
    // An accepted file must also write out again.
    CMemFile out;
    CItemKeyScope scope(key);
    CArchive ar(&out, CArchive::store);
    EXPECT_NO_THROW(db.Serialize(ar));
    return true;
}

}  // namespace

TEST(DatabaseFuzz, DamagedFilesOfEveryVersionReadCleanlyOrAreRefused)
{
    const BlowfishKeyPtr key = MakeBlowfishKey(CString(kFixturePassword));
    std::mt19937 rng(20261210);
    int accepted = 0, refused = 0;
    for (const DbFixture& f : kDbFixtures) {
        SCOPED_TRACE(f.name);
        const Bytes original = FixtureBytes(f.name);
        ASSERT_TRUE(ReadDatabase(original, f.password ? key.get() : nullptr));
        for (int i = 0; i < 600; ++i) {
            const Bytes bad = Mutate(original, rng);
            SCOPED_TRACE(i);
            // Under the wrong key (or none) as well as the right one.
            const BlowfishContext* k = (f.password != (i % 5 == 0)) ? key.get() : nullptr;
            (ReadDatabase(bad, k) ? accepted : refused)++;
        }
    }
    // The damage must reach past the header often enough to matter.
    EXPECT_GT(refused, 1000);
    EXPECT_GT(accepted, 50);
}

TEST(DatabaseFuzz, DamagedFilesOnDiskAreRefusedWithoutBeingReplaced)
{
    // Through Load: a refused file stays byte for byte as it was.
    const BlowfishKeyPtr key = MakeBlowfishKey(CString(kFixturePassword));
    std::mt19937 rng(7);
    zvtest::ScratchDir dir("dbfuzz");
    for (const DbFixture& f : kDbFixtures) {
        SCOPED_TRACE(f.name);
        const Bytes original = FixtureBytes(f.name);
        for (int i = 0; i < 40; ++i) {
            SCOPED_TRACE(i);
            const Bytes bad = Mutate(original, rng);
            const std::string text(bad.begin(), bad.end());
            const fs::path path = dir.WriteFile("ZorvikanDatabase.zdb", text);
            CDatabaseObj db;
            if (db.Load(CString(path.string().c_str()), f.password ? key.get() : nullptr) != 0) {
                EXPECT_FALSE(db.CanSave());
                EXPECT_EQ(zvtest::ReadFileBytes(path), text);
            }
        }
    }
}

namespace {

// Packed forms of one item of each class, as seeds for the damage.
std::vector<Bytes> SeedItems(const BlowfishContext* key)
{
    CRecord record;
    record.SetField(0, "Bank");
    record.SetField(2, "pw");
    record.SetNotes("a\r\nb");
    record.SetAttachmentName("doc.txt");
    record.SetAttachmentKey("K9");
    record.SetFieldLabel(3, "Pin code", nullptr);
    CTypeItem type;
    type.SetName("Web Logins");
    type.SetField(1, "Username");
    CCategoryItem category;
    category.SetName("Business");
    std::vector<Bytes> seeds;
    for (CBaseItem* item : std::initializer_list<CBaseItem*>{&record, &type, &category}) {
        EXPECT_EQ(item->Pack(key), 0);
        seeds.push_back(item->GetPackedBlob());
    }
    return seeds;
}

template <class Item> void UnpackEveryWay(const Bytes& blob, const BlowfishContext* key)
{
    for (int schema : {0, 2, 3, 4, 5, 6, 7}) {
        Item item;
        item.SetBlob(blob.data(), blob.size());
        if (schema < 3)
            item.UnpackV2(key);
        else if (schema == 4)
            item.UnpackV4(key);
        else
            item.Unpack(key, schema);
        // Whatever was read packs again (the base class has no packed form).
        if (item.PackedSize() > kPackedHeaderSize + kPackedTailSize) {
            EXPECT_EQ(item.Pack(key), 0);
        }
    }
}

}  // namespace

TEST(DatabaseFuzz, DamagedPackedItemsUnpackWithinTheirBytes)
{
    const BlowfishKeyPtr key = MakeBlowfishKey(CString(kFixturePassword));
    std::mt19937 rng(99);
    for (const BlowfishContext* k : {static_cast<const BlowfishContext*>(nullptr), key.get()}) {
        for (const Bytes& original : SeedItems(k)) {
            for (int i = 0; i < 100; ++i) {
                const Bytes bad = Mutate(original, rng);
                UnpackEveryWay<CRecord>(bad, k);
                UnpackEveryWay<CTypeItem>(bad, k);
                UnpackEveryWay<CCategoryItem>(bad, k);
                UnpackEveryWay<CBaseItem>(bad, k);
            }
        }
    }
}
