// The library's five exports (ZorvikanToolBar.def) and its entry point.
#include <windows.h>
#include <objbase.h>

#include "ZorvikanToolBar/com/ToolBarModule.h"
#include "framework/ResourceModuleWin.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        // The dialogs and strings are the library's own, not the browser's.
        AfxSetResourceHandle(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return CZorvikanToolBarModule::GetInstance()->GetLockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    return CZorvikanToolBarModule::GetInstance()->GetClassObject(clsid, iid, out);
}

STDAPI DllRegisterServer() { return CZorvikanToolBarModule::GetInstance()->RegisterServer(); }

STDAPI DllUnregisterServer() { return CZorvikanToolBarModule::GetInstance()->UnregisterServer(); }

STDAPI DllInstall(BOOL install, LPCWSTR commandLine)
{
    auto module = CZorvikanToolBarModule::GetInstance();
    if (commandLine && lstrcmpiW(commandLine, L"user") == 0) module->SetPerUser(true);
    if (!install) return module->UnregisterServer();
    // A failed registration has taken back what it wrote already.
    return module->RegisterServer();
}
