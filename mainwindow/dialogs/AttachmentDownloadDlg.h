#pragma once
// CAttachmentDownloadDlg: turns a record's stored attachment back into a
// readable file and opens it, or writes it into a folder the user picks and
// shows that folder. Files opened directly go to the program's temporary
// folder, which is removed when the dialog goes and at the next start.
#include "framework/Dialog.h"

class CRecord;

class CAttachmentDownloadDlg : public CDialog {
public:
    explicit CAttachmentDownloadDlg(CWnd* pParent = nullptr);
    ~CAttachmentDownloadDlg() override;

    void SetRecord(const CRecord* record) { m_record = record; }
    // The user's "Files" folder, where the stored attachments are.
    void SetAttachmentsFolder(const CString& folder) { m_attachmentsFolder = folder; }
    // The file written by the last download; empty when none was.
    const CString& GetWrittenPath() const { return m_writtenPath; }

    // Deletes the program's temporary folder with the attachments opened
    // from it.
    static void RemoveTemporaryFolder();

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDownload();
    // Hands the file or folder to the shell.
    virtual void Launch(LPCSTR verb, const CString& path);

    const CRecord* m_record = nullptr;
    CString m_attachmentsFolder;
    CString m_writtenPath;
    int m_choice = 0;  // 0 open, 1 show in explorer

    DECLARE_MESSAGE_MAP()
};
