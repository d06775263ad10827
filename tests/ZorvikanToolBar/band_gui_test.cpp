// The test host of the desk band: the library registered, the band created
// through CoCreateInstance, given a fake site and browser, and taken through
// its life: windows, band info, showing, focus, events, a second site, the
// site's release and the last release, after which the library may unload.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>

#include "tests/ZorvikanToolBar/FakeBrowser.h"
#include "tests/support/ChildProcess.h"

namespace {

const CLSID kBandClsid = {0x6490AEFB, 0x281C, 0x405C, {0xBE, 0x19, 0xF5, 0x9A, 0xA3, 0x8D, 0xF5, 0x6A}};
const DISPID kDocumentComplete = 259;
const DISPID kOnQuit = 253;

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

int ChildCount(HWND parent)
{
    int n = 0;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++n;
    return n;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

class BandHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        m_library = LoadLibraryA(zvtest::SiblingExe("ZorvikanToolBar.dll").c_str());
        ASSERT_TRUE(m_library);
        ASSERT_EQ(S_OK, Export<HRESULT(WINAPI*)()>("DllRegisterServer")());
        m_host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 80, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_TRUE(m_host);
        m_site.window = m_host;
    }
    void TearDown() override
    {
        if (m_host) DestroyWindow(m_host);
        if (m_library) {
            Export<HRESULT(WINAPI*)()>("DllUnregisterServer")();
            FreeLibrary(m_library);
        }
        CoFreeUnusedLibraries();
        OleUninitialize();
    }
    template <typename Fn> Fn Export(const char* name) { return reinterpret_cast<Fn>(GetProcAddress(m_library, name)); }
    HRESULT CanUnload() { return Export<HRESULT(WINAPI*)()>("DllCanUnloadNow")(); }

    IDeskBand* CreateBand()
    {
        IDeskBand* band = nullptr;
        EXPECT_EQ(S_OK, CoCreateInstance(kBandClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDeskBand,
                                         reinterpret_cast<void**>(&band)));
        return band;
    }
    HRESULT SetSite(IDeskBand* band, IUnknown* site)
    {
        IObjectWithSite* withSite = nullptr;
        EXPECT_EQ(S_OK, band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)));
        HRESULT hr = withSite->SetSite(site);
        withSite->Release();
        return hr;
    }

    HMODULE m_library = nullptr;
    HWND m_host = nullptr;
    zvtest::FakeBrowser m_browser;
    zvtest::FakeSite m_site{nullptr, &m_browser};
};

TEST_F(BandHost, SiteBuildsTheWindowChainAndConnectsTheBrowser)
{
    IDeskBand* band = CreateBand();
    ASSERT_TRUE(band);
    EXPECT_EQ(S_FALSE, CanUnload());
    ASSERT_EQ(S_OK, SetSite(band, static_cast<IOleWindow*>(&m_site)));

    HWND toolBar = nullptr;
    ASSERT_EQ(S_OK, band->GetWindow(&toolBar));
    EXPECT_EQ(E_INVALIDARG, band->GetWindow(nullptr));
    ASSERT_TRUE(IsWindow(toolBar));
    EXPECT_EQ("ZORVIK TOOLBAR", ClassOf(toolBar));
    EXPECT_EQ(0x5401BB4Du, static_cast<DWORD>(GetWindowLongA(toolBar, GWL_STYLE)) & 0x5401BB4Du);
    HWND reflection = GetParent(toolBar);
    EXPECT_EQ(m_host, GetParent(reflection));
    EXPECT_FALSE(GetWindowLongA(reflection, GWL_STYLE) & WS_VISIBLE);
    HWND edit = GetWindow(toolBar, GW_CHILD);
    ASSERT_TRUE(edit);
    EXPECT_EQ("ZORVIKEDIT", ClassOf(edit));
    EXPECT_TRUE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(1, m_browser.events.Connected());

    // A second site moves the chain instead of building another one.
    ASSERT_EQ(S_OK, SetSite(band, static_cast<IOleWindow*>(&m_site)));
    EXPECT_EQ(1, ChildCount(m_host));
    HWND again = nullptr;
    band->GetWindow(&again);
    EXPECT_EQ(toolBar, again);
    EXPECT_EQ(1, m_browser.events.Connected());

    ASSERT_EQ(S_OK, SetSite(band, nullptr));
    band->Release();
}

TEST_F(BandHost, BandInfoFillsWhatTheMaskAsks)
{
    IDeskBand* band = CreateBand();
    ASSERT_TRUE(band);
    DESKBANDINFO info = {};
    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_MODEFLAGS | DBIM_BKCOLOR;
    ASSERT_EQ(S_OK, band->GetBandInfo(7, DBIF_VIEWMODE_NORMAL, &info));
    EXPECT_EQ(250, info.ptMinSize.x);
    EXPECT_EQ(22, info.ptMinSize.y);
    EXPECT_EQ(0, info.ptMaxSize.x);
    EXPECT_EQ(-1, info.ptMaxSize.y);
    EXPECT_EQ(1, info.ptIntegral.x);
    EXPECT_EQ(1, info.ptIntegral.y);
    EXPECT_EQ(250, info.ptActual.x);
    EXPECT_EQ(22, info.ptActual.y);
    EXPECT_EQ(static_cast<DWORD>(DBIMF_VARIABLEHEIGHT), info.dwModeFlags);
    EXPECT_EQ(0u, info.dwMask & DBIM_BKCOLOR);

    // Only the title asked: nothing changes, the bit stays.
    DESKBANDINFO title = {};
    title.dwMask = DBIM_TITLE;
    title.wszTitle[0] = L'x';
    ASSERT_EQ(S_OK, band->GetBandInfo(7, 0, &title));
    EXPECT_EQ(static_cast<DWORD>(DBIM_TITLE), title.dwMask);
    EXPECT_EQ(L'x', title.wszTitle[0]);
    EXPECT_EQ(0, title.ptMinSize.x);
    EXPECT_EQ(S_OK, band->GetBandInfo(7, 0, nullptr));
    band->Release();
}

TEST_F(BandHost, ShowCloseAndFocusRouting)
{
    IDeskBand* band = CreateBand();
    ASSERT_TRUE(band);
    ASSERT_EQ(S_OK, SetSite(band, static_cast<IOleWindow*>(&m_site)));
    HWND toolBar = nullptr;
    band->GetWindow(&toolBar);
    ShowWindow(GetParent(toolBar), SW_SHOW);

    ASSERT_EQ(S_OK, band->ShowDW(TRUE));
    EXPECT_TRUE(IsWindowVisible(toolBar));
    ASSERT_EQ(S_OK, band->CloseDW(0));
    EXPECT_FALSE(GetWindowLongA(toolBar, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(IsWindow(toolBar));
    ASSERT_EQ(S_OK, band->ShowDW(TRUE));
    EXPECT_TRUE(IsWindowVisible(toolBar));
    EXPECT_EQ(E_NOTIMPL, band->ResizeBorderDW(nullptr, nullptr, FALSE));

    IInputObject* input = nullptr;
    ASSERT_EQ(S_OK, band->QueryInterface(IID_IInputObject, reinterpret_cast<void**>(&input)));
    SetFocus(m_host);
    EXPECT_EQ(S_FALSE, input->HasFocusIO());
    ASSERT_EQ(S_OK, input->UIActivateIO(TRUE, nullptr));
    PumpMessages();
    EXPECT_EQ(S_OK, input->HasFocusIO());
    ASSERT_FALSE(m_site.focusChanges.empty());
    EXPECT_TRUE(m_site.focusChanges.back());
    SetFocus(m_host);
    EXPECT_EQ(S_FALSE, input->HasFocusIO());
    input->Release();

    ASSERT_EQ(S_OK, SetSite(band, nullptr));
    band->Release();
}

TEST_F(BandHost, FollowsDocumentAndQuitEvents)
{
    IDeskBand* band = CreateBand();
    ASSERT_TRUE(band);
    ASSERT_EQ(S_OK, SetSite(band, static_cast<IOleWindow*>(&m_site)));
    ASSERT_EQ(1, m_browser.events.Connected());

    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = static_cast<IDispatch*>(&m_browser);
    DISPPARAMS complete = {args, nullptr, 2, 0};
    EXPECT_EQ(S_OK, m_browser.events.Fire(kDocumentComplete, complete));
    EXPECT_EQ(1, m_browser.events.Connected());

    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(S_OK, m_browser.events.Fire(kOnQuit, none));
    EXPECT_EQ(0, m_browser.events.Connected());

    ASSERT_EQ(S_OK, SetSite(band, nullptr));
    band->Release();
}

TEST_F(BandHost, ReleasingTheSiteFreesTheBandAndLetsTheLibraryUnload)
{
    IDeskBand* band = CreateBand();
    ASSERT_TRUE(band);
    ASSERT_EQ(S_OK, SetSite(band, static_cast<IOleWindow*>(&m_site)));
    ASSERT_GT(m_site.refs, 1u);
    ASSERT_GT(m_browser.refs, 1u);

    // The browser lets go of the band as Internet Explorer does.
    EXPECT_EQ(S_OK, SetSite(band, nullptr));
    EXPECT_EQ(0, m_browser.events.Connected());
    EXPECT_EQ(1u, m_site.refs);
    EXPECT_EQ(1u, m_browser.refs);
    EXPECT_EQ(1u, m_browser.events.refs);
    EXPECT_EQ(0, ChildCount(m_host));
    IObjectWithSite* withSite = nullptr;
    ASSERT_EQ(S_OK, band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)));
    IUnknown* site = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(E_FAIL, withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)));
    EXPECT_EQ(nullptr, site);
    withSite->Release();

    EXPECT_EQ(0u, band->Release());
    EXPECT_EQ(S_OK, CanUnload());
}

TEST_F(BandHost, ASiteWithoutAWindowIsRefused)
{
    IDeskBand* band = CreateBand();
    ASSERT_TRUE(band);
    zvtest::FakeSite windowless(nullptr, &m_browser);
    EXPECT_EQ(E_FAIL, SetSite(band, static_cast<IOleWindow*>(&windowless)));
    EXPECT_EQ(0, m_browser.events.Connected());
    HWND toolBar = reinterpret_cast<HWND>(1);
    EXPECT_EQ(S_OK, band->GetWindow(&toolBar));
    EXPECT_EQ(nullptr, toolBar);
    EXPECT_EQ(0u, band->Release());
    EXPECT_EQ(1u, windowless.refs);
    EXPECT_EQ(S_OK, CanUnload());
}

}  // namespace
