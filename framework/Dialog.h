#pragma once
// CDialog: a dialog from a template of the resource module, modal (DoModal,
// with the framework's own modal loop, so PreTranslateMessage and the modal
// seam work in it) or modeless (Create). Works on any thread that pumps
// messages.

#include "framework/Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // ---- Overridables ---------------------------------------------------
    // Runs the dialog modally: IDOK, IDCANCEL or the EndDialog value; -1
    // when it could not be created.
    virtual INT_PTR DoModal();
    // Fills the controls (UpdateData(FALSE)); TRUE gives the focus to the
    // first control.
    virtual BOOL OnInitDialog();
    // Reads and checks the controls, then ends with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- Operations -----------------------------------------------------
    // Modeless creation.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    void NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl) const { SendMessage(WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, 1); }
    void SetDefID(UINT nID) const { SendMessage(DM_SETDEFID, nID); }
    DWORD GetDefID() const { return (DWORD)SendMessage(DM_GETDEFID); }
    UINT GetTemplateID() const { return m_nIDTemplate; }

protected:
    // The window that owns a modal dialog: the given parent's top-level
    // window, or the main window.
    virtual HWND GetModalOwner() const;
    // Finds the template in the resource module (then the program).
    LPCDLGTEMPLATEA LoadTemplate(HINSTANCE* phInstance) const;
    BOOL CreateDlgIndirect(LPCDLGTEMPLATEA lpTemplate, HWND hWndParent, HINSTANCE hInstance);

    LPCSTR m_lpszTemplateName = nullptr;
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The dialog procedure of every framework dialog: only WM_INITDIALOG is
// its business; everything else goes through the window's message map.
INT_PTR CALLBACK ZvDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
