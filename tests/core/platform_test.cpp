#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/os/ProcessSeams.h"
#include "core/users/Platform.h"
#include "core/users/UserRecord.h"

namespace {

// A platform whose exports are plain functions of this test.
int FakeGetPlatform() { return 7; }
void FakeGetPlatformName(char* buffer)
{
    // A library that fills the whole buffer without a terminator.
    std::memset(buffer, 'n', kPlatformNameBufferSize);
}
int FakeTrue() { return 1; }
int FakeFalse() { return 0; }
int FakeCanSync(const void* record)
{
    return std::strcmp(static_cast<const UserRecord*>(record)->keyName, "Work") == 0;
}

void* FakeResolver(PlatformLibrary library, const char* name)
{
    std::string n = name;
    if (library == PlatformLibrary::Manager) {
        if (n == "GetPlatform") return reinterpret_cast<void*>(&FakeGetPlatform);
        if (n == "GetPlatformName") return reinterpret_cast<void*>(&FakeGetPlatformName);
        if (n == "GetDeleteRecordMethod") return reinterpret_cast<void*>(&FakeTrue);
        if (n == "PlatformWantsDefaults") return reinterpret_cast<void*>(&FakeFalse);
    } else {
        if (n == "WantsAutoSync") return reinterpret_cast<void*>(&FakeTrue);
        if (n == "CanUserSyncNow") return reinterpret_cast<void*>(&FakeCanSync);
    }
    return nullptr;
}

class PlatformWrappers : public ::testing::Test {
protected:
    void TearDown() override { SetPlatformExportResolver(m_previous); }
    PlatformExportResolver m_previous = SetPlatformExportResolver(nullptr);
};

TEST_F(PlatformWrappers, MissingExportsGiveTheNeutralDefaults)
{
    UserRecord record = MakeEmptyUserRecord();
    EXPECT_EQ(PlatformGetPlatform(), -1);
    EXPECT_EQ(PlatformGetPlatformName(), "");
    EXPECT_FALSE(PlatformGetDeleteRecordMethod());
    EXPECT_TRUE(PlatformWantsDefaults());
    EXPECT_FALSE(PlatformWantsAutoSync());
    EXPECT_FALSE(PlatformCanUserSyncNow(record));
    EXPECT_EQ(PlatformFindExport(PlatformLibrary::Manager, "GetPlatform"), nullptr);
}

TEST_F(PlatformWrappers, ExportsAreCalledAndTheirAnswersBounded)
{
    SetPlatformExportResolver(&FakeResolver);
    UserRecord record = MakeEmptyUserRecord();
    SetUserRecordText(record.keyName, sizeof(record.keyName), "Work");
    EXPECT_EQ(PlatformGetPlatform(), 7);
    EXPECT_EQ(PlatformGetPlatformName(), CString(std::string(255, 'n')));
    EXPECT_TRUE(PlatformGetDeleteRecordMethod());
    EXPECT_FALSE(PlatformWantsDefaults());
    EXPECT_TRUE(PlatformWantsAutoSync());
    EXPECT_TRUE(PlatformCanUserSyncNow(record));
    SetUserRecordText(record.keyName, sizeof(record.keyName), "Home");
    EXPECT_FALSE(PlatformCanUserSyncNow(record));
}

}  // namespace
