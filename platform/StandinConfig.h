#pragma once
// Answers of the stand-in platform libraries. Normally they name the platform
// "iPhone", initialise successfully, report handheld platform kind 5 and know
// no users. Tests choose other answers without rebuilding through the
// environment variable ZV_STANDIN, read at every call, as ";"-separated
// key=value words:
//   init=<n>       result of the platform manager's InitializePlatform
//   syncinit=<n>   result of the platform-sync library's InitializePlatform
//   name=<text>    platform name ("name=" gives an empty name)
//   kind=<n>       platform kind of GetPlatform
//   users=<display>/<key>,<display>/<key>...   users of EnumeratePlatformUsers
//   active=<key>   key name of the user that IsPlatformUserActive reports
//   root=<folder>  GetPlatformRootDir answers <folder>\<safe key name>
// Numbers may be written in hexadecimal with a 0x prefix.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace standin {

// Value of one key of ZV_STANDIN; false when the key is not given.
inline bool Setting(const char* key, std::string& value)
{
    char buffer[4096];
    DWORD n = GetEnvironmentVariableA("ZV_STANDIN", buffer, sizeof(buffer));
    if (n == 0 || n >= sizeof(buffer)) return false;
    std::string all(buffer, n);
    std::string wanted = std::string(key) + "=";
    size_t pos = 0;
    while (pos <= all.size()) {
        size_t end = all.find(';', pos);
        if (end == std::string::npos) end = all.size();
        std::string word = all.substr(pos, end - pos);
        if (word.compare(0, wanted.size(), wanted) == 0) {
            value = word.substr(wanted.size());
            return true;
        }
        pos = end + 1;
    }
    return false;
}

inline int NumberSetting(const char* key, int fallback)
{
    std::string value;
    if (!Setting(key, value) || value.empty()) return fallback;
    return static_cast<int>(std::strtoul(value.c_str(), nullptr, 0));
}

// Copies text into a buffer of the given size, always zero-terminated.
inline void CopyText(char* to, size_t size, const std::string& text)
{
    if (!to || size == 0) return;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(to, text.data(), n);
    to[n] = 0;
}

}  // namespace standin
