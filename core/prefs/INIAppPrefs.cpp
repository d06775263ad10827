#include "core/prefs/INIAppPrefs.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefsBlock.h"
#include "core/prefs/PrefKeys.h"
#include "core/prefs/ProductNames.h"
#include "core/prefs/ProfileFile.h"
#include "core/items/ShowColumns.h"
#include "core/users/UserItem.h"
#include "core/users/UserSectionName.h"

namespace {

using zvini::ReadBlock;
using zvini::ReadFolder;
using zvini::ReadInt;
using zvini::ReadText;
using zvini::WriteBlock;
using zvini::WriteText;

CString SectionOf(CUserItem* user) { return user->GetSectionName(); }

}  // namespace

CINIAppPrefs::CINIAppPrefs(const CString& iniPath) : m_path(iniPath) {}

CINIAppPrefs::~CINIAppPrefs() {}

// ----- the table's keys -----

int CINIAppPrefs::GetNumber(PrefId id, const CString& section) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (key.type == PrefType::IntBlock) return zvini::ReadBlockInt(m_path, section, key.name, key.defaultValue);
    return ReadInt(m_path, section, key.name, key.defaultValue);
}

int CINIAppPrefs::GetNumber(PrefId id, CUserItem* user) const
{
    return user ? GetNumber(id, SectionOf(user)) : PrefKeyOf(id).defaultValue;
}

bool CINIAppPrefs::GetFlag(PrefId id, const CString& section) const
{
    return PrefFlagIsOn(PrefKeyOf(id), GetNumber(id, section));
}

bool CINIAppPrefs::GetFlag(PrefId id, CUserItem* user) const
{
    return PrefFlagIsOn(PrefKeyOf(id), GetNumber(id, user));
}

void CINIAppPrefs::SetNumber(PrefId id, const CString& section, int value) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (key.type == PrefType::IntBlock)
        zvini::WriteBlockInt(m_path, section, key.name, value);
    else
        zvini::WriteInt(m_path, section, key.name, value);
}

void CINIAppPrefs::SetNumber(PrefId id, CUserItem* user, int value) const
{
    if (user) SetNumber(id, SectionOf(user), value);
}

CString CINIAppPrefs::GetText(PrefId id, const CString& section) const
{
    const PrefKey& key = PrefKeyOf(id);
    if (key.type == PrefType::Folder) return ReadFolder(m_path, section, key.name);
    return ReadText(m_path, section, key.name);
}

CString CINIAppPrefs::GetText(PrefId id, CUserItem* user) const
{
    return user ? GetText(id, SectionOf(user)) : CString();
}

// A null text removes the key.
bool CINIAppPrefs::SetText(PrefId id, const CString& section, const char* text) const
{
    return WriteText(m_path, section, PrefKeyOf(id).name, text);
}

bool CINIAppPrefs::SetText(PrefId id, CUserItem* user, const char* text) const
{
    return user && SetText(id, SectionOf(user), text);
}

bool CINIAppPrefs::GetBlock(PrefId id, const CString& section, void* out, int size) const
{
    return ReadBlock(m_path, section, PrefKeyOf(id).name, out, size);
}

bool CINIAppPrefs::GetBlock(PrefId id, CUserItem* user, void* out, int size) const
{
    return user && GetBlock(id, SectionOf(user), out, size);
}

void CINIAppPrefs::SetBlock(PrefId id, CUserItem* user, const void* data, int size) const
{
    if (user) WriteBlock(m_path, SectionOf(user), PrefKeyOf(id).name, data, size);
}

// Absent reads as off; a null user as {0, 0}.
CAppPrefs::TimerPair CINIAppPrefs::GetTimer(PrefId id, CUserItem* user) const
{
    if (!user) return TimerPair{0, 0};
    const PrefKey& key = PrefKeyOf(id);
    int minutes = ReadInt(m_path, SectionOf(user), key.name, 0);
    return minutes > 0 ? TimerPair{1, minutes} : TimerPair{0, key.defaultValue};
}

void CINIAppPrefs::SetTimer(PrefId id, CUserItem* user, TimerPair timer) const
{
    SetNumber(id, user, timer.enabled ? timer.minutes : 0);
}

// A buffer kept as its length and a block of that length.
CAppPrefs::BufferPair CINIAppPrefs::GetBuffer(PrefId lengthId, PrefId blockId, CUserItem* user) const
{
    BufferPair none = {nullptr, 0};
    if (!user) return none;
    int length = GetNumber(lengthId, user);
    // A length from the file is only trusted within what a hint can need.
    if (length <= 0 || length > kMaxPrefsBlockSize) return none;
    BYTE* buffer = new BYTE[(size_t)length]();
    if (!GetBlock(blockId, user, buffer, length)) {
        delete[] buffer;
        return none;
    }
    BufferPair result = {buffer, length};
    return result;
}

void CINIAppPrefs::SetBuffer(PrefId lengthId, PrefId blockId, CUserItem* user, const BYTE* buffer, int length) const
{
    if (!user || length < 0 || length > kMaxPrefsBlockSize || (!buffer && length > 0)) return;
    SetNumber(lengthId, user, length);
    SetBlock(blockId, user, buffer, length);
}

// ----- platform section -----

CString CINIAppPrefs::GetCurrentUser(const CString& section) { return GetText(PrefId::CurrentUser, section); }

void CINIAppPrefs::SetCurrentUser(const CString& section, const CString& keyName)
{
    if (!keyName.IsEmpty()) SetText(PrefId::CurrentUser, section, keyName);
}

int CINIAppPrefs::GetDBVersion(const CString& section) { return GetNumber(PrefId::DBVersion, section); }
void CINIAppPrefs::SetDBVersion(const CString& section, int version) { SetNumber(PrefId::DBVersion, section, version); }

bool CINIAppPrefs::GetVirginSync(const CString& section) { return GetNumber(PrefId::VirginSync, section) != 1; }

void CINIAppPrefs::SetVirginSync(const CString& section, bool virgin)
{
    SetNumber(PrefId::VirginSync, section, (virgin ? 1 : 0) + 1);
}

int CINIAppPrefs::GetSyncDirection(const CString& section)
{
    int direction = GetNumber(PrefId::SyncDirection, section);
    return direction == -1 ? 2 : direction;
}

void CINIAppPrefs::SetSyncDirection(const CString& section, int direction)
{
    SetNumber(PrefId::SyncDirection, section, direction);
}

bool CINIAppPrefs::GetShowStatusBar(const CString& section) { return GetFlag(PrefId::ShowStatusBar, section); }
void CINIAppPrefs::SetShowStatusBar(const CString& section, int show)
{
    SetNumber(PrefId::ShowStatusBar, section, show);
}

bool CINIAppPrefs::GetPasswordRequirements(const CString& section, BYTE block[32])
{
    return block && GetBlock(PrefId::PasswordRequirements, section, block, 32);
}

CString CINIAppPrefs::GetPasswordRequirementsMessage(const CString& section)
{
    return GetText(PrefId::PasswordRequirementsMessage, section);
}

CString CINIAppPrefs::GetPasswordRequirementsError(const CString& section)
{
    return GetText(PrefId::PasswordRequirementsError, section);
}

bool CINIAppPrefs::GetNoPrint(const CString& section) { return GetFlag(PrefId::NoPrint, section); }
void CINIAppPrefs::SetNoPrint(const CString& section, int noPrint) { SetNumber(PrefId::NoPrint, section, noPrint); }

// ----- users and whole sections -----

std::vector<CString> CINIAppPrefs::ReadSectionNames() const
{
    // A list over the cap reads as no sections.
    std::string list;
    zvini::ReadSectionNameList(m_path, list);
    std::vector<CString> names;
    for (size_t pos = 0; pos < list.size();) {
        size_t end = list.find('\0', pos);
        if (end == std::string::npos) end = list.size();
        if (end > pos) names.push_back(CString(list.substr(pos, end - pos)));
        pos = end + 1;
    }
    return names;
}

int CINIAppPrefs::ReadWholeSection(const CString& section, CString& lines) const
{
    std::string text;
    int rc = zvini::ReadSectionLines(m_path, section, text);
    lines = CString(text);
    return rc;
}

void CINIAppPrefs::EnumUsers(const CString& productName, const CString& legacyKeyPrefix, CUserList& users)
{
    for (const CString& section : ReadSectionNames()) {
        if (GetPlatformTypeOfSection(section) < 0) continue;
        CString displayName = GetText(PrefId::DisplayName, section);
        int32_t type = -1;
        CString keyName;
        if (!ParseUserSectionName(section, displayName, type, keyName)) continue;
        // Names that do not fit the record, or a key that cannot name a
        // folder below the data root, are not taken as users.
        UserRecord record = MakeEmptyUserRecord();
        if (!SetUserRecordText(record.displayName, sizeof(record.displayName), displayName) ||
            !SetUserRecordText(record.keyName, sizeof(record.keyName), keyName) || !IsUsableKeyName(keyName))
            continue;
        record.platformType = type;
        CUserItem* user = new CUserItem(record);
        if (type == kPlatformTypeStandalone) {
            CString prefix = legacyKeyPrefix;
            prefix.Replace("iPhone", "Standalone");
            user->SetLegacyKey(prefix);
            user->SetStandalone(true);
        } else {
            user->SetLegacyKey(legacyKeyPrefix);
        }
        users.AddTail(user);
    }

    if (users.IsEmpty()) {
        UserRecord record = MakeEmptyUserRecord();
        SetUserRecordText(record.displayName, sizeof(record.displayName), "Standalone");
        SetUserRecordText(record.keyName, sizeof(record.keyName), "_Standalone_");
        record.platformType = kPlatformTypeStandalone;
        CUserItem* user = new CUserItem(record);
        CString prefix;
        prefix.Format(kLegacyUserKeyFormat, "");
        user->SetLegacyKey(prefix);
        user->SetStandalone(true);
        AddUser(user);
        users.AddTail(user);
    }
}

bool CINIAppPrefs::AddUser(CUserItem* user)
{
    if (!user) return false;
    SetDisplayName(user);
    return true;
}

int CINIAppPrefs::DeleteUser(CUserItem* user)
{
    if (!user) return 0;
    return WriteText(m_path, SectionOf(user), nullptr, nullptr);
}

int CINIAppPrefs::DeleteSection(const CString& section) { return WriteText(m_path, section, nullptr, nullptr); }

int CINIAppPrefs::MoveUserSection(const CString& oldSection, CUserItem* user)
{
    if (oldSection.IsEmpty() || !user || m_path.IsEmpty()) return 0;
    // A section that could not be read whole is left where it is: moving
    // part of it would lose the rest.
    CString lines;
    if (int rc = ReadWholeSection(oldSection, lines)) return rc;
    CString newSection = SectionOf(user);
    // The settings are written under the new name before the old section goes,
    // so a failed write loses nothing.
    std::string data = lines.Std();
    data.append(2, '\0');
    if (!WritePrivateProfileSectionA(newSection, data.c_str(), m_path)) {
        DWORD error = GetLastError();
        return error ? (int)error : -1;
    }
    if (oldSection.CompareNoCase(newSection) != 0) WriteText(m_path, oldSection, nullptr, nullptr);
    SetDisplayName(user);
    return 0;
}
// ----- user section -----

void CINIAppPrefs::GetCurrentType(CUserItem* user, uint8_t key[8])
{
    if (!GetBlock(PrefId::CurrentType, user, key, 8)) std::memcpy(key, kAllItemsKey, 8);
}

void CINIAppPrefs::SetCurrentType(CUserItem* user, const uint8_t key[8])
{
    SetBlock(PrefId::CurrentType, user, key, 8);
}

void CINIAppPrefs::GetCurrentCategory(CUserItem* user, uint8_t key[8])
{
    if (!GetBlock(PrefId::CurrentCategory, user, key, 8)) std::memcpy(key, kAllItemsKey, 8);
}

void CINIAppPrefs::SetCurrentCategory(CUserItem* user, const uint8_t key[8])
{
    SetBlock(PrefId::CurrentCategory, user, key, 8);
}

CString CINIAppPrefs::GetWindowPos(CUserItem* user) { return GetText(PrefId::WindowPos, user); }
void CINIAppPrefs::SetWindowPos(CUserItem* user, const CString& placement)
{
    SetText(PrefId::WindowPos, user, placement);
}

CShowColumns CINIAppPrefs::GetShowColumns(const CString& section, CUserItem* user)
{
    CShowColumns columns = DefaultShowColumns();
    if (user && GetDBVersion(section) >= 6) {
        uint8_t block[CShowColumns::kStoredSize];
        if (GetBlock(PrefId::ShowColumns, user, block, (int)sizeof(block))) columns.ReadBytes(block);
    }
    return columns;
}

void CINIAppPrefs::SetShowColumns(const CString& section, CUserItem* user, const CShowColumns& columns)
{
    if (!user) return;
    SetDBVersion(section, 7);
    uint8_t block[CShowColumns::kStoredSize];
    columns.WriteBytes(block);
    SetBlock(PrefId::ShowColumns, user, block, (int)sizeof(block));
}

int CINIAppPrefs::GetSortInfo(CUserItem* user) { return GetNumber(PrefId::SortInfo, user); }
void CINIAppPrefs::SetSortInfo(CUserItem* user, int sortInfo) { SetNumber(PrefId::SortInfo, user, sortInfo); }
bool CINIAppPrefs::GetShowingDetails(CUserItem* user) { return GetFlag(PrefId::ShowingDetails, user); }
void CINIAppPrefs::SetShowingDetails(CUserItem* user, int showing) { SetNumber(PrefId::ShowingDetails, user, showing); }

int CINIAppPrefs::GetDetailsPaneWidth(CUserItem* user)
{
    int width = GetNumber(PrefId::DetailsPaneWidth, user);
    return width > 0 ? width : PrefKeyOf(PrefId::DetailsPaneWidth).defaultValue;
}

void CINIAppPrefs::SetDetailsPaneWidth(CUserItem* user, int width)
{
    if (width != 0) SetNumber(PrefId::DetailsPaneWidth, user, width);
}

// Forced on while the longest sleep allowed is under an hour.
bool CINIAppPrefs::GetAutoLock(CUserItem* user)
{
    if (!user) return true;
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    if (prefs && prefs->GetMaxSleepMinutes(user) < 60) return true;
    return GetFlag(PrefId::AutoLock, user);
}

void CINIAppPrefs::SetAutoLock(CUserItem* user, int autoLock) { SetNumber(PrefId::AutoLock, user, autoLock); }

bool CINIAppPrefs::GetFont(CUserItem* user, BYTE logFont[60])
{
    return logFont && GetBlock(PrefId::Font, user, logFont, 60);
}

void CINIAppPrefs::SetFont(CUserItem* user, const BYTE logFont[60]) { SetBlock(PrefId::Font, user, logFont, 60); }
DWORD CINIAppPrefs::GetRowColor(CUserItem* user) { return (DWORD)GetNumber(PrefId::RowColor, user); }
void CINIAppPrefs::SetRowColor(CUserItem* user, DWORD color) { SetNumber(PrefId::RowColor, user, (int)color); }

// No longer than the longest sleep allowed.
int CINIAppPrefs::GetSleepMinutes(CUserItem* user)
{
    if (!user) return 60;
    int minutes = GetNumber(PrefId::SleepMinutes, user);
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    if (prefs) {
        int maximum = prefs->GetMaxSleepMinutes(user);
        if (minutes > maximum) minutes = maximum;
    }
    return minutes;
}

void CINIAppPrefs::SetSleepMinutes(CUserItem* user, int minutes) { SetNumber(PrefId::SleepMinutes, user, minutes); }

int CINIAppPrefs::GetMaxSleepMinutes(CUserItem* user) { return user ? GetNumber(PrefId::MaxSleepMinutes, user) : -1; }

void CINIAppPrefs::SetMaxSleepMinutes(CUserItem* user, int minutes)
{
    SetNumber(PrefId::MaxSleepMinutes, user, minutes);
}

int CINIAppPrefs::GetPasswordGeneratorFlags(CUserItem* user)
{
    return user ? GetNumber(PrefId::PasswordGeneratorFlags, user) : -1;
}

void CINIAppPrefs::SetPasswordGeneratorFlags(CUserItem* user, int flags)
{
    SetNumber(PrefId::PasswordGeneratorFlags, user, flags);
}

bool CINIAppPrefs::GetCaseSensitive(CUserItem* user) { return GetFlag(PrefId::CaseSensitive, user); }
void CINIAppPrefs::SetCaseSensitive(CUserItem* user, int value) { SetNumber(PrefId::CaseSensitive, user, value); }
bool CINIAppPrefs::GetWholeWord(CUserItem* user) { return GetFlag(PrefId::WholeWord, user); }
void CINIAppPrefs::SetWholeWord(CUserItem* user, int value) { SetNumber(PrefId::WholeWord, user, value); }

CString CINIAppPrefs::GetUserDirectory(CUserItem* user) { return GetText(PrefId::UserDirectory, user); }

bool CINIAppPrefs::SetUserDirectory(CUserItem* user, const CString& folder)
{
    return SetText(PrefId::UserDirectory, user, folder);
}

CString CINIAppPrefs::GetBackupDirectory(CUserItem* user) { return GetText(PrefId::BackupDirectory, user); }

bool CINIAppPrefs::SetBackupDirectory(CUserItem* user, const CString& folder)
{
    return SetText(PrefId::BackupDirectory, user, folder);
}

CString CINIAppPrefs::GetRestoreDirectory(CUserItem* user) { return GetText(PrefId::RestoreDirectory, user); }

bool CINIAppPrefs::SetRestoreDirectory(CUserItem* user, const CString& folder)
{
    return SetText(PrefId::RestoreDirectory, user, folder);
}

int CINIAppPrefs::GetBackupFileCounter(CUserItem* user) { return GetNumber(PrefId::BackupFileCounter, user); }

void CINIAppPrefs::SetBackupFileCounter(CUserItem* user, int counter)
{
    SetNumber(PrefId::BackupFileCounter, user, counter);
}

int CINIAppPrefs::GetHintQuestionNumber(CUserItem* user) { return GetNumber(PrefId::HintQuestionNumber, user); }

void CINIAppPrefs::SetHintQuestionNumber(CUserItem* user, int number)
{
    SetNumber(PrefId::HintQuestionNumber, user, number);
}

CAppPrefs::BufferPair CINIAppPrefs::GetHintQuestionBuffer(CUserItem* user)
{
    return GetBuffer(PrefId::HintQuestionBufferLength, PrefId::HintQuestionBuffer, user);
}

void CINIAppPrefs::SetHintQuestionBuffer(CUserItem* user, const BYTE* buffer, int length)
{
    SetBuffer(PrefId::HintQuestionBufferLength, PrefId::HintQuestionBuffer, user, buffer, length);
}

CAppPrefs::BufferPair CINIAppPrefs::GetHintBuffer(CUserItem* user)
{
    return GetBuffer(PrefId::HintBufferLength, PrefId::HintBuffer, user);
}

void CINIAppPrefs::SetHintBuffer(CUserItem* user, const BYTE* buffer, int length)
{
    SetBuffer(PrefId::HintBufferLength, PrefId::HintBuffer, user, buffer, length);
}

CString CINIAppPrefs::GetHint(CUserItem* user) { return GetText(PrefId::Hint, user); }

// An empty hint removes the key.
void CINIAppPrefs::SetHint(CUserItem* user, const CString& hint)
{
    SetText(PrefId::Hint, user, hint.IsEmpty() ? nullptr : (const char*)hint);
}

int CINIAppPrefs::GetLatestView(CUserItem* user) { return GetNumber(PrefId::LatestView, user); }
void CINIAppPrefs::SetLatestView(CUserItem* user, int view) { SetNumber(PrefId::LatestView, user, view); }
bool CINIAppPrefs::GetAutoSubmit(CUserItem* user) { return GetFlag(PrefId::AutoSubmit, user); }
void CINIAppPrefs::SetAutoSubmit(CUserItem* user, int value) { SetNumber(PrefId::AutoSubmit, user, value); }
bool CINIAppPrefs::GetSearchColumns(CUserItem* user) { return GetFlag(PrefId::SearchColumns, user); }
void CINIAppPrefs::SetSearchColumns(CUserItem* user, int value) { SetNumber(PrefId::SearchColumns, user, value); }

bool CINIAppPrefs::GetClearClipboardOnExit(CUserItem* user) { return GetFlag(PrefId::ClearClipboardOnExit, user); }

void CINIAppPrefs::SetClearClipboardOnExit(CUserItem* user, int value)
{
    SetNumber(PrefId::ClearClipboardOnExit, user, value);
}

CAppPrefs::TimerPair CINIAppPrefs::GetClearClipboardTimer(CUserItem* user)
{
    return GetTimer(PrefId::ClearClipboardTimer, user);
}

void CINIAppPrefs::SetClearClipboardTimer(CUserItem* user, TimerPair timer)
{
    SetTimer(PrefId::ClearClipboardTimer, user, timer);
}

CString CINIAppPrefs::GetDisplayName(CUserItem* user) { return GetText(PrefId::DisplayName, user); }

void CINIAppPrefs::SetDisplayName(CUserItem* user)
{
    if (user) SetText(PrefId::DisplayName, user, user->GetDisplayName());
}

int CINIAppPrefs::GetSyncFileCount(CUserItem* user) { return GetNumber(PrefId::SyncFileCount, user); }
void CINIAppPrefs::SetSyncFileCount(CUserItem* user, int count) { SetNumber(PrefId::SyncFileCount, user, count); }

void CINIAppPrefs::GetSyncFile(CUserItem* user, int index, BYTE* buffer, int size)
{
    if (!user || size <= 0 || !buffer) return;
    CString key;
    key.Format(PrefKeyOf(PrefId::SyncFile).name, index);
    ReadBlock(m_path, SectionOf(user), key, buffer, size);
}

void CINIAppPrefs::SetSyncFile(CUserItem* user, int index, const BYTE* buffer, int size)
{
    if (!user) return;
    CString key;
    key.Format(PrefKeyOf(PrefId::SyncFile).name, index);
    WriteBlock(m_path, SectionOf(user), key, buffer, size);
}

bool CINIAppPrefs::GetMinimizeToSystemTray(CUserItem* user) { return GetFlag(PrefId::MinimizeToSystemTray, user); }

void CINIAppPrefs::SetMinimizeToSystemTray(CUserItem* user, int value)
{
    SetNumber(PrefId::MinimizeToSystemTray, user, value);
}

CAppPrefs::TimerPair CINIAppPrefs::GetClearPasswordTimer(CUserItem* user)
{
    return GetTimer(PrefId::ClearPasswordTimer, user);
}

void CINIAppPrefs::SetClearPasswordTimer(CUserItem* user, TimerPair timer)
{
    SetTimer(PrefId::ClearPasswordTimer, user, timer);
}

int CINIAppPrefs::GetExportImportHint(CUserItem* user) { return user ? GetNumber(PrefId::ExportImportHint, user) : 0; }

void CINIAppPrefs::SetExportImportHint(CUserItem* user, int hint) { SetNumber(PrefId::ExportImportHint, user, hint); }

int CINIAppPrefs::GetBackupRestoreHint(CUserItem* user)
{
    return user ? GetNumber(PrefId::BackupRestoreHint, user) : 0;
}

void CINIAppPrefs::SetBackupRestoreHint(CUserItem* user, int hint) { SetNumber(PrefId::BackupRestoreHint, user, hint); }

// At most 10 is kept; a negative count reads as 0.
void CINIAppPrefs::SetLoginAttemptCount(CUserItem* user, int count)
{
    if (count <= 10) SetNumber(PrefId::LoginAttemptCount, user, count);
}

int CINIAppPrefs::GetLoginAttemptCount(CUserItem* user)
{
    int count = GetNumber(PrefId::LoginAttemptCount, user);
    return count < 0 ? 0 : count;
}
