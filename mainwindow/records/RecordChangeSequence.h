#pragma once
// CRecordChangeSequence: what follows every change the main window makes to
// the user's records, types or categories, written once. In this order:
//   1. save the whole database file;
//   2. tell the application of each changed record: the event log, then the
//      smart lists;
//   3. post one change notice per changed item for the current user;
//   4. signal the browser plug-in that the database changed.
// After a failed save only step 2 follows: the notices and the plug-in's signal send
// other programs to read the file, which does not hold the change. The
// change stays in memory, so the log and the smart lists still follow it,
// and the next save that succeeds writes it. What a failed save means to the
// user is the caller's to say; the sequence shows nothing.
//
//   CRecordChangeSequence change;
//   change.Add(NOTIFY_ADDED, NOTIFY_ITEM_RECORD, record->GetId(), record);
//   if (change.Run(steps) != 0) ...
#include <vector>

class CRecord;

// One changed item: operation and item class as in core/os/ChangeNotify.h.
struct RecordChange {
    int operation;
    int itemClass;
    int itemId;
    // The record of a record change (a deleted one is still in the list as a
    // tombstone); null for types and categories.
    CRecord* record;
};

// The application's record hook a change calls, if any.
enum class RecordHook { kNone, kAdded, kEdited, kDeleted };

// Added, modified and deleted records have their hooks; types, categories,
// other operations and a change without its record have none.
RecordHook RecordHookOf(const RecordChange& change);

// The steps, done by whoever owns the database and the link (the view's are
// in ViewRecordChangeSteps.h; tests give fakes).
class IRecordChangeSteps {
public:
    virtual ~IRecordChangeSteps() = default;
    // 0 when the file was saved.
    virtual int SaveDatabase() = 0;
    // Event log, then smart lists, for one record change.
    virtual void CallRecordHook(RecordHook hook, CRecord* record) = 0;
    virtual void PostNotice(const RecordChange& change) = 0;
    virtual void SignalPlugin() = 0;
};

class CRecordChangeSequence {
public:
    // One changed item; hooks and notices follow the order of adding. A
    // change with no item added (only the file changes) still saves and
    // signals.
    void Add(int operation, int itemClass, int itemId, CRecord* record = nullptr);

    // Runs the steps and returns the save's result (0: saved).
    int Run(IRecordChangeSteps& steps) const;

private:
    std::vector<RecordChange> m_changes;
};
