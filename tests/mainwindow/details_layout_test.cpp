// What the details pane shows, without drawing: links and their addresses,
// the body's rows, the copy buttons' fields and the notes' wrapping.
#include <gtest/gtest.h>

#include <string>

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "mainwindow/details/AttachmentFileName.h"
#include "mainwindow/details/DetailsLayout.h"
#include "tests/support/RecordBuilder.h"

namespace {

TEST(DetailsLinks, LinkTextAndAddress)
{
    const struct {
        const char* text;
        bool link;
        const char* address;
    } cases[] = {
        {"www.example.com.", true, "http://www.example.com"},
        {"HTTPS://Bank.example/login", true, "HTTPS://Bank.example/login"},
        {"  ftp://files.example  ", true, "ftp://files.example"},
        {"mailto:ann@example.com", true, "mailto:ann@example.com"},
        {"ann@example.com", true, "mailto:ann@example.com"},
        {"ann@example", false, ""},
        {"@example.com", false, ""},
        {"ann @example.com", false, ""},
        {"ann@ example.com", false, ""},
        {"ann@.com", false, ""},
        {"example.com", false, ""},
        {"   ", false, ""},
        {"javascript:alert(1)", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.link, IsLinkText(c.text)) << c.text;
        if (c.link) {
            EXPECT_EQ(std::string(c.address), std::string(LinkAddress(c.text))) << c.text;
        }
    }
}

TEST(DetailsLinks, OnlyWebFtpAndMailAddressesAreOpened)
{
    for (const char* address : {"http://a.example", "HTTPS://a.example", "ftp://a.example", "mailto:a@b.example"})
        EXPECT_TRUE(IsOpenableLink(address)) << address;
    for (const char* address :
         {"file:///C:/Windows", "javascript:alert(1)", "C:\\Windows\\calc.exe", "http://", "", "\\\\server\\share"})
        EXPECT_FALSE(IsOpenableLink(address)) << address;
}

class DetailsRows : public ::testing::Test {
protected:
    DetailsRows()
    {
        type = builder.AddType("Bank", 3);
        builder.AddCategory("Finance", 4);
    }
    CRecord* Make(std::initializer_list<const char*> fields)
    {
        auto* r = new CRecord;
        int i = 0;
        for (const char* f : fields) r->SetField(i++, f);
        r->SetTypeKey(zvtest::TestKey(3).b);
        builder.records.Add(r);
        return r;
    }
    zvtest::RecordBuilder builder;
    CTypeItem* type = nullptr;
};

TEST_F(DetailsRows, CategoryThenNonEmptyFieldsThenAttachment)
{
    CRecord* r = Make({"Title", "", "s3cret", "", "www.bank.example"});
    r->SetCategoryKey(zvtest::TestKey(4).b);
    r->SetHiddenMask(0x4);
    r->SetAttachmentName("scan.pdf");
    const auto rows = DetailsBodyRows(*r, builder.types, builder.categories, false, "1.00 KB");
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ(std::string("Category:"), std::string(rows[0].label));
    EXPECT_EQ(std::string("Finance"), std::string(rows[0].value));
    EXPECT_EQ(2, rows[1].field);
    EXPECT_EQ(std::string("****"), std::string(rows[1].value)) << "masked while not revealed";
    EXPECT_EQ(4, rows[2].field);
    EXPECT_TRUE(rows[2].link);
    EXPECT_EQ(std::string("scan.pdf (1.00 KB)"), std::string(rows[3].value));
    const auto revealed = DetailsBodyRows(*r, builder.types, builder.categories, true, "");
    EXPECT_EQ(std::string("s3cret"), std::string(revealed[1].value));
    CRecord* unfiled = Make({"x"});
    EXPECT_EQ(std::string("Unfiled"),
              std::string(DetailsBodyRows(*unfiled, builder.types, builder.categories, false, "")[0].value));
}

TEST_F(DetailsRows, CopyButtonsCopyTheFieldOnTheirRow)
{
    CRecord* full = Make({"Title", "", "pw", "", "url"});
    EXPECT_EQ(0, FieldOfCopyButton(*full, 0)) << "the heading's button";
    EXPECT_EQ(2, FieldOfCopyButton(*full, 1));
    EXPECT_EQ(4, FieldOfCopyButton(*full, 2));
    EXPECT_EQ(-1, FieldOfCopyButton(*full, 3));
    CRecord* noTitle = Make({"", "user", "", "pw"});
    EXPECT_EQ(-1, FieldOfCopyButton(*noTitle, 0)) << "no heading button";
    EXPECT_EQ(1, FieldOfCopyButton(*noTitle, 1)) << "body row 1";
    EXPECT_EQ(3, FieldOfCopyButton(*noTitle, 2));
}

// Every character 10 pixels wide.
int Width(const CString& s) { return s.GetLength() * 10; }
int Fit(const CString& s, int width)
{
    const int n = width / 10;
    return n < s.GetLength() ? n : s.GetLength();
}

TEST(DetailsNotes, RunsWrapLinksAreMarkedAndLongRunsAreCut)
{
    const auto pieces = WrapNotes("call www.bank.example now\r\nthen", 200, Width, Fit);
    ASSERT_EQ(4u, pieces.size());
    EXPECT_EQ(std::string("call"), std::string(pieces[0].text));
    EXPECT_EQ(0, pieces[0].line);
    EXPECT_EQ(std::string("www.bank.example"), std::string(pieces[1].text));
    EXPECT_EQ(1, pieces[1].line) << "too wide for the rest of the line: the next line";
    EXPECT_EQ(0, pieces[1].x);
    EXPECT_TRUE(pieces[1].link);
    EXPECT_EQ(std::string("http://www.bank.example"), std::string(pieces[1].address));
    EXPECT_EQ(std::string("now"), std::string(pieces[2].text));
    EXPECT_EQ(2, pieces[2].line) << "exactly the space left is not enough";
    EXPECT_EQ(std::string("then"), std::string(pieces[3].text));
    EXPECT_GT(pieces[3].line, pieces[2].line) << "a carriage return starts a new line";

    const std::string longRun(5000, 'x');
    const auto cut = WrapNotes(longRun.c_str(), 200, Width, Fit);
    ASSERT_EQ(250u, cut.size()) << "pieces that fill each line";
    for (size_t i = 0; i < cut.size(); ++i) {
        EXPECT_EQ(20, cut[i].text.GetLength());
        EXPECT_EQ((int)i, cut[i].line);
    }
    EXPECT_TRUE(WrapNotes("", 100, Width, Fit).empty());
    EXPECT_TRUE(WrapNotes("text", 0, Width, Fit).empty());
}

}  // namespace

namespace {

TEST(AttachmentFileNames, OnlyAPlainFileNameIsLeft)
{
    const struct {
        const char* stored;
        const char* written;
    } cases[] = {
        {"scan.pdf", "scan.pdf"},
        {"..\\..\\ZorvikanDatabase.zdb", "ZorvikanDatabase.zdb"},
        {"../evil.exe", "evil.exe"},
        {"C:\\Windows\\win.ini", "win.ini"},
        {"C:boot.ini", "boot.ini"},
        {"\\\\server\\share\\x.txt", "x.txt"},
        {"a<b>c|d?.txt", "a_b_c_d_.txt"},
        {"..", "attachment"},
        {"", "attachment"},
        {"trailing. . ", "trailing"},
        {"CON", "_CON"},
        {"nul.txt", "_nul.txt"},
        {"console.txt", "console.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(c.written), std::string(SafeAttachmentFileName(c.stored))) << c.stored;
}

}  // namespace
