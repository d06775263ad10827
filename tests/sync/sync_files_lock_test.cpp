// The desktop-file sync against files that another program holds open
// without sharing.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "sync/files/SyncDatabase.h"
#include "sync/files/SyncResult.h"
#include "tests/support/HeldOpenFile.h"
#include "tests/support/TestText.h"
#include "tests/sync/SyncFilesTestDb.h"

namespace fs = std::filesystem;
using namespace zvtest;

namespace {

class SyncHeldOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetMasterPwdMgr()->ClearPassword();
        current = dir.Path() / "a" / "ZorvikanDatabase.zdb";
        remote = dir.Path() / "b" / "remote.zdb";
        WriteSyncDb(current, nullptr, {{kCurrentUid, {"only current", 50}}});
        WriteSyncDb(remote, nullptr, {{kRemoteUid, {"only remote", 60}}});
        ASSERT_EQ(db.Load(WinPath(current), nullptr), 0);
        job.SetPath(WinPath(remote));
    }
    ScratchDir dir{"syncheld"};
    fs::path current, remote;
    CDatabaseObj db;
    CSyncDatabase job;
};

TEST_F(SyncHeldOpen, RemoteHeldOpenIsInUseInEveryMode)
{
    const auto before = SnapshotFiles(dir.Path());
    {
        zvtest::HeldOpenFile hold(remote);
        ASSERT_TRUE(hold.Ok());
        for (int mode = 0; mode <= 2; ++mode) {
            job.SetMode(mode);
            EXPECT_EQ(job.Sync(db, nullptr), kSyncRemoteInUse) << mode;
        }
    }
    EXPECT_EQ(SnapshotFiles(dir.Path()), before);
    EXPECT_EQ(NotesOf(db).size(), 1u);
}

TEST_F(SyncHeldOpen, CurrentHeldOpenIsAWriteErrorAndChangesNothing)
{
    const auto before = SnapshotFiles(dir.Path());
    {
        zvtest::HeldOpenFile hold(current);
        ASSERT_TRUE(hold.Ok());
        job.SetMode(kSyncRemoteToCurrent);
        EXPECT_EQ(job.Sync(db, nullptr), kSyncLocalWriteError);
    }
    EXPECT_EQ(SnapshotFiles(dir.Path()), before);
    EXPECT_EQ(NotesOf(db).size(), 1u);
    // Once it is free the same sync goes through.
    EXPECT_EQ(job.Sync(db, nullptr), kSyncSuccess);
    EXPECT_EQ(NotesOfFile(current, nullptr).size(), 2u);
}

}  // namespace
