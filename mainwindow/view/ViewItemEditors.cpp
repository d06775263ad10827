// The main view's side of the type and category editors.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <memory>

#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "core/os/ChangeNotify.h"
#include "mainwindow/dialogs/DefineItemDlgs.h"
#include "mainwindow/dialogs/EditItemsDlg.h"
#include "mainwindow/dialogs/ItemEditorHost.h"
#include "mainwindow/records/RecordChangeSequence.h"

// What the editors ask of the view.
class CViewItemEditorHost : public IItemEditorHost {
public:
    explicit CViewItemEditorHost(CZorvikanDesktopView& view) : m_view(view) {}

    int CommitItemChange(int operation, int itemClass, int itemId) override
    {
        // A deleted type or category leaves its combo first: when the filter
        // showed it, the filter falls back to "All" and the views follow.
        if (operation == NOTIFY_DELETED) {
            const bool type = itemClass == NOTIFY_ITEM_TYPE;
            CBaseItem* item = m_view.GetDatabase().FindItemById(itemId, type ? kItemKindType : kItemKindCategory);
            if (type)
                m_view.RemoveTypeFromCombo(item);
            else
                m_view.RemoveCategoryFromCombo(item);
        }
        CRecordChangeSequence change;
        change.Add(operation, itemClass, itemId);
        const int result = m_view.CommitRecordChange(change);
        m_view.RefreshViewsAndCombos();
        return result;
    }
    void DrawItemIcon(CDC* pDC, const CRect& rect, int id) override { m_view.DrawItemIcon(pDC, rect, id); }
    bool ChooseIcon(int& id) override
    {
        // Over the editor that asks, the window active now.
        return m_view.ChooseIcon(id, CWnd::FromHandle(::GetActiveWindow()));
    }

private:
    CZorvikanDesktopView& m_view;
};

void CZorvikanDesktopView::RunItemEditor(bool types, CWnd* parent)
{
    CViewItemEditorHost host(*this);
    CUniqueList& list = types ? static_cast<CUniqueList&>(m_database.GetTypes())
                              : static_cast<CUniqueList&>(m_database.GetCategories());
    CEditItemsDlg dlg(parent ? parent : this, m_database, list, host);
    const int wasBusy = m_pluginLink.GetBusy();
    m_pluginLink.SetBusy(1);
    const bool wasEditing = m_lockState.IsEditingDialogOpen();
    m_lockState.SetEditingDialogOpen(true);
    dlg.DoModal();
    m_lockState.SetEditingDialogOpen(wasEditing);
    m_pluginLink.SetBusy(wasBusy);
}

INT_PTR CZorvikanDesktopView::RunDefineTypeDialog(CTypeItem& type, bool isNew)
{
    CViewItemEditorHost host(*this);
    CDefineTypeDlg dlg(this, m_database, type, host);
    dlg.SetNew(isNew);
    const bool wasEditing = m_lockState.IsEditingDialogOpen();
    m_lockState.SetEditingDialogOpen(true);
    const INT_PTR result = dlg.DoModal();
    m_lockState.SetEditingDialogOpen(wasEditing);
    return result;
}
