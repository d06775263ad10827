// One value of exchange text: the plain and encrypted encodings, and reading
// it back, including the text older versions wrote.
#include <gtest/gtest.h>

#include <string>

#include "exchange/readers/ExchangeValues.h"
#include "tests/exchange/ExchangeTestSupport.h"

namespace {

CString ReadOne(const std::string& text, size_t* end = nullptr)
{
    CTextCursor c(text.data(), text.size());
    CString value;
    ReadCsvValue(c, value);
    if (end) *end = c.pos;
    return value;
}

std::string Quoted(const std::string& value)
{
    std::string out;
    QuoteCsvField(CString(value), out);
    return out;
}

struct EncodingCase {
    const char* name;
    std::string value;
    std::string written;
};

TEST(ExchangeValues, PlainEncodingQuotesOnlyWhatNeedsIt)
{
    const EncodingCase cases[] = {
        {"bare", "abc", "abc"},
        {"empty", "", ""},
        {"comma", "a,b", "\"a,b\""},
        {"quote doubled", "say \"hi\"", "\"say \"\"hi\"\"\""},
        {"CR LF as 0x0B", "a\r\nb",
         "\"a\x0B"
         "b\""},
        {"leading blank", " a", "\" a\""},
        {"trailing blank", "a ", "\"a \""},
        {"blank only", "   ", "\"   \""},
        {"leading line break", "\r\nx", "\"\x0Bx\""},
        {"lone LF kept", "a\nb", "\"a\nb\""},
        {"lone CR kept", "a\rb", "\"a\rb\""},
        {"literal 0x0B marked",
         "a\x0B"
         "b",
         "\"a\x1D\x0B"
         "b\""},
        {"CR LF after the mark written as is", "a\x1D\r\nb", "\"a\x1D\r\nb\""},
        {"tab inside stays bare", "a\tb", "a\tb"},
    };
    for (const auto& c : cases) EXPECT_EQ(Quoted(c.value), c.written) << c.name;
}

TEST(ExchangeValues, PlainValuesComeBackWhole)
{
    const std::string values[] = {"",
                                  " lead",
                                  "trail ",
                                  "   ",
                                  "\r\nstart",
                                  "a\nb",
                                  "a\rb",
                                  "\x0B",
                                  "a\x1D\r\nb",
                                  "\x1D\x0B",
                                  "x\x1D\x0B",
                                  "a,b",
                                  "\"",
                                  "\"\"",
                                  "end\r\n",
                                  "\t tabbed",
                                  "\x1D",
                                  "\r",
                                  "\n",
                                  "a\r\n\r\nb",
                                  std::string(5000, 'x'),
                                  std::string(70000, 'y') + "\r\n" + std::string(9, ',')};
    for (const auto& value : values) {
        const std::string line = Quoted(value) + ",next\r\n";
        size_t end = 0;
        EXPECT_EQ(ReadOne(line, &end).Std(), value) << "value of " << value.size() << " bytes";
        EXPECT_EQ(line.substr(end), "next\r\n");
    }
}

TEST(ExchangeValues, EncryptedValuesComeBackWholeAtAnyLength)
{
    const BlowfishKeyPtr cipher = zvtest::FixtureCipher();
    const std::string values[] = {"", "1234567", "12345678", "a\x0B\r\n,\"b", std::string(70001, 'z')};
    for (const auto& value : values) {
        std::string out;
        WriteZkvValue(out, cipher.get(), CString(value));
        EXPECT_EQ(out.size(), (value.size() / 8 * 8 + 8) * 2);
        EXPECT_EQ(DecryptZkvValue(cipher.get(), ReadOne(out + ",")).Std(), value);
    }
}

TEST(ExchangeValues, EncryptedSizesFollowTheBlocks)
{
    const BlowfishKeyPtr cipher = zvtest::FixtureCipher();
    const struct {
        std::string value;
        size_t digits;
    } cases[] = {{"", 16}, {"1234567", 16}, {"12345678", 32}};
    for (const auto& c : cases) {
        std::string out;
        WriteZkvValue(out, cipher.get(), CString(c.value));
        EXPECT_EQ(out.size(), c.digits) << c.value;
        EXPECT_EQ(out.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    }
}

TEST(ExchangeValues, TextOlderVersionsWroteReadsAsBefore)
{
    const struct {
        const char* name;
        std::string text;
        std::string value;
    } cases[] = {
        {"bare 0x0B is a line break",
         "a\x0B"
         "b,",
         "a\r\nb"},
        {"quoted 0x0B is a line break",
         "\"a\x0B"
         "b\",",
         "a\r\nb"},
        {"doubled quote in a bare value", "a\"\"b,", "a\"b"},
        {"single quote in a bare value kept", "a\"b,", "a\"b"},
        {"leading blanks of a bare value passed", "   abc,", "abc"},
        {"text after the closing quote dropped", "\"ab\"cd,", "ab"},
        {"bare value ends at the line end", "abc\r\ndef", "abc"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadOne(c.text).Std(), c.value) << c.name;
}

TEST(ExchangeValues, AValueIsNeverTakenFromTheNextLine)
{
    const std::string text = "\r\nnext,";
    size_t end = 99;
    EXPECT_EQ(ReadOne(text, &end).Std(), "");
    EXPECT_EQ(end, 0u);
}

TEST(ExchangeValues, AnUnclosedQuoteIsReported)
{
    const std::string text = "\"never closed\r\nF,1,2";
    CTextCursor c(text.data(), text.size());
    CString value;
    EXPECT_FALSE(ReadCsvValue(c, value));
    EXPECT_TRUE(c.AtEnd());
}

TEST(ExchangeValues, HexDecodingStopsAtTheFirstOtherCharacter)
{
    EXPECT_EQ(DecodeHex(CString("  0A1Bz2")), std::string("\x0A\x1B"));
    EXPECT_EQ(DecodeHex(CString("0a")), std::string());  // lower case is not a digit here
    EXPECT_EQ(DecodeHex(CString("ABC")), std::string("\xAB"));
    // Without leading pairs the value is used as it stands.
    EXPECT_EQ(DecryptZkvValue(zvtest::FixtureCipher().get(), CString("plain")).Std(), "plain");
}

TEST(ExchangeValues, NumbersTakeTheLeadingDigits)
{
    EXPECT_EQ(ParseDecimalWord(CString("24")), 24);
    EXPECT_EQ(ParseDecimalWord(CString("7x")), 7);
    EXPECT_EQ(ParseDecimalWord(CString("x7")), 0);
    EXPECT_EQ(ParseDecimalWord(CString("65537")), 1);
    EXPECT_EQ(ParseDecimalWord(CString(std::string(500, '9'))), ParseDecimalWord(CString(std::string(500, '9'))));
}

}  // namespace
