// Import of exchange text into a database: what older files give, and the
// faults it no longer has.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/os/ChangeNotify.h"
#include "core/store/DatabaseObj.h"
#include "exchange/ExchangeIds.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/writers/ExportWriter.h"
#include "tests/exchange/ExchangeTestSupport.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace {

using zvtest::LiveRecords;
using zvtest::TypeNamed;

ImportResult Import(CDatabaseObj& db, int format, const std::string& text, const BlowfishContext* cipher = nullptr)
{
    ImportResult result;
    ImportExchangeText(db, format, text, cipher, CString(), CString(), nullptr, result);
    return result;
}

const char kV3[] = "Zorvikan Zkv File -v3.0\r\nF\r\n";
// After a record's first field: nine empty fields, mask 0, ten empty labels,
// the category and the notes.
const char kRecordTail[] = ",,,,,,,,,,0,,,,,,,,,,,Cat,notes\r\n";

TEST(ExchangeImport, ARecordBeforeAnyTypeLineIsUnfiledAndNotShifted)
{
    CDatabaseObj db;
    const ImportResult r = Import(db, kFormatZkv3, std::string(kV3) + "F,24,first,second" + kRecordTail);
    ASSERT_EQ(r.records, 1);
    const CRecord& record = *LiveRecords(db)[0];
    EXPECT_EQ(record.GetField(0), "first");
    EXPECT_EQ(record.GetField(1), "second");
    EXPECT_EQ(zvtest::TypeNameOf(db, record), "");
    EXPECT_EQ(db.GetTypes().GetCount(), 0);
}

TEST(ExchangeImport, ATypeLineWithoutANameMakesNoTypeAndItsRecordsAreUnfiled)
{
    CDatabaseObj db;
    const ImportResult r = Import(db, kFormatZkv3, std::string(kV3) + "T,3,,a,b,0\r\nF,24,first,second" + kRecordTail);
    ASSERT_EQ(r.records, 1);
    EXPECT_EQ(LiveRecords(db)[0]->GetField(0), "first");
    EXPECT_EQ(db.GetTypes().GetCount(), 0);
    // Nor does a comma-separated line whose type name is empty.
    Import(db, kFormatExportText, "Zorvikan Export File\r\n,value,,,,,,,,,,,Cat\r\n");
    EXPECT_EQ(db.GetTypes().GetCount(), 0);
    EXPECT_EQ(LiveRecords(db)[1]->GetField(0), "value");
}

TEST(ExchangeImport, WebLoginsGetsItsFixedKeyOnlyWhenNoTypeHoldsIt)
{
    const std::string text = std::string(kV3) + "T,1,Web Logins,Description,Username,Password,URL,0\r\n";
    {
        CDatabaseObj db;
        Import(db, kFormatZkv3, text);
        const CBaseItem* type = TypeNamed(db, "Web Logins");
        ASSERT_TRUE(type);
        EXPECT_EQ(std::memcmp(type->GetKey(), kWebLoginsTypeKey, kUniqueKeySize), 0);
    }
    {
        // The user renamed theirs: the import's "Web Logins" gets a key of its own.
        CDatabaseObj db;
        CBaseItem* own = db.GetTypes().NewItem();
        static_cast<CTypeItem*>(own)->SetName("My Logins");
        own->SetKey(kWebLoginsTypeKey);
        db.GetTypes().AddSorted(own);
        Import(db, kFormatZkv3, text);
        const CBaseItem* type = TypeNamed(db, "Web Logins");
        ASSERT_TRUE(type);
        EXPECT_NE(std::memcmp(type->GetKey(), kWebLoginsTypeKey, kUniqueKeySize), 0);
        EXPECT_FALSE(IsNullUniqueKey(type->GetKey()));
    }
    {
        // A record line naming it makes it with the fixed key too.
        CDatabaseObj db;
        Import(db, kFormatExportText, "Zorvikan Export File\r\nWeb Logins,me,,,,,,,,,,,\r\n");
        const CBaseItem* type = TypeNamed(db, "Web Logins");
        ASSERT_TRUE(type);
        EXPECT_EQ(std::memcmp(type->GetKey(), kWebLoginsTypeKey, kUniqueKeySize), 0);
    }
}

TEST(ExchangeImport, ALineWithoutValuesIsSkippedAndTheRestIsRead)
{
    CDatabaseObj db;
    const std::string text = std::string(kV3) + "T,3,Kind,a,b,0\r\nF,24,one" + kRecordTail + "F,24\r\n" +
                             "\r\n   \r\nF,24,two" + kRecordTail;
    const ImportResult r = Import(db, kFormatZkv3, text);
    EXPECT_EQ(r.malformedLines, 0);
    ASSERT_EQ(r.records, 2);
    EXPECT_EQ(r.skippedLines, 1);
    EXPECT_EQ(LiveRecords(db)[1]->GetField(0), "two");
    EXPECT_EQ(r.ReportText(), "2 item(s) were imported.\r\n1 line(s) without values were skipped: line(s) 5.");
}

TEST(ExchangeImport, AHeaderAloneIsNoSkippedLineInAnyFormat)
{
    const std::pair<int, const char*> cases[] = {
        {kFormatExportText, "Zorvikan Export File\r\n"}, {kFormatDetect, "Zorvikan Export File\r\n"},
        {kFormatExportText, "Zorvikan Export File"},     {kFormatZkv3, "Zorvikan Zkv File -v3.0\r\nF\r\n"},
        {kFormatZkv4, "Zorvikan Zkv File -v4.0\r\nF"},
    };
    for (const auto& c : cases) {
        CDatabaseObj db;
        const ImportResult r = Import(db, c.first, c.second);
        EXPECT_EQ(r.records, 0) << c.second;
        EXPECT_EQ(r.skippedLines, 0) << c.second;
        EXPECT_EQ(r.ReportText(), "0 item(s) were imported.") << c.second;
    }
}

TEST(ExchangeImport, ALineCutShortIsReportedAndNamesNoOtherLinesFile)
{
    CDatabaseObj db;
    // The first record stops inside its attachment values; the next line's
    // text must not become its attachment.
    const std::string text = "Zorvikan Zkv File -v4.0\r\nF\r\nT,3,Kind,0\r\nF,24,a,b,c,d,e,f,g,h,i,j,file.txt\r\n"
                             "evil.pdf,KEY,..\\..\\secret,0,,,,,,,,,,,Cat,\r\n"
                             "F,24,whole,,,,,,,,,,,,,0,,,,,,,,,,,Cat,notes\r\n";
    const ImportResult r = Import(db, kFormatZkv4, text);
    EXPECT_EQ(r.malformedLines, 1);
    ASSERT_EQ(r.records, 2);  // the continuation line reads as a record of its own
    for (CRecord* record : LiveRecords(db)) EXPECT_FALSE(record->HasAttachment()) << record->GetField(0).GetString();
    EXPECT_EQ(LiveRecords(db)[1]->GetField(0), "whole");
    EXPECT_EQ(r.ReportText(), "2 item(s) were imported.\r\n"
                              "1 line(s) were damaged or cut short and were not imported: line(s) 4.");
}

TEST(ExchangeImport, OnlyTheProgramsOwnColumnTitleRowIsLeftOut)
{
    const char kTitles[] =
        "Type,Field 1,Field 2,Field 3,Field 4,Field 5,Field 6,Field 7,Field 8,Field 9,Date Mod,Notes,Category\r\n";
    CDatabaseObj db;
    const ImportResult r =
        Import(db, kFormatDetect, std::string("\r\n") + kTitles + "Card,1234,,,,,,,,,,n,Personal\r\n");
    EXPECT_TRUE(r.titleRowSkipped);
    EXPECT_EQ(r.records, 1);
    EXPECT_FALSE(TypeNamed(db, "Type"));
    EXPECT_FALSE(zvtest::CategoryNamed(db, "Category"));
    EXPECT_TRUE(TypeNamed(db, "Card"));
    EXPECT_EQ(r.ReportText(), "1 item(s) were imported.\r\nLine 2 held the column titles and was not imported.");

    // First lines that only look like titles are records: a user type
    // "Notes", titles in other words or fewer columns, a title row below
    // the first line.
    struct Case {
        const char* text;
        int records;
    };
    const Case cases[] = {
        {"Notes,Note,my secret note text,,,,,,,,,,Personal\r\n", 1},
        {"Type,Title,Name,Field 3\r\n", 1},
        {"Type,Field 1,Field 2,Field 3,Field 4,Field 5,Field 6,Field 7,Field 8,Field 9,Date Mod,Notes\r\n", 1},
        {"type,field 1,field 2,field 3,field 4,field 5,field 6,field 7,field 8,field 9,date mod,notes,category\r\n", 1},
        {"Card,1234,,,,,,,,,,n,Personal\r\n", 1},
    };
    for (const Case& c : cases) {
        CDatabaseObj other;
        const ImportResult got = Import(other, kFormatDetect, c.text);
        EXPECT_EQ(got.records, c.records) << c.text;
        EXPECT_FALSE(got.titleRowSkipped) << c.text;
        EXPECT_EQ(got.LeftOutText(), "") << c.text;
    }
    CDatabaseObj notes;
    Import(notes, kFormatDetect, "Notes,Note,my secret note text,,,,,,,,,,Personal\r\n");
    ASSERT_EQ(LiveRecords(notes).size(), 1u);
    EXPECT_EQ(LiveRecords(notes)[0]->GetField(1), "my secret note text");
    EXPECT_TRUE(TypeNamed(notes, "Notes"));
    CDatabaseObj second;
    EXPECT_EQ(Import(second, kFormatDetect, std::string("Card,1234\r\n") + kTitles).records, 2);
}

TEST(ExchangeImport, TheReportNamesTheLinesLeftOutOfAFileWithTheSecondRecordCut)
{
    // Three records; the second stops inside its labels, the fourth line
    // has no values, and the blank lines between count as lines.
    const std::string text = std::string(kV3) + "T,3,Kind,a,b,0\r\nF,24,one" + kRecordTail +
                             "F,24,two,,,,,,,,,,0,l1,l2\r\n\r\nF,24\r\nF,24,three" + kRecordTail;
    CDatabaseObj db;
    const ImportResult r = Import(db, kFormatZkv3, text);
    EXPECT_EQ(r.records, 2);
    EXPECT_EQ(r.ReportText(), "2 item(s) were imported.\r\n"
                              "1 line(s) were damaged or cut short and were not imported: line(s) 5.\r\n"
                              "1 line(s) without values were skipped: line(s) 7.");

    // More left out than are listed: the first ten numbers and how many more.
    std::string many = "Zorvikan Export File\r\n";
    for (int i = 0; i < 12; ++i) many += "only\r\n";
    const ImportResult lots = Import(db, kFormatExportText, many);
    EXPECT_EQ(lots.LeftOutText(),
              "12 line(s) without values were skipped: line(s) 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 and 2 more.");
    // Lines end at CR LF, LF or a lone CR.
    const ImportResult mixed = Import(db, kFormatExportText, "Zorvikan Export File\nA,b\rx\r\n\"cut\r\n");
    EXPECT_EQ(mixed.LeftOutText(), "1 line(s) were damaged or cut short and were not imported: line(s) 4.\r\n"
                                   "1 line(s) without values were skipped: line(s) 3.");
}

TEST(ExchangeImport, LabelsEqualToTheTypesAreNotKept)
{
    CDatabaseObj db;
    Import(db, kFormatZkv3,
           std::string(kV3) + "T,3,Kind,Holder,Number,,,,,,,,,0\r\n" +
               "F,24,a,,,,,,,,,,0,Holder,Own,Field 3,,,,,,,,Cat,\r\n");
    const CRecord& record = *LiveRecords(db)[0];
    EXPECT_EQ(record.GetCustomLabel(0), "");
    EXPECT_EQ(record.GetCustomLabel(1), "Own");
    EXPECT_EQ(record.GetCustomLabel(2), "");  // the default label the type shows
}

TEST(ExchangeImport, SameFileTwiceDoublesRecordsNotTypes)
{
    CDatabaseObj db;
    const std::string text = zvtest::ExchangeFixture("v3_plain.zkv");
    Import(db, kFormatZkv3, text);
    Import(db, kFormatZkv3, text);
    EXPECT_EQ(LiveRecords(db).size(), 6u);
    EXPECT_EQ(db.GetTypes().GetCount(), 1);
}

TEST(ExchangeImport, CommaSeparatedLinesTakeTheTypesIconAndMask)
{
    CDatabaseObj db;
    CBaseItem* type = db.GetTypes().NewItem();
    static_cast<CTypeItem*>(type)->SetName("Safe");
    type->SetIcon(40);
    type->SetHiddenMask(6);
    db.GetTypes().AddSorted(type);
    const ImportResult r = Import(db, kFormatDetect, "safe,one,two\r\nonly\r\n");
    ASSERT_EQ(r.records, 1);
    EXPECT_EQ(r.skippedLines, 1);
    const CRecord& record = *LiveRecords(db)[0];
    EXPECT_EQ(record.GetIcon(), 40);
    EXPECT_EQ(record.GetHiddenMask(), 6);
    EXPECT_EQ(record.GetField(1), "two");
}

TEST(ExchangeImport, ATypeNameIsCutTo31Characters)
{
    CDatabaseObj db;
    const std::string name(40, 'N');
    Import(db, kFormatZkv3, std::string(kV3) + "T,1," + name + ",0\r\nF,24,a" + kRecordTail);
    const CBaseItem* type = TypeNamed(db, std::string(31, 'N').c_str());
    ASSERT_TRUE(type);
    EXPECT_EQ(zvtest::TypeNameOf(db, *LiveRecords(db)[0]), CString(std::string(31, 'N')));
}

TEST(ExchangeImport, AnExistingTypeIsKeptAsItIs)
{
    CDatabaseObj db;
    Import(db, kFormatZkv3, std::string(kV3) + "T,1,Kind,a,0\r\n");
    Import(db, kFormatZkv3, std::string(kV3) + "T,9,KIND,b,7\r\n");
    ASSERT_EQ(db.GetTypes().GetCount(), 1);
    const CBaseItem* type = TypeNamed(db, "Kind");
    EXPECT_EQ(type->GetIcon(), 1);
    EXPECT_EQ(type->GetField(0), "a");
}

TEST(ExchangeImport, NewTypesAndCategoriesTakeTheirPlacesInNameOrderAndAreFoundAgainAnyCase)
{
    // Names of every case among ones the database has; each line's type and
    // category are looked up before they are made.
    CDatabaseObj db;
    Import(db, kFormatExportText, "Zorvikan Export File\r\nmiddle,1,,,,,,,,,,,Beta\r\n");
    const std::string text = "Zorvikan Export File\r\n"
                             "beta,1,,,,,,,,,,,alpha\r\n"
                             "Alpha,2,,,,,,,,,,,BETA\r\n"
                             "MIDDLE,3,,,,,,,,,,,Zulu\r\n"
                             "alpha,4,,,,,,,,,,,zulu\r\n"
                             "Zed,5,,,,,,,,,,,Alpha\r\n";
    const ImportResult r = Import(db, kFormatExportText, text);
    EXPECT_EQ(r.records, 5);
    EXPECT_EQ(r.types, 3);       // beta, Alpha, Zed
    EXPECT_EQ(r.categories, 2);  // alpha, Zulu
    auto names = [](const CObjectList& list) {
        std::vector<std::string> out;
        for (POSITION pos = list.GetHeadPosition(); pos;)
            out.push_back(static_cast<const CBaseItem*>(list.GetNext(pos))->GetName().Std());
        return out;
    };
    EXPECT_EQ(names(db.GetTypes()), (std::vector<std::string>{"Alpha", "Zed", "beta", "middle"}));
    EXPECT_EQ(names(db.GetCategories()), (std::vector<std::string>{"Beta", "Zulu", "alpha"}));
    std::vector<std::string> types;
    for (CRecord* record : LiveRecords(db)) types.push_back(zvtest::TypeNameOf(db, *record).Std());
    EXPECT_EQ(types, (std::vector<std::string>{"middle", "beta", "Alpha", "middle", "Alpha", "Zed"}));
}

TEST(ExchangeImport, NoticesNameEveryItemAdded)
{
    CDatabaseObj db;
    CNotifyProviderList notices;
    ImportResult r;
    ImportExchangeText(db, kFormatZkv3, zvtest::ExchangeFixture("v3_plain.zkv"), nullptr, CString(), CString(),
                       &notices, r);
    EXPECT_EQ(r.types, 1);
    EXPECT_EQ(r.categories, 2);
    EXPECT_EQ(r.records, 3);
    EXPECT_EQ(notices.GetCount(), 6);
}

TEST(ExchangeImport, FilesThatAreNotTextAreRefused)
{
    const std::string cases[] = {
        std::string(40, '\0') + std::string(100, 'x'),
        zvtest::ReadFileBytes(zvtest::FixturePath("db/smallest.zdb")),
        std::string("Zorvikan Zkv File -v3.0\r\nF\r\nF,24,a\0b,c\r\n", 38),
    };
    for (const std::string& bytes : cases) {
        for (int format : {kFormatDetect, kFormatExportText, kFormatZkv3}) {
            const ImportFileCheck check = PrepareImportText(bytes, format, nullptr);
            EXPECT_EQ(check.messageId, IDS_IMPORT_NOT_TEXT) << format;
        }
    }
    EXPECT_EQ(PrepareImportText("Zorvikan Zkv File -v7.0\r\n", kFormatDetect, nullptr).messageId, IDS_IMPORT_LATER_ZKV);
    zvtest::ScratchDir dir;
    EXPECT_EQ(PrepareImportFile(zvtest::WinPath(dir / "missing.zkv"), kFormatDetect, nullptr).messageId,
              IDS_IMPORT_READ_ERROR);
}

TEST(ExchangeImport, FilePasswordsByTable)
{
    const std::string protectedText = zvtest::ExchangeFixture("v3_password.zkv");
    const std::string plainText = zvtest::ExchangeFixture("v3_plain.zkv");
    const struct {
        const char* name;
        const std::string& text;
        const char* password;
        bool cipher;
        unsigned message;
    } cases[] = {
        {"right password", protectedText, zvtest::kFixturePassword, true, 0},
        {"wrong password", protectedText, "wrong", false, IDS_IMPORT_WRONG_PWD},
        {"empty password on a protected file", protectedText, "", false, IDS_IMPORT_WRONG_PWD},
        {"case matters", protectedText, "FIXTURE PW", false, IDS_IMPORT_WRONG_PWD},
        {"empty password on a plain file", plainText, "", false, 0},
    };
    for (const auto& c : cases) {
        unsigned message = 99;
        const BlowfishKeyPtr cipher = OpenWithFilePassword(c.text, CSecretString(c.password), message);
        EXPECT_EQ(cipher != nullptr, c.cipher) << c.name;
        EXPECT_EQ(message, c.message) << c.name;
    }
    // The master key is tried first and kept when it opens the file.
    const BlowfishKeyPtr master = zvtest::FixtureCipher();
    const ImportFileCheck opened = PrepareImportText(protectedText, kFormatDetect, master);
    EXPECT_FALSE(opened.needsPassword);
    EXPECT_EQ(opened.cipher, master);
    const ImportFileCheck asks = PrepareImportText(protectedText, kFormatDetect, zvtest::CipherOf("other"));
    EXPECT_TRUE(asks.needsPassword);
    EXPECT_FALSE(asks.cipher);
}

TEST(ExchangeImport, AttachmentsComeFromTheFolderBesideTheFile)
{
    zvtest::ScratchDir dir;
    std::filesystem::create_directories(dir / "In.zkv" / "Files");
    std::filesystem::create_directories(dir / "attachments");
    dir.WriteFile("In.zkv/Files/1a2b.zfa", "stored bytes");
    dir.WriteFile("secret.zfa", "not to be copied");
    const std::string text = "Zorvikan Zkv File -v4.0\r\nF\r\nT,3,Kind,0\r\n"
                             "F,24,a,,,,,,,,,,scan.pdf,K3Y,1a2b,0,,,,,,,,,,,Cat,\r\n"
                             "F,24,b,,,,,,,,,,up.pdf,K3Y,..\\secret,0,,,,,,,,,,,Cat,\r\n";
    CDatabaseObj db;
    ImportResult r;
    ImportExchangeText(db, kFormatZkv4, text, nullptr, zvtest::WinPath(dir / "In.zkv" / "In.zkv"),
                       zvtest::WinPath(dir / "attachments"), nullptr, r);
    ASSERT_EQ(r.records, 2);
    EXPECT_EQ(r.attachmentsCopied, 1);
    const CRecord& first = *LiveRecords(db)[0];
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "attachments" / first.GetAttachmentFileName().GetString()), "stored bytes");
    EXPECT_EQ(LiveRecords(db)[1]->GetAttachmentName(), "up.pdf");
    EXPECT_FALSE(
        std::filesystem::exists(dir / "attachments" / LiveRecords(db)[1]->GetAttachmentFileName().GetString()));
}

}  // namespace

namespace {

TEST(ExchangeImportIds, NewItemsTakeIdsNoItemOfTheDatabaseHas)
{
    CDatabaseObj db;
    Import(db, kFormatZkv3, zvtest::ExchangeFixture("v3_plain.zkv"));
    std::string text = "Zorvikan Export File\r\n";
    for (int i = 0; i < 300; ++i)
        text += "Kind " + std::to_string(i % 7) + ",v,,,,,,,,,,,Cat " + std::to_string(i) + "\r\n";
    Import(db, kFormatExportText, text);
    std::set<int32_t> ids;
    size_t items = 0;
    for (CObjectList* list : {static_cast<CObjectList*>(&db.GetRecords()), static_cast<CObjectList*>(&db.GetTypes()),
                              static_cast<CObjectList*>(&db.GetCategories())}) {
        for (POSITION pos = list->GetHeadPosition(); pos; ++items)
            ids.insert(static_cast<CBaseItem*>(list->GetNext(pos))->GetId());
    }
    EXPECT_EQ(items, 3u + 300u + 1u + 7u + 2u + 300u);
    EXPECT_EQ(ids.size(), items);
    EXPECT_EQ(ids.count(0), 0u);
    // Outside the import the lists walk themselves again.
    EXPECT_TRUE(db.GetRecords().IsIdInUse(LiveRecords(db)[0]->GetId()));
    EXPECT_FALSE(db.GetRecords().IsIdInUse(0));
}

}  // namespace

namespace {

TEST(ExchangeImportIds, OnceEvery16BitIdIsTakenNewIdsAreWideAtOnce)
{
    CRecordList list;
    CObjectList::IdIndex index;
    for (int32_t id = 1; id <= 0xFFFF; ++id) index.Insert(id);
    ASSERT_EQ(index.narrowInUse, 0xFFFF);
    list.SetIdIndex(&index);
    for (int i = 0; i < 100; ++i) {
        std::unique_ptr<CBaseItem> item(list.NewItem());
        ASSERT_TRUE(item);
        EXPECT_GT(item->GetId(), 0xFFFF);
        EXPECT_EQ(index.ids.count(item->GetId()), 1u);
    }
    EXPECT_EQ(index.ids.size(), 0xFFFFu + 100u);
    list.SetIdIndex(nullptr);
}

}  // namespace
