// Users as the preferences file and the data root know them: enumeration,
// new users, renaming, deleting and the rotating backup files, all in a
// scratch data root.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/prefs/INIAppPrefs.h"
#include "core/users/Platform.h"
#include "core/os/SystemInfo.h"
#include "core/users/UserItem.h"
#include "core/os/ProcessSeams.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/core/UserRecordTestSupport.h"

namespace fs = std::filesystem;

namespace {

const char kPrefix[] = "software\\corvantide\\zorvikan desktop\\iPhone - ";

const auto& Record = zvtest::MakeUserRecord;

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

class ScratchRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(Str(m_root.Path()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        m_prefs = m_manager->GetPrefs();
    }
    void TearDown() override { CAppPrefMgr::ReplaceInstance(m_previous); }

    fs::path IniPath() const { return fs::path(m_manager->GetPreferencesFilePath().GetString()); }
    void UseFixture(const char* name) { fs::copy_file(zvtest::FixturePath(std::string("prefs/") + name), IniPath()); }
    std::vector<CString> Sections() const { return static_cast<CINIAppPrefs&>(*m_prefs).ReadSectionNames(); }
    fs::path Root() const { return m_root.Path(); }

    zvtest::ScratchDir m_root{"users"};
    std::shared_ptr<CAppPrefMgr> m_manager;
    std::shared_ptr<CAppPrefMgr> m_previous;
    std::shared_ptr<CAppPrefs> m_prefs;
};

// ----- enumeration -----

TEST_F(ScratchRoot, EnumUsersTakesUserSectionsByTheirFixedParts)
{
    UseFixture("users.ini");
    CUserList users;
    users.LoadUsers("Zorvikan", kPrefix);
    struct Expected {
        const char* display;
        const char* key;
        int32_t type;
        bool standalone;
        const char* legacy;
    };
    const Expected expected[] = {
        {"Standalone", "_Standalone_", 3, true, "software\\corvantide\\zorvikan desktop\\Standalone - _Standalone_"},
        {"Work phone", "Work", 5, false, "software\\corvantide\\zorvikan desktop\\iPhone - Work"},
        {"iPhone", "iPhone", 3, true, "software\\corvantide\\zorvikan desktop\\Standalone - iPhone"},
        {"", "Home", 5, false, "software\\corvantide\\zorvikan desktop\\iPhone - Home"},
    };
    ASSERT_EQ(users.GetCount(), (INT_PTR)(sizeof(expected) / sizeof(expected[0])));
    POSITION pos = users.GetHeadPosition();
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.key);
        CUserItem* user = dynamic_cast<CUserItem*>(users.GetNext(pos));
        ASSERT_NE(user, nullptr);
        EXPECT_EQ(user->GetDisplayName(), e.display);
        EXPECT_EQ(user->GetKeyName(), e.key);
        EXPECT_EQ(user->GetRecord().platformType, e.type);
        EXPECT_EQ(user->IsStandalone(), e.standalone);
        EXPECT_EQ(user->GetLegacyKey(), e.legacy);
        EXPECT_EQ(user->GetRecord().platformValue, 0);
        EXPECT_EQ(user->GetRecord().platformName[0], 0);
    }
}

TEST_F(ScratchRoot, EnumUsersCreatesTheDefaultUserInAnEmptyFile)
{
    CUserList users;
    users.LoadUsers("Zorvikan", kPrefix);
    ASSERT_EQ(users.GetCount(), 1);
    CUserItem* user = dynamic_cast<CUserItem*>(users.GetHead());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->GetDisplayName(), "Standalone");
    EXPECT_EQ(user->GetKeyName(), "_Standalone_");
    EXPECT_EQ(user->GetRecord().platformType, 3);
    EXPECT_TRUE(user->IsStandalone());
    EXPECT_EQ(user->GetLegacyKey(), "software\\corvantide\\zorvikan desktop\\ - _Standalone_");
    std::vector<CString> sections = Sections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0], "User-Standalone-_Standalone_-Standalone");
    EXPECT_EQ(m_prefs->GetDisplayName(user), "Standalone");
}

TEST_F(ScratchRoot, EnumUsersSeesEverySectionNameWhateverTheirLength)
{
    // Far more than 2600 bytes of section names before the one user.
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "[Some other section with a rather long name number " + std::to_string(i) + "]\r\nk=v\r\n";
    text += "[User-iPhone-Last-Last one]\r\nDisplayName=Last one\r\n";
    zvtest::ScratchDir tmp("ini");
    fs::copy_file(tmp.WriteFile("big.ini", text), IniPath());
    CUserList users;
    users.LoadUsers("Zorvikan", kPrefix);
    ASSERT_EQ(users.GetCount(), 1);
    EXPECT_EQ(dynamic_cast<CUserItem*>(users.GetHead())->GetKeyName(), "Last");
    EXPECT_EQ(Sections().size(), 201u);
}

// ----- moving a section -----

TEST_F(ScratchRoot, MoveUserSectionMovesEveryKeyOfALargeSection)
{
    CUserItem user(Record("Old", "Old", 3));
    const CString oldSection = user.GetSectionName();
    m_prefs->SetSleepMinutes(&user, 5);
    // Well over 10000 bytes of settings.
    std::map<std::string, std::string> written;
    for (int i = 0; i < 200; ++i) {
        std::string key = "SyncFile" + std::to_string(i);
        std::string value(100, (char)('A' + i % 26));
        WritePrivateProfileStringA(oldSection, key.c_str(), value.c_str(), IniPath().string().c_str());
        written[key] = value;
    }
    CString lines;
    ASSERT_EQ(static_cast<CINIAppPrefs&>(*m_prefs).ReadWholeSection(oldSection, lines), 0);
    ASSERT_GT(lines.GetLength(), 20000);

    ASSERT_TRUE(user.SetNames("New", "New"));
    EXPECT_EQ(m_prefs->MoveUserSection(oldSection, &user), 0);
    std::vector<CString> sections = Sections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0], "User-Standalone-New-New");
    EXPECT_EQ(m_prefs->GetSleepMinutes(&user), 5);
    EXPECT_EQ(m_prefs->GetDisplayName(&user), "New");
    char buffer[256];
    for (const auto& kv : written) {
        GetPrivateProfileStringA(user.GetSectionName(), kv.first.c_str(), "", buffer, sizeof(buffer),
                                 IniPath().string().c_str());
        EXPECT_EQ(std::string(buffer), kv.second) << kv.first;
    }
    // Nothing happens without an old name or a user.
    m_prefs->MoveUserSection("", &user);
    m_prefs->MoveUserSection(user.GetSectionName(), nullptr);
    EXPECT_EQ(Sections().size(), 1u);
}

// A section longer than the reader takes is never moved in part: the move
// fails with nothing written, and a rename that needs it is taken back.
TEST_F(ScratchRoot, SectionOverTheReadCapIsNeitherMovedNorCut)
{
    CUserItem user(Record("Old", "Old", 3));
    m_prefs->AddUser(&user);
    m_prefs->SetSleepMinutes(&user, 5);
    m_root.WriteFile("Old/ZorvikanDatabase.zdb", "db");
    const CString oldSection = user.GetSectionName();
    for (int i = 0; i < 200; ++i)
        WritePrivateProfileStringA(oldSection, ("SyncFile" + std::to_string(i)).c_str(), std::string(100, 'v').c_str(),
                                   IniPath().string().c_str());
    const std::string before = zvtest::ReadFileBytes(IniPath());
    zvtest::ScopedReplace cap(&SetProfileListCap, 8192u);

    CString lines = "stale";
    EXPECT_EQ(static_cast<CINIAppPrefs&>(*m_prefs).ReadWholeSection(oldSection, lines), 223);
    EXPECT_TRUE(lines.IsEmpty());
    CUserItem renamed(Record("Old", "Old", 3));
    ASSERT_TRUE(renamed.SetNames("New", "New"));
    EXPECT_EQ(m_prefs->MoveUserSection(oldSection, &renamed), 223);
    EXPECT_EQ(zvtest::ReadFileBytes(IniPath()), before);

    EXPECT_EQ(m_manager->RenameUser(&user, "New", "New"), -1);
    EXPECT_EQ(user.GetSectionName(), oldSection);
    EXPECT_EQ(zvtest::ReadFileBytes(Root() / "Old" / "ZorvikanDatabase.zdb"), "db");
    EXPECT_FALSE(fs::exists(Root() / "New"));
    EXPECT_EQ(zvtest::ReadFileBytes(IniPath()), before);
}

// ----- new users from the platform -----

TEST_F(ScratchRoot, AddNewUserTakesThePlatformsAnswers)
{
    ASSERT_EQ(LoadPlatformLibrariesFrom(ZV_STANDIN_DIR, 1, "Zorvikan"), 0);
    CUserList users;
    EXPECT_EQ(users.AddNewUser("", "k"), nullptr);
    EXPECT_EQ(users.AddNewUser("d", ""), nullptr);
    EXPECT_EQ(users.AddNewUser("d", ".."), nullptr);
    EXPECT_EQ(users.AddNewUser("d", CString(std::string(200, 'k'))), nullptr);
    EXPECT_FALSE(fs::exists(IniPath()));
    CUserItem* user = users.AddNewUser("Work phone", "Work");
    ReleasePlatformLibraries();
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(users.GetCount(), 1);
    EXPECT_EQ(user->GetRecord().platformType, 5);
    EXPECT_EQ(GetUserRecordText(user->GetRecord().platformName, 40), "iPhone");
    EXPECT_FALSE(user->IsStandalone());
    std::vector<CString> sections = Sections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0], "User-iPhone-Work-Work phone");

    // Without the platform the type is -1, which reads as stand-alone.
    CUserItem* other = users.AddNewUser("Home", "Home");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->GetRecord().platformType, -1);
    EXPECT_EQ(other->GetSectionName(), "User-Standalone-Home-Home");
}

// ----- folders -----

TEST_F(ScratchRoot, FixedFoldersAndFiles)
{
    for (const char* name : {"Preferences", "Backup", "SmartTypes", "SearchHistory"})
        EXPECT_TRUE(fs::is_directory(Root() / name)) << name;
    EXPECT_EQ(m_manager->GetPreferencesFilePath(), Str(Root() / "Preferences" / "Preferences.ini"));
    EXPECT_EQ(m_manager->GetEventsLogPath(), Str(Root() / "Preferences" / "EventsLog.xml"));
    EXPECT_EQ(m_manager->IsRemovable(), 0);
}

TEST_F(ScratchRoot, DocumentsDataRootIsMadeLevelByLevel)
{
    zvtest::ScratchDir documents("docs");
    CString root = CAppPrefMgr::MakeDataRootUnder(Str(documents.Path()));
    EXPECT_EQ(root, Str(documents.Path() / "Corvantide" / "Zorvikan"));
    EXPECT_TRUE(fs::is_directory(documents.Path() / "Corvantide" / "Zorvikan"));
    EXPECT_EQ(CAppPrefMgr::MakeDataRootUnder(""), "");
}

TEST_F(ScratchRoot, DataRootIsTheCurrentDirectoryOnlyOnARemovableDrive)
{
    zvtest::ScratchDir documents("docs");
    int removable = -1;
    EXPECT_EQ(CAppPrefMgr::ChooseDataRoot("R:\\stick", true, Str(documents.Path()), removable), "R:\\stick");
    EXPECT_EQ(removable, 1);
    EXPECT_FALSE(fs::exists(documents.Path() / "Corvantide"));
    EXPECT_EQ(CAppPrefMgr::ChooseDataRoot("R:\\stick", false, Str(documents.Path()), removable),
              Str(documents.Path() / "Corvantide" / "Zorvikan"));
    EXPECT_EQ(removable, 0);
    EXPECT_TRUE(fs::is_directory(documents.Path() / "Corvantide" / "Zorvikan"));
    // Without a documents folder there is no root, and no folders are made.
    EXPECT_EQ(CAppPrefMgr::ChooseDataRoot("", false, "", removable), "");
    CAppPrefMgr rootless("");
    EXPECT_EQ(rootless.GetPreferencesFilePath(), "");
    CUserItem user(Record("A", "A", 3));
    EXPECT_EQ(rootless.GetUserDirectory(&user), "");
    EXPECT_EQ(rootless.GetDatabasePath(&user), "");
    EXPECT_EQ(rootless.GetUserBackupDirectory(&user), "");
    // Its preferences object has no file: defaults, and nothing written anywhere.
    rootless.GetPrefs()->SetSleepMinutes(&user, 5);
    EXPECT_EQ(rootless.GetPrefs()->GetSleepMinutes(&user), 10);
    EXPECT_FALSE(rootless.GetPrefs()->SetUserDirectory(&user, "C:\\x"));
    CUserList users;
    rootless.GetPrefs()->EnumUsers("Zorvikan", kPrefix, users);
    EXPECT_EQ(users.GetCount(), 1);
}

TEST_F(ScratchRoot, PlatformUsersThroughTheStandIn)
{
    SetEnvironmentVariableA("ZV_STANDIN", "active=Home;root=P:\\platform");
    ASSERT_EQ(LoadPlatformLibrariesFrom(ZV_STANDIN_DIR, 1, "Zorvikan"), 0);
    CUserList users;
    CUserItem* work = users.AddNewUser("Work phone", "Wo:rk");
    CUserItem* home = users.AddNewUser("Home", "Home");
    ASSERT_NE(work, nullptr);
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(users.FindActiveUser(), home);
    EXPECT_EQ(work->GetPlatformRootDir("Zorvikan"), "P:\\platform\\Wo_rk");
    home->SetStandalone(true);
    EXPECT_EQ(home->GetPlatformRootDir("Zorvikan"), "");
    SetEnvironmentVariableA("ZV_STANDIN", "");
    EXPECT_EQ(users.FindActiveUser(), nullptr);
    EXPECT_EQ(work->GetPlatformRootDir("Zorvikan"), "");
    ReleasePlatformLibraries();
    SetEnvironmentVariableA("ZV_STANDIN", nullptr);
}

TEST_F(ScratchRoot, PerUserPaths)
{
    CUserItem user(Record("A", "a/b  ", 3));
    const fs::path folder = Root() / "a_b";
    EXPECT_EQ(m_manager->GetUserDirectory(&user), Str(folder));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(m_manager->GetDatabasePath(&user), Str(folder / "ZorvikanDatabase.zdb"));
    // One level is made, so Files waits for the user's folder.
    EXPECT_EQ(m_manager->GetAttachmentsDirectory(&user), Str(folder / "Files"));
    EXPECT_FALSE(fs::exists(folder / "Files"));
    fs::create_directory(folder);
    EXPECT_EQ(m_manager->GetAttachmentsDirectory(&user), Str(folder / "Files"));
    EXPECT_TRUE(fs::is_directory(folder / "Files"));
    EXPECT_EQ(m_manager->GetIconsDirectory(&user), Str(folder / "Icons"));
    EXPECT_TRUE(fs::is_directory(folder / "Icons"));
    EXPECT_EQ(m_manager->GetUserBackupDirectory(&user), Str(Root() / "Backup" / "a_b"));
    EXPECT_TRUE(fs::is_directory(Root() / "Backup" / "a_b"));
    EXPECT_EQ(m_manager->GetSmartTypesPath(&user), Str(Root() / "SmartTypes" / "a_b" / "SmartTypes.xml"));
    EXPECT_EQ(m_manager->GetSearchHistoryPath(&user), Str(Root() / "SearchHistory" / "a_b" / "SearchHistory.xml"));
    EXPECT_TRUE(fs::is_directory(Root() / "SearchHistory" / "a_b"));
    EXPECT_FALSE(m_manager->HasCustomUserDirectory(&user));
    EXPECT_FALSE(m_manager->HasCustomBackupDirectory(&user));

    for (CString path : {m_manager->GetUserDirectory(nullptr), m_manager->GetDatabasePath(nullptr),
                         m_manager->GetUserBackupDirectory(nullptr), m_manager->GetSmartTypesPath(nullptr)})
        EXPECT_EQ(path, "");
    CString documents;
    ASSERT_TRUE(GetSpecialFolderPath(CSIDL_PERSONAL, documents));
    EXPECT_EQ(m_manager->GetBackupFolderOrDocuments(nullptr), documents);
    EXPECT_EQ(m_manager->GetBackupFolderOrDocuments(&user), documents);
    CString temp = CAppPrefMgr::GetTempDirectory();
    EXPECT_EQ(fs::path(temp.GetString()).filename(), "Zorvikan");
    EXPECT_TRUE(fs::is_directory(temp.GetString()));
}

TEST_F(ScratchRoot, CustomFoldersAreTakenUnchanged)
{
    CUserItem user(Record("A", "A", 3));
    const fs::path custom = Root() / "elsewhere" / "mine";
    const fs::path backup = Root() / "backups-not-made";
    ASSERT_TRUE(m_prefs->SetUserDirectory(&user, Str(custom)));
    ASSERT_TRUE(m_prefs->SetBackupDirectory(&user, Str(backup)));
    EXPECT_EQ(m_manager->GetUserDirectory(&user), Str(custom));
    EXPECT_EQ(m_manager->GetDatabasePath(&user), Str(custom / "ZorvikanDatabase.zdb"));
    EXPECT_EQ(m_manager->GetUserBackupDirectory(&user), Str(backup));
    EXPECT_FALSE(fs::exists(backup));
    EXPECT_EQ(m_manager->GetBackupFolderOrDocuments(&user), Str(backup));
    EXPECT_TRUE(m_manager->HasCustomUserDirectory(&user));
    EXPECT_TRUE(m_manager->HasCustomBackupDirectory(&user));
}

TEST_F(ScratchRoot, KeyNamesThatWouldNameTheDataRootGiveNoFolders)
{
    for (const char* key : {"", ".", "..", "...", " . ", "CON"}) {
        SCOPED_TRACE(key);
        CUserItem user(Record("x", key, 3));
        EXPECT_EQ(m_manager->GetUserDirectory(&user), "");
        EXPECT_EQ(m_manager->GetDatabasePath(&user), "");
        EXPECT_EQ(m_manager->GetAttachmentsDirectory(&user), "");
        EXPECT_EQ(m_manager->GetUserBackupDirectory(&user), "");
        EXPECT_EQ(m_manager->GetUserSmartTypesFolder(&user), "");
    }
}

// ----- rename and delete -----

TEST_F(ScratchRoot, RenameMovesFoldersAndSettings)
{
    CUserItem user(Record("Standalone-Old", "_Standalone_Old", 3));
    m_prefs->AddUser(&user);
    m_prefs->SetSleepMinutes(&user, 5);
    m_root.WriteFile("_Standalone_Old/ZorvikanDatabase.zdb", "db");
    m_manager->GetUserBackupDirectory(&user);
    m_root.WriteFile("Backup/_Standalone_Old/Backup-1.zkv", "bk");
    m_manager->GetSmartTypesPath(&user);

    ASSERT_EQ(m_manager->RenameUser(&user, "Standalone-New", "_Standalone_New"), 0);
    EXPECT_EQ(user.GetSectionName(), "User-Standalone-_Standalone_New-Standalone-New");
    EXPECT_EQ(zvtest::ReadFileBytes(Root() / "_Standalone_New" / "ZorvikanDatabase.zdb"), "db");
    EXPECT_EQ(zvtest::ReadFileBytes(Root() / "Backup" / "_Standalone_New" / "Backup-1.zkv"), "bk");
    EXPECT_FALSE(fs::exists(Root() / "_Standalone_Old"));
    EXPECT_FALSE(fs::exists(Root() / "Backup" / "_Standalone_Old"));
    EXPECT_EQ(m_prefs->GetSleepMinutes(&user), 5);
    std::vector<CString> sections = Sections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0], "User-Standalone-_Standalone_New-Standalone-New");
    // The smart lists start again under the new name; the old folder stays.
    EXPECT_TRUE(fs::exists(Root() / "SmartTypes" / "_Standalone_Old"));
}

TEST_F(ScratchRoot, FailedRenameChangesNothing)
{
    CUserItem user(Record("Old", "Old", 3));
    m_prefs->AddUser(&user);
    m_prefs->SetSleepMinutes(&user, 5);
    m_root.WriteFile("Old/ZorvikanDatabase.zdb", "db");
    // The new folder's name is taken by a file.
    m_root.WriteFile("New", "in the way");

    EXPECT_EQ(m_manager->RenameUser(&user, "New", "New"), -1);
    EXPECT_EQ(user.GetKeyName(), "Old");
    EXPECT_EQ(user.GetDisplayName(), "Old");
    EXPECT_EQ(user.GetSectionName(), "User-Standalone-Old-Old");
    EXPECT_EQ(zvtest::ReadFileBytes(Root() / "Old" / "ZorvikanDatabase.zdb"), "db");
    EXPECT_EQ(zvtest::ReadFileBytes(Root() / "New"), "in the way");
    EXPECT_EQ(m_prefs->GetSleepMinutes(&user), 5);

    // Refused names change nothing either.
    EXPECT_EQ(m_manager->RenameUser(&user, "x", ".."), -1);
    EXPECT_EQ(m_manager->RenameUser(&user, "", "k"), -1);
    EXPECT_EQ(m_manager->RenameUser(nullptr, "x", "k"), -1);
    EXPECT_EQ(user.GetKeyName(), "Old");
}

TEST_F(ScratchRoot, DeleteUserDataTakesTheUsersFoldersAndSection)
{
    CUserItem user(Record("Gone", "Gone", 3));
    CUserItem other(Record("Kept", "Kept", 3));
    m_prefs->AddUser(&user);
    m_prefs->AddUser(&other);
    m_root.WriteFile("Gone/ZorvikanDatabase.zdb", "db");
    m_root.WriteFile("Gone/Files/1.dat", "f");
    m_root.WriteFile("Kept/ZorvikanDatabase.zdb", "db");
    m_manager->GetUserBackupDirectory(&user);
    m_manager->GetSmartTypesPath(&user);
    m_manager->GetSearchHistoryPath(&user);

    EXPECT_EQ(m_manager->DeleteUserData(&user), 0);
    EXPECT_FALSE(fs::exists(Root() / "Gone"));
    EXPECT_FALSE(fs::exists(Root() / "Backup" / "Gone"));
    EXPECT_FALSE(fs::exists(Root() / "SmartTypes" / "Gone"));
    EXPECT_FALSE(fs::exists(Root() / "SearchHistory" / "Gone"));
    EXPECT_TRUE(fs::exists(Root() / "Kept" / "ZorvikanDatabase.zdb"));
    std::vector<CString> sections = Sections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0], "User-Standalone-Kept-Kept");
}

TEST_F(ScratchRoot, DeleteUserDataTakesACustomFolderWhole)
{
    CUserItem user(Record("Gone", "Gone", 3));
    const fs::path custom = Root() / "elsewhere" / "mine";
    m_root.WriteFile("elsewhere/mine/ZorvikanDatabase.zdb", "db");
    m_root.WriteFile("elsewhere/mine/notes/n.txt", "n");
    m_prefs->SetUserDirectory(&user, Str(custom));
    EXPECT_EQ(m_manager->DeleteUserData(&user), 0);
    EXPECT_FALSE(fs::exists(custom));
    EXPECT_TRUE(fs::exists(Root() / "elsewhere"));
}

TEST_F(ScratchRoot, DeleteUserDataNeverTakesTheDataRootOrAbove)
{
    m_root.WriteFile("Other/ZorvikanDatabase.zdb", "db");
    const fs::path above = Root().parent_path();
    struct Case {
        const char* name;
        std::string userDirectory;
        std::string backupDirectory;
    };
    const Case cases[] = {
        {"DataRoot", Root().string(), ""},
        {"DataRootWithSlash", Root().string() + "\\", ""},
        {"DataRootDotted", (Root() / "Other" / "..").string(), ""},
        {"Above", above.string(), ""},
        {"DriveRoot", Root().root_path().string(), ""},
        {"BackupRoot", "", (Root() / "Backup").string()},
        {"PreferencesFolder", (Root() / "Preferences").string(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CUserItem user(Record("x", "x", 3));
        m_prefs->SetUserDirectory(&user, c.userDirectory.c_str());
        m_prefs->SetBackupDirectory(&user, c.backupDirectory.c_str());
        EXPECT_TRUE(
            m_manager->IsProtectedPath(c.userDirectory.empty() ? c.backupDirectory.c_str() : c.userDirectory.c_str()));
        EXPECT_EQ(m_manager->DeleteUserData(&user), -1);
        EXPECT_EQ(zvtest::ReadFileBytes(Root() / "Other" / "ZorvikanDatabase.zdb"), "db");
        EXPECT_TRUE(fs::is_directory(Root() / "Backup"));
        EXPECT_TRUE(fs::is_directory(Root() / "Preferences"));
    }
    // A user whose key would name the data root.
    CUserItem dots(Record("x", "..", 3));
    m_manager->DeleteUserData(&dots);
    EXPECT_EQ(zvtest::ReadFileBytes(Root() / "Other" / "ZorvikanDatabase.zdb"), "db");
    EXPECT_FALSE(m_manager->IsProtectedPath(Str(Root() / "Other")));
}

// ----- backup files -----

TEST_F(ScratchRoot, BackupFilesRotateThroughFiveNames)
{
    CUserItem user(Record("A", "A", 3));
    const fs::path folder = Root() / "Backup" / "A";
    m_root.WriteFile("Backup/A/Backup-2.zkv", "old backup");
    const char* expected[] = {"Backup-1.zkv", "Backup-2.zkv", "Backup-3.zkv",
                              "Backup-4.zkv", "Backup-0.zkv", "Backup-1.zkv"};
    for (const char* name : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(user.GetNextBackupFilePath(), Str(folder / name));
        EXPECT_FALSE(fs::exists(folder / name));
    }
    EXPECT_EQ(m_prefs->GetBackupFileCounter(&user), 1);
}

}  // namespace
