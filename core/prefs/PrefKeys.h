#pragma once
// The preference keys: for each, where it sits, the value name it is stored
// under, how its value is kept and what it reads as when absent. The
// preferences file (CINIAppPrefs) and the older versions' registry
// (CLegacyPrefs) read and write through this one table; a key both keep with
// the same name, type and default is one row for both.

// Where a key sits.
enum class PrefPlace : unsigned char {
    Platform,  // the platform section the caller names
    User,      // the user's section (in the registry: the user's profile section)
    UserKey,   // the user's section in the file; in the registry directly under the user's legacy key
};

// How a value is kept. The file writes numbers as decimal text and blocks in
// its block form; the registry keeps numbers as DWORDs and blocks as binary.
enum class PrefType : unsigned char {
    Int,         // a 32-bit number
    Flag,        // a number, on when not 0
    OneFlag,     // a number, on only when exactly 1
    Timer,       // minutes, off at 0 or less; off reads as the default minutes
    IntBlock,    // a 32-bit number as a 4-byte block, lowest byte first
    Block,       // bytes of the size the caller gives
    Text,        // a text; the file's reader stops at its text limit
    Folder,      // a folder's path, read whole however long: a cut one would name another folder
    StoredFlag,  // the registry only: on when present, unless it is a DWORD 0
};

// Which store keeps the key.
enum class PrefStore : unsigned char {
    File = 1,
    Registry = 2,
    Both = 3,
};

// One row per key; the rows lie in this order.
enum class PrefId : int {
    // platform section
    CurrentUser,
    DBVersion,
    LegacyDBVersion,
    VirginSync,
    LegacyVirginSync,
    SyncDirection,
    ShowStatusBar,
    LegacyShowStatusBar,
    PasswordRequirements,
    PasswordRequirementsMessage,
    PasswordRequirementsError,
    NoPrint,
    LegacyNoPrint,
    // the user's section, or key
    CurrentType,
    CurrentCategory,
    WindowPos,
    ShowColumns,
    SortInfo,
    ShowingDetails,
    DetailsPaneWidth,
    AutoLock,
    LegacyAutoLock,
    Font,
    RowColor,
    SleepMinutes,
    MaxSleepMinutes,
    PasswordGeneratorFlags,
    CaseSensitive,
    LegacyCaseSensitive,
    WholeWord,
    LegacyWholeWord,
    ClearClipboardTimer,
    SyncFileCount,
    SyncFile,
    MinimizeToSystemTray,
    ClearPasswordTimer,
    ExportImportHint,
    BackupRestoreHint,
    LoginAttemptCount,
    UserDirectory,
    BackupDirectory,
    RestoreDirectory,
    BackupFileCounter,
    HintQuestionNumber,
    LegacyHintQuestionNumber,
    HintQuestionBufferLength,
    HintQuestionBuffer,
    HintBufferLength,
    HintBuffer,
    Hint,
    LatestView,
    AutoSubmit,
    LegacyAutoSubmit,
    SearchColumns,
    LegacySearchColumns,
    ClearClipboardOnExit,
    LegacyClearClipboardOnExit,
    DisplayName,
    Count
};

struct PrefKey {
    PrefId id;
    const char* name;  // as stored; "SyncFile%d" is numbered per file
    PrefPlace place;
    PrefType type;
    int defaultValue;  // numbers only; absent texts read empty, absent blocks as not there
    PrefStore store;
};

const int kPrefKeyCount = static_cast<int>(PrefId::Count);

const PrefKey& PrefKeyOf(PrefId id);

inline const char* PrefNameOf(PrefId id) { return PrefKeyOf(id).name; }

// Whether a number stored under a flag key reads as on.
bool PrefFlagIsOn(const PrefKey& key, int value);

inline bool IsKeptIn(const PrefKey& key, PrefStore store)
{
    return (static_cast<unsigned>(key.store) & static_cast<unsigned>(store)) != 0;
}
