// The tool bar's lists of web logins: the menu's name order, positions that
// stay with their entries, duplicates, and the caps of both id ranges.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ZorvikanToolBar/band/WebLoginLists.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "framework/CList.h"

namespace {

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(CompareMenuNames, OrdersNumbersThenTextWithoutCase)
{
    struct Case {
        const char* left;
        const char* right;
        int order;
    };
    const Case cases[] = {
        {"9 Bank", "10 Bank", -1},
        {"10 Bank", "9 Bank", 1},
        {"10", "9", 1},
        {"9", "Alpha", -1},  // digits before letters
        {"Alpha", "10", 1},
        {"c", "D", -1},  // without regard to case
        {"D", "c", 1},
        {"bank", "BANK", 0},  // equal names are equal
        {"Bank", "Bank", 0},
        {"10 a", "10 B", -1},  // equal numbers: the text decides
        {"10 b", "10 A", 1},
        {"007", "7", -1},  // same number, then the text
        {"", "", 0},
        {"", "a", -1},
        {"99999999999999999999999", "99999999999999999999998", 1},  // beyond any integer: text
        {"99999999999999999999999", "5", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.left) + " / " + c.right);
        EXPECT_EQ(c.order, Sign(CompareMenuNames(c.left, c.right)));
        EXPECT_EQ(-c.order, Sign(CompareMenuNames(c.right, c.left)));
    }
}

// Web logins with the given descriptions in database order; the uid's last
// byte is the position.
class Logins {
public:
    explicit Logins(const std::vector<std::string>& descriptions)
    {
        for (size_t i = 0; i < descriptions.size(); ++i) {
            CRecord* record = new CRecord();
            record->SetTypeKey(kWebLoginsTypeKey);
            uint8_t uid[kUniqueKeySize] = {1, 0, 0, 0, 0, 0, static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i)};
            record->SetUid(uid);
            record->SetField(0, descriptions[i].c_str());
            m_records.push_back(record);
            list.AddTail(record);
        }
    }
    ~Logins()
    {
        for (CRecord* record : m_records) delete record;
    }
    CObList list;

private:
    std::vector<CRecord*> m_records;
};

std::vector<std::string> Names(const CWebLoginList& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.At(i)->description.GetString());
    return out;
}

std::vector<int> Positions(const CWebLoginList& list)
{
    std::vector<int> out;
    for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.At(i)->uid[7] | list.At(i)->uid[6] << 8);
    return out;
}

TEST(WebLoginList, MenuAndSearchOrders)
{
    struct Case {
        const char* what;
        std::vector<std::string> records;
        std::vector<std::string> menu;
        std::vector<int> menuPositions;
    };
    const Case cases[] = {
        {"numbers then letters", {"10 Mail", "Shop", "9 Bank"}, {"9 Bank", "10 Mail", "Shop"}, {2, 0, 1}},
        {"case", {"D", "c", "B", "a"}, {"a", "B", "c", "D"}, {3, 2, 1, 0}},
        {"duplicates keep database order",
         {"Mail", "Bank", "mail", "Bank"},
         {"Bank", "Bank", "Mail", "mail"},
         {1, 3, 0, 2}},
        {"empty", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Logins logins(c.records);
        CWebLoginList menu, search;
        menu.FillForMenu(logins.list);
        search.FillForSearch(logins.list);
        EXPECT_EQ(c.menu, Names(menu));
        EXPECT_EQ(c.menuPositions, Positions(menu));
        EXPECT_EQ(c.records, Names(search));  // database order
    }
}

TEST(WebLoginList, PositionsOutsideTheListFindNothing)
{
    Logins logins({"Bank", "Bank"});
    CWebLoginList menu;
    menu.FillForMenu(logins.list);
    ASSERT_EQ(2, menu.GetCount());
    // Two entries of one name stay two entries: each position its own.
    EXPECT_EQ(0, menu.At(0)->uid[7]);
    EXPECT_EQ(1, menu.At(1)->uid[7]);
    EXPECT_EQ(nullptr, menu.At(2));
    EXPECT_EQ(nullptr, menu.At(-1));
    menu.Clear();
    EXPECT_EQ(nullptr, menu.At(0));
}

TEST(WebLoginList, ListsStopAtTheEndOfTheirIdRanges)
{
    std::vector<std::string> names;
    for (int i = 0; i < 700; ++i) names.push_back(std::to_string(i) + " login");
    Logins logins(names);
    CWebLoginList menu, search;
    menu.FillForMenu(logins.list);
    search.FillForSearch(logins.list);
    // Menu ids 0 - 500, search ids 501 - 1000.
    ASSERT_EQ(501, menu.GetCount());
    ASSERT_EQ(500, search.GetCount());
    EXPECT_EQ("0 login", std::string(menu.At(0)->description));
    EXPECT_EQ("500 login", std::string(menu.At(500)->description));
    EXPECT_EQ("499 login", std::string(search.At(499)->description));
}

}  // namespace
