// Application services: the record hooks (event log and smart lists), the
// managers made on first use and moved between users, the record-id repair
// after a migration and the password-requirements check.
#include <gtest/gtest.h>

#include <map>

#include "app/services/AppServices.h"
#include "app/history/LogEvents.h"
#include "app/logon/PasswordRequirementsCheck.h"
#include "app/history/RecordIdRepair.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "tests/app/AppTestUsers.h"
#include "tests/support/FixedClock.h"
#include "tests/support/ScratchDir.h"

namespace {

std::vector<int32_t> Ids(const CRecordPtrArray& a)
{
    std::vector<int32_t> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) out.push_back(a[i]->GetId());
    return out;
}

class AppServicesTest : public ::testing::Test {
protected:
    AppServicesTest()
    {
        previousLog = CLogEvents::ReplaceInstance(std::make_shared<CLogEvents>(zvtest::WinPath(dir / "EventsLog.xml")));
    }
    ~AppServicesTest() override { CLogEvents::ReplaceInstance(previousLog); }

    CRecord* MakeRecord(int32_t id, const char* first)
    {
        CRecord* r = new CRecord;
        r->SetId(id);
        r->SetField(0, first);
        records.Add(r);
        return r;
    }

    zvtest::ScratchDir dir{"services"};
    zvtest::FixedClock clock{"2026-04-01 10:00:00"};
    std::shared_ptr<CLogEvents> previousLog;
    std::unique_ptr<CUserItem> alice = MakeTestUser("alice"), bob = MakeTestUser("bob");
    CUserItem* current = alice.get();
    CRecordList records;
    CAppServices services{[this] { return current; }, UserFileIn(dir.Path(), "SmartTypes.xml"),
                          UserFileIn(dir.Path(), "SearchHistory.xml")};
};

TEST_F(AppServicesTest, RecordHooksLogTheirEventsAndUpdateTheSmartLists)
{
    CRecord* r = MakeRecord(11, "Bank login");
    r->SetHiddenMask(1);  // the first field is masked: the log still gets its text
    struct Case {
        void (CAppServices::*hook)(CRecord*);
        const char* name;
        const char* action;
    } cases[] = {
        {&CAppServices::OnRecordAdded, "Add record", "Record added"},
        {&CAppServices::OnRecordEdited, "Edit record ", "Record edited"},
        {&CAppServices::OnRecordDeleted, "Delete record", "Record deleted"},
    };
    for (const Case& c : cases) {
        const int before = CLogEvents::GetInstance()->GetCount();
        (services.*c.hook)(r);
        const auto events = CLogEvents::GetInstance()->GetEvents();
        ASSERT_EQ((int)events.size(), before + 1) << c.name;
        const auto& e = events.back();
        EXPECT_EQ(e->GetName(), c.name);
        EXPECT_EQ(e->GetAction(), c.action);
        EXPECT_EQ(e->GetDescription(), "Bank login");
        EXPECT_EQ(e->GetNewValue(), "Bank login");
        EXPECT_EQ(e->GetOldValue(), "");
        EXPECT_EQ(e->GetUserID(), "");
        EXPECT_EQ(e->GetUserName(), "alice");
        EXPECT_EQ(e->GetDate().FormatTimestamp(), "2026-04-01 10:00:00 +0000");
        EXPECT_EQ(e->IsNew(), 1);
    }
    // Each event reached the file when it was recorded.
    CLogEvents reread(zvtest::WinPath(dir / "EventsLog.xml"));
    reread.Load();
    EXPECT_EQ(reread.GetCount(), 3);
    EXPECT_EQ(reread.GetEvents()[1]->GetName(), "Edit record ");
}

TEST_F(AppServicesTest, HooksDriveTheListsAndViewingRaisesTheCountFirst)
{
    CRecord* a = MakeRecord(1, "a");
    CRecord* b = MakeRecord(2, "b");
    services.OnRecordAdded(a);
    services.OnRecordAdded(b);
    services.OnRecordEdited(a);
    services.OnRecordViewed(b);
    services.OnRecordViewed(b);
    services.OnRecordViewed(nullptr);
    EXPECT_EQ(b->GetViewCount(), 2);
    const int before = CLogEvents::GetInstance()->GetCount();
    services.OnRecordViewed(a);
    EXPECT_EQ(CLogEvents::GetInstance()->GetCount(), before) << "viewing logs nothing";
    CRecordPtrArray added, viewed, most;
    services.GetRecentlyAdded(records, added);
    services.GetRecentlyViewed(records, viewed);
    services.GetMostViewed(records, most);
    EXPECT_EQ(Ids(added), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(Ids(viewed), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(Ids(most), (std::vector<int32_t>{2, 1}));
    const CSmartType& modified = services.GetSmartTypesMgr()->GetList(kSmartRecentlyModified);
    ASSERT_EQ(modified.GetCount(), 2);
    EXPECT_EQ(modified.GetAt(0), a);
    EXPECT_EQ(modified.GetAt(1), b);
    services.OnRecordDeleted(a);
    CRecordPtrArray after;
    services.GetRecentlyViewed(records, after);
    EXPECT_EQ(Ids(after), std::vector<int32_t>{2});
}

TEST_F(AppServicesTest, ManagersAreMadeOnFirstUseForTheUserCurrentThen)
{
    services.SwitchHistoriesUser(bob.get(), true);
    EXPECT_FALSE(services.GetSmartTypesMgr()) << "switching creates no manager";
    EXPECT_FALSE(services.GetSearchHistoryMgr());
    services.AddRecentSearch("alice's search");
    ASSERT_TRUE(services.GetSearchHistoryMgr());
    EXPECT_EQ(services.GetSearchHistoryMgr()->GetUser(), alice.get());
    current = bob.get();
    services.SwitchHistoriesUser(bob.get(), true);
    EXPECT_EQ(services.GetSearchHistoryMgr()->GetUser(), bob.get());
    CStringArray texts;
    services.GetRecentSearches(texts);
    EXPECT_EQ(texts.GetSize(), 0);
    services.AddRecentSearch("bob's");
    services.ReleaseHistories();
    EXPECT_FALSE(services.GetSearchHistoryMgr());
    // Both files were written: alice's at the switch, bob's at the release.
    CSearchHistoryMgr aliceFile(alice.get(), UserFileIn(dir.Path(), "SearchHistory.xml"));
    aliceFile.GetAll(texts);
    ASSERT_EQ(texts.GetSize(), 1);
    EXPECT_EQ(texts[0], "alice's search");
    CSearchHistoryMgr bobFile(bob.get(), UserFileIn(dir.Path(), "SearchHistory.xml"));
    bobFile.GetAll(texts);
    ASSERT_EQ(texts.GetSize(), 1);
    EXPECT_EQ(texts[0], "bob's");
}

TEST_F(AppServicesTest, AfterAReloadTheListsHoldOnlyTheNewRecords)
{
    auto first = std::make_unique<CRecordList>();
    CRecord* old = new CRecord;
    old->SetId(5);
    first->Add(old);
    services.OnRecordViewed(old);
    CRecordPtrArray out;
    services.GetRecentlyViewed(*first, out);
    ASSERT_EQ(Ids(out), std::vector<int32_t>{5});

    CRecordList second;
    CRecord* fresh = new CRecord;
    fresh->SetId(5);
    second.Add(fresh);
    services.SwitchHistoriesUser(current, false);  // the view reloaded its database
    first.reset();                                 // the old records are gone
    CRecordPtrArray again;
    services.GetRecentlyViewed(second, again);
    ASSERT_EQ(again.GetSize(), 1);
    EXPECT_EQ(again[0], fresh);
}

// ---- Record ids after a migration --------------------------------------

struct UserDb {
    std::unique_ptr<CUserItem> user;
    CString path;
};

// The program's backslash path as the test's file helpers take it.
std::filesystem::path NativeOf(const CString& path)
{
    std::string p = path.Std();
    for (char& c : p)
        if (c == '\\') c = '/';
    return std::filesystem::path(p);
}

// A database file with records of those ids, under the password (empty: none).
std::string WriteDatabase(const CString& path, const std::vector<int32_t>& ids, const char* password)
{
    CDatabaseObj db;
    EXPECT_EQ(db.Load(path, nullptr), 0);
    for (int32_t id : ids) {
        CRecord* r = new CRecord;
        r->SetId(id);
        r->SetField(0, "record");
        db.GetRecords().Add(r);
    }
    if (*password) {
        CMasterPwdMgr pwd;
        EXPECT_EQ(pwd.StoreNewPassword(password, db), 0);
    } else {
        EXPECT_EQ(db.Save(0, nullptr), 0);
    }
    return zvtest::ReadFileBytes(NativeOf(path));
}

std::vector<int32_t> IdsIn(const CString& path, const BlowfishContext* key)
{
    CDatabaseObj db;
    EXPECT_EQ(db.Load(path, key), 0);
    std::vector<int32_t> out;
    for (POSITION pos = db.GetRecords().GetHeadPosition(); pos;)
        out.push_back(static_cast<CBaseItem*>(db.GetRecords().GetNext(pos))->GetId());
    return out;
}

TEST(RecordIdRepair, OnlyDatabasesReadWithTheirOwnKeyAreRepairedAndSaved)
{
    zvtest::ScratchDir dir("idrepair");
    CUserList users;
    std::map<CUserItem*, CString> paths;
    std::map<std::string, CUserItem*> byName;
    for (const char* name : {"current", "otherLocked", "otherPlain", "damaged", "nodb"}) {
        CUserItem* u = MakeTestUser(name).release();
        users.AddTail(u);
        std::filesystem::create_directories(dir / name);
        paths[u] = zvtest::WinPath(dir / name / "ZorvikanDatabase.zdb");
        byName[name] = u;
    }
    WriteDatabase(paths[byName["current"]], {0, 7, 0}, "current pw");
    const std::string locked = WriteDatabase(paths[byName["otherLocked"]], {0, 8}, "other pw");
    ASSERT_FALSE(locked.empty());
    WriteDatabase(paths[byName["otherPlain"]], {0, 9}, "");
    const std::string damaged = "not a database at all";
    dir.WriteFile("damaged/ZorvikanDatabase.zdb", damaged);

    CMasterPwdMgr currentPwd;
    ASSERT_EQ(currentPwd.SetPassword(CString("current pw")), 0);
    RecordIdRepairEnv env;
    env.databasePathOf = [&](CUserItem* u) { return paths[u]; };
    env.hasPassword = [&](CUserItem* u) { return u == byName["current"] || u == byName["otherLocked"]; };
    env.currentKey = currentPwd.GetKey().get();
    AssignMissingRecordIds(users, byName["current"], env);

    const auto current = IdsIn(paths[byName["current"]], env.currentKey);
    ASSERT_EQ(current.size(), 3u);
    EXPECT_NE(current[0], 0);
    EXPECT_EQ(current[1], 7);
    EXPECT_NE(current[2], 0);
    EXPECT_EQ(zvtest::ReadFileBytes(NativeOf(paths[byName["otherLocked"]])), locked)
        << "another user's database is never saved under the current user's key";
    const auto plain = IdsIn(paths[byName["otherPlain"]], nullptr);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_NE(plain[0], 0);
    EXPECT_EQ(plain[1], 9);
    EXPECT_EQ(zvtest::ReadFileBytes(NativeOf(paths[byName["damaged"]])), damaged) << "a failed load saves nothing";
    EXPECT_FALSE(std::filesystem::exists(dir / "nodb" / "ZorvikanDatabase.zdb")) << "no database is created";
    users.DeleteAll();
}

TEST(RecordIdRepair, AHiddenPasswordIsNeverOverwrittenByAPlainSave)
{
    // The password test says "none" but the file has one: the plain load
    // must not be saved.
    zvtest::ScratchDir dir("idrepair2");
    const CString path = zvtest::WinPath(dir / "ZorvikanDatabase.zdb");
    const std::string before = WriteDatabase(path, {0}, "secret");
    EXPECT_NE(AssignMissingRecordIdsIn(path, nullptr, true), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(NativeOf(path)), before);
}

// ---- Password requirements ---------------------------------------------

TEST(PasswordRequirements, AFailedLoadNeverSavesAndOnlyALoadedDatabaseAsks)
{
    struct Case {
        const char* what;
        bool stored;
        const char* password;
        int loadResult;
        bool answerOk;
        bool expected;
        bool asked;
        bool storedNew;
    } cases[] = {
        {"no requirements, empty password", false, "", 0, true, true, false, false},
        {"meets the requirements", true, "long enough 1", 0, true, true, false, false},
        {"network share unreachable", true, "x", kLoadResultBadNetPath, true, true, false, false},
        {"load failed otherwise (lock, damage)", true, "x", -1, true, true, false, false},
        {"loaded, dialog cancelled", true, "x", 0, false, false, true, false},
        {"loaded, new password given", true, "x", 0, true, true, true, true},
    };
    for (const Case& c : cases) {
        bool asked = false, storedNew = false;
        PasswordRequirementsEnv env;
        env.readRequirements = [&](BYTE block[kPasswordRequirementsSize]) {
            block[kReqMinLength] = 8;
            block[kReqMaxLength] = 64;
            return c.stored;
        };
        env.openDatabase = [&](CDatabaseObj&) { return c.loadResult; };
        env.askNewPassword = [&](CSecretString& text) {
            asked = true;
            text = "a new long password 1";
            return c.answerOk;
        };
        env.storeNewPassword = [&](const CSecretString& text, CDatabaseObj&) {
            storedNew = true;
            EXPECT_EQ(text, "a new long password 1");
            return 0;
        };
        EXPECT_EQ(CheckPasswordRequirements(c.password, env), c.expected) << c.what;
        EXPECT_EQ(asked, c.asked) << c.what;
        EXPECT_EQ(storedNew, c.storedNew) << c.what;
    }
}

}  // namespace
