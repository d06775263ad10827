#pragma once
// IExchangeService: what the main view uses of the import and export layer,
// which it cannot include: reading a file to import and settling its format
// and password, adding an exchange text to the database, writing an export,
// and the dialogs of both. The exchange layer implements it; the program
// installs it at start-up (SetExchangeService), tests install their own or
// the layer's. Windows build only.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "framework/CString.h"

class CDatabaseObj;
class CNotifyProviderList;
class CRecord;
class CWnd;

class IExchangeService {
public:
    virtual ~IExchangeService() = default;

    // The text of a message id the service gave (product name filled in).
    virtual CString MessageText(unsigned messageId) = 0;

    // ---- Import ---------------------------------------------------------------
    struct ImportFile {
        // 0: ready to import; else the string id of the message to show
        // (605 unreadable, 606 not text, 180 a later ZkvFile, or a format
        // without a reader).
        unsigned messageId = 0;
        int format = 0;
        std::string text;
        // Protected, and the master key does not open it.
        bool needsPassword = false;
        // The master key when it opens the file, else null.
        BlowfishKeyPtr cipher;
    };
    // Reads the file whole; format 13 takes the format from the content.
    virtual ImportFile ReadImportFile(const CString& path, int format, const BlowfishKeyPtr& masterKey) = 0;
    // Asks for the file's password until one opens the text; null when the
    // user cancels.
    virtual BlowfishKeyPtr AskImportPassword(CWnd* parent, const std::string& text) = 0;
    // Adds the text's types, categories, records and attachment files to
    // the database in memory; an "added" notice per item goes to notices.
    // The records added, in file order, are appended to imported. Returns
    // what was left out (damaged lines, lines without values, a title row,
    // with their line numbers), one sentence a line; empty when nothing was.
    virtual CString ImportText(CDatabaseObj& db, int format, const std::string& text, const BlowfishContext* cipher,
                               const CString& sourcePath, const CString& attachmentsFolder,
                               CNotifyProviderList* notices, std::vector<CRecord*>& imported) = 0;
    // The imported records' first fields in the confirmation dialog, with
    // what was left out (may be empty) below the count.
    virtual void ShowImported(CWnd* parent, const std::vector<CRecord*>& records, const CString& leftOut) = 0;

    // ---- Export ---------------------------------------------------------------
    // The tip shown before a folder export (kind 0) or import (kind 1), a
    // backup (kind 2) or a restore (kind 3); true when the user goes on.
    virtual bool ShowTip(CWnd* parent, int kind) = 0;
    struct ExportScope {
        // 0 all records, 1 those of the current view, 2 the selected ones.
        int scope = 2;
        bool withAttachments = false;
        // The scope holds a record with an attachment.
        bool hasAttachments = false;
        // Set by the caller: the dialog's e-mail form, which also asks for
        // the name of what is sent (returned in name).
        bool email = false;
        CString name;
    };
    // The export (or e-mail) scope dialog; hasAttachmentInScope answers for
    // a scope. False when cancelled.
    virtual bool AskExportScope(CWnd* parent, int format, const std::function<bool(int)>& hasAttachmentInScope,
                                ExportScope& choice) = 0;
    // The name of a folder export inside the folder; path gets the full
    // path. False when cancelled.
    virtual bool AskExportFolderName(CWnd* parent, const CString& folder, CString& path) = 0;
    // Writes the records (format 5: into the folder, with the attachment
    // files when asked); 0 or the string id of the failure.
    virtual unsigned WriteExport(const CDatabaseObj& db, int format, const std::vector<const CRecord*>& records,
                                 bool withAttachments, const CString& path, const BlowfishContext* cipher,
                                 const CString& attachmentsFolder) = 0;

    // ---- E-mail ---------------------------------------------------------------
    // Packs an exchange folder into one archive at folder + ".zip"; false
    // when it could not be written whole.
    virtual bool ZipExportFolder(const CString& folder) = 0;
    // Hands the file to the system's mail program (Simple MAPI), which shows
    // its own message window; 0, or the failure's code.
    virtual unsigned long SendFileByMail(HWND owner, const CString& path, const CString& subject) = 0;
};

// The service installed (null: none; import and export are then unavailable).
IExchangeService* GetExchangeService();
// Installs one; returns the previous.
IExchangeService* SetExchangeService(IExchangeService* service);
