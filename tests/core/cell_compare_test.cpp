// Cell comparison with the locale settings pinned: dates, versions, numbers
// and text, and a sort that survives the comparison's mixed cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/values/CellCompare.h"
#include "core/values/TolerantSort.h"

namespace {

class CellCompare : public ::testing::Test {
protected:
    void SetUp() override { SetLocaleFormats('.', '/', kDateOrderMonthDayYear); }
    void TearDown() override { SetLocaleFormats(0, 0, 0); }
};

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

struct Ordered {
    const char* a;
    const char* b;
    int sign;  // of CompareSortText(a, b)
    bool ignoreCase;
};

void ExpectOrder(const Ordered& c)
{
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b + (c.ignoreCase ? " (ignore case)" : ""));
    EXPECT_EQ(Sign(CompareSortText(c.a, c.b, c.ignoreCase)), c.sign);
    EXPECT_EQ(Sign(CompareSortText(c.b, c.a, c.ignoreCase)), -c.sign);
}

TEST_F(CellCompare, OrderingMonthDayYear)
{
    const Ordered cases[] = {
        // Dates
        {"1/2/2009", "1/10/2009", -1, false},
        {"12/31/2008", "1/1/2009", -1, false},
        {"2/1/2009", "1/31/2009", 1, false},
        {"3/5/2009", "03/05/2009", 0, false},
        {"12/31/39", "1/1/2000", 1, false},   // 2039
        {"12/31/40", "1/1/2000", -1, false},  // 1940
        {"12/31/40", "1/1/1941", -1, false},
        {"1/1/99", "1/1/1999", 0, false},
        {"1/1/100", "1/1/99", -1, false},  // year 100 stays 100
        // One separator: a year above 99 on either side, else month/day.
        {"3/2009", "2/2009", 1, false},
        {"2009/3", "3/2009", 0, false},
        {"3/5", "3/4", 1, false},
        {"3/5", "4/1", -1, false},
        // Plain integers are dates with no separator: years.
        {"10", "9", 1, false},
        {"2009", "1/1/2009", -1, false},  // same year, month 0 before 1
        {"5", "", 1, false},              // an empty cell is year 0
        // No dates: month 13, day 32, three separators
        {"13/1/2009", "12/1/2009", 1, false},  // as numbers 13... and 12...
        {"13/1/2009", "5", 1, false},
        {"1/32/2009", "1/4/2009", -1, false},  // numbers: 1 with the tails "/32/2009" and "/4/2009"
        // Versions
        {"1.2.3.4", "1.2.3.10", -1, false},
        {"1.2.3.4", "1.2.3.4", 0, false},
        {"2.0.0.0", "1.255.255.255", 1, false},
        {"10.0.0.1", "9.9.9.9", 1, false},
        // Numbers
        {"-5", "3", -1, false},
        {"2.5", "10", -1, false},
        {"1.2.3", "1.2", 1, false},  // no version: 1.2 with the tail ".3"
        {".5", "0.4", 1, false},
        {"-.5", "1", -1, false},  // one skip only: not a number, so text
        {"10a", "10b", -1, false},
        {"12 kg", "12 lb", -1, false},
        {"10A", "10a", -1, false},
        {"10A", "10a", 0, true},
        {"3.14", "3.14", 0, false},
        {"-1.5", "-1.25", -1, false},
        // Text
        {"Apple", "apple", 0, true},
        {"Apple", "apple", -1, false},
        {"apple", "banana", -1, false},
        {"Zebra", "apple", -1, false},
        {"Zebra", "apple", 1, true},
        {"abc", "abcd", -1, false},
        {"", "abc", -1, false},
        {"_x", "Ax", -1, true},          // A folds to a (0x61) after '_' (0x5F)
        {"\xe9t\xe9", "zoo", 1, false},  // bytes compare unsigned
    };
    for (const Ordered& c : cases) ExpectOrder(c);
}

TEST_F(CellCompare, DayMonthYearAndYearMonthDay)
{
    SetLocaleFormats(',', '.', kDateOrderDayMonthYear);
    for (const Ordered& c : std::initializer_list<Ordered>{
             {"2.1.2009", "10.1.2009", -1, false},  // 2 January before 10 January
             {"1.2.2009", "31.1.2009", 1, false},   // 1 February after 31 January
             {"5.3", "4.3", 1, false},              // day 5 of March
             {"1.2.3.4", "1.2.3.10", -1, false},    // three separators: a version
             {"2,5", "10", -1, false},              // decimal comma
             {"-2,5", "-2,25", -1, false},
         })
        ExpectOrder(c);

    SetLocaleFormats('.', '-', kDateOrderYearMonthDay);
    for (const Ordered& c : std::initializer_list<Ordered>{
             {"2009-03-05", "2009-03-10", -1, false},
             {"2009-12-01", "2010-01-01", -1, false},
             {"39-1-1", "1999-1-1", 1, false},  // 2039
         })
        ExpectOrder(c);

    // Any other order counts as month-day-year.
    SetLocaleFormats('.', '/', 7);
    ExpectOrder({"1/2/2009", "2/1/2009", -1, false});
}

TEST_F(CellCompare, ParseCellDate)
{
    struct Case {
        const char* text;
        bool isDate;
        int year, month, day;
    } cases[] = {
        {"3/5/2009", true, 2009, 3, 5},
        {"12/31/39", true, 2039, 12, 31},
        {"12/31/40", true, 1940, 12, 31},
        {"1/1/0", true, 2000, 1, 1},
        {"3/2009", true, 2009, 3, 1},
        {"2009/13", false, 0, 0, 0},
        {"3/5", true, 0, 3, 5},
        {"3/0", false, 0, 0, 0},
        {"0/5/2009", false, 0, 0, 0},
        {"3/32/2009", false, 0, 0, 0},
        {"1/2/3/4", false, 0, 0, 0},
        {"1/2/x", false, 0, 0, 0},
        {" 1/2/2009", false, 0, 0, 0},
        {"2009", true, 2009, 0, 0},
        {"", true, 0, 0, 0},
        {"/", false, 0, 0, 0},
        {"99999999999/1/1", false, 0, 0, 0},  // a month far out of range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CellDate d;
        ASSERT_EQ(ParseCellDate(c.text, d), c.isDate);
        if (c.isDate) {
            EXPECT_EQ(d.year, c.year);
            EXPECT_EQ(d.month, c.month);
            EXPECT_EQ(d.day, c.day);
        }
    }
}

TEST_F(CellCompare, ParseCellVersionAndNumber)
{
    struct VersionCase {
        const char* text;
        bool isVersion;
        uint32_t value;
    } versions[] = {
        {"1.2.3.4", true, 0x01020304u},
        {"10.0.0.255", true, 0x0A0000FFu},
        {"1.2.3.256", true, 0x01020400u},  // parts overlap as the formula says
        {"...", true, 0u},
        {"1.2.3", false, 0},
        {"1.2.3.4.5", false, 0},
        {"1.2.3.a", false, 0},
        {"300.0.0.0", true, (300u << 24)},
    };
    for (const VersionCase& c : versions) {
        SCOPED_TRACE(c.text);
        uint32_t v = 12345;
        ASSERT_EQ(ParseCellVersion(c.text, v), c.isVersion);
        if (c.isVersion) {
            EXPECT_EQ(v, c.value);
        }
    }
    EXPECT_FLOAT_EQ(ParseCellNumber("42", 0), 42.0f);
    EXPECT_FLOAT_EQ(ParseCellNumber("-2.5", 0), -2.5f);
    EXPECT_FLOAT_EQ(ParseCellNumber(".25", 0), 0.25f);
    EXPECT_FLOAT_EQ(ParseCellNumber("10a", 0), 10.0f + 97.0f / 256);
    EXPECT_FLOAT_EQ(ParseCellNumber("10A", 1), 10.0f + 97.0f / 256);
    EXPECT_FLOAT_EQ(ParseCellNumber("10A", 0), 10.0f + 65.0f / 256);
    EXPECT_FLOAT_EQ(ParseCellNumber("10A", 2), 10.0f + 65.0f / 256);  // only exactly 1 folds
    EXPECT_FLOAT_EQ(ParseCellNumber("1.5x", 0), 1.5f + 120.0f * 0.01f / 256);
    EXPECT_FLOAT_EQ(ParseCellNumber("1.2.3", 0), (float)(1.2 + 46 * 0.01 / 256 + 51 * 0.01 / 65536));
    // Very long inputs stay finite or become infinity, never undefined.
    std::string digits(400, '9');
    EXPECT_TRUE(std::isinf(ParseCellNumber(digits.c_str(), 0)));
    EXPECT_TRUE(std::isinf(ParseCellNumber(("-" + digits).c_str(), 0)));
    std::string tail = "1" + std::string(5000, 'z');
    EXPECT_FLOAT_EQ(ParseCellNumber(tail.c_str(), 0), 1.0f + 122.0f / 255);
}

TEST_F(CellCompare, ResultIsSixteenBits)
{
    // Month and day differences arrive as signed 16-bit values.
    EXPECT_EQ(CompareSortText("12/1/2009", "1/1/2009", false), 11);
    EXPECT_EQ(CompareSortText("1/31/2009", "1/1/2009", false), 30);
    EXPECT_EQ(CompareSortText("1/1/2009", "1/31/2009", false), -30);
    EXPECT_EQ(CompareSortText("1/1/2010", "12/31/2009", false), 1);
}

std::vector<std::string> MixedCells(unsigned seed, size_t n)
{
    const char* pool[] = {"1/2/2009", "13/1/2009", "10",    "9",     "1.2.3.4", "1.2.3.10",  "-5",  "2.5", "apple",
                          "Apple",    "",          "12 kg", "12 lb", "1.2.3",   "3/5",       "x",   "0.5", "99/99/99",
                          "2009",     "-",         ".",     "1/1/1", "Zebra",   "1.2.3.4.5", "10a", "10b"};
    std::mt19937 gen(seed);
    std::vector<std::string> cells;
    for (size_t i = 0; i < n; ++i) cells.push_back(pool[gen() % (sizeof(pool) / sizeof(pool[0]))]);
    return cells;
}

TEST_F(CellCompare, MixedCellsSortWithoutHarm)
{
    // Dates and numbers form cycles: "2009" < "1/2/2009" (same year, month
    // 0 first), "1/2/2009" < "10a" (numbers 1... and 10...), "10a" < "2009"
    // (numbers). The sort must still end with a permutation of its input
    // and never leave the range (ASan watches the host run).
    ASSERT_LT(CompareSortText("2009", "1/2/2009", false), 0);
    ASSERT_LT(CompareSortText("1/2/2009", "10a", false), 0);
    ASSERT_LT(CompareSortText("10a", "2009", false), 0);
    for (unsigned seed = 1; seed <= 50; ++seed) {
        std::vector<std::string> cells = MixedCells(seed, 1 + seed * 7);
        std::vector<std::string> sorted = cells;
        StableSortTolerant(sorted.begin(), sorted.end(), [seed](const std::string& x, const std::string& y) {
            return CompareSortText(x.c_str(), y.c_str(), seed % 2 == 0) < 0;
        });
        std::vector<std::string> a = cells, b = sorted;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(a, b) << "seed " << seed;
    }
}

TEST(TolerantSort, SortsAndKeepsOrderOfEquals)
{
    std::vector<std::pair<int, int>> v;
    std::mt19937 gen(7);
    for (int i = 0; i < 1000; ++i) v.push_back({static_cast<int>(gen() % 50), i});
    StableSortTolerant(v.begin(), v.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    for (size_t i = 1; i < v.size(); ++i) {
        ASSERT_LE(v[i - 1].first, v[i].first);
        if (v[i - 1].first == v[i].first) {
            ASSERT_LT(v[i - 1].second, v[i].second);
        }
    }
    // A comparison that answers at random still gives a permutation.
    std::vector<int> w(257);
    for (int i = 0; i < 257; ++i) w[i] = i;
    StableSortTolerant(w.begin(), w.end(), [&](int, int) { return gen() % 2 == 0; });
    std::vector<int> check = w;
    std::sort(check.begin(), check.end());
    for (int i = 0; i < 257; ++i) ASSERT_EQ(check[i], i);
    std::vector<int> empty;
    StableSortTolerant(empty.begin(), empty.end(), [](int x, int y) { return x < y; });
}

TEST_F(CellCompare, ConsistentCellsSortInOrder)
{
    std::vector<std::string> dates = {"12/31/2009", "1/1/2009", "6/15/40", "2/28/39", "1/2/2009", "1/10/2009"};
    StableSortTolerant(dates.begin(), dates.end(), [](const std::string& x, const std::string& y) {
        return CompareSortText(x.c_str(), y.c_str(), false) < 0;
    });
    EXPECT_EQ(dates,
              (std::vector<std::string>{"6/15/40", "1/1/2009", "1/2/2009", "1/10/2009", "12/31/2009", "2/28/39"}));
}

}  // namespace
