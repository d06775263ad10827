#include "ZorvikanToolBar/com/ToolBarModule.h"

#include <oleauto.h>

#include <vector>

#include "ZorvikanToolBar/com/ClassFactory.h"
#include "ZorvikanToolBar/com/RegScript.h"
#include "ZorvikanToolBar/com/RegScriptApply.h"
#include "ZorvikanToolBar/com/ToolBarGuids.h"
#include "ZorvikanToolBar/res/ToolBarResource.h"
#include "core/os/ProcessWide.h"

namespace {

const char kToolBarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";

// The type library's keys as the system's own registration writes them, for
// the current user's classes: the system has no per-user registration of
// its own under Wine, and one that writes the machine's keys would leave
// traces a per-user removal cannot take away.
const char kUserTypeLibScript[] =
    "HKCR\n{\n"
    " NoRemove TypeLib\n {\n"
    "  ForceRemove {58748D7A-BB40-4A0F-9952-920C44CFFD56}\n  {\n"
    "   '1.0' = s 'ZorvikanToolBar 1.0 Type Library'\n   {\n"
    "    '409' { win64 = s '%MODULE%' }\n"
    "    FLAGS = s '0'\n"
    "    HELPDIR = s '%MODULEDIR%'\n"
    "   }\n  }\n }\n"
    " NoRemove Interface\n {\n"
    "  ForceRemove {B8635D1A-B693-46EC-829C-D5FA2A6190AF} = s 'IZorvikBand'\n  {\n"
    "   ProxyStubClsid32 = s '{00020424-0000-0000-C000-000000000046}'\n"
    "   TypeLib = s '{58748D7A-BB40-4A0F-9952-920C44CFFD56}' { val Version = s '1.0' }\n"
    "  }\n"
    "  ForceRemove {0E843641-8E8F-4D3D-B376-86993DBD4C41} = s 'IWebBrowserEventsListener'\n  {\n"
    "   ProxyStubClsid32 = s '{00020424-0000-0000-C000-000000000046}'\n"
    "   TypeLib = s '{58748D7A-BB40-4A0F-9952-920C44CFFD56}' { val Version = s '1.0' }\n"
    "  }\n }\n}\n";

// The system default thread locale while registering, as the type library's
// registration expects; the caller's comes back after.
class ThreadLocaleScope {
public:
    ThreadLocaleScope() : m_previous(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~ThreadLocaleScope() { SetThreadLocale(m_previous); }

private:
    LCID m_previous;
};

RegReplacements Replacements()
{
    CString path = CZorvikanToolBarModule::ModulePath();
    CString folder = path;
    int slash = folder.ReverseFind('\\');
    if (slash >= 0) folder = folder.Left(slash + 1);
    return {{"MODULE", path.GetString()},
            {"Module_Raw", path.GetString()},
            {"MODULEDIR", folder.GetString()},
            {"APPID", kToolBarAppId}};
}

HRESULT ApplyText(const char* text, bool doRegister, HKEY classesRoot)
{
    std::vector<RegScriptRoot> roots;
    CString error;
    if (ParseRegScript(text, Replacements(), roots, error) != 0) return E_UNEXPECTED;
    LONG r = ApplyRegScript(roots, doRegister, classesRoot);
    return r == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(r);
}

// The tool-bar value of Internet Explorer; its outcome never decides.
void SetToolBarValue(bool present)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kToolBarKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (present)
        RegSetValueExA(key, kZorvikBandClsidText, 0, REG_BINARY, nullptr, 0);
    else
        RegDeleteValueA(key, kZorvikBandClsidText);
    RegCloseKey(key);
}

void KeepFirst(HRESULT& first, HRESULT hr)
{
    if (SUCCEEDED(first) && FAILED(hr)) first = hr;
}

}  // namespace

CZorvikanToolBarModule::CZorvikanToolBarModule() { InitializeCriticalSection(&m_lock); }

CZorvikanToolBarModule::~CZorvikanToolBarModule()
{
    if (m_factory) m_factory->Release();
    if (m_git) m_git->Release();
    DeleteCriticalSection(&m_lock);
}

std::shared_ptr<CZorvikanToolBarModule> CZorvikanToolBarModule::GetInstance()
{
    static CProcessWide<CZorvikanToolBarModule> slot([] { return std::make_shared<CZorvikanToolBarModule>(); });
    return slot.Get();
}

LONG CZorvikanToolBarModule::Lock() { return InterlockedIncrement(&m_lockCount); }
LONG CZorvikanToolBarModule::Unlock() { return InterlockedDecrement(&m_lockCount); }
LONG CZorvikanToolBarModule::GetLockCount() const { return m_lockCount; }

HRESULT CZorvikanToolBarModule::GetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_ZorvikBand)) return CLASS_E_CLASSNOTAVAILABLE;
    EnterCriticalSection(&m_lock);
    if (!m_factory) m_factory = new CZorvikBandFactory();
    IClassFactory* factory = m_factory;
    factory->AddRef();
    LeaveCriticalSection(&m_lock);
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

IGlobalInterfaceTable* CZorvikanToolBarModule::GetGITPtr()
{
    EnterCriticalSection(&m_lock);
    if (!m_git)
        CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER, IID_IGlobalInterfaceTable,
                         reinterpret_cast<void**>(&m_git));
    IGlobalInterfaceTable* git = m_git;
    if (git) git->AddRef();
    LeaveCriticalSection(&m_lock);
    return git;
}

HMODULE CZorvikanToolBarModule::ModuleHandle()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CZorvikanToolBarModule::ModuleHandle), &module);
    return module;
}

CString CZorvikanToolBarModule::ModulePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(ModuleHandle(), path, MAX_PATH - 1);
    return CString(path);
}

HKEY CZorvikanToolBarModule::OpenClassesRoot()
{
    if (!m_perUser) return HKEY_CLASSES_ROOT;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HRESULT CZorvikanToolBarModule::RunScript(int resourceId, bool doRegister)
{
    HMODULE module = ModuleHandle();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "REGISTRY");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    std::string text(bytes, SizeofResource(module, found));
    HKEY root = OpenClassesRoot();
    if (!root) return E_ACCESSDENIED;
    HRESULT hr = ApplyText(text.c_str(), doRegister, root);
    if (root != HKEY_CLASSES_ROOT) RegCloseKey(root);
    return hr;
}

HRESULT CZorvikanToolBarModule::RegisterTypeLibrary()
{
    if (m_perUser) {
        HKEY root = OpenClassesRoot();
        if (!root) return E_ACCESSDENIED;
        HRESULT hr = ApplyText(kUserTypeLibScript, true, root);
        RegCloseKey(root);
        return hr;
    }
    CString path = ModulePath();
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(wide, REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    hr = RegisterTypeLib(library, wide, nullptr);
    library->Release();
    return hr;
}

HRESULT CZorvikanToolBarModule::UnregisterTypeLibrary()
{
    if (m_perUser) {
        HKEY root = OpenClassesRoot();
        if (!root) return E_ACCESSDENIED;
        HRESULT hr = ApplyText(kUserTypeLibScript, false, root);
        RegCloseKey(root);
        return hr;
    }
    HRESULT hr = UnRegisterTypeLib(LIBID_ZorvikanToolBarLib, 1, 0, 0x409, SYS_WIN64);
    // Nothing registered is nothing to remove.
    if (hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_LIBNOTREGISTERED) hr = S_OK;
    return hr;
}

HRESULT CZorvikanToolBarModule::RegisterServer()
{
    SetToolBarValue(true);
    HRESULT hr;
    {
        ThreadLocaleScope locale;
        hr = RunScript(IDR_ZORVIKANTOOLBAR, true);
        if (SUCCEEDED(hr)) hr = RunScript(IDR_ZORVIKBAND, true);
        if (SUCCEEDED(hr)) hr = RegisterTypeLibrary();
    }
    if (FAILED(hr)) UnregisterServer();
    return hr;
}

HRESULT CZorvikanToolBarModule::UnregisterServer()
{
    SetToolBarValue(false);
    HRESULT first = S_OK;
    ThreadLocaleScope locale;
    KeepFirst(first, RunScript(IDR_ZORVIKBAND, false));
    KeepFirst(first, UnregisterTypeLibrary());
    KeepFirst(first, RunScript(IDR_ZORVIKANTOOLBAR, false));
    return first;
}
