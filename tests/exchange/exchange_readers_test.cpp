// Detection, the password check and the line readers of exchange text.
#include <gtest/gtest.h>

#include <string>

#include "exchange/readers/FormatDetect.h"
#include "exchange/readers/ZkvReaders.h"
#include "exchange/writers/ZkvWriters.h"
#include "tests/exchange/ExchangeTestSupport.h"

namespace {

TEST(ExchangeDetect, FormatsByTable)
{
    const struct {
        const char* name;
        std::string bytes;
        int format;
    } cases[] = {
        {"version 1.0", "Zorvikan Zkv File -v1.0\r\nF\r\n", kFormatZkv1},
        {"version 2.0", "Zorvikan Zkv File -v2.0\r\n", kFormatZkv2},
        {"version 3.0", "Zorvikan Zkv File -v3.0", kFormatZkv3},
        {"version 4.0", "Zorvikan Zkv File -v4.0\r\nT,00\r\n", kFormatZkv4},
        {"a later version", "Zorvikan Zkv File -v5.0\r\n", kFormatZkvLater},
        {"bare prefix", "Zorvikan Zkv File", kFormatZkvLater},
        {"only the start is compared", "Zorvikan Zkv File -v2.0 and more\r\n", kFormatZkv2},
        {"export text", "Zorvikan Export File\r\n", kFormatExportText},
        {"CryptInfo", "CryptInfo Export\r\n", kFormatCryptInfo},
        {"Yaps", "#Yaps Data\r\n", kFormatYaps},
        {"MobileSafe", "Mobile AM Export:\r\n", kFormatMobileSafe},
        {"any text", "Type,Field 1\r\n", kFormatDetect},
        {"empty", "", kFormatDetect},
        {"header case differs", "zorvikan zkv file -v3.0\r\n", kFormatDetect},
        {"0x1F at the start",
         "\x1F"
         "abc",
         kFormatNotText},
        {"0x1D is text",
         "abc\x1D"
         "def",
         kFormatDetect},
        {"0x1E is not", "abc\x1E", kFormatNotText},
        {"a database file (40 zero bytes first)", std::string(40, '\0') + "rest", kFormatNotText},
        {"a NUL after a valid header", std::string("Zorvikan Zkv File -v3.0\r\nF\r\n") + '\0', kFormatNotText},
        {"a NUL beyond the first 512 bytes", std::string(600, 'a') + '\0', kFormatNotText},
        {"a control byte beyond 512 bytes is text", std::string(600, 'a') + '\x01', kFormatDetect},
        {"high bytes are text", "\xE9t\xE9", kFormatDetect},
    };
    for (const auto& c : cases) EXPECT_EQ(DetectImportFormat(c.bytes.data(), c.bytes.size()), c.format) << c.name;
}

TEST(ExchangeDetect, PasswordCheckByTable)
{
    const BlowfishKeyPtr right = zvtest::FixtureCipher();
    const BlowfishKeyPtr wrong = zvtest::CipherOf("another pw");
    std::string checkLine;
    WritePasswordCheckLine(checkLine, right.get());
    const std::string protectedText = "Zorvikan Zkv File -v3.0\r\n" + checkLine;
    const struct {
        const char* name;
        std::string text;
        const BlowfishContext* cipher;
        int result;
    } cases[] = {
        {"plain, no cipher", "Zorvikan Zkv File -v3.0\r\nF\r\n", nullptr, 0},
        {"plain, a cipher", "Zorvikan Zkv File -v4.0\r\nF\r\n", right.get(), 0},
        {"protected, the right cipher", protectedText, right.get(), 0},
        {"protected, a wrong cipher", protectedText, wrong.get(), 1},
        {"protected, no cipher", protectedText, nullptr, 1},
        {"T, without digits", "Zorvikan Zkv File -v2.0\r\nT,\r\n", right.get(), 1},
        {"T, with bad digits", "Zorvikan Zkv File -v2.0\r\nT,XYZ\r\n", right.get(), 1},
        {"cut check line", protectedText.substr(0, 40), right.get(), 1},
        {"no ZkvFile header", "Zorvikan Export File\r\nF\r\n", nullptr, -1},
        {"a later version", "Zorvikan Zkv File -v5.0\r\nF\r\n", nullptr, -1},
        {"header alone", "Zorvikan Zkv File -v1.0", nullptr, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckZkvFilePassword(c.text.data(), c.text.size(), c.cipher), c.result) << c.name;
    EXPECT_TRUE(ZkvFileHasPassword(protectedText.data(), protectedText.size()));
    EXPECT_FALSE(ZkvFileHasPassword("Zorvikan Zkv File -v3.0\r\nF\r\n", 27));
    EXPECT_EQ(checkLine.size(), 2 + 80 + 2u);
}

struct Parsed : ExchangeRecord {
    Parsed(int format, const std::string& text, size_t* end = nullptr)
    {
        CTextCursor c(text.data(), text.size());
        EXPECT_TRUE(ParseImportLine(format, c, nullptr, *this));
        if (end) *end = c.pos;
    }
};

TEST(ExchangeReaders, AVersion3LineThatStopsAfterItsFieldsHasValuesOnly)
{
    const Parsed r(kFormatZkv3, "F,5,a,b,c\r\nnext");
    EXPECT_FALSE(r.malformed);
    EXPECT_FALSE(r.isType);
    EXPECT_EQ(r.icon, 5);
    ASSERT_EQ(r.values.GetSize(), 3);
    EXPECT_EQ(r.values[2], "c");
    EXPECT_EQ(r.mask, 0);
    EXPECT_EQ(r.labels.GetSize(), 0);
    EXPECT_TRUE(r.category.IsEmpty());
}

TEST(ExchangeReaders, ALineCutShortNeverTakesTheNextLine)
{
    const struct {
        const char* name;
        int format;
        std::string line;
    } cases[] = {
        {"v3 cut inside its labels", kFormatZkv3, "F,1,a,b,c,d,e,f,g,h,i,j,0,L1,L2\r\n"},
        {"v3 cut after its mask", kFormatZkv3, "F,1,a,b,c,d,e,f,g,h,i,j,0\r\n"},
        {"v2 cut before its category", kFormatZkv2, "F,1,a,b,c,d,e,f,0,1,2,3,4,5,6\r\n"},
        {"v4 cut inside its attachment values", kFormatZkv4, "F,1,a,b,c,d,e,f,g,h,i,j,name\r\n"},
        {"unclosed quote", kFormatZkv3, "F,1,\"a\r\n"},
    };
    const std::string next = "F,2,x,y,z,q,w,e,r,t,u,o,0,1,2,3,4,5,6,7,8,9,10,Cat,Notes\r\n";
    for (const auto& c : cases) {
        size_t end = 0;
        const std::string text = c.line + next;
        const Parsed r(c.format, text, &end);
        EXPECT_TRUE(r.malformed) << c.name;
        if (c.line.find('"') == std::string::npos) {
            EXPECT_EQ(text.substr(end), next) << c.name;
        }
    }
}

TEST(ExchangeReaders, AVersion4LineWithoutAttachmentValuesHasValuesOnly)
{
    const Parsed r(kFormatZkv4, "F,1,a,b,c,d,e,f,g,h,i,j\r\nF,1,k");
    EXPECT_FALSE(r.malformed);
    EXPECT_EQ(r.values.GetSize(), 10);
    EXPECT_EQ(r.attachment.GetSize(), 0);
}

TEST(ExchangeReaders, EmptyNotesAreSupplied)
{
    const Parsed r(kFormatZkv3, "F,1,a,b,c,d,e,f,g,h,i,j,3,1,2,3,4,5,6,7,8,9,10,Cat,\r\n");
    EXPECT_FALSE(r.malformed);
    ASSERT_EQ(r.values.GetSize(), 11);
    EXPECT_EQ(r.values[10], "");
    EXPECT_EQ(r.category, "Cat");
    EXPECT_EQ(r.mask, 3);
    EXPECT_EQ(r.labels.GetSize(), 10);
}

TEST(ExchangeReaders, OldVersionsPadTheirFieldsBeforeTheNotes)
{
    const Parsed v1(kFormatZkv1, "F,1,a,b,c,d,e,f,the notes\r\n");
    ASSERT_EQ(v1.values.GetSize(), 11);
    EXPECT_EQ(v1.values[10], "the notes");
    const Parsed v2(kFormatZkv2, "F,1,a,b,c,d,e,f,0,1,2,3,4,5,6,Cat,the notes\r\n");
    ASSERT_EQ(v2.values.GetSize(), 12);
    EXPECT_EQ(v2.values[11], "the notes");
    EXPECT_EQ(v2.category, "Cat");
}

TEST(ExchangeReaders, ExportTextTakesTwelveValuesAndTheCategory)
{
    size_t end = 0;
    const std::string text = "t,1,2,3,4,5,6,7,8,9,10,n,cat,x,y\r\nnext";
    const Parsed r(kFormatExportText, text, &end);
    EXPECT_EQ(r.values.GetSize(), 12);
    EXPECT_EQ(r.category, "cat");
    EXPECT_EQ(text.substr(end), "next");
}

TEST(ExchangeReaders, HeadersAreSkippedByTheFirstCall)
{
    const Parsed r(kFormatZkv2, "Zorvikan Zkv File -v2.0\r\nF\r\nT,3,Name,a,b,c,d,e,f,9\r\n");
    EXPECT_TRUE(r.isType);
    EXPECT_EQ(r.mask, 9);
    EXPECT_EQ(r.values.GetSize(), 7);
    CTextCursor none;
    ExchangeRecord ignored;
    EXPECT_FALSE(ParseImportLine(kFormatNotText, none, nullptr, ignored));
}

}  // namespace
