// Backups of a whole database, the automatic backup's rotation, and the
// restore that replaces the database only once the file gave records.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/items/Record.h"
#include "core/os/ProcessSeams.h"
#include "core/store/DatabaseObj.h"
#include "core/store/PasswordVerifier.h"
#include "exchange/ExchangeIds.h"
#include "exchange/backup/BackupRotation.h"
#include "exchange/backup/DatabaseRestore.h"
#include "tests/exchange/ExchangeTestSupport.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace fs = std::filesystem;

namespace {

using zvtest::LiveRecords;
using zvtest::WinPath;

int FailReplace(const CString&, const CString&) { return 112; }

CRecord* AddRecord(CDatabaseObj& db, const char* type, const char* first)
{
    CStringArray values;
    values.Add(type);
    values.Add(first);
    return db.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
}

// A database of two records, the first with an attachment file in the
// folder "attachments" of the scratch folder.
struct Sample {
    explicit Sample(const zvtest::ScratchDir& dir) : attachments(WinPath(dir / "attachments"))
    {
        fs::create_directories(dir / "attachments");
        CRecord* with = AddRecord(db, "Kind", "with");
        with->SetAttachmentName("scan.pdf");
        with->SetAttachmentKey("K3Y");
        AddRecord(db, "Other", "without");
        dir.WriteFile("attachments/" + std::string(with->GetAttachmentFileName().GetString()), "stored");
    }
    CDatabaseObj db;
    CString attachments;
};

std::vector<std::string> FirstFields(CDatabaseObj& db)
{
    std::vector<std::string> fields;
    for (CRecord* record : LiveRecords(db)) fields.push_back(record->GetField(0).Std());
    return fields;
}

// ----- the automatic backup -----

TEST(AutomaticBackup, RotatesThroughFiveNumbers)
{
    zvtest::ScratchDir dir;
    Sample sample(dir);
    const CString folder = WinPath(dir / "backups");
    int counter = 0;
    for (int expected : {1, 2, 3, 4, 0, 1}) {
        const AutomaticBackupResult r = WriteAutomaticBackup(sample.db, folder, counter, nullptr, sample.attachments);
        ASSERT_EQ(r.outcome, AutomaticBackupResult::kWritten) << expected;
        EXPECT_EQ(counter, expected);
        const std::string name = "Backup-" + std::to_string(expected) + ".zkv";
        EXPECT_EQ(r.path, WinPath(dir / "backups" / name));
        EXPECT_TRUE(fs::is_regular_file(dir / "backups" / name / name)) << name;
    }
    // Five folders, nothing half-made beside them.
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(dir / "backups")) {
        EXPECT_EQ(entry.path().filename().string().rfind("Backup-", 0), 0u);
        EXPECT_EQ(entry.path().string().find(".new"), std::string::npos);
        ++entries;
    }
    EXPECT_EQ(entries, 5);
    EXPECT_EQ(NextBackupNumber(4), 0);
    EXPECT_EQ(NextBackupNumber(-7), 0);
    EXPECT_EQ(NextBackupNumber(99), 0);
}

TEST(AutomaticBackup, NoLiveRecordMeansNoBackupAndTheSameCounter)
{
    zvtest::ScratchDir dir;
    CDatabaseObj db;
    int counter = 2;
    EXPECT_EQ(WriteAutomaticBackup(db, WinPath(dir / "b"), counter, nullptr, CString()).outcome,
              AutomaticBackupResult::kNothingToWrite);
    CRecord* gone = AddRecord(db, "Kind", "gone");
    gone->SetDeleted(true);
    EXPECT_EQ(WriteAutomaticBackup(db, WinPath(dir / "b"), counter, nullptr, CString()).outcome,
              AutomaticBackupResult::kNothingToWrite);
    EXPECT_EQ(counter, 2);
    EXPECT_FALSE(fs::exists(dir / "b"));
}

TEST(AutomaticBackup, APasswordProtectedDatabaseIsNeverWrittenInClear)
{
    zvtest::ScratchDir dir;
    CDatabaseObj db;
    AddRecord(db, "Kind", "secret");
    uint8_t verifier[kVerifierSize];
    const BlowfishKeyPtr key = zvtest::FixtureCipher();
    MakeVerifierWithKey(key.get(), verifier);
    db.SetVerifier(verifier);
    int counter = 0;
    // Without the key (the program ends while locked): nothing is written.
    EXPECT_EQ(WriteAutomaticBackup(db, WinPath(dir / "b"), counter, nullptr, CString()).outcome,
              AutomaticBackupResult::kNoKey);
    EXPECT_EQ(counter, 0);
    EXPECT_FALSE(fs::exists(dir / "b"));
    // With it, the values are encrypted.
    ASSERT_EQ(WriteAutomaticBackup(db, WinPath(dir / "b"), counter, key.get(), CString()).outcome,
              AutomaticBackupResult::kWritten);
    const std::string text = zvtest::ReadFileBytes(dir / "b" / "Backup-1.zkv" / "Backup-1.zkv");
    EXPECT_EQ(text.find("secret"), std::string::npos);
    EXPECT_EQ(text.rfind("Zorvikan Zkv File -v4.0\r\nT,", 0), 0u);
}

TEST(AutomaticBackup, AFailedBackupLeavesTheOneItWouldReplace)
{
    zvtest::ScratchDir dir;
    Sample sample(dir);
    const CString folder = WinPath(dir / "backups");
    int counter = 4;
    ASSERT_EQ(WriteAutomaticBackup(sample.db, folder, counter, nullptr, sample.attachments).outcome,
              AutomaticBackupResult::kWritten);
    const fs::path only = dir / "backups" / "Backup-0.zkv";
    const std::string before = zvtest::ReadFileBytes(only / "Backup-0.zkv");
    ASSERT_FALSE(before.empty());
    // The only backup is at the number the next one takes (the counter went
    // back, as after a preference reset).
    counter = 4;
    AddRecord(sample.db, "Kind", "newer");
    {
        zvtest::ScopedReplace hook(&SetBeforeReplaceHook, &FailReplace);
        const AutomaticBackupResult r = WriteAutomaticBackup(sample.db, folder, counter, nullptr, sample.attachments);
        EXPECT_EQ(r.outcome, AutomaticBackupResult::kFailed);
        EXPECT_EQ(r.messageId, IDS_EXPORT_WRITE_ERROR);
    }
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(zvtest::ReadFileBytes(only / "Backup-0.zkv"), before);
    EXPECT_TRUE(fs::exists(only / "Files"));
    EXPECT_FALSE(fs::exists(dir / "backups" / "Backup-0.new.zkv"));
    // The next run replaces it whole.
    ASSERT_EQ(WriteAutomaticBackup(sample.db, folder, counter, nullptr, sample.attachments).outcome,
              AutomaticBackupResult::kWritten);
    EXPECT_NE(zvtest::ReadFileBytes(only / "Backup-0.zkv").find("newer"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "backups" / "Backup-0.zkv.old"));
}

// ----- restore -----

TEST(Restore, AFolderBackupComesBackWithItsAttachments)
{
    zvtest::ScratchDir dir;
    Sample sample(dir);
    ASSERT_EQ(WriteBackupFolder(sample.db, WinPath(dir / "Saved.zkv"), nullptr, sample.attachments), 0u);

    CDatabaseObj db;
    db.SetFilePath(WinPath(dir / "user" / "ZorvikanDatabase.zdb"));
    fs::create_directories(dir / "user" / "Files");
    AddRecord(db, "Kind", "before");
    dir.WriteFile("user/Files/old.zfa", "old attachment");
    const RestoreResult r = RestoreFromFile(db, WinPath(dir / "Saved.zkv" / "Saved.zkv"), nullptr, nullptr,
                                            WinPath(dir / "user" / "Files"));
    ASSERT_EQ(r.outcome, RestoreResult::kRestored);
    EXPECT_EQ(r.records, 2);
    EXPECT_EQ(FirstFields(db), (std::vector<std::string>{"with", "without"}));
    ASSERT_TRUE(r.previous);
    EXPECT_EQ(FirstFields(*r.previous), (std::vector<std::string>{"before"}));
    // The attachment folder holds the restored file under the record's new
    // id, and nothing of before.
    const CRecord& with = *LiveRecords(db)[0];
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "user" / "Files" / with.GetAttachmentFileName().GetString()), "stored");
    EXPECT_FALSE(fs::exists(dir / "user" / "Files" / "old.zfa"));
    EXPECT_FALSE(fs::exists(dir / "user" / "Files.restoring"));
    EXPECT_TRUE(fs::exists(dir / "user" / "ZorvikanDatabase.zdb"));
}

TEST(Restore, AFileThatGivesNothingLeavesTheDatabaseAsItWas)
{
    zvtest::ScratchDir dir;
    dir.WriteFile("empty.zkv", "Zorvikan Zkv File -v4.0\r\nF\r\n");
    dir.WriteFile("types.zkv", "Zorvikan Zkv File -v4.0\r\nF\r\nT,3,Kind,a,b,c,d,e,f,g,h,i,j,0\r\n");
    dir.WriteFile("later.zkv", "Zorvikan Zkv File -v9.0\r\nF\r\n");
    dir.WriteFile("binary.zkv", std::string("\0\1\2", 3));
    const struct {
        const char* name;
        RestoreResult::Outcome outcome;
        unsigned messageId;
    } cases[] = {
        {"empty.zkv", RestoreResult::kNothingFound, IDS_IMPORT_READ_ERROR},
        {"types.zkv", RestoreResult::kNothingFound, IDS_IMPORT_READ_ERROR},
        {"later.zkv", RestoreResult::kRefused, IDS_IMPORT_LATER_ZKV},
        {"binary.zkv", RestoreResult::kRefused, IDS_IMPORT_NOT_TEXT},
        {"missing.zkv", RestoreResult::kRefused, IDS_IMPORT_READ_ERROR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDatabaseObj db;
        db.SetFilePath(WinPath(dir / "ZorvikanDatabase.zdb"));
        AddRecord(db, "Kind", "kept");
        fs::create_directories(dir / "Files");
        dir.WriteFile("Files/kept.zfa", "kept attachment");
        const RestoreResult r = RestoreFromFile(db, WinPath(dir / c.name), nullptr, nullptr, WinPath(dir / "Files"));
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.messageId, c.messageId);
        EXPECT_EQ(FirstFields(db), std::vector<std::string>{"kept"});
        EXPECT_EQ(db.GetTypes().GetCount(), 1);
        EXPECT_EQ(zvtest::ReadFileBytes(dir / "Files" / "kept.zfa"), "kept attachment");
        EXPECT_FALSE(fs::exists(dir / "ZorvikanDatabase.zdb"));
        EXPECT_FALSE(fs::exists(dir / "Files.restoring"));
    }
}

TEST(Restore, AProtectedFileWaitsForItsPassword)
{
    zvtest::ScratchDir dir;
    Sample sample(dir);
    const BlowfishKeyPtr right = zvtest::FixtureCipher();
    ASSERT_EQ(WriteBackupFolder(sample.db, WinPath(dir / "P.zkv"), right.get(), sample.attachments), 0u);
    const CString path = WinPath(dir / "P.zkv" / "P.zkv");
    CDatabaseObj db;
    db.SetFilePath(WinPath(dir / "ZorvikanDatabase.zdb"));
    AddRecord(db, "Kind", "kept");
    // Cancelled at the prompt: nothing changes.
    int asked = 0;
    RestoreResult r = RestoreFromFile(
        db, path, nullptr,
        [&](const std::string&) {
            ++asked;
            return BlowfishKeyPtr();
        },
        CString());
    EXPECT_EQ(r.outcome, RestoreResult::kCancelled);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(FirstFields(db), std::vector<std::string>{"kept"});
    // The master key that opens it asks nothing.
    r = RestoreFromFile(db, path, right, nullptr, CString());
    EXPECT_EQ(r.outcome, RestoreResult::kRestored);
    EXPECT_EQ(FirstFields(db), (std::vector<std::string>{"with", "without"}));
    // Another master key: the password given opens it.
    r = RestoreFromFile(
        db, path, zvtest::CipherOf("another"), [&](const std::string&) { return right; }, CString());
    EXPECT_EQ(r.outcome, RestoreResult::kRestored);
}

TEST(Restore, ADatabaseThatCannotBeSavedGetsItsOldItemsBack)
{
    zvtest::ScratchDir dir;
    Sample sample(dir);
    ASSERT_EQ(WriteBackupFolder(sample.db, WinPath(dir / "S.zkv"), nullptr, sample.attachments), 0u);
    CDatabaseObj db;  // no file to save to
    AddRecord(db, "Kind", "kept");
    fs::create_directories(dir / "Files");
    dir.WriteFile("Files/kept.zfa", "kept attachment");
    const RestoreResult r =
        RestoreFromFile(db, WinPath(dir / "S.zkv" / "S.zkv"), nullptr, nullptr, WinPath(dir / "Files"));
    EXPECT_EQ(r.outcome, RestoreResult::kSaveFailed);
    EXPECT_NE(r.saveResult, 0);
    EXPECT_FALSE(r.previous);
    EXPECT_EQ(FirstFields(db), std::vector<std::string>{"kept"});
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "Files" / "kept.zfa"), "kept attachment");
    EXPECT_FALSE(fs::exists(dir / "Files.restoring"));
}

}  // namespace
