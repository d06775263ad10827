#include "app/users/StandaloneUsers.h"

#include <cstdio>

#include "core/prefs/ProductNames.h"
#include "core/users/UserItem.h"

namespace {
const char kDisplayPrefix[] = "Standalone-";
const char kKeyPrefix[] = "_Standalone_";
}  // namespace

CString StandaloneDisplayName(const CString& name) { return CString(kDisplayPrefix) + name; }

CString StandaloneKeyName(const CString& name) { return CString(kKeyPrefix) + name; }

CString StandaloneShownName(const CString& displayName)
{
    CString shown = displayName;
    shown.Replace(kDisplayPrefix, "");
    return shown;
}

CString TrimUserName(const CString& typed)
{
    CString name = typed;
    name.Trim();
    return name;
}

bool IsStandaloneNameTaken(const CUserList& users, const CString& name, const CUserItem* except)
{
    const CString display = StandaloneDisplayName(name);
    const CString key = StandaloneKeyName(name);
    for (POSITION pos = users.GetHeadPosition(); pos;) {
        const auto* user = static_cast<const CUserItem*>(users.GetNext(pos));
        if (!user || user == except) continue;
        if (user->GetDisplayName().CompareNoCase(display) == 0 || user->GetKeyName().CompareNoCase(key) == 0)
            return true;
    }
    return false;
}

CUserItem* MakeStandaloneUser(const CString& name)
{
    UserRecord record = MakeEmptyUserRecord();
    record.platformType = kPlatformTypeStandalone;
    auto* user = new CUserItem(record);
    if (!user->SetNames(StandaloneDisplayName(name), StandaloneKeyName(name))) {
        delete user;
        return nullptr;
    }
    user->SetStandalone(true);
    char prefix[sizeof kLegacyUserKeyFormat + 8];
    std::snprintf(prefix, sizeof prefix, kLegacyUserKeyFormat, "");
    if (!user->SetLegacyKey(prefix)) {
        delete user;
        return nullptr;
    }
    return user;
}
