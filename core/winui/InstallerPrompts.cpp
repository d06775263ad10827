#include "core/winui/InstallerPrompts.h"

#include <shellapi.h>

#include <vector>

#include "core/prefs/AppPrefMgr.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/prefs/ProductNames.h"
#include "framework/ModalSeam.h"
#include "framework/WinApp.h"

namespace {

const char kInstallerFilter[] = "Installer Files (*.msi)|*.msi|Executables (*.exe)|*.exe||";

bool HasExtension(const CString& path, const char* extension)
{
    return GetExtensionOfPath(path).CompareNoCase(extension) == 0;
}

// Yes, No and the stop icon.
bool AskYesNo(HWND parent, const char* question)
{
    return AfxGetModalSeam().MessageBox(parent, question, AfxGetAppName(), MB_YESNO | MB_ICONSTOP) == IDYES;
}

}  // namespace

CString ChooseInstallerFile(HWND parent, const CString& filter, const CString& title)
{
    std::vector<char> filterText(filter.GetString(), filter.GetString() + filter.GetLength() + 1);
    for (char& c : filterText)
        if (c == '|') c = '\0';
    filterText.push_back('\0');
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = parent;
    ofn.lpstrFilter = filterText.data();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!AfxGetModalSeam().GetFileName(ofn, TRUE)) return CString();
    return CString(file);
}

void WaitForProcessPumping(HANDLE process)
{
    for (;;) {
        DWORD woke = ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) return;  // ended, or the handle cannot be waited on
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(int(msg.wParam));
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

bool ShellOpenAndWait(const CString& path)
{
    if (path.IsEmpty() || path.GetLength() >= MAX_PATH) return false;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    info.lpFile = path;
    info.nShow = SW_HIDE;
    if (!::ShellExecuteExA(&info) || !info.hProcess) return false;
    WaitForProcessPumping(info.hProcess);
    ::CloseHandle(info.hProcess);
    return true;
}

bool RunProcessAndWait(const CString& path)
{
    if (path.IsEmpty()) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(path, nullptr, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) return false;
    WaitForProcessPumping(process.hProcess);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return true;
}

bool RunInstallerAndWait(const CString& path)
{
    if (path.IsEmpty()) return false;
    if (HasExtension(path, "msi")) return ShellOpenAndWait(path);
    if (HasExtension(path, "exe")) return RunProcessAndWait(path);
    return false;
}

CString CAppPrefMgr::LocateBonjourInstaller(HWND parent)
{
    if (IsRemovable()) {
        CString path = JoinPath(JoinPath(GetDataRoot(), kInstallersFolderName), "Bonjour.msi");
        return FileExists(path) ? path : CString();
    }
    return ChooseInstallerFile(parent, kInstallerFilter, "Select the Bonjour installer file");
}

CString CAppPrefMgr::LocateWebUpdateInstaller(HWND parent)
{
    if (IsRemovable()) {
        CString path = JoinPath(JoinPath(GetDataRoot(), kInstallersFolderName), "wuwinstaller.exe");
        return FileExists(path) ? path : CString();
    }
    return ChooseInstallerFile(parent, kInstallerFilter,
                               "Please select the webupdate installer file to install the applcation");
}

int CAppPrefMgr::OfferBonjourInstall(HWND parent, const CString& installerPath)
{
    if (!AskYesNo(parent, "Bonjour service is not installed to the system, would like to install it now?")) return 0;
    CString installer = installerPath.IsEmpty() ? LocateBonjourInstaller(parent) : installerPath;
    return RunInstallerAndWait(installer) ? 1 : 0;
}

int CAppPrefMgr::OfferWebUpdateInstall(HWND parent, const CString& installerPath)
{
    if (!AskYesNo(parent,
                  "Webupdate software not installed to update the application, Would you like to install it now?"))
        return 0;
    CString installer = installerPath.IsEmpty() ? LocateWebUpdateInstaller(parent) : installerPath;
    return RunInstallerAndWait(installer) ? 1 : 0;
}
