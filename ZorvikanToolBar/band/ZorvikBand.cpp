#include "ZorvikanToolBar/band/ZorvikBand.h"

#include <exdispid.h>
#include <shlguid.h>

#include <atomic>

#include "ZorvikanToolBar/com/ToolBarGuids.h"
#include "ZorvikanToolBar/link/AppCommunicator.h"
#include "core/items/Record.h"
#include "core/link/LoginFormFiller.h"
#include "core/link/WebAddress.h"

namespace {

std::atomic<bool> g_autoSubmit{false};

CString FromBstr(BSTR text)
{
    if (!text) return CString();
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return CString();
    CString out;
    char* buffer = out.GetBuffer(size);
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, size, nullptr, nullptr);
    out.ReleaseBuffer();
    return out;
}

ITypeInfo* LoadBandTypeInfo()
{
    CString path = CZorvikanToolBarModule::ModulePath();
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    ITypeLib* library = nullptr;
    if (FAILED(LoadTypeLibEx(wide, REGKIND_NONE, &library))) return nullptr;
    ITypeInfo* info = nullptr;
    library->GetTypeInfoOfGuid(IID_IZorvikBand, &info);
    library->Release();
    return info;
}

}  // namespace

CZorvikBand::CZorvikBand() { m_reflection.SetBand(this); }

CZorvikBand::~CZorvikBand() { Disconnect(); }

STDMETHODIMP CZorvikBand::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IZorvikBand) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, DIID_DWebBrowserEvents2))
        *out = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IObjectWithSite))
        *out = static_cast<IObjectWithSite*>(this);
    else if (IsEqualIID(iid, IID_IInputObject))
        *out = static_cast<IInputObject*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IDockingWindow) || IsEqualIID(iid, IID_IDeskBand))
        *out = static_cast<IDeskBand*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CZorvikBand::AddRef() { return InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) CZorvikBand::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP CZorvikBand::GetWindow(HWND* window)
{
    if (!window) return E_INVALIDARG;
    *window = m_reflection.ToolBar().m_hWnd;
    return S_OK;
}

STDMETHODIMP CZorvikBand::ContextSensitiveHelp(BOOL enter)
{
    m_helpMode = enter;
    return S_OK;
}

STDMETHODIMP CZorvikBand::ShowDW(BOOL show)
{
    m_visible = show;
    HWND toolBar = m_reflection.ToolBar().m_hWnd;
    if (toolBar) ShowWindow(toolBar, show ? SW_SHOW : SW_HIDE);
    return S_OK;
}

STDMETHODIMP CZorvikBand::CloseDW(DWORD)
{
    ShowDW(FALSE);
    return S_OK;
}

STDMETHODIMP CZorvikBand::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP CZorvikBand::GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info)
{
    m_bandId = bandId;
    m_viewMode = viewMode;
    if (!info) return S_OK;
    if (info->dwMask & DBIM_MINSIZE) info->ptMinSize = {250, 22};
    if (info->dwMask & DBIM_MAXSIZE) info->ptMaxSize = {0, -1};
    if (info->dwMask & DBIM_INTEGRAL) info->ptIntegral = {1, 1};
    if (info->dwMask & DBIM_ACTUAL) info->ptActual = {250, 22};
    if (info->dwMask & DBIM_MODEFLAGS) info->dwModeFlags = DBIMF_VARIABLEHEIGHT;
    // The browser's own background.
    info->dwMask &= ~DBIM_BKCOLOR;
    return S_OK;
}

STDMETHODIMP CZorvikBand::SetSite(IUnknown* site)
{
    if (m_site) {
        m_site->Release();
        m_site = nullptr;
    }
    if (!site) {
        // The browser lets go of the band: everything that refers back to it
        // goes, so the last release can free it and the library can unload.
        Disconnect();
        return S_OK;
    }
    IOleWindow* oleWindow = nullptr;
    HWND parent = nullptr;
    if (SUCCEEDED(site->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&oleWindow)))) {
        oleWindow->GetWindow(&parent);
        oleWindow->Release();
    }
    if (!parent || !IsWindow(parent)) return E_FAIL;
    m_reflection.ToolBar().Communicator().Resume();
    if (m_reflection.m_hWnd) {
        // A second site: the chain moves rather than being built again.
        RECT rect = {};
        GetClientRect(parent, &rect);
        SetParent(m_reflection.m_hWnd, parent);
        MoveWindow(m_reflection.m_hWnd, 0, 0, rect.right, rect.bottom, FALSE);
    } else if (!m_reflection.Create(parent)) {
        return E_FAIL;
    }
    if (FAILED(site->QueryInterface(IID_IInputObjectSite, reinterpret_cast<void**>(&m_site)))) {
        m_site = nullptr;
        return E_FAIL;
    }
    if (FAILED(ConnectBrowser(site))) return E_FAIL;
    return Advise();
}

HRESULT CZorvikBand::ConnectBrowser(IUnknown* site)
{
    Unadvise();
    if (m_browser) {
        m_browser->Release();
        m_browser = nullptr;
    }
    IOleCommandTarget* target = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target)))) return E_FAIL;
    IServiceProvider* provider = nullptr;
    HRESULT hr = target->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&provider));
    target->Release();
    if (FAILED(hr)) return E_FAIL;
    hr = provider->QueryService(SID_SWebBrowserApp, IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser));
    provider->Release();
    if (FAILED(hr) || !m_browser) {
        m_browser = nullptr;
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CZorvikBand::Advise()
{
    if (m_advised) return E_FAIL;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = m_browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr)) return hr;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point);
    container->Release();
    if (FAILED(hr)) return hr;
    hr = point->Advise(static_cast<IDispatch*>(this), &m_cookie);
    if (FAILED(hr)) {
        point->Release();
        return hr;
    }
    m_eventPoint = point;
    m_advised = true;
    return S_OK;
}

void CZorvikBand::Unadvise()
{
    if (!m_advised) return;
    m_eventPoint->Unadvise(m_cookie);
    m_eventPoint->Release();
    m_eventPoint = nullptr;
    m_cookie = 0;
    m_advised = false;
}

void CZorvikBand::Disconnect()
{
    // Keeps the band alive while the sink's release may drop the last
    // reference held by the browser.
    AddRef();
    Unadvise();
    if (m_browser) {
        m_browser->Release();
        m_browser = nullptr;
    }
    if (m_site) {
        m_site->Release();
        m_site = nullptr;
    }
    m_reflection.ToolBar().Communicator().Stop();
    m_reflection.Destroy();
    InterlockedDecrement(&m_refs);
}

STDMETHODIMP CZorvikBand::GetSite(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!m_site) return E_FAIL;
    return m_site->QueryInterface(iid, out);
}

STDMETHODIMP CZorvikBand::UIActivateIO(BOOL activate, MSG*)
{
    HWND edit = m_reflection.ToolBar().Edit().m_hWnd;
    if (activate && edit) SetFocus(edit);
    return S_OK;
}

STDMETHODIMP CZorvikBand::HasFocusIO()
{
    HWND focus = ::GetFocus();
    if (focus && (focus == m_reflection.ToolBar().m_hWnd || focus == m_reflection.ToolBar().Edit().m_hWnd)) return S_OK;
    return S_FALSE;
}

STDMETHODIMP CZorvikBand::TranslateAcceleratorIO(MSG* msg)
{
    if (!msg) return S_FALSE;
    return m_reflection.ToolBar().Edit().TranslateKey(*msg);
}

STDMETHODIMP CZorvikBand::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP CZorvikBand::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *info = LoadBandTypeInfo();
    return *info ? S_OK : TYPE_E_CANTLOADLIBRARY;
}

STDMETHODIMP CZorvikBand::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    ITypeInfo* info = LoadBandTypeInfo();
    if (!info) return TYPE_E_CANTLOADLIBRARY;
    HRESULT hr = DispGetIDsOfNames(info, names, count, ids);
    info->Release();
    return hr;
}

STDMETHODIMP CZorvikBand::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    switch (id) {
    case DISPID_DOCUMENTCOMPLETE: {
        // Arguments come last first: (frame, address).
        if (!params || params->cArgs < 2) return DISP_E_BADPARAMCOUNT;
        VARIANT& frame = params->rgvarg[1];
        IDispatch* frameDispatch = V_VT(&frame) == VT_DISPATCH ? V_DISPATCH(&frame) : nullptr;
        return OnDocumentComplete(frameDispatch, &params->rgvarg[0]);
    }
    case DISPID_ONQUIT: return OnQuit();
    default: return S_OK;  // events the band does not follow
    }
}

bool CZorvikBand::IsAutoSubmitOn() { return g_autoSubmit; }

void CZorvikBand::SetAutoSubmit(bool on) { g_autoSubmit = on; }

HRESULT CZorvikBand::OpenWebLogin(const CRecord& record)
{
    CString address = WebAddressToOpen(record.GetFieldDisplayText(3, false));
    if (address.IsEmpty()) return E_INVALIDARG;
    m_pending.address = address;
    m_pending.userName = record.GetFieldDisplayText(1, false);
    m_pending.password = CSecretString(record.GetFieldDisplayText(2, false));
    m_hasPending = true;
    return Navigate(address);
}

void CZorvikBand::FillWebLogin(IWebBrowser2* browser, const PendingWebLogin& login)
{
    CLoginFormFiller filler(browser);
    filler.FillAndSubmit(login.userName, login.password);
}

HRESULT CZorvikBand::OnDocumentComplete(IDispatch* frame, VARIANT* address)
{
    if (!frame) return E_INVALIDARG;
    IWebBrowser2* browser = nullptr;
    HRESULT hr = frame->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    if (FAILED(hr)) return hr;
    if (m_hasPending && IsAutoSubmitOn()) {
        // The document's address as the event gives it, else as its browser
        // tells it.
        CString url;
        VARIANT* value = address;
        if (value && V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
        if (value && V_VT(value) == VT_BSTR) url = FromBstr(V_BSTR(value));
        if (url.IsEmpty()) {
            BSTR text = nullptr;
            if (SUCCEEDED(browser->get_LocationURL(&text))) url = FromBstr(text);
            SysFreeString(text);
        }
        // Another site's page, or a frame of one, never receives the login.
        if (IsSameHost(url, m_pending.address)) {
            PendingWebLogin login = m_pending;
            m_pending = PendingWebLogin();
            m_hasPending = false;
            FillWebLogin(browser, login);
        }
    }
    browser->Release();
    return hr;
}

HRESULT CZorvikBand::OnQuit()
{
    Unadvise();
    return S_OK;
}

HRESULT CZorvikBand::Navigate(const CString& address)
{
    if (!m_browser) return E_FAIL;
    m_browser->Stop();
    int size = MultiByteToWideChar(CP_ACP, 0, address, -1, nullptr, 0);
    BSTR url = SysAllocStringLen(nullptr, size > 0 ? size - 1 : 0);
    if (!url) return E_OUTOFMEMORY;
    MultiByteToWideChar(CP_ACP, 0, address, -1, url, size);
    VARIANT empty;
    VariantInit(&empty);
    HRESULT hr = m_browser->Navigate(url, &empty, &empty, &empty, &empty);
    SysFreeString(url);
    return hr;
}

CString CZorvikBand::GetLocationURL()
{
    if (!m_browser) return CString();
    BSTR text = nullptr;
    if (FAILED(m_browser->get_LocationURL(&text))) return CString();
    CString out = FromBstr(text);
    SysFreeString(text);
    return out;
}

CString CZorvikBand::GetLocationName()
{
    if (!m_browser) return CString();
    BSTR text = nullptr;
    if (FAILED(m_browser->get_LocationName(&text))) return CString();
    CString out = FromBstr(text);
    SysFreeString(text);
    return out;
}

void CZorvikBand::NotifyFocusChange(BOOL hasFocus)
{
    if (m_site) m_site->OnFocusChangeIS(static_cast<IObjectWithSite*>(this), hasFocus);
}
