#include "framework/View.h"

#include "framework/DC.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/ModalSeam.h"
#include "framework/PrintPreview.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::~CView()
{
    if (m_pPreview) m_pPreview->DestroyWindow();
    if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnDraw(CDC*) {}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL bActivate, CView*, CView*)
{
    if (bActivate && m_hWnd && ::GetFocus() != m_hWnd && !::IsChild(m_hWnd, ::GetFocus())) SetFocus();
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, ZvHandlerInfo* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument ? m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
}

void CView::PostNcDestroy() { delete this; }

CPrintInfo::CPrintInfo()
{
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOSELECTION | PD_RETURNDC;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 0xFFFF;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo()
{
    if (m_pd.hDC) ::DeleteDC(m_pd.hDC);
    if (m_pd.hDevMode) ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames) ::GlobalFree(m_pd.hDevNames);
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    if (pInfo) pInfo->m_bContinuePrinting = pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1;
}

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    PRINTDLGA& pd = *pInfo->m_pPD;
    pd.hwndOwner = m_hWnd ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    if (pInfo->m_bDirect || pInfo->m_bPreview) {
        // Nothing to ask: the default printer as it is set up.
        pd.Flags |= PD_RETURNDEFAULT | PD_NOWARNING;
        if (!::PrintDlgA(&pd)) return FALSE;
    } else if (!AfxGetModalSeam().PrintDlg(pd)) {
        return FALSE;
    }
    return pd.hDC != nullptr;
}

BOOL CView::RunPrintJob(BOOL bDirect)
{
    CPrintInfo info;
    info.m_bDirect = bDirect;
    if (!OnPreparePrinting(&info)) return FALSE;
    HDC hdc = info.m_pPD->hDC;
    if (!hdc) return FALSE;

    CString title;
    if (m_pDocument) title = m_pDocument->GetTitle();
    if (title.IsEmpty() && m_hWnd) {
        CWnd* frame = GetParentFrame();
        (frame ? frame : this)->GetWindowText(title);
    }
    DOCINFOA doc{};
    doc.cbSize = sizeof(doc);
    doc.lpszDocName = title;

    CDC dc;
    dc.Attach(hdc);
    OnBeginPrinting(&dc, &info);
    bool failed = ::StartDocA(hdc, &doc) <= 0;
    const bool pages = (info.m_pPD->Flags & PD_PAGENUMS) != 0;
    const UINT first = pages ? info.m_pPD->nFromPage : info.GetMinPage();
    for (info.m_nCurPage = first; !failed; ++info.m_nCurPage) {
        const UINT last = pages ? info.m_pPD->nToPage : info.GetMaxPage();
        if (info.m_nCurPage > last) break;
        OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting) break;
        ::SetRect(&info.m_rectDraw, 0, 0, ::GetDeviceCaps(hdc, HORZRES), ::GetDeviceCaps(hdc, VERTRES));
        ::DPtoLP(hdc, reinterpret_cast<POINT*>(&info.m_rectDraw), 2);
        if (::StartPage(hdc) <= 0) {
            failed = true;
            break;
        }
        // Starting a page resets the device context's settings.
        OnPrepareDC(&dc, &info);
        OnPrint(&dc, &info);
        if (::EndPage(hdc) <= 0) failed = true;
    }
    if (failed)
        ::AbortDoc(hdc);
    else
        ::EndDoc(hdc);
    OnEndPrinting(&dc, &info);
    dc.Detach();
    return failed ? FALSE : TRUE;
}

BOOL CView::DoPrintPreview()
{
    if (m_pPreview) return TRUE;
    auto* preview = new CPreviewWnd(this);
    if (!preview->Open()) {
        delete preview;
        return FALSE;
    }
    m_pPreview = preview;
    return TRUE;
}

void CView::OnPreviewClosed(CPreviewWnd* pPreview)
{
    if (m_pPreview == pPreview) m_pPreview = nullptr;
}
