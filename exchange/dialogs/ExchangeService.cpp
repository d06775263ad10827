#include "exchange/dialogs/ExchangeService.h"

#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "exchange/dialogs/ConfirmationDlg.h"
#include "exchange/dialogs/ExchangeMessages.h"
#include "exchange/dialogs/ExportDialogs.h"
#include "exchange/dialogs/GetImportPasswordDlg.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/mail/MapiMail.h"
#include "exchange/writers/ExportWriter.h"
#include "exchange/zip/FolderZip.h"

CString CExchangeService::MessageText(unsigned messageId) { return ExchangeMessageText(messageId); }

IExchangeService::ImportFile CExchangeService::ReadImportFile(const CString& path, int format,
                                                              const BlowfishKeyPtr& masterKey)
{
    ImportFileCheck check = PrepareImportFile(path, format, masterKey);
    ImportFile file;
    file.messageId = check.messageId;
    file.format = check.format;
    file.text = std::move(check.text);
    file.needsPassword = check.needsPassword;
    file.cipher = check.cipher;
    return file;
}

BlowfishKeyPtr CExchangeService::AskImportPassword(CWnd* parent, const std::string& text)
{
    CGetImportPasswordDlg dlg(parent, text);
    if (dlg.DoModal() != IDOK) return nullptr;
    return dlg.m_cipher;
}

CString CExchangeService::ImportText(CDatabaseObj& db, int format, const std::string& text,
                                     const BlowfishContext* cipher, const CString& sourcePath,
                                     const CString& attachmentsFolder, CNotifyProviderList* notices,
                                     std::vector<CRecord*>& imported)
{
    ImportResult result;
    ImportExchangeText(db, format, text, cipher, sourcePath, attachmentsFolder, notices, result);
    imported.insert(imported.end(), result.imported.begin(), result.imported.end());
    return result.LeftOutText();
}

void CExchangeService::ShowImported(CWnd* parent, const std::vector<CRecord*>& records, const CString& leftOut)
{
    CConfirmationDlg dlg(parent);
    dlg.m_items.assign(records.begin(), records.end());
    dlg.m_bImportMode = true;
    dlg.m_strLeftOut = leftOut;
    dlg.DoModal();
}

bool CExchangeService::ShowTip(CWnd* parent, int kind)
{
    CWinApp* app = AfxGetApp();
    CUserItem* user = app && app->IsKindOf(RUNTIME_CLASS(CZorvikanDesktopApp))
                          ? static_cast<CZorvikanDesktopApp*>(app)->GetCurrentUser()
                          : nullptr;
    CExportImportTipDlg dlg(parent, kind, user);
    return dlg.DoModal() == IDOK;
}

bool CExchangeService::AskExportScope(CWnd* parent, int format, const std::function<bool(int)>& hasAttachmentInScope,
                                      ExportScope& choice)
{
    CExportRecordsDlg dlg(parent, hasAttachmentInScope,
                          choice.email ? CExportRecordsDlg::kEmail : CExportRecordsDlg::kExport);
    dlg.m_nFormat = format;
    dlg.m_nScope = choice.scope;
    dlg.m_strName = choice.name;
    if (dlg.DoModal() != IDOK) return false;
    choice.scope = dlg.m_nScope;
    choice.name = dlg.m_strName;
    choice.withAttachments = dlg.m_bWithAttachments != FALSE;
    choice.hasAttachments = dlg.m_bHasAttachments;
    return true;
}

bool CExchangeService::AskExportFolderName(CWnd* parent, const CString& folder, CString& path)
{
    CGetFileNameDlg dlg(parent);
    dlg.m_strPath = folder;
    if (dlg.DoModal() != IDOK) return false;
    path = dlg.m_strPath;
    return true;
}

unsigned CExchangeService::WriteExport(const CDatabaseObj& db, int format, const std::vector<const CRecord*>& records,
                                       bool withAttachments, const CString& path, const BlowfishContext* cipher,
                                       const CString& attachmentsFolder)
{
    return WriteExportFile(db, format, records, withAttachments, path, cipher, attachmentsFolder);
}

bool CExchangeService::ZipExportFolder(const CString& folder) { return ::ZipExportFolder(folder); }

unsigned long CExchangeService::SendFileByMail(HWND owner, const CString& path, const CString& subject)
{
    return CMapiMail(owner).SendFile(path, subject);
}
