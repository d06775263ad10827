// The main view's copy commands: the selected record's category, any of its
// ten fields or its notes to the clipboard as plain text.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <cstring>

#include "app/res/RecordDialogsRes.h"
#include "core/items/Record.h"
#include "core/items/UniqueList.h"
#include "mainwindow/MainWindowIds.h"

namespace {

const UINT kCopyFieldIds[kItemFieldCount] = {ID_COPY_FIELD1, ID_COPY_FIELD2, ID_COPY_FIELD3, ID_COPY_FIELD4,
                                             ID_COPY_FIELD5, ID_COPY_FIELD6, ID_COPY_FIELD7, ID_COPY_FIELD8,
                                             ID_COPY_FIELD9, ID_COPY_FIELD10};

}  // namespace

int CZorvikanDesktopView::CopyFieldOfCommand(UINT nID)
{
    // An accelerator's command carries 1 in its high word.
    const UINT id = LOWORD(nID);
    for (int i = 0; i < kItemFieldCount; ++i)
        if (kCopyFieldIds[i] == id) return i;
    return -1;
}

bool CZorvikanDesktopView::CopyTextToClipboard(const CString& text)
{
    if (!::OpenClipboard(m_hWnd)) return false;
    bool copied = false;
    if (::EmptyClipboard()) {
        const size_t size = static_cast<size_t>(text.GetLength()) + 1;
        if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size)) {
            if (void* bytes = ::GlobalLock(memory)) {
                std::memcpy(bytes, (LPCSTR)text, size);
                ::GlobalUnlock(memory);
                copied = ::SetClipboardData(CF_TEXT, memory) != nullptr;
            }
            if (!copied) ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
    // Only a copy that reached the clipboard leaves something to clear.
    if (copied) m_clipboard.NoteCopied(::GetClipboardSequenceNumber());
    return copied;
}

void CZorvikanDesktopView::CopyField(int field)
{
    CRecord* record = GetSelectedRecord();
    if (!record || field < 0 || field >= kItemFieldCount) return;
    CopyTextToClipboard(record->GetFieldDisplayText(field, false));
}

void CZorvikanDesktopView::OnCopyField(UINT nID) { CopyField(CopyFieldOfCommand(nID)); }

void CZorvikanDesktopView::OnUpdateCopyField(CCmdUI* pCmdUI)
{
    const int field = CopyFieldOfCommand(pCmdUI->m_nID);
    CRecord* record = GetSelectedRecord();
    if (!record || field < 0) {
        pCmdUI->Enable(FALSE);
        return;
    }
    CString text;
    text.Format(IDS_COPY_FIELD_MENU, (LPCSTR)m_database.GetTypes().GetFieldLabel(record->GetTypeKey(), field),
                (field + 1) % 10);
    pCmdUI->SetText(text);
    pCmdUI->Enable(record->HasFieldText(field));
}

void CZorvikanDesktopView::OnCopyCategory()
{
    CRecord* record = GetSelectedRecord();
    if (record) CopyTextToClipboard(m_database.GetCategories().GetNameByKey(record->GetCategoryKey()));
}

void CZorvikanDesktopView::OnUpdateCopyCategory(CCmdUI* pCmdUI) { pCmdUI->Enable(GetSelectedRecord() != nullptr); }

void CZorvikanDesktopView::OnCopyNote()
{
    CRecord* record = GetSelectedRecord();
    if (record) CopyTextToClipboard(record->GetNotes());
}

void CZorvikanDesktopView::OnUpdateCopyNote(CCmdUI* pCmdUI)
{
    CRecord* record = GetSelectedRecord();
    pCmdUI->Enable(record && !record->GetNotes().IsEmpty());
}
