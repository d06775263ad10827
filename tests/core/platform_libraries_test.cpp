// The platform libraries loaded for real: the stand-in DLLs built next to the
// program, with their answers chosen through ZV_STANDIN.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "core/users/Platform.h"
#include "core/users/UserRecord.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

const char kStandinDir[] = ZV_STANDIN_DIR;

class PlatformLibraries : public ::testing::Test {
protected:
    void SetUp() override { SetEnvironmentVariableA("ZV_STANDIN", nullptr); }
    void TearDown() override
    {
        ReleasePlatformLibraries();
        SetEnvironmentVariableA("ZV_STANDIN", nullptr);
    }
    static void Answers(const char* settings) { SetEnvironmentVariableA("ZV_STANDIN", settings); }
};

TEST_F(PlatformLibraries, NormalStart)
{
    ASSERT_EQ(LoadPlatformLibrariesFrom(kStandinDir, 1, "Zorvikan"), 0);
    CString name = PlatformGetPlatformName();
    EXPECT_EQ(name, "iPhone");
    EXPECT_EQ("Preferences " + name, "Preferences iPhone");
    EXPECT_EQ(PlatformGetPlatform(), 5);
    // Exports the stand-ins leave out give the program's defaults.
    EXPECT_FALSE(PlatformGetDeleteRecordMethod());
    EXPECT_TRUE(PlatformWantsDefaults());
    EXPECT_FALSE(PlatformWantsAutoSync());
    EXPECT_FALSE(PlatformCanUserSyncNow(MakeEmptyUserRecord()));
    EXPECT_NE(PlatformFindExport(PlatformLibrary::Sync, "InitializePlatform"), nullptr);

    ReleasePlatformLibraries();
    EXPECT_EQ(PlatformGetPlatformName(), "");
    EXPECT_EQ(PlatformGetPlatform(), -1);
}

TEST_F(PlatformLibraries, FailingInitialiseIsReturnedAndStopsBeforeTheSyncLibrary)
{
    Answers("init=0x80004005");
    EXPECT_EQ((unsigned)LoadPlatformLibrariesFrom(kStandinDir, 1, "Zorvikan"), 0x80004005u);
    EXPECT_EQ(PlatformFindExport(PlatformLibrary::Sync, "InitializePlatform"), nullptr);
    EXPECT_NE(PlatformFindExport(PlatformLibrary::Manager, "GetPlatformName"), nullptr);
}

TEST_F(PlatformLibraries, FailingSyncInitialiseIsTheResult)
{
    Answers("syncinit=7");
    EXPECT_EQ(LoadPlatformLibrariesFrom(kStandinDir, 1, "Zorvikan"), 7);
}

TEST_F(PlatformLibraries, EmptyPlatformName)
{
    Answers("name=");
    ASSERT_EQ(LoadPlatformLibrariesFrom(kStandinDir, 1, "Zorvikan"), 0);
    EXPECT_EQ(PlatformGetPlatformName(), "");
}

TEST_F(PlatformLibraries, MissingSyncLibraryLeavesTheManagersResult)
{
    zvtest::ScratchDir dir("platform");
    fs::copy_file(fs::path(kStandinDir) / "CVPlatformMgr.dll", dir / "CVPlatformMgr.dll");
    ASSERT_EQ(LoadPlatformLibrariesFrom(dir.Path().string().c_str(), 1, "Zorvikan"), 0);
    EXPECT_EQ(PlatformGetPlatformName(), "iPhone");
    EXPECT_EQ(PlatformFindExport(PlatformLibrary::Sync, "InitializePlatform"), nullptr);
    EXPECT_FALSE(PlatformWantsAutoSync());
    ReleasePlatformLibraries();
}

TEST_F(PlatformLibraries, MissingManagerGivesTheLoadError)
{
    zvtest::ScratchDir dir("platform");
    fs::copy_file(fs::path(kStandinDir) / "Kelbridge.dll", dir / "Kelbridge.dll");
    EXPECT_EQ(LoadPlatformLibrariesFrom(dir.Path().string().c_str(), 1, "Zorvikan"), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(PlatformFindExport(PlatformLibrary::Sync, "InitializePlatform"), nullptr);
    EXPECT_EQ(PlatformGetPlatformName(), "");
}

TEST_F(PlatformLibraries, LoadedFromTheProgramsFolderWhateverTheCurrentDirectory)
{
    // The stand-ins lie next to the test program, as next to the real one;
    // the current directory holds none.
    zvtest::ScratchDir elsewhere("cwd");
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(elsewhere.Path().string().c_str());
    int result = LoadPlatformLibraries(1, "Zorvikan");
    SetCurrentDirectoryA(saved);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(PlatformGetPlatformName(), "iPhone");
}

TEST_F(PlatformLibraries, UsersAndActiveUserOfThePlatform)
{
    Answers("users=Work phone/Work,Home/Home;active=Home");
    ASSERT_EQ(LoadPlatformLibrariesFrom(kStandinDir, 1, "Zorvikan"), 0);
    auto* enumerate = PlatformExport<PlatformEnumUsersFn>(PlatformLibrary::Manager, "EnumeratePlatformUsers");
    ASSERT_NE(enumerate, nullptr);
    UserRecord record;
    ASSERT_EQ(enumerate(1, "Zorvikan", &record), 1);
    EXPECT_EQ(GetUserRecordText(record.displayName, sizeof(record.displayName)), "Home");
    EXPECT_EQ(GetUserRecordText(record.platformName, sizeof(record.platformName)), "iPhone");
    EXPECT_EQ(record.platformType, 5);
    EXPECT_EQ(enumerate(2, "Zorvikan", &record), 0);
    auto* active = PlatformExport<PlatformIsUserActiveFn>(PlatformLibrary::Manager, "IsPlatformUserActive");
    ASSERT_NE(active, nullptr);
    EXPECT_TRUE(active("Home", "Home", 2));
    EXPECT_FALSE(active("Work phone", "Work", 1));
}

}  // namespace
