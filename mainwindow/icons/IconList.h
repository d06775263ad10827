#pragma once
// CIconList: one strip of equally sized icon cells in a bitmap resource,
// numbered down the columns; a cell is drawn with its colour key
// transparent, stretched by the strip's extra size. Windows only.
#include <windows.h>

#include <memory>

#include "framework/CObject.h"
#include "framework/Gdi.h"

class CDC;

class CIconList : public CObject {
public:
    // Keeps the layout and loads the bitmap from the resource module; false
    // when it is not there.
    bool Load(int bitmapId, int cellsPerColumn, int columnCount, int cellWidth, int cellHeight, int gap,
              COLORREF colourKey, int extraSize);
    void DrawCell(HDC dc, int cell, int x, int y) const;
    // Centred: left rounded down, top rounded up.
    void DrawCentered(HDC dc, int cell, const RECT& rect) const;
    // The cell's rectangle in the strip.
    RECT SourceRect(int cell) const;
    bool IsLoaded() const { return m_bitmap.m_hObject != nullptr; }
    int GetCellWidth() const { return m_cellWidth; }
    int GetCellHeight() const { return m_cellHeight; }

private:
    int m_cellsPerColumn = 1;
    int m_columnCount = 0;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    int m_gap = 0;
    COLORREF m_colourKey = 0;
    int m_bitmapId = 0;
    int m_extraSize = 0;
    CBitmap m_bitmap;
};

// The four strips of the built-in type icons, and the choice among them by
// the size of the rectangle an icon is drawn into.
class CTypeIconStrips {
public:
    void Load();
    // Draws built-in icon id (0-63) centred in the rectangle from the strip
    // that fits it; false when the id is not a built-in one or the strip is
    // missing.
    bool Draw(HDC dc, const RECT& rect, int id) const;
    // Which strip a rectangle takes: 0 small, 1 medium, 2 large, 3 enlarged.
    static int StripFor(int width, int height);
    bool IsLoaded() const { return m_strips[0].IsLoaded(); }

private:
    CIconList m_strips[4];
};

// The program-wide strips the small owner-drawn buttons paint from: 0 the
// copy buttons' states, 1 the pressed attachment button. The main view
// loads them when it is built.
constexpr int kProgramStripCount = 2;
// The strip at that index; null outside the array.
std::shared_ptr<const CIconList> GetProgramStrip(int index);
void LoadProgramStrip(int index, int bitmapId, int cellsPerColumn, int columnCount, int cellWidth, int cellHeight,
                      int gap, COLORREF colourKey);
// Cell 0 of the strip, centred in the rectangle.
void DrawProgramStripCell(HDC dc, const RECT& rect, int index);
