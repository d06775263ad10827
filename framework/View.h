#pragma once
// CView: a child window of a frame that shows a document. Commands reach
// the active view before its frame; what the view does not handle goes on
// to its document.

#include <windows.h>
#include <commdlg.h>

#include "framework/Wnd.h"

class CDC;
class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;
class CPreviewWnd;

// What a frame needs to create its view (passed through WM_CREATE).
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// What a print job tells the view's printing overrides: the print dialog's
// choices and printer, the page being printed and whether more follow.
class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();  // frees the printer's device context and settings
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage) { m_pd.nMinPage = (WORD)nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_pd.nMaxPage = (WORD)nMaxPage; }
    UINT GetMinPage() const { return m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pd.nMaxPage; }  // 0xFFFF: not known yet

    PRINTDLGA m_pd{};
    PRINTDLGA* m_pPD = &m_pd;
    BOOL m_bDirect = FALSE;   // no dialog: the default printer
    BOOL m_bPreview = FALSE;  // pages drawn for the screen, not the printer
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    RECT m_rectDraw{};  // the page's printable area, logical units
};

// Sent to a frame's descendants once the document is ready.
#define WM_INITIALUPDATE 0x0364

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    ~CView() override;

    // ---- Overridables ---------------------------------------------------
    // Paints the view (WM_PAINT); the program's view draws its content.
    virtual void OnDraw(CDC* pDC);
    // The first update once the view shows its document.
    virtual void OnInitialUpdate();
    // The document changed (UpdateAllViews): repaints by default.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The view first, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, ZvHandlerInfo* pHandlerInfo) override;
    void PostNcDestroy() override;  // views live on the heap

    // ---- Printing, in the order a print job calls them ---------------------
    // Asks for the printer (DoPreparePrinting); FALSE ends the job at once.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Before each page (and before drawing on screen, without print
    // information): sets m_bContinuePrinting, by default for one page
    // unless the page count is known.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);  // draws by OnDraw
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    // ---- Operations -----------------------------------------------------
    CDocument* GetDocument() const { return m_pDocument; }
    // The print dialog (through the modal seam) or, direct, the default
    // printer; TRUE with a printer device context in pInfo->m_pPD->hDC.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // One print job from the preparation to the end, page by page while
    // the view continues. TRUE when the pages went to the printer.
    BOOL RunPrintJob(BOOL bDirect);
    // Opens the print preview over the frame on the default printer's pages
    // (one at a time per view); FALSE, told to the user, without a printer.
    BOOL DoPrintPreview();
    // The open preview, or nullptr.
    CPreviewWnd* GetPrintPreview() const { return m_pPreview; }

protected:
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnPaint();
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

    CDocument* m_pDocument = nullptr;

private:
    void OnPreviewClosed(CPreviewWnd* pPreview);

    CPreviewWnd* m_pPreview = nullptr;

    friend class CDocument;
    friend class CPreviewWnd;
    DECLARE_MESSAGE_MAP()
};
