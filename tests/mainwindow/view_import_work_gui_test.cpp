// An import as the main view does its work: the added rows join the sorted
// list where one insert after another would put them, selected; work past
// the progress delay shows the progress window while it lasts; and the
// auto-lock countdown, which runs on while the program works, starts again
// after it instead of locking at once.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/services/ExchangeService.h"
#include "core/crypto/SecretString.h"
#include "core/items/Record.h"
#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "exchange/dialogs/ExchangeService.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestText.h"
#include "toolkit/progress/BasicProgressBar.h"
#include "toolkit/progress/BusyProgress.h"

namespace {

class ViewImportWork : public zvtest::AppWindowTest {
protected:
    ViewImportWork() : AppWindowTest("zvimportwork") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        m_previousService = SetExchangeService(&m_service);
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        GetMasterPwdMgr()->ClearPassword();
        SetExchangeService(m_previousService);
    }

    void Open()
    {
        OpenWindow();
        zvtest::PumpPendingMessages();
    }

    // An exchange text file of three records (two typed, one unfiled).
    std::string ExportText(const std::string& name)
    {
        return zvtest::WinPath(m_root.WriteFile(name, "Zorvikan Export File\r\n"
                                                      "Bank Card,Alice,1\r\n"
                                                      "Bank Card,Bob,2\r\n"
                                                      "Unfiled,Loose note\r\n"))
            .Std();
    }

    int LiveRecords() const
    {
        int count = 0;
        for (POSITION pos = m_view->GetDatabase().GetRecords().GetHeadPosition(); pos;) {
            const CBaseItem* item = static_cast<const CBaseItem*>(m_view->GetDatabase().GetRecords().GetNext(pos));
            if (!item->IsDeleted()) ++count;
        }
        return count;
    }

    CExchangeService m_service;
    IExchangeService* m_previousService = nullptr;
};

// The imported rows join the sorted list where one insert after another
// would put them (an equal record goes before its equal, so the later of two
// equal imports comes first) and are the selected rows; the first of each
// import, selected alone for a moment, counts as viewed, and with several
// selected the details show none.
TEST_F(ViewImportWork, ImportedRowsJoinTheSortedListSelected)
{
    Open();
    // Rows compare by field 1 and the three fields after it; field 6 only
    // tells them apart here.
    const std::string first = zvtest::WinPath(m_root.WriteFile("first.csv", "Zorvikan Export File\r\n"
                                                                            "Bank Card,Bob,,,,,old\r\n"
                                                                            "Bank Card,Dave,,,,,old\r\n"))
                                  .Std();
    const std::string second = zvtest::WinPath(m_root.WriteFile("second.csv", "Zorvikan Export File\r\n"
                                                                              "Bank Card,Carol,,,,,new\r\n"
                                                                              "Bank Card,Alice,,,,,new\r\n"
                                                                              "Bank Card,Dave,,,,,new 1\r\n"
                                                                              "Bank Card,Eve,,,,,new\r\n"
                                                                              "Bank Card,Dave,,,,,new 2\r\n"))
                                   .Std();
    zvtest::ScriptedModal modal;
    m_view->ImportFileAsk(first.c_str(), FALSE);
    m_view->ImportFileAsk(second.c_str(), FALSE);

    CRecordListCtrl& list = m_view->GetRecordList();
    std::vector<std::string> rows, selected;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const CRecord* record = list.GetRecordAt(row);
        ASSERT_NE(nullptr, record);
        const std::string text = record->GetField(0).Std() + " " + record->GetField(5).Std();
        rows.push_back(text);
        if (list.GetItemState(row, LVIS_SELECTED)) selected.push_back(text);
    }
    EXPECT_EQ((std::vector<std::string>{"Alice new", "Bob old", "Carol new", "Dave new 2", "Dave new 1", "Dave old",
                                        "Eve new"}),
              rows);
    EXPECT_EQ((std::vector<std::string>{"Alice new", "Carol new", "Dave new 2", "Dave new 1", "Eve new"}), selected);
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const CRecord* record = list.GetRecordAt(row);
        const bool first = record->GetField(0) == "Bob" || record->GetField(0) == "Carol";
        EXPECT_EQ(first ? 1 : 0, record->GetViewCount()) << rows[(size_t)row];
    }
    EXPECT_EQ(nullptr, m_view->GetSelectedRecord());
    EXPECT_TRUE(modal.Unanswered().empty());
}

// The save of an import that waits until the progress window is up (at most
// 5 s) and notes whether it came: the window shows while the program works.
bool g_progressSeenDuringWork = false;
int WaitForProgressWindow(const CString&, const CString& target)
{
    if (target.Right(20).CompareNoCase("ZorvikanDatabase.zdb") != 0) return 0;
    const DWORD start = ::GetTickCount();
    while (!g_progressSeenDuringWork && ::GetTickCount() - start < 5000) {
        HWND window = ::FindWindowA(nullptr, "Import");
        g_progressSeenDuringWork = window && ::IsWindowVisible(window);
        ::Sleep(10);
    }
    return 0;
}

// A save that outlasts the auto-lock countdown.
int SlowSave(const CString&, const CString& target)
{
    if (target.Right(20).CompareNoCase("ZorvikanDatabase.zdb") == 0) ::Sleep(600);
    return 0;
}

TEST_F(ViewImportWork, AnImportPastTheDelayShowsTheProgressWindowUntilItEnds)
{
    Open();
    // No scripted answers: the progress window waits for nobody, and runs
    // as it does for the user.
    const std::string path = ExportText("long.csv");
    const int shown = GetBusyProgressShownCount();
    m_view->ImportFileAsk(path.c_str(), FALSE);
    EXPECT_EQ(shown, GetBusyProgressShownCount()) << "work within the delay shows nothing";

    m_view->SetBusyProgressDelayMs(0);
    g_progressSeenDuringWork = false;
    const BeforeReplaceHook previous = SetBeforeReplaceHook(&WaitForProgressWindow);
    m_view->ImportFileAsk(path.c_str(), FALSE);
    SetBeforeReplaceHook(previous);
    EXPECT_TRUE(g_progressSeenDuringWork);
    EXPECT_EQ(shown + 1, GetBusyProgressShownCount());
    EXPECT_EQ(nullptr, ::FindWindowA(nullptr, "Import")) << "gone with the work";
    EXPECT_FALSE(CBasicProgressBar::GetInstance()->IsRunning());
    EXPECT_EQ(6, LiveRecords());
}

TEST_F(ViewImportWork, TheAutoLockCountdownStartsAgainAfterAnImportThatOutlastsIt)
{
    Open();
    ASSERT_EQ(0, GetMasterPwdMgr()->StoreNewPassword(CSecretString("Import-Pw-1"), m_view->GetDatabase()));
    CAppPrefMgr::GetInstance()->GetPrefs()->SetAutoLock(App().GetCurrentUser(), 1);
    m_view->GetLockState().SetFixedCountdownMs(300);
    m_view->RestartAutoLockTimer();
    ASSERT_TRUE(m_view->IsAutoLockArmed());
    const int starts = m_view->GetLockState().GetCountdownStarts();
    const std::string path = ExportText("slow.csv");
    zvtest::ScriptedModal modal;
    const BeforeReplaceHook previous = SetBeforeReplaceHook(&SlowSave);
    m_view->ImportFileAsk(path.c_str(), FALSE);
    SetBeforeReplaceHook(previous);
    zvtest::PumpPendingMessages();
    EXPECT_FALSE(m_view->IsLocked());
    EXPECT_EQ(starts + 1, m_view->GetLockState().GetCountdownStarts());
    EXPECT_TRUE(m_view->IsAutoLockArmed());
    EXPECT_EQ(3, LiveRecords());
    EXPECT_TRUE(modal.Unanswered().empty());
}

}  // namespace
