#include "mainwindow/printing/PrintLayout.h"

#include <algorithm>
#include <utility>

#include "mainwindow/details/DetailsLayout.h"

namespace {
constexpr int kTopOffset = 100;  // page 1 starts this far into the printable area
constexpr int kCellGap = 40;
constexpr int kCellShrink = 20;
constexpr int kNotesColumn = 13;
}  // namespace

CPrintLayout::CPrintLayout(const PrintMetrics& metrics, PrintMeasure measure)
    : m_metrics(metrics), m_measure(std::move(measure))
{}

int CPrintLayout::PageOf(int y) const
{
    if (m_metrics.pageHeight <= 0) return 1;
    const int from = y + kTopOffset;
    if (from < 0) return 1;
    return from / m_metrics.pageHeight + 1;
}

int CPrintLayout::BandEnd(int page) const { return page * m_metrics.pageHeight - kTopOffset; }

int CPrintLayout::PlaceLine(int y, int height) const
{
    // A line taller than a page cannot fit anywhere: it stays where it is.
    if (m_metrics.pageHeight <= 0 || height >= m_metrics.pageHeight) return y;
    const int end = BandEnd(PageOf(y));
    return y + height > end ? end + m_bandReserve : y;
}

void CPrintLayout::Add(PrintItem::Kind kind, int left, int top, int right, int bottom, const CString& text)
{
    const int page = PageOf(top);
    m_items.push_back({kind, left, top, right, bottom, text, page});
    m_pages = std::max(m_pages, page);
}

int CPrintLayout::ListColumnWidth(int visibleColumns) const
{
    // One visible column (or none) has the whole width to itself.
    const int share = std::max(1, visibleColumns - 1);
    return std::max(1, (m_metrics.pageWidth - 2 * m_metrics.margin) / share - kCellShrink);
}

int CPrintLayout::AddWrapped(const CString& text, int left, int right, int y, bool wholeWords)
{
    const int width = right - left;
    if (width <= 0) return y;
    // A word is never cut: the whole run is one piece, however wide.
    const auto whole = [](const CString& run, int) { return run.GetLength(); };
    const std::vector<NotePiece> pieces = wholeWords
                                              ? WrapNotes(text, width, m_measure.textWidth, whole)
                                              : WrapNotes(text, width, m_measure.textWidth, m_measure.charsThatFit);
    const int step = m_metrics.textHeight;
    int line = -1;
    int top = y;
    int end = y;
    for (const NotePiece& piece : pieces) {
        while (line < piece.line) {
            top = line < 0 ? PlaceLine(y, step) : PlaceLine(top + step, step);
            ++line;
        }
        const bool tooWide = wholeWords && m_measure.textWidth(piece.text) > width - piece.x;
        Add(tooWide ? PrintItem::EllipsisText : PrintItem::Text, left + piece.x, top, right, top + step, piece.text);
        end = top + step;
    }
    return end;
}

void CPrintLayout::AddHeading(const CString& title)
{
    const int lh = m_metrics.lineHeight;
    const int right = m_metrics.pageWidth - m_metrics.margin;
    Add(PrintItem::Text, m_metrics.margin, 2 * lh, right, 3 * lh, title);
    const int y = 2 * lh + (3 * lh) / 2;
    Add(PrintItem::Rule, m_metrics.margin, y, right, y, CString());
}

std::vector<std::pair<int, int>> CPrintLayout::CellEdges(int visibleColumns, const std::vector<PrintCell>& cells) const
{
    const int width = ListColumnWidth(visibleColumns);
    const int pageRight = m_metrics.pageWidth - m_metrics.margin;
    std::vector<std::pair<int, int>> edges;
    int x = m_metrics.margin;
    for (const PrintCell& cell : cells) {
        edges.emplace_back(x, cell.column == kNotesColumn ? pageRight : std::min(x + width, pageRight));
        x += width + kCellGap;
    }
    return edges;
}

void CPrintLayout::AddListHeadings(int visibleColumns, const std::vector<PrintCell>& headings, int y)
{
    const int lh = m_metrics.lineHeight;
    const std::vector<std::pair<int, int>> edges = CellEdges(visibleColumns, headings);
    for (size_t i = 0; i < headings.size(); ++i)
        if (edges[i].second > edges[i].first)
            Add(PrintItem::EllipsisText, edges[i].first, y, edges[i].second, y + lh, headings[i].text);
    const int rule = y + lh + lh / 4;
    Add(PrintItem::Rule, m_metrics.margin, rule, m_metrics.pageWidth - m_metrics.margin, rule, CString());
}

void CPrintLayout::AddList(int visibleColumns, const std::vector<PrintCell>& headings,
                           const std::vector<std::vector<PrintCell>>& rows)
{
    // The headings, a line and a half with their rule, take the top of
    // every band the list reaches.
    const int headingBlock = headings.empty() ? 0 : (3 * m_metrics.lineHeight) / 2;
    int y = 5 * m_metrics.lineHeight;
    if (!headings.empty()) AddListHeadings(visibleColumns, headings, y);
    y += headingBlock;
    m_bandReserve = headingBlock;
    for (const std::vector<PrintCell>& row : rows) {
        const std::vector<std::pair<int, int>> edges = CellEdges(visibleColumns, row);
        int rowEnd = y;
        for (size_t i = 0; i < row.size(); ++i)
            if (edges[i].second > edges[i].first)
                rowEnd = std::max(rowEnd, AddWrapped(row[i].text, edges[i].first, edges[i].second, y, true));
        y = rowEnd;
    }
    m_bandReserve = 0;
    if (headings.empty()) return;
    for (int page = PageOf(5 * m_metrics.lineHeight) + 1; page <= m_pages; ++page)
        AddListHeadings(visibleColumns, headings, BandEnd(page - 1));
}

void CPrintLayout::AddRecord(const CString& title, const std::vector<PrintRecordRow>& rows, int labelWidth,
                             const CString& noteLabel, const CString& notes)
{
    const int lh = m_metrics.lineHeight;
    const int margin = m_metrics.margin;
    const int right = m_metrics.pageWidth - margin;
    Add(PrintItem::GreyBand, margin, 5 * lh, right, 7 * lh, CString());
    Add(PrintItem::Icon, margin - 150, 5 * lh - 199, margin + 150, 7 * lh, CString());
    Add(PrintItem::EllipsisText, margin + 300, 6 * lh - 50, right, 7 * lh, title);

    int y = 7 * lh;
    for (const PrintRecordRow& row : rows) {
        y = PlaceLine(y, lh);
        Add(PrintItem::EllipsisText, margin, y, margin + labelWidth, y + lh, row.label);
        Add(PrintItem::EllipsisText, margin + labelWidth + 3, y, right, y + lh, row.value);
        y += lh;
    }
    if (notes.IsEmpty()) return;
    y = PlaceLine(y, lh);
    Add(PrintItem::EllipsisText, margin, y, right, y + lh, noteLabel);
    AddWrapped(notes, margin, right, y + lh, false);
}
