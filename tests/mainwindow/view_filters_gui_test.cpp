// The main view's filter combos on the frame's tool bar, on a scratch data
// root: their entries and counts, a choice in a combo reaching the view the
// way the control sends it, the "Edit ..." entries, new types, and the
// details and mask toggles with their menu texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/frame/MainFrm.h"
#include "core/items/FilterKeys.h"
#include "core/link/LinkChangeCounts.h"
#include "core/link/WebLoginLink.h"
#include "core/os/ChangeNotify.h"
#include "core/os/ProcessSeams.h"
#include "core/users/Platform.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/models/RecordFilter.h"
#include "mainwindow/view/ItemCombo.h"
#include "mainwindow/view/ItemEditorSeam.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/ScriptedModal.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/menus/BCMenu.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

using zvtest::TestKey;

std::vector<std::pair<uint32_t, int32_t>> g_posted;
void RecordPost(uint32_t wParam, int32_t lParam) { g_posted.push_back({wParam, lParam}); }
int AlwaysActive(const char*, const char*, int) { return 1; }
void* WithIsActive(PlatformLibrary library, const char* name)
{
    if (library == PlatformLibrary::Manager && std::strcmp(name, "IsPlatformUserActive") == 0)
        return reinterpret_cast<void*>(&AlwaysActive);
    return nullptr;
}

// Stands in for the editors: notes each call and the plug-in link's busy
// flag meanwhile; a new type gets a name and the scripted answer.
class FakeEditors : public IItemEditorSeam {
public:
    INT_PTR EditItems(CZorvikanDesktopView& view, CDatabaseObj& db, CObjectList& items) override
    {
        editedLists.push_back(&items == &db.GetTypes() ? "types" : &items == &db.GetCategories() ? "categories" : "?");
        busyMeanwhile.push_back(view.GetPluginLink().GetBusy());
        return IDOK;
    }
    INT_PTR DefineType(CZorvikanDesktopView&, CDatabaseObj&, CTypeItem& type, bool isNew) override
    {
        definedNew.push_back(isNew);
        type.SetName(newTypeName);
        return answer;
    }
    std::vector<std::string> editedLists;
    std::vector<int> busyMeanwhile;
    std::vector<bool> definedNew;
    const char* newTypeName = "Licences";
    INT_PTR answer = IDOK;
};

std::vector<std::string> ComboTexts(HWND combo)
{
    std::vector<std::string> texts;
    const int count = (int)::SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        ::SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
        texts.push_back(text);
    }
    return texts;
}

std::vector<uint8_t> Key(const uint8_t* key) { return std::vector<uint8_t>(key, key + kUniqueKeySize); }

class ViewFilters : public zvtest::AppWindowTest {
protected:
    ViewFilters() : AppWindowTest("zvfilters") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        m_previousEditors = SetItemEditorSeam(&m_editors);
        g_posted.clear();
        m_resolver = SetPlatformExportResolver(&WithIsActive);
        m_poster = SetDatabaseNotifyPoster(&RecordPost);
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        SetDatabaseNotifyPoster(m_poster);
        SetPlatformExportResolver(m_resolver);
        SetItemEditorSeam(m_previousEditors);
    }

    // Opens the window with types "bank", "Cards", "Web" (keys 1 to 3) and
    // categories "Home", "Work" (11, 12); the records of the table below.
    void OpenWithRecords()
    {
        OpenWindow();
        zvtest::PumpPendingMessages();  // the tool bar binds its controls
        CDatabaseObj& db = m_view->GetDatabase();
        // A new database starts with the default types and categories.
        db.Clear(false);
        auto addType = [&](const char* name, uint8_t key) {
            CTypeItem* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
            type->SetName(name);
            type->SetKey(TestKey(key).b);
            type->SetId(key);
            db.GetTypes().Add(type);
        };
        auto addCategory = [&](const char* name, uint8_t key) {
            // The list's own kind of item, which the file stores.
            CCategory* category = static_cast<CCategory*>(db.GetCategories().NewItem());
            category->SetName(name);
            category->SetKey(TestKey(key).b);
            category->SetId(key);
            db.GetCategories().Add(category);
        };
        auto addRecord = [&](uint8_t type, uint8_t category, const char* first, bool deleted = false) {
            CRecord* record = new CRecord;
            record->SetKey(TestKey((uint8_t)(100 + db.GetRecords().GetCount())).b);
            record->SetId((int32_t)(1000 + db.GetRecords().GetCount()));
            record->SetTypeKey(TestKey(type).b);
            record->SetCategoryKey(TestKey(category).b);
            record->SetField(0, first);
            if (deleted) record->SetDeleted(true);
            db.GetRecords().Add(record);
        };
        addType("Web", 3);
        addType("bank", 1);
        addType("Cards", 2);
        addCategory("Work", 12);
        addCategory("Home", 11);
        addRecord(1, 11, "Savings");
        addRecord(1, 12, "Payroll");
        addRecord(2, 11, "Visa");
        addRecord(3, 12, "Intranet");
        addRecord(3, 0, "Forum");
        addRecord(0, 0, "Loose note");
        addRecord(3, 11, "Gone", true);
        m_view->RefillTypeCombo();
        m_view->RefillCategoryCombo();
    }

    HWND Combo(int id) const { return ::GetDlgItem(m_frame->GetDialogToolbar().m_hWnd, id); }
    int Selected(int id) const { return (int)::SendMessageA(Combo(id), CB_GETCURSEL, 0, 0); }

    // A person picking the entry: the combo selects it and tells its parent,
    // the tool bar, as the control does.
    void Pick(int id, int index)
    {
        const HWND combo = Combo(id);
        ::SendMessageA(combo, CB_SETCURSEL, index, 0);
        ::SendMessageA(::GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    }

    // The text an update handler gives a plain menu item of the command.
    std::string MenuTextOf(UINT command)
    {
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, command, "?");
        CCmdUI state;
        state.m_pMenu = &menu;
        state.m_nID = command;
        state.m_nIndex = 0;
        state.m_nIndexMax = 1;
        state.DoUpdate(m_view, FALSE);
        char text[128] = {};
        ::GetMenuStringA(menu.m_hMenu, command, text, sizeof text, MF_BYCOMMAND);
        menu.DestroyMenu();
        return text;
    }

    FakeEditors m_editors;
    IItemEditorSeam* m_previousEditors = nullptr;
    PlatformExportResolver m_resolver = nullptr;
    DatabaseNotifyPoster m_poster = nullptr;
};

TEST_F(ViewFilters, CombosListEveryTypeAndCategoryByNameWithTheirRecordCounts)
{
    OpenWithRecords();
    EXPECT_EQ(
        (std::vector<std::string>{"All Types (6)", "bank (2)", "Cards (1)", "Web (2)", "Unfiled (1)", "Edit Types..."}),
        ComboTexts(Combo(IDC_TOOLBAR_TYPES)));
    EXPECT_EQ(
        (std::vector<std::string>{"All Categories (6)", "Home (2)", "Work (2)", "Unfiled (2)", "Edit Categories..."}),
        ComboTexts(Combo(IDC_TOOLBAR_CATEGORIES)));
    EXPECT_EQ(0, Selected(IDC_TOOLBAR_TYPES));
    EXPECT_EQ(0, Selected(IDC_TOOLBAR_CATEGORIES));
}

// Whatever the other combo and the search show, a combo's counts stay those
// of the whole database; the views show what all three admit.
TEST_F(ViewFilters, CountsIgnoreTheOtherFilterAndTheSearchWhileTheViewsFollowAllThree)
{
    OpenWithRecords();
    const std::vector<std::string> typeTexts = ComboTexts(Combo(IDC_TOOLBAR_TYPES));
    const std::vector<std::string> categoryTexts = ComboTexts(Combo(IDC_TOOLBAR_CATEGORIES));
    struct Case {
        int typeIndex;
        int categoryIndex;
        const char* search;
        int shown;
    };
    const Case cases[] = {
        {0, 0, "", 6},     {1, 0, "", 2},     {1, 1, "", 1},    {3, 2, "", 1},    {4, 3, "", 1},
        {0, 3, "", 2},     {0, 0, "a", 4},    {1, 0, "Pay", 1}, {3, 3, "For", 1}, {2, 2, "", 0},
        {0, 1, "visa", 1}, {4, 0, "note", 1}, {3, 0, "zzz", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.typeIndex << " x " << c.categoryIndex << " x '" << c.search << "'");
        Pick(IDC_TOOLBAR_TYPES, c.typeIndex);
        Pick(IDC_TOOLBAR_CATEGORIES, c.categoryIndex);
        RecordSearch search;
        search.text = c.search;
        EXPECT_EQ(c.shown, CountShownRecords(m_view->GetViewState().typeFilter, m_view->GetViewState().categoryFilter,
                                             kCountAll, m_view->GetDatabase().GetRecords(), search));
        m_view->RefillTypeCombo();
        m_view->RefillCategoryCombo();
        EXPECT_EQ(typeTexts, ComboTexts(Combo(IDC_TOOLBAR_TYPES)));
        EXPECT_EQ(categoryTexts, ComboTexts(Combo(IDC_TOOLBAR_CATEGORIES)));
        EXPECT_EQ(c.typeIndex, Selected(IDC_TOOLBAR_TYPES));
        EXPECT_EQ(c.categoryIndex, Selected(IDC_TOOLBAR_CATEGORIES));
    }
}

TEST_F(ViewFilters, AChoiceInEitherComboReachesTheViewThroughTheFrame)
{
    OpenWithRecords();
    Pick(IDC_TOOLBAR_TYPES, 3);
    EXPECT_EQ(Key(TestKey(3).b), Key(m_view->GetViewState().typeFilter));
    Pick(IDC_TOOLBAR_CATEGORIES, 2);
    EXPECT_EQ(Key(TestKey(12).b), Key(m_view->GetViewState().categoryFilter));
    Pick(IDC_TOOLBAR_TYPES, 4);
    EXPECT_EQ(Key(KEY_UNFILED), Key(m_view->GetViewState().typeFilter));
    Pick(IDC_TOOLBAR_CATEGORIES, 0);
    EXPECT_EQ(Key(KEY_ALL), Key(m_view->GetViewState().categoryFilter));
}

TEST_F(ViewFilters, AChoiceByKeyboardInTheTypeComboReachesTheView)
{
    OpenWithRecords();
    const HWND combo = Combo(IDC_TOOLBAR_TYPES);
    ::SetFocus(combo);
    ::SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    ::SendMessageA(combo, WM_KEYUP, VK_DOWN, 0);
    zvtest::PumpPendingMessages();
    ASSERT_EQ(1, Selected(IDC_TOOLBAR_TYPES));
    EXPECT_EQ(Key(TestKey(1).b), Key(m_view->GetViewState().typeFilter));
}

TEST_F(ViewFilters, EditTypesEntryKeepsTheChosenTypeAndOpensTheTypeEditor)
{
    OpenWithRecords();
    Pick(IDC_TOOLBAR_TYPES, 2);
    Pick(IDC_TOOLBAR_TYPES, 5);
    EXPECT_EQ(2, Selected(IDC_TOOLBAR_TYPES));
    EXPECT_EQ(Key(TestKey(2).b), Key(m_view->GetViewState().typeFilter));
    EXPECT_EQ(std::vector<std::string>{"types"}, m_editors.editedLists);
    EXPECT_EQ(std::vector<int>{1}, m_editors.busyMeanwhile);
    EXPECT_EQ(0, m_view->GetPluginLink().GetBusy());
}

TEST_F(ViewFilters, EditCategoriesEntryKeepsTheChosenCategoryAndOpensTheCategoryEditor)
{
    OpenWithRecords();
    Pick(IDC_TOOLBAR_CATEGORIES, 1);
    Pick(IDC_TOOLBAR_CATEGORIES, 4);
    EXPECT_EQ(1, Selected(IDC_TOOLBAR_CATEGORIES));
    EXPECT_EQ(Key(TestKey(11).b), Key(m_view->GetViewState().categoryFilter));
    EXPECT_EQ(std::vector<std::string>{"categories"}, m_editors.editedLists);
    EXPECT_EQ(std::vector<int>{1}, m_editors.busyMeanwhile);
}

TEST_F(ViewFilters, NewTypeIsSavedNoticedAndSignalledToThePlugin)
{
    OpenWithRecords();
    CLinkChangeCounts counts(WebLoginLinkNames().changeCounts);
    const unsigned before = counts.Get(CLinkChangeCounts::kDatabase);
    ASSERT_EQ(0, m_view->GetDatabase().Save());
    g_posted.clear();
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_NEW_TYPE, 0);
    ASSERT_EQ(std::vector<bool>{true}, m_editors.definedNew);
    CBaseItem* type = m_view->GetDatabase().GetTypes().FindByName("Licences");
    ASSERT_NE(nullptr, type);
    EXPECT_NE(Key(KEY_UNFILED), Key(type->GetKey()));
    CDatabaseObj saved;
    ASSERT_EQ(0, saved.Load(m_view->GetDatabase().GetFilePath()));
    EXPECT_NE(nullptr, saved.GetTypes().FindByName("Licences"));
    ASSERT_EQ(1u, g_posted.size());
    EXPECT_EQ(MakeDatabaseNotifyWParam(NOTIFY_ADDED, NOTIFY_ITEM_TYPE), g_posted[0].first);
    EXPECT_EQ(type->GetId(), g_posted[0].second);
    EXPECT_EQ(before + 1, counts.Get(CLinkChangeCounts::kDatabase));
    EXPECT_EQ((std::vector<std::string>{"All Types (6)", "bank (2)", "Cards (1)", "Licences (0)", "Web (2)",
                                        "Unfiled (1)", "Edit Types..."}),
              ComboTexts(Combo(IDC_TOOLBAR_TYPES)));
    EXPECT_EQ(0, Selected(IDC_TOOLBAR_TYPES));
}

TEST_F(ViewFilters, NewTypeCancelledLeavesDatabaseFileAndCombo)
{
    OpenWithRecords();
    m_editors.answer = IDCANCEL;
    const INT_PTR typesBefore = m_view->GetDatabase().GetTypes().GetCount();
    const std::vector<std::string> texts = ComboTexts(Combo(IDC_TOOLBAR_TYPES));
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_NEW_TYPE, 0);
    EXPECT_EQ(typesBefore, m_view->GetDatabase().GetTypes().GetCount());
    EXPECT_EQ(texts, ComboTexts(Combo(IDC_TOOLBAR_TYPES)));
    EXPECT_TRUE(g_posted.empty());
}

TEST_F(ViewFilters, RenamedTypeMovesAndStaysSelectedRemovedSelectedTypeFallsBackToAll)
{
    OpenWithRecords();
    Pick(IDC_TOOLBAR_TYPES, 3);  // "Web"
    CBaseItem* web = m_view->GetDatabase().GetTypes().FindByName("Web");
    ASSERT_NE(nullptr, web);
    static_cast<CTypeItem*>(web)->SetName("Access");
    m_view->ReplaceTypeInCombo(web);
    EXPECT_EQ((std::vector<std::string>{"All Types (6)", "Access (2)", "bank (2)", "Cards (1)", "Unfiled (1)",
                                        "Edit Types..."}),
              ComboTexts(Combo(IDC_TOOLBAR_TYPES)));
    EXPECT_EQ(1, Selected(IDC_TOOLBAR_TYPES));

    CBaseItem* cards = m_view->GetDatabase().GetTypes().FindByName("Cards");
    m_view->RemoveTypeFromCombo(cards);
    EXPECT_EQ(1, Selected(IDC_TOOLBAR_TYPES));
    EXPECT_EQ(Key(TestKey(3).b), Key(m_view->GetViewState().typeFilter));
    m_view->RemoveTypeFromCombo(web);
    EXPECT_EQ(0, Selected(IDC_TOOLBAR_TYPES));
    EXPECT_EQ(Key(KEY_ALL), Key(m_view->GetViewState().typeFilter));
}

TEST_F(ViewFilters, CategoryComboKeepsShowingTheFilteredCategoryWhenAnotherIsAddedBeforeIt)
{
    OpenWithRecords();
    Pick(IDC_TOOLBAR_CATEGORIES, 2);  // "Work"
    CCategory* added = static_cast<CCategory*>(m_view->GetDatabase().GetCategories().NewItem());
    added->SetName("Garden");
    added->SetKey(TestKey(13).b);
    m_view->GetDatabase().GetCategories().Add(added);
    m_view->RefillCategoryCombo();
    EXPECT_EQ(3, Selected(IDC_TOOLBAR_CATEGORIES));
    uint8_t key[kUniqueKeySize];
    m_view->GetCategoryFilter(key);
    EXPECT_EQ(Key(TestKey(12).b), Key(key));
}

TEST_F(ViewFilters, MaskAndDetailsTogglesAlternateTheirMenuTexts)
{
    OpenWithRecords();
    EXPECT_FALSE(m_view->IsRevealing());
    EXPECT_EQ("Un&mask\tCtrl+M", MenuTextOf(ID_TOGGLE_MASK));
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_TOGGLE_MASK, 0);
    EXPECT_TRUE(m_view->IsRevealing());
    EXPECT_EQ("&Mask\tCtrl+M", MenuTextOf(ID_TOGGLE_MASK));
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_TOGGLE_MASK, 0);
    EXPECT_FALSE(m_view->IsRevealing());
    EXPECT_EQ("Un&mask\tCtrl+M", MenuTextOf(ID_TOGGLE_MASK));

    const bool shown = m_view->IsShowingDetails();
    EXPECT_EQ(shown ? "Hide Details" : "Show Details", MenuTextOf(ID_SHOW_DETAILS));
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_SHOW_DETAILS, 0);
    EXPECT_EQ(!shown, m_view->IsShowingDetails());
    EXPECT_EQ(shown ? "Show Details" : "Hide Details", MenuTextOf(ID_SHOW_DETAILS));
}

// The frame's own View menu, as it opens: its mask and details items name
// what they will do now.
TEST_F(ViewFilters, TheViewMenuNamesWhatMaskAndDetailsWillDo)
{
    OpenWithRecords();
    // The owner-drawn menu the start-up gives the frame.
    m_frame->InstallMainMenu(m_frame->BuildMainMenu());
    HMENU bar = ::GetMenu(m_hFrame);
    ASSERT_NE(nullptr, bar);
    HMENU view = nullptr;
    int index = -1;
    for (int i = 0; i < ::GetMenuItemCount(bar) && !view; ++i) {
        HMENU popup = ::GetSubMenu(bar, i);
        if (popup && ::GetMenuState(popup, ID_TOGGLE_MASK, MF_BYCOMMAND) != (UINT)-1) {
            view = popup;
            index = i;
        }
    }
    ASSERT_NE(nullptr, view);
    // Opened as the menu bar opens it; the item texts as they are drawn.
    auto texts = [&] {
        ::SendMessageA(m_hFrame, WM_INITMENUPOPUP, (WPARAM)view, MAKELPARAM(index, FALSE));
        CString mask, details;
        CMenu* popup = CMenu::FromHandlePermanent(view);
        EXPECT_TRUE(popup && popup->IsKindOf(RUNTIME_CLASS(BCMenu)));
        if (!popup || !popup->IsKindOf(RUNTIME_CLASS(BCMenu))) return std::string();
        static_cast<BCMenu*>(popup)->GetItemText(ID_TOGGLE_MASK, mask, MF_BYCOMMAND);
        static_cast<BCMenu*>(popup)->GetItemText(ID_SHOW_DETAILS, details, MF_BYCOMMAND);
        // The padding that lines the shortcuts up is no part of the text.
        std::string text = std::string(mask) + " | " + std::string(details);
        for (size_t at; (at = text.find(" \t")) != std::string::npos;) text.erase(at, 1);
        return text;
    };
    const bool shown = m_view->IsShowingDetails();
    const std::string showText = shown ? "Hide Details" : "Show Details";
    const std::string flipText = shown ? "Show Details" : "Hide Details";
    EXPECT_EQ("Un&mask\tCtrl+M | " + showText, texts());
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_TOGGLE_MASK, 0);
    EXPECT_EQ("&Mask\tCtrl+M | " + showText, texts());
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_SHOW_DETAILS, 0);
    EXPECT_EQ("&Mask\tCtrl+M | " + flipText, texts());
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_TOGGLE_MASK, 0);
    EXPECT_EQ("Un&mask\tCtrl+M | " + flipText, texts());
}

TEST_F(ViewFilters, RecordEditorComboListsTheItemsAboveItsTwoFixedEntriesAndSelectsByKey)
{
    OpenWithRecords();
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 120, 200), m_frame, 4242));
    for (const char* text : {"stale", "Unfiled", "Edit Types..."}) combo.AddString(text);
    const CTypesList& types = m_view->GetDatabase().GetTypes();
    FillItemCombo(types, combo, TestKey(2).b);
    EXPECT_EQ((std::vector<std::string>{"bank", "Cards", "Web", "Unfiled", "Edit Types..."}), ComboTexts(combo.m_hWnd));
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_EQ(types.FindByName("Cards"), reinterpret_cast<CBaseItem*>(combo.GetItemData(1)));
    FillItemCombo(types, combo, KEY_UNFILED);
    EXPECT_EQ(5, combo.GetCount());
    EXPECT_EQ(3, combo.GetCurSel());
    FillItemCombo(types, combo, TestKey(99).b);
    EXPECT_EQ(3, combo.GetCurSel());
    combo.DestroyWindow();
}

}  // namespace
