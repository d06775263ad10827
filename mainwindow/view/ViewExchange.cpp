// The main view's side of bringing records in from files and writing them
// out: the File > Import and File > Export commands, the import of a file
// named on the command line or dropped on the view, and what follows an
// import (the one record-change order, the combos, the list).
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <commctrl.h>

#include <cstring>
#include <unordered_map>

#include "app/history/LogEvents.h"
#include "app/logon/GetExportPasswordDlg.h"
#include "app/res/ExchangeRes.h"
#include "app/res/Resource.h"
#include "app/services/ExchangeService.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/os/ChangeNotify.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "framework/CommonDialogs.h"
#include "framework/ModalSeam.h"
#include "mainwindow/models/RecordColumns.h"
#include "mainwindow/models/RecordFilter.h"
#include "mainwindow/records/ViewRecordChangeSteps.h"
#include "toolkit/progress/BusyProgress.h"

namespace {

// Import and export formats of the commands.
const int kFormatDatabase = 0;
const int kFormatExportText = 1;
const int kFormatZkv2 = 3;
const int kFormatZkv3 = 4;
const int kFormatZkvFolder = 5;
const int kFormatTopSecret = 8;
const int kFormatEWallet = 11;
const int kFormat1Password = 12;
const int kFormatFromContent = 13;

const char kEWalletFirst[] =
    "You would need to modify your eWallet TXT file to Import into Zorvikan. Open your eWallet export file in a text "
    "editor like Notepad \nor TextEdit. Add a colon \":\" after each field label (eg. Credit card number). Then save "
    "the file (keep the file type as TXT). Now import \nit into Zorvikan. Are you ready to perform the eWallet TXT "
    "import?";
const char kMailQuestion[] = "Do you also want to email this File?";
const char kMailSubject[] = "Exported File";
const char kImportCaption[] = "Import";
const char kImportText[] = "Importing records is in progress...";
const char k1PasswordFirst[] =
    "To import a 1Password TXT file, open 1Password, go to File > Export All Text File. Uncheck thefollowing fields: "
    "contentsHash, tags, securityLevel. Are you ready to perform the 1Password TXT import?";

CString Loaded(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

CString ImportedCountText(size_t count)
{
    CString text;
    text.Format("%d item(s) were imported.", (int)count);
    return text;
}

CString AttachmentsFolderOf(CUserItem* user)
{
    return user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString();
}

}  // namespace

// ---- Import -------------------------------------------------------------------------

void CZorvikanDesktopView::ImportFileAsk(const CString& path, BOOL ask)
{
    if (ask) {
        CString text;
        text.Format(IDS_IMPORT_FILE_ASK, (LPCSTR)GetFileNameOfPath(path));
        if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    }
    std::vector<CRecord*> imported;
    CString leftOut;
    ImportFile(kFormatFromContent, path, imported, leftOut, false);
    // No confirmation follows a file from the command line, but lines left
    // out are never dropped without a word.
    if (!leftOut.IsEmpty())
        AfxMessageBox(ImportedCountText(imported.size()) + "\r\n" + leftOut, MB_OK | MB_ICONEXCLAMATION);
}

void CZorvikanDesktopView::ImportWithDialog(int format, UINT stringId)
{
    IExchangeService* service = GetExchangeService();
    if (!service) return;
    CUserItem* user = CurrentUser();
    CString path;
    if (format == kFormatZkvFolder) {
        const int hint = user ? CAppPrefMgr::GetInstance()->GetPrefs()->GetExportImportHint(user) : 0x10001;
        if ((((unsigned)hint >> 16) & 0xFFFFu) != 0 && !service->ShowTip(this, 1)) return;
        CString folder;
        if (!AfxGetModalSeam().BrowseForFolder(m_hWnd, Loaded(stringId), nullptr, folder)) return;
        // The exchange file inside a folder export bears the folder's name.
        if (!folder.IsEmpty()) path = JoinPath(folder, GetFileNameOfPath(folder));
    } else {
        CFileDialog dialog(TRUE, nullptr, nullptr,
                           OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY, Loaded(stringId),
                           this);
        const CString title = Loaded(IDS_IMPORT_TITLE);
        dialog.m_ofn.lpstrTitle = title;
        dialog.m_ofn.nFilterIndex = (format == kFormatExportText || format == kFormatTopSecret) ? 1 : 2;
        if (dialog.DoModal() != IDOK) return;
        path = dialog.GetPathName();
    }
    if (path.IsEmpty() || format == kFormatDatabase) return;
    std::vector<CRecord*> imported;
    CString leftOut;
    if (ImportFile(format, path, imported, leftOut, false)) ShowImportedRecords(imported, leftOut);
    ReloadAndRefresh(user, false);
}

bool CZorvikanDesktopView::ImportFile(int format, const CString& path, std::vector<CRecord*>& imported,
                                      CString& leftOut, bool restore)
{
    IExchangeService* service = GetExchangeService();
    if (!service) return false;
    IExchangeService::ImportFile file = service->ReadImportFile(path, format, GetMasterPwdMgr()->GetKey());
    if (file.messageId != 0) {
        AfxMessageBox(service->MessageText(file.messageId), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    BlowfishKeyPtr cipher = file.cipher;
    if (file.needsPassword) {
        m_pluginLink.SetBusy(1);
        cipher = service->AskImportPassword(this, file.text);
        m_pluginLink.SetBusy(0);
        // The password is settled before a restore empties anything.
        if (!cipher) return true;
    }
    if (restore) {
        LogAllRecordsDeleted();
        m_database.Clear(false);
        if (m_recordList.m_hWnd) m_recordList.SendMessage(LVM_DELETEALLITEMS);
        const CString attachments = AttachmentsFolderOf(CurrentUser());
        if (!attachments.IsEmpty()) DeletePathSilently(attachments, m_hWnd);
    }
    const CString fileLeftOut = ImportRecords(file.format, file.text, cipher, path, imported);
    if (!fileLeftOut.IsEmpty()) {
        if (!leftOut.IsEmpty()) leftOut += "\r\n";
        leftOut += GetFileNameOfPath(path) + ":\r\n" + fileLeftOut;
    }
    return true;
}

CString CZorvikanDesktopView::ImportRecords(int format, const std::string& text, const BlowfishKeyPtr& cipher,
                                            const CString& path, std::vector<CRecord*>& imported)
{
    IExchangeService* service = GetExchangeService();
    if (!service) return CString();
    CString leftOut;
    {
        CBusyProgress progress(kImportCaption, kImportText, m_nBusyProgressDelayMs);
        leftOut = AddImportedRecords(format, text, cipher, path, imported);
    }
    // The countdown ran on while the program worked: it starts again, so it
    // never ends in a lock right after the work.
    if (IsAutoLockArmed()) RestartAutoLockTimer();
    return leftOut;
}

CString CZorvikanDesktopView::AddImportedRecords(int format, const std::string& text, const BlowfishKeyPtr& cipher,
                                                 const CString& path, std::vector<CRecord*>& imported)
{
    IExchangeService* service = GetExchangeService();
    if (m_recordList.m_hWnd) {
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED;
        m_recordList.SendMessage(LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&none);
    }
    CNotifyProviderList notices;
    std::vector<CRecord*> added;
    const CString leftOut = service->ImportText(m_database, format, text, cipher.get(), path,
                                                AttachmentsFolderOf(CurrentUser()), &notices, added);
    imported.insert(imported.end(), added.begin(), added.end());

    // Records of the type shown join the list and the event log; the others
    // only the database.
    const bool allTypes = std::memcmp(m_viewState.typeFilter, KEY_ALL, kUniqueKeySize) == 0;
    std::unordered_map<int, CRecord*> shown;
    std::vector<CRecord*> listed;
    for (CRecord* record : added) {
        if (!allTypes && std::memcmp(m_viewState.typeFilter, record->GetTypeKey(), kUniqueKeySize) != 0) continue;
        shown[record->GetId()] = record;
        listed.push_back(record);
    }
    ShowAddedRecordsSelected(listed);

    // One save for the whole import, then the log, the notices and the
    // plug-in's signal, in the order of every other change.
    CRecordChangeSequence change;
    for (POSITION pos = notices.GetHeadPosition(); pos;) {
        const CNotifyObject* notice = dynamic_cast<const CNotifyObject*>(notices.GetNext(pos));
        if (!notice) continue;
        CRecord* record = nullptr;
        if (notice->m_itemClass == NOTIFY_ITEM_RECORD) {
            // By id, not by a pass over the records per notice: an import
            // may add a hundred thousand.
            auto found = shown.find(notice->m_itemId);
            if (found != shown.end()) record = found->second;
        }
        change.Add(notice->m_operation, notice->m_itemClass, notice->m_itemId, record);
    }
    CViewRecordChangeSteps steps(m_database, m_pluginLink, App());
    {
        // The log reaches its file once for the whole import.
        CLogEventsBatch batch;
        change.Run(steps);
    }

    RefillTypeCombo();
    SelectTypeInCombo(m_viewState.typeFilter);
    RefillCategoryCombo();
    SelectCategoryInCombo(m_viewState.categoryFilter);
    if (m_recordList.m_hWnd) m_recordList.SetFocus();
    return leftOut;
}

void CZorvikanDesktopView::ShowAddedRecordsSelected(const std::vector<CRecord*>& records)
{
    if (records.empty() || !m_recordList.m_hWnd) return;
    LVITEMA selected = {};
    selected.state = LVIS_SELECTED;
    selected.stateMask = LVIS_SELECTED;
    if (m_nViewMode != kViewModeList) {
        // The list is not shown: as for a single record, only its first row.
        m_recordList.SendMessage(LVM_SETITEMSTATE, 0, (LPARAM)&selected);
        return;
    }
    const std::vector<RowPlace> places =
        SortedInsertPlaces(m_recordList.GetRecords(), records, m_viewState.sortKey,
                           RecordNames{m_database.GetTypes(), m_database.GetCategories()});

    // A repaint per inserted row costs tens of milliseconds under Wine.
    m_recordList.SendMessage(WM_SETREDRAW, FALSE);
    std::vector<int> inserted;
    inserted.reserve(places.size());
    for (const RowPlace& place : places) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = (int)place.row;
        item.pszText = const_cast<LPSTR>("");
        item.lParam = (LPARAM)place.record;
        const int row = (int)m_recordList.SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item);
        inserted.push_back(row < 0 ? 0 : row);
    }
    m_bBatchSelecting = true;
    for (int row : inserted) m_recordList.SendMessage(LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&selected);
    m_bBatchSelecting = false;
    m_recordList.SendMessage(WM_SETREDRAW, TRUE);
    m_recordList.Invalidate();

    // The rows' own notices: the first record, selected alone, was shown
    // and counted as viewed; with more, the details show none.
    CZorvikanDesktopApp* app = App();
    if (records.size() > 1 && app) app->OnRecordViewed(records.front());
    CRecord* record = GetSelectedRecord();
    ShowDetails(record);
    if (record && app) app->OnRecordViewed(record);
}

void CZorvikanDesktopView::ShowImportedRecords(const std::vector<CRecord*>& imported, const CString& leftOut)
{
    IExchangeService* service = GetExchangeService();
    if (!service) return;
    if (imported.empty()) {
        if (!leftOut.IsEmpty()) AfxMessageBox(ImportedCountText(0) + "\r\n" + leftOut, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_pluginLink.SetBusy(1);
    service->ShowImported(this, imported, leftOut);
    m_pluginLink.SetBusy(0);
}

void CZorvikanDesktopView::OnImportZkvFolder() { ImportWithDialog(kFormatZkvFolder, IDS_FOLDER_IMPORT_PROMPT); }
void CZorvikanDesktopView::OnImportZkv() { ImportWithDialog(kFormatFromContent, IDS_IMPORT_FILTER_ZKV); }
void CZorvikanDesktopView::OnImportCsv() { ImportWithDialog(kFormatExportText, IDS_IMPORT_FILTER_TEXT); }
void CZorvikanDesktopView::OnImportYaps() { ImportWithDialog(9, IDS_IMPORT_FILTER_TEXT); }
void CZorvikanDesktopView::OnImportCryptinfo() { ImportWithDialog(7, IDS_IMPORT_FILTER_TEXT); }
void CZorvikanDesktopView::OnImportMobileSafe() { ImportWithDialog(10, IDS_IMPORT_FILTER_TEXT); }
void CZorvikanDesktopView::OnImportTopSecret() { ImportWithDialog(kFormatTopSecret, IDS_IMPORT_FILTER_TEXT); }
void CZorvikanDesktopView::OnImportDatabase() { ImportWithDialog(kFormatDatabase, IDS_IMPORT_FILTER_ZDB); }

void CZorvikanDesktopView::OnImportEWallet()
{
    if (AfxMessageBox(kEWalletFirst, MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) != IDYES) return;
    ImportWithDialog(kFormatEWallet, IDS_IMPORT_FILTER_TEXT);
}

void CZorvikanDesktopView::OnImport1Password()
{
    if (AfxMessageBox(k1PasswordFirst, MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) != IDYES) return;
    ImportWithDialog(kFormat1Password, IDS_IMPORT_FILTER_TEXT);
}

// ---- Export -------------------------------------------------------------------------

std::vector<const CRecord*> CZorvikanDesktopView::RecordsInScope(int scope)
{
    std::vector<const CRecord*> records;
    if (scope == 2) {
        if (m_nViewMode == kViewModeList && m_recordList.m_hWnd) {
            int row = -1;
            while ((row = (int)m_recordList.SendMessage(LVM_GETNEXTITEM, (WPARAM)row, LVNI_SELECTED)) >= 0) {
                LVITEMA item = {};
                item.mask = LVIF_PARAM;
                item.iItem = row;
                if (m_recordList.SendMessage(LVM_GETITEMA, 0, (LPARAM)&item) && item.lParam)
                    records.push_back(reinterpret_cast<const CRecord*>(item.lParam));
            }
        } else if (const CRecord* record = GetSelectedRecord()) {
            records.push_back(record);
        }
        return records;
    }
    if (scope == 1) {
        for (CRecord* record : GetShownRecords()) records.push_back(record);
        return records;
    }
    for (POSITION pos = m_database.GetRecords().GetHeadPosition(); pos;) {
        const CRecord* record =
            dynamic_cast<const CRecord*>(static_cast<CObject*>(m_database.GetRecords().GetNext(pos)));
        if (record && !record->IsDeleted()) records.push_back(record);
    }
    return records;
}

void CZorvikanDesktopView::ExportWithDialog(int format, UINT filterId)
{
    IExchangeService* service = GetExchangeService();
    if (!service) return;
    CUserItem* user = CurrentUser();
    if (format == kFormatZkvFolder) {
        const int hint = user ? CAppPrefMgr::GetInstance()->GetPrefs()->GetExportImportHint(user) : 0x10001;
        if (((unsigned)hint & 0xFFFFu) != 0 && !service->ShowTip(this, 0)) return;
    }
    IExchangeService::ExportScope choice;
    auto hasAttachment = [this](int scope) { return HasAttachmentInScope(scope); };
    m_pluginLink.SetBusy(1);
    const bool chosen = service->AskExportScope(this, format, hasAttachment, choice);
    m_pluginLink.SetBusy(0);
    if (!chosen) return;
    const bool withAttachments = choice.withAttachments && choice.hasAttachments;
    if (format == kFormatZkvFolder && !withAttachments) format = kFormatZkv3;

    CString target;
    if (format == kFormatZkvFolder) {
        CString folder;
        if (!AfxGetModalSeam().BrowseForFolder(m_hWnd, "Choose the location...", nullptr, folder)) return;
        if (!service->AskExportFolderName(this, folder, target)) return;
    } else {
        CFileDialog dialog(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER,
                           Loaded(filterId), this);
        const CString title = Loaded(IDS_EXPORT_TITLE);
        dialog.m_ofn.lpstrTitle = title;
        if (dialog.DoModal() != IDOK) return;
        target = dialog.GetPathName();
    }
    if (target.IsEmpty()) return;

    BlowfishKeyPtr cipher;
    if (format == kFormatZkv2 || format == kFormatZkv3 || format == kFormatZkvFolder) {
        CGetExportPasswordDlg password(this);
        if (password.DoModal() != IDOK) return;
        if (!password.m_strPassword.IsEmpty()) cipher = MakeBlowfishKey(password.m_strPassword);
    }
    const unsigned failure = service->WriteExport(m_database, format, RecordsInScope(choice.scope), withAttachments,
                                                  target, cipher.get(), AttachmentsFolderOf(user));
    cipher.reset();
    AfxMessageBox(service->MessageText(failure != 0 ? failure : 600),
                  failure != 0 ? MB_OK | MB_ICONEXCLAMATION : MB_OK);
    if (failure != 0) return;

    if (AfxMessageBox(kMailQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (format != kFormatZkvFolder) {
        service->SendFileByMail(m_hWnd, target, kMailSubject);
        return;
    }
    // A folder travels as one archive beside it, removed once handed over.
    const CString archive = target + ".zip";
    if (service->ZipExportFolder(target))
        service->SendFileByMail(m_hWnd, archive, kMailSubject);
    else
        AfxMessageBox(service->MessageText(603), MB_OK | MB_ICONEXCLAMATION);
    if (PathExists(archive)) DeletePathSilently(archive, m_hWnd);
}

void CZorvikanDesktopView::OnExportZkv3() { ExportWithDialog(kFormatZkv2, IDS_EXPORT_FILTER_ZKV); }
void CZorvikanDesktopView::OnExportZkv4() { ExportWithDialog(kFormatZkv3, IDS_EXPORT_FILTER_ZKV); }
void CZorvikanDesktopView::OnExportCsv() { ExportWithDialog(kFormatExportText, IDS_EXPORT_FILTER_TEXT); }
