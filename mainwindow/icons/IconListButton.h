#pragma once
// CIconListButton: a small owner-drawn button painted from a cell of one of
// the program-wide strips, the normal cell or, while pressed, the pressed
// one. The attachment copy button shows only its pressed picture. A click
// makes the main view the frame's active view before the button handles it.
// Windows only.
#include <windows.h>

#include "framework/Controls.h"
#include "framework/MessageMap.h"

class CIconListButton : public CButton {
public:
    // The details pane's attachment copy button, drawn only while pressed.
    static constexpr UINT kAttachmentButtonId = 61451;

    CIconListButton();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    int GetStripIndex() const { return m_nStrip; }
    int GetNormalCell() const { return m_nNormalCell; }
    int GetPressedCell() const { return m_nPressedCell; }

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void ActivateMainView();

    int m_nStrip = 0;
    int m_nNormalCell = 0;
    int m_nPressedCell = 1;
    HICON m_hIcon = nullptr;

    DECLARE_MESSAGE_MAP()
};
