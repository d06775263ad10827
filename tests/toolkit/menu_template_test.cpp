// Menu templates read from hand-built bytes (the standard RT_MENU layout),
// and the records of an owner-drawn menu.
#include <gtest/gtest.h>

#include <vector>

#include "toolkit/menus/BCMenuData.h"
#include "toolkit/menus/MenuTemplate.h"

using namespace menutemplate;

namespace {

void Word(std::vector<BYTE>& b, unsigned w)
{
    b.push_back((BYTE)(w & 0xFF));
    b.push_back((BYTE)(w >> 8));
}
void Text(std::vector<BYTE>& b, const char* s)
{
    for (; *s; ++s) Word(b, (BYTE)*s);
    Word(b, 0);
}
void Popup(std::vector<BYTE>& b, unsigned option, const char* s)
{
    Word(b, option);
    Text(b, s);
}
void Command(std::vector<BYTE>& b, unsigned option, unsigned id, const char* s)
{
    Word(b, option);
    Word(b, id);
    Text(b, s);
}

// POPUP "&File" { "&Open\tCtrl+O" 100, SEPARATOR, POPUP "Recent" { "One" 101 } }
// POPUP "&Help" { "About" 102 }: the nested popup is the last of "File", so
// the end of "Recent" closes both levels.
std::vector<BYTE> NestedTemplate()
{
    std::vector<BYTE> b;
    Word(b, 0);  // version
    Word(b, 0);  // offset
    Popup(b, 0x10, "&File");
    Command(b, 0x00, 100, "&Open\tCtrl+O");
    Command(b, 0x00, 0, "");
    Popup(b, 0x90, "Recent");
    Command(b, 0x80, 101, "One");
    Popup(b, 0x90, "&Help");
    Command(b, 0x80, 102, "About");
    return b;
}

}  // namespace

TEST(MenuTemplate, ReadsItemsInOrder)
{
    const std::vector<BYTE> bytes = NestedTemplate();
    std::vector<Item> items;
    ASSERT_TRUE(ParseItems(bytes.data(), bytes.size(), items));
    ASSERT_EQ(items.size(), 7u);
    EXPECT_TRUE(items[0].IsPopup());
    EXPECT_EQ(items[0].text, L"&File");
    EXPECT_EQ(items[1].id, 100);
    EXPECT_EQ(items[1].text, L"&Open\tCtrl+O");
    EXPECT_EQ(items[2].id, 0);
    EXPECT_TRUE(items[2].text.empty());
    EXPECT_TRUE(items[3].IsPopup() && items[3].IsEnd());
    EXPECT_EQ(items[6].id, 102);
}

TEST(MenuTemplate, NestedEndsCloseEveryLevel)
{
    const std::vector<BYTE> bytes = NestedTemplate();
    std::vector<Item> items;
    std::vector<Step> steps;
    ASSERT_TRUE(ParseItems(bytes.data(), bytes.size(), items));
    ASSERT_TRUE(BuildSteps(items, steps));
    std::vector<Step::Kind> kinds;
    for (const Step& s : steps) kinds.push_back(s.kind);
    const std::vector<Step::Kind> expected = {
        Step::OpenPopup, Step::AddItem,    Step::AddItem,    Step::OpenPopup,
        Step::AddItem,   Step::CloseLevel, Step::CloseLevel,  // "Recent", then "File"
        Step::OpenPopup, Step::AddItem,    Step::CloseLevel, Step::CloseLevel};
    EXPECT_EQ(kinds, expected);
}

TEST(MenuTemplate, ItemsAfterTheOutermostEndAreIgnored)
{
    std::vector<BYTE> bytes = NestedTemplate();
    Command(bytes, 0x00, 999, "Stray");
    std::vector<Item> items;
    std::vector<Step> steps;
    ASSERT_TRUE(ParseItems(bytes.data(), bytes.size(), items));
    ASSERT_TRUE(BuildSteps(items, steps));
    for (const Step& s : steps) EXPECT_NE(s.item.id, 999);
}

TEST(MenuTemplate, HeaderOffsetSkipsExtraBytes)
{
    std::vector<BYTE> b;
    Word(b, 0);
    Word(b, 4);
    Word(b, 0xFFFF);
    Word(b, 0xFFFF);
    Popup(b, 0x90, "Tray");
    Command(b, 0x80, 32916, "Open");
    std::vector<Item> items;
    ASSERT_TRUE(ParseItems(b.data(), b.size(), items));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].id, 32916);
}

TEST(MenuTemplate, BrokenTemplatesAreRefused)
{
    const std::vector<BYTE> whole = NestedTemplate();
    std::vector<Item> items;
    EXPECT_FALSE(ParseItems(nullptr, 0, items));
    EXPECT_FALSE(ParseItems(whole.data(), 3, items));
    // Cut inside the last caption: its NUL is missing.
    EXPECT_FALSE(ParseItems(whole.data(), whole.size() - 1, items));
    EXPECT_FALSE(ParseItems(whole.data(), whole.size() - 3, items));
    // An offset beyond the end.
    std::vector<BYTE> b;
    Word(b, 0);
    Word(b, 200);
    EXPECT_FALSE(ParseItems(b.data(), b.size(), items));
    // Items that never close the outermost level build nothing whole.
    std::vector<Step> steps;
    std::vector<Item> open = {Item{0x10, 0, L"File"}, Item{0, 5, L"x"}};
    EXPECT_FALSE(BuildSteps(open, steps));
}

TEST(MenuRecords, CommandItemUsesItsOwnRecord)
{
    std::vector<BCMenuData*> records;
    for (UINT_PTR id : {7u, 8u, 7u}) {
        auto* r = new BCMenuData;
        r->commandId = id;
        records.push_back(r);
    }
    EXPECT_EQ(menurecords::RecordForCommandAt(records, 2, 7), 2);
    EXPECT_EQ(menurecords::RecordForCommandAt(records, 0, 7), 0);
    // A position whose record does not carry the id falls back to the first.
    EXPECT_EQ(menurecords::RecordForCommandAt(records, 1, 7), 0);
    EXPECT_EQ(menurecords::RecordForCommandAt(records, 9, 7), 0);
    EXPECT_EQ(menurecords::RecordForCommandAt(records, 0, 99), -1);
    EXPECT_EQ(menurecords::FindRecord(records, 7, true), 2);
    EXPECT_EQ(menurecords::ClaimRecord(records, 7), 0);
    EXPECT_EQ(menurecords::ClaimRecord(records, 7), 2);
    EXPECT_EQ(menurecords::ClaimRecord(records, 7), -1);
    menurecords::EraseRecord(records, 5);  // out of range: nothing
    menurecords::EraseRecord(records, 1);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1]->commandId, 7u);
    menurecords::DeleteAll(records);
    EXPECT_TRUE(records.empty());
}
