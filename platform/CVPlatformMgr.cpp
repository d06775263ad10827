// Stand-in for the platform manager. Only the exports below exist; the
// program's defaults apply to every other one (no delete-record method, new
// databases get their default types and categories).
#include "StandinConfig.h"

namespace {

// The 460-byte user record the program exchanges with the platform manager.
struct Record {
    char displayName[200];
    char keyName[200];
    int platformType;
    char platformName[40];
    int platformValue;
    unsigned char reserved[12];
};
static_assert(sizeof(Record) == 460, "user record layout");

std::string PlatformName()
{
    std::string name = "iPhone";
    standin::Setting("name", name);
    return name;
}

// The index-th "display/key" pair of the users setting.
bool UserAt(int index, std::string& display, std::string& key)
{
    std::string users;
    if (index < 0 || !standin::Setting("users", users) || users.empty()) return false;
    size_t pos = 0;
    for (int i = 0; i < index; ++i) {
        pos = users.find(',', pos);
        if (pos == std::string::npos) return false;
        ++pos;
    }
    size_t end = users.find(',', pos);
    std::string pair = users.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    size_t slash = pair.find('/');
    if (slash == std::string::npos) return false;
    display = pair.substr(0, slash);
    key = pair.substr(slash + 1);
    return true;
}

}  // namespace

extern "C" {

__declspec(dllexport) int InitializePlatform(int /*mode*/, const char* /*product*/)
{
    return standin::NumberSetting("init", 0);
}

__declspec(dllexport) void ReleasePlatform() {}

__declspec(dllexport) int GetPlatform() { return standin::NumberSetting("kind", 5); }

__declspec(dllexport) void GetPlatformName(char* buffer) { standin::CopyText(buffer, 256, PlatformName()); }

__declspec(dllexport) void GetPlatformRootDir(const char* /*product*/, const void* /*record*/, const char* safeKeyName,
                                              char* buffer)
{
    std::string root;
    if (!standin::Setting("root", root) || root.empty() || !safeKeyName) return;
    standin::CopyText(buffer, 261, root + "\\" + safeKeyName);
}

__declspec(dllexport) int EnumeratePlatformUsers(int index, const char* /*product*/, void* buffer)
{
    std::string display, key;
    if (!buffer || !UserAt(index, display, key)) return 0;
    Record* record = static_cast<Record*>(buffer);
    std::memset(record, 0, sizeof(*record));
    standin::CopyText(record->displayName, sizeof(record->displayName), display);
    standin::CopyText(record->keyName, sizeof(record->keyName), key);
    record->platformType = 5;
    standin::CopyText(record->platformName, sizeof(record->platformName), PlatformName());
    record->platformValue = index + 1;
    return 1;
}

__declspec(dllexport) int IsPlatformUserActive(const char* /*display*/, const char* key, int /*value*/)
{
    std::string active;
    return key && standin::Setting("active", active) && active == key;
}

}  // extern "C"
