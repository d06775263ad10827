// The main view's lock state: how a change notice is answered before it
// reaches the records, and the auto-lock countdown.
#include <gtest/gtest.h>

#include "core/os/ChangeNotify.h"
#include "mainwindow/locking/ViewLockState.h"

namespace {

TEST(ViewLockState, StartsUnlockedWithNoReloadDueAndNoDialog)
{
    CViewLockState state;
    EXPECT_FALSE(state.IsLocked());
    EXPECT_FALSE(state.IsReloadDue());
    EXPECT_FALSE(state.IsEditingDialogOpen());
}

TEST(ViewLockState, EditingDialogQueryIsAnsweredFromTheFlag)
{
    CViewLockState state;
    long result = -1;
    EXPECT_TRUE(state.TakeNotice(NOTIFY_PING, result));
    EXPECT_EQ(0, result);
    state.SetEditingDialogOpen(true);
    EXPECT_TRUE(state.TakeNotice(NOTIFY_PING, result));
    EXPECT_EQ(1, result);
    EXPECT_FALSE(state.IsReloadDue());
}

TEST(ViewLockState, EditingDialogQueryIsAnsweredWhileLockedWithoutMarkingAReload)
{
    CViewLockState state;
    state.SetLocked(true);
    state.SetEditingDialogOpen(true);
    long result = -1;
    EXPECT_TRUE(state.TakeNotice(NOTIFY_PING, result));
    EXPECT_EQ(1, result);
    EXPECT_FALSE(state.IsReloadDue());
}

TEST(ViewLockState, WhileLockedEveryOtherNoticeOnlyMarksAReload)
{
    for (int operation : {0, NOTIFY_RELOAD, NOTIFY_ADDED, NOTIFY_MODIFIED, NOTIFY_DELETED, 5, 7}) {
        CViewLockState state;
        state.SetLocked(true);
        long result = -1;
        EXPECT_TRUE(state.TakeNotice(operation, result)) << operation;
        EXPECT_EQ(0, result) << operation;
        EXPECT_TRUE(state.IsReloadDue()) << operation;
    }
}

TEST(ViewLockState, UnlockedNoticesGoOnToTheView)
{
    for (int operation : {0, NOTIFY_RELOAD, NOTIFY_ADDED, NOTIFY_MODIFIED, NOTIFY_DELETED, 5, 7}) {
        CViewLockState state;
        state.SetEditingDialogOpen(true);
        long result = -1;
        EXPECT_FALSE(state.TakeNotice(operation, result)) << operation;
        EXPECT_EQ(0, result) << operation;
        EXPECT_FALSE(state.IsReloadDue()) << operation;
    }
}

TEST(ViewLockState, ReloadStaysDueAfterTheUnlock)
{
    CViewLockState state;
    state.SetLocked(true);
    long result = 0;
    state.TakeNotice(NOTIFY_MODIFIED, result);
    state.SetLocked(false);
    EXPECT_TRUE(state.IsReloadDue());
}

TEST(ViewLockState, AutoLockCountdownIsTheSleepTimeInMilliseconds)
{
    EXPECT_EQ(60000u, CViewLockState::AutoLockDelayMs(1));
    EXPECT_EQ(15u * 60000u, CViewLockState::AutoLockDelayMs(15));
    EXPECT_EQ(0u, CViewLockState::AutoLockDelayMs(0));
    EXPECT_EQ(0u, CViewLockState::AutoLockDelayMs(-5));
}

TEST(ViewLockState, AFixedCountdownStandsInForTheSleepTime)
{
    CViewLockState state;
    EXPECT_EQ(5u * 60000u, state.CountdownMs(5));
    state.SetFixedCountdownMs(250);
    EXPECT_EQ(250u, state.CountdownMs(5));
    EXPECT_EQ(250u, state.CountdownMs(0));
    state.SetFixedCountdownMs(0);
    EXPECT_EQ(5u * 60000u, state.CountdownMs(5));
}

TEST(ViewLockState, ALockStartsAndEndsWithNoReloadDue)
{
    CViewLockState state;
    state.SetLocked(true);
    long result = 0;
    state.TakeNotice(NOTIFY_RELOAD, result);
    ASSERT_TRUE(state.IsReloadDue());
    state.ClearReloadDue();
    EXPECT_FALSE(state.IsReloadDue());
}

TEST(ViewLockState, AnExpiredCountdownLocksOnlyWhenNoOtherDialogIsOpen)
{
    using Expiry = CViewLockState::Expiry;
    const struct {
        bool editor, other;
        Expiry expected;
    } cases[] = {
        {false, false, Expiry::Lock},
        {true, false, Expiry::CloseEditorFirst},
        // The type and category editors, Options, the user dialogs, a message
        // box, or a dialog opened from the record editor.
        {false, true, Expiry::Rearm},
        {true, true, Expiry::Rearm},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CViewLockState::OnCountdownExpired(c.editor, c.other)) << c.editor << c.other;
}

}  // namespace
