// The main frame and the main view in this process, made by the program's
// document template on a scratch data root: change notices reach the view
// through the frame, a second start's command line is read within its
// bounds, the window placement goes to "Winpos" and comes back from it, and
// the document never asks to be saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/AppIds.h"
#include "app/history/LogEvents.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WindowPlacement.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "app/frame/ZorvikanDesktopDoc.h"
#include "app/res/Resource.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "framework/DocTemplate.h"
#include "framework/FrameworkRes.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"
#include "toolkit/ToolkitIds.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

class ShellFrame : public zvtest::AppWindowTest {
protected:
    ShellFrame() : AppWindowTest("zvshell") {}

    LRESULT SendCopyData(ULONG_PTR id, const void* data, DWORD size)
    {
        COPYDATASTRUCT cds{id, size, const_cast<void*>(data)};
        return ::SendMessageA(m_hFrame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    }
};

TEST_F(ShellFrame, FrameIsTheProgramsWindowWithItsStatusBar)
{
    OpenWindow();
    char name[64] = {};
    ::GetClassNameA(m_hFrame, name, sizeof(name));
    EXPECT_STREQ("Zorvikan Desktop", name);
    // The main view names the user in the caption.
    char title[64] = {};
    ::GetWindowTextA(m_hFrame, title, sizeof(title));
    EXPECT_EQ("Zorvikan Desktop - " + std::string(App().GetCurrentUser()->GetDisplayName()), std::string(title));
    HWND bar = ::GetDlgItem(m_hFrame, AFX_IDW_STATUS_BAR);
    ASSERT_NE(nullptr, bar);
    // "Show Status bar" is not set on a new machine: the bar is hidden.
    EXPECT_FALSE(::IsWindowVisible(bar));
    EXPECT_EQ(4, m_frame->GetStatusBar().GetCount());
    EXPECT_EQ((CView*)m_view, m_frame->GetActiveView());
    // The first update opened (and so created) the user's database.
    EXPECT_EQ(0, m_view->GetOpenResult());
    EXPECT_TRUE(std::filesystem::exists(m_root / "_Standalone_" / "ZorvikanDatabase.zdb"));
}

TEST_F(ShellFrame, DialogToolbarSitsAtTheTopAndReachesTheView)
{
    OpenWindow();
    zvtest::PumpPendingMessages();  // the bar binds its controls once it exists
    HWND bar = ::GetDlgItem(m_hFrame, IDD_DIALOG_TOOLBAR);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(bar, m_frame->GetDialogToolbar().m_hWnd);
    EXPECT_TRUE(m_frame->GetDialogToolbar().IsBound());
    RECT barRect{}, viewRect{}, client{};
    ::GetWindowRect(bar, &barRect);
    ::GetWindowRect(m_view->m_hWnd, &viewRect);
    ::MapWindowPoints(nullptr, m_hFrame, reinterpret_cast<POINT*>(&barRect), 2);
    ::MapWindowPoints(nullptr, m_hFrame, reinterpret_cast<POINT*>(&viewRect), 2);
    ::GetClientRect(m_hFrame, &client);
    EXPECT_EQ(0, barRect.top);
    EXPECT_EQ(client.right, barRect.right);
    EXPECT_LE(barRect.bottom, viewRect.top);  // the view starts below the bar
    for (int id : {IDC_TOOLBAR_CATEGORIES, IDC_TOOLBAR_TYPES, IDC_TOOLBAR_SEARCH, ID_VIEW_PANEL, ID_VIEW_LIST,
                   ID_VIEW_TREE, ID_OPTIONS, ID_LOCK_APP, IDC_TOOLBAR_SEARCH_CUE})
        EXPECT_NE(nullptr, ::GetDlgItem(bar, id)) << id;
    // Every button has its normal picture.
    EXPECT_NE(nullptr, m_frame->GetDialogToolbar().m_btnLock.m_bitmap.m_hObject);
    EXPECT_NE(nullptr, m_frame->GetDialogToolbar().m_btnTreeView.m_bitmapDisabled.m_hObject);
    // The bar and its search box find the view through the frame.
    EXPECT_EQ((LRESULT)m_view->m_hWnd, ::SendMessageA(m_hFrame, WM_TOOLKIT_GET_MAIN_VIEW, 0, 0));
}

TEST_F(ShellFrame, ViewOwnsThePluginLinkWhileItLives)
{
    auto programRunning = [] {
        HANDLE event = ::OpenEventA(SYNCHRONIZE, FALSE, "Corvantide-Zorvikan-AppRunning");
        if (event) ::CloseHandle(event);
        return event != nullptr;
    };
    EXPECT_FALSE(programRunning());
    OpenWindow();
    // The plug-in sees the program running, and one worker waits for it.
    EXPECT_TRUE(programRunning());
    EXPECT_EQ(1, m_view->GetPluginLink().GetWorkerCount());
    EXPECT_EQ(0, m_view->GetPluginLink().GetBusy());
    CloseWindow();
    zvtest::PumpPendingMessages();
    EXPECT_FALSE(programRunning());
}

TEST_F(ShellFrame, StatusBarShownWhenThePreferenceSaysSo)
{
    Prefs()->SetShowStatusBar(CZorvikanDesktopApp::GetPrefsSection(), 1);
    OpenWindow();
    m_frame->ShowWindow(SW_SHOW);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(m_hFrame, AFX_IDW_STATUS_BAR)));
    // The view stores the bar's state when it goes.
    m_frame->ShowControlBar(&m_frame->GetStatusBar(), FALSE, FALSE);
    CloseWindow();
    EXPECT_FALSE(Prefs()->GetShowStatusBar(CZorvikanDesktopApp::GetPrefsSection()));
}

TEST_F(ShellFrame, ChangeNoticeReachesTheViewThroughTheFrame)
{
    OpenWindow();
    // Another module registering the name gets the same number.
    const UINT notice = ::RegisterWindowMessageA("WM_Zorvikan10_DatabaseNotify");
    ASSERT_NE(0u, notice);
    EXPECT_EQ(WM_Zorvikan10_DatabaseNotify, notice);

    m_view->SetEditingDialogOpen(true);
    EXPECT_EQ(1, ::SendMessageA(m_hFrame, notice, MAKEWPARAM(6, 0), 0));
    m_view->SetEditingDialogOpen(false);
    EXPECT_EQ(0, ::SendMessageA(m_hFrame, notice, MAKEWPARAM(6, 0), 0));

    // Locked: a posted reload is only remembered.
    m_view->SetLocked(true);
    EXPECT_FALSE(m_view->IsReloadDue());
    ASSERT_TRUE(::PostMessageA(m_hFrame, notice, MAKEWPARAM(1, 0), 1234));
    zvtest::PumpPendingMessages();
    EXPECT_TRUE(m_view->IsReloadDue());
    for (WORD op : {1, 2, 3, 4}) EXPECT_EQ(0, ::SendMessageA(m_hFrame, notice, MAKEWPARAM(op, 2), 77)) << op;
}

TEST_F(ShellFrame, SecondStartsCommandLineIsOfferedForImport)
{
    OpenWindow();
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDNO);
    modal.AnswerMessageBox(IDNO);
    modal.AnswerMessageBox(IDNO);

    // The text is bounded by cbData: no terminating zero needed, nothing
    // read beyond.
    const char unterminated[] = {'C', ':', '\\', 'a', '.', 'z', 'k', 'v', 'X', 'Y', 'Z'};
    EXPECT_EQ(TRUE, SendCopyData(0, unterminated, 8));
    const char quoted[] = "\"C:\\My Data\\export file.zkv\"";
    EXPECT_EQ(TRUE, SendCopyData(0, quoted, sizeof(quoted)));
    // A zero inside ends the text.
    const char embedded[] = "C:\\b.zkv\0C:\\evil.zkv";
    EXPECT_EQ(TRUE, SendCopyData(0, embedded, sizeof(embedded)));

    EXPECT_EQ((std::vector<std::string>{"Do you want to import the file a.zkv?",
                                        "Do you want to import the file export file.zkv?",
                                        "Do you want to import the file b.zkv?"}),
              modal.MessageTexts());
}

TEST_F(ShellFrame, CopyDataThatNamesNoFileIsNotImported)
{
    OpenWindow();
    zvtest::ScriptedModal modal;
    const char path[] = "C:\\a.zkv";
    struct Case {
        const char* what;
        ULONG_PTR id;
        const void* data;
        DWORD size;
        LRESULT result;
    } cases[] = {
        {"other identifier", 1, path, sizeof(path), FALSE},
        {"identifier 0x10000", 0x10000, path, sizeof(path), FALSE},
        {"no data but a length", 0, nullptr, 20, FALSE},
        {"empty", 0, nullptr, 0, TRUE},
        {"a switch", 0, "/rl", 4, TRUE},
        {"only a zero", 0, "", 1, TRUE},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, SendCopyData(c.id, c.data, c.size)) << c.what;
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(ShellFrame, PlacementGoesToWinposAndComesBack)
{
    RECT area;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    const PlacementRect work{area.left, area.top, area.right, area.bottom};
    struct Case {
        const char* winpos;
        const char* commandLine;
        int shift;
    } cases[] = {
        // No maximised window here: under Xvfb without a window manager,
        // Wine's X driver fails when a test process destroys one. The
        // program's own run is tested maximised (program_run_gui_test).
        {"0100 0100 0900 0700 0000", "", 0},     {"0010 0010 0300 0200 0000", "", 0},
        {"0100 0100 0900 0700 0000", "/rl", 30}, {"0900 0700 0100 0100 0000", "", 0},  // corners the wrong way round
        {"5000 5000 6000 5500 0000", "", 0},                                           // off the screen: pulled back
    };
    for (const Case& c : cases) {
        OpenWindow();
        theApp.RestoreWindowPlacement(*m_frame, c.winpos, c.commandLine);
        SavedPlacement saved;
        ASSERT_TRUE(ParseWindowPos(c.winpos, saved));
        PlacementRect expected = ShiftPlacement(FitIntoWorkArea(NormalizePlacementRect(saved.rect), work), c.shift);

        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        ASSERT_TRUE(m_frame->GetWindowPlacement(&wp));
        EXPECT_EQ(saved.maximized == 1, wp.showCmd == SW_SHOWMAXIMIZED) << c.winpos;
        EXPECT_EQ(expected.left, wp.rcNormalPosition.left) << c.winpos;
        EXPECT_EQ(expected.top, wp.rcNormalPosition.top) << c.winpos;

        // Closing the window stores the same placement again.
        RECT normal = wp.rcNormalPosition;
        CloseWindow();
        EXPECT_STREQ(
            (LPCSTR)FormatWindowPos({normal.left, normal.top, normal.right, normal.bottom}, saved.maximized == 1),
            (LPCSTR)Prefs()->GetWindowPos(theApp.GetCurrentUser()))
            << c.winpos;
    }
}

TEST_F(ShellFrame, EmptyWinposKeepsTheDefaultPlacement)
{
    OpenWindow();
    WINDOWPLACEMENT before{}, after{};
    before.length = after.length = sizeof(WINDOWPLACEMENT);
    m_frame->GetWindowPlacement(&before);
    theApp.RestoreWindowPlacement(*m_frame, "", "");
    m_frame->GetWindowPlacement(&after);
    EXPECT_EQ(before.rcNormalPosition.left, after.rcNormalPosition.left);
    EXPECT_EQ(before.showCmd, after.showCmd);
}

TEST_F(ShellFrame, DocumentKeepsNoTitleAndNeverAsksToSave)
{
    OpenWindow();
    CDocument* doc = m_frame->GetActiveDocument();
    ASSERT_NE(nullptr, doc);
    doc->SetTitle("C:\\some\\file.zkv");
    EXPECT_TRUE(doc->GetTitle().IsEmpty());
    zvtest::ScriptedModal modal;
    CloseWindow();
    EXPECT_FALSE(::IsWindow(m_hFrame));
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(ShellFrame, MinimizingHidesInTheTrayOnlyWhenSetTo)
{
    OpenWindow();
    m_frame->ShowWindow(SW_SHOW);
    m_frame->SetMinimizeToTray(0);
    ::SendMessageA(m_hFrame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(m_hFrame));
    ::SendMessageA(m_hFrame, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsIconic(m_hFrame));

    m_frame->SetMinimizeToTray(1);
    ::SendMessageA(m_hFrame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsIconic(m_hFrame));
    EXPECT_FALSE(::IsWindowVisible(m_hFrame));
    // A double-click on the tray icon brings the window back.
    EXPECT_EQ(0, ::SendMessageA(m_hFrame, WM_TRAY_NOTIFY, ZV_TRAY_ICON_ID, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(::IsWindowVisible(m_hFrame));
}

TEST_F(ShellFrame, UserMenuAndComboFollowTheUserList)
{
    CUserList& users = theApp.GetUsers();
    CUserItem* second = users.AddNewUser("Second User", "Second");
    ASSERT_NE(nullptr, second);
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 1, "old");
    FillUserMenu(users, menu, 40000, second);
    ASSERT_EQ(2, ::GetMenuItemCount(menu));
    EXPECT_EQ(40000u, ::GetMenuItemID(menu, 0));
    EXPECT_EQ(40001u, ::GetMenuItemID(menu, 1));
    EXPECT_EQ(40001, second->GetId());
    EXPECT_EQ(second, users.FindById(40001));
    EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED);
    // A current user outside the list checks the first item.
    FillUserMenu(users, menu, 40000, nullptr);
    EXPECT_TRUE(::GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
    ::DestroyMenu(menu);

    CWnd combo;
    ASSERT_TRUE(combo.CreateEx(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 200, 200, nullptr, nullptr));
    FillUserCombo(users, combo, second);
    EXPECT_EQ(2, combo.SendMessage(CB_GETCOUNT));
    LRESULT sel = combo.SendMessage(CB_GETCURSEL);
    EXPECT_EQ((LRESULT)second, combo.SendMessage(CB_GETITEMDATA, (WPARAM)sel));
    FillUserCombo(users, combo, nullptr);
    EXPECT_EQ(CB_ERR, combo.SendMessage(CB_GETCURSEL));
    combo.DestroyWindow();
}

}  // namespace

TEST_F(ShellFrame, MainMenuIsOwnerDrawnWithTheToolBarImages)
{
    OpenWindow();
    m_frame->InstallMainMenu(m_frame->BuildMainMenu());
    HMENU bar = ::GetMenu(m_hFrame);
    ASSERT_NE(nullptr, bar);
    const int menus = ::GetMenuItemCount(bar);
    ASSERT_GE(menus, 3);
    HMENU help = ::GetSubMenu(bar, menus - 1);
    ASSERT_TRUE(BCMenu::IsBCMenu(help));
    CMenu* object = CMenu::FromHandlePermanent(help);
    ASSERT_TRUE(object && object->IsKindOf(RUNTIME_CLASS(BCMenu)));
    std::vector<const BCMenuData*> records;
    // The help commands, each with its image; About and the separator have none.
    for (const BCMenuData* record : static_cast<BCMenu*>(object)->GetRecords())
        if (record->commandId != ID_APP_ABOUT && record->commandId != 0) records.push_back(record);
    ASSERT_EQ(4u, records.size());
    for (const BCMenuData* record : records) {
        EXPECT_TRUE(record->flags & MF_OWNERDRAW);
        EXPECT_GE(record->sharedImageIndex, 0) << record->commandId;  // every help command has its image
        EXPECT_TRUE(BCMenu::HasShadedVariants(record->sharedImageIndex));
    }
    EXPECT_EQ(records[1]->commandId, (UINT_PTR)ID_HELP_FAQ);
    // Mnemonics of these menus are answered by the frame; others get the default.
    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE),
              ::SendMessageA(m_hFrame, WM_MENUCHAR, MAKEWPARAM('f', MF_POPUP), (LPARAM)help));
    HMENU plain = ::CreatePopupMenu();
    ::AppendMenuA(plain, MF_STRING, 5, "&Five");
    EXPECT_EQ(0, HIWORD(::SendMessageA(m_hFrame, WM_MENUCHAR, MAKEWPARAM('f', MF_POPUP), (LPARAM)plain)));
    ::DestroyMenu(plain);
}

// The File and Edit menus' commands show the menu images of their tool bar,
// as the record popup's do.
TEST_F(ShellFrame, FileAndEditCommandsHaveTheirMenuImages)
{
    OpenWindow();
    m_frame->InstallMainMenu(m_frame->BuildMainMenu());
    HMENU bar = ::GetMenu(m_hFrame);
    std::map<UINT_PTR, int> images;
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        CMenu* object = CMenu::FromHandlePermanent(::GetSubMenu(bar, i));
        if (!object || !object->IsKindOf(RUNTIME_CLASS(BCMenu))) continue;
        for (const BCMenuData* record : static_cast<BCMenu*>(object)->GetRecords())
            images[record->commandId] = record->sharedImageIndex;
    }
    // Set Password, Backup, DeDupe, Email, Print, Print Preview, Lock, Exit;
    // Cut, Copy, Paste, Select All.
    for (UINT id :
         {32781u, 32850u, 32908u, 32949u, 57607u, 57609u, 32857u, (UINT)ID_APP_EXIT, 57635u, 57634u, 57637u, 32802u}) {
        ASSERT_TRUE(images.count(id)) << id << " is not in the menu";
        EXPECT_GE(images[id], 0) << id << " has no image";
    }
    std::set<int> distinct;
    for (const auto& entry : images)
        if (entry.second >= 0) distinct.insert(entry.second);
    EXPECT_GE(distinct.size(), 15u);
}

namespace {

// The heights of the File menu's items while it is open, read by a timer of
// the menu's own loop, which then closes it.
std::vector<int> g_openMenuHeights;
HMENU g_openMenu = nullptr;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_openMenuHeights.clear();
    for (int i = 0; i < ::GetMenuItemCount(g_openMenu); ++i) {
        RECT r{};
        g_openMenuHeights.push_back(::GetMenuItemRect(nullptr, g_openMenu, (UINT)i, &r) ? r.bottom - r.top : -1);
    }
    ::EndMenu();
}

}  // namespace

TEST_F(ShellFrame, ItemsThatOpenASubMenuAreMeasuredLikeTheOthers)
{
    OpenWindow();
    m_frame->InstallMainMenu(m_frame->BuildMainMenu());
    g_openMenu = ::GetSubMenu(::GetMenu(m_hFrame), 0);
    ASSERT_TRUE(BCMenu::IsBCMenu(g_openMenu));
    // "Import" (1) and "Export" (2) open sub-menus; "Set Password..." (0)
    // and "Backup..." (4) are commands.
    ASSERT_NE(nullptr, ::GetSubMenu(g_openMenu, 1));
    ASSERT_NE(nullptr, ::GetSubMenu(g_openMenu, 2));
    ASSERT_EQ(nullptr, ::GetSubMenu(g_openMenu, 4));
    ::SetForegroundWindow(m_hFrame);
    ::SetTimer(nullptr, 0, 200, &ReadOpenMenu);
    ::TrackPopupMenu(g_openMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 40, 40, 0, m_hFrame, nullptr);
    ASSERT_EQ(::GetMenuItemCount(g_openMenu), (int)g_openMenuHeights.size()) << "the menu never opened";
    const int command = g_openMenuHeights[0];
    EXPECT_GE(command, std::max(::GetSystemMetrics(SM_CYMENU), 22));
    EXPECT_EQ(command, g_openMenuHeights[1]);
    EXPECT_EQ(command, g_openMenuHeights[2]);
    EXPECT_EQ(command, g_openMenuHeights[4]);
}
