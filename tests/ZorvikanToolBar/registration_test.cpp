// Registration of the plug-in library, per machine and per user, through its
// own exports and through the system's regsvr32, checked in the registry of
// the test's Wine prefix; a registration that fails leaves nothing behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cwchar>
#include <string>

#include "tests/support/ChildProcess.h"

namespace {

const char kClsid[] = "{6490AEFB-281C-405C-BE19-F59AA38DF56A}";
const char kToolBarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";

std::string DllPath() { return zvtest::SiblingExe("ZorvikanToolBar.dll"); }

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The value's text; "<none>" when the key or value is missing.
std::string StringValue(HKEY root, const std::string& path, const char* name = nullptr)
{
    char buffer[1024] = {};
    DWORD size = sizeof(buffer) - 1;
    if (RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return "<none>";
    return buffer;
}

bool ToolBarValueExists()
{
    DWORD type = 0, size = 99;
    BYTE data[4];
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kToolBarKey, kClsid, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return false;
    return type == REG_BINARY && size == 0;
}

struct Mode {
    const char* name;
    HKEY root;           // where HKCR's keys land
    const char* prefix;  // below root
    bool perUser;
};

const Mode kModes[] = {
    {"machine", HKEY_LOCAL_MACHINE, "Software\\Classes\\", false},
    {"user", HKEY_CURRENT_USER, "Software\\Classes\\", true},
};

class Library {
public:
    Library() : m_module(LoadLibraryA(DllPath().c_str())) {}
    ~Library()
    {
        if (m_module) FreeLibrary(m_module);
    }
    bool Loaded() const { return m_module != nullptr; }
    HRESULT Register(bool perUser)
    {
        if (perUser) return Install(TRUE, L"user");
        return Call("DllRegisterServer");
    }
    HRESULT Unregister(bool perUser)
    {
        if (perUser) return Install(FALSE, L"user");
        return Call("DllUnregisterServer");
    }
    HRESULT Install(BOOL install, const wchar_t* commandLine)
    {
        auto fn = reinterpret_cast<HRESULT(WINAPI*)(BOOL, LPCWSTR)>(GetProcAddress(m_module, "DllInstall"));
        return fn ? fn(install, commandLine) : E_NOTIMPL;
    }
    HRESULT Call(const char* name)
    {
        auto fn = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(m_module, name));
        return fn ? fn() : E_NOTIMPL;
    }
    HMODULE Handle() const { return m_module; }

private:
    HMODULE m_module;
};

// Every key of both scripts and the type library, in the mode's classes.
void ExpectRegistered(const Mode& m)
{
    std::string c = m.prefix;
    std::string clsid = c + "CLSID\\" + kClsid;
    EXPECT_EQ("Zorvikan ToolBar", StringValue(m.root, clsid));
    EXPECT_EQ("ZorvikanToolBar.ZorvikBand.1", StringValue(m.root, clsid + "\\ProgID"));
    EXPECT_EQ("ZorvikanToolBar.ZorvikBand", StringValue(m.root, clsid + "\\VersionIndependentProgID"));
    EXPECT_TRUE(KeyExists(m.root, clsid + "\\Programmable"));
    EXPECT_EQ(DllPath(), StringValue(m.root, clsid + "\\InprocServer32"));
    EXPECT_EQ("Apartment", StringValue(m.root, clsid + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ("{58748D7A-BB40-4A0F-9952-920C44CFFD56}", StringValue(m.root, clsid + "\\TypeLib"));
    EXPECT_EQ("ZorvikBand Class", StringValue(m.root, c + "ZorvikanToolBar.ZorvikBand.1"));
    EXPECT_EQ(kClsid, StringValue(m.root, c + "ZorvikanToolBar.ZorvikBand.1\\CLSID"));
    EXPECT_EQ("ZorvikBand Class", StringValue(m.root, c + "ZorvikanToolBar.ZorvikBand"));
    EXPECT_EQ(kClsid, StringValue(m.root, c + "ZorvikanToolBar.ZorvikBand\\CLSID"));
    EXPECT_EQ("ZorvikanToolBar.ZorvikBand.1", StringValue(m.root, c + "ZorvikanToolBar.ZorvikBand\\CurVer"));
    EXPECT_EQ("ZorvikanToolBar", StringValue(m.root, c + "AppID\\{FF9EC766-4EB4-45BC-BCE7-509E01F90E24}"));
    EXPECT_EQ("{FF9EC766-4EB4-45BC-BCE7-509E01F90E24}", StringValue(m.root, c + "AppID\\ZorvikanToolBar.DLL", "AppID"));
    EXPECT_EQ(DllPath(), StringValue(m.root, c + "TypeLib\\{58748D7A-BB40-4A0F-9952-920C44CFFD56}\\1.0\\409\\win64"));
    EXPECT_TRUE(ToolBarValueExists());
}

void ExpectUnregistered(const Mode& m)
{
    std::string c = m.prefix;
    for (const std::string& key :
         {c + "CLSID\\" + kClsid, c + "ZorvikanToolBar.ZorvikBand.1", c + "ZorvikanToolBar.ZorvikBand",
          c + "AppID\\{FF9EC766-4EB4-45BC-BCE7-509E01F90E24}", c + "AppID\\ZorvikanToolBar.DLL",
          c + "TypeLib\\{58748D7A-BB40-4A0F-9952-920C44CFFD56}"}) {
        EXPECT_FALSE(KeyExists(m.root, key)) << key;
    }
    EXPECT_FALSE(ToolBarValueExists());
}

TEST(Registration, RegisterAndUnregisterThroughTheExports)
{
    for (const Mode& m : kModes) {
        SCOPED_TRACE(m.name);
        Library library;
        ASSERT_TRUE(library.Loaded());
        ASSERT_EQ(S_OK, library.Register(m.perUser));
        ExpectRegistered(m);
        ASSERT_EQ(S_OK, library.Unregister(m.perUser));
        ExpectUnregistered(m);
        // The parents that other servers share stay.
        EXPECT_TRUE(KeyExists(m.root, std::string(m.prefix) + "CLSID"));
        EXPECT_TRUE(KeyExists(m.root, std::string(m.prefix) + "AppID"));
    }
}

TEST(Registration, PerUserWritesNoClassKeysOfTheMachine)
{
    Library library;
    ASSERT_TRUE(library.Loaded());
    ASSERT_EQ(S_OK, library.Register(true));
    std::string clsid = std::string("Software\\Classes\\CLSID\\") + kClsid;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, clsid));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\ZorvikanToolBar.ZorvikBand"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\TypeLib\\{58748D7A-BB40-4A0F-9952-920C44CFFD56}"));
    EXPECT_EQ(S_OK, library.Unregister(true));
}

TEST(Registration, OnlyTheWholeWordUserRegistersPerUser)
{
    struct Case {
        const wchar_t* commandLine;
        bool perUser;
    };
    const Case cases[] = {{L"user", true}, {L"USER", true}, {L"users", false}, {L"", false}, {nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine ? c.commandLine[0] ? "given" : "empty" : "none");
        Library library;
        ASSERT_EQ(S_OK, library.Install(TRUE, c.commandLine));
        ExpectRegistered(kModes[c.perUser ? 1 : 0]);
        EXPECT_EQ(S_OK, library.Install(FALSE, c.commandLine));
        ExpectUnregistered(kModes[c.perUser ? 1 : 0]);
    }
}

TEST(Registration, AFailedRegistrationTakesBackWhatItWroteAndSaysSo)
{
    for (const Mode& m : kModes) {
        SCOPED_TRACE(m.name);
        // A volatile key cannot hold the class script's lasting sub-keys.
        std::string blocker = std::string(m.prefix) + "ZorvikanToolBar.ZorvikBand";
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(m.root, blocker.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegCloseKey(key);
        HRESULT hr;
        {
            Library library;
            hr = library.Register(m.perUser);
        }
        RegDeleteTreeA(m.root, blocker.c_str());
        RegDeleteKeyA(m.root, blocker.c_str());
        EXPECT_TRUE(FAILED(hr));
        ExpectUnregistered(m);
    }
}

TEST(Registration, UnknownClassesHaveNoFactory)
{
    Library library;
    auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        GetProcAddress(library.Handle(), "DllGetClassObject"));
    ASSERT_TRUE(get);
    const CLSID listener = {0x3CCF64BC, 0xC635, 0x4F8F, {0x82, 0x4F, 0x7D, 0x6E, 0x3B, 0x06, 0x70, 0xE4}};
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, get(listener, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, get(listener, IID_IClassFactory, nullptr));
}

// The type library in the library's resources, read back by the system.
TEST(Registration, TypeLibraryHoldsTheTwoClassesAndTheirInterfaces)
{
    std::string narrow = DllPath();
    std::wstring path(narrow.begin(), narrow.end());
    ITypeLib* library = nullptr;
    ASSERT_EQ(S_OK, LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library));
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attr));
    const GUID libId = {0x58748D7A, 0xBB40, 0x4A0F, {0x99, 0x52, 0x92, 0x0C, 0x44, 0xCF, 0xFD, 0x56}};
    EXPECT_TRUE(IsEqualGUID(libId, attr->guid));
    EXPECT_EQ(1, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    EXPECT_EQ(0x409u, attr->lcid);
    library->ReleaseTLibAttr(attr);

    struct Entry {
        const wchar_t* name;
        TYPEKIND kind;
        WORD flags;  // that must be set
        const wchar_t* help;
    };
    const WORD dual = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE;
    const Entry entries[] = {
        {L"IZorvikBand", TKIND_DISPATCH, dual, L"IZorvikBand Interface"},
        {L"IWebBrowserEventsListener", TKIND_DISPATCH, dual, L"IWebBrowserEventsListener Interface"},
        {L"ZorvikBand", TKIND_COCLASS, TYPEFLAG_FCANCREATE, L"ZorvikBand Class"},
        {L"WebBrowserEventsListener", TKIND_COCLASS, TYPEFLAG_FCANCREATE, L"WebBrowserEventsListener Class"},
    };
    ASSERT_EQ(4u, library->GetTypeInfoCount());
    for (UINT i = 0; i < 4; ++i) {
        BSTR name = nullptr, help = nullptr;
        ASSERT_EQ(S_OK, library->GetDocumentation(i, &name, &help, nullptr, nullptr));
        const Entry* found = nullptr;
        for (const Entry& e : entries)
            if (name && wcscmp(name, e.name) == 0) found = &e;
        ASSERT_TRUE(found) << i;
        EXPECT_STREQ(found->help, help);
        ITypeInfo* info = nullptr;
        ASSERT_EQ(S_OK, library->GetTypeInfo(i, &info));
        TYPEATTR* type = nullptr;
        ASSERT_EQ(S_OK, info->GetTypeAttr(&type));
        EXPECT_EQ(found->kind, type->typekind);
        EXPECT_EQ(found->flags, type->wTypeFlags & found->flags);
        if (type->typekind == TKIND_DISPATCH) {
            // The interface half of the dual pair carries the automation flag.
            HREFTYPE ref = 0;
            ITypeInfo* vtable = nullptr;
            ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref));
            ASSERT_EQ(S_OK, info->GetRefTypeInfo(ref, &vtable));
            TYPEATTR* vattr = nullptr;
            ASSERT_EQ(S_OK, vtable->GetTypeAttr(&vattr));
            EXPECT_EQ(TKIND_INTERFACE, vattr->typekind);
            EXPECT_TRUE(vattr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
            EXPECT_EQ(0, vattr->cFuncs);  // no members of its own
            vtable->ReleaseTypeAttr(vattr);
            vtable->Release();
        }
        info->ReleaseTypeAttr(type);
        info->Release();
        SysFreeString(name);
        SysFreeString(help);
    }
    BSTR help = nullptr;
    ASSERT_EQ(S_OK, library->GetDocumentation(-1, nullptr, &help, nullptr, nullptr));
    EXPECT_STREQ(L"ZorvikanToolBar 1.0 Type Library", help);
    SysFreeString(help);
    library->Release();
}

// The system's registration tool, as the desktop program runs it.
int RunRegsvr32(const std::string& arguments)
{
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    zvtest::ChildProcess tool(std::string(system) + "\\regsvr32.exe", arguments);
    if (!tool.Started() || !tool.Finished(60000)) return -1;
    return static_cast<int>(tool.ExitCode());
}

TEST(Registration, Regsvr32RegistersAndUnregisters)
{
    std::string dll = "\"" + DllPath() + "\"";
    struct Case {
        const Mode& mode;
        std::string install, uninstall;
    };
    const Case cases[] = {{kModes[0], "/s " + dll, "/s /u " + dll},
                          {kModes[1], "/s /n /i:user " + dll, "/s /u /n /i:user " + dll}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.name);
        ASSERT_EQ(0, RunRegsvr32(c.install));
        ExpectRegistered(c.mode);
        ASSERT_EQ(0, RunRegsvr32(c.uninstall));
        ExpectUnregistered(c.mode);
    }
}

}  // namespace
