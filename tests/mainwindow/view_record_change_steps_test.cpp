// The main window's record-change steps over the real pieces: the database
// file, the application's record hooks (event log and smart lists), the
// change notices and the plug-in link's change count, on a scratch data root.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/history/LogEvents.h"
#include "app/pluginlink/PluginLink.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/link/LinkChangeCounts.h"
#include "core/os/ChangeNotify.h"
#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/DatabaseObj.h"
#include "core/users/Platform.h"
#include "mainwindow/records/RecordChangeSequence.h"
#include "mainwindow/records/ViewRecordChangeSteps.h"
#include "tests/app/AppTestUsers.h"
#include "tests/app/PluginLinkTestNames.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace {

std::vector<std::pair<uint32_t, int32_t>> g_posted;

void RecordPost(uint32_t wParam, int32_t lParam) { g_posted.push_back({wParam, lParam}); }

int AlwaysActive(const char*, const char*, int) { return 1; }

void* WithIsActive(PlatformLibrary library, const char* name)
{
    if (library == PlatformLibrary::Manager && std::strcmp(name, "IsPlatformUserActive") == 0)
        return reinterpret_cast<void*>(&AlwaysActive);
    return nullptr;
}

// The application object without its start-up, with a current user.
class TestApp : public CZorvikanDesktopApp {
public:
    TestApp() : CZorvikanDesktopApp(nullptr) {}
    void UseUser(CUserItem* user) { m_pCurrentUser = user; }
};

class ViewRecordChangeSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_posted.clear();
        m_previousPrefs = CAppPrefMgr::ReplaceInstance(std::make_shared<CAppPrefMgr>(zvtest::WinPath(m_root.Path())));
        m_previousLog = CLogEvents::ReplaceInstance(std::make_shared<CLogEvents>(CString()));
        m_resolver = SetPlatformExportResolver(&WithIsActive);
        m_poster = SetDatabaseNotifyPoster(&RecordPost);
        m_app = std::make_unique<TestApp>();
        m_app->UseUser(m_user.get());
        const std::string suffix = "-ZvTest-" + std::to_string(GetCurrentProcessId()) + "-steps";
        m_names = zvtest::LinkNamesWithSuffix(suffix);
        m_link = std::make_unique<CPluginLink>(nullptr, m_names);
        m_counts = std::make_unique<CLinkChangeCounts>(m_names.changeCounts);
        ASSERT_EQ(0, m_database.OpenInFolder(zvtest::WinPath(m_root / "alice")));
    }
    void TearDown() override
    {
        m_counts.reset();
        m_link.reset();
        m_app.reset();
        SetDatabaseNotifyPoster(m_poster);
        SetPlatformExportResolver(m_resolver);
        CLogEvents::ReplaceInstance(m_previousLog);
        CAppPrefMgr::ReplaceInstance(m_previousPrefs);
    }

    CRecord* AddRecord(int32_t id, const char* first)
    {
        CRecord* record = new CRecord;
        record->SetId(id);
        record->SetField(0, first);
        m_database.GetRecords().Add(record);
        return record;
    }

    std::vector<std::string> LoggedActions() const
    {
        std::vector<std::string> out;
        for (const auto& event : CLogEvents::GetInstance()->GetEvents()) out.push_back(event->GetAction().Std());
        return out;
    }

    zvtest::ScratchDir m_root{"recordchange"};
    std::shared_ptr<CAppPrefMgr> m_previousPrefs;
    std::shared_ptr<CLogEvents> m_previousLog;
    PlatformExportResolver m_resolver = nullptr;
    DatabaseNotifyPoster m_poster = nullptr;
    std::unique_ptr<CUserItem> m_user = MakeTestUser("alice");
    std::unique_ptr<TestApp> m_app;
    WebLoginLinkNames m_names;
    std::unique_ptr<CPluginLink> m_link;
    std::unique_ptr<CLinkChangeCounts> m_counts;
    CDatabaseObj m_database;
};

TEST_F(ViewRecordChangeSteps, AddedRecordIsSavedLoggedListedNoticedAndSignalled)
{
    CRecord* record = AddRecord(41, "Bank login");
    const unsigned countBefore = m_counts->Get(CLinkChangeCounts::kDatabase);
    CViewRecordChangeSteps steps(m_database, *m_link, m_app.get());
    CRecordChangeSequence change;
    change.Add(NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 41, record);

    ASSERT_EQ(0, change.Run(steps));

    CDatabaseObj saved;
    ASSERT_EQ(0, saved.Load(m_database.GetFilePath()));
    EXPECT_NE(nullptr, saved.FindItemById(41, 0));
    EXPECT_EQ(std::vector<std::string>{"Record added"}, LoggedActions());
    CRecordPtrArray recent;
    m_app->GetRecentlyAdded(m_database.GetRecords(), recent);
    ASSERT_EQ(1, recent.GetSize());
    EXPECT_EQ(record, recent[0]);
    ASSERT_EQ(1u, g_posted.size());
    EXPECT_EQ(MakeDatabaseNotifyWParam(NOTIFY_ADDED, NOTIFY_ITEM_RECORD), g_posted[0].first);
    EXPECT_EQ(41, g_posted[0].second);
    EXPECT_EQ(countBefore + 1, m_counts->Get(CLinkChangeCounts::kDatabase));
}

TEST_F(ViewRecordChangeSteps, FailedSaveIsLoggedButNeitherNoticedNorSignalled)
{
    CRecord* record = AddRecord(42, "Mail");
    const unsigned countBefore = m_counts->Get(CLinkChangeCounts::kDatabase);
    m_database.SetReadOnly();
    CViewRecordChangeSteps steps(m_database, *m_link, m_app.get());
    CRecordChangeSequence change;
    change.Add(NOTIFY_MODIFIED, NOTIFY_ITEM_RECORD, 42, record);

    EXPECT_NE(0, change.Run(steps));

    EXPECT_EQ(std::vector<std::string>{"Record edited"}, LoggedActions());
    EXPECT_TRUE(g_posted.empty());
    EXPECT_EQ(countBefore, m_counts->Get(CLinkChangeCounts::kDatabase));
}

TEST_F(ViewRecordChangeSteps, WithoutAnApplicationOnlyTheFileAndThePluginHearOfIt)
{
    CRecord* record = AddRecord(43, "Shop");
    const unsigned countBefore = m_counts->Get(CLinkChangeCounts::kDatabase);
    CViewRecordChangeSteps steps(m_database, *m_link, nullptr);
    CRecordChangeSequence change;
    change.Add(NOTIFY_DELETED, NOTIFY_ITEM_RECORD, 43, record);

    ASSERT_EQ(0, change.Run(steps));

    EXPECT_TRUE(LoggedActions().empty());
    EXPECT_TRUE(g_posted.empty());
    EXPECT_EQ(countBefore + 1, m_counts->Get(CLinkChangeCounts::kDatabase));
}

}  // namespace
