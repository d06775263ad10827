// Damaged database files: what a load reports, the copy it keeps before
// anything is written, repeated keys, items packed past 64 KB by the older
// 16-bit rule, and the temporary file a killed save leaves. The damaged
// files are fixtures of tests/fixtures/db/make_db_fixtures.py.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "tests/support/FixedClock.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/DatabaseFixtures.h"

namespace fs = std::filesystem;

namespace {

const char kPassword[] = "Correct Horse 7";
const char kToday[] = "2026-12-10 09:30:00";
const char kDamagedCopy[] = "ZorvikanDatabase.zdb.damaged-2026-12-10";

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

std::set<std::string> FileNames(const zvtest::ScratchDir& dir)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir.Path()))
        names.insert(entry.path().filename().string());
    return names;
}

std::vector<uint8_t> Hex8(const char* hex)
{
    std::vector<uint8_t> key;
    for (int i = 0; i < 2 * kUniqueKeySize; i += 2)
        key.push_back(static_cast<uint8_t>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
    return key;
}

// The notes of the long records of long_items.zdb, as the generator builds them.
CString LongNote(const char* which, int lines)
{
    std::string note;
    char line[64];
    for (int i = 0; i < lines; ++i) {
        snprintf(line, sizeof line, "line %05d of the %s note\r\n", i, which);
        note += line;
    }
    std::string upper(which);
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return CString((note + "END OF THE " + upper + " NOTE").c_str());
}

}  // namespace

TEST(DatabaseDamage, WholeFilesReportNothingAndKeepNoCopyButOfAnUpgrade)
{
    struct Case {
        const char* name;
        bool password;
        const char* upgradeCopy;  // null: the load writes nothing
    } cases[] = {
        {"smallest.zdb", false, nullptr},
        {"defaults.zdb", false, nullptr},
        {"password.zdb", true, nullptr},
        {"long_items.zdb", true, nullptr},
        {"version6.zdb", false, "ZorvikanDatabase.zdb.v6.bak"},
        {"version4.zdb", false, "ZorvikanDatabase.zdb.v4.bak"},
        {"version2.zdb", true, "ZorvikanDatabase.zdb.v2.bak"},
    };
    const BlowfishKeyPtr key = MakeBlowfishKey(CString(kPassword));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zvtest::ScratchDir dir("dbdamage");
        const fs::path path = zvtest::CopyDbFixture(dir, c.name);
        CDatabaseObj db;
        ASSERT_EQ(db.Load(Str(path), c.password ? key.get() : nullptr), 0);
        EXPECT_EQ(db.GetLoadDamage(), 0u);
        EXPECT_EQ(db.GetBadChecksumCount(), 0);
        if (!c.upgradeCopy) {
            EXPECT_EQ(db.GetLoadCopyPath(), "");
            EXPECT_EQ(FileNames(dir), std::set<std::string>{"ZorvikanDatabase.zdb"});
            continue;
        }
        // The older file is kept as it was, and only then upgraded.
        EXPECT_EQ(db.GetLoadCopyPath(), Str(dir / c.upgradeCopy));
        EXPECT_EQ(zvtest::ReadFileBytes(dir / c.upgradeCopy), zvtest::DbFixtureBytes(c.name));
        EXPECT_EQ(ReadDatabaseFileVersion(Str(path)), kDatabaseFormatVersion);
        EXPECT_EQ(FileNames(dir), (std::set<std::string>{"ZorvikanDatabase.zdb", c.upgradeCopy}));
    }
}

TEST(DatabaseDamage, EachKindIsReportedAndTheFileKeptAsItWasRead)
{
    struct Case {
        const char* name;
        unsigned damage;
        int records, types, categories;
    } cases[] = {
        {"damaged_item.zdb", kLoadDamageChecksum, 2, 1, 2},
        {"damaged_count.zdb", kLoadDamageTrailingBytes, 2, 1, 1},
        {"duplicate_keys.zdb", kLoadDamageDuplicateKeys, 1, 2, 2},
        // An older file whose types count was lowered: the upgrade that
        // follows the load would have lost its types for good.
        {"damaged_v4.zdb", kLoadDamageTrailingBytes, 1, 0, 2},
    };
    zvtest::FixedClock clock(kToday);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zvtest::ScratchDir dir("dbdamage");
        const fs::path path = zvtest::CopyDbFixture(dir, c.name);
        CDatabaseObj db;
        ASSERT_EQ(db.Load(Str(path), nullptr), 0);
        EXPECT_EQ(db.GetLoadDamage(), c.damage);
        EXPECT_EQ(db.GetRecords().GetCount(), c.records);
        EXPECT_EQ(db.GetTypes().GetCount(), c.types);
        EXPECT_EQ(db.GetCategories().GetCount(), c.categories);
        EXPECT_EQ(db.GetLoadCopyPath(), Str(dir / kDamagedCopy));
        EXPECT_EQ(zvtest::ReadFileBytes(dir / kDamagedCopy), zvtest::DbFixtureBytes(c.name));
        EXPECT_EQ(FileNames(dir), (std::set<std::string>{"ZorvikanDatabase.zdb", kDamagedCopy}));
        // A save afterwards leaves the copy alone.
        ASSERT_EQ(db.Save(0, nullptr), 0);
        EXPECT_EQ(zvtest::ReadFileBytes(dir / kDamagedCopy), zvtest::DbFixtureBytes(c.name));
    }
}

TEST(DatabaseDamage, AChangedByteMarksItsItemWhichStillLoads)
{
    zvtest::FixedClock clock(kToday);
    zvtest::ScratchDir dir("dbdamage");
    const fs::path path = zvtest::CopyDbFixture(dir, "damaged_item.zdb");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    EXPECT_EQ(db.GetBadChecksumCount(), 1);
    const std::vector<CBaseItem*> records = zvtest::ItemsOf(db.GetRecords());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]->GetField(0), "Gront door");
    EXPECT_EQ(records[0]->GetField(1), "1234");
    EXPECT_TRUE(records[0]->HasBadChecksum());
    EXPECT_EQ(records[1]->GetField(0), "Back door");
    EXPECT_FALSE(records[1]->HasBadChecksum());
    for (CBaseItem* item : zvtest::ItemsOf(db.GetTypes())) EXPECT_FALSE(item->HasBadChecksum());
    // The load wrote nothing: the file is still the damaged one.
    EXPECT_EQ(zvtest::ReadFileBytes(path), zvtest::DbFixtureBytes("damaged_item.zdb"));

    // The same file loaded again finds its copy already kept.
    CDatabaseObj again;
    ASSERT_EQ(again.Load(Str(path), nullptr), 0);
    EXPECT_EQ(again.GetLoadCopyPath(), Str(dir / kDamagedCopy));
    // Another damaged state of the file never overwrites an earlier copy.
    dir.WriteFile("ZorvikanDatabase.zdb", zvtest::DbFixtureBytes("damaged_count.zdb"));
    ASSERT_EQ(again.Load(Str(path), nullptr), 0);
    const std::string second = std::string(kDamagedCopy) + "-2";
    EXPECT_EQ(again.GetLoadCopyPath(), Str(dir / second));
    EXPECT_EQ(zvtest::ReadFileBytes(dir / kDamagedCopy), zvtest::DbFixtureBytes("damaged_item.zdb"));
    EXPECT_EQ(zvtest::ReadFileBytes(dir / second), zvtest::DbFixtureBytes("damaged_count.zdb"));
}

TEST(DatabaseDamage, RepeatedKeysGetNewOnesAndRecordsKeepTheFirstItem)
{
    zvtest::FixedClock clock(kToday);
    zvtest::ScratchDir dir("dbdamage");
    const fs::path path = zvtest::CopyDbFixture(dir, "duplicate_keys.zdb");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    const std::vector<uint8_t> locksKey = Hex8("0A0B0C0D0E0F1011"), workKey = Hex8("2122232425262728");
    // In the file "Locks" comes before "Cards" and "Work" before "Home".
    struct Expect {
        const CUniqueList& list;
        const char* first;
        const char* second;
        std::vector<uint8_t> key;
    } lists[] = {{db.GetTypes(), "Locks", "Cards", locksKey}, {db.GetCategories(), "Work", "Home", workKey}};
    for (const Expect& e : lists) {
        SCOPED_TRACE(e.first);
        CBaseItem* first = e.list.FindByName(e.first);
        CBaseItem* second = e.list.FindByName(e.second);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(zvtest::KeyBytes(first->GetKey()), e.key);
        EXPECT_FALSE(first->IsModified());
        EXPECT_NE(zvtest::KeyBytes(second->GetKey()), e.key);
        EXPECT_FALSE(IsNullUniqueKey(second->GetKey()));
        EXPECT_TRUE(second->IsModified());
    }
    const CRecord* record = static_cast<CRecord*>(zvtest::ItemsOf(db.GetRecords())[0]);
    EXPECT_EQ(db.GetTypes().GetNameByKey(record->GetTypeKey()), "Locks");
    EXPECT_EQ(db.GetCategories().GetNameByKey(record->GetCategoryKey()), "Work");

    // Saved, the keys are unique for good.
    ASSERT_EQ(db.Save(0, nullptr), 0);
    CDatabaseObj back;
    ASSERT_EQ(back.Load(Str(path), nullptr), 0);
    EXPECT_EQ(back.GetLoadDamage(), 0u);
    EXPECT_EQ(back.GetTypes().GetCount(), 2);
    EXPECT_EQ(back.GetCategories().GetCount(), 2);
}

TEST(DatabaseDamage, RecordsPackedPast64KilobytesByEitherRuleReadWhole)
{
    // The first record of the file was written by the older 16-bit rule:
    // encrypted and checksummed only in part. Read by its checksum's rule it
    // comes back whole, and the save writes it in our form.
    zvtest::ScratchDir dir("dbdamage");
    const fs::path path = zvtest::CopyDbFixture(dir, "long_items.zdb");
    const BlowfishKeyPtr key = MakeBlowfishKey(CString(kPassword));
    const CString first = LongNote("first", 2300), second = LongNote("second", 2300);
    ASSERT_NE(zvtest::DbFixtureBytes("long_items.zdb").find("END OF THE FIRST NOTE"), std::string::npos);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "fixture" : "saved again");
        CDatabaseObj db;
        ASSERT_EQ(db.Load(Str(path), key.get()), 0);
        EXPECT_EQ(db.GetLoadDamage(), 0u);
        const std::vector<CBaseItem*> records = zvtest::ItemsOf(db.GetRecords());
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0]->GetField(0), "Old writer");
        EXPECT_EQ(records[0]->GetNotes(), first);
        EXPECT_EQ(records[1]->GetField(0), "New writer");
        EXPECT_EQ(records[1]->GetNotes(), second);
        ASSERT_EQ(db.Save(0, key.get()), 0);
        const std::string bytes = zvtest::ReadFileBytes(path);
        EXPECT_EQ(bytes.find("END OF THE"), std::string::npos);
        EXPECT_EQ(bytes.find("of the first note"), std::string::npos);
    }
}

TEST(DatabaseDamage, AReadOnlyLoadOwesTheCopyToTheFirstSave)
{
    zvtest::FixedClock clock(kToday);
    zvtest::ScratchDir dir("dbdamage");
    const fs::path path = zvtest::CopyDbFixture(dir, "damaged_count.zdb");
    CDatabaseObj db;
    db.SetReadOnly();
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    EXPECT_EQ(db.GetLoadDamage(), kLoadDamageTrailingBytes);
    EXPECT_EQ(db.GetLoadCopyPath(), "");
    EXPECT_EQ(FileNames(dir), std::set<std::string>{"ZorvikanDatabase.zdb"});
    db.ClearReadOnly();
    ASSERT_EQ(db.Save(0, nullptr), 0);
    EXPECT_EQ(db.GetLoadCopyPath(), Str(dir / kDamagedCopy));
    EXPECT_EQ(zvtest::ReadFileBytes(dir / kDamagedCopy), zvtest::DbFixtureBytes("damaged_count.zdb"));
}

TEST(DatabaseDamage, ALoadRemovesTheTemporaryFileOfAKilledSave)
{
    zvtest::ScratchDir dir("dbdamage");
    const fs::path path = zvtest::CopyDbFixture(dir, "smallest.zdb");
    const fs::path temp = dir.WriteFile("ZorvikanDatabase.zdb.tmp", "half a database");
    // Neither a read-only load nor one that fails touches it.
    CDatabaseObj db;
    db.SetReadOnly();
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    EXPECT_TRUE(fs::exists(temp));
    db.ClearReadOnly();
    dir.WriteFile("ZorvikanDatabase.zdb", zvtest::DbFixtureBytes("smallest.zdb").substr(0, 60));
    EXPECT_NE(db.Load(Str(path), nullptr), 0);
    EXPECT_TRUE(fs::exists(temp));
    zvtest::CopyDbFixture(dir, "smallest.zdb");
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_EQ(FileNames(dir), std::set<std::string>{"ZorvikanDatabase.zdb"});
}
