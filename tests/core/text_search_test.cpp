#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/values/TextSearch.h"

namespace {

// The search as it was first written: both texts copied and lower-cased
// whole, then searched as standard strings. The table-folded search must
// find exactly what this finds.
bool FindByLowerCopies(const CString& text, const CString& pattern, bool matchCase, bool wholeWord)
{
    CString t = text, p = pattern;
    if (!matchCase) {
        t.MakeLower();
        p.MakeLower();
    }
    const std::string hay(t.GetString(), (size_t)t.GetLength()), needle(p.GetString(), (size_t)p.GetLength());
    size_t at = hay.find(needle);
    if (!wholeWord) return at != std::string::npos;
    while (at != std::string::npos) {
        const size_t end = at + needle.size();
        const bool startOk = at == 0 || IsTextWhiteSpace(hay[at - 1]);
        const bool endOk = end >= hay.size() || IsTextWhiteSpace(hay[end]);
        if (startOk && endOk) return true;
        if (at + 1 > hay.size()) break;
        at = hay.find(needle, at + 1);
    }
    return false;
}

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

TEST(FindTextInString, FindsWhatLowerCasedCopiesFind)
{
    // Letters of both cases (ASCII and code-page ones), the white space the
    // whole-word rule knows, a zero byte and bytes that fold to nothing.
    const char letters[] = "aAbBzZ \t\r\n\0\xC0\xE0\xC9\xE9\xDF\xFF\x8A\x9A.";
    const std::string alphabet(letters, sizeof letters - 1);
    std::mt19937 random(4711);
    auto make = [&](size_t length) {
        std::string s;
        for (size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        return CString(s.data(), (int)s.size());
    };
    int found = 0, cases = 0;
    for (int i = 0; i < 20000; ++i) {
        const CString text = make(random() % 12), pattern = make(random() % 4);
        for (int options = 0; options < 4; ++options) {
            const bool matchCase = options & 1, wholeWord = options & 2;
            const bool expected = FindByLowerCopies(text, pattern, matchCase, wholeWord);
            ASSERT_EQ(FindTextInString(text, pattern, matchCase, wholeWord), expected)
                << "case=" << matchCase << " word=" << wholeWord << " text length " << text.GetLength()
                << " pattern length " << pattern.GetLength();
            found += expected;
            ++cases;
        }
    }
    // Both outcomes well represented, so the comparison means something.
    EXPECT_GT(found, cases / 10);
    EXPECT_LT(found, cases - cases / 10);
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
