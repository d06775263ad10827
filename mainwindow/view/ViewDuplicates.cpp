// The main view's delete-duplicates command.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <cstdio>
#include <string>

#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/os/PathUtils.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/AttachmentCrypter.h"
#include "framework/ModalSeam.h"
#include "mainwindow/dialogs/DuplicateRecordsDlg.h"
#include "mainwindow/upkeep/DuplicateFinder.h"

namespace {

// The plain bytes of a record's stored attachment, read through a scratch
// file that is removed again; empty when it cannot be read.
std::string AttachmentBytes(const CRecord& record, const CString& folder)
{
    char tempFolder[MAX_PATH] = {};
    char tempFile[MAX_PATH] = {};
    if (!::GetTempPathA(MAX_PATH, tempFolder) || !::GetTempFileNameA(tempFolder, "zvd", 0, tempFile)) return {};
    CAttachmentCrypter crypter(record.GetAttachmentKey(), record.GetAttachmentFileName(), folder);
    std::string bytes;
    if (crypter.DecryptToFile(tempFile) == 0) {
        if (FILE* f = std::fopen(tempFile, "rb")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
            std::fclose(f);
        }
    }
    ::DeleteFileA(tempFile);
    return bytes;
}

}  // namespace

void CZorvikanDesktopView::OnDeleteDuplicates()
{
    m_pluginLink.SetBusy(1);
    CUserItem* user = CurrentUser();
    const CString folder = user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString();
    CDuplicateFinder finder(m_database.GetRecords(), [&folder](const CRecord& a, const CRecord& b) {
        const std::string first = AttachmentBytes(a, folder);
        return !first.empty() && first == AttachmentBytes(b, folder);
    });
    if (finder.CountLive() >= 2) {
        const std::vector<CRecord*> duplicates = finder.Find();
        if (duplicates.empty()) {
            AfxGetModalSeam().MessageBox(nullptr, "No duplicate records found", "Delete Confimation", MB_OK);
        } else {
            std::vector<CString> titles;
            for (CRecord* record : duplicates) titles.push_back(record->GetField(0));
            CDuplicateRecordsDlg dlg(titles, this);
            if (dlg.DoModal() == IDOK) {
                // Deleted as every deletion is: tombstones for the sync, the
                // stored files gone, saved once and told to the others.
                DeleteRecords(duplicates);
                RefreshViewsAndCombos();
            }
        }
    }
    m_pluginLink.SetBusy(0);
}

void CZorvikanDesktopView::RefreshViewsAndCombos()
{
    if (m_nViewMode == kViewModeList) {
        FillRecordList();
    } else if (m_nViewMode == kViewModePanel) {
        FillPanelTypes(nullptr);
        FillSmartListEntries();
        FillPanelRecords(nullptr);
    } else {
        FillTree(nullptr);
    }
    RefillCategoryCombo();
    RefillTypeCombo();
}
