#pragma once
// CZorvikanToolBarModule: the plug-in library's module object. It counts the
// locks that keep the library loaded (each live band holds one), makes the
// band's class factory on the first request and registers and removes the
// server. Windows build only.
#include <windows.h>
#include <objidl.h>

#include <memory>

#include "framework/CString.h"

class CZorvikanToolBarModule {
public:
    CZorvikanToolBarModule();
    ~CZorvikanToolBarModule();
    CZorvikanToolBarModule(const CZorvikanToolBarModule&) = delete;
    CZorvikanToolBarModule& operator=(const CZorvikanToolBarModule&) = delete;

    // The one module object of the process.
    static std::shared_ptr<CZorvikanToolBarModule> GetInstance();

    LONG Lock();
    LONG Unlock();
    LONG GetLockCount() const;

    // DllGetClassObject: E_POINTER, CLASS_E_CLASSNOTAVAILABLE, or the
    // factory's answer for the interface.
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);
    // The process's global interface table, made on first use, with a
    // reference for the caller; null when it cannot be made.
    IGlobalInterfaceTable* GetGITPtr();

    // Registration of this process goes to the current user's classes
    // (DllInstall "user") instead of the machine's.
    void SetPerUser(bool perUser) { m_perUser = perUser; }
    bool IsPerUser() const { return m_perUser; }

    // DllRegisterServer: the tool-bar value, the AppID script, the class
    // script and the type library. On a failure everything is taken away
    // again and the failure answered.
    HRESULT RegisterServer();
    // DllUnregisterServer: the first failure, else S_OK.
    HRESULT UnregisterServer();

    // The library this code lives in, and its full path.
    static HMODULE ModuleHandle();
    static CString ModulePath();

private:
    HRESULT RunScript(int resourceId, bool doRegister);
    HRESULT RegisterTypeLibrary();
    HRESULT UnregisterTypeLibrary();
    // HKEY_CLASSES_ROOT, or the current user's Software\Classes (opened).
    HKEY OpenClassesRoot();

    volatile LONG m_lockCount = 0;
    CRITICAL_SECTION m_lock;
    IClassFactory* m_factory = nullptr;
    IGlobalInterfaceTable* m_git = nullptr;
    bool m_perUser = false;
};

// The lock of one live object: the library stays loaded while it lives.
class CModuleLock {
public:
    CModuleLock() : m_module(CZorvikanToolBarModule::GetInstance()) { m_module->Lock(); }
    ~CModuleLock() { m_module->Unlock(); }
    CModuleLock(const CModuleLock&) = delete;
    CModuleLock& operator=(const CModuleLock&) = delete;

private:
    std::shared_ptr<CZorvikanToolBarModule> m_module;
};
