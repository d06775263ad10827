// The "Recent Searches" popup's entries over the user's search history.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/search/RecentSearchMenu.h"

namespace {

void FillHistory(CStringArray& texts, int count)
{
    for (int i = 1; i <= count; ++i) {
        CString text;
        text.Format("search %d", i);
        texts.Add(text);
    }
}

std::string Describe(const RecentSearchMenu& menu)
{
    std::string text;
    for (const RecentSearchEntry& e : menu.Entries()) text += std::to_string(e.id) + "=" + std::string(e.text) + ";";
    return text;
}

TEST(RecentSearchMenu, ListsTheNewestFirstFrom8000)
{
    CStringArray history;
    history.Add("bank");
    history.Add("mail");
    history.Add("shop");
    EXPECT_EQ("8000=shop;8001=mail;8002=bank;", Describe(RecentSearchMenu(history)));
    const CStringArray none;
    EXPECT_EQ("", Describe(RecentSearchMenu(none)));
}

TEST(RecentSearchMenu, StopsAtTheEndOfItsIdRange)
{
    CStringArray ten, fourteen;
    FillHistory(ten, 10);
    FillHistory(fourteen, 14);
    const RecentSearchMenu full(ten);
    ASSERT_EQ(10u, full.Entries().size());
    EXPECT_EQ(8009u, full.Entries().back().id);
    EXPECT_EQ("search 1", std::string(full.Entries().back().text));

    // A longer history than the popup's ids: the eleven newest, up to 8010.
    const RecentSearchMenu longer(fourteen);
    ASSERT_EQ(11u, longer.Entries().size());
    EXPECT_EQ(8000u, longer.Entries().front().id);
    EXPECT_EQ("search 14", std::string(longer.Entries().front().text));
    EXPECT_EQ(8010u, longer.Entries().back().id);
    EXPECT_EQ("search 4", std::string(longer.Entries().back().text));
}

TEST(RecentSearchMenu, TextOfAnIdCountsFromTheNewest)
{
    CStringArray three;
    FillHistory(three, 3);
    const RecentSearchMenu menu(three);
    const struct {
        unsigned id;
        bool found;
        const char* text;
    } cases[] = {
        {8000, true, "search 3"}, {8002, true, "search 1"}, {8003, false, ""},
        {8010, false, ""},        {7999, false, ""},        {0, false, ""},
    };
    for (const auto& c : cases) {
        CString text = "";
        EXPECT_EQ(c.found, menu.TextOf(c.id, text)) << c.id;
        EXPECT_EQ(std::string(c.text), std::string(text)) << c.id;
    }
}

}  // namespace
