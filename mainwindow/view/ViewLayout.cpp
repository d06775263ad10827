// The main view's geometry: display and details areas, the button strips,
// the splitters, background and the mouse on the view itself; its fonts and
// row colour; the panel's smart-list entries.
#include <cstring>

#include "app/frame/MainFrm.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/CommonDialogs.h"
#include "framework/DC.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "toolkit/ToolkitIds.h"

namespace {

CRect ToRect(const ViewRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

ViewGeometry CZorvikanDesktopView::GetGeometry() const
{
    ViewGeometry g;
    RECT r{};
    if (m_hWnd) ::GetClientRect(m_hWnd, &r);
    g.client = {r.left, r.top, r.right, r.bottom};
    g.detailsWidth = m_viewState.detailsWidth;
    g.showingDetails = m_viewState.showingDetails;
    return g;
}

CRect CZorvikanDesktopView::GetListRect() const { return ToRect(GetGeometry().DisplayArea()); }

CRect CZorvikanDesktopView::GetDetailsRect() const { return ToRect(GetGeometry().DetailsArea()); }

void CZorvikanDesktopView::DrawPaneBorder(CDC* pDC)
{
    const ViewRect d = GetGeometry().DisplayArea();
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
    CPen* old = pDC->SelectObject(&pen);
    pDC->MoveTo(d.left - 1, d.top - 1);
    pDC->LineTo(d.right, d.top - 1);
    pDC->LineTo(d.right, d.bottom);
    pDC->LineTo(d.left - 1, d.bottom);
    pDC->LineTo(d.left - 1, d.top - 1);
    pDC->SelectObject(old);
}

void CZorvikanDesktopView::DrawSplitterGrip(CDC* pDC, const CRect& rect)
{
    const CRect strip(rect.left, rect.top, rect.left + kSplitterStripWidth, rect.bottom);
    pDC->FillSolidRect(&strip, ::GetSysColor(COLOR_BTNFACE));
    // Twelve lines three pixels apart, from 18 pixels above the middle.
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* old = pDC->SelectObject(&pen);
    const int first = (strip.top + strip.bottom) / 2 - 18;
    for (int i = 0; i < 12; ++i) {
        pDC->MoveTo(strip.left + 2, first + 3 * i);
        pDC->LineTo(strip.left + 10, first + 3 * i);
    }
    pDC->SelectObject(old);
}

void CZorvikanDesktopView::PlaceStripButtons()
{
    const ViewGeometry g = GetGeometry();
    const bool panel = m_nViewMode == kViewModePanel && m_panelRecords.m_hWnd;
    RECT descriptions{};
    if (panel) {
        m_panelRecords.GetWindowRect(&descriptions);
        ScreenToClient(&descriptions);
    }
    const UINT strip[3] = {ID_NEW_ITEM, ID_DUPLICATE_ITEM, ID_SHOW_DETAILS};
    for (int i = 0; i < 3; ++i) {
        CBitmapButton* button = GetToolButton(strip[i]);
        if (!button || !button->m_hWnd) continue;
        const CRect r = ToRect(panel ? g.PanelStripSlot(i + 1, descriptions.left) : g.BottomSlot(i + 1));
        // Where the button stood is painted over: its picture must not
        // stay behind as a dead second button.
        CRect old;
        button->GetWindowRect(&old);
        ScreenToClient(&old);
        if (old != r) InvalidateRect(&old, TRUE);
        button->MoveWindow(&r, FALSE);
        InvalidateRect(&r, FALSE);
        // Moved without repainting: the button draws itself at its new place.
        button->Invalidate(FALSE);
    }
    if (CBitmapButton* newType = GetToolButton(ID_NEW_TYPE))
        if (newType->m_hWnd) {
            const CRect r = ToRect(g.BottomSlot(1));
            newType->MoveWindow(&r, FALSE);
            newType->Invalidate(FALSE);
        }
    const UINT details[7] = {ID_EDIT_ITEM, ID_DELETE_ITEM,  ID_TOGGLE_MASK,   ID_EMAIL_ITEMS,
                             ID_AUTO_FILL, ID_PRINT_RECORD, ID_ADD_ATTACHMENT};
    for (int i = 0; i < 7; ++i) {
        CBitmapButton* button = GetToolButton(details[i]);
        if (!button || !button->m_hWnd) continue;
        const CRect r = ToRect(g.DetailsSlot(i + 1));
        button->MoveWindow(&r, FALSE);
        InvalidateRect(&r, FALSE);
        button->Invalidate(FALSE);
    }
}

void CZorvikanDesktopView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (!m_recordList.m_hWnd) return;
    const ViewGeometry g = GetGeometry();

    // The search box and its cue keep their width at the window's right.
    CDeferWindowPos defer(2);
    CMainFrame* frame = Frame();
    if (frame && frame->GetDialogToolbar().m_hWnd) {
        CDialogToolbar& bar = frame->GetDialogToolbar();
        RECT main{};
        frame->GetWindowRect(&main);
        POINT edge{main.right - 15, main.top};
        bar.ScreenToClient(&edge);
        for (CWnd* control : {static_cast<CWnd*>(&bar.m_edSearch), static_cast<CWnd*>(&bar.m_stSearchCue)}) {
            if (!control->m_hWnd) continue;
            RECT r{};
            control->GetWindowRect(&r);
            bar.ScreenToClient(&r);
            const int width = r.right - r.left;
            defer.Move(control, edge.x - width, r.top, width, r.bottom - r.top, TRUE);
        }
    }

    const CRect display = ToRect(g.DisplayArea());
    m_recordList.MoveWindow(&display, TRUE);
    PlaceStripButtons();
    if (m_nViewMode == kViewModeTree && m_tree.m_hWnd) {
        m_tree.MoveWindow(&display, TRUE);
        InvalidateRect(&display, TRUE);
    }
    if (m_nViewMode == kViewModePanel && m_panelTypes.m_hWnd) LayoutPanel(g);
    if (m_detailsPane.m_hWnd) {
        const CRect pane = ToRect(g.DetailsPane());
        m_detailsPane.MoveWindow(&pane, TRUE);
    }
    defer.End();
    Invalidate(TRUE);
}

void CZorvikanDesktopView::LayoutPanel(const ViewGeometry& g)
{
    CRect left = ToRect(g.PanelLeftColumn());
    int rowHeight = 0;
    RECT row{};
    if (m_panelSmartLists.GetItemCount() > 0 && m_panelSmartLists.GetItemRect(0, &row, LVIR_BOUNDS))
        rowHeight = row.bottom - row.top;
    const int top = SmartListTop(left.bottom, rowHeight, m_panelSmartLists.GetItemCount(), m_nPanelSmartExpanded == 1);
    const CRect smart(left.left, top, left.right, left.bottom);
    m_panelSmartLists.MoveWindow(&smart, TRUE);
    m_panelSmartLists.AutoSizeLastColumn();
    const CRect types(left.left, left.top, left.right, top);
    m_panelTypes.MoveWindow(&types, TRUE);
    const CRect right = ToRect(g.PanelRightColumn());
    m_panelRecords.MoveWindow(&right, TRUE);
    PlaceStripButtons();
    Invalidate(TRUE);
    FitPanelColumns();
}

void CZorvikanDesktopView::FitPanelColumns()
{
    for (CListCtrlEx* list : {&m_panelTypes, &m_panelRecords}) {
        if (!list->m_hWnd) continue;
        RECT r{};
        list->GetClientRect(&r);
        RECT window{};
        list->GetWindowRect(&window);
        int width = window.right - window.left;
        // Room for the scroll bar when the rows do not fit on one page.
        if (list->GetItemCount() > list->GetCountPerPage()) width -= 20;
        list->SetColumnWidth(0, width);
    }
}

BOOL CZorvikanDesktopView::OnEraseBkgnd(CDC* pDC)
{
    const ViewGeometry g = GetGeometry();
    CRect client;
    GetClientRect(&client);
    pDC->SaveDC();
    // The view draws under its children (no WS_CLIPCHILDREN): leave out the
    // details pane and every child shown, so that none is painted over.
    if (m_viewState.showingDetails) {
        const CRect pane = ToRect(g.DetailsPane());
        pDC->ExcludeClipRect(&pane);
    }
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!(::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        ScreenToClient(&r);
        pDC->ExcludeClipRect(&r);
    }
    CRect fill(client.left, client.top, client.right + 1, client.bottom + 1);
    pDC->FillSolidRect(&fill, ::GetSysColor(COLOR_3DFACE));
    pDC->RestoreDC(-1);
    return TRUE;
}

void CZorvikanDesktopView::OnMouseMove(UINT nFlags, CPoint point)
{
    const ViewGeometry g = GetGeometry();
    if (m_viewState.showingDetails && g.InDetailsSplitter(point.x)) PrepareDetailsSplitter();
    if (InPanelSplitterStrip(point.x)) PreparePanelSplitter();
    CView::OnMouseMove(nFlags, point);
}

void CZorvikanDesktopView::OnLButtonDown(UINT nFlags, CPoint point)
{
    const ViewGeometry g = GetGeometry();
    if (m_viewState.showingDetails && g.InDetailsSplitter(point.x)) {
        if (m_detailsSplitter.OnLButtonDown(this, this, point.x, point.y)) m_nSplitterDrag = 1;
        Invalidate();
        UpdateWindow();
    } else if (InPanelSplitterStrip(point.x)) {
        if (m_panelSplitter.OnLButtonDown(this, this, point.x, point.y)) m_nSplitterDrag = 2;
        Invalidate();
        UpdateWindow();
    } else {
        // A click on the background discards a drag not yet applied.
        m_nSplitterDrag = 0;
    }
    CView::OnLButtonDown(nFlags, point);
}

bool CZorvikanDesktopView::InPanelSplitterStrip(int x)
{
    if (m_nViewMode != kViewModePanel || !m_panelRecords.m_hWnd) return false;
    RECT records{};
    m_panelRecords.GetWindowRect(&records);
    ScreenToClient(&records);
    return InPanelSplitter(x, records.left);
}

void CZorvikanDesktopView::ApplyPanelSplitter()
{
    if (!m_panelRecords.m_hWnd || !m_panelTypes.m_hWnd || !m_panelSmartLists.m_hWnd) return;
    POINT start{}, end{};
    m_panelSplitter.GetLine(start, end);
    const int x = start.x;
    auto clientRect = [this](CWnd& child) {
        CRect r;
        child.GetWindowRect(&r);
        ScreenToClient(&r);
        return r;
    };
    CRect records = clientRect(m_panelRecords);
    CRect types = clientRect(m_panelTypes);
    CRect smart = clientRect(m_panelSmartLists);
    records.left = x + 7;
    types.right = x - 5;
    smart.right = x - 5;
    m_panelRecords.MoveWindow(&records, TRUE);
    m_panelTypes.MoveWindow(&types, TRUE);
    m_panelSmartLists.MoveWindow(&smart, TRUE);
    PlaceStripButtons();
    m_panelSmartLists.SetColumnWidth(0, smart.Width());
    m_panelSmartLists.AutoSizeLastColumn();
    FitPanelColumns();
    Invalidate(TRUE);
}

void CZorvikanDesktopView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_nSplitterDrag && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    CView::OnLButtonUp(nFlags, point);
}

LRESULT CZorvikanDesktopView::OnChildListMouseMove(WPARAM, LPARAM)
{
    // A finished drag takes effect once the mouse is over a child display.
    if (m_nSplitterDrag == 1) {
        POINT start{}, end{};
        m_detailsSplitter.GetLine(start, end);
        RECT client{};
        GetClientRect(&client);
        const int width = client.right - (start.x - kSplitterStripWidth / 2);
        if (width > 0) m_viewState.detailsWidth = width;
        OnSize(SIZE_RESTORED, client.right, client.bottom);
    } else if (m_nSplitterDrag == 2) {
        ApplyPanelSplitter();
    }
    m_nSplitterDrag = 0;
    return 0;
}

void CZorvikanDesktopView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    const CRect details = GetDetailsRect();
    if (m_viewState.showingDetails && details.PtInRect(point)) SendMessage(WM_COMMAND, ID_EDIT_ITEM, 0);
    CView::OnLButtonDblClk(nFlags, point);
}

LRESULT CZorvikanDesktopView::OnListExSelect(WPARAM wParam, LPARAM)
{
    switch ((int)wParam) {
    case IDC_PANEL_TYPES:
        FillPanelRecords(nullptr);
        ShowDetails(GetSelectedRecord());
        break;
    case IDC_PANEL_RECORDS: OnPanelRecordSelected(); break;
    case IDC_PANEL_SMART_LISTS: {
        const int row = m_panelSmartLists.GetNextItem(-1, LVNI_SELECTED);
        if (row >= 0) ShowSmartList(row);
        break;
    }
    default: break;
    }
    return 0;
}

void CZorvikanDesktopView::SetMaskButtonText(const CString& text)
{
    if (CBitmapButton* mask = GetToolButton(ID_TOGGLE_MASK))
        if (mask->m_hWnd) mask->SetWindowText(text);
}

void CZorvikanDesktopView::GetSmartList(int row, std::vector<CRecord*>& records)
{
    records.clear();
    CZorvikanDesktopApp* app = App();
    if (!app) return;
    CRecordPtrArray found;
    if (row == 0)
        app->GetRecentlyAdded(m_database.GetRecords(), found);
    else if (row == 1)
        app->GetRecentlyViewed(m_database.GetRecords(), found);
    else if (row == 2)
        app->GetMostViewed(m_database.GetRecords(), found);
    for (INT_PTR i = 0; i < found.GetSize(); ++i) records.push_back(found[i]);
}

void CZorvikanDesktopView::FillSmartListEntries()
{
    if (!m_panelSmartLists.m_hWnd) return;
    // Drawn once when filled, not after every row.
    m_panelSmartLists.SendMessage(WM_SETREDRAW, FALSE);
    m_panelSmartLists.DeleteAllItems();
    const char* names[3] = {"Recently Added", "Recently Viewed", "Most Viewed"};
    std::vector<CRecord*> records;
    for (int row = 0; row < 3; ++row) {
        GetSmartList(row, records);
        CString text;
        text.Format("%s(%d)", names[row], (int)records.size());
        m_panelSmartLists.InsertItem(row, text);
    }
    m_panelSmartLists.SendMessage(WM_SETREDRAW, TRUE);
    m_panelSmartLists.Invalidate();
}

void CZorvikanDesktopView::ShowSmartList(int row) { FillPanelRecordList(nullptr, row); }

void CZorvikanDesktopView::BuildFonts()
{
    for (CFont* font : {&m_listFont, &m_linkFont, &m_boldFont, &m_boldLinkFont}) font->DeleteObject();
    LOGFONTA lf = m_listLogFont;
    m_listFont.CreateFontIndirect(&lf);
    lf.lfUnderline = TRUE;
    m_linkFont.CreateFontIndirect(&lf);
    lf = m_listLogFont;
    lf.lfHeight -= 4;
    lf.lfWeight = FW_BOLD;
    m_boldFont.CreateFontIndirect(&lf);
    lf.lfUnderline = TRUE;
    m_boldLinkFont.CreateFontIndirect(&lf);

    HDC dc = ::GetDC(m_hWnd);
    TEXTMETRICA tm{};
    HGDIOBJ old = ::SelectObject(dc, (HFONT)m_listFont);
    ::GetTextMetricsA(dc, &tm);
    m_nLineHeight = tm.tmHeight + tm.tmExternalLeading;
    ::SelectObject(dc, (HFONT)m_boldFont);
    ::GetTextMetricsA(dc, &tm);
    if (tm.tmHeight + 4 > 24) m_nHeadingHeight = tm.tmHeight + 4;
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
}

void CZorvikanDesktopView::ChooseListFont()
{
    LOGFONTA lf = m_listLogFont;
    CFontDialog dialog(&lf, CF_SCREENFONTS | CF_EFFECTS, nullptr, this);
    if (dialog.DoModal() != IDOK) return;
    dialog.GetCurrentFont(&m_listLogFont);
    if (CUserItem* user = CurrentUser()) {
        BYTE stored[kLogFontSize] = {};
        std::memcpy(stored, &m_listLogFont, kLogFontSize);
        CAppPrefMgr::GetInstance()->GetPrefs()->SetFont(user, stored);
        std::memcpy(m_viewState.font, stored, kLogFontSize);
        m_viewState.hasFont = true;
    }
    BuildFonts();
    for (CWnd* control :
         {static_cast<CWnd*>(&m_recordList), static_cast<CWnd*>(&m_tree), static_cast<CWnd*>(&m_panelTypes),
          static_cast<CWnd*>(&m_panelRecords), static_cast<CWnd*>(&m_panelSmartLists)}) {
        if (!control->m_hWnd) continue;
        control->SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_listFont, TRUE);
        control->Invalidate();
    }
    RECT client{};
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.right, client.bottom);
    const CRect details = GetDetailsRect();
    InvalidateRect(&details);
    if (m_detailsPane.m_hWnd) m_detailsPane.Invalidate();
}

void CZorvikanDesktopView::ChooseRowColour()
{
    CUserItem* user = CurrentUser();
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    CColorDialog dialog(user ? (COLORREF)prefs->GetRowColor(user) : (COLORREF)m_viewState.rowColor, 0, this);
    if (dialog.DoModal() != IDOK) return;
    const COLORREF colour = dialog.GetColor();
    if (user) prefs->SetRowColor(user, colour);
    m_viewState.rowColor = colour;
    m_recordList.m_crEvenRow = colour;
    if (m_nViewMode == kViewModeList) {
        m_recordList.Invalidate();
    } else if (m_nViewMode == kViewModeTree && m_tree.m_hWnd) {
        // The tree keeps the list font the user chose.
        m_tree.SetBkColor(colour);
        m_tree.Invalidate();
    } else if (m_nViewMode == kViewModePanel) {
        for (CListCtrlEx* list : {&m_panelTypes, &m_panelRecords, &m_panelSmartLists}) {
            if (!list->m_hWnd) continue;
            list->SetBkColor(colour);
            list->SetTextBkColor(colour);
            list->Invalidate();
        }
    }
    const CRect details = GetDetailsRect();
    InvalidateRect(&details);
    if (m_detailsPane.m_hWnd) m_detailsPane.Invalidate();
}
