// The main view's Set Password command and the switch to another user, on a
// scratch data root: the file re-encrypted and readable with the new
// password only, a failed store reported with key and file kept, and a
// switch that the folder or the password check ends leaving the previous
// user in place.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/logon/LogonRes.h"
#include "app/res/ShellDialogsRes.h"
#include "core/crypto/BlowfishKey.h"
#include "core/crypto/SecretString.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/Platform.h"
#include "core/users/UserItem.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

using zvtest::ScriptedModal;

// The records of a database file read with the password (null: without a
// key); -1 when it does not load.
int RecordsReadable(const fs::path& file, const char* password, std::string* first = nullptr)
{
    CDatabaseObj db;
    BlowfishKeyPtr key = password ? MakeBlowfishKey(CSecretString(password)) : nullptr;
    if (db.Load(CString(file.string().c_str()), key.get()) != 0) return -1;
    if (first && db.GetRecords().GetCount() > 0)
        *first = static_cast<CRecord*>(db.GetRecords().GetHead())->GetField(0).GetString();
    return (int)db.GetRecords().GetCount();
}

// A database in the folder with one record, protected by the password (none
// for null) without touching the program's own key.
void MakeDatabase(const CString& folder, const char* record, const char* password)
{
    fs::create_directories(folder.GetString());
    CDatabaseObj db;
    ASSERT_EQ(0, db.OpenInFolder(folder));
    CRecord* item = static_cast<CRecord*>(db.GetRecords().NewItem());
    item->SetField(0, record);
    db.GetRecords().Add(item);
    if (password) {
        CMasterPwdMgr own;
        ASSERT_EQ(0, own.StoreNewPassword(CSecretString(password), db));
    } else {
        ASSERT_EQ(0, db.Save(0, nullptr));
    }
}

// Types the new password (and the old one, when the dialog asks) and OK.
ScriptedModal::ModalStep NewPassword(const char* newPassword, const char* oldPassword = nullptr)
{
    return [=](CWnd& dlg) {
        if (oldPassword) dlg.SetDlgItemText(IDC_OLD_PASSWORD, oldPassword);
        dlg.SetDlgItemText(IDC_PASSWORD, newPassword);
        dlg.SetDlgItemText(IDC_CONFIRM_PASSWORD, newPassword);
        ScriptedModal::PressButton(dlg, IDOK);
    };
}

// The platform keeps its users' data in a folder of its own.
std::string g_platformRoot;
int PlatformKindZero() { return 0; }
void PlatformRoot(const char*, const void*, const char*, char* buffer)
{
    std::strncpy(buffer, g_platformRoot.c_str(), kPlatformRootDirBufferSize - 1);
}
void* PlatformWithRootFolders(PlatformLibrary library, const char* name)
{
    if (library != PlatformLibrary::Manager) return nullptr;
    if (std::strcmp(name, "GetPlatform") == 0) return reinterpret_cast<void*>(&PlatformKindZero);
    if (std::strcmp(name, "GetPlatformRootDir") == 0) return reinterpret_cast<void*>(&PlatformRoot);
    return nullptr;
}

// The platform-sync library's answer whether the user may sync now.
int g_canSync = 0;
int CanUserSyncNow(const void*) { return g_canSync; }
void* SyncAnswering(PlatformLibrary library, const char* name)
{
    if (library == PlatformLibrary::Sync && std::strcmp(name, "CanUserSyncNow") == 0)
        return reinterpret_cast<void*>(&CanUserSyncNow);
    return nullptr;
}
void* NoPlatform(PlatformLibrary, const char*) { return nullptr; }

class PasswordCommands : public zvtest::AppWindowTest {
protected:
    PasswordCommands() : AppWindowTest("zvpassword") {}
    void SetUp() override
    {
        AppWindowTest::SetUp();
        GetMasterPwdMgr()->ClearPassword();
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        GetMasterPwdMgr()->ClearPassword();
    }

    void Command(UINT id) { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0); }
    CString Folder(CUserItem* user) { return CAppPrefMgr::GetInstance()->GetUserDirectory(user); }
    fs::path DatabaseFile(CUserItem* user) { return fs::path(Folder(user).GetString()) / kDatabaseFileName; }
    std::string Caption()
    {
        char text[256] = {};
        ::GetWindowTextA(m_hFrame, text, sizeof text);
        return text;
    }
    // A second user, Bob, with the User menu's command id of the second entry.
    CUserItem* AddBob()
    {
        CUserItem* bob = App().GetUsers().AddNewUser("Bob", "Bob");
        if (bob) bob->SetId(ID_USER_FIRST + 1);
        return bob;
    }
};

TEST_F(PasswordCommands, SetAndChangeReEncryptTheFileForTheNewPasswordOnly)
{
    MakeDatabase(Folder(App().GetCurrentUser()), "kept secret", nullptr);
    OpenWindow();
    CUserItem* user = App().GetCurrentUser();
    const fs::path file = DatabaseFile(user);
    ASSERT_EQ(1, RecordsReadable(file, nullptr));

    ScriptedModal modal;
    modal.OnModal(NewPassword("First-Pw-1"));
    Command(ID_SET_PASSWORD);
    EXPECT_TRUE(UserHasMasterPassword(user));
    EXPECT_EQ(std::string::npos, zvtest::ReadFileBytes(file).find("kept secret"));
    std::string first;
    EXPECT_EQ(1, RecordsReadable(file, "First-Pw-1", &first));
    EXPECT_EQ("kept secret", first);
    EXPECT_FALSE(GetMasterPwdMgr()->VerifyPassword(user, CSecretString("")));
    EXPECT_TRUE(GetMasterPwdMgr()->VerifyPassword(user, CSecretString("First-Pw-1")));

    modal.OnModal(NewPassword("Second-Pw-2", "First-Pw-1"));
    Command(ID_SET_PASSWORD);
    first.clear();
    EXPECT_EQ(1, RecordsReadable(file, "Second-Pw-2", &first));
    EXPECT_EQ("kept secret", first);
    EXPECT_FALSE(GetMasterPwdMgr()->VerifyPassword(user, CSecretString("First-Pw-1")));
    EXPECT_TRUE(GetMasterPwdMgr()->VerifyPassword(user, CSecretString("Second-Pw-2")));
    // The program goes on under the new key: its next save is readable too.
    ASSERT_EQ(0, m_view->GetDatabase().Save());
    EXPECT_EQ(1, RecordsReadable(file, "Second-Pw-2"));
    // A stand-alone user is told nothing.
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(PasswordCommands, AFailedStoreIsReportedAndKeepsTheOldKeyAndFile)
{
    MakeDatabase(Folder(App().GetCurrentUser()), "kept secret", "Old-Pw-1");
    ASSERT_EQ(0, GetMasterPwdMgr()->SetPassword(CSecretString("Old-Pw-1")));
    OpenWindow();
    CUserItem* user = App().GetCurrentUser();
    const fs::path file = DatabaseFile(user);
    const std::string before = zvtest::ReadFileBytes(file);
    const BlowfishKeyPtr key = GetMasterPwdMgr()->GetKey();
    // Every save is refused from now on.
    m_view->GetDatabase().SetReadOnly();

    ScriptedModal modal;
    modal.OnModal(NewPassword("New-Pw-2", "Old-Pw-1"));
    modal.AnswerMessageBox(IDOK);
    Command(ID_SET_PASSWORD);
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_NE(std::string::npos, modal.MessageBoxes()[0].text.find("could not be stored"));
    EXPECT_EQ(key, GetMasterPwdMgr()->GetKey());
    EXPECT_EQ(before, zvtest::ReadFileBytes(file));
    EXPECT_TRUE(GetMasterPwdMgr()->VerifyPassword(user, CSecretString("Old-Pw-1")));
}

TEST_F(PasswordCommands, AHandheldUserIsToldToSetTheSamePasswordThere)
{
    OpenWindow();
    App().GetCurrentUser()->SetStandalone(false);
    ScriptedModal modal;
    modal.OnModal(NewPassword("Hand-Pw-3"));
    modal.AnswerMessageBox(IDOK);
    Command(ID_SET_PASSWORD);
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_EQ("You must set the same password in Zorvikan on the handheld \nin order to sync.",
              modal.MessageBoxes()[0].text);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONINFORMATION), modal.MessageBoxes()[0].type & (MB_TYPEMASK | MB_ICONMASK));
}

TEST_F(PasswordCommands, CancelOfTheLogOnKeepsThePreviousUserAndOkSwitches)
{
    CUserItem* alice = App().GetCurrentUser();
    MakeDatabase(Folder(alice), "alice's", nullptr);
    CUserItem* bob = AddBob();
    ASSERT_NE(nullptr, bob);
    MakeDatabase(Folder(bob), "bob's", "Bob-Pw-9");
    OpenWindow();
    const std::string caption = Caption();
    const CString file = m_view->GetDatabase().GetFilePath();
    ASSERT_EQ(1, m_view->GetRecordList().GetItemCount());

    ScriptedModal modal;
    bool userFixed = false;
    std::string secondButton;
    modal.OnModal([&](CWnd& dlg) {
        HWND combo = ::GetDlgItem(dlg.m_hWnd, IDC_USER_COMBO);
        userFixed = combo && !::IsWindowEnabled(combo);
        char text[32] = {};
        ::GetDlgItemTextA(dlg.m_hWnd, IDCANCEL, text, sizeof text);
        secondButton = text;
        ScriptedModal::PressButton(dlg, IDCANCEL);
    });
    Command(ID_USER_FIRST + 1);
    EXPECT_TRUE(userFixed);
    EXPECT_EQ("Cancel", secondButton);
    EXPECT_EQ(alice, App().GetCurrentUser());
    EXPECT_EQ(caption, Caption());
    EXPECT_EQ(file, m_view->GetDatabase().GetFilePath());
    EXPECT_FALSE(GetMasterPwdMgr()->HasPassword());
    ASSERT_EQ(1, m_view->GetRecordList().GetItemCount());
    EXPECT_EQ("alice's", std::string(m_view->GetRecordList().GetRecordAt(0)->GetField(0).GetString()));

    modal.OnModal([&](CWnd& dlg) {
        dlg.SetDlgItemText(IDC_PASSWORD, "Bob-Pw-9");
        ScriptedModal::PressButton(dlg, IDOK);
    });
    Command(ID_USER_FIRST + 1);
    EXPECT_EQ(bob, App().GetCurrentUser());
    EXPECT_NE(std::string::npos, Caption().find(" - Bob"));
    EXPECT_EQ(Folder(bob), m_view->GetDatabase().GetFilePath().Left(Folder(bob).GetLength()));
    ASSERT_EQ(1, m_view->GetRecordList().GetItemCount());
    EXPECT_EQ("bob's", std::string(m_view->GetRecordList().GetRecordAt(0)->GetField(0).GetString()));
    EXPECT_EQ(0, std::memcmp(m_view->GetViewState().typeFilter, KEY_ALL, kUniqueKeySize));
    EXPECT_EQ(0, std::memcmp(m_view->GetViewState().categoryFilter, KEY_ALL, kUniqueKeySize));
    // The previous user's file was saved under its own key (none), not Bob's.
    std::string first;
    EXPECT_EQ(1, RecordsReadable(DatabaseFile(alice), nullptr, &first));
    EXPECT_EQ("alice's", first);

    // Choosing the current user does nothing.
    Command(ID_USER_FIRST + 1);
    EXPECT_EQ(bob, App().GetCurrentUser());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(PasswordCommands, TheUserMenuListsTheUsersWithTheCurrentOneChecked)
{
    ASSERT_NE(nullptr, App().GetUsers().AddNewUser("Bob", "Bob"));
    ASSERT_NE(nullptr, App().GetUsers().AddNewUser("Carol", "Carol"));
    OpenWindow();
    HMENU bar = ::GetMenu(m_hFrame);
    ASSERT_NE(nullptr, bar);
    HMENU users = nullptr;
    int position = -1;
    for (int i = 0; i < ::GetMenuItemCount(bar) && !users; ++i) {
        HMENU sub = ::GetSubMenu(bar, i);
        if (sub && ::GetMenuItemID(sub, 0) == ID_USER_FIRST) users = sub, position = i;
    }
    ASSERT_NE(nullptr, users);
    ::SendMessageA(m_hFrame, WM_INITMENUPOPUP, (WPARAM)users, MAKELPARAM(position, FALSE));
    ASSERT_EQ(3, ::GetMenuItemCount(users));
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(ID_USER_FIRST + n, (int)::GetMenuItemID(users, n)) << n;
        const UINT state = ::GetMenuState(users, n, MF_BYPOSITION);
        EXPECT_EQ(n == 0, (state & MF_CHECKED) != 0) << n;
        EXPECT_EQ(0u, state & (MF_GRAYED | MF_DISABLED)) << n;
    }
    char name[32] = {};
    ::GetMenuStringA(users, 2, name, sizeof name, MF_BYPOSITION);
    EXPECT_EQ("Carol", std::string(name));
    // Each user now answers to its entry's command.
    CUserItem* carol = App().GetUsers().FindById(ID_USER_FIRST + 2);
    ASSERT_NE(nullptr, carol);
    EXPECT_EQ("Carol", std::string(carol->GetDisplayName().GetString()));
}

TEST_F(PasswordCommands, TheSyncAllowedEntryFollowsThePlatformSyncLibrary)
{
    OpenWindow();
    const struct {
        PlatformExportResolver resolver;
        int answer;
        bool enabled;
    } cases[] = {{&SyncAnswering, 1, true}, {&SyncAnswering, 0, false}, {&NoPlatform, 1, false}};
    for (const auto& c : cases) {
        HMENU menu = ::CreatePopupMenu();
        ::AppendMenuA(menu, MF_STRING | (c.enabled ? MF_GRAYED : MF_ENABLED), ID_SYNC_ALLOWED, "Sync");
        g_canSync = c.answer;
        const PlatformExportResolver previous = SetPlatformExportResolver(c.resolver);
        ::SendMessageA(m_hFrame, WM_INITMENUPOPUP, (WPARAM)menu, 0);
        SetPlatformExportResolver(previous);
        const UINT state = ::GetMenuState(menu, ID_SYNC_ALLOWED, MF_BYCOMMAND);
        EXPECT_EQ(c.enabled, (state & (MF_GRAYED | MF_DISABLED)) == 0) << c.answer;
        ::DestroyMenu(menu);
    }
}

TEST_F(PasswordCommands, AnUnreachableFolderIsAskedAboutAndCancelKeepsThePreviousUser)
{
    CUserItem* alice = App().GetCurrentUser();
    CUserItem* bob = AddBob();
    ASSERT_NE(nullptr, bob);
    const fs::path gone = m_root.Path() / "unplugged" / "Bob";
    CAppPrefMgr::GetInstance()->GetPrefs()->SetUserDirectory(bob, CString(gone.string().c_str()));
    OpenWindow();
    const std::string caption = Caption();
    ScriptedModal modal;
    std::vector<std::string> shown;
    for (int button : {IDC_UNAVAILABLE_RETRY, IDCANCEL})
        modal.OnModal([&shown, button](CWnd& dlg) {
            char text[MAX_PATH] = {};
            ::GetDlgItemTextA(dlg.m_hWnd, IDC_UNAVAILABLE_PATH, text, sizeof text);
            shown.push_back(text);
            ScriptedModal::PressButton(dlg, button);
        });
    Command(ID_USER_FIRST + 1);
    // Asked, tried again, asked again, given up; no password was asked.
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(gone.string(), shown[0]);
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_EQ(alice, App().GetCurrentUser());
    EXPECT_EQ(caption, Caption());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(PasswordCommands, TheSwitchBringsThePlatformsFolderIntoTheUsersFolder)
{
    CUserItem* bob = AddBob();
    ASSERT_NE(nullptr, bob);
    bob->SetStandalone(false);
    const fs::path platformFolder = m_root.Path() / "platform" / "Bob";
    g_platformRoot = platformFolder.string();
    MakeDatabase(CString(g_platformRoot.c_str()), "bob's", nullptr);
    const fs::path userFolder = Folder(bob).GetString();
    ASSERT_NE(userFolder, platformFolder);
    OpenWindow();
    ScriptedModal modal;
    const PlatformExportResolver previous = SetPlatformExportResolver(&PlatformWithRootFolders);
    Command(ID_USER_FIRST + 1);
    SetPlatformExportResolver(previous);
    EXPECT_EQ(bob, App().GetCurrentUser());
    EXPECT_TRUE(fs::exists(userFolder / kDatabaseFileName));
    EXPECT_FALSE(fs::exists(platformFolder / kDatabaseFileName));
    ASSERT_EQ(1, m_view->GetRecordList().GetItemCount());
    EXPECT_EQ("bob's", std::string(m_view->GetRecordList().GetRecordAt(0)->GetField(0).GetString()));
}

}  // namespace
