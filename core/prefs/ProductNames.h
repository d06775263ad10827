#pragma once
// The product's names where others find them: its files, the folders of its
// data root and its registry keys. Existing installations rely on every one
// of these texts as they are.

// The product as the platform libraries know it.
constexpr char kProductName[] = "Zorvikan";

// ----- files -----

// A user's database, in the user's folder.
constexpr char kDatabaseFileName[] = "ZorvikanDatabase.zdb";
// In the data root's preferences folder.
constexpr char kPreferencesFileName[] = "Preferences.ini";
constexpr char kEventsLogFileName[] = "EventsLog.xml";
// In the user's folders under the smart types and search history folders.
constexpr char kSmartTypesFileName[] = "SmartTypes.xml";
constexpr char kSearchHistoryFileName[] = "SearchHistory.xml";
// Beside the program.
constexpr char kLanguageLibraryFileName[] = "Zorvikan_Language.dll";
constexpr char kBrowserPluginFileName[] = "ZorvikanToolBar.dll";

// ----- folders -----

// The data root under the documents folder: Corvantide\Zorvikan. The
// product's folder also holds its temporary files in the system's.
constexpr char kMakerFolderName[] = "Corvantide";
constexpr char kProductFolderName[] = "Zorvikan";
// The fixed folders of the data root.
constexpr char kPreferencesFolderName[] = "Preferences";
constexpr char kBackupFolderName[] = "Backup";
constexpr char kSmartTypesFolderName[] = "SmartTypes";
constexpr char kSearchHistoryFolderName[] = "SearchHistory";
constexpr char kInstallersFolderName[] = "Installers";
// In a user's folder.
constexpr char kAttachmentsFolderName[] = "Files";
constexpr char kIconsFolderName[] = "Icons";

// ----- registry, below HKEY_CURRENT_USER -----

// The program's key, the parent of its profile sections.
constexpr char kAppRegistryKey[] = "Software\\Corvantide\\Zorvikan Desktop\\";
// The profile's name in it.
constexpr char kRegistryProfileName[] = "Zorvikan Desktop";
// The single preferences key of the oldest versions, below the program's key.
constexpr char kOlderPreferencesKey[] = "Preferences";
// The same key as the program's, as older versions spelled it (the registry
// ignores case): the root of their preferences and of every user's legacy key.
constexpr char kLegacyRegistryRoot[] = "software\\corvantide\\zorvikan desktop\\";
// A user's legacy key is this with the platform's name, then the user's key name.
constexpr char kLegacyUserKeyFormat[] = "software\\corvantide\\zorvikan desktop\\%s - ";
