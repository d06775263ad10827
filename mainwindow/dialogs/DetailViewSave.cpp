// The record editor's save, duplicate, delete and attachment.
#include "mainwindow/dialogs/DetailViewDlg.h"

#include <windows.h>

#include <cstring>
#include <ctime>

#include "app/res/RecordDialogsRes.h"
#include "core/crypto/Random.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/os/PathUtils.h"
#include "core/store/AttachmentCrypter.h"
#include "core/store/DatabaseObj.h"
#include "framework/CommonDialogs.h"
#include "framework/ModalSeam.h"
#include "mainwindow/dialogs/RecordEditorHost.h"

long long CDetailViewDlg::FileSize(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void CDetailViewDlg::ShowAttachmentButton()
{
    // The button adds an attachment or removes the one there is: its icon
    // says which.
    CShadeButtonST& button = m_buttons[8];
    if (!button.m_hWnd) return;
    button.SetIcon(m_edits.attachmentName.IsEmpty() ? IDI_DV_ADD_ATTACHMENT : IDI_DV_REMOVE_ATTACHMENT, 16, 16, 0, 0,
                   0);
    button.Invalidate();
}

bool CDetailViewDlg::StoreChosenAttachment(CRecord& record)
{
    CAttachmentCrypter crypter(m_edits.attachmentKey, record.GetAttachmentFileName(), m_attachmentsFolder);
    const int result = crypter.EncryptFromFile(m_attachmentSource);
    if (result == 0) {
        record.SetAttachmentChanged(0);
        return true;
    }
    // A record must never name an attachment that is not stored.
    record.SetAttachmentName("");
    record.SetAttachmentKey("");
    m_edits.attachmentName.Empty();
    m_edits.attachmentKey.Empty();
    m_attachmentSource.Empty();
    SetDlgItemText(IDC_DV_ATTACHMENT_NAME, "");
    ShowAttachmentButton();
    CString text;
    text.Format(IDS_ATTACHMENT_NOT_STORED, result);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool CDetailViewDlg::SaveRecord()
{
    if (!m_record) return false;
    const CTypeItem* type = CurrentType();
    ApplyRecordEdits(*m_record, m_edits, type, m_databasePath, static_cast<int64_t>(std::time(nullptr)));
    UpdateData(FALSE);
    if (!m_edits.attachmentName.IsEmpty() && !m_edits.attachmentKey.IsEmpty()) {
        m_record->SetAttachmentName(m_edits.attachmentName);
        m_record->SetAttachmentKey(m_edits.attachmentKey);
    }
    const bool chosenFile =
        !m_attachmentSource.IsEmpty() && !m_edits.attachmentName.IsEmpty() && !m_edits.attachmentKey.IsEmpty();
    if (!m_addMode) {
        if (chosenFile && StoreChosenAttachment(*m_record)) m_attachmentSource.Empty();
        m_host.RecordSaved(m_record, false);
        return true;
    }
    if (m_record->AllFieldsEmpty()) {
        // Nothing was entered, not even the date: no record.
        m_ownedRecord.reset();
        m_record = nullptr;
        return false;
    }
    CRecordList& records = m_database.GetRecords();
    m_record->SetId(NewFreeItemId([&records](int32_t id) { return records.FindById(id) != nullptr; }));
    if (chosenFile) {
        if (StoreChosenAttachment(*m_record)) m_attachmentSource.Empty();
    } else if (!m_edits.attachmentName.IsEmpty() && !m_edits.attachmentKey.IsEmpty()) {
        // A duplicate keeps the key and gets its own copy of the stored file.
        CAttachmentCrypter crypter(m_edits.attachmentKey, m_record->GetAttachmentFileName(), m_attachmentsFolder);
        if (!crypter.CopyFromStoredFile(m_duplicatedStoredFile)) {
            m_record->SetAttachmentName("");
            m_record->SetAttachmentKey("");
            m_edits.attachmentName.Empty();
            m_edits.attachmentKey.Empty();
            CString text;
            text.Format(IDS_ATTACHMENT_NOT_STORED, (int)::GetLastError());
            AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        }
    }
    records.Add(m_ownedRecord.release());
    m_host.RecordSaved(m_record, true);
    return true;
}

void CDetailViewDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    SaveRecord();
    EndDialog(IDOK);
}

void CDetailViewDlg::OnCancel()
{
    if (m_addMode) {
        m_ownedRecord.reset();
        m_record = nullptr;
    }
    CDialog::OnCancel();
}

void CDetailViewDlg::OnDuplicate()
{
    if (!UpdateData(TRUE)) return;
    const bool wasAdding = m_addMode;
    const bool saved = SaveRecord();
    CRecord* previous = saved ? m_record : nullptr;
    if (CWnd* button = GetDlgItem(IDC_DV_DELETE)) button->EnableWindow(FALSE);
    m_ownedRecord = std::make_unique<CRecord>();
    m_record = m_ownedRecord.get();
    m_record->SetTypeKey(m_edits.typeKey);
    m_record->SetCategoryKey(m_edits.categoryKey);
    if (previous && previous->HasAttachment()) {
        m_edits.attachmentName = previous->GetAttachmentName();
        m_edits.attachmentKey = previous->GetAttachmentKey();
        m_duplicatedStoredFile = previous->GetAttachmentFileName();
    } else {
        m_edits.attachmentName.Empty();
        m_edits.attachmentKey.Empty();
    }
    m_attachmentSource.Empty();
    SetDlgItemText(IDC_DV_ATTACHMENT_NAME, m_edits.attachmentName);
    ShowAttachmentButton();
    if (previous && !wasAdding) {
        m_record->CopyCustomLabels(*previous);
        m_record->SetHiddenMask(previous->GetHiddenMask());
    }
    m_addMode = true;
    UpdateAutofillButton();
    m_edits.values[0] += " Copy";
    UpdateData(FALSE);
    CWnd* first = GetDlgItem(FieldEditId(0));
    first->SetFocus();
    first->SendMessage(EM_SETSEL, 0, -1);
}

void CDetailViewDlg::OnDeleteRecord()
{
    if (m_addMode || !m_record) return;
    if (AfxMessageBox(IDS_DELETE_ITEMS_ASK, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO) return;
    // The record open here, whatever the view has selected.
    m_host.DeleteRecord(m_record);
    m_record = nullptr;
    EndDialog(kDeletedResult);
}

void CDetailViewDlg::OnAttachment()
{
    CString shown;
    GetDlgItemText(IDC_DV_ATTACHMENT_NAME, shown);
    if (!shown.IsEmpty()) {
        if (AfxMessageBox(IDS_DELETE_ATTACHMENT_ASK, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
        m_attachmentSource.Empty();
        m_edits.attachmentName.Empty();
        SetDlgItemText(IDC_DV_ATTACHMENT_NAME, "");
        ShowAttachmentButton();
        return;
    }
    CFileDialog dlg(TRUE, "(*.*)", nullptr, 0, "All Files (*.*)|*.*||", this);
    if (dlg.DoModal() != IDOK) return;
    const CString path = dlg.GetPathName();
    const long long size = FileSize(path);
    if (size > kMaxAttachmentBytes) {
        AfxMessageBox(IDS_ATTACHMENT_TOO_LARGE, MB_OK);
        return;
    }
    const CString key = NewAttachmentKeyText();
    if (key.IsEmpty()) {
        CString text;
        text.Format(IDS_ATTACHMENT_NOT_STORED, -1);
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_edits.attachmentKey = key;
    m_attachmentSource = path;
    m_edits.attachmentName = GetFileNameOfPath(path);
    SetDlgItemText(IDC_DV_ATTACHMENT_NAME, m_edits.attachmentName);
    ShowAttachmentButton();
}
