// The fixtures of tests/fixtures/exchange, made by make_exchange_fixtures.py
// from the format's tables: our writer writes them byte for byte, and every
// version reads into the same records.
#include <gtest/gtest.h>

#include <string>

#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/writers/ZkvWriters.h"
#include "tests/exchange/ExchangeTestSupport.h"

namespace {

using zvtest::Strings;

const zvtest::StringList kTypeValues = Strings(
    {"Bank Card", "Holder", "Number", "PIN", "Expires", "Bank", "Phone", "Field 7", "Field 8", "Field 9", "Date Mod"});

struct FixtureRecord {
    zvtest::StringList values;  // ten fields and the notes
    WORD mask;
    zvtest::StringList labels;
    const char* category;
    zvtest::StringList attachment;
    WORD icon;
};

std::vector<FixtureRecord> FixtureRecords()
{
    zvtest::StringList typeLabels;
    for (int i = 1; i <= 10; ++i) typeLabels.Add(kTypeValues[i]);
    zvtest::StringList aliceLabels(typeLabels);
    aliceLabels[2] = "Secret";
    return {
        {Strings({"Alice Smith", "4111,1111", "say \"hi\"", "01/29", "  First Bank", "", "", "", "", "June 01, 2026",
                  "line one\r\nline two"}),
         4, aliceLabels, "Personal", Strings({"", "", ""}), 7},
        {Strings({"Bob", "\x0B literal", "lone\nLF", "lone\rCR", " ", "x", "seventh", "", "", "", ""}), 0, typeLabels,
         "Unfiled", Strings({"scan.pdf", "K3Y", "1a2b"}), 7},
    };
}

FixtureRecord UnfiledRecord()
{
    return {Strings({"Loose note", "", "", "", "", "", "", "", "", "", "plain notes"}),
            0,
            Strings({"Field 1", "Field 2", "Field 3", "Field 4", "Field 5", "Field 6", "Field 7", "Field 8", "Field 9",
                     "Date Mod"}),
            "Work",
            Strings({"", "", ""}),
            24};
}

std::string WriteFixture(int format, const BlowfishContext* cipher)
{
    std::string out;
    WriteZkvHeader(format, out, cipher);
    if (format == kFormatExportText) {
        for (const FixtureRecord& r : FixtureRecords()) {
            CStringArray values;
            values.Add("Bank Card");
            values.Append(r.values);
            WriteRecordLine(out, format, cipher, values, r.mask, r.labels, r.category, r.attachment, r.icon);
        }
        FixtureRecord u = UnfiledRecord();
        CStringArray values;
        values.Add("Unfiled");
        values.Append(u.values);
        WriteRecordLine(out, format, cipher, values, u.mask, u.labels, u.category, u.attachment, u.icon);
        return out;
    }
    WriteTypeLine(out, format, cipher, kTypeValues, 2, 7);
    for (const FixtureRecord& r : FixtureRecords())
        WriteRecordLine(out, format, cipher, r.values, r.mask, r.labels, r.category, r.attachment, r.icon);
    WriteTypeLine(out, format, cipher, Strings({"Unfiled"}), 0, 24);
    FixtureRecord u = UnfiledRecord();
    WriteRecordLine(out, format, cipher, u.values, u.mask, u.labels, u.category, u.attachment, u.icon);
    return out;
}

struct FixtureFile {
    const char* name;
    int format;
    bool password;
};
const FixtureFile kWritten[] = {
    {"v2_plain.zkv", kFormatZkv2, false},          {"v2_password.zkv", kFormatZkv2, true},
    {"v3_plain.zkv", kFormatZkv3, false},          {"v3_password.zkv", kFormatZkv3, true},
    {"v4_plain.zkv", kFormatZkv4, false},          {"v4_password.zkv", kFormatZkv4, true},
    {"export_text.csv", kFormatExportText, false},
};

TEST(ExchangeFixtures, OurWriterWritesThemByteForByte)
{
    const BlowfishKeyPtr cipher = zvtest::FixtureCipher();
    for (const FixtureFile& f : kWritten) {
        const std::string expected = zvtest::ExchangeFixture(f.name);
        ASSERT_FALSE(expected.empty()) << f.name;
        EXPECT_EQ(WriteFixture(f.format, f.password ? cipher.get() : nullptr), expected) << f.name;
    }
}

// What each version carries of the fixture's records.
void ExpectImported(const char* name, int format, CDatabaseObj& db)
{
    SCOPED_TRACE(name);
    const std::vector<CRecord*> records = zvtest::LiveRecords(db);
    ASSERT_EQ(records.size(), 3u);
    const int fields = format == kFormatZkv1 || format == kFormatZkv2 ? 6 : 10;
    const std::vector<FixtureRecord> expected = FixtureRecords();
    for (size_t n = 0; n < 2; ++n) {
        const CRecord& got = *records[n];
        const FixtureRecord& want = expected[n];
        EXPECT_EQ(zvtest::TypeNameOf(db, got), "Bank Card");
        for (int i = 0; i < 10; ++i) EXPECT_EQ(got.GetField(i), i < fields ? want.values[i] : CString()) << i;
        EXPECT_EQ(got.GetNotes(), want.values[10]);
        if (format == kFormatZkv1 || format == kFormatExportText) {
            continue;
        }
        EXPECT_EQ(got.GetHiddenMask(), want.mask);
        // Only the label that differs from the type's is the record's own.
        for (int i = 0; i < fields; ++i)
            EXPECT_EQ(got.GetCustomLabel(i), n == 0 && i == 2 ? CString("Secret") : CString()) << i;
    }
    const CRecord& loose = *records[2];
    EXPECT_EQ(zvtest::TypeNameOf(db, loose), "");
    EXPECT_EQ(loose.GetField(0), "Loose note");
    EXPECT_EQ(loose.GetNotes(), "plain notes");
    if (format != kFormatZkv1) {
        EXPECT_TRUE(zvtest::CategoryNamed(db, "Work"));
    }
    EXPECT_FALSE(zvtest::TypeNamed(db, "Unfiled"));
    EXPECT_FALSE(zvtest::CategoryNamed(db, "Unfiled"));
    EXPECT_FALSE(zvtest::TypeNamed(db, ""));
    if (format == kFormatZkv4) {
        EXPECT_EQ(records[1]->GetAttachmentName(), "scan.pdf");
        EXPECT_EQ(records[1]->GetAttachmentKey(), "K3Y");
        EXPECT_FALSE(records[0]->HasAttachment());
    }
    if (format != kFormatExportText) {
        const CBaseItem* type = zvtest::TypeNamed(db, "Bank Card");
        ASSERT_TRUE(type);
        EXPECT_EQ(type->GetIcon(), 7);
        EXPECT_EQ(type->GetField(0), "Holder");
        if (format != kFormatZkv1) {
            EXPECT_EQ(type->GetHiddenMask(), 2);
        }
    }
}

TEST(ExchangeFixtures, EveryVersionReadsPlainAndWithItsPassword)
{
    const FixtureFile files[] = {
        {"v1_plain.zkv", kFormatZkv1, false},          {"v1_password.zkv", kFormatZkv1, true},
        {"v2_plain.zkv", kFormatZkv2, false},          {"v2_password.zkv", kFormatZkv2, true},
        {"v3_plain.zkv", kFormatZkv3, false},          {"v3_password.zkv", kFormatZkv3, true},
        {"v4_plain.zkv", kFormatZkv4, false},          {"v4_password.zkv", kFormatZkv4, true},
        {"export_text.csv", kFormatExportText, false},
    };
    for (const FixtureFile& f : files) {
        ImportFileCheck check = PrepareImportText(zvtest::ExchangeFixture(f.name), kFormatDetect, nullptr);
        ASSERT_EQ(check.messageId, 0u) << f.name;
        EXPECT_EQ(check.format, f.format) << f.name;
        EXPECT_EQ(check.needsPassword, f.password) << f.name;
        BlowfishKeyPtr cipher;
        if (f.password) {
            unsigned message = 0;
            cipher = OpenWithFilePassword(check.text, CSecretString(zvtest::kFixturePassword), message);
            ASSERT_TRUE(cipher) << f.name;
        }
        CDatabaseObj db;
        ImportResult result;
        // A path of the imported file, so that attachment values are taken.
        ImportExchangeText(db, check.format, check.text, cipher.get(), CString("C:\\In\\In.zkv"), CString(), nullptr,
                           result);
        EXPECT_EQ(result.malformedLines, 0) << f.name;
        EXPECT_EQ(result.skippedLines, 0) << f.name;
        ExpectImported(f.name, f.format, db);
    }
}

}  // namespace
