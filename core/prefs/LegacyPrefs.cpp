#include "core/prefs/LegacyPrefs.h"

#include <cstring>

#include "core/prefs/LegacyUserKeys.h"
#include "core/prefs/PrefKeys.h"
#include "core/prefs/Registry.h"
#include "core/items/ShowColumns.h"
#include "core/users/UserItem.h"
#include "framework/WinApp.h"

namespace {

// A value directly under the user's key may create the key.
const bool kCreatingKey = true;

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

bool CLegacyPrefs::WriteProfileText(const CString& section, const char* entry, const CString& text) const
{
    return m_app && !section.IsEmpty() && m_app->WriteProfileString(section, entry, text);
}

void CLegacyPrefs::WriteProfileBlock(const CString& section, const char* entry, const BYTE* data, UINT size) const
{
    if (m_app && !section.IsEmpty()) m_app->WriteProfileBinary(section, entry, data, size);
}

// ---- the table's keys ----

int CLegacyPrefs::GetNumber(PrefId id, const CString& section) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (key.type != PrefType::IntBlock) return GetProfileInt(section, key.name, key.defaultValue);
    std::vector<BYTE> data;
    // Shorter than 4 bytes: the default rather than bytes past the value.
    if (!ReadProfileBlock(section, key.name, data) || data.size() < 4) return key.defaultValue;
    int value;
    std::memcpy(&value, data.data(), 4);
    return value;
}

int CLegacyPrefs::GetNumber(PrefId id, CUserItem* user) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (!user) return key.defaultValue;
    if (key.place != PrefPlace::UserKey) return GetNumber(id, user->GetLegacyProfileSection());
    CRegistry registry;
    DWORD value = 0;
    if (OpenLegacyUserKey(user, registry) && registry.ReadDWORD(key.name, value)) return int(value);
    return key.defaultValue;
}

bool CLegacyPrefs::GetFlag(PrefId id, const CString& section) const
{
    return PrefFlagIsOn(PrefKeyOf(id), GetNumber(id, section));
}

bool CLegacyPrefs::GetFlag(PrefId id, CUserItem* user) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (key.type != PrefType::StoredFlag) return PrefFlagIsOn(key, GetNumber(id, user));
    CRegistry registry;
    return OpenLegacyUserKey(user, registry) && ReadStoredFlag(registry, key.name);
}

void CLegacyPrefs::SetNumber(PrefId id, const CString& section, int value) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (key.type == PrefType::IntBlock)
        WriteProfileBlock(section, key.name, reinterpret_cast<const BYTE*>(&value), 4);
    else
        WriteProfileInt(section, key.name, value);
}

// A value directly under the user's key goes only into an existing key,
// unless createKey.
void CLegacyPrefs::SetNumber(PrefId id, CUserItem* user, int value, bool createKey) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (!user) return;
    if (key.place != PrefPlace::UserKey) {
        SetNumber(id, user->GetLegacyProfileSection(), value);
        return;
    }
    CRegistry registry;
    if (createKey ? OpenOrCreateLegacyUserKey(user, registry) : OpenLegacyUserKey(user, registry))
        registry.WriteDWORD(key.name, DWORD(value));
}

CString CLegacyPrefs::GetText(PrefId id, const CString& section) const
{
    return GetProfileText(section, PrefKeyOf(id).name);
}

CString CLegacyPrefs::GetText(PrefId id, CUserItem* user) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (key.place == PrefPlace::UserKey) return ReadLegacyUserString(user, key.name);
    return user ? GetText(id, user->GetLegacyProfileSection()) : CString();
}

bool CLegacyPrefs::SetText(PrefId id, const CString& section, const CString& text) const
{
    return WriteProfileText(section, PrefKeyOf(id).name, text);
}

bool CLegacyPrefs::SetText(PrefId id, CUserItem* user, const CString& text) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (key.place == PrefPlace::UserKey) return WriteLegacyUserString(user, key.name, text);
    return user && SetText(id, user->GetLegacyProfileSection(), text);
}

// Only a value of exactly the size asked for is read.
bool CLegacyPrefs::GetBlock(PrefId id, const CString& section, BYTE* out, size_t size) const
{
    std::vector<BYTE> data;
    if (!ReadProfileBlock(section, PrefKeyOf(id).name, data) || data.size() != size) return false;
    std::memcpy(out, data.data(), size);
    return true;
}

bool CLegacyPrefs::GetBlock(PrefId id, CUserItem* user, BYTE* out, size_t size) const
{
    return user && GetBlock(id, user->GetLegacyProfileSection(), out, size);
}

void CLegacyPrefs::SetBlock(PrefId id, CUserItem* user, const BYTE* data, UINT size) const
{
    if (user) WriteProfileBlock(user->GetLegacyProfileSection(), PrefKeyOf(id).name, data, size);
}

// ---- platform values ----

CString CLegacyPrefs::GetCurrentUser(const CString& section) { return GetText(PrefId::CurrentUser, section); }

void CLegacyPrefs::SetCurrentUser(const CString& section, const CString& keyName)
{
    SetText(PrefId::CurrentUser, section, keyName);
}

void CLegacyPrefs::EnumUsers(const CString& productName, const CString& legacyKeyPrefix, CUserList& users)
{
    EnumLegacyUsers(productName, legacyKeyPrefix, users);
}

bool CLegacyPrefs::AddUser(CUserItem* user)
{
    if (!user) return false;
    CString path = user->GetLegacyKey();
    if (path.IsEmpty()) return true;
    CRegistry key(HKEY_CURRENT_USER, path);
    return key.CreateKey() && key.WriteString(PrefNameOf(PrefId::DisplayName), user->GetDisplayName());
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

int CLegacyPrefs::GetDBVersion(const CString& section) { return GetNumber(PrefId::LegacyDBVersion, section); }

void CLegacyPrefs::SetDBVersion(const CString& section, int version)
{
    SetNumber(PrefId::LegacyDBVersion, section, version);
}

bool CLegacyPrefs::GetVirginSync(const CString& section) { return GetFlag(PrefId::LegacyVirginSync, section); }

void CLegacyPrefs::SetVirginSync(const CString& section, bool virgin)
{
    SetNumber(PrefId::LegacyVirginSync, section, virgin ? 1 : 0);
}

int CLegacyPrefs::GetSyncDirection(const CString& section)
{
    int direction = GetNumber(PrefId::SyncDirection, section);
    return direction == -1 ? 1 : direction;
}

void CLegacyPrefs::SetSyncDirection(const CString& section, int direction)
{
    SetNumber(PrefId::SyncDirection, section, direction);
}

bool CLegacyPrefs::GetShowStatusBar(const CString& section) { return GetFlag(PrefId::LegacyShowStatusBar, section); }

void CLegacyPrefs::SetShowStatusBar(const CString& section, int show)
{
    SetNumber(PrefId::LegacyShowStatusBar, section, show);
}

bool CLegacyPrefs::GetPasswordRequirements(const CString& section, BYTE block[32])
{
    if (!block) return false;
    std::memset(block, 0, 32);
    return GetBlock(PrefId::PasswordRequirements, section, block, 32);
}

CString CLegacyPrefs::GetPasswordRequirementsMessage(const CString& section)
{
    return GetText(PrefId::PasswordRequirementsMessage, section);
}

CString CLegacyPrefs::GetPasswordRequirementsError(const CString& section)
{
    return GetText(PrefId::PasswordRequirementsError, section);
}

bool CLegacyPrefs::GetNoPrint(const CString& section)
{
    // The section named as a path from the root of the hive.
    CRegistry key;
    return !section.IsEmpty() && key.Open(HKEY_CURRENT_USER, section) &&
           ReadStoredFlag(key, PrefNameOf(PrefId::LegacyNoPrint));
}

void CLegacyPrefs::SetNoPrint(const CString&, int) {}

// ---- user values in the user's profile section ----

void CLegacyPrefs::GetCurrentType(CUserItem* user, uint8_t key[8])
{
    if (key && !GetBlock(PrefId::CurrentType, user, key, 8)) std::memcpy(key, kAllItemsKey, 8);
}

void CLegacyPrefs::SetCurrentType(CUserItem* user, const uint8_t key[8])
{
    if (key) SetBlock(PrefId::CurrentType, user, key, 8);
}

void CLegacyPrefs::GetCurrentCategory(CUserItem* user, uint8_t key[8])
{
    if (key && !GetBlock(PrefId::CurrentCategory, user, key, 8)) std::memcpy(key, kAllItemsKey, 8);
}

void CLegacyPrefs::SetCurrentCategory(CUserItem* user, const uint8_t key[8])
{
    if (key) SetBlock(PrefId::CurrentCategory, user, key, 8);
}

CString CLegacyPrefs::GetWindowPos(CUserItem* user) { return GetText(PrefId::WindowPos, user); }
void CLegacyPrefs::SetWindowPos(CUserItem* user, const CString& placement)
{
    SetText(PrefId::WindowPos, user, placement);
}

CShowColumns CLegacyPrefs::GetShowColumns(const CString& section, CUserItem* user)
{
    CShowColumns columns = DefaultShowColumns();
    if (!user) return columns;
    const char* name = PrefNameOf(PrefId::ShowColumns);
    std::vector<BYTE> data;
    bool read = ReadProfileBlock(user->GetLegacyProfileSection(), name, data);
    if (!read) read = ReadProfileBlock(section, name, data);
    // A stored layout shorter than the fixed form is not read past its end.
    if (read && data.size() >= size_t(CShowColumns::kStoredSize)) columns.ReadBytes(data.data());
    return columns;
}

void CLegacyPrefs::SetShowColumns(const CString& section, CUserItem* user, const CShowColumns& columns)
{
    if (!user) return;
    SetNumber(PrefId::LegacyDBVersion, section, 6);
    uint8_t block[CShowColumns::kStoredSize];
    columns.WriteBytes(block);
    SetBlock(PrefId::ShowColumns, user, block, sizeof block);
}

int CLegacyPrefs::GetSortInfo(CUserItem* user) { return GetNumber(PrefId::SortInfo, user); }
void CLegacyPrefs::SetSortInfo(CUserItem* user, int sortInfo) { SetNumber(PrefId::SortInfo, user, sortInfo); }
bool CLegacyPrefs::GetShowingDetails(CUserItem* user) { return GetFlag(PrefId::ShowingDetails, user); }
void CLegacyPrefs::SetShowingDetails(CUserItem* user, int showing) { SetNumber(PrefId::ShowingDetails, user, showing); }
int CLegacyPrefs::GetDetailsPaneWidth(CUserItem* user) { return GetNumber(PrefId::DetailsPaneWidth, user); }
void CLegacyPrefs::SetDetailsPaneWidth(CUserItem* user, int width) { SetNumber(PrefId::DetailsPaneWidth, user, width); }
bool CLegacyPrefs::GetAutoLock(CUserItem* user) { return user && GetFlag(PrefId::LegacyAutoLock, user); }
void CLegacyPrefs::SetAutoLock(CUserItem* user, int autoLock) { SetNumber(PrefId::LegacyAutoLock, user, autoLock); }

bool CLegacyPrefs::GetFont(CUserItem* user, BYTE logFont[60])
{
    return logFont && GetBlock(PrefId::Font, user, logFont, 60);
}

void CLegacyPrefs::SetFont(CUserItem* user, const BYTE logFont[60])
{
    if (logFont) SetBlock(PrefId::Font, user, logFont, 60);
}

DWORD CLegacyPrefs::GetRowColor(CUserItem* user) { return DWORD(GetNumber(PrefId::RowColor, user)); }
void CLegacyPrefs::SetRowColor(CUserItem* user, DWORD color) { SetNumber(PrefId::RowColor, user, int(color)); }

// No longer than the longest sleep allowed.
int CLegacyPrefs::GetSleepMinutes(CUserItem* user)
{
    unsigned minutes = unsigned(GetNumber(PrefId::SleepMinutes, user));
    unsigned maximum = unsigned(GetMaxSleepMinutes(user));
    return int(minutes < maximum ? minutes : maximum);
}

void CLegacyPrefs::SetSleepMinutes(CUserItem* user, int minutes) { SetNumber(PrefId::SleepMinutes, user, minutes); }
int CLegacyPrefs::GetMaxSleepMinutes(CUserItem* user) { return GetNumber(PrefId::MaxSleepMinutes, user); }

void CLegacyPrefs::SetMaxSleepMinutes(CUserItem* user, int minutes)
{
    SetNumber(PrefId::MaxSleepMinutes, user, minutes);
}

int CLegacyPrefs::GetPasswordGeneratorFlags(CUserItem* user) { return GetNumber(PrefId::PasswordGeneratorFlags, user); }

void CLegacyPrefs::SetPasswordGeneratorFlags(CUserItem* user, int flags)
{
    SetNumber(PrefId::PasswordGeneratorFlags, user, flags);
}

bool CLegacyPrefs::GetCaseSensitive(CUserItem* user) { return GetFlag(PrefId::LegacyCaseSensitive, user); }
void CLegacyPrefs::SetCaseSensitive(CUserItem* user, int value) { SetNumber(PrefId::LegacyCaseSensitive, user, value); }
bool CLegacyPrefs::GetWholeWord(CUserItem* user) { return GetFlag(PrefId::LegacyWholeWord, user); }
void CLegacyPrefs::SetWholeWord(CUserItem* user, int value) { SetNumber(PrefId::LegacyWholeWord, user, value); }

// ---- user values directly under the user's legacy key ----

CString CLegacyPrefs::GetUserDirectory(CUserItem* user) { return GetText(PrefId::UserDirectory, user); }

bool CLegacyPrefs::SetUserDirectory(CUserItem* user, const CString& folder)
{
    return SetText(PrefId::UserDirectory, user, folder);
}

CString CLegacyPrefs::GetBackupDirectory(CUserItem* user) { return GetText(PrefId::BackupDirectory, user); }

bool CLegacyPrefs::SetBackupDirectory(CUserItem* user, const CString& folder)
{
    return SetText(PrefId::BackupDirectory, user, folder);
}

CString CLegacyPrefs::GetRestoreDirectory(CUserItem* user) { return GetText(PrefId::RestoreDirectory, user); }

bool CLegacyPrefs::SetRestoreDirectory(CUserItem* user, const CString& folder)
{
    return SetText(PrefId::RestoreDirectory, user, folder);
}

int CLegacyPrefs::GetBackupFileCounter(CUserItem* user) { return GetNumber(PrefId::BackupFileCounter, user); }

void CLegacyPrefs::SetBackupFileCounter(CUserItem* user, int counter)
{
    SetNumber(PrefId::BackupFileCounter, user, counter);
}

int CLegacyPrefs::GetHintQuestionNumber(CUserItem* user) { return GetNumber(PrefId::LegacyHintQuestionNumber, user); }

void CLegacyPrefs::SetHintQuestionNumber(CUserItem* user, int number)
{
    SetNumber(PrefId::LegacyHintQuestionNumber, user, number);
}

CAppPrefs::BufferPair CLegacyPrefs::GetHintQuestionBuffer(CUserItem* user)
{
    return ReadLegacyUserBuffer(user, PrefNameOf(PrefId::HintQuestionBuffer));
}

void CLegacyPrefs::SetHintQuestionBuffer(CUserItem* user, const BYTE* buffer, int length)
{
    WriteLegacyUserBuffer(user, PrefNameOf(PrefId::HintQuestionBuffer), buffer, length);
}

CAppPrefs::BufferPair CLegacyPrefs::GetHintBuffer(CUserItem* user)
{
    return ReadLegacyUserBuffer(user, PrefNameOf(PrefId::HintBuffer));
}

void CLegacyPrefs::SetHintBuffer(CUserItem* user, const BYTE* buffer, int length)
{
    WriteLegacyUserBuffer(user, PrefNameOf(PrefId::HintBuffer), buffer, length);
}

CString CLegacyPrefs::GetHint(CUserItem* user) { return GetText(PrefId::Hint, user); }
void CLegacyPrefs::SetHint(CUserItem* user, const CString& hint) { SetText(PrefId::Hint, user, hint); }
int CLegacyPrefs::GetLatestView(CUserItem* user) { return GetNumber(PrefId::LatestView, user); }
void CLegacyPrefs::SetLatestView(CUserItem* user, int view) { SetNumber(PrefId::LatestView, user, view, kCreatingKey); }
bool CLegacyPrefs::GetAutoSubmit(CUserItem* user) { return GetFlag(PrefId::LegacyAutoSubmit, user); }
void CLegacyPrefs::SetAutoSubmit(CUserItem* user, int value)
{
    SetNumber(PrefId::LegacyAutoSubmit, user, value, kCreatingKey);
}
bool CLegacyPrefs::GetSearchColumns(CUserItem* user) { return GetFlag(PrefId::LegacySearchColumns, user); }

void CLegacyPrefs::SetSearchColumns(CUserItem* user, int value)
{
    SetNumber(PrefId::LegacySearchColumns, user, value, kCreatingKey);
}

bool CLegacyPrefs::GetClearClipboardOnExit(CUserItem* user)
{
    return GetFlag(PrefId::LegacyClearClipboardOnExit, user);
}

void CLegacyPrefs::SetClearClipboardOnExit(CUserItem* user, int value)
{
    SetNumber(PrefId::LegacyClearClipboardOnExit, user, value);
}

CString CLegacyPrefs::GetDisplayName(CUserItem* user) { return GetText(PrefId::DisplayName, user); }

// Only into an existing key.
void CLegacyPrefs::SetDisplayName(CUserItem* user)
{
    CRegistry key;
    if (user && OpenLegacyUserKey(user, key)) key.WriteString(PrefNameOf(PrefId::DisplayName), user->GetDisplayName());
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
int CLegacyPrefs::MoveUserSection(const CString&, CUserItem*) { return 0; }
