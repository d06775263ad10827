// The dialog for a user's database folder that cannot be reached, and the
// start-up's loop around it: Retry tests again, Change... stores the chosen
// folder as the user's, Cancel gives up. On a scratch data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/res/ShellDialogsRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "app/users/UnavailablePathDlg.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

class UnavailablePath : public zvtest::AppWindowTest {
protected:
    UnavailablePath() : AppWindowTest("zvunavailable") {}
    CUserItem* User() { return App().GetCurrentUser(); }
    std::string KeyName() { return std::string(User()->GetKeyName()); }
    std::string UserDirectory()
    {
        return std::string(CAppPrefMgr::GetInstance()->GetPrefs()->GetUserDirectory(User()));
    }
    std::string Missing() { return (m_root.Path() / "unplugged" / KeyName()).string(); }
    // The path control's text while the dialog runs.
    static std::string ShownPath(CWnd& dlg)
    {
        char text[MAX_PATH] = {};
        ::GetDlgItemTextA(dlg.m_hWnd, IDC_UNAVAILABLE_PATH, text, sizeof text);
        return text;
    }
    static void Press(int id)
    {
        s_modal->OnModal([id](CWnd& dlg) { zvtest::ScriptedModal::PressButton(dlg, id); });
    }
    void SetUp() override
    {
        AppWindowTest::SetUp();
        s_modal = &m_modal;
    }
    void TearDown() override
    {
        s_modal = nullptr;
        AppWindowTest::TearDown();
    }
    zvtest::ScriptedModal m_modal;
    static zvtest::ScriptedModal* s_modal;
};
zvtest::ScriptedModal* UnavailablePath::s_modal = nullptr;

TEST_F(UnavailablePath, TheThreeAnswers)
{
    const fs::path chosen = m_root.Path() / "new place";
    fs::create_directories(chosen);
    std::string shown;
    const struct {
        int button;
        INT_PTR result;
        bool stored;
    } cases[] = {
        {IDC_UNAVAILABLE_RETRY, 1087, false},
        {IDCANCEL, 2, false},
        {IDC_UNAVAILABLE_CHANGE, 3, true},
    };
    for (const auto& c : cases) {
        CUnavailablePathDlg dlg(nullptr, User(), Missing().c_str());
        if (c.button == IDC_UNAVAILABLE_CHANGE) m_modal.AnswerFolder(chosen.string().c_str());
        m_modal.OnModal([&](CWnd& wnd) {
            shown = ShownPath(wnd);
            zvtest::ScriptedModal::PressButton(wnd, c.button);
        });
        EXPECT_EQ(c.result, dlg.DoModal()) << c.button;
        EXPECT_EQ(Missing(), shown);
        if (c.stored) {
            EXPECT_EQ(chosen.string(), std::string(dlg.m_strPath));
            // The key name joins the folder as it is.
            EXPECT_EQ((chosen / KeyName()).string(), UserDirectory());
            ASSERT_EQ(1u, m_modal.FolderTitles().size());
            EXPECT_EQ("Choose the location for the Zorvikan database.", m_modal.FolderTitles()[0]);
        } else {
            EXPECT_EQ(Missing(), std::string(dlg.m_strPath));
            EXPECT_EQ("", UserDirectory());
        }
    }
    EXPECT_TRUE(m_modal.Unanswered().empty());
}

TEST_F(UnavailablePath, ChangeStaysOpenWhenCancelledOrADatabaseIsThere)
{
    const fs::path taken = m_root.Path() / "taken";
    fs::create_directories(taken / KeyName());
    std::ofstream(taken / KeyName() / "ZorvikanDatabase.zdb") << "x";

    CUnavailablePathDlg dlg(nullptr, User(), Missing().c_str());
    m_modal.AnswerFolder(nullptr);
    m_modal.AnswerFolder(taken.string().c_str());
    m_modal.AnswerMessageBox(IDOK);
    std::string shownAfter;
    m_modal.OnModal([&](CWnd& wnd) {
        zvtest::ScriptedModal::PressButton(wnd, IDC_UNAVAILABLE_CHANGE);  // chooser cancelled
        zvtest::ScriptedModal::PressButton(wnd, IDC_UNAVAILABLE_CHANGE);  // a database is there
        shownAfter = ShownPath(wnd);
        zvtest::ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    EXPECT_EQ(2, dlg.DoModal());
    EXPECT_EQ(Missing(), shownAfter);
    EXPECT_EQ(std::vector<std::string>{"You cannot save the Zorvikan database in this location because another "
                                       "database already exists."},
              m_modal.MessageTexts());
    EXPECT_EQ("", UserDirectory());
}

TEST_F(UnavailablePath, TheStartUpAsksAgainOnRetryAndGoesOnAfterChange)
{
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    // The user's own folder is reachable: nothing is asked.
    EXPECT_TRUE(CZorvikanDesktopApp::ReachUserFolder(User()));
    EXPECT_EQ(0u, m_modal.PendingAnswers());

    prefs->SetUserDirectory(User(), Missing().c_str());
    Press(IDC_UNAVAILABLE_RETRY);
    Press(IDC_UNAVAILABLE_RETRY);
    Press(IDCANCEL);
    EXPECT_FALSE(CZorvikanDesktopApp::ReachUserFolder(User()));
    EXPECT_EQ(0u, m_modal.PendingAnswers());

    // Retry finds the folder once it is back.
    m_modal.OnModal([this](CWnd& wnd) {
        fs::create_directories(Missing());
        zvtest::ScriptedModal::PressButton(wnd, IDC_UNAVAILABLE_RETRY);
    });
    EXPECT_TRUE(CZorvikanDesktopApp::ReachUserFolder(User()));
    fs::remove_all(Missing());

    const fs::path chosen = m_root.Path() / "elsewhere";
    fs::create_directories(chosen);
    m_modal.AnswerFolder(chosen.string().c_str());
    Press(IDC_UNAVAILABLE_CHANGE);
    EXPECT_TRUE(CZorvikanDesktopApp::ReachUserFolder(User()));
    EXPECT_EQ((chosen / KeyName()).string(), UserDirectory());
    EXPECT_TRUE(m_modal.Unanswered().empty());
}

}  // namespace
