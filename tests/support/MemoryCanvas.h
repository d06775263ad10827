#pragma once
// A 32-bit memory canvas for drawing tests: colours read back
// exactly as drawn, so tests sample pixels instead of comparing pictures.
#include <windows.h>

namespace zvtest {

class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill = RGB(1, 2, 3)) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_dc = ::CreateCompatibleDC(nullptr);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~MemoryCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    void Fill(COLORREF colour)
    {
        HBRUSH brush = ::CreateSolidBrush(colour);
        RECT rc{0, 0, m_width, m_height};
        ::FillRect(m_dc, &rc, brush);
        ::DeleteObject(brush);
    }
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    // The leftmost / rightmost column in rows [top, bottom) whose pixel
    // differs from colour; -1 when there is none.
    int FirstColumnNot(COLORREF colour, int fromX, int top, int bottom) const
    {
        for (int x = fromX; x < m_width; ++x)
            for (int y = top; y < bottom; ++y)
                if (At(x, y) != colour) return x;
        return -1;
    }
    int LastColumnNot(COLORREF colour, int top, int bottom) const
    {
        for (int x = m_width - 1; x >= 0; --x)
            for (int y = top; y < bottom; ++y)
                if (At(x, y) != colour) return x;
        return -1;
    }

private:
    int m_width, m_height;
    HBITMAP m_bitmap = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

}  // namespace zvtest
