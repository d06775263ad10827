// The type-ahead prefix, its pause rule and its case-blind match.
#include <gtest/gtest.h>

#include "toolkit/lists/TypeAhead.h"

namespace {

TEST(TypeAhead, QuickCharactersGrowThePrefixAndAPauseStartsAgain)
{
    CTypeAhead typed;
    const uint32_t dbl = 500;
    EXPECT_STREQ("a", typed.Type('a', 10000, dbl));
    EXPECT_STREQ("ab", typed.Type('b', 10000 + 1000, dbl));  // exactly twice: kept
    EXPECT_STREQ("b", typed.Type('b', 10000 + 1000 + 1001, dbl));
    // Across a wrap of the tick counter.
    CTypeAhead wrapped;
    wrapped.Type('x', 0xFFFFFF00u, dbl);
    EXPECT_STREQ("xy", wrapped.Type('y', 0x00000010u, dbl));
}

TEST(TypeAhead, MatchIgnoresCaseAndNeedsText)
{
    struct Case {
        const char* text;
        const char* prefix;
        bool match;
    } cases[] = {{"Abc", "ab", true}, {"abc", "AB", true},  {"ab", "abc", false},
                 {"", "", false},     {"xab", "ab", false}, {"a", "", true}};
    for (const Case& c : cases) EXPECT_EQ(c.match, CTypeAhead::Matches(c.text, c.prefix)) << c.text << "/" << c.prefix;
}

TEST(TypeAhead, OnePrefixForTheProcessThatTestsCanReplace)
{
    auto fresh = std::make_shared<CTypeAhead>();
    auto old = CTypeAhead::ReplaceInstance(fresh);
    EXPECT_EQ(fresh, CTypeAhead::GetInstance());
    CTypeAhead::ReplaceInstance(old);
}

}  // namespace
