// The main view's Auto Fill in the program's main window: the browser it
// creates is the test's own, registered under the browser's class id for this
// process only, with fake pages that record what was typed and submitted.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/res/RecordDialogsRes.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/os/ProcessSeams.h"
#include "mainwindow/MainWindowIds.h"
#include "tests/ZorvikanToolBar/FakeBrowser.h"
#include "tests/ZorvikanToolBar/FakeDocument.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/EnableProbe.h"
#include "tests/support/ScriptedModal.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

using zvtest::ScriptedModal;
using Texts = std::vector<std::wstring>;
using Counts = std::vector<int>;

const CLSID kInternetExplorer = {0x0002DF01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const uint8_t kOtherType[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0, 0x13};
const std::vector<std::string> kFailed = {"Autofill failed"};

struct ViewMembers : CZorvikanDesktopView {
    static bool& AutoSubmit(CZorvikanDesktopView& view) { return view.*(&ViewMembers::m_bAutoSubmit); }
};

// The browser window the program opens: the page loads after a number of
// state reads, or never, or the window goes away meanwhile; the address it
// ends on is the one navigated to unless a redirection says otherwise.
class FakeInternetExplorer : public zvtest::FakeBrowser {
public:
    STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* post, VARIANT* headers) override
    {
        const VARIANT* optional[] = {flags, frame, post, headers};
        for (const VARIANT* v : optional) missingArguments = missingArguments && (!v || V_VT(v) == VT_EMPTY);
        visibleWhenNavigated = visible;
        location = redirectTo.empty() ? std::wstring(url ? url : L"") : redirectTo;
        return FakeBrowser::Navigate(url, flags, frame, post, headers);
    }
    STDMETHODIMP get_ReadyState(READYSTATE* state) override
    {
        ++stateReads;
        if (onRead) onRead(stateReads);
        if (stateReads > readsUntilGone) return RPC_E_DISCONNECTED;
        *state =
            stateReads > loadingReads && (!completeWhen || completeWhen()) ? READYSTATE_COMPLETE : READYSTATE_LOADING;
        return S_OK;
    }
    STDMETHODIMP put_Visible(VARIANT_BOOL value) override
    {
        visible = value == VARIANT_TRUE;
        return S_OK;
    }
    STDMETHODIMP put_Resizable(VARIANT_BOOL value) override
    {
        resizable = value == VARIANT_TRUE;
        return S_OK;
    }

    int loadingReads = 2;
    int readsUntilGone = 1 << 30;
    int stateReads = 0;
    std::function<void(int)> onRead;
    std::function<bool()> completeWhen;
    std::wstring redirectTo;
    bool visible = false, resizable = false, visibleWhenNavigated = false, missingArguments = true;
};

class FakeBrowserFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        ++created;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (!browser) return CO_E_SERVER_EXEC_FAILURE;
        return browser->QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    ULONG refs = 1;
    int created = 0;
    FakeInternetExplorer* browser = nullptr;
};

class AutoFill : public zvtest::AppWindowTest {
protected:
    AutoFill() : AppWindowTest("zvautofill") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        m_comStarted = true;
        // Only this process's apartment sees the fake; no browser of the
        // system is ever started.
        ASSERT_EQ(S_OK,
                  ::CoRegisterClassObject(kInternetExplorer, &m_factory, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                          REGCLS_MULTIPLEUSE, &m_cookie));
        m_factory.browser = &m_browser;
        m_browser.document = static_cast<IHTMLDocument2*>(&m_page);
        zvtest::PumpPendingMessages();
        OpenWindow();
        CRecordListCtrl& list = m_view->GetRecordList();
        if (!list.m_hWnd) {
            ASSERT_TRUE(list.Create(CRect(0, 0, 600, 300), m_view, IDC_RECORD_LIST));
        }
        list.ShowWindow(SW_SHOW);
        m_view->LoadListColumns(true);
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        SetAutoFillPageWaitMs(0);
        if (m_cookie) ::CoRevokeClassObject(m_cookie);
        if (m_comStarted) ::CoUninitialize();
    }

    CRecord* AddLogin(const char* address, const char* user, const char* password, const uint8_t* type = nullptr)
    {
        auto* record = new CRecord;
        record->SetTypeKey(type ? type : kWebLoginsTypeKey);
        record->SetField(0, "Bank");
        record->SetField(1, user);
        record->SetField(2, password);
        record->SetField(3, address);
        record->SetId(m_view->GetDatabase().GetRecords().GetCount() + 100);
        m_view->GetDatabase().GetRecords().Add(record);
        return record;
    }
    void ShowAndSelect(std::initializer_list<int> rows)
    {
        m_view->FillRecordList();
        CRecordListCtrl& list = m_view->GetRecordList();
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows) list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool CommandEnabled()
    {
        zvtest::EnableProbe ui(true);
        ui.m_nID = ID_AUTO_FILL;
        ui.DoUpdate(m_view, FALSE);
        return ui.on;
    }
    void Command() { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_AUTO_FILL, 0); }
    // The page the browser shows, replaced before a fill.
    void Page(const std::vector<const char*>& inputs, const std::vector<const char*>& forms)
    {
        m_pages.emplace_back(inputs, forms);
        m_browser.document = static_cast<IHTMLDocument2*>(&m_pages.back());
    }
    zvtest::FakeDocument& Shown() { return m_pages.empty() ? m_page : m_pages.back(); }

    FakeInternetExplorer m_browser;
    zvtest::FakeDocument m_page{{"username", "password"}, {"loginform"}};
    std::deque<zvtest::FakeDocument> m_pages;
    FakeBrowserFactory m_factory;
    DWORD m_cookie = 0;
    bool m_comStarted = false;
};

TEST_F(AutoFill, TheSelectedWebLoginIsOpenedInANewWindowAndFilled)
{
    AddLogin("https://bank.example/login", "ann", "pw1");
    ViewMembers::AutoSubmit(*m_view) = true;
    ShowAndSelect({0});
    ASSERT_EQ(1, m_view->GetRecordList().GetItemCount());
    ScriptedModal modal;
    EXPECT_TRUE(CommandEnabled());
    Command();
    EXPECT_EQ(1, m_factory.created);
    EXPECT_EQ((std::vector<std::wstring>{L"https://bank.example/login"}), m_browser.navigated);
    EXPECT_TRUE(m_browser.visibleWhenNavigated);
    EXPECT_TRUE(m_browser.resizable);
    EXPECT_TRUE(m_browser.missingArguments);
    EXPECT_EQ((Texts{L"ann", L"pw1"}), m_page.Typed());
    EXPECT_EQ((Counts{1}), m_page.Submits());
    EXPECT_TRUE(modal.MessageTexts().empty());
    // The browser object is let go (its window stays open).
    EXPECT_EQ(1u, m_browser.refs);
    EXPECT_EQ(1u, m_page.refs);
    EXPECT_EQ(1u, m_page.inputList.refs);
}

TEST_F(AutoFill, FillsAsTheDesktopsRulesSay)
{
    struct Case {
        const char* what;
        std::vector<const char*> inputs;
        std::vector<const char*> forms;
        const char* user;
        bool autoSubmit;
        std::vector<Texts> typed;  // every value each input received
        Counts submits;
    };
    const Case cases[] = {
        {"auto submit on", {"user", "pass"}, {"loginform"}, "ann", true, {{L"ann"}, {L"pw1"}}, {1}},
        {"auto submit off", {"user", "pass"}, {"loginform"}, "ann", false, {{L"ann"}, {L"pw1"}}, {0}},
        {"empty user name clears the field", {"login", "pwd"}, {"f1"}, "", true, {{L""}, {L"pw1"}}, {1}},
        {"first input named name", {"name", "email", "passwd"}, {}, "ann", true, {{L"ann"}, {}, {L"pw1"}}, {}},
        {"form outside the table", {"uid", "pwd"}, {"signin"}, "ann", true, {{L"ann"}, {L"pw1"}}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRecord* login = AddLogin("http://bank.example/", c.user, "pw1");
        ViewMembers::AutoSubmit(*m_view) = c.autoSubmit;
        Page(c.inputs, c.forms);
        m_browser.stateReads = 0;
        ScriptedModal modal;
        m_view->AutoFillRecord(login);
        EXPECT_TRUE(modal.MessageTexts().empty());
        std::vector<Texts> typed;
        for (auto& input : Shown().inputs) typed.push_back(input->typed);
        EXPECT_EQ(c.typed, typed);
        EXPECT_EQ(c.submits, Shown().Submits());
    }
}

TEST_F(AutoFill, WithoutASingleSelectedWebLoginTheCommandIsDisabledAndDoesNothing)
{
    AddLogin("http://bank.example/", "ann", "pw1", kOtherType);
    AddLogin("http://bank.example/", "bob", "pw2");
    ScriptedModal modal;
    const std::vector<std::vector<int>> selections = {{}, {0, 1}};
    for (const auto& rows : selections) {
        ShowAndSelect({});
        for (int row : rows) m_view->GetRecordList().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_FALSE(CommandEnabled());
        Command();
    }
    // The row of the other type alone.
    const int other = m_view->GetRecordList().GetRecordAt(0)->GetField(1) == CString("ann") ? 0 : 1;
    ShowAndSelect({other});
    EXPECT_FALSE(CommandEnabled());
    Command();
    m_view->AutoFillRecord(nullptr);
    EXPECT_EQ(0, m_factory.created);
    EXPECT_TRUE(modal.MessageTexts().empty());
    ShowAndSelect({1 - other});
    EXPECT_TRUE(CommandEnabled());
}

TEST_F(AutoFill, OnlyWebAddressesAreOpened)
{
    struct Case {
        const char* address;
        const wchar_t* opened;  // null: refused
    };
    const Case cases[] = {
        {"HTTPS://bank.example/login", L"HTTPS://bank.example/login"},
        {" www.bank.example/login ", L"http://www.bank.example/login"},
        {"javascript:alert(document.cookie)", nullptr},
        {"file:///C:/windows/system32/calc.exe", nullptr},
        {"C:\\windows\\system32\\calc.exe", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        m_factory.created = 0;
        m_browser.navigated.clear();
        m_browser.stateReads = 0;
        ScriptedModal modal;
        m_view->AutoFillRecord(AddLogin(c.address, "ann", "pw1"));
        if (c.opened) {
            EXPECT_EQ(1, m_factory.created);
            EXPECT_EQ((std::vector<std::wstring>{c.opened}), m_browser.navigated);
            EXPECT_TRUE(modal.MessageTexts().empty());
        } else {
            EXPECT_EQ(0, m_factory.created) << "no browser for an address that is not a web page";
            EXPECT_EQ(kFailed, modal.MessageTexts());
        }
    }
}

TEST_F(AutoFill, FailuresEndWithTheMessageAndWhatWasFilledStays)
{
    struct Case {
        const char* what;
        std::function<void()> arrange;
        Texts typed;
    };
    const Case cases[] = {
        {"the browser cannot be created", [this] { m_factory.browser = nullptr; }, {L"", L""}},
        {"the window is closed while loading", [this] { m_browser.readsUntilGone = 2; }, {L"", L""}},
        {"the page has no document", [this] { m_browser.document = nullptr; }, {L"", L""}},
        {"the page led to another site",
         [this] { m_browser.redirectTo = L"https://bank.example.evil.test/login"; },
         {L"", L""}},
        {"a field cannot be set", [this] { Shown().inputs[1]->failSet = true; }, {L"ann", L""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Page({"username", "password"}, {"loginform"});
        m_factory.browser = &m_browser;
        m_browser.stateReads = 0;
        m_browser.readsUntilGone = 1 << 30;
        m_browser.redirectTo.clear();
        ViewMembers::AutoSubmit(*m_view) = true;
        c.arrange();
        zvtest::FakeDocument& page = Shown();
        ScriptedModal modal;
        m_view->AutoFillRecord(AddLogin("https://bank.example/login", "ann", "pw1"));
        EXPECT_EQ(kFailed, modal.MessageTexts());
        EXPECT_EQ(c.typed, page.Typed());
        EXPECT_EQ((Counts{0}), page.Submits());
        EXPECT_EQ(1u, m_browser.refs);
    }
}

// A test window that notes the message posted to it.
LRESULT CALLBACK NotingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP + 7) {
        *reinterpret_cast<bool*>(::GetWindowLongPtrA(window, GWLP_USERDATA)) = true;
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(AutoFill, TheWaitForThePageHandsOnMessagesAndIsBounded)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = NotingWindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZvAutoFillNoting";
    ::RegisterClassA(&wc);
    HWND noting =
        ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(noting);
    bool handled = false;
    ::SetWindowLongPtrA(noting, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));

    // The page completes only once the program has handled a message that
    // arrived while it loaded.
    SetAutoFillPageWaitMs(20000);
    ViewMembers::AutoSubmit(*m_view) = true;
    m_browser.loadingReads = 0;
    m_browser.onRead = [&](int read) {
        if (read == 1) ::PostMessageA(noting, WM_APP + 7, 0, 0);
    };
    m_browser.completeWhen = [&] { return handled; };
    {
        ScriptedModal modal;
        m_view->AutoFillRecord(AddLogin("http://bank.example/", "ann", "pw1"));
        EXPECT_TRUE(handled);
        EXPECT_TRUE(modal.MessageTexts().empty());
        EXPECT_EQ((Texts{L"ann", L"pw1"}), m_page.Typed());
    }

    // A page that never completes is given up, and nothing is typed.
    Page({"username", "password"}, {"loginform"});
    SetAutoFillPageWaitMs(300);
    m_browser.stateReads = 0;
    m_browser.onRead = nullptr;
    m_browser.completeWhen = [] { return false; };
    {
        ScriptedModal modal;
        m_view->AutoFillRecord(AddLogin("http://bank.example/", "ann", "pw1"));
        EXPECT_EQ(kFailed, modal.MessageTexts());
        EXPECT_GT(m_browser.stateReads, 1);
        EXPECT_EQ((Texts{L"", L""}), Shown().Typed());
        EXPECT_EQ((Counts{0}), Shown().Submits());
        EXPECT_EQ(1u, m_browser.refs);
    }
    ::DestroyWindow(noting);
}

TEST_F(AutoFill, WhileAFillWaitsTheCommandIsDisabledAndNotRunAgain)
{
    AddLogin("http://bank.example/", "ann", "pw1");
    ShowAndSelect({0});
    bool enabledMeanwhile = true;
    m_browser.onRead = [&](int read) {
        if (read != 1) return;
        enabledMeanwhile = CommandEnabled();
        Command();
    };
    ScriptedModal modal;
    Command();
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_EQ(1, m_factory.created);
    EXPECT_EQ((Texts{L"ann", L"pw1"}), m_page.Typed());
}

TEST_F(AutoFill, TheItemMenuCarriesTheCommand)
{
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_TRUE(menu);
    std::string found;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char title[64] = {};
        ::GetMenuStringA(menu, i, title, sizeof title, MF_BYPOSITION);
        if (std::string(title) != "&Item") continue;
        char text[64] = {};
        if (::GetMenuStringA(::GetSubMenu(menu, i), ID_AUTO_FILL, text, sizeof text, MF_BYCOMMAND) > 0) found = text;
    }
    ::DestroyMenu(menu);
    EXPECT_EQ("Auto Fill", found);
}

TEST_F(AutoFill, TheRecordEditorsAutofillButtonFillsItsRecord)
{
    CRecord* login = AddLogin("http://bank.example/", "ann", "pw1");
    ViewMembers::AutoSubmit(*m_view) = false;
    ScriptedModal modal;
    bool enabled = false;
    modal.OnModal([&](CWnd& dlg) {
        enabled = ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_DV_AUTOFILL)) != FALSE;
        ScriptedModal::PressButton(dlg, IDC_DV_AUTOFILL);
        ScriptedModal::PressButton(dlg, IDCANCEL);
    });
    m_view->EditRecord(login);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(1, m_factory.created);
    EXPECT_EQ((Texts{L"ann", L"pw1"}), m_page.Typed());
    EXPECT_EQ((Counts{0}), m_page.Submits());
}

}  // namespace
