#pragma once
// CExchangeService: the import and export layer as the main view reaches
// it (app/services/ExchangeService.h): the portable reading, importing and
// writing of exchange texts, and the dialogs of both. The program installs
// one at start-up. Windows build only.
#include "app/services/ExchangeService.h"

class CExchangeService : public IExchangeService {
public:
    CString MessageText(unsigned messageId) override;
    ImportFile ReadImportFile(const CString& path, int format, const BlowfishKeyPtr& masterKey) override;
    BlowfishKeyPtr AskImportPassword(CWnd* parent, const std::string& text) override;
    CString ImportText(CDatabaseObj& db, int format, const std::string& text, const BlowfishContext* cipher,
                       const CString& sourcePath, const CString& attachmentsFolder, CNotifyProviderList* notices,
                       std::vector<CRecord*>& imported) override;
    void ShowImported(CWnd* parent, const std::vector<CRecord*>& records, const CString& leftOut) override;

    bool ShowTip(CWnd* parent, int kind) override;
    bool AskExportScope(CWnd* parent, int format, const std::function<bool(int)>& hasAttachmentInScope,
                        ExportScope& choice) override;
    bool AskExportFolderName(CWnd* parent, const CString& folder, CString& path) override;
    unsigned WriteExport(const CDatabaseObj& db, int format, const std::vector<const CRecord*>& records,
                         bool withAttachments, const CString& path, const BlowfishContext* cipher,
                         const CString& attachmentsFolder) override;

    bool ZipExportFolder(const CString& folder) override;
    unsigned long SendFileByMail(HWND owner, const CString& path, const CString& subject) override;
};
