// What follows a record change: the order of the steps, which changes reach
// the application's record hooks, and what a failed save leaves out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/os/ChangeNotify.h"
#include "mainwindow/records/RecordChangeSequence.h"

namespace {

// Writes down every step it is asked for.
class FakeSteps : public IRecordChangeSteps {
public:
    int SaveDatabase() override
    {
        calls.push_back("save");
        return saveResult;
    }
    void CallRecordHook(RecordHook hook, CRecord* record) override
    {
        static const char* const kNames[] = {"none", "added", "edited", "deleted"};
        calls.push_back(std::string("hook ") + kNames[(int)hook] + " " + std::to_string(record->GetId()));
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

CRecord* MakeRecord(CRecordList& list, int32_t id)
{
    CRecord* record = new CRecord;
    record->SetId(id);
    list.Add(record);
    return record;
}

TEST(RecordChangeSequence, SavesThenTellsTheApplicationThenPostsNoticesThenSignals)
{
    CRecordList records;
    CRecord* added = MakeRecord(records, 7);
    CRecord* edited = MakeRecord(records, 8);
    CRecordChangeSequence change;
    change.Add(NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 7, added);
    change.Add(NOTIFY_MODIFIED, NOTIFY_ITEM_RECORD, 8, edited);
    FakeSteps steps;

    EXPECT_EQ(0, change.Run(steps));

    const std::vector<std::string> expected = {"save",         "hook added 7", "hook edited 8",
                                               "notice 2/0/7", "notice 3/0/8", "signal"};
    EXPECT_EQ(expected, steps.calls);
}

TEST(RecordChangeSequence, FailedSaveIsNotFollowedByNoticesOrTheSignal)
{
    CRecordList records;
    CRecord* deleted = MakeRecord(records, 9);
    CRecordChangeSequence change;
    change.Add(NOTIFY_DELETED, NOTIFY_ITEM_RECORD, 9, deleted);
    change.Add(NOTIFY_ADDED, NOTIFY_ITEM_CATEGORY, 3);
    FakeSteps steps;
    steps.saveResult = 5;

    EXPECT_EQ(5, change.Run(steps));

    // The change is still in memory: the log and the smart lists follow it.
    const std::vector<std::string> expected = {"save", "hook deleted 9"};
    EXPECT_EQ(expected, steps.calls);
}

TEST(RecordChangeSequence, TypesAndCategoriesGetNoticesButNoRecordHooks)
{
    CRecordChangeSequence change;
    change.Add(NOTIFY_ADDED, NOTIFY_ITEM_TYPE, 21);
    change.Add(NOTIFY_DELETED, NOTIFY_ITEM_CATEGORY, 4);
    FakeSteps steps;

    EXPECT_EQ(0, change.Run(steps));

    const std::vector<std::string> expected = {"save", "notice 2/1/21", "notice 4/2/4", "signal"};
    EXPECT_EQ(expected, steps.calls);
}

TEST(RecordChangeSequence, ChangeOfNoItemStillSavesAndSignals)
{
    CRecordChangeSequence change;
    FakeSteps steps;

    EXPECT_EQ(0, change.Run(steps));

    const std::vector<std::string> expected = {"save", "signal"};
    EXPECT_EQ(expected, steps.calls);
}

TEST(RecordChangeSequence, EachRecordOperationHasItsHook)
{
    CRecord record;
    EXPECT_EQ(RecordHook::kAdded, RecordHookOf({NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 1, &record}));
    EXPECT_EQ(RecordHook::kEdited, RecordHookOf({NOTIFY_MODIFIED, NOTIFY_ITEM_RECORD, 1, &record}));
    EXPECT_EQ(RecordHook::kDeleted, RecordHookOf({NOTIFY_DELETED, NOTIFY_ITEM_RECORD, 1, &record}));
}

TEST(RecordChangeSequence, OtherChangesHaveNoHook)
{
    CRecord record;
    EXPECT_EQ(RecordHook::kNone, RecordHookOf({NOTIFY_RELOAD, NOTIFY_ITEM_RECORD, 1, &record}));
    EXPECT_EQ(RecordHook::kNone, RecordHookOf({NOTIFY_PING, NOTIFY_ITEM_RECORD, 1, &record}));
    EXPECT_EQ(RecordHook::kNone, RecordHookOf({NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 1, nullptr}));
    EXPECT_EQ(RecordHook::kNone, RecordHookOf({NOTIFY_ADDED, NOTIFY_ITEM_TYPE, 1, &record}));
    EXPECT_EQ(RecordHook::kNone, RecordHookOf({NOTIFY_MODIFIED, NOTIFY_ITEM_CATEGORY, 1, &record}));
}

}  // namespace
