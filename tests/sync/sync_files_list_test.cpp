// The records of the sync-file list, which of them each run kind syncs, and
// a run over a list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "sync/files/SyncDatabase.h"
#include "sync/files/SyncFileRecord.h"
#include "sync/files/SyncFileRun.h"
#include "sync/files/SyncResult.h"
#include "tests/support/TestText.h"
#include "tests/sync/SyncFilesTestDb.h"

using namespace zvtest;

namespace {

// The record's bytes laid out by hand: each text at its offset, zeros
// elsewhere.
std::string Layout(const char* path, const char* mode, const char* rule, const char* start, const char* exit,
                   const char* check)
{
    std::string bytes(340, '\0');
    const std::pair<size_t, const char*> fields[] = {{0, path},    {260, mode}, {290, rule},
                                                     {320, start}, {325, exit}, {330, check}};
    for (const auto& f : fields) bytes.replace(f.first, std::strlen(f.second), f.second);
    return bytes;
}

std::string Bytes(const SyncFileRecord& r) { return std::string(reinterpret_cast<const char*>(&r), sizeof(r)); }

TEST(SyncFileRecords, FieldsSitAtTheirOffsets)
{
    EXPECT_EQ(Bytes(MakeSyncFileRecord(CString("C:\\x\\y.zdb"), CString("Current To Remote"), CString("Latest Wins"),
                                       CString("Yes"), CString("No"), true)),
              Layout("C:\\x\\y.zdb", "Current To Remote", "Latest Wins", "Yes", "No", "Checked"));
    EXPECT_EQ(Bytes(NewSyncFileRecord(CString("D:\\a.zdb"))),
              Layout("D:\\a.zdb", "Syncronize", "Remote Wins", "No", "No", "Unchecked"));
}

TEST(SyncFileRecords, OverlongTextsAreCutToTheirField)
{
    const std::string longPath(300, 'p');
    SyncFileRecord r = MakeSyncFileRecord(CString(longPath.c_str()), CString("Current To Remote and more text"),
                                          CString("x"), CString("Yes!!!"), CString("No"), false);
    EXPECT_EQ(std::string(r.path), std::string(259, 'p'));
    EXPECT_EQ(std::string(r.mode), std::string("Current To Remote and more te"));
    EXPECT_EQ(std::string(r.onStartup), "Yes!");
    EXPECT_EQ(std::string(r.checked), "Unchecked");
}

TEST(SyncFileRecords, TextsToModesAndRules)
{
    const std::pair<const char*, int> modes[] = {
        {"Current To Remote", 0}, {"Remote To Current", 1}, {"Syncronize", 2}, {"current to remote", 2}, {"", 2}};
    for (const auto& m : modes) EXPECT_EQ(SyncModeFromText(CString(m.first)), m.second) << m.first;
    const std::pair<const char*, int> rules[] = {
        {"Current Wins", 0}, {"Remote Wins", 1}, {"Latest Wins", 2}, {"Remote Wins ", 2}, {"", 2}};
    for (const auto& r : rules) EXPECT_EQ(SyncRuleFromText(CString(r.first)), r.second) << r.first;
    for (int i = 0; i <= 2; ++i) {
        EXPECT_EQ(SyncModeFromText(CString(SyncModeText(i))), i);
        EXPECT_EQ(SyncRuleFromText(CString(SyncRuleText(i))), i);
    }
}

TEST(SyncFileRecords, WhichRunKindSyncsWhichRecord)
{
    struct Case {
        const char* start;
        const char* exit;
        bool checked;
        bool atExit, atStartup, byCommand;
    };
    const Case cases[] = {
        {"No", "No", true, false, false, true},     {"Yes", "No", true, false, true, true},
        {"No", "Yes", true, true, false, true},     {"Yes", "Yes", true, true, true, true},
        {"Yes", "Yes", false, false, false, false}, {"yes", "YES", true, false, false, true},
    };
    for (const Case& c : cases) {
        SyncFileRecord r = MakeSyncFileRecord(CString("f.zdb"), CString("Syncronize"), CString("Remote Wins"),
                                              CString(c.start), CString(c.exit), c.checked);
        SCOPED_TRACE(testing::Message() << c.start << " " << c.exit << " " << c.checked);
        EXPECT_EQ(IsDueForRun(r, kSyncRunAtExit), c.atExit);
        EXPECT_EQ(IsDueForRun(r, kSyncRunAtStartup), c.atStartup);
        EXPECT_EQ(IsDueForRun(r, kSyncRunByCommand), c.byCommand);
    }
    // A record that could not be read has no path and is never synced.
    SyncFileRecord unread;
    std::memset(&unread, 0, sizeof(unread));
    std::strcpy(unread.checked, "Checked");
    EXPECT_FALSE(IsDueForRun(unread, kSyncRunByCommand));
}

// A run syncs the due records in order, each with its own mode and rule,
// and goes on after one that fails.
TEST(SyncFileRun, DueRecordsRunInOrderAndFailuresDoNotStopTheRest)
{
    ScratchDir dir("syncrun");
    GetMasterPwdMgr()->ClearPassword();
    const auto current = dir.Path() / "a" / "ZorvikanDatabase.zdb";
    const auto one = dir.Path() / "b" / "one.zdb";
    const auto two = dir.Path() / "b" / "two.zdb";
    WriteSyncDb(current, nullptr, {{kCurrentUid, {"only current", 50}}});
    WriteSyncDb(one, nullptr, {{kRemoteUid, {"from one", 60}}});
    WriteSyncDb(two, nullptr, {{4, {"from two", 70}}});
    CDatabaseObj db;
    ASSERT_EQ(db.Load(WinPath(current), nullptr), 0);
    const std::vector<SyncFileRecord> list{
        MakeSyncFileRecord(WinPath(dir.Path() / "b" / "missing.zdb"), CString("Syncronize"), CString("Remote Wins"),
                           CString("Yes"), CString("No"), true),
        MakeSyncFileRecord(WinPath(one), CString("Remote To Current"), CString("Remote Wins"), CString("Yes"),
                           CString("No"), true),
        MakeSyncFileRecord(WinPath(two), CString("Syncronize"), CString("Remote Wins"), CString("Yes"), CString("No"),
                           false),
        MakeSyncFileRecord(WinPath(two), CString("Current To Remote"), CString("Remote Wins"), CString("No"),
                           CString("Yes"), true),
    };
    EXPECT_EQ(RunSyncFiles(db, list, kSyncRunAtStartup, nullptr, nullptr),
              (std::vector<int>{kSyncRemoteReadError, kSyncSuccess, -1, -1}));
    EXPECT_EQ(NotesOfFile(current, nullptr),
              (std::map<uint8_t, std::string>{{kCurrentUid, "only current"}, {kRemoteUid, "from one"}}));
    EXPECT_EQ(NotesOfFile(two, nullptr), (std::map<uint8_t, std::string>{{4, "from two"}}));
    EXPECT_EQ(RunSyncFiles(db, list, kSyncRunAtExit, nullptr, nullptr), (std::vector<int>{-1, -1, -1, kSyncSuccess}));
    EXPECT_EQ(NotesOfFile(two, nullptr).size(), 3u);
    // By command every checked record, whatever its flags.
    EXPECT_EQ(RunSyncFiles(db, list, kSyncRunByCommand, nullptr, nullptr),
              (std::vector<int>{kSyncRemoteReadError, kSyncSuccess, -1, kSyncSuccess}));
}

}  // namespace
