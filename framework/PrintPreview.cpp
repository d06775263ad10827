#include "framework/PrintPreview.h"

#include "framework/FrameWnd.h"
#include "framework/FrameworkRes.h"
#include "framework/ModalSeam.h"

namespace {
constexpr int kButtonBarHeight = 32;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 24;
constexpr int kPageGap = 12;  // grey border around the shown page
}  // namespace

BEGIN_MESSAGE_MAP(CPreviewWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_BN_CLICKED(AFX_ID_PREVIEW_PRINT, &CPreviewWnd::OnButtonPrint)
    ON_BN_CLICKED(AFX_ID_PREVIEW_NEXT, &CPreviewWnd::OnButtonNext)
    ON_BN_CLICKED(AFX_ID_PREVIEW_PREV, &CPreviewWnd::OnButtonPrev)
    ON_BN_CLICKED(AFX_ID_PREVIEW_CLOSE, &CPreviewWnd::OnButtonClose)
END_MESSAGE_MAP()

CPreviewWnd::CPreviewWnd(CView* pView) : m_pView(pView) { m_info.m_bPreview = TRUE; }

CPreviewWnd::~CPreviewWnd()
{
    if (m_hPage) ::DeleteEnhMetaFile(m_hPage);
    // The print information owns the printer's device context.
    m_printerDC.Detach();
}

BOOL CPreviewWnd::Open()
{
    if (!m_pView->OnPreparePrinting(&m_info) || !m_info.m_pPD->hDC) {
        AfxMessageBox("Print preview needs a default printer, and none is set up.", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_printerDC.Attach(m_info.m_pPD->hDC);
    m_pView->OnBeginPrinting(&m_printerDC, &m_info);
    m_bBegun = true;

    CWnd* frame = m_pView->GetParentFrame();
    if (!frame) frame = m_pView->GetParent();
    RECT client{};
    if (frame) frame->GetClientRect(&client);
    const LPCSTR cls = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_APPWORKSPACE + 1));
    if (!frame || !CreateEx(0, cls, "Print Preview", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, client, frame,
                            AFX_IDW_PREVIEW)) {
        m_pView->OnEndPrinting(&m_printerDC, &m_info);
        m_bBegun = false;
        return FALSE;
    }
    const struct {
        CButton& button;
        const char* text;
        UINT id;
    } buttons[] = {{m_btnPrint, "&Print...", AFX_ID_PREVIEW_PRINT},
                   {m_btnNext, "&Next Page", AFX_ID_PREVIEW_NEXT},
                   {m_btnPrev, "Pre&v Page", AFX_ID_PREVIEW_PREV},
                   {m_btnClose, "&Close", AFX_ID_PREVIEW_CLOSE}};
    int x = 4;
    for (const auto& b : buttons) {
        b.button.Create(b.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(x, 4, x + kButtonWidth, 4 + kButtonHeight),
                        this, b.id);
        b.button.SendMessage(WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
        x += kButtonWidth + 4;
    }
    ShowPage(1);
    // Over the frame's bars and view until closed.
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return TRUE;
}

HENHMETAFILE CPreviewWnd::RenderPage(UINT nPage)
{
    const HDC printer = m_printerDC.GetSafeHdc();
    const int width = ::GetDeviceCaps(printer, HORZRES), height = ::GetDeviceCaps(printer, VERTRES);
    // The metafile's frame is in hundredths of a millimetre.
    const RECT frame{0, 0, ::MulDiv(width, 2540, ::GetDeviceCaps(printer, LOGPIXELSX)),
                     ::MulDiv(height, 2540, ::GetDeviceCaps(printer, LOGPIXELSY))};
    const HDC meta = ::CreateEnhMetaFileA(printer, nullptr, &frame, nullptr);
    if (!meta) return nullptr;
    CDC dc;
    dc.Attach(meta);
    const UINT previous = m_info.m_nCurPage;
    m_info.m_nCurPage = nPage;
    m_pView->OnPrepareDC(&dc, &m_info);
    const bool drawn = m_info.m_bContinuePrinting != FALSE;
    if (drawn) {
        ::SetRect(&m_info.m_rectDraw, 0, 0, width, height);
        ::DPtoLP(meta, reinterpret_cast<POINT*>(&m_info.m_rectDraw), 2);
        m_pView->OnPrint(&dc, &m_info);
    } else {
        m_info.m_nCurPage = previous;
    }
    dc.Detach();
    const HENHMETAFILE page = ::CloseEnhMetaFile(meta);
    if (drawn) return page;
    ::DeleteEnhMetaFile(page);
    return nullptr;
}

bool CPreviewWnd::ShowPage(UINT nPage)
{
    if (nPage < m_info.GetMinPage() || nPage > m_info.GetMaxPage()) return false;
    const HENHMETAFILE page = RenderPage(nPage);
    if (!page) {
        // The view ended before this page: the previous one was the last.
        if (m_nCurrentPage) m_info.SetMaxPage(m_nCurrentPage);
        UpdateButtons();
        return false;
    }
    if (m_hPage) ::DeleteEnhMetaFile(m_hPage);
    m_hPage = page;
    m_nCurrentPage = nPage;
    UpdateButtons();
    Invalidate(TRUE);
    return true;
}

void CPreviewWnd::UpdateButtons()
{
    if (!m_hWnd) return;
    m_btnNext.EnableWindow(m_nCurrentPage < m_info.GetMaxPage() ? TRUE : FALSE);
    m_btnPrev.EnableWindow(m_nCurrentPage > m_info.GetMinPage() ? TRUE : FALSE);
}

void CPreviewWnd::NextPage() { ShowPage(m_nCurrentPage + 1); }

void CPreviewWnd::PrevPage()
{
    if (m_nCurrentPage > 1) ShowPage(m_nCurrentPage - 1);
}

void CPreviewWnd::Close()
{
    if (m_hWnd) DestroyWindow();
}

void CPreviewWnd::Print()
{
    CView* view = m_pView;
    Close();
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
}

RECT CPreviewWnd::PageRect() const
{
    RECT client{};
    GetClientRect(&client);
    const HDC printer = m_printerDC.GetSafeHdc();
    // The page's shape in inches, so unequal printer resolutions keep it.
    const double pageW = (double)::GetDeviceCaps(printer, HORZRES) / ::GetDeviceCaps(printer, LOGPIXELSX);
    const double pageH = (double)::GetDeviceCaps(printer, VERTRES) / ::GetDeviceCaps(printer, LOGPIXELSY);
    const int areaW = client.right - 2 * kPageGap, areaH = client.bottom - kButtonBarHeight - 2 * kPageGap;
    RECT page{0, 0, 0, 0};
    if (areaW <= 0 || areaH <= 0 || pageW <= 0 || pageH <= 0) return page;
    int w = areaW, h = (int)(areaW * pageH / pageW);
    if (h > areaH) {
        h = areaH;
        w = (int)(areaH * pageW / pageH);
    }
    page.left = (client.right - w) / 2;
    page.top = kButtonBarHeight + kPageGap + (areaH - h) / 2;
    page.right = page.left + w;
    page.bottom = page.top + h;
    return page;
}

void CPreviewWnd::OnPaint()
{
    CPaintDC dc(this);
    const RECT page = PageRect();
    if (page.right <= page.left) return;
    dc.FillSolidRect(&page, RGB(255, 255, 255));
    if (m_hPage) ::PlayEnhMetaFile(dc.GetSafeHdc(), m_hPage, &page);
}

BOOL CPreviewWnd::OnEraseBkgnd(CDC* pDC)
{
    RECT client{};
    GetClientRect(&client);
    pDC->FillSolidRect(&client, ::GetSysColor(COLOR_APPWORKSPACE));
    RECT bar = client;
    bar.bottom = kButtonBarHeight;
    pDC->FillSolidRect(&bar, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CPreviewWnd::OnSize(UINT, int, int) { Invalidate(TRUE); }

void CPreviewWnd::OnDestroy()
{
    if (m_bBegun) {
        m_bBegun = false;
        m_pView->OnEndPrinting(&m_printerDC, &m_info);
    }
    m_pView->OnPreviewClosed(this);
    CWnd::OnDestroy();
}

void CPreviewWnd::PostNcDestroy() { delete this; }
