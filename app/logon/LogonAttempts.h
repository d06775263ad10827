#pragma once
// The failed-log-on counter of a user and what each check does to it. The
// count survives restarts (the user's "Login Attempt Count"); ten wrong
// passwords in a row lock the account out and delete the user's data.
//
// A stored count of ten or more means a lock-out that never finished (the
// program ended between storing the tenth failure and resetting the count),
// or a hand-edited file: such an account is locked, and its next check
// finishes the lock-out without trying the password, so killing the program
// at the lock-out message never buys more guesses.
#include "framework/CString.h"

const int kLoginAttemptLimit = 10;
// The attempts label shows from this many attempts left.
const int kLoginWarnAttemptsLeft = 5;

enum class LogonOutcome {
    LoggedOn,  // right password: count back to 0, the dialog closes
    Retry,     // wrong password below the limit: the dialog stays open
    LockOut,   // the limit is reached: delete the data, count back to 0
};

struct LogonStep {
    LogonOutcome outcome;
    // Whether the password is to be checked at all (not for a locked account).
    bool checkPassword;
    // Stored right after the check (before any lock-out deletion).
    int countAfterCheck;
    // Stored when the step is over (differs only for a lock-out).
    int finalCount;
    // "Only 5 attempts left...!!!" follows the wrong-password message.
    bool fiveLeftWarning;
    // For the label: kLoginAttemptLimit - countAfterCheck (0 at the limit).
    int attemptsLeft;
};

// Locked: a stored count at or above the limit.
bool IsLockedAttemptCount(int storedCount);
// Whether the attempts label shows for a stored count (5 to 9).
bool ShowsAttemptsLabel(int storedCount);
// "3 Attempts Left." for 3.
CString AttemptsLeftText(int attemptsLeft);
// The label's text after the lock-out.
extern const char kAttemptLimitText[];

// Whether the password is checked for an account with this stored count.
inline bool NeedsPasswordCheck(int storedCount) { return !IsLockedAttemptCount(storedCount); }
// One check of a password for an account with the stored count; passwordRight
// is only looked at when NeedsPasswordCheck.
LogonStep NextLogonStep(int storedCount, bool passwordRight);
