#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/INIAppPrefs.h"
#include "core/prefs/LegacyPrefs.h"
#include "core/users/Platform.h"
#include "core/prefs/PreferenceCopy.h"
#include "core/prefs/Registry.h"
#include "core/items/ShowColumns.h"
#include "core/users/UserItem.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScratchRegistry.h"

namespace fs = std::filesystem;

namespace {

const char kSection[] = "Preferences iPhone";
const char kLegacyKeyBob[] = "Software\\Corvantide\\Zorvikan Desktop\\iPhone - bob";
const char kLegacyKeyHome[] = "Software\\Corvantide\\Zorvikan Desktop\\ - _Standalone_Home";
const char kLegacySection[] = "Software\\Corvantide\\Zorvikan Desktop\\Preferences iPhone";

// The platform manager as the migration sees it: platform "iPhone" with the
// one user "bob".
int FakeEnumerate(int index, const char*, void* buffer)
{
    if (index > 0) return 0;
    auto* record = static_cast<UserRecord*>(buffer);
    SetUserRecordText(record->displayName, sizeof(record->displayName), "Bob");
    SetUserRecordText(record->keyName, sizeof(record->keyName), "bob");
    record->platformType = kPlatformTypeHandheld;
    return 1;
}

void FakePlatformName(char* buffer) { std::strcpy(buffer, "iPhone"); }

void* FakeResolver(PlatformLibrary library, const char* name)
{
    if (library != PlatformLibrary::Manager) return nullptr;
    if (std::strcmp(name, "EnumeratePlatformUsers") == 0) return reinterpret_cast<void*>(&FakeEnumerate);
    if (std::strcmp(name, "GetPlatformName") == 0) return reinterpret_cast<void*>(&FakePlatformName);
    return nullptr;
}

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

std::unique_ptr<CUserItem> Bob()
{
    auto user = std::make_unique<CUserItem>(zvtest::MakeUserRecord("Bob", "bob", kPlatformTypeHandheld));
    user->SetLegacyKey("software\\corvantide\\zorvikan desktop\\iPhone - ");
    return user;
}

std::unique_ptr<CUserItem> Home()
{
    auto user =
        std::make_unique<CUserItem>(zvtest::MakeUserRecord("Home", "_Standalone_Home", kPlatformTypeStandalone));
    user->SetLegacyKey("software\\corvantide\\zorvikan desktop\\ - ");
    user->SetStandalone(true);
    return user;
}

std::string IniValue(const fs::path& ini, const CString& section, const char* key)
{
    char buffer[1024] = "<absent>";
    GetPrivateProfileStringA(section, key, "<absent>", buffer, sizeof buffer, ini.string().c_str());
    return buffer;
}

class Migration : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_hive.IsActive());
        std::string error;
        ASSERT_TRUE(m_hive.ImportRegFile(zvtest::FixturePath("legacy/older-install.reg"), &error)) << error;
        m_previousResolver = SetPlatformExportResolver(&FakeResolver);
        fs::create_directories(m_root.Path() / "Data");
        m_manager = std::make_shared<CAppPrefMgr>(Str(m_root.Path() / "Data"));
        m_previousManager = CAppPrefMgr::ReplaceInstance(m_manager);
        m_legacy = std::make_shared<CLegacyPrefs>(&zvtest::ProfileApp());
        // bob's database lies in the default folder of the data root.
        fs::create_directories(m_root.Path() / "Data" / "bob");
        m_root.WriteFile("Data/bob/ZorvikanDatabase.zdb", "bob's records");
    }
    void TearDown() override
    {
        CAppPrefMgr::ReplaceInstance(m_previousManager);
        SetPlatformExportResolver(m_previousResolver);
    }
    fs::path Ini() const { return fs::path(m_manager->GetPreferencesFilePath().GetString()); }
    // Home's older custom folder, with its database.
    fs::path GiveHomeACustomFolder(const char* name)
    {
        fs::path folder = m_root.Path() / name;
        fs::create_directories(folder);
        m_root.WriteFile(std::string(name) + "/ZorvikanDatabase.zdb", "home's records");
        CRegistry key(HKEY_CURRENT_USER, kLegacyKeyHome);
        EXPECT_TRUE(key.OpenKey());
        EXPECT_TRUE(key.WriteString("User Directory", Str(folder)));
        return folder;
    }

    zvtest::ScratchRegistry m_hive;
    zvtest::ScratchDir m_root{"migrate"};
    PlatformExportResolver m_previousResolver = nullptr;
    std::shared_ptr<CAppPrefMgr> m_manager, m_previousManager;
    std::shared_ptr<CLegacyPrefs> m_legacy;
};

TEST_F(Migration, OlderInstallationMovesIntoThePreferencesFile)
{
    fs::path homeOld = GiveHomeACustomFolder("OldHome");
    ASSERT_TRUE(LegacyRegistryKeyExists());
    ASSERT_FALSE(fs::exists(Ini()));

    EXPECT_EQ(m_manager->MigrateLegacyPreferences(kSection, m_legacy), 1);
    ASSERT_TRUE(fs::exists(Ini()));

    auto bob = Bob();
    auto home = Home();
    CINIAppPrefs ini(Str(Ini()));
    // The application section.
    EXPECT_EQ(ini.GetCurrentUser(kSection), "bob");
    EXPECT_FALSE(ini.GetVirginSync(kSection)) << "migrated users skip the first-run set-up";
    EXPECT_EQ(ini.GetDBVersion(kSection), 7) << "the column layout was stored";

    // bob: every value of the table.
    uint8_t key[8];
    const uint8_t type[8] = {1, 2, 3, 4, 5, 6, 7, 8}, category[8] = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18};
    ini.GetCurrentType(bob.get(), key);
    EXPECT_EQ(0, std::memcmp(key, type, 8));
    ini.GetCurrentCategory(bob.get(), key);
    EXPECT_EQ(0, std::memcmp(key, category, 8));
    EXPECT_EQ(ini.GetWindowPos(bob.get()), "0,1,-1,-1,-1,-1,10,20,810,620");
    CShowColumns columns = ini.GetShowColumns(kSection, bob.get());
    EXPECT_EQ(columns.GetColumnWidth(3), 63);
    EXPECT_EQ(columns.IsColumnVisible(2), 0);
    EXPECT_EQ(ini.GetSortInfo(bob.get()), 0x00010005);
    EXPECT_FALSE(ini.GetShowingDetails(bob.get()));
    EXPECT_EQ(ini.GetDetailsPaneWidth(bob.get()), 300);
    BYTE font[60];
    ASSERT_TRUE(ini.GetFont(bob.get(), font));
    EXPECT_EQ(font[0], 0x40);
    EXPECT_EQ(font[59], 0x7B);
    EXPECT_EQ(ini.GetRowColor(bob.get()), 0x302010u);
    EXPECT_EQ(ini.GetMaxSleepMinutes(bob.get()), 30);
    EXPECT_EQ(ini.GetSleepMinutes(bob.get()), 15);
    EXPECT_EQ(ini.GetPasswordGeneratorFlags(bob.get()), 0x27);
    EXPECT_TRUE(ini.GetCaseSensitive(bob.get()));
    EXPECT_FALSE(ini.GetWholeWord(bob.get()));
    EXPECT_EQ(ini.GetBackupDirectory(bob.get()), "C:\\Backups\\Bob");
    EXPECT_EQ(ini.GetRestoreDirectory(bob.get()), "C:\\Restore");
    EXPECT_EQ(ini.GetBackupFileCounter(bob.get()), 3);
    EXPECT_EQ(ini.GetHint(bob.get()), "the usual one");
    EXPECT_EQ(ini.GetLatestView(bob.get()), 2);
    EXPECT_FALSE(ini.GetAutoSubmit(bob.get())) << "a stored 0 stays off";
    EXPECT_TRUE(ini.GetSearchColumns(bob.get()));
    EXPECT_TRUE(ini.GetClearClipboardOnExit(bob.get()));
    EXPECT_EQ(ini.GetDisplayName(bob.get()), "Bob");
    // Without a "User Directory" the database stays where it is.
    EXPECT_EQ(IniValue(Ini(), bob->GetSectionName(), "User Directory"), "<absent>");
    EXPECT_TRUE(fs::exists(m_root.Path() / "Data" / "bob" / "ZorvikanDatabase.zdb"));

    // Home: no font and an empty hint are not written; its database moved
    // into a sub-folder named after its key, which is now its folder.
    EXPECT_EQ(ini.GetDisplayName(home.get()), "Home");
    EXPECT_TRUE(ini.GetAutoSubmit(home.get()));
    EXPECT_EQ(ini.GetDetailsPaneWidth(home.get()), 200);
    EXPECT_EQ(IniValue(Ini(), home->GetSectionName(), "Font"), "<absent>");
    EXPECT_EQ(IniValue(Ini(), home->GetSectionName(), "Hint"), "<absent>");
    fs::path homeNew = homeOld / "_Standalone_Home";
    EXPECT_EQ(ini.GetUserDirectory(home.get()), Str(homeNew));
    EXPECT_EQ(zvtest::ReadFileBytes(homeNew / "ZorvikanDatabase.zdb"), "home's records");
    EXPECT_FALSE(fs::exists(homeOld / "ZorvikanDatabase.zdb"));

    // Everything taken over is gone from the registry; the rest stays.
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists(kLegacyKeyBob));
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists(kLegacyKeyHome));
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists(kLegacySection));
    EXPECT_TRUE(zvtest::ScratchRegistry::ValueExists("Software\\Corvantide\\Zorvikan Desktop", "Promo Text"));

    // The second start finds the preferences file and does nothing.
    std::string before = zvtest::ReadFileBytes(Ini());
    auto second = std::make_shared<CAppPrefMgr>(Str(m_root.Path() / "Data"));
    EXPECT_EQ(second->MigrateLegacyPreferences(kSection, m_legacy), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(Ini()), before);
    EXPECT_NE(dynamic_cast<CINIAppPrefs*>(second->GetPrefs().get()), nullptr);
}

// The whole file, checked line by line against the registry fixture: the
// section's four values, every value of bob, and Home with its defaults but
// without a font or a hint.
TEST_F(Migration, TheFixtureGivesTheExpectedPreferencesFile)
{
    EXPECT_EQ(m_manager->MigrateLegacyPreferences(kSection, m_legacy), 1);
    std::string written = zvtest::ReadFileBytes(Ini());
    EXPECT_EQ(written, zvtest::ReadFileBytes(zvtest::FixturePath("legacy/expected-Preferences.ini")));
}

TEST_F(Migration, AFailedMoveKeepsTheLegacyKeyAndRecordsWhereTheDatabaseIs)
{
    fs::path homeOld = GiveHomeACustomFolder("Blocked");
    // A database already waits at the destination: it is never overwritten.
    fs::create_directories(homeOld / "_Standalone_Home");
    m_root.WriteFile("Blocked/_Standalone_Home/ZorvikanDatabase.zdb", "someone else's");

    EXPECT_EQ(m_manager->MigrateLegacyPreferences(kSection, m_legacy), 1);
    auto home = Home();
    CINIAppPrefs ini(Str(Ini()));
    EXPECT_EQ(ini.GetUserDirectory(home.get()), Str(homeOld));
    EXPECT_EQ(zvtest::ReadFileBytes(homeOld / "ZorvikanDatabase.zdb"), "home's records");
    EXPECT_EQ(zvtest::ReadFileBytes(homeOld / "_Standalone_Home" / "ZorvikanDatabase.zdb"), "someone else's");
    EXPECT_TRUE(zvtest::ScratchRegistry::KeyExists(kLegacyKeyHome));
    // The user whose copy was complete is gone from the registry.
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists(kLegacyKeyBob));
}

// Without a section name there is no section key to delete: the older tree
// with a user that was not taken over stays.
TEST_F(Migration, AnEmptySectionNeverDeletesTheWholeOlderTree)
{
    fs::path homeOld = GiveHomeACustomFolder("Blocked");
    fs::create_directories(homeOld / "_Standalone_Home");
    m_root.WriteFile("Blocked/_Standalone_Home/ZorvikanDatabase.zdb", "someone else's");
    EXPECT_EQ(m_manager->MigrateLegacyPreferences("", m_legacy), 1);
    EXPECT_TRUE(zvtest::ScratchRegistry::KeyExists(kLegacyKeyHome));
    EXPECT_TRUE(zvtest::ScratchRegistry::KeyExists(kLegacySection));
}

TEST_F(Migration, NothingHappensWithoutTheLegacyKeyOrWithAPreferencesFile)
{
    // With a preferences file already there.
    fs::create_directories(Ini().parent_path());
    m_root.WriteFile("Data/Preferences/Preferences.ini", "[Preferences iPhone]\r\nCurrent User=alice\r\n");
    EXPECT_EQ(m_manager->MigrateLegacyPreferences(kSection, m_legacy), 0);
    EXPECT_TRUE(zvtest::ScratchRegistry::KeyExists(kLegacyKeyBob));
    EXPECT_EQ(m_manager->GetPrefs()->GetCurrentUser(kSection), "alice");

    // Without the legacy key.
    ASSERT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Corvantide"), 0);
    fs::remove(Ini());
    EXPECT_FALSE(LegacyRegistryKeyExists());
    EXPECT_EQ(m_manager->MigrateLegacyPreferences(kSection, m_legacy), 0);
    EXPECT_FALSE(fs::exists(Ini()));
}

TEST_F(Migration, CopyModeCopiesAndLeavesTheSourceAlone)
{
    // A preferences file whose user keeps its data in a custom folder.
    auto bob = Bob();
    std::shared_ptr<CAppPrefs> prefs = m_manager->GetPrefs();
    fs::path custom = m_root.Path() / "BobData";
    fs::create_directories(custom);
    m_root.WriteFile("BobData/ZorvikanDatabase.zdb", "bob's records");
    prefs->SetCurrentUser(kSection, "bob");
    prefs->AddUser(bob.get());
    ASSERT_TRUE(prefs->SetUserDirectory(bob.get(), Str(custom)));
    prefs->SetWindowPos(bob.get(), "1,2,3");
    std::string sourceBefore = zvtest::ReadFileBytes(Ini());

    fs::path diskIni = m_root.Path() / "Disk" / "Preferences.ini";
    fs::create_directories(diskIni.parent_path());
    EXPECT_EQ(m_manager->CopyPreferencesTo(kSection, Str(diskIni), bob.get()), 1);

    // The source and its database are untouched.
    EXPECT_EQ(zvtest::ReadFileBytes(Ini()), sourceBefore);
    EXPECT_EQ(zvtest::ReadFileBytes(custom / "ZorvikanDatabase.zdb"), "bob's records");
    EXPECT_FALSE(fs::exists(custom / "bob"));
    // The copy holds the section and the user, in the disk's default folder.
    CINIAppPrefs copy(Str(diskIni));
    EXPECT_EQ(copy.GetCurrentUser(kSection), "bob");
    EXPECT_EQ(copy.GetWindowPos(bob.get()), "1,2,3");
    EXPECT_EQ(copy.GetUserDirectory(bob.get()), "");
    EXPECT_FALSE(copy.GetVirginSync(kSection));
}

}  // namespace
