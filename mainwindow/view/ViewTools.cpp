// The main view's small commands that hand work elsewhere: e-mail of
// records, the exchange folder export, installation to a removable disk,
// the update check, the browser plug-in's registration and the user guide;
// and the two answers the import and export rely on.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <windows.h>

#include "app/AppIds.h"
#include "app/install/RemovableDiskInstaller.h"
#include "app/logon/GetExportPasswordDlg.h"
#include "app/pluginlink/BrowserPlugin.h"
#include "app/res/ExchangeRes.h"
#include "app/res/Resource.h"
#include "app/services/ExchangeService.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefMgr.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"

namespace {

const int kFormatZkv3 = 4;
const int kFormatZkvFolder = 5;

const char kMailSubject[] = "Exported File";
// The web-update library, and its entry that is handed the address of the
// update information on the update server (string IDS_UPDATE_ADDRESS).
const char kWebUpdateLibrary[] = "wuw4.dll";
const char kWebUpdateEntry[] = "WebUpdate";
const char kProductWebPage[] = "http://www.corvantide.com/zorvikan/";

// The web-update library's entry: the address as a zero-terminated string.
typedef void (*WebUpdateFn)(const char* address);

}  // namespace

// ---- E-mail and the exchange folder export ------------------------------------------

void CZorvikanDesktopView::OnEmailItems()
{
    IExchangeService* service = GetExchangeService();
    if (!service) return;
    IExchangeService::ExportScope choice;
    choice.email = true;
    m_pluginLink.SetBusy(1);
    const bool chosen = service->AskExportScope(
        this, kFormatZkvFolder, [this](int scope) { return HasAttachmentInScope(scope); }, choice);
    m_pluginLink.SetBusy(0);
    if (!chosen) return;
    const bool withAttachments = choice.withAttachments && choice.hasAttachments;
    const int format = withAttachments ? kFormatZkvFolder : kFormatZkv3;

    const CString temp = CAppPrefMgr::GetTempDirectory();
    if (temp.IsEmpty()) return;
    // The typed name stays a name inside the temporary folder.
    const CString target = JoinPath(temp, MakeSafeFileName(choice.name) + ".zkv");

    CGetExportPasswordDlg password(nullptr);
    if (password.DoModal() != IDOK) return;
    BlowfishKeyPtr cipher;
    if (!password.m_strPassword.IsEmpty()) cipher = MakeBlowfishKey(password.m_strPassword);

    // What an earlier mail left behind must not travel with this one.
    if (PathExists(target)) DeletePathSilently(target, m_hWnd);
    CUserItem* user = CurrentUser();
    const CString attachments = user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString();
    const unsigned failure = service->WriteExport(m_database, format, RecordsInScope(choice.scope), withAttachments,
                                                  target, cipher.get(), attachments);
    cipher.reset();
    if (failure != 0) {
        AfxMessageBox(service->MessageText(failure), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CString sent = target;
    if (format == kFormatZkvFolder) {
        // Never hand the mail program a missing or half-written archive.
        if (!service->ZipExportFolder(target)) {
            AfxMessageBox(IDS_EXPORT_WRITE_FAILED, MB_OK | MB_ICONEXCLAMATION);
            DeletePathSilently(temp, m_hWnd);
            return;
        }
        sent = target + ".zip";
    }
    service->SendFileByMail(m_hWnd, sent, kMailSubject);
    DeletePathSilently(temp, m_hWnd);
}

void CZorvikanDesktopView::OnExportZkvFolder() { ExportWithDialog(kFormatZkvFolder, IDS_EXPORT_FILTER_ZKV); }

bool CZorvikanDesktopView::HasAttachmentInScope(int scope)
{
    if (scope < 0 || scope > 2) return false;
    for (const CRecord* record : RecordsInScope(scope))
        if (record->HasAttachment()) return true;
    return false;
}

void CZorvikanDesktopView::LogAllRecordsDeleted()
{
    CZorvikanDesktopApp* app = App();
    if (!app) return;
    // Records deleted before were reported then; they are not logged twice.
    for (POSITION pos = m_database.GetRecords().GetHeadPosition(); pos;) {
        CRecord* record = dynamic_cast<CRecord*>(static_cast<CObject*>(m_database.GetRecords().GetNext(pos)));
        if (record && !record->IsDeleted()) app->OnRecordDeleted(record);
    }
}

// ---- Installation, updates, the plug-in, the guide ----------------------------------

void CZorvikanDesktopView::OnInstallToRemovable()
{
    // The installer asks for the target and copies on its own thread.
    StartRemovableDiskInstall(CurrentUser());
}

void CZorvikanDesktopView::OnCheckForUpdates() { CheckForUpdates(true); }

void CZorvikanDesktopView::CheckForUpdates(bool interactive)
{
    // By full path from the program's folder only: a library of that name
    // elsewhere on the search path is never run.
    const CString path = JoinPath(GetAppDirectory(), kWebUpdateLibrary);
    // Stays loaded: the library goes on working after its entry returns.
    if (HMODULE library = ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
        auto update =
            reinterpret_cast<WebUpdateFn>(reinterpret_cast<void*>(::GetProcAddress(library, kWebUpdateEntry)));
        CString address;
        address.LoadString(IDS_UPDATE_ADDRESS);
        if (update) update(address);
        return;
    }
    if (interactive && CAppPrefMgr::GetInstance()->OfferWebUpdateInstall(m_hWnd, CString()) != 0) {
        CheckForUpdates(false);
        return;
    }
    OpenWithShell(kProductWebPage);
}

void CZorvikanDesktopView::OnInstallBrowserPlugin() { RegisterBrowserPluginAndAsk(true); }
void CZorvikanDesktopView::OnUninstallBrowserPlugin() { RegisterBrowserPluginAndAsk(false); }

void CZorvikanDesktopView::RegisterBrowserPluginAndAsk(bool install)
{
    if (!RegisterBrowserPlugin(1, install ? 1 : 0)) {
        AfxMessageBox(install ? IDS_PLUGIN_REGISTER_FAILED : IDS_PLUGIN_UNREGISTER_FAILED, MB_OK);
        return;
    }
    const UINT question = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    if (IsInternetExplorerRunning()) {
        if (AfxMessageBox(install ? IDS_PLUGIN_REGISTERED_RESTART : IDS_PLUGIN_UNREGISTERED_RESTART, question) == IDYES)
            RestartInternetExplorer();
    } else if (AfxMessageBox(install ? IDS_PLUGIN_REGISTERED_RUN : IDS_PLUGIN_UNREGISTERED_RUN, question) == IDYES) {
        StartInternetExplorer();
    }
}

void CZorvikanDesktopView::OnUserGuide()
{
    // A missing file or viewer is the shell's to tell, or nobody's.
    CString name;
    if (!name.LoadString(IDS_USER_GUIDE_FILE)) return;
    OpenWithShell(JoinPath(GetAppDirectory(), name));
}
