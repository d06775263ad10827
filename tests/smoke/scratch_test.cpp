#include <gtest/gtest.h>

#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

TEST(ScratchDir, IsFreshAndRemovedWithItsContents)
{
    fs::path kept;
    {
        zvtest::ScratchDir a, b;
        EXPECT_NE(a.Path(), b.Path());
        EXPECT_TRUE(fs::is_empty(a.Path()));
        fs::path f = a.WriteFile("sub/x.bin", std::string("a\0b", 3));
        EXPECT_EQ(zvtest::ReadFileBytes(f), std::string("a\0b", 3));
        kept = a.Path();
    }
    EXPECT_FALSE(fs::exists(kept));
}

TEST(ScratchDir, FixtureFolderIsReachable) { EXPECT_TRUE(fs::is_directory(zvtest::FixturePath(""))); }
