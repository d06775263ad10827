// The filter combos' entries: layout, counts, name order, keys of entries and
// entries of keys, and keeping the selection when an entry moves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/items/FilterKeys.h"
#include "mainwindow/models/FilterComboModel.h"
#include "tests/support/RecordBuilder.h"

namespace {

using zvtest::TestKey;

std::vector<std::string> Texts(const CFilterComboModel& model)
{
    std::vector<std::string> texts;
    for (const FilterComboEntry& e : model.Entries()) texts.push_back(std::string(e.text));
    return texts;
}

std::vector<uint8_t> KeyAt(const CFilterComboModel& model, int index)
{
    uint8_t key[kUniqueKeySize];
    model.KeyAt(index, key);
    return std::vector<uint8_t>(key, key + kUniqueKeySize);
}

std::vector<uint8_t> Bytes(const uint8_t* key) { return std::vector<uint8_t>(key, key + kUniqueKeySize); }

TEST(FilterComboModel, WithoutTypesOnlyTheFixedEntries)
{
    zvtest::RecordBuilder db;
    db.AddRecord(0, 0, {"a"});
    db.AddRecord(0, 0, {"b"});
    CFilterComboModel model(CFilterComboModel::kTypes);
    model.Refill(db.types, db.records);
    EXPECT_EQ((std::vector<std::string>{"All Types (2)", "Unfiled (2)", "Edit Types..."}), Texts(model));
}

TEST(FilterComboModel, ItemsStandInNameOrderWithoutCaseAndCountTheirRecords)
{
    zvtest::RecordBuilder db;
    db.AddCategory("work", 3);
    db.AddCategory("Home", 2);
    db.AddCategory("Banking", 1);
    db.AddCategory("Old", 4)->SetDeleted(true);
    db.AddRecord(5, 1, {"a"});
    db.AddRecord(5, 1, {"b"});
    db.AddRecord(5, 3, {"c"});
    db.AddRecord(5, 0, {"d"});
    db.AddRecord(5, 3, {"gone"})->SetDeleted(true);
    CFilterComboModel model(CFilterComboModel::kCategories);
    model.Refill(db.categories, db.records);
    EXPECT_EQ((std::vector<std::string>{"All Categories (4)", "Banking (2)", "Home (0)", "work (1)", "Unfiled (1)",
                                        "Edit Categories..."}),
              Texts(model));
}

TEST(FilterComboModel, KeysOfEntriesAndEntriesOfKeys)
{
    zvtest::RecordBuilder db;
    db.AddType("B", 2);
    db.AddType("A", 1);
    CFilterComboModel model(CFilterComboModel::kTypes);
    model.Refill(db.types, db.records);
    ASSERT_EQ(5, model.GetCount());
    EXPECT_EQ(Bytes(KEY_ALL), KeyAt(model, 0));
    EXPECT_EQ(Bytes(TestKey(1).b), KeyAt(model, 1));
    EXPECT_EQ(Bytes(TestKey(2).b), KeyAt(model, 2));
    EXPECT_EQ(Bytes(KEY_UNFILED), KeyAt(model, 3));
    EXPECT_EQ(Bytes(KEY_EDIT_ENTRY), KeyAt(model, 4));
    EXPECT_EQ(0, model.IndexOfKey(KEY_ALL));
    EXPECT_EQ(3, model.IndexOfKey(KEY_UNFILED));
    EXPECT_EQ(2, model.IndexOfKey(TestKey(2).b));
    EXPECT_EQ(-1, model.IndexOfKey(TestKey(9).b));
    EXPECT_EQ(-1, model.IndexOfKey(KEY_EDIT_ENTRY));
}

TEST(FilterComboModel, ReplacingAnEntryKeepsTheSelectedEntrySelected)
{
    zvtest::RecordBuilder db;
    CTypeItem* a = db.AddType("A", 1);
    db.AddType("C", 3);
    CTypeItem* e = db.AddType("E", 5);
    CFilterComboModel model(CFilterComboModel::kTypes);
    model.Refill(db.types, db.records);
    // "A" renamed to sort last; "C" (index 2) was selected: it is now at 1.
    int selected = 2;
    a->SetName("Z");
    EXPECT_EQ(3, model.Replace(*a, db.records, selected));
    EXPECT_EQ(1, selected);
    // The renamed entry was the selected one: the selection follows it.
    selected = 3;
    a->SetName("B");
    EXPECT_EQ(1, model.Replace(*a, db.records, selected));
    EXPECT_EQ(1, selected);
    // "All Types" stays selected.
    selected = 0;
    e->SetName("0");
    EXPECT_EQ(1, model.Replace(*e, db.records, selected));
    EXPECT_EQ(0, selected);
    EXPECT_EQ((std::vector<std::string>{"All Types (0)", "0 (0)", "B (0)", "C (0)", "Unfiled (0)", "Edit Types..."}),
              Texts(model));
    EXPECT_EQ(-1, model.Replace(*db.AddType("new", 9), db.records, selected));
}

TEST(FilterComboModel, RemovingAnEntry)
{
    zvtest::RecordBuilder db;
    CTypeItem* a = db.AddType("A", 1);
    CFilterComboModel model(CFilterComboModel::kTypes);
    model.Refill(db.types, db.records);
    EXPECT_EQ(1, model.Remove(*a));
    EXPECT_EQ(-1, model.Remove(*a));
    EXPECT_EQ(3, model.GetCount());
}

}  // namespace
