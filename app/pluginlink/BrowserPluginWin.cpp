#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstring>

#include "app/pluginlink/BrowserPlugin.h"
#include "core/os/FileUtils.h"
#include "core/winui/InstallerPrompts.h"
#include "core/os/PathUtils.h"
#include "core/prefs/ProductNames.h"

namespace {

const char kBrowserExe[] = "iexplore.exe";

bool IsBrowserExe(const char* exeFile)
{
    const char* name = std::strrchr(exeFile, '\\');
    name = name ? name + 1 : exeFile;
    return ::lstrcmpiA(name, kBrowserExe) == 0;
}

// Calls visit(process id) for every browser process in a snapshot.
template <typename Visit> void ForEachBrowserProcess(Visit visit)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        if (IsBrowserExe(entry.szExeFile) && !visit(entry.th32ProcessID)) break;
    }
    ::CloseHandle(snapshot);
}

}  // namespace

CString GetBrowserPluginPath()
{
    CString folder = GetAppDirectory();
    if (folder.IsEmpty()) return CString();
    return folder + kBrowserPluginFileName;
}

int RegisterBrowserPlugin(int silent, int install)
{
    return RegisterBrowserPluginFile(GetBrowserPluginPath(), silent, install);
}

int RegisterBrowserPluginFile(const CString& pluginPath, int silent, int install)
{
    if (pluginPath.IsEmpty() || !FileExists(pluginPath)) return 0;
    CString parameters = BrowserPluginRegisterParameters(pluginPath, silent != 0, install != 0);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = "regsvr32";
    info.lpParameters = parameters;
    info.nShow = SW_HIDE;
    if (!::ShellExecuteExA(&info) || !info.hProcess) return 0;
    // The tool's exit code is the only word on whether the plug-in's own
    // registration succeeded; a failure must not read as installed.
    WaitForProcessPumping(info.hProcess);
    DWORD code = STILL_ACTIVE;
    if (!::GetExitCodeProcess(info.hProcess, &code)) code = STILL_ACTIVE;
    ::CloseHandle(info.hProcess);
    return code == 0 ? 1 : 0;
}

int IsInternetExplorerRunning()
{
    int running = 0;
    ForEachBrowserProcess([&](DWORD) {
        running = 1;
        return false;
    });
    return running;
}

void RestartInternetExplorer()
{
    ForEachBrowserProcess([](DWORD processId) {
        HANDLE process = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
        if (process) {
            DWORD code = 0;
            ::GetExitCodeProcess(process, &code);
            ::TerminateProcess(process, code);
            ::CloseHandle(process);
        }
        return true;
    });
    StartInternetExplorer();
}

void StartInternetExplorer()
{
    char programFiles[MAX_PATH] = "";
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles)))
        programFiles[0] = '\0';
    CString path = JoinPath(JoinPath(CString(programFiles), "Internet Explorer"), kBrowserExe);
    char commandLine[1] = "";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (::CreateProcessA(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}
