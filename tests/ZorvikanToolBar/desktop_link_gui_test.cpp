// The plug-in's end of the link against the program's own end in another
// process (desktop_end_peer): a web login handed to a running program, the
// program started when it does not run (a stand-in copied as
// "Zorvikan Desktop.exe") and never started twice while a start is pending,
// a failed start, and the database and user changes the program signals,
// seen by every listener and applied on the window's thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ZorvikanToolBar/link/AppCommunicator.h"
#include "ZorvikanToolBar/res/ToolBarResource.h"
#include "core/link/WebLoginRecord.h"
#include "tests/ZorvikanToolBar/PluginScratchTest.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

const char kLaunchFailed[] =
    "Failed to lauch Zorvikan application, so current weblogin is not added to Zorvikan database";

WebLoginLinkNames NamesWithSuffix(const std::string& suffix)
{
    WebLoginLinkNames names;
    for (CString* name : {&names.appRunning, &names.sharedMemory, &names.eventAdded, &names.dbChange, &names.userChange,
                          &names.changeCounts})
        *name += suffix.c_str();
    return names;
}

bool NamedEventExists(const CString& name)
{
    HANDLE handle = OpenEventA(SYNCHRONIZE, FALSE, name);
    if (handle) CloseHandle(handle);
    return handle != nullptr;
}

CString NoPath() { return CString(); }

// Handles the window's messages until done() or ms have passed.
template <typename Done> bool PumpUntil(DWORD ms, Done done)
{
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (done()) return true;
        if ((LONG)(end - GetTickCount()) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

// A tool bar's window as far as the link sees it: counts the change
// messages and applies them to its communicator there.
class ChangeWindow {
public:
    explicit ChangeWindow(CAppCommunicator& communicator) : m_communicator(communicator)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZvLinkTestChangeWindow";
        RegisterClassA(&wc);
        m_window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
        communicator.SetChangeWindow(m_window);
    }
    ~ChangeWindow()
    {
        m_communicator.SetChangeWindow(nullptr);
        DestroyWindow(m_window);
    }
    int applied = 0;
    int messages = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<ChangeWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_DESKTOP_DATA_CHANGED) {
            ++self->messages;
            if (self->m_communicator.ApplyDesktopChanges()) ++self->applied;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    CAppCommunicator& m_communicator;
    HWND m_window = nullptr;
};

class DesktopLink : public PluginScratchTest {
protected:
    DesktopLink() : PluginScratchTest("plugin-link") {}

    void SetUp() override
    {
        PluginScratchTest::SetUp();
        ASSERT_TRUE(m_registry.IsActive());
        static int run = 0;
        m_suffix = "-tb-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++run);
        m_names = NamesWithSuffix(m_suffix);
        m_log = m_root.Path() / "peer.log";
        SetEnvironmentVariableA("ZV_LINK_SUFFIX", m_suffix.c_str());
        SetEnvironmentVariableA("ZV_PEER_LOG", m_log.string().c_str());
        SetEnvironmentVariableA("ZV_PEER_DELAY_MS", nullptr);
        SetEnvironmentVariableA("ZV_PEER_FAIL", nullptr);
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("ZV_PEER_FAIL", nullptr);
        SetEnvironmentVariableA("ZV_LINK_SUFFIX", nullptr);
        SetEnvironmentVariableA("ZV_PEER_LOG", nullptr);
        SetEnvironmentVariableA("ZV_PEER_DELAY_MS", nullptr);
        PluginScratchTest::TearDown();
    }

    std::vector<std::string> LogLines()
    {
        std::ifstream in(m_log);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    size_t Count(const std::string& line)
    {
        size_t n = 0;
        for (const std::string& l : LogLines()) n += l == line;
        return n;
    }
    bool WaitForLog(const std::string& line, DWORD ms = 20000)
    {
        return PumpUntil(ms, [&] { return Count(line) > 0; });
    }

    // The stand-in program installed where "AppPath" points.
    std::string InstallStandIn()
    {
        fs::path folder = m_root.Path() / "Program";
        fs::create_directories(folder);
        fs::path exe = folder / "Zorvikan Desktop.exe";
        fs::copy_file(zvtest::SiblingExe("desktop_end_peer.exe"), exe, fs::copy_options::overwrite_existing);
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvantide\\Zorvikan Desktop", 0,
                                                 nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
        std::string path = exe.string();
        RegSetValueExA(key, "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
        RegCloseKey(key);
        return path;
    }

    zvtest::ScratchRegistry m_registry;
    // Nowhere else to find the program: the real one beside the tests stays
    // where it is.
    zvtest::ScopedReplace<DesktopPathFinders> m_finders{&SetDesktopPathFinders, DesktopPathFinders{&NoPath, &NoPath}};
    std::string m_suffix;
    WebLoginLinkNames m_names;
    fs::path m_log;
};

TEST_F(DesktopLink, AWebLoginReachesTheRunningProgramWhichSignalsItsChange)
{
    zvtest::ChildProcess program(zvtest::SiblingExe("desktop_end_peer.exe"), "");
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(PumpUntil(10000, [&] { return NamedEventExists(m_names.appRunning); }));

    CAppCommunicator communicator(m_names);
    ChangeWindow window(communicator);
    EXPECT_TRUE(communicator.IsDesktopRunning());
    WebLoginRecord record;
    record.SetTexts("Bank - Sign in", "https://bank.example/login");
    EXPECT_TRUE(communicator.AddCurrentWebLogin(record));
    EXPECT_FALSE(communicator.IsStartPending());

    EXPECT_TRUE(WaitForLog("login Bank - Sign in|https://bank.example/login"));
    // The program took the login in and signalled a database change, which
    // reaches the tool bar's window and is applied there.
    EXPECT_TRUE(PumpUntil(10000, [&] { return window.applied > 0; }));
    EXPECT_TRUE(program.Finished(10000));
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_EQ(1u, Count("start"));
}

TEST_F(DesktopLink, EveryListenerOfEveryWindowSeesEachChange)
{
    CAppCommunicator first(m_names), second(m_names);
    ChangeWindow firstWindow(first), secondWindow(second);
    SetPluginUnlocked(true);

    zvtest::ChildProcess database(zvtest::SiblingExe("desktop_end_peer.exe"), "signal db");
    // One set event wakes one listener; the counts tell the other one.
    EXPECT_TRUE(PumpUntil(10000, [&] { return firstWindow.applied > 0 && secondWindow.applied > 0; }));
    EXPECT_TRUE(database.Finished(10000));
    EXPECT_TRUE(IsPluginUnlocked());  // a database change keeps the unlock

    zvtest::ChildProcess user(zvtest::SiblingExe("desktop_end_peer.exe"), "signal user");
    EXPECT_TRUE(PumpUntil(10000, [&] { return firstWindow.applied > 1 && secondWindow.applied > 1; }));
    EXPECT_TRUE(user.Finished(10000));
    EXPECT_FALSE(IsPluginUnlocked());  // a user change locks
}

TEST_F(DesktopLink, ChangesWithoutAWindowWaitForTheNextUseOfTheData)
{
    CAppCommunicator communicator(m_names);
    SetPluginUnlocked(true);
    zvtest::ChildProcess user(zvtest::SiblingExe("desktop_end_peer.exe"), "signal user");
    EXPECT_TRUE(user.Finished(10000));
    // Seen by the listener, not applied on its thread.
    Sleep(1500);
    EXPECT_TRUE(IsPluginUnlocked());
    EXPECT_TRUE(communicator.ApplyDesktopChanges());
    EXPECT_FALSE(IsPluginUnlocked());
    EXPECT_FALSE(communicator.ApplyDesktopChanges());
}

TEST_F(DesktopLink, StartsTheProgramOnceAndHandsOverTheNewestLoginWhenItRuns)
{
    std::string exe = InstallStandIn();
    SetEnvironmentVariableA("ZV_PEER_DELAY_MS", "1500");
    CAppCommunicator communicator(m_names);
    ASSERT_FALSE(communicator.IsDesktopRunning());

    WebLoginRecord first, second;
    first.SetTexts("First", "https://first.example/");
    second.SetTexts("Second", "https://second.example/");
    EXPECT_TRUE(communicator.AddCurrentWebLogin(first));
    EXPECT_TRUE(communicator.IsStartPending());
    EXPECT_EQ(CString(exe.c_str()), communicator.FindDesktopExecutable());
    // While the start is pending, a second hand-over starts nothing more.
    EXPECT_TRUE(communicator.AddCurrentWebLogin(second));

    EXPECT_TRUE(WaitForLog("login Second|https://second.example/"));
    EXPECT_TRUE(PumpUntil(5000, [&] { return !communicator.IsStartPending(); }));
    EXPECT_EQ(1u, Count("start"));
    EXPECT_EQ(0u, Count("login First|https://first.example/"));
    // Let the program end before its folder goes.
    PumpUntil(3000, [&] { return !NamedEventExists(m_names.appRunning); });
}

TEST_F(DesktopLink, ProgramThatEndsWithoutRunningEndsThePendingStart)
{
    // The stand-in ends before its link exists, as a failed start would.
    InstallStandIn();
    SetEnvironmentVariableA("ZV_PEER_FAIL", "1");
    CAppCommunicator communicator(m_names);
    WebLoginRecord record;
    record.SetTexts("Bank", "https://bank.example/");
    EXPECT_TRUE(communicator.AddCurrentWebLogin(record));
    EXPECT_TRUE(PumpUntil(15000, [&] { return !communicator.IsStartPending(); }));
    EXPECT_FALSE(communicator.IsDesktopRunning());
    // So the next hand-over starts the program again.
    EXPECT_TRUE(communicator.AddCurrentWebLogin(record));
    EXPECT_TRUE(PumpUntil(15000, [&] { return Count("start") == 2 && !communicator.IsStartPending(); }));
}

TEST_F(DesktopLink, AProgramFoundNowhereIsAskedForAndCancellingAddsNothing)
{
    zvtest::ScriptedModal modal;
    modal.AnswerFileName(nullptr);
    modal.AnswerMessageBox(IDOK);
    CAppCommunicator communicator(m_names);
    WebLoginRecord record;
    record.SetTexts("Bank", "https://bank.example/");
    EXPECT_FALSE(communicator.AddCurrentWebLogin(record));
    EXPECT_FALSE(communicator.IsStartPending());
    ASSERT_EQ(1u, modal.FileDialogTitles().size());
    EXPECT_EQ("Select the Zorvikan application file (Zorvikan Desktop.exe)", modal.FileDialogTitles()[0]);
    EXPECT_EQ(std::vector<std::string>{kLaunchFailed}, modal.MessageTexts());
}

TEST_F(DesktopLink, ValidProgramPaths)
{
    fs::path folder = m_root.Path() / "Valid";
    fs::create_directories(folder);
    std::ofstream(folder / "Zorvikan Desktop.exe") << "x";
    std::ofstream(folder / "zorvikan desktop.exe") << "x";
    struct Case {
        std::string path;
        bool valid;
    };
    const Case cases[] = {
        {(folder / "Zorvikan Desktop.exe").string(), true},
        {(folder / "Missing" / "Zorvikan Desktop.exe").string(), false},
        {"Zorvikan Desktop.exe", false},  // not after the first character
        {"", false},
        {(folder / "zorvikan desktop.exe").string(), false},  // another case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.valid, CAppCommunicator::IsValidDesktopPath(c.path.c_str()));
    }
}

TEST_F(DesktopLink, AFoundProgramIsStoredOnlyWhereTheKeyExists)
{
    fs::path folder = m_root.Path() / "Beside";
    fs::create_directories(folder);
    static std::string beside;
    beside = (folder / "Zorvikan Desktop.exe").string();
    std::ofstream(beside) << "x";
    zvtest::ScopedReplace<DesktopPathFinders> finders{
        &SetDesktopPathFinders, DesktopPathFinders{&NoPath, [] { return CString(beside.c_str()); }}};
    {
        CAppCommunicator communicator(m_names);
        EXPECT_EQ(CString(beside.c_str()), communicator.FindDesktopExecutable());
        EXPECT_EQ(CString(), CAppCommunicator::ReadAppPath());  // no key: not stored
    }
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvantide\\Zorvikan Desktop", 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    RegCloseKey(key);
    CAppCommunicator communicator(m_names);
    EXPECT_EQ(CString(beside.c_str()), communicator.FindDesktopExecutable());
    EXPECT_EQ(CString(beside.c_str()), CAppCommunicator::ReadAppPath());
}

}  // namespace
