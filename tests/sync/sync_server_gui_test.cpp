// The Wi-Fi sync server of the program with its main window, as handhelds
// on the network meet it: sessions over loopback, with the Options sheet and
// the view as the user leaves them.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/options/PrefSettingPS.h"
#include "app/res/Resource.h"
#include "app/res/ShellDialogsRes.h"
#include "app/res/SyncFilesRes.h"
#include "app/services/SyncCommands.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"
#include "sync/dialogs/ProgramSyncCommands.h"
#include "sync/server/SyncServer.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScriptedModal.h"
#include "tests/sync/SocketHandheld.h"
#include "toolkit/ToolkitIds.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

using zvtest::SocketHandheld;

void PumpFor(DWORD milliseconds)
{
    const DWORD end = ::GetTickCount() + milliseconds;
    do {
        zvtest::PumpPendingMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while ((LONG)(end - ::GetTickCount()) > 0);
}

// The progress windows of this process that are still there.
int ProgressWindows()
{
    int count = 0;
    ::EnumWindows(
        [](HWND window, LPARAM out) -> BOOL {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(window, &pid);
            if (pid == ::GetCurrentProcessId() && ::GetDlgItem(window, IDC_SYNC_PROGRESS_BAR))
                ++*reinterpret_cast<int*>(out);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

class SyncServerWindow : public zvtest::AppWindowTest {
protected:
    SyncServerWindow() : AppWindowTest("zvsyncserver") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        // A port the system picks; the announcement goes where nobody reads.
        _putenv("ZV_SYNC_PORT=0");
        _putenv("ZV_MDNS_TARGET=127.0.0.1:9");
        m_server = std::make_unique<CSyncServer>(&App());
        App().SetSyncViewRegistry(m_server.get());
        App().SetWifiSyncService(m_server.get());
        m_previousCommands = SetSyncCommands(&m_commands);
    }

    void TearDown() override
    {
        AppWindowTest::TearDown();
        App().SetSyncViewRegistry(nullptr);
        App().SetWifiSyncService(nullptr);
        m_server.reset();
        SetSyncCommands(m_previousCommands);
        _putenv("ZV_SYNC_PORT=");
        _putenv("ZV_MDNS_TARGET=");
    }

    // The window open and the service started as at the program's start.
    void Start()
    {
        OpenWindow();
        m_server->StartService();
        ASSERT_NE(m_server->Port(), 0);
        CUserItem* user = App().GetCurrentUser();
        m_handheld = zvtest::HandheldDatabaseFor(m_root.Path().string(), user->GetDisplayName().GetString(),
                                                 user->GetKeyName().GetString());
    }

    // Plays the handheld on a thread of its own while this thread, the GUI
    // thread, handles what the session sends the windows; what went wrong.
    std::string Play(const std::function<bool(SocketHandheld&)>& play)
    {
        std::string error;
        std::atomic<bool> done{false};
        std::thread handheld([&] {
            SocketHandheld h(m_server->Port());
            play(h);
            error = h.Error();
            done = true;
        });
        while (!done) PumpFor(20);
        handheld.join();
        // The session's last posted messages.
        PumpFor(200);
        return error;
    }

    std::string Session(int mode)
    {
        return Play([&](SocketHandheld& h) { return h.SucceedingSession(mode, m_handheld); });
    }

    CDatabaseObj& ViewDatabase() { return static_cast<CZorvikanDesktopView*>(m_view)->GetDatabase(); }

    std::unique_ptr<CSyncServer> m_server;
    CProgramSyncCommands m_commands;
    ISyncCommands* m_previousCommands = nullptr;
    std::string m_handheld;
};

bool HasRecord(CDatabaseObj& database, uint32_t id, const char* field)
{
    for (POSITION pos = database.GetRecords().GetHeadPosition(); pos;) {
        CRecord* record = dynamic_cast<CRecord*>(database.GetRecords().GetNext(pos));
        if (record && static_cast<uint32_t>(record->GetId()) == id) return record->GetField(0) == field;
    }
    return false;
}

TEST_F(SyncServerWindow, TheViewsUnsavedEditIsInTheMergeAndStays)
{
    m_server->SetShowProgress(false);
    Start();
    // An edit the view holds and has not written yet.
    CRecord* edit = new CRecord;
    edit->SetId(0x5151);
    edit->SetField(0, "not yet saved");
    ViewDatabase().GetRecords().Add(edit);

    EXPECT_EQ(Session(kSyncBothWays), "");
    CDatabaseObj file;
    ASSERT_EQ(file.Load(CAppPrefMgr::GetInstance()->GetDatabasePath(App().GetCurrentUser()), nullptr), 0);
    EXPECT_TRUE(HasRecord(file, 0x5151, "not yet saved"));
    EXPECT_TRUE(HasRecord(file, 1001, "Mail"));  // the handheld's
    // The view shows the merged file again, the edit with it.
    EXPECT_TRUE(HasRecord(ViewDatabase(), 0x5151, "not yet saved"));
    EXPECT_TRUE(HasRecord(ViewDatabase(), 1001, "Mail"));
}

TEST_F(SyncServerWindow, TheModeChosenInOptionsIsTheNextSessionsMode)
{
    m_server->SetShowProgress(false);
    Start();
    EXPECT_EQ(Session(kSyncBothWays), "");  // nothing stored: both ways
    {
        zvtest::ScriptedModal modal;
        modal.OnModal([&](CWnd& wnd) {
            auto& sheet = static_cast<CPrefSettingPS&>(wnd);
            sheet.SetActivePage(4);
            zvtest::PumpPendingMessages();
            CWnd& page = *sheet.GetActivePage();
            for (int id : {IDC_PREF_SYNC_MODE_DESKTOP, IDC_PREF_SYNC_DEFAULT_DESKTOP})
                ::SendMessageA(::GetDlgItem(page.m_hWnd, id), BM_CLICK, 0, 0);
            sheet.PressButton(PSBTN_OK);
        });
        MSG quit;
        while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_OPTIONS, 0);
    }
    EXPECT_EQ(Session(kSyncDesktopOverwrites), "");
    // The end of that session restored the stored mode, which is the chosen one.
    EXPECT_EQ(Session(kSyncDesktopOverwrites), "");
}

// The progress window waits for its messages as in the program.
struct RealModalLoops {
    CModalSeam real;
    CModalSeam* previous = AfxSetModalSeam(&real);
    ~RealModalLoops() { AfxSetModalSeam(previous); }
};

TEST_F(SyncServerWindow, NoProgressWindowOutlivesItsConnection)
{
    RealModalLoops modal;
    Start();
    CUserItem* user = App().GetCurrentUser();
    const std::string wrongCrib =
        zvtest::HandheldDatabaseFor(m_root.Path().string(), user->GetDisplayName().GetString(),
                                    user->GetKeyName().GetString(), std::string(80, '7'));
    // A port probe: connected and closed at once.
    const auto probe = [](SocketHandheld&) { return true; };
    // A handheld with another password: the session ends at the check.
    const auto mismatch = [&](SocketHandheld& h) {
        return h.SendDatabase(wrongCrib) && h.Expect("SyncModeSynchronization") && h.Say("OK") &&
               h.Expect("SendNewAndModifiedAttachments") && h.Batch({}) && h.Say("OK") && h.FailedWith("00000001");
    };
    // Each ends before a window started for it could have joined; the last
    // ones have no later session to close what they left.
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Play(mismatch), "");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Play(probe), "");
    EXPECT_EQ(Play(mismatch), "");
    int left = 0;
    for (int tries = 0; tries < 50; ++tries) {
        PumpFor(100);
        left = ProgressWindows();
        if (left == 0) break;
    }
    EXPECT_EQ(left, 0);
}

}  // namespace
