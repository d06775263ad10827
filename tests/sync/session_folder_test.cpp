#include <gtest/gtest.h>

#include <filesystem>

#include "sync/session/SyncSessionFolder.h"
#include "tests/support/ScratchDir.h"

namespace {

using zvtest::ScratchDir;

std::string Base(const ScratchDir& dir)
{
    // The program's paths use backslashes; the host maps them.
    std::string path = dir.Path().string();
#ifndef _WIN32
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
#endif
    return path;
}

size_t EntriesBelow(const std::filesystem::path& folder)
{
    size_t count = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(folder);
         it != std::filesystem::recursive_directory_iterator(); ++it) {
        ++count;
    }
    return count;
}

TEST(SyncSessionFolder, EachSessionHasItsOwnFolderAndLeavesNothingBehind)
{
    ScratchDir dir("hhsession");
    {
        CSyncSessionFolder first, second;
        ASSERT_EQ(first.Create(Base(dir)), 0);
        ASSERT_EQ(second.Create(Base(dir)), 0);
        EXPECT_NE(first.Path(), second.Path());
        const uint8_t bytes[] = {1, 2, 3};
        for (const auto& file :
             {std::make_pair(SyncBatch::kDatabase, "ZorvikanDataBase.db"),
              std::make_pair(SyncBatch::kAttachments, "1a.zfa"), std::make_pair(SyncBatch::kIcons, "1000.png")}) {
            auto writer = first.CreateFile(file.first, file.second);
            ASSERT_TRUE(writer) << file.second;
            EXPECT_TRUE(writer->Write(bytes, sizeof bytes));
            EXPECT_TRUE(writer->Close());
            auto reader = OpenSyncFileReader(first.PathFor(file.first, file.second));
            ASSERT_TRUE(reader) << file.second;
            EXPECT_EQ(reader->Size(), 3);
        }
        EXPECT_EQ(EntriesBelow(dir.Path()), 7u);  // two folders, two sub-folders, three files
    }
    EXPECT_EQ(EntriesBelow(dir.Path()), 0u);
}

TEST(SyncSessionFolder, RefusedNamesGetNoPathAndNoFile)
{
    ScratchDir dir("hhsession");
    CSyncSessionFolder folder;
    ASSERT_EQ(folder.Create(Base(dir)), 0);
    const std::pair<SyncBatch, const char*> refused[] = {
        {SyncBatch::kIcons, "..\\ZorvikanDatabase.zdb"},
        {SyncBatch::kAttachments, "..\\..\\1.zfa"},
        {SyncBatch::kDatabase, "ZorvikanDatabase.zdb"},
        {SyncBatch::kIcons, "1.zfa"},
    };
    for (const auto& name : refused) {
        EXPECT_EQ(folder.PathFor(name.first, name.second), "") << name.second;
        EXPECT_FALSE(folder.CreateFile(name.first, name.second)) << name.second;
    }
    EXPECT_EQ(EntriesBelow(dir.Path()), 1u);
}

TEST(SyncSessionFolder, AMissingFileHasNoReader) { EXPECT_FALSE(OpenSyncFileReader("no such file at all")); }

}  // namespace
