// CAppCommunicator's end of the link with the program. The signalling is the
// one the program's end documents: the web login is written whole and then
// the added-event is set (never pulsed, never reset, so the program's worker
// takes it whenever it next waits); the program raises the shared change
// counts and sets the change events, and each listener here waits with a
// one-second time-out, compares the count it last acted on and has the data
// read again when the count moved. Threads end through the stop event and
// are joined.
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include "ZorvikanToolBar/com/ToolBarModule.h"
#include "ZorvikanToolBar/link/AppCommunicator.h"
#include "ZorvikanToolBar/link/DesktopData.h"
#include "ZorvikanToolBar/res/ToolBarResource.h"
#include "core/link/LinkChangeCounts.h"
#include "core/link/SharedMemory.h"
#include "core/link/WebLoginRecord.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "framework/CEvent.h"
#include "framework/ModalSeam.h"

namespace {

const char kDesktopFileName[] = "Zorvikan Desktop.exe";
const char kAppPathKey[] = "Software\\Corvantide\\Zorvikan Desktop";
const char kLaunchFailed[] =
    "Failed to lauch Zorvikan application, so current weblogin is not added to Zorvikan database";
const DWORD kPollMilliseconds = 1000;

enum ChangeBits { kDatabaseChanged = 1, kUserChanged = 2 };

bool NamedEventExists(const char* name)
{
    HANDLE handle = CreateEventA(nullptr, FALSE, FALSE, name);
    bool existed = handle && GetLastError() == ERROR_ALREADY_EXISTS;
    if (handle) CloseHandle(handle);
    return existed;
}

DesktopPathFinders g_finders = {&CAppCommunicator::GetInstalledDesktopPath,
                                &CAppCommunicator::GetModuleFolderDesktopPath};

}  // namespace

DesktopPathFinders SetDesktopPathFinders(DesktopPathFinders finders)
{
    DesktopPathFinders old = g_finders;
    g_finders = finders;
    return old;
}

struct CAppCommunicator::Link {
    explicit Link(const WebLoginLinkNames& linkNames)
        : names(linkNames), memory(linkNames.sharedMemory), eventAdded(FALSE, FALSE, linkNames.eventAdded),
          counts(linkNames.changeCounts), stop(FALSE, TRUE)
    {}
    ~Link()
    {
        if (process) CloseHandle(process);
    }

    WebLoginLinkNames names;
    CSharedMemory memory;
    // Closed without a reset: a login set but not yet taken stays signalled.
    CEvent eventAdded;
    CLinkChangeCounts counts;
    CEvent stop;  // manual reset: every thread of the link sees it

    std::atomic<HWND> window{nullptr};
    std::atomic<int> changes{0};
    std::thread databaseListener;
    std::thread userListener;

    // Guards the pending start and the block while a start hands over.
    std::mutex startLock;
    bool startPending = false;
    std::thread startWait;
    HANDLE process = nullptr;  // the program started last

    // One listener: sees every change the program counts, whether or not it
    // was the one the event woke.
    void Listen(const CString& eventName, CLinkChangeCounts::Kind kind, int bit)
    {
        CEvent event(FALSE, FALSE, eventName);
        unsigned last = counts.Get(kind);
        HANDLE handles[2] = {stop.GetHandle(), event.GetHandle()};
        DWORD count = handles[1] ? 2 : 1;
        for (;;) {
            if (WaitForMultipleObjects(count, handles, FALSE, kPollMilliseconds) == WAIT_OBJECT_0) return;
            unsigned now = counts.Get(kind);
            if (now == last) continue;
            last = now;
            changes |= bit;
            HWND target = window;
            if (target) PostMessageA(target, WM_DESKTOP_DATA_CHANGED, 0, 0);
        }
    }

    // After a start: polls until the program's running-event exists, then
    // sets the added-event. Ends without it when the link stops or when the
    // started program ended without ever running.
    void WaitForStart()
    {
        for (;;) {
            if (NamedEventExists(names.appRunning)) break;
            HANDLE handles[2] = {stop.GetHandle(), process};
            DWORD woke = WaitForMultipleObjects(process ? 2 : 1, handles, FALSE, kPollMilliseconds);
            if (woke == WAIT_OBJECT_0) return EndStart(false);
            if (woke == WAIT_OBJECT_0 + 1 && !NamedEventExists(names.appRunning)) return EndStart(false);
        }
        EndStart(true);
    }

    void EndStart(bool running)
    {
        std::lock_guard<std::mutex> guard(startLock);
        startPending = false;
        if (running) eventAdded.SetEvent();
    }

    void JoinStartWait()
    {
        if (startWait.joinable()) startWait.join();
    }
};

std::shared_ptr<CAppCommunicator::Link> MakeLink(const WebLoginLinkNames& names)
{
    return std::make_shared<CAppCommunicator::Link>(names);
}

void CAppCommunicator::StartLink()
{
    Link& link = *m_link;
    link.stop.ResetEvent();
    if (!link.databaseListener.joinable())
        link.databaseListener =
            std::thread(&Link::Listen, &link, link.names.dbChange, CLinkChangeCounts::kDatabase, kDatabaseChanged);
    if (!link.userListener.joinable())
        link.userListener =
            std::thread(&Link::Listen, &link, link.names.userChange, CLinkChangeCounts::kUser, kUserChanged);
}

void CAppCommunicator::StopLink()
{
    Link& link = *m_link;
    link.stop.SetEvent();
    if (link.databaseListener.joinable()) link.databaseListener.join();
    if (link.userListener.joinable()) link.userListener.join();
    link.JoinStartWait();
}

void CAppCommunicator::SetChangeWindow(HWND window) { m_link->window = window; }

bool CAppCommunicator::ApplyDesktopChanges()
{
    int changes = m_link->changes.exchange(0);
    if (!changes) return false;
    if (changes & kUserChanged) {
        SetPluginUnlocked(false);
        m_password.Empty();
    }
    Data().ReloadForCurrentUser();
    return true;
}

bool CAppCommunicator::IsDesktopRunning() const { return NamedEventExists(m_link->names.appRunning); }

bool CAppCommunicator::IsStartPending() const
{
    std::lock_guard<std::mutex> guard(m_link->startLock);
    return m_link->startPending;
}

bool CAppCommunicator::AddCurrentWebLogin(const WebLoginRecord& record)
{
    Link& link = *m_link;
    {
        std::lock_guard<std::mutex> guard(link.startLock);
        if (link.startPending) {
            // The start under way hands over what the block holds then.
            link.memory.Write(&record);
            return true;
        }
    }
    link.JoinStartWait();
    if (IsDesktopRunning()) {
        link.memory.Write(&record);
        link.eventAdded.SetEvent();
        return true;
    }
    if (!LaunchDesktop(CString())) {
        AfxGetModalSeam().MessageBox(nullptr, kLaunchFailed, "Zorvikan", MB_OK);
        return false;
    }
    std::lock_guard<std::mutex> guard(link.startLock);
    link.memory.Write(&record);
    link.startPending = true;
    try {
        link.startWait = std::thread(&Link::WaitForStart, &link);
    } catch (...) {
        link.startPending = false;
        return false;
    }
    return true;
}

bool CAppCommunicator::LaunchDesktop(const CString& commandLine)
{
    CString path = FindDesktopExecutable();
    if (path.IsEmpty()) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // CreateProcess may write into the command line.
    CString line = commandLine;
    char* arguments = line.IsEmpty() ? nullptr : line.GetBuffer(line.GetLength() + 1);
    BOOL started = CreateProcessA(path, arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
    if (!started) return false;
    CloseHandle(info.hThread);
    if (m_link->process) CloseHandle(m_link->process);
    m_link->process = info.hProcess;
    return true;
}

bool CAppCommunicator::IsValidDesktopPath(const CString& path)
{
    if (path.IsEmpty()) return false;
    const char* found = std::strstr(path.GetString() + 1, kDesktopFileName);
    return found && FileExists(path);
}

CString CAppCommunicator::FindDesktopExecutable()
{
    if (IsValidDesktopPath(m_desktopPath)) return m_desktopPath;
    m_desktopPath = ReadAppPath();
    if (IsValidDesktopPath(m_desktopPath)) return m_desktopPath;
    CString (*const found[])() = {g_finders.installed, g_finders.moduleFolder, &BrowseForDesktopExecutable};
    for (auto candidate : found) {
        m_desktopPath = candidate();
        if (IsValidDesktopPath(m_desktopPath)) {
            SaveAppPath(m_desktopPath);
            return m_desktopPath;
        }
    }
    m_desktopPath.Empty();
    return CString();
}

CString CAppCommunicator::ReadAppPath()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kAppPathKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return CString();
    char buffer[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH, type = 0;
    LONG result = RegQueryValueExA(key, "AppPath", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return CString();
    return CString(buffer);
}

void CAppCommunicator::SaveAppPath(const CString& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kAppPathKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.GetString()),
                   static_cast<DWORD>(path.GetLength() + 1));
    RegCloseKey(key);
}

CString CAppCommunicator::GetInstalledDesktopPath()
{
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, folder))) return CString();
    return JoinPath(JoinPath(JoinPath(folder, "Corvantide"), "Zorvikan"), kDesktopFileName);
}

CString CAppCommunicator::GetModuleFolderDesktopPath()
{
    CString module = CZorvikanToolBarModule::ModulePath();
    int slash = module.ReverseFind('\\');
    return module.Left(slash + 1) + kDesktopFileName;
}

CString CAppCommunicator::BrowseForDesktopExecutable()
{
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrTitle = "Select the Zorvikan application file (Zorvikan Desktop.exe)";
    ofn.lpstrFilter = "*.exe\0*.exe\0";
    ofn.lpstrDefExt = kDesktopFileName;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!AfxGetModalSeam().GetFileName(ofn, TRUE)) return CString();
    return CString(file);
}
