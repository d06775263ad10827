// Opening the user's database for the main view: a load that fails holds the
// object read-only, so no save ever writes over the file that was not read.
#include <gtest/gtest.h>

#include <string>

#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/data/UserDatabaseOpen.h"
#include "tests/support/DatabaseFixtures.h"
#include "tests/support/ScratchDir.h"

namespace {

CString Str(const std::filesystem::path& p) { return CString(p.string().c_str()); }

// What a failed load leaves behind and why, one case each.
struct BadFile {
    const char* name;
    std::string bytes;
};

TEST(UserDatabaseOpen, AFailedLoadHoldsTheDatabaseReadOnlyAndNeverSaves)
{
    const std::string whole = zvtest::DbFixtureBytes("defaults.zdb");
    const BadFile cases[] = {
        {"cut short", whole.substr(0, whole.size() / 2)},
        {"garbage", std::string(300, '\x5a')},
        {"newer version",
         [&] {
             std::string newer = whole;
             newer[44] = 99;  // the format version lies at offset 44
             return newer;
         }()},
    };
    for (const BadFile& bad : cases) {
        zvtest::ScratchDir dir("open-fails");
        const auto path = dir.WriteFile("ZorvikanDatabase.zdb", bad.bytes);
        CDatabaseObj db;
        const int result = OpenUserDatabase(db, Str(dir.Path()), false);
        EXPECT_NE(0, result) << bad.name;
        EXPECT_TRUE(db.IsReadOnly()) << bad.name;
        // A change made afterwards (a record added) is never written.
        db.GetRecords().Add(new CRecord);
        EXPECT_NE(0, db.Save()) << bad.name;
        EXPECT_EQ(bad.bytes, zvtest::ReadFileBytes(path)) << bad.name;
        EXPECT_FALSE(DescribeOpenFailure(db.GetFilePath(), result).IsEmpty());
    }
}

TEST(UserDatabaseOpen, ALaterOpenThatSucceedsMakesItWritableAgain)
{
    zvtest::ScratchDir dir("open-again");
    const auto path = dir.WriteFile("ZorvikanDatabase.zdb", "not a database at all");
    CDatabaseObj db;
    ASSERT_NE(0, OpenUserDatabase(db, Str(dir.Path()), false));
    zvtest::CopyDbFixture(dir, "defaults.zdb");
    ASSERT_EQ(0, OpenUserDatabase(db, Str(dir.Path()), true));
    EXPECT_FALSE(db.IsReadOnly());
    EXPECT_EQ(0, db.Save());
}

TEST(UserDatabaseOpen, AMissingFileBecomesANewDatabase)
{
    zvtest::ScratchDir dir("open-new");
    CDatabaseObj db;
    db.SetReadOnly();
    EXPECT_EQ(0, OpenUserDatabase(db, Str(dir.Path() / "user"), false));
    EXPECT_FALSE(db.IsReadOnly());
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "user" / "ZorvikanDatabase.zdb"));
}

TEST(UserDatabaseOpen, NoFolderIsAFailure)
{
    CDatabaseObj db;
    EXPECT_EQ(-1, OpenUserDatabase(db, CString(), true));
    EXPECT_TRUE(db.IsReadOnly());
}

}  // namespace
