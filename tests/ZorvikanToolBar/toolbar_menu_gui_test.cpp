// The tool bar's drop-down menu and search pop-up on a band made with the
// test host's fake site and browser, over a database the store wrote in a
// scratch data root: what each lists, in which order and with which ids, the
// pick by position (also after the data was read again), the Auto Submit
// switch and its check mark, and nothing shown while the data stays locked.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ZorvikanToolBar/band/BandWindows.h"
#include "ZorvikanToolBar/band/ZorvikBand.h"
#include "ZorvikanToolBar/res/ToolBarResource.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "tests/ZorvikanToolBar/FakeBrowser.h"
#include "tests/ZorvikanToolBar/PluginScratchTest.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

const uint8_t kOtherTypeKey[8] = {0, 0, 0, 0, 0, 0, 0, 0x03};

struct Item {
    UINT id;
    std::string text;
    bool checked;
};

struct Shown {
    std::vector<Item> items;      // the pop-up's own items
    std::vector<Item> webLogins;  // its "Web Logins..." sub-menu, if any
    int x = 0, y = 0;
};
std::vector<Shown> g_shown;

std::vector<Item> ItemsOf(HMENU menu)
{
    std::vector<Item> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[300] = {};
        GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        out.push_back({GetMenuItemID(menu, i), text, (state & MF_CHECKED) != 0});
    }
    return out;
}

void RecordPopup(HMENU popup, int x, int y, HWND)
{
    Shown shown;
    shown.items = ItemsOf(popup);
    HMENU sub = GetSubMenu(popup, 1);
    if (sub) shown.webLogins = ItemsOf(sub);
    shown.x = x;
    shown.y = y;
    g_shown.push_back(shown);
}

std::vector<std::string> Texts(const std::vector<Item>& items)
{
    std::vector<std::string> out;
    for (const Item& item : items) out.push_back(item.text);
    return out;
}

std::vector<UINT> Ids(const std::vector<Item>& items)
{
    std::vector<UINT> out;
    for (const Item& item : items) out.push_back(item.id);
    return out;
}

struct Login {
    const uint8_t* type;
    const char* description;
    const char* notes;
    const char* address;
};

class ToolBarMenu : public PluginScratchTest {
protected:
    ToolBarMenu() : PluginScratchTest("plugin-menu") {}

    void SetUp() override
    {
        PluginScratchTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        g_shown.clear();
        m_previousShower = CZorvikToolBarWnd::SetPopupShower(&RecordPopup);
        m_host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 80, nullptr, nullptr, nullptr,
                                 nullptr);
        m_site.window = m_host;
        m_band = new CZorvikBand();
        ASSERT_EQ(S_OK, m_band->SetSite(static_cast<IOleWindow*>(&m_site)));
    }
    void TearDown() override
    {
        m_band->SetSite(nullptr);
        EXPECT_EQ(0u, m_band->Release());
        DestroyWindow(m_host);
        CZorvikToolBarWnd::SetPopupShower(m_previousShower);
        CZorvikBand::SetAutoSubmit(false);
        OleUninitialize();
        PluginScratchTest::TearDown();
    }

    CZorvikToolBarWnd& ToolBar() { return m_band->Windows().ToolBar(); }

    void WriteDatabase(const std::vector<Login>& logins, const char* password = nullptr)
    {
        fs::path path = DatabasePath(ToolBar().Communicator().Data());
        fs::create_directories(path.parent_path());
        fs::remove(path);
        CDatabaseObj db;
        ASSERT_EQ(0, db.Load(CString(path.string().c_str())));
        for (const Login& login : logins) {
            CRecord* record = new CRecord();
            record->SetTypeKey(login.type);
            record->SetField(0, login.description);
            record->SetField(1, "ann");
            record->SetField(2, "pw1");
            record->SetField(3, login.address);
            record->SetMainText(login.notes);
            db.GetRecords().Add(record);
            m_uids.push_back(std::vector<uint8_t>(record->GetUid(), record->GetUid() + kUniqueKeySize));
        }
        if (password)
            ASSERT_EQ(0, GetMasterPwdMgr()->StoreNewPassword(CSecretString(password), db));
        else
            ASSERT_EQ(0, db.Save());
        GetMasterPwdMgr()->ClearPassword();
    }

    // The button's drop-down, as the tool bar notifies its parent.
    LRESULT DropDown()
    {
        NMTOOLBARA info = {};
        info.hdr.hwndFrom = ToolBar().m_hWnd;
        info.hdr.idFrom = 0;
        info.hdr.code = TBN_DROPDOWN;
        info.iItem = ID_TOOLBAR_BUTTON;
        SendMessageA(ToolBar().m_hWnd, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&info.rcButton));
        return SendMessageA(GetParent(ToolBar().m_hWnd), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    }
    LRESULT Command(UINT id) { return SendMessageA(ToolBar().m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    HWND m_host = nullptr;
    zvtest::FakeBrowser m_browser;
    zvtest::FakeSite m_site{nullptr, &m_browser};
    CZorvikBand* m_band = nullptr;
    CZorvikToolBarWnd::PopupShower m_previousShower = nullptr;
    std::vector<std::vector<uint8_t>> m_uids;
};

const std::vector<Login> kLogins = {
    {kWebLoginsTypeKey, "10 Mail", "", "https://mail.example/"},
    {kWebLoginsTypeKey, "Shop", "my bank card", "https://shop.example/"},
    {kOtherTypeKey, "Bank card", "", "https://card.example/"},
    {kWebLoginsTypeKey, "Bank", "", "https://first-bank.example/"},
    {kWebLoginsTypeKey, "9 Bank", "", "https://nine.example/"},
    {kWebLoginsTypeKey, "Bank", "", "https://second-bank.example/"},
};

TEST_F(ToolBarMenu, DropDownListsTheWebLoginsInMenuOrderAndPicksByPosition)
{
    WriteDatabase(kLogins);
    EXPECT_EQ(0, DropDown());
    ASSERT_EQ(1u, g_shown.size());
    const Shown& menu = g_shown[0];
    EXPECT_EQ((std::vector<std::string>{"www.corvantide.example", "Web Logins...", "New Record...",
                                        "Security Options...", "Auto Submit Web Logins", "User Guide..."}),
              Texts(menu.items));
    EXPECT_EQ((std::vector<std::string>{"9 Bank", "10 Mail", "Bank", "Bank", "Shop"}), Texts(menu.webLogins));
    EXPECT_EQ((std::vector<UINT>{0, 1, 2, 3, 4}), Ids(menu.webLogins));
    EXPECT_FALSE(menu.items[4].checked);

    // Two logins of one name: each entry opens its own.
    struct Pick {
        UINT id;
        const wchar_t* opened;
    };
    const Pick picks[] = {
        {0, L"https://nine.example/"},
        {2, L"https://first-bank.example/"},
        {3, L"https://second-bank.example/"},
        {4, L"https://shop.example/"},
        {5, nullptr},    // beyond the list
        {500, nullptr},  // the range's last id
    };
    for (const Pick& pick : picks) {
        SCOPED_TRACE(pick.id);
        m_browser.navigated.clear();
        EXPECT_EQ(0, Command(pick.id));
        if (pick.opened) {
            ASSERT_EQ(1u, m_browser.navigated.size());
            EXPECT_EQ(std::wstring(pick.opened), m_browser.navigated[0]);
        } else {
            EXPECT_TRUE(m_browser.navigated.empty());
        }
    }
}

TEST_F(ToolBarMenu, APickFindsItsLoginInTheDataAsItIsNow)
{
    WriteDatabase(kLogins);
    ASSERT_EQ(0, DropDown());
    ASSERT_EQ(1u, g_shown.size());
    ASSERT_EQ("Bank", g_shown[0].webLogins[3].text);

    // The program changed the file and the data was read again since: it
    // removed "10 Mail" and the first "Bank" and added another "Bank". Each
    // entry still names its own login; one that has gone opens nothing.
    {
        fs::path path = DatabasePath(ToolBar().Communicator().Data());
        CDatabaseObj db;
        ASSERT_EQ(0, db.Load(CString(path.string().c_str())));
        db.GetRecords().Remove(db.GetRecords().FindByUid(m_uids[0].data()));
        db.GetRecords().Remove(db.GetRecords().FindByUid(m_uids[3].data()));
        CRecord* added = new CRecord();
        added->SetTypeKey(kWebLoginsTypeKey);
        added->SetField(0, "Bank");
        added->SetField(3, "https://third-bank.example/");
        db.GetRecords().Add(added);
        ASSERT_EQ(0, db.Save());
    }
    ToolBar().ShowSearchResults("");  // reads the file again
    struct Pick {
        UINT id;
        const wchar_t* opened;
    };
    const Pick picks[] = {
        {0, L"https://nine.example/"},
        {1, nullptr},  // "10 Mail" has gone
        {2, nullptr},  // so has the first "Bank"
        {3, L"https://second-bank.example/"},
        {4, L"https://shop.example/"},
    };
    for (const Pick& pick : picks) {
        SCOPED_TRACE(pick.id);
        m_browser.navigated.clear();
        Command(pick.id);
        if (pick.opened) {
            ASSERT_EQ(1u, m_browser.navigated.size());
            EXPECT_EQ(std::wstring(pick.opened), m_browser.navigated[0]);
        } else {
            EXPECT_TRUE(m_browser.navigated.empty());
        }
    }
}

TEST_F(ToolBarMenu, SearchListsMatchesInDatabaseOrderEvenWhenNone)
{
    WriteDatabase(kLogins);
    struct Case {
        const char* text;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"bank", {"Shop", "Bank", "9 Bank", "Bank"}},  // "Shop" by its notes
        {"", {"10 Mail", "Shop", "Bank", "9 Bank", "Bank"}},
        {"MAIL", {"10 Mail"}},
        {"nowhere", {}},
    };
    RECT edit = {};
    GetWindowRect(ToolBar().Edit().m_hWnd, &edit);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_shown.clear();
        ToolBar().ShowSearchResults(c.text);
        ASSERT_EQ(1u, g_shown.size());  // an empty pop-up is shown too
        EXPECT_EQ(c.found, Texts(g_shown[0].items));
        std::vector<UINT> ids;
        for (size_t i = 0; i < c.found.size(); ++i) ids.push_back(static_cast<UINT>(501 + i));
        EXPECT_EQ(ids, Ids(g_shown[0].items));
        EXPECT_EQ(edit.left, g_shown[0].x);
        EXPECT_EQ(edit.bottom, g_shown[0].y);
    }
    ToolBar().ShowSearchResults("bank");
    m_browser.navigated.clear();
    Command(504);
    ASSERT_EQ(1u, m_browser.navigated.size());
    EXPECT_EQ(L"https://second-bank.example/", m_browser.navigated[0]);
    m_browser.navigated.clear();
    Command(505);
    EXPECT_TRUE(m_browser.navigated.empty());
}

TEST_F(ToolBarMenu, AutoSubmitSwitchAndItsCheckMark)
{
    WriteDatabase(kLogins);
    EXPECT_FALSE(CZorvikBand::IsAutoSubmitOn());
    EXPECT_EQ(0, Command(ID_AUTO_SUBMIT));
    EXPECT_TRUE(CZorvikBand::IsAutoSubmitOn());
    DropDown();
    ASSERT_EQ(1u, g_shown.size());
    EXPECT_TRUE(g_shown[0].items[4].checked);
    Command(ID_AUTO_SUBMIT);
    EXPECT_FALSE(CZorvikBand::IsAutoSubmitOn());
    DropDown();
    ASSERT_EQ(2u, g_shown.size());
    EXPECT_FALSE(g_shown[1].items[4].checked);
}

TEST_F(ToolBarMenu, LockedDataShowsNothing)
{
    WriteDatabase(kLogins, "secret");
    // The password dialog is cancelled.
    zvtest::ScriptedModal modal;
    EXPECT_EQ(0, DropDown());
    ToolBar().ShowSearchResults("bank");
    EXPECT_TRUE(g_shown.empty());
    EXPECT_FALSE(IsPluginUnlocked());
    EXPECT_EQ(2u, modal.Unanswered().size());
}

TEST_F(ToolBarMenu, HomePageAndCommandsOutsideTheTable)
{
    EXPECT_EQ(0, Command(ID_TOOLBAR_BUTTON));
    EXPECT_EQ(0, Command(ID_HOME_PAGE));
    ASSERT_EQ(2u, m_browser.navigated.size());
    EXPECT_EQ(L"https://www.corvantide.example/", m_browser.navigated[0]);
    // A user guide that is not there: nothing, and no message.
    zvtest::ScriptedModal modal;
    EXPECT_EQ(0, Command(ID_USER_GUIDE));
    EXPECT_TRUE(modal.MessageTexts().empty());
}

}  // namespace
