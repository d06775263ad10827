// Change notices from outside components, passed on by the main frame: the
// changed item is taken from the saved database file into the view's
// database object and the views follow.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/UniqueList.h"
#include "core/os/ChangeNotify.h"

namespace {

CObjectList* ListOf(CDatabaseObj& database, UINT itemClass)
{
    switch (itemClass) {
    case NOTIFY_ITEM_RECORD: return &database.GetRecords();
    case NOTIFY_ITEM_TYPE: return &database.GetTypes();
    case NOTIFY_ITEM_CATEGORY: return &database.GetCategories();
    default: return nullptr;
    }
}

}  // namespace

void CZorvikanDesktopView::TellRecordChanged(int operation, CRecord* record)
{
    if (CZorvikanDesktopApp* app = App()) {
        if (operation == NOTIFY_ADDED)
            app->OnRecordAdded(record);
        else if (operation == NOTIFY_MODIFIED)
            app->OnRecordEdited(record);
        else if (operation == NOTIFY_DELETED)
            app->OnRecordDeleted(record);
    }
    m_pluginLink.SignalDatabaseChange();
}

void CZorvikanDesktopView::ApplyItemAdded(UINT itemClass, int32_t id)
{
    CObjectList* list = ListOf(m_database, itemClass);
    if (!list) return;
    // An item this object already has is brought to its saved state: adding
    // it again would list it twice.
    if (list->FindById(id)) {
        ApplyItemModified(itemClass, id);
        return;
    }
    CBaseItem* item = m_database.LoadItemFromFile((int)itemClass, id);
    if (!item) return;
    if (itemClass == NOTIFY_ITEM_RECORD) {
        CRecord* record = static_cast<CRecord*>(item);
        m_database.GetRecords().Add(record);
        ShowAddedRecord(record, false);
        TellRecordChanged(NOTIFY_ADDED, record);
        return;
    }
    static_cast<CUniqueList*>(list)->AddSorted(item);
    if (itemClass == NOTIFY_ITEM_TYPE)
        RefillTypeCombo();
    else
        RefillCategoryCombo();
}

void CZorvikanDesktopView::ApplyItemModified(UINT itemClass, int32_t id)
{
    CBaseItem* item = m_database.RevertItem((int)itemClass, id);
    if (!item) return;
    if (itemClass == NOTIFY_ITEM_RECORD) {
        CRecord* record = static_cast<CRecord*>(item);
        if (record->IsDeleted()) {
            ShowRemovedRecord(record);
            TellRecordChanged(NOTIFY_DELETED, record);
            return;
        }
        ShowUpdatedRecord(record);
        TellRecordChanged(NOTIFY_MODIFIED, record);
        return;
    }
    if (itemClass == NOTIFY_ITEM_TYPE)
        RefillTypeCombo();
    else
        RefillCategoryCombo();
}

void CZorvikanDesktopView::ApplyItemDeleted(UINT itemClass, int32_t id)
{
    CObjectList* list = ListOf(m_database, itemClass);
    CBaseItem* item = list ? list->FindById(id) : nullptr;
    if (!item) return;
    // A type or category the filter shows: the filter falls back to "All"
    // and the views follow, before the item goes.
    if (itemClass == NOTIFY_ITEM_TYPE)
        RemoveTypeFromCombo(item);
    else if (itemClass == NOTIFY_ITEM_CATEGORY)
        RemoveCategoryFromCombo(item);
    // The saved state is the tombstone the next sync needs; only an item the
    // file no longer holds at all leaves the list. It is kept until the view
    // ends, as an open editor or a view may still point to it.
    CBaseItem* reverted = m_database.RevertItem((int)itemClass, id);
    if (!reverted) {
        reverted = m_database.DetachItem((int)itemClass, id);
        if (reverted) m_detachedItems.emplace_back(reverted);
    }
    if (!reverted) return;
    if (itemClass == NOTIFY_ITEM_RECORD) {
        CRecord* record = static_cast<CRecord*>(reverted);
        ShowRemovedRecord(record);
        TellRecordChanged(NOTIFY_DELETED, record);
        return;
    }
    if (itemClass == NOTIFY_ITEM_TYPE)
        RefillTypeCombo();
    else
        RefillCategoryCombo();
}

LRESULT CZorvikanDesktopView::OnDatabaseNotify(UINT operation, UINT itemClass, LPARAM itemId)
{
    long result = 0;
    if (m_lockState.TakeNotice((int)operation, result)) return result;
    const int32_t id = static_cast<int32_t>(itemId);
    switch ((int)operation) {
    case NOTIFY_RELOAD:
        if (m_recordList.m_hWnd) m_recordList.DeleteAllItems();
        ReloadAndRefresh(CurrentUser(), true);
        break;
    case NOTIFY_ADDED: ApplyItemAdded(itemClass, id); break;
    case NOTIFY_MODIFIED: ApplyItemModified(itemClass, id); break;
    case NOTIFY_DELETED: ApplyItemDeleted(itemClass, id); break;
    default: break;
    }
    if (m_nViewMode == kViewModeTree) {
        FillTree(GetSelectedRecord());
    } else if (m_nViewMode == kViewModePanel) {
        CRecord* selected = GetSelectedRecord();
        FillPanelTypes(selected);
        FillPanelRecords(selected);
    }
    return 0;
}
