// What the plug-in reads of the desktop program's data: users and current
// user from a scratch preferences file, web logins from database files the
// store wrote, with and without a password, a wrong password, a locked and a
// missing file; the plug-in never writes them. The unlock and its expiry
// through a scripted timer.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ZorvikanToolBar/link/AppCommunicator.h"
#include "ZorvikanToolBar/link/DesktopData.h"
#include "ZorvikanToolBar/link/UnlockTimer.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/UserItem.h"
#include "tests/ZorvikanToolBar/PluginScratchTest.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

const uint8_t kOtherTypeKey[8] = {0, 0, 0, 0, 0, 0, 0, 0x03};
const uint8_t kUnknownTypeKey[8] = {9, 9, 9, 9, 9, 9, 9, 9};

struct FixtureRecord {
    const uint8_t* type;
    const char* description;
    const char* notes;
    bool deleted;
};

// The web logins and others of every test database, in file order.
const FixtureRecord kRecords[] = {
    {kWebLoginsTypeKey, "Bank", "", false},
    {kOtherTypeKey, "Bank card", "", false},
    {kWebLoginsTypeKey, "Mail", "my bank's mail", false},
    {kWebLoginsTypeKey, "Old bank", "", true},
    {kUnknownTypeKey, "Bank of nowhere", "", false},
    {kWebLoginsTypeKey, "Shop", "", false},
};

std::vector<std::string> Descriptions(const CObList& list)
{
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<CRecord*>(list.GetNext(pos))->GetFieldDisplayText(0, false).GetString());
    return out;
}

uintptr_t g_timerId = 0;
uint32_t g_timerPeriod = 0;
uintptr_t ScriptedTimer(uintptr_t, uint32_t periodMs)
{
    g_timerPeriod = periodMs;
    return periodMs ? ++g_timerId : 0;
}

class DesktopDataTest : public PluginScratchTest {
protected:
    DesktopDataTest() : PluginScratchTest("plugin-data") {}

    // Writes the database with the store: the default types unless
    // withoutTypes, the records above, under the password when one is given.
    void WriteDatabase(const fs::path& path, const char* password, bool withoutTypes = false)
    {
        fs::create_directories(path.parent_path());
        CDatabaseObj db;
        if (withoutTypes) {
            db.SetFilePath(CString(path.string().c_str()));
        } else {
            ASSERT_EQ(0, db.Load(CString(path.string().c_str())));
        }
        for (const FixtureRecord& row : kRecords) {
            CRecord* record = new CRecord();
            record->SetTypeKey(row.type);
            record->SetField(0, row.description);
            record->SetMainText(row.notes);
            record->SetDeleted(row.deleted);
            db.GetRecords().Add(record);
        }
        if (password)
            ASSERT_EQ(0, GetMasterPwdMgr()->StoreNewPassword(CSecretString(password), db));
        else
            ASSERT_EQ(0, db.Save());
        GetMasterPwdMgr()->ClearPassword();
    }
};

TEST_F(DesktopDataTest, WebLoginsAreTheLiveRecordsOfTheWebLoginsTypeMatchingTheText)
{
    CDesktopData data;
    ASSERT_TRUE(data.CurrentUser());
    WriteDatabase(DatabasePath(data), nullptr);
    ASSERT_TRUE(data.ReloadDatabase());
    struct Case {
        const char* text;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"", {"Bank", "Mail", "Shop"}},
        {"BANK", {"Bank", "Mail"}},  // the description, or else the notes
        {"shop", {"Shop"}},
        {"nowhere", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CObList list;
        data.CollectWebLogins(list, c.text);
        EXPECT_EQ(c.found, Descriptions(list));
    }
}

TEST_F(DesktopDataTest, WithoutAWebLoginsTypeThereAreNoWebLogins)
{
    CDesktopData data;
    WriteDatabase(DatabasePath(data), nullptr, true);
    ASSERT_TRUE(data.ReloadDatabase());
    EXPECT_EQ(nullptr, data.Database().WebLoginsType());
    CObList list;
    data.CollectWebLogins(list, "");
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(DesktopDataTest, AMissingDatabaseIsNeitherCreatedNorWritten)
{
    CDesktopData data;
    fs::path path = DatabasePath(data);
    // The user's folder is there; only the file is missing.
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(data.ReloadDatabase());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(path.parent_path()));
    CObList list;
    data.CollectWebLogins(list, "");
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(DesktopDataTest, AnOlderFileIsReadButNotUpgraded)
{
    CDesktopData data;
    fs::path path = DatabasePath(data);
    fs::create_directories(path.parent_path());
    fs::copy_file(zvtest::FixturePath("db/version6.zdb"), path);
    std::string before = zvtest::ReadFileBytes(path);
    ASSERT_TRUE(data.ReloadDatabase());
    EXPECT_EQ(before, zvtest::ReadFileBytes(path));
    EXPECT_EQ(1u, std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()));
}

TEST_F(DesktopDataTest, PasswordIsCheckedAgainstTheFileAndKeysTheRecords)
{
    CDesktopData data;
    WriteDatabase(DatabasePath(data), "Open Sesame 9");
    EXPECT_TRUE(data.CurrentUserHasPassword());
    EXPECT_FALSE(data.VerifyPassword(CSecretString("")));
    EXPECT_FALSE(data.VerifyPassword(CSecretString("open sesame 9")));
    EXPECT_TRUE(data.VerifyPassword(CSecretString("Open Sesame 9")));

    // Without the key the records do not read as web logins.
    ASSERT_TRUE(data.ReloadDatabase());
    CObList locked;
    data.CollectWebLogins(locked, "Bank");
    EXPECT_TRUE(locked.IsEmpty());

    data.SetPassword(CSecretString("Open Sesame 9"));
    ASSERT_TRUE(data.ReloadDatabase());
    CObList list;
    data.CollectWebLogins(list, "");
    EXPECT_EQ((std::vector<std::string>{"Bank", "Mail", "Shop"}), Descriptions(list));
}

TEST_F(DesktopDataTest, ALockedDatabaseLoadsEmptyWithinTheWait)
{
    CDesktopData data;
    WriteDatabase(DatabasePath(data), nullptr);
    zvtest::ScopedReplace wait(&SetDatabaseMutexWaitMs, 200u);
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        // Other test programs load and save under this process-wide name at
        // the same time: wait to own it rather than assume creation did.
        HANDLE mutex = CreateMutexA(nullptr, FALSE, "ZorvikanDatabaseMutex");
        WaitForSingleObject(mutex, 10000);
        SetEvent(held);
        WaitForSingleObject(release, 10000);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    WaitForSingleObject(held, 10000);
    EXPECT_TRUE(data.ReloadDatabase());
    EXPECT_NE(0, data.Database().LastLoadResult());
    CObList list;
    data.CollectWebLogins(list, "");
    EXPECT_TRUE(list.IsEmpty());
    SetEvent(release);
    holder.join();
    CloseHandle(held);
    CloseHandle(release);

    ASSERT_TRUE(data.ReloadDatabase());
    data.CollectWebLogins(list, "");
    EXPECT_EQ(3, list.GetCount());
}

TEST_F(DesktopDataTest, AStaleCurrentUserFallsBackToTheFirstUser)
{
    std::shared_ptr<CAppPrefs> prefs = m_manager->GetPrefs();
    CUserList users;
    users.LoadUsers("Zorvikan", "software\\corvantide\\zorvikan desktop\\iPhone - ");
    ASSERT_FALSE(users.IsEmpty());
    CString first = static_cast<CUserItem*>(users.GetHead())->GetKeyName();
    WritePrivateProfileStringA("Preferences iPhone", "Current User", "Gone Away", m_manager->GetPreferencesFilePath());
    CDesktopData data;
    ASSERT_TRUE(data.CurrentUser());
    EXPECT_EQ(first, data.CurrentUser()->GetKeyName());
    EXPECT_TRUE(data.ReloadForCurrentUser());
    EXPECT_EQ(first, data.CurrentUser()->GetKeyName());
}

TEST_F(DesktopDataTest, WithoutAPasswordTheFirstSearchUnlocksQuietly)
{
    zvtest::ScriptedModal modal;
    zvtest::ScopedReplace timer(&SetUnlockTimerSetter, &ScriptedTimer);
    CAppCommunicator communicator;
    WriteDatabase(DatabasePath(communicator.Data()), nullptr);
    CObList list;
    ASSERT_TRUE(communicator.FindWebLogins(list, "bank"));
    EXPECT_EQ((std::vector<std::string>{"Bank", "Mail"}), Descriptions(list));
    EXPECT_TRUE(IsPluginUnlocked());
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
    EXPECT_EQ(0u, g_timerPeriod);
    std::shared_ptr<CAppPrefs> prefs = m_manager->GetPrefs();
    EXPECT_EQ(0, prefs->GetClearPasswordTimer(communicator.Data().CurrentUser()).enabled);

    // "Security Options..." says so, and unlocks anyway.
    modal.AnswerMessageBox(IDOK);
    EXPECT_TRUE(communicator.UnlockWithPassword(false));
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_EQ("You need to set password first", modal.MessageBoxes()[0].text);
}

TEST_F(DesktopDataTest, ExpiryLocksTheProcessAndWipesTheKeyEvenAfterItsCommunicatorWent)
{
    zvtest::ScopedReplace timer(&SetUnlockTimerSetter, &ScriptedTimer);
    CAppCommunicator keeper;  // another band of the process
    {
        CAppCommunicator communicator;
        GetMasterPwdMgr()->SetPassword(CSecretString("key"));
        SetPluginUnlocked(true);
        CTimer::Instance()->Start(5, &communicator);
        EXPECT_EQ(5u * 60000u, g_timerPeriod);
        EXPECT_EQ(&communicator, CTimer::Instance()->GetListener());
    }
    // The communicator went: the timer no longer calls it.
    EXPECT_EQ(nullptr, CTimer::Instance()->GetListener());
    CTimer::Instance()->Fire();
    EXPECT_FALSE(IsPluginUnlocked());
    EXPECT_FALSE(GetMasterPwdMgr()->HasPassword());
}

TEST_F(DesktopDataTest, TheLastCommunicatorTakesTheUnlockWithIt)
{
    {
        CAppCommunicator communicator;
        GetMasterPwdMgr()->SetPassword(CSecretString("key"));
        SetPluginUnlocked(true);
    }
    EXPECT_FALSE(IsPluginUnlocked());
    EXPECT_FALSE(GetMasterPwdMgr()->HasPassword());

    // A band that lost its site and got one again is live again.
    {
        CAppCommunicator communicator;
        communicator.Stop();
        communicator.Resume();
        GetMasterPwdMgr()->SetPassword(CSecretString("key"));
        SetPluginUnlocked(true);
    }
    EXPECT_FALSE(IsPluginUnlocked());
    EXPECT_FALSE(GetMasterPwdMgr()->HasPassword());
}

}  // namespace
