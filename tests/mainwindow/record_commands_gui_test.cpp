// The record commands of the main view and the record editor, run modally
// with scripted steps in the program's main window on a scratch data root:
// what reaches the database file, what is dropped, and the attachment's
// limits and failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/history/LogEvents.h"
#include "app/res/HistoryRes.h"
#include "app/res/RecordDialogsRes.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/os/ChangeNotify.h"
#include "core/store/AttachmentCrypter.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/dialogs/DetailViewDlg.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestText.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/buttons/ButtonST.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

namespace fs = std::filesystem;
using zvtest::ScriptedModal;

const uint8_t kWebLogins[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0, 0x12};

std::string Text(CWnd& dlg, int id)
{
    char text[256] = {};
    ::GetDlgItemTextA(dlg.m_hWnd, id, text, sizeof text);
    return text;
}

void Type(CWnd& dlg, int id, const char* text) { ::SetDlgItemTextA(dlg.m_hWnd, id, text); }

class RecordCommands : public zvtest::AppWindowTest {
protected:
    RecordCommands() : AppWindowTest("zvrec") {}

    fs::path DatabasePath() const { return m_root.Path() / "_Standalone_" / "ZorvikanDatabase.zdb"; }
    fs::path FilesFolder() const { return m_root.Path() / "_Standalone_" / "Files"; }
    CDatabaseObj& Db() { return m_view->GetDatabase(); }

    // The records the file on disk holds, not deleted, by field 1.
    std::vector<std::string> SavedTitles()
    {
        CDatabaseObj saved;
        EXPECT_EQ(0, saved.Load(zvtest::WinPath(DatabasePath())));
        std::vector<std::string> titles;
        for (POSITION pos = saved.GetRecords().GetHeadPosition(); pos;) {
            auto* record = static_cast<CRecord*>(saved.GetRecords().GetNext(pos));
            if (!record->IsDeleted()) titles.push_back(std::string(record->GetField(0)));
        }
        return titles;
    }

    CRecord* AddRecord(const char* title)
    {
        auto* record = new CRecord;
        record->SetTypeKey(kWebLogins);
        record->SetField(0, title);
        record->SetId(Db().GetRecords().GetCount() + 100);
        Db().GetRecords().Add(record);
        return record;
    }
};

TEST_F(RecordCommands, NewItemUnderAllTypesMakesAWebLoginThatIsSavedWithItsDate)
{
    OpenWindow();
    ScriptedModal modal;
    std::string typeShown;
    bool autofillEnabled = true;
    bool busy = false;
    LRESULT editingAnswer = 0;
    modal.OnModal([&](CWnd& dlg) {
        typeShown = Text(dlg, IDC_DV_TYPE);
        autofillEnabled = ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_DV_AUTOFILL)) != FALSE;
        busy = m_view->GetPluginLink().GetBusy() != 0;
        editingAnswer = m_view->OnDatabaseNotify(NOTIFY_PING, 0, 0);
        Type(dlg, CDetailViewDlg::FieldEditId(0), "Bank");
        Type(dlg, CDetailViewDlg::FieldEditId(2), "s3cret");
        ScriptedModal::PressButton(dlg, IDOK);
    });
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_NEW_ITEM, 0);
    EXPECT_EQ("Web Logins", typeShown);
    EXPECT_FALSE(autofillEnabled) << "nothing to fill before the record is saved";
    EXPECT_TRUE(busy);
    EXPECT_EQ(1, editingAnswer) << "other programs hear that an editor is open";
    EXPECT_EQ(0, m_view->OnDatabaseNotify(NOTIFY_PING, 0, 0));
    EXPECT_EQ(0, m_view->GetPluginLink().GetBusy());
    EXPECT_EQ((std::vector<std::string>{"Bank"}), SavedTitles());
    CRecord* added = static_cast<CRecord*>(Db().GetRecords().GetTail());
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(0, std::memcmp(kWebLogins, added->GetTypeKey(), kUniqueKeySize));
    EXPECT_NE(0, added->GetId());
    EXPECT_FALSE(added->GetField(9).IsEmpty()) << "modification date stamped";
    EXPECT_TRUE(modal.Unanswered().empty());
}

// The tree's caret and the panel's chosen type row are the type a new
// record starts with.
TEST_F(RecordCommands, NewItemInTheTreeAndThePanelStartsWithTheChosenType)
{
    OpenWindow();
    CRecord* current = AddRecord("Current");
    current->SetTypeKey(Db().GetTypes().FindByName("Bank Accts")->GetKey());
    AddRecord("Loose")->SetTypeKey(KEY_UNFILED);
    AddRecord("Shop");
    auto newItemType = [&]() {
        ScriptedModal modal;
        std::string shown;
        modal.OnModal([&](CWnd& dlg) {
            shown = Text(dlg, IDC_DV_TYPE);
            ScriptedModal::PressButton(dlg, IDCANCEL);
        });
        ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_NEW_ITEM, 0);
        EXPECT_TRUE(modal.Unanswered().empty());
        return shown;
    };

    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_TREE, 0);
    CTreeCtrl& tree = m_view->GetTree();
    auto node = [&](const char* prefix) {
        for (HTREEITEM type = tree.GetRootItem(); type; type = tree.GetNextSiblingItem(type))
            if (std::string(tree.GetItemText(type)).rfind(prefix, 0) == 0) return type;
        ADD_FAILURE() << "no node " << prefix;
        return HTREEITEM{};
    };
    tree.SelectItem(node("Bank Accts"));
    EXPECT_EQ("Bank Accts", newItemType());
    tree.SelectItem(tree.GetChildItem(node("Bank Accts")));
    EXPECT_EQ("Bank Accts", newItemType());
    tree.SelectItem(node("Unfiled"));
    EXPECT_EQ("Unfiled", newItemType());

    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_PANEL, 0);
    CListCtrl& types = m_view->GetPanelTypes();
    for (const char* row : {"Bank Accts", "Unfiled", "Web Logins"}) {
        int index = -1;
        for (int i = 0; i < types.GetItemCount(); ++i)
            if (std::string(types.GetItemText(i, 0)).rfind(row, 0) == 0) index = i;
        ASSERT_GE(index, 0) << row;
        types.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        types.SendMessage(LVM_SETSELECTIONMARK, 0, index);
        ::SendMessageA(m_view->m_hWnd, WM_LISTCTRLEX_SELECTED, IDC_PANEL_TYPES, 0);
        EXPECT_EQ(row, newItemType());
    }
}

// Other programs hear that an editing dialog is open while the panel's New
// Type button has the type dialog open.
TEST_F(RecordCommands, TheNewTypeButtonsDialogCountsAsAnEditingDialog)
{
    OpenWindow();
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_PANEL, 0);
    CBitmapButton* button = m_view->GetToolButton(ID_NEW_TYPE);
    ASSERT_NE(nullptr, button);
    ASSERT_TRUE(button->IsWindowVisible());
    const UINT notice = ::RegisterWindowMessageA(kDatabaseNotifyMessageName);
    LRESULT answer = -1;
    char caption[64] = {};
    ScriptedModal modal;
    modal.OnModal([&](CWnd& define) {
        ::GetWindowTextA(define.m_hWnd, caption, sizeof caption);
        answer = ::SendMessageA(m_hFrame, notice, MakeDatabaseNotifyWParam(NOTIFY_PING, 0), 0);
        ScriptedModal::PressButton(define, IDCANCEL);
    });
    ::SendMessageA(button->m_hWnd, BM_CLICK, 0, 0);
    EXPECT_STREQ("Define Type", caption);
    EXPECT_EQ(1, answer);
    EXPECT_EQ(0, ::SendMessageA(m_hFrame, notice, MakeDatabaseNotifyWParam(NOTIFY_PING, 0), 0));
    EXPECT_TRUE(modal.Unanswered().empty());
}

// A masked field's mark is the padlock of the mark strip, its key colour
// left out (never a filled square of that colour).
TEST_F(RecordCommands, TheEditorMarksAMaskedFieldWithAPadlock)
{
    OpenWindow();
    ScriptedModal modal;
    int keyPixels = -1, outlinePixels = -1, unmarkedOutline = -1;
    auto count = [](CWnd& dlg, int control, COLORREF colour) {
        RECT r;
        ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, control), &r);
        ::MapWindowPoints(HWND_DESKTOP, dlg.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        HDC dc = ::GetDC(dlg.m_hWnd);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += ::GetPixel(dc, x, y) == colour;
        ::ReleaseDC(dlg.m_hWnd, dc);
        return n;
    };
    modal.OnModal([&](CWnd& dlg) {
        ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        // Web logins mask their third field (the password).
        keyPixels = count(dlg, IDC_DV_MARK_FIRST + 2, RGB(0xFF, 0x99, 0x33));
        outlinePixels = count(dlg, IDC_DV_MARK_FIRST + 2, RGB(0x50, 0x40, 0x10));
        unmarkedOutline = count(dlg, IDC_DV_MARK_FIRST + 1, RGB(0x50, 0x40, 0x10));
        ScriptedModal::PressButton(dlg, IDCANCEL);
    });
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_NEW_ITEM, 0);
    EXPECT_EQ(0, keyPixels);
    EXPECT_GT(outlinePixels, 20);
    EXPECT_EQ(0, unmarkedOutline);
}

// How many pixels of a control of the dialog, as shown, pass a test.
template <typename Test> int CountPixels(CWnd& dlg, int control, Test test)
{
    RECT r;
    ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, control), &r);
    ::MapWindowPoints(HWND_DESKTOP, dlg.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    HDC dc = ::GetDC(dlg.m_hWnd);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            n += test(GetRValue(c), GetGValue(c), GetBValue(c)) ? 1 : 0;
        }
    ::ReleaseDC(dlg.m_hWnd, dc);
    return n;
}

bool Green(int r, int g, int b) { return g > 140 && r < 150 && b < 90; }
bool Red(int r, int g, int b) { return r > 170 && g < 90 && b < 90; }
bool Yellow(int r, int g, int b) { return r > 190 && g > 160 && b < 80; }

// The colour pixels of an icon, to tell one icon from another.
std::vector<uint32_t> IconPixels(HICON icon)
{
    std::vector<uint32_t> pixels;
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return pixels;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = 16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    pixels.resize(16 * 16);
    HDC dc = ::GetDC(nullptr);
    if (!info.hbmColor || !::GetDIBits(dc, info.hbmColor, 0, 16, pixels.data(), &bmi, DIB_RGB_COLORS)) pixels.clear();
    ::ReleaseDC(nullptr, dc);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return pixels;
}

// The button's icon and the program's icon resource, pixel by pixel.
using IconPair = std::pair<std::vector<uint32_t>, std::vector<uint32_t>>;
IconPair ButtonIcon(CWnd& dlg, int control, int iconId)
{
    auto* button = dynamic_cast<CButtonST*>(CWnd::FromHandlePermanent(::GetDlgItem(dlg.m_hWnd, control)));
    HICON expected = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0);
    IconPair result(IconPixels(button ? button->GetIcon() : nullptr), IconPixels(expected));
    if (expected) ::DestroyIcon(expected);
    return result;
}

// The command buttons are shaded owner-drawn buttons showing their icons
// (a green tick on OK, a red stop on Cancel, a key on Password); the
// attachment button shows a paper clip with a green plus, or a red cross
// once a file is attached, and no "+" or "-" caption.
TEST_F(RecordCommands, TheEditorsButtonsShowTheirIcons)
{
    OpenWindow();
    const fs::path file = m_root.WriteFile("scan.bin", "scan");
    ScriptedModal modal;
    modal.AnswerFileName(zvtest::WinPath(file));
    const int buttons[][2] = {{IDOK, IDI_DV_OK},
                              {IDCANCEL, IDI_DV_CANCEL},
                              {IDC_DV_DUPLICATE, IDI_DV_DUPLICATE},
                              {IDC_DV_DELETE, IDI_DV_DELETE},
                              {IDC_DV_CUSTOM, IDI_DV_CUSTOM},
                              {IDC_DV_PASSWORD, IDI_DV_PASSWORD},
                              {IDC_DV_AUTOFILL, IDI_DV_AUTOFILL},
                              {IDC_DV_PRINT, IDI_DV_PRINT},
                              {IDC_DV_ATTACHMENT, IDI_DV_ADD_ATTACHMENT}};
    std::vector<IconPair> icons;
    std::vector<bool> ownerDrawn;
    IconPair removeIcon;
    int okGreen = -1, cancelRed = -1, passwordYellow = -1;
    int addGreen = -1, addRed = -1, removeGreen = -1, removeRed = -1;
    std::string addCaption = "?", removeCaption = "?";
    auto redraw = [](CWnd& dlg) {
        ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    modal.OnModal([&](CWnd& dlg) {
        redraw(dlg);
        for (const auto& button : buttons) {
            icons.push_back(ButtonIcon(dlg, button[0], button[1]));
            const LONG style = ::GetWindowLongA(::GetDlgItem(dlg.m_hWnd, button[0]), GWL_STYLE);
            ownerDrawn.push_back((style & BS_TYPEMASK) == BS_OWNERDRAW);
        }
        okGreen = CountPixels(dlg, IDOK, Green);
        cancelRed = CountPixels(dlg, IDCANCEL, Red);
        passwordYellow = CountPixels(dlg, IDC_DV_PASSWORD, Yellow);
        addGreen = CountPixels(dlg, IDC_DV_ATTACHMENT, Green);
        addRed = CountPixels(dlg, IDC_DV_ATTACHMENT, Red);
        addCaption = Text(dlg, IDC_DV_ATTACHMENT);
        ScriptedModal::PressButton(dlg, IDC_DV_ATTACHMENT);
        redraw(dlg);
        removeGreen = CountPixels(dlg, IDC_DV_ATTACHMENT, Green);
        removeRed = CountPixels(dlg, IDC_DV_ATTACHMENT, Red);
        removeCaption = Text(dlg, IDC_DV_ATTACHMENT);
        removeIcon = ButtonIcon(dlg, IDC_DV_ATTACHMENT, IDI_DV_REMOVE_ATTACHMENT);
        ScriptedModal::PressButton(dlg, IDCANCEL);
    });
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_NEW_ITEM, 0);
    ASSERT_EQ(9u, icons.size());
    for (size_t i = 0; i < icons.size(); ++i) {
        EXPECT_TRUE(ownerDrawn[i]) << buttons[i][0];
        EXPECT_EQ(256u, icons[i].second.size()) << "icon " << buttons[i][1] << " is not in the resources";
        EXPECT_TRUE(icons[i].first == icons[i].second) << "button " << buttons[i][0] << " lacks icon " << buttons[i][1];
    }
    EXPECT_EQ(256u, removeIcon.second.size());
    EXPECT_TRUE(removeIcon.first == removeIcon.second);
    EXPECT_GT(okGreen, 8);
    EXPECT_GT(cancelRed, 8);
    EXPECT_GT(passwordYellow, 8);
    EXPECT_GT(addGreen, 3);
    EXPECT_EQ(0, addRed);
    EXPECT_EQ(0, removeGreen);
    EXPECT_GT(removeRed, 3);
    EXPECT_EQ("", addCaption);
    EXPECT_EQ("", removeCaption);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(RecordCommands, ANewRecordWithNothingEnteredIsNotAdded)
{
    OpenWindow();
    const int before = Db().GetRecords().GetCount();
    ScriptedModal modal;
    modal.OnModal([&](CWnd& dlg) { ScriptedModal::PressButton(dlg, IDOK); });
    modal.OnModal([&](CWnd& dlg) {
        Type(dlg, IDC_DV_NOTES, "only notes");
        ScriptedModal::PressButton(dlg, IDOK);
    });
    m_view->RunNewItemDialog(KEY_ALL, KEY_ALL, "", "");
    EXPECT_EQ(before, Db().GetRecords().GetCount());
    m_view->RunNewItemDialog(KEY_ALL, KEY_ALL, "", "");
    ASSERT_EQ(before + 1, Db().GetRecords().GetCount()) << "notes alone make a record";
    EXPECT_EQ(CString("only notes"), static_cast<CRecord*>(Db().GetRecords().GetTail())->GetNotes());
}

TEST_F(RecordCommands, OkOnAnUnchangedRecordSavesButKeepsItsDate)
{
    OpenWindow();
    CRecord* record = AddRecord("Mail");
    record->SetField(9, "May 01, 2020");
    ScriptedModal modal;
    modal.OnModal([&](CWnd& dlg) { ScriptedModal::PressButton(dlg, IDOK); });
    m_view->EditRecord(record);
    EXPECT_EQ((std::vector<std::string>{"Mail"}), SavedTitles());
    EXPECT_EQ(CString("May 01, 2020"), record->GetField(9));
}

TEST_F(RecordCommands, TheEditorsDeleteRemovesItsOwnRecord)
{
    OpenWindow();
    AddRecord("Keep");
    CRecord* doomed = AddRecord("Doomed");
    ScriptedModal modal;
    modal.AnswerMessageBox(IDYES);
    modal.OnModal([&](CWnd& dlg) { ScriptedModal::PressButton(dlg, IDC_DV_DELETE); });
    m_view->EditRecord(doomed);
    EXPECT_TRUE(doomed->IsDeleted() || Db().GetRecords().FindById(doomed->GetId()) == nullptr);
    EXPECT_EQ((std::vector<std::string>{"Keep"}), SavedTitles());
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_EQ("Are you really sure you want to delete the selected item(s)?", modal.MessageBoxes()[0].text);
}

TEST_F(RecordCommands, AttachmentsUpToOneMegabyteAreStoredAndDuplicatesGetTheirOwnCopy)
{
    OpenWindow();
    const fs::path exact = m_root.WriteFile("exact.bin", std::string(1048576, 'x'));
    const fs::path over = m_root.WriteFile("over.bin", std::string(1048577, 'y'));
    CRecord* record = AddRecord("Scan");
    ScriptedModal modal;
    modal.AnswerFileName(zvtest::WinPath(over));
    modal.AnswerMessageBox(IDOK);
    modal.AnswerFileName(zvtest::WinPath(exact));
    modal.OnModal([&](CWnd& dlg) {
        ScriptedModal::PressButton(dlg, IDC_DV_ATTACHMENT);
        EXPECT_EQ("", Text(dlg, IDC_DV_ATTACHMENT_NAME)) << "over the limit: refused";
        ScriptedModal::PressButton(dlg, IDC_DV_ATTACHMENT);
        EXPECT_EQ("exact.bin", Text(dlg, IDC_DV_ATTACHMENT_NAME));
        ScriptedModal::PressButton(dlg, IDOK);
    });
    m_view->EditRecord(record);
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_EQ("The attachment size exceeds 1MB limit.", modal.MessageBoxes()[0].text);
    ASSERT_TRUE(record->HasAttachment());
    EXPECT_TRUE(fs::exists(FilesFolder() / std::string(record->GetAttachmentFileName())));

    // Duplicate: a new record with the same key and its own stored file.
    ScriptedModal dup;
    dup.OnModal([&](CWnd& dlg) {
        EXPECT_EQ("Scan Copy", Text(dlg, CDetailViewDlg::FieldEditId(0)));
        ScriptedModal::PressButton(dlg, IDOK);
    });
    m_view->DuplicateRecord(record);
    CRecord* copy = static_cast<CRecord*>(Db().GetRecords().GetTail());
    ASSERT_NE(record, copy);
    EXPECT_EQ(CString("Scan Copy"), copy->GetField(0));
    EXPECT_EQ(record->GetAttachmentKey(), copy->GetAttachmentKey());
    ASSERT_NE(record->GetAttachmentFileName(), copy->GetAttachmentFileName());
    const std::string original = zvtest::ReadFileBytes(FilesFolder() / std::string(record->GetAttachmentFileName()));
    EXPECT_EQ(original, zvtest::ReadFileBytes(FilesFolder() / std::string(copy->GetAttachmentFileName())));
}

TEST_F(RecordCommands, AnAttachmentThatCannotBeStoredLeavesTheRecordWithoutOne)
{
    OpenWindow();
    // A file where the attachments folder should be: nothing can be stored.
    fs::create_directories(FilesFolder().parent_path());
    m_root.WriteFile("_Standalone_/Files", "not a folder");
    const fs::path file = m_root.WriteFile("notes.txt", "hello");
    CRecord* record = AddRecord("Letter");
    ScriptedModal modal;
    modal.AnswerFileName(zvtest::WinPath(file));
    modal.AnswerMessageBox(IDOK);
    modal.OnModal([&](CWnd& dlg) {
        ScriptedModal::PressButton(dlg, IDC_DV_ATTACHMENT);
        ScriptedModal::PressButton(dlg, IDOK);
    });
    m_view->EditRecord(record);
    EXPECT_FALSE(record->HasAttachment());
    EXPECT_TRUE(record->GetAttachmentKey().IsEmpty());
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_NE(std::string::npos, modal.MessageBoxes()[0].text.find("could not be stored"));
}

TEST_F(RecordCommands, CustomizeFieldsSavesTheRecordsLabels)
{
    OpenWindow();
    CRecord* record = AddRecord("Router");
    ScriptedModal modal;
    modal.OnModal([&](CWnd& dlg) {
        Type(dlg, IDC_CUSTOM_LABEL_FIRST + 1, "Admin");
        ScriptedModal::PressButton(dlg, IDOK);
    });
    m_view->CustomizeRecord(record);
    CDatabaseObj saved;
    ASSERT_EQ(0, saved.Load(zvtest::WinPath(DatabasePath())));
    auto* stored = static_cast<CRecord*>(saved.GetRecords().FindById(record->GetId()));
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ(CString("Admin"), stored->GetCustomLabel(1));
}

}  // namespace

namespace {

TEST_F(RecordCommands, ACopyThatCannotReachTheClipboardLeavesItClean)
{
    OpenWindow();
    // Another window holds the clipboard open: the copy cannot get in.
    HWND other = ::CreateWindowExA(0, "STATIC", "holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::OpenClipboard(other));
    const bool copiedWhileHeld = m_view->CopyTextToClipboard("s3cret");
    ::CloseClipboard();
    ::DestroyWindow(other);
    EXPECT_FALSE(copiedWhileHeld);
    EXPECT_TRUE(m_view->IsClipboardClean()) << "nothing of ours to clear";

    ASSERT_TRUE(m_view->CopyTextToClipboard("s3cret"));
    EXPECT_FALSE(m_view->IsClipboardClean());
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    const std::string text = data ? static_cast<const char*>(::GlobalLock(data)) : "";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ("s3cret", text);
}

TEST_F(RecordCommands, TheEventViewerListsTheLogAndClearsIt)
{
    OpenWindow();
    auto log = CLogEvents::GetInstance();
    log->AddEvent("Add record", "Record added", "Alice", "Bank");
    log->AddEvent("Delete record", "Record deleted", "Alice", "Mail");
    ScriptedModal modal;
    int rowsShown = -1, rowsAfterClear = -1;
    std::string firstDescription;
    bool busy = false;
    modal.OnModal([&](CWnd& dlg) {
        HWND list = ::GetDlgItem(dlg.m_hWnd, IDC_EVENT_LIST);
        rowsShown = (int)::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        char text[64] = {};
        LVITEMA item{};
        item.iSubItem = 2;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, 0, (LPARAM)&item);
        firstDescription = text;
        busy = m_view->GetPluginLink().GetBusy() != 0;
        ScriptedModal::PressButton(dlg, IDC_EVENT_CLEAR_LOG);
        rowsAfterClear = (int)::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        ScriptedModal::PressButton(dlg, IDOK);
    });
    const int before = log->GetCount();
    m_view->SendMessage(WM_COMMAND, ID_EVENT_VIEWER);
    EXPECT_EQ(before, rowsShown);
    EXPECT_EQ("Mail", firstDescription) << "the latest event first";
    EXPECT_TRUE(busy);
    EXPECT_EQ(0, rowsAfterClear);
    EXPECT_EQ(0, log->GetCount());
    EXPECT_EQ(0, m_view->GetPluginLink().GetBusy());
}

}  // namespace

namespace {

TEST_F(RecordCommands, DeleteDuplicatesComparesAttachmentContentsAndAsksFirst)
{
    OpenWindow();
    const fs::path one = m_root.WriteFile("one.txt", "first contents");
    const fs::path two = m_root.WriteFile("two.txt", "other contents");
    const CString files = zvtest::WinPath(FilesFolder());
    auto attach = [&](CRecord* r, const fs::path& source) {
        r->SetAttachmentName("scan.txt");
        r->SetAttachmentKey(NewAttachmentKeyText());
        CAttachmentCrypter crypter(r->GetAttachmentKey(), r->GetAttachmentFileName(), files);
        ASSERT_EQ(0, crypter.EncryptFromFile(zvtest::WinPath(source)));
    };
    AddRecord("Bank");
    CRecord* copy = AddRecord("Bank");
    copy->SetField(9, "May 01, 2020");
    CRecord* scanA = AddRecord("Scan");
    CRecord* scanB = AddRecord("Scan");
    CRecord* scanC = AddRecord("Scan");
    attach(scanA, one);
    attach(scanB, two);
    attach(scanC, one);
    ASSERT_EQ(0, Db().Save());

    ScriptedModal no;
    std::vector<std::string> listed;
    no.OnModal([&](CWnd& dlg) {
        const int n = (int)::SendDlgItemMessageA(dlg.m_hWnd, IDC_DUPLICATES_LIST, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            char text[64] = {};
            ::SendDlgItemMessageA(dlg.m_hWnd, IDC_DUPLICATES_LIST, LB_GETTEXT, i, (LPARAM)text);
            listed.push_back(text);
        }
        ScriptedModal::PressButton(dlg, IDCANCEL);
    });
    m_view->SendMessage(WM_COMMAND, ID_DELETE_DUPLICATES);
    EXPECT_EQ((std::vector<std::string>{"Bank", "Scan"}), listed) << "the second Scan holds other bytes";
    EXPECT_FALSE(copy->IsDeleted());

    ScriptedModal yes;
    yes.OnModal([&](CWnd& dlg) { ScriptedModal::PressButton(dlg, IDOK); });
    m_view->SendMessage(WM_COMMAND, ID_DELETE_DUPLICATES);
    EXPECT_EQ((std::vector<std::string>{"Bank", "Scan", "Scan"}), SavedTitles());
    EXPECT_FALSE(scanB->IsDeleted());

    ScriptedModal none;
    none.AnswerMessageBox(IDOK);
    m_view->SendMessage(WM_COMMAND, ID_DELETE_DUPLICATES);
    ASSERT_EQ(1u, none.MessageBoxes().size());
    EXPECT_EQ("No duplicate records found", none.MessageBoxes()[0].text);
    EXPECT_EQ("Delete Confimation", none.MessageBoxes()[0].caption);
}

}  // namespace
