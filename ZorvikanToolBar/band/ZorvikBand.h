#pragma once
// CZorvikBand: the desk band that Internet Explorer creates for each browser
// window. It builds the window chain inside the site's window, finds the
// browser behind the site, listens to its DocumentComplete and OnQuit events
// and offers the other parts of the plug-in navigation, the page's address
// and title, and focus changes. One dispatch part serves both IZorvikBand
// (which has no members) and the browser's events. Windows build only.
#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <shlobj.h>

#include "ZorvikanToolBar/band/BandWindows.h"
#include "ZorvikanToolBar/com/ToolBarModule.h"
#include "framework/CString.h"

class CZorvikBand : public IDeskBand, public IObjectWithSite, public IInputObject, public IDispatch {
public:
    // Made by the class factory with one reference.
    CZorvikBand();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    // IDockingWindow
    STDMETHODIMP ShowDW(BOOL show) override;
    STDMETHODIMP CloseDW(DWORD reserved) override;
    STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* site, BOOL reserved) override;
    // IDeskBand
    STDMETHODIMP GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) override;
    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** out) override;
    // IInputObject
    STDMETHODIMP UIActivateIO(BOOL activate, MSG* msg) override;
    STDMETHODIMP HasFocusIO() override;
    STDMETHODIMP TranslateAcceleratorIO(MSG* msg) override;
    // IDispatch (IZorvikBand, and the browser's events)
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* error, UINT* argError) override;

    // Services for the tool bar and form filling.
    HRESULT Navigate(const CString& address);
    CString GetLocationURL();
    CString GetLocationName();
    void NotifyFocusChange(BOOL hasFocus);

    // The browser's events.
    HRESULT OnDocumentComplete(IDispatch* frame, VARIANT* address);
    HRESULT OnQuit();

    CReflectionWnd& Windows() { return m_reflection; }

private:
    ~CZorvikBand();
    // Drops the site, the browser and the event connection, stops the
    // communicator's work and destroys the windows.
    void Disconnect();
    HRESULT ConnectBrowser(IUnknown* site);
    HRESULT Advise();
    void Unadvise();

    volatile LONG m_refs = 1;
    CModuleLock m_moduleLock;
    DWORD m_bandId = 0;
    DWORD m_viewMode = 0;
    BOOL m_helpMode = FALSE;
    BOOL m_visible = FALSE;
    IInputObjectSite* m_site = nullptr;
    IWebBrowser2* m_browser = nullptr;
    CReflectionWnd m_reflection;
    DWORD m_cookie = 0;
    bool m_advised = false;
    // The browser the sink is advised on (it may have been replaced since).
    IConnectionPoint* m_eventPoint = nullptr;
};
