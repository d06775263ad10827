// The failed-log-on counter: what one check does for every stored count.
#include <gtest/gtest.h>

#include "app/logon/LogonAttempts.h"

namespace {

TEST(LogonAttemptsTest, StepForEveryStoredCount)
{
    using O = LogonOutcome;
    const struct {
        int stored;
        bool right;
        O outcome;
        bool checked;
        int afterCheck;
        int final;
        bool fiveLeft;
        int left;
    } table[] = {
        // Right password: back to 0 whatever the count below the limit.
        {0, true, O::LoggedOn, true, 0, 0, false, 10},
        {4, true, O::LoggedOn, true, 0, 0, false, 10},
        {9, true, O::LoggedOn, true, 0, 0, false, 10},
        // Wrong password, silent counts.
        {0, false, O::Retry, true, 1, 1, false, 9},
        {3, false, O::Retry, true, 4, 4, false, 6},
        // The fifth failure warns once.
        {4, false, O::Retry, true, 5, 5, true, 5},
        {5, false, O::Retry, true, 6, 6, false, 4},
        {8, false, O::Retry, true, 9, 9, false, 1},
        // The tenth failure locks out: 10 is stored first, 0 after the deletion.
        {9, false, O::LockOut, true, 10, 0, false, 0},
        // A lock-out left unfinished, or a count above the limit: locked, the
        // password is not even tried, right or wrong.
        {10, false, O::LockOut, false, 10, 0, false, 0},
        {10, true, O::LockOut, false, 10, 0, false, 0},
        {11, true, O::LockOut, false, 10, 0, false, 0},
        {2147483647, true, O::LockOut, false, 10, 0, false, 0},
        // A negative count reads as 0.
        {-5, false, O::Retry, true, 1, 1, false, 9},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << "stored " << row.stored << (row.right ? " right" : " wrong"));
        EXPECT_EQ(NeedsPasswordCheck(row.stored), row.checked);
        LogonStep step = NextLogonStep(row.stored, row.right);
        EXPECT_EQ(step.outcome, row.outcome);
        EXPECT_EQ(step.checkPassword, row.checked);
        EXPECT_EQ(step.countAfterCheck, row.afterCheck);
        EXPECT_EQ(step.finalCount, row.final);
        EXPECT_EQ(step.fiveLeftWarning, row.fiveLeft);
        if (row.outcome != O::LoggedOn) {
            EXPECT_EQ(step.attemptsLeft, row.left);
        }
    }
}

TEST(LogonAttemptsTest, LabelShowsFromFiveLeftAndLockedFromTen)
{
    for (int count = -1; count <= 12; ++count) {
        EXPECT_EQ(ShowsAttemptsLabel(count), count >= 5 && count <= 9) << count;
        EXPECT_EQ(IsLockedAttemptCount(count), count >= 10) << count;
    }
}

TEST(LogonAttemptsTest, TenWrongPasswordsInARowLockOutOnce)
{
    int stored = 0;
    int lockOuts = 0;
    for (int attempt = 1; attempt <= 10; ++attempt) {
        LogonStep step = NextLogonStep(stored, false);
        if (step.outcome == LogonOutcome::LockOut) {
            ++lockOuts;
            EXPECT_EQ(attempt, 10);
        }
        stored = step.finalCount;
    }
    EXPECT_EQ(lockOuts, 1);
    EXPECT_EQ(stored, 0);
}

TEST(LogonAttemptsTest, LabelTexts)
{
    EXPECT_STREQ(AttemptsLeftText(3), "3 Attempts Left.");
    EXPECT_STREQ(AttemptsLeftText(5), "5 Attempts Left.");
    EXPECT_STREQ(kAttemptLimitText, "You have reached Attempt Limit.");
}

}  // namespace
