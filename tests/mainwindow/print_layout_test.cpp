// The printed report's layout: list cells, wrapping, records, and how the
// strip is cut into pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mainwindow/printing/PrintLayout.h"

namespace {

// Every character 10 units wide.
PrintMeasure FixedMeasure()
{
    return {[](const CString& text) { return text.GetLength() * 10; },
            [](const CString& text, int width) { return std::min(text.GetLength(), (width - 1) / 10); }};
}

// A4 at 300 dpi, as the PDF queue reports it.
PrintMetrics A4()
{
    PrintMetrics m;
    m.pageWidth = 2479;
    m.pageHeight = 3508;
    m.margin = 100;
    m.lineHeight = 50;
    m.textHeight = 40;
    return m;
}

std::vector<const PrintItem*> TextsOf(const CPrintLayout& layout, const std::string& text)
{
    std::vector<const PrintItem*> found;
    for (const PrintItem& item : layout.Items())
        if (std::string(item.text) == text) found.push_back(&item);
    return found;
}

// The band page n shows, in strip units.
int BandTop(int page) { return (page - 1) * 3508 - 100; }

TEST(PrintLayout, PageOriginMovesTheStripToEachPagesBand)
{
    EXPECT_EQ(100, CPrintLayout::PageOriginY(1, 3508));
    EXPECT_EQ(-3408, CPrintLayout::PageOriginY(2, 3508));
    EXPECT_EQ(-6916, CPrintLayout::PageOriginY(3, 3508));
}

TEST(PrintLayout, ListColumnWidthSharesThePageAndSurvivesOneColumn)
{
    CPrintLayout layout(A4(), FixedMeasure());
    const struct {
        int visible;
        int width;
    } cases[] = {
        {5, (2479 - 200) / 4 - 20}, {3, (2479 - 200) / 2 - 20},
        {2, 2479 - 200 - 20},       {1, 2479 - 200 - 20},  // the formula would divide by zero
        {0, 2479 - 200 - 20},
    };
    for (const auto& c : cases) EXPECT_EQ(c.width, layout.ListColumnWidth(c.visible)) << c.visible;

    CPrintLayout one(A4(), FixedMeasure());
    one.AddList(1, {}, {{{3, "Alone"}}});
    ASSERT_EQ(1u, TextsOf(one, "Alone").size());
    EXPECT_EQ(100, TextsOf(one, "Alone")[0]->left);
    EXPECT_EQ(250, TextsOf(one, "Alone")[0]->top);
}

TEST(PrintLayout, HeadingWithItsRuleOnThePageOne)
{
    CPrintLayout layout(A4(), FixedMeasure());
    layout.AddHeading("Zorvikan Print Report for Ann");
    ASSERT_EQ(2u, layout.Items().size());
    const PrintItem& title = layout.Items()[0];
    EXPECT_EQ(PrintItem::Text, title.kind);
    EXPECT_EQ(100, title.left);
    EXPECT_EQ(100, title.top);
    const PrintItem& rule = layout.Items()[1];
    EXPECT_EQ(PrintItem::Rule, rule.kind);
    EXPECT_EQ(100, rule.left);
    EXPECT_EQ(2379, rule.right);
    EXPECT_EQ(100 + 75, rule.top);
    EXPECT_EQ(1, layout.PageCount());
}

TEST(PrintLayout, CellsSitSideBySideAndNotesReachTheRightMargin)
{
    CPrintLayout layout(A4(), FixedMeasure());
    const int w = layout.ListColumnWidth(4);
    layout.AddList(4, {}, {{{1, "Bank"}, {3, "Savings"}, {13, "note"}}});
    const PrintItem* type = TextsOf(layout, "Bank").at(0);
    const PrintItem* field = TextsOf(layout, "Savings").at(0);
    const PrintItem* notes = TextsOf(layout, "note").at(0);
    EXPECT_EQ(100, type->left);
    EXPECT_EQ(100 + w, type->right);
    EXPECT_EQ(100 + w + 40, field->left);
    EXPECT_EQ(100 + 2 * (w + 40), notes->left);
    EXPECT_EQ(2379, notes->right);
    for (const PrintItem* item : {type, field, notes}) EXPECT_EQ(250, item->top);
}

TEST(PrintLayout, ARowStartsBelowThePreviousRowsLowestCell)
{
    CPrintLayout layout(A4(), FixedMeasure());
    const int w = layout.ListColumnWidth(3);  // 1119: 111 characters a line
    const std::string longText = std::string(100, 'a') + " " + std::string(100, 'b') + " " + std::string(50, 'c');
    layout.AddList(3, {}, {{{3, "short"}, {4, longText.c_str()}}, {{3, "next"}, {4, ""}}});
    ASSERT_GT(w, 0);
    EXPECT_EQ(250, TextsOf(layout, std::string(100, 'a')).at(0)->top);
    EXPECT_EQ(290, TextsOf(layout, std::string(100, 'b')).at(0)->top);
    EXPECT_EQ(330, TextsOf(layout, std::string(50, 'c')).at(0)->top);
    EXPECT_EQ(370, TextsOf(layout, "next").at(0)->top);
}

TEST(PrintLayout, ALongListRunsOverPagesWithNoLineCutAtABandsEnd)
{
    CPrintLayout layout(A4(), FixedMeasure());
    std::vector<std::vector<PrintCell>> rows;
    for (int i = 0; i < 200; ++i) rows.push_back({{3, CString(("Row" + std::to_string(i)).c_str())}});
    layout.AddHeading("Heading");
    layout.AddList(2, {}, rows);
    // 200 lines of 40 below 250: page 1 holds (3408 - 250) / 40 = 78 rows,
    // each further page 3508 / 40 = 87.
    EXPECT_EQ(3, layout.PageCount());
    for (int i = 0; i < 200; ++i) {
        const auto found = TextsOf(layout, "Row" + std::to_string(i));
        ASSERT_EQ(1u, found.size()) << i;
        const PrintItem& item = *found[0];
        const int expectedPage = i < 78 ? 1 : i < 78 + 87 ? 2 : 3;
        EXPECT_EQ(expectedPage, item.page) << i;
        EXPECT_GE(item.top, BandTop(item.page)) << i;
        EXPECT_LE(item.bottom, BandTop(item.page + 1)) << i;
    }
    EXPECT_EQ(BandTop(2), TextsOf(layout, "Row78").at(0)->top);
    EXPECT_EQ(1, TextsOf(layout, "Heading").at(0)->page);
}

TEST(PrintLayout, ColumnHeadingsHeadEveryPageAndCellsKeepTheirWordsWhole)
{
    CPrintLayout layout(A4(), FixedMeasure());
    const int w = layout.ListColumnWidth(15);  // 142: 14 characters a line
    std::vector<std::vector<PrintCell>> rows;
    rows.push_back({{1, "Savings Accounts"}, {3, "Correspondence Verylongpasswordword"}, {13, "n"}});
    for (int i = 1; i < 200; ++i) rows.push_back({{1, CString(("Row" + std::to_string(i)).c_str())}});
    layout.AddHeading("Heading");
    layout.AddList(15, {{1, "Type"}, {3, "Field 1"}, {13, "Note"}}, rows);

    // Headings at 5 lines on page 1, a rule under them, rows a line and a
    // half lower.
    const auto types = TextsOf(layout, "Type");
    ASSERT_EQ(3u, types.size());
    EXPECT_EQ(250, types[0]->top);
    EXPECT_EQ(PrintItem::EllipsisText, types[0]->kind);
    EXPECT_EQ(100 + w, types[0]->right);
    EXPECT_EQ(2379, TextsOf(layout, "Note").at(0)->right);
    EXPECT_EQ(325, TextsOf(layout, "Savings").at(0)->top);
    EXPECT_EQ(100, TextsOf(layout, "Accounts").at(0)->left);
    EXPECT_EQ(365, TextsOf(layout, "Accounts").at(0)->top);
    // A word wider than its cell is one line with an ellipsis, not cut.
    const PrintItem* word = TextsOf(layout, "Correspondence").at(0);
    EXPECT_EQ(PrintItem::Text, word->kind);
    EXPECT_EQ(325, word->top);
    const PrintItem* wide = TextsOf(layout, "Verylongpasswordword").at(0);
    EXPECT_EQ(PrintItem::EllipsisText, wide->kind);
    EXPECT_EQ(100 + w + 40, wide->left);
    EXPECT_EQ(100 + 2 * w + 40, wide->right);
    EXPECT_EQ(365, wide->top);
    // Every later page starts with the headings and their rule; its rows
    // below them.
    EXPECT_EQ(3, layout.PageCount());
    for (int page = 2; page <= 3; ++page) {
        EXPECT_EQ(page, types[page - 1]->page);
        EXPECT_EQ(BandTop(page), types[page - 1]->top);
        bool rule = false;
        for (const PrintItem& item : layout.Items())
            rule = rule || (item.kind == PrintItem::Rule && item.top == BandTop(page) + 62 && item.page == page);
        EXPECT_TRUE(rule) << page;
    }
    for (int i = 1; i < 200; ++i) {
        const PrintItem& item = *TextsOf(layout, "Row" + std::to_string(i)).at(0);
        EXPECT_GE(item.top, BandTop(item.page) + (item.page > 1 ? 75 : 0)) << i;
        EXPECT_LE(item.bottom, BandTop(item.page + 1)) << i;
    }
}

TEST(PrintLayout, RecordRowsFollowTheGreyBandAndNotesContinueOnTheNextPage)
{
    CPrintLayout layout(A4(), FixedMeasure());
    std::string notes;
    for (int i = 0; i < 120; ++i) notes += "line" + std::to_string(i) + "\r\n";
    layout.AddRecord("My Bank", {{"Category:", "Finance"}, {"Username:", "ann"}}, 90, "Note:", notes.c_str());

    const PrintItem& band = layout.Items().at(0);
    EXPECT_EQ(PrintItem::GreyBand, band.kind);
    EXPECT_EQ(250, band.top);
    EXPECT_EQ(350, band.bottom);
    const PrintItem& icon = layout.Items().at(1);
    EXPECT_EQ(PrintItem::Icon, icon.kind);
    EXPECT_EQ(-50, icon.left);
    EXPECT_EQ(51, icon.top);
    const PrintItem* title = TextsOf(layout, "My Bank").at(0);
    EXPECT_EQ(PrintItem::EllipsisText, title->kind);
    EXPECT_EQ(400, title->left);
    EXPECT_EQ(250, title->top);

    const PrintItem* category = TextsOf(layout, "Finance").at(0);
    EXPECT_EQ(350, category->top);
    EXPECT_EQ(193, category->left);
    EXPECT_EQ(190, TextsOf(layout, "Category:").at(0)->right);
    EXPECT_EQ(400, TextsOf(layout, "ann").at(0)->top);
    EXPECT_EQ(450, TextsOf(layout, "Note:").at(0)->top);
    EXPECT_EQ(500, TextsOf(layout, "line0").at(0)->top);
    // Lines of 40 from 500: line 72 would cross page 1's end at 3408.
    EXPECT_EQ(1, TextsOf(layout, "line71").at(0)->page);
    EXPECT_EQ(2, TextsOf(layout, "line72").at(0)->page);
    EXPECT_EQ(BandTop(2), TextsOf(layout, "line72").at(0)->top);
    EXPECT_EQ(2, layout.PageCount());
}

TEST(PrintLayout, ARecordWithoutNotesHasNoNoteLabel)
{
    CPrintLayout layout(A4(), FixedMeasure());
    layout.AddRecord("Card", {{"Category:", "Unfiled"}}, 90, "Note:", "");
    EXPECT_TRUE(TextsOf(layout, "Note:").empty());
    EXPECT_EQ(1, layout.PageCount());
}

}  // namespace
