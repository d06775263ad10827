// The password generator dialog.
#include "mainwindow/dialogs/GeneratePasswordDlg.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/res/RecordDialogsRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/crypto/PasswordGenerator.h"
#include "core/crypto/SecureZero.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/DC.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"

namespace {

const int kCandidates = 10;
const char* const kStrengthItems[] = {"High", "Medium", "Low"};

CUserItem* CurrentUser()
{
    CWinApp* app = AfxGetApp();
    if (!app || !app->IsKindOf(RUNTIME_CLASS(CZorvikanDesktopApp))) return nullptr;
    return static_cast<CZorvikanDesktopApp*>(app)->GetCurrentUser();
}

}  // namespace

BEGIN_MESSAGE_MAP(CGeneratePasswordDlg, CDialog)
    ON_BN_CLICKED(IDC_GEN_GENERATE, &CGeneratePasswordDlg::OnGenerate)
    ON_CBN_SELCHANGE(IDC_GEN_STRENGTH, &CGeneratePasswordDlg::OnStrengthSelChange)
    ON_BN_CLICKED(IDC_GEN_LATIN1, &CGeneratePasswordDlg::OnLatin1Click)
    ON_BN_CLICKED(IDC_GEN_SYMBOLS, &CGeneratePasswordDlg::OnSymbolsClick)
    ON_NOTIFY(UDN_DELTAPOS, IDC_GEN_LENGTH_SPIN, &CGeneratePasswordDlg::OnLengthSpin)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_GEN_LOWER, &CGeneratePasswordDlg::OnCharSetClick)
    ON_BN_CLICKED(IDC_GEN_UPPER, &CGeneratePasswordDlg::OnCharSetClick)
    ON_BN_CLICKED(IDC_GEN_DIGITS, &CGeneratePasswordDlg::OnCharSetClick)
END_MESSAGE_MAP()

CGeneratePasswordDlg::CGeneratePasswordDlg(CWnd* pParent) : CDialog(IDD_GENERATE_PASSWORD, pParent)
{
    m_choices.LoadFlags(0);
    m_choices.pronounceable = 0;
    m_choices.length = 0;
}

void CGeneratePasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GEN_CANDIDATES, m_candidates);
    DDX_Control(pDX, IDC_GEN_LENGTH_SPIN, m_lengthSpin);
    DDX_Check(pDX, IDC_GEN_LATIN1, m_choices.latin1);
    DDX_Check(pDX, IDC_GEN_LOWER, m_choices.lowerCase);
    DDX_Check(pDX, IDC_GEN_DIGITS, m_choices.digits);
    DDX_Check(pDX, IDC_GEN_SYMBOLS, m_choices.symbols);
    DDX_Check(pDX, IDC_GEN_PRONOUNCEABLE, m_choices.pronounceable);
    DDX_Check(pDX, IDC_GEN_UPPER, m_choices.upperCase);
    DDX_Control(pDX, IDC_GEN_STRENGTH, m_strength);
    DDX_Text(pDX, IDC_GEN_LENGTH, m_choices.length);
    DDV_MinMaxInt(pDX, m_choices.length, CGeneratorChoices::kMinLength, CGeneratorChoices::kMaxLength);
}

BOOL CGeneratePasswordDlg::OnInitDialog()
{
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    CUserItem* user = CurrentUser();
    m_choices.LoadFlags(prefs && user ? prefs->GetPasswordGeneratorFlags(user) : CGeneratorChoices::kDefaultFlags);
    m_choices.length = CGeneratorChoices::kStartLength;
    CDialog::OnInitDialog();
    for (const char* item : kStrengthItems) m_strength.AddString(item);
    m_lengthSpin.SetRange32(CGeneratorChoices::kMinLength, CGeneratorChoices::kMaxLength);
    m_lengthSpin.SetPos(CGeneratorChoices::kStartLength);
    UpdateData(FALSE);
    ShowPronounceableState();
    CPasswordStrengthMeter::CreateLabelFont(m_labelFont);
    UpdateMeter();
    return TRUE;
}

void CGeneratePasswordDlg::ShowPronounceableState()
{
    if (CWnd* box = GetDlgItem(IDC_GEN_PRONOUNCEABLE)) box->EnableWindow(m_choices.pronounceableEnabled);
}

void CGeneratePasswordDlg::UpdateMeter()
{
    // The bar with its name, as Set Password shows it.
    const int score = CPasswordStrengthMeter::ScoreGeneratorSettings(m_choices.MeterSettings());
    m_meter.SetScore(score);
    m_meter.SetLabel(CPasswordStrengthMeter::LabelForScore(score));
    if (CWnd* area = GetDlgItem(IDC_GEN_METER)) {
        CRect rect;
        area->GetWindowRect(&rect);
        ScreenToClient(&rect);
        InvalidateRect(&rect, TRUE);
    }
}

void CGeneratePasswordDlg::StoreFlags(int flags)
{
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    CUserItem* user = CurrentUser();
    if (prefs && user) prefs->SetPasswordGeneratorFlags(user, flags);
}

void CGeneratePasswordDlg::OnCharSetClick()
{
    UpdateData(TRUE);
    UpdateMeter();
    UpdateData(FALSE);
}

void CGeneratePasswordDlg::OnSymbolsClick()
{
    m_choices.ClickSymbols();
    ShowPronounceableState();
    UpdateMeter();
    UpdateData(FALSE);
}

void CGeneratePasswordDlg::OnLatin1Click()
{
    m_choices.ClickLatin1();
    ShowPronounceableState();
    UpdateMeter();
    UpdateData(FALSE);
}

void CGeneratePasswordDlg::OnStrengthSelChange()
{
    const int item = m_strength.GetCurSel();
    if (item < 0) return;
    m_choices.ChooseStrength(item);
    ShowPronounceableState();
    UpdateMeter();
    UpdateData(FALSE);
}

void CGeneratePasswordDlg::OnLengthSpin(NMHDR* pNMHDR, LRESULT* pResult)
{
    // The notice comes before the spinner moves: the new length is the
    // position plus the step, kept within the spinner's range.
    const NMUPDOWN* change = reinterpret_cast<const NMUPDOWN*>(pNMHDR);
    m_choices.SetLength(change->iPos + change->iDelta);
    UpdateMeter();
    UpdateData(FALSE);
    *pResult = 0;
}

void CGeneratePasswordDlg::OnGenerate()
{
    if (!UpdateData(TRUE)) return;
    const int sets = m_choices.CharSetFlags();
    if (sets == 0) {
        AfxMessageBox(IDS_NEED_CHAR_SET, MB_OK);
        return;
    }
    const int flags = m_choices.AllFlags();
    StoreFlags(flags);
    m_candidates.ResetContent();
    // Pronounceable passwords may run to 30 characters whatever the length.
    std::vector<char> buffer(static_cast<size_t>(m_choices.length > 30 ? m_choices.length : 30) + 1);
    for (int i = 0; i < kCandidates; ++i) {
        GeneratePassword(static_cast<WORD>(m_choices.length), static_cast<UINT>(flags), buffer.data());
        m_password = CSecretString(buffer.data());
        m_candidates.AddString(buffer.data());
        UpdateData(FALSE);
    }
    SecureZero(buffer.data(), buffer.size());
    m_generated = true;
}

void CGeneratePasswordDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    StoreFlags(m_choices.AllFlags());
    const int selected = m_candidates.GetCurSel();
    if (selected >= 0) {
        CString text;
        m_candidates.GetText(selected, text);
        m_password = CSecretString(text);
        SecureWipe(text);
    }
    EndDialog(IDOK);
}

void CGeneratePasswordDlg::OnPaint()
{
    CPaintDC dc(this);
    CWnd* area = GetDlgItem(IDC_GEN_METER);
    if (!area) return;
    CRect rect;
    area->GetWindowRect(&rect);
    ScreenToClient(&rect);
    CFont* oldFont = m_labelFont.m_hObject ? dc.SelectObject(&m_labelFont) : nullptr;
    m_meter.DrawBackground(&dc, rect);
    m_meter.DrawBar(&dc, rect);
    if (oldFont) dc.SelectObject(oldFont);
}
