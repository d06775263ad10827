// The program itself, started as a child process on a scratch data root
// (ZV_DATA_ROOT): it starts from nothing and exits cleanly, restores its
// placement, runs as one copy only (also while the first copy has no window
// yet, as during its log-on) and hands a second start's file path to the
// running copy, and ends at once when started for automation.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/ScratchDir.h"

namespace {

const char kFrameClass[] = "Zorvikan Desktop";
const char kInstanceMutex[] = "Local\\Zorvikan Desktop Instance";
const DWORD kStartTimeout = 60000;

std::string ProgramPath() { return zvtest::SiblingExe("Zorvikan Desktop.exe"); }

void PumpFor(DWORD milliseconds)
{
    const DWORD end = ::GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while ((LONG)(end - ::GetTickCount()) > 0);
}

struct WindowQuery {
    DWORD pid;  // 0: any process
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hWnd, LPARAM lParam)
{
    auto* q = reinterpret_cast<WindowQuery*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char name[256] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if ((q->pid == 0 || q->pid == pid) && std::string(name) == q->className) q->found.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> TopWindows(DWORD pid, const char* className)
{
    WindowQuery q{pid, className, {}};
    ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

BOOL CALLBACK CollectText(HWND hWnd, LPARAM lParam)
{
    char text[512] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    reinterpret_cast<std::string*>(lParam)->append(text).append("\n");
    return TRUE;
}

std::string ChildTexts(HWND hWnd)
{
    std::string all;
    ::EnumChildWindows(hWnd, &CollectText, reinterpret_cast<LPARAM>(&all));
    return all;
}

class Program {
public:
    explicit Program(const std::string& arguments)
    {
        std::string commandLine = "\"" + ProgramPath() + "\"";
        if (!arguments.empty()) commandLine += " " + arguments;
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        std::vector<char> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back('\0');
        m_started =
            ::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != 0;
    }
    ~Program()
    {
        if (!m_started) return;
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_pi.hProcess, 99);
            ::WaitForSingleObject(m_pi.hProcess, 10000);
        }
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }
    bool Started() const { return m_started; }
    DWORD Pid() const { return m_pi.dwProcessId; }
    bool Running() const { return ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }

    // The program's visible main window, once it is there.
    HWND WaitForFrame(DWORD timeout = kStartTimeout) const
    {
        const DWORD end = ::GetTickCount() + timeout;
        while ((LONG)(end - ::GetTickCount()) > 0 && Running()) {
            for (HWND h : TopWindows(Pid(), kFrameClass))
                if (::IsWindowVisible(h)) return h;
            PumpFor(100);
        }
        return nullptr;
    }
    // A message box of the program whose texts hold the given text.
    HWND WaitForMessageBox(const std::string& text, DWORD timeout = kStartTimeout) const
    {
        const DWORD end = ::GetTickCount() + timeout;
        while ((LONG)(end - ::GetTickCount()) > 0 && Running()) {
            for (HWND h : TopWindows(Pid(), "#32770"))
                if (ChildTexts(h).find(text) != std::string::npos) return h;
            PumpFor(100);
        }
        return nullptr;
    }
    // Waits for the end, answering messages sent to this process meanwhile.
    bool WaitForExit(DWORD& code, DWORD timeout = kStartTimeout) const
    {
        const DWORD end = ::GetTickCount() + timeout;
        while ((LONG)(end - ::GetTickCount()) > 0) {
            DWORD rc = ::MsgWaitForMultipleObjects(1, &m_pi.hProcess, FALSE, 50, QS_ALLINPUT);
            if (rc == WAIT_OBJECT_0) return ::GetExitCodeProcess(m_pi.hProcess, &code) != 0;
            PumpFor(0);
        }
        return false;
    }

private:
    PROCESS_INFORMATION m_pi{};
    bool m_started = false;
};

std::string ReadIni(const std::filesystem::path& ini, const char* section, const char* key)
{
    char value[256] = {};
    ::GetPrivateProfileStringA(section, key, "", value, sizeof(value), ini.string().c_str());
    return value;
}

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::SetEnvironmentVariableA("ZV_DATA_ROOT", m_root.Path().string().c_str());
        ::SetEnvironmentVariableA("ZV_STANDIN", nullptr);
        ASSERT_TRUE(TopWindows(0, kFrameClass).empty()) << "a copy of the program is already running";
        // Past the first start, whose setup wizard has a test of its own.
        std::filesystem::create_directories(m_root / "Preferences");
        ::WritePrivateProfileStringA("Preferences iPhone", "Virgin Sync", "1", Ini().string().c_str());
    }
    void TearDown() override { ::SetEnvironmentVariableA("ZV_DATA_ROOT", nullptr); }

    std::filesystem::path Ini() const { return m_root / "Preferences" / "Preferences.ini"; }

    zvtest::ScratchDir m_root{"zvrun"};
};

TEST_F(ProgramRun, StartsFromNothingShowsItsFrameAndExitsCleanly)
{
    Program program("");
    ASSERT_TRUE(program.Started());
    HWND frame = program.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    // The caption names the program and, once the main view is up, its user.
    char title[64] = {};
    ::GetWindowTextA(frame, title, sizeof(title));
    EXPECT_STREQ("Zorvikan Desktop - Standalone", title);
    EXPECT_NE(nullptr, ::GetDlgItem(frame, 0xE801));  // the status bar
    EXPECT_NE(nullptr, ::GetMenu(frame));

    // The default user, its folder, its database and the preferences file
    // exist now.
    EXPECT_TRUE(std::filesystem::is_directory(m_root / "_Standalone_"));
    EXPECT_GT(std::filesystem::file_size(m_root / "_Standalone_" / "ZorvikanDatabase.zdb"), 44u);
    ASSERT_TRUE(std::filesystem::exists(Ini()));
    EXPECT_EQ("_Standalone_", ReadIni(Ini(), "Preferences iPhone", "Current User"));
    EXPECT_EQ("Standalone", ReadIni(Ini(), "User-Standalone-_Standalone_-Standalone", "DisplayName"));

    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(program.WaitForExit(code));
    EXPECT_EQ(0u, code);
    // The placement was saved on the way out.
    EXPECT_EQ(24u, ReadIni(Ini(), "User-Standalone-_Standalone_-Standalone", "Winpos").size());
}

// The key as the keyboard gives it, to the wizard in the foreground.
void PressEscape(HWND wizard)
{
    ::SetForegroundWindow(wizard);
    PumpFor(200);
    ::keybd_event(VK_ESCAPE, 0, 0, 0);
    ::keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
}

TEST_F(ProgramRun, TheFirstStartShowsTheSetupWizardAndItsCancelEndsTheStart)
{
    for (const bool escape : {false, true}) {
        ::WritePrivateProfileStringA("Preferences iPhone", "Virgin Sync", nullptr, Ini().string().c_str());
        Program program("");
        ASSERT_TRUE(program.Started());
        HWND wizard = nullptr;
        const DWORD end = ::GetTickCount() + kStartTimeout;
        while (!wizard && (LONG)(end - ::GetTickCount()) > 0 && program.Running()) {
            for (HWND h : TopWindows(program.Pid(), "#32770")) {
                char title[64] = {};
                ::GetWindowTextA(h, title, sizeof(title));
                if (std::string(title) == "Zorvikan Setup Wizard") wizard = h;
            }
            PumpFor(100);
        }
        ASSERT_NE(nullptr, wizard) << escape;
        EXPECT_TRUE(TopWindows(program.Pid(), kFrameClass).empty()) << escape;
        // Esc is the Cancel of the keyboard, also on the second page, where
        // the Next button that had the focus is disabled.
        if (escape) {
            ::PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
            PumpFor(500);
            PressEscape(wizard);
        } else
            ::PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        DWORD code = 0;
        ASSERT_TRUE(program.WaitForExit(code)) << escape;
        EXPECT_TRUE(TopWindows(program.Pid(), kFrameClass).empty()) << escape;
        // Not done: the wizard comes again at the next start.
        EXPECT_EQ("", ReadIni(Ini(), "Preferences iPhone", "Virgin Sync")) << escape;
    }
}

TEST_F(ProgramRun, RestoresItsPlacementAndStatusBar)
{
    std::filesystem::create_directories(m_root / "Preferences");
    const std::string ini = Ini().string();
    ::WritePrivateProfileStringA("Preferences iPhone", "Show Status bar", "1", ini.c_str());
    ::WritePrivateProfileStringA("User-Standalone-_Standalone_-Standalone", "DisplayName", "Standalone", ini.c_str());
    ::WritePrivateProfileStringA("User-Standalone-_Standalone_-Standalone", "Winpos", "0020 0030 0500 0400 0000",
                                 ini.c_str());
    for (const char* args : {"", "/rl"}) {
        Program program(args);
        HWND frame = program.WaitForFrame();
        ASSERT_NE(nullptr, frame) << args;
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(frame, 0xE801))) << args;
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        ASSERT_TRUE(::GetWindowPlacement(frame, &wp));
        const int shift = std::string(args) == "/rl" ? 30 : 0;
        EXPECT_EQ(20 + shift, wp.rcNormalPosition.left) << args;
        EXPECT_EQ(30 + shift, wp.rcNormalPosition.top) << args;
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD code = 1;
        ASSERT_TRUE(program.WaitForExit(code));
        EXPECT_EQ(0u, code);
    }
}

TEST_F(ProgramRun, RestoresAMaximizedWindow)
{
    std::filesystem::create_directories(m_root / "Preferences");
    const std::string ini = Ini().string();
    ::WritePrivateProfileStringA("User-Standalone-_Standalone_-Standalone", "DisplayName", "Standalone", ini.c_str());
    ::WritePrivateProfileStringA("User-Standalone-_Standalone_-Standalone", "Winpos", "0010 0020 0300 0250 0001",
                                 ini.c_str());
    Program program("");
    HWND frame = program.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(::IsZoomed(frame));
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(program.WaitForExit(code));
    EXPECT_EQ(0u, code);
    // Stored again as maximised, with its restored rectangle.
    std::string winpos = ReadIni(Ini(), "User-Standalone-_Standalone_-Standalone", "Winpos");
    EXPECT_EQ("0001", winpos.substr(winpos.size() - 4));
}

TEST_F(ProgramRun, SecondStartHandsItsFileToTheRunningCopy)
{
    Program first("");
    HWND frame = first.WaitForFrame();
    ASSERT_NE(nullptr, frame);

    Program second("\"C:\\My Data\\export file.zkv\"");
    ASSERT_TRUE(second.Started());
    HWND question = first.WaitForMessageBox("Do you want to import the file export file.zkv?");
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(1u, TopWindows(0, kFrameClass).size());
    ::PostMessageA(question, WM_COMMAND, IDNO, 0);

    DWORD code = 0;
    ASSERT_TRUE(second.WaitForExit(code));
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(1u, TopWindows(0, kFrameClass).size());

    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(code));
    EXPECT_EQ(0u, code);
}

// The running copy is still at its log-on: it holds the mutex but has no
// main window yet. Here this test plays that copy.
class RunningCopyAtLogOn : public ProgramRun {
protected:
    void SetUp() override
    {
        ProgramRun::SetUp();
        m_mutex = ::CreateMutexA(nullptr, TRUE, kInstanceMutex);
        ASSERT_NE(nullptr, m_mutex);
        ASSERT_NE((DWORD)ERROR_ALREADY_EXISTS, ::GetLastError());
    }
    void TearDown() override
    {
        if (m_window) ::DestroyWindow(m_window);
        ReleaseMutexNow();
        ProgramRun::TearDown();
    }
    void ReleaseMutexNow()
    {
        if (!m_mutex) return;
        ::ReleaseMutex(m_mutex);
        ::CloseHandle(m_mutex);
        m_mutex = nullptr;
    }
    // The main window appears once the log-on is passed.
    void ShowMainWindow()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &RunningCopyAtLogOn::Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kFrameClass;
        ::RegisterClassA(&wc);
        m_window = ::CreateWindowExA(0, kFrameClass, "Zorvikan Desktop", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                     nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_COPYDATA) {
            auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lParam);
            s_received.assign(static_cast<const char*>(cds->lpData), cds->cbData);
            s_id = cds->dwData;
            return TRUE;
        }
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }

    HANDLE m_mutex = nullptr;
    HWND m_window = nullptr;
    static std::string s_received;
    static ULONG_PTR s_id;
};
std::string RunningCopyAtLogOn::s_received;
ULONG_PTR RunningCopyAtLogOn::s_id = 99;

TEST_F(RunningCopyAtLogOn, SecondStartWaitsThenHandsOverItsFile)
{
    // This start never gets as far as the preferences.
    std::filesystem::remove(Ini());
    Program second("C:\\Data\\export.zkv");
    ASSERT_TRUE(second.Started());
    PumpFor(3000);
    EXPECT_TRUE(second.Running());
    EXPECT_TRUE(TopWindows(second.Pid(), kFrameClass).empty());

    ShowMainWindow();
    ASSERT_NE(nullptr, m_window);
    DWORD code = 0;
    ASSERT_TRUE(second.WaitForExit(code));
    EXPECT_EQ(0u, s_id);
    EXPECT_EQ(std::string("C:\\Data\\export.zkv") + '\0', s_received);
    EXPECT_FALSE(std::filesystem::exists(Ini()));  // it never started up
}

TEST_F(RunningCopyAtLogOn, SecondStartRunsWhenTheFirstGivesUp)
{
    Program second("");
    PumpFor(3000);
    EXPECT_TRUE(second.Running());
    EXPECT_TRUE(TopWindows(second.Pid(), kFrameClass).empty());

    ReleaseMutexNow();  // the first copy's log-on was cancelled
    HWND frame = second.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(second.WaitForExit(code));
    EXPECT_EQ(0u, code);
}

TEST_F(ProgramRun, PlatformFailuresEndTheStartWithAMessage)
{
    struct Case {
        const char* standin;
        const char* text;
    } cases[] = {
        {"init=0x1f", "There was an error initializing the platform manager. Try reinstalling Zorvikan Desktop. (1f)"},
        {"name=", "There was an error getting the platform name. Try reinstalling Zorvikan Desktop."},
    };
    for (const Case& c : cases) {
        ::SetEnvironmentVariableA("ZV_STANDIN", c.standin);
        Program program("");
        HWND box = program.WaitForMessageBox(c.text);
        ::SetEnvironmentVariableA("ZV_STANDIN", nullptr);
        ASSERT_NE(nullptr, box) << c.standin;
        EXPECT_TRUE(TopWindows(program.Pid(), kFrameClass).empty());
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        DWORD code = 0;
        EXPECT_TRUE(program.WaitForExit(code)) << c.standin;
    }
}

std::string FileBytes(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::string();
    std::string bytes(static_cast<size_t>(std::filesystem::file_size(path)), '\0');
    FILE* file = _wfopen(path.wstring().c_str(), L"rb");
    if (!file) return std::string();
    bytes.resize(fread(&bytes[0], 1, bytes.size(), file));
    fclose(file);
    return bytes;
}

// A platform that keeps its users' data in a folder of its own (kind 0): the
// start brings the data from there into the user's folder, which the main
// view opens, and never moves the user's database away from it.
TEST_F(ProgramRun, APlatformFolderComesIntoTheUsersFolderAtTheStart)
{
    const std::string sample = FileBytes(zvtest::FixturePath("db/sample.zdb"));
    ASSERT_GT(sample.size(), 44u);
    const std::filesystem::path userFolder = m_root / "bob";
    const std::filesystem::path platformFolder = m_root / "platform" / "bob";
    const std::string standin = "kind=0;root=" + (m_root / "platform").string();
    struct Case {
        const char* what;
        std::filesystem::path placedIn;
    } cases[] = {{"in the user's folder", userFolder}, {"in the platform's folder", platformFolder}};
    for (const Case& c : cases) {
        std::filesystem::remove_all(userFolder);
        std::filesystem::remove_all(platformFolder);
        std::filesystem::create_directories(c.placedIn);
        std::filesystem::copy_file(zvtest::FixturePath("db/sample.zdb"), c.placedIn / "ZorvikanDatabase.zdb");
        ::WritePrivateProfileStringA("User-iPhone-bob-Bob", "DisplayName", "Bob", Ini().string().c_str());
        ::WritePrivateProfileStringA("Preferences iPhone", "Current User", "bob", Ini().string().c_str());
        ::SetEnvironmentVariableA("ZV_STANDIN", standin.c_str());
        Program program("");
        ::SetEnvironmentVariableA("ZV_STANDIN", nullptr);
        ASSERT_TRUE(program.Started());
        HWND frame = program.WaitForFrame();
        ASSERT_NE(nullptr, frame) << c.what;
        char title[64] = {};
        ::GetWindowTextA(frame, title, sizeof(title));
        EXPECT_STREQ("Zorvikan Desktop - Bob", title) << c.what;
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD code = 1;
        EXPECT_TRUE(program.WaitForExit(code)) << c.what;
        // The sample's records are where the view opened them, and nothing
        // is left behind in the platform's folder.
        EXPECT_TRUE(sample == FileBytes(userFolder / "ZorvikanDatabase.zdb")) << c.what;
        EXPECT_FALSE(std::filesystem::exists(platformFolder / "ZorvikanDatabase.zdb")) << c.what;
    }
}

TEST_F(ProgramRun, AutomationStartEndsAtOnce)
{
    for (const char* args : {"/Embedding", "-Automation"}) {
        Program program(args);
        ASSERT_TRUE(program.Started());
        DWORD code = 0;
        EXPECT_TRUE(program.WaitForExit(code)) << args;
        EXPECT_TRUE(TopWindows(program.Pid(), kFrameClass).empty()) << args;
    }
}

}  // namespace
