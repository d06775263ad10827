#include "core/prefs/PrefKeys.h"

namespace {

constexpr PrefPlace Platform = PrefPlace::Platform;
constexpr PrefPlace User = PrefPlace::User;
constexpr PrefPlace UserKey = PrefPlace::UserKey;

constexpr PrefType Int = PrefType::Int;
constexpr PrefType Flag = PrefType::Flag;
constexpr PrefType OneFlag = PrefType::OneFlag;
constexpr PrefType Timer = PrefType::Timer;
constexpr PrefType IntBlock = PrefType::IntBlock;
constexpr PrefType Block = PrefType::Block;
constexpr PrefType Text = PrefType::Text;
constexpr PrefType Folder = PrefType::Folder;
constexpr PrefType StoredFlag = PrefType::StoredFlag;

constexpr PrefStore File = PrefStore::File;
constexpr PrefStore Registry = PrefStore::Registry;
constexpr PrefStore Both = PrefStore::Both;

// Where the file and the registry differ in a key's type or default, each has
// its own row under the same name.
constexpr PrefKey kRows[] = {
    // id                                value name                       place     type        default     kept in
    {PrefId::CurrentUser, "Current User", Platform, Text, 0, Both},
    {PrefId::DBVersion, "DBVersion", Platform, Int, -1, File},
    {PrefId::LegacyDBVersion, "DBVersion", Platform, Int, 5, Registry},
    // The file keeps 2 for virgin, 1 for not.
    {PrefId::VirginSync, "Virgin Sync", Platform, Int, 2, File},
    {PrefId::LegacyVirginSync, "Virgin Sync", Platform, Flag, -1, Registry},
    {PrefId::SyncDirection, "Sync Direction", Platform, Int, -1, Both},
    {PrefId::ShowStatusBar, "Show Status bar", Platform, Flag, 0, File},
    {PrefId::LegacyShowStatusBar, "Show Status bar", Platform, Flag, -1, Registry},
    {PrefId::PasswordRequirements, "Password requirements", Platform, Block, 0, Both},
    {PrefId::PasswordRequirementsMessage, "Password requirements message", Platform, Text, 0, Both},
    {PrefId::PasswordRequirementsError, "Password requirements error", Platform, Text, 0, Both},
    {PrefId::NoPrint, "NoPrint", Platform, OneFlag, 0, File},
    {PrefId::LegacyNoPrint, "NoPrint", Platform, StoredFlag, 0, Registry},

    {PrefId::CurrentType, "Current Type", User, Block, 0, Both},
    {PrefId::CurrentCategory, "Current CategoryID", User, Block, 0, Both},
    {PrefId::WindowPos, "Winpos", User, Text, 0, Both},
    {PrefId::ShowColumns, "Show Columns2", User, Block, 0, Both},
    {PrefId::SortInfo, "Sort Info", User, IntBlock, 0x00010003, Both},
    {PrefId::ShowingDetails, "Showing Details", User, Flag, 1, Both},
    {PrefId::DetailsPaneWidth, "Details Pane Width", User, Int, 250, Both},
    {PrefId::AutoLock, "Auto Lock", User, OneFlag, 0, File},
    {PrefId::LegacyAutoLock, "Auto Lock", User, Flag, -1, Registry},
    {PrefId::Font, "Font", User, Block, 0, Both},
    {PrefId::RowColor, "Row Color", User, IntBlock, 0xFFFFFF, Both},
    {PrefId::SleepMinutes, "Sleep Minutes", User, Int, 10, Both},
    {PrefId::MaxSleepMinutes, "Max Sleep Minutes", User, Int, 60, Both},
    {PrefId::PasswordGeneratorFlags, "Password generator flags", User, Int, 0xFFFF, Both},
    {PrefId::CaseSensitive, "Case Sensitive", User, OneFlag, 0, File},
    {PrefId::LegacyCaseSensitive, "Case Sensitive", User, Flag, 0, Registry},
    {PrefId::WholeWord, "Whole Word", User, OneFlag, 0, File},
    {PrefId::LegacyWholeWord, "Whole Word", User, Flag, 0, Registry},
    {PrefId::ClearClipboardTimer, "ClearClipboardOnTimer", User, Timer, 1, File},
    {PrefId::SyncFileCount, "SyncFileCount", User, Int, 0, File},
    {PrefId::SyncFile, "SyncFile%d", User, Block, 0, File},
    {PrefId::MinimizeToSystemTray, "MinimizeToSystemTray", User, OneFlag, 0, File},
    {PrefId::ClearPasswordTimer, "ClearPasswordTime", User, Timer, 30, File},
    {PrefId::ExportImportHint, "ExportImportHint", User, IntBlock, 0x00010001, File},
    {PrefId::BackupRestoreHint, "BackupRestoreHint", User, IntBlock, 0x00010001, File},
    {PrefId::LoginAttemptCount, "Login Attempt Count", User, Int, 0, File},
    {PrefId::UserDirectory, "User Directory", UserKey, Folder, 0, Both},
    {PrefId::BackupDirectory, "Backup Directory", UserKey, Folder, 0, Both},
    {PrefId::RestoreDirectory, "Restore Directory", UserKey, Folder, 0, Both},
    {PrefId::BackupFileCounter, "Current Backup File Counter", UserKey, Int, 0, Both},
    {PrefId::HintQuestionNumber, "Hint question number", User, Int, -1, File},
    {PrefId::LegacyHintQuestionNumber, "Hint question number", UserKey, Int, 0, Registry},
    {PrefId::HintQuestionBufferLength, "Hint Question buffer length", User, Int, -1, File},
    {PrefId::HintQuestionBuffer, "Hint Question buffer", UserKey, Block, 0, Both},
    {PrefId::HintBufferLength, "Hint buffer length", User, Int, -1, File},
    {PrefId::HintBuffer, "Hint buffer", UserKey, Block, 0, Both},
    {PrefId::Hint, "Hint", UserKey, Text, 0, Both},
    {PrefId::LatestView, "latestView", UserKey, Int, 0, Both},
    {PrefId::AutoSubmit, "Auto Submit", User, OneFlag, 0, File},
    {PrefId::LegacyAutoSubmit, "Auto Submit", UserKey, StoredFlag, 0, Registry},
    {PrefId::SearchColumns, "SearchColumns", User, OneFlag, 0, File},
    {PrefId::LegacySearchColumns, "SearchColumns", UserKey, StoredFlag, 0, Registry},
    {PrefId::ClearClipboardOnExit, "ClearClipboardOnExit", User, OneFlag, 0, File},
    {PrefId::LegacyClearClipboardOnExit, "ClearClipboardOnExit", UserKey, Flag, 0, Registry},
    {PrefId::DisplayName, "DisplayName", UserKey, Text, 0, Both},
};

constexpr bool RowsFollowTheIds()
{
    for (int i = 0; i < kPrefKeyCount; ++i)
        if (static_cast<int>(kRows[i].id) != i) return false;
    return true;
}

static_assert(sizeof(kRows) / sizeof(kRows[0]) == kPrefKeyCount, "one row per key");
static_assert(RowsFollowTheIds(), "the rows lie in the order of their ids");

}  // namespace

const PrefKey& PrefKeyOf(PrefId id) { return kRows[static_cast<int>(id)]; }

bool PrefFlagIsOn(const PrefKey& key, int value) { return key.type == PrefType::OneFlag ? value == 1 : value != 0; }
