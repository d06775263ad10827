// The database file between processes and against locks held by others.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/store/DatabaseFolder.h"
#include "core/store/DatabaseObj.h"
#include "core/items/Record.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

std::string PeerPath() { return zvtest::SiblingExe("database_save_peer.exe"); }

const int kRecords = 40;

void WriteStartDatabase(const fs::path& file)
{
    CDatabaseObj db;
    db.SetFilePath(Str(file));
    for (int i = 0; i < kRecords; ++i) {
        CRecord* r = new CRecord;
        r->SetField(0, "marker");
        r->SetNotes(CString(std::string(2000, 'n').c_str()));  // a file of some size: many buffers per save
        db.GetRecords().Add(r);
    }
    ASSERT_EQ(db.Save(0, nullptr), 0);
}

}  // namespace

TEST(DatabaseProcesses, TwoProcessesSavingInALoopNeverSeeATornFile)
{
    zvtest::ScratchDir dir("dbproc");
    const fs::path file = dir / "ZorvikanDatabase.zdb";
    WriteStartDatabase(file);
    const std::string args = "\"" + file.string() + "\" 60 ";
    zvtest::ChildProcess a(PeerPath(), args + "3"), b(PeerPath(), args + "7");
    ASSERT_TRUE(a.Started());
    ASSERT_TRUE(b.Started());
    // This process reads along meanwhile.
    for (int i = 0; i < 60 && !(a.Finished(0) && b.Finished(0)); ++i) {
        CDatabaseObj db;
        ASSERT_EQ(db.Load(Str(file), nullptr), 0);
        ASSERT_EQ(db.GetRecords().GetCount(), kRecords);
    }
    ASSERT_TRUE(a.Finished(120000));
    ASSERT_TRUE(b.Finished(120000));
    EXPECT_EQ(a.ExitCode(), 0u);
    EXPECT_EQ(b.ExitCode(), 0u);
    CDatabaseObj db;
    ASSERT_EQ(db.Load(Str(file), nullptr), 0);
    // Each load and each save is whole; a peer's change between another's
    // load and save may be lost (the file is not locked across both), even
    // every change of one peer when the other loaded before all of them and
    // saved after. What is there is a complete text of the peer's own, and
    // the peer that saved last kept its own change.
    int index = 0, changed = 0;
    for (POSITION pos = db.GetRecords().GetHeadPosition(); pos; ++index) {
        CBaseItem* item = static_cast<CBaseItem*>(db.GetRecords().GetNext(pos));
        EXPECT_EQ(item->GetField(0), "marker");
        const std::string text = static_cast<const char*>(item->GetField(1));
        if ((index == 3 || index == 7) && !text.empty()) {
            int tag = -1, round = -1;
            char rest = 0;
            EXPECT_EQ(std::sscanf(text.c_str(), "peer %d round %d%c", &tag, &round, &rest), 2) << text;
            EXPECT_EQ(tag, index) << text;
            EXPECT_TRUE(round >= 1 && round <= 60) << text;
            ++changed;
        } else {
            EXPECT_EQ(text, "") << "record " << index;
        }
    }
    EXPECT_GE(changed, 1);
    EXPECT_FALSE(fs::exists(dir / "ZorvikanDatabase.zdb.tmp"));
}

TEST(DatabaseProcesses, ALockedFileIsAnErrorAndStaysAsItWas)
{
    zvtest::ScratchDir dir("dblock");
    const fs::path file = dir / "ZorvikanDatabase.zdb";
    WriteStartDatabase(file);
    CDatabaseObj loaded;
    ASSERT_EQ(loaded.Load(Str(file), nullptr), 0);
    const std::string before = zvtest::ReadFileBytes(file);
    {
        // Another program holds the file open without sharing it.
        HANDLE h = CreateFileA(file.string().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CDatabaseObj db;
        EXPECT_EQ(db.Load(Str(file), nullptr), ERROR_SHARING_VIOLATION);
        EXPECT_FALSE(db.CanSave());
        EXPECT_EQ(db.GetTypes().GetCount(), 0);  // no defaults over it
        // A save cannot replace the file while it is held.
        EXPECT_NE(loaded.Save(0, nullptr), 0);
        CloseHandle(h);
    }
    EXPECT_EQ(zvtest::ReadFileBytes(file), before);
    EXPECT_FALSE(fs::exists(dir / "ZorvikanDatabase.zdb.tmp"));
    EXPECT_EQ(loaded.Save(0, nullptr), 0);
}

TEST(DatabaseFolder, MoveCopiesTheTreeAndEmptiesTheSourceFolder)
{
    zvtest::ScratchDir dir("dbmove");
    const fs::path from = dir / "old", to = dir / "new" / "place";
    dir.WriteFile("old/ZorvikanDatabase.zdb", "database");
    dir.WriteFile("old/Files/1a.zfa", "attachment");
    dir.WriteFile("old/notes.txt", "other");
    ASSERT_EQ(MoveDatabaseFolder(Str(from), Str(to)), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(to / "ZorvikanDatabase.zdb"), "database");
    EXPECT_EQ(zvtest::ReadFileBytes(to / "Files" / "1a.zfa"), "attachment");
    EXPECT_FALSE(fs::exists(from / "ZorvikanDatabase.zdb"));
    EXPECT_FALSE(fs::exists(from / "notes.txt"));
    EXPECT_TRUE(fs::exists(from / "Files" / "1a.zfa"));  // sub-folders stay
}

TEST(DatabaseFolder, NothingHappensForTheSameFolderOrOneWithoutADatabase)
{
    zvtest::ScratchDir dir("dbmove");
    dir.WriteFile("a/ZorvikanDatabase.zdb", "database");
    dir.WriteFile("b/other.txt", "x");
    CString upper = Str(dir / "a");
    upper.MakeUpper();
    EXPECT_EQ(MoveDatabaseFolder(Str(dir / "a"), upper), 0);
    EXPECT_TRUE(fs::exists(dir / "a" / "ZorvikanDatabase.zdb"));
    EXPECT_EQ(MoveDatabaseFolder(Str(dir / "b"), Str(dir / "c")), 0);
    EXPECT_FALSE(fs::exists(dir / "c"));
    EXPECT_TRUE(fs::exists(dir / "b" / "other.txt"));
    EXPECT_EQ(MoveDatabaseFolder("", Str(dir / "c")), 0);
}
