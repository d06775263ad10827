#pragma once
// CToolBar: a tool bar control whose buttons come from a tool-bar resource
// (type 241: version, button width and height, count, then one command id
// per button, 0 for a separator). Buttons take consecutive image indexes;
// a separator's image index is its width, 8, as the system tool bar keeps
// it. The program only reads the buttons back (menu images), so the bar
// draws no bitmap of its own.
#include <vector>

#include "framework/ControlBar.h"

#define RT_TOOLBAR MAKEINTRESOURCEA(241)

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    // ---- Overridables ---------------------------------------------------
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

    // ---- Operations -----------------------------------------------------
    // The bar window (a hidden child unless dwStyle has WS_VISIBLE).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = 0xE800);
    // From the resource module, then the program. FALSE when the resource
    // is missing or malformed.
    BOOL LoadToolBar(UINT nIDResource);
    int GetCount() const;
    // The index of the button with this command, or -1.
    int CommandToIndex(UINT nIDFind) const;
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
};
