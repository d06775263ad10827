// The owner-drawn report list: type-ahead and its pause, double clicks on
// empty space, keys with no selection, rows measured again on a new font.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/ScriptedModal.h"
#include "tests/toolkit/ToolkitGuiSupport.h"
#include "toolkit/lists/OwnerListCtrl.h"
#include "toolkit/lists/TypeAhead.h"

namespace {

using zvtest::RecordingWnd;

struct Row {
    CString name;
};

class NameList : public COwnerListCtrl {
public:
    CString GetCellText(DWORD_PTR data, int column) override
    {
        return column == 7 && data ? reinterpret_cast<Row*>(data)->name : CString();
    }
    int GetKeyColumn() override { return 7; }
    void OnItemDblClk(int row) override { m_doubleClicked.push_back(row); }
    void OnSelectionChanged(int row, BOOL selected) override { m_changes.push_back(selected ? row : -1 - row); }
    void OnContextMenu(CPoint point) override { m_menus.push_back(point); }
    std::vector<int> m_doubleClicked;
    std::vector<int> m_changes;  // row when selected, -1 - row when not
    std::vector<CPoint> m_menus;
};

class OwnerListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldTyped = CTypeAhead::ReplaceInstance(std::make_shared<CTypeAhead>());
        ASSERT_TRUE(m_parent.CreateTop(0, 0, 400, 400));
        ASSERT_TRUE(m_list.Create(CRect(0, 0, 300, 200), &m_parent, 5000));
        m_list.ShowWindow(SW_SHOW);
        EXPECT_EQ(0, m_list.InsertColumn(0, 7, "Name", LVCFMT_LEFT, 150));
    }
    void TearDown() override { CTypeAhead::ReplaceInstance(m_oldTyped); }
    void Fill(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            m_rows.push_back(std::make_unique<Row>(Row{name}));
            const int at = m_list.InsertItem(m_list.GetItemCount(), "");
            m_list.SetItemData(at, reinterpret_cast<DWORD_PTR>(m_rows.back().get()));
        }
    }
    int Selected() { return m_list.GetNextItem(-1, LVNI_SELECTED); }
    std::shared_ptr<CTypeAhead> m_oldTyped;
    RecordingWnd m_parent{0x0400, 0x8FFF};
    NameList m_list;
    std::vector<std::unique_ptr<Row>> m_rows;
};

TEST_F(OwnerListTest, ColumnValueIsKeptInTheHeader)
{
    HDITEMA item{};
    item.mask = HDI_LPARAM;
    m_list.GetHeaderCtrl()->GetItem(0, &item);
    EXPECT_EQ(7, item.lParam);
    EXPECT_EQ((DWORD)(WS_CHILD | LVS_OWNERDRAWFIXED | LVS_REPORT),
              m_list.GetStyle() & (WS_CHILD | LVS_OWNERDRAWFIXED | LVS_TYPEMASK));
}

TEST_F(OwnerListTest, TypingSelectsTheFirstRowWithThatBeginningInAnyCase)
{
    Fill({"Zulu", "abc", "ABD", "Abe"});
    m_list.OnChar('a', 1, 0);
    EXPECT_EQ(1, Selected());
    m_list.OnChar('B', 1, 0);
    EXPECT_EQ(1, Selected());
    m_list.OnChar('d', 1, 0);
    EXPECT_EQ(2, Selected());
    EXPECT_EQ(1u, m_list.GetSelectedCount());
    EXPECT_EQ(LVIS_FOCUSED, m_list.GetItemState(2, LVIS_FOCUSED));
}

TEST_F(OwnerListTest, PauseStartsANewSearch)
{
    Fill({"apple", "banana", "cherry"});
    m_list.OnChar('a', 1, 0);
    EXPECT_EQ(0, Selected());
    ::Sleep(2 * ::GetDoubleClickTime() + 100);
    m_list.OnChar('b', 1, 0);
    EXPECT_EQ(1, Selected());
    EXPECT_STREQ("b", CTypeAhead::GetInstance()->GetPrefix());
}

TEST_F(OwnerListTest, UnmatchedCharacterChangesNoSelection)
{
    Fill({"apple", "banana"});
    m_list.OnChar('b', 1, 0);
    EXPECT_EQ(1, Selected());
    m_list.OnChar('x', 1, 0);  // "bx" matches nothing: the list's own handling
    EXPECT_EQ(1, Selected());
}

TEST_F(OwnerListTest, DoubleClickOnEmptySpaceDoesNothing)
{
    Fill({"apple", "banana"});
    m_list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 190));
    zvtest::PumpPendingMessages();
    EXPECT_TRUE(m_list.m_doubleClicked.empty());
    EXPECT_TRUE(std::find(m_parent.m_notifies.begin(), m_parent.m_notifies.end(), (UINT)NM_DBLCLK) ==
                m_parent.m_notifies.end());
    RECT row{};
    m_list.GetItemRect(1, &row, LVIR_BOUNDS);
    m_list.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, (row.top + row.bottom) / 2));
    m_list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, (row.top + row.bottom) / 2));
    zvtest::PumpPendingMessages();
    EXPECT_EQ(std::vector<int>{1}, m_list.m_doubleClicked);
}

TEST_F(OwnerListTest, KeysWithNoSelectionScrollOrDoNothing)
{
    Fill({"a", "b", "c"});
    for (UINT key : {VK_DOWN, VK_UP, VK_RETURN}) {
        m_list.SendMessage(WM_KEYDOWN, key, 0);
        EXPECT_EQ(-1, Selected()) << key;
        EXPECT_EQ(0, m_list.GetTopIndex()) << key;
    }
    for (int i = 0; i < 60; ++i) Fill({"row"});
    ASSERT_GT(m_list.GetItemCount(), m_list.GetCountPerPage());
    m_list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(-1, Selected());
    EXPECT_GT(m_list.GetTopIndex(), 0);
    // With a selection the keys move it as usual.
    m_list.SelectItem(5, TRUE);
    m_list.EnsureVisible(5, FALSE);
    m_list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(6, Selected());
}

TEST_F(OwnerListTest, EmptyListIgnoresKeysAndTyping)
{
    m_list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    m_list.OnChar('a', 1, 0);
    m_list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    m_list.SendMessage(WM_ERASEBKGND, (WPARAM)::GetDC(nullptr), 0);
    EXPECT_EQ(-1, Selected());
}

TEST_F(OwnerListTest, RowsArePaintedInAlternatingAndSelectionColours)
{
    Fill({"a", "b", "c"});
    m_list.m_crEvenRow = RGB(200, 10, 10);
    m_list.m_crOddRow = RGB(10, 200, 10);
    m_list.SelectItem(2, TRUE);
    RECT client{};
    m_list.GetClientRect(&client);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    m_list.SendMessage(WM_PRINTCLIENT, (WPARAM)mem, PRF_CLIENT | PRF_ERASEBKGND);
    auto colourOfRow = [&](int row) {
        RECT rc{};
        m_list.GetItemRect(row, &rc, LVIR_BOUNDS);
        return ::GetPixel(mem, 140, (rc.top + rc.bottom) / 2);
    };
    EXPECT_EQ(RGB(200, 10, 10), colourOfRow(0));
    EXPECT_EQ(RGB(10, 200, 10), colourOfRow(1));
    EXPECT_EQ(m_list.m_crSelectedBack, colourOfRow(2));
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), m_list.m_crSelectedBack);
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
}

TEST_F(OwnerListTest, HooksHearSelectionContextMenuAndTheParentMouseMoves)
{
    Fill({"a", "b"});
    m_list.SelectItem(1, TRUE);
    m_list.SelectItem(0, TRUE);
    // Every state change is told with the row's selected state after it:
    // selecting and then focusing row 1; clearing it, selecting and focusing
    // row 0 (which takes the focus from row 1).
    EXPECT_EQ((std::vector<int>{1, 1, -2, 0, -2, 0}), m_list.m_changes);
    m_list.SendMessage(WM_CONTEXTMENU, (WPARAM)m_list.m_hWnd, MAKELPARAM(-1, -1));
    ASSERT_EQ(1u, m_list.m_menus.size());
    EXPECT_EQ(-1, m_list.m_menus[0].x);
    m_parent.m_sent.clear();
    m_list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(1, m_parent.Count(WM_CHILDLIST_MOUSEMOVE));
    EXPECT_EQ(0u, m_parent.m_sent[0].wParam);
    EXPECT_EQ(0, m_parent.m_sent[0].lParam);
}

TEST_F(OwnerListTest, NewFontGivesNewRowHeightAtOnce)
{
    Fill({"a", "b"});
    RECT before{};
    m_list.GetItemRect(0, &before, LVIR_BOUNDS);
    LOGFONTA lf{};
    lf.lfHeight = -40;
    lstrcpyA(lf.lfFaceName, "Arial");
    HFONT big = ::CreateFontIndirectA(&lf);
    m_list.SendMessage(WM_SETFONT, (WPARAM)big, TRUE);
    RECT after{};
    m_list.GetItemRect(0, &after, LVIR_BOUNDS);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top + 10);
    m_list.SendMessage(WM_SETFONT, 0, FALSE);
    ::DeleteObject(big);
}

}  // namespace
