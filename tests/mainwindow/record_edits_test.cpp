// The record editor's rules without its window: which labels get a date
// picker, the label text, the modification date, and what writing the
// edits back changes in the record.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "mainwindow/editors/RecordEdits.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"
#include "tests/support/TimeZone.h"

namespace {

TEST(RecordEditRules, DateWordsAreFoundCaseSensitivelyAnywhereInTheLabel)
{
    const struct {
        const char* label;
        bool date;
    } cases[] = {
        {"Exp Date", true}, {"Purchase Date", true}, {"date", true},      {"DATE", true},
        {"Birthday", true}, {"Update", true},        {"DAY", true},       {"Date Mod", true},
        {"DATA", false},    {"dATE", false},         {"Username", false}, {"", false},
        {"D a t e", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.date, LabelNamesDate(c.label)) << c.label;
}

TEST(RecordEditRules, LabelTextGetsOneColon)
{
    EXPECT_EQ(CString("Password:"), LabelWithColon("Password"));
    EXPECT_EQ(CString("Password:"), LabelWithColon("Password:"));
    EXPECT_EQ(CString(":"), LabelWithColon(""));
}

TEST(RecordEditRules, ModificationDateIsMonthDayYearInLocalTime)
{
    const int64_t noonUtc = 1765195200;  // 8 December 2025, 12:00 UTC
    {
        zvtest::PinnedTimeZone utc("UTC0");
        EXPECT_EQ(CString("December 08, 2025"), ModificationDateText(noonUtc));
    }
    {
        zvtest::PinnedTimeZone tokyo("JST-15");
        EXPECT_EQ(CString("December 09, 2025"), ModificationDateText(noonUtc));
    }
}

class RecordEditsApply : public ::testing::Test {
protected:
    RecordEditsApply()
    {
        type.SetName("Bank");
        for (int i = 0; i < kItemFieldCount; ++i) record.SetField(i, i == 9 ? CString("May 01, 2020") : CString());
        record.SetField(0, "Current account");
        record.SetField(2, "secret");
        record.SetHiddenMask(0x4);
        record.SetId(0x2a);
        record.SetModified(false);
        record.SetModifiedTime(100);
    }
    CTypeItem type;
    CRecord record;
    zvtest::PinnedTimeZone utc{"UTC0"};
    const int64_t now = 1765195200;
};

TEST_F(RecordEditsApply, AnUnchangedRecordKeepsItsDateAndIsNotMarked)
{
    RecordEdits edits;
    LoadRecordEdits(edits, record, &type);
    EXPECT_EQ(CString("secret"), edits.values[2]) << "loaded unmasked";
    EXPECT_FALSE(ApplyRecordEdits(record, edits, &type, "", now));
    EXPECT_FALSE(record.IsModified());
    EXPECT_EQ(100, record.GetModifiedTime());
    EXPECT_EQ(CString("May 01, 2020"), record.GetField(9));
}

TEST_F(RecordEditsApply, PresetValuesStayAndAChangeStampsTheDate)
{
    RecordEdits edits;
    edits.values[0] = "Bank login";
    edits.values[3] = "https://bank.example/";
    LoadRecordEdits(edits, record, &type);
    EXPECT_EQ(CString("Bank login"), edits.values[0]);
    EXPECT_EQ(CString("secret"), edits.values[2]);
    EXPECT_TRUE(ApplyRecordEdits(record, edits, &type, "", now));
    EXPECT_TRUE(record.IsModified());
    EXPECT_EQ(static_cast<int32_t>(now), record.GetModifiedTime());
    EXPECT_EQ(CString("Bank login"), record.GetField(0));
    EXPECT_EQ(CString("https://bank.example/"), record.GetField(3));
    EXPECT_EQ(CString("December 08, 2025"), record.GetField(9));
    EXPECT_EQ(CString("December 08, 2025"), edits.values[9]) << "the editor shows the new date";
}

TEST_F(RecordEditsApply, EachKindOfChangeCounts)
{
    const struct {
        const char* what;
        void (*edit)(RecordEdits&);
    } cases[] = {
        {"type", [](RecordEdits& e) { e.typeKey[7] = 5; }},
        {"category", [](RecordEdits& e) { e.categoryKey[7] = 6; }},
        {"label", [](RecordEdits& e) { e.labels[1] = "PIN"; }},
        {"mask", [](RecordEdits& e) { e.mask = 0; }},
        {"icon", [](RecordEdits& e) { e.icon = 30; }},
        {"notes", [](RecordEdits& e) { e.notes = "call first"; }},
    };
    for (const auto& c : cases) {
        CRecord copy;
        copy.CopyFrom(&record);
        copy.SetModified(false);
        RecordEdits edits;
        LoadRecordEdits(edits, copy, &type);
        c.edit(edits);
        EXPECT_TRUE(ApplyRecordEdits(copy, edits, &type, "", now)) << c.what;
        EXPECT_TRUE(copy.IsModified()) << c.what;
        EXPECT_EQ(CString("December 08, 2025"), copy.GetField(9)) << c.what;
    }
}

TEST_F(RecordEditsApply, ALabelEqualToTheTypesIsNotStoredAsCustom)
{
    RecordEdits edits;
    LoadRecordEdits(edits, record, &type);
    edits.labels[1] = record.GetFieldLabel(1, &type, false);
    EXPECT_FALSE(ApplyRecordEdits(record, edits, &type, "", now));
    for (int i = 0; i < kItemFieldCount; ++i) EXPECT_TRUE(record.GetCustomLabel(i).IsEmpty()) << i;
}

TEST_F(RecordEditsApply, ARemovedAttachmentDeletesTheStoredFileAndSetsTheSyncMark)
{
    zvtest::ScratchDir dir("zvedit");
    const std::filesystem::path database = dir / "ZorvikanDatabase.zdb";
    record.SetAttachmentName("statement.pdf");
    record.SetAttachmentKey("k3y-k3y-k3y-k3y-k3y!");
    std::filesystem::create_directories(dir / "Files");
    const std::filesystem::path stored = dir / "Files" / std::string(record.GetAttachmentFileName());
    dir.WriteFile("Files/" + std::string(record.GetAttachmentFileName()), "12345678");
    ASSERT_TRUE(std::filesystem::exists(stored));

    RecordEdits edits;
    LoadRecordEdits(edits, record, &type);
    edits.attachmentName = "";
    edits.attachmentKey = record.GetAttachmentKey();
    EXPECT_TRUE(ApplyRecordEdits(record, edits, &type, zvtest::WinPath(database), now));
    EXPECT_FALSE(std::filesystem::exists(stored));
    EXPECT_FALSE(record.HasAttachment());
    EXPECT_EQ(1, record.GetAttachmentChanged());
}

}  // namespace
