#include "core/prefs/INIAppPrefs.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefsBlock.h"
#include "core/prefs/ProfileFile.h"
#include "core/items/ShowColumns.h"
#include "core/users/UserItem.h"
#include "core/users/UserSectionName.h"

namespace {

using zvini::ReadBlock;
using zvini::ReadBlockInt;
using zvini::ReadFolder;
using zvini::ReadInt;
using zvini::ReadText;
using zvini::WriteBlock;
using zvini::WriteBlockInt;
using zvini::WriteInt;
using zvini::WriteText;

const int kSortInfoDefault = 0x00010003;
const int kHintDefault = 0x00010001;

CString SectionOf(CUserItem* user) { return user->GetSectionName(); }

// Reads the 32-bit flag keys whose value is true only for 1.
bool ReadOne(const CString& path, CUserItem* user, const char* key)
{
    return user && ReadInt(path, SectionOf(user), key, 0) == 1;
}

void WriteUserInt(const CString& path, CUserItem* user, const char* key, int value)
{
    if (user) WriteInt(path, SectionOf(user), key, value);
}

CAppPrefs::BufferPair ReadHintBuffer(const CString& path, CUserItem* user, const char* lengthKey, const char* blockKey)
{
    CAppPrefs::BufferPair none = {nullptr, 0};
    if (!user) return none;
    CString section = SectionOf(user);
    int length = ReadInt(path, section, lengthKey, -1);
    // A length from the file is only trusted within what a hint can need.
    if (length <= 0 || length > kMaxPrefsBlockSize) return none;
    BYTE* buffer = new BYTE[(size_t)length]();
    if (!ReadBlock(path, section, blockKey, buffer, length)) {
        delete[] buffer;
        return none;
    }
    CAppPrefs::BufferPair result = {buffer, length};
    return result;
}

void WriteHintBuffer(const CString& path, CUserItem* user, const char* lengthKey, const char* blockKey,
                     const BYTE* buffer, int length)
{
    if (!user || length < 0 || length > kMaxPrefsBlockSize || (!buffer && length > 0)) return;
    CString section = SectionOf(user);
    WriteInt(path, section, lengthKey, length);
    WriteBlock(path, section, blockKey, buffer, length);
}

CAppPrefs::TimerPair ReadTimer(const CString& path, CUserItem* user, const char* key, int offMinutes)
{
    if (!user) return CAppPrefs::TimerPair{0, 0};
    int v = ReadInt(path, SectionOf(user), key, 0);
    return v > 0 ? CAppPrefs::TimerPair{1, v} : CAppPrefs::TimerPair{0, offMinutes};
}

void WriteTimer(const CString& path, CUserItem* user, const char* key, CAppPrefs::TimerPair timer)
{
    WriteUserInt(path, user, key, timer.enabled ? timer.minutes : 0);
}

}  // namespace

CINIAppPrefs::CINIAppPrefs(const CString& iniPath) : m_path(iniPath) {}

CINIAppPrefs::~CINIAppPrefs() {}

// ----- platform section -----

CString CINIAppPrefs::GetCurrentUser(const CString& section) { return ReadText(m_path, section, "Current User"); }

void CINIAppPrefs::SetCurrentUser(const CString& section, const CString& keyName)
{
    if (!keyName.IsEmpty()) WriteText(m_path, section, "Current User", keyName);
}

int CINIAppPrefs::GetDBVersion(const CString& section) { return ReadInt(m_path, section, "DBVersion", -1); }

void CINIAppPrefs::SetDBVersion(const CString& section, int version)
{
    WriteInt(m_path, section, "DBVersion", version);
}

bool CINIAppPrefs::GetVirginSync(const CString& section) { return ReadInt(m_path, section, "Virgin Sync", 2) != 1; }

void CINIAppPrefs::SetVirginSync(const CString& section, bool virgin)
{
    WriteInt(m_path, section, "Virgin Sync", (virgin ? 1 : 0) + 1);
}

int CINIAppPrefs::GetSyncDirection(const CString& section)
{
    int direction = ReadInt(m_path, section, "Sync Direction", -1);
    return direction == -1 ? 2 : direction;
}

void CINIAppPrefs::SetSyncDirection(const CString& section, int direction)
{
    WriteInt(m_path, section, "Sync Direction", direction);
}

bool CINIAppPrefs::GetShowStatusBar(const CString& section)
{
    return ReadInt(m_path, section, "Show Status bar", 0) != 0;
}

void CINIAppPrefs::SetShowStatusBar(const CString& section, int show)
{
    WriteInt(m_path, section, "Show Status bar", show);
}

bool CINIAppPrefs::GetPasswordRequirements(const CString& section, BYTE block[32])
{
    return block && ReadBlock(m_path, section, "Password requirements", block, 32);
}

CString CINIAppPrefs::GetPasswordRequirementsMessage(const CString& section)
{
    return ReadText(m_path, section, "Password requirements message");
}

CString CINIAppPrefs::GetPasswordRequirementsError(const CString& section)
{
    return ReadText(m_path, section, "Password requirements error");
}

bool CINIAppPrefs::GetNoPrint(const CString& section) { return ReadInt(m_path, section, "NoPrint", 0) == 1; }

void CINIAppPrefs::SetNoPrint(const CString& section, int noPrint) { WriteInt(m_path, section, "NoPrint", noPrint); }

// ----- users and whole sections -----

std::vector<CString> CINIAppPrefs::ReadSectionNames() const
{
    std::string list = zvini::ReadSectionNameList(m_path);
    std::vector<CString> names;
    for (size_t pos = 0; pos < list.size();) {
        size_t end = list.find('\0', pos);
        if (end == std::string::npos) end = list.size();
        if (end > pos) names.push_back(CString(list.substr(pos, end - pos)));
        pos = end + 1;
    }
    return names;
}

CString CINIAppPrefs::ReadWholeSection(const CString& section) const
{
    return CString(zvini::ReadSectionLines(m_path, section));
}

void CINIAppPrefs::EnumUsers(const CString& productName, const CString& legacyKeyPrefix, CUserList& users)
{
    for (const CString& section : ReadSectionNames()) {
        if (GetPlatformTypeOfSection(section) < 0) continue;
        CString displayName = ReadText(m_path, section, "DisplayName");
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
        prefix.Format("software\\corvantide\\zorvikan desktop\\%s - ", "");
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

void CINIAppPrefs::MoveUserSection(const CString& oldSection, CUserItem* user)
{
    if (oldSection.IsEmpty() || !user || m_path.IsEmpty()) return;
    CString lines = ReadWholeSection(oldSection);
    CString newSection = SectionOf(user);
    // The settings are written under the new name before the old section goes,
    // so a failed write loses nothing.
    std::string data = lines.Std();
    data.append(2, '\0');
    if (!WritePrivateProfileSectionA(newSection, data.c_str(), m_path)) return;
    if (oldSection.CompareNoCase(newSection) != 0) WriteText(m_path, oldSection, nullptr, nullptr);
    SetDisplayName(user);
}

// ----- user section -----

void CINIAppPrefs::GetCurrentType(CUserItem* user, uint8_t key[8])
{
    if (!user || !ReadBlock(m_path, SectionOf(user), "Current Type", key, 8)) std::memcpy(key, kAllItemsKey, 8);
}

void CINIAppPrefs::SetCurrentType(CUserItem* user, const uint8_t key[8])
{
    if (user) WriteBlock(m_path, SectionOf(user), "Current Type", key, 8);
}

void CINIAppPrefs::GetCurrentCategory(CUserItem* user, uint8_t key[8])
{
    if (!user || !ReadBlock(m_path, SectionOf(user), "Current CategoryID", key, 8)) std::memcpy(key, kAllItemsKey, 8);
}

void CINIAppPrefs::SetCurrentCategory(CUserItem* user, const uint8_t key[8])
{
    if (user) WriteBlock(m_path, SectionOf(user), "Current CategoryID", key, 8);
}

CString CINIAppPrefs::GetWindowPos(CUserItem* user)
{
    return user ? ReadText(m_path, SectionOf(user), "Winpos") : CString();
}

void CINIAppPrefs::SetWindowPos(CUserItem* user, const CString& placement)
{
    if (user) WriteText(m_path, SectionOf(user), "Winpos", placement);
}

CShowColumns CINIAppPrefs::GetShowColumns(const CString& section, CUserItem* user)
{
    CShowColumns columns = DefaultShowColumns();
    if (user && GetDBVersion(section) >= 6) {
        uint8_t block[CShowColumns::kStoredSize];
        if (ReadBlock(m_path, SectionOf(user), "Show Columns2", block, (int)sizeof(block))) columns.ReadBytes(block);
    }
    return columns;
}

void CINIAppPrefs::SetShowColumns(const CString& section, CUserItem* user, const CShowColumns& columns)
{
    if (!user) return;
    SetDBVersion(section, 7);
    uint8_t block[CShowColumns::kStoredSize];
    columns.WriteBytes(block);
    WriteBlock(m_path, SectionOf(user), "Show Columns2", block, (int)sizeof(block));
}

int CINIAppPrefs::GetSortInfo(CUserItem* user)
{
    return user ? ReadBlockInt(m_path, SectionOf(user), "Sort Info", kSortInfoDefault) : kSortInfoDefault;
}

void CINIAppPrefs::SetSortInfo(CUserItem* user, int sortInfo)
{
    if (user) WriteBlockInt(m_path, SectionOf(user), "Sort Info", sortInfo);
}

bool CINIAppPrefs::GetShowingDetails(CUserItem* user)
{
    return !user || ReadInt(m_path, SectionOf(user), "Showing Details", 1) != 0;
}

void CINIAppPrefs::SetShowingDetails(CUserItem* user, int showing)
{
    WriteUserInt(m_path, user, "Showing Details", showing);
}

int CINIAppPrefs::GetDetailsPaneWidth(CUserItem* user)
{
    int width = user ? ReadInt(m_path, SectionOf(user), "Details Pane Width", 250) : 250;
    return width > 0 ? width : 250;
}

void CINIAppPrefs::SetDetailsPaneWidth(CUserItem* user, int width)
{
    if (width != 0) WriteUserInt(m_path, user, "Details Pane Width", width);
}

bool CINIAppPrefs::GetAutoLock(CUserItem* user)
{
    if (!user) return true;
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    if (prefs && prefs->GetMaxSleepMinutes(user) < 60) return true;
    return ReadInt(m_path, SectionOf(user), "Auto Lock", 0) == 1;
}

void CINIAppPrefs::SetAutoLock(CUserItem* user, int autoLock) { WriteUserInt(m_path, user, "Auto Lock", autoLock); }

bool CINIAppPrefs::GetFont(CUserItem* user, BYTE logFont[60])
{
    return user && logFont && ReadBlock(m_path, SectionOf(user), "Font", logFont, 60);
}

void CINIAppPrefs::SetFont(CUserItem* user, const BYTE logFont[60])
{
    if (user) WriteBlock(m_path, SectionOf(user), "Font", logFont, 60);
}

DWORD CINIAppPrefs::GetRowColor(CUserItem* user)
{
    return user ? (DWORD)ReadBlockInt(m_path, SectionOf(user), "Row Color", 0xFFFFFF) : 0xFFFFFF;
}

void CINIAppPrefs::SetRowColor(CUserItem* user, DWORD color)
{
    if (user) WriteBlockInt(m_path, SectionOf(user), "Row Color", (int)color);
}

int CINIAppPrefs::GetSleepMinutes(CUserItem* user)
{
    if (!user) return 60;
    int minutes = ReadInt(m_path, SectionOf(user), "Sleep Minutes", 10);
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    if (prefs) {
        int maximum = prefs->GetMaxSleepMinutes(user);
        if (minutes > maximum) minutes = maximum;
    }
    return minutes;
}

void CINIAppPrefs::SetSleepMinutes(CUserItem* user, int minutes)
{
    WriteUserInt(m_path, user, "Sleep Minutes", minutes);
}

int CINIAppPrefs::GetMaxSleepMinutes(CUserItem* user)
{
    return user ? ReadInt(m_path, SectionOf(user), "Max Sleep Minutes", 60) : -1;
}

void CINIAppPrefs::SetMaxSleepMinutes(CUserItem* user, int minutes)
{
    WriteUserInt(m_path, user, "Max Sleep Minutes", minutes);
}

int CINIAppPrefs::GetPasswordGeneratorFlags(CUserItem* user)
{
    return user ? ReadInt(m_path, SectionOf(user), "Password generator flags", 0xFFFF) : -1;
}

void CINIAppPrefs::SetPasswordGeneratorFlags(CUserItem* user, int flags)
{
    WriteUserInt(m_path, user, "Password generator flags", flags);
}

bool CINIAppPrefs::GetCaseSensitive(CUserItem* user) { return ReadOne(m_path, user, "Case Sensitive"); }

void CINIAppPrefs::SetCaseSensitive(CUserItem* user, int value) { WriteUserInt(m_path, user, "Case Sensitive", value); }

bool CINIAppPrefs::GetWholeWord(CUserItem* user) { return ReadOne(m_path, user, "Whole Word"); }

void CINIAppPrefs::SetWholeWord(CUserItem* user, int value) { WriteUserInt(m_path, user, "Whole Word", value); }

CString CINIAppPrefs::GetUserDirectory(CUserItem* user)
{
    return user ? ReadFolder(m_path, SectionOf(user), "User Directory") : CString();
}

bool CINIAppPrefs::SetUserDirectory(CUserItem* user, const CString& folder)
{
    return user && WriteText(m_path, SectionOf(user), "User Directory", folder);
}

CString CINIAppPrefs::GetBackupDirectory(CUserItem* user)
{
    return user ? ReadFolder(m_path, SectionOf(user), "Backup Directory") : CString();
}

bool CINIAppPrefs::SetBackupDirectory(CUserItem* user, const CString& folder)
{
    return user && WriteText(m_path, SectionOf(user), "Backup Directory", folder);
}

CString CINIAppPrefs::GetRestoreDirectory(CUserItem* user)
{
    return user ? ReadFolder(m_path, SectionOf(user), "Restore Directory") : CString();
}

bool CINIAppPrefs::SetRestoreDirectory(CUserItem* user, const CString& folder)
{
    return user && WriteText(m_path, SectionOf(user), "Restore Directory", folder);
}

int CINIAppPrefs::GetBackupFileCounter(CUserItem* user)
{
    return user ? ReadInt(m_path, SectionOf(user), "Current Backup File Counter", 0) : 0;
}

void CINIAppPrefs::SetBackupFileCounter(CUserItem* user, int counter)
{
    WriteUserInt(m_path, user, "Current Backup File Counter", counter);
}

int CINIAppPrefs::GetHintQuestionNumber(CUserItem* user)
{
    return user ? ReadInt(m_path, SectionOf(user), "Hint question number", -1) : -1;
}

void CINIAppPrefs::SetHintQuestionNumber(CUserItem* user, int number)
{
    WriteUserInt(m_path, user, "Hint question number", number);
}

CAppPrefs::BufferPair CINIAppPrefs::GetHintQuestionBuffer(CUserItem* user)
{
    return ReadHintBuffer(m_path, user, "Hint Question buffer length", "Hint Question buffer");
}

void CINIAppPrefs::SetHintQuestionBuffer(CUserItem* user, const BYTE* buffer, int length)
{
    WriteHintBuffer(m_path, user, "Hint Question buffer length", "Hint Question buffer", buffer, length);
}

CAppPrefs::BufferPair CINIAppPrefs::GetHintBuffer(CUserItem* user)
{
    return ReadHintBuffer(m_path, user, "Hint buffer length", "Hint buffer");
}

void CINIAppPrefs::SetHintBuffer(CUserItem* user, const BYTE* buffer, int length)
{
    WriteHintBuffer(m_path, user, "Hint buffer length", "Hint buffer", buffer, length);
}

CString CINIAppPrefs::GetHint(CUserItem* user) { return user ? ReadText(m_path, SectionOf(user), "Hint") : CString(); }

void CINIAppPrefs::SetHint(CUserItem* user, const CString& hint)
{
    if (user) WriteText(m_path, SectionOf(user), "Hint", hint.IsEmpty() ? nullptr : (const char*)hint);
}

int CINIAppPrefs::GetLatestView(CUserItem* user)
{
    return user ? ReadInt(m_path, SectionOf(user), "latestView", 0) : 0;
}

void CINIAppPrefs::SetLatestView(CUserItem* user, int view) { WriteUserInt(m_path, user, "latestView", view); }

bool CINIAppPrefs::GetAutoSubmit(CUserItem* user) { return ReadOne(m_path, user, "Auto Submit"); }

void CINIAppPrefs::SetAutoSubmit(CUserItem* user, int value) { WriteUserInt(m_path, user, "Auto Submit", value); }

bool CINIAppPrefs::GetSearchColumns(CUserItem* user) { return ReadOne(m_path, user, "SearchColumns"); }

void CINIAppPrefs::SetSearchColumns(CUserItem* user, int value) { WriteUserInt(m_path, user, "SearchColumns", value); }

bool CINIAppPrefs::GetClearClipboardOnExit(CUserItem* user) { return ReadOne(m_path, user, "ClearClipboardOnExit"); }

void CINIAppPrefs::SetClearClipboardOnExit(CUserItem* user, int value)
{
    WriteUserInt(m_path, user, "ClearClipboardOnExit", value);
}

CAppPrefs::TimerPair CINIAppPrefs::GetClearClipboardTimer(CUserItem* user)
{
    return ReadTimer(m_path, user, "ClearClipboardOnTimer", 1);
}

void CINIAppPrefs::SetClearClipboardTimer(CUserItem* user, TimerPair timer)
{
    WriteTimer(m_path, user, "ClearClipboardOnTimer", timer);
}

CString CINIAppPrefs::GetDisplayName(CUserItem* user)
{
    return user ? ReadText(m_path, SectionOf(user), "DisplayName") : CString();
}

void CINIAppPrefs::SetDisplayName(CUserItem* user)
{
    if (user) WriteText(m_path, SectionOf(user), "DisplayName", user->GetDisplayName());
}

int CINIAppPrefs::GetSyncFileCount(CUserItem* user)
{
    return user ? ReadInt(m_path, SectionOf(user), "SyncFileCount", 0) : 0;
}

void CINIAppPrefs::SetSyncFileCount(CUserItem* user, int count) { WriteUserInt(m_path, user, "SyncFileCount", count); }

void CINIAppPrefs::GetSyncFile(CUserItem* user, int index, BYTE* buffer, int size)
{
    if (!user || size <= 0 || !buffer) return;
    CString key;
    key.Format("SyncFile%d", index);
    ReadBlock(m_path, SectionOf(user), key, buffer, size);
}

void CINIAppPrefs::SetSyncFile(CUserItem* user, int index, const BYTE* buffer, int size)
{
    if (!user) return;
    CString key;
    key.Format("SyncFile%d", index);
    WriteBlock(m_path, SectionOf(user), key, buffer, size);
}

bool CINIAppPrefs::GetMinimizeToSystemTray(CUserItem* user) { return ReadOne(m_path, user, "MinimizeToSystemTray"); }

void CINIAppPrefs::SetMinimizeToSystemTray(CUserItem* user, int value)
{
    WriteUserInt(m_path, user, "MinimizeToSystemTray", value);
}

CAppPrefs::TimerPair CINIAppPrefs::GetClearPasswordTimer(CUserItem* user)
{
    return ReadTimer(m_path, user, "ClearPasswordTime", 30);
}

void CINIAppPrefs::SetClearPasswordTimer(CUserItem* user, TimerPair timer)
{
    WriteTimer(m_path, user, "ClearPasswordTime", timer);
}

int CINIAppPrefs::GetExportImportHint(CUserItem* user)
{
    return user ? ReadBlockInt(m_path, SectionOf(user), "ExportImportHint", kHintDefault) : 0;
}

void CINIAppPrefs::SetExportImportHint(CUserItem* user, int hint)
{
    if (user) WriteBlockInt(m_path, SectionOf(user), "ExportImportHint", hint);
}

int CINIAppPrefs::GetBackupRestoreHint(CUserItem* user)
{
    return user ? ReadBlockInt(m_path, SectionOf(user), "BackupRestoreHint", kHintDefault) : 0;
}

void CINIAppPrefs::SetBackupRestoreHint(CUserItem* user, int hint)
{
    if (user) WriteBlockInt(m_path, SectionOf(user), "BackupRestoreHint", hint);
}

void CINIAppPrefs::SetLoginAttemptCount(CUserItem* user, int count)
{
    if (count <= 10) WriteUserInt(m_path, user, "Login Attempt Count", count);
}

int CINIAppPrefs::GetLoginAttemptCount(CUserItem* user)
{
    int count = user ? ReadInt(m_path, SectionOf(user), "Login Attempt Count", 0) : 0;
    return count < 0 ? 0 : count;
}
