// Word completion of the search box: filtering, the row cap, stepping and
// the word the caret stands in.
#include <gtest/gtest.h>

#include "toolkit/editors/AutoCompleteWords.h"

namespace {

void Fill(CAutoCompleteWords& target, std::initializer_list<const char*> list)
{
    CStringArray words;
    for (const char* w : list) words.Add(w);
    target.SetWords(words);
}

TEST(AutoComplete, FilterKeepsWordsBeginningWithTheTextInAnyCase)
{
    CAutoCompleteWords words;
    Fill(words, {"ABD", "xab", "abc", "Zed"});
    EXPECT_EQ(2, words.Filter("ab"));
    EXPECT_STREQ("abc", words.GetShown()[0]);
    EXPECT_STREQ("ABD", words.GetShown()[1]);
    EXPECT_EQ(0, words.Filter("b"));
    EXPECT_EQ(0, words.Filter(""));
    EXPECT_EQ(4, words.ShowAll());
    EXPECT_STREQ("abc", words.GetShown()[0]);
    EXPECT_STREQ("Zed", words.GetShown()[3]);
}

TEST(AutoComplete, PrefixCharacterIsPartOfEveryWord)
{
    CAutoCompleteWords words;
    Fill(words, {"abc", "bcd"});
    EXPECT_EQ(1, words.Filter("@a", '@'));
    EXPECT_EQ(0, words.Filter("a", '@'));
}

TEST(AutoComplete, RowsAreCappedAtEight)
{
    EXPECT_EQ(0, CAutoCompleteWords::VisibleRows(0));
    EXPECT_EQ(3, CAutoCompleteWords::VisibleRows(3));
    EXPECT_EQ(8, CAutoCompleteWords::VisibleRows(8));
    EXPECT_EQ(8, CAutoCompleteWords::VisibleRows(20));
}

TEST(AutoComplete, SelectionChangesClearWhenTheCountChanges)
{
    CAutoCompleteWords words;
    Fill(words, {"aa", "ab", "ba"});
    words.Filter("a");
    words.SetSelection(1);
    words.Filter("a");
    EXPECT_EQ(1, words.GetSelection());  // same count: kept
    words.Filter("ab");
    EXPECT_EQ(-1, words.GetSelection());
}

TEST(AutoComplete, SteppingWrapsAndPages)
{
    CAutoCompleteWords words;
    Fill(words, {"a1", "a2", "a3", "a4", "a5"});
    words.Filter("a");
    const unsigned kUp = 0x26, kDown = 0x28, kHome = 0x24, kEnd = 0x23, kPrior = 0x21, kNext = 0x22;
    EXPECT_STREQ("a5", words.StepSelection(kUp, 2));    // no selection: Up wraps to the last row
    EXPECT_STREQ("a1", words.StepSelection(kDown, 2));  // Down on the last row wraps to the first
    EXPECT_STREQ("a3", words.StepSelection(kNext, 2));
    EXPECT_STREQ("a5", words.StepSelection(kNext, 4));  // at most the last row
    EXPECT_STREQ("a1", words.StepSelection(kPrior, 10));
    EXPECT_STREQ("a5", words.StepSelection(kEnd, 2));
    EXPECT_STREQ("a1", words.StepSelection(kHome, 2));
    EXPECT_STREQ("a2", words.StepSelection(kDown, 0));  // a page of 0 rows steps by one
    words.Filter("zz");
    EXPECT_STREQ("", words.StepSelection(kDown, 2));
}

TEST(AutoComplete, FirstRowFollowsTheSelection)
{
    CAutoCompleteWords words;
    Fill(words, {"a1", "a2", "a3", "a4", "a5", "a6"});
    words.Filter("a");
    EXPECT_EQ(0, words.FirstRowToShow(2, 3));
    EXPECT_EQ(2, words.FirstRowToShow(4, 3));
    EXPECT_EQ(3, words.FirstRowToShow(5, 3));
    words.SetFirstRow(3);
    EXPECT_EQ(1, words.FirstRowToShow(1, 3));
}

TEST(AutoComplete, WordAtCaretIsTheBackslashSeparatedPart)
{
    struct Case {
        const char* text;
        int caret;
        int start;
        int end;
    } cases[] = {
        {"abc", 3, 0, 3},    {"ab\\cd", 5, 3, 5}, {"ab\\cd", 1, 0, 2}, {"ab\\cd", 3, 3, 5},
        {"ab\\cd", 9, 3, 5}, {"", 0, 0, 0},       {"a", 5, 0, 1},      {"\\", 1, 1, 1},
    };
    for (const Case& c : cases) {
        int start = -1, end = -1;
        FindWordAtCaret(c.text, c.caret, "\\", 0, start, end);
        EXPECT_EQ(c.start, start) << c.text << " at " << c.caret;
        EXPECT_EQ(c.end, end) << c.text << " at " << c.caret;
    }
}

}  // namespace
