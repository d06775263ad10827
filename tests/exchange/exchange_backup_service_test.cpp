// The backup service with the user's folders and counter from the
// preferences, as the main view calls it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/services/BackupService.h"
#include "core/items/Record.h"
#include "core/os/FileSystemOs.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/users/UserItem.h"
#include "exchange/ExchangeIds.h"
#include "exchange/backup/ExchangeBackupService.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace fs = std::filesystem;

namespace {

using zvtest::WinPath;

void AddRecord(CDatabaseObj& db, const char* type, const char* first)
{
    CStringArray values;
    values.Add(type);
    values.Add(first);
    db.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
}

TEST(BackupService, TheServiceKeepsTheCounterInTheUsersPreferences)
{
    zvtest::ScratchDir root("backup-root");
    auto manager = std::make_shared<CAppPrefMgr>(WinPath(root.Path()));
    zvtest::ScopedReplace prefs(&CAppPrefMgr::ReplaceInstance, manager);
    CUserItem user(zvtest::MakeUserRecord("Ann", "Ann", 3));
    manager->GetPrefs()->SetBackupFileCounter(&user, 4);
    CDatabaseObj db;
    AddRecord(db, "Kind", "one");
    CExchangeBackupService service;
    service.BackupOnExit(db, &user);
    EXPECT_EQ(manager->GetPrefs()->GetBackupFileCounter(&user), 0);
    const fs::path folder(zvos::NativePath(manager->GetUserBackupDirectory(&user).Std()));
    EXPECT_TRUE(fs::is_regular_file(folder / "Backup-0.zkv" / "Backup-0.zkv"));
    // An empty database changes nothing.
    CDatabaseObj empty;
    service.BackupOnExit(empty, &user);
    EXPECT_EQ(manager->GetPrefs()->GetBackupFileCounter(&user), 0);
}

TEST(BackupService, TheServiceNamesItsMessages)
{
    zvtest::ScratchDir dir;
    dir.WriteFile("empty.zkv", "Zorvikan Zkv File -v4.0\r\nF\r\n");
    CExchangeBackupService service;
    CDatabaseObj db;
    AddRecord(db, "Kind", "kept");
    IBackupService::RestoreOutcome r = service.Restore(db, nullptr, WinPath(dir / "empty.zkv"), nullptr);
    EXPECT_FALSE(r.restored);
    EXPECT_EQ(r.messageId, IDS_IMPORT_READ_ERROR);
    EXPECT_EQ(r.messageText, CString("There was an error reading the import file."));
    EXPECT_EQ(service.MessageText(IDS_EXPORT_WRITE_ERROR),
              CString("There was an error writing to the export file. Make sure you have enough disk space and/or you "
                      "didn't specify a read-only location."));
    // The installed service is the one the view finds.
    {
        CScopedBackupService installed(&service);
        EXPECT_EQ(GetBackupService(), &service);
    }
    EXPECT_EQ(GetBackupService(), nullptr);
}

}  // namespace
