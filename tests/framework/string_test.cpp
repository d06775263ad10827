#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "framework/CException.h"
#include "framework/CString.h"

namespace {

std::string S(const CString& s) { return s.Std(); }

TEST(CString, ConstructionAndLength)
{
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_EQ(CString(static_cast<const char*>(nullptr)).GetLength(), 0);
    EXPECT_EQ(S(CString("abc")), "abc");
    EXPECT_EQ(S(CString("abcdef", 3)), "abc");
    EXPECT_EQ(S(CString('x', 4)), "xxxx");
    EXPECT_EQ(S(CString('x', -1)), "");
    CString z("a\0b", 3);
    EXPECT_EQ(z.GetLength(), 3);
    EXPECT_EQ(z.GetAt(2), 'b');
    const char* p = z;
    EXPECT_EQ(p[0], 'a');
    EXPECT_THROW(z.GetAt(3), CInvalidArgException);
    EXPECT_THROW(z.GetAt(-1), CInvalidArgException);
    z.Empty();
    EXPECT_TRUE(z.IsEmpty());
    EXPECT_STREQ(z.GetString(), "");
}

TEST(CString, ExtractionClampsLikeTheClassicClass)
{
    const CString s("Hello");
    struct Case {
        CString got;
        const char* want;
    } cases[] = {
        {s.Mid(1), "ello"},
        {s.Mid(1, 3), "ell"},
        {s.Mid(-2, 2), "He"},
        {s.Mid(4, 10), "o"},
        {s.Mid(5), ""},
        {s.Mid(9, 1), ""},
        {s.Mid(2, -1), ""},
        {s.Left(2), "He"},
        {s.Left(-1), ""},
        {s.Left(99), "Hello"},
        {s.Right(3), "llo"},
        {s.Right(0), ""},
        {s.Right(99), "Hello"},
        {s.SpanIncluding("leH"), "Hell"},
        {s.SpanExcluding("lo"), "He"},
    };
    for (const auto& c : cases) EXPECT_EQ(S(c.got), c.want);
}

TEST(CString, Searching)
{
    const CString s("a.b.c");
    EXPECT_EQ(s.Find('.'), 1);
    EXPECT_EQ(s.Find('.', 2), 3);
    EXPECT_EQ(s.Find('.', 4), -1);
    EXPECT_EQ(s.Find('.', 99), -1);
    EXPECT_EQ(s.Find('.', -5), 1);
    EXPECT_EQ(s.Find("b.c"), 2);
    EXPECT_EQ(s.Find("x"), -1);
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(s.Find("c", 5), -1);
    EXPECT_EQ(s.Find("c", 6), -1);
    EXPECT_EQ(s.ReverseFind('.'), 3);
    EXPECT_EQ(s.ReverseFind('x'), -1);
    EXPECT_EQ(s.FindOneOf("cb"), 2);
    EXPECT_EQ(s.FindOneOf(""), -1);
}

TEST(CString, ReplaceRemoveInsertDelete)
{
    CString s("a--b--c");
    EXPECT_EQ(s.Replace("--", "+"), 2);
    EXPECT_EQ(S(s), "a+b+c");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace('+', '/'), 2);
    EXPECT_EQ(S(s), "a/b/c");
    EXPECT_EQ(s.Replace("/", ""), 2);
    EXPECT_EQ(S(s), "abc");
    CString t("aaa");
    EXPECT_EQ(t.Replace("a", "aa"), 3);  // no re-scan of inserted text
    EXPECT_EQ(S(t), "aaaaaa");
    EXPECT_EQ(t.Remove('a'), 6);
    EXPECT_TRUE(t.IsEmpty());
    CString u("ac");
    EXPECT_EQ(u.Insert(1, 'b'), 3);
    EXPECT_EQ(u.Insert(99, "d"), 4);
    EXPECT_EQ(u.Insert(-3, "_"), 5);
    EXPECT_EQ(S(u), "_abcd");
    EXPECT_EQ(u.Delete(0), 4);
    EXPECT_EQ(u.Delete(2, 99), 2);
    EXPECT_EQ(u.Delete(5, 1), 2);
    EXPECT_EQ(S(u), "ab");
}

TEST(CString, Trim)
{
    CString s(" \t x y \r\n");
    EXPECT_EQ(S(CString(s).TrimLeft()), "x y \r\n");
    EXPECT_EQ(S(CString(s).TrimRight()), " \t x y");
    EXPECT_EQ(S(s.Trim()), "x y");
    EXPECT_EQ(S(CString("--a--").Trim('-')), "a");
    EXPECT_EQ(S(CString("xyaxy").Trim("xy")), "a");
    EXPECT_EQ(S(CString("   ").Trim()), "");
    EXPECT_EQ(S(CString("ab").TrimRight("")), "ab");
}

TEST(CString, CaseAndComparison)
{
    EXPECT_EQ(S(CString("aBc1").MakeUpper()), "ABC1");
    EXPECT_EQ(S(CString("aBc1").MakeLower()), "abc1");
    EXPECT_EQ(S(CString("abc").MakeReverse()), "cba");
    EXPECT_EQ(CString("abc").Compare("abd"), -1);
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
    EXPECT_EQ(CString("b").Compare("abc"), 1);
    // Bytes compare unsigned: 0xE9 sorts after 'z'.
    EXPECT_GT(CString("\xE9").Compare("z"), 0);
    EXPECT_EQ(CString("Web Logins").CompareNoCase("WEB LOGINS"), 0);
    // Folding to lower case: '_' (0x5F) sorts before 'a' whatever the case.
    EXPECT_LT(CString("_x").CompareNoCase("Ax"), 0);
    EXPECT_GT(CString("b").CompareNoCase("A"), 0);
    EXPECT_TRUE(CString("a") == "a");
    EXPECT_TRUE("a" == CString("a"));
    EXPECT_TRUE(CString("a") != CString("b"));
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_TRUE(CString("a") < "b");
    EXPECT_TRUE("a" < CString("b"));
    EXPECT_TRUE(CString("b") > CString("a"));
    EXPECT_TRUE(CString("a") <= CString("a"));
    EXPECT_TRUE(CString("a") >= CString("a"));
    // Embedded zero bytes take part when both sides are strings.
    EXPECT_FALSE(CString("a\0b", 3) == CString("a"));
    std::unordered_set<CString> set{CString("x"), CString("y"), CString("x")};
    EXPECT_EQ(set.size(), 2u);
}

TEST(CString, Concatenation)
{
    CString a("ab");
    a += "cd";
    a += 'e';
    a += CString("f");
    EXPECT_EQ(S(a), "abcdef");
    EXPECT_EQ(S(CString("x") + "y"), "xy");
    EXPECT_EQ(S("x" + CString("y")), "xy");
    EXPECT_EQ(S(CString("x") + 'y'), "xy");
    EXPECT_EQ(S('x' + CString("y")), "xy");
    EXPECT_EQ(S(CString("x") + CString("y")), "xy");
    a.Append("ghi", 2);
    a.AppendChar('!');
    EXPECT_EQ(S(a), "abcdefgh!");
}

TEST(CString, TokenizeWalksTokensAndEnds)
{
    const CString s(";;a;bb;;c;");
    std::vector<std::string> got;
    int pos = 0;
    CString tok = s.Tokenize(";", pos);
    while (pos != -1) {
        got.push_back(S(tok));
        tok = s.Tokenize(";", pos);
    }
    EXPECT_EQ(got, (std::vector<std::string>{"a", "bb", "c"}));
    EXPECT_TRUE(tok.IsEmpty());

    pos = 0;
    EXPECT_EQ(S(CString("a,b").Tokenize(",", pos)), "a");
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(S(CString("a,b").Tokenize(",", pos)), "b");
    EXPECT_EQ(pos, 4);
    EXPECT_TRUE(CString("a,b").Tokenize(",", pos).IsEmpty());
    EXPECT_EQ(pos, -1);

    // Without delimiters the rest is one token, and the next call ends.
    pos = 1;
    EXPECT_EQ(S(CString("abc").Tokenize("", pos)), "bc");
    EXPECT_TRUE(CString("abc").Tokenize("", pos).IsEmpty());
    EXPECT_EQ(pos, -1);

    pos = -1;
    EXPECT_THROW(CString("a").Tokenize(",", pos), CInvalidArgException);
}

TEST(CString, Format)
{
    CString s;
    s.Format("%d-%s-%04X", -7, "x", 0xABu);
    EXPECT_EQ(S(s), "-7-x-00AB");
    s.AppendFormat("|%c", 'z');
    EXPECT_EQ(S(s), "-7-x-00AB|z");
    // Longer than any fixed first buffer.
    std::string big(1000, 'q');
    s.Format("<%s>", big.c_str());
    EXPECT_EQ(S(s), "<" + big + ">");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, Buffers)
{
    CString s("abc");
    char* p = s.GetBuffer(10);
    std::snprintf(p, 11, "%s", "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(S(s), "0123456789");
    p = s.GetBuffer(4);  // never shrinks
    p[2] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(S(s), "01");
    p = s.GetBufferSetLength(3);
    p[2] = 'x';
    s.ReleaseBuffer(3);
    EXPECT_EQ(S(s), std::string("01x"));
    EXPECT_THROW(s.ReleaseBuffer(4), CInvalidArgException);
    s.Truncate(1);
    EXPECT_EQ(S(s), "0");
    EXPECT_THROW(s.Truncate(2), CInvalidArgException);
}

TEST(CString, LoadStringUsesRegisteredEntries)
{
    CString s("old");
    EXPECT_FALSE(s.LoadString(64999));
    EXPECT_TRUE(s.IsEmpty());
    ZvRegisterString(64998, "Field 1");
    EXPECT_TRUE(s.LoadString(64998));
    EXPECT_EQ(S(s), "Field 1");
    ZvRegisterString(64997, "%d records in %s");
    s.Format(64997u, 3, "Notes");
    EXPECT_EQ(S(s), "3 records in Notes");
    s.Format(64999u, 3);
    EXPECT_TRUE(s.IsEmpty());
}

}  // namespace

#if defined(_WIN32)
namespace {
// Windows folds the letters of the ANSI code page (here the Western one,
// where 0xC9 and 0xE9 are the two cases of E acute).
TEST(CString, CaseFoldingFollowsTheAnsiCodePage)
{
    if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page " << GetACP();
    EXPECT_EQ(CString("\xC9t\xC9").CompareNoCase("\xE9T\xE9"), 0);
    EXPECT_EQ(S(CString("\xE9").MakeUpper()), "\xC9");
}
}  // namespace
#endif
