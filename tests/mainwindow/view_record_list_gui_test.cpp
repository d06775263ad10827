// The main view's record list in a window of the program's frame: its
// columns and titles, sorting from the header, column widths, the row
// colour, and cut, copy and paste through the real clipboard.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/services/RecordClipboardText.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "exchange/clipboard/RecordClipboardExchange.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/models/RecordColumns.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/EnableProbe.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/WindowTexts.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

// The view's state, reached as its own files reach it.
struct ViewMembers : CZorvikanDesktopView {
    static CViewState& State(CZorvikanDesktopView& view) { return view.*(&ViewMembers::m_viewState); }
    // The paste itself, without the command's update that comes before it.
    static void Paste(CZorvikanDesktopView& view) { (view.*(&ViewMembers::OnEditPaste))(); }
};

class RecordList : public zvtest::AppWindowTest {
protected:
    RecordList() : AppWindowTest("zvreclist") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        m_previousExchange = SetRecordClipboardText(&m_exchange);
        // The quit that the last test's frame left behind would end the
        // first modal loop at once.
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
        ReleaseClipboardHolder();
        AppWindowTest::TearDown();
        SetRecordClipboardText(m_previousExchange);
    }

    CDatabaseObj& Db() { return m_view->GetDatabase(); }
    CRecordListCtrl& List() { return m_view->GetRecordList(); }
    CViewState& State() { return ViewMembers::State(*m_view); }

    CTypeItem* AddType(const char* name)
    {
        CTypeItem* type = static_cast<CTypeItem*>(Db().GetTypes().NewItem());
        type->SetName(name);
        for (int i = 0; i < kItemFieldCount; ++i) type->SetField(i, CString(name) + " " + CString(char('A' + i)));
        Db().GetTypes().AddSorted(type);
        return type;
    }

    CRecord* AddRecord(const char* first, const char* second = "", const char* typeName = "Unfiled")
    {
        CStringArray values;
        values.Add(typeName);
        values.Add(first);
        values.Add(second);
        return Db().ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
    }

    // Field 1 of every row, top to bottom.
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (int row = 0; row < List().GetItemCount(); ++row)
            rows.push_back(std::string(List().GetRecordAt(row)->GetField(0)));
        return rows;
    }

    std::vector<std::string> HeaderTitles()
    {
        std::vector<std::string> titles;
        CHeaderCtrl* header = List().GetHeaderCtrl();
        for (int i = 0; i < header->GetItemCount(); ++i) {
            char text[100] = {};
            HDITEMA item{};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            header->GetItem(i, &item);
            titles.push_back(text);
        }
        return titles;
    }

    int HeaderWidth(int item)
    {
        HDITEMA hd{};
        hd.mask = HDI_WIDTH;
        List().GetHeaderCtrl()->GetItem(item, &hd);
        return hd.cxy;
    }

    // A notice of the list's header as the list passes it to the view.
    LRESULT HeaderNotice(UINT code, int item, int width = 0)
    {
        HDITEMA hd{};
        hd.mask = HDI_WIDTH;
        hd.cxy = width;
        NMHEADERA nm{};
        nm.hdr.hwndFrom = List().GetHeaderCtrl()->m_hWnd;
        nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(nm.hdr.hwndFrom);
        nm.hdr.code = code;
        nm.iItem = item;
        nm.pitem = &hd;
        return ::SendMessageA(m_view->m_hWnd, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    }

    void Command(UINT id) { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0); }

    void SelectRows(std::initializer_list<int> rows)
    {
        List().SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows) List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }

    static std::string ClipboardText() { return zvtest::ClipboardText(); }

    static void PutOnClipboard(const std::string& text)
    {
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_TEXT, block);
        ::CloseClipboard();
    }

    // Another window holds the clipboard open, so no one else can open it.
    void HoldClipboard()
    {
        m_holder = ::CreateWindowExA(0, "STATIC", "holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(::OpenClipboard(m_holder));
    }

    void ReleaseClipboardHolder()
    {
        if (!m_holder) return;
        ::CloseClipboard();
        ::DestroyWindow(m_holder);
        m_holder = nullptr;
    }

    CRecordClipboardExchange m_exchange;
    IRecordClipboardText* m_previousExchange = nullptr;
    HWND m_holder = nullptr;
};

TEST_F(RecordList, AllTypesTitlesTheFieldsByNumberAndATypeByItsLabels)
{
    CTypeItem* bank = AddType("Bank");
    m_view->LoadListColumns(true);
    const std::vector<std::string> all = HeaderTitles();
    ASSERT_EQ(all.size(), 15u);
    EXPECT_EQ(all,
              (std::vector<std::string>{"", "Type", "Category", "Field 1", "Field 2", "Field 3", "Field 4", "Field 5",
                                        "Field 6", "Field 7", "Field 8", "Field 9", "Date Mod", "", ""}));
    std::memcpy(State().typeFilter, bank->GetKey(), kUniqueKeySize);
    m_view->LoadListColumns(true);
    const std::vector<std::string> typed = HeaderTitles();
    ASSERT_EQ(typed.size(), 15u);
    EXPECT_EQ(typed[3], "Bank A");
    EXPECT_EQ(typed[12], "Bank J");
    EXPECT_EQ(typed[1], "Type");
    // "Unfiled" titles by number, as all types do.
    std::memcpy(State().typeFilter, KEY_UNFILED, kUniqueKeySize);
    m_view->LoadListColumns(true);
    EXPECT_EQ(HeaderTitles()[3], "Field 1");
}

TEST_F(RecordList, ColumnsTakeTheirFixedWidthsAndCarryTheirIds)
{
    m_view->GetListColumns().SetColumnVisible(kColumnType, 0);
    m_view->GetListColumns().SetColumnWidth(kColumnCategory, 77);
    m_view->LoadListColumns(false);
    CHeaderCtrl* header = List().GetHeaderCtrl();
    ASSERT_EQ(header->GetItemCount(), 14);
    const int expectIds[] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    for (int i = 0; i < 14; ++i) {
        HDITEMA item{};
        item.mask = HDI_LPARAM;
        header->GetItem(i, &item);
        EXPECT_EQ(item.lParam, expectIds[i]) << i;
    }
    EXPECT_EQ(HeaderWidth(0), 27);
    EXPECT_EQ(HeaderWidth(1), 77);
    EXPECT_EQ(HeaderWidth(2), DefaultShowColumns().GetColumnWidth(kColumnFirstField));
    EXPECT_EQ(HeaderWidth(12), 24);
    EXPECT_EQ(HeaderWidth(13), 30);
}

TEST_F(RecordList, AHeaderClickTwiceRestoresTheDirectionAnotherColumnStartsAscending)
{
    AddRecord("b", "2");
    AddRecord("a", "3");
    AddRecord("c", "1");
    m_view->FillRecordList();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "c"}));
    HeaderNotice(HDN_ITEMCLICKA, 3);
    EXPECT_EQ(State().sortKey, 0x00003u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"c", "b", "a"}));
    HeaderNotice(HDN_ITEMCLICKW, 3);
    EXPECT_EQ(State().sortKey, 0x10003u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "c"}));
    HeaderNotice(HDN_ITEMCLICKA, 4);
    EXPECT_EQ(State().sortKey, 0x10004u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(RecordList, AClickOnTheHeaderItselfReachesTheView)
{
    AddRecord("b");
    AddRecord("a");
    m_view->FillRecordList();
    CHeaderCtrl* header = List().GetHeaderCtrl();
    RECT item{};
    ASSERT_TRUE(header->GetItemRect(3, &item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageA(header->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(header->m_hWnd, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(State().sortKey, 0x00003u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"b", "a"}));
}

TEST_F(RecordList, SortingKeepsTheSelectionWithItsRecords)
{
    AddRecord("b");
    AddRecord("a");
    AddRecord("c");
    m_view->FillRecordList();
    SelectRows({0});  // "a"
    HeaderNotice(HDN_ITEMCLICKA, 3);
    ASSERT_EQ(Rows(), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(List().GetSelectedCount(), 1u);
}

TEST_F(RecordList, ADividerDoubleClickFitsTheColumnPictureColumnsGet24)
{
    AddRecord("short");
    AddRecord("a much longer first field");
    m_view->FillRecordList();
    const int longest = (int)List().SendMessage(LVM_GETSTRINGWIDTHA, 0, (LPARAM) "a much longer first field");
    HeaderNotice(HDN_DIVIDERDBLCLICKA, 3);
    EXPECT_EQ(HeaderWidth(3), longest + 8);
    EXPECT_EQ(m_view->GetListColumns().GetColumnWidth(kColumnFirstField), longest + 8);
    for (int item : {0, 13, 14}) {
        HeaderNotice(HDN_DIVIDERDBLCLICKW, item);
        EXPECT_EQ(HeaderWidth(item), 24) << item;
        EXPECT_EQ(m_view->GetListColumns().GetColumnWidth((uint16_t)item), 24) << item;
    }
    // Not saved by the double click itself.
    EXPECT_EQ(CAppPrefMgr::GetInstance()
                  ->GetPrefs()
                  ->GetShowColumns(CZorvikanDesktopApp::GetPrefsSection(), App().GetCurrentUser())
                  .GetColumnWidth(kColumnFirstField),
              DefaultShowColumns().GetColumnWidth(kColumnFirstField));
}

TEST_F(RecordList, ADividerDoubleClickInAnEmptyListGivesTheHeader8AndStores24)
{
    m_view->FillRecordList();
    HeaderNotice(HDN_DIVIDERDBLCLICKA, 5);
    EXPECT_EQ(HeaderWidth(5), 8);
    EXPECT_EQ(m_view->GetListColumns().GetColumnWidth(5), 24);
}

TEST_F(RecordList, DraggingAColumnNarrowKeepsTheHeaderStores24AndSaves)
{
    HeaderNotice(HDN_ENDTRACKA, 4, 10);
    EXPECT_EQ(m_view->GetListColumns().GetColumnWidth(4), 24);
    HeaderNotice(HDN_ENDTRACKW, 5, 90);
    const CShowColumns stored = CAppPrefMgr::GetInstance()->GetPrefs()->GetShowColumns(
        CZorvikanDesktopApp::GetPrefsSection(), App().GetCurrentUser());
    EXPECT_EQ(stored.GetColumnWidth(4), 24);
    EXPECT_EQ(stored.GetColumnWidth(5), 90);
}

TEST_F(RecordList, AChosenTypeKeepsItsOwnColumns)
{
    CTypeItem* bank = AddType("Bank");
    std::memcpy(State().typeFilter, bank->GetKey(), kUniqueKeySize);
    m_view->LoadListColumns(true);
    HeaderNotice(HDN_ENDTRACKA, 3, 120);
    EXPECT_EQ(bank->GetColumns().GetColumnWidth(3), 120);
    // The preferences' set (all types) is untouched.
    EXPECT_EQ(CAppPrefMgr::GetInstance()
                  ->GetPrefs()
                  ->GetShowColumns(CZorvikanDesktopApp::GetPrefsSection(), App().GetCurrentUser())
                  .GetColumnWidth(3),
              DefaultShowColumns().GetColumnWidth(3));
}

TEST_F(RecordList, EvenRowsFollowTheRowColour)
{
    AddRecord("a");
    AddRecord("b");
    State().rowColor = RGB(200, 220, 240);
    m_view->FillRecordList();
    EXPECT_EQ(List().m_crEvenRow, RGB(200, 220, 240));
    // A colour chosen later shows at the next paint, without a refill.
    State().rowColor = RGB(10, 120, 30);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 20);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    for (UINT row : {0u, 1u}) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTVIEW;
        dis.itemID = row;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hDC = memory;
        dis.rcItem = {0, 0, 200, 20};
        List().DrawItem(&dis);
        // Inside the icon cell, where a record without a picture leaves the
        // row's back colour.
        const COLORREF expect = row == 0 ? RGB(10, 120, 30) : List().m_crOddRow;
        EXPECT_EQ(::GetPixel(memory, 2, 2), expect) << row;
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

TEST_F(RecordList, CopyPutsTheSelectedRecordsOnTheClipboardAsExchangeText)
{
    AddRecord("alpha", "one");
    AddRecord("beta", "two");
    AddRecord("gamma", "three");
    m_view->FillRecordList();
    SelectRows({0, 2});
    Command(ID_EDIT_COPY);
    const std::string text = ClipboardText();
    EXPECT_EQ(text.rfind("Zorvikan Zkv File -v3.0\r\nF\r\n", 0), 0u) << text;
    const size_t alpha = text.find("alpha"), gamma = text.find("gamma");
    EXPECT_NE(alpha, std::string::npos);
    EXPECT_NE(gamma, std::string::npos);
    EXPECT_LT(alpha, gamma);
    EXPECT_EQ(text.find("beta"), std::string::npos);
    EXPECT_TRUE(m_view->IsProgramTextOnClipboard());
    // Nothing is deleted by a copy.
    EXPECT_EQ(List().GetItemCount(), 3);
}

TEST_F(RecordList, CutDeletesOnlyWhatReachedTheClipboard)
{
    CRecord* alpha = AddRecord("alpha");
    CRecord* beta = AddRecord("beta");
    m_view->FillRecordList();
    PutOnClipboard("keep me");
    SelectRows({1});
    HoldClipboard();
    Command(ID_EDIT_CUT);
    ReleaseClipboardHolder();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_FALSE(beta->IsDeleted());
    EXPECT_EQ(ClipboardText(), "keep me");

    SelectRows({1});
    Command(ID_EDIT_CUT);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha"}));
    EXPECT_TRUE(beta->IsDeleted());
    EXPECT_FALSE(alpha->IsDeleted());
    EXPECT_NE(ClipboardText().find("beta"), std::string::npos);
}

TEST_F(RecordList, CopyAndCutAreEnabledBySelectedRowsPasteByTheProgramsText)
{
    AddRecord("alpha");
    m_view->FillRecordList();
    auto enabled = [&](UINT id) {
        zvtest::EnableProbe ui;
        ui.m_nID = id;
        ui.DoUpdate(m_view, FALSE);
        return ui.on;
    };
    SelectRows({});
    EXPECT_FALSE(enabled(ID_EDIT_COPY));
    EXPECT_FALSE(enabled(ID_EDIT_CUT));
    SelectRows({0});
    EXPECT_TRUE(enabled(ID_EDIT_COPY));
    EXPECT_TRUE(enabled(ID_EDIT_CUT));
    PutOnClipboard("some other text");
    EXPECT_FALSE(enabled(ID_EDIT_PASTE));
    Command(ID_EDIT_COPY);
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));
}

TEST_F(RecordList, PasteAddsTheRecordsAndSortsByField1Ascending)
{
    AddRecord("delta", "4");
    AddRecord("bravo", "2");
    m_view->FillRecordList();
    HeaderNotice(HDN_ITEMCLICKA, 4);
    HeaderNotice(HDN_ITEMCLICKA, 4);  // field 2, descending
    ASSERT_EQ(State().sortKey, 0x00004u);
    ASSERT_EQ(Rows(), (std::vector<std::string>{"delta", "bravo"}));

    CDatabaseObj other;
    CStringArray values;
    values.Add("Unfiled");
    values.Add("charlie");
    values.Add("3");
    CRecord* charlie = other.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
    values[1] = "alpha";
    values[2] = "9";
    CRecord* alpha = other.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
    PutOnClipboard(m_exchange.WriteRecords(other, {charlie, alpha}));

    Command(ID_EDIT_PASTE);
    EXPECT_EQ(State().sortKey, kDefaultSortKey);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "bravo", "charlie", "delta"}));
    EXPECT_EQ(Db().GetRecords().GetCount(), 4);
    // The new records reached the file.
    CDatabaseObj saved;
    ASSERT_EQ(0, saved.Load(Db().GetFilePath()));
    EXPECT_EQ(saved.GetRecords().GetCount(), 4);
}

TEST_F(RecordList, TheListViewHoldsOnlyTheRowCountItsItemsAnswerWithTheirRecords)
{
    CRecord* bravo = AddRecord("bravo");
    CRecord* alpha = AddRecord("alpha");
    m_view->FillRecordList();
    // Filled, sorted and emptied without a list view item per record.
    EXPECT_TRUE(List().GetStyle() & LVS_OWNERDATA);
    ASSERT_EQ((int)List().SendMessage(LVM_GETITEMCOUNT), 2);
    for (const auto& row : {std::make_pair(0, alpha), std::make_pair(1, bravo)}) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row.first;
        ASSERT_TRUE(List().SendMessage(LVM_GETITEMA, 0, (LPARAM)&item));
        EXPECT_EQ(reinterpret_cast<CRecord*>(item.lParam), row.second) << row.first;
    }
    List().DeleteAllItems();
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_TRUE(List().GetRecords().empty());
}

TEST_F(RecordList, PastedRecordsAreSelectedWhereverTheyLand)
{
    AddRecord("delta");
    AddRecord("bravo");
    m_view->FillRecordList();
    SelectRows({1});  // "delta": a paste selects only what it adds
    CDatabaseObj other;
    CStringArray values;
    values.Add("Unfiled");
    values.Add("charlie");
    CRecord* charlie = other.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
    values[1] = "alpha";
    CRecord* alpha = other.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
    PutOnClipboard(m_exchange.WriteRecords(other, {charlie, alpha}));

    // "charlie" lands between the rows, then "alpha" above it all.
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(Rows(), (std::vector<std::string>{"alpha", "bravo", "charlie", "delta"}));
    std::vector<int> selected;
    for (int row = List().GetNextItem(-1, LVNI_SELECTED); row >= 0; row = List().GetNextItem(row, LVNI_SELECTED))
        selected.push_back(row);
    EXPECT_EQ(selected, (std::vector<int>{0, 2}));
}

TEST_F(RecordList, DeletingARecordKeepsTheOtherSelectedRowsOnTheirRecords)
{
    CRecord* alpha = AddRecord("alpha");
    AddRecord("bravo");
    CRecord* charlie = AddRecord("charlie");
    m_view->FillRecordList();
    SelectRows({2});  // "charlie"
    m_view->ShowRemovedRecord(alpha);
    ASSERT_EQ(Rows(), (std::vector<std::string>{"bravo", "charlie"}));
    EXPECT_EQ(List().GetSelectedCount(), 1u);
    EXPECT_EQ(List().GetRecordAt(List().GetNextItem(-1, LVNI_SELECTED)), charlie);
}

TEST_F(RecordList, PasteWhenTheClipboardCannotBeOpenedSaysSoAndImportsNothing)
{
    AddRecord("alpha");
    m_view->FillRecordList();
    CDatabaseObj other;
    CStringArray values;
    values.Add("Unfiled");
    values.Add("zulu");
    CRecord* zulu = other.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
    PutOnClipboard(m_exchange.WriteRecords(other, {zulu}));
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    HoldClipboard();
    // The command is greyed while the clipboard cannot be read; the paste
    // may still find it taken by the time it runs.
    zvtest::EnableProbe ui;
    ui.m_nID = ID_EDIT_PASTE;
    ui.DoUpdate(m_view, FALSE);
    EXPECT_FALSE(ui.on);
    ViewMembers::Paste(*m_view);
    ReleaseClipboardHolder();
    EXPECT_EQ(modal.MessageTexts(), (std::vector<std::string>{"There was an error opening the Windows clipboard."}));
    EXPECT_EQ(Db().GetRecords().GetCount(), 1);
}

TEST_F(RecordList, SelectAllSelectsEveryRowPageDownScrollsAPage)
{
    for (int i = 0; i < 60; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "r%02d", i);
        AddRecord(name);
    }
    m_view->FillRecordList();
    Command(ID_SELECT_ALL);
    EXPECT_EQ(List().GetSelectedCount(), 60u);
    const int perPage = List().GetCountPerPage();
    ASSERT_GT(perPage, 0);
    ASSERT_LT(perPage, 60);
    Command(ID_PAGE_DOWN);
    EXPECT_EQ(List().GetTopIndex(), perPage);
    Command(ID_PAGE_UP);
    EXPECT_EQ(List().GetTopIndex(), 0);
}

TEST_F(RecordList, TypedCharactersFindARowByTheSortedColumn)
{
    AddRecord("apple");
    AddRecord("melon");
    AddRecord("mango");
    m_view->FillRecordList();
    ::SendMessageA(m_view->m_hWnd, WM_CHAR, 'm', 0);
    EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), 1);  // "mango"
}

TEST_F(RecordList, TheColumnChooserNamesATypesFieldsAndHidesWhatIsUnchecked)
{
    CTypeItem* bank = AddType("Bank");
    std::memcpy(State().typeFilter, bank->GetKey(), kUniqueKeySize);
    m_view->LoadListColumns(true);
    zvtest::ScriptedModal modal;
    std::string caption;
    modal.OnModal([&](CWnd& dialog) {
        char text[100] = {};
        ::GetDlgItemTextA(dialog.m_hWnd, 1033, text, sizeof text);
        caption = text;
        ::CheckDlgButton(dialog.m_hWnd, 1030, BST_UNCHECKED);
        zvtest::ScriptedModal::PressButton(dialog, IDOK);
    });
    Command(ID_COLUMN_CHOOSER);
    EXPECT_EQ(caption, "Show Bank A");
    EXPECT_TRUE(modal.MessageBoxes().empty());  // asked only for all types
    EXPECT_FALSE(bank->GetColumns().IsColumnVisible(kColumnType));
    EXPECT_EQ(List().GetHeaderCtrl()->GetItemCount(), 14);
}

TEST_F(RecordList, TheColumnChooserForAllTypesMayCopyTheSetToEveryType)
{
    CTypeItem* bank = AddType("Bank");
    CTypeItem* mail = AddType("Mail");
    zvtest::ScriptedModal modal;
    modal.OnModal([&](CWnd& dialog) {
        char text[100] = {};
        ::GetDlgItemTextA(dialog.m_hWnd, 1033, text, sizeof text);
        EXPECT_STREQ(text, "Show Column 1");
        ::CheckDlgButton(dialog.m_hWnd, 1032, BST_UNCHECKED);
        zvtest::ScriptedModal::PressButton(dialog, IDOK);
    });
    modal.AnswerMessageBox(IDYES);
    Command(ID_COLUMN_CHOOSER);
    ASSERT_EQ(modal.MessageBoxes().size(), 1u);
    EXPECT_EQ(modal.MessageBoxes()[0].text, "Do you want the current column settings to be applied to all views?");
    EXPECT_EQ(modal.MessageBoxes()[0].type & (MB_YESNO | MB_DEFBUTTON2), (UINT)(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_FALSE(bank->GetColumns().IsColumnVisible(kColumnCategory));
    EXPECT_FALSE(mail->GetColumns().IsColumnVisible(kColumnCategory));
    EXPECT_FALSE(CAppPrefMgr::GetInstance()
                     ->GetPrefs()
                     ->GetShowColumns(CZorvikanDesktopApp::GetPrefsSection(), App().GetCurrentUser())
                     .IsColumnVisible(kColumnCategory));
}

TEST_F(RecordList, CancellingTheColumnChooserChangesNothing)
{
    zvtest::ScriptedModal modal;
    modal.OnModal([&](CWnd& dialog) {
        ::CheckDlgButton(dialog.m_hWnd, 1030, BST_UNCHECKED);
        zvtest::ScriptedModal::PressButton(dialog, IDCANCEL);
    });
    Command(ID_COLUMN_CHOOSER);
    EXPECT_TRUE(m_view->GetListColumns().IsColumnVisible(kColumnType));
    EXPECT_EQ(List().GetHeaderCtrl()->GetItemCount(), 15);
}

}  // namespace
