// BCMenu: measuring and painting of the owner-drawn items, in the XP look
// (light image column, pale framed highlight, lifted images) or, on a
// palette display, the classic look (3-D image buttons, solid highlight).
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "toolkit/menus/BCMenu.h"

namespace {

using namespace menulook;

HWND ScreenWindow()
{
    CWnd* main = AfxGetMainWnd();
    return main && main->m_hWnd ? main->m_hWnd : ::GetDesktopWindow();
}

void Fill(HDC hdc, const RECT& rc, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(hdc, &rc, brush);
    ::DeleteObject(brush);
}

void Frame(HDC hdc, const RECT& rc, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FrameRect(hdc, &rc, brush);
    ::DeleteObject(brush);
}

void DrawShared(HDC hdc, int index, int x, int y)
{
    auto shared = BCMenu::Shared();
    if (shared->images.GetSafeHandle()) ImageList_Draw(shared->images, index, hdc, x, y, ILD_TRANSPARENT);
}

// Caption left and accelerator right in the text rectangle, "&" processed.
void DrawCaption(HDC hdc, const std::wstring& text, RECT rc, COLORREF colour)
{
    const SplitText split = SplitMenuText(text);
    if (split.hasTab) rc.right -= kAcceleratorInset;
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(hdc, colour);
    ::DrawTextW(hdc, split.caption.c_str(), (int)split.caption.size(), &rc, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (split.hasTab)
        ::DrawTextW(hdc, split.accelerator.c_str(), (int)split.accelerator.size(), &rc,
                    DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    ::SetTextColor(hdc, oldColour);
    ::SetBkMode(hdc, oldMode);
}

void Draw3d(HDC hdc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight)
{
    CDC dc;
    dc.Attach(hdc);
    dc.Draw3dRect(&rc, topLeft, bottomRight);
    dc.Detach();
}

}  // namespace

void PaintRadioBullet(CDC* pDC, int x, int y, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldBrush = ::SelectObject(*pDC, brush);
    HGDIOBJ oldPen = ::SelectObject(*pDC, pen);
    ::Ellipse(*pDC, x, y, x + 6, y + 6);
    ::SelectObject(*pDC, oldPen);
    ::SelectObject(*pDC, oldBrush);
    ::DeleteObject(pen);
    ::DeleteObject(brush);
}

void PaintCheckTick(CDC* pDC, int x, int y, COLORREF colour, BOOL narrow)
{
    static const int kStart[7] = {2, 3, 4, 3, 2, 1, 0};
    static const int kEnd[7] = {5, 6, 7, 6, 5, 4, 3};
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(*pDC, pen);
    const int n = narrow ? 1 : 0;
    for (int k = 0; k < 7; ++k) {
        ::MoveToEx(*pDC, x + k, y + kStart[k], nullptr);
        ::LineTo(*pDC, x + k, y + kEnd[k] - n);
    }
    ::SelectObject(*pDC, old);
    ::DeleteObject(pen);
}

void BCMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    auto* record = reinterpret_cast<BCMenuData*>(lpMIS->itemData);
    if (!record) return;
    if (record->flags & MF_SEPARATOR) {
        lpMIS->itemWidth = 0;
        lpMIS->itemHeight = kSeparatorHeight;
        return;
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = ::CreateFontIndirectA(&metrics.lfMenuFont);
    HWND hWnd = ScreenWindow();
    HDC hdc = ::GetDC(hWnd);
    HGDIOBJ old = (font && HasNewShell()) ? ::SelectObject(hdc, font) : nullptr;
    SIZE size{};
    ::GetTextExtentPoint32W(hdc, record->text.c_str(), (int)record->text.size(), &size);
    if (old) ::SelectObject(hdc, old);
    ::ReleaseDC(hWnd, hdc);
    if (font) ::DeleteObject(font);
    lpMIS->itemWidth = (UINT)ItemWidth(size.cx);
    lpMIS->itemHeight = (UINT)ItemHeight(::GetSystemMetrics(SM_CYMENU));
}

void BCMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    // An item someone else made owner-drawn carries no record: not ours.
    if (!lpDIS || !lpDIS->itemData) return;
    if (::GetDeviceCaps(lpDIS->hDC, RASTERCAPS) & RC_PALETTE)
        DrawItemClassic(lpDIS);
    else
        DrawItemXP(lpDIS);
}

BOOL BCMenu::IsRadioChecked(UINT nID) const
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_CHECKMARKS;
    if (!m_hMenu || !::GetMenuItemInfoA(m_hMenu, nID, FALSE, &info)) return FALSE;
    return info.hbmpChecked != nullptr;
}

void BCMenu::PaintCheckBoxXP(CDC* pDC, const RECT& box, BOOL radio, COLORREF highlight, BOOL highlighted)
{
    Fill(*pDC, box, MixWithWhite(highlight, highlighted ? 0.55 : 0.85));
    Frame(*pDC, box, highlight);
    int dx = ((box.right - box.left) >> 1) - 3;
    int dy = ((box.bottom - box.top) >> 1) - 3;
    if (dx < 0) dx = 0;
    if (dy < 0) dy = 0;
    const COLORREF mark = ::GetSysColor(COLOR_MENUTEXT);
    if (radio)
        PaintRadioBullet(pDC, box.left + dx, box.top + dy, mark);
    else
        PaintCheckTick(pDC, box.left + dx, box.top + dy, mark, TRUE);
}

void BCMenu::PaintCheckBoxClassic(CDC* pDC, const RECT& box, BOOL highlighted, BOOL radio)
{
    const COLORREF background = IsXPThemeActive() ? ::GetSysColor(COLOR_BTNFACE) : ::GetSysColor(COLOR_MENU);
    Fill(*pDC, box, highlighted ? background : MixWithWhite(background, 0.6));
    if (HasNewShell()) {
        RECT edge = box;
        ::DrawEdge(*pDC, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    const COLORREF mark = ::GetSysColor(COLOR_MENUTEXT);
    if (radio)
        PaintRadioBullet(pDC, box.left + 5, box.top + 4, mark);
    else
        PaintCheckTick(pDC, box.left + 4, box.top + 4, mark, FALSE);
}

void BCMenu::DrawItemXP(LPDRAWITEMSTRUCT lpDIS)
{
    const auto* record = reinterpret_cast<const BCMenuData*>(lpDIS->itemData);
    HDC hdc = lpDIS->hDC;
    CDC dc;
    dc.Attach(hdc);
    const RECT r = lpDIS->rcItem;
    const int h = r.bottom - r.top;
    const bool xp = IsXPThemeActive() != FALSE;
    const COLORREF menuBack = MixWithBlack(::GetSysColor(COLOR_WINDOW), 0.02);
    const COLORREF column = xp ? ::GetSysColor(COLOR_BTNFACE) : MixWithWhite(::GetSysColor(COLOR_BTNFACE), 0.25);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightFill = MixWithWhite(highlight, xp ? 0.7 : 0.85);
    const RECT columnRect{r.left, r.top, r.left + kImageColumn, r.bottom};

    if (record->flags & MF_SEPARATOR) {
        Fill(hdc, r, menuBack);
        Fill(hdc, columnRect, column);
        RECT line{r.left + kXPTextOffset - 1, r.top + (h >> 1), r.right, r.bottom};
        ::DrawEdge(hdc, &line, EDGE_ETCHED, BF_TOP);
        dc.Detach();
        return;
    }
    const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    const bool disabled = (lpDIS->itemState & ODS_GRAYED) != 0;
    const bool checked = (lpDIS->itemState & ODS_CHECKED) != 0;
    if (selected) {
        Fill(hdc, r, highlightFill);
        Frame(hdc, r, highlight);
    } else {
        Fill(hdc, r, menuBack);
        Fill(hdc, columnRect, column);
    }
    const int x = r.left + ImageOffsetX();
    const int y = r.top + ImageOffsetY(h);
    const RECT imageBox{r.left + 1, r.top + 1, r.left + 21, r.bottom - 1};
    const int image = record->sharedImageIndex;
    if (image >= 0) {
        const bool variants = HasShadedVariants(image) != FALSE;
        if (disabled) {
            DrawShared(hdc, variants ? image + 3 : image, x, y);
        } else if (checked) {
            Fill(hdc, imageBox, MixWithWhite(highlight, selected ? 0.55 : 0.85));
            Frame(hdc, imageBox, highlight);
            DrawShared(hdc, image, x - 1, y - 1);
        } else if (selected) {
            Fill(hdc, imageBox, highlightFill);
            if (variants) DrawShared(hdc, image + 2, x + 1, y + 1);
            DrawShared(hdc, image, x - 1, y - 1);
        } else {
            Fill(hdc, imageBox, column);
            DrawShared(hdc, variants ? image + 1 : image, x, y);
        }
    } else if (checked) {
        PaintCheckBoxXP(&dc, imageBox, IsRadioChecked(lpDIS->itemID), highlight, selected);
    }
    if (!record->text.empty()) {
        COLORREF colour = ::GetSysColor(COLOR_MENUTEXT);
        if (disabled) {
            colour = ::GetSysColor(COLOR_GRAYTEXT);
            if (!xp && !selected) colour = MixWithWhite(colour, 0.4);
        }
        DrawCaption(hdc, record->text, RECT{r.left + kXPTextOffset, r.top - 1, r.right, r.bottom - 1}, colour);
    }
    dc.Detach();
}

void BCMenu::DrawItemClassic(LPDRAWITEMSTRUCT lpDIS)
{
    const auto* record = reinterpret_cast<const BCMenuData*>(lpDIS->itemData);
    HDC hdc = lpDIS->hDC;
    CDC dc;
    dc.Attach(hdc);
    const RECT r = lpDIS->rcItem;
    const int h = r.bottom - r.top;
    const COLORREF back = IsXPThemeActive() ? ::GetSysColor(COLOR_BTNFACE) : ::GetSysColor(COLOR_MENU);
    if (record->flags & MF_SEPARATOR) {
        Fill(hdc, r, back);
        RECT line{r.left, r.top + (h >> 1), r.right, r.bottom};
        ::DrawEdge(hdc, &line, EDGE_ETCHED, BF_TOP);
        dc.Detach();
        return;
    }
    const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    const bool disabled = (lpDIS->itemState & ODS_GRAYED) != 0;
    const bool checked = (lpDIS->itemState & ODS_CHECKED) != 0;
    const int image = record->sharedImageIndex;
    COLORREF textColour = ::GetSysColor(COLOR_MENUTEXT);
    if (selected) {
        RECT fill = r;
        if (image >= 0 || checked) fill.left = r.left + kImageWidth + 5;
        Fill(hdc, fill, ::GetSysColor(COLOR_HIGHLIGHT));
        textColour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        Fill(hdc, r, back);
    }
    const int dy = ClassicOffsetY(h);
    const RECT inner{r.left + 1, r.top + dy + 1, r.left + 19, r.top + dy + 18};
    const RECT button{r.left, r.top + dy, r.left + 20, r.top + dy + 19};
    const int ix = r.left + 2, iy = r.top + dy + 2;
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if (image >= 0) {
        if (disabled) {
            CBitmap bitmap;
            auto shared = Shared();
            if (ExtractImageBitmap(&dc, &shared->images, image, bitmap)) {
                if (shared->highColour)
                    BlitGreyImage(&dc, ix, iy, kImageWidth, kImageHeight, bitmap, back);
                else
                    EmbossImage(&dc, ix, iy, kImageWidth, kImageHeight, bitmap, back);
            }
        } else {
            Fill(hdc, inner, (!selected && checked) ? MixWithWhite(back, 0.6) : back);
            if (HasNewShell() && (selected || checked)) {
                if (checked)
                    Draw3d(hdc, button, shadow, light);
                else
                    Draw3d(hdc, button, light, shadow);
            }
            DrawShared(hdc, image, ix, iy);
        }
    } else if (checked) {
        PaintCheckBoxClassic(&dc, RECT{r.left + 1, r.top + dy + 2, r.left + 17, r.top + dy + 17}, selected,
                             IsRadioChecked(lpDIS->itemID));
    }
    if (!record->text.empty()) {
        RECT text{r.left + kClassicTextOffset, r.top - 1, r.right, r.bottom - 1};
        if (!disabled) {
            DrawCaption(hdc, record->text, text, textColour);
        } else if (selected) {
            DrawCaption(hdc, record->text, text, back);
        } else {
            RECT moved = text;
            ::OffsetRect(&moved, 1, 1);
            DrawCaption(hdc, record->text, moved, light);
            DrawCaption(hdc, record->text, text, ::GetSysColor(COLOR_GRAYTEXT));
        }
    }
    dc.Detach();
}

void BCMenu::EmbossImage(CDC* pDC, int x, int y, int cx, int cy, CBitmap& bitmap, COLORREF background)
{
    HDC target = *pDC;
    HDC bitmapDC = ::CreateCompatibleDC(target);
    HDC maskDC = ::CreateCompatibleDC(target);
    HBITMAP mask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    HGDIOBJ oldBitmap = ::SelectObject(bitmapDC, bitmap);
    HGDIOBJ oldMask = ::SelectObject(maskDC, mask);
    ::PatBlt(maskDC, 0, 0, cx, cy, WHITENESS);
    ::SetBkColor(bitmapDC, ::GetSysColor(COLOR_BTNFACE));
    ::BitBlt(maskDC, 0, 0, cx, cy, bitmapDC, 0, 0, SRCCOPY);
    ::SetBkColor(bitmapDC, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::BitBlt(maskDC, 0, 0, cx, cy, bitmapDC, 0, 0, SRCPAINT);
    Fill(bitmapDC, RECT{0, 0, cx, cy}, background);
    ::SetBkColor(bitmapDC, RGB(0, 0, 0));
    ::SetTextColor(bitmapDC, RGB(255, 255, 255));
    const DWORD kBrushWhereBlack = 0x00E20746;
    HBRUSH light = ::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ oldBrush = ::SelectObject(bitmapDC, light);
    ::BitBlt(bitmapDC, 0, 0, cx, cy, maskDC, 0, 0, kBrushWhereBlack);
    ::BitBlt(target, x + 1, y + 1, cx, cy, bitmapDC, 0, 0, SRCCOPY);
    ::BitBlt(bitmapDC, 1, 1, cx, cy, maskDC, 0, 0, kBrushWhereBlack);
    HBRUSH dark = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    ::SelectObject(bitmapDC, dark);
    ::BitBlt(bitmapDC, 0, 0, cx, cy, maskDC, 0, 0, kBrushWhereBlack);
    ::BitBlt(target, x, y, cx, cy, bitmapDC, 0, 0, SRCCOPY);
    ::SelectObject(bitmapDC, oldBrush);
    ::DeleteObject(light);
    ::DeleteObject(dark);
    ::SelectObject(maskDC, oldMask);
    ::SelectObject(bitmapDC, oldBitmap);
    ::DeleteObject(mask);
    ::DeleteDC(maskDC);
    ::DeleteDC(bitmapDC);
}

void BCMenu::BlitGreyImage(CDC* pDC, int x, int y, int cx, int cy, CBitmap& bitmap, COLORREF background)
{
    GreyRampBitmap(bitmap, background);
    HDC bitmapDC = ::CreateCompatibleDC(*pDC);
    HGDIOBJ old = ::SelectObject(bitmapDC, bitmap);
    ::BitBlt(*pDC, x, y, cx, cy, bitmapDC, 0, 0, SRCCOPY);
    ::SelectObject(bitmapDC, old);
    ::DeleteDC(bitmapDC);
}
