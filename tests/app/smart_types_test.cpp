// Smart lists and SmartTypes.xml: capacity, the most-viewed rule, loading
// against the database's records, resetting after a reload, and the file.
#include <gtest/gtest.h>

#include "app/history/SmartTypesMgr.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "tests/app/AppTestUsers.h"
#include "tests/app/XmlTestSupport.h"
#include "tests/support/ScratchDir.h"

namespace {

const char16_t kDecl[] = u"<?xml version='1.0' encoding='utf-16'?>\r\n";

// A record list with one record per id (view counts as given).
struct Records {
    CRecordList list;
    CRecord* Make(int32_t id, int32_t views = 0)
    {
        CRecord* r = new CRecord;
        r->SetId(id);
        r->SetViewCount(views);
        list.Add(r);
        return r;
    }
    CRecord* Find(int32_t id) const { return static_cast<CRecord*>(list.FindRecordById(id)); }
};

std::u16string U16Number(int n)
{
    const std::string text = std::to_string(n);
    return std::u16string(text.begin(), text.end());
}

std::vector<int32_t> Ids(const CRecordPtrArray& a)
{
    std::vector<int32_t> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) out.push_back(a[i]->GetId());
    return out;
}

std::vector<int32_t> Ids(const CSmartType& list)
{
    std::vector<int32_t> out;
    for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetAt(i)->GetId());
    return out;
}

std::vector<DWORD> StoredIds(const CSmartTypesSerializer& s, int kind)
{
    CDWordArray ids;
    s.GetIds(kind, ids);
    return std::vector<DWORD>(ids.GetData(), ids.GetData() + ids.GetSize());
}

class SmartTypesTest : public ::testing::Test {
protected:
    std::filesystem::path FileOf(const char* user) const { return dir / user / "SmartTypes.xml"; }

    zvtest::ScratchDir dir{"smart"};
    std::unique_ptr<CUserItem> alice = MakeTestUser("alice"), bob = MakeTestUser("bob");
    UserFilePathFn pathOf = UserFileIn(dir.Path(), "SmartTypes.xml");
};

TEST_F(SmartTypesTest, CapacityAndOrderOfTheRecentLists)
{
    struct Case {
        const char* what;
        std::vector<int32_t> added;
        std::vector<int32_t> held;
    } cases[] = {
        {"in the order added", {1, 2, 3}, {1, 2, 3}},
        {"a record held keeps its first place", {1, 2, 1, 3}, {1, 2, 3}},
        {"the eleventh pushes out the oldest", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"twelve", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    };
    for (const Case& c : cases) {
        Records db;
        CSmartTypesSerializer s{CString()};
        CSmartType list(kSmartRecentlyViewed, &s);
        for (int32_t id : c.added) list.Add(db.Find(id) ? db.Find(id) : db.Make(id));
        EXPECT_EQ(Ids(list), c.held) << c.what;
        std::vector<DWORD> stored(c.held.begin(), c.held.end());
        EXPECT_EQ(StoredIds(s, kSmartRecentlyViewed), stored) << c.what << ": each change is put in the document";
    }
}

TEST_F(SmartTypesTest, MostViewedReplacesTheLastLeastViewedEntryInPlace)
{
    // Ten entries; the lowest count, 3, is held by entries 2 and 7.
    const int32_t counts[10] = {9, 8, 3, 7, 6, 5, 4, 3, 10, 11};
    struct Case {
        const char* what;
        int32_t newCount;
        int replacedIndex;  // -1: unchanged
    } cases[] = {
        {"viewed for the 4th time: replaces entry 7", 4, 7},
        {"viewed for the 3rd time: nothing changes", 3, -1},
        {"viewed for the 2nd time: nothing changes", 2, -1},
        {"viewed 100 times: still entry 7", 100, 7},
    };
    for (const Case& c : cases) {
        Records db;
        CSmartTypesSerializer s{CString()};
        CMostViewed list(&s);
        std::vector<int32_t> expected;
        for (int i = 0; i < 10; ++i) {
            list.Add(db.Make(100 + i, counts[i]));
            expected.push_back(100 + i);
        }
        EXPECT_EQ(list.IndexOfLeastViewed(), 7);
        list.Add(db.Make(500, c.newCount));
        if (c.replacedIndex >= 0) expected[c.replacedIndex] = 500;
        EXPECT_EQ(Ids(list), expected) << c.what;
    }
    // Below capacity every new record is appended, whatever its count.
    Records db;
    CMostViewed list(nullptr);
    list.Add(db.Make(1, 5));
    list.Add(db.Make(2, 0));
    list.Add(db.Find(1));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(CMostViewed(nullptr).IndexOfLeastViewed(), -1);
}

TEST_F(SmartTypesTest, NewFileHasTheFourSectionsInOrderAndOnlyTheRecordsOfTheRun)
{
    Records db;
    {
        CSmartTypesMgr mgr(alice.get(), pathOf);
        mgr.OnRecordAdded(db.Make(7));
        mgr.OnRecordViewed(db.Make(4294967));
        mgr.OnRecordEdited(db.Find(7));
        mgr.OnRecordAdded(nullptr);
        EXPECT_FALSE(std::filesystem::exists(FileOf("alice"))) << "written when the manager goes";
    }
    EXPECT_EQ(zvtest::ReadFileBytes(FileOf("alice")),
              Utf16File(std::u16string(kDecl) + u"<SmartTypes><RecentlyAdded><Record>7</Record></RecentlyAdded>"
                                                u"<RecentlyViewed><Record>4294967</Record></RecentlyViewed>"
                                                u"<RecentlyModified><Record>7</Record></RecentlyModified>"
                                                u"<MostViewed><Record>4294967</Record></MostViewed></SmartTypes>\r\n"));
}

TEST_F(SmartTypesTest, FixtureFileLoadsAgainstTheDatabasesRecords)
{
    std::filesystem::create_directories(dir / "alice");
    std::filesystem::copy_file(zvtest::FixturePath("xml/SmartTypes.xml"), FileOf("alice"));
    Records db;
    for (int32_t id : {3, 5, 7, 8, 9, 16, -1}) db.Make(id);  // 42 is not in the database
    db.Find(5)->SetDeleted(true);
    CSmartTypesMgr mgr(alice.get(), pathOf);
    CRecordPtrArray viewed, added, most;
    mgr.GetRecentlyViewed(db.list, viewed);
    mgr.GetRecentlyAdded(db.list, added);
    mgr.GetMostViewed(db.list, most);
    EXPECT_EQ(Ids(viewed), (std::vector<int32_t>{16, 8})) << "0x10 is 16, 010 is 8, 42 is dropped";
    EXPECT_EQ(Ids(added), (std::vector<int32_t>{3, -1})) << "4294967295 is the id -1";
    EXPECT_EQ(Ids(most), std::vector<int32_t>{9}) << "the second MostViewed is used; deleted 5 is dropped";
    EXPECT_EQ(viewed[0], db.Find(16)) << "the database's own record objects";
}

// A record that counts how often its kind is asked: what finding a stored id
// among the records costs.
class CountedRecord : public CRecord {
public:
    explicit CountedRecord(int* asked) : m_asked(asked) {}
    int GetItemKind() const override
    {
        ++*m_asked;
        return CRecord::GetItemKind();
    }

private:
    int* m_asked;
};

TEST_F(SmartTypesTest, LoadingLooksAtEachRecordOnceHoweverManyIdsAreStored)
{
    const int records = 3000, stored = 1000;
    std::u16string entries;
    for (int i = 0; i < stored; ++i) entries += u"<Record>" + U16Number(2 * i) + u"</Record>";
    dir.WriteFile("alice/SmartTypes.xml", Utf16File(std::u16string(kDecl) + u"<SmartTypes><RecentlyViewed>" + entries +
                                                    u"</RecentlyViewed></SmartTypes>\r\n"));
    int asked = 0;
    CRecordList list;
    for (int i = 0; i < records; ++i) {
        CRecord* r = new CountedRecord(&asked);
        r->SetId(i);
        list.Add(r);
    }
    CSmartTypesMgr mgr(alice.get(), pathOf);
    asked = 0;
    CRecordPtrArray viewed;
    mgr.GetRecentlyViewed(list, viewed);
    EXPECT_EQ(Ids(viewed), (std::vector<int32_t>{1980, 1982, 1984, 1986, 1988, 1990, 1992, 1994, 1996, 1998}));
    EXPECT_LE(asked, records + stored) << "the records and the ids, not their product";
}

TEST_F(SmartTypesTest, ExistingFileKeepsItsSectionOrderAndGetsTheMissingOnesAppended)
{
    dir.WriteFile(
        "alice/SmartTypes.xml",
        Utf16File(std::u16string(kDecl) + u"<SmartTypes><MostViewed><Record>1</Record></MostViewed></SmartTypes>\r\n"));
    {
        CSmartTypesMgr mgr(alice.get(), pathOf);
    }
    EXPECT_EQ(zvtest::ReadFileBytes(FileOf("alice")),
              Utf16File(std::u16string(kDecl) +
                        u"<SmartTypes><MostViewed><Record>1</Record></MostViewed><RecentlyAdded/><RecentlyViewed/>"
                        u"<RecentlyModified/></SmartTypes>\r\n"));
}

TEST_F(SmartTypesTest, AListNeverShownReplacesTheStoredIdsAtItsFirstChange)
{
    dir.WriteFile("alice/SmartTypes.xml",
                  Utf16File(std::u16string(kDecl) + u"<SmartTypes><RecentlyAdded><Record>1</Record><Record>2</Record>"
                                                    u"</RecentlyAdded></SmartTypes>\r\n"));
    Records db;
    db.Make(1);
    db.Make(2);
    {
        CSmartTypesMgr mgr(alice.get(), pathOf);
        mgr.OnRecordAdded(db.Make(3));
    }
    CSmartTypesSerializer s(zvtest::WinPath(FileOf("alice")));
    EXPECT_EQ(StoredIds(s, kSmartRecentlyAdded), std::vector<DWORD>{3});
}

TEST_F(SmartTypesTest, DeletingARecordRemovesItFromAllFourLists)
{
    Records db;
    CRecord* r = db.Make(1, 1);
    CRecord* other = db.Make(2, 1);
    CSmartTypesMgr mgr(alice.get(), pathOf);
    mgr.OnRecordAdded(r);
    mgr.OnRecordViewed(r);
    mgr.OnRecordAdded(other);
    mgr.OnRecordDeleted(r);
    for (int kind = 0; kind < kSmartTypeKinds; ++kind)
        for (int i = 0; i < mgr.GetList(kind).GetCount(); ++i)
            EXPECT_NE(mgr.GetList(kind).GetAt(i), r) << "kind " << kind;
    EXPECT_EQ(Ids(mgr.GetList(kSmartRecentlyAdded)), std::vector<int32_t>{2});
    mgr.OnRecordDeleted(nullptr);
}

TEST_F(SmartTypesTest, ReloadResetsTheListsAndRebuildsThemFromTheNewRecords)
{
    auto first = std::make_unique<Records>();
    CSmartTypesMgr mgr(alice.get(), pathOf);
    mgr.OnRecordAdded(first->Make(1));
    mgr.OnRecordViewed(first->Make(2, 1));
    CRecordPtrArray out;
    mgr.GetRecentlyAdded(first->list, out);
    ASSERT_EQ(Ids(out), std::vector<int32_t>{1});

    // The database is reloaded: new record objects, the old ones freed.
    Records second;
    second.Make(1);
    second.Make(2, 1);
    mgr.SetUser(alice.get(), false);
    first.reset();
    for (int kind = 0; kind < kSmartTypeKinds; ++kind) {
        EXPECT_EQ(mgr.GetList(kind).GetCount(), 0) << "kind " << kind;
        EXPECT_FALSE(mgr.GetList(kind).IsLoaded());
    }
    CRecordPtrArray added, viewed;
    mgr.GetRecentlyAdded(second.list, added);
    mgr.GetRecentlyViewed(second.list, viewed);
    ASSERT_EQ(added.GetSize(), 1);
    EXPECT_EQ(added[0], second.Find(1));
    ASSERT_EQ(viewed.GetSize(), 1);
    EXPECT_EQ(viewed[0], second.Find(2));
    // Once only: the same user again with onlyIfOther leaves the lists.
    mgr.SetUser(alice.get(), true);
    EXPECT_EQ(mgr.GetList(kSmartRecentlyAdded).GetCount(), 1);
    mgr.SetUser(nullptr, false);
    EXPECT_EQ(mgr.GetUser(), alice.get());
}

TEST_F(SmartTypesTest, SwitchingUserWritesTheOldUsersFileBeforeReadingTheNewOne)
{
    Records db;
    db.Make(1);
    db.Make(2);
    {
        CSmartTypesMgr seed(bob.get(), pathOf);
        seed.OnRecordAdded(db.Find(2));
    }
    CSmartTypesMgr mgr(alice.get(), pathOf);
    mgr.OnRecordAdded(db.Find(1));
    mgr.SetUser(bob.get(), true);
    EXPECT_EQ(mgr.GetUser(), bob.get());
    CSmartTypesSerializer aliceFile(zvtest::WinPath(FileOf("alice")));
    EXPECT_EQ(StoredIds(aliceFile, kSmartRecentlyAdded), std::vector<DWORD>{1});
    CRecordPtrArray out;
    mgr.GetRecentlyAdded(db.list, out);
    EXPECT_EQ(Ids(out), std::vector<int32_t>{2});
}

}  // namespace
