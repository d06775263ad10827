#include "app/logon/LogonAttempts.h"

const char kAttemptLimitText[] = "You have reached Attempt Limit.";

bool IsLockedAttemptCount(int storedCount) { return storedCount >= kLoginAttemptLimit; }

bool ShowsAttemptsLabel(int storedCount)
{
    return storedCount >= kLoginAttemptLimit - kLoginWarnAttemptsLeft && storedCount < kLoginAttemptLimit;
}

CString AttemptsLeftText(int attemptsLeft)
{
    CString text;
    text.Format("%d Attempts Left.", attemptsLeft);
    return text;
}

LogonStep NextLogonStep(int storedCount, bool passwordRight)
{
    if (storedCount < 0) storedCount = 0;
    LogonStep step{LogonOutcome::Retry, true, 0, 0, false, 0};
    if (IsLockedAttemptCount(storedCount)) {
        // Finish the lock-out that was left undone.
        step.outcome = LogonOutcome::LockOut;
        step.checkPassword = false;
        step.countAfterCheck = kLoginAttemptLimit;
        step.finalCount = 0;
        return step;
    }
    if (passwordRight) {
        step.outcome = LogonOutcome::LoggedOn;
        step.attemptsLeft = kLoginAttemptLimit;
        return step;
    }
    int count = storedCount + 1;
    step.countAfterCheck = count;
    step.attemptsLeft = kLoginAttemptLimit - count;
    if (count >= kLoginAttemptLimit) {
        step.outcome = LogonOutcome::LockOut;
        step.finalCount = 0;
        return step;
    }
    step.finalCount = count;
    step.fiveLeftWarning = step.attemptsLeft == kLoginWarnAttemptsLeft;
    return step;
}
