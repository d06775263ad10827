// The sortable list: orders of each kind of column both ways, the clicks
// that toggle them, the headings string, and hiding and showing columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ScriptedModal.h"
#include "tests/toolkit/ToolkitGuiSupport.h"
#include "toolkit/lists/SortListCtrl.h"

namespace {

using zvtest::RecordingWnd;

class SortListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateTop(0, 0, 600, 400));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 500, 300), &m_parent, 100));
    }
    std::vector<std::string> Column(int column)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < m_list.GetItemCount(); ++i) texts.push_back((const char*)m_list.GetItemText(i, column));
        return texts;
    }
    void ClickColumn(int column)
    {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = m_list.m_hWnd;
        nm.hdr.idFrom = 100;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = column;
        m_parent.SendMessage(WM_NOTIFY, 100, (LPARAM)&nm);
    }
    RecordingWnd m_parent;
    CSortListCtrl m_list;
};

TEST_F(SortListTest, OrdersOfEachKindBothWays)
{
    ASSERT_TRUE(m_list.SetHeadings("Text,80;Date,170;Number,60;Version,80"));
    m_list.AddItem("beta", "2009-03-05 10:00:00 +0000", "10", "1.10.0.0");
    m_list.AddItem("Alpha", "2010-01-01 00:00:00 +0000", "9", "1.9.0.0");
    m_list.AddItem("gamma", "2009-03-05 09:59:59 +0000", "100", "1.2.0.0");
    struct Case {
        int column;
        BOOL ascending;
        std::vector<std::string> expected;
    } cases[] = {
        // Text in the locale's order (case does not come first).
        {0, TRUE, {"Alpha", "beta", "gamma"}},
        {0, FALSE, {"gamma", "beta", "Alpha"}},
        // Time stamps by time.
        {1, TRUE, {"2009-03-05 09:59:59 +0000", "2009-03-05 10:00:00 +0000", "2010-01-01 00:00:00 +0000"}},
        {1, FALSE, {"2010-01-01 00:00:00 +0000", "2009-03-05 10:00:00 +0000", "2009-03-05 09:59:59 +0000"}},
        // Numbers and versions are texts to this list.
        {2, TRUE, {"10", "100", "9"}},
        {2, FALSE, {"9", "100", "10"}},
        {3, TRUE, {"1.10.0.0", "1.2.0.0", "1.9.0.0"}},
        {3, FALSE, {"1.9.0.0", "1.2.0.0", "1.10.0.0"}},
    };
    for (const Case& c : cases) {
        m_list.Sort(c.column, c.ascending);
        EXPECT_EQ(c.expected, Column(c.column)) << "column " << c.column << (c.ascending ? " up" : " down");
    }
    // The rows keep their cells together.
    m_list.Sort(1, TRUE);
    EXPECT_EQ((std::vector<std::string>{"gamma", "beta", "Alpha"}), Column(0));
}

TEST_F(SortListTest, MixedColumnSortsTheSameWhateverTheStartingOrder)
{
    ASSERT_TRUE(m_list.SetHeadings("When,170"));
    const char* texts[] = {"2009-03-05 10:00:00 +0000", "Zebra", "2008-01-01 00:00:00 +0000", "Apple"};
    std::vector<std::string> first;
    for (int start = 0; start < 4; ++start) {
        m_list.DeleteAllItems();
        for (int i = 0; i < 4; ++i) m_list.AddItem(texts[(start + i) % 4]);
        m_list.Sort(0, TRUE);
        if (start == 0)
            first = Column(0);
        else
            EXPECT_EQ(first, Column(0)) << "starting at " << start;
    }
}

TEST_F(SortListTest, ClicksToggleTheOrderAndAnotherColumnStartsAscending)
{
    ASSERT_TRUE(m_list.SetHeadings("A,50;B,50"));
    m_list.AddItem("b", "x");
    m_list.AddItem("a", "y");
    const BOOL expected[] = {TRUE, FALSE, TRUE};
    for (BOOL ascending : expected) {
        ClickColumn(0);
        EXPECT_EQ(0, m_list.GetSortColumn());
        EXPECT_EQ(ascending, m_list.IsAscending());
    }
    ClickColumn(0);  // now descending
    ClickColumn(1);
    EXPECT_EQ(1, m_list.GetSortColumn());
    EXPECT_TRUE(m_list.IsAscending());
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    m_list.GetSortHeader().GetItem(1, &item);
    EXPECT_EQ(HDF_SORTUP, item.fmt & (HDF_SORTUP | HDF_SORTDOWN));
    m_list.GetSortHeader().GetItem(0, &item);
    EXPECT_EQ(0, item.fmt & (HDF_SORTUP | HDF_SORTDOWN));
}

TEST_F(SortListTest, HeadingsMakeColumnsOfTheirWidths)
{
    EXPECT_TRUE(m_list.SetHeadings("A,10;B,20"));
    EXPECT_EQ(2, m_list.GetColumnCount());
    EXPECT_EQ(10, m_list.GetColumnWidth(0));
    EXPECT_EQ(20, m_list.GetColumnWidth(1));
    EXPECT_EQ(2, m_list.GetSortHeader().VisibleColumnCount());
}

TEST_F(SortListTest, ShownColumnComesBackWithItsWidthAndPlace)
{
    ASSERT_TRUE(m_list.SetHeadings("A,40;B,50;C,60;D,70"));
    CSortHeaderCtrl& header = m_list.GetSortHeader();
    header.ShowColumn(1, FALSE);
    EXPECT_FALSE(header.IsColumnVisible(1));
    EXPECT_EQ(0, m_list.GetColumnWidth(1));
    int order[4] = {};
    header.SendMessage(HDM_GETORDERARRAY, 4, (LPARAM)order);
    EXPECT_EQ(1, order[3]);  // hidden columns at the back
    m_list.SetColumnWidth(1, 0);
    header.ShowColumn(1, TRUE);
    EXPECT_EQ(50, m_list.GetColumnWidth(1));
    header.SendMessage(HDM_GETORDERARRAY, 4, (LPARAM)order);
    EXPECT_EQ(1, order[1]);  // min(visible - 1, 1)
    EXPECT_EQ(4, header.VisibleColumnCount());
}

}  // namespace
