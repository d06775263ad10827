// Finding duplicate records: what is compared and what is not, to which
// record a duplicate belongs, and attachments of one name but different
// contents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "mainwindow/upkeep/DuplicateFinder.h"

namespace {

class Duplicates : public ::testing::Test {
protected:
    CRecord* Add(const char* title, const char* field2 = "")
    {
        auto* r = new CRecord;
        r->SetId(++m_id);
        r->SetField(0, title);
        r->SetField(1, field2);
        records.Add(r);
        return r;
    }
    std::vector<int> FoundIds(CDuplicateFinder::AttachmentsEqual same = nullptr)
    {
        std::vector<int> ids;
        for (CRecord* r : CDuplicateFinder(records, same).Find()) ids.push_back(r->GetId());
        return ids;
    }
    CRecordList records;
    int m_id = 0;
};

TEST_F(Duplicates, EachDuplicateBelongsToTheEarliestEqualRecord)
{
    Add("A");  // 1
    Add("B");  // 2
    Add("A");  // 3
    Add("B");  // 4
    Add("A");  // 5
    Add("a");  // 6: letter case differs
    EXPECT_EQ((std::vector<int>{3, 5, 4}), FoundIds());
}

TEST_F(Duplicates, WhatIsComparedAndWhatIsNot)
{
    const struct {
        const char* what;
        void (*change)(CRecord&);
        bool duplicate;
    } cases[] = {
        {"modification date", [](CRecord& r) { r.SetField(9, "May 01, 2020"); }, true},
        {"mask", [](CRecord& r) { r.SetHiddenMask(0x4); }, true},
        {"icon", [](CRecord& r) { r.SetIcon(40); }, true},
        {"attachment key", [](CRecord& r) { r.SetAttachmentKey("other"); }, true},
        {"field 2", [](CRecord& r) { r.SetField(1, "x"); }, false},
        {"field 9", [](CRecord& r) { r.SetField(8, "x"); }, false},
        {"type",
         [](CRecord& r) {
             r.SetTypeKey(std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 3}.data());
         },
         false},
        {"category",
         [](CRecord& r) {
             r.SetCategoryKey(std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 4}.data());
         },
         false},
        {"attachment name", [](CRecord& r) { r.SetAttachmentName("a.pdf"); }, false},
        {"notes", [](CRecord& r) { r.SetNotes("n"); }, false},
        {"deleted", [](CRecord& r) { r.SetDeleted(true); }, false},
    };
    for (const auto& c : cases) {
        CRecord first, later;
        first.SetField(0, "Same");
        later.SetField(0, "Same");
        c.change(later);
        CRecordList none;
        EXPECT_EQ(c.duplicate, CDuplicateFinder(none, nullptr).IsDuplicate(first, later)) << c.what;
    }
}

TEST_F(Duplicates, AttachmentsOfOneNameMustHoldTheSameBytes)
{
    CRecord* a = Add("Scan");
    CRecord* b = Add("Scan");
    CRecord* c = Add("Scan");
    for (CRecord* r : {a, b, c}) r->SetAttachmentName("scan.pdf");
    // b's file differs from a's; c's is the same as a's.
    auto same = [&](const CRecord& x, const CRecord& y) {
        auto content = [&](const CRecord& r) { return &r == b ? 2 : 1; };
        return content(x) == content(y);
    };
    EXPECT_EQ((std::vector<int>{3}), FoundIds(same));
}

TEST_F(Duplicates, TooFewLiveRecordsAndDeletedOnes)
{
    Add("A");
    EXPECT_EQ(1, CDuplicateFinder(records, nullptr).CountLive());
    Add("A")->SetDeleted(true);
    EXPECT_EQ(1, CDuplicateFinder(records, nullptr).CountLive());
    EXPECT_TRUE(FoundIds().empty());
}

}  // namespace
