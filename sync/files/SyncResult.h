#pragma once
// What one desktop-file sync ended with, and the text each shows in the
// sync dialog's progress column.

enum SyncResult {
    kSyncSuccess = 0,
    kSyncFailure = 1,
    kSyncSkipped = 2,
    kSyncPasswordMismatch = 3,
    kSyncLocalInUse = 4,
    kSyncLocalReadError = 5,
    kSyncLocalWriteError = 6,
    kSyncRemoteInUse = 7,
    kSyncRemoteReadError = 8,
    kSyncRemoteWriteError = 9,
    kSyncUnknown = 10,
};

// The text of a result; codes outside the table read as "Unknown".
const char* SyncResultText(int result);
