#include <windows.h>

#include "framework/DC.h"
#include "toolkit/buttons/CeXDib.h"

void CCeXDib::ReleaseDrawing()
{
    if (m_memDC) ::DeleteDC((HDC)m_memDC);
    if (m_section) ::DeleteObject((HBITMAP)m_section);
    m_memDC = nullptr;
    m_section = nullptr;
    m_sectionBits = nullptr;
}

void CCeXDib::Draw(CDC* pDC, int x, int y)
{
    if (!m_block || !pDC) return;
    if (!m_section) {
        void* bits = nullptr;
        HBITMAP section =
            ::CreateDIBSection(*pDC, reinterpret_cast<const BITMAPINFO*>(m_block), DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!section) return;
        if (!bits) {
            ::DeleteObject(section);
            return;
        }
        m_section = section;
        m_sectionBits = bits;
    }
    memcpy(m_sectionBits, Bits(), m_header.sizeImage);
    if (!m_memDC) m_memDC = ::CreateCompatibleDC(*pDC);
    if (!m_memDC) return;
    HGDIOBJ old = ::SelectObject((HDC)m_memDC, (HBITMAP)m_section);
    ::BitBlt(*pDC, x, y, Width(), Height(), (HDC)m_memDC, 0, 0, SRCCOPY);
    ::SelectObject((HDC)m_memDC, old);
}
