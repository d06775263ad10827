#include "mainwindow/icons/IconListButton.h"

#include "app/frame/MainFrm.h"
#include "app/frame/MainViewBase.h"
#include "app/res/RecordListRes.h"
#include "framework/ResourceModuleWin.h"
#include "framework/WndMessages.h"
#include "mainwindow/icons/IconList.h"

BEGIN_MESSAGE_MAP(CIconListButton, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
END_MESSAGE_MAP()

CIconListButton::CIconListButton()
{
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_RECORD_ATTACHMENT));
}

void CIconListButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct) return;
    const bool pressed = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    if (lpDrawItemStruct->CtlID == kAttachmentButtonId) {
        if (pressed) DrawProgramStripCell(lpDrawItemStruct->hDC, lpDrawItemStruct->rcItem, 1);
        return;
    }
    if (std::shared_ptr<const CIconList> strip = GetProgramStrip(m_nStrip))
        strip->DrawCentered(lpDrawItemStruct->hDC, pressed ? m_nPressedCell : m_nNormalCell, lpDrawItemStruct->rcItem);
}

// The pane around the button draws the background itself.
BOOL CIconListButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CIconListButton::ActivateMainView()
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame || !frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) return;
    if (CMainViewBase* view = static_cast<CMainFrame*>(frame)->GetMainView()) frame->SetActiveView(view);
}

void CIconListButton::OnLButtonDown(UINT, CPoint)
{
    ActivateMainView();
    Default();
}

void CIconListButton::OnLButtonUp(UINT, CPoint)
{
    ActivateMainView();
    Default();
}

void CIconListButton::OnLButtonDblClk(UINT, CPoint)
{
    ActivateMainView();
    Default();
}

void CIconListButton::OnRButtonDown(UINT, CPoint)
{
    ActivateMainView();
    Default();
}

void CIconListButton::OnRButtonUp(UINT, CPoint)
{
    ActivateMainView();
    Default();
}

void CIconListButton::OnRButtonDblClk(UINT, CPoint)
{
    ActivateMainView();
    Default();
}
