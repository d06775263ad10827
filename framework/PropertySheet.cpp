#include "framework/PropertySheet.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/FrameworkRes.h"
#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {
// The dialog procedure of the pages: the page object takes the window over
// when it is initialised (the sheet creates page windows itself).
INT_PTR CALLBACK ZvPageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG) return FALSE;
    auto* psp = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
    auto* page = reinterpret_cast<CPropertyPage*>(psp->lParam);
    if (!page) return TRUE;
    if (!page->m_hWnd) page->SubclassWindow(hWnd);
    return page->OnInitDialog();
}

HINSTANCE TemplateModule(LPCSTR lpszTemplate)
{
    HINSTANCE hRes = AfxGetResourceHandle();
    if (::FindResourceA(hRes, lpszTemplate, (LPCSTR)RT_DIALOG)) return hRes;
    return AfxGetInstanceHandle();
}
}  // namespace

// ---- CPropertyPage ------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate)
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = MAKEINTRESOURCEA(nIDTemplate);
    m_psp.pfnDlgProc = &ZvPageDlgProc;
    m_psp.lParam = (LPARAM)this;
    if (nIDCaption && m_strCaption.LoadString(nIDCaption)) m_psp.dwFlags |= PSP_USETITLE;
}

CPropertySheet* CPropertyPage::GetSheet() const
{
    CWnd* parent = FromHandlePermanent(::GetParent(m_hWnd));
    return parent && parent->IsKindOf(RUNTIME_CLASS(CPropertySheet)) ? static_cast<CPropertySheet*>(parent) : nullptr;
}

BOOL CPropertyPage::OnSetActive() { return TRUE; }
BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}
void CPropertyPage::OnReset() { OnCancel(); }
BOOL CPropertyPage::OnQueryCancel() { return TRUE; }
LRESULT CPropertyPage::OnWizardNext() { return 0; }
LRESULT CPropertyPage::OnWizardBack() { return 0; }
BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

BOOL CPropertyPage::PreTranslateMessage(MSG*) { return FALSE; }

void CPropertyPage::SetModified(BOOL bChanged) const
{
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet) ::SendMessageA(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm || nm->hwndFrom != ::GetParent(m_hWnd)) return CDialog::OnNotify(wParam, lParam, pResult);
    CPropertySheet* sheet = GetSheet();
    LRESULT result = 0;
    switch (nm->code) {
    case PSN_SETACTIVE: result = OnSetActive() ? 0 : -1; break;
    case PSN_KILLACTIVE: result = OnKillActive() ? FALSE : TRUE; break;
    case PSN_APPLY:
        result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        // lParam TRUE: the sheet closes (OK) rather than applies.
        if (sheet && result == PSNRET_NOERROR && reinterpret_cast<PSHNOTIFY*>(lParam)->lParam) sheet->NoteResult(IDOK);
        break;
    case PSN_RESET:
        OnReset();
        if (sheet) sheet->NoteResult(IDCANCEL);
        break;
    case PSN_QUERYCANCEL: result = OnQueryCancel() ? FALSE : TRUE; break;
    case PSN_WIZNEXT: result = OnWizardNext(); break;
    case PSN_WIZBACK: result = OnWizardBack(); break;
    case PSN_WIZFINISH:
        result = OnWizardFinish() ? FALSE : TRUE;
        if (sheet && !result) sheet->NoteResult(ID_WIZFINISH);
        break;
    default: return CDialog::OnNotify(wParam, lParam, pResult);
    }
    // The sheet may read the answer from either place.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    *pResult = result;
    return TRUE;
}

// ---- CPropertySheet ---------------------------------------------------------------

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage)
{
    m_strCaption.LoadString(nIDCaption);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption), m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage)
{}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    m_pages.push_back(pPage);
    if (m_hWnd) {
        PROPSHEETPAGEA psp = pPage->m_psp;
        psp.hInstance = TemplateModule(psp.pszTemplate);
        if (psp.dwFlags & PSP_USETITLE) psp.pszTitle = pPage->m_strCaption;
        HPROPSHEETPAGE h = ::CreatePropertySheetPageA(&psp);
        if (h) SendMessage(PSM_ADDPAGE, 0, (LPARAM)h);
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int index = GetPageIndex(pPage);
    if (index < 0) return;
    if (m_hWnd) SendMessage(PSM_REMOVEPAGE, (WPARAM)index, 0);
    m_pages.erase(m_pages.begin() + index);
}

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const
{
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : (int)(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (!m_hWnd) return m_pages.empty() ? nullptr : m_pages[std::min<size_t>(m_nStartPage, m_pages.size() - 1)];
    HWND hPage = (HWND)SendMessage(PSM_GETCURRENTPAGEHWND);
    for (CPropertyPage* p : m_pages)
        if (p->m_hWnd && p->m_hWnd == hPage) return p;
    return nullptr;
}

int CPropertySheet::GetActiveIndex() const { return GetPageIndex(GetActivePage()); }

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (!m_hWnd) {
        m_nStartPage = (UINT)nPage;
        return TRUE;
    }
    return (BOOL)SendMessage(PSM_SETCURSEL, (WPARAM)nPage, 0);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::SetTitle(LPCSTR lpszText, UINT nStyle)
{
    m_strCaption = lpszText;
    if (m_hWnd) SendMessage(PSM_SETTITLEA, nStyle, (LPARAM)lpszText);
}

int CALLBACK ZvSheetCallback(HWND, UINT, LPARAM) { return 0; }

BOOL CPropertySheet::CreateSheet(HWND hWndParent, DWORD, DWORD)
{
    m_pageHeaders.clear();
    for (CPropertyPage* page : m_pages) {
        PROPSHEETPAGEA psp = page->m_psp;
        psp.hInstance = TemplateModule(psp.pszTemplate);
        if (psp.dwFlags & PSP_USETITLE) psp.pszTitle = page->m_strCaption;
        m_pageHeaders.push_back(psp);
    }
    if (m_pageHeaders.empty()) return FALSE;

    AfxInitCommonControls(ICC_WIN95_CLASSES);
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    if (m_bWizard) m_psh.dwFlags |= PSH_WIZARD;
    m_psh.hwndParent = hWndParent;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = (UINT)m_pageHeaders.size();
    m_psh.nStartPage = std::min<UINT>(m_nStartPage, m_psh.nPages - 1);
    m_psh.ppsp = m_pageHeaders.data();

    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::PropertySheetA(&m_psh);
    AfxUnhookWindowCreate();
    if (!hWnd || hWnd != m_hWnd) return FALSE;
    OnInitDialog();
    return TRUE;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

INT_PTR CPropertySheet::DoModal()
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner) {
        CWnd* main = AfxGetMainWnd();
        hOwner = main ? main->m_hWnd : nullptr;
    }
    while (hOwner && (::GetWindowLongPtrA(hOwner, GWL_STYLE) & WS_CHILD)) hOwner = ::GetParent(hOwner);
    const bool disableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (disableOwner) ::EnableWindow(hOwner, FALSE);

    m_nModalResult = -1;
    BeginModalState();
    if (CreateSheet(hOwner, 0, 0)) {
        if (ContinueModal()) RunModalLoop();
    } else {
        m_nFlags &= ~kContinueModal;
    }
    m_nFlags &= ~(kModalLoop | kContinueModal);

    if (disableOwner) ::EnableWindow(hOwner, TRUE);
    if (hOwner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hOwner);
    if (m_hWnd) DestroyWindow();
    return m_nModalResult == -1 ? IDCANCEL : m_nModalResult;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    m_bModeless = TRUE;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    return CreateSheet(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, dwStyle, dwExStyle);
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal()) return FALSE;
    // The sheet has finished (OK, Cancel, Finish) once it has no page left.
    if (!SendMessage(PSM_GETCURRENTPAGEHWND)) {
        m_nFlags &= ~kContinueModal;
        return FALSE;
    }
    return TRUE;
}

void CPropertySheet::EndDialog(int nEndID)
{
    m_nModalResult = nEndID;
    if (m_nFlags & (kModalLoop | kContinueModal))
        EndModalLoop(nEndID);
    else if (m_hWnd)
        DestroyWindow();
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && (id == IDCANCEL))
        m_nModalResult = (int)id;  // confirmed by the pages' PSN_RESET
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    return (BOOL)SendMessage(PSM_ISDIALOGMESSAGE, 0, (LPARAM)pMsg);
}
