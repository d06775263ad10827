// Stands in for the browser plug-in's file in the registration tests: the
// registration tool loads it and calls its exports. Each export leaves a
// marker file next to the library ("registered" or "unregistered"), and
// fails when a file "refuse" lies there.
#include <windows.h>

#include <string>

namespace {

std::string Folder()
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&Folder), &self);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, MAX_PATH);
    std::string text(path);
    return text.substr(0, text.find_last_of("\\/") + 1);
}

HRESULT Mark(const char* name)
{
    std::string folder = Folder();
    if (GetFileAttributesA((folder + "refuse").c_str()) != INVALID_FILE_ATTRIBUTES) return E_FAIL;
    HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return E_FAIL;
    CloseHandle(file);
    return S_OK;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() { return Mark("registered"); }
extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() { return Mark("unregistered"); }
