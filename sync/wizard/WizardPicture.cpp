#include "sync/wizard/WizardPicture.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

namespace iPhoneSetupWizard {

namespace {

const int kPictureSide = 400;

}  // namespace

CWizardPicture::CWizardPicture()
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) m_gdiplusToken = token;
}

CWizardPicture::~CWizardPicture()
{
    // The image goes before GDI+ does.
    Release();
    if (m_gdiplusToken != 0) Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

void CWizardPicture::Release()
{
    delete m_image;
    m_image = nullptr;
    if (m_stream) m_stream->Release();
    m_stream = nullptr;
}

bool CWizardPicture::Load(HMODULE module, UINT id)
{
    Release();
    if (m_gdiplusToken == 0) return false;
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
    if (!found) return false;
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL resource = ::LoadResource(module, found);
    const void* bytes = resource ? ::LockResource(resource) : nullptr;
    if (!bytes || size == 0) return false;
    // The stream owns a movable copy (a byte longer than the resource) and
    // frees it when released.
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 1);
    if (!copy) return false;
    void* target = ::GlobalLock(copy);
    if (!target) {
        ::GlobalFree(copy);
        return false;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(copy);
    if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, &m_stream))) {
        ::GlobalFree(copy);
        m_stream = nullptr;
        return false;
    }
    // GDI+ may read the stream as it draws: it lives as long as the image.
    m_image = Gdiplus::Image::FromStream(m_stream);
    if (!m_image || m_image->GetLastStatus() != Gdiplus::Ok || m_image->GetWidth() == 0) {
        Release();
        return false;
    }
    return true;
}

UINT CWizardPicture::Width() const { return m_image ? m_image->GetWidth() : 0; }

UINT CWizardPicture::Height() const { return m_image ? m_image->GetHeight() : 0; }

void CWizardPicture::Draw(HDC dc, int x, int y) const
{
    if (!m_image || !dc) return;
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
    graphics.DrawImage(m_image, Gdiplus::Rect(x, y, kPictureSide, kPictureSide), 0, 0, kPictureSide, kPictureSide,
                       Gdiplus::UnitPixel);
}

}  // namespace iPhoneSetupWizard
