#pragma once
// The per-user list of database files to sync with: one 340-byte record per
// file in the user's preferences section ("SyncFileCount", "SyncFile%d"),
// each field a NUL-terminated text.
#include <cstddef>
#include <vector>

#include "framework/CString.h"

class CAppPrefs;
class CUserItem;

struct SyncFileRecord {
    char path[260];
    char mode[30];      // "Current To Remote", "Remote To Current" or "Syncronize"
    char rule[30];      // "Current Wins", "Remote Wins" or "Latest Wins"
    char onStartup[5];  // "Yes" or "No"
    char onExit[5];
    char checked[10];  // "Checked" or "Unchecked"
};
static_assert(sizeof(SyncFileRecord) == 340, "the stored record is 340 bytes");

// When a list runs its syncs.
const int kSyncRunAtExit = 0;
const int kSyncRunAtStartup = 1;
const int kSyncRunByCommand = 2;

// A record from its texts (each cut to its field, the rest zero).
SyncFileRecord MakeSyncFileRecord(const CString& path, const CString& mode, const CString& rule,
                                  const CString& onStartup, const CString& onExit, bool checked);
// A new file's record: both ways, the remote file wins, never automatic,
// unchecked.
SyncFileRecord NewSyncFileRecord(const CString& path);

// The texts of modes and rules, and back (anything else: both ways, the
// later change).
const char* SyncModeText(int mode);
const char* SyncRuleText(int rule);
int SyncModeFromText(const CString& text);
int SyncRuleFromText(const CString& text);

bool IsChecked(const SyncFileRecord& record);
// Whether the run kind syncs the record: by command every checked one, at
// start-up and exit a checked one flagged "Yes" for that moment.
bool IsDueForRun(const SyncFileRecord& record, int runKind);

// The user's stored records, in order. A record that cannot be read (no
// key, wrong size, bad checksum) comes back with an empty path.
std::vector<SyncFileRecord> LoadSyncFiles(CAppPrefs& prefs, CUserItem* user);
// Stores the records as the user's list. An empty list stores nothing and
// leaves the stored one as it was.
void StoreSyncFiles(CAppPrefs& prefs, CUserItem* user, const std::vector<SyncFileRecord>& records);
// Whether any stored record is flagged "Yes" for exit (onExit true) or for
// start-up; the check box is not looked at.
bool HasAutoSyncFile(CAppPrefs& prefs, CUserItem* user, bool onExit);
