// The desktop-file sync job: every mode and rule against remote files under
// the same password, none, another one typed right or wrong, or skipped;
// and every way the remote or current file can fail.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "core/crypto/BlowfishKey.h"
#include "core/os/ProcessSeams.h"
#include "core/store/DatabaseMutex.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "sync/files/NWSyncProgress.h"
#include "sync/files/SyncDatabase.h"
#include "sync/files/SyncResult.h"
#include "tests/support/DatabaseFixtures.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/TestText.h"
#include "tests/sync/SyncFilesTestDb.h"

namespace fs = std::filesystem;
using namespace zvtest;

namespace {

enum class Remote { SamePassword, NoPassword, OtherPassword, WrongPassword, EmptyPassword, Skipped };

class ScriptedPrompt : public CRemotePasswordPrompt {
public:
    ScriptedPrompt(bool answer, const char* password) : m_answer(answer), m_password(password) {}
    bool Ask(const CString& remotePath, CSecretString& password) override
    {
        ++asked;
        path = remotePath;
        if (m_answer) password = CSecretString(m_password);
        return m_answer;
    }
    int asked = 0;
    CString path;

private:
    bool m_answer;
    const char* m_password;
};

class RecordingProgress : public CNWSyncProgress {
public:
    void SetRange(int total) override { ranges.push_back(total); }
    void SetPos(int position) override { positions.push_back(position); }
    void Step() override { ++steps; }
    std::vector<int> ranges, positions;
    int steps = 0;
};

class SyncJob : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetMasterPwdMgr()->SetPassword(CString("mine")), 0);
        ownKey = GetMasterPwdMgr()->GetKey();
        current = dir.Path() / "a" / "ZorvikanDatabase.zdb";
        remote = dir.Path() / "b" / "remote.zdb";
        WriteSyncDb(current, ownKey.get(), {{kSharedUid, {"current", 100}}, {kCurrentUid, {"only current", 50}}});
        ASSERT_EQ(db.Load(WinPath(current)), 0);
    }
    void TearDown() override
    {
        SetKeyWipeObserver(nullptr);
        GetMasterPwdMgr()->ClearPassword();
    }
    // The remote file under the key the case gives; returns that key.
    BlowfishKeyPtr MakeRemote(Remote kind)
    {
        BlowfishKeyPtr key;
        if (kind == Remote::SamePassword)
            key = ownKey;
        else if (kind != Remote::NoPassword)
            key = MakeBlowfishKey(CSecretString("theirs"));
        WriteSyncDb(remote, key.get(), {{kSharedUid, {"remote", 200}}, {kRemoteUid, {"only remote", 60}}});
        return key;
    }
    int Run(int mode, int rule, CRemotePasswordPrompt* prompt = nullptr, CNWSyncProgress* progress = nullptr)
    {
        job.SetPath(WinPath(remote));
        job.SetMode(mode);
        job.SetRule(rule);
        job.SetPasswordPrompt(prompt);
        return job.Sync(db, progress);
    }

    ScratchDir dir{"syncjob"};
    fs::path current, remote;
    BlowfishKeyPtr ownKey;
    CDatabaseObj db;
    CSyncDatabase job;
};

TEST(SyncResultTexts, EveryCodeHasItsText)
{
    const char* const expected[] = {"Success",
                                    "Failure",
                                    "Skiped",
                                    "Password missmatch",
                                    "Local file already in use",
                                    "Local file read error",
                                    "Local file write error",
                                    "Remote file already in use",
                                    "Remote file read error",
                                    "Remote file write error",
                                    "Unknown"};
    for (int code = 0; code <= 10; ++code) EXPECT_STREQ(SyncResultText(code), expected[code]) << code;
    EXPECT_STREQ(SyncResultText(-1), "Unknown");
    EXPECT_STREQ(SyncResultText(11), "Unknown");
}

TEST(SyncJobDefaults, BothWaysRemoteWinsNoPath)
{
    CSyncDatabase job;
    EXPECT_EQ(job.GetPath(), "");
    EXPECT_EQ(job.GetMode(), kSyncBothWays);
    EXPECT_EQ(job.GetRule(), kSyncRemoteWins);
}

// Mode x rule x remote password: the result, whether the user was asked,
// and what each file holds afterwards.
TEST_F(SyncJob, ModeRulePasswordTable)
{
    const Remote kinds[] = {Remote::SamePassword,  Remote::NoPassword,    Remote::OtherPassword,
                            Remote::WrongPassword, Remote::EmptyPassword, Remote::Skipped};
    for (int mode = 0; mode <= 2; ++mode) {
        for (int rule = 0; rule <= 2; ++rule) {
            for (Remote kind : kinds) {
                SCOPED_TRACE(testing::Message()
                             << "mode " << mode << " rule " << rule << " kind " << static_cast<int>(kind));
                WriteSyncDb(current, ownKey.get(),
                            {{kSharedUid, {"current", 100}}, {kCurrentUid, {"only current", 50}}});
                ASSERT_EQ(db.Load(WinPath(current)), 0);
                BlowfishKeyPtr remoteKey = MakeRemote(kind);
                const std::string currentBefore = ReadFileBytes(current), remoteBefore = ReadFileBytes(remote);
                const auto memoryBefore = NotesOf(db);

                const bool asks = kind != Remote::SamePassword && kind != Remote::NoPassword;
                const char* typed = kind == Remote::OtherPassword   ? "theirs"
                                    : kind == Remote::WrongPassword ? "theirs2"
                                                                    : "";
                ScriptedPrompt prompt(kind != Remote::Skipped, typed);
                const int result = Run(mode, rule, &prompt);
                EXPECT_EQ(prompt.asked, asks ? 1 : 0);

                if (kind == Remote::Skipped || kind == Remote::WrongPassword || kind == Remote::EmptyPassword) {
                    EXPECT_EQ(result, kind == Remote::Skipped ? kSyncSkipped : kSyncPasswordMismatch);
                    EXPECT_EQ(ReadFileBytes(current), currentBefore);
                    EXPECT_EQ(ReadFileBytes(remote), remoteBefore);
                    EXPECT_EQ(NotesOf(db), memoryBefore);
                    continue;
                }
                ASSERT_EQ(result, kSyncSuccess);
                // Current wins keeps "current"; remote wins and the later
                // change (the remote one) keep "remote".
                const std::string winner = rule == kSyncCurrentWins ? "current" : "remote";
                const auto onCurrent = NotesOfFile(current, ownKey.get());
                const auto onRemote = NotesOfFile(remote, remoteKey.get());
                if (mode == kSyncCurrentToRemote) {
                    EXPECT_EQ(ReadFileBytes(current), currentBefore);
                    EXPECT_EQ(onRemote,
                              (std::map<uint8_t, std::string>{
                                  {kSharedUid, winner}, {kCurrentUid, "only current"}, {kRemoteUid, "only remote"}}));
                } else if (mode == kSyncRemoteToCurrent) {
                    EXPECT_EQ(ReadFileBytes(remote), remoteBefore);
                    EXPECT_EQ(onCurrent,
                              (std::map<uint8_t, std::string>{
                                  {kSharedUid, winner}, {kCurrentUid, "only current"}, {kRemoteUid, "only remote"}}));
                } else {
                    const std::map<uint8_t, std::string> both{
                        {kSharedUid, winner}, {kCurrentUid, "only current"}, {kRemoteUid, "only remote"}};
                    EXPECT_EQ(onCurrent, both);
                    EXPECT_EQ(onRemote, both);
                }
            }
        }
    }
}

TEST_F(SyncJob, LatestWinsTieKeepsCurrent)
{
    WriteSyncDb(remote, ownKey.get(), {{kSharedUid, {"remote", 100}}});
    ASSERT_EQ(Run(kSyncBothWays, kSyncLatestWins), kSyncSuccess);
    EXPECT_EQ(NotesOfFile(remote, ownKey.get())[kSharedUid], "current");
    EXPECT_EQ(NotesOfFile(current, ownKey.get())[kSharedUid], "current");
}

TEST_F(SyncJob, ProgressGetsOneRangeAndAStepPerWalkedItem)
{
    MakeRemote(Remote::SamePassword);
    RecordingProgress progress;
    ASSERT_EQ(Run(kSyncCurrentToRemote, kSyncCurrentWins, nullptr, &progress), kSyncSuccess);
    // Twice the current items: two records, no types or categories.
    EXPECT_EQ(progress.ranges, std::vector<int>{4});
    EXPECT_EQ(progress.steps, 2);
}

TEST_F(SyncJob, WithoutPromptAnotherPasswordIsSkipped)
{
    MakeRemote(Remote::OtherPassword);
    const auto before = SnapshotFiles(dir.Path());
    EXPECT_EQ(Run(kSyncBothWays, kSyncRemoteWins), kSyncSkipped);
    EXPECT_EQ(SnapshotFiles(dir.Path()), before);
}

// A remote file that cannot be read is never merged, written or created.
TEST_F(SyncJob, UnreadableRemoteIsAReadErrorInEveryMode)
{
    struct Case {
        const char* what;
        std::string bytes;  // empty: no file at all
    };
    const std::string currentBytes = ReadFileBytes(current);
    const Case cases[] = {
        {"missing", ""},
        {"shorter than its verifier", std::string(20, '\x11')},
        // This database's verifier and then nothing that loads.
        {"same verifier, damaged body", currentBytes.substr(0, 60)},
    };
    for (const Case& c : cases) {
        for (int mode = 0; mode <= 2; ++mode) {
            SCOPED_TRACE(testing::Message() << c.what << " mode " << mode);
            fs::remove(remote);
            if (!c.bytes.empty()) dir.WriteFile("b/remote.zdb", c.bytes);
            const auto before = SnapshotFiles(dir.Path());
            const auto memory = NotesOf(db);
            ScriptedPrompt prompt(true, "theirs");
            EXPECT_EQ(Run(mode, kSyncRemoteWins, &prompt), kSyncRemoteReadError);
            EXPECT_EQ(SnapshotFiles(dir.Path()), before);
            EXPECT_EQ(NotesOf(db), memory);
            EXPECT_FALSE(job.WroteRemoteFile());
        }
    }
}

TEST_F(SyncJob, DatabaseMutexHeldElsewhereIsRemoteInUse)
{
    MakeRemote(Remote::SamePassword);
    const auto before = SnapshotFiles(dir.Path());
    ScopedReplace wait(&SetDatabaseMutexWaitMs, 50u);
    std::atomic<bool> held{false}, release{false};
    std::thread holder([&] {
        CDatabaseMutexLock lock;
        held = true;
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    while (!held) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The remote file's verifier is read first, whatever the mode, and it
    // waits the full ten seconds: one run.
    EXPECT_EQ(Run(kSyncBothWays, kSyncRemoteWins), kSyncRemoteInUse);
    release = true;
    holder.join();
    EXPECT_EQ(SnapshotFiles(dir.Path()), before);
    EXPECT_EQ(NotesOf(db), (std::map<uint8_t, std::string>{{kSharedUid, "current"}, {kCurrentUid, "only current"}}));
}

std::string g_failTarget;
int FailReplacing(const CString& /*temp*/, const CString& target)
{
    return std::string(static_cast<const char*>(target)).find(g_failTarget) != std::string::npos ? 5 : 0;
}

// A failed save: the result names the file, nothing is written that the
// failure cut short, and this database's items stay as they were unless its
// own file was written.
TEST_F(SyncJob, FailedSavesReportTheirFile)
{
    struct Case {
        int mode;
        const char* failing;
        int result;
        bool wroteRemote;
    };
    const Case cases[] = {
        {kSyncCurrentToRemote, "remote.zdb", kSyncRemoteWriteError, false},
        {kSyncBothWays, "remote.zdb", kSyncRemoteWriteError, false},
        {kSyncRemoteToCurrent, "ZorvikanDatabase.zdb", kSyncLocalWriteError, false},
        {kSyncBothWays, "ZorvikanDatabase.zdb", kSyncLocalWriteError, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " failing " << c.failing);
        BlowfishKeyPtr remoteKey = MakeRemote(Remote::OtherPassword);
        const std::string currentBefore = ReadFileBytes(current), remoteBefore = ReadFileBytes(remote);
        const auto memory = NotesOf(db);
        g_failTarget = c.failing;
        ScriptedPrompt prompt(true, "theirs");
        {
            ScopedReplace hook(&SetBeforeReplaceHook, &FailReplacing);
            EXPECT_EQ(Run(c.mode, kSyncRemoteWins, &prompt), c.result);
        }
        EXPECT_EQ(job.WroteRemoteFile(), c.wroteRemote);
        EXPECT_EQ(ReadFileBytes(current), currentBefore);
        EXPECT_EQ(NotesOf(db), memory);
        if (c.wroteRemote)
            EXPECT_EQ(NotesOfFile(remote, remoteKey.get()).size(), 3u);
        else
            EXPECT_EQ(ReadFileBytes(remote), remoteBefore);
    }
}

TEST_F(SyncJob, CurrentThatCannotBeSavedIsRefusedBeforeAnything)
{
    MakeRemote(Remote::SamePassword);
    const auto before = SnapshotFiles(dir.Path());
    db.SetReadOnly();
    EXPECT_EQ(Run(kSyncRemoteToCurrent, kSyncRemoteWins), kSyncLocalWriteError);
    EXPECT_EQ(Run(kSyncBothWays, kSyncRemoteWins), kSyncLocalWriteError);
    EXPECT_EQ(SnapshotFiles(dir.Path()), before);
}

// The older-format file is only read in mode 1: its bytes stay and no copy
// of it is kept; mode 0 writes it.
TEST_F(SyncJob, OlderFormatRemoteIsWrittenOnlyWhenTheModeWritesIt)
{
    GetMasterPwdMgr()->ClearPassword();
    WriteSyncDb(current, nullptr, {{kCurrentUid, {"only current", 50}}});
    ASSERT_EQ(db.Load(WinPath(current), nullptr), 0);
    const std::string old = DbFixtureBytes("version4.zdb");
    dir.WriteFile("b/remote.zdb", old);
    ASSERT_EQ(Run(kSyncRemoteToCurrent, kSyncRemoteWins), kSyncSuccess);
    EXPECT_EQ(ReadFileBytes(remote), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() / "b"), fs::directory_iterator()), 1);
    EXPECT_GT(NotesOfFile(current, nullptr).size(), 1u);
    ASSERT_EQ(Run(kSyncCurrentToRemote, kSyncRemoteWins), kSyncSuccess);
    EXPECT_NE(ReadFileBytes(remote), old);
}

int g_keyWipes = 0;
void CountKeyWipe(const void*, size_t) { ++g_keyWipes; }

// The keys made from a typed password (the one that checks it and the one
// the merge reads and writes with) are wiped on every path; the master key
// is not.
TEST_F(SyncJob, TypedKeyIsWipedOnEveryPath)
{
    struct Case {
        int mode;
        const char* failing;  // "" for none
        int result;
    };
    const Case cases[] = {
        {kSyncBothWays, "", kSyncSuccess},
        {kSyncCurrentToRemote, "remote.zdb", kSyncRemoteWriteError},
        {kSyncBothWays, "ZorvikanDatabase.zdb", kSyncLocalWriteError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        MakeRemote(Remote::OtherPassword);
        g_failTarget = *c.failing ? c.failing : "\x01never";
        ScriptedPrompt prompt(true, "theirs");
        g_keyWipes = 0;
        SetKeyWipeObserver(&CountKeyWipe);
        {
            ScopedReplace hook(&SetBeforeReplaceHook, &FailReplacing);
            EXPECT_EQ(Run(c.mode, kSyncRemoteWins, &prompt), c.result);
        }
        SetKeyWipeObserver(nullptr);
        EXPECT_EQ(g_keyWipes, 2);
        EXPECT_TRUE(GetMasterPwdMgr()->HasPassword());
    }
    // A remote file read with the master key wipes nothing.
    MakeRemote(Remote::SamePassword);
    g_keyWipes = 0;
    SetKeyWipeObserver(&CountKeyWipe);
    EXPECT_EQ(Run(kSyncBothWays, kSyncRemoteWins), kSyncSuccess);
    SetKeyWipeObserver(nullptr);
    EXPECT_EQ(g_keyWipes, 0);
}

}  // namespace
