// The program's end of the plug-in link, with a test view window in place of
// the main view and the peer process playing the browser plug-in: web logins
// reach the view with exactly the texts written, a block without terminators
// is read safely, a login during a modal dialog is dropped, the link joins
// its worker when it goes, and change signals reach every listener.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/link/LinkChangeCounts.h"
#include "app/pluginlink/PluginLink.h"
#include "core/link/SharedMemory.h"
#include "framework/CEvent.h"
#include "framework/Wnd.h"
#include "tests/app/PluginLinkTestNames.h"
#include "tests/support/ChildProcess.h"

namespace {

std::string UniqueSuffix()
{
    static int counter = 0;
    return "-ZvTest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

// Dispatches this thread's messages until the condition holds or the time
// is up; the link's worker reaches the view only through them.
template <typename Cond> bool PumpUntil(Cond cond, DWORD ms = 10000)
{
    const DWORD start = GetTickCount();
    while (!cond()) {
        if (GetTickCount() - start > ms) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// The peer program, the browser plug-in's stand-in.
struct Peer : zvtest::ChildProcess {
    explicit Peer(const std::string& arguments)
        : zvtest::ChildProcess(zvtest::SiblingExe("plugin_link_peer.exe"), arguments)
    {}
};

// Runs the peer to its end (it only writes and signals); its exit code.
DWORD RunPeer(const std::string& arguments)
{
    Peer peer(arguments);
    if (!peer.Started() || !peer.Finished(20000)) return 1000;
    return peer.ExitCode();
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Stands in for the main view: records what the link sends it.
class CTestView : public CWnd {
public:
    std::vector<std::pair<std::string, std::string>> logins;
    int bringToFront = 0;
    std::function<void()> onBringToFront;
    std::function<void()> onAddWebLogin;

    bool Make()
    {
        return CreateEx(0, CWnd::RegisterWndClass(0), "Plug-in link test view", WS_POPUP, 0, 0, 200, 100, nullptr,
                        nullptr) != FALSE;
    }

protected:
    LRESULT OnBringToFront(WPARAM, LPARAM)
    {
        ++bringToFront;
        if (onBringToFront) onBringToFront();
        return 1;
    }
    LRESULT OnAddWebLogin(WPARAM wParam, LPARAM lParam)
    {
        logins.emplace_back(reinterpret_cast<const char*>(wParam), reinterpret_cast<const char*>(lParam));
        if (onAddWebLogin) onAddWebLogin();
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestView, CWnd)
    ON_MESSAGE(WM_BRING_TO_FRONT, &CTestView::OnBringToFront)
    ON_MESSAGE(WM_ADD_WEB_LOGIN, &CTestView::OnAddWebLogin)
END_MESSAGE_MAP()

// A real modal dialog (the system's dialog loop) owned by the view; tick runs
// every 20 ms until it returns true, then the dialog ends.
void RunModalDialog(HWND owner, std::function<bool()> tick)
{
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tmpl{};
    tmpl.dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    tmpl.dialog.cx = 100;
    tmpl.dialog.cy = 40;
    auto proc = [](HWND dialog, UINT message, WPARAM, LPARAM lParam) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            SetTimer(dialog, 1, 20, nullptr);
            return TRUE;
        }
        if (message == WM_TIMER) {
            auto* tick = reinterpret_cast<std::function<bool()>*>(GetWindowLongPtrA(dialog, DWLP_USER));
            if ((*tick)()) {
                KillTimer(dialog, 1);
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        }
        return FALSE;
    };
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &tmpl.dialog, owner, proc, reinterpret_cast<LPARAM>(&tick));
}

class PluginLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        suffix = UniqueSuffix();
        names = zvtest::LinkNamesWithSuffix(suffix);
        ASSERT_TRUE(view.Make());
    }
    void TearDown() override
    {
        link.reset();
        view.DestroyWindow();
    }
    void MakeLink() { link = std::make_unique<CPluginLink>(&view, names); }
    std::string Login(const std::string& title, const std::string& address) const
    {
        return "login " + suffix + " " + Quoted(title) + " " + Quoted(address);
    }
    unsigned DatabaseCount() const
    {
        CLinkChangeCounts counts(names.changeCounts);
        return counts.Get(CLinkChangeCounts::kDatabase);
    }

    std::string suffix;
    WebLoginLinkNames names;
    CTestView view;
    std::unique_ptr<CPluginLink> link;
};

TEST_F(PluginLinkTest, WebLoginsReachTheViewWithExactlyTheTextsWritten)
{
    MakeLink();
    const std::string longTitle(259, 't');
    const std::string longAddress = "https://long.example/" + std::string(1039 - 21, 'p');
    struct Case {
        const char* what;
        std::string arguments;
        std::string title, address;
    } cases[] = {
        {"plain", Login("Corvantide Bank - Sign in", "https://bank.example/login?next=home"),
         "Corvantide Bank - Sign in", "https://bank.example/login?next=home"},
        {"empty title", Login("", "https://mail.example/"), "", "https://mail.example/"},
        {"longest texts", Login(longTitle, longAddress), longTitle, longAddress},
        // Over-long and unterminated: every byte of the block is 'Q'.
        {"no terminator", "raw " + suffix + " Q", std::string(259, 'Q'), std::string(1039, 'Q')},
    };
    unsigned expectedCount = DatabaseCount();
    for (const Case& c : cases) {
        const size_t before = view.logins.size();
        ASSERT_EQ(RunPeer(c.arguments), 0u) << c.what;
        ASSERT_TRUE(PumpUntil([&] { return view.logins.size() == before + 1; })) << c.what;
        EXPECT_EQ(view.logins.back().first, c.title) << c.what;
        EXPECT_EQ(view.logins.back().second, c.address) << c.what;
        EXPECT_EQ(view.bringToFront, (int)before + 1) << c.what;
        // Each handled login is announced to the plug-in.
        ++expectedCount;
        EXPECT_TRUE(PumpUntil([&] { return DatabaseCount() == expectedCount; })) << c.what;
    }
    EXPECT_EQ(link->GetWorkerCount(), 1);
}

TEST_F(PluginLinkTest, LoginHandedOverBeforeTheLinkWaitsIsKept)
{
    // The plug-in's own objects, as its band holds them while it lives.
    CSharedMemory pluginMemory(names.sharedMemory);
    CEvent pluginAdded(FALSE, FALSE, names.eventAdded);
    ASSERT_EQ(RunPeer(Login("Early", "https://early.example/")), 0u);
    MakeLink();
    ASSERT_TRUE(PumpUntil([&] { return view.logins.size() == 1; }));
    EXPECT_EQ(view.logins[0].first, "Early");
    EXPECT_EQ(view.logins[0].second, "https://early.example/");
}

TEST_F(PluginLinkTest, LoginDuringModalDialogIsDroppedNotKept)
{
    MakeLink();
    std::unique_ptr<Peer> second;
    bool modalEnded = false;
    view.onAddWebLogin = [&] {
        if (view.logins.size() != 1) return;
        // As the main view does around its record editor.
        link->SetBusy(1);
        const DWORD start = GetTickCount();
        RunModalDialog(view.GetSafeHwnd(), [&] {
            if (!second) second = std::make_unique<Peer>(Login("Second", "https://second.example/"));
            // The second login has come to the front and its worker has ended:
            // the first worker (still inside this message) and the waiting one.
            const bool done = view.bringToFront == 2 && link->GetWorkerCount() == 2;
            return done || GetTickCount() - start > 15000;
        });
        modalEnded = true;
        link->SetBusy(0);
    };
    ASSERT_EQ(RunPeer(Login("First", "https://first.example/")), 0u);
    ASSERT_TRUE(PumpUntil([&] { return modalEnded; }, 20000));
    EXPECT_EQ(view.bringToFront, 2);
    ASSERT_EQ(view.logins.size(), 1u);
    EXPECT_EQ(view.logins[0].first, "First");
    ASSERT_TRUE(second && second->Finished(5000));
    EXPECT_EQ(second->ExitCode(), 0u);

    // Nothing of the dropped login comes later; the next one arrives whole.
    ASSERT_EQ(RunPeer(Login("Third", "https://third.example/")), 0u);
    ASSERT_TRUE(PumpUntil([&] { return view.logins.size() == 2; }));
    EXPECT_EQ(view.logins[1].first, "Third");
    EXPECT_EQ(view.logins[1].second, "https://third.example/");
    EXPECT_EQ(view.bringToFront, 3);
}

TEST_F(PluginLinkTest, DestroyingTheLinkJoinsItsWorkerAndClosesItsObjects)
{
    CEvent pluginAdded(FALSE, FALSE, names.eventAdded);
    MakeLink();
    EXPECT_EQ(link->GetWorkerCount(), 1);
    EXPECT_EQ(link->GetBusy(), 0);
    HANDLE running = OpenEventA(SYNCHRONIZE, FALSE, names.appRunning);
    ASSERT_NE(running, nullptr) << "the plug-in sees the program running";
    CloseHandle(running);

    const DWORD start = GetTickCount();
    link.reset();
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, names.appRunning), nullptr);

    // No thread of the link waits any more: a login stays unclaimed.
    ASSERT_TRUE(pluginAdded.SetEvent());
    Sleep(200);
    EXPECT_TRUE(pluginAdded.Lock(0));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(view.bringToFront, 0);
    EXPECT_TRUE(view.logins.empty());
}

TEST_F(PluginLinkTest, LinkDestroyedWhileItsWorkerTalksToTheViewEndsSafely)
{
    CEvent pluginAdded(FALSE, FALSE, names.eventAdded);
    MakeLink();
    DWORD destroyMs = 0;
    view.onBringToFront = [&] {
        // The view goes while the worker waits for this very message.
        const DWORD start = GetTickCount();
        link.reset();
        destroyMs = GetTickCount() - start;
    };
    ASSERT_EQ(RunPeer(Login("Late", "https://late.example/")), 0u);
    ASSERT_TRUE(PumpUntil([&] { return view.bringToFront == 1; }));
    EXPECT_FALSE(link);
    EXPECT_LE(destroyMs, 2000u);
    // The worker finishes on its own, sends nothing more and lets the named
    // objects go with the last reference.
    EXPECT_TRUE(PumpUntil([&] {
        HANDLE running = OpenEventA(SYNCHRONIZE, FALSE, names.appRunning);
        if (running) CloseHandle(running);
        return running == nullptr;
    }));
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(view.logins.empty());
}

TEST_F(PluginLinkTest, ChangeSignalsReachEveryListeningPlugin)
{
    MakeLink();
    std::vector<std::unique_ptr<Peer>> listeners;
    std::vector<std::unique_ptr<CEvent>> ready;
    for (int i = 0; i < 2; ++i) {
        ready.push_back(std::make_unique<CEvent>(FALSE, TRUE, zvtest::ListenerReadyName(suffix, i).c_str()));
        listeners.push_back(std::make_unique<Peer>("listen " + suffix + " " + std::to_string(i)));
        ASSERT_TRUE(listeners.back()->Started());
    }
    for (auto& event : ready) ASSERT_TRUE(event->Lock(20000));
    link->SignalDatabaseChange();
    link->SignalUserChange();
    for (auto& listener : listeners) {
        ASSERT_TRUE(listener->Finished(30000));
        EXPECT_EQ(listener->ExitCode(), 0u) << "a listener missed a change";
    }
}

}  // namespace
