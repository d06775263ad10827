#pragma once
// The print preview: a window laid over a frame's client area that shows a
// view's printed pages one at a time. Each page is drawn by the view's own
// printing overrides into a metafile made on the default printer's page,
// then played back scaled to fit the window.

#include <windows.h>

#include "framework/Controls.h"
#include "framework/DC.h"
#include "framework/View.h"

class CPreviewWnd : public CWnd {
public:
    explicit CPreviewWnd(CView* pView);
    ~CPreviewWnd() override;

    // Starts the job on the default printer, covers the view's frame and
    // shows page 1. FALSE, after telling the user, without a printer; the
    // object is then the caller's to delete.
    BOOL Open();

    UINT GetCurrentPage() const { return m_nCurrentPage; }
    // 0xFFFF until the view has drawn its last page.
    UINT GetMaxPage() const { return m_info.GetMaxPage(); }
    // The shown page as the view drew it, in printer device units.
    HENHMETAFILE GetPageMetafile() const { return m_hPage; }
    const CPrintInfo& GetPrintInfo() const { return m_info; }

    // The buttons' actions.
    void NextPage();
    void PrevPage();
    void Close();
    // Closes the preview and asks the view to print.
    void Print();

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void PostNcDestroy() override;
    void OnButtonPrint() { Print(); }
    void OnButtonNext() { NextPage(); }
    void OnButtonPrev() { PrevPage(); }
    void OnButtonClose() { Close(); }

private:
    // The page drawn into a new metafile; nullptr when the view has no
    // such page.
    HENHMETAFILE RenderPage(UINT nPage);
    bool ShowPage(UINT nPage);
    void UpdateButtons();
    RECT PageRect() const;  // where the page is shown, client units

    CView* m_pView;
    CPrintInfo m_info;
    CDC m_printerDC;
    bool m_bBegun = false;
    UINT m_nCurrentPage = 0;
    HENHMETAFILE m_hPage = nullptr;
    CButton m_btnPrint, m_btnNext, m_btnPrev, m_btnClose;

    DECLARE_MESSAGE_MAP()
};
