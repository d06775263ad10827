#pragma once
// CView: a child window of a frame that shows a document. Commands reach
// the active view before its frame; what the view does not handle goes on
// to its document.

#include "framework/Wnd.h"

class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;

// What a frame needs to create its view (passed through WM_CREATE).
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
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

    // ---- Operations -----------------------------------------------------
    CDocument* GetDocument() const { return m_pDocument; }

protected:
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnPaint();
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

    CDocument* m_pDocument = nullptr;

    friend class CDocument;
    DECLARE_MESSAGE_MAP()
};
