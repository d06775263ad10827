#include "ZorvikanToolBar/band/BandWindows.h"

#include <commctrl.h>

#include "ZorvikanToolBar/band/ZorvikBand.h"
#include "ZorvikanToolBar/com/ToolBarModule.h"
#include "ZorvikanToolBar/link/AppCommunicator.h"
#include "ZorvikanToolBar/res/ToolBarResource.h"

namespace {

const char kReflectionClass[] = "ZorvikReflectionWnd";
const char kToolBarClass[] = "ZORVIK TOOLBAR";
const char kEditClass[] = "ZORVIKEDIT";
const char kThisProp[] = "ZorvikThis";

WNDPROC g_toolBarBase = nullptr;
WNDPROC g_editBase = nullptr;
int g_liveChains = 0;

// A superclass: the system class's behaviour under our own name and procedure.
bool RegisterSuperclass(const char* base, const char* name, WNDPROC proc, WNDPROC& baseProc)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExA(nullptr, base, &wc)) return false;
    baseProc = wc.lpfnWndProc;
    wc.lpfnWndProc = proc;
    wc.hInstance = CZorvikanToolBarModule::ModuleHandle();
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

template <typename T> T* FromWindow(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetPropA(window, kThisProp, self);
        self->m_hWnd = window;
        return self;
    }
    return static_cast<T*>(GetPropA(window, kThisProp));
}

void Forget(HWND window, UINT message, HWND& member)
{
    if (message != WM_NCDESTROY) return;
    RemovePropA(window, kThisProp);
    member = nullptr;
}

void UnregisterClasses()
{
    HINSTANCE module = CZorvikanToolBarModule::ModuleHandle();
    UnregisterClassA(kEditClass, module);
    UnregisterClassA(kToolBarClass, module);
    UnregisterClassA(kReflectionClass, module);
}

}  // namespace

int LiveBandWindowChains() { return g_liveChains; }

// ---- search edit ----

void CZorvikEditWnd::SetBand(CZorvikBand* band, CZorvikToolBarWnd* toolBar)
{
    m_band = band;
    m_toolBar = toolBar;
}

HWND CZorvikEditWnd::Create(HWND parent)
{
    if (!RegisterSuperclass("EDIT", kEditClass, &CZorvikEditWnd::WindowProc, g_editBase)) return nullptr;
    CreateWindowExA(WS_EX_CLIENTEDGE, kEditClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)), CZorvikanToolBarModule::ModuleHandle(), this);
    if (m_hWnd) SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return m_hWnd;
}

LRESULT CALLBACK CZorvikEditWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CZorvikEditWnd* self = FromWindow<CZorvikEditWnd>(window, message, lParam);
    LRESULT result = CallWindowProcA(g_editBase, window, message, wParam, lParam);
    if (self) Forget(window, message, self->m_hWnd);
    return result;
}

bool CZorvikEditWnd::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message != WM_COMMAND) return false;
    if (HIWORD(wParam) == EN_SETFOCUS) {
        if (m_band) m_band->NotifyFocusChange(TRUE);
        m_active = true;
        result = 0;
    } else {
        result = 1;
    }
    return true;
}

HRESULT CZorvikEditWnd::TranslateKey(const MSG& msg)
{
    if (msg.wParam == VK_RETURN && m_active && m_toolBar && m_hWnd) {
        char text[260] = {};
        GetWindowTextA(m_hWnd, text, sizeof(text));
        m_toolBar->ShowSearchResults(text);
        if (m_toolBar->m_hWnd) SetFocus(m_toolBar->m_hWnd);
        m_active = false;
        return S_OK;
    }
    bool keyDown = msg.message == WM_KEYDOWN;
    if (keyDown && !m_unlockAsked && m_toolBar) {
        if (!m_toolBar->Communicator().EnsureUnlocked()) return S_OK;
        if (m_band) m_band->NotifyFocusChange(FALSE);
        m_unlockAsked = true;
        return S_FALSE;
    }
    if (keyDown && msg.wParam == VK_TAB) {
        if (m_band) m_band->NotifyFocusChange(FALSE);
        return S_FALSE;
    }
    if (msg.wParam == VK_RETURN || msg.wParam == VK_TAB) return S_OK;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return S_OK;
}

// ---- tool bar ----

CZorvikToolBarWnd::CZorvikToolBarWnd() : m_communicator(new CAppCommunicator()) {}

CZorvikToolBarWnd::~CZorvikToolBarWnd()
{
    delete m_communicator;
    if (m_images) ImageList_Destroy(m_images);
}

void CZorvikToolBarWnd::SetBand(CZorvikBand* band)
{
    m_band = band;
    m_edit.SetBand(band, this);
}

HWND CZorvikToolBarWnd::Create(HWND parent, const RECT& rect)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    if (!RegisterSuperclass(TOOLBARCLASSNAMEA, kToolBarClass, &CZorvikToolBarWnd::WindowProc, g_toolBarBase))
        return nullptr;
    CreateWindowExA(0, kToolBarClass, "", 0x5401BB4D, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, nullptr, CZorvikanToolBarModule::ModuleHandle(), this);
    return m_hWnd;
}

LRESULT CALLBACK CZorvikToolBarWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CZorvikToolBarWnd* self = FromWindow<CZorvikToolBarWnd>(window, message, lParam);
    LRESULT result = 0;
    if (message == WM_CREATE) {
        result = CallWindowProcA(g_toolBarBase, window, message, wParam, lParam);
        if (self && result != -1) self->OnCreate();
        return result;
    }
    if (self && message != WM_CREATE && self->ProcessWindowMessage(window, message, wParam, lParam, result))
        return result;
    if (self && message == WM_NCDESTROY) {
        // The listeners post to this window no more.
        self->m_communicator->SetChangeWindow(nullptr);
    }
    result = CallWindowProcA(g_toolBarBase, window, message, wParam, lParam);
    if (self) Forget(window, message, self->m_hWnd);
    return result;
}

bool CZorvikToolBarWnd::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), result)) return true;
        return m_edit.ProcessWindowMessage(window, message, wParam, lParam, result);
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || header->code != TBN_DROPDOWN) return false;
        // Only the drop-down of this tool bar's own button.
        if (header->hwndFrom != m_hWnd) {
            result = 0;
            return false;
        }
        result = OnToolbarDropDown(*reinterpret_cast<const NMTOOLBARA*>(lParam));
        return true;
    }
    case WM_DESKTOP_DATA_CHANGED:
        if (window != m_hWnd) return false;
        m_communicator->ApplyDesktopChanges();
        result = 0;
        return true;
    case WM_SIZE:
        if (window != m_hWnd) return false;
        OnSize();
        return false;  // the common tool bar sizes itself too
    default: return false;
    }
}

void CZorvikToolBarWnd::OnCreate()
{
    SendMessageA(m_hWnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    SendMessageA(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(m_hWnd, TB_SETMAXTEXTROWS, 1, 0);
    HICON icon = static_cast<HICON>(LoadImageA(CZorvikanToolBarModule::ModuleHandle(),
                                               MAKEINTRESOURCEA(IDI_TOOLBAR_BUTTON), IMAGE_ICON, 16, 16, 0));
    if (!m_images) m_images = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 1, 0);
    if (m_images && icon) ImageList_AddIcon(m_images, icon);
    if (icon) DestroyIcon(icon);
    SendMessageA(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images));
    INT_PTR text = SendMessageA(m_hWnd, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>("Zorvikan\0"));
    SendMessageA(m_hWnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    TBBUTTON button = {};
    button.iBitmap = 0;
    button.idCommand = kButtonId;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE;
    button.iString = text;
    SendMessageA(m_hWnd, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    m_edit.Create(m_hWnd);
    m_communicator->SetChangeWindow(m_hWnd);
}

void CZorvikToolBarWnd::OnSize()
{
    if (!m_edit.m_hWnd) return;
    RECT client = {}, button = {};
    GetClientRect(m_hWnd, &client);
    SendMessageA(m_hWnd, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
    int w = button.right - button.left;
    SendMessageA(m_hWnd, TB_SETINDENT, 0, 0);
    int right = (client.right - client.left) / 2 - w;
    int width = right > client.left + w ? right - (client.left + w) : 0;
    MoveWindow(m_edit.m_hWnd, client.left + w, client.top, width, client.bottom - client.top, FALSE);
    ShowWindow(m_edit.m_hWnd, SW_SHOW);
}

// ---- reflection window ----

HWND CReflectionWnd::Create(HWND parent)
{
    if (m_hWnd) return m_toolBar.m_hWnd;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CReflectionWnd::WindowProc;
    wc.hInstance = CZorvikanToolBarModule::ModuleHandle();
    wc.lpszClassName = kReflectionClass;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    RECT rect = {};
    GetClientRect(parent, &rect);
    ++g_liveChains;
    m_counted = true;
    CreateWindowExA(0, kReflectionClass, "", WS_CHILD, 0, 0, rect.right, rect.bottom, parent, nullptr,
                    CZorvikanToolBarModule::ModuleHandle(), this);
    if (!m_toolBar.m_hWnd) Destroy();
    return m_toolBar.m_hWnd;
}

void CReflectionWnd::Destroy()
{
    if (m_hWnd) DestroyWindow(m_hWnd);
    // The tool bar is the browser's to move into its rebar; it goes too.
    if (m_toolBar.m_hWnd) DestroyWindow(m_toolBar.m_hWnd);
    if (m_counted && --g_liveChains == 0) UnregisterClasses();
    m_counted = false;
}

LRESULT CALLBACK CReflectionWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CReflectionWnd* self = FromWindow<CReflectionWnd>(window, message, lParam);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_CREATE) {
        RECT rect = {};
        GetClientRect(window, &rect);
        return self->m_toolBar.Create(window, rect) ? 0 : -1;
    }
    LRESULT result = 0;
    if (message != WM_NCCREATE && message != WM_NCDESTROY &&
        self->m_toolBar.ProcessWindowMessage(window, message, wParam, lParam, result))
        return result;
    result = DefWindowProcA(window, message, wParam, lParam);
    Forget(window, message, self->m_hWnd);
    return result;
}
