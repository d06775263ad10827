// The preferences file through the system's private-profile functions, in a
// scratch data root.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/prefs/INIAppPrefs.h"
#include "core/items/ShowColumns.h"
#include "core/users/UserItem.h"
#include "tests/support/ScratchDir.h"
#include "tests/core/UserRecordTestSupport.h"

namespace fs = std::filesystem;

namespace {

const char kApp[] = "Preferences iPhone";

const auto& Record = zvtest::MakeUserRecord;

// The raw "key=value" texts of one section of an INI file, read by hand.
std::map<std::string, std::string> RawSection(const fs::path& file, const std::string& section)
{
    std::map<std::string, std::string> values;
    std::string text = zvtest::ReadFileBytes(file);
    bool inside = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[')
            inside = line == "[" + section + "]";
        else if (inside && line.find('=') != std::string::npos)
            values[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        pos = end + 1;
    }
    return values;
}

// A data root of its own, installed as the program's environment.
class ScratchPrefs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        m_prefs = m_manager->GetPrefs();
    }
    void TearDown() override { CAppPrefMgr::ReplaceInstance(m_previous); }

    fs::path IniPath() const { return fs::path(m_manager->GetPreferencesFilePath().GetString()); }
    void UseFixture(const char* name) { fs::copy_file(zvtest::FixturePath(std::string("prefs/") + name), IniPath()); }

    zvtest::ScratchDir m_root{"prefs"};
    std::shared_ptr<CAppPrefMgr> m_manager;
    std::shared_ptr<CAppPrefMgr> m_previous;
    std::shared_ptr<CAppPrefs> m_prefs;
};

TEST_F(ScratchPrefs, MissingFileReadsAsAllDefaults)
{
    CUserItem user(Record("Standalone", "_Standalone_", 3));
    CAppPrefs& p = *m_prefs;
    EXPECT_EQ(p.GetCurrentUser(kApp), "");
    EXPECT_EQ(p.GetDBVersion(kApp), -1);
    EXPECT_TRUE(p.GetVirginSync(kApp));
    EXPECT_EQ(p.GetSyncDirection(kApp), 2);
    EXPECT_FALSE(p.GetShowStatusBar(kApp));
    BYTE req[32];
    std::memset(req, 0xAB, sizeof(req));
    EXPECT_FALSE(p.GetPasswordRequirements(kApp, req));
    EXPECT_EQ(req[0], 0xAB);
    EXPECT_EQ(p.GetPasswordRequirementsMessage(kApp), "");
    EXPECT_EQ(p.GetPasswordRequirementsError(kApp), "");
    EXPECT_FALSE(p.GetNoPrint(kApp));

    uint8_t key[8];
    p.GetCurrentType(&user, key);
    EXPECT_EQ(0, std::memcmp(key, kAllItemsKey, 8));
    p.GetCurrentCategory(&user, key);
    EXPECT_EQ(0, std::memcmp(key, kAllItemsKey, 8));
    EXPECT_EQ(p.GetWindowPos(&user), "");
    EXPECT_EQ(p.GetSortInfo(&user), 0x00010003);
    EXPECT_TRUE(p.GetShowingDetails(&user));
    EXPECT_EQ(p.GetDetailsPaneWidth(&user), 250);
    EXPECT_FALSE(p.GetAutoLock(&user));
    BYTE font[60] = {};
    EXPECT_FALSE(p.GetFont(&user, font));
    EXPECT_EQ(p.GetRowColor(&user), 0xFFFFFFu);
    EXPECT_EQ(p.GetSleepMinutes(&user), 10);
    EXPECT_EQ(p.GetMaxSleepMinutes(&user), 60);
    EXPECT_EQ(p.GetPasswordGeneratorFlags(&user), 0xFFFF);
    EXPECT_FALSE(p.GetCaseSensitive(&user));
    EXPECT_FALSE(p.GetWholeWord(&user));
    EXPECT_EQ(p.GetUserDirectory(&user), "");
    EXPECT_EQ(p.GetBackupDirectory(&user), "");
    EXPECT_EQ(p.GetRestoreDirectory(&user), "");
    EXPECT_EQ(p.GetBackupFileCounter(&user), 0);
    EXPECT_EQ(p.GetHintQuestionNumber(&user), -1);
    EXPECT_EQ(p.GetHintQuestionBuffer(&user).buffer, nullptr);
    EXPECT_EQ(p.GetHintBuffer(&user).length, 0);
    EXPECT_EQ(p.GetHint(&user), "");
    EXPECT_EQ(p.GetLatestView(&user), 0);
    EXPECT_FALSE(p.GetAutoSubmit(&user));
    EXPECT_FALSE(p.GetSearchColumns(&user));
    EXPECT_FALSE(p.GetClearClipboardOnExit(&user));
    EXPECT_EQ(p.GetClearClipboardTimer(&user).enabled, 0);
    EXPECT_EQ(p.GetClearClipboardTimer(&user).minutes, 1);
    EXPECT_EQ(p.GetDisplayName(&user), "");
    EXPECT_EQ(p.GetSyncFileCount(&user), 0);
    EXPECT_FALSE(p.GetMinimizeToSystemTray(&user));
    EXPECT_EQ(p.GetClearPasswordTimer(&user).enabled, 0);
    EXPECT_EQ(p.GetClearPasswordTimer(&user).minutes, 30);
    EXPECT_EQ(p.GetExportImportHint(&user), 0x00010001);
    EXPECT_EQ(p.GetBackupRestoreHint(&user), 0x00010001);
    EXPECT_EQ(p.GetLoginAttemptCount(&user), 0);
    uint8_t columns[CShowColumns::kStoredSize], defaults[CShowColumns::kStoredSize];
    p.GetShowColumns(kApp, &user).WriteBytes(columns);
    DefaultShowColumns().WriteBytes(defaults);
    EXPECT_EQ(0, std::memcmp(columns, defaults, sizeof(columns)));
    EXPECT_FALSE(fs::exists(IniPath()));
}

TEST_F(ScratchPrefs, NullUserGivesNoUserValuesAndWritesNothing)
{
    CAppPrefs& p = *m_prefs;
    uint8_t key[8] = {};
    p.GetCurrentType(nullptr, key);
    EXPECT_EQ(0, std::memcmp(key, kAllItemsKey, 8));
    EXPECT_EQ(p.GetSortInfo(nullptr), 0x00010003);
    EXPECT_TRUE(p.GetShowingDetails(nullptr));
    EXPECT_EQ(p.GetDetailsPaneWidth(nullptr), 250);
    EXPECT_TRUE(p.GetAutoLock(nullptr));
    EXPECT_EQ(p.GetSleepMinutes(nullptr), 60);
    EXPECT_EQ(p.GetMaxSleepMinutes(nullptr), -1);
    EXPECT_EQ(p.GetPasswordGeneratorFlags(nullptr), -1);
    EXPECT_EQ(p.GetClearClipboardTimer(nullptr).minutes, 0);
    EXPECT_EQ(p.GetClearPasswordTimer(nullptr).minutes, 0);
    EXPECT_EQ(p.GetExportImportHint(nullptr), 0);
    EXPECT_EQ(p.GetBackupRestoreHint(nullptr), 0);
    EXPECT_EQ(p.GetRowColor(nullptr), 0xFFFFFFu);
    EXPECT_FALSE(p.AddUser(nullptr));
    EXPECT_FALSE(p.SetUserDirectory(nullptr, "C:\\x"));
    EXPECT_FALSE(p.SetBackupDirectory(nullptr, "C:\\x"));
    EXPECT_FALSE(p.SetRestoreDirectory(nullptr, "C:\\x"));
    p.SetSortInfo(nullptr, 5);
    p.SetSleepMinutes(nullptr, 5);
    p.SetHint(nullptr, "h");
    BYTE b[4] = {1, 2, 3, 4};
    p.SetHintBuffer(nullptr, b, 4);
    p.SetSyncFile(nullptr, 0, b, 4);
    p.SetShowColumns(kApp, nullptr, DefaultShowColumns());
    p.MoveUserSection("User-Standalone-a-a", nullptr);
    EXPECT_FALSE(fs::exists(IniPath()));
}

TEST_F(ScratchPrefs, FixtureValuesReadBack)
{
    UseFixture("values.ini");
    CUserItem user(Record("Standalone", "_Standalone_", 3));
    CAppPrefs& p = *m_prefs;
    EXPECT_EQ(p.GetCurrentUser(kApp), "Work");
    EXPECT_EQ(p.GetDBVersion(kApp), 7);
    EXPECT_FALSE(p.GetVirginSync(kApp));
    EXPECT_EQ(p.GetSyncDirection(kApp), 1);
    EXPECT_TRUE(p.GetShowStatusBar(kApp));
    EXPECT_TRUE(p.GetNoPrint(kApp));
    BYTE req[32];
    ASSERT_TRUE(p.GetPasswordRequirements(kApp, req));
    for (int i = 0; i < 32; ++i) EXPECT_EQ(req[i], i + 1);
    EXPECT_EQ(p.GetPasswordRequirementsMessage(kApp), "At least 8 characters");
    EXPECT_EQ(p.GetPasswordRequirementsError(kApp), "Too short");

    uint8_t key[8];
    p.GetCurrentType(&user, key);
    const uint8_t type[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(0, std::memcmp(key, type, 8));
    p.GetCurrentCategory(&user, key);  // written in lower case
    const uint8_t category[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    EXPECT_EQ(0, std::memcmp(key, category, 8));
    EXPECT_EQ(p.GetWindowPos(&user), "0 1 2 3 4");
    EXPECT_EQ((unsigned)p.GetSortInfo(&user), 0x80000002u);
    EXPECT_FALSE(p.GetShowingDetails(&user));
    EXPECT_EQ(p.GetDetailsPaneWidth(&user), 250);  // stored -5
    EXPECT_EQ(p.GetRowColor(&user), 0xFFu);
    // Sleep 45 with a maximum of 30: the maximum, and auto-lock forced on.
    EXPECT_EQ(p.GetMaxSleepMinutes(&user), 30);
    EXPECT_EQ(p.GetSleepMinutes(&user), 30);
    EXPECT_TRUE(p.GetAutoLock(&user));
    EXPECT_EQ(p.GetPasswordGeneratorFlags(&user), 12);
    EXPECT_FALSE(p.GetCaseSensitive(&user));  // stored 2: true only for 1
    EXPECT_TRUE(p.GetWholeWord(&user));
    EXPECT_EQ(p.GetUserDirectory(&user), "D:\\Data\\Mine");
    EXPECT_EQ(p.GetBackupDirectory(&user), "E:\\Backups");
    EXPECT_EQ(p.GetRestoreDirectory(&user), "F:\\Restore");
    EXPECT_EQ(p.GetBackupFileCounter(&user), 3);
    EXPECT_EQ(p.GetHintQuestionNumber(&user), 2);
    // A length of 100000 from the file is not believed.
    CAppPrefs::BufferPair question = p.GetHintQuestionBuffer(&user);
    EXPECT_EQ(question.buffer, nullptr);
    EXPECT_EQ(question.length, 0);
    CAppPrefs::BufferPair hint = p.GetHintBuffer(&user);
    ASSERT_NE(hint.buffer, nullptr);
    ASSERT_EQ(hint.length, 3);
    EXPECT_EQ(0, std::memcmp(hint.buffer, "ABC", 3));
    delete[] hint.buffer;
    EXPECT_EQ(p.GetHint(&user), "old hint");
    EXPECT_EQ(p.GetLatestView(&user), 2);
    EXPECT_TRUE(p.GetAutoSubmit(&user));
    EXPECT_TRUE(p.GetSearchColumns(&user));
    EXPECT_TRUE(p.GetClearClipboardOnExit(&user));
    EXPECT_EQ(p.GetClearClipboardTimer(&user).enabled, 1);
    EXPECT_EQ(p.GetClearClipboardTimer(&user).minutes, 5);
    EXPECT_EQ(p.GetDisplayName(&user), "Standalone");
    EXPECT_EQ(p.GetSyncFileCount(&user), 1);
    BYTE sync[4] = {};
    p.GetSyncFile(&user, 0, sync, 4);
    EXPECT_EQ(0, std::memcmp(sync, "sync", 4));
    BYTE untouched[4] = {9, 9, 9, 9};
    p.GetSyncFile(&user, 0, untouched, 3);  // wrong size: damaged
    EXPECT_EQ(untouched[0], 9);
    EXPECT_TRUE(p.GetMinimizeToSystemTray(&user));
    EXPECT_EQ(p.GetClearPasswordTimer(&user).enabled, 0);
    EXPECT_EQ(p.GetClearPasswordTimer(&user).minutes, 30);
    EXPECT_EQ(p.GetExportImportHint(&user), 0);
    EXPECT_EQ(p.GetBackupRestoreHint(&user), 7);
    EXPECT_EQ(p.GetLoginAttemptCount(&user), 0);  // stored -3
}

TEST_F(ScratchPrefs, DamagedBlocksReadAsAbsent)
{
    UseFixture("values.ini");
    CUserItem work(Record("Work phone", "Work", 5));
    CAppPrefs& p = *m_prefs;
    uint8_t key[8];
    p.GetCurrentType(&work, key);  // one digit changed by hand
    EXPECT_EQ(0, std::memcmp(key, kAllItemsKey, 8));
    EXPECT_EQ(p.GetSortInfo(&work), 0x00010003);  // no checksum
    // "Hint buffer length" 4 with a 3-byte block.
    EXPECT_EQ(p.GetHintBuffer(&work).buffer, nullptr);
    EXPECT_EQ(p.GetClearClipboardTimer(&work).enabled, 0);
    EXPECT_EQ(p.GetClearClipboardTimer(&work).minutes, 1);
    EXPECT_EQ(p.GetClearPasswordTimer(&work).enabled, 1);
    EXPECT_EQ(p.GetClearPasswordTimer(&work).minutes, 15);
}

TEST_F(ScratchPrefs, ValuesAreWrittenInTheirFileForms)
{
    CUserItem user(Record("Standalone", "_Standalone_", 3));
    CAppPrefs& p = *m_prefs;
    p.SetCurrentUser(kApp, "_Standalone_");
    p.SetCurrentUser(kApp, "");  // writes nothing
    p.SetVirginSync(kApp, false);
    p.SetSyncDirection(kApp, -1);
    p.SetSortInfo(&user, 0x00010003);
    p.SetRowColor(&user, 0x00FFFFFF);
    const uint8_t type[8] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    p.SetCurrentType(&user, type);
    p.SetDetailsPaneWidth(&user, 300);
    p.SetDetailsPaneWidth(&user, 0);  // writes nothing
    p.SetLoginAttemptCount(&user, 4);
    p.SetLoginAttemptCount(&user, 11);  // writes nothing
    p.SetClearClipboardTimer(&user, {1, 7});
    p.SetClearPasswordTimer(&user, {0, 12});
    const BYTE hint[3] = {'A', 'B', 'C'};
    p.SetHintBuffer(&user, hint, 3);
    p.SetExportImportHint(&user, 0x00010001);
    EXPECT_TRUE(p.AddUser(&user));

    std::map<std::string, std::string> app = RawSection(IniPath(), kApp);
    EXPECT_EQ(app["Current User"], "_Standalone_");
    EXPECT_EQ(app["Virgin Sync"], "1");
    EXPECT_EQ(app["Sync Direction"], "-1");
    std::map<std::string, std::string> u = RawSection(IniPath(), "User-Standalone-_Standalone_-Standalone");
    EXPECT_EQ(u["Sort Info"], "0300010004");
    EXPECT_EQ(u["Row Color"], "FFFFFF00FD");
    EXPECT_EQ(u["Current Type"], "000000000000FFFFFE");
    EXPECT_EQ(u["Details Pane Width"], "300");
    EXPECT_EQ(u["Login Attempt Count"], "4");
    EXPECT_EQ(u["ClearClipboardOnTimer"], "7");
    EXPECT_EQ(u["ClearPasswordTime"], "0");
    EXPECT_EQ(u["Hint buffer length"], "3");
    EXPECT_EQ(u["Hint buffer"], "414243C6");
    EXPECT_EQ(u["ExportImportHint"], "0100010002");
    EXPECT_EQ(u["DisplayName"], "Standalone");

    // Read back through the interface.
    EXPECT_TRUE(p.GetVirginSync(kApp) == false);
    EXPECT_EQ(p.GetSyncDirection(kApp), 2);  // a stored -1 reads as 2
    EXPECT_EQ(p.GetDetailsPaneWidth(&user), 300);
    EXPECT_EQ(p.GetLoginAttemptCount(&user), 4);
    p.SetVirginSync(kApp, true);
    EXPECT_TRUE(p.GetVirginSync(kApp));
    EXPECT_EQ(RawSection(IniPath(), kApp)["Virgin Sync"], "2");
}

TEST_F(ScratchPrefs, HintIsRemovedByAnEmptyText)
{
    CUserItem user(Record("Standalone", "_Standalone_", 3));
    m_prefs->SetHint(&user, "remember");
    EXPECT_EQ(m_prefs->GetHint(&user), "remember");
    m_prefs->SetHint(&user, "");
    EXPECT_EQ(m_prefs->GetHint(&user), "");
    EXPECT_EQ(RawSection(IniPath(), user.GetSectionName().GetString()).count("Hint"), 0u);
}

// A folder longer than the text limit reads in full: cut after its 259th
// character it would name the parent folder.
TEST_F(ScratchPrefs, LongFoldersReadInFull)
{
    CUserItem user(Record("Standalone", "_Standalone_", 3));
    const std::string parent = "C:\\" + std::string(255, 'a') + "\\";
    ASSERT_EQ(parent.size(), 259u);
    const CString folder((parent + "Zorvikan").c_str());
    const CString tooLong(std::string(40000, 'b').c_str());
    struct Case {
        bool (CAppPrefs::*set)(CUserItem*, const CString&);
        CString (CAppPrefs::*get)(CUserItem*);
    };
    const Case cases[] = {{&CAppPrefs::SetUserDirectory, &CAppPrefs::GetUserDirectory},
                          {&CAppPrefs::SetBackupDirectory, &CAppPrefs::GetBackupDirectory},
                          {&CAppPrefs::SetRestoreDirectory, &CAppPrefs::GetRestoreDirectory}};
    for (const Case& c : cases) {
        ASSERT_TRUE((m_prefs.get()->*c.set)(&user, folder));
        EXPECT_EQ((m_prefs.get()->*c.get)(&user), folder);
        ASSERT_TRUE((m_prefs.get()->*c.set)(&user, tooLong));
        EXPECT_EQ((m_prefs.get()->*c.get)(&user), "");
    }
}

TEST_F(ScratchPrefs, ShowColumnsNeedADatabaseVersionOfSixOrMore)
{
    CUserItem user(Record("Standalone", "_Standalone_", 3));
    CShowColumns layout = DefaultShowColumns();
    layout.SetColumnWidth(3, 99);
    layout.SetColumnVisible(4, 0);
    uint8_t stored[CShowColumns::kStoredSize], read[CShowColumns::kStoredSize], defaults[CShowColumns::kStoredSize];
    layout.WriteBytes(stored);
    DefaultShowColumns().WriteBytes(defaults);

    // A block in the user's section is ignored while the platform section has no DBVersion.
    UseFixture("values.ini");
    WritePrivateProfileStringA(kApp, "DBVersion", nullptr, IniPath().string().c_str());
    WritePrivateProfileStringA(user.GetSectionName(), "Show Columns2",
                               (std::string(2 * sizeof(stored) + 2, '0')).c_str(), IniPath().string().c_str());
    m_prefs->GetShowColumns(kApp, &user).WriteBytes(read);
    EXPECT_EQ(0, std::memcmp(read, defaults, sizeof(read)));

    m_prefs->SetShowColumns(kApp, &user, layout);
    EXPECT_EQ(m_prefs->GetDBVersion(kApp), 7);
    m_prefs->GetShowColumns(kApp, &user).WriteBytes(read);
    EXPECT_EQ(0, std::memcmp(read, stored, sizeof(read)));
    EXPECT_EQ(RawSection(IniPath(), user.GetSectionName().GetString())["Show Columns2"].size(), 194u);
}

TEST_F(ScratchPrefs, DeleteUserAndSection)
{
    UseFixture("values.ini");
    CUserItem work(Record("Work phone", "Work", 5));
    EXPECT_NE(m_prefs->DeleteUser(&work), 0);
    EXPECT_TRUE(RawSection(IniPath(), "User-iPhone-Work-Work phone").empty());
    EXPECT_NE(m_prefs->DeleteSection(kApp), 0);
    EXPECT_EQ(m_prefs->GetDBVersion(kApp), -1);
    CUserItem standalone(Record("Standalone", "_Standalone_", 3));
    EXPECT_EQ(m_prefs->GetWindowPos(&standalone), "0 1 2 3 4");
}

}  // namespace
