// The record popup's Type and Category sub-menus (entries, ids, their caps)
// and moving records by them or by a drop on a type: what each record keeps,
// what it takes, and what the change sequence then tells.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/items/FilterKeys.h"
#include "core/os/ChangeNotify.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/models/MoveMenuEntries.h"
#include "mainwindow/records/RecordChangeSequence.h"
#include "mainwindow/records/RecordMoves.h"
#include "tests/support/RecordBuilder.h"

namespace {

using zvtest::RecordBuilder;
using zvtest::TestKey;

bool SameKey(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, kUniqueKeySize) == 0; }

class FakeSteps : public IRecordChangeSteps {
public:
    int SaveDatabase() override
    {
        calls.push_back("save");
        return saveResult;
    }
    void CallRecordHook(RecordHook hook, CRecord* record) override
    {
        calls.push_back(std::string(hook == RecordHook::kEdited ? "edited " : "other ") +
                        std::to_string(record->GetId()));
    }
    void PostNotice(const RecordChange& change) override
    {
        calls.push_back("notice " + std::to_string(change.operation) + "/" + std::to_string(change.itemClass) + "/" +
                        std::to_string(change.itemId));
    }
    void SignalPlugin() override { calls.push_back("signal"); }

    int saveResult = 0;
    std::vector<std::string> calls;
};

// ---- Sub-menu entries and ids --------------------------------------------------

TEST(MoveMenuEntries, IdsRunFromTheRangeStartAndStopAtItsEnd)
{
    struct Case {
        CMoveMenuEntries::Kind kind;
        int index;
        unsigned id;
    };
    const Case cases[] = {
        {CMoveMenuEntries::kTypes, 0, 5000},      {CMoveMenuEntries::kTypes, 7, 5007},
        {CMoveMenuEntries::kTypes, 400, 5400},    {CMoveMenuEntries::kTypes, 401, 0},
        {CMoveMenuEntries::kTypes, 3000, 0},      {CMoveMenuEntries::kTypes, -1, 0},
        {CMoveMenuEntries::kCategories, 0, 4000}, {CMoveMenuEntries::kCategories, 256, 4256},
        {CMoveMenuEntries::kCategories, 257, 0},  {CMoveMenuEntries::kCategories, 1000, 0},
    };
    for (const Case& c : cases) {
        CMoveMenuEntries entries(c.kind);
        EXPECT_EQ(c.id, entries.IdFromIndex(c.index)) << c.kind << " index " << c.index;
        if (c.id) {
            EXPECT_EQ(c.index, entries.IndexFromId(c.id));
        }
    }
    CMoveMenuEntries types(CMoveMenuEntries::kTypes);
    CMoveMenuEntries categories(CMoveMenuEntries::kCategories);
    EXPECT_EQ(-1, types.IndexFromId(4999));
    EXPECT_EQ(-1, types.IndexFromId(5401));
    EXPECT_EQ(-1, categories.IndexFromId(4257));
    EXPECT_EQ(-1, categories.IndexFromId(ID_MOVE_TO_UNFILED_CATEGORY));
}

TEST(MoveMenuEntries, ListLiveItemsInListOrderWithTheCurrentOneChecked)
{
    RecordBuilder db;
    db.AddType("Web Logins", 1);
    db.AddType("Bank & Card", 2)->SetDeleted(true);
    db.AddType("Notes", 3);
    db.AddType("Bank & Card", 4);
    CMoveMenuEntries entries(CMoveMenuEntries::kTypes);

    entries.Build(db.types, TestKey(4).b);

    const auto& e = entries.Entries();
    ASSERT_EQ(3u, e.size());
    EXPECT_EQ(CString("Web Logins"), e[0].text);
    EXPECT_EQ(CString("Notes"), e[1].text);
    EXPECT_EQ(CString("Bank && Card"), e[2].text) << "an ampersand shows, it is no mnemonic";
    EXPECT_EQ((std::vector<unsigned>{5000, 5001, 5002}), (std::vector<unsigned>{e[0].id, e[1].id, e[2].id}));
    EXPECT_EQ((std::vector<bool>{false, false, true}), (std::vector<bool>{e[0].checked, e[1].checked, e[2].checked}));
    EXPECT_EQ(0, entries.Omitted());

    // Unfiled and nothing selected check no entry.
    for (const uint8_t* key : {KEY_UNFILED, static_cast<const uint8_t*>(nullptr)}) {
        entries.Build(db.types, key);
        for (const auto& entry : entries.Entries()) EXPECT_FALSE(entry.checked);
    }
}

TEST(MoveMenuEntries, AnIdGivesTheKeyOfTheItemItStandsForAndNothingElse)
{
    RecordBuilder db;
    db.AddCategory("Home", 1);
    db.AddCategory("Old", 2)->SetDeleted(true);
    db.AddCategory("Work", 3);
    CMoveMenuEntries entries(CMoveMenuEntries::kCategories);
    uint8_t key[kUniqueKeySize];

    ASSERT_TRUE(entries.KeyFromId(db.categories, 4001, key));
    EXPECT_TRUE(SameKey(TestKey(3).b, key)) << "deleted items have no entry";

    // Past the list (it shrank since the menu was built) or outside the
    // range: no key, so nothing is moved to "Unfiled" by mistake.
    std::memcpy(key, KEY_ALL, kUniqueKeySize);
    EXPECT_FALSE(entries.KeyFromId(db.categories, 4002, key));
    EXPECT_FALSE(entries.KeyFromId(db.categories, 5000, key));
    EXPECT_TRUE(SameKey(KEY_ALL, key));
}

TEST(MoveMenuEntries, LongListsAreCutWhereTheHandlerRangeEnds)
{
    struct Case {
        CMoveMenuEntries::Kind kind;
        int items;
        size_t shown;
        int omitted;
        unsigned lastId;
    };
    const Case cases[] = {
        {CMoveMenuEntries::kTypes, 401, 401, 0, 5400},
        {CMoveMenuEntries::kTypes, 3001, 401, 2600, 5400},
        {CMoveMenuEntries::kCategories, 257, 257, 0, 4256},
        {CMoveMenuEntries::kCategories, 1001, 257, 744, 4256},
    };
    for (const Case& c : cases) {
        CTypesList types;
        CCategoryList categories;
        CObjectList& list = c.kind == CMoveMenuEntries::kTypes ? static_cast<CObjectList&>(types) : categories;
        for (int i = 0; i < c.items; ++i) {
            CBaseItem* item = list.NewItem();
            uint8_t key[kUniqueKeySize] = {1, 0, 0, 0, 0, 0, (uint8_t)(i >> 8), (uint8_t)i};
            item->SetKey(key);
            list.Add(item);
        }
        CMoveMenuEntries entries(c.kind);
        entries.Build(list, nullptr);
        ASSERT_EQ(c.shown, entries.Entries().size()) << c.items;
        EXPECT_EQ(c.omitted, entries.Omitted());
        EXPECT_EQ(c.lastId, entries.Entries().back().id);
    }
}

// ---- Moves ------------------------------------------------------------------

TEST(RecordMoves, ToATypeTakesItsKeyIconAndMaskDropsLabelsAndKeepsTheCategory)
{
    RecordBuilder db;
    CTypeItem* cards = db.AddType("Cards", 5);
    cards->SetIcon(7);
    cards->SetHiddenMask(0x6);
    std::vector<CRecord*> records;
    for (int i = 0; i < 3; ++i) {
        CRecord* record = db.AddRecord(1, (uint8_t)(2 + i), {"title"});
        record->SetId(10 + i);
        record->SetIcon(3);
        CStringArray labels;
        labels.Add("Own");
        record->SetCustomLabels(labels);
        records.push_back(record);
    }
    CRecordChangeSequence change;

    EXPECT_EQ(3, MoveRecordsToType(records, cards, change));

    for (int i = 0; i < 3; ++i) {
        CRecord* record = records[i];
        EXPECT_TRUE(SameKey(TestKey(5).b, record->GetTypeKey()));
        EXPECT_TRUE(SameKey(TestKey((uint8_t)(2 + i)).b, record->GetCategoryKey()));
        EXPECT_EQ(7, record->GetIcon());
        EXPECT_EQ(0x6, record->GetHiddenMask());
        EXPECT_TRUE(record->GetCustomLabel(0).IsEmpty());
        EXPECT_TRUE(record->IsModified());
        // Still found by its new type, by its category, and by both.
        EXPECT_TRUE(record->MatchesFilter(TestKey(5).b, KEY_ALL));
        EXPECT_TRUE(record->MatchesFilter(KEY_ALL, TestKey((uint8_t)(2 + i)).b));
        EXPECT_TRUE(record->MatchesFilter(TestKey(5).b, TestKey((uint8_t)(2 + i)).b));
    }
    FakeSteps steps;
    change.Run(steps);
    const std::vector<std::string> expected = {"save",          "edited 12",     "notice 3/0/10",
                                               "notice 3/0/11", "notice 3/0/12", "signal"};
    EXPECT_EQ(expected, steps.calls) << "three notices, one event for the whole move";
}

TEST(RecordMoves, ToNoTypeLeavesTheNullKeyTheDefaultIconAndNoMask)
{
    RecordBuilder db;
    CRecord* record = db.AddRecord(4, 2, {"x"});
    record->SetIcon(9);
    record->SetHiddenMask(0xF);
    CRecordChangeSequence change;

    EXPECT_EQ(1, MoveRecordsToType({record}, nullptr, change));

    EXPECT_TRUE(SameKey(KEY_UNFILED, record->GetTypeKey()));
    EXPECT_EQ(24, record->GetIcon());
    EXPECT_EQ(0, record->GetHiddenMask());
    EXPECT_TRUE(record->MatchesFilter(KEY_UNFILED, TestKey(2).b));
}

TEST(RecordMoves, ToACategoryChangesOnlyTheCategory)
{
    RecordBuilder db;
    CRecord* record = db.AddRecord(6, 1, {"x"});
    record->SetIcon(11);
    record->SetHiddenMask(0x3);
    CStringArray labels;
    labels.Add("Own");
    record->SetCustomLabels(labels);
    CRecordChangeSequence change;

    EXPECT_EQ(1, MoveRecordsToCategory({record}, TestKey(8).b, change));

    EXPECT_TRUE(SameKey(TestKey(8).b, record->GetCategoryKey()));
    EXPECT_TRUE(SameKey(TestKey(6).b, record->GetTypeKey())) << "still found by its type";
    EXPECT_TRUE(record->MatchesFilter(TestKey(6).b, KEY_ALL));
    EXPECT_TRUE(record->MatchesFilter(TestKey(6).b, TestKey(8).b));
    EXPECT_EQ(11, record->GetIcon());
    EXPECT_EQ(0x3, record->GetHiddenMask());
    EXPECT_EQ(CString("Own"), record->GetCustomLabel(0));
    EXPECT_TRUE(record->IsModified());
}

TEST(RecordMoves, FilterOnlyKeysAndTheRecordsOwnPlaceChangeNothing)
{
    RecordBuilder db;
    CTypeItem* same = db.AddType("Same", 3);
    CRecord* record = db.AddRecord(3, 4, {"x"});
    CStringArray labels;
    labels.Add("Own");
    record->SetCustomLabels(labels);
    CTypeItem odd;
    odd.SetKey(KEY_ALL);

    struct Case {
        const char* what;
        int moved;
    };
    CRecordChangeSequence change;
    const Case cases[] = {
        {"its own type", MoveRecordsToType({record}, same, change)},
        {"a type keyed as all types", MoveRecordsToType({record}, &odd, change)},
        {"its own category", MoveRecordsToCategory({record}, TestKey(4).b, change)},
        {"all categories", MoveRecordsToCategory({record}, KEY_ALL, change)},
        {"the edit entry", MoveRecordsToCategory({record}, KEY_EDIT_ENTRY, change)},
        {"a drop on its own type", DropRecordOnType(*record, *same, change) ? 1 : 0},
        {"a drop on a row keyed as all", DropRecordOnType(*record, odd, change) ? 1 : 0},
    };
    for (const Case& c : cases) EXPECT_EQ(0, c.moved) << c.what;
    EXPECT_TRUE(SameKey(TestKey(3).b, record->GetTypeKey()));
    EXPECT_TRUE(SameKey(TestKey(4).b, record->GetCategoryKey()));
    EXPECT_EQ(CString("Own"), record->GetCustomLabel(0)) << "own labels kept";
    EXPECT_FALSE(record->IsModified());
    FakeSteps steps;
    change.Run(steps);
    EXPECT_EQ((std::vector<std::string>{"save", "signal"}), steps.calls) << "no notice for what did not change";
}

TEST(RecordMoves, ADropTakesTheRowsKeyAndIconAndKeepsLabelsAndMask)
{
    RecordBuilder db;
    CTypeItem* notes = db.AddType("Notes", 9);
    notes->SetIcon(33);
    notes->SetHiddenMask(0x1);
    CTypeItem unfiled;  // the panel's "Unfiled" row
    unfiled.SetKey(KEY_UNFILED);
    unfiled.SetIcon(0);

    struct Case {
        const char* what;
        const CTypeItem* row;
        const uint8_t* key;
        WORD icon;
    };
    const TestKey notesKey(9);
    const Case cases[] = {
        {"a type row", notes, notesKey.b, 33},
        {"the Unfiled row", &unfiled, KEY_UNFILED, 24},
    };
    for (const Case& c : cases) {
        CRecord* record = db.AddRecord(2, 5, {"x"});
        record->SetId(77);
        record->SetHiddenMask(0x8);
        CStringArray labels;
        labels.Add("Own");
        record->SetCustomLabels(labels);
        CRecordChangeSequence change;

        EXPECT_TRUE(DropRecordOnType(*record, *c.row, change)) << c.what;

        EXPECT_TRUE(SameKey(c.key, record->GetTypeKey())) << c.what;
        EXPECT_EQ(c.icon, record->GetIcon()) << c.what;
        EXPECT_EQ(0x8, record->GetHiddenMask()) << c.what;
        EXPECT_EQ(CString("Own"), record->GetCustomLabel(0)) << c.what;
        EXPECT_TRUE(SameKey(TestKey(5).b, record->GetCategoryKey())) << c.what;
        EXPECT_TRUE(record->IsModified()) << c.what;
        FakeSteps steps;
        change.Run(steps);
        EXPECT_EQ((std::vector<std::string>{"save", "edited 77", "notice 3/0/77", "signal"}), steps.calls) << c.what;
    }
}

TEST(RecordMoves, AFailedSaveAfterAMovePostsNoNotices)
{
    RecordBuilder db;
    CRecord* record = db.AddRecord(1, 1, {"x"});
    record->SetId(5);
    CRecordChangeSequence change;
    ASSERT_EQ(1, MoveRecordsToCategory({record}, TestKey(2).b, change));
    FakeSteps steps;
    steps.saveResult = 32;

    EXPECT_EQ(32, change.Run(steps));

    EXPECT_EQ((std::vector<std::string>{"save", "edited 5"}), steps.calls);
}

}  // namespace
