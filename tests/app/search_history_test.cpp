// Search history: the list's rules and SearchHistory.xml.
#include <gtest/gtest.h>

#include "app/history/SearchHistoryMgr.h"
#include "app/xml/XmlFileDocument.h"
#include "tests/app/AppTestUsers.h"
#include "tests/app/XmlTestSupport.h"
#include "tests/support/ScratchDir.h"

namespace {

const char16_t kDecl[] = u"<?xml version='1.0' encoding='utf-16'?>\r\n";

std::vector<std::string> Texts(const CStringArray& a)
{
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) out.push_back(a[i].Std());
    return out;
}

std::vector<std::string> All(CSearchHistoryMgr& mgr)
{
    CStringArray a;
    mgr.GetAll(a);
    return Texts(a);
}

class SearchHistoryTest : public ::testing::Test {
protected:
    std::filesystem::path FileOf(const char* user) const { return dir / user / "SearchHistory.xml"; }

    zvtest::ScratchDir dir{"searches"};
    std::unique_ptr<CUserItem> alice = MakeTestUser("alice"), bob = MakeTestUser("bob");
    UserFilePathFn pathOf = UserFileIn(dir.Path(), "SearchHistory.xml");
};

TEST_F(SearchHistoryTest, AddKeepsTheLastTenInOrder)
{
    struct Case {
        const char* what;
        std::vector<std::string> before;
        const char* added;
        std::vector<std::string> after;
    } cases[] = {
        {"new text at the end", {"a", "b"}, "c", {"a", "b", "c"}},
        {"a text already held moves to the newest place", {"a", "b", "c"}, "b", {"a", "c", "b"}},
        {"case counts", {"a", "b"}, "A", {"a", "b", "A"}},
        {"the eleventh drops the oldest",
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
         "11",
         {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
        {"a full list that holds the text keeps its length",
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
         "1",
         {"2", "3", "4", "5", "6", "7", "8", "9", "10", "1"}},
    };
    for (const Case& c : cases) {
        CSearchHistoryMgr mgr(alice.get(), [](CUserItem*) { return CString(); });
        for (const auto& t : c.before) mgr.Add(t.c_str());
        mgr.Add(c.added);
        EXPECT_EQ(All(mgr), c.after) << c.what;
    }
}

TEST_F(SearchHistoryTest, WritesTheFileLayoutAndReadsItBack)
{
    {
        CSearchHistoryMgr mgr(alice.get(), pathOf);
        EXPECT_TRUE(All(mgr).empty());
        mgr.Add("bank");
        mgr.Add("mail & <web>");
        mgr.Add("");
    }
    EXPECT_EQ(
        zvtest::ReadFileBytes(FileOf("alice")),
        Utf16File(std::u16string(kDecl) +
                  u"<ZorvikanSearches><RecentSearches><Search>bank</Search><Search>mail &amp; &lt;web&gt;</Search>"
                  u"</RecentSearches></ZorvikanSearches>\r\n"))
        << "an empty text gets no element";
    CSearchHistoryMgr again(alice.get(), pathOf);
    EXPECT_EQ(All(again), (std::vector<std::string>{"bank", "mail & <web>"}));
}

TEST_F(SearchHistoryTest, FixtureWithTwelveSearchesLoadsAllAndTheNextAddTrimsToTen)
{
    std::filesystem::create_directories(dir / "alice");
    std::filesystem::copy_file(zvtest::FixturePath("xml/SearchHistoryBE.xml"), FileOf("alice"));
    CSearchHistoryMgr mgr(alice.get(), pathOf);
    std::vector<std::string> twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back((i < 10 ? "s0" : "s") + std::to_string(i));
    EXPECT_EQ(All(mgr), twelve);
    mgr.Add("new");
    std::vector<std::string> ten(twelve.begin() + 3, twelve.end());
    ten.push_back("new");
    EXPECT_EQ(All(mgr), ten);
}

TEST_F(SearchHistoryTest, AHugeDamagedFileIsTrimmedToTenAtTheNextAdd)
{
    // The oldest entries go in one step, not one at a time.
    const int count = 50000;
    std::u16string body;
    for (int i = 0; i < count; ++i) body += u"<Search>s" + XmlName(std::to_string(i).c_str()) + u"</Search>";
    std::filesystem::create_directories(dir / "alice");
    dir.WriteFile("alice/SearchHistory.xml", Utf16File(std::u16string(kDecl) + u"<ZorvikanSearches><RecentSearches>" +
                                                       body + u"</RecentSearches></ZorvikanSearches>\r\n"));
    CSearchHistoryMgr mgr(alice.get(), pathOf);
    EXPECT_EQ(All(mgr).size(), (size_t)count);
    mgr.Add("new");
    std::vector<std::string> ten;
    for (int i = count - 9; i < count; ++i) ten.push_back("s" + std::to_string(i));
    ten.push_back("new");
    EXPECT_EQ(All(mgr), ten);
}

TEST_F(SearchHistoryTest, ClearingLeavesAnEmptySectionInTheFile)
{
    {
        CSearchHistoryMgr mgr(alice.get(), pathOf);
        mgr.Add("x");
    }
    {
        CSearchHistoryMgr mgr(alice.get(), pathOf);
        All(mgr);
        mgr.Clear(false);
        EXPECT_EQ(All(mgr), std::vector<std::string>{"x"});
        mgr.Clear(true);
        EXPECT_TRUE(All(mgr).empty());
    }
    EXPECT_EQ(zvtest::ReadFileBytes(FileOf("alice")),
              Utf16File(std::u16string(kDecl) + u"<ZorvikanSearches><RecentSearches/></ZorvikanSearches>\r\n"));
}

TEST_F(SearchHistoryTest, ClearBeforeTheListWasReadStillEmptiesTheHistory)
{
    {
        CSearchHistoryMgr mgr(alice.get(), pathOf);
        mgr.Add("x");
    }
    {
        CSearchHistoryMgr mgr(alice.get(), pathOf);
        mgr.Clear(true);
    }
    CSearchHistoryMgr mgr(alice.get(), pathOf);
    EXPECT_TRUE(All(mgr).empty());
}

TEST_F(SearchHistoryTest, SwitchingUserWritesTheOldFileFirstAndTheNewListStartsUnread)
{
    {
        CSearchHistoryMgr seed(bob.get(), pathOf);
        seed.Add("bob's");
    }
    CSearchHistoryMgr mgr(alice.get(), pathOf);
    All(mgr);
    mgr.Add("alice's");
    mgr.SetUser(bob.get());
    EXPECT_EQ(mgr.GetUser(), bob.get());
    {
        CSearchHistoryMgr check(alice.get(), pathOf);
        EXPECT_EQ(All(check), std::vector<std::string>{"alice's"}) << "alice's file was written at the switch";
    }
    EXPECT_EQ(All(mgr), std::vector<std::string>{"bob's"});
    mgr.SetUser(nullptr);  // saves, keeps the user
    EXPECT_EQ(mgr.GetUser(), bob.get());
}

TEST_F(SearchHistoryTest, TextsAddedBeforeLoadingComeFirstAndAreAppendedToTheFile)
{
    {
        CSearchHistoryMgr seed(alice.get(), pathOf);
        seed.Add("old");
    }
    {
        CSearchHistoryMgr mgr(alice.get(), pathOf);
        mgr.Add("early");
    }
    CSearchHistoryMgr mgr(alice.get(), pathOf);
    EXPECT_EQ(All(mgr), (std::vector<std::string>{"old", "early"}));
}

}  // namespace
