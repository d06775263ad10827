#include "framework/Dialog.h"

#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK ZvDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CDialog))) return static_cast<CDialog*>(pWnd)->OnInitDialog();
    return TRUE;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
    if (IS_INTRESOURCE(lpszTemplateName)) m_nIDTemplate = (UINT)(UINT_PTR)lpszTemplateName;
}

LPCDLGTEMPLATEA CDialog::LoadTemplate(HINSTANCE* phInstance) const
{
    HINSTANCE candidates[] = {AfxGetResourceHandle(), AfxGetInstanceHandle()};
    for (HINSTANCE hInst : candidates) {
        HRSRC res = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
        if (!res) continue;
        HGLOBAL data = ::LoadResource(hInst, res);
        if (!data) continue;
        *phInstance = hInst;
        return (LPCDLGTEMPLATEA)::LockResource(data);
    }
    return nullptr;
}

HWND CDialog::GetModalOwner() const
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner) {
        CWnd* main = AfxGetMainWnd();
        hOwner = main ? main->m_hWnd : nullptr;
    }
    while (hOwner && (::GetWindowLongPtrA(hOwner, GWL_STYLE) & WS_CHILD)) hOwner = ::GetParent(hOwner);
    return hOwner;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEA lpTemplate, HWND hWndParent, HINSTANCE hInstance)
{
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInstance, lpTemplate, hWndParent, &ZvDlgProc, 0);
    AfxUnhookWindowCreate();
    return hWnd != nullptr && hWnd == m_hWnd;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEA lpTemplate = LoadTemplate(&hInst);
    if (!lpTemplate) return -1;

    HWND hOwner = GetModalOwner();
    const bool disableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (disableOwner) ::EnableWindow(hOwner, FALSE);

    m_nModalResult = -1;
    BeginModalState();
    if (CreateDlgIndirect(lpTemplate, hOwner, hInst)) {
        if (ContinueModal()) RunModalLoop();
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~(kModalLoop | kContinueModal);

    if (disableOwner) ::EnableWindow(hOwner, TRUE);
    if (hOwner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hOwner);
    if (m_hWnd) DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName)) m_nIDTemplate = (UINT)(UINT_PTR)lpszTemplateName;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEA lpTemplate = LoadTemplate(&hInst);
    if (!lpTemplate) return FALSE;
    return CreateDlgIndirect(lpTemplate, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd) m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(lpDialogTemplate, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, AfxGetInstanceHandle());
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (kModalLoop | kContinueModal))
        EndModalLoop(nResult);
    else
        ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard navigation (Tab, arrows, Enter, Esc) within the dialog.
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}
