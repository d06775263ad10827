// The main view's first update in this process, made by the program's
// document template on a scratch data root: a database that cannot be loaded
// is reported and never saved over, and web logins that the plug-in hands
// over before the database is open are held until it is.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <filesystem>
#include <memory>
#include <cstring>
#include <string>
#include <vector>

#include "app/frame/MainFrm.h"
#include "app/frame/ZorvikanDesktopDoc.h"
#include "app/history/LogEvents.h"
#include "app/res/Resource.h"
#include "app/services/SyncViewRegistry.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/link/WebLoginLink.h"
#include "core/prefs/AppPrefMgr.h"
#include "framework/DocTemplate.h"
#include "mainwindow/dialogs/DetailViewDlg.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

class ViewStartup : public zvtest::AppWindowTest {
protected:
    ViewStartup() : AppWindowTest("zvview") {}

    std::filesystem::path DatabasePath() const { return m_root.Path() / "_Standalone_" / "ZorvikanDatabase.zdb"; }
};

TEST_F(ViewStartup, ADatabaseThatDoesNotLoadIsReportedHeldReadOnlyAndNeverSaved)
{
    const std::string bytes(400, '\x33');
    std::filesystem::create_directories(DatabasePath().parent_path());
    m_root.WriteFile("_Standalone_/ZorvikanDatabase.zdb", bytes);
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    OpenWindow();
    EXPECT_NE(0, m_view->GetOpenResult());
    EXPECT_TRUE(m_view->GetDatabase().IsReadOnly());
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_NE(std::string::npos, modal.MessageBoxes()[0].text.find("could not be opened"));
    EXPECT_NE(0, m_view->GetDatabase().Save());
    ::SendMessageA(m_hFrame, WM_CLOSE, 0, 0);
    EXPECT_EQ(bytes, zvtest::ReadFileBytes(DatabasePath()));
}

TEST_F(ViewStartup, ADatabaseThatLoadsShowsNothing)
{
    zvtest::ScriptedModal modal;
    OpenWindow();
    EXPECT_EQ(0, m_view->GetOpenResult());
    EXPECT_FALSE(m_view->GetDatabase().IsReadOnly());
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(ViewStartup, WebLoginsBeforeTheFirstUpdateAreHeldThenHandedOn)
{
    OpenWindow();
    // Each web login handed on opens the record editor on it: note its
    // title and address, then cancel.
    zvtest::ScriptedModal modal;
    std::vector<std::string> opened;
    for (int i = 0; i < 4; ++i)
        modal.OnModal([&](CWnd& dlg) {
            char title[64] = {}, address[64] = {};
            ::GetDlgItemTextA(dlg.m_hWnd, CDetailViewDlg::FieldEditId(0), title, sizeof title);
            ::GetDlgItemTextA(dlg.m_hWnd, CDetailViewDlg::FieldEditId(3), address, sizeof address);
            opened.push_back(std::string(title) + " " + address);
            zvtest::ScriptedModal::PressButton(dlg, IDCANCEL);
        });
    // A view made as the template makes it, before its first update; a
    // window of its own, so that the frame keeps its main view.
    CZorvikanDesktopView* early =
        static_cast<CZorvikanDesktopView*>(RUNTIME_CLASS(CZorvikanDesktopView)->CreateObject());
    ASSERT_NE(nullptr, early);
    ASSERT_TRUE(early->CreateEx(0, nullptr, "early", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    ::SendMessageA(early->m_hWnd, WM_ADD_WEB_LOGIN, (WPARAM) "Bank", (LPARAM) "https://bank.example/");
    ::SendMessageA(early->m_hWnd, WM_ADD_WEB_LOGIN, (WPARAM) "Mail", (LPARAM) "https://mail.example/");
    EXPECT_EQ(0, early->GetWebLoginsHandedOn());
    EXPECT_FALSE(early->IsWebLoginHandOverReady());
    early->OnInitialUpdate();
    EXPECT_EQ(2, early->GetWebLoginsHandedOn());
    EXPECT_EQ(0, early->GetPluginLink().GetBusy());
    ::SendMessageA(early->m_hWnd, WM_ADD_WEB_LOGIN, (WPARAM) "Shop", (LPARAM) "https://shop.example/");
    EXPECT_EQ(3, early->GetWebLoginsHandedOn());
    early->DestroyWindow();
    // The view that came up with the frame took hand-overs at once.
    ::SendMessageA(m_view->m_hWnd, WM_ADD_WEB_LOGIN, (WPARAM) "Shop", (LPARAM) "https://shop.example/");
    EXPECT_EQ(1, m_view->GetWebLoginsHandedOn());
    EXPECT_EQ((std::vector<std::string>{"Bank https://bank.example/", "Mail https://mail.example/",
                                        "Shop https://shop.example/", "Shop https://shop.example/"}),
              opened);
    EXPECT_TRUE(modal.Unanswered().empty());
}

// Writes down what the view registered with the sync server.
class FakeSyncRegistry : public ISyncViewRegistry {
public:
    void AddProgressWindow(HWND window) override { windows.push_back(window); }
    void RemoveProgressWindow(HWND window) override
    {
        for (auto it = windows.begin(); it != windows.end(); ++it)
            if (*it == window) {
                windows.erase(it);
                return;
            }
        strayRemovals++;
    }
    void SetDatabase(CDatabaseObj* db) override { database = db; }
    std::vector<HWND> windows;
    CDatabaseObj* database = nullptr;
    int strayRemovals = 0;
};

TEST_F(ViewStartup, RegistersWithTheSyncServerAtTheFirstUpdateAndUnregistersWhenItGoes)
{
    FakeSyncRegistry registry;
    theApp.SetSyncViewRegistry(&registry);
    OpenWindow();
    const HWND view = m_view->m_hWnd;
    EXPECT_EQ(std::vector<HWND>{view}, registry.windows);
    EXPECT_EQ(&m_view->GetDatabase(), registry.database);
    ::SendMessageA(m_hFrame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(registry.windows.empty());
    EXPECT_EQ(nullptr, registry.database);
    EXPECT_EQ(0, registry.strayRemovals);
    theApp.SetSyncViewRegistry(nullptr);
}

}  // namespace
