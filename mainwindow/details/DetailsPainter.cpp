// Drawing the selected record into the details pane.
#include "mainwindow/details/DetailsPainter.h"

#include <algorithm>

#include "core/items/Record.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/store/DatabaseObj.h"
#include "core/winui/TextFitting.h"
#include "mainwindow/details/DetailsLayout.h"

namespace {

const COLORREF kLinkColour = RGB(0, 0, 0xFF);
const COLORREF kFrameColour = RGB(0x80, 0x80, 0x80);

COLORREF HeadingColour(COLORREF row)
{
    auto lower = [](int c) { return c > 20 ? c - 20 : 0; };
    return RGB(lower(GetRValue(row)), lower(GetGValue(row)), lower(GetBValue(row)));
}

int TextWidth(HDC dc, const CString& text)
{
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
    return size.cx;
}

void FillFramed(HDC dc, const RECT& rect, COLORREF fill, COLORREF frame)
{
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
    HBRUSH edge = ::CreateSolidBrush(frame);
    ::FrameRect(dc, &rect, edge);
    ::DeleteObject(edge);
}

}  // namespace

void CDetailsPainter::AddHotSpot(HDC dc, const CString& text, const CString& address, int left, int top)
{
    CString trimmed = text;
    trimmed.Trim();
    SIZE size{};
    ::GetTextExtentPoint32A(dc, trimmed, trimmed.GetLength(), &size);
    m_hotSpots.push_back({RECT{left, top - m_scrollY, left + size.cx, top + size.cy - m_scrollY}, address});
}

const CString* CDetailsPainter::LinkAt(POINT point) const
{
    for (const LinkHotSpot& spot : m_hotSpots)
        if (::PtInRect(&spot.rect, point)) return IsOpenableLink(spot.address) ? &spot.address : nullptr;
    return nullptr;
}

void CDetailsPainter::Draw(HDC dc, const RECT& rect, const CRecord* record, const CDatabaseObj& database, bool reveal,
                           const CString& attachmentsFolder, int scrollY, const DetailsStyle& style,
                           const IconDrawer& drawIcon)
{
    m_hotSpots.clear();
    m_scrollY = scrollY;
    const int saved = ::SaveDC(dc);
    FillFramed(dc, rect, style.rowColour, kFrameColour);
    HGDIOBJ oldFont = ::SelectObject(dc, style.listFont ? style.listFont : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    m_lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    ::SelectObject(dc, oldFont);
    DrawHeading(dc, rect, record, reveal, style, drawIcon);
    m_extent = 0;
    if (record) {
        RECT body{rect.left + 8, rect.top + style.headingHeight + 11, rect.right - 8, rect.bottom - 8};
        ::SetBkColor(dc, style.rowColour);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SelectObject(dc, style.listFont ? style.listFont : ::GetStockObject(DEFAULT_GUI_FONT));
        CString sizeText;
        if (record->HasAttachment())
            sizeText = FormatFileSizeText(JoinPath(attachmentsFolder, record->GetAttachmentFileName()));
        const std::vector<DetailsRow> rows =
            DetailsBodyRows(*record, database.GetTypes(), database.GetCategories(), reveal, sizeText);
        // With an attachment the label column is only as wide as its label.
        int labelWidth = 0;
        if (record->HasAttachment()) {
            labelWidth = TextWidth(dc, "Attachment:");
        } else {
            for (const DetailsRow& row : rows) labelWidth = std::max(labelWidth, TextWidth(dc, row.label));
        }
        int r = 0;
        for (const DetailsRow& row : rows) {
            const int top = body.top + r * m_lineHeight;
            RECT label{body.left, top, body.left + labelWidth, top + m_lineHeight};
            DrawTextWithEllipsis(dc, row.label, label, DT_SINGLELINE | DT_NOPREFIX);
            RECT value{body.left + labelWidth + 3, top, body.right - 7, top + m_lineHeight};
            if (row.link) {
                ::SelectObject(dc, style.linkFont ? style.linkFont : ::GetStockObject(DEFAULT_GUI_FONT));
                ::SetTextColor(dc, kLinkColour);
                DrawTextWithEllipsis(dc, row.value, value, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
                AddHotSpot(dc, row.value, LinkAddress(row.value), value.left, value.top);
                ::SelectObject(dc, style.listFont ? style.listFont : ::GetStockObject(DEFAULT_GUI_FONT));
                ::SetTextColor(dc, RGB(0, 0, 0));
            } else {
                DrawTextWithEllipsis(dc, row.value, value, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
            }
            ++r;
        }
        const CString notes = record->GetNotes();
        if (!notes.IsEmpty()) {
            RECT label{body.left, body.top + r * m_lineHeight + 12, body.left + labelWidth,
                       body.top + (r + 1) * m_lineHeight + 12};
            ::DrawTextA(dc, "Note:", -1, &label, DT_SINGLELINE | DT_NOPREFIX);
            RECT area{body.left, body.top + (r + 1) * m_lineHeight + 12, body.right, body.bottom};
            DrawNotes(dc, area, notes, style);
        }
    }
    ::RestoreDC(dc, saved);
}

void CDetailsPainter::DrawHeading(HDC dc, RECT rect, const CRecord* record, bool reveal, const DetailsStyle& style,
                                  const IconDrawer& drawIcon)
{
    const COLORREF heading = HeadingColour(style.rowColour);
    ::InflateRect(&rect, -3, -3);
    RECT band{rect.left, rect.top, rect.right, rect.top + style.headingHeight};
    FillFramed(dc, band, heading, heading);
    if (!record) return;
    ::SetBkColor(dc, heading);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    const int icon = record->GetIcon();
    RECT iconRect = icon > 63 ? RECT{band.left + 4, band.top + 4, band.left + 24, band.bottom - 4}
                              : RECT{band.left, band.top, band.left + 28, band.bottom};
    const bool drewIcon = drawIcon && drawIcon(dc, iconRect, icon);
    RECT text{band.left + (drewIcon ? 32 : 7), band.top, band.right - 7, band.bottom};
    const CString title = record->GetFieldDisplayText(0, !reveal);
    const bool link = IsLinkText(title);
    HFONT font = link ? style.boldLinkFont : style.boldFont;
    ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    if (link) ::SetTextColor(dc, kLinkColour);
    DrawTextWithEllipsis(dc, title, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    if (link) {
        SIZE size{};
        ::GetTextExtentPoint32A(dc, title, title.GetLength(), &size);
        AddHotSpot(dc, title, LinkAddress(title), text.left, band.top + (style.headingHeight - size.cy) / 2);
    }
}

void CDetailsPainter::DrawNotes(HDC dc, const RECT& area, const CString& notes, const DetailsStyle& style)
{
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    const int step = metrics.tmHeight > 0 ? metrics.tmHeight : 16;
    const int width = area.right - area.left;
    const std::vector<NotePiece> pieces = WrapNotes(
        notes, width, [dc](const CString& run) { return TextWidth(dc, run); },
        [dc](const CString& run, int w) { return CountCharsThatFit(dc, run, w); });
    for (const NotePiece& piece : pieces) {
        const int y = area.top + piece.line * step;
        m_extent = std::max(m_extent, y + step);
        // Runs past the pane's end are not drawn.
        if (y > area.bottom - step) break;
        if (piece.link) {
            ::SelectObject(dc, style.linkFont ? style.linkFont : ::GetStockObject(DEFAULT_GUI_FONT));
            ::SetTextColor(dc, kLinkColour);
        }
        ::TextOutA(dc, area.left + piece.x, y, piece.text, piece.text.GetLength());
        if (piece.link) {
            AddHotSpot(dc, piece.text, piece.address, area.left + piece.x, y);
            ::SelectObject(dc, style.listFont ? style.listFont : ::GetStockObject(DEFAULT_GUI_FONT));
            ::SetTextColor(dc, RGB(0, 0, 0));
        }
    }
}
