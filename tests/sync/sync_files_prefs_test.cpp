// The sync-file list in the user's section of the preferences file, and
// the start-up and exit runs that read it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/UserItem.h"
#include "sync/files/SyncFileRecord.h"
#include "sync/files/SyncFileRun.h"
#include "sync/files/SyncResult.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"
#include "tests/sync/SyncFilesTestDb.h"

namespace fs = std::filesystem;
using namespace zvtest;

namespace {

class SyncFilePrefs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        m_prefs = m_manager->GetPrefs();
    }
    void TearDown() override { CAppPrefMgr::ReplaceInstance(m_previous); }
    fs::path IniPath() const { return fs::path(m_manager->GetPreferencesFilePath().GetString()); }
    // A key's value as the file holds it.
    std::string Raw(const char* key)
    {
        char value[2048] = {};
        GetPrivateProfileStringA(m_user.GetSectionName(), key, "<absent>", value, sizeof(value),
                                 IniPath().string().c_str());
        return value;
    }

    ScratchDir m_root{"syncprefs"};
    std::shared_ptr<CAppPrefMgr> m_manager, m_previous;
    std::shared_ptr<CAppPrefs> m_prefs;
    CUserItem m_user{MakeUserRecord("Standalone", "_Standalone_", 3)};
};

// The 340 bytes in hexadecimal and their sum's low byte, worked out here
// from the layout, not by the code under test.
std::string ProfileHex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    unsigned sum = 0;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
        sum += c;
    }
    hex += digits[(sum >> 4) & 15];
    hex += digits[sum & 15];
    return hex;
}

std::string Layout(const char* path, const char* mode, const char* rule, const char* start, const char* exit,
                   const char* check)
{
    std::string bytes(340, '\0');
    const std::pair<size_t, const char*> fields[] = {{0, path},    {260, mode}, {290, rule},
                                                     {320, start}, {325, exit}, {330, check}};
    for (const auto& f : fields) bytes.replace(f.first, std::strlen(f.second), f.second);
    return bytes;
}

TEST_F(SyncFilePrefs, ListIsStoredAndReadBackByteForByte)
{
    const std::vector<SyncFileRecord> list{
        MakeSyncFileRecord(CString("C:\\Data\\one.zdb"), CString("Current To Remote"), CString("Current Wins"),
                           CString("Yes"), CString("No"), true),
        NewSyncFileRecord(CString("\\\\server\\share\\two.zdb")),
    };
    StoreSyncFiles(*m_prefs, &m_user, list);
    EXPECT_EQ(Raw("SyncFileCount"), "2");
    EXPECT_EQ(Raw("SyncFile1"),
              ProfileHex(Layout("C:\\Data\\one.zdb", "Current To Remote", "Current Wins", "Yes", "No", "Checked")));
    EXPECT_EQ(Raw("SyncFile2"),
              ProfileHex(Layout("\\\\server\\share\\two.zdb", "Syncronize", "Remote Wins", "No", "No", "Unchecked")));
    const auto back = LoadSyncFiles(*m_prefs, &m_user);
    ASSERT_EQ(back.size(), 2u);
    for (size_t i = 0; i < 2; ++i) EXPECT_EQ(0, std::memcmp(&back[i], &list[i], sizeof(SyncFileRecord))) << i;
}

TEST_F(SyncFilePrefs, EmptyListLeavesTheStoredOneAndKeysAboveTheCountAreIgnored)
{
    const std::vector<SyncFileRecord> three{NewSyncFileRecord(CString("a.zdb")), NewSyncFileRecord(CString("b.zdb")),
                                            NewSyncFileRecord(CString("c.zdb"))};
    StoreSyncFiles(*m_prefs, &m_user, three);
    const std::string before = ReadFileBytes(IniPath());
    StoreSyncFiles(*m_prefs, &m_user, {});
    EXPECT_EQ(ReadFileBytes(IniPath()), before);
    StoreSyncFiles(*m_prefs, &m_user, {NewSyncFileRecord(CString("d.zdb"))});
    EXPECT_NE(Raw("SyncFile3"), "<absent>");
    const auto back = LoadSyncFiles(*m_prefs, &m_user);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_STREQ(back[0].path, "d.zdb");
}

TEST_F(SyncFilePrefs, DamagedStoredRecordReadsWithoutPath)
{
    StoreSyncFiles(*m_prefs, &m_user, {NewSyncFileRecord(CString("a.zdb"))});
    std::string value = Raw("SyncFile1");
    value.back() = value.back() == '0' ? '1' : '0';  // the checksum no longer fits
    WritePrivateProfileStringA(m_user.GetSectionName(), "SyncFile1", value.c_str(), IniPath().string().c_str());
    const auto back = LoadSyncFiles(*m_prefs, &m_user);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_STREQ(back[0].path, "");
    EXPECT_FALSE(IsDueForRun(back[0], kSyncRunByCommand));
}

TEST_F(SyncFilePrefs, AutoSyncFlagsIgnoreTheCheckBox)
{
    EXPECT_FALSE(HasAutoSyncFile(*m_prefs, &m_user, false));
    EXPECT_FALSE(HasAutoSyncFile(*m_prefs, &m_user, true));
    StoreSyncFiles(*m_prefs, &m_user,
                   {MakeSyncFileRecord(CString("a.zdb"), CString("Syncronize"), CString("Remote Wins"), CString("Yes"),
                                       CString("No"), false)});
    EXPECT_TRUE(HasAutoSyncFile(*m_prefs, &m_user, false));
    EXPECT_FALSE(HasAutoSyncFile(*m_prefs, &m_user, true));
    StoreSyncFiles(*m_prefs, &m_user,
                   {MakeSyncFileRecord(CString("a.zdb"), CString("Syncronize"), CString("Remote Wins"), CString("No"),
                                       CString("Yes"), false)});
    EXPECT_FALSE(HasAutoSyncFile(*m_prefs, &m_user, false));
    EXPECT_TRUE(HasAutoSyncFile(*m_prefs, &m_user, true));
}

// At start-up a file flagged for start-up but unchecked is not synced; a
// checked one is, and at exit only the exit ones.
TEST_F(SyncFilePrefs, StartupAndExitRunsSyncTheStoredFlaggedFiles)
{
    GetMasterPwdMgr()->ClearPassword();
    ScratchDir dir("syncauto");
    const auto current = dir.Path() / "a" / "ZorvikanDatabase.zdb";
    const auto remote = dir.Path() / "b" / "remote.zdb";
    WriteSyncDb(current, nullptr, {{kCurrentUid, {"only current", 50}}});
    WriteSyncDb(remote, nullptr, {{kRemoteUid, {"only remote", 60}}});
    CDatabaseObj db;
    ASSERT_EQ(db.Load(WinPath(current), nullptr), 0);
    StoreSyncFiles(*m_prefs, &m_user,
                   {MakeSyncFileRecord(WinPath(remote), CString("Syncronize"), CString("Remote Wins"), CString("Yes"),
                                       CString("No"), false)});
    const std::string untouched = ReadFileBytes(remote);
    EXPECT_EQ(RunAutoSyncFiles(db, *m_prefs, &m_user, false, nullptr), std::vector<int>{-1});
    EXPECT_EQ(ReadFileBytes(remote), untouched);
    StoreSyncFiles(*m_prefs, &m_user,
                   {MakeSyncFileRecord(WinPath(remote), CString("Current To Remote"), CString("Remote Wins"),
                                       CString("Yes"), CString("No"), true)});
    EXPECT_EQ(RunAutoSyncFiles(db, *m_prefs, &m_user, true, nullptr), std::vector<int>{-1});
    EXPECT_EQ(RunAutoSyncFiles(db, *m_prefs, &m_user, false, nullptr), std::vector<int>{kSyncSuccess});
    EXPECT_EQ(NotesOfFile(remote, nullptr).size(), 2u);
    EXPECT_EQ(NotesOfFile(current, nullptr).size(), 1u);
}

}  // namespace
