#include "mainwindow/records/RecordChangeSequence.h"

#include "core/os/ChangeNotify.h"

RecordHook RecordHookOf(const RecordChange& change)
{
    if (change.itemClass != NOTIFY_ITEM_RECORD || !change.record) return RecordHook::kNone;
    switch (change.operation) {
    case NOTIFY_ADDED: return RecordHook::kAdded;
    case NOTIFY_MODIFIED: return RecordHook::kEdited;
    case NOTIFY_DELETED: return RecordHook::kDeleted;
    default: return RecordHook::kNone;
    }
}

void CRecordChangeSequence::Add(int operation, int itemClass, int itemId, CRecord* record)
{
    m_changes.push_back(RecordChange{operation, itemClass, itemId, record});
}

int CRecordChangeSequence::Run(IRecordChangeSteps& steps) const
{
    const int saved = steps.SaveDatabase();
    for (const RecordChange& change : m_changes) {
        const RecordHook hook = RecordHookOf(change);
        if (hook != RecordHook::kNone) steps.CallRecordHook(hook, change.record);
    }
    if (saved != 0) return saved;
    for (const RecordChange& change : m_changes) steps.PostNotice(change);
    steps.SignalPlugin();
    return 0;
}
