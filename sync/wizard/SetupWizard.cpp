#include "sync/wizard/SetupWizard.h"

#include "app/AppIds.h"
#include "app/res/Resource.h"
#include "app/res/SyncFilesRes.h"
#include "core/os/SystemInfo.h"
#include "framework/DC.h"
#include "framework/MessageMap.h"
#include "framework/WinApp.h"
#include "framework/WndMessages.h"
#include "sync/server/SyncServer.h"

namespace iPhoneSetupWizard {

namespace {

// Arial on Windows XP, Calibri on the others.
const char* FontFace()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    return version.dwMajorVersion == 5 && version.dwMinorVersion == 1 ? "Arial" : "Calibri";
}

HFONT MakeFont(int height, int weight)
{
    return ::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, FontFace());
}

bool IsHeading(int id)
{
    return id == IDC_WIZARD_TITLE || id == IDC_WIZARD_STEP1 || id == IDC_WIZARD_STEP2 || id == IDC_WIZARD_STEP3;
}

}  // namespace

// ---- Pages ------------------------------------------------------------------

BOOL CSetupWizardPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const HFONT font = IsHeading(::GetDlgCtrlID(child)) ? m_wizard->HeadingFont() : m_wizard->TextFont();
        if (font) ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    return TRUE;
}

void CSetupWizardPage::SetButtons(DWORD buttons) const
{
    if (m_wizard->m_hWnd) m_wizard->SetWizardButtons(buttons);
}

BEGIN_MESSAGE_MAP(CSetupWizardPicturePage, CPropertyPage)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSetupWizardPicturePage::CSetupWizardPicturePage(UINT nIDTemplate, CSetupWizardPS* sheet, UINT pictureId, POINT at)
    : CSetupWizardPage(nIDTemplate, sheet), m_pictureId(pictureId), m_at(at)
{}

BOOL CSetupWizardPicturePage::OnInitDialog()
{
    CSetupWizardPage::OnInitDialog();
    m_picture.Load(AfxGetResourceHandle(), m_pictureId);
    return TRUE;
}

void CSetupWizardPicturePage::OnPaint()
{
    CPaintDC dc(this);
    m_picture.Draw(dc.GetSafeHdc(), m_at.x, m_at.y);
}

CSetupWizardPP1::CSetupWizardPP1(CSetupWizardPS* sheet)
    : CSetupWizardPicturePage(IDD_SETUP_WIZARD_WELCOME, sheet, IDR_WIZARD_WELCOME_PICTURE, POINT{180, 160})
{}

BOOL CSetupWizardPP1::OnSetActive()
{
    SetButtons(PSWIZB_NEXT);
    return CSetupWizardPage::OnSetActive();
}

CSetupWizardPP2::CSetupWizardPP2(CSetupWizardPS* sheet)
    : CSetupWizardPicturePage(IDD_SETUP_WIZARD_CREATE_USER, sheet, IDR_WIZARD_CREATE_USER_PICTURE, POINT{260, 175})
{}

BOOL CSetupWizardPP2::OnInitDialog()
{
    CSetupWizardPicturePage::OnInitDialog();
    const CString address = GetLocalIPAddress();
    CString line;
    if (!address.IsEmpty()) line = CString("Your Desktop IP address is : ") + address;
    ::SetDlgItemTextA(m_hWnd, IDC_WIZARD_IP_ADDRESS, line);
    return TRUE;
}

BOOL CSetupWizardPP2::OnSetActive()
{
    SetButtons(m_sessionEnded ? (PSWIZB_BACK | PSWIZB_NEXT) : PSWIZB_BACK);
    return CSetupWizardPage::OnSetActive();
}

void CSetupWizardPP2::SessionEnded()
{
    if (m_hWnd && m_wizard->m_hWnd && m_wizard->GetActivePage() == this) {
        SetButtons(PSWIZB_NEXT);
        ::SetFocus(m_wizard->m_hWnd);
        return;
    }
    m_sessionEnded = true;
}

CSetupWizardPP3::CSetupWizardPP3(CSetupWizardPS* sheet) : CSetupWizardPage(IDD_SETUP_WIZARD_FINISH, sheet) {}

BOOL CSetupWizardPP3::OnInitDialog()
{
    CSetupWizardPage::OnInitDialog();
    if (!m_title.IsEmpty()) ::SetDlgItemTextA(m_hWnd, IDC_WIZARD_TITLE, m_title);
    return TRUE;
}

BOOL CSetupWizardPP3::OnSetActive()
{
    ShowButtons();
    return CSetupWizardPage::OnSetActive();
}

BOOL CSetupWizardPP3::OnWizardFinish()
{
    // Only a user that a completed sync created or found can be finished with.
    return m_succeeded ? CSetupWizardPage::OnWizardFinish() : FALSE;
}

void CSetupWizardPP3::ShowButtons() const { SetButtons(m_succeeded ? PSWIZB_FINISH : PSWIZB_BACK); }

void CSetupWizardPP3::SetSyncResult(bool succeeded, const CString& name)
{
    m_succeeded = succeeded;
    if (succeeded)
        m_title = CString("Congratulations! You have created ") + (name.IsEmpty() ? CString("<User>") : name);
    else
        m_title = "The sync failed. Click Back to try again.";
    if (!m_hWnd) return;
    ::SetDlgItemTextA(m_hWnd, IDC_WIZARD_TITLE, m_title);
    if (m_wizard->m_hWnd && m_wizard->GetActivePage() == this) ShowButtons();
}

// ---- Sheet ------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSetupWizardPS, CPropertySheet)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SYNC_CLOSE, &CSetupWizardPS::OnSyncClose)
    ON_MESSAGE(WM_SYNC_USER_NAME, &CSetupWizardPS::OnSyncUserName)
END_MESSAGE_MAP()

CSetupWizardPS::CSetupWizardPS(LPCSTR caption, CSyncServer* server, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage), m_server(server), m_parent(parent), m_page1(this), m_page2(this),
      m_page3(this)
{
    AddPage(&m_page1);
    AddPage(&m_page2);
    AddPage(&m_page3);
    m_heading = MakeFont(17, FW_BOLD);
    m_text = MakeFont(16, FW_NORMAL);
}

CSetupWizardPS::~CSetupWizardPS()
{
    if (m_heading) ::DeleteObject(m_heading);
    if (m_text) ::DeleteObject(m_text);
}

BOOL CSetupWizardPS::OnInitDialog()
{
    ::SetForegroundWindow(m_hWnd);
    if (HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)))
        ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    CPropertySheet::OnInitDialog();
    if (m_server) m_server->AddProgressWindow(m_hWnd);
    return TRUE;
}

BOOL CSetupWizardPS::PreTranslateMessage(MSG* pMsg)
{
    // Esc cancels wherever the focus is: with none (a page whose focused
    // button was disabled) the key comes as a system key to the sheet, which
    // the dialog manager leaves alone.
    const bool keyDown = pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN;
    if (keyDown && pMsg->wParam == VK_ESCAPE && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        PressButton(PSBTN_CANCEL);
        return TRUE;
    }
    return CPropertySheet::PreTranslateMessage(pMsg);
}

void CSetupWizardPS::OnDestroy()
{
    if (m_server) m_server->RemoveProgressWindow(m_hWnd);
    CPropertySheet::OnDestroy();
}

LRESULT CSetupWizardPS::OnSyncClose(WPARAM wParam, LPARAM lParam)
{
    const bool succeeded = wParam == kSyncClosedSucceeded;
    if (succeeded) {
        const char* id = reinterpret_cast<const char*>(lParam);
        m_createdId = id ? CString(id) : m_userId;
    }
    // A user once created stays: a later failed session (a port probe, a
    // second try) does not take it back.
    if (succeeded || m_createdId.IsEmpty()) m_page3.SetSyncResult(succeeded, m_userName);
    m_page2.SessionEnded();
    return 1;
}

LRESULT CSetupWizardPS::OnSyncUserName(WPARAM wParam, LPARAM lParam)
{
    const char* name = reinterpret_cast<const char*>(wParam);
    const char* id = reinterpret_cast<const char*>(lParam);
    m_userName = name ? name : "";
    m_userId = id ? id : "";
    return 1;
}

}  // namespace iPhoneSetupWizard
