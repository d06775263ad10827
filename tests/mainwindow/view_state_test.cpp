// The main view's per-user state through the preferences file: written at
// close and read back at the next start, with the defaults and fall-backs of
// absent, odd or stale values.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/items/FilterKeys.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/users/UserItem.h"
#include "mainwindow/models/ViewState.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/ScratchDir.h"

namespace {

class ViewStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        m_prefs = m_manager->GetPrefs();
    }
    void TearDown() override { CAppPrefMgr::ReplaceInstance(m_previous); }

    // Appends raw lines to the user's section of the preferences file.
    void WriteUserSection(const std::string& lines)
    {
        std::ofstream file(m_manager->GetPreferencesFilePath().GetString(), std::ios::app);
        file << "[" << m_user.GetSectionName().GetString() << "]\r\n" << lines;
    }

    zvtest::ScratchDir m_root{"viewstate"};
    std::shared_ptr<CAppPrefMgr> m_manager;
    std::shared_ptr<CAppPrefMgr> m_previous;
    std::shared_ptr<CAppPrefs> m_prefs;
    CUserItem m_user{zvtest::MakeUserRecord("Standalone", "_Standalone_", 3)};
};

TEST_F(ViewStateTest, NothingStoredGivesTheDefaults)
{
    CViewState state;
    state.Read(*m_prefs, &m_user);
    EXPECT_EQ(0x10003u, state.sortKey);
    EXPECT_TRUE(state.showingDetails);
    EXPECT_EQ(250, state.detailsWidth);
    EXPECT_EQ(0, std::memcmp(state.typeFilter, KEY_ALL, 8));
    EXPECT_EQ(0, std::memcmp(state.categoryFilter, KEY_ALL, 8));
    EXPECT_EQ(kViewModeList, state.viewMode);
    EXPECT_EQ(0xFFFFFFu, state.rowColor);
    EXPECT_FALSE(state.hasFont);
}

TEST_F(ViewStateTest, WrittenAtCloseAndReadBack)
{
    CViewState written;
    written.sortKey = 0x0000C;
    written.showingDetails = false;
    written.detailsWidth = 310;
    std::memcpy(written.typeFilter, zvtest::TestKey(0x12).b, 8);
    std::memcpy(written.categoryFilter, KEY_UNFILED, 8);
    written.WriteOnClose(*m_prefs, &m_user);
    m_prefs->SetLatestView(&m_user, kViewModePanel);
    m_prefs->SetRowColor(&m_user, 0x00CCEEFF);
    BYTE font[60] = {};
    font[0] = 0xF1;  // height -15
    std::memcpy(font + 28, "Calibri", 8);
    m_prefs->SetFont(&m_user, font);

    CViewState read;
    read.Read(*m_prefs, &m_user);
    EXPECT_EQ(0x0000Cu, read.sortKey);
    EXPECT_FALSE(read.showingDetails);
    EXPECT_EQ(310, read.detailsWidth);
    EXPECT_EQ(0, std::memcmp(read.typeFilter, zvtest::TestKey(0x12).b, 8));
    EXPECT_EQ(0, std::memcmp(read.categoryFilter, KEY_UNFILED, 8));
    EXPECT_EQ(kViewModePanel, read.viewMode);
    EXPECT_EQ(0x00CCEEFFu, read.rowColor);
    ASSERT_TRUE(read.hasFont);
    EXPECT_EQ(0, std::memcmp(read.font, font, 60));
}

TEST_F(ViewStateTest, AWidthOfZeroIsNotWritten)
{
    CViewState first;
    first.detailsWidth = 280;
    first.WriteOnClose(*m_prefs, &m_user);
    CViewState second;
    second.detailsWidth = 0;
    second.WriteOnClose(*m_prefs, &m_user);
    CViewState read;
    read.Read(*m_prefs, &m_user);
    EXPECT_EQ(280, read.detailsWidth);
}

TEST_F(ViewStateTest, OddStoredValuesFallBack)
{
    WriteUserSection("latestView=7\r\nDetails Pane Width=-5\r\n");
    CViewState state;
    state.Read(*m_prefs, &m_user);
    EXPECT_EQ(kViewModeList, state.viewMode);
    EXPECT_EQ(250, state.detailsWidth);
}

TEST_F(ViewStateTest, FiltersNamingNoItemBecomeAllExceptKeysThatExist)
{
    zvtest::ScratchDir dir("viewstate-db");
    CDatabaseObj db;
    ASSERT_EQ(0, db.OpenInFolder(CString(dir.Path().string().c_str())));
    CBaseItem* type = db.GetTypes().NewItem();
    type->SetKey(zvtest::TestKey(0x44).b);
    db.GetTypes().Add(type);
    CViewState state;
    std::memcpy(state.typeFilter, zvtest::TestKey(0x44).b, 8);
    std::memcpy(state.categoryFilter, zvtest::TestKey(0x45).b, 8);
    state.DropMissingFilters(db);
    EXPECT_EQ(0, std::memcmp(state.typeFilter, zvtest::TestKey(0x44).b, 8));
    EXPECT_EQ(0, std::memcmp(state.categoryFilter, KEY_ALL, 8));
    // "Unfiled" survives only when an item has the zero key.
    std::memcpy(state.typeFilter, KEY_UNFILED, 8);
    state.DropMissingFilters(db);
    EXPECT_EQ(0, std::memcmp(state.typeFilter, KEY_ALL, 8));
}

}  // namespace
