#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <utility>
#include <string>
#include <vector>

#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CList.h"
#include "framework/CMemFile.h"
#include "tests/framework/ArchiveTestSupport.h"

using fwtest::Hex;
using fwtest::Load;
using fwtest::Store;
using fwtest::ToHex;

namespace {

template <class T, class = void> struct CanStore : std::false_type {};
template <class T>
struct CanStore<T, std::void_t<decltype(std::declval<CArchive&>() << std::declval<T>())>> : std::true_type {};
// Objects and strings can be stored through pointers; other pointers cannot
// (they would be written as a bool).
static_assert(CanStore<CFwItemA*>::value && CanStore<const CObject*>::value && CanStore<const char*>::value &&
              CanStore<const char (&)[3]>::value && CanStore<CString>::value);
static_assert(!CanStore<BYTE*>::value && !CanStore<const BYTE*>::value && !CanStore<int*>::value &&
              !CanStore<void*>::value);

// Frees every object of a list that owns what it holds.
struct OwnedList : CObList {
    ~OwnedList() override
    {
        while (!IsEmpty()) delete RemoveHead();
    }
};

TEST(ArchiveString, LengthEncodingsMatchFixedBytes)
{
    struct Case {
        int length;
        const char* prefix;
    } cases[] = {
        {0, "00"},
        {254, "FE"},
        {255, "FF FF 00"},
        {300, "FF 2C 01"},
        {65533, "FF FD FF"},
        // 0xFFFE after FF would read as the UTF-16 marker, so 65534 is long.
        {65534, "FF FF FF FE FF 00 00"},
        {70000, "FF FF FF 70 11 01 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text((size_t)c.length, 'x');
        for (size_t i = 0; i < text.size(); ++i) text[i] = (char)('a' + i % 26);
        const std::string expected = Hex(c.prefix) + text;

        const std::string written = Store([&](CArchive& ar) { ar << CString(text); });
        EXPECT_EQ(ToHex(written.substr(0, 8)), ToHex(expected.substr(0, 8)));
        EXPECT_TRUE(written == expected);

        CString read;
        EXPECT_EQ(Load(expected, [&](CArchive& ar) { ar >> read; }), 0u);
        EXPECT_TRUE(read.Std() == text);
    }
}

TEST(ArchiveString, KeepsAnsiBytesAndZeros)
{
    const std::string text("a\xE9\0b", 4);
    const std::string written = Store([&](CArchive& ar) { ar << CString(text); });
    EXPECT_EQ(ToHex(written), "04 61 E9 00 62");
    CString read;
    Load(written, [&](CArchive& ar) { ar >> read; });
    EXPECT_TRUE(read.Std() == text);
}

TEST(ArchiveString, Utf16MarkerIsReadAsAnsi)
{
    struct Case {
        const char* bytes;
        std::string text;
    } cases[] = {
        {"FF FE FF 03 61 00 62 00 63 00", "abc"},
        {"FF FE FF 00", ""},
        // 16-bit and 32-bit lengths after the marker.
        {"FF FE FF FF 02 00 41 00 42 00", "AB"},
        {"FF FE FF FF FF FF 01 00 00 00 5A 00", "Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        CString read("old");
        EXPECT_EQ(Load(Hex(c.bytes), [&](CArchive& ar) { ar >> read; }), 0u);
        EXPECT_EQ(read.Std(), c.text);
    }
    // A character outside ASCII becomes one ANSI character.
    CString read;
    Load(Hex("FF FE FF 01 AC 20"), [&](CArchive& ar) { ar >> read; });
    EXPECT_EQ(read.GetLength(), 1);
}

TEST(ArchiveCount, EncodingsMatchFixedBytes)
{
    struct Case {
        DWORD count;
        const char* bytes;
    } cases[] = {
        {0, "00 00"},
        {0xFFFE, "FE FF"},
        {0xFFFF, "FF FF FF FF 00 00"},
        {70000, "FF FF 70 11 01 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(ToHex(Store([&](CArchive& ar) { ar.WriteCount(c.count); })), ToHex(Hex(c.bytes)));
        DWORD read = 0;
        EXPECT_EQ(Load(Hex(c.bytes), [&](CArchive& ar) { read = ar.ReadCount(); }), 0u);
        EXPECT_EQ(read, c.count);
    }
}

TEST(ArchiveNumbers, AreLittleEndianWithFixedWidths)
{
    const std::string written = Store([](CArchive& ar) {
        ar << (BYTE)0x12 << (short)-2 << (WORD)0x3456 << (int)-3 << (DWORD)0x89ABCDEFu << (LONG)0x01020304
           << (long long)0x0102030405060708LL << true << 'c' << 1.5f;
    });
    EXPECT_EQ(ToHex(written), "12 FE FF 56 34 FD FF FF FF EF CD AB 89 04 03 02 01 08 07 06 05 04 03 02 01 01 63 "
                              "00 00 C0 3F");
    BYTE b;
    short s;
    WORD w;
    int i;
    DWORD dw;
    LONG l;
    long long ll;
    bool f;
    char ch;
    float fl;
    EXPECT_EQ(Load(written, [&](CArchive& ar) { ar >> b >> s >> w >> i >> dw >> l >> ll >> f >> ch >> fl; }), 0u);
    EXPECT_EQ(b, 0x12);
    EXPECT_EQ(s, -2);
    EXPECT_EQ(w, 0x3456);
    EXPECT_EQ(i, -3);
    EXPECT_EQ(dw, 0x89ABCDEFu);
    EXPECT_EQ(l, 0x01020304);
    EXPECT_EQ(ll, 0x0102030405060708LL);
    EXPECT_TRUE(f);
    EXPECT_EQ(ch, 'c');
    EXPECT_EQ(fl, 1.5f);
}

std::unique_ptr<CFwItemA> MakeA(int n)
{
    auto p = std::make_unique<CFwItemA>();
    p->m_n = n;
    return p;
}

TEST(ArchiveObjects, ListOfTwoClassesGivesTheClassTagSequence)
{
    auto a1 = MakeA(1), a2 = MakeA(2);
    CFwItemB b1;
    b1.m_w = 0x0102;
    CObList list;
    list.AddTail(a1.get());
    list.AddTail(a2.get());
    list.AddTail(&b1);
    // CFwItemA is index 1, a1 2, a2 3, CFwItemB 4, b1 5.
    const std::string expected = Hex("03 00"
                                     "FF FF 07 00 08 00 43 46 77 49 74 65 6D 41"  // new class "CFwItemA", schema 7
                                     "01 00 00 00"                                // a1
                                     "01 80 02 00 00 00"                          // known class 1, a2
                                     "FF FF 03 00 08 00 43 46 77 49 74 65 6D 42"  // new class "CFwItemB", schema 3
                                     "02 01");                                    // b1
    const std::string written = Store([&](CArchive& ar) { list.Serialize(ar); });
    EXPECT_EQ(ToHex(written), ToHex(expected));

    OwnedList read;
    EXPECT_EQ(Load(expected, [&](CArchive& ar) { read.Serialize(ar); }), 0u);
    ASSERT_EQ(read.GetCount(), 3);
    POSITION pos = read.GetHeadPosition();
    CObject* p1 = read.GetNext(pos);
    CObject* p2 = read.GetNext(pos);
    CObject* p3 = read.GetNext(pos);
    ASSERT_TRUE(p1->IsKindOf(RUNTIME_CLASS(CFwItemA)));
    ASSERT_TRUE(p2->IsKindOf(RUNTIME_CLASS(CFwItemA)));
    ASSERT_TRUE(p3->IsKindOf(RUNTIME_CLASS(CFwItemB)));
    EXPECT_EQ(static_cast<CFwItemA*>(p1)->m_n, 1);
    EXPECT_EQ(static_cast<CFwItemA*>(p2)->m_n, 2);
    EXPECT_EQ(static_cast<CFwItemA*>(p1)->m_schemaSeen, 7u);
    EXPECT_EQ(static_cast<CFwItemB*>(p3)->m_w, 0x0102);
}

TEST(ArchiveObjects, IndexCounterRunsAcrossLists)
{
    // Three objects of one class, then a second list of another class: the
    // second class is index 5, so its second object carries tag 0x8005.
    CObList first, second;
    std::vector<std::unique_ptr<CFwItemA>> as;
    for (int i = 0; i < 3; ++i) {
        as.push_back(MakeA(i));
        first.AddTail(as.back().get());
    }
    CFwItemB b1, b2;
    second.AddTail(&b1);
    second.AddTail(&b2);
    const std::string written = Store([&](CArchive& ar) {
        first.Serialize(ar);
        second.Serialize(ar);
    });
    const std::string tail = Hex("02 00 FF FF 03 00 08 00 43 46 77 49 74 65 6D 42 00 00 05 80 00 00");
    ASSERT_GE(written.size(), tail.size());
    EXPECT_EQ(ToHex(written.substr(written.size() - tail.size())), ToHex(tail));
}

TEST(ArchiveObjects, BackReferencesAndNullObjects)
{
    auto a = MakeA(9);
    const std::string expected = Hex("FF FF 07 00 08 00 43 46 77 49 74 65 6D 41 09 00 00 00"
                                     "02 00"    // the same object again: its index
                                     "00 00");  // no object
    const std::string written = Store([&](CArchive& ar) { ar << a.get() << a.get() << (CObject*)nullptr; });
    EXPECT_EQ(ToHex(written), ToHex(expected));

    CObject *p1 = nullptr, *p2 = nullptr, *p3 = reinterpret_cast<CObject*>(1);
    EXPECT_EQ(Load(expected, [&](CArchive& ar) { ar >> p1 >> p2 >> p3; }), 0u);
    std::unique_ptr<CObject> owner(p1);
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(p3, nullptr);
    ASSERT_TRUE(p1->IsKindOf(RUNTIME_CLASS(CFwItemA)));
    EXPECT_EQ(static_cast<CFwItemA*>(p1)->m_n, 9);

    // The typed reader checks the class.
    CFwItemA* typed = nullptr;
    Load(expected.substr(0, 18), [&](CArchive& ar) { ar >> typed; });
    std::unique_ptr<CObject> owner2(typed);
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->m_n, 9);
}

TEST(ArchiveObjects, IndexesAbove32766UseTheLongForms)
{
    // 32767 objects of A take indexes 2..32768; class B is 32769, b1 32770.
    std::vector<std::unique_ptr<CFwItemA>> as;
    CFwItemB b1, b2;
    std::string written = Store([&](CArchive& ar) {
        for (int i = 0; i < 32767; ++i) {
            as.push_back(MakeA(i));
            ar << as.back().get();
        }
        ar << &b1 << &b2 << (CObject*)&b1 << (CObject*)as[0].get() << (CObject*)as.back().get();
        as.push_back(MakeA(-1));
        ar << as.back().get();  // known class A (index 1) at object index 32772
    });
    const std::string tail = Hex("FF FF 03 00 08 00 43 46 77 49 74 65 6D 42 00 00"  // class B, b1
                                 "FF 7F 01 80 00 80 00 00"                          // b2: known class 32769
                                 "FF 7F 02 80 00 00"                                // b1 again: 32770
                                 "02 00"                                            // first A again
                                 "FF 7F 00 80 00 00"                                // last A: 32768
                                 "01 80 FF FF FF FF");                              // new A
    ASSERT_GE(written.size(), tail.size());
    EXPECT_EQ(ToHex(written.substr(written.size() - tail.size())), ToHex(tail));

    std::vector<std::unique_ptr<CObject>> read;
    EXPECT_EQ(Load(written,
                   [&](CArchive& ar) {
                       for (int i = 0; i < 32767 + 2; ++i) read.emplace_back(ar.ReadObject(nullptr));
                       CObject* again = ar.ReadObject(RUNTIME_CLASS(CFwItemB));
                       EXPECT_EQ(again, read[32767].get());
                       EXPECT_EQ(ar.ReadObject(nullptr), read[0].get());
                       EXPECT_EQ(ar.ReadObject(nullptr), read[32766].get());
                       read.emplace_back(ar.ReadObject(RUNTIME_CLASS(CFwItemA)));
                   }),
              0u);
    ASSERT_EQ(read.size(), 32770u);
    EXPECT_EQ(static_cast<CFwItemA*>(read.back().get())->m_n, -1);
}

TEST(ArchiveObjects, SchemasAreCheckedUnlessVersionable)
{
    // A versionable class accepts another schema and tells it.
    auto a = MakeA(5);
    std::string written = Store([&](CArchive& ar) {
        ar.SetClassSchema(RUNTIME_CLASS(CFwItemA), 4);
        ar << a.get();
    });
    EXPECT_EQ(ToHex(written.substr(0, 4)), "FF FF 04 00");
    CObject* p = nullptr;
    Load(written, [&](CArchive& ar) {
        p = ar.ReadObject(nullptr);
        EXPECT_EQ(ar.GetObjectSchema(), (UINT)-1);
    });
    std::unique_ptr<CObject> owner(p);
    EXPECT_EQ(static_cast<CFwItemA*>(p)->m_schemaSeen, 4u);

    // A fixed-schema class refuses another one.
    const std::string wrongSchema = Hex("FF FF 04 00 08 00 43 46 77 49 74 65 6D 42 00 00");
    try {
        Load(wrongSchema, [](CArchive& ar) { delete ar.ReadObject(nullptr); });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
    }
}

TEST(ArchiveObjects, ReadingIntoTheWrongClassIsRefused)
{
    CFwItemB b;
    const std::string written = Store([&](CArchive& ar) { ar << &b << &b; });
    try {
        Load(written, [](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CFwItemA)); });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
    // A back-reference to an object of the wrong class as well.
    try {
        Load(written, [](CArchive& ar) {
            std::unique_ptr<CObject> first(ar.ReadObject(nullptr));
            ar.ReadObject(RUNTIME_CLASS(CFwItemA));
        });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
    // A derived class is accepted where its base is asked for.
    CFwItemA2 derived;
    const std::string d = Store([&](CArchive& ar) { ar << &derived; });
    CFwItemA* p = nullptr;
    Load(d, [&](CArchive& ar) { ar >> p; });
    std::unique_ptr<CFwItemA> owner(p);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CFwItemA2)));
}

int CauseOf(const std::string& bytes, void (*read)(CArchive&))
{
    try {
        Load(bytes, read);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

void ReadString(CArchive& ar)
{
    CString s;
    ar >> s;
}
void ReadOwnedList(CArchive& ar)
{
    OwnedList list;
    list.Serialize(ar);
}
void ReadAList(CArchive& ar)
{
    OwnedList list;
    list.SerializeElements(ar, RUNTIME_CLASS(CFwItemA));
}
void ReadAnyObject(CArchive& ar)
{
    std::unique_ptr<CObject> p(ar.ReadObject(nullptr));
    CObject* q = ar.ReadObject(nullptr);
    if (q != p.get()) delete q;
}
void ReadStrings(CArchive& ar)
{
    CStringList list;
    list.Serialize(ar);
}

TEST(ArchiveHostileInput, GivesArchiveExceptionsAndNoCrash)
{
    const std::string classA = "FF FF 07 00 08 00 43 46 77 49 74 65 6D 41";
    const std::string classB = "FF FF 03 00 08 00 43 46 77 49 74 65 6D 42";
    struct Case {
        const char* what;
        std::string bytes;
        void (*read)(CArchive&);
        int cause;
    } cases[] = {
        {"empty string data", "", ReadString, CArchiveException::endOfFile},
        {"string shorter than its length", "05 61 62", ReadString, CArchiveException::endOfFile},
        {"16-bit length past the end", "FF 00 FF 61", ReadString, CArchiveException::endOfFile},
        {"cut inside the 16-bit length", "FF 00", ReadString, CArchiveException::endOfFile},
        {"32-bit length past the end", "FF FF FF FF FF FF 7F 61 62", ReadString, CArchiveException::endOfFile},
        {"32-bit length beyond any string", "FF FF FF FF FF FF FF", ReadString, CArchiveException::genericException},
        {"UTF-16 length past the end", "FF FE FF FF FF FF FF FF FF 3F 41 00", ReadString, CArchiveException::endOfFile},
        {"count past the end", "FF FF FF FF FF FF", ReadOwnedList, CArchiveException::endOfFile},
        {"list shorter than its count", "02 00" + classA + "01 00 00 00", ReadOwnedList, CArchiveException::endOfFile},
        {"strings shorter than their count", "FF FF 00 00 01 00 00 00", ReadStrings, CArchiveException::endOfFile},
        {"cut inside an object", "01 00" + classA + "01 00", ReadOwnedList, CArchiveException::endOfFile},
        {"cut inside a class name", "01 00 FF FF 07 00 08 00 43 46", ReadOwnedList, CArchiveException::endOfFile},
        {"unknown class name", "01 00 FF FF 07 00 08 00 43 52 65 63 6F 72 64 58", ReadOwnedList,
         CArchiveException::badClass},
        {"class that cannot be created", "01 00 FF FF FF FF 08 00 43 46 77 50 6C 61 69 6E", ReadOwnedList,
         CArchiveException::badClass},
        {"class name with a zero byte", "01 00 FF FF 07 00 08 00 43 46 77 49 00 65 6D 41", ReadOwnedList,
         CArchiveException::badClass},
        {"empty class name", "01 00 FF FF 07 00 00 00", ReadOwnedList, CArchiveException::badClass},
        {"class name too long", "01 00 FF FF 07 00 FF FF 41 41", ReadOwnedList, CArchiveException::badClass},
        {"class index never assigned", "01 00 05 80 00 00 00 00", ReadOwnedList, CArchiveException::badIndex},
        {"class index zero", "01 00 00 80", ReadOwnedList, CArchiveException::badIndex},
        {"big class index never assigned", "01 00 FF 7F 05 00 00 80", ReadOwnedList, CArchiveException::badIndex},
        {"class tag naming an object", "02 00" + classA + "01 00 00 00 02 80 01 00 00 00", ReadOwnedList,
         CArchiveException::badIndex},
        {"object index never assigned", classA + "01 00 00 00 07 00", ReadAnyObject, CArchiveException::badIndex},
        {"big object index never assigned", classA + "01 00 00 00 FF 7F 07 00 00 00", ReadAnyObject,
         CArchiveException::badIndex},
        {"object index naming a class", classA + "01 00 00 00 01 00", ReadAnyObject, CArchiveException::badIndex},
        {"back-reference inside an owning list", "02 00" + classA + "01 00 00 00 02 00", ReadOwnedList,
         CArchiveException::badIndex},
        {"null inside an owning list", "01 00 00 00", ReadOwnedList, CArchiveException::badIndex},
        {"wrong class in a typed list", "01 00" + classB + "01 00", ReadAList, CArchiveException::badClass},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CauseOf(Hex(c.bytes.c_str()), c.read), c.cause);
    }
    EXPECT_EQ(CFwItemA::s_live, 0);
}

TEST(ArchiveHostileInput, ReferencesToAnObjectItsOwnerDroppedAreRefusedUntouched)
{
    // An owner that reads an object and deletes it at once (a converted old
    // item, say): a later tag naming that object must be refused without the
    // reader looking at the freed object - for a new object and for a class.
    const std::string bytes = Hex("FF FF 07 00 08 00 43 46 77 49 74 65 6D 41 01 00 00 00 02 00");
    const auto objectAfterDropped = [](CArchive& ar) {
        delete ar.ReadNewObject(RUNTIME_CLASS(CFwItemA));
        delete ar.ReadNewObject(RUNTIME_CLASS(CFwItemA2));
    };
    const auto classAfterDropped = [](CArchive& ar) {
        delete ar.ReadNewObject(RUNTIME_CLASS(CFwItemA));
        ar.ReadClass(RUNTIME_CLASS(CFwItemA));
    };
    EXPECT_EQ(CauseOf(bytes, objectAfterDropped), CArchiveException::badIndex);
    EXPECT_EQ(CauseOf(bytes, classAfterDropped), CArchiveException::badIndex);
    EXPECT_EQ(CFwItemA::s_live, 0);
}

TEST(ArchiveHostileInput, DeepNestingStopsBeforeTheStackDoes)
{
    // "CFwNest" objects each holding the next, far deeper than any real file.
    std::string bytes = "FF FF 01 00 07 00 43 46 77 4E 65 73 74";
    for (int i = 0; i < 5000; ++i) bytes += " 01 80";
    EXPECT_EQ(CauseOf(Hex(bytes.c_str()), [](CArchive& ar) { delete ar.ReadObject(nullptr); }),
              CArchiveException::genericException);

    // Nesting within the limit reads.
    CFwNest outer;
    auto* inner = new CFwNest;
    outer.m_pChild = inner;
    inner->m_pChild = new CFwItemA;
    const std::string written = Store([&](CArchive& ar) { ar << &outer; });
    CObject* p = nullptr;
    Load(written, [&](CArchive& ar) { p = ar.ReadObject(RUNTIME_CLASS(CFwNest)); });
    std::unique_ptr<CObject> owner(p);
    auto* n = DYNAMIC_DOWNCAST(CFwNest, p);
    ASSERT_NE(n, nullptr);
    ASSERT_NE(DYNAMIC_DOWNCAST(CFwNest, n->m_pChild), nullptr);
}

TEST(ArchiveHostileInput, ElementsReadBeforeAnErrorStayWithTheList)
{
    const std::string bytes =
        Hex("03 00 FF FF 07 00 08 00 43 46 77 49 74 65 6D 41 01 00 00 00 01 80 02 00 00 00 01 80");
    OwnedList list;
    try {
        Load(bytes, [&](CArchive& ar) { list.Serialize(ar); });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(CFwItemA::s_live, 2);
}

// Every cut and many single-byte corruptions of a valid archive: reading
// either succeeds or throws one of the framework's exceptions; the sanitizers
// and the live-object count catch anything else.
TEST(ArchiveHostileInput, CutsAndCorruptionsOfAValidArchive)
{
    auto a1 = MakeA(1), a2 = MakeA(0x7F00);
    CFwItemB b;
    b.m_w = -1;
    CFwNest nest;
    nest.m_pChild = new CFwItemA2;
    CObList list;
    list.AddTail(a1.get());
    list.AddTail(&b);
    list.AddTail(a2.get());
    list.AddTail(&nest);
    const std::string valid = Store([&](CArchive& ar) {
        ar << CString("header") << CString(std::string(300, 'h'));
        list.Serialize(ar);
        ar << CString("tail");
    });
    const int liveBefore = CFwItemA::s_live;
    auto readAll = [](const std::string& bytes) {
        try {
            Load(bytes, [](CArchive& ar) {
                CString s1, s2, s3;
                OwnedList read;
                ar >> s1 >> s2;
                read.Serialize(ar);
                ar >> s3;
            });
            return true;
        } catch (const CException&) {
            return false;
        }
    };
    EXPECT_TRUE(readAll(valid));
    for (size_t cut = 0; cut < valid.size(); ++cut) EXPECT_FALSE(readAll(valid.substr(0, cut))) << cut;
    const unsigned char values[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
    for (size_t at = 0; at < valid.size(); ++at) {
        for (unsigned char v : values) {
            std::string bad = valid;
            bad[at] = (char)v;
            readAll(bad);
        }
    }
    EXPECT_EQ(CFwItemA::s_live, liveBefore);
}

TEST(ArchiveModes, ReadingAStoreArchiveAndWritingALoadArchiveAreRefused)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        int i = 0;
        try {
            ar >> i;
            FAIL();
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
        }
        ar.Abort();
    }
    {
        CArchive ar(&file, CArchive::load);
        try {
            ar << 1;
            FAIL();
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
        }
    }
}

TEST(ArchiveModes, BlocksGrowOnlyWithTheData)
{
    std::vector<BYTE> got;
    EXPECT_EQ(Load(Hex("01 02 03"), [&](CArchive& ar) { got = ar.ReadBlock(3); }), 0u);
    EXPECT_EQ(got, (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(CauseOf(Hex("01 02 03"), [](CArchive& ar) { ar.ReadBlock(0xFFFFFFF0u); }), CArchiveException::endOfFile);
}

TEST(ArchiveModes, LargeWritesAndReadsCrossTheBuffer)
{
    std::string big(10000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = (char)(i * 7);
    const std::string written = Store([&](CArchive& ar) {
        ar << (BYTE)1;
        ar.Write(big.data(), (UINT)big.size());
        ar << (BYTE)2;
    });
    ASSERT_EQ(written.size(), big.size() + 2);
    std::string back(big.size(), '\0');
    BYTE first = 0, last = 0;
    Load(written, [&](CArchive& ar) {
        ar >> first;
        ar.ReadExact(&back[0], (UINT)back.size());
        ar >> last;
    });
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 2);
    EXPECT_TRUE(back == big);
}

}  // namespace
