// Which records the views show and how many the combos, tree and panel count:
// one table over type filters x category filters x search.
#include <gtest/gtest.h>

#include <cstring>

#include "core/items/FilterKeys.h"
#include "mainwindow/models/RecordFilter.h"
#include "tests/support/RecordBuilder.h"

namespace {

using zvtest::TestKey;

// Types 1 (Logins) and 2 (Cards); categories 7 (Work) and 8 (Home).
class RecordFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.AddType("Logins", 1);
        db.AddType("Cards", 2);
        db.AddCategory("Work", 7);
        db.AddCategory("Home", 8);
        db.AddRecord(1, 7, {"mail", "alice"});
        db.AddRecord(1, 8, {"bank", "bob"});
        db.AddRecord(2, 7, {"visa", "alice"});
        db.AddRecord(0, 8, {"loose note"});
        db.AddRecord(2, 0, {"amex"});
        db.AddRecord(0, 0, {"nothing filed"});
        // Deleted records are never shown or counted.
        db.AddRecord(1, 7, {"gone alice"})->SetDeleted(true);
    }
    zvtest::RecordBuilder db;
};

struct Key {
    const uint8_t* bytes;
    uint8_t own[kUniqueKeySize];
    Key(const uint8_t* special) : bytes(special) {}
    Key(int last) : bytes(own)
    {
        std::memset(own, 0, sizeof own);
        own[kUniqueKeySize - 1] = (uint8_t)last;
    }
};

TEST_F(RecordFilterTest, ShownRecordsFollowTheFiltersAndTheSearch)
{
    struct Case {
        Key type;
        Key category;
        const char* search;
        int shown;
    };
    const Case cases[] = {
        {KEY_ALL, KEY_ALL, "", 6},
        {1, KEY_ALL, "", 2},
        {2, KEY_ALL, "", 2},
        {KEY_UNFILED, KEY_ALL, "", 2},
        {KEY_ALL, 7, "", 2},
        {KEY_ALL, KEY_UNFILED, "", 2},
        {1, 7, "", 1},
        {KEY_UNFILED, KEY_UNFILED, "", 1},
        {KEY_ALL, KEY_ALL, "alice", 0},  // field 2 is not searched by default
        {KEY_ALL, KEY_ALL, "a", 4},
        {2, KEY_ALL, "visa", 1},
        {3, KEY_ALL, "", 0},  // a type nobody has
        {KEY_EDIT_ENTRY, KEY_ALL, "", 0},
    };
    for (const Case& c : cases) {
        RecordSearch search;
        search.text = c.search;
        const auto shown = CollectShownRecords(db.records, c.type.bytes, c.category.bytes, search);
        EXPECT_EQ(c.shown, (int)shown.size()) << "type " << (int)c.type.bytes[7] << " category "
                                              << (int)c.category.bytes[7] << " search '" << c.search << "'";
        EXPECT_EQ(c.shown, CountShownRecords(c.type.bytes, c.category.bytes, kCountAll, db.records, search));
    }
}

TEST_F(RecordFilterTest, AllFieldsSearchFindsOtherFields)
{
    RecordSearch search;
    search.text = "alice";
    search.fieldMask = 0xFFFF;
    EXPECT_EQ(2, (int)CollectShownRecords(db.records, KEY_ALL, KEY_ALL, search).size());
}

TEST_F(RecordFilterTest, CountByKeyIgnoresTheOtherKeyAndTheSearch)
{
    struct Case {
        Key key;
        int kind;
        int count;
    };
    const Case cases[] = {
        {1, kCountByType, 2},
        {2, kCountByType, 2},
        {KEY_UNFILED, kCountByType, 2},
        {7, kCountByCategory, 2},
        {8, kCountByCategory, 2},
        {KEY_UNFILED, kCountByCategory, 2},
        {KEY_ALL, kCountAll, 6},
        {1, kCountByBoth, 0},  // kind 2 is not a kind of this count
        {1, 9, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.count, CountRecordsByKey(c.key.bytes, c.kind, db.records))
            << "key " << (int)c.key.bytes[7] << " kind " << c.kind;
}

TEST_F(RecordFilterTest, CountShownRestrictsToTheExactKeys)
{
    RecordSearch none;
    // Kind 0 with KEY_ALL as type: no record has KEY_ALL as its type key.
    EXPECT_EQ(0, CountShownRecords(KEY_ALL, KEY_ALL, kCountByType, db.records, none));
    EXPECT_EQ(2, CountShownRecords(TestKey(1).b, KEY_ALL, kCountByType, db.records, none));
    EXPECT_EQ(1, CountShownRecords(TestKey(1).b, TestKey(7).b, kCountByBoth, db.records, none));
    EXPECT_EQ(0, CountShownRecords(TestKey(1).b, KEY_ALL, kCountByBoth, db.records, none));
    EXPECT_EQ(2, CountShownRecords(KEY_ALL, TestKey(8).b, kCountByCategory, db.records, none));
    EXPECT_EQ(0, CountShownRecords(KEY_ALL, KEY_ALL, 7, db.records, none));
    RecordSearch search;
    search.text = "bank";
    EXPECT_EQ(1, CountShownRecords(TestKey(1).b, KEY_ALL, kCountByType, db.records, search));
}

}  // namespace
