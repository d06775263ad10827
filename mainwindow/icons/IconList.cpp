#include "mainwindow/icons/IconList.h"

#include "app/res/Resource.h"
#include "core/os/ProcessWide.h"
#include "mainwindow/icons/IconCatalog.h"

bool CIconList::Load(int bitmapId, int cellsPerColumn, int columnCount, int cellWidth, int cellHeight, int gap,
                     COLORREF colourKey, int extraSize)
{
    m_bitmapId = bitmapId;
    m_cellsPerColumn = cellsPerColumn > 0 ? cellsPerColumn : 1;
    m_columnCount = columnCount;
    m_cellWidth = cellWidth;
    m_cellHeight = cellHeight;
    m_gap = gap;
    m_colourKey = colourKey;
    m_extraSize = extraSize;
    m_bitmap.DeleteObject();
    return m_bitmap.LoadBitmap((UINT)bitmapId) != FALSE;
}

RECT CIconList::SourceRect(int cell) const
{
    const int x = (m_cellWidth + m_gap) * (cell / m_cellsPerColumn) + m_gap;
    const int y = (m_cellHeight + m_gap) * (cell % m_cellsPerColumn) + m_gap;
    return {x, y, x + m_cellWidth, y + m_cellHeight};
}

void CIconList::DrawCell(HDC dc, int cell, int x, int y) const
{
    if (!IsLoaded() || !dc || cell < 0) return;
    const RECT src = SourceRect(cell);
    const int w = m_cellWidth, h = m_cellHeight;
    const int dw = w + m_extraSize, dh = h + m_extraSize;
    HDC strip = ::CreateCompatibleDC(dc);
    HDC cellDc = ::CreateCompatibleDC(dc);
    HDC maskDc = ::CreateCompatibleDC(dc);
    HBITMAP cellBmp = ::CreateCompatibleBitmap(dc, w, h);
    HBITMAP maskBmp = ::CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldStrip = ::SelectObject(strip, m_bitmap.m_hObject);
    HGDIOBJ oldCell = ::SelectObject(cellDc, cellBmp);
    HGDIOBJ oldMask = ::SelectObject(maskDc, maskBmp);
    ::BitBlt(cellDc, 0, 0, w, h, strip, src.left, src.top, SRCCOPY);
    // Key pixels become 1 in the mask, and black in the cell.
    ::SetBkColor(cellDc, m_colourKey);
    ::BitBlt(maskDc, 0, 0, w, h, cellDc, 0, 0, SRCCOPY);
    ::SetBkColor(cellDc, RGB(0, 0, 0));
    ::SetTextColor(cellDc, RGB(255, 255, 255));
    ::BitBlt(cellDc, 0, 0, w, h, maskDc, 0, 0, SRCAND);
    // The destination keeps its pixels under the key and takes the cell's
    // elsewhere.
    const COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, x, y, dw, dh, maskDc, 0, 0, w, h, SRCAND);
    ::StretchBlt(dc, x, y, dw, dh, cellDc, 0, 0, w, h, SRCPAINT);
    ::SetStretchBltMode(dc, oldMode);
    ::SetBkColor(dc, oldBk);
    ::SetTextColor(dc, oldText);
    ::SelectObject(maskDc, oldMask);
    ::SelectObject(cellDc, oldCell);
    ::SelectObject(strip, oldStrip);
    ::DeleteObject(maskBmp);
    ::DeleteObject(cellBmp);
    ::DeleteDC(maskDc);
    ::DeleteDC(cellDc);
    ::DeleteDC(strip);
}

void CIconList::DrawCentered(HDC dc, int cell, const RECT& rect) const
{
    const int x = rect.left + (rect.right - rect.left - m_cellWidth) / 2;
    const int spareY = rect.bottom - rect.top - m_cellHeight;
    const int y = rect.top + (spareY >= 0 ? (spareY + 1) / 2 : -((-spareY) / 2));
    DrawCell(dc, cell, x, y);
}

void CTypeIconStrips::Load()
{
    m_strips[0].Load(IDB_TYPE_ICONS_SMALL, 8, 9, 12, 10, 4, RGB(0xFF, 0xCC, 0xFF), 0);
    m_strips[1].Load(IDB_TYPE_ICONS_MEDIUM, 8, 8, 23, 20, 1, RGB(0xFC, 0xCC, 0xFC), 0);
    m_strips[2].Load(IDB_TYPE_ICONS_LARGE, 8, 8, 31, 27, 1, RGB(0xFC, 0xCC, 0xFC), 0);
    m_strips[3].Load(IDB_TYPE_ICONS_ENLARGED, 8, 8, 31, 27, 1, RGB(0, 0, 0), 200);
}

int CTypeIconStrips::StripFor(int width, int height)
{
    if (width < 20 || height < 17) return 0;
    if (width < 26 || height < 22) return 1;
    if (width < 100 || height < 100) return 2;
    return 3;
}

bool CTypeIconStrips::Draw(HDC dc, const RECT& rect, int id) const
{
    if (id < 0 || id >= kBuiltInIconCount) return false;
    const CIconList& strip = m_strips[StripFor(rect.right - rect.left, rect.bottom - rect.top)];
    if (!strip.IsLoaded()) return false;
    strip.DrawCentered(dc, id, rect);
    return true;
}

namespace {

struct ProgramStrips {
    CIconList strips[kProgramStripCount];
};

std::shared_ptr<ProgramStrips> TheProgramStrips()
{
    static CProcessWide<ProgramStrips> slot([] { return std::make_shared<ProgramStrips>(); });
    return slot.Get();
}

}  // namespace

std::shared_ptr<const CIconList> GetProgramStrip(int index)
{
    if (index < 0 || index >= kProgramStripCount) return nullptr;
    std::shared_ptr<ProgramStrips> all = TheProgramStrips();
    return std::shared_ptr<const CIconList>(all, &all->strips[index]);
}

void LoadProgramStrip(int index, int bitmapId, int cellsPerColumn, int columnCount, int cellWidth, int cellHeight,
                      int gap, COLORREF colourKey)
{
    if (index < 0 || index >= kProgramStripCount) return;
    TheProgramStrips()->strips[index].Load(bitmapId, cellsPerColumn, columnCount, cellWidth, cellHeight, gap, colourKey,
                                           0);
}

void DrawProgramStripCell(HDC dc, const RECT& rect, int index)
{
    if (std::shared_ptr<const CIconList> strip = GetProgramStrip(index)) strip->DrawCentered(dc, 0, rect);
}
