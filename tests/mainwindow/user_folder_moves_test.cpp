// Moving a user's database and backup folders to where the Options sheet
// points them: what moves, where it lands and what the preferences then say.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/users/UserItem.h"
#include "mainwindow/data/UserDatabaseOpen.h"
#include "mainwindow/data/UserFolderMoves.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/DatabaseFixtures.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

class UserFolderMoves : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_root.Path() / "root");
        m_manager = std::make_shared<CAppPrefMgr>(Str(m_root.Path() / "root"));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
    }
    void TearDown() override { CAppPrefMgr::ReplaceInstance(m_previous); }
    // A user with a database and an attachment in its default folder.
    CUserItem* MakeUser(const char* key)
    {
        m_user = std::make_unique<CUserItem>(zvtest::MakeUserRecord("Ann", key, 3));
        const fs::path folder = UserFolder();
        fs::create_directories(folder / "Files");
        std::string db = zvtest::DbFixtureBytes("defaults.zdb");
        WriteBytes(folder / "ZorvikanDatabase.zdb", db);
        WriteBytes(folder / "Files" / "123.bin", "attachment");
        EXPECT_EQ(0, OpenUserDatabase(m_db, Str(folder), false));
        return m_user.get();
    }
    static void WriteBytes(const fs::path& path, const std::string& bytes)
    {
        fs::create_directories(path.parent_path());
        FILE* f = _wfopen(path.wstring().c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    fs::path UserFolder() { return fs::path(m_manager->GetUserDirectory(m_user.get()).GetString()); }
    std::string StoredUserDirectory() { return m_manager->GetPrefs()->GetUserDirectory(m_user.get()).GetString(); }
    std::string StoredBackupDirectory() { return m_manager->GetPrefs()->GetBackupDirectory(m_user.get()).GetString(); }

    zvtest::ScratchDir m_root{"folder-moves"};
    std::shared_ptr<CAppPrefMgr> m_manager, m_previous;
    std::unique_ptr<CUserItem> m_user;
    CDatabaseObj m_db;
};

TEST_F(UserFolderMoves, DatabaseFolderMovesWithEverythingInIt)
{
    CUserItem* user = MakeUser("ann");
    const fs::path old = UserFolder();
    const fs::path chosen = m_root / "elsewhere";
    fs::create_directories(chosen);
    EXPECT_EQ(DatabaseFolderMove::Moved, MoveUserDatabaseFolder(m_db, user, Str(old), Str(chosen), nullptr));
    EXPECT_TRUE(fs::exists(chosen / "ann" / "ZorvikanDatabase.zdb"));
    EXPECT_TRUE(fs::exists(chosen / "ann" / "Files" / "123.bin"));
    EXPECT_FALSE(fs::exists(old));
    EXPECT_EQ(StoredUserDirectory(), (chosen / "ann").string());
    EXPECT_EQ(std::string(m_db.GetFilePath().GetString()), (chosen / "ann" / "ZorvikanDatabase.zdb").string());
}

TEST_F(UserFolderMoves, TheTargetIsNamedAfterTheSafeKeyName)
{
    CUserItem* user = MakeUser("ann:work?");
    const std::string safe = MakeSafeUserName(user->GetKeyName()).GetString();
    ASSERT_NE(safe, "ann:work?");
    const fs::path chosen = m_root / "elsewhere";
    fs::create_directories(chosen);
    EXPECT_EQ(DatabaseFolderMove::Moved, MoveUserDatabaseFolder(m_db, user, Str(UserFolder()), Str(chosen), nullptr));
    EXPECT_TRUE(fs::exists(chosen / safe / "ZorvikanDatabase.zdb"));
    EXPECT_EQ(StoredUserDirectory(), (chosen / safe).string());
}

TEST_F(UserFolderMoves, ALetterCaseChangeMovesNothing)
{
    CUserItem* user = MakeUser("ann");
    const fs::path old = UserFolder();
    std::string upper = old.string();
    for (char& c : upper) c = (char)toupper((unsigned char)c);
    EXPECT_EQ(DatabaseFolderMove::Unchanged, MoveUserDatabaseFolder(m_db, user, Str(old), upper.c_str(), nullptr));
    EXPECT_FALSE(MoveUserBackupFolder(user, "C:\\Backups", "c:\\BACKUPS", nullptr));
    EXPECT_TRUE(fs::exists(old / "ZorvikanDatabase.zdb"));
    EXPECT_EQ(StoredUserDirectory(), "");
    EXPECT_EQ(StoredBackupDirectory(), "");
}

TEST_F(UserFolderMoves, ATargetWithADatabaseKeepsEverythingWhereItWas)
{
    CUserItem* user = MakeUser("ann");
    const fs::path old = UserFolder();
    const fs::path chosen = m_root / "taken";
    WriteBytes(chosen / "ann" / "ZorvikanDatabase.zdb", "someone else's");
    EXPECT_EQ(DatabaseFolderMove::DatabaseThere, MoveUserDatabaseFolder(m_db, user, Str(old), Str(chosen), nullptr));
    EXPECT_TRUE(fs::exists(old / "ZorvikanDatabase.zdb"));
    EXPECT_EQ(zvtest::ReadFileBytes(chosen / "ann" / "ZorvikanDatabase.zdb"), "someone else's");
    EXPECT_EQ(StoredUserDirectory(), "");
}

TEST_F(UserFolderMoves, BackupFolderMovesAndIsStoredWhereItWent)
{
    CUserItem* user = MakeUser("ann");
    const fs::path oldBackup = m_manager->GetUserBackupDirectory(user).GetString();
    WriteBytes(oldBackup / "Backup-1.zkv", "backup");
    const fs::path chosen = m_root / "backups";
    fs::create_directories(chosen);
    EXPECT_TRUE(MoveUserBackupFolder(user, Str(oldBackup.parent_path()), Str(chosen), nullptr));
    EXPECT_TRUE(fs::exists(chosen / "Backup" / "ann" / "Backup-1.zkv"));
    EXPECT_FALSE(fs::exists(oldBackup));
    EXPECT_EQ(StoredBackupDirectory(), (chosen / "Backup" / "ann").string());
}

TEST_F(UserFolderMoves, AFailedBackupMoveStoresNothing)
{
    CUserItem* user = MakeUser("ann");
    const fs::path oldBackup = m_manager->GetUserBackupDirectory(user).GetString();
    WriteBytes(oldBackup / "Backup-1.zkv", "backup");
    // A file where the new folder should be: nothing can go there.
    const fs::path blocked = m_root / "blocked";
    WriteBytes(blocked, "a file");
    EXPECT_FALSE(MoveUserBackupFolder(user, Str(oldBackup.parent_path()), Str(blocked), nullptr));
    EXPECT_TRUE(fs::exists(oldBackup / "Backup-1.zkv"));
    EXPECT_EQ(StoredBackupDirectory(), "");
}

}  // namespace
