// The user dialogs over a scratch data root: adding, renaming and deleting
// stand-alone users with their preference sections and folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/res/ShellDialogsRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "app/users/EditUsersDlg.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "framework/Controls.h"
#include "framework/WinApp.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

CWinApp theApp("Zorvikan Desktop");

const char kSection[] = "Preferences Standalone";

class UserDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        CZorvikanDesktopApp::GetPrefsSection() = kSection;
        m_prefs = m_manager->GetPrefs();
        me = AddUser("Standalone-Me", "_Standalone_Me", 3);
        phone = AddUser("Phone", "phone", 5);
        bob = AddUser("Standalone-Bob", "_Standalone_Bob", 3);
    }
    void TearDown() override
    {
        CZorvikanDesktopApp::GetPrefsSection().Empty();
        CAppPrefMgr::ReplaceInstance(m_previous);
    }
    CUserItem* AddUser(const char* display, const char* key, int type)
    {
        auto* user = new CUserItem(zvtest::MakeUserRecord(display, key, type));
        user->SetStandalone(type == 3);
        m_prefs->AddUser(user);
        m_users.AddTail(user);
        fs::create_directories(UserFolder(user));
        return user;
    }
    fs::path UserFolder(CUserItem* user) { return fs::path(m_manager->GetUserDirectory(user).GetString()); }
    std::string PrefsText() { return zvtest::ReadFileBytes(m_manager->GetPreferencesFilePath().GetString()); }
    bool HasSection(const std::string& name) { return PrefsText().find("[" + name + "]") != std::string::npos; }

    static std::vector<std::string> Rows(CWnd& wnd)
    {
        std::vector<std::string> rows;
        HWND list = ::GetDlgItem(wnd.m_hWnd, IDC_USERS_LIST);
        const int count = (int)::SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            ::SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
            rows.push_back(text);
        }
        return rows;
    }
    static void Select(CWnd& wnd, int row)
    {
        HWND list = ::GetDlgItem(wnd.m_hWnd, IDC_USERS_LIST);
        ::SendMessageA(list, LB_SETCURSEL, row, 0);
        ::SendMessageA(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_USERS_LIST, LBN_SELCHANGE), (LPARAM)list);
    }
    static bool Enabled(CWnd& wnd, int id) { return ::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, id)) != FALSE; }
    // The name dialog: types the name and presses OK.
    static zvtest::ScriptedModal::ModalStep TypeName(const char* name, std::string* shown = nullptr)
    {
        return [name, shown](CWnd& wnd) {
            if (shown) {
                CString text;
                wnd.GetDlgItemText(IDC_USER_NAME, text);
                *shown = text.GetString();
            }
            wnd.SetDlgItemText(IDC_USER_NAME, name);
            zvtest::ScriptedModal::PressButton(wnd, IDOK);
        };
    }
    static void Done(CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDOK); }

    zvtest::ScratchDir m_root{"users"};
    std::shared_ptr<CAppPrefMgr> m_manager;
    std::shared_ptr<CAppPrefMgr> m_previous;
    std::shared_ptr<CAppPrefs> m_prefs;
    CUserList m_users;
    CUserItem* me = nullptr;
    CUserItem* phone = nullptr;
    CUserItem* bob = nullptr;
};

TEST_F(UserDialogs, ListsOtherStandaloneUsersWithButtonsOffUntilARowIsChosen)
{
    zvtest::ScriptedModal modal;
    std::vector<std::string> rows;
    bool editAtFirst = true, deleteAtFirst = true, editLater = false, deleteLater = false;
    modal.OnModal([&](CWnd& wnd) {
        rows = Rows(wnd);
        editAtFirst = Enabled(wnd, IDC_USERS_EDIT);
        deleteAtFirst = Enabled(wnd, IDC_USERS_DELETE);
        Select(wnd, 0);
        editLater = Enabled(wnd, IDC_USERS_EDIT);
        deleteLater = Enabled(wnd, IDC_USERS_DELETE);
        Done(wnd);
    });
    CEditUsersDlg dlg(m_users, me, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(rows, std::vector<std::string>{"Bob"});
    EXPECT_FALSE(editAtFirst);
    EXPECT_FALSE(deleteAtFirst);
    EXPECT_TRUE(editLater);
    EXPECT_TRUE(deleteLater);
}

TEST_F(UserDialogs, NewUserIsTrimmedStoredAndListed)
{
    zvtest::ScriptedModal modal;
    std::vector<std::string> rows;
    modal.OnModal([&](CWnd& wnd) {
        zvtest::ScriptedModal::PressButton(wnd, IDC_USERS_NEW);
        rows = Rows(wnd);
        Done(wnd);
    });
    modal.OnModal(TypeName("  Carl  "));
    CEditUsersDlg dlg(m_users, me, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);

    EXPECT_EQ(rows, (std::vector<std::string>{"Bob", "Carl"}));
    ASSERT_EQ(m_users.GetCount(), 4);
    auto* carl = static_cast<CUserItem*>(m_users.GetTail());
    EXPECT_STREQ(carl->GetDisplayName().GetString(), "Standalone-Carl");
    EXPECT_STREQ(carl->GetKeyName().GetString(), "_Standalone_Carl");
    EXPECT_TRUE(carl->IsStandalone());
    EXPECT_TRUE(HasSection(carl->GetSectionName().GetString()));
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(UserDialogs, NewNamesThatAreBlankOrTakenAreRefused)
{
    struct Case {
        const char* typed;
        const char* message;
    } cases[] = {
        {"   ", "Blank user name is not allowed."}, {"", "Blank user name is not allowed."},
        {"bob", "Username already exists."},        {" BOB ", "Username already exists."},
        {"me", "Username already exists."},  // the current user, not listed
    };
    for (const Case& c : cases) {
        zvtest::ScriptedModal modal;
        modal.AnswerMessageBox(IDOK);
        modal.OnModal([&](CWnd& wnd) {
            zvtest::ScriptedModal::PressButton(wnd, IDC_USERS_NEW);
            Done(wnd);
        });
        modal.OnModal(TypeName(c.typed));
        CEditUsersDlg dlg(m_users, me, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        ASSERT_EQ(modal.MessageBoxes().size(), 1u) << c.typed;
        EXPECT_EQ(modal.MessageBoxes()[0].text, c.message) << c.typed;
        EXPECT_EQ(modal.MessageBoxes()[0].caption, "Invalid Username");
        EXPECT_EQ(m_users.GetCount(), 3) << c.typed;
    }
}

TEST_F(UserDialogs, KeyNameOfAnotherUserIsTakenToo)
{
    AddUser("Somebody", "_Standalone_zed", 3);
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    modal.OnModal([&](CWnd& wnd) {
        zvtest::ScriptedModal::PressButton(wnd, IDC_USERS_NEW);
        Done(wnd);
    });
    modal.OnModal(TypeName("Zed"));
    CEditUsersDlg dlg(m_users, me, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"Username already exists."});
    EXPECT_EQ(m_users.GetCount(), 4);
}

TEST_F(UserDialogs, RenameMovesFolderAndSectionAndKeepsTheCurrentUser)
{
    std::ofstream(UserFolder(bob) / "ZorvikanDatabase.zdb") << "db";
    const std::string oldSection = bob->GetSectionName().GetString();
    const fs::path oldFolder = UserFolder(bob);
    zvtest::ScriptedModal modal;
    std::vector<std::string> rows;
    std::string shown;
    modal.OnModal([&](CWnd& wnd) {
        Select(wnd, 0);
        zvtest::ScriptedModal::PressButton(wnd, IDC_USERS_EDIT);
        rows = Rows(wnd);
        Done(wnd);
    });
    modal.OnModal(TypeName(" Robert ", &shown));
    CEditUsersDlg dlg(m_users, me, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);

    EXPECT_EQ(shown, "Bob");
    EXPECT_EQ(rows, std::vector<std::string>{"Robert"});
    EXPECT_STREQ(bob->GetDisplayName().GetString(), "Standalone-Robert");
    EXPECT_STREQ(bob->GetKeyName().GetString(), "_Standalone_Robert");
    EXPECT_FALSE(fs::exists(oldFolder));
    EXPECT_TRUE(fs::exists(UserFolder(bob) / "ZorvikanDatabase.zdb"));
    EXPECT_FALSE(HasSection(oldSection));
    EXPECT_TRUE(HasSection(bob->GetSectionName().GetString()));
    EXPECT_STREQ(m_prefs->GetCurrentUser(kSection).GetString(), "_Standalone_Me");
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(UserDialogs, RenamesThatClashOrAreBlankChangeNothing)
{
    AddUser("Standalone-Ann", "_Standalone_Ann", 3);
    struct Case {
        const char* typed;
        const char* message;  // null: silently unchanged
    } cases[] = {
        {"BOB", "Username already exists."},  // letter case only
        {"ann", "Username already exists."},       {"Me", "Username already exists."},
        {"  ", "Blank user name is not allowed."}, {"Bob", nullptr},
    };
    for (const Case& c : cases) {
        zvtest::ScriptedModal modal;
        if (c.message) modal.AnswerMessageBox(IDOK);
        modal.OnModal([&](CWnd& wnd) {
            Select(wnd, 0);  // Bob
            zvtest::ScriptedModal::PressButton(wnd, IDC_USERS_EDIT);
            Done(wnd);
        });
        modal.OnModal(TypeName(c.typed));
        CEditUsersDlg dlg(m_users, me, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(modal.MessageTexts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.typed;
        EXPECT_STREQ(bob->GetDisplayName().GetString(), "Standalone-Bob") << c.typed;
        EXPECT_TRUE(fs::exists(UserFolder(bob))) << c.typed;
    }
}

TEST_F(UserDialogs, DeleteAsksThenRemovesTheUserWithFolderAndSection)
{
    const fs::path folder = UserFolder(bob);
    const std::string section = bob->GetSectionName().GetString();
    {
        zvtest::ScriptedModal modal;
        modal.AnswerMessageBox(IDNO);
        modal.OnModal([&](CWnd& wnd) {
            Select(wnd, 0);
            zvtest::ScriptedModal::PressButton(wnd, IDC_USERS_DELETE);
            Done(wnd);
        });
        CEditUsersDlg dlg(m_users, me, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(modal.MessageTexts(),
                  std::vector<std::string>{"Are you really sure you want to delete the selected item?"});
        EXPECT_EQ(m_users.GetCount(), 3);
        EXPECT_TRUE(fs::exists(folder));
    }
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDYES);
    std::vector<std::string> rows{"x"};
    modal.OnModal([&](CWnd& wnd) {
        Select(wnd, 0);
        zvtest::ScriptedModal::PressButton(wnd, IDC_USERS_DELETE);
        rows = Rows(wnd);
        Done(wnd);
    });
    CEditUsersDlg dlg(m_users, me, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(m_users.GetCount(), 2);
    EXPECT_EQ(m_users.Find(bob), nullptr);
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_FALSE(HasSection(section));
    EXPECT_TRUE(fs::exists(UserFolder(me)));
}

TEST_F(UserDialogs, DeletingAUserWithACustomFolderDeletesThatFolder)
{
    const fs::path custom = m_root / "elsewhere" / "bobdata";
    fs::create_directories(custom);
    m_prefs->SetUserDirectory(bob, custom.string().c_str());
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDYES);
    modal.OnModal([&](CWnd& wnd) {
        Select(wnd, 0);
        zvtest::ScriptedModal::PressButton(wnd, IDC_USERS_DELETE);
        Done(wnd);
    });
    CEditUsersDlg dlg(m_users, me, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(fs::exists(custom));
    EXPECT_EQ(m_users.GetCount(), 2);
}

}  // namespace
