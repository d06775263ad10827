// The dialog tool bar and its search box: controls bound only after the
// posted binding message (which a dialog's own procedure never sees), the
// view reached through the main window and left alone while there is none,
// Tab into the view's panes, and the auto-complete drop-down: its filter, its
// row cap, word replacement at the caret and hiding when the bar moves.
#include <gtest/gtest.h>

#include <memory>

#include "framework/WinApp.h"
#include "tests/support/ScriptedModal.h"
#include "tests/toolkit/ToolkitGuiSupport.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/toolbar/DialogToolbar.h"

namespace {

CWinApp theApp("Toolkit GUI Tests");

using zvtest::RecordingWnd;

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.CreateTop(50, 50, 1100, 300));
        theApp.m_pMainWnd = &m_frame;
        ASSERT_TRUE(m_bar.Create(&m_frame, IDD_DIALOG_TOOLBAR, CBRS_TOP, IDD_DIALOG_TOOLBAR));
    }
    void TearDown() override
    {
        theApp.m_pMainWnd = nullptr;
        if (m_bar.m_hWnd) m_bar.DestroyWindow();
        if (m_view.m_hWnd) m_view.DestroyWindow();
    }
    // A view with one pane, named by the main window.
    void MakeView()
    {
        ASSERT_TRUE(m_view.CreateChild(&m_frame, 0, 100, 400, 150, 0xE900));
        ASSERT_TRUE(m_pane.CreateChild(&m_view, 0, 0, 100, 100, 5000));
        m_view.m_pPane = &m_pane;
        m_frame.m_pView = &m_view;
    }
    void Words(std::initializer_list<const char*> list)
    {
        CStringArray words;
        for (const char* w : list) words.Add(w);
        m_bar.m_edSearch.SetAutoCompleteList(words);
    }
    void Type(const char* text)
    {
        m_bar.m_edSearch.SetFocus();
        m_bar.m_edSearch.SetWindowText(text);
        const int length = (int)strlen(text);
        m_bar.m_edSearch.SetSel(length, length);
        // The caret goes to the end first; the change is noticed afterwards.
        m_bar.m_edSearch.SetWindowText(text);
        m_bar.m_edSearch.SetSel(length, length);
    }
    void TypeAtEnd(const char* text)
    {
        m_bar.m_edSearch.SetFocus();
        m_bar.m_edSearch.SetWindowText("");
        m_bar.m_edSearch.SetSel(0, 0);
        m_bar.m_edSearch.ReplaceSel(text);
    }
    const CACListWnd& DropDown() { return m_bar.m_edSearch.GetDropDown(); }

    RecordingWnd m_frame;
    RecordingWnd m_view{0x0800, 0x0FFF};
    RecordingWnd m_pane;
    CDialogToolbar m_bar;
};

TEST_F(ToolbarTest, ControlsAreBoundOnlyAfterThePostedMessage)
{
    EXPECT_NE(nullptr, m_bar.m_edSearch.m_hWnd);  // attached while the bar was made
    EXPECT_EQ(nullptr, m_bar.m_cbTypes.m_hWnd);
    EXPECT_EQ(nullptr, m_bar.m_btnLock.m_hWnd);
    EXPECT_FALSE(m_bar.IsBound());
    zvtest::PumpPendingMessages();
    EXPECT_TRUE(m_bar.IsBound());
    EXPECT_EQ(::GetDlgItem(m_bar.m_hWnd, IDC_TOOLBAR_TYPES), m_bar.m_cbTypes.m_hWnd);
    EXPECT_EQ(::GetDlgItem(m_bar.m_hWnd, ID_LOCK_APP), m_bar.m_btnLock.m_hWnd);
    EXPECT_EQ(::GetDlgItem(m_bar.m_hWnd, IDC_TOOLBAR_SEARCH_CUE), m_bar.m_stSearchCue.m_hWnd);
    EXPECT_EQ(::GetDlgItem(m_bar.m_hWnd, ID_VIEW_TREE), m_bar.m_btnTreeView.m_hWnd);
}

TEST_F(ToolbarTest, BindingMessageNeverReachesTheDialogProcedure)
{
    zvtest::PumpPendingMessages();
    const LRESULT before = m_bar.SendMessage(DM_GETDEFID);
    // The number is DM_SETDEFID to a dialog: were it passed on, the bar's
    // default button would become ID_OPTIONS.
    EXPECT_EQ(1, m_bar.SendMessage(WM_DIALOGBAR_BIND, ID_OPTIONS, 0));
    EXPECT_EQ(before, m_bar.SendMessage(DM_GETDEFID));
    EXPECT_NE(ID_OPTIONS, LOWORD(m_bar.SendMessage(DM_GETDEFID)));
}

TEST_F(ToolbarTest, SearchBoxTakesItsFaceAndSize)
{
    RECT rc{};
    m_bar.m_edSearch.GetWindowRect(&rc);
    EXPECT_EQ(142, rc.right - rc.left);
    EXPECT_EQ(20, rc.bottom - rc.top);
    EXPECT_EQ(CEditWithButton::kCompleteWordAtCaret, m_bar.m_edSearch.GetMode());
    EXPECT_EQ(1, m_bar.m_edSearch.GetBoxType());
}

TEST_F(ToolbarTest, WithoutAViewNothingIsSentAndNothingBreaks)
{
    zvtest::PumpPendingMessages();
    Words({"abc"});
    TypeAtEnd("ab");
    MSG move{m_bar.m_cbTypes.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3), 0, {0, 0}};
    EXPECT_FALSE(m_bar.PreTranslateMessage(&move));
    m_bar.m_edSearch.SetFocus();
    MSG tab{m_bar.m_edSearch.m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(m_bar.PreTranslateMessage(&tab));  // handled: the focus stays
    EXPECT_EQ(m_bar.m_edSearch.m_hWnd, ::GetFocus());
    m_bar.m_edSearch.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(m_view.m_sent.empty());
}

TEST_F(ToolbarTest, MouseGoesToTheViewAndTabMovesIntoItsPanes)
{
    MakeView();
    zvtest::PumpPendingMessages();
    MSG move{m_bar.m_cbTypes.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3), 0, {0, 0}};
    EXPECT_FALSE(m_bar.PreTranslateMessage(&move));
    ASSERT_EQ(1u, m_view.m_preTranslated.size());
    EXPECT_EQ((UINT)WM_MOUSEMOVE, m_view.m_preTranslated[0]);
    // Tab in the search box: into the view's pane, never the next bar control.
    m_bar.m_edSearch.SetFocus();
    ::PostMessageA(m_bar.m_edSearch.m_hWnd, WM_KEYDOWN, VK_TAB, 0);
    zvtest::PumpPendingMessagesPreTranslated();
    EXPECT_EQ(m_pane.m_hWnd, ::GetFocus());
    // Tab elsewhere is not the bar's business.
    m_bar.m_cbTypes.SetFocus();
    MSG tab{m_bar.m_cbTypes.m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(m_bar.PreTranslateMessage(&tab));
}

TEST_F(ToolbarTest, TextChangesAndEnterReachTheView)
{
    MakeView();
    zvtest::PumpPendingMessages();
    TypeAtEnd("x");
    ASSERT_LE(1, m_view.Count(WM_SEARCHBOX_UPDATE));
    EXPECT_EQ((WPARAM)ZV_SEARCHBOX_CHANGED, m_view.m_sent.back().wParam);
    EXPECT_EQ((LPARAM)IDC_TOOLBAR_SEARCH, m_view.m_sent.back().lParam);
    m_view.m_sent.clear();
    m_bar.m_edSearch.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(1u, m_view.m_sent.size());
    EXPECT_EQ((WPARAM)ZV_SEARCHBOX_COMMIT, m_view.m_sent[0].wParam);
}

TEST_F(ToolbarTest, ClearButtonOnAnEmptyBoxSendsNothing)
{
    MakeView();
    zvtest::PumpPendingMessages();
    m_bar.m_edSearch.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(115, 10));
    EXPECT_EQ(0, m_view.Count(WM_SEARCHBOX_CLEAR));
    TypeAtEnd("abc");
    m_bar.m_edSearch.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(115, 10));
    EXPECT_EQ(1, m_view.Count(WM_SEARCHBOX_CLEAR));
    m_bar.m_edSearch.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(130, 10));
    EXPECT_EQ(1, m_view.Count(WM_SEARCHBOX_HISTORY));
}

TEST_F(ToolbarTest, DropDownShowsMatchesSortedAndHidesWithoutThem)
{
    MakeView();
    zvtest::PumpPendingMessages();
    Words({"ABD", "abc", "zed"});
    TypeAtEnd("ab");
    ASSERT_TRUE(DropDown().IsWindowVisible());
    ASSERT_EQ(2, DropDown().GetWords().GetShownCount());
    EXPECT_STREQ("abc", DropDown().GetWords().GetShown()[0]);
    EXPECT_STREQ("ABD", DropDown().GetWords().GetShown()[1]);
    TypeAtEnd("b");
    EXPECT_FALSE(DropDown().IsWindowVisible());
}

TEST_F(ToolbarTest, DropDownShowsAtMostEightRows)
{
    MakeView();
    zvtest::PumpPendingMessages();
    CStringArray many;
    for (int i = 0; i < 20; ++i) {
        CString word;
        word.Format("word%02d", i);
        many.Add(word);
    }
    m_bar.m_edSearch.SetAutoCompleteList(many);
    TypeAtEnd("w");
    ASSERT_TRUE(DropDown().IsWindowVisible());
    RECT client{};
    DropDown().GetClientRect(&client);
    EXPECT_EQ(8, (client.bottom - client.top) / DropDown().GetRowHeight());
    EXPECT_TRUE(DropDown().IsScrollBarVisible());
    Words({"word1", "word2", "word3"});
    TypeAtEnd("wo");
    ASSERT_TRUE(DropDown().IsWindowVisible());
    DropDown().GetClientRect(&client);
    EXPECT_EQ(3, (client.bottom - client.top) / DropDown().GetRowHeight());
    EXPECT_FALSE(DropDown().IsScrollBarVisible());
}

TEST_F(ToolbarTest, TakingAWordReplacesOnlyThePartAtTheCaret)
{
    MakeView();
    zvtest::PumpPendingMessages();
    Words({"banana", "bandana"});
    TypeAtEnd("apple\\ban");
    ASSERT_TRUE(DropDown().IsWindowVisible());
    EXPECT_EQ(2, DropDown().GetWords().GetShownCount());
    m_bar.m_edSearch.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    CString text;
    m_bar.m_edSearch.GetWindowText(text);
    EXPECT_STREQ("apple\\banana", text);
    int start = 0, end = 0;
    m_bar.m_edSearch.GetSel(start, end);
    EXPECT_EQ(6, start);
    EXPECT_EQ(12, end);
    // Up from the first row wraps to the last.
    m_bar.m_edSearch.SendMessage(WM_KEYDOWN, VK_UP, 0);
    m_bar.m_edSearch.GetWindowText(text);
    EXPECT_STREQ("apple\\bandana", text);
}

TEST_F(ToolbarTest, ClickOnARowTakesItsWordAndTellsTheView)
{
    MakeView();
    zvtest::PumpPendingMessages();
    Words({"banana", "bandana"});
    TypeAtEnd("apple\\ban");
    ASSERT_TRUE(DropDown().IsWindowVisible());
    m_view.m_sent.clear();
    const int y = DropDown().GetRowHeight() + DropDown().GetRowHeight() / 2;  // the second row
    m_bar.m_edSearch.GetDropDown().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y));
    CString text;
    m_bar.m_edSearch.GetWindowText(text);
    EXPECT_STREQ("apple\\bandana", text);
    EXPECT_FALSE(DropDown().IsWindowVisible());
    ASSERT_FALSE(m_view.m_sent.empty());
    EXPECT_EQ((UINT)WM_SEARCHBOX_UPDATE, m_view.m_sent.back().message);
    EXPECT_EQ((WPARAM)ZV_SEARCHBOX_COMMIT, m_view.m_sent.back().wParam);
}

TEST_F(ToolbarTest, DropDownHidesWhenTheBarMoves)
{
    MakeView();
    zvtest::PumpPendingMessages();
    Words({"abc", "abd"});
    TypeAtEnd("ab");
    ASSERT_TRUE(DropDown().IsWindowVisible());
    m_frame.SetWindowPos(nullptr, 80, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(zvtest::PumpUntil([&] { return !DropDown().IsWindowVisible(); }, 2000));
}

TEST_F(ToolbarTest, SearchCueHidesWhileTheBoxHasTheFocusOrText)
{
    MakeView();
    zvtest::PumpPendingMessages();
    HWND cue = ::GetDlgItem(m_bar.m_hWnd, IDC_TOOLBAR_SEARCH_CUE);
    m_bar.m_edSearch.SetFocus();
    EXPECT_FALSE(::IsWindowVisible(cue));
    m_bar.m_cbTypes.SetFocus();
    EXPECT_TRUE(::IsWindowVisible(cue));
    EXPECT_EQ(1, m_view.Count(WM_SEARCHBOX_LEAVE));
    TypeAtEnd("x");
    m_bar.m_cbTypes.SetFocus();
    EXPECT_FALSE(::IsWindowVisible(cue));
}

TEST_F(ToolbarTest, WholeBarCanBeDisabledAndEnabled)
{
    m_bar.DisableBar();
    EXPECT_FALSE(m_bar.IsWindowEnabled());
    m_bar.EnableBar();
    EXPECT_TRUE(m_bar.IsWindowEnabled());
}

}  // namespace
