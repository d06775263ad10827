#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "sync/session/AttachmentReplacement.h"
#include "tests/support/ScratchDir.h"

namespace {

using zvtest::ScratchDir;
namespace fs = std::filesystem;

std::string Program(const fs::path& path)
{
    std::string text = path.string();
#ifndef _WIN32
    for (char& c : text) {
        if (c == '/') c = '\\';
    }
#endif
    return text;
}

std::map<std::string, std::string> Contents(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = zvtest::ReadFileBytes(entry.path());
    }
    return files;
}

struct Rig {
    ScratchDir dir{"hhattach"};
    fs::path user = dir / "Files";
    fs::path received = dir / "TempAttachments";
    std::map<std::string, std::string> before = {{"1a.zfa", "old 1a"}, {"c.zfa", "old c"}, {"notes.txt", "mine"}};
    explicit Rig(bool withUserFolder)
    {
        if (withUserFolder) {
            for (const auto& file : before) dir.WriteFile("Files/" + file.first, file.second);
        } else {
            before.clear();
        }
        dir.WriteFile("TempAttachments/1a.zfa", "new 1a");
        dir.WriteFile("TempAttachments/2b.zfa", "no such record");
        dir.WriteFile("TempAttachments/readme.txt", "not an attachment");
    }
    int Replace(CAttachmentReplacement& replacement)
    {
        return replacement.Replace(Program(user), Program(received), {0x1a, 0xc});
    }
};

TEST(AttachmentReplacement, OnSuccessOnlyAttachmentsOfKnownRecordsRemain)
{
    Rig rig(true);
    CAttachmentReplacement replacement;
    ASSERT_EQ(rig.Replace(replacement), 0);
    replacement.Commit();
    const std::map<std::string, std::string> expected = {{"1a.zfa", "new 1a"}};
    EXPECT_EQ(Contents(rig.user), expected);
    EXPECT_EQ(Contents(rig.dir.Path()).size(), 2u);  // Files and TempAttachments, nothing aside
}

TEST(AttachmentReplacement, FailureOrCancelLeavesTheUsersFolderAsItWas)
{
    for (bool withUserFolder : {true, false}) {
        for (bool explicitRollback : {true, false}) {
            Rig rig(withUserFolder);
            {
                CAttachmentReplacement replacement;
                ASSERT_EQ(rig.Replace(replacement), 0);
                EXPECT_EQ(Contents(rig.user).count("1a.zfa"), 1u);
                if (explicitRollback) replacement.Rollback();
            }
            EXPECT_EQ(Contents(rig.user), rig.before) << withUserFolder << explicitRollback;
            EXPECT_EQ(fs::exists(rig.user), withUserFolder);
            EXPECT_EQ(Contents(rig.dir.Path()).size(), withUserFolder ? 2u : 1u);
        }
    }
}

TEST(AttachmentReplacement, NamesAreReadAsRecordIds)
{
    const struct {
        const char* name;
        bool ok;
        uint32_t id;
    } cases[] = {{"1a.zfa", true, 0x1a},
                 {"FFFFFFFF.zfa", true, 0xffffffffu},
                 {"..\\1a.zfa", false, 0},
                 {"1a.png", false, 0},
                 {"123456789.zfa", false, 0}};
    for (const auto& c : cases) {
        uint32_t id = 0;
        EXPECT_EQ(AttachmentFileId(c.name, id), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(id, c.id) << c.name;
        }
    }
}

}  // namespace
