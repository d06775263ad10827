// The exchange text of the main view's Copy and Paste.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/store/DatabaseObj.h"
#include "exchange/clipboard/RecordClipboardExchange.h"
#include "tests/exchange/ExchangeTestSupport.h"

namespace {

using zvtest::LiveRecords;

CTypeItem* AddType(CDatabaseObj& db, const char* name)
{
    CTypeItem* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
    type->SetName(name);
    type->SetIcon(7);
    for (int i = 0; i < kItemFieldCount; ++i) type->SetField(i, CString(name) + " label");
    db.GetTypes().AddSorted(type);
    return type;
}

CRecord* AddRecord(CDatabaseObj& db, const CTypeItem* type, const char* first, const char* category = "")
{
    CStringArray values;
    values.Add(type ? type->GetName() : CString("Unfiled"));
    values.Add(first);
    values.Add(CString(first) + " two");
    return db.ImportRecord(values, 0, CStringArray(), category, 24, nullptr);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

TEST(RecordClipboardText, IsAPlainVersion3TextWithATypeLineWhereTheTypeChanges)
{
    CDatabaseObj db;
    CTypeItem* bank = AddType(db, "Bank");
    CTypeItem* mail = AddType(db, "Mail");
    CRecord* a = AddRecord(db, bank, "a");
    CRecord* b = AddRecord(db, bank, "b");
    CRecord* c = AddRecord(db, mail, "c");
    CRecord* d = AddRecord(db, bank, "d");
    CRecordClipboardExchange exchange;
    const std::vector<std::string> lines = Lines(exchange.WriteRecords(db, {a, b, c, d}));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Zorvikan Zkv File -v3.0");
    EXPECT_EQ(lines[1], "F");
    std::vector<std::string> kinds;
    for (size_t i = 2; i < lines.size(); ++i) kinds.push_back(lines[i].substr(0, 2));
    // Type lines begin "T", record lines with their flag "F".
    EXPECT_EQ(kinds, (std::vector<std::string>{"T,", "F,", "F,", "T,", "F,", "T,", "F,"}));
}

TEST(RecordClipboardText, CarriesNoAttachmentValues)
{
    CDatabaseObj db;
    CRecord* record = AddRecord(db, AddType(db, "Files"), "deed");
    record->SetAttachmentName("deed.pdf");
    record->SetAttachmentKey("KEYKEYKEYKEYKEYKEYKE");
    CRecordClipboardExchange exchange;
    const std::string text = exchange.WriteRecords(db, {record});
    EXPECT_EQ(text.find("deed.pdf"), std::string::npos);
    EXPECT_EQ(text.find("KEYKEY"), std::string::npos);
}

TEST(RecordClipboardText, PastedIntoAnotherDatabaseGivesTheSameRecords)
{
    CDatabaseObj from;
    CTypeItem* bank = AddType(from, "Bank");
    CRecord* a = AddRecord(from, bank, "alpha", "Home");
    CRecord* b = AddRecord(from, nullptr, "beta");
    b->SetNotes("line one\r\nline two");
    CRecordClipboardExchange exchange;
    const std::string text = exchange.WriteRecords(from, {a, b});

    CDatabaseObj to;
    std::vector<CRecord*> added;
    exchange.ImportText(to, text, nullptr, added);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(LiveRecords(to), added);
    EXPECT_EQ(added[0]->GetField(0), "alpha");
    EXPECT_EQ(added[0]->GetField(1), "alpha two");
    EXPECT_EQ(zvtest::TypeNameOf(to, *added[0]), "Bank");
    EXPECT_NE(nullptr, zvtest::CategoryNamed(to, "Home"));
    EXPECT_EQ(added[1]->GetField(0), "beta");
    EXPECT_EQ(added[1]->GetNotes(), "line one\r\nline two");
    EXPECT_EQ(zvtest::TypeNameOf(to, *added[1]), "");
    // Pasting again adds them again: an import never replaces.
    exchange.ImportText(to, text, nullptr, added);
    EXPECT_EQ(LiveRecords(to).size(), 4u);
}

TEST(RecordClipboardText, NothingSelectedIsTheHeaderAlone)
{
    CDatabaseObj db;
    CRecordClipboardExchange exchange;
    EXPECT_EQ(exchange.WriteRecords(db, {}), "Zorvikan Zkv File -v3.0\r\nF\r\n");
    std::vector<CRecord*> added{nullptr};
    exchange.ImportText(db, "Zorvikan Zkv File -v3.0\r\nF\r\n", nullptr, added);
    EXPECT_TRUE(added.empty());
}

}  // namespace
