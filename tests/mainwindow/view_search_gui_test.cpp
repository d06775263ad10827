// The search box of the main window's tool bar: typing narrows the list, the
// tree and the panel; the user's search options and searched fields; the
// recent searches kept when the box is left, offered in the history popup
// and cleared on request.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/frame/MainFrm.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Category.h"
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
#include "toolkit/menus/BCMenu.h"

namespace {

using zvtest::TestKey;
using Texts = std::vector<std::string>;

class ViewSearch : public zvtest::AppWindowTest {
protected:
    ViewSearch() : AppWindowTest("zvsearch") {}

    CUserItem* User() { return App().GetCurrentUser(); }
    std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

    // Two types of our own, a web login and a record without type; texts
    // to find in field 1, field 2 and the notes.
    void WriteDatabase()
    {
        CDatabaseObj db;
        ASSERT_EQ(0, db.OpenInFolder(CAppPrefMgr::GetInstance()->GetUserDirectory(User())));
        AddType(db, "Bank", 0x41);
        AddType(db, "Mail", 0x42);
        auto* category = static_cast<CCategory*>(db.GetCategories().NewItem());
        category->SetName("Home");
        category->SetKey(TestKey(0x51).b);
        db.GetCategories().Add(category);
        AddRecord(db, TestKey(0x41).b, "Zeta bank", "alice", "", KEY_UNFILED);
        AddRecord(db, TestKey(0x41).b, "alpha", "", "pin\tcode", KEY_UNFILED);
        AddRecord(db, TestKey(0x42).b, "Inbox", "bankers", "", KEY_UNFILED);
        AddRecord(db, kWebLoginsTypeKey, "Shop online", "", "", TestKey(0x51).b);
        AddRecord(db, KEY_UNFILED, "Loose", "", "bank\r\nnote", KEY_UNFILED);
        ASSERT_EQ(0, db.Save());
    }
    static void AddType(CDatabaseObj& db, const char* name, uint8_t key)
    {
        auto* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
        type->SetName(name);
        type->SetKey(TestKey(key).b);
        db.GetTypes().Add(type);
    }
    static void AddRecord(CDatabaseObj& db, const uint8_t* typeKey, const char* field1, const char* field2,
                          const char* notes, const uint8_t* categoryKey)
    {
        auto* record = static_cast<CRecord*>(db.GetRecords().NewItem());
        record->SetTypeKey(typeKey);
        record->SetCategoryKey(categoryKey);
        record->SetField(0, field1);
        record->SetField(1, field2);
        record->SetNotes(notes);
        db.GetRecords().Add(record);
    }

    CEditWithButton& Box() { return m_frame->GetDialogToolbar().m_edSearch; }
    std::string BoxText()
    {
        CString text;
        Box().GetWindowText(text);
        return std::string(text);
    }
    // As typing does: the box's text changes and it tells the view.
    void Type(const char* text)
    {
        Box().SetSel(0, -1);
        Box().ReplaceSel(text);
        ASSERT_EQ(std::string(text), BoxText());
    }
    LRESULT Notify(UINT message) { return ::SendMessageA(m_view->m_hWnd, message, 0, 0); }
    void Command(UINT id) { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0); }

    // The record list's records by field 1, in text order.
    Texts ListRecords()
    {
        Texts texts;
        CRecordListCtrl& list = m_view->GetRecordList();
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (CRecord* record = list.GetRecordAt(row)) texts.emplace_back(record->GetField(0));
        std::sort(texts.begin(), texts.end());
        return texts;
    }
    std::string TreeText() { return zvtest::TreeText(m_view->GetTree()); }
    static Texts Rows(CListCtrl& list)
    {
        Texts rows;
        for (int i = 0; i < list.GetItemCount(); ++i) rows.emplace_back(list.GetItemText(i, 0));
        return rows;
    }
    static Texts Strings(const CStringArray& texts)
    {
        Texts out;
        for (INT_PTR i = 0; i < texts.GetSize(); ++i) out.emplace_back(texts[i]);
        return out;
    }
    Texts StoredHistory()
    {
        CStringArray texts;
        App().GetRecentSearches(texts);
        return Strings(texts);
    }
    void Search(const char* text)
    {
        Type(text);
        EXPECT_EQ(1, Notify(WM_SEARCHBOX_LEAVE)) << text;
    }
    // The items of a menu as "id text" (a separator "-", a popup "> text").
    static Texts MenuItems(CMenu& menu)
    {
        Texts items;
        for (UINT i = 0; i < menu.GetMenuItemCount(); ++i) {
            CString text;
            if (BCMenu::IsBCMenu(&menu)) static_cast<BCMenu&>(menu).GetItemText(i, text, MF_BYPOSITION);
            const UINT state = menu.GetMenuState(i, MF_BYPOSITION);
            if (state & MF_SEPARATOR) {
                items.emplace_back("-");
            } else if (menu.GetSubMenu((int)i)) {
                items.push_back("> " + std::string(text));
            } else {
                std::string item = std::to_string(menu.GetMenuItemID((int)i)) + " " + std::string(text);
                if (state & (MF_GRAYED | MF_DISABLED)) item += " (greyed)";
                items.push_back(item);
            }
        }
        return items;
    }
};

TEST_F(ViewSearch, TypingNarrowsEveryModeAndAnEmptyBoxShowsEveryRecord)
{
    WriteDatabase();
    Prefs()->SetSearchColumns(User(), 1);
    OpenWindow();
    ASSERT_TRUE(Box().IsWindow());
    Prefs()->SetWholeWord(User(), 1);

    // Field 1 and the notes are searched, field 2 ("bankers") not.
    Type("bank");
    EXPECT_EQ((Texts{"Loose", "Zeta bank"}), ListRecords());
    Command(ID_VIEW_TREE);
    EXPECT_EQ("Bank (1): Zeta bank; Unfiled (1): Loose; ", TreeText());
    Type("ban");
    EXPECT_EQ("", TreeText());
    Type("bank");
    Command(ID_VIEW_PANEL);
    EXPECT_EQ((Texts{"Bank (1)", "Unfiled (1)"}), Rows(m_view->GetPanelTypes()));
    EXPECT_EQ((Texts{"Zeta bank"}), Rows(m_view->GetPanelRecords()));
    Type("online");
    EXPECT_EQ((Texts{"Web Logins (1)"}), Rows(m_view->GetPanelTypes()));
    EXPECT_EQ((Texts{"Shop online"}), Rows(m_view->GetPanelRecords()));

    // The clear button empties the box: all records, whole word or not.
    Notify(WM_SEARCHBOX_CLEAR);
    EXPECT_EQ("", BoxText());
    EXPECT_EQ((Texts{"Bank (2)", "Mail (1)", "Unfiled (1)", "Web Logins (1)"}), Rows(m_view->GetPanelTypes()));
    EXPECT_EQ((Texts{"alpha", "Zeta bank"}), Rows(m_view->GetPanelRecords()));
    Command(ID_VIEW_LIST);
    EXPECT_EQ((Texts{"Inbox", "Loose", "Shop online", "Zeta bank", "alpha"}), ListRecords());
    // It kept the search it cleared.
    EXPECT_EQ((Texts{"online"}), Strings(m_view->GetRecentSearches()));
}

TEST_F(ViewSearch, CaseWholeWordAndSearchedFieldsFollowTheUsersOptions)
{
    WriteDatabase();
    struct Case {
        const char* text;
        int caseSensitive;
        int wholeWord;
        Texts first;  // "SearchColumns" 1: field 1 and the notes
        Texts all;    // any other value: every field and the notes
    };
    const Case cases[] = {
        {"bank", 0, 0, {"Loose", "Zeta bank"}, {"Inbox", "Loose", "Zeta bank"}},
        {"bank", 0, 1, {"Loose", "Zeta bank"}, {"Loose", "Zeta bank"}},
        {"BANK", 0, 0, {"Loose", "Zeta bank"}, {"Inbox", "Loose", "Zeta bank"}},
        {"BANK", 1, 0, {}, {}},
        {"Zeta", 1, 1, {"Zeta bank"}, {"Zeta bank"}},
        {"alice", 0, 1, {}, {"Zeta bank"}},
        // Between a tab, a line break or either end of the text.
        {"pin", 0, 1, {"alpha"}, {"alpha"}},
        {"code", 0, 1, {"alpha"}, {"alpha"}},
        {"note", 0, 1, {"Loose"}, {"Loose"}},
        {"ta b", 0, 1, {}, {}},
        {"ta b", 0, 0, {"Zeta bank"}, {"Zeta bank"}},
        {"",
         1,
         1,
         {"Inbox", "Loose", "Shop online", "Zeta bank", "alpha"},
         {"Inbox", "Loose", "Shop online", "Zeta bank", "alpha"}},
    };
    for (int columns : {1, -1}) {
        Prefs()->SetSearchColumns(User(), columns);
        OpenWindow();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "'" << c.text << "' case " << c.caseSensitive << " word " << c.wholeWord
                                            << " columns " << columns);
            Prefs()->SetCaseSensitive(User(), c.caseSensitive);
            Prefs()->SetWholeWord(User(), c.wholeWord);
            Type(c.text);
            // Options are read at every search: the same text again.
            m_view->ApplySearch();
            EXPECT_EQ(columns == 1 ? c.first : c.all, ListRecords());
        }
        CloseWindow();
    }
}

TEST_F(ViewSearch, SearchesWithinTheFiltersAndASmartListIgnoresTheCategory)
{
    WriteDatabase();
    OpenWindow();
    // Only the category "Home": the list and the panel's type rows follow.
    const int home = m_frame->GetDialogToolbar().m_cbCategories.FindStringExact(-1, "Home (1)");
    ASSERT_GE(home, 0);
    m_frame->GetDialogToolbar().m_cbCategories.SetCurSel(home);
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TOOLBAR_CATEGORIES, CBN_SELCHANGE),
                   (LPARAM)m_frame->GetDialogToolbar().m_cbCategories.m_hWnd);
    Type("n");
    EXPECT_EQ((Texts{"Shop online"}), ListRecords());

    // The recently added smart list shows whatever the category, narrowed
    // by the search alone.
    CRecordList& records = m_view->GetDatabase().GetRecords();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        auto* record = static_cast<CRecord*>(records.GetNext(pos));
        const std::string text(record->GetField(0));
        if (text == "alpha" || text == "Zeta bank" || text == "Inbox") App().OnRecordAdded(record);
    }
    Command(ID_VIEW_PANEL);
    EXPECT_EQ((Texts{"Web Logins (1)"}), Rows(m_view->GetPanelTypes()));
    m_view->ShowSmartList(0);
    EXPECT_EQ((Texts{"alpha", "Inbox", "Zeta bank"}), Rows(m_view->GetPanelRecords()));
    Type("in");
    m_view->ShowSmartList(0);
    EXPECT_EQ((Texts{"alpha", "Inbox"}), Rows(m_view->GetPanelRecords()));
}

TEST_F(ViewSearch, LeavingTheBoxKeepsTheTenNewestSearches)
{
    OpenWindow();
    // An empty box stores nothing.
    EXPECT_EQ(0, Notify(WM_SEARCHBOX_LEAVE));
    EXPECT_TRUE(StoredHistory().empty());

    for (int i = 1; i <= 11; ++i) Search(("find " + std::to_string(i)).c_str());
    Texts newest;
    for (int i = 2; i <= 11; ++i) newest.push_back("find " + std::to_string(i));
    EXPECT_EQ(newest, Strings(m_view->GetRecentSearches()));
    EXPECT_EQ(newest, StoredHistory());

    // An older search again becomes the newest; the history does not grow.
    Search("find 4");
    newest.erase(std::find(newest.begin(), newest.end(), "find 4"));
    newest.push_back("find 4");
    EXPECT_EQ(newest, Strings(m_view->GetRecentSearches()));

    // The history is the user's: the next start offers it again.
    CloseWindow();
    OpenWindow();
    EXPECT_EQ(newest, Strings(m_view->GetRecentSearches()));
}

TEST_F(ViewSearch, TheHistoryPopupListsTheNewestFirstAndItsEntriesSearch)
{
    WriteDatabase();
    OpenWindow();
    {
        BCMenu menu;
        CMenu* search = m_view->BuildSearchMenu(menu);
        ASSERT_NE(nullptr, search);
        EXPECT_EQ((Texts{"> Recent Searches", "-", "32947 Clear Search History"}), MenuItems(*search));
        ASSERT_NE(nullptr, search->GetSubMenu(0));
        EXPECT_EQ((Texts{"32948 No Recent Searches (greyed)"}), MenuItems(*search->GetSubMenu(0)));
    }

    Search("alpha");
    Search("zeta");
    Search("loose");
    {
        BCMenu menu;
        CMenu* search = m_view->BuildSearchMenu(menu);
        ASSERT_NE(nullptr, search);
        ASSERT_NE(nullptr, search->GetSubMenu(0));
        EXPECT_EQ((Texts{"8000 loose", "8001 zeta", "8002 alpha"}), MenuItems(*search->GetSubMenu(0)));
    }

    // An entry goes into the box and searches.
    Command(ID_RECENT_SEARCH_FIRST + 1);
    EXPECT_EQ("zeta", BoxText());
    EXPECT_EQ((Texts{"Zeta bank"}), ListRecords());
    // An id past the entries does nothing.
    Command(ID_RECENT_SEARCH_FIRST + 3);
    EXPECT_EQ("zeta", BoxText());
    EXPECT_EQ((Texts{"Zeta bank"}), ListRecords());
}

TEST_F(ViewSearch, ClearingTheHistoryAsksFirstAndEmptiesTheBox)
{
    WriteDatabase();
    OpenWindow();
    zvtest::ScriptedModal modal;
    // Nothing to clear: no question.
    Command(ID_CLEAR_SEARCH_HISTORY);
    EXPECT_TRUE(modal.MessageBoxes().empty());

    Search("alpha");
    Search("bank");
    EXPECT_EQ((Texts{"Inbox", "Loose", "Zeta bank"}), ListRecords());
    modal.AnswerMessageBox(IDNO);
    Command(ID_CLEAR_SEARCH_HISTORY);
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_EQ("Are you really sure you want to delete recent search history?", modal.MessageBoxes()[0].text);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), modal.MessageBoxes()[0].type & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ((Texts{"alpha", "bank"}), StoredHistory());
    EXPECT_EQ("bank", BoxText());

    modal.AnswerMessageBox(IDYES);
    Command(ID_CLEAR_SEARCH_HISTORY);
    EXPECT_TRUE(m_view->GetRecentSearches().GetSize() == 0);
    EXPECT_TRUE(StoredHistory().empty());
    EXPECT_EQ("", BoxText());
    EXPECT_EQ(Box().m_hWnd, ::GetFocus());
    // The emptied box shows every record again.
    EXPECT_EQ((Texts{"Inbox", "Loose", "Shop online", "Zeta bank", "alpha"}), ListRecords());
}

}  // namespace

namespace {

class PanelRecordList : public ViewSearch {};

// The records of one type in an order of their own, texts equal but for
// case and texts equal outright among them.
TEST_F(PanelRecordList, RowsComeInTheOrderTheSortedListGivesThemAndEmptyWithoutANoticePerRow)
{
    {
        CDatabaseObj db;
        ASSERT_EQ(0, db.OpenInFolder(CAppPrefMgr::GetInstance()->GetUserDirectory(User())));
        AddType(db, "Bank", 0x41);
        for (const char* text : {"beta", "Alpha", "beta", "alpha", "Gamma", "", "ALPHA", "beta 2", "Beta"})
            AddRecord(db, TestKey(0x41).b, text, "", "", KEY_UNFILED);
        ASSERT_EQ(0, db.Save());
    }
    OpenWindow();
    Command(ID_VIEW_PANEL);
    CListCtrl& panel = m_view->GetPanelRecords();

    // A list of the same sorted style filled with the records as they come.
    CListCtrl reference;
    ASSERT_TRUE(reference.Create(WS_CHILD | LVS_REPORT | LVS_SORTASCENDING, CRect(0, 0, 100, 100), m_view, 4321));
    reference.InsertColumn(0, "Description", LVCFMT_LEFT, 100);
    CRecordList& records = m_view->GetDatabase().GetRecords();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        auto* record = static_cast<CRecord*>(records.GetNext(pos));
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = reference.GetItemCount();
        const CString text = record->GetField(0);
        item.pszText = const_cast<LPSTR>((LPCSTR)text);
        item.lParam = (LPARAM)record;
        reference.InsertItem(&item);
    }
    ASSERT_EQ(9, reference.GetItemCount());
    ASSERT_EQ(reference.GetItemCount(), panel.GetItemCount());
    for (int row = 0; row < panel.GetItemCount(); ++row) {
        EXPECT_EQ(reference.GetItemData(row), panel.GetItemData(row)) << row;
        EXPECT_EQ(std::string(reference.GetItemText(row, 0)), std::string(panel.GetItemText(row, 0))) << row;
    }
    reference.DestroyWindow();

    // Emptying a panel list asks for no notice per row.
    for (CListCtrl* list : {&m_view->GetPanelTypes(), &m_view->GetPanelRecords(), &m_view->GetPanelSmartLists()}) {
        NMLISTVIEW notice{};
        notice.hdr.hwndFrom = list->m_hWnd;
        notice.hdr.idFrom = (UINT_PTR)list->GetDlgCtrlID();
        notice.hdr.code = LVN_DELETEALLITEMS;
        notice.iItem = -1;
        EXPECT_EQ(TRUE, ::SendMessageA(m_view->m_hWnd, WM_NOTIFY, notice.hdr.idFrom, (LPARAM)&notice))
            << list->GetDlgCtrlID();
    }
}

TEST_F(PanelRecordList, LeavingListModeClearsItsSelection)
{
    WriteDatabase();
    OpenWindow();
    CRecordListCtrl& list = m_view->GetRecordList();
    ASSERT_GE(list.GetItemCount(), 3);
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    Command(ID_VIEW_PANEL);
    EXPECT_EQ(0u, list.GetSelectedCount());
    EXPECT_EQ(-1, list.GetNextItem(-1, LVNI_SELECTED));
}

}  // namespace
