#include "app/logon/SetPasswordDlg.h"

#include <windows.h>

#include <memory>

#include "app/logon/LogonRes.h"
#include "app/logon/PasswordHint.h"
#include "app/logon/PasswordRules.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "core/os/SystemInfo.h"
#include "framework/DataExchange.h"
#include "framework/DC.h"
#include "framework/ModalSeam.h"
#include "toolkit/SecretDataExchange.h"

namespace {

const int kMaxPasswordChars = 32;
const int kMaxAnswerChars = 16;
const char kHintFailed[] = "Failed to set Hint for the user";

std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

void ExchangePassword(CDataExchange* pDX, int nID, CSecretString& value)
{
    DDX_Text(pDX, nID, value);
    DDV_MaxChars(pDX, value, kMaxPasswordChars);
}

}  // namespace

// ----- shared -----

BEGIN_MESSAGE_MAP(CNewPasswordDlgBase, CDialog)
    ON_WM_PAINT()
    ON_EN_CHANGE(IDC_PASSWORD, &CNewPasswordDlgBase::OnChangeNewPassword)
END_MESSAGE_MAP()

BOOL CNewPasswordDlgBase::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (IsWindowsXP()) {
        for (int id : {IDC_OLD_PASSWORD, IDC_PASSWORD, IDC_CONFIRM_PASSWORD}) {
            if (GetDlgItem(id)) SendDlgItemMessage(id, EM_SETPASSWORDCHAR, (WPARAM)'*');
        }
    }
    FillHintQuestionCombo(m_questionCombo);
    CPasswordStrengthMeter::CreateLabelFont(m_labelFont);
    return TRUE;
}

void CNewPasswordDlgBase::ExchangeHintQuestion(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_HINT_QUESTION, m_questionCombo);
    DDX_Text(pDX, IDC_HINT_ANSWER, m_strAnswer);
    DDV_MaxChars(pDX, m_strAnswer, kMaxAnswerChars);
}

bool CNewPasswordDlgBase::CheckConfirmation(const CSecretString& password, const CSecretString& confirmation)
{
    if (password.Compare(confirmation) == 0) return true;
    AfxMessageBox(IDS_PASSWORDS_DONT_MATCH, MB_OK);
    return false;
}

bool CNewPasswordDlgBase::CheckAcceptable(const CSecretString& password)
{
    if (IsAcceptablePassword(password)) return true;
    AfxMessageBox(IDS_PASSWORD_TOO_SIMPLE, MB_OK);
    return false;
}

bool CNewPasswordDlgBase::CheckRequirements(const CSecretString& password)
{
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    BYTE block[kPasswordRequirementsSize] = {0};
    // No block stored: no requirements.
    if (!prefs->GetPasswordRequirements(m_strPrefsSection, block)) return true;
    if (MeetsPasswordRequirements(block, password)) return true;
    AfxMessageBox(prefs->GetPasswordRequirementsError(m_strPrefsSection), MB_OK);
    return false;
}

bool CNewPasswordDlgBase::StoreHint(const CString& hintText)
{
    CPasswordHint hint(m_pUser);
    if (hintText.IsEmpty()) {
        hint.ClearHint();
        return true;
    }
    int question = (int)m_questionCombo.SendMessage(CB_GETCURSEL);
    if (question == CB_ERR) {
        AfxMessageBox(kHintFailed, MB_OK);
        return false;
    }
    if ((question >= 1 && m_strAnswer.IsEmpty()) || (question == 0 && !m_strAnswer.IsEmpty())) {
        AfxMessageBox(IDS_HINT_QUESTION_AND_ANSWER, MB_OK);
        return false;
    }
    if (!hint.SetHint(question, m_strAnswer, hintText))
        AfxMessageBox(kHintFailed, MB_OK);  // reported; the dialog still closes
    return true;
}

void CNewPasswordDlgBase::OnPaint()
{
    CPaintDC dc(this);
    CWnd* area = GetDlgItem(IDC_STRENGTH_METER);
    if (!area) return;
    CRect rect;
    area->GetWindowRect(&rect);
    ScreenToClient(&rect);
    CFont* oldFont = m_labelFont.m_hObject ? dc.SelectObject(&m_labelFont) : nullptr;
    m_meter.DrawBackground(&dc, rect);
    m_meter.DrawBar(&dc, rect);
    if (oldFont) dc.SelectObject(oldFont);
}

void CNewPasswordDlgBase::OnChangeNewPassword()
{
    m_meter.UpdateFromPassword(GetSecretWindowText(::GetDlgItem(m_hWnd, IDC_PASSWORD)));
    if (CWnd* area = GetDlgItem(IDC_STRENGTH_METER)) {
        CRect rect;
        area->GetWindowRect(&rect);
        ScreenToClient(&rect);
        InvalidateRect(&rect, TRUE);
    }
}

// ----- changing a password -----

CSetPasswordDlg::CSetPasswordDlg(CWnd* pParent) : CNewPasswordDlgBase(IDD_SETPASSWORD, pParent) {}

void CSetPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CNewPasswordDlgBase::DoDataExchange(pDX);
    ExchangePassword(pDX, IDC_PASSWORD, m_strNewPassword);
    ExchangePassword(pDX, IDC_CONFIRM_PASSWORD, m_strConfirmation);
    ExchangePassword(pDX, IDC_OLD_PASSWORD, m_strOldPassword);
    DDX_Text(pDX, IDC_HINT_TEXT, m_strHint);
    ExchangeHintQuestion(pDX);
}

void CSetPasswordDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (!CheckConfirmation(m_strNewPassword, m_strConfirmation)) return;
    CString folder = CAppPrefMgr::GetInstance()->GetUserDirectory(m_pUser);
    if (!GetMasterPwdMgr()->VerifyPassword(folder, m_strOldPassword)) {
        AfxMessageBox(IDS_OLD_PASSWORD_WRONG, MB_OK);
        return;
    }
    if (!CheckAcceptable(m_strNewPassword) || !CheckRequirements(m_strNewPassword)) return;
    if (!StoreHint(m_strHint)) return;
    EndDialog(IDOK);
}

// ----- setting a first password -----

BEGIN_MESSAGE_MAP(CSetPasswordNoOldDlg, CNewPasswordDlgBase)
    ON_BN_CLICKED(IDC_DONT_SET_PASSWORD, &CSetPasswordNoOldDlg::OnDontSet)
END_MESSAGE_MAP()

CSetPasswordNoOldDlg::CSetPasswordNoOldDlg(CWnd* pParent, bool welcomeForm)
    : CNewPasswordDlgBase(welcomeForm ? IDD_SETPASSWORD_WELCOME : IDD_SETPASSWORD_NOOLD, pParent),
      m_bWelcome(welcomeForm)
{}

void CSetPasswordNoOldDlg::DoDataExchange(CDataExchange* pDX)
{
    CNewPasswordDlgBase::DoDataExchange(pDX);
    ExchangePassword(pDX, IDC_CONFIRM_PASSWORD, m_strConfirmation);
    ExchangePassword(pDX, IDC_PASSWORD, m_strNewPassword);
    if (m_bWelcome) DDX_Check(pDX, IDC_DONT_SET_PASSWORD, m_bDontSet);
    ExchangeHintQuestion(pDX);
}

BOOL CSetPasswordNoOldDlg::OnInitDialog()
{
    BOOL result = CNewPasswordDlgBase::OnInitDialog();
    if (m_bWelcome) {
        CString message = Prefs()->GetPasswordRequirementsMessage(m_strPrefsSection);
        if (!message.IsEmpty()) SetDlgItemText(IDC_REQUIREMENTS_TEXT, message);
    }
    return result;
}

void CSetPasswordNoOldDlg::OnDontSet()
{
    m_bDontSet = m_bDontSet ? 0 : 1;
    for (int id : {IDC_PASSWORD, IDC_CONFIRM_PASSWORD, IDC_HINT_TEXT, IDC_HINT_QUESTION, IDC_HINT_ANSWER}) {
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(m_bDontSet ? FALSE : TRUE);
    }
}

void CSetPasswordNoOldDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (!CheckConfirmation(m_strNewPassword, m_strConfirmation)) return;
    if (!CheckAcceptable(m_strNewPassword) || !CheckRequirements(m_strNewPassword)) return;
    CString hintText;
    GetDlgItemText(IDC_HINT_TEXT, hintText);
    if (!StoreHint(hintText)) return;
    EndDialog(IDOK);
}
