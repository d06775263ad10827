// Damage at the level of single items and lists: the checksum checked on
// unpacking, and keys that a damaged file repeats.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/items/Category.h"
#include "core/items/ItemPacking.h"
#include "core/items/Record.h"
#include "core/items/UniqueList.h"
#include "tests/core/packing_support.h"

using namespace packtest;

namespace {

CRecord* NoteRecord(const std::string& notes)
{
    CRecord* r = new CRecord;
    r->SetField(0, "Bank");
    r->SetField(2, "pw");
    r->SetNotes(notes.c_str());
    return r;
}

std::string LongNotes()
{
    std::string notes;
    for (int i = 0; notes.size() < 80000; ++i) notes += "note line " + std::to_string(i) + "\r\n";
    return notes + "THE END";
}

}  // namespace

TEST(PackedChecksum, AChangedByteMarksTheItemAndTheRandomTailIsNotChecked)
{
    auto key = Keyed("checksum");
    struct Case {
        const char* what;
        bool longForm;
        bool keyed;
        long at;  // byte changed, from the end when negative; 0: none
        bool bad;
    } cases[] = {
        {"intact", false, false, 0, false},
        {"intact, keyed", false, true, 0, false},
        {"header byte", false, false, 19, true},
        {"body byte", false, false, 24, true},
        {"body byte, keyed", false, true, 40, true},
        {"tail byte", false, false, -1, false},
        {"last checked byte", false, false, -8, true},
        {"intact, over 64 KB", true, false, 0, false},
        {"intact, over 64 KB, keyed", true, true, 0, false},
        {"body byte, over 64 KB, keyed", true, true, 40, true},
        {"byte past 64 KB, keyed", true, true, 70000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BlowfishContext* k = c.keyed ? key.get() : nullptr;
        const std::string notes = c.longForm ? LongNotes() : "a\r\nb";
        std::unique_ptr<CRecord> packed(NoteRecord(notes));
        ASSERT_EQ(packed->Pack(k), 0);
        std::vector<uint8_t> form = packed->GetPackedBlob();
        if (c.at != 0) {
            const size_t at = c.at > 0 ? size_t(c.at) : form.size() - size_t(-c.at);
            form[at] ^= 0x20;
        }
        CRecord back;
        back.SetBlob(form.data(), form.size());
        ASSERT_EQ(back.Unpack(k, 7), 0);
        EXPECT_EQ(back.HasBadChecksum(), c.bad);
        // What is not damaged reads as it was.
        EXPECT_EQ(back.GetField(2), "pw");
        if (c.at == 0 || c.longForm) {
            EXPECT_EQ(back.GetNotes().Right(7), CString(notes.c_str()).Right(7));
        }
    }
}

TEST(PackedChecksum, AGoodUnpackClearsAnEarlierMark)
{
    std::unique_ptr<CRecord> packed(NoteRecord("note"));
    ASSERT_EQ(packed->Pack(nullptr), 0);
    std::vector<uint8_t> form = packed->GetPackedBlob();
    CRecord r;
    form[30] ^= 1;
    r.SetBlob(form.data(), form.size());
    r.Unpack(nullptr, 7);
    EXPECT_TRUE(r.HasBadChecksum());
    form[30] ^= 1;
    r.SetBlob(form.data(), form.size());
    r.Unpack(nullptr, 7);
    EXPECT_FALSE(r.HasBadChecksum());
}

TEST(UniqueKeys, RepeatedKeysAfterTheFirstGetNewOnes)
{
    const uint8_t a[8] = {1, 1, 1, 1, 1, 1, 1, 1}, b[8] = {2, 2, 2, 2, 2, 2, 2, 2}, none[8] = {};
    CCategoryList list;
    std::vector<CBaseItem*> items;
    for (const uint8_t* key : {a, b, a, none, a, none}) {
        CBaseItem* item = list.NewItem();
        item->SetKey(key);
        list.Add(item);
        items.push_back(item);
    }
    EXPECT_EQ(list.MakeKeysUnique(), 3);
    EXPECT_EQ(0, memcmp(items[0]->GetKey(), a, 8));
    EXPECT_EQ(0, memcmp(items[1]->GetKey(), b, 8));
    EXPECT_TRUE(IsNullUniqueKey(items[3]->GetKey()));
    std::set<std::vector<uint8_t>> keys;
    for (CBaseItem* item : items) keys.insert(std::vector<uint8_t>(item->GetKey(), item->GetKey() + 8));
    EXPECT_EQ(keys.size(), items.size());
    const bool modified[] = {false, false, true, false, true, true};
    for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i]->IsModified(), modified[i]) << i;
    EXPECT_EQ(list.MakeKeysUnique(), 0);
}
