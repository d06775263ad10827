// The reset over a scratch data root and a private registry: archiving and
// erasing one user or all users with their folder layouts, and the wizard's
// questions, results and end.
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/res/ShellDialogsRes.h"
#include "app/reset/ResetDBWizard.h"
#include "app/reset/ResetDatabase.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/ScriptedModal.h"

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

class Reset : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_registry.IsActive());
        fs::create_directories(DataRoot());
        m_manager = std::make_shared<CAppPrefMgr>(Str(DataRoot()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        ann = AddUser("Ann", "ann");
        bob = AddUser("Bob", "bob");
    }
    void TearDown() override { CAppPrefMgr::ReplaceInstance(m_previous); }
    fs::path DataRoot() const { return m_root / "Zorvikan"; }
    CUserItem* AddUser(const char* display, const char* key)
    {
        auto* user = new CUserItem(zvtest::MakeUserRecord(display, key, 3));
        m_manager->GetPrefs()->AddUser(user);
        m_users.AddTail(user);
        Touch(UserFolder(user) / "ZorvikanDatabase.zdb");
        Touch(BackupFolder(user) / "Backup-1.zkv");
        return user;
    }
    fs::path UserFolder(CUserItem* user) { return m_manager->GetUserDirectory(user).GetString(); }
    fs::path BackupFolder(CUserItem* user) { return m_manager->GetUserBackupDirectory(user).GetString(); }
    std::unique_ptr<CResetDatabase> MakeReset(CUserItem* current)
    {
        auto reset = std::make_unique<CResetDatabase>(m_users, current, Str(DataRoot()));
        reset->SetPluginRemoval([this] { return ++m_pluginRemovals, m_pluginRemovalResult; });
        return reset;
    }

    zvtest::ScratchRegistry m_registry;
    zvtest::ScratchDir m_root{"reset"};
    std::shared_ptr<CAppPrefMgr> m_manager, m_previous;
    CUserList m_users;
    CUserItem* ann = nullptr;
    CUserItem* bob = nullptr;
    int m_pluginRemovals = 0;
    int m_pluginRemovalResult = 1;
};

TEST_F(Reset, ArchiveNamesNeverReuseAnOlderArchive)
{
    const fs::path base = m_root / "data";
    EXPECT_EQ(std::string(UniqueArchiveName(Str(base)).GetString()), base.string() + ".old");
    fs::create_directories(base.string() + ".old");
    EXPECT_EQ(std::string(UniqueArchiveName(Str(base)).GetString()), base.string() + ".old2");
    fs::create_directories(base.string() + ".old2");
    EXPECT_EQ(std::string(UniqueArchiveName(Str(base)).GetString()), base.string() + ".old3");
}

TEST_F(Reset, ArchivingTheCurrentUserKeepsFolderAndBackupInTheArchive)
{
    const fs::path folder = UserFolder(ann);
    auto reset = MakeReset(ann);
    EXPECT_EQ(kResetDone, reset->Reset(true, true, false));
    const fs::path archive = folder.string() + ".old";
    EXPECT_TRUE(fs::exists(archive / "ann" / "ZorvikanDatabase.zdb"));
    EXPECT_TRUE(fs::exists(archive / "Backup" / "ann" / "Backup-1.zkv"));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(UserFolder(bob) / "ZorvikanDatabase.zdb"));
    EXPECT_EQ(0, m_pluginRemovals);

    // A second archive of the same user lands beside the first, not in it.
    Touch(folder / "ZorvikanDatabase.zdb", "second");
    EXPECT_EQ(kResetDone, reset->Reset(true, true, false));
    EXPECT_TRUE(fs::exists(fs::path(folder.string() + ".old2") / "ann" / "ZorvikanDatabase.zdb"));
    EXPECT_FALSE(fs::exists(archive / "ann" / "ann"));
}

TEST_F(Reset, ArchivingAllUsersRenamesTheRootAfterGatheringCustomFolders)
{
    const fs::path custom = m_root / "elsewhere" / "bobdata";
    Touch(custom / "ZorvikanDatabase.zdb");
    m_manager->GetPrefs()->SetUserDirectory(bob, Str(custom));
    Touch(DataRoot().string() + ".old" + "/marker");  // an older archive stays as it was
    auto reset = MakeReset(ann);
    EXPECT_EQ(kResetDone, reset->Reset(false, true, false));
    const fs::path archive = DataRoot().string() + ".old2";
    EXPECT_FALSE(fs::exists(DataRoot()));
    EXPECT_TRUE(fs::exists(archive / "ann" / "ZorvikanDatabase.zdb"));
    EXPECT_TRUE(fs::exists(archive / "bobdata" / "ZorvikanDatabase.zdb"));
    EXPECT_TRUE(fs::exists(archive / "Preferences" / "Preferences.ini"));
    EXPECT_TRUE(fs::exists(archive / "Backup" / "ann" / "Backup-1.zkv"));
    EXPECT_FALSE(fs::exists(custom));
    EXPECT_TRUE(fs::exists(DataRoot().string() + ".old/marker"));
    EXPECT_FALSE(fs::exists(DataRoot().string() + ".old/Zorvikan"));
}

TEST_F(Reset, ErasingTheCurrentUserRemovesItsFoldersAndSection)
{
    const std::string section = ann->GetSectionName().GetString();
    auto reset = MakeReset(ann);
    EXPECT_EQ(kResetDone, reset->Reset(true, false, false));
    EXPECT_FALSE(fs::exists(UserFolder(ann)));
    EXPECT_EQ(zvtest::ReadFileBytes(DataRoot() / "Preferences" / "Preferences.ini").find("[" + section + "]"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(UserFolder(bob) / "ZorvikanDatabase.zdb"));
}

TEST_F(Reset, ErasingAllUsersRemovesRootCustomFoldersAndTheRegistryTree)
{
    const fs::path custom = m_root / "elsewhere" / "bobdata";
    Touch(custom / "ZorvikanDatabase.zdb");
    m_manager->GetPrefs()->SetUserDirectory(bob, Str(custom));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Corvantide\\Zorvikan Desktop\\Preferences\\Sub", &key));
    ::RegCloseKey(key);
    auto reset = MakeReset(ann);
    EXPECT_EQ(kResetDone, reset->Reset(false, false, false));
    EXPECT_FALSE(fs::exists(DataRoot()));
    EXPECT_FALSE(fs::exists(custom));
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists("Software\\Corvantide\\Zorvikan Desktop"));
}

TEST_F(Reset, AFailedPluginRemovalDoesNothingElse)
{
    m_pluginRemovalResult = 0;
    auto reset = MakeReset(ann);
    EXPECT_EQ(kResetPluginFailed, reset->Reset(true, false, true));
    EXPECT_EQ(1, m_pluginRemovals);
    EXPECT_TRUE(fs::exists(UserFolder(ann) / "ZorvikanDatabase.zdb"));
}

TEST_F(Reset, WhatCouldNotBeMovedIsReported)
{
    // A user without a usable folder name has no folder to archive.
    auto* nameless = new CUserItem(zvtest::MakeUserRecord("Nobody", "", 3));
    m_users.AddTail(nameless);
    auto reset = MakeReset(nameless);
    EXPECT_EQ(kResetIncomplete, reset->Reset(true, true, false));
}

// ---- the wizard ----------------------------------------------------------------

class ResetWizard : public Reset {
protected:
    static void Press(CWnd& sheet, int button)
    {
        static_cast<CPropertySheet&>(sheet).PressButton(button);
        zvtest::PumpPendingMessages();
    }
    static CPropertyPage* Active(CWnd& sheet) { return static_cast<CPropertySheet&>(sheet).GetActivePage(); }
    static void Click(CWnd& page, int id) { ::SendMessageA(::GetDlgItem(page.m_hWnd, id), BM_CLICK, 0, 0); }
    static std::string Text(CWnd& wnd, int id)
    {
        CString text;
        wnd.GetDlgItemText(id, text);
        return text.GetString();
    }
};

TEST_F(ResetWizard, ArchivingTheCurrentUserEndsOnTheResultPage)
{
    auto reset = MakeReset(ann);
    ResetDBWizard::CResetDBWizard wizard("", nullptr, 0, *reset, "Ann");
    wizard.SetWizardMode();
    zvtest::ScriptedModal modal;
    std::string warning, result, nextText;
    bool cancelEnabled = true, resetEnabled = false;
    modal.OnModal([&](CWnd& sheet) {
        warning = Text(*Active(sheet), IDC_RESET_WARNING);
        Press(sheet, PSBTN_NEXT);
    });
    modal.OnModal([&](CWnd& sheet) {
        nextText = Text(sheet, 0x3024);
        resetEnabled = ::IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, 0x3024)) != FALSE;
        Press(sheet, PSBTN_NEXT);
    });
    modal.OnModal([&](CWnd& sheet) {
        result = Text(*Active(sheet), IDC_RESET_RESULT);
        cancelEnabled = ::IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, IDCANCEL)) != FALSE;
        Press(sheet, PSBTN_FINISH);
    });
    wizard.DoModal();
    EXPECT_EQ(warning, "Warning! The current user will be removed and its data will be archived.");
    EXPECT_EQ(nextText, "Reset");
    EXPECT_TRUE(resetEnabled);  // no plug-in registered here
    EXPECT_EQ(result, "You successfully archived the data for Ann.");
    EXPECT_FALSE(cancelEnabled);
    EXPECT_TRUE(wizard.HasResetRun());
    EXPECT_TRUE(fs::exists(fs::path(UserFolder(ann).string() + ".old") / "ann"));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ResetWizard, EraseAsksFirstAndNoStaysOnTheFirstPage)
{
    struct Case {
        int users;
        const char* word;
    } cases[] = {{IDC_RESET_CURRENT_USER, "this"}, {IDC_RESET_ALL_USERS, "these"}};
    for (const Case& c : cases) {
        auto reset = MakeReset(ann);
        ResetDBWizard::CResetDBWizard wizard("", nullptr, 0, *reset, "Ann");
        wizard.SetWizardMode();
        zvtest::ScriptedModal modal;
        modal.AnswerMessageBox(IDNO);
        std::string warning;
        int pageAfter = -1;
        modal.OnModal([&](CWnd& sheet) {
            Click(*Active(sheet), IDC_RESET_ERASE);
            Click(*Active(sheet), c.users);
            warning = Text(*Active(sheet), IDC_RESET_WARNING);
            Press(sheet, PSBTN_NEXT);
            pageAfter = static_cast<CPropertySheet&>(sheet).GetActiveIndex();
            Press(sheet, PSBTN_CANCEL);
        });
        wizard.DoModal();
        ASSERT_EQ(modal.MessageBoxes().size(), 1u);
        EXPECT_NE(modal.MessageBoxes()[0].text.find("erase the data for " + std::string(c.word) + " user(s)"),
                  std::string::npos);
        EXPECT_EQ(pageAfter, 0);
        EXPECT_EQ(warning, c.users == IDC_RESET_ALL_USERS
                               ? "Warning! All users will be removed and their data will be erased."
                               : "Warning! The current user will be removed and its data will be erased.");
        EXPECT_FALSE(wizard.HasResetRun());
        EXPECT_TRUE(fs::exists(UserFolder(ann) / "ZorvikanDatabase.zdb"));
    }
}

TEST_F(ResetWizard, ErasingAllUsersSaysSoOnTheResultPage)
{
    auto reset = MakeReset(ann);
    ResetDBWizard::CResetDBWizard wizard("", nullptr, 0, *reset, "Ann");
    wizard.SetWizardMode();
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDYES);
    std::string result;
    modal.OnModal([&](CWnd& sheet) {
        Click(*Active(sheet), IDC_RESET_ERASE);
        Click(*Active(sheet), IDC_RESET_ALL_USERS);
        Press(sheet, PSBTN_NEXT);
    });
    modal.OnModal([&](CWnd& sheet) { Press(sheet, PSBTN_NEXT); });
    modal.OnModal([&](CWnd& sheet) {
        result = Text(*Active(sheet), IDC_RESET_RESULT);
        Press(sheet, PSBTN_FINISH);
    });
    wizard.DoModal();
    EXPECT_EQ(result, "You successfully erased the data for all users.");
    EXPECT_TRUE(wizard.HasResetRun());
    EXPECT_FALSE(fs::exists(DataRoot()));
}

TEST_F(ResetWizard, AnIncompleteResetIsReportedNotCalledASuccess)
{
    auto* nameless = new CUserItem(zvtest::MakeUserRecord("Nobody", "", 3));
    m_users.AddTail(nameless);
    auto reset = MakeReset(nameless);
    ResetDBWizard::CResetDBWizard wizard("", nullptr, 0, *reset, "Nobody");
    wizard.SetWizardMode();
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    std::string result;
    modal.OnModal([&](CWnd& sheet) { Press(sheet, PSBTN_NEXT); });
    modal.OnModal([&](CWnd& sheet) { Press(sheet, PSBTN_NEXT); });
    modal.OnModal([&](CWnd& sheet) {
        result = Text(*Active(sheet), IDC_RESET_RESULT);
        Press(sheet, PSBTN_FINISH);
    });
    wizard.DoModal();
    ASSERT_EQ(modal.MessageBoxes().size(), 1u);
    EXPECT_EQ(modal.MessageBoxes()[0].caption, "Reset Error");
    EXPECT_EQ(result.find("You successfully"), std::string::npos);
    EXPECT_TRUE(wizard.HasResetRun());
}

}  // namespace
