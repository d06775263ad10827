// The SQLite library missing: the wrapper tells the user at each call that
// needs it and answers its failure values (run in a folder without the DLL).
#include <gtest/gtest.h>

#include "tests/support/ChildProcess.h"

TEST(SQLiteLoader, MissingLibraryShowsItsMessageForTheOpenAndEachPragma)
{
    zvtest::ChildProcess probe(zvtest::SiblingExe("nosqlite\\sqlite_missing_probe.exe"), "");
    ASSERT_TRUE(probe.Started());
    ASSERT_TRUE(probe.Finished(60000));
    // Open (1, after which the ColumnText16 call asks again: 4), the two PRAGMAs (2, 3).
    EXPECT_EQ(4u, probe.ExitCode());
}
