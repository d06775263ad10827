#include "tests/sync/SyncFilesTestDb.h"

#include <gtest/gtest.h>

#include "core/items/Record.h"
#include "core/items/UniqueKey.h"
#include "core/store/PasswordVerifier.h"
#include "tests/support/TestText.h"

namespace fs = std::filesystem;

namespace zvtest {

void WriteSyncDb(const fs::path& file, const BlowfishContext* key,
                 const std::map<uint8_t, std::pair<std::string, int32_t>>& records)
{
    fs::create_directories(file.parent_path());
    CDatabaseObj db;
    db.SetFilePath(WinPath(file));
    uint8_t verifier[kVerifierSize] = {};
    if (key) MakeVerifierWithKey(key, verifier);
    db.SetVerifier(verifier);
    for (const auto& entry : records) {
        CRecord* r = static_cast<CRecord*>(db.GetRecords().NewItem());
        const uint8_t uid[kUniqueKeySize] = {9, 9, 9, 9, 9, 9, 9, entry.first};
        r->SetUid(uid);
        r->SetNotes(CString(entry.second.first.c_str()));
        r->SetModifiedTime(entry.second.second);
        db.GetRecords().Add(r);
    }
    ASSERT_EQ(db.Save(0, key), 0);
}

std::map<uint8_t, std::string> NotesOf(const CDatabaseObj& db)
{
    std::map<uint8_t, std::string> notes;
    const CRecordList& records = db.GetRecords();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        const CRecord* r = static_cast<const CRecord*>(records.GetNext(pos));
        if (!r->IsDeleted()) notes[r->GetUid()[kUniqueKeySize - 1]] = static_cast<const char*>(r->GetNotes());
    }
    return notes;
}

std::map<uint8_t, std::string> NotesOfFile(const fs::path& file, const BlowfishContext* key)
{
    CDatabaseObj db;
    if (db.Load(WinPath(file), key) != 0) return {};
    return NotesOf(db);
}

std::map<std::string, std::string> SnapshotFiles(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().string()] = ReadFileBytes(e.path());
    return files;
}

}  // namespace zvtest
