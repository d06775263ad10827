// Writing the merged lists back into the handheld's file: one transaction,
// every row checked, the file untouched when anything fails.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "sync/handheld/HandheldStatement.h"
#include "tests/support/ScratchDir.h"
#include "tests/sync/HandheldTestLists.h"

using namespace zvtest;

namespace {

// A copy of a fixture in a scratch folder.
struct FixtureCopy {
    explicit FixtureCopy(const char* name) : path((dir / name).string())
    {
        std::filesystem::copy_file(HandheldFixture(name), path);
    }
    ScratchDir dir;
    std::string path;
};

// The text of every row's cells of a query, one row a line.
std::string Query(const std::string& path, const char* sql)
{
    CSQLiteDBWrapper db(path.c_str(), SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    if (db.Prepare(sql, &statement) != SQLITE_OK) return "(cannot prepare)";
    std::string out;
    while (db.Step(statement) == SQLITE_ROW) {
        for (int i = 0; i < db.ColumnCount(statement); ++i) {
            const unsigned char* text = db.ColumnText(statement, i);
            out += (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
        }
        out += "\n";
    }
    db.Finalize(statement);
    return out;
}

void Exec(const std::string& path, const char* sql)
{
    CSQLiteDBWrapper db(path.c_str(), SQLITE_OPEN_READWRITE);
    ASSERT_EQ(SQLITE_OK, db.Exec(sql)) << sql;
}

std::string WithoutTableLines(const std::string& dump)
{
    std::string out;
    size_t start = 0;
    while (start < dump.size()) {
        size_t end = dump.find('\n', start);
        std::string line = dump.substr(start, end - start + 1);
        if (line.compare(0, 2, "I\t") != 0) out += line;
        start = end + 1;
    }
    return out;
}

// The lists as the handheld will read them back: a type's empty labels are
// written as the default labels, and nothing is marked edited any more.
void AsWritten(HandheldLists& lists)
{
    for (POSITION pos = lists.types.GetHeadPosition(); pos;) {
        auto* type = static_cast<CBaseItem*>(lists.types.GetNext(pos));
        for (int i = 0; i < kItemFieldCount; ++i) type->SetField(i, type->GetFieldName(i));
    }
    lists.categories.SetModifiedAll(false);
    lists.types.SetModifiedAll(false);
    lists.records.SetModifiedAll(false);
}

struct RoundTripCase {
    const char* file;
    const char* password;
};

class HandheldRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(HandheldRoundTrip, WriteBackThenReadGivesTheSameLists)
{
    FixtureCopy copy(GetParam().file);
    HandheldLists first;
    CHandheldDatabaseInfo info;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, first, &info));
    EXPECT_STREQ(GetParam().password, info.password.c_str());
    std::string infoRow = Query(copy.path, "SELECT * FROM DATABASEINFOTABLE;");
    AsWritten(first);
    std::string written = Dump(first);
    ASSERT_EQ(kHandheldOk, WriteBack(copy.path, info.password, first, {"77", "4294967295"}));
    // Only the row of the record that had no value stays in the table.
    EXPECT_EQ(std::vector<int32_t>{1005}, first.table.GetIds());

    HandheldLists second;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, second));
    EXPECT_EQ(WithoutTableLines(written), WithoutTableLines(Dump(second)));
    // The handheld's own columns come back for the records read in this sync.
    for (int32_t id : second.table.GetIds()) {
        auto entry = second.table.Find(id);
        HandheldLists original;
        ASSERT_EQ(kHandheldOk, ReadFile(HandheldFixture(GetParam().file), original));
        auto before = original.table.Find(id);
        ASSERT_TRUE(before) << id;
        EXPECT_EQ(before->flags, entry->flags) << id;
        EXPECT_EQ(before->kept, entry->kept) << id;
    }
    EXPECT_EQ(infoRow, Query(copy.path, "SELECT * FROM DATABASEINFOTABLE;"));
    EXPECT_EQ("77\n4294967295\n", Query(copy.path, "SELECT DUID FROM DELETEDRECORDSTABLE ORDER BY DUID;"));
    EXPECT_EQ("0\n", Query(copy.path, "SELECT COUNT(*) FROM EDITEDRECORDSTABLE;"));
    EXPECT_EQ("0\n", Query(copy.path, "SELECT COUNT(*) FROM RECORDSTABLE WHERE PALMUID <> 0;"));
}

const RoundTripCase kRoundTrips[] = {{"plain.db", ""}, {"encrypted.db", "s3cret!pw"}};
INSTANTIATE_TEST_SUITE_P(Files, HandheldRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const ::testing::TestParamInfo<RoundTripCase>& info) {
                             return std::string(info.param.password[0] ? "Encrypted" : "Plain");
                         });

TEST(HandheldWrite, EmptyValuesAreNullWithoutPasswordAndABlockWithOne)
{
    for (bool withPassword : {false, true}) {
        FixtureCopy copy(withPassword ? "encrypted.db" : "plain.db");
        HandheldLists lists;
        CHandheldDatabaseInfo info;
        ASSERT_EQ(kHandheldOk, ReadFile(copy.path, lists, &info));
        ASSERT_EQ(kHandheldOk, WriteBack(copy.path, info.password, lists));
        EXPECT_EQ(withPassword ? "blob|8|blob|8\n" : "null|NULL|blob|0\n",
                  Query(copy.path, "SELECT typeof(VALUE2), length(VALUE2), typeof(NOTES), length(NOTES) FROM "
                                   "RECORDSTABLE WHERE DUID = 1002;"));
    }
}

// Each CHECK constraint makes one kind of row fail in the middle of the
// write-back. It is put into the schema's text directly, so that the rows
// the file already holds (which it refuses) stay and read.
struct InjectedCheck {
    const char* table;
    const char* column;
    const char* checked;
};
const InjectedCheck kInjectedFailures[] = {
    {"RECORDSTABLE", "DUID INTEGER UNIQUE", "DUID INTEGER UNIQUE CHECK (DUID <> 1004)"},
    {"CUSTOMTYPESTABLE", "ICONID INTEGER", "ICONID INTEGER CHECK (ICONID < 0)"},
    {"TYPESTABLE", "ICONID INTEGER", "ICONID INTEGER CHECK (ICONID < 0)"},
    {"DELETEDRECORDSTABLE", "DUID INTEGER", "DUID INTEGER CHECK (DUID < 0)"},
};

class HandheldWriteFailure : public ::testing::TestWithParam<InjectedCheck> {};

TEST_P(HandheldWriteFailure, RollsBackAndLeavesTheFileAsItCame)
{
    FixtureCopy copy("plain.db");
    const InjectedCheck& check = GetParam();
    const std::string sql = std::string("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, '") +
                            check.column + "', '" + check.checked + "') WHERE name = '" + check.table +
                            "'; PRAGMA writable_schema = OFF;";
    Exec(copy.path, sql.c_str());
    HandheldLists lists;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, lists));
    std::string before = ReadFileBytes(copy.path);
    int entries = lists.table.GetCount();

    EXPECT_EQ(kHandheldWriteFailed, WriteBack(copy.path, "", lists, {"12"}));
    EXPECT_EQ(before, ReadFileBytes(copy.path));
    EXPECT_EQ(entries, lists.table.GetCount());
}

INSTANTIATE_TEST_SUITE_P(Injected, HandheldWriteFailure, ::testing::ValuesIn(kInjectedFailures),
                         [](const ::testing::TestParamInfo<InjectedCheck>& info) {
                             return std::string(info.param.table);
                         });

TEST(HandheldWrite, AFileOfAnotherSchemaIsNeverWritten)
{
    // A trigger that appeared after the reading pass: the write-back
    // refuses the file before it runs anything.
    FixtureCopy copy("plain.db");
    HandheldLists lists;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, lists));
    Exec(copy.path, "CREATE TRIGGER injected AFTER INSERT ON TYPESTABLE BEGIN DELETE FROM RECORDSTABLE; END;");
    std::string before = ReadFileBytes(copy.path);
    EXPECT_EQ(kHandheldForeignSchema, WriteBack(copy.path, "", lists));
    EXPECT_EQ(before, ReadFileBytes(copy.path));
}

TEST(HandheldWrite, OverLongValueFailsWithoutWriting)
{
    FixtureCopy copy("encrypted.db");
    HandheldLists lists;
    CHandheldDatabaseInfo info;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, lists, &info));
    static_cast<CRecord*>(lists.records.GetTail())->SetNotes(CString('n', 20000));
    std::string before = ReadFileBytes(copy.path);
    EXPECT_EQ(kHandheldValueTooLong, WriteBack(copy.path, info.password, lists));
    EXPECT_EQ(before, ReadFileBytes(copy.path));
}

TEST(HandheldWrite, BusyFileFailsAndEnds)
{
    FixtureCopy copy("plain.db");
    HandheldLists lists;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, lists));
    std::string before = ReadFileBytes(copy.path);
    CSQLiteDBWrapper other(copy.path.c_str(), SQLITE_OPEN_READWRITE);
    ASSERT_EQ(SQLITE_OK, other.Exec("BEGIN EXCLUSIVE;"));
    EXPECT_EQ(kHandheldWriteFailed, WriteBack(copy.path, "", lists));
    other.Exec("ROLLBACK;");
    EXPECT_EQ(before, ReadFileBytes(copy.path));
}

TEST(HandheldWrite, AStepThatStaysBusyIsTriedAFewTimesThenFails)
{
    FixtureCopy copy("plain.db");
    CSQLiteDBWrapper db(copy.path.c_str(), SQLITE_OPEN_READWRITE);
    CHandheldStatement insert(&db);
    ASSERT_EQ(kHandheldOk, insert.Prepare("INSERT INTO DELETEDTYPESTABLE VALUES (?);"));
    CSQLiteDBWrapper other(copy.path.c_str(), SQLITE_OPEN_READWRITE);
    ASSERT_EQ(SQLITE_OK, other.Exec("BEGIN EXCLUSIVE;"));
    ASSERT_EQ(kHandheldOk, insert.BindText(1, "00000000000000C9"));
    EXPECT_EQ(kHandheldWriteFailed, insert.Execute());
    other.Exec("ROLLBACK;");
    // The statement is reset and usable again once the file is free.
    ASSERT_EQ(kHandheldOk, insert.BindText(1, "00000000000000CA"));
    EXPECT_EQ(kHandheldOk, insert.Execute());
}

TEST(HandheldWrite, MissingFileIsNotCreated)
{
    ScratchDir dir;
    std::string path = (dir / "gone.db").string();
    HandheldLists lists;
    EXPECT_EQ(kHandheldNoDatabase, WriteBack(path, "", lists));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(HandheldWrite, RepeatedIdsAndUidsStillGiveEveryRow)
{
    FixtureCopy copy("plain.db");
    HandheldLists lists;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, lists));
    // Two more records with the id and uid of the first, one with no uid; a
    // second category with the key of the first.
    auto* first = static_cast<CRecord*>(lists.records.GetHead());
    static const uint8_t none[8] = {};
    for (int i = 0; i < 2; ++i) {
        auto* twin = new CRecord;
        twin->SetId(first->GetId());
        twin->SetUid(i == 0 ? first->GetUid() : none);
        twin->SetField(0, i == 0 ? "twin" : "no uid");
        lists.records.Add(twin);
    }
    auto* category = new CCategoryItem;
    category->SetKey(static_cast<CBaseItem*>(lists.categories.GetHead())->GetKey());
    category->SetMainText("Same key");
    lists.categories.Add(category);
    // Tombstones of all three lists are not written.
    auto* tombstone = new CRecord;
    tombstone->SetId(424242);
    tombstone->SetField(0, "deleted");
    tombstone->SetDeleted(true);
    lists.records.Add(tombstone);
    auto* deletedType = new CTypeItem;
    static const uint8_t typeKey[8] = {0, 0, 0, 0, 0, 0, 0, 0x7D};
    deletedType->SetKey(typeKey);
    deletedType->SetDeleted(true);
    lists.types.Add(deletedType);
    auto* deletedCategory = new CCategoryItem;
    deletedCategory->SetKey(typeKey);
    deletedCategory->SetDeleted(true);
    lists.categories.Add(deletedCategory);

    ASSERT_EQ(kHandheldOk, WriteBack(copy.path, "", lists));
    EXPECT_EQ("8|8|8\n", Query(copy.path, "SELECT COUNT(*), COUNT(DISTINCT DUID), COUNT(DISTINCT UID) FROM "
                                          "RECORDSTABLE;"));
    EXPECT_EQ("3|3\n", Query(copy.path, "SELECT COUNT(*), COUNT(DISTINCT UID) FROM CATAGORIESTABLE;"));
    EXPECT_EQ("", Query(copy.path, "SELECT * FROM RECORDSTABLE WHERE DUID = 424242 OR UID = '0000000000000000';"));
    EXPECT_EQ("", Query(copy.path, "SELECT UID FROM TYPESTABLE WHERE UID = '000000000000007D' UNION SELECT UID FROM "
                                   "CATAGORIESTABLE WHERE UID = '000000000000007D';"));
}

TEST(HandheldWrite, EachSyncHasItsOwnTableOfHandheldColumns)
{
    // A first sync reads record 1001 (FLAGS 5) and never writes back.
    HandheldLists firstSync;
    ASSERT_EQ(kHandheldOk, ReadFile(HandheldFixture("plain.db"), firstSync));
    ASSERT_TRUE(firstSync.table.Find(1001));

    // A later sync whose handheld has no such row writes a record 1001 of
    // the desktop: the first sync's flags must not reach it.
    FixtureCopy copy("plain.db");
    Exec(copy.path, "DELETE FROM RECORDSTABLE;");
    HandheldLists laterSync;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, laterSync));
    auto* record = new CRecord;
    record->SetId(1001);
    record->SetField(0, "desktop");
    laterSync.records.Add(record);
    ASSERT_EQ(kHandheldOk, WriteBack(copy.path, "", laterSync));
    EXPECT_EQ("NULL|NULL\n", Query(copy.path, "SELECT FLAGS, RESERVED FROM RECORDSTABLE WHERE DUID = 1001;"));
}

TEST(HandheldWrite, CustomTypeRowsFollowTheRecords)
{
    FixtureCopy copy("plain.db");
    HandheldLists lists;
    ASSERT_EQ(kHandheldOk, ReadFile(copy.path, lists));
    // 1006 has no type; a label of its own gives it a custom row.
    auto* untyped = static_cast<CRecord*>(lists.records.FindById(1006));
    untyped->SetFieldLabel(0, "Site", nullptr);
    ASSERT_EQ(kHandheldOk, WriteBack(copy.path, "", lists));
    // 1002 has no type, icon 24 and the default labels: no custom row. 1003,
    // 1004 and 1111 had one on the handheld; 1001's type has empty labels,
    // which differ from the default labels the type is written with.
    EXPECT_EQ("1001|1\n1002|NULL\n1003|1\n1004|1\n1006|1\n1111|1\n",
              Query(copy.path, "SELECT DUID, HASCUSTOMFIELD FROM RECORDSTABLE ORDER BY DUID;"));
    EXPECT_EQ("Unfiled|24|Site|Field 2\n",
              Query(copy.path, "SELECT NAME, ICONID, FIELD1, FIELD2 FROM CUSTOMTYPESTABLE WHERE UID = (SELECT "
                               "CUSTOMTYPEUID FROM RECORDSTABLE WHERE DUID = 1006);"));
    // Every custom row has a uid of its own, new at each write-back.
    EXPECT_EQ("5|5\n", Query(copy.path, "SELECT COUNT(*), COUNT(DISTINCT UID) FROM CUSTOMTYPESTABLE;"));
    EXPECT_EQ("0\n", Query(copy.path, "SELECT COUNT(*) FROM CUSTOMTYPESTABLE WHERE UID IN ('1111111111111111', "
                                      "'2222222222222222');"));
}

}  // namespace
