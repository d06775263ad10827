// The merge of a Wi-Fi sync: the list strategies (pairing, copies, deletions,
// the later "Date Mod" day), the attachment files of both sides, and the
// whole merge against a received handheld file with its checked saves.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/crypto/BlowfishKey.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "sync/handheld/HandheldDatabase.h"
#include "sync/handheld/IPhoneRecordTable.h"
#include "sync/merge/HandheldMerge.h"
#include "sync/merge/IPhoneSync.h"
#include "sync/protocol/SyncSessionWork.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/ScratchDir.h"
#include "tests/sync/HandheldTestLists.h"

using namespace zvtest;
namespace fs = std::filesystem;

namespace {

CRecord* AddRecord(CRecordList& list, int32_t id, const char* name, bool modified, const char* dateMod = "")
{
    CRecord* record = new CRecord;
    record->SetId(id);
    record->SetField(0, name);
    record->SetField(9, dateMod);
    record->SetModified(modified);
    list.Add(record);
    return record;
}

CRecord* Find(CRecordList& list, int32_t id) { return static_cast<CRecord*>(list.FindById(id)); }

std::set<const void*> Objects(const CObList& list)
{
    std::set<const void*> objects;
    for (POSITION pos = list.GetHeadPosition(); pos;) objects.insert(list.GetNext(pos));
    return objects;
}

struct SyncCase {
    const char* what;
    bool desktopModified;
    const char* desktopDate;
    bool handheldModified;
    const char* handheldDate;
    const char* winner;
};

TEST(IPhoneSync, BothWaysAPairTakesTheModifiedSideOrTheLaterDay)
{
    const SyncCase cases[] = {
        {"desktop later", true, "March 06, 2009", true, "March 05, 2009", "desk"},
        {"handheld later", true, "March 05, 2009", true, "April 01, 2009", "hand"},
        {"same day: handheld", true, "March 05, 2009", true, "March 05, 2009", "hand"},
        {"no dates: handheld", true, "", true, "", "hand"},
        {"only desktop modified", true, "", false, "", "desk"},
        {"only handheld modified", false, "", true, "", "hand"},
        {"neither: handheld", false, "", false, "", "hand"},
    };
    for (const SyncCase& c : cases) {
        CRecordList desktop, handheld;
        AddRecord(desktop, 7, "desk", c.desktopModified, c.desktopDate);
        AddRecord(handheld, 7, "hand", c.handheldModified, c.handheldDate);
        CiPhoneRecSync().Sync(desktop, handheld);
        ASSERT_EQ(desktop.GetCount(), 1) << c.what;
        ASSERT_EQ(handheld.GetCount(), 1) << c.what;
        EXPECT_EQ(Find(desktop, 7)->GetField(0), CString(c.winner)) << c.what;
        EXPECT_EQ(Find(handheld, 7)->GetField(0), CString(c.winner)) << c.what;
    }
}

TEST(IPhoneSync, BothWaysCopiesLoneItemsAcrossAndNeverSharesThem)
{
    CRecordList desktop, handheld;
    AddRecord(desktop, 1, "desktop only", false);
    AddRecord(handheld, 2, "handheld only", false);
    CiPhoneRecSync().Sync(desktop, handheld);
    ASSERT_EQ(desktop.GetCount(), 2);
    ASSERT_EQ(handheld.GetCount(), 2);
    EXPECT_EQ(Find(desktop, 2)->GetField(0), CString("handheld only"));
    EXPECT_EQ(Find(handheld, 1)->GetField(0), CString("desktop only"));
    // Each list owns its own items: nothing is destroyed twice.
    const std::set<const void*> a = Objects(desktop), b = Objects(handheld);
    for (const void* item : a) EXPECT_EQ(b.count(item), 0u);
}

TEST(IPhoneSync, ADeletionOnEitherSideDeletesBoth)
{
    CRecordList desktop, handheld;
    AddRecord(desktop, 5, "edited on the desktop", true, "May 01, 2010");
    CRecord* gone = AddRecord(handheld, 5, "deleted on the handheld", true);
    gone->SetDeleted(true);
    CiPhoneRecSync().Sync(desktop, handheld);
    desktop.PurgeDeleted();
    EXPECT_EQ(desktop.GetCount(), 0);
    for (POSITION pos = handheld.GetHeadPosition(); pos;)
        EXPECT_TRUE(static_cast<CBaseItem*>(handheld.GetNext(pos))->IsDeleted());
}

TEST(IPhoneSync, OverwriteLeavesExactlyTheSourcesLiveItemsAsCopies)
{
    CTypesList source, target;
    for (uint8_t key : {1, 2, 3}) {
        CTypeItem* type = new CTypeItem;
        TestKey k(key);
        type->SetKey(k.b);
        type->SetName(key == 2 ? "gone" : "kept");
        if (key == 2) type->SetDeleted(true);
        source.Add(type);
    }
    CTypeItem* old = new CTypeItem;
    TestKey k(9);
    old->SetKey(k.b);
    target.Add(old);
    CiPhoneTypSync().Overwrite(source, target);
    ASSERT_EQ(target.GetCount(), 2);
    EXPECT_EQ(target.FindByUid(TestKey(9).b), nullptr);
    EXPECT_NE(target.FindByUid(TestKey(1).b), nullptr);
    EXPECT_NE(target.FindByUid(TestKey(3).b), nullptr);
    const std::set<const void*> a = Objects(source), b = Objects(target);
    for (const void* item : b) EXPECT_EQ(a.count(item), 0u);
}

// The attachment files of a pair: what each folder holds after the
// reconciliation.
struct AttachmentCase {
    const char* what;
    bool desktopModified, desktopHas, desktopDeleted;
    const char* desktopDate;
    bool handheldModified, handheldHas;
    const char* handheldDate;
    // "" for no file.
    const char* desktopFileAfter;
    const char* handheldFileAfter;
};

TEST(IPhoneSync, AttachmentFilesFollowTheRecordThatWins)
{
    const AttachmentCase cases[] = {
        {"desktop changed, handheld not", true, true, false, "", false, true, "", "D", "D"},
        {"both changed, desktop later", true, true, false, "June 02, 2011", true, true, "June 01, 2011", "D", "D"},
        {"both changed, same day", true, true, false, "June 02, 2011", true, true, "June 02, 2011", "H", "H"},
        {"desktop deleted", false, true, true, "", false, true, "", "D", ""},
        {"desktop dropped it, handheld not changed", true, false, false, "", false, true, "", "D", ""},
        {"desktop dropped it later", true, false, false, "June 05, 2011", true, true, "June 01, 2011", "D", ""},
        {"handheld changed it later", true, false, false, "June 01, 2011", true, true, "June 05, 2011", "H", "H"},
        {"neither changed", false, true, false, "", false, true, "", "D", "H"},
    };
    for (const AttachmentCase& c : cases) {
        ScratchDir dir("attach");
        fs::create_directories(dir / "Files");
        fs::create_directories(dir / "Temp");
        CRecordList desktop, handheld;
        CRecord* a = AddRecord(desktop, 0x2a, "a", c.desktopModified, c.desktopDate);
        if (c.desktopHas) a->SetAttachmentName("a.txt");
        a->SetDeleted(c.desktopDeleted);
        CRecord* b = AddRecord(handheld, 0x2a, "b", c.handheldModified, c.handheldDate);
        if (c.handheldHas) b->SetAttachmentName("b.txt");
        dir.WriteFile("Files/2a.zfa", "D");
        dir.WriteFile("Temp/2a.zfa", "H");
        CiPhoneRecSync().AfterMerge(desktop, handheld, CString((dir / "Files").string()),
                                    CString((dir / "Temp").string()));
        EXPECT_EQ(ReadFileBytes(dir / "Files/2a.zfa"), c.desktopFileAfter) << c.what;
        EXPECT_EQ(ReadFileBytes(dir / "Temp/2a.zfa"), c.handheldFileAfter) << c.what;
    }
}

TEST(IPhoneSync, ALoneRecordsFileGoesToTheOtherFolder)
{
    ScratchDir dir("attach");
    fs::create_directories(dir / "Files");
    fs::create_directories(dir / "Temp");
    CRecordList desktop, handheld;
    AddRecord(desktop, 0x10, "desktop only", false)->SetAttachmentName("x");
    AddRecord(handheld, 0x11, "handheld only", false)->SetAttachmentName("y");
    dir.WriteFile("Files/10.zfa", "desk");
    dir.WriteFile("Temp/11.zfa", "hand");
    CiPhoneRecSync().AfterMerge(desktop, handheld, CString((dir / "Files").string()), CString((dir / "Temp").string()));
    EXPECT_EQ(ReadFileBytes(dir / "Temp/10.zfa"), "desk");
    EXPECT_EQ(ReadFileBytes(dir / "Files/11.zfa"), "hand");
}

// A desktop database with one record of its own, in a user folder.
struct MergeRig {
    ScratchDir dir{"hhmerge"};
    CString databasePath;
    CString handheldPath;

    explicit MergeRig(const BlowfishContext* key)
    {
        fs::create_directories(dir / "user" / "Files");
        fs::create_directories(dir / "session" / "TempAttachments");
        databasePath = CString((dir / "user" / "ZorvikanDatabase.zdb").string());
        handheldPath = CString((dir / "session" / "ZorvikanDataBase.db").string());
        fs::copy_file(HandheldFixture("plain.db"), handheldPath.Std());
        CDatabaseObj desktop;
        EXPECT_EQ(desktop.Load(databasePath, key), 0);
        AddRecord(desktop.GetRecords(), 0x7777, "desktop's own", false);
        EXPECT_EQ(desktop.Save(0, key), 0);
    }

    HandheldMergeSetup Setup(int mode, const BlowfishContext* key) const
    {
        HandheldMergeSetup setup;
        setup.mode = mode;
        setup.desktopKey = key;
        setup.attachmentsFolder = CString((dir / "user" / "Files").string());
        setup.receivedAttachments = CString((dir / "session" / "TempAttachments").string());
        setup.handheldDatabasePath = handheldPath;
        return setup;
    }

    int Merge(const HandheldMergeSetup& setup, const BlowfishContext* key)
    {
        CDatabaseObj desktop;
        if (desktop.Load(databasePath, key) != 0) return 99;
        std::unique_ptr<CHandheldDatabase> handheld = OpenHandheldDatabase(handheldPath);
        CHandheldDatabaseInfo info;
        if (handheld->ReadInfo(info) != 0) return 98;
        CiPhoneRecordTable table;
        return MergeHandheldDatabase(desktop, *handheld, table, setup);
    }
};

TEST(HandheldMerge, EveryModeEndsWithCleanListsOnBothSides)
{
    for (int mode : {kSyncDesktopOverwrites, kSyncHandheldOverwrites, kSyncBothWays}) {
        MergeRig rig(nullptr);
        ASSERT_EQ(rig.Merge(rig.Setup(mode, nullptr), nullptr), kHandheldMergeOk) << mode;
        CDatabaseObj desktop;
        ASSERT_EQ(desktop.Load(rig.databasePath, nullptr), 0);
        const bool ownKept = desktop.GetRecords().FindById(0x7777) != nullptr;
        EXPECT_EQ(ownKept, mode != kSyncHandheldOverwrites) << mode;
        EXPECT_EQ(desktop.GetRecords().FindById(1001) != nullptr, mode != kSyncDesktopOverwrites) << mode;
        for (POSITION pos = desktop.GetRecords().GetHeadPosition(); pos;) {
            const CBaseItem* item = static_cast<const CBaseItem*>(desktop.GetRecords().GetNext(pos));
            EXPECT_FALSE(item->IsDeleted());
            EXPECT_FALSE(item->IsModified());
            EXPECT_EQ(item->GetAttachmentChanged(), 0);
        }
        // The rewritten handheld file holds the desktop's record unless the
        // handheld overwrote the desktop.
        HandheldLists back;
        ASSERT_EQ(ReadFile(rig.handheldPath.Std(), back), 0) << mode;
        EXPECT_EQ(back.records.FindById(0x7777) != nullptr, mode != kSyncHandheldOverwrites) << mode;
    }
}

TEST(HandheldMerge, WorksUnderItsOwnKeyAndLeavesTheMasterKeyAlone)
{
    const BlowfishKeyPtr before = GetMasterPwdMgr()->GetKey();
    const BlowfishKeyPtr key = MakeBlowfishKey(CSecretString("handheld pw"));
    MergeRig rig(key.get());
    ASSERT_EQ(rig.Merge(rig.Setup(kSyncBothWays, key.get()), key.get()), kHandheldMergeOk);
    EXPECT_EQ(GetMasterPwdMgr()->GetKey(), before);
    CDatabaseObj desktop;
    ASSERT_EQ(desktop.Load(rig.databasePath, key.get()), 0);
    EXPECT_EQ(desktop.GetBadChecksumCount(), 0);
    EXPECT_NE(desktop.GetRecords().FindById(1001), nullptr);
}

TEST(HandheldMerge, AFailedWriteBackLeavesTheDesktopFileAsItWas)
{
    MergeRig rig(nullptr);
    const std::string before = ReadFileBytes(rig.databasePath.Std());
    HandheldMergeSetup setup = rig.Setup(kSyncBothWays, nullptr);
    // Nowhere to write back: the rewrite is not made.
    setup.handheldDatabasePath = CString((rig.dir / "session" / "missing.db").string());
    EXPECT_EQ(rig.Merge(setup, nullptr), kHandheldMergeWriteBackFailed);
    EXPECT_EQ(ReadFileBytes(rig.databasePath.Std()), before);
}

TEST(HandheldMerge, AFailedSaveIsReported)
{
    MergeRig rig(nullptr);
    CDatabaseObj desktop;
    ASSERT_EQ(desktop.Load(rig.databasePath, nullptr), 0);
    desktop.SetReadOnly();
    std::unique_ptr<CHandheldDatabase> handheld = OpenHandheldDatabase(rig.handheldPath);
    CHandheldDatabaseInfo info;
    ASSERT_EQ(handheld->ReadInfo(info), 0);
    CiPhoneRecordTable table;
    EXPECT_EQ(MergeHandheldDatabase(desktop, *handheld, table, rig.Setup(kSyncHandheldOverwrites, nullptr)),
              kHandheldMergeSaveFailed);
}

TEST(HandheldMerge, AnUnreadableHandheldChangesNothing)
{
    MergeRig rig(nullptr);
    fs::copy_file(HandheldFixture("short_row.db"), rig.handheldPath.Std(), fs::copy_options::overwrite_existing);
    const std::string before = ReadFileBytes(rig.databasePath.Std());
    CDatabaseObj desktop;
    ASSERT_EQ(desktop.Load(rig.databasePath, nullptr), 0);
    std::unique_ptr<CHandheldDatabase> handheld = OpenHandheldDatabase(rig.handheldPath);
    CHandheldDatabaseInfo info;
    handheld->ReadInfo(info);
    CiPhoneRecordTable table;
    EXPECT_EQ(MergeHandheldDatabase(desktop, *handheld, table, rig.Setup(kSyncBothWays, nullptr)),
              kHandheldMergeReadFailed);
    EXPECT_EQ(ReadFileBytes(rig.databasePath.Std()), before);
}

TEST(HandheldMerge, AFileWhoseUidsWouldNotReadBackIsNeverReportedMerged)
{
    // Its type uids are declared NUMERIC: the desktop record's all-digit
    // type key would be written back as a number.
    MergeRig rig(nullptr);
    fs::copy_file(HandheldFixture("numeric_typeuid.db"), rig.handheldPath.Std(), fs::copy_options::overwrite_existing);
    const std::string before = ReadFileBytes(rig.databasePath.Std());
    for (int mode : {kSyncBothWays, kSyncDesktopOverwrites}) {
        const int result = rig.Merge(rig.Setup(mode, nullptr), nullptr);
        if (result == kHandheldMergeOk) {
            HandheldLists back;
            EXPECT_EQ(ReadFile(rig.handheldPath.Std(), back), kHandheldOk) << mode;
        }
        EXPECT_NE(result, kHandheldMergeOk) << mode;
        EXPECT_EQ(ReadFileBytes(rig.databasePath.Std()), before) << mode;
    }
}

}  // namespace
