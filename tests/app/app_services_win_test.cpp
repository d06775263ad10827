// The shell's files and repairs where the program keeps them: the preference
// manager's folders of a scratch data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/services/AppServices.h"
#include "app/logon/HintMigration.h"
#include "app/history/LogEvents.h"
#include "app/logon/PasswordHint.h"
#include "app/services/UserFilePaths.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/items/RecordList.h"
#include "core/users/UserItem.h"
#include "tests/app/AppTestUsers.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

class ScratchDataRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
    }
    void TearDown() override { CAppPrefMgr::ReplaceInstance(m_previous); }

    zvtest::ScratchDir m_root{"shellroot"};
    std::shared_ptr<CAppPrefMgr> m_manager;
    std::shared_ptr<CAppPrefMgr> m_previous;
};

TEST_F(ScratchDataRoot, FilesGoWhereThePreferenceManagerSays)
{
    EXPECT_EQ(DefaultEventsLogPath(), m_manager->GetEventsLogPath());
    EXPECT_NE(DefaultEventsLogPath().Find("Preferences"), -1);
    {
        CLogEvents log(DefaultEventsLogPath());
        log.AddEvent("Log on", "Log on Failed", "alice");
    }
    EXPECT_TRUE(fs::exists(fs::path(m_manager->GetEventsLogPath().GetString())));

    std::unique_ptr<CUserItem> alice = MakeTestUser("alice");
    {
        CAppServices services([&] { return alice.get(); });
        services.AddRecentSearch("bank");
        CStringArray texts;
        services.GetRecentSearches(texts);
        CRecordList none;
        CRecordPtrArray out;
        services.GetRecentlyAdded(none, out);
    }
    const CString smart = m_manager->GetSmartTypesPath(alice.get());
    const CString searches = m_manager->GetSearchHistoryPath(alice.get());
    EXPECT_NE(smart.Find("SmartTypes.xml"), -1);
    EXPECT_NE(searches.Find("SearchHistory.xml"), -1);
    EXPECT_TRUE(fs::exists(fs::path(smart.GetString())));
    EXPECT_TRUE(fs::exists(fs::path(searches.GetString())));
}

TEST_F(ScratchDataRoot, PlainHintsMoveIntoTheHintFormAndOthersAreCleared)
{
    CUserList users;
    CUserItem* alice = MakeTestUser("alice").release();
    CUserItem* bob = MakeTestUser("bob").release();
    users.AddTail(alice);
    users.AddTail(bob);
    std::shared_ptr<CAppPrefs> prefs = m_manager->GetPrefs();
    prefs->SetHint(alice, "the dog's name");
    ASSERT_TRUE(CPasswordHint(bob).SetHint(0, CString(), "left over"));

    MigrateHints(users);

    EXPECT_EQ(prefs->GetHint(alice), "");
    EXPECT_EQ(CPasswordHint(alice).GetHintState(), kHintWithoutQuestion);
    EXPECT_EQ(CPasswordHint(alice).GetHint(CPasswordHint::kFallbackKey, kHintKeyFallback), "the dog's name");
    EXPECT_EQ(CPasswordHint(bob).GetHintState(), kHintNone);
    users.DeleteAll();
}

}  // namespace
