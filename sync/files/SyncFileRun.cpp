#include "sync/files/SyncFileRun.h"

#include <cstring>

#include "sync/files/SyncDatabase.h"

std::vector<int> RunSyncFiles(CDatabaseObj& current, const std::vector<SyncFileRecord>& records, int runKind,
                              CRemotePasswordPrompt* prompt, CNWSyncProgress* progress)
{
    std::vector<int> results(records.size(), -1);
    for (size_t i = 0; i < records.size(); ++i) {
        const SyncFileRecord& record = records[i];
        if (!IsDueForRun(record, runKind)) continue;
        CSyncDatabase job;
        job.SetPath(CString(record.path, static_cast<int>(strnlen(record.path, sizeof(record.path)))));
        job.SetMode(
            SyncModeFromText(CString(record.mode, static_cast<int>(strnlen(record.mode, sizeof(record.mode))))));
        job.SetRule(
            SyncRuleFromText(CString(record.rule, static_cast<int>(strnlen(record.rule, sizeof(record.rule))))));
        job.SetPasswordPrompt(prompt);
        results[i] = job.Sync(current, progress);
    }
    return results;
}

std::vector<int> RunAutoSyncFiles(CDatabaseObj& current, CAppPrefs& prefs, CUserItem* user, bool onExit,
                                  CRemotePasswordPrompt* prompt)
{
    return RunSyncFiles(current, LoadSyncFiles(prefs, user), onExit ? kSyncRunAtExit : kSyncRunAtStartup, prompt,
                        nullptr);
}
