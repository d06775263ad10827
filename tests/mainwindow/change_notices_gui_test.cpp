// Change notices from other programs reaching the main view: the item is
// taken from the saved file, never listed twice, deletions keep their saved
// tombstone, and a locked view only notes that a reload is due.
#include <gtest/gtest.h>

#include <string>

#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/os/ChangeNotify.h"
#include "core/store/DatabaseObj.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/TestText.h"

namespace {

class ChangeNotices : public zvtest::AppWindowTest {
protected:
    ChangeNotices() : AppWindowTest("zvnotice") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        OpenWindow();
        Add(Db(), 100, "Alpha");
        Add(Db(), 101, "Beta");
        ASSERT_EQ(0, Db().Save());
        // Another program's copy of the same file.
        ASSERT_EQ(0, m_other.Load(Db().GetFilePath()));
    }

    CDatabaseObj& Db() { return m_view->GetDatabase(); }
    static CRecord* Add(CDatabaseObj& db, int32_t id, const char* title)
    {
        auto* record = new CRecord;
        record->SetId(id);
        record->SetField(0, title);
        db.GetRecords().Add(record);
        return record;
    }
    static CRecord* Find(CDatabaseObj& db, int32_t id) { return static_cast<CRecord*>(db.GetRecords().FindById(id)); }
    int CountWithId(int32_t id)
    {
        int n = 0;
        for (POSITION pos = Db().GetRecords().GetHeadPosition(); pos;)
            if (static_cast<CBaseItem*>(Db().GetRecords().GetNext(pos))->GetId() == id) ++n;
        return n;
    }
    LRESULT Notice(int operation, int32_t id) { return m_view->OnDatabaseNotify(operation, NOTIFY_ITEM_RECORD, id); }

    CDatabaseObj m_other;
};

TEST_F(ChangeNotices, AnAddedRecordIsTakenFromTheFileOnce)
{
    Add(m_other, 102, "Gamma");
    ASSERT_EQ(0, m_other.Save());
    EXPECT_EQ(0, Notice(NOTIFY_ADDED, 102));
    ASSERT_NE(nullptr, Find(Db(), 102));
    EXPECT_EQ(CString("Gamma"), Find(Db(), 102)->GetField(0));
    // The same notice again, after the other program changed it once more:
    // the record is brought up to date, not listed twice.
    Find(m_other, 102)->SetField(0, "Gamma 2");
    ASSERT_EQ(0, m_other.Save());
    EXPECT_EQ(0, Notice(NOTIFY_ADDED, 102));
    EXPECT_EQ(1, CountWithId(102));
    EXPECT_EQ(CString("Gamma 2"), Find(Db(), 102)->GetField(0));
    // An id the file does not hold changes nothing.
    EXPECT_EQ(0, Notice(NOTIFY_ADDED, 999));
    EXPECT_EQ(0, CountWithId(999));
}

TEST_F(ChangeNotices, AModifiedRecordTakesItsSavedState)
{
    Find(m_other, 100)->SetField(0, "Alpha renamed");
    ASSERT_EQ(0, m_other.Save());
    EXPECT_EQ(0, Notice(NOTIFY_MODIFIED, 100));
    EXPECT_EQ(CString("Alpha renamed"), Find(Db(), 100)->GetField(0));
}

TEST_F(ChangeNotices, ADeletedRecordKeepsItsSavedTombstone)
{
    m_other.DeleteRecord(Find(m_other, 101));
    ASSERT_EQ(0, m_other.Save());
    EXPECT_EQ(0, Notice(NOTIFY_DELETED, 101));
    CRecord* beta = Find(Db(), 101);
    if (beta) {
        // Kept as the file keeps it, so the next save writes the tombstone.
        EXPECT_TRUE(beta->IsDeleted());
    } else {
        CDatabaseObj reread;
        ASSERT_EQ(0, reread.Load(Db().GetFilePath()));
        EXPECT_EQ(nullptr, Find(reread, 101));
    }
    ASSERT_EQ(0, Db().Save());
    CDatabaseObj reread;
    ASSERT_EQ(0, reread.Load(Db().GetFilePath()));
    CRecord* saved = Find(reread, 101);
    EXPECT_TRUE(!saved || saved->IsDeleted()) << "the deletion is not undone by the next save";
}

TEST_F(ChangeNotices, WhileLockedANoticeOnlyMarksAReloadAndThePingAnswersTheEditor)
{
    Find(m_other, 100)->SetField(0, "changed while locked");
    ASSERT_EQ(0, m_other.Save());
    m_view->SetLocked(true);
    for (int operation : {NOTIFY_RELOAD, NOTIFY_ADDED, NOTIFY_MODIFIED, NOTIFY_DELETED, 5, 7})
        EXPECT_EQ(0, Notice(operation, 100)) << operation;
    EXPECT_TRUE(m_view->IsReloadDue());
    EXPECT_EQ(CString("Alpha"), Find(Db(), 100)->GetField(0));
    m_view->SetLocked(false);

    EXPECT_EQ(0, Notice(NOTIFY_PING, 0));
    m_view->SetEditingDialogOpen(true);
    EXPECT_EQ(1, Notice(NOTIFY_PING, 0));
    m_view->SetEditingDialogOpen(false);
}

}  // namespace
