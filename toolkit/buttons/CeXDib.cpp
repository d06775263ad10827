#include "toolkit/buttons/CeXDib.h"

#include <cstdlib>
#include <cstring>

CCeXDib::~CCeXDib() { Free(); }

BYTE* CCeXDib::Create(int width, int height, WORD bitsPerPixel)
{
    Free();
    if (width <= 0 || height <= 0 || bitsPerPixel == 0 || bitsPerPixel > 32) return nullptr;
    m_rowBytes = (DWORD)((((DWORD)width * bitsPerPixel) + 31) / 32 * 4);
    switch (bitsPerPixel) {
    case 1: m_paletteEntries = 2; break;
    case 4: m_paletteEntries = 16; break;
    case 8: m_paletteEntries = 256; break;
    default: m_paletteEntries = 0; break;
    }
    m_header = ZvDibHeader{};
    m_header.size = sizeof(ZvDibHeader);
    m_header.width = width;
    m_header.height = height;
    m_header.planes = 1;
    m_header.bitCount = bitsPerPixel;
    m_header.compression = 0;
    m_header.sizeImage = (DWORD)height * m_rowBytes;
    m_blockSize = sizeof(ZvDibHeader) + (size_t)m_paletteEntries * 4 + m_header.sizeImage;
    m_block = static_cast<BYTE*>(calloc(1, m_blockSize));
    if (!m_block) {
        m_header = ZvDibHeader{};
        m_rowBytes = 0;
        m_paletteEntries = 0;
        m_blockSize = 0;
        return nullptr;
    }
    memcpy(m_block, &m_header, sizeof(m_header));
    return m_block;
}

void CCeXDib::Free()
{
    ReleaseDrawing();
    free(m_block);
    m_block = nullptr;
    m_blockSize = 0;
    m_header = ZvDibHeader{};
    m_rowBytes = 0;
    m_paletteEntries = 0;
}

BOOL CCeXDib::CopyFrom(const CCeXDib& other)
{
    if (&other == this) return TRUE;
    if (!other.m_block) {
        Free();
        return FALSE;
    }
    if (!Create(other.Width(), other.Height(), other.m_header.bitCount)) return FALSE;
    memcpy(m_block, other.m_block, m_blockSize);
    m_header = other.m_header;
    return TRUE;
}

void CCeXDib::SetPaletteEntry(BYTE index, BYTE red, BYTE green, BYTE blue)
{
    if (!m_block || m_paletteEntries == 0 || index >= m_paletteEntries) return;
    BYTE* entry = m_block + sizeof(ZvDibHeader) + (size_t)index * 4;
    entry[0] = blue;
    entry[1] = green;
    entry[2] = red;
    entry[3] = 0;
}

void CCeXDib::TintPalette(DWORD colour, int percent)
{
    if (!m_block) return;
    if (percent > 100) percent = 100;
    if (percent < 0) percent = 0;
    const int target[3] = {(int)((colour >> 16) & 0xFF), (int)((colour >> 8) & 0xFF), (int)(colour & 0xFF)};
    BYTE* entry = m_block + sizeof(ZvDibHeader);
    for (int i = 0; i < m_paletteEntries; ++i, entry += 4)
        for (int c = 0; c < 3; ++c) entry[c] = (BYTE)((entry[c] * (100 - percent) + target[c] * percent) / 100);
}

BYTE* CCeXDib::Bits() const { return m_block ? m_block + sizeof(ZvDibHeader) + (size_t)m_paletteEntries * 4 : nullptr; }
