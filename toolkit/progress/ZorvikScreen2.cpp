#include "toolkit/progress/ZorvikScreen2.h"

#include "toolkit/ToolkitIds.h"

IMPLEMENT_DYNAMIC(CZorvikScreen2, CDialog)

BEGIN_MESSAGE_MAP(CZorvikScreen2, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CZorvikScreen2::CZorvikScreen2() : CDialog(IDD_STARTUP_SCREEN, nullptr) {}

BOOL CZorvikScreen2::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetTimer(ZV_TIMER_STARTUP_SCREEN, 0);
    return TRUE;
}

void CZorvikScreen2::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != ZV_TIMER_STARTUP_SCREEN) return;
    KillTimer(ZV_TIMER_STARTUP_SCREEN);
    EndDialog(0);
}
