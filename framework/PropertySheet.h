#pragma once
// Property sheets and their pages over the common-control property sheet,
// as tabbed dialogs or as wizards (Back/Next/Finish). A modal sheet runs in
// the framework's modal loop like a dialog; its result is IDOK, IDCANCEL
// or, for a wizard, ID_WIZFINISH.

#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "framework/Dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // ---- Overridables ---------------------------------------------------
    // The page is about to be shown; FALSE keeps it from showing.
    virtual BOOL OnSetActive();
    // The page is about to be left; reads and checks the controls.
    virtual BOOL OnKillActive();
    // Apply or OK: runs OnOK; FALSE keeps the sheet open on this page.
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    // 0: the next (previous) page; -1: stay; a template id: that page.
    virtual LRESULT OnWizardNext();
    virtual LRESULT OnWizardBack();
    // FALSE keeps the wizard open.
    virtual BOOL OnWizardFinish();
    void OnOK() override;
    void OnCancel() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;  // the sheet does the keyboard

    // ---- Operations -----------------------------------------------------
    // Enables (or not) the sheet's Apply button for this page.
    void SetModified(BOOL bChanged = TRUE) const;
    CPropertySheet* GetSheet() const;

    PROPSHEETPAGEA m_psp{};

protected:
    CString m_strCaption;
    friend class CPropertySheet;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // ---- Overridables ---------------------------------------------------
    virtual INT_PTR DoModal();
    // Called once the sheet window and its first page exist.
    virtual BOOL OnInitDialog();
    BOOL ContinueModal() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- Operations -----------------------------------------------------
    // A modeless sheet.
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int nPage) const { return m_pages[(size_t)nPage]; }
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    int GetPageIndex(const CPropertyPage* pPage) const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetWizardMode() { m_bWizard = TRUE; }
    BOOL IsWizard() const { return m_bWizard; }
    void SetWizardButtons(DWORD dwFlags) const { PostMessage(PSM_SETWIZBUTTONS, 0, (LPARAM)dwFlags); }
    void SetFinishText(LPCSTR lpszText) const { SendMessage(PSM_SETFINISHTEXTA, 0, (LPARAM)lpszText); }
    // PSBTN_BACK, PSBTN_NEXT, PSBTN_FINISH, PSBTN_OK, PSBTN_APPLYNOW, PSBTN_CANCEL.
    BOOL PressButton(int nButton) const { return (BOOL)SendMessage(PSM_PRESSBUTTON, (WPARAM)nButton); }
    void EndDialog(int nEndID);
    CWnd* GetTabControl() const { return FromHandle((HWND)SendMessage(PSM_GETTABCONTROL)); }
    void SetTitle(LPCSTR lpszText, UINT nStyle = 0);

    PROPSHEETHEADERA m_psh{};

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Fills m_psh and the page array; the sheet is created modeless.
    BOOL CreateSheet(HWND hWndParent, DWORD dwStyle, DWORD dwExStyle);
    void NoteResult(int nResult) { m_nModalResult = nResult; }

    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_pageHeaders;
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nStartPage = 0;
    BOOL m_bWizard = FALSE;
    BOOL m_bModeless = FALSE;
    DWORD m_dwCreateStyle = 0;
    DWORD m_dwCreateExStyle = 0;

    friend class CPropertyPage;
    friend int CALLBACK ZvSheetCallback(HWND, UINT, LPARAM);
};
