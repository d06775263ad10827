// Auto-fill: the selected web login opened in a new browser window, its
// page's login fields typed and, with the user's Auto Submit, its login form
// submitted. The browser runs as an automation server of this process; the
// plug-in plays no part.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/crypto/SecretString.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/link/LoginFormFiller.h"
#include "core/link/WebAddress.h"
#include "core/os/ProcessSeams.h"
#include "framework/ModalSeam.h"
#include "framework/WinApp.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

namespace {

// {0002DF01-0000-0000-C000-000000000046}
const CLSID kInternetExplorerClsid = {0x0002DF01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

const char kAutofillFailed[] = "Autofill failed";

// A page that takes longer than this is given up: the user sees the failure
// instead of a program that waits for ever.
const uint32_t kDefaultPageWaitMs = 60000;
// How often the page's state is read again while messages are handed on.
const DWORD kPollMs = 50;

std::atomic<uint32_t> g_pageWaitMs{kDefaultPageWaitMs};

// The wait hands on the thread's messages, this command among them: one
// auto-fill at a time. GUI thread only.
bool g_autoFillRunning = false;

// What a fill needs of the record, copied before the page is waited for:
// meanwhile the record may be changed, deleted or the view closed.
struct AutoFillLogin {
    CString address;
    CString userName;
    CSecretString password;
    bool submit;
};

template <typename T> class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (m_p) m_p->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Out() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

class ComApartment {
public:
    ComApartment() : m_hr(::CoInitialize(nullptr)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_hr;
};

CString FromBstr(BSTR text)
{
    CString out;
    int size = text ? ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr) : 0;
    if (size > 1) {
        char* buffer = out.GetBuffer(size);
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, size, nullptr, nullptr);
        out.ReleaseBuffer();
    }
    return out;
}

// Hands on what the thread's queue holds; false when the program is asked to
// end (the request is put back for the main loop).
bool HandOnMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) return false;
        if (!AfxPumpMessage()) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
    }
    return true;
}

// Reads the page's state until it is complete, handing on the thread's
// messages meanwhile so the program stays alive; gives up after the wait.
HRESULT WaitForPage(IWebBrowser2* browser)
{
    const uint32_t waitMs = g_pageWaitMs.load();
    const DWORD start = ::GetTickCount();
    for (;;) {
        READYSTATE state = READYSTATE_UNINITIALIZED;
        HRESULT hr = browser->get_ReadyState(&state);
        if (FAILED(hr)) return hr;
        if (state == READYSTATE_COMPLETE) return S_OK;
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= waitMs) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(kPollMs, waitMs - waited), QS_ALLINPUT);
        if (!HandOnMessages()) return E_ABORT;
    }
}

HRESULT NavigateTo(IWebBrowser2* browser, const CString& address)
{
    int size = ::MultiByteToWideChar(CP_ACP, 0, address, -1, nullptr, 0);
    BSTR url = ::SysAllocStringLen(nullptr, size > 0 ? size - 1 : 0);
    if (!url) return E_OUTOFMEMORY;
    ::MultiByteToWideChar(CP_ACP, 0, address, -1, url, size);
    VARIANT missing;
    ::VariantInit(&missing);
    HRESULT hr = browser->Navigate(url, &missing, &missing, &missing, &missing);
    ::SysFreeString(url);
    return hr;
}

// The whole fill of one login in a browser window of its own. The window
// stays open; the browser object is let go.
HRESULT RunAutoFill(const AutoFillLogin& login)
{
    ComApartment apartment;
    ComRef<IWebBrowser2> browser;
    HRESULT hr = ::CoCreateInstance(kInternetExplorerClsid, nullptr, CLSCTX_SERVER, IID_IWebBrowser2,
                                    reinterpret_cast<void**>(browser.Out()));
    if (FAILED(hr)) return hr;
    if (!browser.Get()) return E_NOINTERFACE;
    hr = browser->put_Visible(VARIANT_TRUE);
    if (SUCCEEDED(hr)) hr = browser->put_Resizable(VARIANT_TRUE);
    if (SUCCEEDED(hr)) hr = NavigateTo(browser.Get(), login.address);
    if (SUCCEEDED(hr)) hr = WaitForPage(browser.Get());
    if (FAILED(hr)) return hr;
    // The page may have led elsewhere meanwhile: another site never sees
    // the login.
    BSTR location = nullptr;
    hr = browser->get_LocationURL(&location);
    const CString loaded = SUCCEEDED(hr) ? FromBstr(location) : CString();
    ::SysFreeString(location);
    if (FAILED(hr)) return hr;
    if (!IsSameHost(loaded, login.address)) return E_ACCESSDENIED;
    CLoginFormFiller filler(browser.Get());
    hr = filler.OpenResult();
    if (SUCCEEDED(hr)) hr = filler.Fill(login.userName, login.password, {true, login.submit});
    return hr;
}

}  // namespace

uint32_t SetAutoFillPageWaitMs(uint32_t waitMs) { return g_pageWaitMs.exchange(waitMs ? waitMs : kDefaultPageWaitMs); }

void CZorvikanDesktopView::OnAutoFill() { AutoFillRecord(GetSelectedWebLogin()); }

void CZorvikanDesktopView::OnUpdateAutoFill(CCmdUI* pCmdUI)
{
    if (!GetSelectedWebLogin() || g_autoFillRunning) pCmdUI->Enable(FALSE);
}

void CZorvikanDesktopView::AutoFillRecord(CRecord* record)
{
    if (!record || std::memcmp(record->GetTypeKey(), kWebLoginsTypeKey, kUniqueKeySize) != 0) return;
    if (g_autoFillRunning) return;
    AutoFillLogin login{WebAddressToOpen(record->GetFieldDisplayText(3, false)), record->GetFieldDisplayText(1, false),
                        CSecretString(record->GetFieldDisplayText(2, false)), m_bAutoSubmit};
    HRESULT hr = E_INVALIDARG;  // a script, a local file or no address at all is never opened
    if (!login.address.IsEmpty()) {
        g_autoFillRunning = true;
        hr = RunAutoFill(login);
        g_autoFillRunning = false;
    }
    // The view may be gone by now (its window closed during the wait): only
    // what is not the view's from here on.
    if (FAILED(hr) && hr != E_ABORT) AfxMessageBox(kAutofillFailed, MB_OK);
}
