#pragma once
// CCeXDib: a small device-independent bitmap kept in one memory block: the
// 40-byte bitmap info header, the palette (blue, green, red, 0 per entry)
// and the pixel rows, bottom row first, each padded to 4 bytes. The block
// is built without the platform; drawing (a DIB section blitted to a DC)
// lives in the Win32 file.
#include <cstddef>

#include "framework/ZvTypes.h"

class CDC;

// The layout of BITMAPINFOHEADER, little-endian as the block stores it.
struct ZvDibHeader {
    DWORD size;
    LONG width;
    LONG height;
    WORD planes;
    WORD bitCount;
    DWORD compression;
    DWORD sizeImage;
    LONG xPelsPerMeter;
    LONG yPelsPerMeter;
    DWORD clrUsed;
    DWORD clrImportant;
};
static_assert(sizeof(ZvDibHeader) == 40, "bitmap info header is 40 bytes");

class CCeXDib {
public:
    CCeXDib() = default;
    virtual ~CCeXDib();
    CCeXDib(const CCeXDib&) = delete;
    CCeXDib& operator=(const CCeXDib&) = delete;

    // A block for width x height at bitsPerPixel (palette and pixels left to
    // the caller); null when it cannot be allocated or the size is not
    // positive. Frees what was there first.
    BYTE* Create(int width, int height, WORD bitsPerPixel);
    void Free();
    // Same geometry, header, palette and pixels as other (null other: freed).
    BOOL CopyFrom(const CCeXDib& other);
    // Ignored without a palette or for an index beyond it.
    void SetPaletteEntry(BYTE index, BYTE red, BYTE green, BYTE blue);
    // Each palette channel moves percent (capped at 100) toward colour's.
    void TintPalette(DWORD colour, int percent);
    BYTE* Bits() const;
    const BYTE* Palette() const { return m_block ? m_block + sizeof(ZvDibHeader) : nullptr; }
    const BYTE* Block() const { return m_block; }
    DWORD RowBytes() const { return m_rowBytes; }
    int PaletteEntries() const { return m_paletteEntries; }
    int Width() const { return m_header.width; }
    int Height() const { return m_header.height; }
    const ZvDibHeader& Header() const { return m_header; }
    // Blits the image to (x, y) of the DC; nothing without a block.
    void Draw(CDC* pDC, int x, int y);

private:
    void ReleaseDrawing();

    BYTE* m_block = nullptr;
    size_t m_blockSize = 0;
    ZvDibHeader m_header{};
    DWORD m_rowBytes = 0;
    int m_paletteEntries = 0;
    // For drawing: a DIB section, its pixels and a memory DC, made on first use.
    void* m_section = nullptr;
    void* m_sectionBits = nullptr;
    void* m_memDC = nullptr;
};
