#include "exchange/dialogs/GetImportPasswordDlg.h"

#include <windows.h>

#include "app/res/ExchangeRes.h"
#include "exchange/ExchangeIds.h"
#include "exchange/dialogs/ExchangeMessages.h"
#include "exchange/import/ExchangeImport.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "toolkit/SecretDataExchange.h"

CGetImportPasswordDlg::CGetImportPasswordDlg(CWnd* pParent, const std::string& text)
    : CDialog(IDD_GET_IMPORT_PASSWORD, pParent), m_text(text)
{}

CGetImportPasswordDlg::~CGetImportPasswordDlg() { m_strPassword.Empty(); }

void CGetImportPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_IMPORT_PASSWORD, m_strPassword);
}

void CGetImportPasswordDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    unsigned messageId = 0;
    BlowfishKeyPtr cipher = OpenWithFilePassword(m_text, m_strPassword, messageId);
    if (messageId == 0 && cipher) {
        m_cipher = cipher;
        EndDialog(IDOK);
        return;
    }
    AfxMessageBox(ExchangeMessageText(IDS_IMPORT_WRONG_PWD), MB_OK | MB_ICONEXCLAMATION);
    ::SendDlgItemMessageA(m_hWnd, IDC_IMPORT_PASSWORD, EM_SETSEL, 0, -1);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_IMPORT_PASSWORD));
}
