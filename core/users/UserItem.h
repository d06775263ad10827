#pragma once
// The users of the program: stand-alone desktop users and users of a handheld
// device that the platform manager knows. Each carries the 460-byte user
// record exchanged with the platform manager.
#include "core/users/UserRecord.h"
#include "framework/CObject.h"
#include "framework/CList.h"
#include "framework/CString.h"

class CUserItem : public CObject {
public:
    explicit CUserItem(const UserRecord& record);
    ~CUserItem() override;

    CString GetDisplayName() const;
    CString GetKeyName() const;
    // Copies both names into the record and forgets the cached section name.
    // Names that do not fit the record (200 characters or more) or a key name
    // that cannot name a folder (IsUsableKeyName) are refused: false, nothing
    // changed.
    bool SetNames(const CString& displayName, const CString& keyName);

    // "User-" + platform word + "-" + safe key name + "-" + safe display
    // name; built once, then returned from the cache.
    CString GetSectionName();

    // Legacy registry key = prefix + key name; nothing for a null prefix. A
    // key longer than a registry key name may be (255) is refused: false and
    // the legacy key stays as it was.
    bool SetLegacyKey(const char* prefix);
    CString GetLegacyKey() const;
    // The legacy key without "software\corvantide\zorvikan desktop\".
    CString GetLegacyProfileSection() const;

    // The folder the platform manager assigns to the user; empty for a
    // stand-alone user (without asking the platform) or without the export.
    CString GetPlatformRootDir(const char* productName) const;

    // Path of the user's next automatic backup file, rotating through
    // Backup-1.zkv .. Backup-4.zkv, Backup-0.zkv; the file it names is
    // removed first.
    CString GetNextBackupFilePath();

    const UserRecord& GetRecord() const { return m_record; }
    int GetId() const { return m_id; }
    void SetId(int id) { m_id = id; }
    bool IsStandalone() const { return m_standalone; }
    void SetStandalone(bool standalone) { m_standalone = standalone; }

private:
    UserRecord m_record;
    int m_id = 0;
    bool m_standalone = false;
    CString m_legacyKey;
    CString m_sectionName;
};

// The list of all users; owns its items.
class CUserList : public CObList {
public:
    CUserList();
    ~CUserList() override;

    // Has the program's preferences fill this list.
    void LoadUsers(const CString& productName, const CString& legacyKeyPrefix);
    // A new handheld user from the platform; null for an empty, over-long or
    // unusable name (nothing is written then).
    CUserItem* AddNewUser(const CString& displayName, const CString& keyName);
    // The same user made but not yet known: neither in the list nor in the
    // preferences until AddUser takes it (a sync creates its user only once
    // the session has completed). Null for the names AddNewUser refuses.
    static CUserItem* MakeNewUser(const CString& displayName, const CString& keyName);
    // Writes the user's section and appends it; the list owns it from then.
    void AddUser(CUserItem* user);
    // The first user whose key name equals keyName exactly; its display name
    // is updated first when it differs.
    CUserItem* FindByKeyNameAndUpdate(const CString& displayName, const CString& keyName);
    // The first user the platform manager reports active.
    CUserItem* FindActiveUser();
    // The first user whose key name equals name without regard to case, else
    // the first user; null for an empty list.
    CUserItem* FindByKeyNameOrFirst(const CString& name);
    CUserItem* FindById(int id);

    // Deletes every item and empties the list.
    void DeleteAll();
};
