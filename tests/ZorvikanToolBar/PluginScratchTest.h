#pragma once
// The plug-in's tests on a scratch data root: the desktop program's
// preference manager rooted there, the master password cleared and the
// plug-in locked before and after each test.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "ZorvikanToolBar/link/AppCommunicator.h"
#include "ZorvikanToolBar/link/DesktopData.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/MasterPwdMgr.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"

class PluginScratchTest : public ::testing::Test {
protected:
    explicit PluginScratchTest(const char* rootName) : m_root(rootName) {}
    void SetUp() override
    {
        GetMasterPwdMgr()->ClearPassword();
        SetPluginUnlocked(false);
    }
    void TearDown() override
    {
        GetMasterPwdMgr()->ClearPassword();
        SetPluginUnlocked(false);
    }

    // The current user's database path, as the desktop program finds it.
    std::filesystem::path DatabasePath(CDesktopData& data)
    {
        return std::filesystem::path(m_manager->GetDatabasePath(data.CurrentUser()).GetString());
    }

    zvtest::ScratchDir m_root;
    std::shared_ptr<CAppPrefMgr> m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
    zvtest::ScopedReplace<std::shared_ptr<CAppPrefMgr>> m_installed{&CAppPrefMgr::ReplaceInstance, m_manager};
};
