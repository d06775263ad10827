// The record list's columns: titles, cell texts, the sort key's header
// clicks and the record comparison with its fall-back columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/values/CellCompare.h"
#include "mainwindow/models/RecordColumns.h"
#include "tests/support/RecordBuilder.h"

namespace {

class RecordColumnsTest : public ::testing::Test {
protected:
    RecordNames Names() const { return RecordNames{db.types, db.categories}; }
    zvtest::RecordBuilder db;
};

TEST(SortKey, HeaderClicksFlipTheSortedColumnAndStartOthersAscending)
{
    struct Case {
        uint32_t before;
        int column;
        uint32_t after;
    };
    const Case cases[] = {
        {0x10003, 3, 0x00003}, {0x00003, 3, 0x10003},  {0x10003, 5, 0x10005},
        {0x00003, 5, 0x10005}, {0x0000E, 14, 0x1000E}, {0x10000, 0, 0x00000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.after, SortKeyAfterHeaderClick(c.before, c.column)) << std::hex << c.before << " " << c.column;
}

TEST_F(RecordColumnsTest, TitlesAreTheChosenTypesLabelsOrTheDefaults)
{
    CTypeItem* type = db.AddType("Logins", 1);
    type->SetField(0, "Site");
    type->SetField(1, "User");
    EXPECT_EQ("Type", std::string(RecordColumnTitle(kColumnType, nullptr)));
    EXPECT_EQ("Category", std::string(RecordColumnTitle(kColumnCategory, type)));
    EXPECT_EQ("Field 1", std::string(RecordColumnTitle(3, nullptr)));
    EXPECT_EQ("Field 9", std::string(RecordColumnTitle(11, nullptr)));
    EXPECT_EQ("Date Mod", std::string(RecordColumnTitle(12, nullptr)));
    EXPECT_EQ("Site", std::string(RecordColumnTitle(3, type)));
    EXPECT_EQ("User", std::string(RecordColumnTitle(4, type)));
    EXPECT_EQ("Field 3", std::string(RecordColumnTitle(5, type)));  // empty label: the default
    for (int column : {0, 13, 14}) EXPECT_EQ("", std::string(RecordColumnTitle(column, type)));
}

TEST_F(RecordColumnsTest, CellTextsNameTypeAndCategoryAndMaskFields)
{
    db.AddType("Logins", 1);
    db.AddCategory("Work", 7);
    CRecord* record = db.AddRecord(1, 7, {"mail", "secret"});
    record->SetHiddenMask(0x2);
    CRecord* loose = db.AddRecord(9, 0, {"x"});
    EXPECT_EQ("Logins", std::string(RecordCellText(*record, kColumnType, Names(), false)));
    EXPECT_EQ("Work", std::string(RecordCellText(*record, kColumnCategory, Names(), false)));
    EXPECT_EQ("Unfiled", std::string(RecordCellText(*loose, kColumnType, Names(), false)));
    EXPECT_EQ("Unfiled", std::string(RecordCellText(*loose, kColumnCategory, Names(), false)));
    EXPECT_EQ("mail", std::string(RecordCellText(*record, 3, Names(), false)));
    EXPECT_EQ("****", std::string(RecordCellText(*record, 4, Names(), false)));
    EXPECT_EQ("secret", std::string(RecordCellText(*record, 4, Names(), true)));
    for (int column : {0, 13, 14}) EXPECT_EQ("", std::string(RecordCellText(*record, column, Names(), true)));
}

// The order of the records a .. by first field, under the key.
std::string Order(std::vector<CRecord*> records, uint32_t key, const RecordNames& names)
{
    SortRecords(records, key, names);
    std::string order;
    for (CRecord* r : records) order += std::string(r->GetField(9)) + " ";
    return order;
}

TEST_F(RecordColumnsTest, EqualColumnsFallBackToTheNextThreeColumns)
{
    // Field 10 (date) carries the record's name for the output; fields 1 to
    // 4 are built so that each level of fall-back decides one pair.
    db.AddType("T", 1);
    auto add = [&](const char* name, std::initializer_list<const char*> fields) {
        CRecord* r = db.AddRecord(1, 0, fields);
        r->SetField(9, name);
        return r;
    };
    std::vector<CRecord*> rs = {
        add("e", {"same", "same", "same", "b"}),
        add("d", {"same", "same", "same", "a"}),
        add("c", {"same", "same", "b"}),
        add("b", {"same", "b"}),
        add("a", {"same", "a"}),
    };
    // Column 3 (field 1) equal everywhere: field 2, then 3, then 4 decide.
    EXPECT_EQ("a b c d e ", Order(rs, 0x10003, Names()));
    EXPECT_EQ("e d c b a ", Order(rs, 0x00003, Names()));
}

TEST_F(RecordColumnsTest, NoFifthColumnIsLookedAt)
{
    // Equal in fields 1 to 4, different in field 5: column 3 and its three
    // fall-backs find no difference, so the records keep their order.
    CRecord* later = db.AddRecord(1, 0, {"x", "y", "z", "w", "b"});
    CRecord* earlier = db.AddRecord(1, 0, {"x", "y", "z", "w", "a"});
    EXPECT_EQ(0, CompareRecords(*later, *earlier, 0x10003, Names()));
    EXPECT_LT(CompareRecords(*earlier, *later, 0x10004, Names()), 0);
}

TEST_F(RecordColumnsTest, NotesColumnFallsBackToIconThenTypeThenCategory)
{
    db.AddType("Alpha", 1);
    db.AddType("Beta", 2);
    db.AddCategory("Home", 7);
    db.AddCategory("Apps", 8);
    auto add = [&](const char* name, uint8_t type, uint8_t category, WORD icon, const char* notes) {
        CRecord* r = db.AddRecord(type, category, {});
        r->SetField(9, name);
        r->SetIcon(icon);
        r->SetMainText(notes);
        return r;
    };
    std::vector<CRecord*> rs = {
        add("f", 1, 7, 5, "has notes"), add("e", 2, 7, 3, ""), add("d", 2, 8, 3, ""),
        add("c", 1, 7, 3, ""),          add("b", 1, 8, 3, ""), add("a", 1, 8, 2, ""),
    };
    // Without notes first; then icon; then type name; then category name.
    EXPECT_EQ("a b c d e f ", Order(rs, 0x1000D, Names()));
    EXPECT_EQ("f e d c b a ", Order(rs, 0x0000D, Names()));
}

TEST_F(RecordColumnsTest, AttachmentColumnHasNoFallBack)
{
    CRecord* a = db.AddRecord(1, 0, {"zzz"});
    CRecord* b = db.AddRecord(1, 0, {"aaa"});
    a->SetIcon(9);
    EXPECT_EQ(0, CompareRecords(*a, *b, 0x1000E, Names()));
    b->SetAttachmentName("file.txt");
    EXPECT_LT(CompareRecords(*a, *b, 0x1000E, Names()), 0);
    EXPECT_GT(CompareRecords(*a, *b, 0x0000E, Names()), 0);
}

TEST_F(RecordColumnsTest, DateModSortsAsADateAndUnparsedAsEmpty)
{
    SetLocaleFormats('.', '/', kDateOrderMonthDayYear);
    CRecord* march = db.AddRecord(1, 0, {});
    march->SetField(9, "March 05, 2009");
    CRecord* december = db.AddRecord(1, 0, {});
    december->SetField(9, "December 01, 2008");
    CRecord* junk = db.AddRecord(1, 0, {});
    junk->SetField(9, "not a date");
    // As text "December" < "March"; as dates 2008 comes first either way,
    // and by month-first text "03/05/2009" > "12/01/2008" would be wrong.
    EXPECT_LT(CompareRecords(*december, *march, 0x1000C, Names()), 0);
    EXPECT_GT(CompareRecords(*december, *march, 0x0000C, Names()), 0);
    // Unparsed text is the empty date; two of them are equal as far as
    // column 12 and its fall-backs go.
    CRecord* junk2 = db.AddRecord(1, 0, {});
    junk2->SetField(9, "also not");
    EXPECT_EQ(0, CompareRecords(*junk, *junk2, 0x1000C, Names()));
    SetLocaleFormats(0, 0, kDateOrderMonthDayYear);
}

TEST_F(RecordColumnsTest, FieldsCompareUnmaskedAndWithoutCase)
{
    CRecord* a = db.AddRecord(1, 0, {"apple"});
    CRecord* b = db.AddRecord(1, 0, {"Banana"});
    a->SetHiddenMask(1);
    EXPECT_LT(CompareRecords(*a, *b, 0x10003, Names()), 0);
    EXPECT_GT(CompareRecords(*a, *b, 0x00003, Names()), 0);
}

TEST_F(RecordColumnsTest, InsertIndexKeepsTheListSorted)
{
    std::vector<CRecord*> rows = {db.AddRecord(1, 0, {"b"}), nullptr, db.AddRecord(1, 0, {"d"})};
    EXPECT_EQ(0u, SortedInsertIndex(rows, *db.AddRecord(1, 0, {"a"}), 0x10003, Names()));
    EXPECT_EQ(2u, SortedInsertIndex(rows, *db.AddRecord(1, 0, {"c"}), 0x10003, Names()));
    EXPECT_EQ(3u, SortedInsertIndex(rows, *db.AddRecord(1, 0, {"e"}), 0x10003, Names()));
    // Equal goes before its equal.
    EXPECT_EQ(0u, SortedInsertIndex(rows, *db.AddRecord(1, 0, {"b"}), 0x10003, Names()));
}

TEST_F(RecordColumnsTest, InsertIndexPassesEveryRowThatSortsBeforeHoweverFarApart)
{
    // Icon ids compare by their difference: a row far below the new one
    // sorts before it as surely as a row one below.
    auto withIcon = [&](WORD icon) {
        CRecord* r = db.AddRecord(1, 0, {"same"});
        r->SetIcon(icon);
        return r;
    };
    std::vector<CRecord*> rows = {withIcon(2), withIcon(9), withIcon(40)};
    EXPECT_EQ(2u, SortedInsertIndex(rows, *withIcon(30), 0x10000, Names()));
    EXPECT_EQ(3u, SortedInsertIndex(rows, *withIcon(63), 0x10000, Names()));
    std::vector<CRecord*> falling = {rows[2], rows[1], rows[0]};
    EXPECT_EQ(1u, SortedInsertIndex(falling, *withIcon(30), 0x00000, Names()));
}

}  // namespace

namespace {

// The list sort takes each record's values once; it must order exactly as the
// comparison the list's insertion uses, for every column and direction.
TEST_F(RecordColumnsTest, SortAgreesWithTheComparisonForEveryColumn)
{
    SetLocaleFormats('.', '/', kDateOrderMonthDayYear);
    db.AddType("Beta", 1);
    db.AddType("alpha", 2);
    db.AddCategory("Home", 7);
    const char* const words[] = {"10", "9", "apple", "Apple", "", "1.2.3.4", "03/05/2009", "zeta"};
    const char* const dates[] = {"March 05, 2009", "December 01, 2008", "", "junk"};
    std::vector<CRecord*> records;
    for (int i = 0; i < 40; ++i) {
        CRecord* r = db.AddRecord((uint8_t)(i % 3), (uint8_t)(i % 2 ? 7 : 0), {});
        for (int f = 0; f < 9; ++f) r->SetField(f, words[(i * (f + 3) + f) % 8]);
        r->SetField(9, dates[i % 4]);
        r->SetIcon((WORD)(i % 5));
        if (i % 4 == 1) r->SetMainText("notes");
        if (i % 6 == 2) r->SetAttachmentName("a.txt");
        records.push_back(r);
    }
    for (uint32_t direction : {0x10000u, 0u}) {
        for (int column = 0; column <= 15; ++column) {
            std::vector<CRecord*> sorted = records;
            SortRecords(sorted, direction | (uint32_t)column, Names());
            for (size_t i = 1; i < sorted.size(); ++i)
                EXPECT_LE(CompareRecords(*sorted[i - 1], *sorted[i], direction | (uint32_t)column, Names()), 0)
                    << "column " << column << " row " << i;
        }
    }
    SetLocaleFormats(0, 0, kDateOrderMonthDayYear);
}

}  // namespace

namespace {

// A batch of imported records lands where one sorted insert after another
// would put them: ties (the later record before the earlier, both before an
// equal row), rows without a record, both directions and a fall-back column.
TEST_F(RecordColumnsTest, BatchInsertPlacesMatchOneInsertAfterAnother)
{
    struct Case {
        std::vector<const char*> rows;  // null: a row without a record
        std::vector<const char*> added;
        uint32_t sortKey;
    };
    const Case cases[] = {
        {{}, {"m", "c", "x", "c", "a"}, 0x10003},
        {{"b", nullptr, "d", "d", "f"}, {"d", "a", "z", "d", "c", "b"}, 0x10003},
        {{"f", "d", "d", "b"}, {"d", "a", "z", "e", "d"}, 0x00003},
        {{"a", "b", "c"}, {}, 0x10003},
        {{"x", "x", "x"}, {"x", "x"}, 0x10004},
    };
    for (const Case& c : cases) {
        std::vector<CRecord*> rows;
        for (const char* text : c.rows) rows.push_back(text ? db.AddRecord(1, 0, {text, "same"}) : nullptr);
        std::vector<CRecord*> added;
        for (const char* text : c.added) added.push_back(db.AddRecord(1, 0, {text, "same"}));

        std::vector<CRecord*> oneByOne = rows;
        for (CRecord* record : added)
            oneByOne.insert(oneByOne.begin() + (long)SortedInsertIndex(oneByOne, *record, c.sortKey, Names()), record);

        std::vector<CRecord*> batch = rows;
        size_t lastRow = 0;
        for (const RowPlace& place : SortedInsertPlaces(rows, added, c.sortKey, Names())) {
            EXPECT_TRUE(place.row >= lastRow);
            lastRow = place.row;
            batch.insert(batch.begin() + (long)place.row, place.record);
        }
        EXPECT_EQ(oneByOne, batch) << "rows " << c.rows.size() << ", added " << c.added.size() << ", key " << std::hex
                                   << c.sortKey;
    }
}

}  // namespace
