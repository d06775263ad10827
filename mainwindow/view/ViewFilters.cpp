// The main view's filters: the frame's type and category combos, their
// entries and counts, the details and mask toggles, the type and category
// editors, new types, and what is dropped on the view.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "app/frame/MainFrm.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/FilterKeys.h"
#include "core/items/TypeItem.h"
#include "core/os/ChangeNotify.h"
#include "framework/ModalSeam.h"
#include "mainwindow/data/DroppedFiles.h"
#include "mainwindow/records/ViewRecordChangeSteps.h"
#include "mainwindow/view/ItemEditorSeam.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/menus/BCMenu.h"

namespace {

const UINT kShowDetailsTextId = 130;
const UINT kHideDetailsTextId = 131;
const UINT kMaskCaptionId = 185;
const UINT kUnmaskCaptionId = 186;
const UINT kMaskMenuTextId = 187;
const UINT kUnmaskMenuTextId = 188;
// Import with the format read from the file's content.
const int kFormatFromContent = 13;

CString Loaded(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

bool SameKey(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, kUniqueKeySize) == 0; }

// Writes the entries into the combo and selects one (-1: none).
void ShowEntries(CComboBox* combo, const CFilterComboModel& model, int select)
{
    if (!combo) return;
    combo->SendMessage(WM_SETREDRAW, FALSE);
    combo->ResetContent();
    for (const FilterComboEntry& entry : model.Entries()) {
        const int index = combo->AddString(entry.text);
        if (index >= 0) combo->SetItemData(index, (DWORD_PTR)entry.item);
    }
    combo->SetCurSel(select);
    combo->SendMessage(WM_SETREDRAW, TRUE);
    combo->Invalidate();
}

// A command's menu text: an owner-drawn popup keeps its items' texts
// itself, and the popup that opens is the one to tell.
void SetCommandText(CCmdUI* pCmdUI, const CString& text)
{
    if (pCmdUI->m_pMenu && BCMenu::IsBCMenu(pCmdUI->m_pMenu)) {
        CMenu* popup = CMenu::FromHandlePermanent(pCmdUI->m_pMenu->m_hMenu);
        if (popup && popup->IsKindOf(RUNTIME_CLASS(BCMenu)))
            static_cast<BCMenu*>(popup)->SetMenuText(pCmdUI->m_nID, text, MF_BYCOMMAND);
        return;
    }
    pCmdUI->SetText(text);
}

}  // namespace

// ---- The combos -------------------------------------------------------------------

CComboBox* CZorvikanDesktopView::TypeCombo()
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame || !frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) return nullptr;
    CDialogToolbar& bar = static_cast<CMainFrame*>(frame)->GetDialogToolbar();
    return bar.m_cbTypes.m_hWnd ? &bar.m_cbTypes : nullptr;
}

CComboBox* CZorvikanDesktopView::CategoryCombo()
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame || !frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) return nullptr;
    CDialogToolbar& bar = static_cast<CMainFrame*>(frame)->GetDialogToolbar();
    return bar.m_cbCategories.m_hWnd ? &bar.m_cbCategories : nullptr;
}

void CZorvikanDesktopView::RefillTypeCombo()
{
    m_typeEntries.Refill(m_database.GetTypes(), m_database.GetRecords());
    int select = 0;
    if (!SameKey(m_viewState.typeFilter, KEY_ALL)) {
        select = m_typeEntries.IndexOfKey(m_viewState.typeFilter);
        if (select < 0) select = m_typeEntries.GetCount() - 2;
    }
    ShowEntries(TypeCombo(), m_typeEntries, select);
}

void CZorvikanDesktopView::RefillCategoryCombo()
{
    // The combo keeps showing the category the view filters by, wherever a
    // new or renamed category moved its entry.
    m_categoryEntries.Refill(m_database.GetCategories(), m_database.GetRecords());
    int select = 0;
    if (!SameKey(m_viewState.categoryFilter, KEY_ALL)) {
        select = m_categoryEntries.IndexOfKey(m_viewState.categoryFilter);
        if (select < 0) select = m_categoryEntries.GetCount() - 2;
    }
    ShowEntries(CategoryCombo(), m_categoryEntries, select);
}

int CZorvikanDesktopView::InsertTypeIntoCombo(CBaseItem* type)
{
    if (!type) return -1;
    CComboBox* combo = TypeCombo();
    const int selected = combo ? combo->GetCurSel() : -1;
    const int index = m_typeEntries.Insert(*type, m_database.GetRecords());
    ShowEntries(combo, m_typeEntries, selected >= index ? selected + 1 : selected);
    return index;
}

int CZorvikanDesktopView::InsertCategoryIntoCombo(CBaseItem* category)
{
    if (!category) return -1;
    CComboBox* combo = CategoryCombo();
    const int selected = combo ? combo->GetCurSel() : -1;
    const int index = m_categoryEntries.Insert(*category, m_database.GetRecords());
    ShowEntries(combo, m_categoryEntries, selected >= index ? selected + 1 : selected);
    return index;
}

void CZorvikanDesktopView::ReplaceTypeInCombo(CBaseItem* type)
{
    if (!type) return;
    CComboBox* combo = TypeCombo();
    int selected = combo ? combo->GetCurSel() : -1;
    const int before = selected;
    const bool wasSelected = selected >= 0 && selected == m_typeEntries.Find(*type);
    if (m_typeEntries.Replace(*type, m_database.GetRecords(), selected) < 0) return;
    ShowEntries(combo, m_typeEntries, selected);
    if ((wasSelected || before == 0) && m_recordList.m_hWnd)
        m_recordList.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CZorvikanDesktopView::ReplaceCategoryInCombo(CBaseItem* category)
{
    if (!category) return;
    CComboBox* combo = CategoryCombo();
    int selected = combo ? combo->GetCurSel() : -1;
    const int before = selected;
    const bool wasSelected = selected >= 0 && selected == m_categoryEntries.Find(*category);
    if (m_categoryEntries.Replace(*category, m_database.GetRecords(), selected) < 0) return;
    ShowEntries(combo, m_categoryEntries, selected);
    if ((wasSelected || before == 0) && m_recordList.m_hWnd)
        m_recordList.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CZorvikanDesktopView::RemoveTypeFromCombo(CBaseItem* type)
{
    if (!type) return;
    CComboBox* combo = TypeCombo();
    const int selected = combo ? combo->GetCurSel() : -1;
    const int removed = m_typeEntries.Remove(*type);
    if (removed < 0) return;
    if (removed == selected) {
        ShowEntries(combo, m_typeEntries, 0);
        OnTypeComboChange();
    } else {
        ShowEntries(combo, m_typeEntries, selected > removed ? selected - 1 : selected);
    }
}

void CZorvikanDesktopView::RemoveCategoryFromCombo(CBaseItem* category)
{
    if (!category) return;
    CComboBox* combo = CategoryCombo();
    const int selected = combo ? combo->GetCurSel() : -1;
    const int removed = m_categoryEntries.Remove(*category);
    if (removed < 0) return;
    if (removed == selected) {
        ShowEntries(combo, m_categoryEntries, 0);
        OnCategoryComboChange();
    } else {
        ShowEntries(combo, m_categoryEntries, selected > removed ? selected - 1 : selected);
    }
}

void CZorvikanDesktopView::SelectTypeInCombo(const uint8_t key[kUniqueKeySize])
{
    const int index = m_typeEntries.IndexOfKey(key);
    CComboBox* combo = TypeCombo();
    if (index >= 0 && combo) combo->SetCurSel(index);
}

void CZorvikanDesktopView::SelectCategoryInCombo(const uint8_t key[kUniqueKeySize])
{
    const int index = m_categoryEntries.IndexOfKey(key);
    CComboBox* combo = CategoryCombo();
    if (index >= 0 && combo) combo->SetCurSel(index);
}

void CZorvikanDesktopView::GetTypeFilter(uint8_t key[kUniqueKeySize])
{
    // The tree and the panel show the chosen type themselves: the caret's
    // type node, the panel's chosen type row. Their "Unfiled" carries no
    // type (the tree) or the placeholder with the zero key (the panel).
    if (m_nViewMode == kViewModeTree && m_tree.m_hWnd) {
        HTREEITEM node = m_tree.GetSelectedItem();
        if (!node) {
            std::memcpy(key, KEY_ALL, kUniqueKeySize);
            return;
        }
        while (HTREEITEM parent = m_tree.GetParentItem(node)) node = parent;
        const auto* type = reinterpret_cast<const CBaseItem*>(m_tree.GetItemData(node));
        std::memcpy(key, type ? type->GetKey() : KEY_UNFILED, kUniqueKeySize);
        return;
    }
    if (m_nViewMode == kViewModePanel && m_panelTypes.m_hWnd) {
        const int mark = (int)m_panelTypes.SendMessage(LVM_GETSELECTIONMARK);
        const auto* type = mark >= 0 && mark < m_panelTypes.GetItemCount()
                               ? reinterpret_cast<const CBaseItem*>(m_panelTypes.GetItemData(mark))
                               : nullptr;
        std::memcpy(key, type ? type->GetKey() : KEY_UNFILED, kUniqueKeySize);
        return;
    }
    GetListTypeFilter(key);
}

void CZorvikanDesktopView::GetListTypeFilter(uint8_t key[kUniqueKeySize])
{
    CComboBox* combo = TypeCombo();
    if (combo && combo->GetCurSel() >= 0) {
        m_typeEntries.KeyAt(combo->GetCurSel(), key);
        return;
    }
    std::memcpy(key, m_viewState.typeFilter, kUniqueKeySize);
}

void CZorvikanDesktopView::GetCategoryFilter(uint8_t key[kUniqueKeySize])
{
    CComboBox* combo = CategoryCombo();
    if (combo && combo->GetCurSel() >= 0) {
        m_categoryEntries.KeyAt(combo->GetCurSel(), key);
        return;
    }
    std::memcpy(key, m_viewState.categoryFilter, kUniqueKeySize);
}

// ---- Filter changes -------------------------------------------------------------------

void CZorvikanDesktopView::RefillViewsForFilter()
{
    switch (m_nViewMode) {
    case kViewModeTree: FillTree(nullptr); break;
    case kViewModePanel:
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
        break;
    default: FillRecordList(); break;
    }
}

void CZorvikanDesktopView::OnCategoryComboChange()
{
    uint8_t key[kUniqueKeySize];
    GetCategoryFilter(key);
    if (SameKey(key, KEY_EDIT_ENTRY)) {
        SelectCategoryInCombo(m_viewState.categoryFilter);
        OnEditCategories();
        return;
    }
    std::memcpy(m_viewState.categoryFilter, key, kUniqueKeySize);
    RefillViewsForFilter();
    if (m_viewState.showingDetails) ShowDetails(nullptr);
}

void CZorvikanDesktopView::OnTypeComboChange()
{
    uint8_t key[kUniqueKeySize];
    GetListTypeFilter(key);
    if (SameKey(key, KEY_EDIT_ENTRY)) {
        SelectTypeInCombo(m_viewState.typeFilter);
        OnEditTypes();
        return;
    }
    SaveListColumns();
    std::memcpy(m_viewState.typeFilter, key, kUniqueKeySize);
    LoadListColumns(true);
    FillRecordList();
    if (m_viewState.showingDetails) ShowDetails(nullptr);
}

// ---- Details and mask --------------------------------------------------------------

void CZorvikanDesktopView::LayOutForDetails()
{
    // The layout places every pane of the mode by the details flag.
    CRect client;
    GetClientRect(&client);
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
}

void CZorvikanDesktopView::OnShowDetails()
{
    m_viewState.showingDetails = !m_viewState.showingDetails;
    LayOutForDetails();
    ShowDetails(GetSelectedRecord());
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (m_recordList.m_hWnd) m_recordList.SetFocus();
}

void CZorvikanDesktopView::OnUpdateShowDetails(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    SetCommandText(pCmdUI, m_viewState.showingDetails ? Loaded(kHideDetailsTextId) : Loaded(kShowDetailsTextId));
}

void CZorvikanDesktopView::OnToggleMask()
{
    m_bReveal = !m_bReveal;
    SetMaskButtonText(m_bReveal ? Loaded(kMaskCaptionId) : Loaded(kUnmaskCaptionId));
    ShowDetails(GetSelectedRecord());
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void CZorvikanDesktopView::OnUpdateToggleMask(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    SetCommandText(pCmdUI, m_bReveal ? Loaded(kMaskMenuTextId) : Loaded(kUnmaskMenuTextId));
}

// ---- Types and categories --------------------------------------------------------

void CZorvikanDesktopView::OnEditTypes()
{
    m_pluginLink.SetBusy(1);
    GetItemEditorSeam().EditItems(*this, m_database, m_database.GetTypes());
    m_pluginLink.SetBusy(0);
    // Label changes of the chosen type reach the column titles.
    if (!SameKey(m_viewState.typeFilter, KEY_ALL)) {
        SaveListColumns();
        LoadListColumns(true);
    }
    if (m_recordList.m_hWnd) m_recordList.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (m_nViewMode == kViewModePanel) {
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
    } else if (m_nViewMode == kViewModeTree) {
        FillTree(nullptr);
    }
}

void CZorvikanDesktopView::OnEditCategories()
{
    m_pluginLink.SetBusy(1);
    GetItemEditorSeam().EditItems(*this, m_database, m_database.GetCategories());
    if (m_recordList.m_hWnd) m_recordList.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    m_pluginLink.SetBusy(0);
}

void CZorvikanDesktopView::OnNewType()
{
    // From the list, so it has an id no other type has.
    auto* type = static_cast<CTypeItem*>(m_database.GetTypes().NewItem());
    if (!type) return;
    type->GetColumns() = DefaultShowColumns();
    if (GetItemEditorSeam().DefineType(*this, m_database, *type, true) != IDOK) {
        delete type;
        return;
    }
    m_database.GetTypes().AddSorted(type);
    // A new type is a change like any other: saved, told to the platform's
    // listener and to the browser plug-in, in that order.
    CRecordChangeSequence change;
    change.Add(NOTIFY_ADDED, NOTIFY_ITEM_TYPE, type->GetId());
    CViewRecordChangeSteps steps(m_database, m_pluginLink, App());
    change.Run(steps);
    InsertTypeIntoCombo(type);
    if (m_nViewMode == kViewModePanel) {
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
    }
}

// ---- Dropped files -------------------------------------------------------------------

void CZorvikanDesktopView::OnDropFiles(HDROP hDropInfo)
{
    std::vector<CRecord*> imported;
    CString leftOut;
    bool lastImportRan = false;
    const UINT count = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH + 1] = {};
        if (!::DragQueryFileA(hDropInfo, i, path, sizeof path)) continue;
        if (IsImportableDroppedFile(path))
            lastImportRan = ImportFile(kFormatFromContent, path, imported, leftOut, false);
        else
            AfxMessageBox(DroppedFileRefusalText(), MB_OK);
    }
    ::DragFinish(hDropInfo);
    // Lines left out of any of the files are told even when the last one
    // could not be read.
    if (lastImportRan || !leftOut.IsEmpty()) ShowImportedRecords(imported, leftOut);
}
