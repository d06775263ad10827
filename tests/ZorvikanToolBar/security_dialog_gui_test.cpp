// The "Security Option" dialog driven as a person would: a wrong password
// keeps it open, the right one unlocks, the chosen time-out starts the timer
// and is stored, and the expiry asks for the password again.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "ZorvikanToolBar/link/AppCommunicator.h"
#include "ZorvikanToolBar/link/DesktopData.h"
#include "ZorvikanToolBar/link/PasswordDlg.h"
#include "ZorvikanToolBar/res/ToolBarResource.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "framework/Wnd.h"
#include "tests/ZorvikanToolBar/PluginScratchTest.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

const char kPassword[] = "Open Sesame 9";

uint32_t g_period = 0;
uintptr_t ScriptedTimer(uintptr_t, uint32_t periodMs)
{
    g_period = periodMs;
    return periodMs ? 77 : 0;
}

std::string Text(CWnd& dialog, int id)
{
    char buffer[256] = {};
    GetDlgItemTextA(dialog.GetSafeHwnd(), id, buffer, sizeof(buffer));
    return buffer;
}

// Types the password, sets the time-out and presses OK.
zvtest::ScriptedModal::ModalStep Confirm(const char* password, bool timeout, int minutes,
                                         std::string* shownUser = nullptr)
{
    return [=](CWnd& dialog) {
        HWND window = dialog.GetSafeHwnd();
        if (shownUser) *shownUser = Text(dialog, IDC_SECURITY_USER);
        SetDlgItemTextA(window, IDC_SECURITY_PASSWORD, password);
        CheckDlgButton(window, IDC_TIMEOUT_CHECK, timeout ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemInt(window, IDC_TIMEOUT_MINUTES, minutes, TRUE);
        zvtest::ScriptedModal::PressButton(dialog, IDOK);
    };
}

class SecurityDialogTest : public PluginScratchTest {
protected:
    SecurityDialogTest() : PluginScratchTest("plugin-dialog") {}
    void WriteDatabase(CDesktopData& data)
    {
        const fs::path path = DatabasePath(data);
        fs::create_directories(path.parent_path());
        CDatabaseObj db;
        ASSERT_EQ(0, db.Load(CString(path.string().c_str())));
        CRecord* record = new CRecord();
        record->SetTypeKey(kWebLoginsTypeKey);
        record->SetField(0, "Bank");
        db.GetRecords().Add(record);
        ASSERT_EQ(0, GetMasterPwdMgr()->StoreNewPassword(CSecretString(kPassword), db));
        GetMasterPwdMgr()->ClearPassword();
    }
    int StoredTimeout(CDesktopData& data)
    {
        CAppPrefs::TimerPair stored = m_manager->GetPrefs()->GetClearPasswordTimer(data.CurrentUser());
        return stored.enabled ? stored.minutes : 0;
    }
};

TEST_F(SecurityDialogTest, WrongPasswordKeepsTheDialogRightOneUnlocksAndStartsTheTimer)
{
    zvtest::ScopedReplace timer(&SetUnlockTimerSetter, &ScriptedTimer);
    zvtest::ScriptedModal modal;
    CAppCommunicator communicator;
    WriteDatabase(communicator.Data());

    std::string shownUser;
    modal.OnModal(Confirm("wrong", true, 5, &shownUser));
    std::string afterMismatch = "<not asked>";
    modal.OnModal([&](CWnd& dialog) {
        // Still open, the password selected for typing again.
        afterMismatch = Text(dialog, IDC_SECURITY_PASSWORD);
        Confirm(kPassword, true, 5)(dialog);
    });
    CObList list;
    ASSERT_TRUE(communicator.FindWebLogins(list, ""));
    EXPECT_TRUE(modal.Unanswered().empty());
    EXPECT_EQ(communicator.Data().GetCurrentUserName().GetString(), shownUser);
    EXPECT_EQ("wrong", afterMismatch);
    ASSERT_EQ(1, list.GetCount());
    EXPECT_TRUE(IsPluginUnlocked());
    EXPECT_EQ(5u * 60000u, g_period);
    EXPECT_EQ(5, StoredTimeout(communicator.Data()));

    // The unlock runs out: the next search asks again.
    CTimer::Instance()->Fire();
    EXPECT_FALSE(IsPluginUnlocked());
    EXPECT_FALSE(GetMasterPwdMgr()->HasPassword());
    CObList again;
    EXPECT_FALSE(communicator.FindWebLogins(again, ""));  // nobody answers: cancelled
    EXPECT_EQ(1u, modal.Unanswered().size());
    EXPECT_FALSE(IsPluginUnlocked());
}

TEST_F(SecurityDialogTest, UncheckedTimeoutStoresZeroButKeepsTheMinutes)
{
    zvtest::ScopedReplace timer(&SetUnlockTimerSetter, &ScriptedTimer);
    zvtest::ScriptedModal modal;
    CAppCommunicator communicator;
    WriteDatabase(communicator.Data());
    modal.OnModal(Confirm(kPassword, true, 5));
    ASSERT_TRUE(communicator.UnlockWithPassword(false));
    modal.OnModal(Confirm(kPassword, false, 9));
    g_period = 0;
    ASSERT_TRUE(communicator.UnlockWithPassword(false));
    EXPECT_EQ(0, StoredTimeout(communicator.Data()));
    EXPECT_EQ(5u * 60000u, g_period);
}

TEST_F(SecurityDialogTest, CancelLeavesTheDataLocked)
{
    zvtest::ScriptedModal modal;
    CAppCommunicator communicator;
    WriteDatabase(communicator.Data());
    modal.OnModal([](CWnd& dialog) { zvtest::ScriptedModal::PressButton(dialog, IDCANCEL); });
    EXPECT_FALSE(communicator.EnsureUnlocked());
    EXPECT_FALSE(IsPluginUnlocked());
    EXPECT_FALSE(GetMasterPwdMgr()->HasPassword());
}

TEST(SecurityDialog, SpinWrapsAtBothEnds)
{
    struct Case {
        int minutes, delta, shown;
    };
    const Case cases[] = {{1, -1, 999}, {0, -1, 999}, {2, -1, 1}, {999, 1, 1}, {998, 1, 999}, {5, 1, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.minutes);
        EXPECT_EQ(c.shown, CPasswordDlg::StepMinutes(c.minutes, c.delta));
    }
}

}  // namespace
