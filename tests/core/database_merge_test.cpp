// The database merge on scratch database files: every direction and
// conflict rule over the kinds of pairs (same content, on one side only,
// deleted on one side, changed on both), attachments included, and the
// failures that must leave both files as they were.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "core/items/Category.h"
#include "core/os/ProcessSeams.h"
#include "core/store/DatabaseMerge.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "core/items/Record.h"
#include "core/store/ReplacingFile.h"
#include "core/items/TypeItem.h"
#include "framework/CString.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace fs = std::filesystem;

namespace {

// The kinds of pairs, one record each (the uid ends in the scenario number).
enum Scenario {
    kSame = 1,       // the same content on both sides
    kOnlyMine,       // only in this database (with an attachment)
    kOnlyTheirs,     // only in the other file (with an attachment)
    kDeletedMine,    // a tombstone here, alive there
    kDeletedTheirs,  // alive here, a tombstone there
    kMineLater,      // changed on both sides, here later
    kTheirsLater,    // changed on both sides, there later
    kTie,            // changed on both sides at the same time
};
const int kScenarios[] = {kSame, kOnlyMine, kOnlyTheirs, kDeletedMine, kDeletedTheirs, kMineLater, kTheirsLater, kTie};

void Uid(int scenario, uint8_t uid[kUniqueKeySize])
{
    const uint8_t u[kUniqueKeySize] = {0x5A, 0x5A, 0, 0, 0, 0, 1, static_cast<uint8_t>(scenario)};
    std::memcpy(uid, u, kUniqueKeySize);
}

std::string BaseText(int s) { return "base-" + std::to_string(s); }
std::string MineText(int s) { return "mine-" + std::to_string(s); }
std::string TheirsText(int s) { return "theirs-" + std::to_string(s); }

// Bytes of a record's stored attachment file, different per side and pair.
std::string AttachmentBytes(bool mine, int s)
{
    return std::string(mine ? "MINE" : "THEIRS") + "-attachment-" + std::to_string(s) + std::string(21, '\x07');
}

fs::path StoredFile(const fs::path& dbFile, const CRecord& record)
{
    return dbFile.parent_path() / "Files" / record.GetAttachmentFileName().GetString();
}

CRecord* AddRecord(CDatabaseObj& db, int scenario, const std::string& text, int32_t time, bool deleted)
{
    CRecord* r = static_cast<CRecord*>(db.GetRecords().NewItem());
    uint8_t uid[kUniqueKeySize];
    Uid(scenario, uid);
    r->SetUid(uid);
    r->SetField(0, ("site-" + std::to_string(scenario)).c_str());
    r->SetNotes(text.c_str());
    r->SetModifiedTime(time);
    r->SetDeleted(deleted);
    r->SetModified(false);
    db.GetRecords().Add(r);
    return r;
}

void Attach(CRecord* r, const fs::path& dbFile, bool mine, int s)
{
    r->SetAttachmentName(("doc-" + std::to_string(s) + ".txt").c_str());
    r->SetAttachmentKey(mine ? "mine-attachment-key" : "their-attachment-key");
    fs::create_directories(dbFile.parent_path() / "Files");
    std::string bytes = AttachmentBytes(mine, s);
    FILE* f = std::fopen(StoredFile(dbFile, *r).string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// One side as the table wants it, saved under its key.
void BuildSide(const fs::path& dbFile, bool mine, const BlowfishContext* key)
{
    CDatabaseObj db;
    db.SetFilePath(zvtest::WinPath(dbFile));
    uint8_t verifier[kVerifierSize] = {};
    if (key) MakeVerifierWithKey(key, verifier);
    db.SetVerifier(verifier);

    // A type only here, a category only there.
    if (mine) {
        CTypeItem* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
        const uint8_t key1[kUniqueKeySize] = {0x77, 1, 2, 3, 4, 5, 6, 7};
        type->SetKey(key1);
        type->SetName("Mine Only Type");
        db.GetTypes().Add(type);
    } else {
        CCategoryItem* category = static_cast<CCategoryItem*>(db.GetCategories().NewItem());
        const uint8_t key2[kUniqueKeySize] = {0x66, 1, 2, 3, 4, 5, 6, 7};
        category->SetKey(key2);
        category->SetName("Their Only Category");
        db.GetCategories().Add(category);
    }

    AddRecord(db, kSame, BaseText(kSame), 1000, false);
    if (mine)
        Attach(AddRecord(db, kOnlyMine, MineText(kOnlyMine), 1000, false), dbFile, true, kOnlyMine);
    else
        Attach(AddRecord(db, kOnlyTheirs, TheirsText(kOnlyTheirs), 1000, false), dbFile, false, kOnlyTheirs);
    AddRecord(db, kDeletedMine, BaseText(kDeletedMine), 1000, mine);
    AddRecord(db, kDeletedTheirs, BaseText(kDeletedTheirs), 1000, !mine);
    CRecord* later =
        AddRecord(db, kMineLater, mine ? MineText(kMineLater) : TheirsText(kMineLater), mine ? 2000 : 1000, false);
    Attach(later, dbFile, mine, kMineLater);
    AddRecord(db, kTheirsLater, mine ? MineText(kTheirsLater) : TheirsText(kTheirsLater), mine ? 1000 : 2000, false);
    AddRecord(db, kTie, mine ? MineText(kTie) : TheirsText(kTie), 1500, false);
    ASSERT_EQ(db.Save(0, key), 0);
}

// What one side holds for one pair after the merge.
struct State {
    bool present = false;
    bool deleted = false;
    std::string text;
};

State Find(const CDatabaseObj& db, int scenario)
{
    uint8_t uid[kUniqueKeySize];
    Uid(scenario, uid);
    State st;
    const CBaseItem* item = db.GetRecords().FindByUid(uid);
    if (item) {
        st.present = true;
        st.deleted = item->IsDeleted();
        st.text = item->GetNotes().GetString();
    }
    return st;
}

// Expected states written as "-" (absent), "m"/"t"/"b" (alive with mine's,
// theirs' or the base text), "xb"/"xm" (a tombstone with that text).
State Expect(const std::string& code, int s)
{
    State st;
    if (code == "-") return st;
    st.present = true;
    size_t i = 0;
    if (code[0] == 'x') {
        st.deleted = true;
        i = 1;
    }
    st.text = code[i] == 'm' ? MineText(s) : code[i] == 't' ? TheirsText(s) : BaseText(s);
    return st;
}

void ExpectState(const CDatabaseObj& db, int s, const std::string& code, const char* side)
{
    State got = Find(db, s), want = Expect(code, s);
    SCOPED_TRACE(std::string(side) + " pair " + std::to_string(s) + " expected " + code);
    EXPECT_EQ(got.present, want.present);
    if (got.present && want.present) {
        EXPECT_EQ(got.deleted, want.deleted);
        EXPECT_EQ(got.text, want.text);
    }
}

class CountingProgress : public CMergeProgress {
public:
    explicit CountingProgress(const BlowfishContext* ownKey) : m_ownKey(ownKey) {}
    void SetTotal(int count) override
    {
        ++totalCalls;
        total = count;
    }
    void Step() override
    {
        ++steps;
        // The process-wide key is never swapped for the other file's.
        if (GetMasterPwdMgr()->GetKey().get() != m_ownKey) ++keySwapped;
    }
    int total = -1, totalCalls = 0, steps = 0, keySwapped = 0;

private:
    const BlowfishContext* m_ownKey;
};

class Merge : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetMasterPwdMgr()->SetPassword(CString("mine-password")), 0);
        ownKey = GetMasterPwdMgr()->GetKey();
        theirKey = MakeBlowfishKey(CString("their-password"));
        fs::create_directories(dir / "mine");
        fs::create_directories(dir / "theirs");
        minePath = dir / "mine" / "ZorvikanDatabase.zdb";
        theirPath = dir / "theirs" / "ZorvikanDatabase.zdb";
    }
    void TearDown() override { GetMasterPwdMgr()->ClearPassword(); }

    void BuildBoth()
    {
        BuildSide(minePath, true, ownKey.get());
        BuildSide(theirPath, false, theirKey.get());
    }
    CString Mine() const { return zvtest::WinPath(minePath); }
    CString Theirs() const { return zvtest::WinPath(theirPath); }

    // Every file below the scratch folder with its bytes.
    std::map<std::string, std::string> Snapshot() const
    {
        std::map<std::string, std::string> files;
        for (auto& e : fs::recursive_directory_iterator(dir.Path()))
            if (e.is_regular_file())
                files[fs::relative(e.path(), dir.Path()).generic_string()] = zvtest::ReadFileBytes(e.path());
        return files;
    }

    zvtest::ScratchDir dir{"merge"};
    fs::path minePath, theirPath;
    BlowfishKeyPtr ownKey, theirKey;
};

TEST_F(Merge, DirectionOnlyPairs)
{
    // Pairs whose outcome does not depend on the conflict rule.
    struct Row {
        int direction;
        const char* mine[5];  // kSame, kOnlyMine, kOnlyTheirs, kDeletedMine, kDeletedTheirs
        const char* theirs[5];
    } rows[] = {
        {kMergeThisIntoOther, {"b", "m", "-", "xb", "b"}, {"b", "m", "t", "xb", "b"}},
        {kMergeOtherIntoThis, {"b", "m", "t", "b", "xb"}, {"b", "-", "t", "b", "xb"}},
        {kMergeBothWays, {"b", "m", "t", "xb", "xb"}, {"b", "m", "t", "xb", "xb"}},
    };
    const int pairs[5] = {kSame, kOnlyMine, kOnlyTheirs, kDeletedMine, kDeletedTheirs};
    for (const Row& row : rows) {
        for (int rule : {kConflictThisWins, kConflictOtherWins, kConflictLaterWins, 9}) {
            SCOPED_TRACE("direction " + std::to_string(row.direction) + " rule " + std::to_string(rule));
            BuildBoth();
            CDatabaseObj mine;
            ASSERT_EQ(mine.Load(Mine()), 0);
            ASSERT_EQ(mine.MergeWithFile(Theirs(), row.direction, rule, theirKey.get(), nullptr), 0);
            CDatabaseObj mineAfter, theirsAfter;
            ASSERT_EQ(mineAfter.Load(Mine(), ownKey.get()), 0);
            ASSERT_EQ(theirsAfter.Load(Theirs(), theirKey.get()), 0);
            for (int i = 0; i < 5; ++i) {
                ExpectState(mineAfter, pairs[i], row.mine[i], "mine");
                ExpectState(theirsAfter, pairs[i], row.theirs[i], "theirs");
                // What is saved is what the merged object holds.
                ExpectState(mine, pairs[i], row.mine[i], "mine in memory");
            }
            // Equal pairs: a one-way merge copies the walked item over and
            // marks it changed; both ways leaves them alone.
            uint8_t uid[kUniqueKeySize];
            Uid(kSame, uid);
            EXPECT_EQ(mineAfter.GetRecords().FindByUid(uid)->IsModified(), row.direction == kMergeOtherIntoThis);
            EXPECT_EQ(theirsAfter.GetRecords().FindByUid(uid)->IsModified(), row.direction == kMergeThisIntoOther);

            // Types and categories travel the same way.
            const uint8_t typeKey[kUniqueKeySize] = {0x77, 1, 2, 3, 4, 5, 6, 7};
            const uint8_t categoryKey[kUniqueKeySize] = {0x66, 1, 2, 3, 4, 5, 6, 7};
            EXPECT_EQ(theirsAfter.GetTypes().FindByKey(typeKey) != nullptr, row.direction != kMergeOtherIntoThis);
            EXPECT_EQ(mineAfter.GetCategories().FindByKey(categoryKey) != nullptr,
                      row.direction != kMergeThisIntoOther);

            // A record that exists on one side only arrives with its
            // attachment, under the new record's stored file name.
            Uid(kOnlyMine, uid);
            const CRecord* cloned = static_cast<const CRecord*>(theirsAfter.GetRecords().FindByUid(uid));
            if (row.direction != kMergeOtherIntoThis) {
                ASSERT_NE(cloned, nullptr);
                EXPECT_EQ(cloned->GetAttachmentKey(), "mine-attachment-key");
                EXPECT_EQ(zvtest::ReadFileBytes(StoredFile(theirPath, *cloned)), AttachmentBytes(true, kOnlyMine));
            }
            Uid(kOnlyTheirs, uid);
            cloned = static_cast<const CRecord*>(mineAfter.GetRecords().FindByUid(uid));
            if (row.direction != kMergeThisIntoOther) {
                ASSERT_NE(cloned, nullptr);
                EXPECT_EQ(cloned->GetAttachmentKey(), "their-attachment-key");
                EXPECT_EQ(zvtest::ReadFileBytes(StoredFile(minePath, *cloned)), AttachmentBytes(false, kOnlyTheirs));
            }
            fs::remove_all(dir / "mine");
            fs::remove_all(dir / "theirs");
            fs::create_directories(dir / "mine");
            fs::create_directories(dir / "theirs");
        }
    }
}

TEST_F(Merge, ConflictRules)
{
    // Pairs changed on both sides: kMineLater, kTheirsLater, kTie. In the
    // one-way directions only the target changes: where the rule prefers the
    // source's counterpart, nothing is copied.
    struct Row {
        int direction, rule;
        const char* mine[3];
        const char* theirs[3];
    } rows[] = {
        {kMergeThisIntoOther, kConflictThisWins, {"m", "m", "m"}, {"m", "m", "m"}},
        {kMergeThisIntoOther, kConflictOtherWins, {"m", "m", "m"}, {"t", "t", "t"}},
        {kMergeThisIntoOther, kConflictLaterWins, {"m", "m", "m"}, {"m", "t", "m"}},
        {kMergeThisIntoOther, 7, {"m", "m", "m"}, {"t", "t", "t"}},
        {kMergeOtherIntoThis, kConflictThisWins, {"m", "m", "m"}, {"t", "t", "t"}},
        {kMergeOtherIntoThis, kConflictOtherWins, {"t", "t", "t"}, {"t", "t", "t"}},
        {kMergeOtherIntoThis, kConflictLaterWins, {"m", "t", "m"}, {"t", "t", "t"}},
        {kMergeOtherIntoThis, -1, {"m", "m", "m"}, {"t", "t", "t"}},
        {kMergeBothWays, kConflictThisWins, {"m", "m", "m"}, {"m", "m", "m"}},
        {kMergeBothWays, kConflictOtherWins, {"t", "t", "t"}, {"t", "t", "t"}},
        {kMergeBothWays, kConflictLaterWins, {"m", "t", "m"}, {"m", "t", "m"}},
        {kMergeBothWays, 3, {"m", "m", "m"}, {"t", "t", "t"}},
    };
    const int pairs[3] = {kMineLater, kTheirsLater, kTie};
    for (const Row& row : rows) {
        SCOPED_TRACE("direction " + std::to_string(row.direction) + " rule " + std::to_string(row.rule));
        BuildBoth();
        CDatabaseObj mine;
        ASSERT_EQ(mine.Load(Mine()), 0);
        ASSERT_EQ(mine.MergeWithFile(Theirs(), row.direction, row.rule, theirKey.get(), nullptr), 0);
        CDatabaseObj mineAfter, theirsAfter;
        ASSERT_EQ(mineAfter.Load(Mine(), ownKey.get()), 0);
        ASSERT_EQ(theirsAfter.Load(Theirs(), theirKey.get()), 0);
        for (int i = 0; i < 3; ++i) {
            ExpectState(mineAfter, pairs[i], row.mine[i], "mine");
            ExpectState(theirsAfter, pairs[i], row.theirs[i], "theirs");
            ExpectState(mine, pairs[i], row.mine[i], "mine in memory");
        }
        // The attachment follows the record it belongs to: each side's
        // stored file holds the bytes of the side whose text it now has.
        uint8_t uid[kUniqueKeySize];
        Uid(kMineLater, uid);
        for (const CDatabaseObj* db : {&mineAfter, &theirsAfter}) {
            const CRecord* r = static_cast<const CRecord*>(db->GetRecords().FindByUid(uid));
            ASSERT_NE(r, nullptr);
            const bool hasMine = r->GetNotes() == MineText(kMineLater).c_str();
            EXPECT_EQ(r->GetAttachmentKey(), hasMine ? "mine-attachment-key" : "their-attachment-key");
            const fs::path& file = db == &mineAfter ? minePath : theirPath;
            EXPECT_EQ(zvtest::ReadFileBytes(StoredFile(file, *r)), AttachmentBytes(hasMine, kMineLater));
        }
        // No temporary copy is left behind.
        for (auto& e : fs::recursive_directory_iterator(dir.Path()))
            EXPECT_NE(e.path().extension(), ".merge") << e.path();
        fs::remove_all(dir / "mine");
        fs::remove_all(dir / "theirs");
        fs::create_directories(dir / "mine");
        fs::create_directories(dir / "theirs");
    }
}

TEST_F(Merge, OneWayLeavesTheSourceAlone)
{
    BuildBoth();
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    std::string mineBytes = zvtest::ReadFileBytes(minePath);
    // The other file wins every conflict, but this database is the source.
    ASSERT_EQ(mine.MergeWithFile(Theirs(), kMergeThisIntoOther, kConflictOtherWins, theirKey.get(), nullptr), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(minePath), mineBytes);
    for (int s : kScenarios) {
        uint8_t uid[kUniqueKeySize];
        Uid(s, uid);
        const CBaseItem* r = mine.GetRecords().FindByUid(uid);
        if (r) {
            EXPECT_FALSE(r->IsModified()) << s;
        }
    }
    // Saving this database afterwards writes nothing of the other file's.
    ASSERT_EQ(mine.Save(0), 0);
    CDatabaseObj again;
    ASSERT_EQ(again.Load(Mine()), 0);
    ExpectState(again, kMineLater, "m", "mine");
    ExpectState(again, kTheirsLater, "m", "mine");
    ExpectState(again, kOnlyTheirs, "-", "mine");

    // And the other way round: the other file's bytes stay.
    std::string theirBytes = zvtest::ReadFileBytes(theirPath);
    ASSERT_EQ(mine.MergeWithFile(Theirs(), kMergeOtherIntoThis, kConflictThisWins, theirKey.get(), nullptr), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(theirPath), theirBytes);
}

// Taking from an older file reads it only: its upgrade would write the file
// (and keep a copy of it beside) in a mode that must not write there.
TEST_F(Merge, TakingFromAnOlderFileWritesNothingBesideIt)
{
    BuildSide(minePath, true, ownKey.get());
    fs::copy_file(zvtest::FixturePath("db/version4.zdb"), theirPath);
    const std::map<std::string, std::string> before = Snapshot();
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    ASSERT_EQ(mine.MergeWithFile(Theirs(), kMergeOtherIntoThis, kConflictThisWins, nullptr, nullptr), 0);
    std::map<std::string, std::string> after = Snapshot();
    for (auto it = after.begin(); it != after.end();)
        it = it->first.rfind("mine/", 0) == 0 ? after.erase(it) : std::next(it);
    for (auto it = after.begin(); it != after.end(); ++it) EXPECT_EQ(it->second, before.at(it->first)) << it->first;
    for (const auto& file : before)
        if (file.first.rfind("theirs/", 0) == 0) EXPECT_TRUE(after.count(file.first)) << file.first;
    EXPECT_EQ(after.size(), 1u);
    bool taken = false;
    CObList& records = mine.GetRecords();
    for (POSITION pos = records.GetHeadPosition(); pos;)
        if (static_cast<CBaseItem*>(records.GetNext(pos))->GetField(0) == "Mail") taken = true;
    EXPECT_TRUE(taken);
}

TEST_F(Merge, ProgressAndTheProcessKey)
{
    BuildBoth();
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    int types = (int)mine.GetTypes().GetCount(), categories = (int)mine.GetCategories().GetCount();
    int records = (int)mine.GetRecords().GetCount();
    CountingProgress progress(ownKey.get());
    ASSERT_EQ(mine.MergeWithFile(Theirs(), kMergeThisIntoOther, kConflictThisWins, theirKey.get(), &progress), 0);
    EXPECT_EQ(progress.totalCalls, 1);
    // Twice the records that are not deleted, plus types and categories.
    EXPECT_EQ(progress.total, 2 * ((records - 1) + types + categories));
    EXPECT_EQ(progress.steps, types + categories + records);
    EXPECT_EQ(progress.keySwapped, 0);
    EXPECT_EQ(GetMasterPwdMgr()->GetKey(), ownKey);
    // The lists are back to pairing by id.
    EXPECT_EQ(mine.GetRecords().GetMatchMode(), CObjectList::kMatchById);
    EXPECT_EQ(mine.GetTypes().GetMatchMode(), CObjectList::kMatchById);
    EXPECT_EQ(mine.GetCategories().GetMatchMode(), CObjectList::kMatchById);
}

TEST_F(Merge, RecordChangedSinceItWasReadIsNoLongerEqual)
{
    BuildBoth();
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    uint8_t uid[kUniqueKeySize];
    Uid(kSame, uid);
    CBaseItem* same = mine.GetRecords().FindByUid(uid);
    ASSERT_NE(same, nullptr);
    // Edited and saved, but not read back: its checksum field still holds
    // the value read at load time.
    static_cast<CRecord*>(same)->SetNotes("edited here");
    same->SetModifiedTime(5000);
    ASSERT_EQ(mine.Save(0), 0);
    ASSERT_EQ(mine.MergeWithFile(Theirs(), kMergeBothWays, kConflictLaterWins, theirKey.get(), nullptr), 0);
    CDatabaseObj theirsAfter;
    ASSERT_EQ(theirsAfter.Load(Theirs(), theirKey.get()), 0);
    const CBaseItem* there = theirsAfter.GetRecords().FindByUid(uid);
    ASSERT_NE(there, nullptr);
    EXPECT_EQ(there->GetNotes(), "edited here");
}

TEST_F(Merge, IntoAFileThatDoesNotExist)
{
    BuildSide(minePath, true, ownKey.get());
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    // From it: nothing to take, nothing created.
    EXPECT_EQ(mine.MergeWithFile(Theirs(), kMergeOtherIntoThis, kConflictThisWins, theirKey.get(), nullptr),
              kVerifierNoFile);
    EXPECT_FALSE(fs::exists(theirPath));
    // Into it: a new database with the defaults and this database's items,
    // under the key given and with its verifier.
    ASSERT_EQ(mine.MergeWithFile(Theirs(), kMergeThisIntoOther, kConflictThisWins, theirKey.get(), nullptr), 0);
    uint8_t verifier[kVerifierSize], expected[kVerifierSize];
    ASSERT_EQ(ReadPasswordVerifier(Theirs(), verifier), 0);
    MakeVerifierWithKey(theirKey.get(), expected);
    EXPECT_TRUE(VerifiersEqual(verifier, expected));
    CDatabaseObj created;
    ASSERT_EQ(created.Load(Theirs(), theirKey.get()), 0);
    EXPECT_GE(created.GetTypes().GetCount(), 18);
    EXPECT_EQ(created.GetCategories().GetCount(), 2);
    ExpectState(created, kOnlyMine, "m", "created");
    ExpectState(created, kMineLater, "m", "created");
    ExpectState(created, kDeletedMine, "-", "created");
}

// ---- Failures: an error is returned and both sides stay as they were.

class MergeFailure : public Merge {
protected:
    void Check(int rc, const std::map<std::string, std::string>& before, const CDatabaseObj& mine)
    {
        EXPECT_NE(rc, 0);
        EXPECT_EQ(Snapshot(), before) << "a file changed";
        ExpectState(mine, kMineLater, "m", "mine in memory");
        ExpectState(mine, kOnlyTheirs, "-", "mine in memory");
        ExpectState(mine, kDeletedTheirs, "b", "mine in memory");
        EXPECT_EQ(GetMasterPwdMgr()->GetKey(), ownKey);
    }
};

TEST_F(MergeFailure, WrongKey)
{
    BuildBoth();
    BlowfishKeyPtr wrong = MakeBlowfishKey(CString("not-their-password"));
    for (int direction : {kMergeThisIntoOther, kMergeOtherIntoThis, kMergeBothWays}) {
        CDatabaseObj mine;
        ASSERT_EQ(mine.Load(Mine()), 0);
        auto before = Snapshot();
        Check(mine.MergeWithFile(Theirs(), direction, kConflictThisWins, wrong.get(), nullptr), before, mine);
        EXPECT_EQ(mine.MergeWithFile(Theirs(), direction, kConflictThisWins, wrong.get(), nullptr), kMergeWrongKey);
        // No key for a file that has one.
        Check(mine.MergeWithFile(Theirs(), direction, kConflictThisWins, nullptr, nullptr), before, mine);
    }
}

TEST_F(MergeFailure, KeyForAFileWithoutPassword)
{
    BuildSide(minePath, true, ownKey.get());
    BuildSide(theirPath, false, nullptr);
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    auto before = Snapshot();
    Check(mine.MergeWithFile(Theirs(), kMergeBothWays, kConflictThisWins, theirKey.get(), nullptr), before, mine);
    // Without a key it works.
    ASSERT_EQ(mine.MergeWithFile(Theirs(), kMergeBothWays, kConflictThisWins, nullptr, nullptr), 0);
    CDatabaseObj theirsAfter;
    ASSERT_EQ(theirsAfter.Load(Theirs(), nullptr), 0);
    ExpectState(theirsAfter, kOnlyMine, "m", "theirs");
}

TEST_F(MergeFailure, UnreadableOtherFile)
{
    BuildBoth();
    std::string good = zvtest::ReadFileBytes(theirPath);
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut after the verifier", good.substr(0, 60)},
        {"cut in the middle", good.substr(0, good.size() / 2)},
        {"shorter than a verifier", good.substr(0, 20)},
        {"empty", std::string()},
        {"of a newer version", good.substr(0, 44) + std::string("\x08\x00", 2) + good.substr(46)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            FILE* f = std::fopen(theirPath.string().c_str(), "wb");
            ASSERT_NE(f, nullptr);
            std::fwrite(c.bytes.data(), 1, c.bytes.size(), f);
            std::fclose(f);
        }
        for (int direction : {kMergeThisIntoOther, kMergeOtherIntoThis, kMergeBothWays}) {
            CDatabaseObj mine;
            ASSERT_EQ(mine.Load(Mine()), 0);
            auto before = Snapshot();
            Check(mine.MergeWithFile(Theirs(), direction, kConflictOtherWins, theirKey.get(), nullptr), before, mine);
        }
    }
    // A folder where the file should be.
    fs::remove(theirPath);
    fs::create_directories(theirPath);
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    auto before = Snapshot();
    Check(mine.MergeWithFile(Theirs(), kMergeBothWays, kConflictThisWins, theirKey.get(), nullptr), before, mine);
}

TEST_F(MergeFailure, ThisDatabaseCannotBeSaved)
{
    BuildBoth();
    auto before = Snapshot();
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    mine.SetReadOnly();
    for (int direction : {kMergeOtherIntoThis, kMergeBothWays})
        Check(mine.MergeWithFile(Theirs(), direction, kConflictOtherWins, theirKey.get(), nullptr), before, mine);
    // Into the other file only, a read-only database is a fine source.
    EXPECT_EQ(mine.MergeWithFile(Theirs(), kMergeThisIntoOther, kConflictThisWins, theirKey.get(), nullptr), 0);
}

// Fails the replacement of one database file at the moment it would be put
// in place (a full disk, a file in use).
CString g_failTarget;
int FailReplacing(const CString&, const CString& target) { return target.CompareNoCase(g_failTarget) == 0 ? 112 : 0; }

TEST_F(MergeFailure, SaveOfTheOtherFileFails)
{
    BuildBoth();
    g_failTarget = Theirs();
    auto previous = SetBeforeReplaceHook(&FailReplacing);
    for (int direction : {kMergeThisIntoOther, kMergeBothWays}) {
        CDatabaseObj mine;
        ASSERT_EQ(mine.Load(Mine()), 0);
        auto before = Snapshot();
        int rc = mine.MergeWithFile(Theirs(), direction, kConflictThisWins, theirKey.get(), nullptr);
        EXPECT_EQ(rc, 112);
        EXPECT_FALSE(mine.MergeWroteOtherFile());
        // Neither database file nor any stored attachment changed, and no
        // temporary copy is left.
        EXPECT_EQ(Snapshot(), before);
    }
    SetBeforeReplaceHook(previous);
}

TEST_F(MergeFailure, SaveOfThisDatabaseFails)
{
    BuildBoth();
    g_failTarget = Mine();
    auto previous = SetBeforeReplaceHook(&FailReplacing);
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    auto before = Snapshot();
    EXPECT_EQ(mine.MergeWithFile(Theirs(), kMergeOtherIntoThis, kConflictOtherWins, theirKey.get(), nullptr), 112);
    EXPECT_EQ(Snapshot(), before);
    SetBeforeReplaceHook(previous);
}

// Whatever save fails, this database in memory is as it was before the
// merge, so its next ordinary save writes nothing of the other file's.
TEST_F(MergeFailure, AFailedSaveLeavesThisDatabaseInMemoryAsBefore)
{
    BuildBoth();
    struct Case {
        bool failMine;
        int direction;
    } cases[] = {{false, kMergeThisIntoOther}, {false, kMergeBothWays}, {true, kMergeOtherIntoThis}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        g_failTarget = c.failMine ? Mine() : Theirs();
        auto previous = SetBeforeReplaceHook(&FailReplacing);
        CDatabaseObj mine;
        ASSERT_EQ(mine.Load(Mine()), 0);
        auto before = Snapshot();
        Check(mine.MergeWithFile(Theirs(), c.direction, kConflictOtherWins, theirKey.get(), nullptr), before, mine);
        SetBeforeReplaceHook(previous);
        ASSERT_EQ(mine.Save(0), 0);
        CDatabaseObj again;
        ASSERT_EQ(again.Load(Mine()), 0);
        ExpectState(again, kMineLater, "m", "mine");
        ExpectState(again, kOnlyTheirs, "-", "mine");
        ExpectState(again, kDeletedTheirs, "b", "mine");
    }
}

// Which files a merge wrote is told apart from its result: a both-ways merge
// whose save of this database fails has already written the other file.
TEST_F(MergeFailure, TellsWhetherTheOtherFileWasWritten)
{
    struct Case {
        int direction;
        bool failMine;
        int rc;
        bool wroteOther;
    } cases[] = {
        {kMergeBothWays, true, 112, true},       {kMergeBothWays, false, 0, true},
        {kMergeThisIntoOther, false, 0, true},   {kMergeOtherIntoThis, false, 0, false},
        {kMergeOtherIntoThis, true, 112, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.direction) + (c.failMine ? " failing mine" : ""));
        BuildBoth();
        const std::string mineBefore = zvtest::ReadFileBytes(minePath);
        const std::string theirsBefore = zvtest::ReadFileBytes(theirPath);
        g_failTarget = c.failMine ? Mine() : CString();
        zvtest::ScopedReplace hook(&SetBeforeReplaceHook, &FailReplacing);
        CDatabaseObj mine;
        ASSERT_EQ(mine.Load(Mine()), 0);
        EXPECT_EQ(mine.MergeWithFile(Theirs(), c.direction, kConflictOtherWins, theirKey.get(), nullptr), c.rc);
        EXPECT_EQ(mine.MergeWroteOtherFile(), c.wroteOther);
        EXPECT_EQ(zvtest::ReadFileBytes(theirPath) != theirsBefore, c.wroteOther);
        if (c.failMine) {
            EXPECT_EQ(zvtest::ReadFileBytes(minePath), mineBefore);
            ExpectState(mine, kOnlyTheirs, "-", "mine in memory");
        }
        if (c.wroteOther) {
            CDatabaseObj theirs;
            ASSERT_EQ(theirs.Load(Theirs(), theirKey.get()), 0);
            ExpectState(theirs, kOnlyMine, "m", "theirs");
        }
    }
}

// Fails putting in place any file of the given name.
std::string g_failName;
int FailNamed(const CString&, const CString& target)
{
    const std::string path = target.GetString();
    return path.substr(path.find_last_of("\\/") + 1) == g_failName ? 112 : 0;
}

// Once this database's file is written, a later failed step (an attachment
// that could not be put in place) leaves the items in memory as written:
// the next ordinary save must not take the merge back out of the file.
TEST_F(MergeFailure, AFailureAfterThisFileWasWrittenKeepsItsItems)
{
    BuildBoth();
    CDatabaseObj mine;
    ASSERT_EQ(mine.Load(Mine()), 0);
    uint8_t uid[kUniqueKeySize];
    Uid(kMineLater, uid);
    g_failName =
        StoredFile(minePath, *static_cast<const CRecord*>(mine.GetRecords().FindByUid(uid))).filename().string();
    {
        zvtest::ScopedReplace hook(&SetBeforeReplaceHook, &FailNamed);
        EXPECT_EQ(mine.MergeWithFile(Theirs(), kMergeOtherIntoThis, kConflictOtherWins, theirKey.get(), nullptr), 112);
    }
    CDatabaseObj onDisk;
    ASSERT_EQ(onDisk.Load(Mine()), 0);
    for (int s : kScenarios) {
        SCOPED_TRACE(s);
        State memory = Find(mine, s), disk = Find(onDisk, s);
        EXPECT_EQ(memory.present, disk.present);
        EXPECT_EQ(memory.deleted, disk.deleted);
        EXPECT_EQ(memory.text, disk.text);
    }
    ExpectState(mine, kOnlyTheirs, "t", "mine in memory");
    ASSERT_EQ(mine.Save(0), 0);
    CDatabaseObj again;
    ASSERT_EQ(again.Load(Mine()), 0);
    ExpectState(again, kOnlyTheirs, "t", "mine saved again");
}

}  // namespace
