// Reading the handheld's database: every fixture made by
// tests/fixtures/handheld/make_fixtures.py against the lists it must give.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "sync/handheld/HandheldSchema.h"
#include "tests/support/ScratchDir.h"
#include "tests/sync/HandheldTestLists.h"

using namespace zvtest;

namespace {

struct FixtureCase {
    const char* file;
    int result;
};

// Readable fixtures give their ".expected" lists; damaged ones their code
// and nothing at all.
const FixtureCase kFixtures[] = {
    {"plain.db", kHandheldOk},
    {"empty_password.db", kHandheldOk},
    {"encrypted.db", kHandheldOk},
    {"quote_in_uid.db", kHandheldOk},
    {"odd_custom_uid.db", kHandheldOk},
    {"not_sqlite.db", kHandheldNotReadable},
    {"truncated.db", kHandheldNotReadable},
    {"missing_records_table.db", kHandheldNotReadable},
    {"no_info_row.db", kHandheldNoInfoRow},
    {"wrong_type.db", kHandheldBadRow},
    {"bad_uid.db", kHandheldBadRow},
    {"huge_value.db", kHandheldValueTooLong},
    {"duplicate_duid.db", kHandheldDuplicate},
    {"duplicate_category.db", kHandheldDuplicate},
    {"short_row.db", kHandheldForeignSchema},
    {"corrupt_page.db", kHandheldNotReadable},
    // Refused before any row is stepped: the view's query would never end.
    {"view_info.db", kHandheldForeignSchema},
    {"trigger.db", kHandheldForeignSchema},
    {"virtual_table.db", kHandheldForeignSchema},
    {"generated_column.db", kHandheldForeignSchema},
    {"numeric_typeuid.db", kHandheldForeignSchema},
};

class HandheldFixtureTest : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(HandheldFixtureTest, ReadsTheExpectedListsOrFailsWithItsCode)
{
    const FixtureCase& c = GetParam();
    std::string path = HandheldFixture(c.file);
    std::string before = ReadFileBytes(path);
    ASSERT_FALSE(before.empty());

    HandheldLists lists;
    int result = ReadFile(path, lists);
    EXPECT_EQ(c.result, result);
    if (c.result == kHandheldOk) {
        std::string expected = ReadFileBytes(std::filesystem::path(path).replace_extension(".expected"));
        EXPECT_EQ(expected, Dump(lists));
    } else {
        // The pass that failed added nothing; the passes before it may have.
        EXPECT_EQ(0, lists.records.GetCount());
        EXPECT_EQ(0, lists.table.GetCount());
    }
    // Reading never changes the received file.
    EXPECT_EQ(before, ReadFileBytes(path));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, HandheldFixtureTest, ::testing::ValuesIn(kFixtures),
                         [](const ::testing::TestParamInfo<FixtureCase>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(HandheldRead, InformationRowAndPassword)
{
    HandheldLists lists;
    CHandheldDatabaseInfo info;
    ASSERT_EQ(kHandheldOk, ReadFile(HandheldFixture("encrypted.db"), lists, &info));
    EXPECT_STREQ("Zorvikan", info.databaseName);
    EXPECT_EQ(3, info.version);
    EXPECT_EQ(std::vector<uint8_t>({1, 2, 'c', 'r', 'i', 'b'}), info.passwordCrib);
    EXPECT_STREQ("s3cret!pw", info.password.c_str());
    EXPECT_EQ(1236240000.0, info.dateCreated);
    EXPECT_STREQ("Joe", info.userName);
    EXPECT_STREQ("user-1", info.userId);

    CHandheldDatabaseInfo plainInfo;
    HandheldLists plain;
    ASSERT_EQ(kHandheldOk, ReadFile(HandheldFixture("plain.db"), plain, &plainInfo));
    EXPECT_TRUE(plainInfo.password.IsEmpty());
}

TEST(HandheldRead, ReadingNeverCreatesAFile)
{
    ScratchDir dir;
    std::string path = (dir / "missing.db").string();
    HandheldLists lists;
    EXPECT_NE(kHandheldOk, ReadFile(path, lists));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(HandheldRead, EmptyPathHasNoDatabase)
{
    std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabase(CString());
    EXPECT_FALSE(database->HasDatabase());
    HandheldLists lists;
    EXPECT_EQ(kHandheldNoDatabase, ReadAll(*database, lists));
}

// The desktop's side for the deleted lists: categories C1 and C2, types AA
// and 12, records 1001 (category C1, type AA, deleted already) and 1002.
struct DesktopLists : HandheldLists {
    DesktopLists()
    {
        static const uint8_t c1[8] = {0, 0, 0, 0, 0, 0, 0, 0xC1}, c2[8] = {0, 0, 0, 0, 0, 0, 0, 0xC2};
        static const uint8_t aa[8] = {0, 0, 0, 0, 0, 0, 0, 0xAA}, t12[8] = {0, 0, 0, 0, 0, 0, 0, 0x12};
        for (const uint8_t* key : {c1, c2}) {
            auto* category = new CCategoryItem;
            category->SetKey(key);
            category->SetId(key[7]);
            categories.Add(category);
        }
        for (const uint8_t* key : {aa, t12}) {
            auto* type = new CTypeItem;
            type->SetKey(key);
            type->SetId(key[7] + 1000);
            types.Add(type);
        }
        for (int32_t id : {1001, 1002}) {
            auto* record = new CRecord;
            record->SetId(id);
            record->SetCategoryKey(c1);
            record->SetTypeKey(aa);
            record->SetField(0, "value");
            record->SetDeleted(id == 1001);
            records.Add(record);
        }
    }
};

TEST(HandheldRead, DeletedListsApplyToTheDesktopLists)
{
    DesktopLists desktop;
    std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabase(HandheldFixture("plain.db").c_str());
    ASSERT_EQ(kHandheldOk, database->ApplyDeletedCategories(desktop.categories, desktop.records));
    ASSERT_EQ(kHandheldOk, database->ApplyDeletedTypes(desktop.types, desktop.records));
    ASSERT_EQ(kHandheldOk, database->ApplyDeletedRecords(desktop.records));

    static const uint8_t c1[8] = {0, 0, 0, 0, 0, 0, 0, 0xC1}, aa[8] = {0, 0, 0, 0, 0, 0, 0, 0xAA};
    CBaseItem* category = desktop.categories.FindByKey(c1);
    EXPECT_TRUE(category == nullptr || category->IsDeleted());
    CBaseItem* type = desktop.types.FindByKey(aa);
    EXPECT_TRUE(type == nullptr || type->IsDeleted());
    // Records lose the deleted category and type, tombstones included; the
    // record the handheld deleted (matched by DUID) is deleted here.
    for (int32_t id : {1001, 1002}) {
        auto* record = static_cast<CRecord*>(desktop.records.FindById(id));
        ASSERT_NE(nullptr, record);
        EXPECT_TRUE(IsNullUniqueKey(record->GetCategoryKey())) << id;
        EXPECT_TRUE(IsNullUniqueKey(record->GetTypeKey())) << id;
        EXPECT_TRUE(record->IsDeleted()) << id;
    }
}

TEST(HandheldRead, EditedRecordsAreMarkedModifiedByTheirId)
{
    // The fixture lists 1003 and 4242 as edited; of two records with one id
    // the first is the one marked.
    CRecordList records;
    const int32_t ids[] = {1004, 1003, 4242, 1003};
    for (int32_t id : ids) {
        auto* record = new CRecord;
        record->SetId(id);
        record->SetModified(false);
        record->SetModifiedTime(5);
        records.Add(record);
    }
    std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabase(HandheldFixture("plain.db").c_str());
    ASSERT_EQ(kHandheldOk, database->ApplyEditedRecords(records));
    const bool marked[] = {false, true, true, false};
    int index = 0;
    for (POSITION pos = records.GetHeadPosition(); pos; ++index) {
        const CBaseItem* record = static_cast<const CBaseItem*>(records.GetNext(pos));
        EXPECT_EQ(record->IsModified(), marked[index]) << index;
        EXPECT_EQ(record->GetModifiedTime() != 5, marked[index]) << index;
    }
}

TEST(HandheldRead, DeletedRecordLosesItsAttachmentFile)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir / "Files");
    DesktopLists desktop;
    auto* record = static_cast<CRecord*>(desktop.records.FindById(1002));
    record->SetAttachmentName("scan.pdf");
    record->SetAttachmentKey("key");
    std::filesystem::path stored = dir / "Files" / record->GetAttachmentFileName().GetString();
    dir.WriteFile(("Files/" + stored.filename().string()), "attachment");
    ASSERT_TRUE(std::filesystem::exists(stored));

    std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabase(HandheldFixture("plain.db").c_str());
    // The program's paths use backslashes, on the host build too.
    std::string databasePath = (dir / "User.zdb").string();
    std::replace(databasePath.begin(), databasePath.end(), '/', '\\');
    database->SetDatabasePath(databasePath.c_str());
    ASSERT_EQ(kHandheldOk, database->ApplyDeletedRecords(desktop.records));
    EXPECT_TRUE(record->IsDeleted());
    EXPECT_FALSE(record->HasAttachment());
    EXPECT_FALSE(std::filesystem::exists(stored));
}

TEST(HandheldRead, DamagedDeletedListChangesNothing)
{
    // A file whose records table is missing still has its deleted lists,
    // but one without them fails before touching the desktop.
    DesktopLists desktop;
    std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabase(HandheldFixture("not_sqlite.db").c_str());
    EXPECT_EQ(kHandheldNotReadable, database->ApplyDeletedCategories(desktop.categories, desktop.records));
    EXPECT_EQ(kHandheldNotReadable, database->ApplyDeletedRecords(desktop.records));
    auto* record = static_cast<CRecord*>(desktop.records.FindById(1002));
    EXPECT_FALSE(record->IsDeleted());
    EXPECT_FALSE(IsNullUniqueKey(record->GetCategoryKey()));
}

}  // namespace

namespace {

TEST(HandheldRead, APassPastItsDeadlineIsCutShort)
{
    // Enough rows that reading them takes many of the steps between two
    // looks at the clock.
    ScratchDir dir;
    const std::string path = (dir / "many.db").string();
    std::filesystem::copy_file(HandheldFixture("plain.db"), path);
    {
        CSQLiteDBWrapper db(path.c_str(), SQLITE_OPEN_READWRITE);
        ASSERT_EQ(SQLITE_OK, db.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                                     "INSERT INTO RECORDSTABLE (UID, DUID, VALUE1) "
                                     "SELECT printf('C%015d', i), 50000 + i, CAST('row' AS BLOB) FROM n;"));
    }
    for (bool late : {false, true}) {
        std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabase(path.c_str());
        if (late) database->SetDeadline(HandheldClockMs() - 1);
        HandheldLists lists;
        EXPECT_EQ(late ? kHandheldNotReadable : kHandheldOk,
                  database->ReadRecords(lists.records, lists.types, lists.table))
            << late;
        if (late)
            EXPECT_EQ(0, lists.records.GetCount());
        else
            EXPECT_GT(lists.records.GetCount(), 3000);
    }
}

TEST(HandheldRead, DeclaredTypesTakeSQLitesAffinity)
{
    const std::pair<const char*, char> cases[] = {
        {"INTEGER", 'I'}, {"tinyint", 'I'}, {"TEXT", 'T'},   {"VARCHAR(16)", 'T'}, {"CLOB", 'T'}, {"", 'B'},
        {"BLOB", 'B'},    {"REAL", 'R'},    {"DOUBLE", 'R'}, {"NUMERIC", 'N'},     {"DATE", 'N'}, {"CHARINT", 'I'},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, DeclaredAffinity(c.first)) << c.first;
}

TEST(SQLiteDBWrapper, FailedOpenAndNullText)
{
    ScratchDir dir;
    // Read-only, without create: a missing file does not open, and closing
    // what was never opened answers -1.
    CSQLiteDBWrapper missing((dir / "none.db").string().c_str(), SQLITE_OPEN_READONLY);
    EXPECT_FALSE(missing.HasDatabase());
    EXPECT_EQ(-1, missing.Close());
    CSQLiteDBWrapper tooShort("x", SQLITE_OPEN_READONLY);
    EXPECT_EQ(-1, tooShort.Open());

    CSQLiteDBWrapper db(HandheldFixture("plain.db").c_str(), SQLITE_OPEN_READONLY);
    ASSERT_TRUE(db.HasDatabase());
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(SQLITE_OK, db.Prepare("SELECT NULL, 'caf\xC3\xA9';", &statement));
    ASSERT_EQ(SQLITE_ROW, db.Step(statement));
    EXPECT_TRUE(db.ColumnText16(statement, 0).empty());
    EXPECT_EQ(u"caf\u00E9", db.ColumnText16(statement, 1));
    EXPECT_EQ(SQLITE_DONE, db.Step(statement));
    EXPECT_EQ(SQLITE_OK, db.Finalize(statement));
    EXPECT_EQ(SQLITE_OK, db.Close());
}

}  // namespace
