#pragma once
// Two database files for the desktop-file sync tests: the current user's
// ("a/ZorvikanDatabase.zdb") and a remote one ("b/remote.zdb"), with one
// record on both sides that differs, and one record on each side only.
#include <filesystem>
#include <map>
#include <string>

#include "core/crypto/BlowfishKey.h"
#include "core/store/DatabaseObj.h"
#include "framework/CString.h"
#include "tests/support/ScratchDir.h"

namespace zvtest {

// Record uids by their last byte.
const uint8_t kSharedUid = 1;   // "current" at time 100 here, "remote" at 200 there
const uint8_t kCurrentUid = 2;  // "only current"
const uint8_t kRemoteUid = 3;   // "only remote"

// A database file holding the records (last uid byte, notes, time), saved
// under key (null: no password).
void WriteSyncDb(const std::filesystem::path& file, const BlowfishContext* key,
                 const std::map<uint8_t, std::pair<std::string, int32_t>>& records);
// Notes by last uid byte of the records that are not deleted.
std::map<uint8_t, std::string> NotesOf(const CDatabaseObj& db);
// The same for a file, loaded under key; empty when it cannot be loaded.
std::map<uint8_t, std::string> NotesOfFile(const std::filesystem::path& file, const BlowfishContext* key);

// Every file under the folder with its bytes.
std::map<std::string, std::string> SnapshotFiles(const std::filesystem::path& folder);

}  // namespace zvtest
