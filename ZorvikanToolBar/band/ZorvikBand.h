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
#include "core/crypto/SecretString.h"
#include "framework/CString.h"

class CRecord;

// The web login a band opened, waiting for its page: the address it was
// opened at, its user name and password as they were then.
struct PendingWebLogin {
    CString address;
    CString userName;
    CSecretString password;
};

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

    // Opens the record's address (field 3) in this band's browser and keeps
    // the login for filling its page when Auto Submit is on. Only web
    // addresses are opened: any other scheme answers E_INVALIDARG and
    // neither navigates nor keeps the login.
    HRESULT OpenWebLogin(const CRecord& record);
    // Fills the login into the browser's (or frame's) document and submits
    // its login form.
    static void FillWebLogin(IWebBrowser2* browser, const PendingWebLogin& login);
    // The Auto Submit switch, one for every band of the process; off when
    // the library loads.
    static bool IsAutoSubmitOn();
    static void SetAutoSubmit(bool on);
    bool HasPendingWebLogin() const { return m_hasPending; }

    // The browser's events. A completed document is filled with the login
    // this band opened, once, when Auto Submit is on and the document's host
    // is the login's; the login is then forgotten.
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
    PendingWebLogin m_pending;
    bool m_hasPending = false;
};
