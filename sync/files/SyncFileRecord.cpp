#include "sync/files/SyncFileRecord.h"

#include <cstring>

#include "core/prefs/AppPrefs.h"
#include "sync/files/SyncDatabase.h"

namespace {

const char* const kModeTexts[] = {"Current To Remote", "Remote To Current", "Syncronize"};
const char* const kRuleTexts[] = {"Current Wins", "Remote Wins", "Latest Wins"};

template <size_t N> void Put(char (&field)[N], const CString& text)
{
    size_t length = static_cast<size_t>(text.GetLength());
    if (length > N - 1) length = N - 1;
    std::memcpy(field, static_cast<const char*>(text), length);
    field[length] = '\0';
}

// A field read from a file may lack its terminator.
template <size_t N> CString Text(const char (&field)[N])
{
    size_t length = 0;
    while (length < N && field[length]) ++length;
    return CString(field, static_cast<int>(length));
}

}  // namespace

SyncFileRecord MakeSyncFileRecord(const CString& path, const CString& mode, const CString& rule,
                                  const CString& onStartup, const CString& onExit, bool checked)
{
    SyncFileRecord record;
    std::memset(&record, 0, sizeof(record));
    Put(record.path, path);
    Put(record.mode, mode);
    Put(record.rule, rule);
    Put(record.onStartup, onStartup);
    Put(record.onExit, onExit);
    Put(record.checked, CString(checked ? "Checked" : "Unchecked"));
    return record;
}

SyncFileRecord NewSyncFileRecord(const CString& path)
{
    return MakeSyncFileRecord(path, SyncModeText(kSyncBothWays), SyncRuleText(kSyncRemoteWins), CString("No"),
                              CString("No"), false);
}

const char* SyncModeText(int mode) { return kModeTexts[mode >= 0 && mode <= 2 ? mode : kSyncBothWays]; }
const char* SyncRuleText(int rule) { return kRuleTexts[rule >= 0 && rule <= 2 ? rule : kSyncLatestWins]; }

int SyncModeFromText(const CString& text)
{
    if (text == kModeTexts[kSyncCurrentToRemote]) return kSyncCurrentToRemote;
    if (text == kModeTexts[kSyncRemoteToCurrent]) return kSyncRemoteToCurrent;
    return kSyncBothWays;
}

int SyncRuleFromText(const CString& text)
{
    if (text == kRuleTexts[kSyncCurrentWins]) return kSyncCurrentWins;
    if (text == kRuleTexts[kSyncRemoteWins]) return kSyncRemoteWins;
    return kSyncLatestWins;
}

bool IsChecked(const SyncFileRecord& record) { return Text(record.checked) == "Checked"; }

bool IsDueForRun(const SyncFileRecord& record, int runKind)
{
    if (!IsChecked(record) || Text(record.path).IsEmpty()) return false;
    if (runKind == kSyncRunAtStartup) return Text(record.onStartup) == "Yes";
    if (runKind == kSyncRunAtExit) return Text(record.onExit) == "Yes";
    return true;
}

std::vector<SyncFileRecord> LoadSyncFiles(CAppPrefs& prefs, CUserItem* user)
{
    std::vector<SyncFileRecord> records;
    const int count = prefs.GetSyncFileCount(user);
    if (count <= 0) return records;
    records.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        SyncFileRecord record;
        std::memset(&record, 0, sizeof(record));
        prefs.GetSyncFile(user, i + 1, reinterpret_cast<BYTE*>(&record), static_cast<int>(sizeof(record)));
        records.push_back(record);
    }
    return records;
}

void StoreSyncFiles(CAppPrefs& prefs, CUserItem* user, const std::vector<SyncFileRecord>& records)
{
    if (records.empty()) return;
    prefs.SetSyncFileCount(user, static_cast<int>(records.size()));
    for (size_t i = 0; i < records.size(); ++i)
        prefs.SetSyncFile(user, static_cast<int>(i + 1), reinterpret_cast<const BYTE*>(&records[i]),
                          static_cast<int>(sizeof(SyncFileRecord)));
}

bool HasAutoSyncFile(CAppPrefs& prefs, CUserItem* user, bool onExit)
{
    for (const SyncFileRecord& record : LoadSyncFiles(prefs, user))
        if (Text(onExit ? record.onExit : record.onStartup) == "Yes") return true;
    return false;
}
