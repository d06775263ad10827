// Printing of the record list (list mode) or of the selected record through
// the framework's print job. The report is laid out once per job with the
// printer's font (CPrintLayout); each page draws the items that fall on it.
#include <algorithm>

#include "app/res/Resource.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "core/winui/TextFitting.h"
#include "mainwindow/details/DetailsLayout.h"
#include "mainwindow/models/RecordColumns.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

namespace {
constexpr COLORREF kRecordBandColour = 0xEBEBEB;
constexpr int kFirstPrintedColumn = kColumnType;
constexpr int kLastPrintedColumn = kColumnNotes;

CString Loaded(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}
}  // namespace

void CZorvikanDesktopView::OnUpdatePrintCommands(CCmdUI* pCmdUI)
{
    const bool noPrint = CAppPrefMgr::GetInstance()->GetPrefs()->GetNoPrint(CZorvikanDesktopApp::GetPrefsSection());
    pCmdUI->Enable(noPrint ? FALSE : TRUE);
}

void CZorvikanDesktopView::OnPrintRecord()
{
    m_bPrintRecord = true;
    RunPrintJob(FALSE);
    // A cancelled print dialog ends the job before its end is reached.
    m_bPrintRecord = false;
}

BOOL CZorvikanDesktopView::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (DoPreparePrinting(pInfo)) return TRUE;
    m_bPrintRecord = false;
    return FALSE;
}

void CZorvikanDesktopView::OnBeginPrinting(CDC* pDC, CPrintInfo*)
{
    LOGFONTA font = m_listLogFont;
    font.lfHeight = -(pDC->GetDeviceCaps(LOGPIXELSY) * 10 / 72);
    m_printerFont.DeleteObject();
    m_printerFont.CreateFontIndirect(&font);
    CFont* old = pDC->SelectObject(&m_printerFont);
    TEXTMETRICA tm{};
    pDC->GetTextMetrics(&tm);
    m_nPrinterLineHeight = tm.tmHeight + tm.tmExternalLeading;
    m_nPrintMargin = pDC->GetDeviceCaps(LOGPIXELSX) / 3;
    m_nPrintPageWidth = pDC->GetDeviceCaps(HORZRES);
    m_bPrinting = true;
    m_printLayout = LayOutReport(pDC);
    pDC->SelectObject(old);
}

void CZorvikanDesktopView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    if (!pInfo) return;
    pInfo->m_bContinuePrinting = m_bPrinting ? TRUE : FALSE;
    ::SetViewportOrgEx(pDC->GetSafeHdc(), 0,
                       CPrintLayout::PageOriginY((int)pInfo->m_nCurPage, pDC->GetDeviceCaps(VERTRES)), nullptr);
}

std::unique_ptr<CPrintLayout> CZorvikanDesktopView::LayOutReport(CDC* pDC)
{
    if (IsLocked()) return nullptr;
    PrintMetrics metrics;
    metrics.pageWidth = m_nPrintPageWidth;
    metrics.pageHeight = pDC->GetDeviceCaps(VERTRES);
    metrics.margin = m_nPrintMargin;
    metrics.lineHeight = m_nPrinterLineHeight;
    TEXTMETRICA tm{};
    pDC->GetTextMetrics(&tm);
    metrics.textHeight = tm.tmHeight;
    const HDC dc = pDC->GetSafeHdc();
    PrintMeasure measure{[pDC](const CString& text) { return (int)pDC->GetTextExtent(text).cx; },
                         [dc](const CString& text, int width) { return CountCharsThatFit(dc, text, width); }};
    auto layout = std::make_unique<CPrintLayout>(metrics, measure);

    CString title;
    CUserItem* user = CurrentUser();
    title.Format(IDS_PRINT_REPORT_TITLE, (LPCSTR)Loaded(IDS_PRODUCT_NAME), user ? (LPCSTR)user->GetDisplayName() : "");
    layout->AddHeading(title);

    const RecordNames names{m_database.GetTypes(), m_database.GetCategories()};
    if (m_bPrintRecord) {
        CRecord* record = GetSelectedRecord();
        if (!record) return layout;
        std::vector<PrintRecordRow> rows;
        int labelWidth = 0;
        const CString attachmentLabel = Loaded(IDS_LABEL_ATTACHMENT);
        for (const DetailsRow& row : DetailsBodyRows(*record, names.types, names.categories, m_bReveal, CString())) {
            // The attachment is not printed, though it sets the labels' width.
            if (row.field < 0 && !rows.empty()) continue;
            const CString label = row.field < 0 ? Loaded(IDS_LABEL_CATEGORY) : row.label;
            rows.push_back({label, row.value});
            labelWidth = std::max(labelWidth, (int)pDC->GetTextExtent(label).cx);
        }
        if (record->HasAttachment()) labelWidth = pDC->GetTextExtent(attachmentLabel).cx;
        m_nPrintIcon = record->GetIcon();
        layout->AddRecord(record->GetFieldDisplayText(0, !m_bReveal), rows, labelWidth, Loaded(IDS_LABEL_NOTE),
                          record->GetNotes());
        return layout;
    }

    if (m_database.GetRecords().GetCount() == 0) return layout;
    std::vector<int> columns;
    for (int k = 0; k < m_listColumns.GetVisibleCount(); ++k) {
        const int column = m_listColumns.GetVisibleColumnId(k);
        if (column >= kFirstPrintedColumn && column <= kLastPrintedColumn) columns.push_back(column);
    }
    // The list's own column titles head the printed columns; the notes
    // column, whose header shows a picture, is headed by its label.
    std::vector<PrintCell> headings;
    const CTypeItem* chosen = GetChosenType();
    for (int column : columns) {
        CString title = RecordColumnTitle(column, chosen);
        if (column == kColumnNotes) {
            title = Loaded(IDS_LABEL_NOTE);
            title.TrimRight(':');
        }
        headings.push_back({column, title});
    }
    std::vector<std::vector<PrintCell>> rows;
    const int count = m_recordList.m_hWnd ? m_recordList.GetItemCount() : 0;
    for (int row = 0; row < count; ++row) {
        const CRecord* record = m_recordList.GetRecordAt(row);
        if (!record) continue;
        std::vector<PrintCell> cells;
        for (int column : columns) {
            const CString text =
                column == kColumnNotes ? record->GetNotes() : RecordCellText(*record, column, names, m_bReveal);
            cells.push_back({column, text});
        }
        rows.push_back(std::move(cells));
    }
    layout->AddList(m_listColumns.GetVisibleCount(), headings, rows);
    return layout;
}

void CZorvikanDesktopView::DrawPrintItem(CDC* pDC, const PrintItem& item)
{
    RECT rect{item.left, item.top, item.right, item.bottom};
    switch (item.kind) {
    case PrintItem::Text: pDC->DrawText(item.text, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX); break;
    case PrintItem::EllipsisText:
        pDC->DrawText(item.text, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        break;
    case PrintItem::Rule:
        pDC->MoveTo(item.left, item.top);
        pDC->LineTo(item.right, item.top);
        break;
    case PrintItem::GreyBand: {
        pDC->FillSolidRect(&rect, kRecordBandColour);
        CBrush frame;
        frame.CreateSolidBrush(kRecordBandColour);
        pDC->FrameRect(&rect, &frame);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        break;
    }
    case PrintItem::Icon: DrawItemIcon(pDC, CRect(rect), m_nPrintIcon); break;
    }
}

void CZorvikanDesktopView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    const int page = (int)pInfo->m_nCurPage;
    // Locked: a blank page, and the job ends with it.
    if (!IsLocked() && m_printLayout) {
        CFont* old = pDC->SelectObject(&m_printerFont);
        pDC->SetBkMode(TRANSPARENT);
        for (const PrintItem& item : m_printLayout->Items())
            if (item.page == page) DrawPrintItem(pDC, item);
        pDC->SelectObject(old);
    }
    const bool last = IsLocked() || !m_printLayout || page >= m_printLayout->PageCount();
    if (!last) return;
    if (pInfo->m_bPreview)
        pInfo->SetMaxPage(pInfo->m_nCurPage);
    else
        m_bPrinting = false;
}

void CZorvikanDesktopView::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_bPrintRecord = false;
    m_bPrinting = false;
    m_printerFont.DeleteObject();
    m_printLayout.reset();
}
