#pragma once
// Runs the syncs of a user's file list without a window: what the program
// does at start-up and at exit for the files flagged for that moment.
#include <vector>

#include "sync/files/SyncFileRecord.h"

class CAppPrefs;
class CDatabaseObj;
class CNWSyncProgress;
class CRemotePasswordPrompt;
class CUserItem;

// One SyncResult per record, in order; -1 for a record the run kind does
// not sync. Every due record is synced, whatever the ones before gave.
std::vector<int> RunSyncFiles(CDatabaseObj& current, const std::vector<SyncFileRecord>& records, int runKind,
                              CRemotePasswordPrompt* prompt, CNWSyncProgress* progress);

// The user's stored list run at start-up (onExit false) or at exit.
std::vector<int> RunAutoSyncFiles(CDatabaseObj& current, CAppPrefs& prefs, CUserItem* user, bool onExit,
                                  CRemotePasswordPrompt* prompt);
