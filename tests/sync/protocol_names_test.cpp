#include <gtest/gtest.h>

#include "sync/protocol/SyncFileNames.h"

namespace {

struct NameCase {
    SyncBatch batch;
    const char* name;
    bool accepted;
};

TEST(SyncFileNames, OnlyTheBatchesOwnBaseNamesAreTaken)
{
    const NameCase cases[] = {
        {SyncBatch::kDatabase, "ZorvikanDataBase.db", true},
        {SyncBatch::kDatabase, "zorvikandatabase.db", false},
        {SyncBatch::kDatabase, "..\\ZorvikanDataBase.db", false},
        {SyncBatch::kDatabase, "ZorvikanDataBase.db ", false},
        {SyncBatch::kAttachments, "1a2b.zfa", true},
        {SyncBatch::kAttachments, "ffffffff.zfa", true},
        {SyncBatch::kAttachments, "FFFFFFFF.zfa", true},
        {SyncBatch::kAttachments, "100000000.zfa", false},  // more than 32 bits
        {SyncBatch::kAttachments, ".zfa", false},
        {SyncBatch::kAttachments, "1g.zfa", false},
        {SyncBatch::kAttachments, "1a.png", false},
        {SyncBatch::kAttachments, "..\\1a.zfa", false},
        {SyncBatch::kAttachments, "../1a.zfa", false},
        {SyncBatch::kAttachments, "C:1a.zfa", false},
        {SyncBatch::kAttachments, "1a.zfa.zfa", false},
        {SyncBatch::kIcons, "1000.png", true},
        {SyncBatch::kIcons, "65535.png", true},
        {SyncBatch::kIcons, "123456.png", false},
        {SyncBatch::kIcons, "..\\ZorvikanDatabase.zdb", false},
        {SyncBatch::kIcons, "1000.PNG", false},
        {SyncBatch::kIcons, "-1.png", false},
        {SyncBatch::kIcons, "", false},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(IsAcceptedSyncFileName(c.batch, c.name), c.accepted) << c.name;
    }
    EXPECT_FALSE(IsAcceptedSyncFileName(SyncBatch::kIcons, std::string("10\0.png", 7)));
}

struct SizeCase {
    SyncBatch batch;
    const char* text;
    int64_t size;
};

TEST(SyncFileNames, SizesAreShortDecimalTextUnderTheBatchLimit)
{
    const SizeCase cases[] = {
        {SyncBatch::kAttachments, "0", 0},           {SyncBatch::kAttachments, "4097", 4097},
        {SyncBatch::kAttachments, "000000012", 12},  {SyncBatch::kDatabase, "268435456", 268435456},
        {SyncBatch::kDatabase, "268435457", -1},     {SyncBatch::kAttachments, "999999999", -1},
        {SyncBatch::kAttachments, "1000000000", -1}, {SyncBatch::kAttachments, "", -1},
        {SyncBatch::kAttachments, "-1", -1},         {SyncBatch::kAttachments, " 12", -1},
        {SyncBatch::kAttachments, "12abc", -1},      {SyncBatch::kAttachments, "0x10", -1},
        {SyncBatch::kIcons, "4194304", 4194304},     {SyncBatch::kIcons, "4194305", -1},
    };
    for (const SizeCase& c : cases) {
        EXPECT_EQ(ParseSyncFileSize(c.batch, c.text), c.size) << c.text;
    }
}

}  // namespace
