// Installing to a removable disk, into a scratch folder: the files that land
// there, the one-user preferences file, what is reported when a step fails
// and which targets are refused.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/install/RemovableDiskInstaller.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

void Touch(const fs::path& path, const std::string& bytes = "x")
{
    fs::create_directories(path.parent_path());
    FILE* f = _wfopen(path.wstring().c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

class RemovableInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(Str(m_root / "root"));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        CZorvikanDesktopApp::GetPrefsSection() = "Preferences Standalone";
        auto prefs = m_manager->GetPrefs();
        prefs->SetShowStatusBar(CZorvikanDesktopApp::GetPrefsSection(), 1);
        m_ann = std::make_unique<CUserItem>(zvtest::MakeUserRecord("Ann", "ann", 3));
        m_bob = std::make_unique<CUserItem>(zvtest::MakeUserRecord("Bob", "bob", 3));
        prefs->AddUser(m_ann.get());
        prefs->AddUser(m_bob.get());
        prefs->SetSleepMinutes(m_ann.get(), 7);
        Touch(fs::path(m_manager->GetUserDirectory(m_ann.get()).GetString()) / "ZorvikanDatabase.zdb", "db");
        Touch(fs::path(m_manager->GetUserDirectory(m_ann.get()).GetString()) / "Files" / "12.bin", "file");
        Touch(fs::path(m_manager->GetUserBackupDirectory(m_ann.get()).GetString()) / "Backup-1.zkv", "backup");
        Touch(fs::path(m_manager->GetSmartTypesPath(m_ann.get()).GetString()), "<smart/>");
        Touch(fs::path(m_manager->GetEventsLogPath().GetString()), "<log/>");
        for (const char* name : {"Zorvikan Desktop.exe", "CVPlatformMgr.dll", "sqlite3.dll", "ZorvikanToolBar.dll"})
            Touch(m_program / name, name);
        m_plan = CRemovableDiskInstaller::MakePlan(m_ann.get());
        ASSERT_NE(m_plan, nullptr);
        m_plan->programFolder = Str(m_program);
        m_plan->systemFolder.Empty();
    }
    void TearDown() override
    {
        CZorvikanDesktopApp::GetPrefsSection().Empty();
        CAppPrefMgr::ReplaceInstance(m_previous);
    }

    zvtest::ScratchDir m_root{"removable"};
    fs::path m_program = m_root / "program";
    fs::path m_target = m_root / "stick";
    std::shared_ptr<CAppPrefMgr> m_manager, m_previous;
    std::unique_ptr<CUserItem> m_ann, m_bob;
    std::unique_ptr<RemovableInstallPlan> m_plan;
};

TEST_F(RemovableInstall, CopiesProgramAndUserDataAsADataRoot)
{
    fs::create_directories(m_target);
    CRemovableDiskInstaller installer(*m_plan);
    ASSERT_TRUE(installer.IsTargetAllowed(Str(m_target)));
    const std::vector<CString> failed = installer.CopyAll(Str(m_target));
    EXPECT_TRUE(failed.empty()) << (failed.empty() ? "" : failed[0].GetString());
    const fs::path folder = m_target / "Zorvikan";
    for (const char* path : {"Zorvikan Desktop.exe", "CVPlatformMgr.dll", "sqlite3.dll", "ZorvikanToolBar.dll",
                             "ann/ZorvikanDatabase.zdb", "ann/Files/12.bin", "Preferences/Preferences.ini",
                             "Preferences/EventsLog.xml", "SmartTypes/ann/SmartTypes.xml", "Backup/ann/Backup-1.zkv"})
        EXPECT_TRUE(fs::exists(folder / path)) << path;
    EXPECT_TRUE(fs::is_directory(folder / "Installers"));
    EXPECT_FALSE(fs::exists(folder / "Zorvikan User Guide.pdf"));  // not beside this program
    EXPECT_EQ(DescribeInstallResult(failed), CString("Installation to removable disk succeeded."));

    // The copy's preferences hold the application section and Ann only.
    const std::string prefs = zvtest::ReadFileBytes(folder / "Preferences" / "Preferences.ini");
    EXPECT_NE(prefs.find("[Preferences Standalone]"), std::string::npos);
    EXPECT_NE(prefs.find(m_ann->GetSectionName().GetString()), std::string::npos);
    EXPECT_EQ(prefs.find(m_bob->GetSectionName().GetString()), std::string::npos);
}

TEST_F(RemovableInstall, AnExistingInstallationIsOverwrittenAndOtherFilesStay)
{
    Touch(m_target / "Zorvikan" / "sqlite3.dll", "old");
    Touch(m_target / "Zorvikan" / "notes.txt", "mine");
    CRemovableDiskInstaller installer(*m_plan);
    EXPECT_TRUE(installer.CopyAll(Str(m_target)).empty());
    EXPECT_EQ(zvtest::ReadFileBytes(m_target / "Zorvikan" / "sqlite3.dll"), "sqlite3.dll");
    EXPECT_EQ(zvtest::ReadFileBytes(m_target / "Zorvikan" / "notes.txt"), "mine");
}

TEST_F(RemovableInstall, AMissingProgramFileIsReported)
{
    fs::remove(m_program / "sqlite3.dll");
    fs::create_directories(m_target);
    CRemovableDiskInstaller installer(*m_plan);
    const std::vector<CString> failed = installer.CopyAll(Str(m_target));
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(fs::path(failed[0].GetString()).filename(), "sqlite3.dll");
    const std::string text = DescribeInstallResult(failed).GetString();
    EXPECT_EQ(text.find("succeeded"), std::string::npos);
    EXPECT_NE(text.find("sqlite3.dll"), std::string::npos);
    // The rest was copied all the same.
    EXPECT_TRUE(fs::exists(m_target / "Zorvikan" / "ann" / "ZorvikanDatabase.zdb"));
}

TEST_F(RemovableInstall, ATargetThatCannotHoldTheFolderIsReported)
{
    Touch(m_target, "a file, not a folder");
    CRemovableDiskInstaller installer(*m_plan);
    EXPECT_FALSE(installer.CopyAll(Str(m_target)).empty());
}

TEST_F(RemovableInstall, TargetsInsideTheDataRootAreRefused)
{
    CRemovableDiskInstaller installer(*m_plan);
    const fs::path root = m_root / "root";
    EXPECT_FALSE(installer.IsTargetAllowed(Str(root)));
    EXPECT_FALSE(installer.IsTargetAllowed(Str(root / "ann")));
    EXPECT_FALSE(installer.IsTargetAllowed(Str(root / "Backup" / "ann")));
    EXPECT_TRUE(installer.IsTargetAllowed(Str(m_target)));
    EXPECT_TRUE(installer.IsTargetAllowed(Str(m_root / "rootless")));
}

TEST_F(RemovableInstall, ThePlanIsACopyOfTheUser)
{
    m_ann->SetNames("Changed", "changed");
    EXPECT_STREQ(m_plan->user->GetKeyName().GetString(), "ann");
    EXPECT_STREQ(m_plan->safeKey.GetString(), "ann");
}

}  // namespace
