// The type and category lists' editor.
#include "mainwindow/dialogs/EditItemsDlg.h"

#include <ctime>
#include <memory>

#include "app/history/LogEvents.h"
#include "app/res/RecordDialogsRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Category.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "core/os/ChangeNotify.h"
#include "core/store/DatabaseObj.h"
#include "core/users/UserItem.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "mainwindow/dialogs/DefineItemDlgs.h"
#include "mainwindow/dialogs/ItemEditorHost.h"

BEGIN_MESSAGE_MAP(CEditItemsDlg, CDialog)
    ON_BN_CLICKED(IDC_ITEMS_NEW, &CEditItemsDlg::OnNew)
    ON_BN_CLICKED(IDC_ITEMS_EDIT, &CEditItemsDlg::OnEdit)
    ON_BN_CLICKED(IDC_ITEMS_DELETE, &CEditItemsDlg::OnDelete)
    ON_LBN_SELCHANGE(IDC_ITEMS_LIST, &CEditItemsDlg::OnSelChangeList)
    ON_LBN_DBLCLK(IDC_ITEMS_LIST, &CEditItemsDlg::OnEdit)
END_MESSAGE_MAP()

CEditItemsDlg::CEditItemsDlg(CWnd* pParent, CDatabaseObj& database, CUniqueList& list, IItemEditorHost& host)
    : CDialog(IDD_EDIT_ITEMS, pParent), m_database(database), m_list(list), m_host(host)
{}

void CEditItemsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ITEMS_LIST, m_listBox);
}

bool CEditItemsDlg::EditsTypes() const { return m_list.GetItemKind() == kItemKindType; }

BOOL CEditItemsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (POSITION pos = m_list.GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(m_list.GetNext(pos));
        // The null key is "Unfiled", which is not edited.
        if (item && !item->IsDeleted() && !IsNullUniqueKey(item->GetKey())) AddEntry(item, false);
    }
    if (!EditsTypes()) {
        CString caption;
        caption.LoadString(IDS_EDIT_CATEGORIES);
        SetWindowText(caption);
    }
    OnSelChangeList();
    return TRUE;
}

void CEditItemsDlg::AddEntry(CBaseItem* item, bool select)
{
    const int index = m_listBox.AddString(item->GetName());
    m_listBox.SetItemData(index, reinterpret_cast<DWORD_PTR>(item));
    if (select) m_listBox.SetCurSel(index);
}

CBaseItem* CEditItemsDlg::Selected() const
{
    const int index = m_listBox.GetCurSel();
    return index < 0 ? nullptr : reinterpret_cast<CBaseItem*>(m_listBox.GetItemData(index));
}

void CEditItemsDlg::OnSelChangeList()
{
    const BOOL selected = m_listBox.GetCurSel() >= 0;
    if (CWnd* edit = GetDlgItem(IDC_ITEMS_EDIT)) edit->EnableWindow(selected);
    if (CWnd* remove = GetDlgItem(IDC_ITEMS_DELETE)) remove->EnableWindow(selected);
}

void CEditItemsDlg::LogEvent(const char* name, const char* action, const CString& description, const CString& oldValue,
                             const CString& newValue)
{
    CString user;
    CWinApp* app = AfxGetApp();
    if (app && app->IsKindOf(RUNTIME_CLASS(CZorvikanDesktopApp)))
        if (CUserItem* current = static_cast<CZorvikanDesktopApp*>(app)->GetCurrentUser())
            user = current->GetDisplayName();
    CLogEvents::GetInstance()->AddEvent(name, action, user, description, oldValue, newValue);
}

void CEditItemsDlg::OnNew()
{
    if (EditsTypes()) {
        std::unique_ptr<CTypeItem> type(static_cast<CTypeItem*>(m_list.NewItem()));
        if (!type) return;
        CDefineTypeDlg dlg(this, m_database, *type, m_host);
        dlg.SetNew(true);
        if (dlg.DoModal() != IDOK) return;
        CTypeItem* added = type.release();
        m_list.AddSorted(added);
        AddEntry(added, false);
        m_host.CommitItemChange(NOTIFY_ADDED, NOTIFY_ITEM_TYPE, added->GetId());
        LogEvent("Add type", "Type added", added->GetName(), CString(), added->GetName());
        return;
    }
    CDefineCategoryDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    CBaseItem* category = m_list.NewItem();
    if (!category) return;
    static_cast<CCategory*>(category)->SetName(dlg.m_name);
    category->SetModified(true);
    m_list.AddSorted(category);
    AddEntry(category, false);
    m_host.CommitItemChange(NOTIFY_ADDED, NOTIFY_ITEM_CATEGORY, category->GetId());
    LogEvent("Add category", "Category added", dlg.m_name, CString(), dlg.m_name);
}

void CEditItemsDlg::OnEdit()
{
    CBaseItem* item = Selected();
    if (!item) return;
    const CString oldName = item->GetName();
    if (EditsTypes()) {
        CTypeItem* type = static_cast<CTypeItem*>(item);
        CDefineTypeDlg dlg(this, m_database, *type, m_host);
        if (dlg.DoModal() != IDOK) return;
        const TypeChange& change = dlg.GetChange();
        if (!change.changed) return;
        // Saved and told like every other change, renamed or not.
        m_host.CommitItemChange(NOTIFY_MODIFIED, NOTIFY_ITEM_TYPE, type->GetId());
        if (type->GetName() != oldName) {
            m_listBox.DeleteString(m_listBox.GetCurSel());
            AddEntry(type, true);
            LogEvent("Edit type", "Type edited", type->GetName(), oldName, type->GetName());
        }
        return;
    }
    CDefineCategoryDlg dlg(this);
    dlg.m_name = oldName;
    if (dlg.DoModal() != IDOK || dlg.m_name == oldName) return;
    item->SetMainText(dlg.m_name);
    item->SetModified(true);
    // Stamped before the save, so the file holds it.
    item->SetModifiedTime(static_cast<int32_t>(std::time(nullptr)));
    m_host.CommitItemChange(NOTIFY_MODIFIED, NOTIFY_ITEM_CATEGORY, item->GetId());
    m_listBox.DeleteString(m_listBox.GetCurSel());
    AddEntry(item, true);
    LogEvent("Edit category", "Category edited", dlg.m_name, oldName, dlg.m_name);
}

void CEditItemsDlg::OnDelete()
{
    CBaseItem* item = Selected();
    if (!item) return;
    if (AfxMessageBox(IDS_DELETE_TYPE_ASK, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO) return;
    const CString name = item->GetName();
    const int32_t id = item->GetId();
    const int index = m_listBox.GetCurSel();
    m_listBox.DeleteString(index);
    if (EditsTypes()) {
        LogEvent("Delete type", "Type deleted", name, name, CString());
        m_database.DeleteType(item);
        m_host.CommitItemChange(NOTIFY_DELETED, NOTIFY_ITEM_TYPE, id);
    } else {
        LogEvent("Delete category", "Category deleted", name, name, CString());
        m_database.DeleteCategory(item);
        m_host.CommitItemChange(NOTIFY_DELETED, NOTIFY_ITEM_CATEGORY, id);
    }
    OnSelChangeList();
}
