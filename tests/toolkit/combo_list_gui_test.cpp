// Cells edited in place: an edit box commits on Enter and puts the old text
// back on Escape, a paste is taken when no valid characters are set, a combo
// cell gets its choices from the parent, and clicks off the rows do nothing.
#include <gtest/gtest.h>

#include "tests/support/ScriptedModal.h"
#include "tests/toolkit/ToolkitGuiSupport.h"
#include "toolkit/editors/InPlaceEdit.h"
#include "toolkit/lists/ComboListCtrl.h"

namespace {

class ChoicesParent : public zvtest::RecordingWnd {
public:
    ChoicesParent() : RecordingWnd(0x8000, 0x8FFF) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMBOLIST_GET_CHOICES) {
            auto* choices = reinterpret_cast<CStringList*>(lParam);
            for (const char* c : {"Desktop", "Handheld", "Both"}) choices->AddTail(c);
        }
        if (message == WM_COMBOLIST_CELL_EDITED) {
            const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
            m_editedRow = info->item.iItem;
            m_editedColumn = info->item.iSubItem;
            m_editedText = info->item.pszText;
        }
        return RecordingWnd::WindowProc(message, wParam, lParam);
    }
    int m_editedRow = -1;
    int m_editedColumn = -1;
    CString m_editedText;
};

class ComboListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateTop(0, 0, 500, 400));
        ASSERT_TRUE(
            m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS, CRect(0, 0, 400, 300), &m_parent, 1234));
        // As its dialog has it: a click anywhere in a row hits the row.
        m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        m_list.InsertColumn(0, "File", LVCFMT_LEFT, 120);
        m_list.InsertColumn(1, "Direction", LVCFMT_LEFT, 100);
        m_list.InsertColumn(2, "Note", LVCFMT_LEFT, 100);
        m_list.InsertItem(0, "first.zdb");
        m_list.SetItemText(0, 1, "Both");
        m_list.SetItemText(0, 2, "old note");
        m_list.InsertItem(1, "second.zdb");
        m_list.SetComboColumn(1, TRUE);
        m_list.SetReadOnlyColumn(0, TRUE);
        m_list.SetFocus();
        m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        zvtest::PumpPendingMessages();
    }
    POINT CellPoint(int row, int column)
    {
        RECT rc{};
        m_list.GetItemRect(row, &rc, LVIR_BOUNDS);
        int left = rc.left;
        for (int i = 0; i < column; ++i) left += m_list.GetColumnWidth(i);
        return {left + 10, (rc.top + rc.bottom) / 2};
    }
    void ClickCell(int row, int column)
    {
        const POINT pt = CellPoint(row, column);
        m_list.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    // The editor that took the focus after a click; keys go to it directly,
    // as windows of other test programs on the display may take the focus
    // meanwhile.
    HWND Editor() { return m_editor = ::GetFocus(); }
    void Key(UINT key)
    {
        ::PostMessageA(::IsWindow(m_editor) ? m_editor : ::GetFocus(), WM_KEYDOWN, key, 0);
        zvtest::PumpPendingMessagesPreTranslated();
    }
    HWND m_editor = nullptr;
    ChoicesParent m_parent;
    CComboListCtrl m_list;
};

TEST_F(ComboListTest, EditCommitsOnEnter)
{
    ClickCell(0, 2);
    HWND edit = Editor();
    ASSERT_NE(m_list.m_hWnd, edit);
    ASSERT_EQ(CInPlaceEdit::Instance()->m_hWnd, edit);
    ::SetWindowTextA(edit, "new note");
    Key(VK_RETURN);
    EXPECT_STREQ("new note", m_list.GetItemText(0, 2));
    EXPECT_EQ(1, m_parent.Count(WM_COMBOLIST_CELL_EDITED));
    EXPECT_EQ(0, m_parent.m_editedRow);
    EXPECT_EQ(2, m_parent.m_editedColumn);
    EXPECT_STREQ("new note", m_parent.m_editedText);
    EXPECT_FALSE(::IsWindow(edit));  // the window goes, the editor object stays
}

TEST_F(ComboListTest, EscapePutsTheOldTextBackEvenWhenEmpty)
{
    ClickCell(0, 2);
    ::SetWindowTextA(Editor(), "typed");
    Key(VK_ESCAPE);
    EXPECT_STREQ("old note", m_list.GetItemText(0, 2));
    m_list.SetItemText(0, 2, "");
    ClickCell(0, 2);
    ::SetWindowTextA(Editor(), "typed");
    Key(VK_ESCAPE);
    EXPECT_STREQ("", m_list.GetItemText(0, 2));
}

TEST_F(ComboListTest, PasteIsTakenWhenNoValidCharactersAreSet)
{
    ClickCell(0, 2);
    HWND edit = Editor();
    ASSERT_EQ(CInPlaceEdit::Instance()->m_hWnd, edit);
    ASSERT_TRUE(::OpenClipboard(m_list.m_hWnd));
    ::EmptyClipboard();
    HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, 8);
    lstrcpyA(static_cast<char*>(::GlobalLock(data)), "pasted");
    ::GlobalUnlock(data);
    ::SetClipboardData(CF_TEXT, data);
    ::CloseClipboard();
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    ::SendMessageA(edit, WM_PASTE, 0, 0);
    char text[64] = {};
    ::GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ("pasted", text);
    Key(VK_RETURN);
    EXPECT_STREQ("pasted", m_list.GetItemText(0, 2));
}

TEST_F(ComboListTest, ComboCellOffersTheParentsChoices)
{
    ClickCell(0, 1);
    CInPlaceCombo* combo = CInPlaceCombo::Instance();
    ASSERT_TRUE(combo->m_hWnd && ::IsWindow(combo->m_hWnd));
    EXPECT_EQ(3, combo->GetCount());
    EXPECT_EQ(2, combo->GetCurSel());  // the cell's text, "Both"
    combo->SetCurSel(1);
    Key(VK_RETURN);
    EXPECT_STREQ("Handheld", m_list.GetItemText(0, 1));
}

TEST_F(ComboListTest, ReadOnlyColumnOpensNothing)
{
    ClickCell(0, 0);
    EXPECT_FALSE(::IsWindow(CInPlaceEdit::Instance()->m_hWnd));
    EXPECT_FALSE(::IsWindow(CInPlaceCombo::Instance()->m_hWnd));
}

TEST_F(ComboListTest, ClickBelowTheRowsDoesNothingAtAll)
{
    m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 250));
    EXPECT_EQ(LVIS_SELECTED, m_list.GetItemState(0, LVIS_SELECTED));  // not even deselected
    EXPECT_FALSE(::IsWindow(CInPlaceEdit::Instance()->m_hWnd));
    EXPECT_FALSE(::IsWindow(CInPlaceCombo::Instance()->m_hWnd));
}

TEST_F(ComboListTest, ProgressBarSitsInItsCell)
{
    m_list.SetProgressColumn(2);
    m_list.ShowProgressBar(1);
    CProgressCtrl* bar = m_list.GetProgressBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(1 + ZV_COMBOLIST_PROGRESS_ID_BASE, bar->GetDlgCtrlID());
    EXPECT_EQ(10, bar->GetPos());
    m_list.ShowProgressBar(0);
    EXPECT_NE(bar, m_list.GetProgressBar());
    m_list.DestroyProgressBar();
    EXPECT_EQ(nullptr, m_list.GetProgressBar());
}

}  // namespace
