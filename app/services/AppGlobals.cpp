// The shell's process-wide values: the registered messages, the
// single-instance guard and the application-wide preferences section. The
// messages and the section are plain values set before any other thread
// runs; the guard is a process-wide object like every other one.
#include "app/AppIds.h"
#include "app/frame/OneInstance.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/os/ProcessWide.h"

const UINT WM_Zorvikan10_DatabaseNotify = ::RegisterWindowMessageA("WM_Zorvikan10_DatabaseNotify");
const UINT WM_Corvantide_Zorvikan_EndSelChange = ::RegisterWindowMessageA("WM_Corvantide_Zorvikan_EndSelChange");

namespace {
// "Preferences " + platform name, written once by InitInstance.
CString g_prefsSection;
}  // namespace

COneInstance& GetInstanceGuard()
{
    // The main frame registers this class; the mutex marks a running copy
    // from the first moment of its start-up. The guard is never replaced, so
    // the reference stays good until the process ends.
    static CProcessWide<COneInstance> slot(
        [] { return std::make_shared<COneInstance>("Zorvikan Desktop", "Local\\Zorvikan Desktop Instance"); });
    return *slot.Get();
}

CString& CZorvikanDesktopApp::GetPrefsSection() { return g_prefsSection; }
