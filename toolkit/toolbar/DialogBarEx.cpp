#include "toolkit/toolbar/DialogBarEx.h"

#include "toolkit/ToolkitIds.h"

IMPLEMENT_DYNAMIC(CDialogBarEx, CDialogBar)

LRESULT CDialogBarEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        if (CDialogBar::WindowProc(message, wParam, lParam) == -1) return -1;
        PostMessage(WM_DIALOGBAR_BIND);
        return 0;
    }
    case WM_DIALOGBAR_BIND:
        UpdateData(FALSE);
        m_bBound = TRUE;
        InitBar();
        return 1;
    default: break;
    }
    return CDialogBar::WindowProc(message, wParam, lParam);
}
