// Other programs' text exports: each reader over a small sample file of its
// program, the same files with other line ends, and the import of what they
// hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/readers/ZkvReaders.h"
#include "tests/exchange/ExchangeTestSupport.h"

namespace {

using Values = std::vector<std::string>;

std::string Sample(const std::string& name) { return zvtest::ExchangeFixture("others/" + name); }

// The values of every record the reader finds, in order; calls that find
// no record give nothing.
std::vector<Values> ReadRecords(int format, const std::string& text)
{
    std::vector<Values> records;
    CTextCursor c(text.data(), text.size());
    ExchangeRecord r;
    while (!c.AtEnd()) {
        const size_t before = c.pos;
        r.Clear();
        EXPECT_TRUE(ParseImportLine(format, c, nullptr, r));
        if (c.pos == before) {
            ADD_FAILURE() << "the reader did not move on";
            break;
        }
        if (r.values.GetSize() == 0) continue;
        Values values;
        for (INT_PTR i = 0; i < r.values.GetSize(); ++i) values.push_back(r.values[i].Std());
        records.push_back(values);
    }
    return records;
}

// Twelve entries: the given ones, then empty ones.
Values Padded(Values values, size_t count = 12)
{
    values.resize(count);
    return values;
}

// Eleven entries, then the notes.
Values WithNotes(Values values, const std::string& notes)
{
    values.resize(11);
    values.push_back(notes);
    return values;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The values with every line break (CR LF, CR CR LF, CR or LF) as one LF:
// records read from files with other line ends compare equal.
std::vector<Values> LineBreaksAsLF(std::vector<Values> records)
{
    for (Values& values : records)
        for (std::string& v : values) v = Replace(Replace(Replace(v, "\r\r\n", "\n"), "\r\n", "\n"), "\r", "\n");
    return records;
}

std::string Escaped(const std::string& text) { return Replace(Replace(text, "\r", "CR "), "\n", "LF "); }

TEST(OtherExports, CryptInfoSample)
{
    const std::vector<Values> want = {
        {"", "Bank", "jane", "pw1", "line one\r\nline two\r\nline three", "", "", "remember the PIN"},
        {"", "Mail", "joe"},
    };
    EXPECT_EQ(ReadRecords(kFormatCryptInfo, Sample("cryptinfo.txt")), want);
}

TEST(OtherExports, MobileSafeSample)
{
    const std::vector<Values> want = {{"", "1234", "99", "first\r\nsecond"}, {"", "joe", "pw"}};
    EXPECT_EQ(ReadRecords(kFormatMobileSafe, Sample("mobilesafe.txt")), want);
}

TEST(OtherExports, EWalletSample)
{
    const std::vector<Values> want = {
        WithNotes({"Credit Card", "Visa Gold", "4111", "12/29"}, "call the bank\r\nabout the limit"),
        {"Membership", "Library", "55", "1 Main St\r\nFlat 2"},
        {"", "Shop", "ann"},
    };
    EXPECT_EQ(ReadRecords(kFormatEWallet, Sample("ewallet.txt")), want);
}

TEST(OtherExports, TopSecretSample)
{
    const std::vector<Values> want = {
        {"Banking", "Bank", "", "", "", "", "", "pw1"},
        {"Email", "Mail, home", "", "", "", "", "", "multi\r\nline"},
    };
    EXPECT_EQ(ReadRecords(kFormatTopSecret, Sample("topsecret.csv")), want);
}

TEST(OtherExports, YapsSampleKeepsNoLineEndAtTheEndOfAValue)
{
    const std::vector<Values> want = {
        {"Banking", "Bank", "jane", "pw1", "www.bank.example", "v6", "", "v7", "v8"},
        {"Email", "Mail", "joe", "first\r\nsecond"},
    };
    EXPECT_EQ(ReadRecords(kFormatYaps, Sample("yaps.txt")), want);
}

TEST(OtherExports, OnePasswordSampleKeepsEveryColumnInPlace)
{
    Values nine = {"Unfiled"};
    for (int i = 1; i <= 9; ++i) nine.push_back("v" + std::to_string(i));
    nine.push_back("");
    nine.push_back("v10\tv11\tv12\tv13\tv14\tv15");
    // The empty username stays a column; a "#" is part of its value; the
    // final line break makes no third record; the notes hold no CR.
    const std::vector<Values> want = {Padded({"Unfiled", "Bank", "", "pw#1", "https://bank.example"}), nine};
    EXPECT_EQ(ReadRecords(kFormatOnePassword, Sample("1password.txt")), want);
    // CR alone ending the lines gives the same records, notes included.
    EXPECT_EQ(ReadRecords(kFormatOnePassword, Sample("1password_cr.txt")), want);
    // As does LF alone, and a last line without a line end.
    const std::string lf = Replace(Sample("1password.txt"), "\r\n", "\n");
    EXPECT_EQ(ReadRecords(kFormatOnePassword, lf), want);
    EXPECT_EQ(ReadRecords(kFormatOnePassword, lf.substr(0, lf.size() - 1)), want);
}

TEST(OtherExports, BlankLineRecordsKeepApartWithAnyLineEnds)
{
    const struct {
        int format;
        const char* sample;
    } cases[] = {
        {kFormatCryptInfo, "cryptinfo.txt"}, {kFormatMobileSafe, "mobilesafe.txt"}, {kFormatEWallet, "ewallet.txt"},
        {kFormatYaps, "yaps.txt"},           {kFormatTopSecret, "topsecret.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sample);
        const std::string crlf = Sample(c.sample);
        const std::vector<Values> want = LineBreaksAsLF(ReadRecords(c.format, crlf));
        ASSERT_GE(want.size(), 2u);
        for (const char* end : {"\n", "\r", "\r\r\n"}) {
            // A quoted TopSecret value keeps its own line ends: CR alone
            // cannot end its lines.
            if (c.format == kFormatTopSecret && std::string(end) != "\n") continue;
            EXPECT_EQ(LineBreaksAsLF(ReadRecords(c.format, Replace(crlf, "\r\n", end))), want) << Escaped(end);
        }
    }
}

TEST(OtherExports, LabelLinesByTable)
{
    const struct {
        const char* name;
        int format;
        std::string text;
        std::vector<Values> want;
    } cases[] = {
        {"a note pads to field 7",
         kFormatCryptInfo,
         "A: 1\r\nB: 2\r\nNote: n\r\n",
         {{"", "1", "2", "", "", "", "", "n"}}},
        {"continuation lines keep their breaks",
         kFormatCryptInfo,
         "A: first\r\nsecond\r\nthird\r\n",
         {{"", "first\r\nsecond\r\nthird"}}},
        {"a blank line and a colon-less line end the record",
         kFormatCryptInfo,
         "A: 1\r\n\r\nstray words\r\nB: 2\r\n",
         {{"", "1"}, {"", "2"}}},
        {"a line of blanks parts records too", kFormatCryptInfo, "A: 1\r\n  \t\r\nB: 2\r\n", {{"", "1"}, {"", "2"}}},
        {"only the first colon parts label and value",
         kFormatCryptInfo,
         "URL: http://x:80/\r\n",
         {{"", "http://x:80/"}}},
        {"a value that begins on the next line",
         kFormatMobileSafe,
         "Title\r\nMemo:\r\nfirst\r\nsecond\r\n",
         {{"", "first\r\nsecond"}}},
        {"MobileSafe titles after blank lines",
         kFormatMobileSafe,
         "Mobile AM Export:\r\nOne\r\nA: 1\r\n\r\n\r\nTwo\r\nB: 2",
         {{"", "1"}, {"", "2"}}},
        {"eWallet card type after the values",
         kFormatEWallet,
         "Card Name: x\r\nNo: 1\r\nCard Type: Visa\r\n",
         {{"Visa", "x", "1"}}},
        {"eWallet card type cut to 32",
         kFormatEWallet,
         "Card Type:" + std::string(40, 'k') + "\r\nCard Name: y\r\n",
         {{std::string(32, 'k'), "y"}}},
        {"eWallet record ends at the next card name after its type",
         kFormatEWallet,
         "Card Name: a\r\nCard Type: T\r\nCard Name: b\r\n",
         {{"T", "a"}, {"", "b"}}},
        {"eWallet value continues past a blank line",
         kFormatEWallet,
         "Card Name: a\r\nAddr: 1\r\n\r\nmore\r\n",
         {{"", "a", "1\r\nmore"}}},
        {"eWallet tenth value line begins the notes",
         kFormatEWallet,
         "A: 1\r\nB: 2\r\nC: 3\r\nD: 4\r\nE: 5\r\nF: 6\r\nG: 7\r\nH: 8\r\nI: 9\r\nJ: 10\r\nrest\r\n",
         {WithNotes({"", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, "J: 10\r\nrest")}},
        {"eWallet notes end before the next category after blank lines",
         kFormatEWallet,
         "Card Name: a\r\nNotes: n\r\n\r\nCategory: C\r\nCard Name: b\r\n",
         {WithNotes({"", "a"}, "n"), {"", "b"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadRecords(c.format, c.text), c.want) << c.name;
}

TEST(OtherExports, SeparatedValuesByTable)
{
    const struct {
        const char* name;
        int format;
        std::string text;
        std::vector<Values> want;
    } cases[] = {
        {"TopSecret: four values, the fourth dropped",
         kFormatTopSecret,
         "a,b,c,d\r\n",
         {{"c", "a", "", "", "", "", "", "b"}}},
        {"TopSecret: blank lines between lines",
         kFormatTopSecret,
         "a\r\n\r\n\r\nb",
         {Padded({"", "a"}, 8), Padded({"", "b"}, 8)}},
        {"Yaps: a value's inner line break stays",
         kFormatYaps,
         "#t,a\r\nb,c\r\n#u,d",
         {{"t", "a\r\nb", "c"}, {"u", "d"}}},
        {"Yaps: empty values keep their places", kFormatYaps, "#t,,x\n", {{"t", "", "x"}}},
        {"1Password: Category lines and titles at the start",
         kFormatOnePassword,
         "Category: A\r\n\r\nCategory: B\r\ntitles\r\nx\ty\r\n",
         {Padded({"Unfiled", "x", "y"})}},
        {"1Password: nine values exactly",
         kFormatOnePassword,
         "t\r\n1\t2\t3\t4\t5\t6\t7\t8\t9\r\n",
         {Padded({"Unfiled", "1", "2", "3", "4", "5", "6", "7", "8", "9"})}},
        {"1Password: ten values, the tenth the notes",
         kFormatOnePassword,
         "t\r\n1\t2\t3\t4\t5\t6\t7\t8\t9\tnote\r\n",
         {{"Unfiled", "1", "2", "3", "4", "5", "6", "7", "8", "9", "", "note"}}},
        {"1Password: leading blanks are part of a value",
         kFormatOnePassword,
         "t\n a\t\tb\n",
         {Padded({"Unfiled", " a", "", "b"})}},
        {"1Password: titles alone", kFormatOnePassword, "t\r\n\r\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadRecords(c.format, c.text), c.want) << c.name;
}

TEST(OtherExports, ImportTakesTypesCategoryAndNotes)
{
    CDatabaseObj db;
    ImportResult result;
    const ImportFileCheck check = PrepareImportText(Sample("cryptinfo.txt"), kFormatDetect, nullptr);
    ASSERT_EQ(check.messageId, 0u);
    ASSERT_EQ(check.format, kFormatCryptInfo);
    ImportExchangeText(db, check.format, check.text, nullptr, CString(), CString(), nullptr, result);
    ASSERT_EQ(result.records, 2);
    const CRecord& bank = *result.imported[0];
    EXPECT_EQ(bank.GetField(0), "Bank");
    EXPECT_EQ(bank.GetField(6), "remember the PIN");
    EXPECT_EQ(zvtest::TypeNameOf(db, bank), "");
    EXPECT_EQ(bank.GetIcon(), 24);

    CDatabaseObj other;
    ImportResult onePassword;
    const ImportFileCheck op = PrepareImportText(Sample("1password.txt"), kFormatOnePassword, nullptr);
    ASSERT_EQ(op.messageId, 0u);
    ImportExchangeText(other, op.format, op.text, nullptr, CString(), CString(), nullptr, onePassword);
    ASSERT_EQ(onePassword.records, 2);
    EXPECT_EQ(onePassword.skippedLines, 0);
    const CRecord& notes = *onePassword.imported[1];
    EXPECT_EQ(zvtest::TypeNameOf(other, notes), "");
    EXPECT_NE(zvtest::CategoryNamed(other, "1Password"), nullptr);
    EXPECT_EQ(notes.GetIcon(), 24);
    EXPECT_EQ(notes.GetField(8), "v9");
    EXPECT_EQ(notes.GetField(9), "");
    EXPECT_EQ(notes.GetNotes(), "v10\tv11\tv12\tv13\tv14\tv15");

    // Yaps and eWallet: the first value, or the card type, names the type.
    CDatabaseObj third;
    ImportResult yaps;
    ImportExchangeText(third, kFormatYaps, Sample("yaps.txt"), nullptr, CString(), CString(), nullptr, yaps);
    ASSERT_EQ(yaps.records, 2);
    EXPECT_NE(zvtest::TypeNamed(third, "Banking"), nullptr);
    EXPECT_EQ(yaps.imported[0]->GetField(7), "v8");
    ImportResult ewallet;
    ImportExchangeText(third, kFormatEWallet, Sample("ewallet.txt"), nullptr, CString(), CString(), nullptr, ewallet);
    ASSERT_EQ(ewallet.records, 3);
    EXPECT_EQ(ewallet.imported[0]->GetNotes(), "call the bank\r\nabout the limit");
    EXPECT_NE(zvtest::TypeNamed(third, "Membership"), nullptr);
}

}  // namespace
