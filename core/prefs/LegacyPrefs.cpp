#include "core/prefs/LegacyPrefs.h"

#include <cstring>

#include "core/users/Platform.h"
#include "core/prefs/Registry.h"
#include "core/items/ShowColumns.h"
#include "core/users/UserItem.h"
#include "core/users/UserRecord.h"
#include "framework/WinApp.h"

namespace {

const char kLegacyRoot[] = "software\\corvantide\\zorvikan desktop\\";
const char kStandaloneSeparator[] = " - _Standalone_";
const int kSortInfoDefault = 0x00010003;
const DWORD kRowColorDefault = 0xFFFFFF;
// A platform library that never reports the end of its users must not keep
// the start-up in a loop.
const int kMaxPlatformUsers = 0x10000;

CString LegacyKeyOf(CUserItem* user) { return user ? user->GetLegacyKey() : CString(); }

// The user's legacy key opened for reading (and writing where allowed).
bool OpenUserKey(CUserItem* user, CRegistry& key)
{
    CString path = LegacyKeyOf(user);
    return !path.IsEmpty() && key.Open(HKEY_CURRENT_USER, path);
}

CString ReadDirectString(CUserItem* user, const char* name)
{
    CRegistry key;
    CString text;
    if (OpenUserKey(user, key)) key.ReadString(name, text);
    return text;
}

DWORD ReadDirectDword(CUserItem* user, const char* name)
{
    CRegistry key;
    DWORD value = 0;
    if (OpenUserKey(user, key) && key.ReadDWORD(name, value)) return value;
    return 0;
}

// A stored flag: a DWORD counts by its value (0 is off); a value of another
// kind counts as set, as older versions only tested that it exists.
bool ReadStoredFlag(CRegistry& key, const char* name)
{
    if (!key.ValueExists(name)) return false;
    DWORD value = 0;
    if (key.ReadDWORD(name, value)) return value != 0;
    return true;
}

// Opens the user's key, or creates it when it does not open.
bool OpenOrCreateUserKey(CUserItem* user, CRegistry& key)
{
    CString path = LegacyKeyOf(user);
    if (path.IsEmpty()) return false;
    if (key.Open(HKEY_CURRENT_USER, path)) return true;
    return key.CreateKey();
}

// Setters that write only into an existing key report nothing; those that
// may create it report success. An empty legacy key counts as done.
bool WriteDirectString(CUserItem* user, const char* name, const CString& text)
{
    if (user && LegacyKeyOf(user).IsEmpty()) return true;
    CRegistry key;
    return OpenOrCreateUserKey(user, key) && key.WriteString(name, text);
}

void WriteDirectDwordCreating(CUserItem* user, const char* name, DWORD value)
{
    CRegistry key;
    if (OpenOrCreateUserKey(user, key)) key.WriteDWORD(name, value);
}

void WriteDirectDwordExisting(CUserItem* user, const char* name, DWORD value)
{
    CRegistry key;
    if (OpenUserKey(user, key)) key.WriteDWORD(name, value);
}

CAppPrefs::BufferPair ReadDirectBuffer(CUserItem* user, const char* name)
{
    CRegistry key;
    if (!OpenUserKey(user, key)) return {nullptr, 0};
    BYTE data[260];
    DWORD size = sizeof data;
    if (!key.ReadValue(name, data, size) || size == 0) return {nullptr, 0};
    BYTE* copy = new BYTE[size];
    std::memcpy(copy, data, size);
    return {copy, int(size)};
}

void WriteDirectBuffer(CUserItem* user, const char* name, const BYTE* buffer, int length)
{
    if (length < 0 || (!buffer && length > 0)) return;
    CRegistry key;
    if (OpenUserKey(user, key)) key.WriteBinary(name, buffer, DWORD(length));
}

void RemoveAll(CString& text, const char* what) { text.Replace(what, ""); }

}  // namespace

CLegacyPrefs::CLegacyPrefs(const CWinApp* app) : m_app(app) {}

CLegacyPrefs::~CLegacyPrefs() {}

// ---- profile access ----

CString CLegacyPrefs::ProfileKeyPath(const CString& section) const
{
    if (!m_app || !m_app->m_pszRegistryKey || !m_app->m_pszProfileName || section.IsEmpty()) return CString();
    CString path("Software\\");
    path += m_app->m_pszRegistryKey;
    path += "\\";
    path += m_app->m_pszProfileName;
    path += "\\";
    path += section;
    return path;
}

bool CLegacyPrefs::ReadProfileInt(const CString& section, const char* entry, DWORD& value) const
{
    CString path = ProfileKeyPath(section);
    CRegistry key;
    DWORD data = 0, size = sizeof data, type = 0;
    if (path.IsEmpty() || !key.Open(HKEY_CURRENT_USER, path) || !key.ReadValue(entry, &data, size, &type) ||
        type != REG_DWORD || size != sizeof data)
        return false;
    value = data;
    return true;
}

int CLegacyPrefs::GetProfileInt(const CString& section, const char* entry, int defaultValue) const
{
    DWORD value = 0;
    return ReadProfileInt(section, entry, value) ? int(value) : defaultValue;
}

CString CLegacyPrefs::GetProfileText(const CString& section, const char* entry) const
{
    CString path = ProfileKeyPath(section);
    CRegistry key;
    CString text;
    DWORD type = 0, size = 0;
    if (!path.IsEmpty() && key.Open(HKEY_CURRENT_USER, path) && key.ReadValue(entry, nullptr, size, &type) &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
        key.ReadString(entry, text);
    return text;
}

bool CLegacyPrefs::ReadProfileBlock(const CString& section, const char* entry, std::vector<BYTE>& data) const
{
    data.clear();
    CString path = ProfileKeyPath(section);
    CRegistry key;
    if (path.IsEmpty() || !key.Open(HKEY_CURRENT_USER, path)) return false;
    DWORD size = key.GetValueSize(entry), type = 0;
    data.resize(size);
    if (!key.ReadValue(entry, data.data(), size, &type) || type != REG_BINARY) {
        data.clear();
        return false;
    }
    data.resize(size);
    return true;
}

void CLegacyPrefs::WriteProfileInt(const CString& section, const char* entry, int value) const
{
    if (m_app && !section.IsEmpty()) m_app->WriteProfileInt(section, entry, value);
}

void CLegacyPrefs::WriteProfileText(const CString& section, const char* entry, const CString& text) const
{
    if (m_app && !section.IsEmpty()) m_app->WriteProfileString(section, entry, text);
}

void CLegacyPrefs::WriteProfileBlock(const CString& section, const char* entry, const BYTE* data, UINT size) const
{
    if (m_app && !section.IsEmpty()) m_app->WriteProfileBinary(section, entry, data, size);
}

// ---- platform values ----

CString CLegacyPrefs::GetCurrentUser(const CString& section) { return GetProfileText(section, "Current User"); }

void CLegacyPrefs::SetCurrentUser(const CString& section, const CString& keyName)
{
    WriteProfileText(section, "Current User", keyName);
}

void CLegacyPrefs::EnumUsers(const CString& productName, const CString& legacyKeyPrefix, CUserList& users)
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
    if (!root.Open(HKEY_CURRENT_USER, kLegacyRoot)) return;
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

bool CLegacyPrefs::AddUser(CUserItem* user)
{
    if (!user) return false;
    CString path = user->GetLegacyKey();
    if (path.IsEmpty()) return true;
    CRegistry key(HKEY_CURRENT_USER, path);
    return key.CreateKey() && key.WriteString("DisplayName", user->GetDisplayName());
}

int CLegacyPrefs::DeleteUser(CUserItem* user)
{
    CString path = LegacyKeyOf(user);
    if (path.IsEmpty()) return 0;  // never the whole hive
    return int(DeleteRegistryTree(HKEY_CURRENT_USER, path));
}

int CLegacyPrefs::DeleteSection(const CString& section)
{
    if (section.IsEmpty()) return ERROR_INVALID_PARAMETER;
    return int(DeleteRegistryTree(HKEY_CURRENT_USER, section));
}

int CLegacyPrefs::GetDBVersion(const CString& section) { return GetProfileInt(section, "DBVersion", 5); }

void CLegacyPrefs::SetDBVersion(const CString& section, int version) { WriteProfileInt(section, "DBVersion", version); }

bool CLegacyPrefs::GetVirginSync(const CString& section) { return GetProfileInt(section, "Virgin Sync", -1) != 0; }

void CLegacyPrefs::SetVirginSync(const CString& section, bool virgin)
{
    WriteProfileInt(section, "Virgin Sync", virgin ? 1 : 0);
}

int CLegacyPrefs::GetSyncDirection(const CString& section)
{
    int direction = GetProfileInt(section, "Sync Direction", -1);
    return direction == -1 ? 1 : direction;
}

void CLegacyPrefs::SetSyncDirection(const CString& section, int direction)
{
    WriteProfileInt(section, "Sync Direction", direction);
}

bool CLegacyPrefs::GetShowStatusBar(const CString& section)
{
    return GetProfileInt(section, "Show Status bar", -1) != 0;
}

void CLegacyPrefs::SetShowStatusBar(const CString& section, int show)
{
    WriteProfileInt(section, "Show Status bar", show);
}

bool CLegacyPrefs::GetPasswordRequirements(const CString& section, BYTE block[32])
{
    if (!block) return false;
    std::memset(block, 0, 32);
    std::vector<BYTE> data;
    if (!ReadProfileBlock(section, "Password requirements", data) || data.size() != 32) return false;
    std::memcpy(block, data.data(), 32);
    return true;
}

CString CLegacyPrefs::GetPasswordRequirementsMessage(const CString& section)
{
    return GetProfileText(section, "Password requirements message");
}

CString CLegacyPrefs::GetPasswordRequirementsError(const CString& section)
{
    return GetProfileText(section, "Password requirements error");
}

bool CLegacyPrefs::GetNoPrint(const CString& section)
{
    // The section named as a path from the root of the hive.
    CRegistry key;
    return !section.IsEmpty() && key.Open(HKEY_CURRENT_USER, section) && ReadStoredFlag(key, "NoPrint");
}

void CLegacyPrefs::SetNoPrint(const CString&, int) {}

// ---- user values in the user's profile section ----

void CLegacyPrefs::GetCurrentType(CUserItem* user, uint8_t key[8])
{
    if (!key) return;
    std::vector<BYTE> data;
    if (user && ReadProfileBlock(user->GetLegacyProfileSection(), "Current Type", data) && data.size() == 8)
        std::memcpy(key, data.data(), 8);
    else
        std::memcpy(key, kAllItemsKey, 8);
}

void CLegacyPrefs::SetCurrentType(CUserItem* user, const uint8_t key[8])
{
    if (user && key) WriteProfileBlock(user->GetLegacyProfileSection(), "Current Type", key, 8);
}

void CLegacyPrefs::GetCurrentCategory(CUserItem* user, uint8_t key[8])
{
    if (!key) return;
    std::vector<BYTE> data;
    if (user && ReadProfileBlock(user->GetLegacyProfileSection(), "Current CategoryID", data) && data.size() == 8)
        std::memcpy(key, data.data(), 8);
    else
        std::memcpy(key, kAllItemsKey, 8);
}

void CLegacyPrefs::SetCurrentCategory(CUserItem* user, const uint8_t key[8])
{
    if (user && key) WriteProfileBlock(user->GetLegacyProfileSection(), "Current CategoryID", key, 8);
}

CString CLegacyPrefs::GetWindowPos(CUserItem* user)
{
    return user ? GetProfileText(user->GetLegacyProfileSection(), "Winpos") : CString();
}

void CLegacyPrefs::SetWindowPos(CUserItem* user, const CString& placement)
{
    if (user) WriteProfileText(user->GetLegacyProfileSection(), "Winpos", placement);
}

CShowColumns CLegacyPrefs::GetShowColumns(const CString& section, CUserItem* user)
{
    CShowColumns columns = DefaultShowColumns();
    if (!user) return columns;
    std::vector<BYTE> data;
    bool read = ReadProfileBlock(user->GetLegacyProfileSection(), "Show Columns2", data);
    if (!read) read = ReadProfileBlock(section, "Show Columns2", data);
    // A stored layout shorter than the fixed form is not read past its end.
    if (read && data.size() >= size_t(CShowColumns::kStoredSize)) columns.ReadBytes(data.data());
    return columns;
}

void CLegacyPrefs::SetShowColumns(const CString& section, CUserItem* user, const CShowColumns& columns)
{
    if (!user) return;
    WriteProfileInt(section, "DBVersion", 6);
    uint8_t block[CShowColumns::kStoredSize];
    columns.WriteBytes(block);
    WriteProfileBlock(user->GetLegacyProfileSection(), "Show Columns2", block, sizeof block);
}

int CLegacyPrefs::GetSortInfo(CUserItem* user)
{
    std::vector<BYTE> data;
    // Shorter than 4 bytes: the default rather than bytes past the value.
    if (!user || !ReadProfileBlock(user->GetLegacyProfileSection(), "Sort Info", data) || data.size() < 4)
        return kSortInfoDefault;
    int value;
    std::memcpy(&value, data.data(), 4);
    return value;
}

void CLegacyPrefs::SetSortInfo(CUserItem* user, int sortInfo)
{
    if (user)
        WriteProfileBlock(user->GetLegacyProfileSection(), "Sort Info", reinterpret_cast<const BYTE*>(&sortInfo), 4);
}

bool CLegacyPrefs::GetShowingDetails(CUserItem* user)
{
    return !user || GetProfileInt(user->GetLegacyProfileSection(), "Showing Details", 1) != 0;
}

void CLegacyPrefs::SetShowingDetails(CUserItem* user, int showing)
{
    if (user) WriteProfileInt(user->GetLegacyProfileSection(), "Showing Details", showing);
}

int CLegacyPrefs::GetDetailsPaneWidth(CUserItem* user)
{
    return user ? GetProfileInt(user->GetLegacyProfileSection(), "Details Pane Width", 250) : 250;
}

void CLegacyPrefs::SetDetailsPaneWidth(CUserItem* user, int width)
{
    if (user) WriteProfileInt(user->GetLegacyProfileSection(), "Details Pane Width", width);
}

bool CLegacyPrefs::GetAutoLock(CUserItem* user)
{
    return user && GetProfileInt(user->GetLegacyProfileSection(), "Auto Lock", -1) != 0;
}

void CLegacyPrefs::SetAutoLock(CUserItem* user, int autoLock)
{
    if (user) WriteProfileInt(user->GetLegacyProfileSection(), "Auto Lock", autoLock);
}

bool CLegacyPrefs::GetFont(CUserItem* user, BYTE logFont[60])
{
    std::vector<BYTE> data;
    if (!user || !logFont || !ReadProfileBlock(user->GetLegacyProfileSection(), "Font", data) || data.size() != 60)
        return false;
    std::memcpy(logFont, data.data(), 60);
    return true;
}

void CLegacyPrefs::SetFont(CUserItem* user, const BYTE logFont[60])
{
    if (user && logFont) WriteProfileBlock(user->GetLegacyProfileSection(), "Font", logFont, 60);
}

DWORD CLegacyPrefs::GetRowColor(CUserItem* user)
{
    std::vector<BYTE> data;
    if (!user || !ReadProfileBlock(user->GetLegacyProfileSection(), "Row Color", data) || data.size() < 4)
        return kRowColorDefault;
    DWORD value;
    std::memcpy(&value, data.data(), 4);
    return value;
}

void CLegacyPrefs::SetRowColor(CUserItem* user, DWORD color)
{
    if (user) WriteProfileBlock(user->GetLegacyProfileSection(), "Row Color", reinterpret_cast<const BYTE*>(&color), 4);
}

int CLegacyPrefs::GetSleepMinutes(CUserItem* user)
{
    if (!user) return 10;
    unsigned minutes = unsigned(GetProfileInt(user->GetLegacyProfileSection(), "Sleep Minutes", 10));
    unsigned maximum = unsigned(GetMaxSleepMinutes(user));
    return int(minutes < maximum ? minutes : maximum);
}

void CLegacyPrefs::SetSleepMinutes(CUserItem* user, int minutes)
{
    if (user) WriteProfileInt(user->GetLegacyProfileSection(), "Sleep Minutes", minutes);
}

int CLegacyPrefs::GetMaxSleepMinutes(CUserItem* user)
{
    return user ? GetProfileInt(user->GetLegacyProfileSection(), "Max Sleep Minutes", 60) : 60;
}

void CLegacyPrefs::SetMaxSleepMinutes(CUserItem* user, int minutes)
{
    if (user) WriteProfileInt(user->GetLegacyProfileSection(), "Max Sleep Minutes", minutes);
}

int CLegacyPrefs::GetPasswordGeneratorFlags(CUserItem* user)
{
    return user ? GetProfileInt(user->GetLegacyProfileSection(), "Password generator flags", 0xFFFF) : 0xFFFF;
}

void CLegacyPrefs::SetPasswordGeneratorFlags(CUserItem* user, int flags)
{
    if (user) WriteProfileInt(user->GetLegacyProfileSection(), "Password generator flags", flags);
}

bool CLegacyPrefs::GetCaseSensitive(CUserItem* user)
{
    return user && GetProfileInt(user->GetLegacyProfileSection(), "Case Sensitive", 0) != 0;
}

void CLegacyPrefs::SetCaseSensitive(CUserItem* user, int value)
{
    if (user) WriteProfileInt(user->GetLegacyProfileSection(), "Case Sensitive", value);
}

bool CLegacyPrefs::GetWholeWord(CUserItem* user)
{
    return user && GetProfileInt(user->GetLegacyProfileSection(), "Whole Word", 0) != 0;
}

void CLegacyPrefs::SetWholeWord(CUserItem* user, int value)
{
    if (user) WriteProfileInt(user->GetLegacyProfileSection(), "Whole Word", value);
}

// ---- user values directly under the user's legacy key ----

CString CLegacyPrefs::GetUserDirectory(CUserItem* user) { return ReadDirectString(user, "User Directory"); }
bool CLegacyPrefs::SetUserDirectory(CUserItem* user, const CString& folder)
{
    return WriteDirectString(user, "User Directory", folder);
}
CString CLegacyPrefs::GetBackupDirectory(CUserItem* user) { return ReadDirectString(user, "Backup Directory"); }
bool CLegacyPrefs::SetBackupDirectory(CUserItem* user, const CString& folder)
{
    return WriteDirectString(user, "Backup Directory", folder);
}
CString CLegacyPrefs::GetRestoreDirectory(CUserItem* user) { return ReadDirectString(user, "Restore Directory"); }
bool CLegacyPrefs::SetRestoreDirectory(CUserItem* user, const CString& folder)
{
    return WriteDirectString(user, "Restore Directory", folder);
}

int CLegacyPrefs::GetBackupFileCounter(CUserItem* user)
{
    return int(ReadDirectDword(user, "Current Backup File Counter"));
}
void CLegacyPrefs::SetBackupFileCounter(CUserItem* user, int counter)
{
    WriteDirectDwordExisting(user, "Current Backup File Counter", DWORD(counter));
}
int CLegacyPrefs::GetHintQuestionNumber(CUserItem* user) { return int(ReadDirectDword(user, "Hint question number")); }
void CLegacyPrefs::SetHintQuestionNumber(CUserItem* user, int number)
{
    WriteDirectDwordExisting(user, "Hint question number", DWORD(number));
}

CAppPrefs::BufferPair CLegacyPrefs::GetHintQuestionBuffer(CUserItem* user)
{
    return ReadDirectBuffer(user, "Hint Question buffer");
}
void CLegacyPrefs::SetHintQuestionBuffer(CUserItem* user, const BYTE* buffer, int length)
{
    WriteDirectBuffer(user, "Hint Question buffer", buffer, length);
}
CAppPrefs::BufferPair CLegacyPrefs::GetHintBuffer(CUserItem* user) { return ReadDirectBuffer(user, "Hint buffer"); }
void CLegacyPrefs::SetHintBuffer(CUserItem* user, const BYTE* buffer, int length)
{
    WriteDirectBuffer(user, "Hint buffer", buffer, length);
}

CString CLegacyPrefs::GetHint(CUserItem* user) { return ReadDirectString(user, "Hint"); }
void CLegacyPrefs::SetHint(CUserItem* user, const CString& hint) { WriteDirectString(user, "Hint", hint); }

int CLegacyPrefs::GetLatestView(CUserItem* user) { return int(ReadDirectDword(user, "latestView")); }
void CLegacyPrefs::SetLatestView(CUserItem* user, int view)
{
    WriteDirectDwordCreating(user, "latestView", DWORD(view));
}

bool CLegacyPrefs::GetAutoSubmit(CUserItem* user)
{
    CRegistry key;
    return OpenUserKey(user, key) && ReadStoredFlag(key, "Auto Submit");
}
void CLegacyPrefs::SetAutoSubmit(CUserItem* user, int value)
{
    WriteDirectDwordCreating(user, "Auto Submit", DWORD(value));
}
bool CLegacyPrefs::GetSearchColumns(CUserItem* user)
{
    CRegistry key;
    return OpenUserKey(user, key) && ReadStoredFlag(key, "SearchColumns");
}
void CLegacyPrefs::SetSearchColumns(CUserItem* user, int value)
{
    WriteDirectDwordCreating(user, "SearchColumns", DWORD(value));
}

bool CLegacyPrefs::GetClearClipboardOnExit(CUserItem* user)
{
    return ReadDirectDword(user, "ClearClipboardOnExit") != 0;
}
void CLegacyPrefs::SetClearClipboardOnExit(CUserItem* user, int value)
{
    WriteDirectDwordExisting(user, "ClearClipboardOnExit", DWORD(value));
}

CString CLegacyPrefs::GetDisplayName(CUserItem* user) { return ReadDirectString(user, "DisplayName"); }
void CLegacyPrefs::SetDisplayName(CUserItem* user)
{
    CRegistry key;
    if (user && OpenUserKey(user, key)) key.WriteString("DisplayName", user->GetDisplayName());
}

// ---- values older versions did not keep ----

CAppPrefs::TimerPair CLegacyPrefs::GetClearClipboardTimer(CUserItem*) { return {0, 0}; }
void CLegacyPrefs::SetClearClipboardTimer(CUserItem*, TimerPair) {}
int CLegacyPrefs::GetSyncFileCount(CUserItem*) { return 0; }
void CLegacyPrefs::SetSyncFileCount(CUserItem*, int) {}
void CLegacyPrefs::GetSyncFile(CUserItem*, int, BYTE*, int) {}
void CLegacyPrefs::SetSyncFile(CUserItem*, int, const BYTE*, int) {}
bool CLegacyPrefs::GetMinimizeToSystemTray(CUserItem* user) { return user != nullptr; }
void CLegacyPrefs::SetMinimizeToSystemTray(CUserItem*, int) {}
CAppPrefs::TimerPair CLegacyPrefs::GetClearPasswordTimer(CUserItem*) { return {0, 0}; }
void CLegacyPrefs::SetClearPasswordTimer(CUserItem*, TimerPair) {}
int CLegacyPrefs::GetExportImportHint(CUserItem*) { return 0; }
void CLegacyPrefs::SetExportImportHint(CUserItem*, int) {}
int CLegacyPrefs::GetBackupRestoreHint(CUserItem*) { return 0; }
void CLegacyPrefs::SetBackupRestoreHint(CUserItem*, int) {}
void CLegacyPrefs::SetLoginAttemptCount(CUserItem*, int) {}
int CLegacyPrefs::GetLoginAttemptCount(CUserItem*) { return 0; }
void CLegacyPrefs::MoveUserSection(const CString&, CUserItem*) {}
