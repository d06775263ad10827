// The shell's process-wide objects, built at load time before InitInstance
// runs and torn down after the run loop has ended: the registered messages,
// the single-instance guard and the application-wide preferences section.
#include "app/AppIds.h"
#include "app/frame/OneInstance.h"
#include "app/services/ZorvikanDesktopApp.h"

const UINT WM_Zorvikan10_DatabaseNotify = ::RegisterWindowMessageA("WM_Zorvikan10_DatabaseNotify");
const UINT WM_Corvantide_Zorvikan_EndSelChange = ::RegisterWindowMessageA("WM_Corvantide_Zorvikan_EndSelChange");

namespace {
// The main frame registers this class; the mutex marks a running copy from
// the first moment of its start-up.
COneInstance g_instanceGuard("Zorvikan Desktop", "Local\\Zorvikan Desktop Instance");
// "Preferences " + platform name, written once by InitInstance.
CString g_prefsSection;
}  // namespace

COneInstance& GetInstanceGuard() { return g_instanceGuard; }

CString& CZorvikanDesktopApp::GetPrefsSection() { return g_prefsSection; }
