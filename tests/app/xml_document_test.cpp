// The XML document layer: reading files in the encodings they come in,
// writing the exact bytes of a UTF-16 file, and the operations the three
// serializers share.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "app/xml/XmlDocument.h"
#include "app/xml/XmlFileDocument.h"
#include "tests/app/XmlTestSupport.h"
#include "tests/support/ScratchDir.h"

namespace {

std::string Path(const std::filesystem::path& p) { return p.string(); }

std::string Swapped(std::string bytes)
{
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

const char16_t kDecl[] = u"<?xml version='1.0' encoding='utf-16'?>\r\n";

TEST(XmlDocument, ParsesEveryEncodingItMeets)
{
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-16LE with mark", Utf16File(u"<a><b>x\u00e9</b></a>")},
        {"UTF-16LE without mark", Utf16LeBytes(u"<a><b>x\u00e9</b></a>")},
        {"UTF-16BE with mark", "\xFE\xFF" + Swapped(Utf16LeBytes(u"<a><b>x\u00e9</b></a>"))},
        {"UTF-8 with mark", "\xEF\xBB\xBF<a><b>x\xC3\xA9</b></a>"},
        {"UTF-8 without mark", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>\n  <b>x\xC3\xA9</b>\n</a>\n"},
    };
    for (const Case& c : cases) {
        CXmlDocument doc;
        ASSERT_TRUE(doc.LoadBytes(c.bytes)) << c.what;
        const auto& top = doc.GetDocumentNode()->GetChildren();
        const CXmlNodePtr root = top.back();
        EXPECT_EQ(root->GetName(), u"a") << c.what;
        ASSERT_EQ(root->GetChildren().size(), 1u) << c.what << ": white space between elements is not kept";
        EXPECT_EQ(root->GetChildren()[0]->GetText(), u"x\u00e9") << c.what;
    }
}

TEST(XmlDocument, RefusesWhatIsNotWellFormed)
{
    const std::string bad[] = {
        "",
        "<a>",
        "<a></b>",
        "<a/><b/>",
        "text<a/>",
        "<a>&unknown;</a>",
        "<a>&#0;</a>",
        "<a>&#xD800;</a>",
        "<a x=1/>",
        "<a x='1'y='2'/>",
        "<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>",
        "<a><![CDATA[x</a>",
        "<?xml version='1.0'",
        "\xC3<a/>",
        std::string("\xFF\xFE<\0a\0/\0>", 9),  // odd number of bytes
    };
    for (const std::string& b : bad) {
        CXmlDocument doc;
        EXPECT_FALSE(doc.LoadBytes(b)) << b;
        EXPECT_TRUE(doc.GetDocumentNode()->GetChildren().empty()) << b;
    }
}

TEST(XmlDocument, ReadsReferencesCdataAndAttributes)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes("<a k=\"&quot;v&apos;\">&lt;&gt;&amp;&#65;&#x42;&#x1F600;<![CDATA[<&>]]>z\r\ny</a>"));
    const CXmlNodePtr a = doc.GetDocumentNode()->GetChildren()[0];
    EXPECT_EQ(a->GetText(), u"<>&AB\U0001F600<&>z\ny");
    ASSERT_EQ(a->Attributes().size(), 1u);
    EXPECT_EQ(a->Attributes()[0].second, u"\"v'");
    // Written back, the attribute is kept and the text escaped.
    EXPECT_EQ(doc.SaveBytes(), Utf16File(u"<a k=\"&quot;v'\">&lt;&gt;&amp;AB\U0001F600&lt;&amp;&gt;z\ny</a>\r\n"));
}

TEST(XmlDocument, DeepNestingNeitherCrashesReadingNorWriting)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<e>";
    for (int i = 0; i < 100000; ++i) deep += "</e>";
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes(deep));
    // The innermost <e></e> is written as <e/>.
    const size_t chars = 3 * 99999 + 4 + 4 * 99999 + 2;
    EXPECT_EQ(doc.SaveBytes().size(), 2 + 2 * chars);
}

TEST(XmlDocument, ManyTextPiecesJoinIntoOneNode)
{
    // Character data and CDATA sections in turn, as a damaged or hostile file
    // may hold them by the hundred thousand: one text node, read in one pass
    // (joining piece by piece used to copy the text for every piece).
    const int pieces = 100000;
    std::string bytes = "<a>";
    std::u16string expected;
    for (int i = 0; i < pieces; ++i) {
        bytes += "x<![CDATA[y]]>";
        expected += u"xy";
    }
    bytes += "<b/>z<![CDATA[]]> <![CDATA[w]]></a>";
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes(bytes));
    const auto& children = doc.GetDocumentNode()->GetChildren()[0]->GetChildren();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0]->GetType(), CXmlNode::kText);
    EXPECT_EQ(children[0]->GetValue(), expected);
    EXPECT_EQ(children[1]->GetName(), u"b");
    EXPECT_EQ(children[2]->GetValue(), u"zw") << "white space between sections is not kept";
}

TEST(XmlDocument, NodeOperations)
{
    CXmlDocument doc;
    CXmlNodePtr a = doc.CreateElement(u"a"), b = doc.CreateElement(u"b");
    EXPECT_TRUE(a->AppendChild(b));
    EXPECT_FALSE(b->AppendChild(a)) << "a node cannot go below itself";
    EXPECT_FALSE(a->AppendChild(nullptr));
    CXmlNodePtr c = doc.CreateElement(u"c");
    b->AppendChild(c);
    a->AppendChild(c);  // moves
    EXPECT_EQ(b->GetChildren().size(), 0u);
    EXPECT_EQ(c->GetParent(), a.get());
    EXPECT_TRUE(a->RemoveChild(c.get()));
    EXPECT_FALSE(a->RemoveChild(c.get()));
    EXPECT_EQ(c->GetParent(), nullptr);
    c->SetText(u"t");
    EXPECT_EQ(c->GetText(), u"t");
    EXPECT_FALSE(c->GetChildren()[0]->AppendChild(doc.CreateElement(u"x"))) << "a text node holds no children";
    c->SetText(u"");
    EXPECT_TRUE(c->GetChildren().empty());
}

TEST(XmlDocument, RemovingChildrenInOnePassKeepsTheOthersInOrder)
{
    struct Case {
        const char* what;
        std::u16string remove;  // names of the children to remove
        std::u16string kept;
    } cases[] = {
        {"none", u"", u"abcde"},         {"the first", u"a", u"bcde"}, {"every other", u"bd", u"ace"},
        {"the last two", u"de", u"abc"}, {"all", u"abcde", u""},
    };
    for (const Case& c : cases) {
        CXmlDocument doc;
        CXmlNodePtr root = doc.CreateElement(u"r");
        std::vector<CXmlNodePtr> children;
        for (char16_t name : std::u16string(u"abcde")) {
            children.push_back(doc.CreateElement(std::u16string(1, name)));
            root->AppendChild(children.back());
        }
        const size_t removed = root->RemoveChildrenIf(
            [&c](const CXmlNode& n) { return c.remove.find(n.GetName()) != std::u16string::npos; });
        EXPECT_EQ(removed, c.remove.size()) << c.what;
        std::u16string kept;
        for (const CXmlNodePtr& child : root->GetChildren()) kept += child->GetName();
        EXPECT_EQ(kept, c.kept) << c.what;
        for (const CXmlNodePtr& child : children) {
            const bool gone = c.remove.find(child->GetName()) != std::u16string::npos;
            EXPECT_EQ(child->GetParent(), gone ? nullptr : root.get()) << c.what;
        }
    }
}

// The bytes of a document cut around one top-level element's children: the
// two parts and the children's own bytes make exactly the whole file.
TEST(XmlDocument, BytesAroundAnElementsChildrenMakeTheWholeFile)
{
    const std::string documents[] = {
        zvtest::ReadFileBytes(zvtest::FixturePath("xml/EventsLog.xml")),
        zvtest::ReadFileBytes(zvtest::FixturePath("xml/SmartTypes.xml")),
        zvtest::ReadFileBytes(zvtest::FixturePath("xml/SearchHistoryBE.xml")),
        Utf16File(std::u16string(kDecl) + u"<!--before--><R a=\"1 &amp; 2\"><x/>t&lt;<?p d?></R>\r\n<!--after-->"),
    };
    for (const std::string& bytes : documents) {
        CXmlDocument doc;
        ASSERT_TRUE(doc.LoadBytes(bytes));
        const std::string whole = doc.SaveBytes();
        int cut = 0;
        for (const CXmlNodePtr& top : doc.GetDocumentNode()->GetChildren()) {
            std::string head, tail;
            if (!doc.SaveBytesAround(*top, head, tail)) {
                EXPECT_TRUE(top->GetType() != CXmlNode::kElement || top->GetChildren().empty());
                continue;
            }
            ++cut;
            std::string children;
            for (const CXmlNodePtr& child : top->GetChildren()) AppendXmlBytes(children, *child);
            EXPECT_EQ(head + children + tail, whole);
        }
        EXPECT_EQ(cut, 1);
    }
    // Only a top-level element that holds something.
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes(Utf16File(u"<R><x/></R>")));
    std::string head, tail;
    const CXmlNodePtr root = doc.GetDocumentNode()->GetChildren()[0];
    EXPECT_FALSE(doc.SaveBytesAround(*root->GetChildren()[0], head, tail)) << "not top-level";
    root->RemoveAllChildren();
    EXPECT_FALSE(doc.SaveBytesAround(*root, head, tail)) << "written <R/>";
}

// Damaged copies of the fixture files (cut short, bytes changed, bytes
// repeated) must each give either a document or a clean refusal; under the
// sanitizers this catches reads past the end and runaway allocation. The seed
// is fixed so that a failure repeats.
TEST(XmlDocument, DamagedFilesGiveADocumentOrARefusal)
{
    const char* const fixtures[] = {"xml/EventsLog.xml", "xml/Malformed.xml",       "xml/OtherRoot.xml",
                                    "xml/RootOnly.xml",  "xml/SearchHistoryBE.xml", "xml/SmartTypes.xml"};
    uint32_t state = 12345;
    auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    int loaded = 0, refused = 0;
    for (const char* name : fixtures) {
        const std::string original = zvtest::ReadFileBytes(zvtest::FixturePath(name));
        ASSERT_FALSE(original.empty()) << name;
        for (int round = 0; round < 600; ++round) {
            std::string bytes = original;
            switch (round % 3) {
            case 0: bytes.resize(next() % bytes.size()); break;
            case 1:
                for (int flips = 1 + (int)(next() % 4); flips > 0; --flips)
                    bytes[next() % bytes.size()] = (char)(next() & 0xFF);
                break;
            default: {
                const size_t at = next() % bytes.size();
                const size_t len = 1 + next() % std::min<size_t>(64, bytes.size() - at);
                bytes.insert(at, bytes.substr(at, len));
                break;
            }
            }
            CXmlDocument doc;
            if (doc.LoadBytes(bytes)) {
                ++loaded;
                // What was read can be written and read again.
                CXmlDocument again;
                EXPECT_TRUE(again.LoadBytes(doc.SaveBytes())) << name << " round " << round;
            } else {
                ++refused;
                EXPECT_TRUE(doc.GetDocumentNode()->GetChildren().empty()) << name << " round " << round;
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

class XmlFileDocumentTest : public ::testing::Test {
protected:
    zvtest::ScratchDir dir{"xmldoc"};
};

TEST_F(XmlFileDocumentTest, NewDocumentIsDeclarationAndEmptyRootAndIsWrittenOnlyAtSave)
{
    const CString path = Path(dir / "New.xml").c_str();
    CXmlFileDocument doc;
    doc.OpenOrBeginDocument(path, "Root");
    ASSERT_TRUE(doc.GetRoot());
    EXPECT_FALSE(std::filesystem::exists(dir / "New.xml")) << "nothing is written before the save";
    EXPECT_EQ(doc.SaveDocument(), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "New.xml"), Utf16File(std::u16string(kDecl) + u"<Root/>\r\n"));
    EXPECT_FALSE(std::filesystem::exists(dir / "New.xml.tmp"));
}

TEST_F(XmlFileDocumentTest, OpensOnlyFilesWithASecondTopLevelNode)
{
    struct Case {
        const char* fixture;
        int opened;
        const char16_t* root;
    } cases[] = {
        {"xml/EventsLog.xml", 1, u"LogEvents"},
        {"xml/SmartTypes.xml", 1, u"SmartTypes"},
        {"xml/SearchHistoryBE.xml", 1, u"ZorvikanSearches"},
        {"xml/OtherRoot.xml", 1, u"Something"},
        {"xml/RootOnly.xml", 0, nullptr},
        {"xml/Malformed.xml", 0, nullptr},
        {"xml/NoSuchFile.xml", 0, nullptr},
    };
    // A comment in second place is taken as the root, as a DOM would, but
    // nothing can be put below it: a new document replaces it at the save.
    const auto commentFirst =
        dir.WriteFile("Comment.xml", Utf16File(std::u16string(kDecl) + u"<!-- note --><Root/>\r\n"));
    CXmlFileDocument comment;
    ASSERT_EQ(comment.OpenDocument(Path(commentFirst).c_str()), 1);
    const char* const names[] = {"Section"};
    CXmlNodePtr section;
    comment.EnsureSectionElement(names, &section, 1);
    EXPECT_FALSE(section && section->GetParent()) << "no section below a comment";
    for (const Case& c : cases) {
        CXmlFileDocument doc;
        EXPECT_EQ(doc.OpenDocument(Path(zvtest::FixturePath(c.fixture)).c_str()), c.opened) << c.fixture;
        if (c.opened) {
            EXPECT_EQ(doc.GetRoot()->GetName(), c.root) << c.fixture;
        }
    }
}

TEST_F(XmlFileDocumentTest, TextElementsSkipEmptyTextsAndSectionsFollowTheRules)
{
    const CString path = Path(dir / "S.xml").c_str();
    CXmlFileDocument doc;
    doc.OpenOrBeginDocument(path, "Root");
    const char* const names[] = {"One", "Two", "Three"};
    CXmlNodePtr sections[3];
    doc.EnsureSectionElement(names, sections, 3);
    doc.AppendTextElement(sections[1], "Item", "a<b");
    doc.AppendTextElement(sections[1], "Item", "");
    doc.AppendTextElement(sections[1], "", "x");
    doc.AppendTextElement(sections[2], "Item", "c");
    EXPECT_FALSE(doc.MakeElement(""));
    EXPECT_FALSE(doc.AppendChildElement(sections[0], ""));
    ASSERT_EQ(doc.SaveDocument(), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "S.xml"),
              Utf16File(std::u16string(kDecl) +
                        u"<Root><One/><Two><Item>a&lt;b</Item></Two><Three><Item>c</Item></Three></Root>\r\n"));

    // Read back; a duplicated section: the later one wins, the earlier stays.
    CXmlFileDocument again;
    ASSERT_EQ(again.OpenDocument(path), 1);
    again.GetRoot()->AppendChild(again.MakeElement("Two"));
    CXmlNodePtr found[3];
    again.FindSectionElement(names, found, 3);
    EXPECT_EQ(found[1], again.GetRoot()->GetChildren().back());
    EXPECT_EQ(again.GetRoot()->GetChildren().size(), 4u);
    CStringArray texts;
    again.ReadChildTexts(found[2], texts);
    ASSERT_EQ(texts.GetSize(), 1);
    EXPECT_EQ(texts[0], "c");
}

TEST_F(XmlFileDocumentTest, FailedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    const auto target = dir / "Keep.xml";
    dir.WriteFile("Keep.xml", "old contents");
    CXmlFileDocument doc;
    doc.OpenOrBeginDocument(Path(target).c_str(), "Root");
    // The temporary file's name is taken by a folder, so it cannot be written.
    std::filesystem::create_directory(dir / "Keep.xml.tmp");
    EXPECT_NE(doc.SaveDocument(), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(target), "old contents");
    std::filesystem::remove(dir / "Keep.xml.tmp");

    CXmlFileDocument missingFolder;
    missingFolder.OpenOrBeginDocument(Path(dir / "no" / "such" / "X.xml").c_str(), "Root");
    EXPECT_NE(missingFolder.SaveDocument(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

// A file over the limit is neither read nor replaced (its contents are not
// lost to a new, empty document); nor is a file written that would be over
// it. The file is sparse: no disk space and no reading.
TEST_F(XmlFileDocumentTest, FilesOverTheLimitAreRefusedWithTheirOwnError)
{
    const auto large = dir.WriteFile("Large.xml", Utf16File(std::u16string(kDecl) + u"<LogEvents>"));
    std::filesystem::resize_file(large, CXmlFileDocument::kMaxFileBytes + 1);
    CXmlFileDocument doc;
    EXPECT_EQ(doc.OpenDocument(Path(large).c_str()), 0);
    EXPECT_EQ(doc.GetOpenError(), CXmlFileDocument::kErrorFileTooLarge);
    doc.OpenOrBeginDocument(Path(large).c_str(), "LogEvents");
    ASSERT_TRUE(doc.GetRoot()) << "the program goes on with a new document";
    EXPECT_EQ(doc.GetOpenError(), CXmlFileDocument::kErrorFileTooLarge);
    doc.AppendTextElement(doc.GetRoot(), "LogEvent", "new");
    EXPECT_EQ(doc.SaveDocument(), CXmlFileDocument::kErrorFileTooLarge);
    EXPECT_EQ(std::filesystem::file_size(large), CXmlFileDocument::kMaxFileBytes + 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "Large.xml.tmp"));

    const CString path = Path(dir / "Small.xml").c_str();
    CXmlFileDocument small;
    small.OpenOrBeginDocument(path, "LogEvents");
    EXPECT_EQ(small.GetOpenError(), 0) << "a missing file is no error";
    small.AppendTextElement(small.GetRoot(), "LogEvent", "x");
    const std::string children(CXmlFileDocument::kMaxFileBytes, 'x');
    EXPECT_EQ(small.SaveDocument({&children}), CXmlFileDocument::kErrorFileTooLarge);
    EXPECT_FALSE(std::filesystem::exists(dir / "Small.xml"));
    EXPECT_EQ(small.SaveDocument(), 0);
}

TEST_F(XmlFileDocumentTest, WithoutDocumentNothingIsReadOrWritten)
{
    const CString path = Path(dir / "None.xml").c_str();
    CXmlFileDocument doc;
    doc.ReleaseDocument();
    EXPECT_EQ(doc.OpenDocument(Path(zvtest::FixturePath("xml/EventsLog.xml")).c_str()), 0);
    EXPECT_EQ(doc.BeginDocument("Root"), 0);
    EXPECT_FALSE(doc.MakeElement("x"));
    doc.SetPath(path);
    EXPECT_NE(doc.SaveDocument(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "None.xml"));
}

}  // namespace
