// The main view's start-up on a scratch data root, its list, tree and panel
// modes filled from a database written before the start, the selected record
// in each mode, the per-user view state written and read back, and the small
// handlers: print refusal outside list mode, the row colour of the list.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/frame/MainFrm.h"
#include "app/res/ShellDialogsRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/DefaultItems.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/WindowTexts.h"
#include "toolkit/ToolkitIds.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

using zvtest::TestKey;

class ViewModes : public zvtest::AppWindowTest {
protected:
    ViewModes() : AppWindowTest("zvmodes") {}

    CUserItem* User() { return App().GetCurrentUser(); }
    std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }
    CString UserFolder() { return CAppPrefMgr::GetInstance()->GetUserDirectory(User()); }

    // The user's database before the start: the default types and two of
    // our own, records of each, a web login and one record without type.
    void WriteDatabase()
    {
        CDatabaseObj db;
        ASSERT_EQ(0, db.OpenInFolder(UserFolder()));
        AddType(db, "Bank", 0x41);
        AddType(db, "Mail", 0x42);
        AddRecord(db, TestKey(0x41).b, "Zeta");
        AddRecord(db, TestKey(0x41).b, "alpha");
        AddRecord(db, TestKey(0x42).b, "Inbox");
        AddRecord(db, kWebLoginsTypeKey, "Shop");
        AddRecord(db, KEY_UNFILED, "Loose");
        ASSERT_EQ(0, db.Save());
    }
    static void AddType(CDatabaseObj& db, const char* name, uint8_t key)
    {
        auto* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
        type->SetName(name);
        type->SetKey(TestKey(key).b);
        db.GetTypes().Add(type);
    }
    static void AddRecord(CDatabaseObj& db, const uint8_t* typeKey, const char* field1)
    {
        auto* record = static_cast<CRecord*>(db.GetRecords().NewItem());
        record->SetTypeKey(typeKey);
        record->SetField(0, field1);
        db.GetRecords().Add(record);
    }

    CRecord* FindRecord(const char* field1)
    {
        CRecordList& records = m_view->GetDatabase().GetRecords();
        for (POSITION pos = records.GetHeadPosition(); pos;) {
            auto* record = static_cast<CRecord*>(records.GetNext(pos));
            if (std::string(record->GetField(0)) == field1) return record;
        }
        return nullptr;
    }

    std::string TreeText() { return zvtest::TreeText(m_view->GetTree()); }

    static std::vector<std::string> Rows(CListCtrl& list)
    {
        std::vector<std::string> rows;
        for (int i = 0; i < list.GetItemCount(); ++i) rows.emplace_back(list.GetItemText(i, 0));
        return rows;
    }

    CBitmapButton& FrameButton(UINT id)
    {
        CDialogToolbar& bar = m_frame->GetDialogToolbar();
        return id == ID_VIEW_LIST ? bar.m_btnListView : id == ID_VIEW_TREE ? bar.m_btnTreeView : bar.m_btnPanelView;
    }

    void Command(UINT id) { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0); }

    CRect ChildRect(CWnd& child)
    {
        CRect r;
        child.GetWindowRect(&r);
        m_view->ScreenToClient(&r);
        return r;
    }
};

TEST_F(ViewModes, StartUpBuildsTheListButtonsTooltipsAndDetailsArea)
{
    OpenWindow();
    CRecordListCtrl& list = m_view->GetRecordList();
    ASSERT_TRUE(list.IsWindow());
    EXPECT_EQ(IDC_RECORD_LIST, list.GetDlgCtrlID());
    EXPECT_TRUE(list.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(kViewModeList, m_view->GetViewMode());

    // Ten buttons shown, New Type hidden until panel mode, Auto-Fill disabled.
    const UINT shown[] = {ID_NEW_ITEM,    ID_DUPLICATE_ITEM, ID_SHOW_DETAILS, ID_EDIT_ITEM,    ID_DELETE_ITEM,
                          ID_TOGGLE_MASK, ID_EMAIL_ITEMS,    ID_AUTO_FILL,    ID_PRINT_RECORD, ID_ADD_ATTACHMENT};
    for (UINT id : shown) {
        CBitmapButton* button = m_view->GetToolButton(id);
        ASSERT_NE(nullptr, button) << id;
        ASSERT_TRUE(button->IsWindow()) << id;
        EXPECT_TRUE(button->GetStyle() & WS_VISIBLE) << id;
        EXPECT_EQ((int)id, button->GetDlgCtrlID());
        EXPECT_NE(nullptr, button->m_bitmap.m_hObject) << id;
        EXPECT_NE(nullptr, button->m_bitmapSel.m_hObject) << id;
    }
    EXPECT_FALSE(m_view->GetToolButton(ID_NEW_TYPE)->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(m_view->GetToolButton(ID_AUTO_FILL)->IsWindowEnabled());

    // Positions: New Item bottom slot 1, Edit Item details slot 1.
    const ViewGeometry g = m_view->GetGeometry();
    const CRect newItem = ChildRect(*m_view->GetToolButton(ID_NEW_ITEM));
    EXPECT_EQ(g.BottomSlot(1).left, newItem.left);
    EXPECT_EQ(g.BottomSlot(1).top, newItem.top);
    const CRect edit = ChildRect(*m_view->GetToolButton(ID_EDIT_ITEM));
    EXPECT_EQ(g.DetailsSlot(1).left, edit.left);
    const CRect pane = ChildRect(m_view->GetDetailsPane());
    EXPECT_EQ(g.DetailsPane().left, pane.left);
    EXPECT_EQ(g.DetailsPane().right, pane.right);
    EXPECT_EQ(g.DisplayArea().right, ChildRect(list).right);

    // The list font is at least 15 pixels high; the caption names the user.
    EXPECT_LE(m_view->GetListFontDescription().lfHeight, -15);
    EXPECT_GT(m_view->GetLineHeight(), 0);
    char caption[256] = {};
    ::GetWindowTextA(m_hFrame, caption, sizeof caption);
    EXPECT_NE(std::string::npos, std::string(caption).find(" - " + std::string(User()->GetDisplayName())));
    EXPECT_GE(m_view->GetSmallIcons().GetImageCount(), 64);
}

TEST_F(ViewModes, TreeModeGroupsByTypeNameWithUnfiledLastAndTheListComesBack)
{
    WriteDatabase();
    OpenWindow();
    Command(ID_VIEW_TREE);
    ASSERT_EQ(kViewModeTree, m_view->GetViewMode());
    ASSERT_TRUE(m_view->GetTree().IsWindow());
    EXPECT_EQ(IDC_CATEGORY_TREE, m_view->GetTree().GetDlgCtrlID());
    EXPECT_FALSE(m_view->GetRecordList().GetStyle() & WS_VISIBLE);
    EXPECT_EQ("Bank (2): alpha Zeta; Mail (1): Inbox; Web Logins (1): Shop; Unfiled (1): Loose; ", TreeText());
    EXPECT_FALSE(FrameButton(ID_VIEW_TREE).IsWindowEnabled());
    EXPECT_TRUE(FrameButton(ID_VIEW_LIST).IsWindowEnabled());
    EXPECT_FALSE(m_frame->GetDialogToolbar().m_cbTypes.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(kViewModeTree, Prefs()->GetLatestView(User()));

    // Tree mode again changes nothing.
    HTREEITEM first = m_view->GetTree().GetRootItem();
    m_view->GetTree().SelectItem(m_view->GetTree().GetChildItem(first));
    Command(ID_VIEW_TREE);
    EXPECT_EQ(m_view->GetTree().GetChildItem(first), m_view->GetTree().GetSelectedItem());

    Command(ID_VIEW_LIST);
    EXPECT_EQ(kViewModeList, m_view->GetViewMode());
    EXPECT_FALSE(m_view->GetTree().IsWindow());
    EXPECT_TRUE(m_view->GetRecordList().GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(FrameButton(ID_VIEW_LIST).IsWindowEnabled());
    EXPECT_TRUE(m_frame->GetDialogToolbar().m_cbTypes.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(kViewModeList, Prefs()->GetLatestView(User()));
}

TEST_F(ViewModes, ATreeRefillSelectsTheGivenRecordAndEveryNodeCarriesItsItem)
{
    WriteDatabase();
    OpenWindow();
    Command(ID_VIEW_TREE);
    CTreeCtrl& tree = m_view->GetTree();
    const std::string before = TreeText();

    CRecord* inbox = FindRecord("Inbox");
    ASSERT_NE(nullptr, inbox);
    m_view->FillTree(inbox);
    EXPECT_EQ(before, TreeText());
    EXPECT_EQ(inbox, m_view->GetSelectedRecord());
    HTREEITEM caret = tree.GetSelectedItem();
    ASSERT_NE(nullptr, caret);
    EXPECT_EQ("Inbox", std::string(tree.GetItemText(caret)));
    EXPECT_TRUE(tree.GetItemState(tree.GetParentItem(caret), TVIS_EXPANDED) & TVIS_EXPANDED);

    // A type node holds its type (none for "Unfiled"), a record node its record.
    int records = 0;
    for (HTREEITEM node = tree.GetRootItem(); node; node = tree.GetNextSiblingItem(node)) {
        const std::string text(tree.GetItemText(node));
        auto* type = reinterpret_cast<CTypeItem*>(tree.GetItemData(node));
        if (type)
            EXPECT_EQ(0u, text.find(std::string(type->GetName()) + " (")) << text;
        else
            EXPECT_EQ(0u, text.find("Unfiled (")) << text;
        for (HTREEITEM child = tree.GetChildItem(node); child; child = tree.GetNextSiblingItem(child)) {
            auto* record = reinterpret_cast<CRecord*>(tree.GetItemData(child));
            ASSERT_NE(nullptr, record);
            EXPECT_EQ(std::string(record->GetField(0)), std::string(tree.GetItemText(child)));
            ++records;
        }
    }
    EXPECT_EQ(5, records);

    // A refill with nothing to select lands on the first node again.
    m_view->FillTree(nullptr);
    EXPECT_EQ(before, TreeText());
    EXPECT_EQ(tree.GetRootItem(), tree.GetSelectedItem());
    EXPECT_EQ(nullptr, m_view->GetSelectedRecord());
}

TEST_F(ViewModes, PanelModeListsTypesTheirRecordsAndTheSmartLists)
{
    WriteDatabase();
    OpenWindow();
    Command(ID_VIEW_PANEL);
    ASSERT_EQ(kViewModePanel, m_view->GetViewMode());
    ASSERT_TRUE(m_view->GetPanelTypes().IsWindow());
    EXPECT_EQ(IDC_PANEL_TYPES, m_view->GetPanelTypes().GetDlgCtrlID());
    EXPECT_EQ(IDC_PANEL_RECORDS, m_view->GetPanelRecords().GetDlgCtrlID());
    EXPECT_EQ(IDC_PANEL_SMART_LISTS, m_view->GetPanelSmartLists().GetDlgCtrlID());
    EXPECT_EQ((std::vector<std::string>{"Bank (2)", "Mail (1)", "Unfiled (1)", "Web Logins (1)"}),
              Rows(m_view->GetPanelTypes()));
    // The first type row is chosen and its records listed in text order.
    EXPECT_EQ((std::vector<std::string>{"alpha", "Zeta"}), Rows(m_view->GetPanelRecords()));
    // The list's first row, selected at the start, was viewed.
    EXPECT_EQ((std::vector<std::string>{"Recently Added(0)", "Recently Viewed(1)", "Most Viewed(1)"}),
              Rows(m_view->GetPanelSmartLists()));
    EXPECT_TRUE(m_view->GetToolButton(ID_NEW_TYPE)->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(FrameButton(ID_VIEW_PANEL).IsWindowEnabled());
    EXPECT_EQ(kViewModePanel, Prefs()->GetLatestView(User()));

    // Choosing another type row lists its records.
    CListCtrl& types = m_view->GetPanelTypes();
    types.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    types.SendMessage(LVM_SETSELECTIONMARK, 0, 2);
    ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_SELECTED, IDC_PANEL_TYPES, 0);
    EXPECT_EQ((std::vector<std::string>{"Loose"}), Rows(m_view->GetPanelRecords()));

    Command(ID_VIEW_LIST);
    EXPECT_FALSE(m_view->GetPanelTypes().IsWindow());
    EXPECT_FALSE(m_view->GetPanelRecords().IsWindow());
    EXPECT_FALSE(m_view->GetPanelSmartLists().IsWindow());
    EXPECT_FALSE(m_view->GetToolButton(ID_NEW_TYPE)->GetStyle() & WS_VISIBLE);
}

TEST_F(ViewModes, TheSelectedRecordIsKnownInEveryMode)
{
    WriteDatabase();
    OpenWindow();
    CRecord* shop = FindRecord("Shop");
    CRecord* inbox = FindRecord("Inbox");
    ASSERT_NE(nullptr, shop);
    ASSERT_NE(nullptr, inbox);

    // List mode: one selected row gives its record, two give none.
    CRecordListCtrl& list = m_view->GetRecordList();
    list.DeleteAllItems();
    list.InsertItem(0, "");
    list.SetItemData(0, (DWORD_PTR)shop);
    list.InsertItem(1, "");
    list.SetItemData(1, (DWORD_PTR)inbox);
    list.SelectItem(0, TRUE);
    EXPECT_EQ(shop, m_view->GetSelectedRecord());
    EXPECT_EQ(shop, m_view->GetSelectedWebLogin());
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(nullptr, m_view->GetSelectedRecord());

    // Tree mode: a record node gives its record, a type node none.
    Command(ID_VIEW_TREE);
    CTreeCtrl& tree = m_view->GetTree();
    HTREEITEM mail = tree.GetNextSiblingItem(tree.GetRootItem());
    tree.SelectItem(mail);
    EXPECT_EQ(nullptr, m_view->GetSelectedRecord());
    tree.SelectItem(tree.GetChildItem(mail));
    EXPECT_EQ(inbox, m_view->GetSelectedRecord());
    EXPECT_EQ(nullptr, m_view->GetSelectedWebLogin());

    // Panel mode: the description row at the selection mark.
    Command(ID_VIEW_PANEL);
    EXPECT_EQ(nullptr, m_view->GetSelectedRecord());
    m_view->FillPanelTypes(shop);
    m_view->FillPanelRecords(shop);
    EXPECT_EQ((std::vector<std::string>{"Shop"}), Rows(m_view->GetPanelRecords()));
    EXPECT_EQ(shop, m_view->GetSelectedRecord());
    // The selection came back as a panel notice: a web login enables
    // Auto-Fill and counts as viewed.
    EXPECT_TRUE(m_view->GetToolButton(ID_AUTO_FILL)->IsWindowEnabled());
    EXPECT_GE(shop->GetViewCount(), 1);
}

TEST_F(ViewModes, ViewStateIsWrittenAtCloseAndReadAtTheNextStart)
{
    WriteDatabase();
    OpenWindow();
    Command(ID_VIEW_PANEL);
    CloseWindow();
    EXPECT_EQ(kViewModePanel, Prefs()->GetLatestView(User()));
    EXPECT_EQ((int)kDefaultSortKey, Prefs()->GetSortInfo(User()));
    EXPECT_TRUE(Prefs()->GetShowingDetails(User()));
    EXPECT_EQ(250, Prefs()->GetDetailsPaneWidth(User()));

    Prefs()->SetDetailsPaneWidth(User(), 300);
    Prefs()->SetShowingDetails(User(), 0);
    OpenWindow();
    EXPECT_EQ(kViewModePanel, m_view->GetViewMode());
    EXPECT_FALSE(m_view->IsShowingDetails());
    EXPECT_FALSE(m_view->GetDetailsPane().GetStyle() & WS_VISIBLE);
    const ViewGeometry g = m_view->GetGeometry();
    EXPECT_EQ(300, g.detailsWidth);
    EXPECT_EQ(g.client.right - 5, g.DisplayArea().right);
}

TEST_F(ViewModes, AStoredViewModeOutOfRangeStartsInListMode)
{
    Prefs()->SetLatestView(User(), 7);
    OpenWindow();
    EXPECT_EQ(kViewModeList, m_view->GetViewMode());
    EXPECT_FALSE(FrameButton(ID_VIEW_LIST).IsWindowEnabled());
    EXPECT_TRUE(FrameButton(ID_VIEW_TREE).IsWindowEnabled());
    EXPECT_TRUE(FrameButton(ID_VIEW_PANEL).IsWindowEnabled());
}

TEST_F(ViewModes, AStoredTypeThatNoLongerExistsFallsBackToAllTypes)
{
    WriteDatabase();
    Prefs()->SetCurrentType(User(), TestKey(0x77).b);
    Prefs()->SetCurrentCategory(User(), TestKey(0x78).b);
    OpenWindow();
    EXPECT_EQ(0, std::memcmp(KEY_ALL, m_view->GetViewState().typeFilter, kUniqueKeySize));
    EXPECT_EQ(0, std::memcmp(KEY_ALL, m_view->GetViewState().categoryFilter, kUniqueKeySize));
    // A type that exists is kept.
    CloseWindow();
    Prefs()->SetCurrentType(User(), TestKey(0x42).b);
    OpenWindow();
    EXPECT_EQ(0, std::memcmp(TestKey(0x42).b, m_view->GetViewState().typeFilter, kUniqueKeySize));
}

TEST_F(ViewModes, TheListsEvenRowsAndThePanelFollowTheRowColour)
{
    Prefs()->SetRowColor(User(), RGB(0xE0, 0xF0, 0xFF));
    OpenWindow();
    EXPECT_EQ(RGB(0xE0, 0xF0, 0xFF), m_view->GetRecordList().m_crEvenRow);
    Command(ID_VIEW_PANEL);
    EXPECT_EQ(RGB(0xE0, 0xF0, 0xFF), (COLORREF)m_view->GetPanelTypes().SendMessage(LVM_GETBKCOLOR));

    zvtest::ScriptedModal modal;
    modal.AnswerColor(RGB(0x10, 0x20, 0x30));
    m_view->ChooseRowColour();
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), (COLORREF)Prefs()->GetRowColor(User()));
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), m_view->GetRecordList().m_crEvenRow);
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), (COLORREF)m_view->GetPanelRecords().SendMessage(LVM_GETBKCOLOR));
}

// The Options sheet's Format page: the font and the row colour chosen there
// reach the lists of the mode shown at once, kept after the sheet is left.
TEST_F(ViewModes, TheOptionsFontAndRowColourReachTheListsAtOnce)
{
    WriteDatabase();
    OpenWindow();
    LOGFONTA chosen{};
    chosen.lfHeight = -21;
    chosen.lfWeight = FW_NORMAL;
    lstrcpyA(chosen.lfFaceName, "Courier New");
    auto faceOf = [](CWnd& control) {
        LOGFONTA font{};
        ::GetObjectA((HFONT)control.SendMessage(WM_GETFONT), sizeof font, &font);
        return std::string(font.lfFaceName) + " " + std::to_string(font.lfHeight);
    };
    // Each mode: the sheet's two buttons, then Cancel, which keeps them.
    struct Case {
        UINT mode;
        COLORREF colour;
    };
    for (const Case& c : {Case{ID_VIEW_TREE, RGB(0x10, 0x20, 0x30)}, Case{ID_VIEW_PANEL, RGB(0x40, 0x50, 0x60)},
                          Case{ID_VIEW_LIST, RGB(0x70, 0x80, 0x90)}}) {
        SCOPED_TRACE(c.mode);
        Command(c.mode);
        chosen.lfHeight -= 1;
        zvtest::ScriptedModal modal;
        modal.OnModal([](CWnd& sheet) {
            sheet.SendMessage(PSM_SETCURSEL, 2, 0);
            const HWND page = (HWND)sheet.SendMessage(PSM_GETCURRENTPAGEHWND);
            ::SendMessageA(::GetDlgItem(page, IDC_PREF_CHOOSE_FONT), BM_CLICK, 0, 0);
            ::SendMessageA(::GetDlgItem(page, IDC_PREF_CHOOSE_COLOUR), BM_CLICK, 0, 0);
            sheet.SendMessage(PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
        modal.AnswerFont(chosen);
        modal.AnswerColor(c.colour);
        ::SendMessageA(m_hFrame, WM_COMMAND, ID_OPTIONS, 0);
        EXPECT_TRUE(modal.Unanswered().empty());
        EXPECT_EQ(0u, modal.PendingAnswers());
        const std::string face = "Courier New " + std::to_string(chosen.lfHeight);
        EXPECT_EQ(face, faceOf(m_view->GetRecordList()));
        EXPECT_EQ(c.colour, m_view->GetRecordList().m_crEvenRow);
        if (c.mode == ID_VIEW_TREE) {
            EXPECT_EQ(face, faceOf(m_view->GetTree()));
            EXPECT_EQ(c.colour, (COLORREF)m_view->GetTree().SendMessage(TVM_GETBKCOLOR));
        }
        if (c.mode == ID_VIEW_PANEL)
            for (CListCtrl* list : {&m_view->GetPanelTypes(), &m_view->GetPanelRecords()}) {
                EXPECT_EQ(face, faceOf(*list));
                EXPECT_EQ(c.colour, (COLORREF)list->SendMessage(LVM_GETBKCOLOR));
            }
        EXPECT_EQ(c.colour, (COLORREF)Prefs()->GetRowColor(User()));
    }
}

TEST_F(ViewModes, AStoredFontKeepsItsOwnHeight)
{
    LOGFONTA stored{};
    stored.lfHeight = -11;
    stored.lfWeight = FW_NORMAL;
    lstrcpyA(stored.lfFaceName, "Tahoma");
    BYTE bytes[60] = {};
    std::memcpy(bytes, &stored, sizeof bytes);
    Prefs()->SetFont(User(), bytes);
    OpenWindow();
    EXPECT_EQ(-11, m_view->GetListFontDescription().lfHeight);
    EXPECT_EQ(std::string("Tahoma"), m_view->GetListFontDescription().lfFaceName);
}

TEST_F(ViewModes, PrintAndPreviewOutsideListModeAreRefused)
{
    OpenWindow();
    Command(ID_VIEW_TREE);
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDOK);
    Command(ID_FILE_PRINT_PREVIEW);
    Command(ID_FILE_PRINT);
    EXPECT_EQ((std::vector<std::string>{"Print preview is available only in \"List View\".",
                                        "Printing is available only in \"List View\"."}),
              modal.MessageTexts());
    EXPECT_EQ(0, m_view->GetPluginLink().GetBusy());
    EXPECT_EQ(nullptr, m_view->GetPrintPreview());

    // In list mode the preview holds the busy flag until the view is drawn.
    Command(ID_VIEW_LIST);
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(1, m_view->GetPluginLink().GetBusy());
    EXPECT_FALSE(m_frame->GetDialogToolbar().IsWindowEnabled());
    m_view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(0, m_view->GetPluginLink().GetBusy());
    EXPECT_TRUE(m_frame->GetDialogToolbar().IsWindowEnabled());
}

TEST_F(ViewModes, AReloadOfAFileThatNoLongerLoadsIsReportedAndNeverSaved)
{
    WriteDatabase();
    OpenWindow();
    Command(ID_VIEW_TREE);
    ASSERT_FALSE(TreeText().empty());
    const std::filesystem::path file = std::filesystem::path(std::string(UserFolder())) / "ZorvikanDatabase.zdb";
    const std::string garbage(300, '\x5A');
    std::ofstream(file, std::ios::binary | std::ios::trunc) << garbage;
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    m_view->ReloadAndRefresh(User(), true);
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_NE(std::string::npos, modal.MessageBoxes()[0].text.find("could not be opened"));
    EXPECT_TRUE(m_view->GetDatabase().IsReadOnly());
    EXPECT_EQ("", TreeText());
    CloseWindow();
    EXPECT_EQ(garbage, zvtest::ReadFileBytes(file));
}

TEST_F(ViewModes, TheSampleDatabaseOfTheScreenshotRunShowsInEveryMode)
{
    std::filesystem::create_directories(std::string(UserFolder()));
    std::ofstream(std::filesystem::path(std::string(UserFolder())) / "ZorvikanDatabase.zdb", std::ios::binary)
        << zvtest::ReadFileBytes(zvtest::FixturePath("db/sample.zdb"));
    zvtest::ScriptedModal modal;
    OpenWindow();
    EXPECT_EQ(0, m_view->GetOpenResult());
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_EQ(12, (int)m_view->GetDatabase().GetRecords().GetCount());
    Command(ID_VIEW_TREE);
    EXPECT_EQ(
        std::string("Bank Accts (1): Savings; Combinations (1): Garage door; Credit Cards (2): Company card Visa; "
                    "Email Accts (1): Home mail; Phone Numbers (1): Dentist; Serial Numbers (1): Office suite; "
                    "Web Logins (4): Book shop Intranet Mail Online bank; Unfiled (1): Loose note; "),
        TreeText());
    Command(ID_VIEW_PANEL);
    EXPECT_EQ(8, m_view->GetPanelTypes().GetItemCount());
}

TEST_F(ViewModes, AReloadRefillsTheModeWithEveryFilter)
{
    WriteDatabase();
    OpenWindow();
    Command(ID_VIEW_PANEL);
    CRecord* zeta = FindRecord("Zeta");
    m_view->GetDatabase().GetRecords().SoftDelete(zeta);
    m_view->ReloadAndRefresh(User(), false);
    EXPECT_EQ((std::vector<std::string>{"Bank (1)", "Mail (1)", "Unfiled (1)", "Web Logins (1)"}),
              Rows(m_view->GetPanelTypes()));
    EXPECT_EQ(0, std::memcmp(KEY_ALL, m_view->GetViewState().typeFilter, kUniqueKeySize));
}

}  // namespace
