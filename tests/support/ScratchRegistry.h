#pragma once
// A private HKEY_CURRENT_USER for a test (windows build only). While the
// object lives, every use of HKEY_CURRENT_USER in the process goes to a fresh
// key HKEY_CURRENT_USER\Software\ZorvikanTests\<unique>; the key and
// everything under it are deleted when the object goes, so a test never
// touches the real user's keys and tests running side by side never meet.
#include <windows.h>

#include <filesystem>
#include <string>

class CWinApp;

namespace zvtest {

class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    bool IsActive() const { return m_scratch != nullptr; }

    // Reads a REGEDIT4 / Windows Registry Editor 5 file (ANSI) and creates
    // its keys and values; only keys under [HKEY_CURRENT_USER\...] are taken,
    // and they land in the scratch hive. Strings, dword:, hex: and hex(n):
    // values and continuation lines are understood. False on a line it
    // cannot read.
    bool ImportRegFile(const std::filesystem::path& file, std::string* error = nullptr);

    // Under the (private) HKEY_CURRENT_USER.
    static bool KeyExists(const char* path);
    static bool ValueExists(const char* path, const char* name);

private:
    HKEY m_scratch = nullptr;
    std::string m_path;  // below the real HKEY_CURRENT_USER
};

// The application object "Zorvikan Desktop" with the registry key
// "Corvantide", so its profile lies under Software\Corvantide\Zorvikan Desktop
// of the (private) HKEY_CURRENT_USER, where the older installations kept
// their preferences. One for the whole run, as the program has one.
CWinApp& ProfileApp();

}  // namespace zvtest
