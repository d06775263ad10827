// What a load spends per item: identities come from the file, not from the
// key generator, and the lazily kept parts of a record read back whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/os/ProcessSeams.h"
#include "core/crypto/BlowfishKey.h"
#include "core/items/Record.h"
#include "core/items/UniqueKey.h"
#include "core/store/DatabaseObj.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/DatabaseFixtures.h"

namespace fs = std::filesystem;

namespace {

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

constexpr uint64_t kClockFileTime = 134413841480000000ull;  // 2026-12-10 13:49:08

// The unique key clock, counting how often a key was drawn.
int g_keyDraws = 0;
uint32_t Tick() { return 1; }
uint64_t CountedFileTime()
{
    ++g_keyDraws;
    return kClockFileTime;
}
struct CountingKeyClock {
    CountingKeyClock()
    {
        static const UniqueKeyClock clock = {Tick, CountedFileTime};
        g_keyDraws = 0;
        SetUniqueKeyClock(&clock);
    }
    ~CountingKeyClock() { SetUniqueKeyClock(nullptr); }
};

std::vector<CRecord*> Records(CDatabaseObj& db)
{
    std::vector<CRecord*> out;
    for (POSITION pos = db.GetRecords().GetHeadPosition(); pos;)
        out.push_back(static_cast<CRecord*>(db.GetRecords().GetNext(pos)));
    return out;
}

std::string Hex(const uint8_t* key)
{
    char text[2 * kUniqueKeySize + 1];
    UniqueKeyToHex(key, text);
    return text;
}

}  // namespace

TEST(DatabaseLoad, RecordsTakeTheFilesUidsAndDrawNoKeys)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "password.zdb");
    const BlowfishKeyPtr key = MakeBlowfishKey(CString("Correct Horse 7"));
    CountingKeyClock clock;
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), key.get()), 0);
    EXPECT_EQ(g_keyDraws, 0);
    const std::vector<CRecord*> records = Records(db);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(Hex(records[0]->GetUid()), "0102030405060708");
    EXPECT_EQ(Hex(records[1]->GetUid()), "1112131415161718");
    EXPECT_EQ(Hex(records[2]->GetUid()), "2122232425262728");
    // A record made afterwards still draws its own.
    CRecord made;
    EXPECT_EQ(g_keyDraws, 1);
    EXPECT_FALSE(IsNullUniqueKey(made.GetUid()));
}

TEST(DatabaseLoad, RecordsOfFilesWithoutUidsGetNewOnes)
{
    struct Case {
        const char* fixture;
        const char* password;
    };
    const Case cases[] = {{"version4.zdb", nullptr}, {"version2.zdb", "Correct Horse 7"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        zvtest::ScratchDir dir("db");
        const fs::path path = zvtest::CopyDbFixture(dir, c.fixture);
        const BlowfishKeyPtr key = c.password ? MakeBlowfishKey(CString(c.password)) : nullptr;
        CountingKeyClock clock;
        CDatabaseObj db;
        ASSERT_EQ(db.Load(Str(path), key.get()), 0);
        const std::vector<CRecord*> records = Records(db);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_GE(g_keyDraws, 1);
        // Seconds since 1904 of the clock, in bytes 4-7.
        const uint32_t seconds = FileTimeToSeconds1904(kClockFileTime);
        const uint8_t* uid = records[0]->GetUid();
        EXPECT_EQ(uint32_t(uid[4]) << 24 | uint32_t(uid[5]) << 16 | uint32_t(uid[6]) << 8 | uid[7], seconds);
    }
}
