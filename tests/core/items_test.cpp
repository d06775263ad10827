#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/items/BaseItem.h"
#include "core/items/Category.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "framework/CException.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

struct Key {
    uint8_t b[kUniqueKeySize];
};

Key K(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4, uint8_t b5, uint8_t b6, uint8_t b7)
{
    return Key{{b0, b1, b2, b3, b4, b5, b6, b7}};
}

bool Same(const uint8_t* a, const uint8_t* b) { return memcmp(a, b, kUniqueKeySize) == 0; }

// A string array holding the texts (arrays are objects: no copies).
struct Strings {
    Strings(std::initializer_list<const char*> texts)
    {
        for (const char* t : texts) array.Add(t);
    }
    operator const CStringArray&() const { return array; }
    CStringArray array;
};

std::unique_ptr<CTypeItem> MakeType(const Strings& labels, WORD icon = 21, WORD mask = 0x0004)
{
    auto type = std::make_unique<CTypeItem>();
    type->SetFieldsFrom(labels);
    type->SetIcon(icon);
    type->SetHiddenMask(mask);
    const Key key = K(0, 0, 0, 0, 0, 0, 0, 0x12);
    type->SetKey(key.b);
    type->SetName("Web Logins");
    return type;
}

// ---------------------------------------------------------------- defaults

TEST(ItemDefaults, EveryClassStartsWithTheDocumentedValues)
{
    CRecord r;
    CTypeItem t;
    CCategoryItem c;
    CBaseItem* items[] = {&r, &t, &c};
    for (CBaseItem* item : items) {
        for (int i = 0; i < kItemFieldCount; ++i) EXPECT_EQ(item->GetField(i), "");
        EXPECT_TRUE(item->AllFieldsEmpty());
        EXPECT_EQ(item->GetHiddenMask(), 0);
        EXPECT_TRUE(IsNullUniqueKey(item->GetKey()));
        EXPECT_EQ(item->GetIcon(), 24);
        EXPECT_FALSE(item->IsModified());
        EXPECT_FALSE(item->IsDeleted());
        EXPECT_GE(item->GetId(), 0);
        EXPECT_LE(item->GetId(), 65535);
        EXPECT_EQ(item->GetChecksum(), 0);
        EXPECT_EQ(item->GetReservedWord(), 0);
        EXPECT_EQ(item->GetReservedLong(), 0);
        EXPECT_EQ(item->GetAttachmentChanged(), 0);
        EXPECT_TRUE(item->GetPackedBlob().empty());
        EXPECT_EQ(item->GetModifiedTime(), 0);
        EXPECT_EQ(item->GetName(), "");
        EXPECT_EQ(item->GetNotes(), "");
    }
    EXPECT_TRUE(IsNullUniqueKey(r.GetCategoryKey()));
    EXPECT_FALSE(IsNullUniqueKey(r.GetUid()));  // a fresh uid per record
    EXPECT_EQ(r.GetViewCount(), 0);
    EXPECT_FALSE(r.HasAttachment());
    EXPECT_EQ(r.GetAttachmentKey(), "");
    for (int i = 0; i < kItemFieldCount; ++i) EXPECT_EQ(r.GetCustomLabel(i), "");
    CRecord other;
    EXPECT_FALSE(Same(r.GetUid(), other.GetUid()));

    uint8_t defaults[CShowColumns::kStoredSize], own[CShowColumns::kStoredSize];
    DefaultShowColumns().WriteBytes(defaults);
    t.GetColumns().WriteBytes(own);
    EXPECT_EQ(memcmp(defaults, own, sizeof own), 0);
}

TEST(ItemKinds, KindsAndRunTimeClasses)
{
    CBaseItem base;
    CCategory named;
    CTypeItem type;
    CCategoryItem category;
    CRecord record;
    EXPECT_EQ(base.GetItemKind(), -1);
    EXPECT_EQ(named.GetItemKind(), -1);
    EXPECT_EQ(type.GetItemKind(), 1);
    EXPECT_EQ(category.GetItemKind(), 2);
    EXPECT_EQ(record.GetItemKind(), 0);

    EXPECT_TRUE(type.IsKindOf(RUNTIME_CLASS(CCategory)));
    EXPECT_TRUE(category.IsKindOf(RUNTIME_CLASS(CBaseItem)));
    EXPECT_FALSE(record.IsKindOf(RUNTIME_CLASS(CCategory)));
    for (const char* name : {"CBaseItem", "CCategory", "CTypeItem", "CCategoryItem", "CRecord"}) {
        const CRuntimeClass* cls = CRuntimeClass::FromName(name);
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_EQ(cls->m_wSchema, VERSIONABLE_SCHEMA | 7u) << name;
        std::unique_ptr<CObject> made(cls->CreateObject());
        ASSERT_NE(made, nullptr) << name;
        EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, name);
    }
}

// ---------------------------------------------------------------- fields

TEST(ItemFields, SetGetAndOutOfRange)
{
    CRecord r;
    r.SetField(0, "first");
    r.SetField(9, "last");
    EXPECT_EQ(r.GetField(0), "first");
    EXPECT_EQ(r.GetField(9), "last");
    EXPECT_TRUE(r.HasFieldText(9));
    EXPECT_FALSE(r.HasFieldText(5));
    EXPECT_FALSE(r.AllFieldsEmpty());
    EXPECT_EQ(r.GetField(10), "");
    EXPECT_EQ(r.GetField(-1), "");
    EXPECT_FALSE(r.HasFieldText(10));
    EXPECT_THROW(r.SetField(10, "x"), CInvalidArgException);
    EXPECT_THROW(r.SetField(-1, "x"), CInvalidArgException);
    EXPECT_THROW(r.SetFieldLabel(10, "x", nullptr), CInvalidArgException);

    r.SetFieldsFrom(Strings{"a", "b"});
    EXPECT_EQ(r.GetField(0), "a");
    EXPECT_EQ(r.GetField(1), "b");
    for (int i = 2; i < kItemFieldCount; ++i) EXPECT_EQ(r.GetField(i), "") << i;
    CStringArray twelve;
    for (int i = 0; i < 12; ++i) twelve.Add(CString(static_cast<char>('a' + i), 1));
    r.SetFieldsFrom(twelve);
    EXPECT_EQ(r.GetField(9), "j");
    r.SetFieldsFrom(CStringArray());
    EXPECT_TRUE(r.AllFieldsEmpty());
}

struct MaskCase {
    const char* text;
    WORD hiddenMask;
    int index;
    bool mask;
    const char* shown;
};

TEST(ItemFields, MaskingShowsStarsOnlyForNonEmptyMaskedFields)
{
    const MaskCase cases[] = {
        {"secret", 0x0004, 2, true, "****"}, {"secret", 0x0004, 2, false, "secret"},
        {"", 0x0004, 2, true, ""},           {"plain", 0x0004, 1, true, "plain"},
        {"x", 0x0200, 9, true, "****"},      {"x", 0x0001, 0, true, "****"},
        {"x", 0xFC00, 9, true, "x"},         {"x", 0x03FF, 10, true, ""},
    };
    for (const auto& c : cases) {
        CRecord r;
        if (c.index < kItemFieldCount) r.SetField(c.index, c.text);
        r.SetHiddenMask(c.hiddenMask);
        EXPECT_EQ(r.GetFieldDisplayText(c.index, c.mask), CString(c.shown))
            << c.text << " mask=" << c.hiddenMask << " i=" << c.index << " masking=" << c.mask;
    }
}

TEST(ItemFields, FieldNameFallsBackToDefaultLabels)
{
    CTypeItem t;
    t.SetField(0, "Description");
    EXPECT_EQ(t.GetFieldName(0), "Description");
    EXPECT_EQ(t.GetFieldName(1), "Field 2");
    EXPECT_EQ(t.GetFieldName(8), "Field 9");
    EXPECT_EQ(t.GetFieldName(9), "Date Mod");
    EXPECT_EQ(DefaultFieldLabel(0), "Field 1");
    EXPECT_EQ(DefaultFieldLabel(3), "Field 4");
    EXPECT_EQ(DefaultFieldLabel(9), "Date Mod");
    EXPECT_EQ(DefaultFieldLabel(12), "Date Mod");
}

TEST(ItemFields, MainTextIsNameOrNotes)
{
    CTypeItem t;
    CCategoryItem c;
    CRecord r;
    CBaseItem b;
    EXPECT_FALSE(t.HasMainText());
    t.SetMainText("Bank Accts");
    c.SetMainText("Business");
    r.SetMainText("line 1\r\nline 2");
    b.SetMainText("ignored");
    EXPECT_EQ(t.GetName(), "Bank Accts");
    EXPECT_EQ(c.GetName(), "Business");
    EXPECT_EQ(r.GetNotes(), "line 1\r\nline 2");
    EXPECT_TRUE(t.HasMainText());
    EXPECT_TRUE(r.HasMainText());
    EXPECT_FALSE(b.HasMainText());
    EXPECT_EQ(b.GetName(), "");
}

// ---------------------------------------------------------------- labels

struct LabelCase {
    const char* custom;     // the record's own label 3
    const char* typeLabel;  // the type's label 3; nullptr: no type
    bool colon;
    const char* label;
};

TEST(RecordLabels, OwnLabelThenTypeLabelThenDefault)
{
    const LabelCase cases[] = {
        {"", "", false, ""},  // a type with an empty label gives an empty label, not the default
        {"", nullptr, false, "Field 4"},
        {"", "URL", false, "URL"},
        {"Site", "URL", false, "Site"},
        {"Site", nullptr, false, "Site"},
        {"", "URL", true, "URL:"},
        {"Site:", "URL", true, "Site:"},
        {"", "", true, ""},
        {"", nullptr, true, "Field 4:"},
        {"a:b", nullptr, true, "a:b:"},
    };
    for (const auto& c : cases) {
        CRecord r;
        r.SetFieldLabel(3, c.custom, nullptr);
        std::unique_ptr<CTypeItem> type;
        if (c.typeLabel) {
            type = std::make_unique<CTypeItem>();
            type->SetField(3, c.typeLabel);
        }
        EXPECT_EQ(r.GetFieldLabel(3, type.get(), c.colon), CString(c.label))
            << "custom=" << c.custom << " type=" << (c.typeLabel ? c.typeLabel : "(none)") << " colon=" << c.colon;
    }
}

TEST(RecordLabels, AllLabelsAndSettingOnlyWhatDiffers)
{
    auto type = MakeType(Strings{"Description", "Username", "Password", "URL"});
    CRecord r;
    r.SetFieldLabel(1, "Login", type.get());
    r.SetFieldLabel(2, "Password", type.get());  // same as the type's: nothing of its own
    r.SetFieldLabel(3, "url", type.get());       // byte-wise: differs in case
    EXPECT_EQ(r.GetCustomLabel(1), "Login");
    EXPECT_EQ(r.GetCustomLabel(2), "");
    EXPECT_EQ(r.GetCustomLabel(3), "url");
    r.SetFieldLabel(4, "", type.get());  // equal to the type's empty label
    EXPECT_EQ(r.GetCustomLabel(4), "");
    r.SetFieldLabel(5, "Own", nullptr);
    EXPECT_EQ(r.GetCustomLabel(5), "Own");

    CStringArray labels;
    labels.Add("stale");
    r.GetFieldLabels(type.get(), labels);
    const char* expected[] = {"Description", "Login", "Password", "url", "", "Own", "", "", "", ""};
    ASSERT_EQ(labels.GetSize(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(labels[i], CString(expected[i])) << i;
    labels.SetSize(15);
    r.GetFieldLabels(nullptr, labels);
    ASSERT_EQ(labels.GetSize(), 10);
    EXPECT_EQ(labels[0], "Field 1");
    EXPECT_EQ(labels[1], "Login");
    EXPECT_EQ(labels[9], "Date Mod");

    r.SetCustomLabels(Strings{"x", "y"});
    EXPECT_EQ(r.GetCustomLabel(0), "x");
    EXPECT_EQ(r.GetCustomLabel(1), "y");
    for (int i = 2; i < 10; ++i) EXPECT_EQ(r.GetCustomLabel(i), "") << i;
}

TEST(RecordLabels, CopyCustomLabelsTakesLabelsAndMask)
{
    CRecord a, b;
    a.SetCustomLabels(Strings{"one", "", "three"});
    a.SetHiddenMask(0x0101);
    a.SetField(0, "value");
    b.SetCustomLabels(Strings{"", "two"});
    b.CopyCustomLabels(a);
    EXPECT_EQ(b.GetCustomLabel(0), "one");
    EXPECT_EQ(b.GetCustomLabel(1), "");
    EXPECT_EQ(b.GetCustomLabel(2), "three");
    EXPECT_EQ(b.GetHiddenMask(), 0x0101);
    EXPECT_EQ(b.GetField(0), "");
}

TEST(RecordLabels, SetTypeTakesKeyIconMaskAndDropsOwnLabels)
{
    auto type = MakeType(Strings{"Description"}, 21, 0x0004);
    CRecord r;
    r.SetCustomLabels(Strings{"a", "b", "c"});
    r.SetType(type.get());
    EXPECT_TRUE(Same(r.GetTypeKey(), type->GetKey()));
    EXPECT_EQ(r.GetIcon(), 21);
    EXPECT_EQ(r.GetHiddenMask(), 0x0004);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(r.GetCustomLabel(i), "") << i;

    r.SetCustomLabels(Strings{"a"});
    r.SetType(nullptr);
    EXPECT_TRUE(IsNullUniqueKey(r.GetTypeKey()));
    EXPECT_EQ(r.GetIcon(), 24);
    EXPECT_EQ(r.GetHiddenMask(), 0);
    EXPECT_EQ(r.GetCustomLabel(0), "");
}

// ---------------------------------------------------------------- filters

TEST(RecordFilter, AllKeyMatchesAnyNullKeyOnlyUnfiled)
{
    const Key web = K(0, 0, 0, 0, 0, 0, 0, 0x12), bank = K(0, 0, 0, 0, 0, 0, 0, 0x01);
    const Key business = K(0, 0, 0, 0, 0, 0, 0, 0x33), other = K(1, 2, 3, 4, 5, 6, 7, 8);
    const Key all = K(0, 0, 0, 0, 0, 0, 0xFF, 0xFF), none = K(0, 0, 0, 0, 0, 0, 0, 0);
    const Key edit = K(0, 0, 0, 0, 0, 0, 0xFF, 0xFE);
    EXPECT_TRUE(Same(all.b, KEY_ALL));
    EXPECT_TRUE(Same(none.b, KEY_UNFILED));
    EXPECT_TRUE(Same(edit.b, KEY_EDIT_ENTRY));

    struct Case {
        Key recordType, recordCategory;
        bool deleted;
        Key filterType, filterCategory;
        bool matches;
    } cases[] = {
        {web, business, false, all, all, true},
        {none, none, false, all, all, true},
        {web, business, true, all, all, false},  // deleted records never match
        {web, business, false, web, all, true},
        {web, business, false, bank, all, false},
        {web, business, false, all, business, true},
        {web, business, false, all, other, false},
        {web, business, false, web, business, true},
        {web, business, false, web, other, false},
        // the zero key asks for records without type / category
        {web, none, false, all, none, true},
        {web, business, false, all, none, false},
        {none, business, false, none, all, true},
        {web, business, false, none, all, false},
        {none, none, false, none, none, true},
        {web, business, false, none, none, false},
        // the edit-entry key is no wildcard
        {web, business, false, edit, all, false},
        // a key that differs only in its last byte is another key
        {K(0, 0, 0, 0, 0, 0, 0xFF, 0xFE), business, false, all, business, true},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        CRecord r;
        r.SetTypeKey(c.recordType.b);
        r.SetCategoryKey(c.recordCategory.b);
        r.SetDeleted(c.deleted);
        EXPECT_EQ(r.MatchesFilter(c.filterType.b, c.filterCategory.b), c.matches) << "case " << i;
    }
}

// ---------------------------------------------------------------- search

TEST(RecordSearch, FieldsUnderTheMaskThenNotes)
{
    CRecord r;
    r.SetFieldsFrom(Strings{"Bank of Somewhere", "john.doe", "S3cret", "https://example.test/login"});
    r.SetHiddenMask(0x0004);  // masking never hides a field from the search
    r.SetNotes("PIN is in the drawer\r\nsecond line");
    struct Case {
        const char* text;
        bool caseSensitive, wholeWord;
        WORD fields;
        bool found;
    } cases[] = {
        {"somewhere", false, false, 0x03FF, true},
        {"somewhere", true, false, 0x03FF, false},
        {"Somewhere", true, true, 0x03FF, true},
        {"some", false, true, 0x03FF, false},
        {"s3cret", false, false, 0x03FF, true},   // masked field still searched
        {"s3cret", false, false, 0x03FB, false},  // ... unless left out of the field mask
        {"example", false, false, 0x0008, true},
        {"example", false, false, 0x0007, false},
        {"drawer", false, true, 0x0000, true},  // notes are always searched
        {"second", false, true, 0x0000, true},
        {"pin", true, false, 0x0000, false},
        {"nowhere", false, false, 0x03FF, false},
        {"john", false, true, 0x0002, false},
        {"john", false, false, 0x0002, true},
        {"", false, false, 0x0000, true},  // no search text: every record
        {"", true, true, 0x03FF, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(r.MatchesSearch(c.text, c.caseSensitive, c.wholeWord, c.fields), c.found)
            << c.text << " case=" << c.caseSensitive << " word=" << c.wholeWord << " fields=" << c.fields;
}

TEST(RecordSearch, EmptyTextMatchesEveryRecord)
{
    CRecord r;
    r.SetField(0, "abc");
    r.SetNotes("xyz");
    EXPECT_TRUE(r.MatchesSearch("", false, true, 0x03FF));
    EXPECT_TRUE(r.MatchesSearch("", true, false, 0x0000));
    EXPECT_FALSE(r.MatchesSearch("b", false, true, 0x03FF));
}

// ---------------------------------------------------------------- keys

TEST(ItemKeys, UidIsTheRecordUidOrTheKey)
{
    const Key a = K(1, 1, 1, 1, 1, 1, 1, 1), b = K(2, 2, 2, 2, 2, 2, 2, 2);
    CRecord r;
    r.SetKey(a.b);
    r.SetUid(b.b);
    EXPECT_TRUE(Same(r.GetTypeKey(), a.b));
    EXPECT_TRUE(Same(r.GetKey(), a.b));
    EXPECT_TRUE(Same(r.GetUid(), b.b));
    CTypeItem t;
    t.SetUid(b.b);
    EXPECT_TRUE(Same(t.GetKey(), b.b));
    EXPECT_TRUE(Same(t.GetUid(), b.b));
}

TEST(ItemKeys, PresetKeysAndTombstones)
{
    struct Case {
        Key key;
        int32_t id;
        bool preset;         // for types and categories
        bool typeTombstone;  // NeedsTombstone of a type / category
    } cases[] = {
        {K(0, 0, 0, 0, 0, 0, 0, 0x33), 0, true, true},      {K(0, 0, 0, 0, 0, 0, 0x01, 0x00), 0, false, false},
        {K(0, 0, 0, 0, 0, 0, 0x01, 0x00), 7, false, true},  {K(0, 0, 0, 0, 0, 0, 0, 0), 0, true, true},
        {K(0x12, 0, 0, 0, 0, 0, 0, 0x33), 0, false, false}, {K(0, 0, 0, 0, 0, 0, 0xFF, 0xFF), 0, false, false},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        CTypeItem t;
        CCategoryItem cat;
        CRecord r;
        CBaseItem* items[] = {&t, &cat, &r};
        for (CBaseItem* item : items) {
            item->SetKey(c.key.b);
            item->SetId(c.id);
        }
        EXPECT_EQ(t.IsPresetKey(), c.preset) << i;
        EXPECT_EQ(cat.IsPresetKey(), c.preset) << i;
        EXPECT_FALSE(r.IsPresetKey()) << i;
        EXPECT_EQ(t.NeedsTombstone(), c.typeTombstone) << i;
        EXPECT_EQ(cat.NeedsTombstone(), c.typeTombstone) << i;
        EXPECT_EQ(r.NeedsTombstone(), c.id != 0) << i;  // records: only the id counts
    }
}

// ---------------------------------------------------------------- copying

void FillBase(CBaseItem& item, const char* tag)
{
    for (int i = 0; i < kItemFieldCount; ++i) item.SetField(i, CString(tag) + CString('0' + i, 1));
    item.SetHiddenMask(0x0155);
    const Key key = K(9, 8, 7, 6, 5, 4, 3, 2);
    item.SetKey(key.b);
    item.SetIcon(7);
    item.SetModified(true);
    item.SetDeleted(true);
    item.SetId(4321);
    item.SetChecksum(0xBEEF);
    item.SetReservedWord(-3);
    item.SetReservedLong(77);
    item.SetAttachmentChanged(1);
    const uint8_t blob[] = {0xBE, 0xEF, 1, 2, 3};
    item.SetPackedBlob(blob, sizeof blob);
    item.SetModifiedTime(1700000000);
}

TEST(ItemCopy, BasePartCopiesAllButIdReservedAndAttachmentChanged)
{
    CTypeItem source, target;
    FillBase(source, "s");
    source.SetName("Source type");
    target.SetId(11);
    target.SetReservedWord(5);
    target.SetReservedLong(6);
    target.SetAttachmentChanged(0);
    target.CopyFrom(&source);
    for (int i = 0; i < kItemFieldCount; ++i) EXPECT_EQ(target.GetField(i), source.GetField(i));
    EXPECT_EQ(target.GetHiddenMask(), 0x0155);
    EXPECT_TRUE(Same(target.GetKey(), source.GetKey()));
    EXPECT_EQ(target.GetIcon(), 7);
    EXPECT_TRUE(target.IsModified());
    EXPECT_TRUE(target.IsDeleted());
    EXPECT_EQ(target.GetChecksum(), 0xBEEF);
    EXPECT_EQ(target.GetPackedBlob(), source.GetPackedBlob());
    EXPECT_NE(target.GetPackedBlob().data(), source.GetPackedBlob().data());  // a private copy
    EXPECT_EQ(target.GetModifiedTime(), 1700000000);
    EXPECT_EQ(target.GetName(), "Source type");
    // not copied
    EXPECT_EQ(target.GetId(), 11);
    EXPECT_EQ(target.GetReservedWord(), 5);
    EXPECT_EQ(target.GetReservedLong(), 6);
    EXPECT_EQ(target.GetAttachmentChanged(), 0);
}

TEST(ItemCopy, ModificationTimeOnlyWhenTheSourceHasOne)
{
    const int32_t times[][3] = {{0, 500, 500}, {-5, 500, 500}, {900, 500, 900}, {1, 0, 1}};
    for (const auto& t : times) {
        CRecord source, target;
        source.SetModifiedTime(t[0]);
        target.SetModifiedTime(t[1]);
        target.CopyFrom(&source);
        EXPECT_EQ(target.GetModifiedTime(), t[2]) << t[0] << " over " << t[1];
    }
}

TEST(ItemCopy, RecordPartButNotTheViewCount)
{
    CRecord source, target;
    FillBase(source, "r");
    source.SetNotes("notes\r\nhere");
    const Key cat = K(0, 0, 0, 0, 0, 0, 0, 0x34);
    source.SetCategoryKey(cat.b);
    source.SetCustomLabels(Strings{"L0", "", "L2"});
    source.SetAttachmentName("scan.pdf");
    source.SetAttachmentKey("k3y");
    source.SetViewCount(12);
    target.SetViewCount(3);
    target.CopyFrom(&source);
    EXPECT_EQ(target.GetNotes(), "notes\r\nhere");
    EXPECT_TRUE(Same(target.GetCategoryKey(), cat.b));
    EXPECT_EQ(target.GetCustomLabel(0), "L0");
    EXPECT_EQ(target.GetCustomLabel(2), "L2");
    EXPECT_EQ(target.GetAttachmentName(), "scan.pdf");
    EXPECT_EQ(target.GetAttachmentKey(), "k3y");
    EXPECT_TRUE(Same(target.GetUid(), source.GetUid()));
    EXPECT_EQ(target.GetViewCount(), 3);
    EXPECT_EQ(target.GetField(4), "r4");
}

TEST(ItemCopy, AcrossClassesOnlyTheSharedPartMoves)
{
    CTypeItem type;
    FillBase(type, "t");
    type.SetName("A type");
    CRecord record;
    record.SetNotes("kept");
    const uint8_t uid[kUniqueKeySize] = {1, 2, 3, 4, 5, 6, 7, 8};
    record.SetUid(uid);
    record.CopyFrom(&type);
    EXPECT_EQ(record.GetField(0), "t0");
    EXPECT_EQ(record.GetNotes(), "kept");
    EXPECT_TRUE(Same(record.GetUid(), uid));

    CCategoryItem category;
    category.SetName("kept name");
    CRecord source;
    FillBase(source, "s");
    category.CopyFrom(&source);
    EXPECT_EQ(category.GetName(), "kept name");
    EXPECT_EQ(category.GetField(1), "s1");

    CCategoryItem fromType;
    fromType.CopyFrom(&type);  // both are named items: the name comes along
    EXPECT_EQ(fromType.GetName(), "A type");

    record.CopyFrom(nullptr);  // nothing to copy
    EXPECT_EQ(record.GetNotes(), "kept");
}

CString P(const fs::path& p)
{
    std::string s = p.string();
    for (char& c : s)
        if (c == '/') c = '\\';
    return CString(s.c_str());
}

TEST(ItemCopy, CopyIntoNeedsBothItems)
{
    CRecord a, b;
    a.SetField(0, "x");
    EXPECT_EQ(a.CopyInto(nullptr, &a, "", ""), 0);
    EXPECT_EQ(a.CopyInto(&b, nullptr, "", ""), 0);
    EXPECT_EQ(a.CopyInto(&b, &a, "", ""), 1);
    EXPECT_EQ(b.GetField(0), "x");
    CCategoryItem c, d;
    c.SetName("n");
    EXPECT_EQ(c.CopyInto(&d, &c, "", ""), 1);
    EXPECT_EQ(d.GetName(), "n");
}

TEST(ItemCopy, CopyIntoCarriesTheStoredAttachmentFile)
{
    zvtest::ScratchDir scratch;
    const CString sourceDb = P(scratch / "src" / "ZorvikanDatabase.zdb");
    const CString targetDb = P(scratch / "dst" / "ZorvikanDatabase.zdb");
    fs::create_directories(scratch / "dst");
    CRecord source, target;
    source.SetId(0x1A2B);
    target.SetId(0x00FF);
    source.SetAttachmentName("scan.pdf");
    source.SetAttachmentKey("key");
    scratch.WriteFile("src/Files/1a2b.zfa", "encrypted bytes");
    scratch.WriteFile("dst/Files/ff.zfa", "old");  // overwritten

    EXPECT_EQ(source.CopyInto(&target, &source, sourceDb, targetDb), 1);
    EXPECT_EQ(target.GetAttachmentName(), "scan.pdf");
    EXPECT_EQ(target.GetAttachmentKey(), "key");
    EXPECT_EQ(zvtest::ReadFileBytes(scratch / "dst" / "Files" / "ff.zfa"), "encrypted bytes");
    EXPECT_EQ(zvtest::ReadFileBytes(scratch / "src" / "Files" / "1a2b.zfa"), "encrypted bytes");

    // The "Files" folder of the target is made even when the source has none.
    CRecord lone, copy;
    lone.SetAttachmentName("a.txt");
    fs::create_directories(scratch / "other");
    EXPECT_EQ(lone.CopyInto(&copy, &lone, P(scratch / "nowhere" / "x.zdb"), P(scratch / "other" / "y.zdb")), 1);
    EXPECT_TRUE(fs::is_directory(scratch / "other" / "Files"));
    EXPECT_EQ(copy.GetAttachmentName(), "a.txt");

    // Without paths, or without an attachment, no file is touched.
    CRecord plain, plainCopy;
    fs::create_directories(scratch / "third");
    EXPECT_EQ(plain.CopyInto(&plainCopy, &plain, sourceDb, P(scratch / "third" / "z.zdb")), 1);
    EXPECT_FALSE(fs::exists(scratch / "third" / "Files"));
    EXPECT_EQ(source.CopyInto(&plainCopy, &source, "", P(scratch / "third" / "z.zdb")), 1);
    EXPECT_FALSE(fs::exists(scratch / "third" / "Files"));

    // Copying a stored file onto itself leaves it whole.
    EXPECT_EQ(source.CopyInto(&source, &source, sourceDb, sourceDb), 1);
    EXPECT_EQ(zvtest::ReadFileBytes(scratch / "src" / "Files" / "1a2b.zfa"), "encrypted bytes");
}

// ---------------------------------------------------------------- attachments

TEST(RecordAttachment, StoredFileNameIsTheIdInLowerCaseHex)
{
    const struct {
        int32_t id;
        const char* name;
    } cases[] = {{0x1A2B, "1a2b.zfa"}, {0, "0.zfa"}, {65535, "ffff.zfa"}, {10, "a.zfa"}};
    for (const auto& c : cases) {
        CRecord r;
        r.SetId(c.id);
        EXPECT_EQ(r.GetAttachmentFileName(), CString(c.name)) << c.id;
    }
}

TEST(RecordAttachment, DeleteAttachmentFile)
{
    zvtest::ScratchDir scratch;
    CRecord r;
    r.SetId(0xAB);
    r.SetAttachmentName("a.txt");
    r.SetAttachmentKey("k");
    EXPECT_TRUE(r.HasAttachment());
    EXPECT_EQ(r.DeleteAttachmentFile(""), 0);  // no path: nothing changes
    EXPECT_EQ(r.GetAttachmentName(), "a.txt");
    EXPECT_EQ(r.GetAttachmentKey(), "k");

    scratch.WriteFile("Files/ab.zfa", "data");
    EXPECT_NE(r.DeleteAttachmentFile(P(scratch / "db.zdb")), 0);
    EXPECT_FALSE(fs::exists(scratch / "Files" / "ab.zfa"));
    EXPECT_FALSE(r.HasAttachment());
    EXPECT_EQ(r.GetAttachmentKey(), "");

    r.SetAttachmentName("b.txt");
    EXPECT_EQ(r.DeleteAttachmentFile(P(scratch / "db.zdb")), 0);  // no file left to delete
    EXPECT_FALSE(r.HasAttachment());
}

// ---------------------------------------------------------------- packed strings

TEST(RecordNotes, PackedWithoutCrAndReadBackWithCrLf)
{
    const struct {
        const char* inMemory;
        std::string packed;  // with its zero byte
        const char* readBack;
    } cases[] = {
        {"line 1\r\nline 2", std::string("line 1\nline 2\0", 14), "line 1\r\nline 2"},
        {"lone\nlf", std::string("lone\nlf\0", 8), "lone\r\nlf"},
        {"", std::string("\0", 1), ""},
        {"a\rb", std::string("ab\0", 3), "ab"},
        {"\r\n\r\n", std::string("\n\n\0", 3), "\r\n\r\n"},
    };
    for (const auto& c : cases) {
        CRecord r;
        r.SetNotes(c.inMemory);
        EXPECT_EQ(r.NotesSize(), static_cast<int>(c.packed.size())) << c.inMemory;
        std::vector<uint8_t> buffer(c.packed.size() + 4, 0xEE);
        uint8_t* cursor = buffer.data();
        r.WriteNotes(cursor);
        EXPECT_EQ(cursor, buffer.data() + c.packed.size());
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<long>(c.packed.size())), c.packed);
        EXPECT_EQ(buffer[c.packed.size()], 0xEE);  // nothing written past the zero

        CRecord back;
        back.SetNotes("old notes");
        const uint8_t* in = buffer.data();
        back.ReadNotes(in, buffer.data() + buffer.size());
        EXPECT_EQ(back.GetNotes(), CString(c.readBack)) << c.inMemory;
        EXPECT_EQ(in, buffer.data() + c.packed.size());
    }
}

TEST(RecordNotes, ReadingStopsAtTheEndOfTheBytesWithoutAZero)
{
    const uint8_t bytes[] = {'a', '\n', 'b'};
    CRecord r;
    const uint8_t* cursor = bytes;
    r.ReadNotes(cursor, bytes + sizeof bytes);
    EXPECT_EQ(r.GetNotes(), "a\r\nb");
    EXPECT_EQ(cursor, bytes + sizeof bytes);
    // Items without notes neither write nor read any.
    CTypeItem t;
    EXPECT_EQ(t.NotesSize(), 0);
    cursor = bytes;
    t.ReadNotes(cursor, bytes + sizeof bytes);
    EXPECT_EQ(cursor, bytes);
}

TEST(CategoryName, PackedWithItsZero)
{
    CCategoryItem c;
    c.SetName("Business");
    EXPECT_EQ(c.NameSize(), 9);
    uint8_t buffer[16];
    memset(buffer, 0xEE, sizeof buffer);
    uint8_t* cursor = buffer;
    c.WriteName(cursor);
    EXPECT_EQ(cursor, buffer + 9);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 9), std::string("Business\0", 9));

    CTypeItem t;
    const uint8_t* in = buffer;
    t.ReadName(in, buffer + sizeof buffer);
    EXPECT_EQ(t.GetName(), "Business");
    EXPECT_EQ(in, buffer + 9);

    CRecord r;
    EXPECT_EQ(r.NameSize(), 0);
    uint8_t* out = buffer;
    r.WriteName(out);
    EXPECT_EQ(out, buffer);
}

}  // namespace
