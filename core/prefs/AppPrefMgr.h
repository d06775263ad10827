#pragma once
// CAppPrefMgr: where the program's data lives. At first use it picks the data
// root (the current directory when that lies on a removable drive, else
// Documents\Corvantide\Zorvikan), creates "Preferences", "Backup",
// "SmartTypes" and "SearchHistory" under it, owns the one preferences object
// and computes every per-user folder and file.
#include <memory>

#include "core/os/ProcessWide.h"
#include "framework/ZvTypes.h"

#include "framework/CString.h"

class CAppPrefs;
class CLegacyPrefs;
class CUserItem;

class CAppPrefMgr {
public:
    // The process-wide instance, built on the first call.
    static std::shared_ptr<CAppPrefMgr> GetInstance();
    // Puts another instance in place and returns the one it replaces; tests
    // use it to run against a scratch data root.
    static std::shared_ptr<CAppPrefMgr> ReplaceInstance(std::shared_ptr<CAppPrefMgr> instance);

    // Picks the data root as the program does.
    CAppPrefMgr();
    // Uses the given data root (creating the four fixed folders under it).
    explicit CAppPrefMgr(const CString& dataRoot, int removable = 0);

    // The data root the program runs with: the current directory when it lies
    // on a removable drive, else the root under the documents folder (made
    // level by level). removable tells which was taken.
    static CString ChooseDataRoot(const CString& currentDirectory, bool currentIsRemovable,
                                  const CString& documentsFolder, int& removable);
    // The default data root under the documents folder, each level created.
    static CString GetDocumentsDataRoot();
    // The same below a given documents folder.
    static CString MakeDataRootUnder(const CString& documentsFolder);

    // The preferences object, read from the preferences file at first use.
    std::shared_ptr<CAppPrefs> GetPrefs();
    // Installs another preferences object (the start-up's migration does).
    void SetPrefs(std::shared_ptr<CAppPrefs> prefs);

    const CString& GetDataRoot() const { return m_dataRoot; }
    int IsRemovable() const { return m_removable; }
    const CString& GetPreferencesFilePath() const { return m_prefsPath; }
    const CString& GetEventsLogPath() const { return m_eventsLogPath; }
    const CString& GetSmartTypesRoot() const { return m_smartTypesRoot; }
    const CString& GetSearchHistoryRoot() const { return m_searchHistoryRoot; }
    const CString& GetBackupRoot() const { return m_backupRoot; }

    // Per-user paths; empty for a null user. A user whose key name cannot name
    // a folder (IsUsableKeyName) has no default folders: those paths are empty.
    CString GetUserDirectory(CUserItem* user);
    CString GetDatabasePath(CUserItem* user);
    CString GetAttachmentsDirectory(CUserItem* user);
    CString GetIconsDirectory(CUserItem* user);
    CString GetUserBackupDirectory(CUserItem* user);
    CString GetBackupFolderOrDocuments(CUserItem* user);
    CString GetSmartTypesPath(CUserItem* user);
    CString GetSearchHistoryPath(CUserItem* user);
    CString GetUserSmartTypesFolder(CUserItem* user);
    CString GetUserSearchHistoryFolder(CUserItem* user);
    static CString GetTempDirectory();
    bool HasCustomUserDirectory(CUserItem* user);
    bool HasCustomBackupDirectory(CUserItem* user);

    // Renames the user, its data folder, its default backup folder and its
    // preference section. 0 on success. A refused name (see
    // CUserItem::SetNames) or a folder that cannot be renamed gives -1 and
    // leaves the user, its folders and its section as they were.
    int RenameUser(CUserItem* user, const CString& displayName, const CString& keyName);
    // Deletes the user's folders and preference section. The data root, any
    // folder above it and the fixed folders under it are never deleted: such
    // a folder is left and the result is -1; 0 when everything went.
    int DeleteUserData(CUserItem* user);

    // True when deleting path would take the data root, a folder above it or
    // one of the fixed folders under it.
    bool IsProtectedPath(const CString& path) const;

    // ---- Preference copy (windows build) ----
    // Installs a fresh preferences-file object; when the older versions'
    // registry key exists and the preferences file does not, moves every
    // registry user and setting into it. 1 when it migrated, else 0.
    int MigrateLegacyPreferences(const CString& section, std::shared_ptr<CLegacyPrefs> legacy);
    // Copies the application section and the user (all users when null) from
    // this manager's preferences file into another one. Always 1.
    int CopyPreferencesTo(const CString& section, const CString& targetPath, CUserItem* user);
    // Copies every user the source enumerates (mode: kPrefCopyMigrate or
    // kPrefCopyCopy of PreferenceCopy.h).
    void CopyAllUsers(const CString& section, int mode, CAppPrefs& source, CAppPrefs& target);

    // ---- Installer prompts (windows build) ----
    // Asks whether to install, finds the installer (the given path, else
    // Locate...), runs it and waits. 0 when the user says No or nothing ran.
    int OfferBonjourInstall(HWND parent, const CString& installerPath);
    int OfferWebUpdateInstall(HWND parent, const CString& installerPath);
    // The installer on a removable disk's "Installers" folder, else one the
    // user chooses; empty when there is none.
    CString LocateBonjourInstaller(HWND parent);
    CString LocateWebUpdateInstaller(HWND parent);

private:
    void MakeFixedFolders();
    CString SafeKeyFolder(const CString& root, CUserItem* user, bool create);
    std::shared_ptr<CAppPrefs> MakePrefs() const;

    CProcessWide<CAppPrefs> m_prefs{[this] { return MakePrefs(); }};
    CString m_dataRoot;
    CString m_prefsPath;
    CString m_eventsLogPath;
    CString m_smartTypesRoot;
    CString m_searchHistoryRoot;
    CString m_backupRoot;
    int m_removable = 0;
};
