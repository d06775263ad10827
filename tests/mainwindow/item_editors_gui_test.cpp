// The type and category editors in the program's main window: new, edited
// and deleted types and categories reach the database file, names are
// checked, and records follow their type's changes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/res/RecordDialogsRes.h"
#include "core/items/Category.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "core/os/ChangeNotify.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/dialogs/DetailViewDlg.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScriptedModal.h"
#include "toolkit/ToolkitIds.h"

namespace {

using zvtest::ScriptedModal;

void Type(CWnd& dlg, int id, const char* text) { ::SetDlgItemTextA(dlg.m_hWnd, id, text); }

// Selects the entry of that text in the editor's list, as a click would.
void SelectEntry(CWnd& dlg, const char* text)
{
    HWND list = ::GetDlgItem(dlg.m_hWnd, IDC_ITEMS_LIST);
    const int index = (int)::SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    ::SendMessageA(list, LB_SETCURSEL, index, 0);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ITEMS_LIST, LBN_SELCHANGE), (LPARAM)list);
}

class ItemEditors : public zvtest::AppWindowTest {
protected:
    ItemEditors() : AppWindowTest("zvitems") {}
    void SetUp() override
    {
        AppWindowTest::SetUp();
        OpenWindow();
    }
    CDatabaseObj& Db() { return m_view->GetDatabase(); }
    CTypeItem* TypeNamed(CDatabaseObj& db, const char* name)
    {
        return static_cast<CTypeItem*>(db.GetTypes().FindByName(name));
    }
    void Reread(CDatabaseObj& saved) { ASSERT_EQ(0, saved.Load(Db().GetFilePath())); }

    HWND Combo(int id) const { return ::GetDlgItem(m_frame->GetDialogToolbar().m_hWnd, id); }
    std::string SelectedText(int id) const
    {
        char text[128] = {};
        const int index = (int)::SendMessageA(Combo(id), CB_GETCURSEL, 0, 0);
        ::SendMessageA(Combo(id), CB_GETLBTEXT, index, (LPARAM)text);
        return text;
    }
    // Chooses the combo entry of that text, as the control tells its parent.
    void Pick(int id, const char* text)
    {
        const HWND combo = Combo(id);
        const int index = (int)::SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
        ASSERT_GE(index, 0) << text;
        ::SendMessageA(combo, CB_SETCURSEL, index, 0);
        ::SendMessageA(::GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    }
    // Two records: "Current" a bank account for business, "Visa" a
    // personal credit card.
    void AddTwoRecords()
    {
        auto add = [&](int32_t id, const char* type, const char* category, const char* title) {
            auto* record = new CRecord;
            record->SetId(id);
            record->SetTypeKey(Db().GetTypes().FindByName(type)->GetKey());
            record->SetCategoryKey(Db().GetCategories().FindByName(category)->GetKey());
            record->SetField(0, title);
            Db().GetRecords().Add(record);
        };
        add(500, "Bank Accts", "Business", "Current");
        add(501, "Credit Cards", "Personal", "Visa");
        ASSERT_EQ(0, Db().Save());
        m_view->RefreshViewsAndCombos();
    }
};

TEST_F(ItemEditors, ANewTypeIsCheckedAddedAndSaved)
{
    ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDOK);
    modal.OnModal([&](CWnd& dlg) { ScriptedModal::PressButton(dlg, IDC_ITEMS_NEW); });
    modal.OnModal([&](CWnd& define) {
        ScriptedModal::PressButton(define, IDOK);  // no name
        Type(define, IDC_ITEM_NAME, "UNFILED");
        ScriptedModal::PressButton(define, IDOK);
        Type(define, IDC_ITEM_NAME, "Savings");
        Type(define, IDC_TYPE_LABEL_FIRST + 2, "IBAN");
        ::CheckDlgButton(define.m_hWnd, IDC_TYPE_MASK_FIRST + 2, BST_CHECKED);
        ScriptedModal::PressButton(define, IDOK);
    });
    modal.OnModal([&](CWnd& dlg) { ScriptedModal::PressButton(dlg, IDOK); });
    m_view->RunItemEditor(true, nullptr);
    EXPECT_EQ(
        (std::vector<std::string>{"You must supply a name for this type.", "A type with that name already exists."}),
        modal.MessageTexts());
    CDatabaseObj saved;
    Reread(saved);
    CTypeItem* type = TypeNamed(saved, "Savings");
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(CString("IBAN"), type->GetField(2));
    EXPECT_EQ(0x4, type->GetHiddenMask());
    EXPECT_FALSE(IsNullUniqueKey(type->GetKey()));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ItemEditors, RecordsFollowTheirTypesLabelsMasksAndDeletion)
{
    CTypeItem* bank = TypeNamed(Db(), "Bank Accts");
    ASSERT_NE(nullptr, bank) << "a default type";
    auto* record = new CRecord;
    record->SetId(500);
    record->SetTypeKey(bank->GetKey());
    record->SetCategoryKey(std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 9}.data());
    record->SetField(0, "Current");
    CStringArray custom;
    custom.SetSize(kItemFieldCount);
    custom[2] = "My label";
    record->SetCustomLabels(custom);
    Db().GetRecords().Add(record);
    const bool wasMasked = bank->IsFieldMasked(4);

    ScriptedModal modal;
    modal.OnModal([&](CWnd& dlg) {
        SelectEntry(dlg, "Bank Accts");
        ScriptedModal::PressButton(dlg, IDC_ITEMS_EDIT);
    });
    modal.OnModal([&](CWnd& define) {
        Type(define, IDC_TYPE_LABEL_FIRST + 2, "Sort Code");
        ::CheckDlgButton(define.m_hWnd, IDC_TYPE_MASK_FIRST + 4, wasMasked ? BST_UNCHECKED : BST_CHECKED);
        ScriptedModal::PressButton(define, IDOK);
    });
    modal.OnModal([&](CWnd& dlg) {
        SelectEntry(dlg, "Bank Accts");
        ScriptedModal::PressButton(dlg, IDC_ITEMS_DELETE);
        ScriptedModal::PressButton(dlg, IDOK);
    });
    modal.AnswerMessageBox(IDYES);
    // Labels and masks follow before the deletion moves the record.
    m_view->RunItemEditor(true, nullptr);
    EXPECT_TRUE(record->GetCustomLabel(2).IsEmpty()) << "a record in a category is still found by its type";
    EXPECT_EQ(!wasMasked, record->IsFieldMasked(4));
    EXPECT_TRUE(IsNullUniqueKey(record->GetTypeKey())) << "deleting the type leaves its records unfiled";
    CDatabaseObj saved;
    Reread(saved);
    EXPECT_EQ(nullptr, saved.GetTypes().FindByName("Bank Accts"));
    auto* kept = static_cast<CRecord*>(saved.GetRecords().FindById(500));
    ASSERT_NE(nullptr, kept);
    EXPECT_FALSE(kept->IsDeleted());
    EXPECT_TRUE(IsNullUniqueKey(kept->GetTypeKey()));
}

TEST_F(ItemEditors, CategoriesMayShareANameButNotBeUnfiled)
{
    auto addCategory = [&](const char* name) {
        return [name](CWnd& define) {
            Type(define, IDC_ITEM_NAME, name);
            ScriptedModal::PressButton(define, IDOK);
        };
    };
    ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    modal.OnModal([&](CWnd& dlg) {
        char caption[64] = {};
        ::GetWindowTextA(dlg.m_hWnd, caption, sizeof caption);
        EXPECT_STREQ("Edit Categories", caption);
        ScriptedModal::PressButton(dlg, IDC_ITEMS_NEW);
        ScriptedModal::PressButton(dlg, IDC_ITEMS_NEW);
        ScriptedModal::PressButton(dlg, IDOK);
    });
    modal.OnModal([&](CWnd& define) {
        Type(define, IDC_ITEM_NAME, "unfiled");
        ScriptedModal::PressButton(define, IDOK);
        Type(define, IDC_ITEM_NAME, "Home");
        ScriptedModal::PressButton(define, IDOK);
    });
    modal.OnModal(addCategory("Home"));
    const int before = Db().GetCategories().GetCount();
    m_view->RunItemEditor(false, nullptr);
    EXPECT_EQ(before + 2, Db().GetCategories().GetCount());
    EXPECT_EQ((std::vector<std::string>{"A type with that name already exists."}), modal.MessageTexts());
}

TEST_F(ItemEditors, TheRecordEditorsTypeComboOpensTheTypeEditor)
{
    ScriptedModal modal;
    bool editorOpened = false;
    modal.OnModal([&](CWnd& editor) {
        HWND combo = ::GetDlgItem(editor.m_hWnd, IDC_DV_TYPE);
        const int last = (int)::SendMessageA(combo, CB_GETCOUNT, 0, 0) - 1;
        ::SendMessageA(combo, CB_SETCURSEL, last, 0);
        ::SendMessageA(editor.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DV_TYPE, CBN_SELCHANGE), (LPARAM)combo);
        ScriptedModal::PressButton(editor, IDCANCEL);
    });
    modal.OnModal([&](CWnd& items) {
        char caption[64] = {};
        ::GetWindowTextA(items.m_hWnd, caption, sizeof caption);
        editorOpened = std::string(caption) == "Edit Types";
        ScriptedModal::PressButton(items, IDOK);
    });
    m_view->RunNewItemDialog(KEY_ALL, KEY_ALL, "", "");
    EXPECT_TRUE(editorOpened);
}

// Through the Edit Types and Edit Categories commands: the filter that
// showed a deleted item falls back to "All" with the list; a renamed one
// stays chosen under its new name.
TEST_F(ItemEditors, TheChosenTypeOrCategoryDeletedShowsAllRenamedStaysChosen)
{
    struct Case {
        UINT command;
        int combo;
        const char* name;
        bool rename;
        const char* shown;
        int rows;
    };
    const Case cases[] = {
        {ID_EDIT_TYPES, IDC_TOOLBAR_TYPES, "Bank Accts", false, "All Types (2)", 2},
        {ID_EDIT_TYPES, IDC_TOOLBAR_TYPES, "Credit Cards", true, "Savings (1)", 1},
        {ID_EDIT_CATEGORIES, IDC_TOOLBAR_CATEGORIES, "Business", false, "All Categories (2)", 2},
        {ID_EDIT_CATEGORIES, IDC_TOOLBAR_CATEGORIES, "Personal", true, "Savings (1)", 1},
    };
    AddTwoRecords();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << (c.rename ? " renamed" : " deleted"));
        Pick(IDC_TOOLBAR_TYPES, "All Types (2)");
        Pick(IDC_TOOLBAR_CATEGORIES, "All Categories (2)");
        Pick(c.combo, (std::string(c.name) + " (1)").c_str());
        ASSERT_EQ(1, m_view->GetRecordList().GetItemCount());

        ScriptedModal modal;
        modal.OnModal([&](CWnd& dlg) {
            SelectEntry(dlg, c.name);
            ScriptedModal::PressButton(dlg, c.rename ? IDC_ITEMS_EDIT : IDC_ITEMS_DELETE);
            ScriptedModal::PressButton(dlg, IDOK);
        });
        if (c.rename)
            modal.OnModal([](CWnd& define) {
                Type(define, IDC_ITEM_NAME, "Savings");
                ScriptedModal::PressButton(define, IDOK);
            });
        else
            modal.AnswerMessageBox(IDYES);
        ::SendMessageA(m_hFrame, WM_COMMAND, c.command, 0);
        EXPECT_TRUE(modal.Unanswered().empty());
        EXPECT_EQ(c.shown, SelectedText(c.combo));
        EXPECT_EQ(c.rows, m_view->GetRecordList().GetItemCount());
    }
}

// A type or category deleted by another program: the same fall-back.
TEST_F(ItemEditors, TheChosenTypeOrCategoryDeletedElsewhereShowsAll)
{
    AddTwoRecords();
    const UINT notice = ::RegisterWindowMessageA(kDatabaseNotifyMessageName);
    struct Case {
        int combo;
        const char* entry;
        int itemClass;
        const char* shown;
    };
    const Case cases[] = {
        {IDC_TOOLBAR_TYPES, "Bank Accts (1)", NOTIFY_ITEM_TYPE, "All Types (2)"},
        {IDC_TOOLBAR_CATEGORIES, "Personal (1)", NOTIFY_ITEM_CATEGORY, "All Categories (2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        Pick(c.combo, c.entry);
        ASSERT_EQ(1, m_view->GetRecordList().GetItemCount());
        CDatabaseObj other;
        Reread(other);
        const std::string name(c.entry, std::strlen(c.entry) - 4);
        CBaseItem* item = c.itemClass == NOTIFY_ITEM_TYPE ? other.GetTypes().FindByName(name.c_str())
                                                          : other.GetCategories().FindByName(name.c_str());
        ASSERT_NE(nullptr, item);
        const int32_t id = item->GetId();
        if (c.itemClass == NOTIFY_ITEM_TYPE)
            other.DeleteType(item);
        else
            other.DeleteCategory(item);
        ASSERT_EQ(0, other.Save());
        ::SendMessageA(m_hFrame, notice, MakeDatabaseNotifyWParam(NOTIFY_DELETED, c.itemClass), id);
        EXPECT_EQ(c.shown, SelectedText(c.combo));
        EXPECT_EQ(2, m_view->GetRecordList().GetItemCount());
    }
}

}  // namespace
