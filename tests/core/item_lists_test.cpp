// The owning item lists: finding, deleting with tombstones, name order, ids
// of new items, cloning into lists and the defaults of a new database.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/items/Category.h"
#include "core/items/DefaultItems.h"
#include "core/items/ItemPacking.h"
#include "core/crypto/Random.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CMemFile.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

struct Key {
    uint8_t b[kUniqueKeySize];
};

Key Preset(uint16_t n) { return Key{{0, 0, 0, 0, 0, 0, uint8_t(n >> 8), uint8_t(n)}}; }

bool Same(const uint8_t* a, const uint8_t* b) { return memcmp(a, b, kUniqueKeySize) == 0; }

// The program's paths use backslashes, in the host build too.
CString P(const fs::path& p)
{
    std::string s = p.string();
    for (char& c : s)
        if (c == '/') c = '\\';
    return CString(s.c_str());
}

// Restores the process-wide flag whatever a test does.
struct HardDelete {
    explicit HardDelete(bool on) { SetHardDeleteMode(on); }
    ~HardDelete() { SetHardDeleteMode(false); }
};

template <class T> T* AddNamed(CObjectList& list, const char* name, int32_t id, Key key = Key{})
{
    T* item = new T;
    item->SetName(name);
    item->SetId(id);
    item->SetKey(key.b);
    list.Add(item);
    return item;
}

CRecord* AddRecord(CRecordList& list, int32_t id, Key type, Key category)
{
    CRecord* r = new CRecord;
    r->SetId(id);
    r->SetTypeKey(type.b);
    r->SetCategoryKey(category.b);
    list.Add(r);
    return r;
}

std::vector<std::string> Names(const CObjectList& list)
{
    std::vector<std::string> names;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        names.push_back(static_cast<CBaseItem*>(list.GetNext(pos))->GetName().GetString());
    return names;
}

struct DefaultTypeRow {
    const char* name;
    std::vector<std::string> labels;  // 1..9, "" = default label of the position
    WORD icon, mask, checksum;
};

const DefaultTypeRow kDefaultTypeTable[] = {
    {"Bank Accts", {"Description", "Account #", "PIN", "Name", "Branch", "Phone #"}, 2, 0x0004, 0x91BE},
    {"Birthdays", {"Description", "Date"}, 23, 0x0000, 0xA644},
    {"Calling Cards", {"Description", "Access Number", "PIN"}, 11, 0x0004, 0xE303},
    {"Clothes Size", {"Description", "Shirt Size", "Pant Size", "Shoe Size", "Dress Size"}, 29, 0x0000, 0xFB74},
    {"Combinations", {"Description", "Code"}, 22, 0x0002, 0x5C45},
    {"Credit Cards", {"Description", "Card #", "Exp Date", "Name", "PIN", "Bank"}, 3, 0x0012, 0x89E3},
    {"Email Accts", {"Description", "Username", "Password", "POP3 Host", "SMTP Host"}, 18, 0x0004, 0x69EC},
    {"Emergency Info", {"Description", "Phone #"}, 17, 0x0000, 0x84D4},
    {"Frequent Flyer", {"Description", "Number", "Name", "Date"}, 16, 0x0000, 0x6E54},
    {"Identification", {"Description", "Number", "Name", "Date"}, 24, 0x0002, 0xE95F},
    {"Insurance", {"Description", "Policy #", "Group #", "Insured", "Date", "Phone #"}, 34, 0x0002, 0xDDCA},
    {"Memberships", {"Description", "Account #", "Name", "Date"}, 35, 0x0000, 0x8848},
    {"Phone Numbers", {"Description", "Phone #"}, 32, 0x0000, 0xB580},
    {"Prescriptions", {"Description", "RX#", "Name", "Doctor", "Pharmacy", "Phone #"}, 9, 0x0000, 0x9B53},
    {"Serial Numbers", {"Description", "Serial #", "Purchase Date", "Reseller"}, 10, 0x0000, 0x5B53},
    {"Vehicle Info", {"Description", "Lic Plate #", "Vin #"}, 14, 0x0000, 0xAE07},
    {"Voice Mail", {"Description", "Access #", "PIN"}, 15, 0x0004, 0xAA02},
    {"Web Logins", {"Description", "Username", "Password", "URL"}, 21, 0x0004, 0x0C42},
};

}  // namespace

// ---------------------------------------------------------------- defaults

TEST(DefaultItems, EighteenTypesWithTheirNamesKeysLabelsIconsAndMasks)
{
    CTypesList types;
    ASSERT_EQ(0, CreateDefaultTypes(types));
    ASSERT_EQ(18, types.GetCount());
    std::set<int32_t> ids;
    int n = 0;
    for (POSITION pos = types.GetHeadPosition(); pos; ++n) {
        const CTypeItem* t = static_cast<CTypeItem*>(types.GetNext(pos));
        const DefaultTypeRow& row = kDefaultTypeTable[n];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.name, t->GetName());
        EXPECT_TRUE(Same(Preset(uint16_t(n + 1)).b, t->GetKey()));
        EXPECT_TRUE(t->IsPresetKey());
        for (int i = 0; i < 9; ++i) {
            const std::string expected = i < int(row.labels.size()) ? row.labels[i] : "Field " + std::to_string(i + 1);
            EXPECT_EQ(expected, t->GetField(i).GetString()) << i;
        }
        EXPECT_EQ("Date Mod", t->GetField(9));
        EXPECT_EQ(row.icon, t->GetIcon());
        EXPECT_EQ(row.mask, t->GetHiddenMask());
        EXPECT_EQ(row.checksum, t->GetChecksum());
        EXPECT_FALSE(t->IsDeleted());
        EXPECT_NE(0, t->GetId());
        ids.insert(t->GetId());
    }
    EXPECT_EQ(18u, ids.size()) << "no two default types share an id";
    const CBaseItem* web = types.FindByKey(kWebLoginsTypeKey);
    ASSERT_TRUE(web);
    EXPECT_EQ("Web Logins", web->GetName());
}

TEST(DefaultItems, TwoCategories)
{
    CCategoryList categories;
    ASSERT_EQ(0, CreateDefaultCategories(categories));
    ASSERT_EQ(2, categories.GetCount());
    const CBaseItem* business = static_cast<CBaseItem*>(categories.GetHead());
    const CBaseItem* personal = static_cast<CBaseItem*>(categories.GetTail());
    EXPECT_EQ("Business", business->GetName());
    EXPECT_TRUE(Same(Preset(0x33).b, business->GetKey()));
    EXPECT_EQ(0x91BE, business->GetChecksum());
    EXPECT_EQ("Personal", personal->GetName());
    EXPECT_TRUE(Same(Preset(0x34).b, personal->GetKey()));
    EXPECT_EQ(0xA644, personal->GetChecksum());
    EXPECT_NE(business->GetId(), personal->GetId());
    EXPECT_EQ(kItemKindCategory, business->GetItemKind());
}

TEST(DefaultItems, SortedByNameAfterwards)
{
    CTypesList types;
    CreateDefaultTypes(types);
    types.SortByName();
    const std::vector<std::string> expected = {
        "Bank Accts",    "Birthdays",      "Calling Cards",  "Clothes Size",   "Combinations", "Credit Cards",
        "Email Accts",   "Emergency Info", "Frequent Flyer", "Identification", "Insurance",    "Memberships",
        "Phone Numbers", "Prescriptions",  "Serial Numbers", "Vehicle Info",   "Voice Mail",   "Web Logins"};
    EXPECT_EQ(expected, Names(types));
}

// ---------------------------------------------------------------- order

TEST(UniqueList, InsertSortedIsByteWiseAndGoesBeforeEquals)
{
    CTypesList types;
    AddNamed<CTypeItem>(types, "Bank Accts", 1);
    CTypeItem* first = AddNamed<CTypeItem>(types, "Birthdays", 2);
    AddNamed<CTypeItem>(types, "Calling Cards", 3);

    CTypeItem* second = new CTypeItem;
    second->SetName("Birthdays");
    types.InsertSorted(second);
    EXPECT_EQ(second, types.GetAt(types.FindIndex(1)));
    EXPECT_EQ(first, types.GetAt(types.FindIndex(2)));

    CTypeItem* lower = new CTypeItem;
    lower->SetName("birthdays");
    types.InsertSorted(lower);
    EXPECT_EQ(lower, types.GetTail());

    CTypeItem* empty = new CTypeItem;
    types.InsertSorted(empty);
    EXPECT_EQ(empty, types.GetHead());
}

TEST(UniqueList, SortByNameGivesTheOrderOfInsertingEachItemInTurn)
{
    // Byte-wise order, and among equal names the order that inserting the
    // items one after the other (each before its equals) gives.
    const char* const names[] = {"b", "B", "a", "b", "", "ab", "a", "B", "b", "Z", "", "ab"};
    CCategoryList sorted, inserted;
    int32_t id = 1;
    for (const char* name : names) {
        AddNamed<CCategoryItem>(sorted, name, id);
        CCategoryItem* item = new CCategoryItem;
        item->SetName(name);
        item->SetId(id++);
        inserted.InsertSorted(item);
    }
    sorted.SortByName();
    std::vector<int32_t> sortedIds, insertedIds;
    for (POSITION pos = sorted.GetHeadPosition(); pos;)
        sortedIds.push_back(static_cast<CBaseItem*>(sorted.GetNext(pos))->GetId());
    for (POSITION pos = inserted.GetHeadPosition(); pos;)
        insertedIds.push_back(static_cast<CBaseItem*>(inserted.GetNext(pos))->GetId());
    EXPECT_EQ(sortedIds, insertedIds);
    EXPECT_EQ(sortedIds, (std::vector<int32_t>{11, 5, 8, 2, 10, 7, 3, 12, 6, 9, 4, 1}));
}

TEST(UniqueList, AddSortedGivesAKeyOnlyToItemsWithout)
{
    CCategoryList categories;
    CCategoryItem* keyed = new CCategoryItem;
    keyed->SetName("B");
    keyed->SetKey(Preset(0x33).b);
    categories.AddSorted(keyed);
    EXPECT_TRUE(Same(Preset(0x33).b, keyed->GetKey()));
    CCategoryItem* fresh = new CCategoryItem;
    fresh->SetName("A");
    categories.AddSorted(fresh);
    EXPECT_FALSE(IsNullUniqueKey(fresh->GetKey()));
    EXPECT_EQ(fresh, categories.GetHead());
}

// ---------------------------------------------------------------- finding

TEST(ObjectList, FindingByIdUidKeyAndName)
{
    CCategoryList list;
    CCategoryItem* zero = AddNamed<CCategoryItem>(list, "Zero", 0, Preset(0x40));
    CCategoryItem* work = AddNamed<CCategoryItem>(list, "Work", 7, Preset(0x41));
    CCategoryItem* gone = AddNamed<CCategoryItem>(list, "Gone", 8, Preset(0x42));
    gone->SetDeleted(true);

    EXPECT_EQ(nullptr, list.FindById(0)) << "id 0 finds nothing, even with an item of id 0";
    (void)zero;
    EXPECT_EQ(work, list.FindById(7));
    EXPECT_EQ(gone, list.FindById(8));
    EXPECT_EQ(work, list.FindByUid(Preset(0x41).b));
    EXPECT_EQ(nullptr, list.FindByUid(Key{}.b));
    EXPECT_EQ(gone, list.FindByKey(Preset(0x42).b)) << "deleted items are found by key";
    EXPECT_TRUE(list.ContainsKey(Preset(0x42).b));
    EXPECT_FALSE(list.ContainsKey(Preset(0x43).b));
    EXPECT_EQ(work, list.FindByName("wORK"));
    EXPECT_EQ(nullptr, list.FindByName("Gone")) << "deleted items are not found by name";
    EXPECT_EQ("Gone", list.GetNameByKey(Preset(0x42).b));
    EXPECT_EQ("Unfiled", list.GetNameByKey(Preset(0x43).b));

    // The n-th item that is not deleted.
    EXPECT_TRUE(Same(Preset(0x40).b, list.GetKeyAt(0)));
    EXPECT_TRUE(Same(Preset(0x41).b, list.GetKeyAt(1)));
    EXPECT_TRUE(IsNullUniqueKey(list.GetKeyAt(2)));
    EXPECT_TRUE(IsNullUniqueKey(list.GetKeyAt(-1)));

    CRecordList records;
    CRecord* r = AddRecord(records, 12, Preset(1), Key{});
    EXPECT_EQ(r, records.FindRecordById(12));
    EXPECT_EQ(nullptr, list.FindRecordById(7)) << "only records";
    EXPECT_EQ(r, records.FindByUid(r->GetUid()));
}

TEST(ObjectList, FindCounterpartByMatchMode)
{
    CTypesList mine;
    CTypeItem* a = AddNamed<CTypeItem>(mine, "A", 5, Preset(1));
    CTypeItem other;
    other.SetId(5);
    other.SetKey(Preset(1).b);
    EXPECT_EQ(a, mine.FindCounterpart(&other));

    CTypeItem byKeyOnly;
    byKeyOnly.SetId(99);
    byKeyOnly.SetKey(Preset(1).b);
    EXPECT_EQ(a, mine.FindCounterpart(&byKeyOnly)) << "types fall back to the key";

    CRecordList records;
    CRecord* r = AddRecord(records, 5, Preset(1), Key{});
    CRecord copy;
    copy.SetId(6);
    copy.SetUid(r->GetUid());
    EXPECT_EQ(nullptr, records.FindCounterpart(&copy));
    records.SetMatchMode(CObjectList::kMatchByUid);
    EXPECT_EQ(r, records.FindCounterpart(&copy));
    records.SetMatchMode(2);
    EXPECT_EQ(nullptr, records.FindCounterpart(r));
}

TEST(TypesList, LabelsAndMasksOfTypes)
{
    CTypesList types;
    CTypeItem* t = AddNamed<CTypeItem>(types, "T", 1, Preset(7));
    t->SetField(0, "Site");
    t->SetHiddenMask(0x0012);
    EXPECT_EQ("Site", types.GetFieldLabel(Preset(7).b, 0));
    EXPECT_EQ("Field 2", types.GetFieldLabel(Preset(7).b, 1));
    EXPECT_EQ("Field 4", types.GetFieldLabel(Preset(8).b, 3));
    EXPECT_EQ("Date Mod", types.GetFieldLabel(Preset(8).b, 9));
    EXPECT_EQ("Date Mod", types.GetFieldLabel(Preset(8).b, 12));
    CStringArray labels;
    types.GetFieldLabels(Preset(7).b, labels);
    ASSERT_EQ(10, labels.GetSize());
    EXPECT_EQ("Site", labels[0]);
    EXPECT_EQ("Date Mod", labels[9]);
    EXPECT_EQ(0x0012, types.GetHiddenMask(Preset(7).b));
    EXPECT_EQ(0, types.GetHiddenMask(Preset(8).b));
}

// ---------------------------------------------------------------- deleting

TEST(ObjectList, SoftDeleteLeavesTombstonesOnlyWhereSyncNeedsThem)
{
    struct Case {
        const char* what;
        bool hardDelete;
        int kind;  // 0 record, 1 type
        int32_t id;
        Key key;
        bool staysAsTombstone;
    } cases[] = {
        {"record with an id", false, 0, 3, Key{}, true},
        {"record with id 0", false, 0, 0, Key{}, false},
        {"record, hard delete", true, 0, 3, Key{}, false},
        {"preset type with id 0", false, 1, 0, Preset(2), true},
        {"own type with id 0", false, 1, 0, Key{{1, 2, 3, 4, 5, 6, 7, 8}}, false},
        {"own type with an id", false, 1, 4, Key{{1, 2, 3, 4, 5, 6, 7, 8}}, true},
        {"preset type, hard delete", true, 1, 4, Preset(2), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HardDelete mode(c.hardDelete);
        CRecordList records;
        CTypesList types;
        CObjectList& list = c.kind == 0 ? static_cast<CObjectList&>(records) : types;
        CBaseItem* item = c.kind == 0 ? static_cast<CBaseItem*>(new CRecord) : new CTypeItem;
        item->SetId(c.id);
        item->SetKey(c.key.b);
        list.Add(item);
        list.SoftDelete(item);
        if (c.staysAsTombstone) {
            ASSERT_EQ(1, list.GetCount());
            EXPECT_TRUE(item->IsDeleted());
            EXPECT_TRUE(item->IsModified());
        } else {
            EXPECT_EQ(0, list.GetCount());
        }
    }
}

TEST(RecordList, DeleteRecordAlwaysKeepsATombstoneAndRemovesTheAttachment)
{
    HardDelete on(true);
    zvtest::ScratchDir scratch;
    const CString db = P(scratch / "ZorvikanDatabase.zdb");
    CRecordList records;
    CRecord* r = AddRecord(records, 0x2A, Preset(1), Key{});
    r->SetAttachmentName("a.pdf");
    scratch.WriteFile("Files/2a.zfa", "x");
    EXPECT_TRUE(records.DeleteRecord(r, db));
    ASSERT_EQ(1, records.GetCount());
    EXPECT_TRUE(r->IsDeleted());
    EXPECT_TRUE(r->IsModified());
    EXPECT_FALSE(r->HasAttachment());
    EXPECT_FALSE(fs::exists(scratch / "Files" / "2a.zfa"));
    CTypeItem type;
    EXPECT_FALSE(records.DeleteRecord(&type, db));
    EXPECT_FALSE(records.DeleteRecord(nullptr, db));
}

TEST(ObjectList, PurgeDetachAndWholeListChanges)
{
    CRecordList records;
    CRecord* a = AddRecord(records, 1, Preset(1), Key{});
    CRecord* b = AddRecord(records, 2, Preset(1), Key{});
    CRecord* c = AddRecord(records, 3, Preset(1), Key{});
    b->SetDeleted(true);
    a->SetAttachmentChanged(1);
    records.SetModifiedAll(true);
    EXPECT_TRUE(a->IsModified() && b->IsModified() && c->IsModified());
    records.SetModifiedAll(false);
    EXPECT_FALSE(a->IsModified() || c->IsModified());
    records.ClearSyncWord();
    EXPECT_EQ(0, a->GetAttachmentChanged());
    records.PurgeDeleted();
    EXPECT_EQ(2, records.GetCount());
    EXPECT_EQ(nullptr, records.FindById(2));

    EXPECT_EQ(c, records.FindOrDetachById(3, false));
    EXPECT_EQ(2, records.GetCount());
    std::unique_ptr<CBaseItem> detached(records.FindOrDetachById(3, true));
    EXPECT_EQ(c, detached.get());
    EXPECT_EQ(1, records.GetCount());
    EXPECT_EQ(nullptr, records.FindOrDetachById(3, true));

    records.Remove(a);
    EXPECT_EQ(0, records.GetCount());
    CRecord stranger;
    records.Remove(&stranger);  // not in the list: nothing happens
    records.Remove(nullptr);
}

// ---------------------------------------------------------------- records

TEST(RecordList, CountingAndPickingMatchingRecords)
{
    const Key cat = Key{{9, 9, 9, 9, 9, 9, 9, 9}};
    CRecordList records;
    AddRecord(records, 1, Preset(1), Key{});
    CRecord* second = AddRecord(records, 2, Preset(1), cat);
    AddRecord(records, 3, Preset(2), cat);
    AddRecord(records, 4, Preset(1), cat)->SetDeleted(true);
    const uint8_t all[8] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    EXPECT_EQ(3, records.CountMatching(all, all));
    EXPECT_EQ(2, records.CountMatching(Preset(1).b, all));
    EXPECT_EQ(1, records.CountMatching(Preset(1).b, cat.b));
    EXPECT_EQ(1, records.CountMatching(all, Key{}.b)) << "the null key is 'unfiled'";
    EXPECT_EQ(second, records.NthMatching(Preset(1).b, all, 1));
    EXPECT_EQ(nullptr, records.NthMatching(Preset(1).b, all, 2));
    EXPECT_EQ(nullptr, records.NthMatching(Preset(1).b, all, -1));
}

TEST(RecordList, TypeChangesReachRecordsOfEveryCategory)
{
    const Key work = Key{{1, 1, 1, 1, 1, 1, 1, 1}};
    CRecordList records;
    CRecord* unfiled = AddRecord(records, 1, Preset(18), Key{});
    CRecord* filed = AddRecord(records, 2, Preset(18), work);
    CRecord* otherType = AddRecord(records, 3, Preset(5), work);
    CRecord* deleted = AddRecord(records, 4, Preset(18), work);
    deleted->SetDeleted(true);
    for (CRecord* r : {unfiled, filed, otherType, deleted}) {
        for (int i = 0; i < 10; ++i) r->SetFieldLabel(i, ("own " + std::to_string(i)).c_str(), nullptr);
        r->SetHiddenMask(0x0301);
        r->SetIcon(1);
    }
    CTypeItem type;
    type.SetKey(Preset(18).b);
    type.SetHiddenMask(0x0006);
    type.SetIcon(21);

    records.ApplyTypeChanges(type, /*clear*/ 0x0005, /*hide*/ 0x0003, /*copy icon*/ true);
    for (CRecord* r : {unfiled, filed}) {
        SCOPED_TRACE(r->GetId());
        EXPECT_EQ("", r->GetCustomLabel(0));
        EXPECT_EQ("own 1", r->GetCustomLabel(1));
        EXPECT_EQ("", r->GetCustomLabel(2));
        EXPECT_EQ("own 3", r->GetCustomLabel(3));
        // Bits 0 and 1 from the type (0 and 1), the others kept (0x0300).
        EXPECT_EQ(0x0302, r->GetHiddenMask());
        EXPECT_EQ(21, r->GetIcon());
        EXPECT_TRUE(r->IsModified());
    }
    for (CRecord* r : {otherType, deleted}) {
        SCOPED_TRACE(r->GetId());
        EXPECT_EQ("own 0", r->GetCustomLabel(0));
        EXPECT_EQ(0x0301, r->GetHiddenMask());
        EXPECT_EQ(1, r->GetIcon());
    }
    records.ApplyTypeChanges(type, 0, 0, false);
    EXPECT_EQ(21, filed->GetIcon());
}

// ---------------------------------------------------------------- ids

TEST(ObjectList, NewItemsGetIdsNoOtherItemHas)
{
    CRecordList records;
    std::set<int32_t> ids;
    for (int i = 0; i < 3000; ++i) {
        CBaseItem* item = records.NewItem();
        ASSERT_TRUE(item);
        EXPECT_EQ(kItemKindRecord, item->GetItemKind());
        EXPECT_NE(0, item->GetId());
        EXPECT_TRUE(ids.insert(item->GetId()).second) << "id " << item->GetId() << " given twice";
        records.Add(item);
    }

    // The id the generator would give next is taken: it is passed over.
    SeedRandom(1234);
    const int32_t next = NewItemId();
    SeedRandom(1234);
    CTypesList types;
    AddNamed<CTypeItem>(types, "taken", next);
    std::unique_ptr<CBaseItem> fresh(types.NewItem());
    EXPECT_NE(next, fresh->GetId());

    // Ids the database reports as used by its other lists are passed over too.
    SeedRandom(1234);
    CCategoryList categories;
    categories.SetSharedIdCheck([&](int32_t id) { return id == next; });
    std::unique_ptr<CBaseItem> category(categories.NewItem());
    EXPECT_NE(next, category->GetId());
    EXPECT_TRUE(categories.IsIdInUse(next));
}

// ---------------------------------------------------------------- cloning

TEST(CloneIntoList, NewItemUnlessAnUnchangedTargetIsGiven)
{
    CRecordList list;
    CRecord source;
    source.SetField(0, "copied");

    EXPECT_EQ(0, source.CloneIntoList(list, nullptr, "", ""));
    ASSERT_EQ(1, list.GetCount());
    CRecord* made = static_cast<CRecord*>(list.GetHead());
    EXPECT_EQ("copied", made->GetField(0));
    EXPECT_TRUE(made->IsModified());
    EXPECT_NE(0, made->GetId());

    CRecord* target = AddRecord(list, 77, Key{}, Key{});
    source.SetField(0, "again");
    EXPECT_EQ(0, source.CloneIntoList(list, target, "", ""));
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ("again", target->GetField(0));
    EXPECT_TRUE(target->IsModified());
    EXPECT_EQ(77, target->GetId());

    // A target that was changed meanwhile is kept; the copy becomes a new item.
    source.SetField(0, "third");
    EXPECT_EQ(0, source.CloneIntoList(list, target, "", ""));
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ("again", target->GetField(0));
    EXPECT_EQ("third", static_cast<CRecord*>(list.GetTail())->GetField(0));
}

TEST(CloneIntoList, RecordsSwapThePathsInTheReversedClone)
{
    zvtest::ScratchDir scratch;
    const CString first = P(scratch / "first" / "ZorvikanDatabase.zdb");
    const CString second = P(scratch / "second" / "ZorvikanDatabase.zdb");
    fs::create_directories(scratch / "first");
    fs::create_directories(scratch / "second");
    CRecord source;
    source.SetId(0x10);
    source.SetAttachmentName("scan.pdf");
    scratch.WriteFile("second/Files/10.zfa", "from second");
    scratch.WriteFile("first/Files/10.zfa", "from first");

    CRecordList list;
    CRecord* target = AddRecord(list, 0x20, Key{}, Key{});
    EXPECT_EQ(0, source.CloneIntoListReversed(list, target, first, second));
    EXPECT_EQ("from second", zvtest::ReadFileBytes(scratch / "first" / "Files" / "20.zfa"));

    CRecord* other = AddRecord(list, 0x21, Key{}, Key{});
    EXPECT_EQ(0, source.CloneIntoList(list, other, first, second));
    EXPECT_EQ("from first", zvtest::ReadFileBytes(scratch / "second" / "Files" / "21.zfa"));

    // Types and categories have no files: both forms are the same.
    CCategoryList categories;
    CCategoryItem c;
    c.SetName("n");
    EXPECT_EQ(0, c.CloneIntoListReversed(categories, nullptr, first, second));
    EXPECT_EQ("n", static_cast<CBaseItem*>(categories.GetHead())->GetName());
}

// ---------------------------------------------------------------- archive

TEST(ObjectList, StoredAsACountAndItsItemsAndOnlyItsOwnClassIsRead)
{
    CItemKeyScope plain(nullptr);
    CTypesList types;
    CreateDefaultTypes(types);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        types.Serialize(ar);
        ar.Close();
    }
    const std::vector<BYTE> bytes = file.GetContents();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(18, bytes[0] | (bytes[1] << 8));
    {
        CMemFile in(bytes.data(), UINT(bytes.size()));
        CArchive ar(&in, CArchive::load);
        CTypesList back;
        back.Serialize(ar);
        EXPECT_EQ(Names(types), Names(back));
    }
    {
        // Types where records belong: refused, and what was read is freed.
        CMemFile in(bytes.data(), UINT(bytes.size()));
        CArchive ar(&in, CArchive::load);
        CRecordList records;
        EXPECT_THROW(records.Serialize(ar), CArchiveException);
        EXPECT_EQ(0, records.GetCount());
    }
    {
        // Cut short: the items read before stay owned by the list.
        CMemFile in(bytes.data(), UINT(bytes.size() / 2));
        CArchive ar(&in, CArchive::load);
        CTypesList part;
        EXPECT_THROW(part.Serialize(ar), CException);
        EXPECT_GT(part.GetCount(), 0);
    }
}
