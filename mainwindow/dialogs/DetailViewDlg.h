#pragma once
// CDetailViewDlg: the record editor, in which one record is created, edited
// or duplicated: type and category, ten fields under their labels with a
// date picker beside each date, notes, attachment and icon, and the
// Duplicate, Delete, Custom, Password, Autofill and Print buttons. On OK it
// writes the edits into the record (RecordEdits.h), stores the attachment
// and hands the record to its host, which saves and tells the others.
//
// The caller sets the record (edit, duplicate), the add-mode flag (new,
// duplicate), the keys and presets (new) and the attachment's name, key and
// stored file name (edit, duplicate) before DoModal. DoModal gives IDOK
// after a save, IDCANCEL, or kDeletedResult when Delete removed the record.
#include <memory>

#include "core/items/BaseItem.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "mainwindow/editors/RecordEdits.h"
#include "toolkit/buttons/ShadeButtonST.h"

class CDatabaseObj;
class CRecord;
class CTypeItem;
class IRecordEditorHost;

class CDetailViewDlg : public CDialog {
public:
    static constexpr int kDeletedResult = 4;
    // The largest file that can be attached.
    static constexpr long long kMaxAttachmentBytes = 1048576;
    // The file's whole size (64 bits, so a huge file cannot pass as a small
    // one); -1 when it cannot be read.
    static long long FileSize(const CString& path);

    CDetailViewDlg(IRecordEditorHost& host, CDatabaseObj& database, CWnd* pParent = nullptr);
    ~CDetailViewDlg() override;

    // ---- Set by the caller --------------------------------------------------
    void SetRecord(CRecord* record) { m_record = record; }
    void SetAddMode(bool add) { m_addMode = add; }
    void SetTypeKey(const uint8_t key[kUniqueKeySize]);
    void SetCategoryKey(const uint8_t key[kUniqueKeySize]);
    // New: the presets of fields 1 and 4 (page title and address).
    void SetPreset(int field, const CString& text) { m_edits.values[field] = text; }
    void SetAttachment(const CString& name, const CString& key, const CString& storedFileName);
    // The user's "Files" folder and database file, where attachments go.
    void SetAttachmentPlaces(const CString& attachmentsFolder, const CString& databasePath);

    // ---- What came of it ----------------------------------------------------
    // The record edited or added last (null after a new record was dropped).
    CRecord* GetRecord() const { return m_record; }
    bool IsAddMode() const { return m_addMode; }
    const RecordEdits& GetEdits() const { return m_edits; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Field i's controls.
    static int FieldEditId(int field);
    static int LabelId(int field);
    static int DatePickerId(int field);  // 0 for field 10

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // DetailViewDlg.cpp
    void OnTypeSelChange();
    void OnCategorySelChange();
    void OnChooseIcon();
    void OnPaint();
    void OnCustom();
    LRESULT OnEndSelChange(WPARAM wParam, LPARAM lParam);
    void OnPassword();
    void OnAutofill();
    void OnDateChange(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    void OnFieldKillFocus(UINT nID);
    void OnPrintRecord();
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnSize(UINT nType, int cx, int cy);
    // The labels shown and the date pickers for the current labels.
    void ShowLabels();
    void FillTypeCombo();
    void FillCategoryCombo();
    void UpdateAutofillButton();
    const CTypeItem* CurrentType() const;

    // DetailViewSave.cpp
    void OnDuplicate();
    void OnDeleteRecord();
    void OnAttachment();
    // Writes the edits into the record and hands it on; false when the
    // record was a new one with nothing in it (dropped, nothing saved).
    bool SaveRecord();
    // Encrypts the chosen file into the record's stored file; on failure the
    // record keeps no attachment and the user is told.
    bool StoreChosenAttachment(CRecord& record);
    void ShowAttachmentButton();
    // The command buttons shaded, each with its icon.
    void ShadeButtons();

    IRecordEditorHost& m_host;
    CDatabaseObj& m_database;
    CRecord* m_record = nullptr;
    // The new record while it belongs to the dialog (not yet in the list).
    std::unique_ptr<CRecord> m_ownedRecord;
    bool m_addMode = false;
    RecordEdits m_edits;
    CString m_labelTexts[kItemFieldCount];
    int m_allowAutoFill = 0;
    int m_lastFieldEdit;
    CComboBox m_typeCombo;
    CComboBox m_categoryCombo;
    CDateTimeCtrl m_datePickers[kItemFieldCount - 1];
    // OK, Cancel, Duplicate, Delete, Custom, Password, Autofill, Print and
    // the attachment button.
    CShadeButtonST m_buttons[9];
    CSize m_initialSize;
    // A file chosen in this dialog, and the stored file of the record being
    // duplicated.
    CString m_attachmentSource;
    CString m_duplicatedStoredFile;
    CString m_attachmentsFolder;
    CString m_databasePath;
    UINT m_endSelChange = 0;

    DECLARE_MESSAGE_MAP()
};
