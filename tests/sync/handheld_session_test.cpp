// A whole Wi-Fi sync session's local work (CHandheldSession) under a scripted
// handheld: the password is checked before anything outside the session's
// folder is written, the desktop database and attachments are what they were
// after a failed or cancelled session, and a succeeded one takes the
// handheld's data.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/store/DatabaseObj.h"
#include "core/items/Record.h"
#include "sync/handheld/SQLiteDBWrapper.h"
#include "sync/protocol/SyncConversation.h"
#include "sync/session/HandheldSession.h"
#include "tests/support/ScratchDir.h"
#include "tests/sync/HandheldTestLists.h"
#include "tests/sync/SyncScriptedPeer.h"

using namespace zvtest;
namespace fs = std::filesystem;

namespace {

const std::string kDb = "ZorvikanDataBase.db";

class CTestHost : public ISyncSessionHost {
public:
    explicit CTestHost(const ScratchDir& dir) : m_dir(dir) {}
    int mode = kSyncBothWays;
    bool known = true;
    int adopted = 0;
    std::vector<int> states;

    SyncUserPlace Place() const
    {
        SyncUserPlace place;
        place.databasePath = CString((m_dir / "user" / "ZorvikanDatabase.zdb").string());
        place.attachmentsFolder = CString((m_dir / "user" / "Files").string());
        place.iconsFolder = CString((m_dir / "user" / "Icons").string());
        return place;
    }
    int Mode() override { return mode; }
    bool CanSync() override { return true; }
    void OnState(int state) override { states.push_back(state); }
    void OnUserName(const CString&, const CString&) override {}
    bool FindUser(const CString&, const CString&, SyncUserPlace& place) override
    {
        if (known) place = Place();
        return known;
    }
    bool AdoptUser(const CString&, const CString&, SyncUserPlace& place) override
    {
        ++adopted;
        place = Place();
        return true;
    }
    void BeforeMerge() override {}
    void AfterMerge() override {}
    bool WantsPasswordHint() override { return false; }
    void StorePasswordHint(const CString&) override {}
    void SessionEnded(SyncOutcome, bool) override {}

private:
    const ScratchDir& m_dir;
};

// The handheld's file: the plain fixture, with the crib given (none: NULL).
std::string HandheldBytes(const ScratchDir& dir, const char* crib)
{
    const fs::path path = dir / "made.db";
    fs::copy_file(HandheldFixture("plain.db"), path, fs::copy_options::overwrite_existing);
    {
        CSQLiteDBWrapper db(path.string().c_str(), 2 /* read-write */);
        EXPECT_TRUE(db.HasDatabase());
        const std::string sql = crib ? std::string("UPDATE DATABASEINFOTABLE SET PASSWORDCRIB = X'") + crib + "';"
                                     : "UPDATE DATABASEINFOTABLE SET PASSWORDCRIB = NULL;";
        EXPECT_EQ(db.Exec(sql.c_str()), 0);
        db.Close();
    }
    return ReadFileBytes(path);
}

struct SessionRig {
    ScratchDir dir{"hhsession"};
    CTestHost host{dir};
    std::string databaseBefore;

    SessionRig()
    {
        fs::create_directories(dir / "temp");
        fs::create_directories(dir / "user" / "Files");
        dir.WriteFile("user/Files/7777.zfa", "desktop's attachment");
        CDatabaseObj desktop;
        EXPECT_EQ(desktop.Load(host.Place().databasePath, nullptr), 0);
        CRecord* own = new CRecord;
        own->SetId(0x7777);
        own->SetField(0, "desktop's own");
        own->SetAttachmentName("a.txt");
        desktop.GetRecords().Add(own);
        EXPECT_EQ(desktop.Save(0, nullptr), 0);
        databaseBefore = ReadFileBytes(dir / "user" / "ZorvikanDatabase.zdb");
    }

    SyncOutcome Run(const SyncScript& script, int mode, int64_t timeLimitMs = SyncWireLimits().sessionMs)
    {
        host.mode = mode;
        CScriptedHandheld peer(script);
        SyncWireLimits limits;
        limits.sessionMs = timeLimitMs;
        CSyncWire wire(peer, limits, [&peer] { return peer.Now(); });
        CHandheldSession session(host);
        session.SetTimeLimit(timeLimitMs);
        EXPECT_EQ(session.Begin((dir / "temp").string()), 0);
        CSyncConversation conversation(wire, session);
        const SyncOutcome outcome = conversation.Run();
        session.Finish(outcome);
        said = peer.Said();
        expected = peer.Expected();
        return outcome;
    }

    bool DesktopUnchanged() const
    {
        return ReadFileBytes(dir / "user" / "ZorvikanDatabase.zdb") == databaseBefore &&
               ReadFileBytes(dir / "user" / "Files" / "7777.zfa") == "desktop's attachment";
    }
    bool TempEmpty() const { return fs::is_empty(dir / "temp"); }

    std::string said, expected;
};

SyncScript HandheldOverwrites(const std::string& db, const char* finalReply)
{
    SyncScript script = PhaseOneStart({{kDb, db}}) + SyncScript{D("SyncModeIphoneOverides"), H("OK"), D("OK")} +
                        HandheldBatch({{"3e9.zfa", "handheld's attachment"}}) +
                        SyncScript{D("SyncFinalize"), H(finalReply)};
    if (std::string(finalReply) == "SyncSuccess")
        return script + SyncScript{D("SendiPhoneCustomIcons")} + HandheldBatch({{"1000.png", "icon"}}) +
               EndConnection();
    return script + FailedWith("00000005");
}

TEST(HandheldSession, HandheldOverwritesTakesItsRecordsAttachmentsAndIcons)
{
    SessionRig rig;
    EXPECT_EQ(rig.Run(HandheldOverwrites(HandheldBytes(rig.dir, nullptr), "SyncSuccess"), kSyncHandheldOverwrites),
              SyncOutcome::kSucceeded);
    EXPECT_EQ(rig.said, rig.expected);
    CDatabaseObj desktop;
    ASSERT_EQ(desktop.Load(rig.host.Place().databasePath, nullptr), 0);
    EXPECT_NE(desktop.GetRecords().FindById(1001), nullptr);
    EXPECT_EQ(desktop.GetRecords().FindById(0x7777), nullptr);
    EXPECT_EQ(ReadFileBytes(rig.dir / "user" / "Files" / "3e9.zfa"), "handheld's attachment");
    EXPECT_FALSE(fs::exists(rig.dir / "user" / "Files" / "7777.zfa"));
    EXPECT_EQ(ReadFileBytes(rig.dir / "user" / "Icons" / "1000.png"), "icon");
    EXPECT_TRUE(rig.TempEmpty());
    EXPECT_EQ(rig.host.states.back(), kSyncStateFinishing);
}

TEST(HandheldSession, AWrongFinalReplyPutsTheDesktopBackAsItWas)
{
    SessionRig rig;
    EXPECT_EQ(rig.Run(HandheldOverwrites(HandheldBytes(rig.dir, nullptr), "Nope"), kSyncHandheldOverwrites),
              SyncOutcome::kFailed);
    EXPECT_EQ(rig.said, rig.expected);
    EXPECT_TRUE(rig.DesktopUnchanged());
    EXPECT_FALSE(fs::exists(rig.dir / "user" / "Files" / "3e9.zfa"));
    EXPECT_FALSE(fs::exists(rig.dir / "user" / "Icons"));
    EXPECT_TRUE(rig.TempEmpty());
}

TEST(HandheldSession, AWrongCribChangesNothingOutsideTheSessionFolder)
{
    for (bool known : {true, false}) {
        SessionRig rig;
        rig.host.known = known;
        const SyncScript script = PhaseOneStart({{kDb, HandheldBytes(rig.dir, "0102")}}) +
                                  SyncScript{D("SyncModeIphoneOverides"), H("OK"), D("OK")} +
                                  HandheldBatch({{"3e9.zfa", "x"}}) + FailedWith("00000001");
        EXPECT_EQ(rig.Run(script, kSyncHandheldOverwrites), SyncOutcome::kPasswordMismatch) << known;
        EXPECT_EQ(rig.said, rig.expected) << known;
        EXPECT_EQ(rig.host.adopted, 0) << known;
        EXPECT_TRUE(rig.DesktopUnchanged()) << known;
        EXPECT_TRUE(rig.TempEmpty()) << known;
    }
}

TEST(HandheldSession, ACancelAfterTheMergePutsTheDesktopBack)
{
    SessionRig rig;
    const SyncScript script =
        PhaseOneStart({{kDb, HandheldBytes(rig.dir, nullptr)}}) +
        SyncScript{D("SyncModeSynchronization"), H("OK"), D("SendNewAndModifiedAttachments")} + HandheldBatch({}) +
        SyncScript{H("OK"), D("SyncFinalize"), H("OK"), D("OK")} +
        SyncScript{H("SendDesktopDatabase"), D("OK"), H("OK"), D("FileSend"), H("SyncHasToStop")} + EndConnection();
    EXPECT_EQ(rig.Run(script, kSyncBothWays), SyncOutcome::kCancelled);
    EXPECT_EQ(rig.said, rig.expected);
    EXPECT_TRUE(rig.DesktopUnchanged());
    EXPECT_TRUE(rig.TempEmpty());
    EXPECT_EQ(rig.host.states.back(), kSyncStateCancelled);
}

TEST(HandheldSession, AnUnreadableHandheldDatabaseEndsWithItsCode)
{
    SessionRig rig;
    const SyncScript script =
        PhaseOneStart({{kDb, ReadFileBytes(HandheldFixture("not_sqlite.db"))}}) + FailedWith("00000007");
    EXPECT_EQ(rig.Run(script, kSyncBothWays), SyncOutcome::kUnreadable);
    EXPECT_EQ(rig.said, rig.expected);
    EXPECT_TRUE(rig.DesktopUnchanged());
    EXPECT_TRUE(rig.TempEmpty());
    EXPECT_EQ(rig.host.states.back(), kSyncStateUnreadable);
}

TEST(HandheldSession, AFileThatWouldRunAQueryWithoutEndFailsInTimeAndTheNextSessionRuns)
{
    // Its information table is a view over a query that never yields a row:
    // refused before anything is stepped, and stopped by the session's limit
    // if it ever were.
    SessionRig rig;
    const int64_t limitMs = 20000;
    const auto start = std::chrono::steady_clock::now();
    const SyncScript hostile =
        PhaseOneStart({{kDb, ReadFileBytes(HandheldFixture("view_info.db"))}}) + FailedWith("00000007");
    EXPECT_EQ(rig.Run(hostile, kSyncBothWays, limitMs), SyncOutcome::kUnreadable);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count(),
              limitMs);
    EXPECT_EQ(rig.said, rig.expected);
    EXPECT_TRUE(rig.DesktopUnchanged());
    EXPECT_TRUE(rig.TempEmpty());

    EXPECT_EQ(
        rig.Run(HandheldOverwrites(HandheldBytes(rig.dir, nullptr), "SyncSuccess"), kSyncHandheldOverwrites, limitMs),
        SyncOutcome::kSucceeded);
    EXPECT_EQ(rig.said, rig.expected);
    CDatabaseObj desktop;
    ASSERT_EQ(desktop.Load(rig.host.Place().databasePath, nullptr), 0);
    EXPECT_NE(desktop.GetRecords().FindById(1001), nullptr);
}

}  // namespace
