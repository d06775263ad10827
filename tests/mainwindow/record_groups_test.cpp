// The tree's grouping of records by type and the panel's type rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/items/FilterKeys.h"
#include "mainwindow/models/FilterComboModel.h"
#include "mainwindow/models/RecordGroups.h"
#include "tests/support/RecordBuilder.h"

namespace {

using zvtest::TestKey;

std::string Describe(const std::vector<RecordGroup>& groups)
{
    std::string text;
    for (const RecordGroup& g : groups) {
        text += std::string(g.text) + ":";
        for (const CRecord* r : g.records) text += " " + std::string(r->GetField(0));
        text += "; ";
    }
    return text;
}

class RecordGroupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.AddType("Logins", 1);
        db.AddType("cards", 2);
        db.AddType("Empty", 3);
        db.AddCategory("Work", 7);
        db.AddRecord(1, 7, {"zeta"});
        db.AddRecord(0, 0, {"unfiled b"});
        db.AddRecord(1, 0, {"Alpha"});
        db.AddRecord(2, 7, {"visa"});
        db.AddRecord(0, 7, {"unfiled a"});
        combo.Refill(db.types, db.records);
    }
    zvtest::RecordBuilder db;
    CFilterComboModel combo{CFilterComboModel::kTypes};
};

TEST_F(RecordGroupsTest, TreeFollowsTheComboWithUnfiledLastAndDropsEmptyTypes)
{
    RecordSearch none;
    EXPECT_EQ("cards (1): visa; Logins (2): Alpha zeta; Unfiled (2): unfiled b unfiled a; ",
              Describe(BuildTreeGroups(combo, db.records, KEY_ALL, none)));
}

TEST_F(RecordGroupsTest, TreeCountsAndRecordsFollowCategoryAndSearch)
{
    RecordSearch none;
    EXPECT_EQ("cards (1): visa; Logins (1): zeta; Unfiled (1): unfiled a; ",
              Describe(BuildTreeGroups(combo, db.records, TestKey(7).b, none)));
    RecordSearch search;
    search.text = "a";
    EXPECT_EQ("cards (1): visa; Logins (2): Alpha zeta; Unfiled (1): unfiled a; ",
              Describe(BuildTreeGroups(combo, db.records, KEY_ALL, search)));
    search.text = "nothing like it";
    EXPECT_EQ("", Describe(BuildTreeGroups(combo, db.records, KEY_ALL, search)));
}

TEST_F(RecordGroupsTest, PanelRowsStandInTextOrderWithCounts)
{
    RecordSearch none;
    EXPECT_EQ("cards (1):; Logins (2):; Unfiled (2):; ",
              Describe(BuildPanelTypeRows(db.types, db.records, KEY_ALL, none)));
    EXPECT_EQ("cards (1):; Logins (1):; Unfiled (1):; ",
              Describe(BuildPanelTypeRows(db.types, db.records, TestKey(7).b, none)));
    for (POSITION pos = db.records.GetHeadPosition(); pos;)
        static_cast<CBaseItem*>(db.records.GetNext(pos))->SetDeleted(true);
    EXPECT_EQ("", Describe(BuildPanelTypeRows(db.types, db.records, KEY_ALL, none)));
}

}  // namespace
