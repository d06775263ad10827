#include <gtest/gtest.h>

#include "core/values/TextSearch.h"

namespace {

struct FindCase {
    const char* text;
    const char* pattern;
    bool matchCase;
    bool wholeWord;
    bool found;
};

TEST(FindTextInString, CaseAndWholeWordRules)
{
    const FindCase cases[] = {
        // inside a longer word
        {"my password here", "pass", false, false, true},
        {"my password here", "pass", false, true, false},
        // a later occurrence that stands alone still counts
        {"password pass", "pass", false, true, true},
        {"passport pass here", "pass", false, true, true},
        {"xpass\tpass\r\nend", "pass", false, true, true},
        {"pass", "pass", false, true, true},
        {"pass,", "pass", false, true, false},
        {"bypass passes", "pass", false, true, false},
        // case
        {"secret pin", "PIN", false, false, true},
        {"secret pin", "PIN", true, false, false},
        {"Secret PIN", "pin", false, true, true},
        {"Secret PIN", "PIN", true, true, true},
        {"Secret PIN", "Pin", true, false, false},
        // boundaries
        {"", "a", false, false, false},
        {"abc", "abcd", false, false, false},
        {"aa aaa", "aa", false, true, true},
        {"aaa aa", "aa", false, true, true},
        {"aaaa", "aa", false, true, false},
        {"line\none", "one", false, true, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindTextInString(c.text, c.pattern, c.matchCase, c.wholeWord), c.found)
            << '"' << c.text << "\" / \"" << c.pattern << "\" case=" << c.matchCase << " word=" << c.wholeWord;
}

TEST(CopyTextRun, TakesOneRunOfSpaceOrNonSpace)
{
    const char* text = "ab  \t\r\ncd e";
    CString run = ">";
    const char* p = CopyTextRun(text, run);
    EXPECT_EQ(run, ">ab");
    EXPECT_EQ(p, text + 2);
    p = CopyTextRun(p, run);
    EXPECT_EQ(run, ">ab  \t\r\n");
    EXPECT_EQ(p, text + 7);
    p = CopyTextRun(p, run);
    EXPECT_EQ(p, text + 9);
    p = CopyTextRun(p, run);
    p = CopyTextRun(p, run);
    EXPECT_EQ(run, CString(">") + text);
    EXPECT_EQ(*p, '\0');
    EXPECT_EQ(CopyTextRun(p, run), p);
}

TEST(LineBreaks, FlattenAndCount)
{
    const struct {
        const char* text;
        const char* flat;
        int crs;
    } cases[] = {
        {"a\r\nb", "a b", 1}, {"a\nb", "ab", 0}, {"a\rb\r\r\n", "a b  ", 3}, {"", "", 0}, {"plain", "plain", 0},
    };
    for (const auto& c : cases) {
        CString t = c.text;
        EXPECT_EQ(CountCarriageReturns(t), c.crs) << c.text;
        EXPECT_EQ(FlattenLineBreaks(t), c.crs) << c.text;
        EXPECT_EQ(t, CString(c.flat)) << c.text;
    }
}

}  // namespace
