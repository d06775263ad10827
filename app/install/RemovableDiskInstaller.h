#pragma once
// Installing the program with the current user's data onto a removable disk:
// a folder "Zorvikan" in the chosen place gets the program's files, the
// user's folder, preferences, event log, smart lists and backups, laid out
// as a data root beside the program. The copying runs on a worker thread
// and shows the process-wide progress window (windows only).
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/CString.h"

class CUserItem;

// Everything the copy needs, taken on the GUI thread before the worker
// starts, so the worker never reads the user or the preferences objects
// that the GUI thread goes on using.
struct RemovableInstallPlan {
    std::unique_ptr<CUserItem> user;  // a copy of the user
    CString programFolder;
    CString dataRoot;
    CString safeKey;
    CString userFolder;
    CString backupFolder;
    CString eventsLog;
    CString smartTypes;
    CString systemFolder;
    CString prefsSection;

    RemovableInstallPlan();
    ~RemovableInstallPlan();
};

class CRemovableDiskInstaller {
public:
    // On the GUI thread: the plan for the user; null without a user.
    static std::unique_ptr<RemovableInstallPlan> MakePlan(CUserItem* user);

    explicit CRemovableDiskInstaller(const RemovableInstallPlan& plan);

    // A target whose installation folder would lie inside the data root
    // (or hold it) is refused: the copy would copy into what it copies.
    bool IsTargetAllowed(const CString& target) const;
    // Creates target\Zorvikan and runs every copy step; the destinations of
    // the steps that failed (empty: all went).
    std::vector<CString> CopyAll(const CString& target);

private:
    const RemovableInstallPlan& m_plan;
};

// The final text of the progress window for the failed steps.
CString DescribeInstallResult(const std::vector<CString>& failed);

// The worker thread's procedure; its argument is a RemovableInstallPlan it
// takes over. Asks for the target, shows the progress window, copies and
// reports. Returns 1.
UINT RemovableDiskInstallThread(LPVOID plan);
// On the GUI thread: takes the plan for the user and starts the worker.
bool StartRemovableDiskInstall(CUserItem* user);
