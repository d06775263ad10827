#pragma once
// Map entries for window messages: ON_WM_xxx() names the handler OnXxx of
// the class whose map it is in, with the argument types of the CWnd default
// handler of the same name. Included by Wnd.h.

#include "framework/DC.h"
#include "framework/Menu.h"

namespace ZvMsg {
template <auto F> BOOL Create(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)(reinterpret_cast<LPCREATESTRUCTA>(c.lParam));
    return TRUE;
}
template <auto F> BOOL Void(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)();
    c.result = 0;
    return TRUE;
}
template <auto F> BOOL Size(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT)c.wParam, (short)LOWORD(c.lParam), (short)HIWORD(c.lParam));
    return TRUE;
}
template <auto F> BOOL Move(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((short)LOWORD(c.lParam), (short)HIWORD(c.lParam));
    return TRUE;
}
template <auto F> BOOL EraseBkgnd(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)(CDC::FromHandle((HDC)c.wParam));
    return TRUE;
}
template <auto F> BOOL Timer(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT_PTR)c.wParam);
    return TRUE;
}
template <auto F> BOOL MinMax(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(reinterpret_cast<MINMAXINFO*>(c.lParam));
    return TRUE;
}
template <auto F> BOOL CopyData(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)(CWnd::FromHandle((HWND)c.wParam), reinterpret_cast<COPYDATASTRUCT*>(c.lParam));
    return TRUE;
}
template <auto F> BOOL MenuChar(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam), CMenu::FromHandle((HMENU)c.lParam));
    return TRUE;
}
template <auto F> BOOL SysCommand(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT)c.wParam, c.lParam);
    return TRUE;
}
template <auto F> BOOL MenuSelect(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam), (HMENU)c.lParam);
    return TRUE;
}
template <auto F> BOOL InitMenuPopup(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(CMenu::FromHandle((HMENU)c.wParam), (UINT)LOWORD(c.lParam), (BOOL)HIWORD(c.lParam));
    return TRUE;
}
template <auto F> BOOL Key(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT)c.wParam, (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam));
    return TRUE;
}
template <auto F> BOOL Mouse(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT)c.wParam, CPoint(c.lParam));
    return TRUE;
}
template <auto F> BOOL MouseWheel(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)((UINT)LOWORD(c.wParam), (short)HIWORD(c.wParam), CPoint(c.lParam));
    return TRUE;
}
template <auto F> BOOL ContextMenu(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(CWnd::FromHandle((HWND)c.wParam), CPoint(c.lParam));
    return TRUE;
}
template <auto F> BOOL Focus(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(CWnd::FromHandle((HWND)c.wParam));
    return TRUE;
}
template <auto F> BOOL SetCursor(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)(CWnd::FromHandle((HWND)c.wParam), (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam));
    return TRUE;
}
template <auto F> BOOL Scroll(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT)LOWORD(c.wParam), (UINT)(short)HIWORD(c.wParam),
                        reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)c.lParam)));
    return TRUE;
}
template <auto F> BOOL DrawItem(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((int)c.wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
    c.result = TRUE;
    return TRUE;
}
template <auto F> BOOL MeasureItem(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((int)c.wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam));
    c.result = TRUE;
    return TRUE;
}
// WM_CTLCOLORxxx: extra carries the kind (CTLCOLOR_EDIT ...).
template <auto F> BOOL CtlColor(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (LRESULT)(ZvTarget<F>(t).*F)(CDC::FromHandle((HDC)c.wParam), CWnd::FromHandle((HWND)c.lParam),
                                            (UINT)(UINT_PTR)c.extra);
    return TRUE;
}
template <auto F> BOOL ShowWindow(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((BOOL)c.wParam, (UINT)c.lParam);
    return TRUE;
}
template <auto F> BOOL DropFiles(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((HDROP)c.wParam);
    return TRUE;
}
template <auto F> BOOL NcHitTest(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)(CPoint(c.lParam));
    return TRUE;
}
template <auto F> BOOL NcMouse(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT)c.wParam, CPoint(c.lParam));
    return TRUE;
}
template <auto F> BOOL NcCalcSize(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((BOOL)c.wParam, reinterpret_cast<NCCALCSIZE_PARAMS*>(c.lParam));
    return TRUE;
}
template <auto F> BOOL WindowPos(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(reinterpret_cast<WINDOWPOS*>(c.lParam));
    return TRUE;
}
template <auto F> BOOL GetDlgCode(CCmdTarget* t, ZvMsgCall& c)
{
    c.result = (ZvTarget<F>(t).*F)();
    return TRUE;
}
template <auto F> BOOL ActivateApp(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((BOOL)c.wParam, (DWORD)c.lParam);
    return TRUE;
}
template <auto F> BOOL Activate(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((UINT)LOWORD(c.wParam), CWnd::FromHandle((HWND)c.lParam), (BOOL)HIWORD(c.wParam));
    return TRUE;
}
template <auto F> BOOL Enable(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)((BOOL)c.wParam);
    return TRUE;
}
// Reflected owner-draw and colour messages, handled by the control itself.
template <auto F> BOOL DrawItemReflect(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
    c.result = TRUE;
    return TRUE;
}
template <auto F> BOOL MeasureItemReflect(CCmdTarget* t, ZvMsgCall& c)
{
    (ZvTarget<F>(t).*F)(reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam));
    c.result = TRUE;
    return TRUE;
}
// A null brush means "not handled": the parent's default colours apply.
template <auto F> BOOL CtlColorReflect(CCmdTarget* t, ZvMsgCall& c)
{
    HBRUSH b = (ZvTarget<F>(t).*F)(CDC::FromHandle((HDC)c.wParam), (UINT)(UINT_PTR)c.extra);
    c.result = (LRESULT)b;
    return b != nullptr;
}
}  // namespace ZvMsg

#define ZV_ON_WM(msg, kind, fn) {(UINT)(msg), 0, 0, 0, nullptr, &ZvMsg::kind<&ThisClass::fn>},
#define ON_WM_CREATE() ZV_ON_WM(WM_CREATE, Create, OnCreate)
#define ON_WM_DESTROY() ZV_ON_WM(WM_DESTROY, Void, OnDestroy)
#define ON_WM_NCDESTROY() ZV_ON_WM(WM_NCDESTROY, Void, OnNcDestroy)
#define ON_WM_CLOSE() ZV_ON_WM(WM_CLOSE, Void, OnClose)
#define ON_WM_SIZE() ZV_ON_WM(WM_SIZE, Size, OnSize)
#define ON_WM_MOVE() ZV_ON_WM(WM_MOVE, Move, OnMove)
#define ON_WM_PAINT() ZV_ON_WM(WM_PAINT, Void, OnPaint)
#define ON_WM_ERASEBKGND() ZV_ON_WM(WM_ERASEBKGND, EraseBkgnd, OnEraseBkgnd)
#define ON_WM_TIMER() ZV_ON_WM(WM_TIMER, Timer, OnTimer)
#define ON_WM_GETMINMAXINFO() ZV_ON_WM(WM_GETMINMAXINFO, MinMax, OnGetMinMaxInfo)
#define ON_WM_COPYDATA() ZV_ON_WM(WM_COPYDATA, CopyData, OnCopyData)
#define ON_WM_MENUCHAR() ZV_ON_WM(WM_MENUCHAR, MenuChar, OnMenuChar)
#define ON_WM_SYSCOMMAND() ZV_ON_WM(WM_SYSCOMMAND, SysCommand, OnSysCommand)
#define ON_WM_MENUSELECT() ZV_ON_WM(WM_MENUSELECT, MenuSelect, OnMenuSelect)
#define ON_WM_INITMENUPOPUP() ZV_ON_WM(WM_INITMENUPOPUP, InitMenuPopup, OnInitMenuPopup)
#define ON_WM_CHAR() ZV_ON_WM(WM_CHAR, Key, OnChar)
#define ON_WM_KEYDOWN() ZV_ON_WM(WM_KEYDOWN, Key, OnKeyDown)
#define ON_WM_KEYUP() ZV_ON_WM(WM_KEYUP, Key, OnKeyUp)
#define ON_WM_LBUTTONDOWN() ZV_ON_WM(WM_LBUTTONDOWN, Mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() ZV_ON_WM(WM_LBUTTONUP, Mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() ZV_ON_WM(WM_LBUTTONDBLCLK, Mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() ZV_ON_WM(WM_RBUTTONDOWN, Mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() ZV_ON_WM(WM_RBUTTONUP, Mouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() ZV_ON_WM(WM_RBUTTONDBLCLK, Mouse, OnRButtonDblClk)
#define ON_WM_MOUSEMOVE() ZV_ON_WM(WM_MOUSEMOVE, Mouse, OnMouseMove)
#define ON_WM_MOUSEWHEEL() ZV_ON_WM(WM_MOUSEWHEEL, MouseWheel, OnMouseWheel)
#define ON_WM_MOUSELEAVE() ZV_ON_WM(WM_MOUSELEAVE, Void, OnMouseLeave)
#define ON_WM_CONTEXTMENU() ZV_ON_WM(WM_CONTEXTMENU, ContextMenu, OnContextMenu)
#define ON_WM_SETFOCUS() ZV_ON_WM(WM_SETFOCUS, Focus, OnSetFocus)
#define ON_WM_KILLFOCUS() ZV_ON_WM(WM_KILLFOCUS, Focus, OnKillFocus)
#define ON_WM_SETCURSOR() ZV_ON_WM(WM_SETCURSOR, SetCursor, OnSetCursor)
#define ON_WM_HSCROLL() ZV_ON_WM(WM_HSCROLL, Scroll, OnHScroll)
#define ON_WM_VSCROLL() ZV_ON_WM(WM_VSCROLL, Scroll, OnVScroll)
#define ON_WM_DRAWITEM() ZV_ON_WM(WM_DRAWITEM, DrawItem, OnDrawItem)
#define ON_WM_MEASUREITEM() ZV_ON_WM(WM_MEASUREITEM, MeasureItem, OnMeasureItem)
#define ON_WM_CTLCOLOR() ZV_ON_WM(WM_CTLCOLOR, CtlColor, OnCtlColor)
#define ON_WM_SYSCOLORCHANGE() ZV_ON_WM(WM_SYSCOLORCHANGE, Void, OnSysColorChange)
#define ON_WM_SHOWWINDOW() ZV_ON_WM(WM_SHOWWINDOW, ShowWindow, OnShowWindow)
#define ON_WM_DROPFILES() ZV_ON_WM(WM_DROPFILES, DropFiles, OnDropFiles)
#define ON_WM_NCHITTEST() ZV_ON_WM(WM_NCHITTEST, NcHitTest, OnNcHitTest)
#define ON_WM_NCLBUTTONDOWN() ZV_ON_WM(WM_NCLBUTTONDOWN, NcMouse, OnNcLButtonDown)
#define ON_WM_NCCALCSIZE() ZV_ON_WM(WM_NCCALCSIZE, NcCalcSize, OnNcCalcSize)
#define ON_WM_WINDOWPOSCHANGED() ZV_ON_WM(WM_WINDOWPOSCHANGED, WindowPos, OnWindowPosChanged)
#define ON_WM_GETDLGCODE() ZV_ON_WM(WM_GETDLGCODE, GetDlgCode, OnGetDlgCode)
#define ON_WM_ACTIVATEAPP() ZV_ON_WM(WM_ACTIVATEAPP, ActivateApp, OnActivateApp)
#define ON_WM_ACTIVATE() ZV_ON_WM(WM_ACTIVATE, Activate, OnActivate)
#define ON_WM_ENABLE() ZV_ON_WM(WM_ENABLE, Enable, OnEnable)

// Handled by the control that asked: DrawItem(LPDRAWITEMSTRUCT),
// MeasureItem(LPMEASUREITEMSTRUCT), CtlColor(CDC*, UINT) -> HBRUSH.
#define ON_WM_DRAWITEM_REFLECT() ZV_ON_WM(ZV_WM_REFLECT_BASE + WM_DRAWITEM, DrawItemReflect, DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() ZV_ON_WM(ZV_WM_REFLECT_BASE + WM_MEASUREITEM, MeasureItemReflect, MeasureItem)
#define ON_WM_CTLCOLOR_REFLECT() ZV_ON_WM(ZV_WM_REFLECT_BASE + WM_CTLCOLOR, CtlColorReflect, CtlColor)
