// The database mutex between two processes, and the password checks of a
// user whose folder the preference manager gives.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/prefs/AppPrefMgr.h"
#include "core/store/DatabaseMutex.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "core/users/UserItem.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/core/packing_support.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

std::string PeerPath() { return zvtest::SiblingExe("database_mutex_peer.exe"); }

// Waits (up to a minute) until the peer reports that it holds the mutex.
bool WaitForMarker(const fs::path& marker, zvtest::ChildProcess& peer)
{
    for (int i = 0; i < 6000; ++i) {
        if (fs::exists(marker)) return true;
        if (peer.Finished(10)) return fs::exists(marker);
    }
    return false;
}

std::string Verifier(const char* password)
{
    uint8_t v[kVerifierSize];
    MakePasswordVerifier(password, v);
    return std::string(reinterpret_cast<char*>(v), kVerifierSize);
}

}  // namespace

TEST(DatabaseMutexAcrossProcesses, AReaderWaitsForTheOtherProcessAndTimesOut)
{
    zvtest::ScratchDir scratch("zvmutex");
    const fs::path marker = scratch / "held";
    const fs::path db = scratch.WriteFile(kDatabaseFileName, Verifier("pw") + std::string(20, 'x'));
    zvtest::ChildProcess peer(PeerPath(), "hold \"" + marker.string() + "\" 1500");
    ASSERT_TRUE(peer.Started()) << PeerPath();
    ASSERT_TRUE(WaitForMarker(marker, peer));
    {
        CDatabaseMutexLock shortWait(100);
        EXPECT_FALSE(shortWait.IsLocked());
        EXPECT_EQ(kDatabaseMutexTimeout, shortWait.Error());
    }
    // The verifier read waits (up to 10 s) until the peer lets go.
    uint8_t v[kVerifierSize];
    EXPECT_EQ(0, ReadPasswordVerifier(db.string().c_str(), v));
    EXPECT_EQ(Verifier("pw"), std::string(reinterpret_cast<char*>(v), kVerifierSize));
    ASSERT_TRUE(peer.Finished(60000));
    EXPECT_EQ(0u, peer.ExitCode());
}

TEST(DatabaseMutexAcrossProcesses, AMutexLeftByAProcessThatDiedIsTakenOver)
{
    zvtest::ScratchDir scratch("zvmutex");
    const fs::path marker = scratch / "held";
    zvtest::ChildProcess peer(PeerPath(), "abandon \"" + marker.string() + "\"");
    ASSERT_TRUE(peer.Started());
    ASSERT_TRUE(WaitForMarker(marker, peer));
    ASSERT_TRUE(peer.Finished(60000));
    CDatabaseMutexLock lock(5000);
    EXPECT_TRUE(lock.IsLocked());
}

TEST(UserPassword, ChecksUseTheUsersFolder)
{
    zvtest::ScratchDir root("zvuserpw");
    auto manager = std::make_shared<CAppPrefMgr>(CString(root.Path().string().c_str()));
    auto previous = CAppPrefMgr::ReplaceInstance(manager);
    CUserItem user(zvtest::MakeUserRecord("Anna", "Anna", 3));
    const CString folder = manager->GetUserDirectory(&user);
    ASSERT_FALSE(folder.IsEmpty());

    EXPECT_FALSE(UserHasMasterPassword(&user));
    EXPECT_TRUE(GetMasterPwdMgr()->VerifyPassword(&user, ""));

    fs::create_directories(folder.GetString());
    std::ofstream(manager->GetDatabasePath(&user).GetString(), std::ios::binary) << Verifier("pw") << "rest";
    EXPECT_TRUE(UserHasMasterPassword(&user));
    EXPECT_TRUE(GetMasterPwdMgr()->VerifyPassword(&user, "pw"));
    EXPECT_FALSE(GetMasterPwdMgr()->VerifyPassword(&user, ""));
    EXPECT_FALSE(GetMasterPwdMgr()->VerifyPassword(&user, "other"));

    // No user: no folder, no database, and nothing read from elsewhere.
    EXPECT_FALSE(UserHasMasterPassword(static_cast<CUserItem*>(nullptr)));
    CAppPrefMgr::ReplaceInstance(previous);
}
