#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "core/os/ChangeNotify.h"
#include "core/items/Category.h"
#include "core/os/ProcessSeams.h"
#include "core/store/DatabaseMutex.h"
#include "core/store/DatabaseObj.h"
#include "core/items/DefaultItems.h"
#include "core/items/ItemPacking.h"
#include "core/store/MasterPwdMgr.h"
#include "core/os/PathUtils.h"
#include "core/users/Platform.h"
#include "core/store/PasswordVerifier.h"
#include "core/items/Record.h"
#include "core/store/ReplacingFile.h"
#include "core/items/TypeItem.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "tests/support/FailingFile.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/DatabaseFixtures.h"

namespace fs = std::filesystem;

namespace {

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

// The MSVC runtime's rand(), the source the fixture script draws its random
// tails from: the same bytes in both builds.
uint32_t g_seed = 1;
int MsvcrtRand()
{
    g_seed = g_seed * 214013u + 2531011u;
    return static_cast<int>((g_seed >> 16) & 0x7FFF);
}
struct TailSource {
    explicit TailSource(uint32_t seed)
    {
        g_seed = seed;
        SetPackRandomSource(&MsvcrtRand);
    }
    ~TailSource() { SetPackRandomSource(nullptr); }
};

const char kFixturePassword[] = "Correct Horse 7";

struct Fixture {
    const char* name;
    uint32_t seed;
    const char* password;  // null: none
};
const Fixture kFixtures[] = {
    {"smallest.zdb", 1, nullptr},
    {"defaults.zdb", 2, nullptr},
    {"password.zdb", 3, kFixturePassword},
};

BlowfishKeyPtr KeyOf(const char* password) { return password ? MakeBlowfishKey(CString(password)) : nullptr; }

std::vector<uint8_t> K(std::initializer_list<int> bytes)
{
    std::vector<uint8_t> k;
    for (int b : bytes) k.push_back(static_cast<uint8_t>(b));
    return k;
}
std::vector<uint8_t> Preset(int n) { return K({0, 0, 0, 0, 0, 0, (n >> 8) & 255, n & 255}); }

int FailBeforeReplace(const CString&, const CString&) { return 1117; }  // an I/O error at that moment

}  // namespace

// ------------------------------------------------------------ fixtures

TEST(DatabaseFixtures, SmallestFileLoads)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "smallest.zdb");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    EXPECT_EQ(db.GetFormatVersion(), 7);
    ASSERT_EQ(db.GetRecords().GetCount(), 1);
    EXPECT_EQ(db.GetTypes().GetCount(), 0);
    EXPECT_EQ(db.GetCategories().GetCount(), 0);
    CRecord* r = dynamic_cast<CRecord*>(zvtest::ItemsOf(db.GetRecords())[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetId(), 0x1234);
    EXPECT_EQ(zvtest::KeyBytes(r->GetUid()), K({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(r->AllFieldsEmpty());
    EXPECT_EQ(r->GetIcon(), 24);
    EXPECT_EQ(r->GetNotes(), "");
    EXPECT_FALSE(r->IsModified());
    EXPECT_EQ(zvtest::ReadFileBytes(path), zvtest::DbFixtureBytes("smallest.zdb"));  // a version-7 load writes nothing
}

TEST(DatabaseFixtures, DefaultsFileLoadsInNameOrder)
{
    zvtest::ScratchDir dir("db");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(zvtest::CopyDbFixture(dir, "defaults.zdb")), nullptr), 0);
    const std::vector<CBaseItem*> types = zvtest::ItemsOf(db.GetTypes());
    ASSERT_EQ(types.size(), 18u);
    const char* names[] = {"Bank Accts",   "Birthdays",   "Calling Cards",  "Clothes Size",   "Combinations",
                           "Credit Cards", "Email Accts", "Emergency Info", "Frequent Flyer", "Identification",
                           "Insurance",    "Memberships", "Phone Numbers",  "Prescriptions",  "Serial Numbers",
                           "Vehicle Info", "Voice Mail",  "Web Logins"};
    for (int i = 0; i < 18; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(types[i]->GetName(), names[i]);
        EXPECT_EQ(zvtest::KeyBytes(types[i]->GetKey()), Preset(i + 1));
        EXPECT_EQ(types[i]->GetId(), 0x0101 + i);
        EXPECT_EQ(types[i]->GetField(9), "Date Mod");
        EXPECT_EQ(dynamic_cast<CTypeItem*>(types[i])->GetColumns().GetColumnWidth(1), 140);
    }
    EXPECT_EQ(types[17]->GetField(3), "URL");
    EXPECT_EQ(types[17]->GetField(4), "Field 5");
    EXPECT_EQ(types[17]->GetIcon(), 21);
    EXPECT_EQ(types[5]->GetHiddenMask(), 0x0012);
    const std::vector<CBaseItem*> cats = zvtest::ItemsOf(db.GetCategories());
    ASSERT_EQ(cats.size(), 2u);
    EXPECT_EQ(cats[0]->GetName(), "Business");
    EXPECT_EQ(zvtest::KeyBytes(cats[1]->GetKey()), Preset(0x34));
}

TEST(DatabaseFixtures, PasswordFileLoadsWithItsKeyAndCarriesTheHeader)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "password.zdb");
    uint8_t verifier[kVerifierSize];
    ASSERT_EQ(MakeCheckVerifier(kFixturePassword, verifier), 0);
    EXPECT_EQ(0, memcmp(zvtest::DbFixtureBytes("password.zdb").data(), verifier, kVerifierSize));
    EXPECT_TRUE(CheckDatabasePassword(Str(path), nullptr));

    CDatabaseObj db;
    const BlowfishKeyPtr key = KeyOf(kFixturePassword);
    ASSERT_EQ(db.Load(Str(path), key.get()), 0);
    EXPECT_TRUE(db.VerifierEquals(verifier));
    EXPECT_EQ(db.GetHeaderLong(), 0x11223344);
    EXPECT_EQ(db.GetHeaderText(), "hdr text");
    EXPECT_EQ(db.GetHeaderWord(), 0x0506);
    EXPECT_EQ(db.GetHeaderLong2(), -2);
    EXPECT_EQ(db.GetHeaderLong3(), 0x7FFFFFFF);

    const std::vector<CBaseItem*> records = zvtest::ItemsOf(db.GetRecords());
    ASSERT_EQ(records.size(), 3u);
    CRecord* full = dynamic_cast<CRecord*>(records[0]);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->GetField(0), "My bank");
    EXPECT_EQ(full->GetField(2), "s3cr3t!");
    EXPECT_EQ(full->GetField(9), "2026-12-10");
    EXPECT_EQ(full->GetNotes(), "line one\r\nline two");
    EXPECT_EQ(full->GetViewCount(), 42);
    EXPECT_EQ(full->GetAttachmentName(), "scan.pdf");
    EXPECT_EQ(full->GetAttachmentKey(), "Ab3$Ab3$Ab3$Ab3$Ab3$");
    EXPECT_EQ(full->GetCustomLabel(3), "Web site");
    EXPECT_EQ(zvtest::KeyBytes(full->GetTypeKey()), Preset(0x12));
    EXPECT_EQ(zvtest::KeyBytes(full->GetCategoryKey()), Preset(0x33));
    EXPECT_EQ(full->GetIcon(), 21);
    EXPECT_EQ(full->GetHiddenMask(), 4);
    EXPECT_EQ(full->GetModifiedTime(), 1700000000);
    EXPECT_TRUE(full->IsModified());
    EXPECT_EQ(full->GetReservedWord(), 7);
    EXPECT_EQ(full->GetReservedLong(), -2);
    EXPECT_EQ(full->GetAttachmentChanged(), 1);
    EXPECT_TRUE(records[2]->IsDeleted());
    EXPECT_EQ(records[2]->GetField(0), "old");

    const std::vector<CBaseItem*> types = zvtest::ItemsOf(db.GetTypes());
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0]->GetName(), "Web Logins");  // name order
    EXPECT_EQ(types[1]->GetName(), "Wine Cellar");
    EXPECT_EQ(types[1]->GetModifiedTime(), 1600000000);
    EXPECT_EQ(dynamic_cast<CTypeItem*>(types[1])->GetColumns().IsColumnVisible(0), 0);
    EXPECT_EQ(dynamic_cast<CTypeItem*>(types[1])->GetColumns().GetColumnWidth(0), 40);

    // Under a wrong key the verifier refuses the file instead of giving
    // its items as garbage; nothing is read and nothing may be saved over it.
    const std::string bytes = zvtest::ReadFileBytes(path);
    CDatabaseObj wrong;
    const BlowfishKeyPtr other = KeyOf("not it");
    EXPECT_EQ(wrong.Load(Str(path), other.get()), kDatabaseWrongKey);
    EXPECT_EQ(wrong.GetRecords().GetCount(), 0);
    EXPECT_EQ(wrong.GetTypes().GetCount(), 0);
    EXPECT_FALSE(wrong.CanSave());
    EXPECT_EQ(zvtest::ReadFileBytes(path), bytes);
}

TEST(DatabaseFixtures, AFileWithoutAVerifierLoadsUnderAnyKey)
{
    // Nothing can tell its key: the caller's to know.
    zvtest::ScratchDir dir("db");
    const BlowfishKeyPtr key = KeyOf("its own");
    CDatabaseObj db;
    db.SetFilePath(Str(dir / "plain.zdb"));
    CRecord* record = new CRecord;
    record->SetField(0, "kept");
    db.GetRecords().Add(record);
    ASSERT_EQ(db.Save(0, key.get()), 0);
    for (const char* password : {"its own", "another"}) {
        CDatabaseObj back;
        EXPECT_EQ(back.Load(Str(dir / "plain.zdb"), KeyOf(password).get()), 0) << password;
        EXPECT_EQ(back.GetRecords().GetCount(), 1) << password;
    }
}

TEST(DatabaseFixtures, OurWriterReproducesEachFixtureByteForByte)
{
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.name);
        zvtest::ScratchDir dir("db");
        const fs::path path = zvtest::CopyDbFixture(dir, f.name);
        const BlowfishKeyPtr key = KeyOf(f.password);
        CDatabaseObj db;
        ASSERT_EQ(db.Load(Str(path), key.get()), 0);
        db.SetFilePath(Str(dir / "again.zdb"));
        // The types are written in name order, the order of the fixtures.
        TailSource tails(f.seed);
        ASSERT_EQ(db.Save(0, key.get()), 0);
        EXPECT_EQ(zvtest::ReadFileBytes(dir / "again.zdb"), zvtest::DbFixtureBytes(f.name));
    }
}

TEST(DatabaseFixtures, NewDatabasesAreWrittenAsTheFixtures)
{
    zvtest::ScratchDir dir("db");
    {
        CDatabaseObj db;
        db.SetFilePath(Str(dir / "smallest.zdb"));
        CRecord* r = new CRecord;
        r->SetId(0x1234);
        const uint8_t uid[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        r->SetUid(uid);
        db.GetRecords().Add(r);
        TailSource tails(1);
        ASSERT_EQ(db.Save(0, nullptr), 0);
        EXPECT_EQ(zvtest::ReadFileBytes(dir / "smallest.zdb"), zvtest::DbFixtureBytes("smallest.zdb"));
    }
    {
        CDatabaseObj db;
        db.SetFilePath(Str(dir / "defaults.zdb"));
        ASSERT_EQ(CreateDefaultTypes(db.GetTypes()), 0);
        ASSERT_EQ(CreateDefaultCategories(db.GetCategories()), 0);
        int n = 0;
        for (CBaseItem* t : zvtest::ItemsOf(db.GetTypes())) t->SetId(0x0101 + n++);
        n = 0;
        for (CBaseItem* c : zvtest::ItemsOf(db.GetCategories())) c->SetId(0x0201 + n++);
        TailSource tails(2);
        ASSERT_EQ(db.Save(0, nullptr), 0);
        EXPECT_EQ(zvtest::ReadFileBytes(dir / "defaults.zdb"), zvtest::DbFixtureBytes("defaults.zdb"));
    }
}

// ------------------------------------------------------------ round trips

namespace {

CRecord* MakeFullRecord(int n)
{
    CRecord* r = new CRecord;
    for (int i = 0; i < kItemFieldCount; ++i) {
        CString v;
        v.Format("value %d of record %d", i, n);
        r->SetField(i, v);
    }
    r->SetNotes("first line\r\nsecond line\r\n");
    r->SetViewCount(n * 3);
    r->SetAttachmentName("photo.jpg");
    r->SetAttachmentKey("K3y!K3y!K3y!K3y!K3y!");
    CStringArray labels;
    for (int i = 0; i < kItemFieldCount; ++i) labels.Add(i == 2 ? "My label" : "");
    r->SetCustomLabels(labels);
    r->SetHiddenMask(0x0204);
    r->SetIcon(33);
    const uint8_t cat[8] = {0, 0, 0, 0, 0, 0, 0, 0x34};
    r->SetCategoryKey(cat);
    r->SetTypeKey(cat);
    r->SetModifiedTime(1234567 + n);
    r->SetReservedWord(static_cast<int16_t>(-n));
    r->SetReservedLong(n * 1000);
    r->SetAttachmentChanged(n & 1);
    return r;
}

void ExpectSameRecord(const CRecord& a, const CRecord& b)
{
    for (int i = 0; i < kItemFieldCount; ++i) {
        EXPECT_EQ(a.GetField(i), b.GetField(i));
        EXPECT_EQ(a.GetCustomLabel(i), b.GetCustomLabel(i));
    }
    EXPECT_EQ(a.GetNotes(), b.GetNotes());
    EXPECT_EQ(a.GetViewCount(), b.GetViewCount());
    EXPECT_EQ(a.GetAttachmentName(), b.GetAttachmentName());
    EXPECT_EQ(a.GetAttachmentKey(), b.GetAttachmentKey());
    EXPECT_EQ(a.GetHiddenMask(), b.GetHiddenMask());
    EXPECT_EQ(a.GetIcon(), b.GetIcon());
    EXPECT_EQ(zvtest::KeyBytes(a.GetCategoryKey()), zvtest::KeyBytes(b.GetCategoryKey()));
    EXPECT_EQ(zvtest::KeyBytes(a.GetTypeKey()), zvtest::KeyBytes(b.GetTypeKey()));
    EXPECT_EQ(zvtest::KeyBytes(a.GetUid()), zvtest::KeyBytes(b.GetUid()));
    EXPECT_EQ(a.GetId(), b.GetId());
    EXPECT_EQ(a.GetModifiedTime(), b.GetModifiedTime());
    EXPECT_EQ(a.GetReservedWord(), b.GetReservedWord());
    EXPECT_EQ(a.GetReservedLong(), b.GetReservedLong());
    EXPECT_EQ(a.GetAttachmentChanged(), b.GetAttachmentChanged());
}

}  // namespace

TEST(DatabaseRoundTrip, AllThreeItemClassesWithAndWithoutPassword)
{
    for (const char* password : {static_cast<const char*>(nullptr), "pass phrase"}) {
        SCOPED_TRACE(password ? password : "(none)");
        zvtest::ScratchDir dir("db");
        const CString path = Str(dir / "ZorvikanDatabase.zdb");
        const BlowfishKeyPtr key = KeyOf(password);
        CDatabaseObj db;
        db.SetFilePath(path);
        for (int n = 0; n < 5; ++n) db.GetRecords().Add(MakeFullRecord(n));
        ASSERT_EQ(CreateDefaultTypes(db.GetTypes()), 0);
        ASSERT_EQ(CreateDefaultCategories(db.GetCategories()), 0);
        zvtest::ItemsOf(db.GetTypes())[3]->SetDeleted(true);
        if (password) {
            uint8_t v[kVerifierSize];
            MakePasswordVerifier(password, v);
            db.SetVerifier(v);
        }
        ASSERT_EQ(db.Save(0, key.get()), 0);

        const std::string bytes = zvtest::ReadFileBytes(dir / "ZorvikanDatabase.zdb");
        EXPECT_EQ(bytes.find("value 3 of record 2") == std::string::npos, password != nullptr);
        EXPECT_EQ(bytes.find("Bank Accts") == std::string::npos, password != nullptr);

        CDatabaseObj back;
        ASSERT_EQ(back.Load(path, key.get()), 0);
        EXPECT_TRUE(back.VerifierEquals(db.GetVerifier()));
        const std::vector<CBaseItem*> a = zvtest::ItemsOf(db.GetRecords()), b = zvtest::ItemsOf(back.GetRecords());
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i)
            ExpectSameRecord(*static_cast<CRecord*>(a[i]), *static_cast<CRecord*>(b[i]));
        const std::vector<CBaseItem*> ta = zvtest::ItemsOf(db.GetTypes()), tb = zvtest::ItemsOf(back.GetTypes());
        ASSERT_EQ(tb.size(), 18u);
        for (size_t i = 0; i < ta.size(); ++i) {
            EXPECT_EQ(ta[i]->GetName(), tb[i]->GetName());
            EXPECT_EQ(ta[i]->IsDeleted(), tb[i]->IsDeleted());
            for (int f = 0; f < kItemFieldCount; ++f) EXPECT_EQ(ta[i]->GetField(f), tb[i]->GetField(f));
        }
        ASSERT_EQ(back.GetCategories().GetCount(), 2);
        EXPECT_EQ(zvtest::ItemsOf(back.GetCategories())[1]->GetName(), "Personal");
    }
}

TEST(DatabaseRoundTrip, A70KilobyteNoteStaysFullyEncrypted)
{
    zvtest::ScratchDir dir("db");
    const CString path = Str(dir / "ZorvikanDatabase.zdb");
    std::string note;
    for (int i = 0; note.size() < 70000; ++i) note += "note line " + std::to_string(i) + "\r\n";
    note += "THE VERY END OF THE NOTE";
    const BlowfishKeyPtr key = KeyOf("long notes");
    CDatabaseObj db;
    db.SetFilePath(path);
    CRecord* r = new CRecord;
    r->SetNotes(note.c_str());
    db.GetRecords().Add(r);
    ASSERT_EQ(db.Save(0, key.get()), 0);
    const std::string bytes = zvtest::ReadFileBytes(dir / "ZorvikanDatabase.zdb");
    EXPECT_EQ(bytes.find("note line"), std::string::npos);
    EXPECT_EQ(bytes.find("THE VERY END"), std::string::npos);
    EXPECT_EQ(bytes.find("END OF"), std::string::npos);
    CDatabaseObj back;
    ASSERT_EQ(back.Load(path, key.get()), 0);
    EXPECT_EQ(zvtest::ItemsOf(back.GetRecords())[0]->GetNotes(), note.c_str());
}

TEST(DatabaseRoundTrip, LongHeaderTextAndManyRecordsUseTheLongForms)
{
    zvtest::ScratchDir dir("db");
    const fs::path file = dir / "big.zdb";
    CDatabaseObj db;
    db.SetFilePath(Str(file));
    // The header text is carried from file to file; give it 300 bytes.
    {
        std::string text(300, 'h');
        const fs::path src = dir.WriteFile("src.zdb", zvtest::DbFixtureBytes("smallest.zdb"));
        std::string bytes = zvtest::ReadFileBytes(src);
        bytes[46] = '\xFF';
        bytes.insert(47, std::string("\x2C\x01", 2) + text);
        dir.WriteFile("src.zdb", bytes);
        ASSERT_EQ(db.Load(Str(src), nullptr), 0);
        EXPECT_EQ(db.GetHeaderText().GetLength(), 300);
        db.SetFilePath(Str(file));
    }
    for (int i = 0; i < 70000 - 1; ++i) db.GetRecords().Add(new CRecord);
    ASSERT_EQ(db.Save(0, nullptr), 0);
    const std::string bytes = zvtest::ReadFileBytes(file);
    EXPECT_EQ(bytes.substr(46, 3), std::string("\xFF\x2C\x01", 3));
    const size_t countAt = 46 + 3 + 300 + 2 + 4 + 4;
    EXPECT_EQ(bytes.substr(countAt, 6), std::string("\xFF\xFF\x70\x11\x01\x00", 6));
    CDatabaseObj back;
    ASSERT_EQ(back.Load(Str(file), nullptr), 0);
    EXPECT_EQ(back.GetRecords().GetCount(), 70000);
}

// ------------------------------------------------------------ old versions

TEST(DatabaseUpgrade, Version6FileIsReadAndRewrittenAsVersion7)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "version6.zdb");
    EXPECT_EQ(ReadDatabaseFileVersion(Str(path)), 6);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    EXPECT_EQ(db.GetFormatVersion(), 7);
    EXPECT_EQ(ReadDatabaseFileVersion(Str(path)), 7);
    ASSERT_EQ(db.GetRecords().GetCount(), 1);
    CRecord* r = static_cast<CRecord*>(zvtest::ItemsOf(db.GetRecords())[0]);
    EXPECT_EQ(r->GetField(0), "Front door");
    EXPECT_EQ(r->GetField(1), "1234");
    EXPECT_EQ(r->GetNotes(), "a\r\nb");
    EXPECT_EQ(r->GetViewCount(), 0);
    EXPECT_EQ(zvtest::KeyBytes(r->GetUid()), K({0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38}));
    EXPECT_EQ(r->GetModifiedTime(), 1500000000);
    EXPECT_EQ(db.GetHeaderText(), "six");
    CDatabaseObj again;
    ASSERT_EQ(again.Load(Str(path), nullptr), 0);
    EXPECT_EQ(zvtest::ItemsOf(again.GetRecords())[0]->GetField(0), "Front door");
    EXPECT_EQ(zvtest::ItemsOf(again.GetTypes())[0]->GetName(), "Combinations");
    EXPECT_EQ(zvtest::ItemsOf(again.GetCategories())[0]->GetName(), "Personal");
}

TEST(DatabaseUpgrade, Version4FileGetsDefaultCategoriesAndItsTypesConverted)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "version4.zdb");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(path).substr(44, 2), std::string("\x07\x00", 2));
    ASSERT_EQ(db.GetRecords().GetCount(), 1);
    CRecord* r = static_cast<CRecord*>(zvtest::ItemsOf(db.GetRecords())[0]);
    EXPECT_EQ(r->GetField(0), "Mail");
    EXPECT_EQ(r->GetField(3), "http://x");
    EXPECT_EQ(r->GetNotes(), "old note");
    EXPECT_EQ(zvtest::KeyBytes(r->GetTypeKey()), Preset(0x12));
    EXPECT_EQ(r->GetIcon(), 21);
    // The type without a key is dropped; the other becomes a CTypeItem.
    const std::vector<CBaseItem*> types = zvtest::ItemsOf(db.GetTypes());
    ASSERT_EQ(types.size(), 1u);
    EXPECT_NE(dynamic_cast<CTypeItem*>(types[0]), nullptr);
    EXPECT_EQ(types[0]->GetName(), "Web Logins");
    EXPECT_EQ(types[0]->GetField(2), "Password");
    EXPECT_EQ(types[0]->GetId(), 0x0060);
    const std::vector<CBaseItem*> cats = zvtest::ItemsOf(db.GetCategories());
    ASSERT_EQ(cats.size(), 2u);
    EXPECT_EQ(cats[0]->GetName(), "Business");
    EXPECT_EQ(db.GetHeaderLong(), 9);
    // The rewritten file reads back the same.
    CDatabaseObj again;
    ASSERT_EQ(again.Load(Str(path), nullptr), 0);
    EXPECT_EQ(zvtest::ItemsOf(again.GetRecords())[0]->GetField(0), "Mail");
    EXPECT_EQ(again.GetTypes().GetCount(), 1);
    EXPECT_EQ(again.GetCategories().GetCount(), 2);
}

TEST(DatabaseUpgrade, Version2FileUnderAPasswordIsDecryptedAndRewritten)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "version2.zdb");
    const BlowfishKeyPtr key = KeyOf(kFixturePassword);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), key.get()), 0);
    EXPECT_EQ(ReadDatabaseFileVersion(Str(path)), 7);
    ASSERT_EQ(db.GetRecords().GetCount(), 1);
    CRecord* r = static_cast<CRecord*>(zvtest::ItemsOf(db.GetRecords())[0]);
    EXPECT_EQ(r->GetField(0), "Mail login");  // the plain first field
    EXPECT_EQ(r->GetField(1), "me@example.com");
    EXPECT_EQ(r->GetField(2), "secret pw");
    EXPECT_EQ(r->GetField(3), "http://mail.example");
    EXPECT_EQ(r->GetNotes(), "a note long enough to fill some blocks");
    EXPECT_EQ(zvtest::KeyBytes(r->GetTypeKey()), Preset(0x12));
    EXPECT_EQ(r->GetId(), 0x0070);
    EXPECT_TRUE(r->IsModified());
    ASSERT_EQ(db.GetTypes().GetCount(), 1);
    EXPECT_EQ(zvtest::ItemsOf(db.GetTypes())[0]->GetName(), "Web Logins");
    EXPECT_EQ(db.GetCategories().GetCount(), 2);
    // Rewritten in the current form under the same key.
    const std::string bytes = zvtest::ReadFileBytes(path);
    EXPECT_EQ(bytes.find("secret pw"), std::string::npos);
    EXPECT_EQ(bytes.find("Mail login"), std::string::npos);
    CDatabaseObj again;
    ASSERT_EQ(again.Load(Str(path), key.get()), 0);
    EXPECT_EQ(zvtest::ItemsOf(again.GetRecords())[0]->GetField(2), "secret pw");
    EXPECT_EQ(zvtest::ItemsOf(again.GetRecords())[0]->GetNotes(), "a note long enough to fill some blocks");
}

// ------------------------------------------------------------ faults

TEST(DatabaseFaults, AMissingFileBecomesANewDatabaseWithDefaults)
{
    zvtest::ScratchDir dir("db");
    CDatabaseObj db;
    // Paths as the program writes them, with backslashes.
    ASSERT_EQ(db.OpenInFolder(JoinPath(JoinPath(Str(dir.Path()), "new"), "user")), 0);
    EXPECT_EQ(db.GetTypes().GetCount(), 18);
    EXPECT_EQ(db.GetCategories().GetCount(), 2);
    const fs::path file = dir / "new" / "user" / "ZorvikanDatabase.zdb";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(ReadDatabaseFileVersion(Str(file)), 7);
    EXPECT_EQ(ReadDatabaseFileVersion(Str(dir / "none.zdb")), 0xFFFF);
    CDatabaseObj again;
    ASSERT_EQ(again.Load(Str(file), nullptr), 0);
    EXPECT_EQ(again.GetTypes().GetCount(), 18);
}

TEST(DatabaseFaults, SaveInterruptedAfterTheTemporaryFileLeavesTheOldFile)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "password.zdb");
    const std::string before = zvtest::ReadFileBytes(path);
    const BlowfishKeyPtr key = KeyOf(kFixturePassword);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), key.get()), 0);
    zvtest::ItemsOf(db.GetRecords())[0]->SetField(0, "changed");
    {
        zvtest::ScopedReplace guard(&SetBeforeReplaceHook, &FailBeforeReplace);
        EXPECT_EQ(db.Save(0, key.get()), 1117);
    }
    EXPECT_EQ(zvtest::ReadFileBytes(path), before);
    EXPECT_FALSE(fs::exists(dir / "ZorvikanDatabase.zdb.tmp"));
    // A temporary file left by a crash at that moment changes nothing either.
    dir.WriteFile("ZorvikanDatabase.zdb.tmp", "half a database");
    CDatabaseObj other;
    ASSERT_EQ(other.Load(Str(path), key.get()), 0);
    EXPECT_EQ(zvtest::ItemsOf(other.GetRecords())[0]->GetField(0), "My bank");
    // The next save goes through.
    ASSERT_EQ(db.Save(0, key.get()), 0);
    ASSERT_EQ(other.Load(Str(path), key.get()), 0);
    EXPECT_EQ(zvtest::ItemsOf(other.GetRecords())[0]->GetField(0), "changed");
    EXPECT_FALSE(fs::exists(dir / "ZorvikanDatabase.zdb.tmp"));
}

namespace {

// Loading the bytes must fail cleanly: an error, the file as it was, no
// database created over it, and no save afterwards.
void ExpectRejected(const std::string& bytes, const char* password = nullptr)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = dir.WriteFile("ZorvikanDatabase.zdb", bytes);
    const BlowfishKeyPtr key = KeyOf(password);
    CDatabaseObj db;
    EXPECT_NE(db.Load(Str(path), key.get()), 0);
    EXPECT_FALSE(db.CanSave());
    EXPECT_EQ(db.GetRecords().GetCount() + db.GetTypes().GetCount() + db.GetCategories().GetCount(), 0);
    EXPECT_EQ(db.Save(0, key.get()), -1);
    EXPECT_EQ(zvtest::ReadFileBytes(path), bytes);
}

std::string WithByte(std::string bytes, size_t at, char value)
{
    bytes.replace(at, 1, 1, value);
    return bytes;
}

}  // namespace

TEST(DatabaseFaults, EveryTruncationIsAnErrorAndLeavesTheFile)
{
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.name);
        const std::string bytes = zvtest::DbFixtureBytes(f.name);
        // Cutting into the categories list, the last part, must fail too.
        const size_t step = bytes.size() > 1000 ? 7 : 1;
        for (size_t n = 0; n < bytes.size(); n += step) {
            SCOPED_TRACE(n);
            ExpectRejected(bytes.substr(0, n), f.password);
        }
    }
}

TEST(DatabaseFaults, CorruptFieldsAreErrors)
{
    const std::string smallest = zvtest::DbFixtureBytes("smallest.zdb");
    const size_t records = 57, tag = 59, length = 72;
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"version 8", WithByte(smallest, 44, 8)},
        {"version 0", WithByte(smallest, 44, 0)},
        {"negative version", WithByte(smallest, 45, '\x80')},
        {"record count beyond the data", WithByte(smallest, records, 9)},
        {"huge 32-bit count",
         smallest.substr(0, records) + std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6) + smallest.substr(records + 2)},
        {"unknown class", WithByte(smallest, tag + 6, 'X')},
        {"class index never assigned", WithByte(WithByte(smallest, tag, '\x63'), tag + 1, '\x80')},
        {"item length beyond the data", WithByte(smallest, length + 2, '\x7F')},
        {"negative item length", WithByte(smallest, length + 3, '\x80')},
        {"item shorter than its header", WithByte(smallest, length, 10)},
        {"object in place of the type count", WithByte(smallest, smallest.size() - 4, '\x01')},
    };
    ASSERT_EQ(smallest.substr(tag + 6, 7), "CRecord");
    ASSERT_EQ(smallest.substr(length, 4), std::string("\x2C\0\0\0", 4));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRejected(c.bytes);
    }
}

TEST(DatabaseFaults, EverySingleByteCorruptionReadsCleanlyOrIsRefused)
{
    // Whatever a damaged byte does, loading never crashes and a refused
    // file is left as it was (ExpectRejected); an accepted one may be saved.
    const std::string bytes = zvtest::DbFixtureBytes("password.zdb");
    const BlowfishKeyPtr key = KeyOf(kFixturePassword);
    zvtest::ScratchDir dir("db");
    for (size_t at = 40; at < bytes.size(); at += 3) {
        SCOPED_TRACE(at);
        const std::string bad = WithByte(bytes, at, static_cast<char>(bytes[at] ^ 0x5A));
        const fs::path path = dir.WriteFile("ZorvikanDatabase.zdb", bad);
        CDatabaseObj db;
        if (db.Load(Str(path), key.get()) != 0) {
            EXPECT_FALSE(db.CanSave());
            EXPECT_EQ(zvtest::ReadFileBytes(path), bad);
        }
    }
}

TEST(DatabaseFaults, AFileThatCannotBeOpenedIsNotTakenForMissing)
{
    zvtest::ScratchDir dir("db");
    // A folder where the file should be: it exists but cannot be read.
    fs::create_directory(dir / "ZorvikanDatabase.zdb");
    CDatabaseObj db;
    EXPECT_NE(db.Load(Str(dir / "ZorvikanDatabase.zdb"), nullptr), 0);
    EXPECT_FALSE(db.CanSave());
    EXPECT_EQ(db.GetTypes().GetCount(), 0);
    EXPECT_TRUE(fs::is_directory(dir / "ZorvikanDatabase.zdb"));
}

TEST(DatabaseFaults, ReadOnlyAndPathlessObjectsDoNotSave)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "smallest.zdb");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    db.GetRecords().Add(new CRecord);
    db.SetReadOnly();
    EXPECT_EQ(db.Save(0, nullptr), -1);
    EXPECT_EQ(zvtest::ReadFileBytes(path), zvtest::DbFixtureBytes("smallest.zdb"));
    db.ClearReadOnly();
    EXPECT_EQ(db.Save(0, nullptr), 0);
    CDatabaseObj empty;
    EXPECT_EQ(empty.Save(0, nullptr), -1);
}

TEST(DatabaseFaults, AReadOnlyObjectsLoadWritesNothing)
{
    // Read-only databases must not be written, also not by the upgrade of an
    // old file or the creation of a missing one.
    zvtest::ScratchDir dir("db");
    const fs::path old = zvtest::CopyDbFixture(dir, "version6.zdb");
    CDatabaseObj db;
    db.SetReadOnly();
    ASSERT_EQ(db.Load(Str(old), nullptr), 0);
    EXPECT_EQ(db.GetRecords().GetCount(), 1);
    EXPECT_EQ(zvtest::ReadFileBytes(old), zvtest::DbFixtureBytes("version6.zdb"));

    const fs::path missing = dir / "missing.zdb";
    CDatabaseObj fresh;
    fresh.SetReadOnly();
    EXPECT_EQ(fresh.Load(Str(missing), nullptr), -1);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(fresh.Save(0, nullptr), -1);
    EXPECT_FALSE(fs::exists(missing));
}

TEST(DatabaseFaults, AFailedLoadAfterAGoodOneDoesNotLetAnEmptyObjectOverwrite)
{
    zvtest::ScratchDir dir("db");
    const fs::path good = zvtest::CopyDbFixture(dir, "password.zdb");
    const fs::path bad = dir.WriteFile("bad.zdb", WithByte(zvtest::DbFixtureBytes("password.zdb"), 44, 8));
    const BlowfishKeyPtr key = KeyOf(kFixturePassword);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(good), key.get()), 0);
    EXPECT_EQ(db.Load(Str(bad), key.get()), -1);
    EXPECT_EQ(db.Save(0, key.get()), -1);
    // Another good load makes it saveable again.
    ASSERT_EQ(db.Load(Str(good), key.get()), 0);
    EXPECT_EQ(db.Save(0, key.get()), 0);
}

// ------------------------------------------------------------ keys

TEST(DatabaseKeys, SaveAndLoadUseTheKeyGivenWhateverTheManagerHolds)
{
    zvtest::ScratchDir dir("db");
    const CString path = Str(dir / "ZorvikanDatabase.zdb");
    const BlowfishKeyPtr user = KeyOf("the user's key");
    const BlowfishKeyPtr other = KeyOf("another file's key");
    std::shared_ptr<CMasterPwdMgr> mgr = GetMasterPwdMgr();
    const BlowfishKeyPtr saved = mgr->GetKey();
    std::atomic<bool> stop{false};
    // A merge or sync on another thread keeps putting another key in place.
    std::thread swapper([&] {
        while (!stop) {
            mgr->SetKey(other);
            mgr->SetKey(nullptr);
        }
    });
    CDatabaseObj db;
    db.SetFilePath(path);
    for (int n = 0; n < 50; ++n) db.GetRecords().Add(MakeFullRecord(n));
    for (int round = 0; round < 5; ++round) ASSERT_EQ(db.Save(0, user.get()), 0);
    stop = true;
    swapper.join();
    mgr->SetKey(saved);
    CDatabaseObj back;
    ASSERT_EQ(back.Load(path, user.get()), 0);
    for (CBaseItem* item : zvtest::ItemsOf(back.GetRecords())) ASSERT_EQ(item->GetField(0).Left(8), "value 0 ");
}

TEST(DatabaseKeys, WithoutAKeyTheMasterPasswordManagersIsUsed)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "password.zdb");
    std::shared_ptr<CMasterPwdMgr> mgr = GetMasterPwdMgr();
    const BlowfishKeyPtr saved = mgr->GetKey();
    ASSERT_EQ(mgr->SetPassword(CString(kFixturePassword)), 0);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path)), 0);
    EXPECT_EQ(zvtest::ItemsOf(db.GetRecords())[0]->GetField(0), "My bank");
    ASSERT_EQ(db.Save(), 0);
    CDatabaseObj back;
    const BlowfishKeyPtr key = KeyOf(kFixturePassword);
    ASSERT_EQ(back.Load(Str(path), key.get()), 0);
    EXPECT_EQ(zvtest::ItemsOf(back.GetRecords())[0]->GetField(0), "My bank");
    mgr->SetKey(saved);
}

TEST(DatabaseKeys, PasswordChangeReEncryptsAndAFailedOneIsRolledBack)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "password.zdb");
    std::shared_ptr<CMasterPwdMgr> mgr = GetMasterPwdMgr();
    const BlowfishKeyPtr saved = mgr->GetKey();
    ASSERT_EQ(mgr->SetPassword(CString(kFixturePassword)), 0);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path)), 0);
    uint8_t oldVerifier[kVerifierSize];
    memcpy(oldVerifier, db.GetVerifier(), kVerifierSize);
    const auto save = [&](const uint8_t* v, const BlowfishContext* k) { return db.SaveWithVerifier(v, k); };
    {
        zvtest::ScopedReplace guard(&SetBeforeReplaceHook, &FailBeforeReplace);
        EXPECT_EQ(mgr->StoreNewPassword("new password", save), 1117);
    }
    EXPECT_TRUE(db.VerifierEquals(oldVerifier));
    const CString oldPassword(kFixturePassword);
    EXPECT_TRUE(CheckDatabasePassword(Str(path), &oldPassword));
    ASSERT_EQ(mgr->StoreNewPassword("new password", save), 0);
    const CString newPassword("new password");
    EXPECT_TRUE(CheckDatabasePassword(Str(path), &newPassword));
    CDatabaseObj back;
    ASSERT_EQ(back.Load(Str(path)), 0);  // under the manager's new key
    EXPECT_EQ(zvtest::ItemsOf(back.GetRecords())[0]->GetField(0), "My bank");
    mgr->SetKey(saved);
}

// ------------------------------------------------------------ items

TEST(DatabaseItems, DeletingTypesAndCategoriesUnlinksTheirRecords)
{
    zvtest::ScratchDir dir("db");
    const BlowfishKeyPtr key = KeyOf(kFixturePassword);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(zvtest::CopyDbFixture(dir, "password.zdb")), key.get()), 0);
    CRecord* full = static_cast<CRecord*>(zvtest::ItemsOf(db.GetRecords())[0]);
    full->SetModified(false);
    CBaseItem* web = db.GetTypes().FindByKey(Preset(0x12).data());
    ASSERT_NE(web, nullptr);
    db.DeleteType(web);
    EXPECT_TRUE(IsNullUniqueKey(full->GetTypeKey()));
    EXPECT_TRUE(full->IsModified());
    EXPECT_TRUE(web->IsDeleted());  // a preset type leaves a tombstone
    db.DeleteCategory(db.GetCategories().FindByKey(Preset(0x33).data()));
    EXPECT_TRUE(IsNullUniqueKey(full->GetCategoryKey()));

    CShowColumns columns(15);
    columns.SetColumnWidth(2, 99);
    db.SetColumnsForAllTypes(columns);
    for (CBaseItem* t : zvtest::ItemsOf(db.GetTypes()))
        EXPECT_EQ(static_cast<CTypeItem*>(t)->GetColumns().GetColumnWidth(2), 99);
}

TEST(DatabaseItems, FindDetachAndReloadSingleItems)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "password.zdb");
    std::shared_ptr<CMasterPwdMgr> mgr = GetMasterPwdMgr();
    const BlowfishKeyPtr saved = mgr->GetKey();
    ASSERT_EQ(mgr->SetPassword(CString(kFixturePassword)), 0);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path)), 0);
    EXPECT_EQ(db.FindItemById(0x0A0B, kItemKindRecord)->GetField(0), "My bank");
    EXPECT_EQ(db.FindItemById(0x0A0B, kItemKindType), nullptr);
    EXPECT_EQ(db.FindItemById(0x0300, -1)->GetName(), "Wine Cellar");
    EXPECT_EQ(db.FindItemById(0, -1), nullptr);

    // Revert: the live record takes its saved state again.
    CBaseItem* live = db.FindItemById(0x0A0B, kItemKindRecord);
    live->SetField(0, "edited in memory");
    EXPECT_EQ(db.RevertItem(kItemKindRecord, 0x0A0B), live);
    EXPECT_EQ(live->GetField(0), "My bank");
    EXPECT_EQ(live->GetNotes(), "line one\r\nline two");

    std::unique_ptr<CBaseItem> fromFile(db.LoadItemFromFile(kItemKindCategory, 0x0201));
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(fromFile->GetName(), "Business");
    EXPECT_EQ(db.LoadItemFromFile(kItemKindCategory, 0x7777), nullptr);

    std::unique_ptr<CBaseItem> detached(db.DetachItem(kItemKindType, 0x0300));
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(db.GetTypes().GetCount(), 1);
    mgr->SetKey(saved);
}

TEST(DatabaseItems, RevertFromAnOldFileThatCouldNotBeUpgradedKeepsThePlainText)
{
    // The old file stays as it was when its upgrade cannot be written; the
    // saved state of a record read from it must still come back readable.
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "version2.zdb");
    std::shared_ptr<CMasterPwdMgr> mgr = GetMasterPwdMgr();
    const BlowfishKeyPtr saved = mgr->GetKey();
    ASSERT_EQ(mgr->SetPassword(CString(kFixturePassword)), 0);
    {
        zvtest::ScopedReplace guard(&SetBeforeReplaceHook, &FailBeforeReplace);
        CDatabaseObj db;
        ASSERT_EQ(db.Load(Str(path)), 0);
        ASSERT_EQ(ReadDatabaseFileVersion(Str(path)), 2);
        CBaseItem* live = db.FindItemById(0x0070, kItemKindRecord);
        ASSERT_NE(live, nullptr);
        live->SetField(2, "edited in memory");
        EXPECT_EQ(db.RevertItem(kItemKindRecord, 0x0070), live);
        EXPECT_EQ(live->GetField(0), "Mail login");
        EXPECT_EQ(live->GetField(2), "secret pw");
        EXPECT_EQ(live->GetNotes(), "a note long enough to fill some blocks");
    }
    mgr->SetKey(saved);
}

TEST(DatabaseItems, MoveToFolderSavesMovesAndAdoptsThePath)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "smallest.zdb");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    ASSERT_EQ(db.MoveToFolder(Str(dir / "moved")), 0);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::exists(dir / "moved" / "ZorvikanDatabase.zdb"));
    EXPECT_EQ(db.GetFilePath(), JoinPath(Str(dir / "moved"), "ZorvikanDatabase.zdb"));
}

// ------------------------------------------------------------ import

namespace {

struct Line {
    Line(std::initializer_list<const char*> texts)
    {
        for (const char* t : texts) array.Add(t);
    }
    CStringArray array;
};

}  // namespace

TEST(DatabaseImport, ValuesBeyondTheTenthBecomeTheNotes)
{
    struct Case {
        const char* eleventh;
        const char* twelfth;
        const char* notes;
    } cases[] = {
        {"first extra", "second extra", "first extra\r\nsecond extra"},
        {"first extra", "", "first extra\r\n"},
        {"", "second extra", "second extra"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notes);
        CDatabaseObj db;
        ASSERT_EQ(CreateDefaultTypes(db.GetTypes()), 0);
        Line line{"Web Logins", "v1", "v2", "v3", "v4", "v5", "v6", "v7", "v8", "v9", "v10", c.eleventh, c.twelfth};
        Line labels{"", "Login"};
        CNotifyProviderList notices;
        CRecord* r = db.ImportRecord(line.array, 0x0004, labels.array, "", 255, &notices);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->GetNotes(), c.notes);
        EXPECT_EQ(r->GetField(0), "v1");
        EXPECT_EQ(r->GetField(9), "v10");
        EXPECT_EQ(zvtest::KeyBytes(r->GetTypeKey()), Preset(0x12));  // the existing type
        EXPECT_EQ(r->GetIcon(), 21);                                 // 255: the type's icon
        EXPECT_EQ(r->GetCustomLabel(1), "Login");
        EXPECT_EQ(r->GetHiddenMask(), 0x0004);
        EXPECT_TRUE(r->IsModified());
        EXPECT_TRUE(IsNullUniqueKey(r->GetCategoryKey()));
        EXPECT_EQ(db.GetTypes().GetCount(), 18);
        ASSERT_EQ(notices.GetCount(), 1);
        const CNotifyObject* n = static_cast<const CNotifyObject*>(notices.GetHead());
        EXPECT_EQ(n->m_operation, NOTIFY_ADDED);
        EXPECT_EQ(n->m_itemClass, NOTIFY_ITEM_RECORD);
        EXPECT_EQ(n->m_itemId, r->GetId());
    }
}

TEST(DatabaseImport, MissingTypesAndCategoriesAreMadeAndUnfiledMeansNone)
{
    CDatabaseObj db;
    ASSERT_EQ(CreateDefaultCategories(db.GetCategories()), 0);
    CNotifyProviderList notices;
    Line line{"Garden Tools", "rake"};
    Line none{};
    CRecord* r = db.ImportRecord(line.array, 0, none.array, "Hobby", 255, &notices);
    ASSERT_NE(r, nullptr);
    CBaseItem* type = db.GetTypes().FindByName("garden tools");
    ASSERT_NE(type, nullptr);
    EXPECT_FALSE(IsNullUniqueKey(type->GetKey()));
    EXPECT_EQ(zvtest::KeyBytes(r->GetTypeKey()), zvtest::KeyBytes(type->GetKey()));
    EXPECT_EQ(type->GetField(0), "Field 1");
    EXPECT_EQ(type->GetField(9), "Date Mod");
    EXPECT_TRUE(type->IsModified());
    EXPECT_EQ(r->GetIcon(), type->GetIcon());
    CBaseItem* hobby = db.GetCategories().FindByName("Hobby");
    ASSERT_NE(hobby, nullptr);
    EXPECT_EQ(zvtest::KeyBytes(r->GetCategoryKey()), zvtest::KeyBytes(hobby->GetKey()));
    EXPECT_EQ(zvtest::ItemsOf(db.GetCategories())[1]->GetName(), "Hobby");  // name order
    ASSERT_EQ(notices.GetCount(), 3);
    const CNotifyObject* first = static_cast<const CNotifyObject*>(notices.GetHead());
    EXPECT_EQ(first->m_itemClass, NOTIFY_ITEM_TYPE);
    EXPECT_EQ(first->m_itemId, type->GetId());
    // Ids are free across the whole database.
    EXPECT_NE(r->GetId(), type->GetId());
    EXPECT_NE(r->GetId(), hobby->GetId());

    // "Unfiled" in any case: no type, and an icon of 255 stays.
    Line unfiled{"UNFILED", "x"};
    CRecord* u = db.ImportRecord(unfiled.array, 0, none.array, "unfiled", 255, nullptr);
    ASSERT_NE(u, nullptr);
    EXPECT_TRUE(IsNullUniqueKey(u->GetTypeKey()));
    EXPECT_TRUE(IsNullUniqueKey(u->GetCategoryKey()));
    EXPECT_EQ(u->GetIcon(), 255);
    EXPECT_EQ(db.GetTypes().GetCount(), 1);
    EXPECT_EQ(db.GetRecords().GetCount(), 2);
}

TEST(DatabaseImport, VerifierOfAUserFolderBindsTheObject)
{
    zvtest::ScratchDir dir("db");
    zvtest::CopyDbFixture(dir, "password.zdb");
    CDatabaseObj db;
    uint8_t out[kVerifierSize];
    ASSERT_EQ(ReadUserDbVerifier(out, db, Str(dir.Path())), 0);
    EXPECT_EQ(db.GetFilePath(), JoinPath(Str(dir.Path()), "ZorvikanDatabase.zdb"));
    EXPECT_EQ(0, memcmp(out, zvtest::DbFixtureBytes("password.zdb").data(), kVerifierSize));
    EXPECT_EQ(ReadUserDbVerifier(out, db, Str(dir / "nobody")), kVerifierNoFile);
}

// ------------------------------------------------------------ more faults

namespace {
int NoDefaults() { return 0; }
void* DeclineDefaults(PlatformLibrary library, const char* name)
{
    return library == PlatformLibrary::Manager && std::string(name) == "PlatformWantsDefaults"
               ? reinterpret_cast<void*>(&NoDefaults)
               : nullptr;
}
}  // namespace

TEST(DatabaseFaults, WhenThePlatformDeclinesDefaultsAMissingFileStaysMissing)
{
    zvtest::ScratchDir dir("db");
    const PlatformExportResolver old = SetPlatformExportResolver(&DeclineDefaults);
    CDatabaseObj db;
    EXPECT_EQ(db.Load(Str(dir / "ZorvikanDatabase.zdb"), nullptr), 0);
    SetPlatformExportResolver(old);
    EXPECT_EQ(db.GetTypes().GetCount(), 0);
    EXPECT_EQ(db.GetCategories().GetCount(), 0);
    EXPECT_FALSE(fs::exists(dir / "ZorvikanDatabase.zdb"));
    EXPECT_TRUE(db.CanSave());
}

TEST(DatabaseFaults, ASaveThatCannotWriteReturnsTheErrorAndLeavesTheFile)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "smallest.zdb");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    db.GetRecords().Add(new CRecord);
    // Something in the way of the new version.
    fs::create_directory(dir / "ZorvikanDatabase.zdb.tmp");
    const int result = db.Save(0, nullptr);
    EXPECT_NE(result, 0);
    EXPECT_NE(result, -1);  // the system's error code
    EXPECT_EQ(zvtest::ReadFileBytes(path), zvtest::DbFixtureBytes("smallest.zdb"));
    fs::remove(dir / "ZorvikanDatabase.zdb.tmp");
    EXPECT_EQ(db.Save(0, nullptr), 0);
}

TEST(DatabaseFaults, WritingToAFullDiskThrowsForTheSaveToReport)
{
    // What Save turns into its result: the archive passes the file's error on.
    CDatabaseObj db;
    for (int n = 0; n < 20; ++n) db.GetRecords().Add(MakeFullRecord(n));
    zvtest::FailingFile file;
    file.FailWritesAfter(1000);
    CItemKeyScope scope(nullptr);
    try {
        CArchive ar(&file, CArchive::store, 4096);
        db.Serialize(ar);
        ar.Close();
        FAIL() << "no error";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_lOsError, 112);
    }
}

TEST(DatabaseFaults, ADirectReadMakesTheObjectSaveableOnlyWhenComplete)
{
    zvtest::ScratchDir dir("db");
    const std::string bytes = zvtest::DbFixtureBytes("smallest.zdb");
    CItemKeyScope scope(nullptr);
    CDatabaseObj db;
    db.SetFilePath(Str(dir / "restored.zdb"));
    {
        zvtest::FailingFile cut(bytes.data(), static_cast<UINT>(bytes.size() - 5));
        CArchive ar(&cut, CArchive::load);
        EXPECT_THROW(db.Serialize(ar), CException);
    }
    EXPECT_FALSE(db.CanSave());
    EXPECT_EQ(db.Save(0, nullptr), -1);
    EXPECT_FALSE(fs::exists(dir / "restored.zdb"));
    db.Clear(true);
    {
        zvtest::FailingFile whole(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&whole, CArchive::load);
        db.Serialize(ar);
    }
    EXPECT_TRUE(db.CanSave());
    EXPECT_EQ(db.Save(0, nullptr), 0);
}

TEST(DatabaseFaults, WithoutTheMutexLoadAndSaveChangeNothing)
{
    zvtest::ScratchDir dir("db");
    const fs::path path = zvtest::CopyDbFixture(dir, "smallest.zdb");
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(path), nullptr), 0);
    db.GetRecords().Add(new CRecord);
    const uint32_t oldWait = SetDatabaseMutexWaitMs(50);
    std::atomic<bool> held{false}, release{false};
    // Another user of the file holds the mutex (another thread stands for
    // the other process here).
    std::thread holder([&] {
        CDatabaseMutexLock lock;
        held = true;
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    while (!held) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(db.Save(0, nullptr), -1);
    EXPECT_EQ(db.Load(Str(path), nullptr), -1);
    EXPECT_EQ(db.GetRecords().GetCount(), 2);  // the load changed nothing
    EXPECT_TRUE(db.CanSave());
    release = true;
    holder.join();
    SetDatabaseMutexWaitMs(oldWait);
    EXPECT_EQ(zvtest::ReadFileBytes(path), zvtest::DbFixtureBytes("smallest.zdb"));
    EXPECT_EQ(db.Save(0, nullptr), 0);
}
