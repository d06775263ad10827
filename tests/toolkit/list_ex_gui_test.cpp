// The tree's and the panel lists' messages to their parent, in their order.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/ScriptedModal.h"
#include "tests/toolkit/ToolkitGuiSupport.h"
#include "toolkit/lists/ListCtrlEx.h"

namespace {

using zvtest::RecordingWnd;

class ListExTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateTop(0, 0, 500, 400));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 300, 200),
                                  &m_parent, 10001));
        m_list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
        m_list.InsertColumn(1, "Note", LVCFMT_LEFT, 60);
        for (const char* text : {"one", "two", "three"}) m_list.InsertItem(m_list.GetItemCount(), text);
        zvtest::PumpPendingMessages();
        m_parent.m_sent.clear();
    }
    POINT RowPoint(int row)
    {
        RECT rc{};
        m_list.GetItemRect(row, &rc, LVIR_LABEL);
        return {rc.left + 5, (rc.top + rc.bottom) / 2};
    }
    void Click(int row)
    {
        const POINT pt = RowPoint(row);
        // The list's own click handling waits for the button to come up.
        m_list.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        zvtest::PumpPendingMessages();
    }
    RecordingWnd m_parent{0x0400, 0x8FFF};
    CListCtrlEx m_list;
};

TEST_F(ListExTest, PlainClickSelectsAndTellsTheParent)
{
    Click(1);
    EXPECT_EQ(1, m_list.GetNextItem(-1, LVNI_SELECTED));
    ASSERT_GE(m_parent.Count(WM_LISTCTRLEX_SELECTED), 1);
    for (const auto& m : m_parent.m_sent) {
        if (m.message == WM_LISTCTRLEX_SELECTED) {
            EXPECT_EQ((WPARAM)10001, m.wParam);
        }
    }
    // The button coming up is a drop.
    EXPECT_EQ(1, m_parent.Count(WM_LISTCTRLEX_DROP));
}

TEST_F(ListExTest, CtrlClickIsHeardOnlyThroughTheSelectionChange)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    const POINT pt = RowPoint(2);
    m_list.PostMessage(WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(pt.x, pt.y));
    m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(pt.x, pt.y));
    zvtest::PumpPendingMessages();
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(LVIS_SELECTED, m_list.GetItemState(2, LVIS_SELECTED));
    // One from the item change, none from the click itself.
    EXPECT_EQ(1, m_parent.Count(WM_LISTCTRLEX_SELECTED));
}

TEST_F(ListExTest, KeyboardSelectionNotifiesToo)
{
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(1, m_parent.Count(WM_LISTCTRLEX_SELECTED));
    m_list.SetItemState(0, 0, LVIS_SELECTED);
    EXPECT_EQ(1, m_parent.Count(WM_LISTCTRLEX_SELECTED));
}

TEST_F(ListExTest, EscapeReachesTheParentWithoutADrag)
{
    m_list.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_EQ(1u, m_parent.m_sent.size());
    EXPECT_EQ((UINT)WM_LISTCTRLEX_ESCAPE, m_parent.m_sent[0].message);
    EXPECT_EQ(0u, m_parent.m_sent[0].wParam);
}

TEST_F(ListExTest, MouseMoveSendsDragMoveThenChildMove)
{
    m_list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(7, 9));
    ASSERT_EQ(2u, m_parent.m_sent.size());
    EXPECT_EQ((UINT)WM_LISTCTRLEX_DRAGMOVE, m_parent.m_sent[0].message);
    EXPECT_EQ((LPARAM)10001, m_parent.m_sent[0].lParam);
    EXPECT_EQ((UINT)WM_CHILDLIST_MOUSEMOVE, m_parent.m_sent[1].message);
    EXPECT_EQ((LPARAM)10001, m_parent.m_sent[1].lParam);
}

TEST_F(ListExTest, ColumnClickPassesTheHeader)
{
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = m_list.m_hWnd;
    nm.hdr.idFrom = 10001;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iSubItem = 1;
    m_parent.SendMessage(WM_NOTIFY, 10001, (LPARAM)&nm);
    ASSERT_EQ(1, m_parent.Count(WM_LISTCTRLEX_COLUMNCLICK));
    const auto& m = m_parent.m_sent.back();
    EXPECT_EQ((WPARAM)10001, m.wParam);
    EXPECT_EQ((HWND)m_list.SendMessage(LVM_GETHEADER), reinterpret_cast<CWnd*>(m.lParam)->m_hWnd);
}

TEST_F(ListExTest, LastColumnFillsTheList)
{
    m_list.AutoSizeLastColumn();
    RECT client{};
    m_list.GetClientRect(&client);
    EXPECT_EQ(client.right - 100, m_list.GetColumnWidth(1));
}

TEST(TreeEx, MouseMoveTellsTheParentWithNoArguments)
{
    RecordingWnd parent{0x0400, 0x8FFF};
    ASSERT_TRUE(parent.CreateTop(0, 0, 300, 300));
    CTreeCtrlEx tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &parent, 99));
    tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(1u, parent.m_sent.size());
    EXPECT_EQ((UINT)WM_CHILDLIST_MOUSEMOVE, parent.m_sent[0].message);
    EXPECT_EQ(0u, parent.m_sent[0].wParam);
    EXPECT_EQ(0, parent.m_sent[0].lParam);
}

}  // namespace
