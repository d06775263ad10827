#include "toolkit/toolbar/MainViewLink.h"

#include "framework/WinApp.h"
#include "toolkit/ToolkitIds.h"

CWnd* FindMainView()
{
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->m_hWnd || !::IsWindow(main->m_hWnd)) return nullptr;
    HWND view = (HWND)main->SendMessage(WM_TOOLKIT_GET_MAIN_VIEW);
    return view && ::IsWindow(view) ? CWnd::FromHandle(view) : nullptr;
}
