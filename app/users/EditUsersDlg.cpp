#include "app/users/EditUsersDlg.h"

#include <windows.h>

#include "app/res/ShellDialogsRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "app/users/EditUserDlg.h"
#include "app/users/StandaloneUsers.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"

namespace {
const char kInvalidNameCaption[] = "Invalid Username";
const char kBlankNameText[] = "Blank user name is not allowed.";
const char kNameExistsText[] = "Username already exists.";
}  // namespace

BEGIN_MESSAGE_MAP(CEditUsersDlg, CDialog)
    ON_LBN_SELCHANGE(IDC_USERS_LIST, &CEditUsersDlg::OnSelChange)
    ON_LBN_DBLCLK(IDC_USERS_LIST, &CEditUsersDlg::OnEdit)
    ON_BN_CLICKED(IDC_USERS_EDIT, &CEditUsersDlg::OnEdit)
    ON_BN_CLICKED(IDC_USERS_NEW, &CEditUsersDlg::OnNew)
    ON_BN_CLICKED(IDC_USERS_DELETE, &CEditUsersDlg::OnDelete)
END_MESSAGE_MAP()

CEditUsersDlg::CEditUsersDlg(CUserList& users, CUserItem* currentUser, CWnd* pParent)
    : CDialog(IDD_EDIT_USERS, pParent), m_users(users), m_pCurrentUser(currentUser)
{}

void CEditUsersDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_USERS_LIST, m_list);
}

BOOL CEditUsersDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CString current = m_pCurrentUser ? m_pCurrentUser->GetDisplayName() : CString();
    for (POSITION pos = m_users.GetHeadPosition(); pos;) {
        auto* user = static_cast<CUserItem*>(m_users.GetNext(pos));
        if (!user || !user->IsStandalone() || user->GetDisplayName() == current) continue;
        const int row = m_list.AddString(StandaloneShownName(user->GetDisplayName()));
        m_list.SetItemData(row, (DWORD_PTR)user);
    }
    UpdateButtons();
    return TRUE;
}

void CEditUsersDlg::UpdateButtons()
{
    const BOOL selected = m_list.GetCurSel() != LB_ERR;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_USERS_EDIT), selected);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_USERS_DELETE), selected);
}

void CEditUsersDlg::OnSelChange() { UpdateButtons(); }

bool CEditUsersDlg::CheckNewName(const CString& typed, const CUserItem* except, CString& name)
{
    name = TrimUserName(typed);
    if (name.IsEmpty()) {
        AfxGetModalSeam().MessageBox(m_hWnd, kBlankNameText, kInvalidNameCaption, MB_OK);
        return false;
    }
    if (IsStandaloneNameTaken(m_users, name, except)) {
        AfxGetModalSeam().MessageBox(m_hWnd, kNameExistsText, kInvalidNameCaption, MB_OK);
        return false;
    }
    return true;
}

void CEditUsersDlg::OnNew()
{
    CEditUserDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    CString name;
    if (!CheckNewName(dlg.m_strName, nullptr, name)) return;
    CUserItem* user = MakeStandaloneUser(name);
    if (!user) {
        AfxGetModalSeam().MessageBox(m_hWnd, kNameExistsText, kInvalidNameCaption, MB_OK);
        return;
    }
    CAppPrefMgr::GetInstance()->GetPrefs()->AddUser(user);
    m_users.AddTail(user);
    const int row = m_list.AddString(StandaloneShownName(user->GetDisplayName()));
    m_list.SetItemData(row, (DWORD_PTR)user);
    UpdateButtons();
}

void CEditUsersDlg::OnEdit()
{
    const int row = m_list.GetCurSel();
    if (row == LB_ERR) return;
    auto* user = reinterpret_cast<CUserItem*>(m_list.GetItemData(row));
    const CString oldName = StandaloneShownName(user->GetDisplayName());
    CEditUserDlg dlg(this);
    dlg.m_strName = oldName;
    if (dlg.DoModal() != IDOK) return;
    if (dlg.m_strName == oldName) return;
    // The user's own names take part, so a change of letter case alone is
    // refused: it would rename the folder onto itself.
    CString name;
    if (!CheckNewName(dlg.m_strName, nullptr, name)) return;
    if (CAppPrefMgr::GetInstance()->RenameUser(user, StandaloneDisplayName(name), StandaloneKeyName(name)) != 0)
        return;  // the user, its folders and section stay as they were
    m_list.DeleteString(row);
    m_list.InsertString(row, StandaloneShownName(user->GetDisplayName()));
    m_list.SetItemData(row, (DWORD_PTR)user);
    m_list.SetCurSel(row);
    UpdateButtons();
    if (m_pCurrentUser)
        CAppPrefMgr::GetInstance()->GetPrefs()->SetCurrentUser(CZorvikanDesktopApp::GetPrefsSection(),
                                                               m_pCurrentUser->GetKeyName());
}

void CEditUsersDlg::OnDelete()
{
    const int row = m_list.GetCurSel();
    if (row == LB_ERR) return;
    if (AfxMessageBox(IDS_DELETE_SELECTED_ASK, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    auto* user = reinterpret_cast<CUserItem*>(m_list.GetItemData(row));
    if (m_pCurrentUser && user->GetDisplayName() == m_pCurrentUser->GetDisplayName()) {
        AfxMessageBox(IDS_CANNOT_DELETE_ACTIVE_USER, MB_OK | MB_ICONSTOP);
        return;
    }
    CAppPrefMgr::GetInstance()->DeleteUserData(user);
    POSITION pos = m_users.Find(user);
    if (pos) m_users.RemoveAt(pos);
    delete user;
    m_list.DeleteString(row);
    UpdateButtons();
}
