#include "core/prefs/LegacyUserKeys.h"

#include <cstring>

#include "core/prefs/ProductNames.h"
#include "core/prefs/Registry.h"
#include "core/users/Platform.h"
#include "core/users/UserItem.h"
#include "core/users/UserRecord.h"

namespace {

const char kStandaloneSeparator[] = " - _Standalone_";
// A platform library that never reports the end of its users must not keep
// the start-up in a loop.
const int kMaxPlatformUsers = 0x10000;

void RemoveAll(CString& text, const char* what) { text.Replace(what, ""); }

}  // namespace

CString LegacyKeyOf(CUserItem* user) { return user ? user->GetLegacyKey() : CString(); }

bool OpenLegacyUserKey(CUserItem* user, CRegistry& key)
{
    CString path = LegacyKeyOf(user);
    return !path.IsEmpty() && key.Open(HKEY_CURRENT_USER, path);
}

CString ReadLegacyUserString(CUserItem* user, const char* name)
{
    CRegistry key;
    CString text;
    if (OpenLegacyUserKey(user, key)) key.ReadString(name, text);
    return text;
}

bool ReadStoredFlag(CRegistry& key, const char* name)
{
    if (!key.ValueExists(name)) return false;
    DWORD value = 0;
    if (key.ReadDWORD(name, value)) return value != 0;
    return true;
}

bool OpenOrCreateLegacyUserKey(CUserItem* user, CRegistry& key)
{
    CString path = LegacyKeyOf(user);
    if (path.IsEmpty()) return false;
    if (key.Open(HKEY_CURRENT_USER, path)) return true;
    return key.CreateKey();
}

bool WriteLegacyUserString(CUserItem* user, const char* name, const CString& text)
{
    if (user && LegacyKeyOf(user).IsEmpty()) return true;
    CRegistry key;
    return OpenOrCreateLegacyUserKey(user, key) && key.WriteString(name, text);
}

CAppPrefs::BufferPair ReadLegacyUserBuffer(CUserItem* user, const char* name)
{
    CRegistry key;
    if (!OpenLegacyUserKey(user, key)) return {nullptr, 0};
    BYTE data[260];
    DWORD size = sizeof data;
    if (!key.ReadValue(name, data, size) || size == 0) return {nullptr, 0};
    BYTE* copy = new BYTE[size];
    std::memcpy(copy, data, size);
    return {copy, int(size)};
}

void WriteLegacyUserBuffer(CUserItem* user, const char* name, const BYTE* buffer, int length)
{
    if (length < 0 || (!buffer && length > 0)) return;
    CRegistry key;
    if (OpenLegacyUserKey(user, key)) key.WriteBinary(name, buffer, DWORD(length));
}

void EnumLegacyUsers(const CString& productName, const CString& legacyKeyPrefix, CUserList& users)
{
    // Users the platform manager knows.
    if (auto* enumerate = PlatformExport<PlatformEnumUsersFn>(PlatformLibrary::Manager, "EnumeratePlatformUsers")) {
        for (int index = 0; index < kMaxPlatformUsers; ++index) {
            UserRecord record = MakeEmptyUserRecord();
            int result = enumerate(index, productName, &record);
            if (result == 0) break;
            if (result != 1) continue;
            CString keyName = GetUserRecordText(record.keyName, sizeof(record.keyName));
            CString displayName = GetUserRecordText(record.displayName, sizeof(record.displayName));
            // A key that cannot name a folder below the data root is not taken
            // as a user, as in the preferences file.
            if (keyName.IsEmpty() || displayName.IsEmpty() || !IsUsableKeyName(keyName)) continue;
            // The record read back through the bounded texts, so a record
            // without terminators cannot run past its fields.
            SetUserRecordText(record.keyName, sizeof(record.keyName), keyName);
            SetUserRecordText(record.displayName, sizeof(record.displayName), displayName);
            CUserItem* user = new CUserItem(record);
            // Without its legacy key the user would read as defaults and be
            // taken over with them.
            if (!user->SetLegacyKey(legacyKeyPrefix)) {
                delete user;
                continue;
            }
            users.AddTail(user);
        }
    }

    // Stand-alone users of older versions: sub-keys named with the separator.
    CRegistry root;
    if (!root.Open(HKEY_CURRENT_USER, kLegacyRegistryRoot)) return;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (::RegEnumKeyExA(root.GetKey(), index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        CString subKey(name);
        CString prefix = legacyKeyPrefix;
        if (subKey.Find("Standalone") == 0) {
            RemoveAll(subKey, kStandaloneSeparator);
            if (subKey == "Standalone") subKey = CString(kStandaloneSeparator) + "Standalone";
            prefix.Replace("iPhone -", "Standalone -");
        } else {
            RemoveAll(prefix, "iPhone");
        }
        if (subKey.Find(kStandaloneSeparator) != 0) continue;
        int removed = subKey.Replace(kStandaloneSeparator, "");
        if (removed < 1 || subKey.IsEmpty()) continue;
        CString keyName = subKey == "Standalone" ? CString("_Standalone_") : "_Standalone_" + subKey;
        UserRecord record = MakeEmptyUserRecord();
        // Names that do not fit the record are not taken as users.
        if (!SetUserRecordText(record.displayName, sizeof(record.displayName), subKey) ||
            !SetUserRecordText(record.keyName, sizeof(record.keyName), keyName))
            continue;
        record.platformType = kPlatformTypeStandalone;
        CUserItem* user = new CUserItem(record);
        if (!user->SetLegacyKey(prefix)) {
            delete user;
            continue;
        }
        user->SetStandalone(true);
        users.AddTail(user);
    }
}
