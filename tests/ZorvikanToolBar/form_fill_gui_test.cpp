// Opening web logins and filling their pages, on bands made directly with
// the test host's fake site and browser and fake documents that record what
// was typed and submitted; DocumentComplete comes through the browser's event
// connection as Internet Explorer fires it.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ZorvikanToolBar/band/ZorvikBand.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/link/LoginFormFiller.h"
#include "tests/ZorvikanToolBar/FakeBrowser.h"
#include "tests/ZorvikanToolBar/FakeDocument.h"

namespace {

const DISPID kDocumentComplete = 259;

using Texts = std::vector<std::wstring>;
using Counts = std::vector<int>;

std::unique_ptr<CRecord> WebLogin(const char* address, const char* user, const char* password)
{
    auto record = std::make_unique<CRecord>();
    record->SetTypeKey(kWebLoginsTypeKey);
    record->SetField(0, "Bank");
    record->SetField(1, user);
    record->SetField(2, password);
    record->SetField(3, address);
    return record;
}

// Fires DocumentComplete on every sink of the browser for the document of
// frame (the browser itself, or a frame's browser) at url.
HRESULT Complete(zvtest::FakeBrowser& browser, zvtest::FakeBrowser& frame, const wchar_t* url)
{
    VARIANT address;
    VariantInit(&address);
    V_VT(&address) = VT_BSTR;
    V_BSTR(&address) = SysAllocString(url);
    VARIANT args[2];
    VariantInit(&args[0]);
    V_VT(&args[0]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&args[0]) = &address;
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = static_cast<IDispatch*>(&frame);
    DISPPARAMS params = {args, nullptr, 2, 0};
    HRESULT hr = browser.events.Fire(kDocumentComplete, params);
    VariantClear(&address);
    return hr;
}

class FormFill : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        CZorvikBand::SetAutoSubmit(true);
    }
    void TearDown() override
    {
        for (auto& window : m_windows) {
            window.band->SetSite(nullptr);
            EXPECT_EQ(0u, window.band->Release());
            DestroyWindow(window.host);
        }
        m_windows.clear();
        m_sites.clear();
        m_browsers.clear();
        CZorvikBand::SetAutoSubmit(false);
        OleUninitialize();
    }

    struct Window {
        HWND host;
        zvtest::FakeBrowser& browser;
        CZorvikBand* band;
    };

    // A browser window with its band; the fixture keeps the fakes until the
    // band has let go of them.
    Window& OpenWindow()
    {
        HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 80, nullptr, nullptr, nullptr,
                                    nullptr);
        m_browsers.emplace_back();
        m_sites.emplace_back(host, &m_browsers.back());
        CZorvikBand* band = new CZorvikBand();
        EXPECT_EQ(S_OK, band->SetSite(static_cast<IOleWindow*>(&m_sites.back())));
        m_windows.push_back({host, m_browsers.back(), band});
        return m_windows.back();
    }

    std::deque<zvtest::FakeBrowser> m_browsers;
    std::deque<zvtest::FakeSite> m_sites;
    std::deque<Window> m_windows;
};

TEST_F(FormFill, FillsFieldsByNameAndSubmitsTheLoginForm)
{
    struct Case {
        const char* what;
        std::vector<const char*> inputs;
        std::vector<const char*> forms;
        const char* user;
        const char* password;
        Texts typed;
        Counts submits;
    };
    const Case cases[] = {
        {"plain", {"username", "password"}, {"loginform"}, "ann", "pw1", {L"ann", L"pw1"}, {1}},
        {"case of names", {"USERNAME", "Password"}, {"LoginForm"}, "ann", "pw1", {L"ann", L"pw1"}, {1}},
        {"later table entries", {"_ctl0:EmailAddress", "tmp_pin"}, {"gaia_loginform"}, "a", "b", {L"a", L"b"}, {1}},
        {"first matching input only",
         {"name", "email", "pass", "passwd"},
         {"search"},
         "ann",
         "pw1",
         {L"ann", L"", L"pw1", L""},
         {0}},
        {"document order over table order", {"email", "user"}, {}, "ann", "", {L"ann", L""}, {}},
        {"no matching field", {"q", nullptr, "remember"}, {"loginform"}, "ann", "pw1", {L"", L"", L""}, {1}},
        {"empty user name", {"login", "pwd"}, {"f1"}, "", "pw1", {L"", L"pw1"}, {1}},
        {"first login form", {}, {"other", "f1", "login_form"}, "ann", "pw1", {}, {0, 1, 0}},
        {"form outside the table", {"uid", "pwd"}, {"signin"}, "ann", "pw1", {L"ann", L"pw1"}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zvtest::FakeDocument page(c.inputs, c.forms);
        zvtest::FakeBrowser browser;
        browser.document = static_cast<IHTMLDocument2*>(&page);
        CLoginFormFiller filler(&browser);
        EXPECT_EQ(S_OK, filler.FillAndSubmit(c.user, CSecretString(c.password)));
        EXPECT_EQ(c.typed, page.Typed());
        EXPECT_EQ(c.submits, page.Submits());
    }
}

TEST_F(FormFill, AFailingCallEndsTheFillWithWhatWasFilledKept)
{
    zvtest::FakeDocument page({"user", "password"}, {"loginform"});
    page.inputs[1]->failSet = true;
    zvtest::FakeBrowser browser;
    browser.document = static_cast<IHTMLDocument2*>(&page);
    {
        CLoginFormFiller filler(&browser);
        EXPECT_EQ(E_FAIL, filler.FillAndSubmit("ann", CSecretString("pw1")));
    }
    EXPECT_EQ((Texts{L"ann", L""}), page.Typed());
    EXPECT_EQ((Counts{0}), page.Submits());
    // Without a document nothing is touched and nothing fails loudly.
    zvtest::FakeBrowser empty;
    CLoginFormFiller filler(&empty);
    EXPECT_EQ(E_NOTIMPL, filler.FillAndSubmit("ann", CSecretString("pw1")));
    EXPECT_EQ(1u, browser.refs);
    EXPECT_EQ(1u, page.inputList.refs);
}

TEST_F(FormFill, OpenedLoginFillsItsOwnPageOnceThenIsForgotten)
{
    Window& window = OpenWindow();
    zvtest::FakeBrowser& browser = window.browser;
    CZorvikBand* band = window.band;
    zvtest::FakeDocument page({"username", "password"}, {"loginform"});
    browser.document = static_cast<IHTMLDocument2*>(&page);

    ASSERT_EQ(S_OK, band->OpenWebLogin(*WebLogin("https://Bank.Example/login", "ann", "pw1")));
    ASSERT_EQ(1u, browser.navigated.size());
    EXPECT_EQ(L"https://Bank.Example/login", browser.navigated[0]);

    // Another site's page (a frame or an advertisement) gets nothing.
    EXPECT_EQ(S_OK, Complete(browser, browser, L"https://ads.example/frame"));
    EXPECT_EQ((Texts{L"", L""}), page.Typed());
    EXPECT_TRUE(band->HasPendingWebLogin());

    // The login's own host, in any case and on another path: filled once.
    EXPECT_EQ(S_OK, Complete(browser, browser, L"https://bank.example/signin?next=1"));
    EXPECT_EQ((Texts{L"ann", L"pw1"}), page.Typed());
    EXPECT_EQ((Counts{1}), page.Submits());
    EXPECT_FALSE(band->HasPendingWebLogin());

    // The page the submission leads to, and every later one, is left alone.
    EXPECT_EQ(S_OK, Complete(browser, browser, L"https://bank.example/account"));
    EXPECT_EQ((Texts{L"ann", L"pw1"}), page.Typed());
    EXPECT_EQ((Counts{1}), page.Submits());
}

TEST_F(FormFill, AFrameOfTheLoginsHostIsFilledThroughItsOwnBrowser)
{
    Window& window = OpenWindow();
    zvtest::FakeBrowser& browser = window.browser;
    CZorvikBand* band = window.band;
    zvtest::FakeDocument top({"q"}, {});
    browser.document = static_cast<IHTMLDocument2*>(&top);
    zvtest::FakeDocument framePage({"userid", "pin", "passcode"}, {"loginform"});
    zvtest::FakeBrowser frame;
    frame.document = static_cast<IHTMLDocument2*>(&framePage);

    ASSERT_EQ(S_OK, band->OpenWebLogin(*WebLogin("http://bank.example/", "ann", "pw1")));
    EXPECT_EQ(S_OK, Complete(browser, frame, L"http://bank.example/login-frame"));
    EXPECT_EQ((Texts{L"ann", L"", L"pw1"}), framePage.Typed());
    EXPECT_EQ((Counts{1}), framePage.Submits());
    EXPECT_EQ((Texts{L""}), top.Typed());
}

TEST_F(FormFill, AutoSubmitOffOnlyNavigatesUntilItIsSwitchedOn)
{
    CZorvikBand::SetAutoSubmit(false);
    Window& window = OpenWindow();
    zvtest::FakeBrowser& browser = window.browser;
    CZorvikBand* band = window.band;
    zvtest::FakeDocument page({"user", "pass"}, {"loginform"});
    browser.document = static_cast<IHTMLDocument2*>(&page);

    ASSERT_EQ(S_OK, band->OpenWebLogin(*WebLogin("http://bank.example/", "ann", "pw1")));
    EXPECT_EQ(1, browser.navigations);
    EXPECT_EQ(S_OK, Complete(browser, browser, L"http://bank.example/"));
    EXPECT_EQ((Texts{L"", L""}), page.Typed());
    EXPECT_EQ((Counts{0}), page.Submits());

    CZorvikBand::SetAutoSubmit(true);
    EXPECT_EQ(S_OK, Complete(browser, browser, L"http://bank.example/"));
    EXPECT_EQ((Texts{L"ann", L"pw1"}), page.Typed());
    EXPECT_EQ((Counts{1}), page.Submits());
}

TEST_F(FormFill, ASecondBrowserWindowNeverReceivesAnotherWindowsLogin)
{
    Window& firstWindow = OpenWindow();
    Window& secondWindow = OpenWindow();
    zvtest::FakeBrowser& first = firstWindow.browser;
    zvtest::FakeBrowser& second = secondWindow.browser;
    CZorvikBand* opener = firstWindow.band;
    CZorvikBand* other = secondWindow.band;
    zvtest::FakeDocument firstPage({"user", "pass"}, {"loginform"});
    zvtest::FakeDocument secondPage({"user", "pass"}, {"loginform"});
    first.document = static_cast<IHTMLDocument2*>(&firstPage);
    second.document = static_cast<IHTMLDocument2*>(&secondPage);

    ASSERT_EQ(S_OK, opener->OpenWebLogin(*WebLogin("http://bank.example/", "ann", "pw1")));
    EXPECT_FALSE(other->HasPendingWebLogin());
    // The same site completes in the other window first.
    EXPECT_EQ(S_OK, Complete(second, second, L"http://bank.example/"));
    EXPECT_EQ((Texts{L"", L""}), secondPage.Typed());
    EXPECT_EQ((Counts{0}), secondPage.Submits());
    EXPECT_EQ(S_OK, Complete(first, first, L"http://bank.example/"));
    EXPECT_EQ((Texts{L"ann", L"pw1"}), firstPage.Typed());
}

TEST_F(FormFill, OnlyWebAddressesAreOpened)
{
    Window& window = OpenWindow();
    zvtest::FakeBrowser& browser = window.browser;
    CZorvikBand* band = window.band;
    struct Case {
        const char* address;
        const wchar_t* opened;  // null: refused
    };
    const Case cases[] = {
        {"https://bank.example/login", L"https://bank.example/login"},
        {"HTTP://bank.example", L"HTTP://bank.example"},
        {"  www.bank.example/login ", L"http://www.bank.example/login"},
        {"bank.example:8443/login", L"http://bank.example:8443/login"},
        {"javascript:alert(document.cookie)", nullptr},
        {"JavaScript:void(0)", nullptr},
        {"file:///C:/windows/system32/calc.exe", nullptr},
        {"C:\\windows\\system32\\calc.exe", nullptr},
        {"\\\\server\\share\\page.htm", nullptr},
        {"vbscript:msgbox(1)", nullptr},
        {"about:blank", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        browser.navigated.clear();
        HRESULT hr = band->OpenWebLogin(*WebLogin(c.address, "ann", "pw1"));
        if (c.opened) {
            EXPECT_EQ(S_OK, hr);
            ASSERT_EQ(1u, browser.navigated.size());
            EXPECT_EQ(std::wstring(c.opened), browser.navigated[0]);
        } else {
            EXPECT_EQ(E_INVALIDARG, hr);
            EXPECT_TRUE(browser.navigated.empty());
        }
    }
}

TEST_F(FormFill, WithoutABrowserNothingIsOpened)
{
    zvtest::FakeSite site(nullptr, nullptr);
    HWND host =
        CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 80, nullptr, nullptr, nullptr, nullptr);
    site.window = host;
    CZorvikBand* band = new CZorvikBand();
    EXPECT_EQ(E_FAIL, band->SetSite(static_cast<IOleWindow*>(&site)));
    EXPECT_EQ(E_FAIL, band->OpenWebLogin(*WebLogin("http://bank.example/", "ann", "pw1")));
    band->SetSite(nullptr);
    EXPECT_EQ(0u, band->Release());
    DestroyWindow(host);
}

}  // namespace
