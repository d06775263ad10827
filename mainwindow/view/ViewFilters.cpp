// The main view's filters and what is dropped on it.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <shellapi.h>

#include "framework/ModalSeam.h"
#include "mainwindow/data/DroppedFiles.h"

void CZorvikanDesktopView::OnDropFiles(HDROP hDropInfo)
{
    const UINT count = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH + 1] = {};
        if (!::DragQueryFileA(hDropInfo, i, path, sizeof path)) continue;
        if (IsImportableDroppedFile(path))
            ImportDroppedFile(path);
        else
            AfxMessageBox(DroppedFileRefusalText(), MB_OK);
    }
    ::DragFinish(hDropInfo);
}

void CZorvikanDesktopView::ImportDroppedFile(const CString& path)
{
    // The import itself (format detected from the content) comes with the
    // import and export; until then the file is only taken note of.
    m_droppedImports.push_back(path);
}

void CZorvikanDesktopView::OnCategoryComboChange() {}
void CZorvikanDesktopView::OnTypeComboChange() {}
void CZorvikanDesktopView::OnShowDetails() {}
void CZorvikanDesktopView::OnUpdateShowDetails(CCmdUI*) {}
void CZorvikanDesktopView::OnToggleMask() {}
void CZorvikanDesktopView::OnUpdateToggleMask(CCmdUI*) {}
void CZorvikanDesktopView::OnEditTypes() {}
void CZorvikanDesktopView::OnEditCategories() {}
void CZorvikanDesktopView::OnNewType() {}

void CZorvikanDesktopView::RefillTypeCombo() {}
void CZorvikanDesktopView::RefillCategoryCombo() {}
void CZorvikanDesktopView::GetTypeFilter(uint8_t key[kUniqueKeySize])
{
    for (int i = 0; i < kUniqueKeySize; ++i) key[i] = m_viewState.typeFilter[i];
}
void CZorvikanDesktopView::GetCategoryFilter(uint8_t key[kUniqueKeySize])
{
    for (int i = 0; i < kUniqueKeySize; ++i) key[i] = m_viewState.categoryFilter[i];
}
void CZorvikanDesktopView::SelectTypeInCombo(const uint8_t*) {}
void CZorvikanDesktopView::SelectCategoryInCombo(const uint8_t*) {}
