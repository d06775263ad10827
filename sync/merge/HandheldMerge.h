#pragma once
// The merge of one Wi-Fi sync: the handheld's categories, types and records
// (read from its received database) with those of the desktop user's
// database, by the sync mode; the attachment files of both sides; then the
// handheld's file rewritten from the merged lists (modes 0 and 2) and the
// desktop database saved.
//
// The desktop database is read and saved under the key given, never under
// the process-wide master key, so a sync of another user on the server
// thread cannot change what the GUI thread packs with. Every step is
// checked: the handheld's file is rewritten (inside the session's folder)
// before the desktop file is saved, and a failure of either is answered, so
// the session fails instead of reporting a sync that did not happen.
#include <cstdint>
#include <functional>
#include <vector>

#include "core/crypto/Blowfish.h"
#include "core/crypto/SecretString.h"
#include "framework/CString.h"

class CDatabaseObj;
class CHandheldDatabase;
class CiPhoneRecordTable;

enum HandheldMergeResult {
    kHandheldMergeOk = 0,
    kHandheldMergeReadFailed = -1,       // the handheld's lists could not be read
    kHandheldMergeWriteBackFailed = -2,  // its file could not be rewritten
    kHandheldMergeSaveFailed = -3,       // the desktop database could not be saved
};

struct HandheldMergeSetup {
    int mode = 2;
    // Where the desktop database's items are packed: null for a database
    // without password.
    const BlowfishContext* desktopKey = nullptr;
    // The user's attachment folder and the one the handheld's attachments
    // were received into.
    CString attachmentsFolder;
    CString receivedAttachments;
    // The received handheld database, rewritten in place.
    CString handheldDatabasePath;
    CSecretString handheldPassword;
    // When the rewrite must be done (HandheldClockMs); 0: the file's own
    // default.
    int64_t deadlineMs = 0;
    // Told the session state as the merge goes: 5 before the desktop save.
    std::function<void(int state)> onState;
};

// handheld: the received database, open for reading; it is closed before
// its file is rewritten. desktop: the user's database, loaded under
// setup.desktopKey. A HandheldMergeResult.
int MergeHandheldDatabase(CDatabaseObj& desktop, CHandheldDatabase& handheld, CiPhoneRecordTable& table,
                          const HandheldMergeSetup& setup);
