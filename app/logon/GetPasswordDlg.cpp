#include "app/logon/GetPasswordDlg.h"

#include <windows.h>
#include <shlwapi.h>

#include <memory>

#include "app/logon/HintDlg.h"
#include "app/logon/LogonAttempts.h"
#include "app/logon/LogonEvents.h"
#include "app/logon/LogonRes.h"
#include "app/logon/PasswordHint.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/os/DirTree.h"
#include "core/store/MasterPwdMgr.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/os/SystemInfo.h"
#include "core/users/UserItem.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "toolkit/SecretDataExchange.h"

namespace {

const int kMaxPasswordChars = 32;

const char kAccountLocked[] = "Your account is locked.";
const char kUserLockedCaption[] = "User Locked";
const char kUserLockedText[] = "Since you have entered an incorrect password 10 times,\n"
                               "your data will now be deleted. Quit Zorvikan, and you\n"
                               "can start the app again and start entering data from scratch.";
const char kFiveAttemptsLeft[] = "Only 5 attempts left...!!!";
const char kNoHintCaption[] = "No Hint Set";
const char kNoHintText[] = "You have not set any hint.";

std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

}  // namespace

void DeleteLockedOutUserData(CUserItem* user)
{
    if (!user) return;
    std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
    CString folder = manager->GetUserDirectory(user);
    // Only ever the user's own folder: never a relative path, the data
    // root, anything above it or its fixed folders.
    if (folder.IsEmpty() || ::PathIsRelativeA(folder.GetString()) || manager->IsProtectedPath(folder)) return;
    DeleteFilesInFolder(folder);
    DeletePathSilently(JoinPath(folder, "Files"), nullptr);
    DeletePathSilently(JoinPath(folder, "Icons"), nullptr);
}

BEGIN_MESSAGE_MAP(CGetPasswordDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_USER_COMBO, &CGetPasswordDlg::OnSelChangeUser)
    ON_BN_CLICKED(IDC_HINT_BUTTON, &CGetPasswordDlg::OnHint)
END_MESSAGE_MAP()

CGetPasswordDlg::CGetPasswordDlg(CWnd* pParent, bool severalUsers)
    : CDialog(severalUsers ? IDD_GETPASSWORD_USERS : IDD_GETPASSWORD, pParent)
{}

void CGetPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_USER_COMBO, m_userCombo);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, kMaxPasswordChars);
}

BOOL CGetPasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The users, each entry carrying its user; the preselected one selected.
    auto add = [this](CUserItem* user) {
        CString name = user->GetDisplayName();
        LRESULT index = m_userCombo.SendMessage(CB_ADDSTRING, 0, (LPARAM)name.GetString());
        if (index >= 0) {
            m_userCombo.SendMessage(CB_SETITEMDATA, (WPARAM)index, (LPARAM)user);
            if (user == m_pUser) m_userCombo.SendMessage(CB_SETCURSEL, (WPARAM)index);
        }
    };
    if (m_pUsers) {
        for (POSITION pos = m_pUsers->GetHeadPosition(); pos;) add(static_cast<CUserItem*>(m_pUsers->GetNext(pos)));
    } else if (m_pUser) {
        add(m_pUser);
    }

    if (m_bLockUser) m_userCombo.EnableWindow(FALSE);
    if (m_bCancelCaption) SetDlgItemText(IDCANCEL, "Cancel");
    if (IsWindowsXP()) SendDlgItemMessage(IDC_PASSWORD, EM_SETPASSWORDCHAR, (WPARAM)'*');

    if (m_labelFont.CreatePointFont(100, "Comic Sans MS")) GetDlgItem(IDC_ATTEMPTS_LABEL)->SetFont(&m_labelFont);
    ReadAttemptCount();
    ShowAttemptsLabel(ShowsAttemptsLabel(m_nAttemptCount));

    // The password box, not the user choice ahead of it in the tab order,
    // starts with the focus: a password typed at once must not pick another
    // user by its first letter and log on as that user with an empty one.
    GotoDlgCtrl(GetDlgItem(IDC_PASSWORD));
    return FALSE;
}

CUserItem* CGetPasswordDlg::SelectedUser() const
{
    LRESULT index = m_userCombo.SendMessage(CB_GETCURSEL);
    if (index == CB_ERR) return m_pUser;
    return reinterpret_cast<CUserItem*>(m_userCombo.SendMessage(CB_GETITEMDATA, (WPARAM)index));
}

void CGetPasswordDlg::ReadAttemptCount()
{
    m_nAttemptCount = Prefs()->GetLoginAttemptCount(m_pUser);
    m_nAttemptsLeft = kLoginAttemptLimit - m_nAttemptCount;
}

void CGetPasswordDlg::ShowAttemptsLabel(bool show)
{
    CWnd* label = GetDlgItem(IDC_ATTEMPTS_LABEL);
    if (!label) return;
    if (show) label->SetWindowText(AttemptsLeftText(m_nAttemptsLeft));
    label->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CGetPasswordDlg::OnSelChangeUser()
{
    m_pUser = SelectedUser();
    ReadAttemptCount();
    ShowAttemptsLabel(ShowsAttemptsLabel(m_nAttemptCount));
}

void CGetPasswordDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    m_pUser = SelectedUser();
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    ReadAttemptCount();

    bool right = false;
    if (NeedsPasswordCheck(m_nAttemptCount)) {
        CString folder = CAppPrefMgr::GetInstance()->GetUserDirectory(m_pUser);
        right = GetMasterPwdMgr()->VerifyPassword(folder, m_strPassword);
    }
    LogonStep step = NextLogonStep(m_nAttemptCount, right);

    if (step.outcome == LogonOutcome::LoggedOn) {
        prefs->SetLoginAttemptCount(m_pUser, 0);
        RecordLogonEvent(m_pUser, true);
        GetMasterPwdMgr()->SetPassword(m_strPassword);
        EndDialog(IDOK);
        return;
    }

    RecordLogonEvent(m_pUser, false);
    // Stored before anything is shown, so ending the program at a message
    // never forgets the failure.
    prefs->SetLoginAttemptCount(m_pUser, step.countAfterCheck);
    m_nAttemptCount = step.countAfterCheck;
    m_nAttemptsLeft = step.attemptsLeft;

    if (step.outcome == LogonOutcome::LockOut) {
        LockOut(m_pUser);
        prefs->SetLoginAttemptCount(m_pUser, step.finalCount);
        m_nAttemptCount = step.finalCount;
        return;
    }

    SendDlgItemMessage(IDC_PASSWORD, EM_SETSEL, 0, -1);
    GetDlgItem(IDC_PASSWORD)->SetFocus();
    GetDlgItem(IDC_ATTEMPTS_LABEL)->SetWindowText(AttemptsLeftText(m_nAttemptsLeft));
    AfxMessageBox(IDS_WRONG_PASSWORD, MB_OK);
    if (step.fiveLeftWarning) {
        AfxMessageBox(kFiveAttemptsLeft, MB_OK);
        GetDlgItem(IDC_ATTEMPTS_LABEL)->ShowWindow(SW_SHOW);
    }
}

void CGetPasswordDlg::LockOut(CUserItem* user)
{
    AfxMessageBox(kAccountLocked, MB_OK);
    AfxGetModalSeam().MessageBox(m_hWnd, kUserLockedText, kUserLockedCaption, MB_OK | MB_ICONEXCLAMATION);
    DeleteLockedOutUserData(user);
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    GetDlgItem(IDC_ATTEMPTS_LABEL)->SetWindowText(kAttemptLimitText);
}

void CGetPasswordDlg::OnHint()
{
    CPasswordHint hint(m_pUser);
    switch (hint.GetHintState()) {
    case kHintNone:
        AfxGetModalSeam().MessageBox(m_hWnd, kNoHintText, kNoHintCaption, MB_OK | MB_ICONEXCLAMATION);
        break;
    case kHintWithoutQuestion: AfxMessageBox(hint.GetHint(CPasswordHint::kFallbackKey, kHintKeyFallback), MB_OK); break;
    default: {
        CHintDlg dlg(this);
        dlg.m_pHint = &hint;
        dlg.DoModal();
        break;
    }
    }
    // What is typed next is the password again.
    GotoDlgCtrl(GetDlgItem(IDC_PASSWORD));
}
