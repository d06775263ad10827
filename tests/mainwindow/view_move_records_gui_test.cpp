// Moving records in the program's main window: the record popup's contents
// for each selection, the Type and Category commands in list mode, and the
// drag of a record onto a type in panel mode, driven by the messages the
// panel lists send; what reaches the database file and the event log.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/history/LogEvents.h"
#include "app/res/RecordListRes.h"
#include "core/items/DefaultItems.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/items/Category.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/models/MoveMenuEntries.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/ScriptedModal.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/menus/BCMenu.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

using zvtest::TestKey;

bool SameKey(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, kUniqueKeySize) == 0; }

class MoveRecords : public zvtest::AppWindowTest {
protected:
    MoveRecords() : AppWindowTest("zvmove") {}

    CString UserFolder() { return CAppPrefMgr::GetInstance()->GetUserDirectory(App().GetCurrentUser()); }

    // Types Bank (icon 5, mask 0x2) and Mail (icon 9); categories Home and
    // Work; Zeta and alpha are Bank records at Home, Inbox a Mail record,
    // Loose has no type.
    void WriteDatabase()
    {
        CDatabaseObj db;
        ASSERT_EQ(0, db.OpenInFolder(UserFolder()));
        AddType(db, "Bank", 0x41, 5, 0x2);
        AddType(db, "Mail", 0x42, 9, 0);
        AddCategory(db, "Home", 0x51);
        AddCategory(db, "Work", 0x52);
        AddRecord(db, TestKey(0x41).b, TestKey(0x51).b, "Zeta", 101);
        AddRecord(db, TestKey(0x41).b, TestKey(0x51).b, "alpha", 102);
        AddRecord(db, TestKey(0x42).b, KEY_UNFILED, "Inbox", 103);
        AddRecord(db, KEY_UNFILED, KEY_UNFILED, "Loose", 104);
        ASSERT_EQ(0, db.Save());
    }
    static void AddType(CDatabaseObj& db, const char* name, uint8_t key, WORD icon, WORD mask)
    {
        auto* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
        type->SetName(name);
        type->SetKey(TestKey(key).b);
        type->SetIcon(icon);
        type->SetHiddenMask(mask);
        db.GetTypes().Add(type);
    }
    static void AddCategory(CDatabaseObj& db, const char* name, uint8_t key)
    {
        auto* category = db.GetCategories().NewItem();
        static_cast<CCategory*>(category)->SetName(name);
        category->SetKey(TestKey(key).b);
        db.GetCategories().Add(category);
    }
    static void AddRecord(CDatabaseObj& db, const uint8_t* typeKey, const uint8_t* categoryKey, const char* field1,
                          int32_t id)
    {
        auto* record = static_cast<CRecord*>(db.GetRecords().NewItem());
        record->SetTypeKey(typeKey);
        record->SetCategoryKey(categoryKey);
        record->SetField(0, field1);
        record->SetId(id);
        CStringArray labels;
        labels.Add("Own label");
        record->SetCustomLabels(labels);
        db.GetRecords().Add(record);
    }

    CRecord* Find(CDatabaseObj& db, const char* field1)
    {
        for (POSITION pos = db.GetRecords().GetHeadPosition(); pos;) {
            auto* record = static_cast<CRecord*>(db.GetRecords().GetNext(pos));
            if (std::string(record->GetField(0)) == field1) return record;
        }
        return nullptr;
    }
    CRecord* Find(const char* field1) { return Find(m_view->GetDatabase(), field1); }

    // The command id of the sub-menu entry named text.
    UINT MenuId(CMoveMenuEntries::Kind kind, const char* text)
    {
        CDatabaseObj& db = m_view->GetDatabase();
        CMoveMenuEntries entries(kind);
        entries.Build(kind == CMoveMenuEntries::kTypes ? static_cast<CObjectList&>(db.GetTypes())
                                                       : static_cast<CObjectList&>(db.GetCategories()),
                      nullptr);
        for (const auto& entry : entries.Entries())
            if (entry.text == text) return entry.id;
        ADD_FAILURE() << "no entry " << text;
        return 0;
    }

    void Command(UINT id) { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0); }

    // Selects exactly the rows of these records in the record list.
    void SelectInList(std::initializer_list<const char*> titles)
    {
        CRecordListCtrl& list = m_view->GetRecordList();
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (const char* title : titles)
            for (int row = 0; row < list.GetItemCount(); ++row)
                if (std::string(list.GetRecordAt(row)->GetField(0)) == title)
                    list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }

    int Row(CListCtrl& list, const char* prefix)
    {
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (std::string(list.GetItemText(row, 0)).rfind(prefix, 0) == 0) return row;
        ADD_FAILURE() << "no row " << prefix;
        return -1;
    }

    static void SelectRow(CListCtrl& list, int row)
    {
        list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.SendMessage(LVM_SETSELECTIONMARK, 0, row);
    }

    // The middle of a row, in the list's client coordinates.
    static POINT RowPoint(CListCtrl& list, int row)
    {
        RECT r{};
        list.GetItemRect(row, &r, LVIR_LABEL);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    // Panel mode with the Bank row chosen and alpha selected in the
    // description list.
    void PanelWithAlphaSelected()
    {
        Command(ID_VIEW_PANEL);
        ASSERT_EQ(kViewModePanel, m_view->GetViewMode());
        CListCtrl& types = m_view->GetPanelTypes();
        SelectRow(types, Row(types, "Bank"));
        ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_SELECTED, IDC_PANEL_TYPES, 0);
        CListCtrl& records = m_view->GetPanelRecords();
        SelectRow(records, Row(records, "alpha"));
    }

    void BeginDrag(int row)
    {
        NMLISTVIEW notice{};
        notice.hdr.hwndFrom = m_view->GetPanelRecords().m_hWnd;
        notice.hdr.idFrom = IDC_PANEL_RECORDS;
        notice.hdr.code = LVN_BEGINDRAG;
        notice.iItem = row;
        EXPECT_EQ(1, ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_BEGINDRAG, (WPARAM)&notice, 0));
    }
    // A mouse move over the panel type list at the point (its coordinates).
    void DragOverTypes(POINT pt)
    {
        EXPECT_EQ(1, ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_DRAGMOVE, (WPARAM)&pt, IDC_PANEL_TYPES));
    }
    void DropOnTypes(POINT pt) { EXPECT_EQ(1, ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_DROP, (WPARAM)&pt, 0)); }

    int EventCount() { return CLogEvents::GetInstance()->GetCount(); }
    std::string LastEvent()
    {
        const auto events = CLogEvents::GetInstance()->GetEvents();
        return events.empty() ? std::string() : std::string(events.back()->GetAction());
    }
};

// ---- The popup ------------------------------------------------------------------

struct MenuItemState {
    std::string text;
    UINT id;
    bool checked;
    bool grey;
};

std::vector<MenuItemState> Items(CMenu& menu)
{
    std::vector<MenuItemState> items;
    for (int i = 0; i < (int)menu.GetMenuItemCount(); ++i) {
        CString text;
        if (BCMenu::IsBCMenu(&menu)) static_cast<BCMenu&>(menu).GetItemText((UINT)i, text, MF_BYPOSITION);
        const UINT state = menu.GetMenuState((UINT)i, MF_BYPOSITION);
        items.push_back(MenuItemState{std::string(text), menu.GetMenuItemID(i), (state & MF_CHECKED) != 0,
                                      (state & MF_GRAYED) != 0});
    }
    return items;
}

int LiveCount(const CObjectList& list)
{
    int n = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (!static_cast<const CBaseItem*>(list.GetNext(pos))->IsDeleted()) ++n;
    return n;
}

const MenuItemState* ItemOf(const std::vector<MenuItemState>& items, UINT id)
{
    for (const MenuItemState& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

TEST_F(MoveRecords, ThePopupChecksTheRecordsTypeAndCategoryAndHoldsTheRecordCommands)
{
    WriteDatabase();
    OpenWindow();
    SelectInList({"Zeta"});
    BCMenu menu;
    ASSERT_TRUE(m_view->BuildRecordPopup(menu, CPoint(10, 10)));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);

    const std::vector<MenuItemState> top = Items(*popup);
    ASSERT_EQ(14u, top.size());
    EXPECT_EQ((UINT)ID_EDIT_ITEM, top[0].id);
    EXPECT_EQ((UINT)ID_CUSTOMIZE_FIELDS, top[3].id);
    EXPECT_EQ((UINT)ID_PRINT_RECORD, top[12].id);
    EXPECT_EQ((UINT)ID_ADD_ATTACHMENT, top[13].id);
    EXPECT_EQ("Add Attachment", top[13].text);
    for (UINT id : {ID_EDIT_ITEM, ID_DUPLICATE_ITEM, ID_CUSTOMIZE_FIELDS, ID_EDIT_CUT, ID_PRINT_RECORD})
        EXPECT_FALSE(ItemOf(top, id)->grey) << id;
    EXPECT_TRUE(ItemOf(top, ID_AUTO_FILL)->grey) << "not a web login";

    // Types in list order, Unfiled, then the editor; the record's type
    // checked.
    const std::vector<MenuItemState> types = Items(*popup->GetSubMenu(1));
    const int typeCount = LiveCount(m_view->GetDatabase().GetTypes());
    ASSERT_EQ((size_t)typeCount + 2, types.size());
    for (int i = 0; i < typeCount; ++i) EXPECT_EQ((UINT)ID_MOVE_TO_TYPE_FIRST + i, types[i].id) << types[i].text;
    EXPECT_EQ((UINT)ID_MOVE_TO_UNFILED_TYPE, types[typeCount].id);
    EXPECT_EQ((UINT)ID_EDIT_TYPES, types[typeCount + 1].id);
    EXPECT_EQ("Edit Types...", types[typeCount + 1].text);
    for (int i = 0; i < typeCount + 2; ++i) EXPECT_EQ(types[i].text == "Bank", types[i].checked) << types[i].text;

    const std::vector<MenuItemState> categories = Items(*popup->GetSubMenu(2));
    const int categoryCount = LiveCount(m_view->GetDatabase().GetCategories());
    ASSERT_EQ((size_t)categoryCount + 2, categories.size());
    for (int i = 0; i < categoryCount; ++i)
        EXPECT_EQ(categories[i].text == "Home", categories[i].checked) << categories[i].text;
    EXPECT_EQ((UINT)ID_MOVE_TO_UNFILED_CATEGORY, categories[categoryCount].id);
    EXPECT_FALSE(categories[categoryCount].checked);
    EXPECT_EQ((UINT)ID_EDIT_CATEGORIES, categories[categoryCount + 1].id);
}

TEST_F(MoveRecords, ThePopupFollowsHowManyRecordsAreSelected)
{
    WriteDatabase();
    OpenWindow();
    struct Case {
        std::initializer_list<const char*> selected;
        bool editGrey, cutGrey, deleteGrey;
        bool unfiledTypeChecked;
        size_t topCount;
    };
    const Case cases[] = {
        {{}, true, true, true, false, 13},
        {{"Loose"}, false, false, false, true, 14},
        {{"Zeta", "Inbox"}, true, false, false, false, 13},
    };
    for (const Case& c : cases) {
        SelectInList(c.selected);
        BCMenu menu;
        ASSERT_TRUE(m_view->BuildRecordPopup(menu, CPoint(10, 10)));
        CMenu* popup = menu.GetSubMenu(0);
        const std::vector<MenuItemState> top = Items(*popup);
        const size_t n = c.selected.size();
        EXPECT_EQ(c.topCount, top.size()) << n;
        EXPECT_EQ(c.editGrey, ItemOf(top, ID_EDIT_ITEM)->grey) << n;
        EXPECT_EQ(c.editGrey, ItemOf(top, ID_PRINT_RECORD)->grey) << n;
        EXPECT_EQ(c.cutGrey, ItemOf(top, ID_EDIT_CUT)->grey) << n;
        EXPECT_EQ(c.deleteGrey, ItemOf(top, ID_DELETE_ITEM)->grey) << n;
        const std::vector<MenuItemState> types = Items(*popup->GetSubMenu(1));
        int checked = 0;
        for (const MenuItemState& item : types) checked += item.checked ? 1 : 0;
        EXPECT_EQ(c.unfiledTypeChecked, ItemOf(types, ID_MOVE_TO_UNFILED_TYPE)->checked) << n;
        EXPECT_EQ(c.unfiledTypeChecked ? 1 : 0, checked) << "no selection, no check mark";
    }
}

TEST_F(MoveRecords, NoPopupOnAnEmptySpotOfThePanelOrTheTree)
{
    WriteDatabase();
    OpenWindow();
    zvtest::ScriptedModal modal;
    for (UINT mode : {ID_VIEW_PANEL, ID_VIEW_TREE}) {
        Command(mode);
        // The bottom of the last row; a shown popup would wait for a click,
        // so the spot must be empty before the test asks.
        int lastBottom = 0;
        CWnd* display = nullptr;
        if (mode == ID_VIEW_PANEL) {
            CListCtrl& list = m_view->GetPanelRecords();
            RECT r{};
            if (list.GetItemCount() > 0 && list.GetItemRect(list.GetItemCount() - 1, &r, LVIR_BOUNDS))
                lastBottom = r.bottom;
            display = &list;
        } else {
            CTreeCtrl& tree = m_view->GetTree();
            RECT r{};
            HTREEITEM last = tree.GetNextItem(nullptr, TVGN_LASTVISIBLE);
            if (last && tree.GetItemRect(last, &r, FALSE)) lastBottom = r.bottom;
            display = &tree;
        }
        RECT client{};
        display->GetClientRect(&client);
        ASSERT_LT(lastBottom + 4, client.bottom) << "no empty spot under the rows";
        POINT below{client.right / 2, client.bottom - 2};
        display->ClientToScreen(&below);
        ::SendMessageA(m_view->m_hWnd, WM_CONTEXTMENU, (WPARAM)display->m_hWnd, MAKELPARAM(below.x, below.y));
    }
}

// ---- Move commands -----------------------------------------------------------------

TEST_F(MoveRecords, ThreeListRowsMovedToATypeTakeItAllAndAreSavedWithOneEvent)
{
    WriteDatabase();
    OpenWindow();
    SelectInList({"Zeta", "alpha", "Loose"});
    const int events = EventCount();

    Command(MenuId(CMoveMenuEntries::kTypes, "Mail"));

    for (const char* title : {"Zeta", "alpha", "Loose"}) {
        CRecord* record = Find(title);
        EXPECT_TRUE(SameKey(TestKey(0x42).b, record->GetTypeKey())) << title;
        EXPECT_EQ(9, record->GetIcon()) << title;
        EXPECT_EQ(0, record->GetHiddenMask()) << title;
        EXPECT_TRUE(record->GetCustomLabel(0).IsEmpty()) << title;
    }
    EXPECT_TRUE(SameKey(TestKey(0x51).b, Find("Zeta")->GetCategoryKey())) << "the category stays";
    EXPECT_EQ(4, m_view->GetRecordList().GetItemCount()) << "the rows stay in the list";
    EXPECT_EQ(events + 1, EventCount());
    EXPECT_EQ("Record edited", LastEvent());

    CDatabaseObj saved;
    ASSERT_EQ(0, saved.Load(UserFolder() + "\\ZorvikanDatabase.zdb"));
    for (const char* title : {"Zeta", "alpha", "Loose"})
        EXPECT_TRUE(SameKey(TestKey(0x42).b, Find(saved, title)->GetTypeKey())) << title;
    EXPECT_TRUE(SameKey(TestKey(0x42).b, Find(saved, "Inbox")->GetTypeKey()));
    EXPECT_TRUE(Find(saved, "Zeta")->MatchesFilter(TestKey(0x42).b, TestKey(0x51).b));
}

TEST_F(MoveRecords, UnfiledTypeAndCategoryEntriesAndCategoryMovesKeepTheType)
{
    WriteDatabase();
    OpenWindow();
    SelectInList({"Zeta"});

    Command(MenuId(CMoveMenuEntries::kCategories, "Work"));
    CRecord* zeta = Find("Zeta");
    EXPECT_TRUE(SameKey(TestKey(0x52).b, zeta->GetCategoryKey()));
    EXPECT_TRUE(SameKey(TestKey(0x41).b, zeta->GetTypeKey())) << "still found by its type";
    EXPECT_EQ(CString("Own label"), zeta->GetCustomLabel(0));

    Command(ID_MOVE_TO_UNFILED_CATEGORY);
    EXPECT_TRUE(SameKey(KEY_UNFILED, zeta->GetCategoryKey()));

    Command(ID_MOVE_TO_UNFILED_TYPE);
    EXPECT_TRUE(SameKey(KEY_UNFILED, zeta->GetTypeKey()));
    EXPECT_EQ(24, zeta->GetIcon());
    EXPECT_EQ(0, zeta->GetHiddenMask());

    // An id past the types (the list shrank since the menu was shown) moves
    // nothing to "Unfiled" or anywhere else.
    SelectInList({"Inbox"});
    Command(ID_MOVE_TO_TYPE_LAST);
    EXPECT_TRUE(SameKey(TestKey(0x42).b, Find("Inbox")->GetTypeKey()));

    CDatabaseObj saved;
    ASSERT_EQ(0, saved.Load(UserFolder() + "\\ZorvikanDatabase.zdb"));
    EXPECT_TRUE(SameKey(KEY_UNFILED, Find(saved, "Zeta")->GetTypeKey()));
    EXPECT_TRUE(SameKey(KEY_UNFILED, Find(saved, "Zeta")->GetCategoryKey()));
}

// ---- Drag and drop in panel mode ---------------------------------------------------

TEST_F(MoveRecords, ARecordDraggedOntoATypeRowTakesThatType)
{
    WriteDatabase();
    OpenWindow();
    PanelWithAlphaSelected();
    CListCtrl& types = m_view->GetPanelTypes();
    const int mailRow = Row(types, "Mail");
    const int events = EventCount();
    Find("alpha")->SetHiddenMask(0x8);

    BeginDrag(Row(m_view->GetPanelRecords(), "alpha"));
    EXPECT_TRUE(m_view->IsRecordDragging());
    EXPECT_EQ(types.m_hWnd, ::GetCapture());
    DragOverTypes(RowPoint(types, mailRow));
    EXPECT_EQ(mailRow, m_view->GetDropRow());
    EXPECT_TRUE(types.GetItemState(mailRow, LVIS_DROPHILITED) & LVIS_DROPHILITED);
    DropOnTypes(RowPoint(types, mailRow));

    EXPECT_FALSE(m_view->IsRecordDragging());
    EXPECT_EQ(nullptr, ::GetCapture());
    CRecord* alpha = Find("alpha");
    EXPECT_TRUE(SameKey(TestKey(0x42).b, alpha->GetTypeKey()));
    EXPECT_EQ(9, alpha->GetIcon());
    EXPECT_EQ(0x8, alpha->GetHiddenMask()) << "a drop keeps the mask";
    EXPECT_EQ(CString("Own label"), alpha->GetCustomLabel(0)) << "and the labels";
    // The panel follows the record to its new type.
    EXPECT_EQ(alpha, m_view->GetSelectedRecord());
    const int newMailRow = Row(types, "Mail");
    EXPECT_TRUE(types.GetItemState(newMailRow, LVIS_SELECTED) & LVIS_SELECTED);
    for (int row = 0; row < types.GetItemCount(); ++row)
        EXPECT_FALSE(types.GetItemState(row, LVIS_DROPHILITED) & LVIS_DROPHILITED) << row;
    // Marked, logged and saved.
    EXPECT_EQ(events + 1, EventCount());
    EXPECT_EQ("Record edited", LastEvent());
    CDatabaseObj saved;
    ASSERT_EQ(0, saved.Load(UserFolder() + "\\ZorvikanDatabase.zdb"));
    EXPECT_TRUE(SameKey(TestKey(0x42).b, Find(saved, "alpha")->GetTypeKey()));
}

TEST_F(MoveRecords, ADropOnItsOwnTypeOrAnEscapeChangesNothing)
{
    WriteDatabase();
    OpenWindow();
    PanelWithAlphaSelected();
    CListCtrl& types = m_view->GetPanelTypes();
    const int events = EventCount();
    const std::string path = std::string(UserFolder()) + "\\ZorvikanDatabase.zdb";
    WIN32_FILE_ATTRIBUTE_DATA before{};
    ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &before));

    // Its own type: nothing saved.
    const int bankRow = Row(types, "Bank");
    BeginDrag(Row(m_view->GetPanelRecords(), "alpha"));
    DragOverTypes(RowPoint(types, bankRow));
    DropOnTypes(RowPoint(types, bankRow));
    EXPECT_TRUE(SameKey(TestKey(0x41).b, Find("alpha")->GetTypeKey()));

    // Esc while over another type: the highlight goes, the type stays.
    const int mailRow = Row(types, "Mail");
    BeginDrag(Row(m_view->GetPanelRecords(), "alpha"));
    DragOverTypes(RowPoint(types, mailRow));
    ASSERT_TRUE(types.GetItemState(mailRow, LVIS_DROPHILITED) & LVIS_DROPHILITED);
    EXPECT_EQ(1, ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_ESCAPE, 0, 0));
    EXPECT_FALSE(m_view->IsRecordDragging());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(types.GetItemState(mailRow, LVIS_DROPHILITED) & LVIS_DROPHILITED);
    // A drop message after the end of the drag does nothing.
    DropOnTypes(RowPoint(types, mailRow));
    EXPECT_TRUE(SameKey(TestKey(0x41).b, Find("alpha")->GetTypeKey()));

    EXPECT_EQ(events, EventCount());
    WIN32_FILE_ATTRIBUTE_DATA after{};
    ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ(0, ::CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime)) << "not saved";
}

TEST_F(MoveRecords, ReleasingOverTheDescriptionsAppliesTheLastTypeRowPassed)
{
    WriteDatabase();
    OpenWindow();
    PanelWithAlphaSelected();
    CListCtrl& types = m_view->GetPanelTypes();
    CListCtrl& records = m_view->GetPanelRecords();
    const int unfiledRow = Row(types, "Unfiled");

    BeginDrag(Row(records, "alpha"));
    DragOverTypes(RowPoint(types, unfiledRow));
    // Back over the description list, in the type list's coordinates (it
    // holds the capture).
    POINT over = RowPoint(records, 0);
    records.ClientToScreen(&over);
    types.ScreenToClient(&over);
    DropOnTypes(over);

    CRecord* alpha = Find("alpha");
    EXPECT_TRUE(SameKey(KEY_UNFILED, alpha->GetTypeKey()));
    EXPECT_EQ(24, alpha->GetIcon());
}

// ---- The smart-list pane -------------------------------------------------------------

TEST_F(MoveRecords, AColumnClickFoldsTheSmartListPaneAndASecondUnfoldsIt)
{
    WriteDatabase();
    OpenWindow();
    Command(ID_VIEW_PANEL);
    ASSERT_TRUE(m_view->IsSmartListPaneUnfolded());
    CListCtrl& smart = m_view->GetPanelSmartLists();
    CHeaderCtrl* header = smart.GetHeaderCtrl();
    ASSERT_NE(nullptr, header);
    auto rectOf = [this](CWnd& wnd) {
        CRect r;
        wnd.GetWindowRect(&r);
        m_view->ScreenToClient(&r);
        return r;
    };
    CRect headerRect;
    header->GetWindowRect(&headerRect);
    auto format = [header] {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        header->GetItem(0, &item);
        return item.fmt;
    };

    EXPECT_EQ(0, ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_COLUMNCLICK, IDC_PANEL_SMART_LISTS, (LPARAM)header));
    EXPECT_FALSE(m_view->IsSmartListPaneUnfolded());
    EXPECT_TRUE(format() & HDF_SORTUP);
    EXPECT_FALSE(format() & HDF_SORTDOWN);
    const CRect bottom = rectOf(m_view->GetPanelRecords());
    EXPECT_EQ(bottom.bottom - headerRect.Height(), rectOf(smart).top);
    EXPECT_EQ(rectOf(smart).top, rectOf(m_view->GetPanelTypes()).bottom);

    EXPECT_EQ(0, ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_COLUMNCLICK, IDC_PANEL_SMART_LISTS, (LPARAM)header));
    EXPECT_TRUE(m_view->IsSmartListPaneUnfolded());
    EXPECT_TRUE(format() & HDF_SORTDOWN);
    EXPECT_FALSE(format() & HDF_SORTUP);
    RECT row{};
    ASSERT_TRUE(smart.GetItemRect(0, &row, LVIR_BOUNDS));
    EXPECT_EQ(bottom.bottom - 4 * (row.bottom - row.top), rectOf(smart).top) << "three rows and the header";
}

}  // namespace
