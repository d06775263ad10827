#include "framework/ToolBar.h"

#include <commctrl.h>

#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {
const int kSeparatorWidth = 8;

HGLOBAL LoadToolBarResource(UINT nID, DWORD* size)
{
    for (HINSTANCE module : {AfxGetResourceHandle(), AfxGetInstanceHandle()}) {
        HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(nID), RT_TOOLBAR);
        if (!found) continue;
        *size = ::SizeofResource(module, found);
        return ::LoadResource(module, found);
    }
    return nullptr;
}
}  // namespace

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    ::InitCommonControls();
    const DWORD windowStyle = (dwStyle & (WS_CHILD | WS_VISIBLE)) | CCS_NOPARENTALIGN | CCS_NORESIZE | TBSTYLE_FLAT;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, "", windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    if (!m_hWnd) return FALSE;
    DWORD size = 0;
    HGLOBAL hRes = LoadToolBarResource(nIDResource, &size);
    const WORD* words = hRes ? static_cast<const WORD*>(::LockResource(hRes)) : nullptr;
    if (!words || size < 8) return FALSE;
    const WORD count = words[3];
    if (words[0] != 1 || size < 8u + 2u * count) return FALSE;
    while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons(count);
    int image = 0;
    for (WORD i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[i];
        b.idCommand = words[4 + i];
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = b.idCommand ? BTNS_BUTTON : BTNS_SEP;
        b.iBitmap = b.idCommand ? image++ : kSeparatorWidth;
    }
    return count == 0 || (BOOL)SendMessage(TB_ADDBUTTONSA, count, (LPARAM)buttons.data());
}

int CToolBar::GetCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }

int CToolBar::CommandToIndex(UINT nIDFind) const { return (int)SendMessage(TB_COMMANDTOINDEX, nIDFind); }

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON b{};
    if (!SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&b)) {
        nID = 0;
        nStyle = 0;
        iImage = -1;
        return;
    }
    nID = (UINT)b.idCommand;
    nStyle = b.fsStyle;
    iImage = b.iBitmap;
}
