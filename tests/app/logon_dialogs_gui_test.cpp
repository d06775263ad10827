// The log-on, set-password, export-password and hint dialogs, run modally
// with scripted steps and message boxes, against a scratch data root.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/logon/GetExportPasswordDlg.h"
#include "app/logon/GetPasswordDlg.h"
#include "app/logon/HintDlg.h"
#include "app/history/LogEvent.h"
#include "app/history/LogEvents.h"
#include "app/logon/LogonRes.h"
#include "app/logon/PasswordHint.h"
#include "app/logon/SetPasswordDlg.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "core/users/UserItem.h"
#include "framework/WinApp.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

CWinApp theApp("Zorvikan Desktop");

const char kSection[] = "Preferences Standalone";

struct Event {
    std::string name, action, user;
};

class LogonDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        m_prefs = m_manager->GetPrefs();
        alice = new CUserItem(zvtest::MakeUserRecord("Alice", "alice", 3));
        bob = new CUserItem(zvtest::MakeUserRecord("Bob", "bob", 3));
        m_users.AddTail(alice);
        m_users.AddTail(bob);
        // The events go to a log file in the scratch root.
        m_log = std::make_shared<CLogEvents>(CString((m_root.Path() / "EventsLog.xml").string().c_str()));
        m_previousLog = CLogEvents::ReplaceInstance(m_log);
        GetMasterPwdMgr()->ClearPassword();
    }
    void TearDown() override
    {
        CLogEvents::ReplaceInstance(m_previousLog);
        GetMasterPwdMgr()->ClearPassword();
        CAppPrefMgr::ReplaceInstance(m_previous);
    }

    fs::path UserFolder(CUserItem* user) { return fs::path(m_manager->GetUserDirectory(user).GetString()); }
    // A database file whose head is the password's verifier.
    void MakeDatabase(CUserItem* user, const char* password)
    {
        uint8_t verifier[kVerifierSize];
        ASSERT_EQ(MakePasswordVerifier(password, verifier), 0);
        fs::create_directories(UserFolder(user));
        std::string bytes(reinterpret_cast<const char*>(verifier), kVerifierSize);
        bytes += std::string(60, 'x');
        WriteFile(UserFolder(user) / kDatabaseFileName, bytes);
    }
    static void WriteFile(const fs::path& path, const std::string& bytes)
    {
        fs::create_directories(path.parent_path());
        FILE* f = _wfopen(path.wstring().c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    // Types the password and presses OK.
    static zvtest::ScriptedModal::ModalStep TypeAndOk(const char* password)
    {
        return [password](CWnd& wnd) {
            wnd.SetDlgItemText(IDC_PASSWORD, password);
            zvtest::ScriptedModal::PressButton(wnd, IDOK);
        };
    }
    static void Cancel(CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDCANCEL); }
    static bool Visible(CWnd& wnd, int id)
    {
        return (::GetWindowLongA(::GetDlgItem(wnd.m_hWnd, id), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    static std::string Text(CWnd& wnd, int id)
    {
        CString text;
        wnd.GetDlgItemText(id, text);
        return text.GetString();
    }

    zvtest::ScratchDir m_root{"logon"};
    std::shared_ptr<CAppPrefMgr> m_manager;
    std::shared_ptr<CAppPrefMgr> m_previous;
    std::shared_ptr<CAppPrefs> m_prefs;
    CUserList m_users;
    CUserItem* alice = nullptr;
    CUserItem* bob = nullptr;
    std::shared_ptr<CLogEvents> m_log;
    std::shared_ptr<CLogEvents> m_previousLog;

    std::vector<Event> Events() const
    {
        std::vector<Event> events;
        for (const auto& e : m_log->GetEvents())
            events.push_back({e->GetName().GetString(), e->GetAction().GetString(), e->GetUserName().GetString()});
        return events;
    }
};

// ----- log-on -----

TEST_F(LogonDialogs, RightPasswordLogsOnAndResetsTheCount)
{
    MakeDatabase(alice, "Secret42");
    m_prefs->SetLoginAttemptCount(alice, 3);
    zvtest::ScriptedModal modal;
    modal.OnModal(TypeAndOk("Secret42"));

    CGetPasswordDlg dlg(nullptr, false);
    dlg.m_pUsers = &m_users;
    dlg.m_pUser = alice;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_pUser, alice);
    EXPECT_STREQ(dlg.m_strPassword.c_str(), "Secret42");
    EXPECT_EQ(m_prefs->GetLoginAttemptCount(alice), 0);
    EXPECT_TRUE(GetMasterPwdMgr()->HasPassword());
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
    std::vector<Event> events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, "Log on");
    EXPECT_EQ(events[0].action, "Log on succeeded");
    EXPECT_EQ(events[0].user, "Alice");
}

TEST_F(LogonDialogs, WrongPasswordIsRefusedAndCounted)
{
    MakeDatabase(alice, "Secret42");
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    bool stillOpen = false;
    modal.OnModal(TypeAndOk("secret42"));  // case matters
    modal.OnModal([&](CWnd& wnd) {
        stillOpen = wnd.IsWindowVisible() != FALSE;
        EXPECT_FALSE(Visible(wnd, IDC_ATTEMPTS_LABEL));
        EXPECT_EQ(Text(wnd, IDC_ATTEMPTS_LABEL), "9 Attempts Left.");
        Cancel(wnd);
    });

    CGetPasswordDlg dlg(nullptr, false);
    dlg.m_pUsers = &m_users;
    dlg.m_pUser = alice;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"That is not the correct password."});
    EXPECT_STREQ(modal.MessageBoxes()[0].caption.c_str(), "Zorvikan Desktop");
    EXPECT_EQ(m_prefs->GetLoginAttemptCount(alice), 1);
    EXPECT_FALSE(GetMasterPwdMgr()->HasPassword());
    std::vector<Event> events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, "Log on");
    EXPECT_EQ(events[0].action, "Log on Failed");
    EXPECT_EQ(events[0].user, "Alice");
    // Already in the file, though the user quit.
    CLogEvents reread(CString((m_root.Path() / "EventsLog.xml").string().c_str()));
    reread.Load();
    ASSERT_EQ(reread.GetCount(), 1);
    EXPECT_STREQ(reread.GetEvents()[0]->GetAction(), "Log on Failed");
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(LogonDialogs, FifthFailureWarnsAndShowsTheLabel)
{
    MakeDatabase(alice, "Secret42");
    m_prefs->SetLoginAttemptCount(alice, 4);
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDOK);
    modal.OnModal([&](CWnd& wnd) {
        EXPECT_FALSE(Visible(wnd, IDC_ATTEMPTS_LABEL));
        TypeAndOk("nope")(wnd);
    });
    modal.OnModal([&](CWnd& wnd) {
        EXPECT_TRUE(Visible(wnd, IDC_ATTEMPTS_LABEL));
        EXPECT_EQ(Text(wnd, IDC_ATTEMPTS_LABEL), "5 Attempts Left.");
        Cancel(wnd);
    });
    CGetPasswordDlg dlg(nullptr, false);
    dlg.m_pUser = alice;
    dlg.DoModal();
    EXPECT_EQ(modal.MessageTexts(),
              (std::vector<std::string>{"That is not the correct password.", "Only 5 attempts left...!!!"}));
    EXPECT_EQ(m_prefs->GetLoginAttemptCount(alice), 5);
}

TEST_F(LogonDialogs, LabelFollowsTheChosenUser)
{
    m_prefs->SetLoginAttemptCount(alice, 7);
    m_prefs->SetLoginAttemptCount(bob, 2);
    zvtest::ScriptedModal modal;
    modal.OnModal([&](CWnd& wnd) {
        EXPECT_TRUE(Visible(wnd, IDC_ATTEMPTS_LABEL));
        EXPECT_EQ(Text(wnd, IDC_ATTEMPTS_LABEL), "3 Attempts Left.");
        EXPECT_EQ(wnd.SendDlgItemMessage(IDC_USER_COMBO, CB_GETCOUNT), 2);
        EXPECT_EQ(Text(wnd, IDCANCEL), "Quit");
        wnd.SendDlgItemMessage(IDC_USER_COMBO, CB_SETCURSEL, 1);
        wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_USER_COMBO, CBN_SELCHANGE),
                        (LPARAM)::GetDlgItem(wnd.m_hWnd, IDC_USER_COMBO));
        EXPECT_FALSE(Visible(wnd, IDC_ATTEMPTS_LABEL));
        Cancel(wnd);
    });
    CGetPasswordDlg dlg(nullptr, true);
    dlg.m_pUsers = &m_users;
    dlg.m_pUser = alice;
    dlg.DoModal();
    EXPECT_EQ(dlg.m_pUser, bob);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(LogonDialogs, OpenerFlagsLockTheChoiceAndRenameQuit)
{
    zvtest::ScriptedModal modal;
    modal.OnModal([&](CWnd& wnd) {
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, IDC_USER_COMBO)));
        EXPECT_EQ(Text(wnd, IDCANCEL), "Cancel");
        Cancel(wnd);
    });
    CGetPasswordDlg dlg(nullptr, true);
    dlg.m_pUsers = &m_users;
    dlg.m_pUser = bob;
    dlg.m_bLockUser = true;
    dlg.m_bCancelCaption = true;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

// With the user choice shown, a password typed at once goes into the password
// box: it must not pick another user by its first letter ("b" for Bob) and
// then log on as that user with an empty password.
TEST_F(LogonDialogs, TypingAtOnceGoesIntoThePasswordBox)
{
    MakeDatabase(alice, "bluesky7");
    zvtest::ScriptedModal modal;
    bool focusInPasswordBox = false;
    std::string typed;
    LRESULT chosen = CB_ERR;
    modal.OnModal([&](CWnd& wnd) {
        HWND password = ::GetDlgItem(wnd.m_hWnd, IDC_PASSWORD);
        focusInPasswordBox = ::GetFocus() == password;
        // Keys go to the window with the focus.
        for (const char* p = "bluesky7"; *p; ++p) ::SendMessageA(::GetFocus(), WM_CHAR, (WPARAM)(unsigned char)*p, 1);
        typed = Text(wnd, IDC_PASSWORD);
        chosen = wnd.SendDlgItemMessage(IDC_USER_COMBO, CB_GETCURSEL);
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    CGetPasswordDlg dlg(nullptr, true);
    dlg.m_pUsers = &m_users;
    dlg.m_pUser = alice;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(focusInPasswordBox);
    EXPECT_EQ(typed, "bluesky7");
    EXPECT_EQ(chosen, 0) << "the choice still shows Alice";
    EXPECT_EQ(dlg.m_pUser, alice);
    EXPECT_STREQ(dlg.m_strPassword.c_str(), "bluesky7");
    EXPECT_TRUE(GetMasterPwdMgr()->HasPassword());
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
}

// Both forms: a caption with the close box alone, drawn active with the
// focus in the password box; after the hint's message the focus is back in
// the password box, so what is typed next goes there.
TEST_F(LogonDialogs, BothFormsAreActiveAndTheHintGivesTheFocusBack)
{
    ASSERT_TRUE(CPasswordHint(alice).SetHint(0, "", "the blue door"));
    for (bool severalUsers : {true, false}) {
        SCOPED_TRACE(severalUsers);
        zvtest::ScriptedModal modal;
        LONG style = 0;
        bool active = false;
        std::string typed;
        modal.AnswerMessageBox(IDOK);
        modal.OnModal([&](CWnd& wnd) {
            style = ::GetWindowLongA(wnd.m_hWnd, GWL_STYLE);
            active = ::GetActiveWindow() == wnd.m_hWnd && ::GetForegroundWindow() == wnd.m_hWnd;
            // A click on Hint takes the focus to the button.
            HWND hintButton = ::GetDlgItem(wnd.m_hWnd, IDC_HINT_BUTTON);
            ::SetFocus(hintButton);
            ::SendMessageA(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_HINT_BUTTON, BN_CLICKED), (LPARAM)hintButton);
            for (const char* p = "xy"; *p; ++p) ::SendMessageA(::GetFocus(), WM_CHAR, (WPARAM)(unsigned char)*p, 1);
            typed = Text(wnd, IDC_PASSWORD);
            Cancel(wnd);
        });
        CGetPasswordDlg dlg(nullptr, severalUsers);
        dlg.m_pUsers = &m_users;
        dlg.m_pUser = alice;
        dlg.DoModal();
        EXPECT_EQ(0, style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_TRUE(active);
        EXPECT_EQ("xy", typed);
        EXPECT_EQ((std::vector<std::string>{"the blue door"}), modal.MessageTexts());
    }
}

TEST_F(LogonDialogs, ChecksTheSelectedUserOfTheHiddenChoice)
{
    MakeDatabase(alice, "AlicePw");
    MakeDatabase(bob, "BobPw");
    zvtest::ScriptedModal modal;
    modal.OnModal(TypeAndOk("BobPw"));
    CGetPasswordDlg dlg(nullptr, false);  // template 212: the choice lies out of sight
    dlg.m_pUsers = &m_users;
    dlg.m_pUser = bob;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_pUser, bob);
}

// The tenth failure deletes exactly the user's database, files directly in
// the user's folder, and its Files and Icons folders.
TEST_F(LogonDialogs, TenthFailureLocksOutAndDeletesOnlyThatUsersData)
{
    MakeDatabase(alice, "Secret42");
    MakeDatabase(bob, "BobPw");
    const fs::path a = UserFolder(alice);
    WriteFile(a / "notes.xml", "n");
    WriteFile(a / "Files" / "1234.dat", "f");
    WriteFile(a / "Icons" / "custom.ico", "i");
    WriteFile(a / "Other" / "keep.txt", "k");
    WriteFile(UserFolder(bob) / "Files" / "bob.dat", "b");
    WriteFile(m_root.Path() / "EventsLike.xml", "r");
    CPasswordHint(alice).SetHint(0, "", "my hint");
    m_prefs->SetLoginAttemptCount(alice, 9);

    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDOK);
    modal.OnModal(TypeAndOk("wrong"));
    modal.OnModal([&](CWnd& wnd) {
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, IDOK)));
        EXPECT_EQ(Text(wnd, IDC_ATTEMPTS_LABEL), "You have reached Attempt Limit.");
        Cancel(wnd);
    });
    CGetPasswordDlg dlg(nullptr, false);
    dlg.m_pUser = alice;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    ASSERT_EQ(modal.MessageBoxes().size(), 2u);
    EXPECT_EQ(modal.MessageBoxes()[0].text, "Your account is locked.");
    EXPECT_EQ(modal.MessageBoxes()[1].caption, "User Locked");
    EXPECT_EQ(modal.MessageBoxes()[1].text, "Since you have entered an incorrect password 10 times,\n"
                                            "your data will now be deleted. Quit Zorvikan, and you\n"
                                            "can start the app again and start entering data from scratch.");
    EXPECT_EQ(m_prefs->GetLoginAttemptCount(alice), 0);

    EXPECT_FALSE(fs::exists(a / kDatabaseFileName));
    EXPECT_FALSE(fs::exists(a / "notes.xml"));
    EXPECT_FALSE(fs::exists(a / "Files"));
    EXPECT_FALSE(fs::exists(a / "Icons"));
    EXPECT_TRUE(fs::exists(a / "Other" / "keep.txt"));
    EXPECT_TRUE(fs::exists(UserFolder(bob) / kDatabaseFileName));
    EXPECT_TRUE(fs::exists(UserFolder(bob) / "Files" / "bob.dat"));
    EXPECT_TRUE(fs::exists(m_root.Path() / "EventsLike.xml"));
    EXPECT_TRUE(fs::exists(fs::path(m_manager->GetPreferencesFilePath().GetString())));
    // The hint stays; the next start finds no password for the user.
    EXPECT_EQ(CPasswordHint(alice).GetHintState(), kHintWithoutQuestion);
    EXPECT_FALSE(UserHasMasterPassword(m_manager->GetUserDirectory(alice)));
}

// A count left at the limit by an interrupted lock-out: even the right
// password does not open the account; the lock-out is finished instead.
TEST_F(LogonDialogs, CountAtTheLimitIsLockedEvenForTheRightPassword)
{
    for (int stored : {10, 11}) {
        SCOPED_TRACE(stored);
        MakeDatabase(alice, "Secret42");
        // Written past the setter, as a hand-edited file would hold it.
        WritePrivateProfileStringA(alice->GetSectionName(), "Login Attempt Count", std::to_string(stored).c_str(),
                                   m_manager->GetPreferencesFilePath());
        ASSERT_EQ(m_prefs->GetLoginAttemptCount(alice), stored);
        m_log->Clear();
        zvtest::ScriptedModal modal;
        modal.AnswerMessageBox(IDOK);
        modal.AnswerMessageBox(IDOK);
        modal.OnModal(TypeAndOk("Secret42"));
        modal.OnModal(Cancel);
        CGetPasswordDlg dlg(nullptr, false);
        dlg.m_pUser = alice;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_FALSE(GetMasterPwdMgr()->HasPassword());
        ASSERT_FALSE(modal.MessageTexts().empty());
        EXPECT_EQ(modal.MessageTexts()[0], "Your account is locked.");
        EXPECT_FALSE(fs::exists(UserFolder(alice) / kDatabaseFileName));
        EXPECT_EQ(m_prefs->GetLoginAttemptCount(alice), 0);
        ASSERT_EQ(Events().size(), 1u);
        EXPECT_EQ(Events()[0].action, "Log on Failed");
    }
}

TEST_F(LogonDialogs, UserWithoutFolderLosesNothingElse)
{
    // A custom folder that is the data root itself is never emptied.
    WriteFile(m_root.Path() / "keep.txt", "k");
    m_prefs->SetUserDirectory(alice, CString(m_root.Path().string().c_str()));
    DeleteLockedOutUserData(alice);
    EXPECT_TRUE(fs::exists(m_root.Path() / "keep.txt"));
    DeleteLockedOutUserData(nullptr);
}

TEST_F(LogonDialogs, HintButtonForEachHintState)
{
    zvtest::ScriptedModal modal;
    // No hint.
    modal.AnswerMessageBox(IDOK);
    modal.OnModal([](CWnd& wnd) {
        zvtest::ScriptedModal::PressButton(wnd, IDC_HINT_BUTTON);
        Cancel(wnd);
    });
    {
        CGetPasswordDlg dlg(nullptr, false);
        dlg.m_pUser = alice;
        dlg.DoModal();
    }
    ASSERT_EQ(modal.MessageBoxes().size(), 1u);
    EXPECT_EQ(modal.MessageBoxes()[0].caption, "No Hint Set");
    EXPECT_EQ(modal.MessageBoxes()[0].text, "You have not set any hint.");

    // A hint without a question shows at once.
    ASSERT_TRUE(CPasswordHint(alice).SetHint(0, "", "the blue door"));
    modal.AnswerMessageBox(IDOK);
    modal.OnModal([](CWnd& wnd) {
        zvtest::ScriptedModal::PressButton(wnd, IDC_HINT_BUTTON);
        Cancel(wnd);
    });
    {
        CGetPasswordDlg dlg(nullptr, false);
        dlg.m_pUser = alice;
        dlg.DoModal();
    }
    ASSERT_EQ(modal.MessageBoxes().size(), 2u);
    EXPECT_EQ(modal.MessageBoxes()[1].text, "the blue door");
    EXPECT_EQ(modal.MessageBoxes()[1].caption, "Zorvikan Desktop");

    // Behind a question: the question dialog, a wrong answer, then the right one.
    ASSERT_TRUE(CPasswordHint(alice).SetHint(2, "Smith", "Sixteen chars!!!"));
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDOK);
    std::string question;
    modal.OnModal([](CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDC_HINT_BUTTON); });
    modal.OnModal([&](CWnd& hint) {  // the question dialog over the log-on dialog
        question = Text(hint, IDC_HINT_CHALLENGE_QUESTION);
        hint.SetDlgItemText(IDC_HINT_CHALLENGE_ANSWER, "smith");
        zvtest::ScriptedModal::PressButton(hint, IDOK);
    });
    modal.OnModal([&](CWnd& hint) {
        hint.SetDlgItemText(IDC_HINT_CHALLENGE_ANSWER, "Smith");
        zvtest::ScriptedModal::PressButton(hint, IDOK);
    });
    modal.OnModal(Cancel);
    {
        CGetPasswordDlg dlg(nullptr, false);
        dlg.m_pUser = alice;
        dlg.DoModal();
    }
    EXPECT_EQ(question, "What is your mother's maiden name?");
    ASSERT_EQ(modal.MessageBoxes().size(), 4u);
    EXPECT_EQ(modal.MessageBoxes()[2].text, "Hint Challenge Answer is incorrect.");
    EXPECT_EQ(modal.MessageBoxes()[3].text, "Sixteen chars!!!");
    EXPECT_TRUE(modal.Unanswered().empty());
    EXPECT_EQ(modal.PendingAnswers(), 0u);
}

// ----- set password -----

class SetPasswordDialogs : public LogonDialogs {
protected:
    // Minimum 8, maximum 16, 2 letters, 1 digit, 0 others, 1 upper-case,
    // not "acme".
    void StoreRequirements()
    {
        BYTE block[32] = {8, 16, 2, 1, 0, 1};
        memcpy(block + 16, "acme", 5);
        WritePrivateProfileStructA(kSection, "Password requirements", block, 32, m_manager->GetPreferencesFilePath());
        WritePrivateProfileStringA(kSection, "Password requirements error", "Password too weak for this site.",
                                   m_manager->GetPreferencesFilePath());
    }
    static zvtest::ScriptedModal::ModalStep Fill(const char* oldPw, const char* newPw, const char* confirm,
                                                 const char* hint, int question, const char* answer)
    {
        return [=](CWnd& wnd) {
            if (oldPw) wnd.SetDlgItemText(IDC_OLD_PASSWORD, oldPw);
            wnd.SetDlgItemText(IDC_PASSWORD, newPw);
            wnd.SetDlgItemText(IDC_CONFIRM_PASSWORD, confirm);
            wnd.SetDlgItemText(IDC_HINT_TEXT, hint);
            wnd.SendDlgItemMessage(IDC_HINT_QUESTION, CB_SETCURSEL, (WPARAM)question);
            wnd.SetDlgItemText(IDC_HINT_ANSWER, answer);
            zvtest::ScriptedModal::PressButton(wnd, IDOK);
        };
    }
};

TEST_F(SetPasswordDialogs, RefusesAgainstTheRequirementsThenAcceptsAGoodPassword)
{
    MakeDatabase(alice, "OldPass1");
    StoreRequirements();
    zvtest::ScriptedModal modal;
    const struct {
        const char* password;
        const char* message;
    } refused[] = {
        {"Zebra1acme", "Password too weak for this site."},
        {"zebra123", "Password too weak for this site."},
        {"Zebra1234567890ab", "Password too weak for this site."},
        {"Zebra12", "Password too weak for this site."},
        {"x", "Passwords must be at least 2 characters and have at least two unique characters."},
    };
    for (const auto& r : refused) {
        modal.AnswerMessageBox(IDOK);
        modal.OnModal(Fill("OldPass1", r.password, r.password, "", 0, ""));
    }
    modal.AnswerMessageBox(IDOK);
    modal.OnModal(Fill("OldPass1", "Zebra123", "Zebra124", "", 0, ""));  // confirmation differs
    modal.AnswerMessageBox(IDOK);
    modal.OnModal(Fill("oldpass1", "Zebra123", "Zebra123", "", 0, ""));  // old password wrong
    modal.OnModal([&](CWnd& wnd) {
        // The meter follows the typed new password.
        wnd.SetDlgItemText(IDC_PASSWORD, "abcd");
        Fill("OldPass1", "Zebra123", "Zebra123", "the zoo", 3, "Rex")(wnd);
    });

    CSetPasswordDlg dlg(nullptr);
    dlg.m_pUser = alice;
    dlg.m_strPrefsSection = kSection;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_strNewPassword.c_str(), "Zebra123");

    std::vector<std::string> expected;
    for (const auto& r : refused) expected.push_back(r.message);
    expected.push_back("Your new password doesn't match the confirm password.");
    expected.push_back("Your old password is incorrect. Passwords are case-sensitive.");
    EXPECT_EQ(modal.MessageTexts(), expected);
    EXPECT_TRUE(modal.Unanswered().empty());
    EXPECT_EQ(dlg.m_meter.GetLabel(), CString("Good"));  // "Zebra123": 30 + 24

    CPasswordHint hint(alice);
    EXPECT_EQ(hint.GetHintState(), kHintBehindQuestion);
    EXPECT_EQ(hint.GetQuestionText(), CString("What is your father's middle name?"));
    EXPECT_EQ(hint.GetHint("Rex", kHintKeyAnswer), CString("the zoo"));
}

TEST_F(SetPasswordDialogs, HintQuestionAndAnswerMustGoTogether)
{
    MakeDatabase(alice, "OldPass1");
    CPasswordHint(alice).SetHint(0, "", "old hint");
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDOK);
    modal.OnModal(Fill("OldPass1", "NewPass1", "NewPass1", "hint", 2, ""));     // question, no answer
    modal.OnModal(Fill("OldPass1", "NewPass1", "NewPass1", "hint", 0, "Rex"));  // answer, no question
    modal.OnModal(Fill("OldPass1", "NewPass1", "NewPass1", "", 0, ""));         // no hint: removed
    CSetPasswordDlg dlg(nullptr);
    dlg.m_pUser = alice;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(modal.MessageTexts(),
              (std::vector<std::string>{"Select the hint question and answer", "Select the hint question and answer"}));
    EXPECT_EQ(CPasswordHint(alice).GetHintState(), kHintNone);
}

TEST_F(SetPasswordDialogs, NoOldPasswordStoresAHintWithoutQuestion)
{
    zvtest::ScriptedModal modal;
    modal.OnModal(Fill(nullptr, "ab", "ab", "two letters", 0, ""));
    CSetPasswordNoOldDlg dlg(nullptr, false);
    dlg.m_pUser = alice;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_strNewPassword.c_str(), "ab");
    CPasswordHint hint(alice);
    EXPECT_EQ(hint.GetHintState(), kHintWithoutQuestion);
    EXPECT_EQ(hint.GetHint(CPasswordHint::kFallbackKey, kHintKeyFallback), CString("two letters"));
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(SetPasswordDialogs, WelcomeFormShowsTheRequirementsAndDontSetOnlyDisables)
{
    StoreRequirements();
    WritePrivateProfileStringA(kSection, "Password requirements message", "At least 8 characters, please.",
                               m_manager->GetPreferencesFilePath());
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    std::string shown;
    bool disabled = false;
    modal.OnModal([&](CWnd& wnd) {
        shown = Text(wnd, IDC_REQUIREMENTS_TEXT);
        zvtest::ScriptedModal::PressButton(wnd, IDC_DONT_SET_PASSWORD);
        wnd.CheckDlgButton(IDC_DONT_SET_PASSWORD, BST_CHECKED);
        disabled = !::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, IDC_PASSWORD));
        // Empty fields do not meet a minimum length of 8.
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.OnModal(Cancel);
    CSetPasswordNoOldDlg dlg(nullptr, true);
    dlg.m_pUser = alice;
    dlg.m_strPrefsSection = kSection;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, "At least 8 characters, please.");
    EXPECT_TRUE(disabled);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"Password too weak for this site."});
}

TEST_F(SetPasswordDialogs, ExportPasswordIsOptionalButNotTrivial)
{
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDOK);
    modal.OnModal([](CWnd& wnd) {
        wnd.SetDlgItemText(IDC_PASSWORD, "aaaa");
        wnd.SetDlgItemText(IDC_CONFIRM_PASSWORD, "aaaa");
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.OnModal([](CWnd& wnd) {
        wnd.SetDlgItemText(IDC_PASSWORD, "ab");
        wnd.SetDlgItemText(IDC_CONFIRM_PASSWORD, "ba");
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.OnModal([](CWnd& wnd) {
        wnd.SetDlgItemText(IDC_PASSWORD, "");
        wnd.SetDlgItemText(IDC_CONFIRM_PASSWORD, "");
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    CGetExportPasswordDlg dlg(nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_strPassword.c_str(), "");
    EXPECT_EQ(
        modal.MessageTexts(),
        (std::vector<std::string>{"Passwords must be at least 2 characters and have at least two unique characters.",
                                  "Your new password doesn't match the confirm password."}));
}

// ----- the stored hint -----

TEST_F(LogonDialogs, HintRoundTripsBehindAQuestion)
{
    CPasswordHint hint(alice);
    ASSERT_TRUE(hint.SetHint(2, "Smith", "Sixteen chars!!!"));
    EXPECT_EQ(hint.GetHintState(), kHintBehindQuestion);
    const CString ini = m_manager->GetPreferencesFilePath();
    EXPECT_EQ(GetPrivateProfileIntA(alice->GetSectionName(), "Hint buffer length", -1, ini), 17);
    EXPECT_EQ(GetPrivateProfileIntA(alice->GetSectionName(), "Hint question number", -1, ini), 2);

    // The stored buffers are the ones OpenSSL made.
    CAppPrefs::BufferPair stored = m_prefs->GetHintBuffer(alice);
    std::string bytes((const char*)stored.buffer, (size_t)stored.length);
    delete[] stored.buffer;
    EXPECT_EQ(bytes, zvtest::ReadFileBytes(zvtest::FixturePath("hint/smith_hint_16.bin")));
    CAppPrefs::BufferPair check = m_prefs->GetHintQuestionBuffer(alice);
    std::string checkBytes((const char*)check.buffer, (size_t)check.length);
    delete[] check.buffer;
    EXPECT_EQ(checkBytes, zvtest::ReadFileBytes(zvtest::FixturePath("hint/smith_question_2.bin")));

    EXPECT_TRUE(hint.CheckAnswer("Smith"));
    EXPECT_FALSE(hint.CheckAnswer("smith"));
    EXPECT_FALSE(hint.CheckAnswer(""));
    EXPECT_EQ(hint.GetHint("Smith", kHintKeyAnswer), CString("Sixteen chars!!!"));
    EXPECT_EQ(hint.GetHint("Jones", kHintKeyAnswer), CString(""));
    EXPECT_EQ(hint.GetHint("", kHintKeyAnswer), CString(""));

    // Only the first 16 characters of an answer count.
    ASSERT_TRUE(hint.SetHint(5, "ThisAnswerIsLongerThan16", "my dog"));
    EXPECT_EQ(hint.GetHint("ThisAnswerIsLongXYZ", kHintKeyAnswer), CString("my dog"));
}

TEST_F(LogonDialogs, HintRoundTripsUnderTheFallbackKey)
{
    CPasswordHint hint(alice);
    ASSERT_TRUE(hint.SetHint(0, "", "Seventeen chars!!"));
    EXPECT_EQ(hint.GetHintState(), kHintWithoutQuestion);
    const CString ini = m_manager->GetPreferencesFilePath();
    EXPECT_EQ(GetPrivateProfileIntA(alice->GetSectionName(), "Hint buffer length", -1, ini), 33);
    EXPECT_EQ(GetPrivateProfileIntA(alice->GetSectionName(), "Hint Question buffer length", -1, ini), 0);
    CAppPrefs::BufferPair stored = m_prefs->GetHintBuffer(alice);
    std::string bytes((const char*)stored.buffer, (size_t)stored.length);
    delete[] stored.buffer;
    EXPECT_EQ(bytes, zvtest::ReadFileBytes(zvtest::FixturePath("hint/fallback_17.bin")));
    EXPECT_EQ(hint.GetHint(CPasswordHint::kFallbackKey, kHintKeyFallback), CString("Seventeen chars!!"));
    // Without a question there is no answer to check.
    EXPECT_EQ(hint.GetHint(CPasswordHint::kFallbackKey, kHintKeyAnswer), CString(""));
    // The Wi-Fi sync's form: question -1.
    ASSERT_TRUE(hint.SetHint(-1, "", "The 33-byte hint text, it is this"));
    EXPECT_EQ(GetPrivateProfileIntA(alice->GetSectionName(), "Hint buffer length", -1, ini), 49);
    EXPECT_EQ(hint.GetHint(CPasswordHint::kFallbackKey, kHintKeyFallback),
              CString("The 33-byte hint text, it is this"));
}

TEST_F(LogonDialogs, HintRefusalsAndClearing)
{
    CPasswordHint hint(alice);
    ASSERT_TRUE(hint.SetHint(0, "", "kept"));
    EXPECT_FALSE(hint.SetHint(0, "", ""));         // nothing stored
    EXPECT_FALSE(hint.SetHint(0, "answer", "x"));  // answer without question
    EXPECT_EQ(hint.GetHint(CPasswordHint::kFallbackKey, kHintKeyFallback), CString("kept"));
    EXPECT_FALSE(hint.SetHint(7, "answer", "x"));  // unknown question: its number is stored
    EXPECT_EQ(hint.GetHintState(), kHintBehindQuestion);
    EXPECT_EQ(hint.GetQuestionText(), CString(""));
    EXPECT_FALSE(hint.CheckAnswer("answer"));
    hint.ClearHint();
    EXPECT_EQ(hint.GetHintState(), kHintNone);
    EXPECT_EQ(hint.GetHint(CPasswordHint::kFallbackKey, kHintKeyFallback), CString(""));
    // A user's hint is the user's own.
    ASSERT_TRUE(CPasswordHint(bob).SetHint(1, "Oslo", "bob's"));
    EXPECT_EQ(hint.GetHintState(), kHintNone);
}

TEST(HintQuestionTest, QuestionsFromTheStringTable)
{
    const char* texts[] = {"Select hint question",
                           "What city were you born in?",
                           "What is your mother's maiden name?",
                           "What is your father's middle name?",
                           "What is your favorite color?",
                           "What is your pet's name?",
                           "What's the name of your first car?"};
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(GetHintQuestionText(i), CString(texts[i])) << i;
    EXPECT_EQ(GetHintQuestionText(7), CString(""));
    EXPECT_EQ(GetHintQuestionText(-1), CString(""));
}

}  // namespace
