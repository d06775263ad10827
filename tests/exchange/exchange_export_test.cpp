// Export of a database's records as exchange text and files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/store/DatabaseObj.h"
#include "exchange/ExchangeIds.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/writers/ExportWriter.h"
#include "exchange/writers/ZkvWriters.h"
#include "tests/exchange/ExchangeTestSupport.h"
#include "core/os/ProcessSeams.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace {

using zvtest::LiveRecords;

int FailReplace(const CString&, const CString&) { return 112; }

CTypeItem* AddType(CDatabaseObj& db, const char* name, WORD icon = 5)
{
    CTypeItem* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
    type->SetName(name);
    type->SetIcon(icon);
    for (int i = 0; i < kItemFieldCount; ++i) type->SetField(i, CString(name) + " label");
    db.GetTypes().AddSorted(type);
    return type;
}

CRecord* AddRecord(CDatabaseObj& db, const CTypeItem* type, const char* first, const CString& notes = CString())
{
    CStringArray values;
    values.Add(type ? type->GetName() : CString("Unfiled"));
    values.Add(first);
    CRecord* record = db.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
    record->SetNotes(notes);
    return record;
}

std::string Export(const CDatabaseObj& db, int format, const BlowfishContext* cipher = nullptr)
{
    CExportWriter writer(db, format, cipher);
    std::string out;
    writer.WriteHeader(out);
    writer.WriteRecords(out, CollectAllRecords(db), false, nullptr);
    return out;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

TEST(ExchangeExport, ATypeLineIsWrittenEachTimeTheTypeChanges)
{
    CDatabaseObj db;
    CTypeItem* a = AddType(db, "A");
    CTypeItem* b = AddType(db, "B");
    AddRecord(db, a, "1");
    AddRecord(db, a, "2");
    AddRecord(db, b, "3");
    AddRecord(db, a, "4");
    std::vector<std::string> types;
    for (const std::string& line : Lines(Export(db, kFormatZkv3)))
        if (line.rfind("T,", 0) == 0) types.push_back(line.substr(0, 5));
    EXPECT_EQ(types, (std::vector<std::string>{"T,5,A", "T,5,B", "T,5,A"}));
}

TEST(ExchangeExport, AnUnfiledRecordFollowsTheUnfiledTypeLine)
{
    CDatabaseObj db;
    AddRecord(db, nullptr, "loose");
    const std::vector<std::string> lines = Lines(Export(db, kFormatZkv3));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "T,24,Unfiled,0");
    // Read back it stays unfiled and makes no type.
    CDatabaseObj back;
    ImportResult r;
    ImportExchangeText(back, kFormatZkv3, Export(db, kFormatZkv3), nullptr, CString(), CString(), nullptr, r);
    EXPECT_EQ(r.records, 1);
    EXPECT_EQ(back.GetTypes().GetCount(), 0);
}

TEST(ExchangeExport, ExportTextIsNeverEncrypted)
{
    CDatabaseObj db;
    AddRecord(db, AddType(db, "A"), "clear");
    const BlowfishKeyPtr cipher = zvtest::FixtureCipher();
    EXPECT_EQ(Export(db, kFormatExportText, cipher.get()), "Zorvikan Export File\r\nA,clear,,,,,,,,,,,Unfiled\r\n");
}

// Every version and both paths give back every field, the notes and long
// values whole, whatever the estimate of the text's size said.
TEST(ExchangeExport, RoundTripsKeepEveryValueWhole)
{
    const CString tricky[] = {" lead",
                              "trail ",
                              "   ",
                              "\r\nfirst",
                              "lone\nLF",
                              "\x0B",
                              "a\x1D\r\nb",
                              "say \"hi\", ok",
                              CString(std::string(5000, 'L')),
                              CString(std::string(70000, 'M'))};
    const BlowfishKeyPtr cipher = zvtest::FixtureCipher();
    for (int format : {kFormatZkv2, kFormatZkv3, kFormatZkv4, kFormatExportText}) {
        for (const BlowfishContext* key : {static_cast<const BlowfishContext*>(nullptr), cipher.get()}) {
            if (format == kFormatExportText && key) continue;
            CDatabaseObj db;
            CTypeItem* type = AddType(db, "Kind");
            for (const CString& value : tricky) {
                CRecord* record = AddRecord(db, type, "x", value);
                record->SetField(0, value);
                record->SetField(5, value);
                if (format != kFormatZkv2) record->SetField(9, value);
            }
            const std::string text = Export(db, format, key);
            EXPECT_GT(text.size(), EstimateExportSize(db, key) / 4);
            CDatabaseObj back;
            ImportResult r;
            ImportExchangeText(back, format, text, key, CString(), CString(), nullptr, r);
            ASSERT_EQ(r.records, 10) << format;
            for (size_t i = 0; i < 10; ++i) {
                const CRecord& got = *LiveRecords(back)[i];
                SCOPED_TRACE(testing::Message()
                             << "format " << format << " cipher " << (key != nullptr) << " value " << i);
                EXPECT_EQ(got.GetField(0), tricky[i]);
                EXPECT_EQ(got.GetField(5), tricky[i]);
                if (format != kFormatZkv2) {
                    EXPECT_EQ(got.GetField(9), tricky[i]);
                }
                EXPECT_EQ(got.GetNotes(), tricky[i]);
            }
        }
    }
}

// A header counts only as the file's first line: types whose names begin
// like one come back with their records and the records after them.
TEST(ExchangeExport, TypeNamesThatBeginLikeAHeaderRoundTrip)
{
    const char* const names[] = {"Zorvikan Export File", "Zorvikan Export File cards", "Zorvikan Zkv File -v1.0",
                                 "Zorvikan Zkv File -v1.0 x", "Zorvikan Zkv File -v4.0 y"};
    for (int format : {kFormatZkv2, kFormatZkv3, kFormatZkv4, kFormatExportText}) {
        CDatabaseObj db;
        for (const char* name : names) {
            CTypeItem* type = AddType(db, name);
            AddRecord(db, type, "first");
            AddRecord(db, type, "second");
        }
        const std::string text = Export(db, format);
        for (int readAs : {format, format == kFormatExportText ? kFormatDetect : format}) {
            CDatabaseObj back;
            ImportResult r;
            ImportExchangeText(back, readAs, text, nullptr, CString(), CString(), nullptr, r);
            SCOPED_TRACE(testing::Message() << "format " << format << " read as " << readAs);
            EXPECT_EQ(r.records, 10);
            EXPECT_EQ(r.skippedLines + r.malformedLines, 0);
            EXPECT_FALSE(r.titleRowSkipped);
            for (const char* name : names) {
                int count = 0;
                for (CRecord* record : LiveRecords(back)) count += zvtest::TypeNameOf(back, *record) == name ? 1 : 0;
                EXPECT_EQ(count, 2) << name;
            }
        }
    }
}

TEST(ExchangeExport, TextLongerThanItsEstimateIsWrittenWhole)
{
    // Labels and category names are not counted by the estimate.
    zvtest::ScratchDir dir;
    CDatabaseObj db;
    CTypeItem* type = AddType(db, "Kind");
    const CString longText(std::string(20000, 'C'));
    for (int i = 0; i < kItemFieldCount; ++i) type->SetField(i, longText);
    CRecord* record = db.ImportRecord(zvtest::Strings({"Kind", "f1"}), 0, CStringArray(), longText, 24, nullptr);
    record->SetNotes("last notes");
    const std::string text = Export(db, kFormatZkv3);
    ASSERT_GT(text.size(), EstimateExportSize(db, nullptr));
    EXPECT_EQ(WriteExportFile(db, kFormatZkv3, CollectAllRecords(db), false, zvtest::WinPath(dir / "x.zkv"), nullptr,
                              CString()),
              0u);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "x.zkv"), text);
    CDatabaseObj back;
    ImportResult r;
    ImportExchangeText(back, kFormatZkv3, text, nullptr, CString(), CString(), nullptr, r);
    ASSERT_EQ(r.records, 1);
    EXPECT_TRUE(zvtest::CategoryNamed(back, longText));
    EXPECT_EQ(LiveRecords(back)[0]->GetNotes(), "last notes");
}

TEST(ExchangeExport, Version2NotesStayNotes)
{
    CDatabaseObj db;
    CRecord* record = AddRecord(db, AddType(db, "Kind"), "f1", "the notes");
    record->SetField(6, "seventh");
    const std::string text = Export(db, kFormatZkv2);
    EXPECT_NE(text.find(",the notes\r\n"), std::string::npos);
    EXPECT_EQ(text.find("seventh"), std::string::npos);
    CDatabaseObj back;
    ImportResult r;
    ImportExchangeText(back, kFormatZkv2, text, nullptr, CString(), CString(), nullptr, r);
    ASSERT_EQ(r.records, 1);
    EXPECT_EQ(LiveRecords(back)[0]->GetNotes(), "the notes");
    EXPECT_EQ(LiveRecords(back)[0]->GetField(6), "");
}

TEST(ExchangeExport, AFolderExportHoldsItsFileAndTheAttachments)
{
    zvtest::ScratchDir dir;
    std::filesystem::create_directories(dir / "attachments");
    CDatabaseObj db;
    CRecord* with = AddRecord(db, AddType(db, "Kind"), "with");
    with->SetAttachmentName("scan.pdf");
    with->SetAttachmentKey("K3Y");
    AddRecord(db, nullptr, "without");
    dir.WriteFile("attachments/" + std::string(with->GetAttachmentFileName().GetString()), "stored");
    const CString folder = zvtest::WinPath(dir / "Out.zkv");
    EXPECT_EQ(WriteExportFile(db, kFormatZkv4, CollectAllRecords(db), true, folder, nullptr,
                              zvtest::WinPath(dir / "attachments")),
              0u);
    const std::string text = zvtest::ReadFileBytes(dir / "Out.zkv" / "Out.zkv");
    EXPECT_EQ(text.rfind("Zorvikan Zkv File -v4.0\r\nF\r\n", 0), 0u);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "Out.zkv" / "Files" / with->GetAttachmentFileName().GetString()), "stored");
    // Imported from the folder, the attachment comes back under a new name.
    std::filesystem::create_directories(dir / "again");
    CDatabaseObj back;
    ImportResult r;
    ImportExchangeText(back, kFormatZkv4, text, nullptr, zvtest::WinPath(dir / "Out.zkv" / "Out.zkv"),
                       zvtest::WinPath(dir / "again"), nullptr, r);
    EXPECT_EQ(r.records, 2);
    EXPECT_EQ(r.attachmentsCopied, 1);
    EXPECT_EQ(LiveRecords(back)[0]->GetAttachmentName(), "scan.pdf");
    EXPECT_FALSE(LiveRecords(back)[1]->HasAttachment());
}

TEST(ExchangeExport, FailuresGiveTheirMessagesAndKeepTheOldFile)
{
    zvtest::ScratchDir dir;
    EXPECT_EQ(SaveExportText(kFormatZkv3, "text", zvtest::WinPath(dir / "no" / "such" / "x.zkv")),
              IDS_EXPORT_CREATE_ERROR);
    dir.WriteFile("old.zkv", "old contents");
    EXPECT_EQ(SaveExportText(kFormatZkv3, "new contents", zvtest::WinPath(dir / "old.zkv")), 0u);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "old.zkv"), "new contents");
    EXPECT_FALSE(std::filesystem::exists(dir / "old.zkv.tmp"));
    // A file that cannot be put in place leaves the old one as it was.
    CDatabaseObj db;
    AddRecord(db, nullptr, "new record");
    {
        zvtest::ScopedReplace hook(&SetBeforeReplaceHook, &FailReplace);
        EXPECT_EQ(WriteExportFile(db, kFormatZkv3, CollectAllRecords(db), false, zvtest::WinPath(dir / "old.zkv"),
                                  nullptr, CString()),
                  IDS_EXPORT_WRITE_ERROR);
    }
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "old.zkv"), "new contents");
    EXPECT_FALSE(std::filesystem::exists(dir / "old.zkv.tmp"));
}

}  // namespace
