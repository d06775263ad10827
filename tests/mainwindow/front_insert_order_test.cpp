// Rows handed to a list control that sorts them itself: the order in which
// every row lands in front, and the control's order the same as for rows
// handed over as they come.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "mainwindow/models/FrontInsertOrder.h"

namespace {

struct Row {
    std::string text;
    int id;  // tells rows of equal text apart
};

std::string Lower(std::string s)
{
    for (char& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

// As the control inserts: before the first row that is not less than the
// new one. Counts the rows walked past.
struct SortedControl {
    std::vector<Row> rows;
    size_t walked = 0;
    template <typename Less> void Insert(const Row& row, Less less)
    {
        size_t i = 0;
        while (i < rows.size() && less(rows[i], row)) ++i;
        walked += i;
        rows.insert(rows.begin() + (std::ptrdiff_t)i, row);
    }
    std::string Ids() const
    {
        std::string ids;
        for (const Row& r : rows) ids += std::to_string(r.id) + " ";
        return ids;
    }
};

TEST(FrontInsertOrder, LeavesTheControlsOrderAndEveryRowLandsInFront)
{
    const auto caseless = [](const Row& a, const Row& b) { return Lower(a.text) < Lower(b.text); };
    const auto exact = [](const Row& a, const Row& b) { return a.text < b.text; };
    const std::vector<std::vector<Row>> inputs = {
        {},
        {{"one", 1}},
        {{"b", 1}, {"B", 2}, {"a", 3}, {"b", 4}, {"C", 5}, {"A", 6}, {"b", 7}},
        {{"zeta", 1}, {"alpha", 2}, {"Mail", 3}, {"alpha", 4}, {"mail", 5}, {"", 6}, {"Zeta", 7}},
        {{"x", 1}, {"x", 2}, {"x", 3}, {"x", 4}},
    };
    for (const auto& rows : inputs) {
        // The control compares with or without case; the order given is
        // built without case either way.
        for (bool controlWithCase : {false, true}) {
            SCOPED_TRACE(testing::Message() << rows.size() << " rows, control with case " << controlWithCase);
            SortedControl asTheyCome, inFront;
            for (const Row& row : rows) {
                if (controlWithCase)
                    asTheyCome.Insert(row, exact);
                else
                    asTheyCome.Insert(row, caseless);
            }
            for (const Row& row : FrontInsertOrder(rows, caseless)) {
                if (controlWithCase)
                    inFront.Insert(row, exact);
                else
                    inFront.Insert(row, caseless);
            }
            EXPECT_EQ(asTheyCome.Ids(), inFront.Ids());
            if (!controlWithCase) {
                EXPECT_EQ(0u, inFront.walked);
            }
        }
    }
}

TEST(FrontInsertOrder, ManyRowsWalkNothing)
{
    std::vector<Row> rows;
    for (int i = 0; i < 3000; ++i) rows.push_back({"r" + std::to_string((i * 7919) % 613), i});
    const auto less = [](const Row& a, const Row& b) { return a.text < b.text; };
    SortedControl asTheyCome, inFront;
    for (const Row& row : rows) asTheyCome.Insert(row, less);
    for (const Row& row : FrontInsertOrder(rows, less)) inFront.Insert(row, less);
    EXPECT_EQ(asTheyCome.Ids(), inFront.Ids());
    EXPECT_EQ(0u, inFront.walked);
    EXPECT_GT(asTheyCome.walked, 1000000u);
}

}  // namespace
