// BCMenu: the menu images shared by all menus (each with its resting,
// shadow and disabled variants), their loading, and the look probes.
#include "framework/FrameworkRes.h"
#include "framework/ResourceModuleWin.h"
#include "framework/ToolBar.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "toolkit/menus/BCMenu.h"

namespace {

const int kW = menulook::kImageWidth;
const int kH = menulook::kImageHeight;

HWND ScreenWindow()
{
    CWnd* main = AfxGetMainWnd();
    return main && main->m_hWnd ? main->m_hWnd : ::GetDesktopWindow();
}

// The colour a solid brush of this colour leaves on a scratch bitmap of the
// same size and depth: what a background pixel reads back as.
COLORREF BackgroundAsDrawn(HDC hdcBitmap, HBITMAP bitmap, COLORREF colour)
{
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof(info), &info);
    HBITMAP scratch = ::CreateCompatibleBitmap(hdcBitmap, info.bmWidth, info.bmHeight);
    HDC hdc = ::CreateCompatibleDC(hdcBitmap);
    HGDIOBJ old = ::SelectObject(hdc, scratch);
    HBRUSH brush = ::CreateSolidBrush(colour);
    RECT rc{0, 0, info.bmWidth, info.bmHeight};
    ::FillRect(hdc, &rc, brush);
    const COLORREF drawn = ::GetPixel(hdc, 1, 1);
    ::DeleteObject(brush);
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    ::DeleteObject(scratch);
    return drawn;
}

// Applies change to every pixel of the bitmap; change answers the new colour
// or returns false to leave the pixel.
template <typename Change> void TransformPixels(HBITMAP bitmap, COLORREF backgroundColour, Change change)
{
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof(info), &info)) return;
    HDC screen = ::GetDC(nullptr);
    HDC hdc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(hdc, bitmap);
    const COLORREF background = BackgroundAsDrawn(hdc, bitmap, backgroundColour);
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            COLORREF pixel = ::GetPixel(hdc, x, y);
            if (change(pixel, pixel == background)) ::SetPixel(hdc, x, y, pixel);
        }
    }
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    ::ReleaseDC(nullptr, screen);
}

// The three variants of one image of a list, as bitmaps of the image size.
bool MakeVariants(CImageList* pList, int nImage, CBitmap variants[3])
{
    HWND hWnd = ScreenWindow();
    CDC dc;
    dc.Attach(::GetDC(hWnd));
    bool ok = true;
    for (int k = 0; k < 3; ++k) ok = BCMenu::ExtractImageBitmap(&dc, pList, nImage, variants[k]) && ok;
    ::ReleaseDC(hWnd, dc.Detach());
    if (!ok) return false;
    BCMenu::FadeBitmap(variants[0]);
    BCMenu::SilhouetteBitmap(variants[1]);
    BCMenu::GreyRampBitmap(variants[2], 0);
    return true;
}

}  // namespace

// ---- Probes ----------------------------------------------------------------

int GetWindowsVersionKind()
{
    const DWORD version = ::GetVersion();
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool haveEx = ::GetVersionExA(&info) != FALSE;
#pragma GCC diagnostic pop
    return menulook::WindowsVersionKind((version & 0x80000000u) != 0, (int)(version & 0xFF), haveEx,
                                        (int)info.dwMajorVersion, (int)info.dwMinorVersion);
}

BOOL HasNewShell() { return menulook::HasNewShell(BCMenu::Shared()->windowsKind); }

BOOL IsClassicThemeSelected()
{
    auto shared = BCMenu::Shared();
    if (shared->classicProbed) return shared->classicSelected;
    shared->classicProbed = true;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return shared->classicSelected = false;
    char value[261] = {};
    DWORD size = 260;
    DWORD type = 0;
    const bool read = ::RegQueryValueExA(key, nullptr, nullptr, &type, (BYTE*)value, &size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    value[260] = '\0';
    return shared->classicSelected = read && menulook::IsClassicThemeValue(value);
}

BOOL IsXPThemeActive()
{
    const int kind = BCMenu::Shared()->windowsKind;
    return kind == 7 && !IsClassicThemeSelected();
}

int GetBitmapColourCount(const BITMAPINFOHEADER& header)
{
    return menulook::BitmapColourCount(header.biBitCount, header.biClrUsed);
}

HBITMAP LoadMappedBitmap(UINT nBitmapId)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(nBitmapId), RT_BITMAP);
    if (!found) {
        module = AfxGetInstanceHandle();
        found = ::FindResourceA(module, MAKEINTRESOURCEA(nBitmapId), RT_BITMAP);
    }
    if (!found || ::SizeofResource(module, found) < sizeof(BITMAPINFOHEADER)) return nullptr;
    HGLOBAL hRes = ::LoadResource(module, found);
    const auto* header = hRes ? static_cast<const BITMAPINFOHEADER*>(::LockResource(hRes)) : nullptr;
    if (!header || GetBitmapColourCount(*header) != 16) return nullptr;
    return AfxLoadSysColorBitmap(module, found, FALSE);
}

// ---- Shared images -----------------------------------------------------------

int BCMenu::FindSharedImage(UINT nID)
{
    auto shared = Shared();
    for (size_t i = 0; i < shared->imageIds.size(); ++i)
        if (shared->imageIds[i] == (int)nID) return (int)i;
    return -1;
}

BOOL BCMenu::HasShadedVariants(int index)
{
    auto shared = Shared();
    const auto& ids = shared->imageIds;
    if (index < 0 || index + 2 >= (int)ids.size()) return FALSE;
    return ids[index + 1] == ids[index] && ids[index + 2] == ids[index];
}

BOOL BCMenu::ExtractImageBitmap(CDC* pDC, CImageList* pList, int nImage, CBitmap& bitmap)
{
    bitmap.DeleteObject();
    if (!bitmap.CreateCompatibleBitmap(*pDC, kW, kH)) return FALSE;
    HDC hdc = ::CreateCompatibleDC(*pDC);
    HGDIOBJ old = ::SelectObject(hdc, bitmap);
    HICON icon = pList ? pList->ExtractIcon(nImage) : nullptr;
    ::DrawIconEx(hdc, 0, 0, icon, kW, kH, 0, ::GetSysColorBrush(COLOR_BTNFACE), DI_NORMAL);
    if (icon) ::DestroyIcon(icon);
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    return TRUE;
}

int BCMenu::AddToSharedImages(CImageList* pList, int nImage, UINT nID)
{
    auto shared = Shared();
    if (!shared->images.GetSafeHandle()) shared->images.Create(kW, kH, ILC_COLORDDB | ILC_MASK, 1, 1);
    HICON icon = pList ? pList->ExtractIcon(nImage) : nullptr;
    if (!icon) return -1;
    CBitmap variants[3];
    const bool haveVariants = MakeVariants(pList, nImage, variants);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    int result = -1;
    const int loc = FindSharedImage(nID);
    if (loc < 0) {
        result = shared->images.GetImageCount();
        shared->images.Add(icon);
        shared->imageIds.push_back((int)nID);
        for (CBitmap& variant : variants) {
            shared->images.Add(variant, face);
            shared->imageIds.push_back((int)nID);
        }
    } else {
        shared->images.Replace(loc, icon);
        result = loc;
        if (haveVariants && HasShadedVariants(loc) && loc + 3 < shared->images.GetImageCount()) {
            CImageList temp;
            temp.Create(kW, kH, ILC_COLORDDB | ILC_MASK, 3, 1);
            for (CBitmap& variant : variants) temp.Add(variant, face);
            for (int k = 0; k < 3; ++k) {
                HICON v = temp.ExtractIcon(k);
                if (v) {
                    shared->images.Replace(loc + 1 + k, v);
                    ::DestroyIcon(v);
                }
            }
        }
    }
    ::DestroyIcon(icon);
    return result;
}

BOOL BCMenu::AddResourceBitmap(CImageList& list, UINT nBitmapId)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    bool added = false;
    if (HBITMAP mapped = LoadMappedBitmap(nBitmapId)) {
        added = list.Add(mapped, face) >= 0;
        ::DeleteObject(mapped);
    } else {
        CBitmap plain;
        if (plain.LoadBitmap(nBitmapId)) {
            Shared()->highColour = true;
            ReplaceGreyBackground(plain);
            added = list.Add(plain, face) >= 0;
        }
    }
    if (!added) return FALSE;
    CBitmap variants[3];
    if (MakeVariants(&list, 0, variants))
        for (CBitmap& variant : variants) list.Add(variant, face);
    return TRUE;
}

BOOL BCMenu::FindToolbarImageIndex(UINT nID, UINT nToolBarId, int& nImage)
{
    CToolBar bar;
    CWnd* parent = CWnd::FromHandle(ScreenWindow());
    BOOL found = FALSE;
    if (bar.Create(parent, WS_CHILD, AFX_IDW_TOOLBAR) && bar.LoadToolBar(nToolBarId)) {
        const int index = bar.CommandToIndex(nID);
        if (index >= 0) {
            UINT id = 0, style = 0;
            int image = 0;
            bar.GetButtonInfo(index, id, style, image);
            if (image > 0) nImage = image;
            found = TRUE;
        }
    }
    if (bar.m_hWnd) bar.DestroyWindow();
    return found;
}

BOOL BCMenu::LoadToolbarImages(UINT nToolBarId)
{
    CToolBar bar;
    CWnd* parent = CWnd::FromHandle(ScreenWindow());
    BOOL result = FALSE;
    if (bar.Create(parent, WS_CHILD, AFX_IDW_TOOLBAR) && bar.LoadToolBar(nToolBarId)) {
        CImageList list;
        list.Create(kW, kH, ILC_COLORDDB | ILC_MASK, 1, 1);
        if (AddResourceBitmap(list, nToolBarId)) {
            result = TRUE;
            for (int i = 0; i < bar.GetCount(); ++i) {
                UINT id = 0, style = 0;
                int image = 0;
                bar.GetButtonInfo(i, id, style, image);
                if (id == 0) continue;
                int pos = -1;
                if (!FindCommandItem(id, pos)) continue;
                ModifyOwnerDrawnItem((const wchar_t*)nullptr, id, &list, image > 0 ? image : i);
            }
        }
    }
    if (bar.m_hWnd) bar.DestroyWindow();
    return result;
}

// ---- Transforms ------------------------------------------------------------------

void BCMenu::FadeBitmap(CBitmap& bitmap)
{
    TransformPixels(bitmap, ::GetSysColor(COLOR_BTNFACE), [](COLORREF& pixel, bool background) {
        if (background) return false;
        pixel = MixWithWhite(pixel, 0.3);
        return true;
    });
}

void BCMenu::ReplaceGreyBackground(CBitmap& bitmap)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    TransformPixels(bitmap, RGB(192, 192, 192), [face](COLORREF& pixel, bool background) {
        if (!background) return false;
        pixel = face;
        return true;
    });
}

void BCMenu::SilhouetteBitmap(CBitmap& bitmap)
{
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (!IsXPThemeActive()) shadow = MixWithWhite(shadow, 0.49);
    TransformPixels(bitmap, ::GetSysColor(COLOR_BTNFACE), [shadow](COLORREF& pixel, bool background) {
        if (background) return false;
        pixel = shadow;
        return true;
    });
}

void BCMenu::GreyRampBitmap(CBitmap& bitmap, COLORREF background)
{
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    TransformPixels(bitmap, ::GetSysColor(COLOR_BTNFACE), [shadow, background](COLORREF& pixel, bool isBackground) {
        if (isBackground) {
            if (background == 0) return false;
            pixel = background;
            return true;
        }
        const int b = (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3;
        pixel = MixWithWhite(shadow, b / 255.0);
        return true;
    });
}
