#pragma once
// CBitmapButton: an owner-drawn button that shows one of up to four
// bitmaps of the resource module: normal, pressed, focused, disabled. A
// missing pressed, focused or disabled bitmap falls back to the normal one.

#include "framework/Controls.h"
#include "framework/Gdi.h"

class CBitmapButton : public CButton {
    DECLARE_DYNAMIC(CBitmapButton)
public:
    // ---- Overridables ---------------------------------------------------
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // ---- Operations -----------------------------------------------------
    // 0 for an id means "none". FALSE when the normal bitmap is missing.
    BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0, UINT nIDBitmapResourceFocus = 0,
                     UINT nIDBitmapResourceDisabled = 0);
    // Makes the button as large as its normal bitmap.
    void SizeToContent() const;

    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
