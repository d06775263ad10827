#include <gtest/gtest.h>

#include "core/prefs/INIAppPrefs.h"
#include "sync/session/SyncModeSetting.h"
#include "tests/support/ScratchDir.h"

namespace {

using zvtest::ScratchDir;

const CString kSection("Zorvikan Desktop");

TEST(SyncModeSetting, ASessionsModeIsUndoneWithoutTouchingThePreferences)
{
    ScratchDir dir("syncmode");
    CINIAppPrefs prefs(CString((dir / "prefs.ini").string().c_str()));
    CSyncModeSetting absent([&] { return &prefs; }, kSection);
    EXPECT_EQ(absent.GetMode(), 2);  // nothing stored yet

    prefs.SetSyncDirection(kSection, 1);
    CSyncModeSetting setting([&] { return &prefs; }, kSection);
    setting.RestoreMode();  // before any query: both still unknown
    EXPECT_EQ(setting.GetMode(), 1);
    EXPECT_EQ(setting.GetSavedMode(), 1);
    setting.SetMode(0);
    EXPECT_EQ(setting.GetMode(), 0);
    EXPECT_EQ(prefs.GetSyncDirection(kSection), 1);
    setting.RestoreMode();
    EXPECT_EQ(setting.GetMode(), 1);

    setting.SaveMode(0);
    EXPECT_EQ(setting.GetMode(), 1);
    EXPECT_EQ(setting.GetSavedMode(), 0);
    EXPECT_EQ(prefs.GetSyncDirection(kSection), 0);
    setting.RestoreMode();
    EXPECT_EQ(setting.GetMode(), 0);
}

TEST(SyncModeSetting, WithoutAStoreTheModeStaysUnknown)
{
    CSyncModeSetting setting([] { return static_cast<CAppPrefs*>(nullptr); }, kSection);
    EXPECT_EQ(setting.GetMode(), -1);
    setting.SaveMode(1);
    EXPECT_EQ(setting.GetSavedMode(), 1);
}

}  // namespace
