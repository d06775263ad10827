#pragma once
// CAppPrefs: the one interface through which the program reads and writes its
// settings. Platform values live in a section the caller names (the platform
// section); user values in the section of the user passed in. A null user
// makes a getter return its no-user value and a setter write nothing.
//
// The operations keep this order: it is the slot order derived classes and
// both deliverables rely on.
#include <cstdint>

#include "framework/CString.h"
#include "framework/ZvTypes.h"

class CUserItem;
class CUserList;
class CShowColumns;

class CAppPrefs {
public:
    // {enabled, minutes} of the two timer settings.
    struct TimerPair {
        int enabled;
        int minutes;
    };
    // A new byte buffer the caller owns (delete[]) and its length; {null, 0}
    // means none.
    struct BufferPair {
        BYTE* buffer;
        int length;
    };

    virtual ~CAppPrefs() {}

    virtual CString GetCurrentUser(const CString& section) = 0;
    virtual void SetCurrentUser(const CString& section, const CString& keyName) = 0;
    virtual void EnumUsers(const CString& productName, const CString& legacyKeyPrefix, CUserList& users) = 0;
    virtual bool AddUser(CUserItem* user) = 0;
    virtual int DeleteUser(CUserItem* user) = 0;
    virtual int DeleteSection(const CString& section) = 0;
    virtual int GetDBVersion(const CString& section) = 0;
    virtual void SetDBVersion(const CString& section, int version) = 0;
    virtual bool GetVirginSync(const CString& section) = 0;
    virtual void SetVirginSync(const CString& section, bool virgin) = 0;
    virtual int GetSyncDirection(const CString& section) = 0;
    virtual void SetSyncDirection(const CString& section, int direction) = 0;
    virtual bool GetShowStatusBar(const CString& section) = 0;
    virtual void SetShowStatusBar(const CString& section, int show) = 0;
    virtual bool GetPasswordRequirements(const CString& section, BYTE block[32]) = 0;
    virtual CString GetPasswordRequirementsMessage(const CString& section) = 0;
    virtual CString GetPasswordRequirementsError(const CString& section) = 0;
    virtual bool GetNoPrint(const CString& section) = 0;
    virtual void SetNoPrint(const CString& section, int noPrint) = 0;
    virtual void GetCurrentType(CUserItem* user, uint8_t key[8]) = 0;
    virtual void SetCurrentType(CUserItem* user, const uint8_t key[8]) = 0;
    virtual void GetCurrentCategory(CUserItem* user, uint8_t key[8]) = 0;
    virtual void SetCurrentCategory(CUserItem* user, const uint8_t key[8]) = 0;
    virtual CString GetWindowPos(CUserItem* user) = 0;
    virtual void SetWindowPos(CUserItem* user, const CString& placement) = 0;
    virtual CShowColumns GetShowColumns(const CString& section, CUserItem* user) = 0;
    virtual void SetShowColumns(const CString& section, CUserItem* user, const CShowColumns& columns) = 0;
    virtual int GetSortInfo(CUserItem* user) = 0;
    virtual void SetSortInfo(CUserItem* user, int sortInfo) = 0;
    virtual bool GetShowingDetails(CUserItem* user) = 0;
    virtual void SetShowingDetails(CUserItem* user, int showing) = 0;
    virtual int GetDetailsPaneWidth(CUserItem* user) = 0;
    virtual void SetDetailsPaneWidth(CUserItem* user, int width) = 0;
    virtual bool GetAutoLock(CUserItem* user) = 0;
    virtual void SetAutoLock(CUserItem* user, int autoLock) = 0;
    virtual bool GetFont(CUserItem* user, BYTE logFont[60]) = 0;
    virtual void SetFont(CUserItem* user, const BYTE logFont[60]) = 0;
    virtual DWORD GetRowColor(CUserItem* user) = 0;
    virtual void SetRowColor(CUserItem* user, DWORD color) = 0;
    virtual int GetSleepMinutes(CUserItem* user) = 0;
    virtual void SetSleepMinutes(CUserItem* user, int minutes) = 0;
    virtual int GetMaxSleepMinutes(CUserItem* user) = 0;
    virtual void SetMaxSleepMinutes(CUserItem* user, int minutes) = 0;
    virtual int GetPasswordGeneratorFlags(CUserItem* user) = 0;
    virtual void SetPasswordGeneratorFlags(CUserItem* user, int flags) = 0;
    virtual bool GetCaseSensitive(CUserItem* user) = 0;
    virtual void SetCaseSensitive(CUserItem* user, int value) = 0;
    virtual bool GetWholeWord(CUserItem* user) = 0;
    virtual void SetWholeWord(CUserItem* user, int value) = 0;
    virtual CString GetUserDirectory(CUserItem* user) = 0;
    virtual bool SetUserDirectory(CUserItem* user, const CString& folder) = 0;
    virtual CString GetBackupDirectory(CUserItem* user) = 0;
    virtual bool SetBackupDirectory(CUserItem* user, const CString& folder) = 0;
    virtual CString GetRestoreDirectory(CUserItem* user) = 0;
    virtual bool SetRestoreDirectory(CUserItem* user, const CString& folder) = 0;
    virtual int GetBackupFileCounter(CUserItem* user) = 0;
    virtual void SetBackupFileCounter(CUserItem* user, int counter) = 0;
    virtual int GetHintQuestionNumber(CUserItem* user) = 0;
    virtual void SetHintQuestionNumber(CUserItem* user, int number) = 0;
    virtual BufferPair GetHintQuestionBuffer(CUserItem* user) = 0;
    virtual void SetHintQuestionBuffer(CUserItem* user, const BYTE* buffer, int length) = 0;
    virtual BufferPair GetHintBuffer(CUserItem* user) = 0;
    virtual void SetHintBuffer(CUserItem* user, const BYTE* buffer, int length) = 0;
    virtual CString GetHint(CUserItem* user) = 0;
    virtual void SetHint(CUserItem* user, const CString& hint) = 0;
    virtual int GetLatestView(CUserItem* user) = 0;
    virtual void SetLatestView(CUserItem* user, int view) = 0;
    virtual bool GetAutoSubmit(CUserItem* user) = 0;
    virtual void SetAutoSubmit(CUserItem* user, int value) = 0;
    virtual bool GetSearchColumns(CUserItem* user) = 0;
    virtual void SetSearchColumns(CUserItem* user, int value) = 0;
    virtual bool GetClearClipboardOnExit(CUserItem* user) = 0;
    virtual void SetClearClipboardOnExit(CUserItem* user, int value) = 0;
    virtual TimerPair GetClearClipboardTimer(CUserItem* user) = 0;
    virtual void SetClearClipboardTimer(CUserItem* user, TimerPair timer) = 0;
    virtual CString GetDisplayName(CUserItem* user) = 0;
    virtual void SetDisplayName(CUserItem* user) = 0;
    virtual int GetSyncFileCount(CUserItem* user) = 0;
    virtual void SetSyncFileCount(CUserItem* user, int count) = 0;
    virtual void GetSyncFile(CUserItem* user, int index, BYTE* buffer, int size) = 0;
    virtual void SetSyncFile(CUserItem* user, int index, const BYTE* buffer, int size) = 0;
    virtual bool GetMinimizeToSystemTray(CUserItem* user) = 0;
    virtual void SetMinimizeToSystemTray(CUserItem* user, int value) = 0;
    virtual TimerPair GetClearPasswordTimer(CUserItem* user) = 0;
    virtual void SetClearPasswordTimer(CUserItem* user, TimerPair timer) = 0;
    virtual int GetExportImportHint(CUserItem* user) = 0;
    virtual void SetExportImportHint(CUserItem* user, int hint) = 0;
    virtual int GetBackupRestoreHint(CUserItem* user) = 0;
    virtual void SetBackupRestoreHint(CUserItem* user, int hint) = 0;
    virtual void SetLoginAttemptCount(CUserItem* user, int count) = 0;
    virtual int GetLoginAttemptCount(CUserItem* user) = 0;
    // Moves a user's settings to the section of its new names: 0, or the
    // error with nothing moved.
    virtual int MoveUserSection(const CString& oldSection, CUserItem* user) = 0;
};

// The all key: stands for all types and all categories in the main window's
// filters, and is what the current type and category read as when unset.
extern const uint8_t kAllItemsKey[8];
