#pragma once
// CWizardPicture: a PNG resource of the program shown on a setup wizard page.
// It starts GDI+ with the page and shuts it down with it, so a page works
// whoever else uses the library.
#include <windows.h>

#include <cstdint>

struct IStream;
namespace Gdiplus {
class Image;
}

namespace iPhoneSetupWizard {

class CWizardPicture {
public:
    CWizardPicture();
    ~CWizardPicture();
    CWizardPicture(const CWizardPicture&) = delete;
    CWizardPicture& operator=(const CWizardPicture&) = delete;

    // Loads the resource of type "PNG" from the module; false when it is
    // missing or not an image (the page then shows none).
    bool Load(HMODULE module, UINT id);
    bool IsLoaded() const { return m_image != nullptr; }
    UINT Width() const;
    UINT Height() const;
    // The image's top-left 400 x 400 pixels at (x, y) of the device context.
    void Draw(HDC dc, int x, int y) const;

private:
    void Release();

    ULONG_PTR m_gdiplusToken = 0;
    IStream* m_stream = nullptr;
    Gdiplus::Image* m_image = nullptr;
};

}  // namespace iPhoneSetupWizard
