#pragma once
// CINIAppPrefs: the preferences kept in the INI file "Preferences.ini", one
// section per platform and one per user, through the system's private-profile
// functions. Every value is read and written at the call; nothing is cached,
// so the browser plug-in's object on the same file sees each change.
#include <vector>

#include "core/prefs/AppPrefs.h"

enum class PrefId : int;

class CINIAppPrefs : public CAppPrefs {
public:
    explicit CINIAppPrefs(const CString& iniPath);
    ~CINIAppPrefs() override;

    const CString& GetPath() const { return m_path; }

    CString GetCurrentUser(const CString& section) override;
    void SetCurrentUser(const CString& section, const CString& keyName) override;
    void EnumUsers(const CString& productName, const CString& legacyKeyPrefix, CUserList& users) override;
    bool AddUser(CUserItem* user) override;
    int DeleteUser(CUserItem* user) override;
    int DeleteSection(const CString& section) override;
    int GetDBVersion(const CString& section) override;
    void SetDBVersion(const CString& section, int version) override;
    bool GetVirginSync(const CString& section) override;
    void SetVirginSync(const CString& section, bool virgin) override;
    int GetSyncDirection(const CString& section) override;
    void SetSyncDirection(const CString& section, int direction) override;
    bool GetShowStatusBar(const CString& section) override;
    void SetShowStatusBar(const CString& section, int show) override;
    bool GetPasswordRequirements(const CString& section, BYTE block[32]) override;
    CString GetPasswordRequirementsMessage(const CString& section) override;
    CString GetPasswordRequirementsError(const CString& section) override;
    bool GetNoPrint(const CString& section) override;
    void SetNoPrint(const CString& section, int noPrint) override;
    void GetCurrentType(CUserItem* user, uint8_t key[8]) override;
    void SetCurrentType(CUserItem* user, const uint8_t key[8]) override;
    void GetCurrentCategory(CUserItem* user, uint8_t key[8]) override;
    void SetCurrentCategory(CUserItem* user, const uint8_t key[8]) override;
    CString GetWindowPos(CUserItem* user) override;
    void SetWindowPos(CUserItem* user, const CString& placement) override;
    CShowColumns GetShowColumns(const CString& section, CUserItem* user) override;
    void SetShowColumns(const CString& section, CUserItem* user, const CShowColumns& columns) override;
    int GetSortInfo(CUserItem* user) override;
    void SetSortInfo(CUserItem* user, int sortInfo) override;
    bool GetShowingDetails(CUserItem* user) override;
    void SetShowingDetails(CUserItem* user, int showing) override;
    int GetDetailsPaneWidth(CUserItem* user) override;
    void SetDetailsPaneWidth(CUserItem* user, int width) override;
    bool GetAutoLock(CUserItem* user) override;
    void SetAutoLock(CUserItem* user, int autoLock) override;
    bool GetFont(CUserItem* user, BYTE logFont[60]) override;
    void SetFont(CUserItem* user, const BYTE logFont[60]) override;
    DWORD GetRowColor(CUserItem* user) override;
    void SetRowColor(CUserItem* user, DWORD color) override;
    int GetSleepMinutes(CUserItem* user) override;
    void SetSleepMinutes(CUserItem* user, int minutes) override;
    int GetMaxSleepMinutes(CUserItem* user) override;
    void SetMaxSleepMinutes(CUserItem* user, int minutes) override;
    int GetPasswordGeneratorFlags(CUserItem* user) override;
    void SetPasswordGeneratorFlags(CUserItem* user, int flags) override;
    bool GetCaseSensitive(CUserItem* user) override;
    void SetCaseSensitive(CUserItem* user, int value) override;
    bool GetWholeWord(CUserItem* user) override;
    void SetWholeWord(CUserItem* user, int value) override;
    CString GetUserDirectory(CUserItem* user) override;
    bool SetUserDirectory(CUserItem* user, const CString& folder) override;
    CString GetBackupDirectory(CUserItem* user) override;
    bool SetBackupDirectory(CUserItem* user, const CString& folder) override;
    CString GetRestoreDirectory(CUserItem* user) override;
    bool SetRestoreDirectory(CUserItem* user, const CString& folder) override;
    int GetBackupFileCounter(CUserItem* user) override;
    void SetBackupFileCounter(CUserItem* user, int counter) override;
    int GetHintQuestionNumber(CUserItem* user) override;
    void SetHintQuestionNumber(CUserItem* user, int number) override;
    BufferPair GetHintQuestionBuffer(CUserItem* user) override;
    void SetHintQuestionBuffer(CUserItem* user, const BYTE* buffer, int length) override;
    BufferPair GetHintBuffer(CUserItem* user) override;
    void SetHintBuffer(CUserItem* user, const BYTE* buffer, int length) override;
    CString GetHint(CUserItem* user) override;
    void SetHint(CUserItem* user, const CString& hint) override;
    int GetLatestView(CUserItem* user) override;
    void SetLatestView(CUserItem* user, int view) override;
    bool GetAutoSubmit(CUserItem* user) override;
    void SetAutoSubmit(CUserItem* user, int value) override;
    bool GetSearchColumns(CUserItem* user) override;
    void SetSearchColumns(CUserItem* user, int value) override;
    bool GetClearClipboardOnExit(CUserItem* user) override;
    void SetClearClipboardOnExit(CUserItem* user, int value) override;
    TimerPair GetClearClipboardTimer(CUserItem* user) override;
    void SetClearClipboardTimer(CUserItem* user, TimerPair timer) override;
    CString GetDisplayName(CUserItem* user) override;
    void SetDisplayName(CUserItem* user) override;
    int GetSyncFileCount(CUserItem* user) override;
    void SetSyncFileCount(CUserItem* user, int count) override;
    void GetSyncFile(CUserItem* user, int index, BYTE* buffer, int size) override;
    void SetSyncFile(CUserItem* user, int index, const BYTE* buffer, int size) override;
    bool GetMinimizeToSystemTray(CUserItem* user) override;
    void SetMinimizeToSystemTray(CUserItem* user, int value) override;
    TimerPair GetClearPasswordTimer(CUserItem* user) override;
    void SetClearPasswordTimer(CUserItem* user, TimerPair timer) override;
    int GetExportImportHint(CUserItem* user) override;
    void SetExportImportHint(CUserItem* user, int hint) override;
    int GetBackupRestoreHint(CUserItem* user) override;
    void SetBackupRestoreHint(CUserItem* user, int hint) override;
    void SetLoginAttemptCount(CUserItem* user, int count) override;
    int GetLoginAttemptCount(CUserItem* user) override;
    int MoveUserSection(const CString& oldSection, CUserItem* user) override;

    // The whole section as its run of zero-terminated "key=value" lines
    // (whatever its size up to the cap): 0, or the read's error with lines
    // empty (core/prefs/ProfileFile.h). Every section name in file order.
    int ReadWholeSection(const CString& section, CString& lines) const;
    std::vector<CString> ReadSectionNames() const;

private:
    // The table's keys (core/prefs/PrefKeys.h) read and written by their type,
    // in the section given or in the user's section; for a null user a key
    // reads as absent and nothing is written.
    int GetNumber(PrefId id, const CString& section) const;
    int GetNumber(PrefId id, CUserItem* user) const;
    bool GetFlag(PrefId id, const CString& section) const;
    bool GetFlag(PrefId id, CUserItem* user) const;
    void SetNumber(PrefId id, const CString& section, int value) const;
    void SetNumber(PrefId id, CUserItem* user, int value) const;
    CString GetText(PrefId id, const CString& section) const;
    CString GetText(PrefId id, CUserItem* user) const;
    bool SetText(PrefId id, const CString& section, const char* text) const;
    bool SetText(PrefId id, CUserItem* user, const char* text) const;
    bool GetBlock(PrefId id, const CString& section, void* out, int size) const;
    bool GetBlock(PrefId id, CUserItem* user, void* out, int size) const;
    void SetBlock(PrefId id, CUserItem* user, const void* data, int size) const;
    TimerPair GetTimer(PrefId id, CUserItem* user) const;
    void SetTimer(PrefId id, CUserItem* user, TimerPair timer) const;
    BufferPair GetBuffer(PrefId lengthId, PrefId blockId, CUserItem* user) const;
    void SetBuffer(PrefId lengthId, PrefId blockId, CUserItem* user, const BYTE* buffer, int length) const;

    CString m_path;
};
