#pragma once
// The test host's stand-ins for what Internet Explorer hands a desk band: a
// site (window, focus changes, services) and a browser whose event
// connection point keeps the sinks advised on it. Each counts its
// references, so a test sees the band let go of all of them.
#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>
#include <shlguid.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace zvtest {

// Reference counting of a stand-in that the test owns on the stack: the
// count starts at 1 (the test's own) and nothing is deleted.
#define ZV_FAKE_REFCOUNT                                                                                               \
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }                                                          \
    STDMETHODIMP_(ULONG) Release() override { return --refs; }                                                         \
    ULONG refs = 1;

class FakeEventPoint : public IConnectionPointContainer, public IConnectionPoint {
public:
    ZV_FAKE_REFCOUNT
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPointContainer))
            *out = static_cast<IConnectionPointContainer*>(this);
        else if (IsEqualIID(iid, IID_IConnectionPoint))
            *out = static_cast<IConnectionPoint*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override
    {
        if (!IsEqualIID(iid, DIID_DWebBrowserEvents2)) return *out = nullptr, CONNECT_E_NOCONNECTION;
        *out = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP GetConnectionInterface(IID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override
    {
        IDispatch* events = nullptr;
        if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&events))))
            return CONNECT_E_CANNOTCONNECT;
        sinks.push_back(events);
        *cookie = static_cast<DWORD>(sinks.size());
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override
    {
        if (cookie == 0 || cookie > sinks.size() || !sinks[cookie - 1]) return CONNECT_E_NOCONNECTION;
        IDispatch* sink = sinks[cookie - 1];
        sinks[cookie - 1] = nullptr;
        sink->Release();
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    int Connected() const
    {
        int n = 0;
        for (IDispatch* s : sinks) n += s != nullptr;
        return n;
    }
    // Fires an event at every sink through IDispatch::Invoke.
    HRESULT Fire(DISPID id, DISPPARAMS& params)
    {
        HRESULT hr = S_OK;
        std::vector<IDispatch*> now = sinks;
        for (IDispatch* s : now)
            if (s) hr = s->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        return hr;
    }

    std::vector<IDispatch*> sinks;
};

class FakeBrowser : public IWebBrowser2 {
public:
    ZV_FAKE_REFCOUNT
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser2) ||
            IsEqualIID(iid, IID_IWebBrowserApp) || IsEqualIID(iid, IID_IWebBrowser)) {
            *out = static_cast<IWebBrowser2*>(this);
            AddRef();
            return S_OK;
        }
        if (IsEqualIID(iid, IID_IConnectionPointContainer)) return events.QueryInterface(iid, out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP Navigate(BSTR URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override
    {
        ++navigations;
        navigated.push_back(URL ? URL : L"");
        return S_OK;
    }
    STDMETHODIMP Stop() override { return S_OK; }
    STDMETHODIMP get_LocationName(BSTR* name) override { return *name = SysAllocString(title.c_str()), S_OK; }
    STDMETHODIMP get_LocationURL(BSTR* url) override { return *url = SysAllocString(location.c_str()), S_OK; }
    STDMETHODIMP GoBack() override { return E_NOTIMPL; }
    STDMETHODIMP GoForward() override { return E_NOTIMPL; }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT* Level) override { return E_NOTIMPL; }
    STDMETHODIMP get_Application(IDispatch** ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch** ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch** ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Document(IDispatch** ppDisp) override
    {
        *ppDisp = document;
        if (!document) return E_NOTIMPL;
        document->AddRef();
        return S_OK;
    }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL* pBool) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR* Type) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG* pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG Left) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG* pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG Top) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG* pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG Width) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG* pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG Height) override { return E_NOTIMPL; }
    STDMETHODIMP get_Busy(VARIANT_BOOL* pBool) override { return E_NOTIMPL; }
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int* pcx, int* pcy) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR Property, VARIANT vtValue) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR Property, VARIANT* pvtValue) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR* Name) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR* pHWND) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR* FullName) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR* Path) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL* pBool) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL* pBool) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR* StatusText) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR StatusText) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int* Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL* Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL* pbFullScreen) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL bFullScreen) override { return E_NOTIMPL; }
    STDMETHODIMP Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                           VARIANT* Headers) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP QueryStatusWB(OLECMDID cmdID, OLECMDF* pcmdf) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT* pvaIn, VARIANT* pvaOut) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP ShowBrowserBar(VARIANT* pvaClsid, VARIANT* pvarShow, VARIANT* pvarSize) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE* plReadyState) override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL* pbOffline) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL bOffline) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL* pbSilent) override { return E_NOTIMPL; }
    STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL* pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL* pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL* pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL* Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL* Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL Value) override { return E_NOTIMPL; }

    FakeEventPoint events;
    int navigations = 0;
    std::vector<std::wstring> navigated;
    std::wstring title = L"Example page";
    std::wstring location = L"http://example.test/";
    // The loaded page, when the test gives one (not owned).
    IDispatch* document = nullptr;
};

class FakeSite : public IOleWindow, public IInputObjectSite, public IOleCommandTarget, public IServiceProvider {
public:
    FakeSite(HWND window, IWebBrowser2* browser) : window(window), browser(browser) {}
    ZV_FAKE_REFCOUNT
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else if (IsEqualIID(iid, IID_IInputObjectSite))
            *out = static_cast<IInputObjectSite*>(this);
        else if (IsEqualIID(iid, IID_IOleCommandTarget))
            *out = static_cast<IOleCommandTarget*>(this);
        else if (IsEqualIID(iid, IID_IServiceProvider))
            *out = static_cast<IServiceProvider*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP GetWindow(HWND* out) override { return *out = window, S_OK; }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }
    STDMETHODIMP OnFocusChangeIS(IUnknown*, BOOL focus) override
    {
        focusChanges.push_back(focus != FALSE);
        return S_OK;
    }
    STDMETHODIMP QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override { return E_NOTIMPL; }
    STDMETHODIMP Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override
    {
        if (browser && IsEqualGUID(service, SID_SWebBrowserApp)) return browser->QueryInterface(iid, out);
        *out = nullptr;
        return E_NOINTERFACE;
    }

    HWND window;
    IWebBrowser2* browser;
    std::vector<bool> focusChanges;
};

#undef ZV_FAKE_REFCOUNT

}  // namespace zvtest
