// The merge against files that another program holds open without sharing.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/crypto/BlowfishKey.h"
#include "core/store/DatabaseMerge.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "core/items/Record.h"
#include "tests/support/HeldOpenFile.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace fs = std::filesystem;

namespace {

void Build(const fs::path& file, const BlowfishContext* key, const char* notes, uint8_t uidLast)
{
    CDatabaseObj db;
    db.SetFilePath(zvtest::WinPath(file));
    uint8_t verifier[kVerifierSize] = {};
    MakeVerifierWithKey(key, verifier);
    db.SetVerifier(verifier);
    CRecord* r = static_cast<CRecord*>(db.GetRecords().NewItem());
    const uint8_t uid[kUniqueKeySize] = {1, 2, 3, 4, 5, 6, 7, uidLast};
    r->SetUid(uid);
    r->SetNotes(notes);
    db.GetRecords().Add(r);
    ASSERT_EQ(db.Save(0, key), 0);
}

class MergeLocked : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetMasterPwdMgr()->SetPassword(CString("mine")), 0);
        ownKey = GetMasterPwdMgr()->GetKey();
        theirKey = MakeBlowfishKey(CString("theirs"));
        fs::create_directories(dir / "a");
        fs::create_directories(dir / "b");
        mine = dir / "a" / "ZorvikanDatabase.zdb";
        theirs = dir / "b" / "ZorvikanDatabase.zdb";
        Build(mine, ownKey.get(), "only here", 1);
        Build(theirs, theirKey.get(), "only there", 2);
    }
    void TearDown() override { GetMasterPwdMgr()->ClearPassword(); }
    std::map<std::string, std::string> Snapshot() const
    {
        std::map<std::string, std::string> files;
        for (auto& e : fs::recursive_directory_iterator(dir.Path()))
            if (e.is_regular_file()) files[e.path().string()] = zvtest::ReadFileBytes(e.path());
        return files;
    }

    zvtest::ScratchDir dir{"mergelock"};
    fs::path mine, theirs;
    BlowfishKeyPtr ownKey, theirKey;
};

TEST_F(MergeLocked, OtherFileHeldOpen)
{
    CDatabaseObj db;
    ASSERT_EQ(db.Load(zvtest::WinPath(mine)), 0);
    auto before = Snapshot();
    for (int direction : {kMergeThisIntoOther, kMergeOtherIntoThis, kMergeBothWays}) {
        zvtest::HeldOpenFile hold(theirs);
        ASSERT_TRUE(hold.Ok());
        EXPECT_NE(db.MergeWithFile(zvtest::WinPath(theirs), direction, kConflictThisWins, theirKey.get(), nullptr), 0)
            << direction;
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(db.GetRecords().GetCount(), 1);
}

TEST_F(MergeLocked, ThisFileHeldOpen)
{
    CDatabaseObj db;
    ASSERT_EQ(db.Load(zvtest::WinPath(mine)), 0);
    auto before = Snapshot();
    {
        zvtest::HeldOpenFile hold(mine);
        ASSERT_TRUE(hold.Ok());
        EXPECT_NE(
            db.MergeWithFile(zvtest::WinPath(theirs), kMergeOtherIntoThis, kConflictThisWins, theirKey.get(), nullptr),
            0);
    }
    EXPECT_EQ(Snapshot(), before);
    // Once it is free the same merge goes through.
    EXPECT_EQ(
        db.MergeWithFile(zvtest::WinPath(theirs), kMergeOtherIntoThis, kConflictThisWins, theirKey.get(), nullptr), 0);
    CDatabaseObj after;
    ASSERT_EQ(after.Load(zvtest::WinPath(mine)), 0);
    EXPECT_EQ(after.GetRecords().GetCount(), 2);
}

}  // namespace
