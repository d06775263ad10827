#include "app/logon/HintDlg.h"

#include <windows.h>

#include "app/logon/LogonRes.h"
#include "app/logon/PasswordHint.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "toolkit/SecretDataExchange.h"

namespace {
// Only the first 16 characters of an answer are part of the key.
const int kMaxAnswerChars = 16;
}  // namespace

CHintDlg::CHintDlg(CWnd* pParent) : CDialog(IDD_HINT, pParent) {}

void CHintDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_HINT_CHALLENGE_ANSWER, m_strAnswer);
    DDV_MaxChars(pDX, m_strAnswer, kMaxAnswerChars);
}

BOOL CHintDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_pHint) SetDlgItemText(IDC_HINT_CHALLENGE_QUESTION, m_pHint->GetQuestionText());
    GotoDlgCtrl(GetDlgItem(IDC_HINT_CHALLENGE_ANSWER));
    return FALSE;
}

void CHintDlg::OnOK()
{
    if (!m_pHint || !UpdateData(TRUE)) return;
    if (m_strAnswer.IsEmpty()) {
        AfxMessageBox(IDS_HINT_ANSWER_WRONG, MB_OK);
        return;
    }
    CString hint = m_pHint->GetHint(m_strAnswer, kHintKeyAnswer);
    if (hint.IsEmpty()) {
        AfxMessageBox(IDS_HINT_ANSWER_WRONG, MB_OK);
        return;
    }
    AfxMessageBox(hint, MB_OK);
    EndDialog(IDOK);
}
