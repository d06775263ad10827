#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CArchive.h"
#include "framework/CArray.h"
#include "framework/CException.h"
#include "framework/CList.h"
#include "framework/CMap.h"
#include "tests/framework/ArchiveTestSupport.h"

using fwtest::Hex;
using fwtest::Load;
using fwtest::Store;
using fwtest::ToHex;

namespace {

std::vector<std::string> Items(const CStringList& l)
{
    std::vector<std::string> out;
    for (POSITION pos = l.GetHeadPosition(); pos;) out.push_back(l.GetNext(pos).Std());
    return out;
}

TEST(List, InsertRemoveAndWalk)
{
    CStringList l;
    EXPECT_TRUE(l.IsEmpty());
    POSITION b = l.AddTail("b");
    l.AddHead("a");
    POSITION d = l.AddTail("d");
    l.InsertBefore(d, CString("c"));
    l.InsertAfter(d, CString("e"));
    EXPECT_EQ(Items(l), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(l.GetCount(), 5);
    EXPECT_EQ(l.GetHead(), CString("a"));
    EXPECT_EQ(l.GetTail(), CString("e"));
    EXPECT_EQ(l.Find(CString("c")), l.FindIndex(2));
    EXPECT_EQ(l.Find(CString("c"), l.FindIndex(2)), nullptr);
    EXPECT_EQ(l.FindIndex(5), nullptr);
    EXPECT_EQ(l.FindIndex(-1), nullptr);
    l.RemoveAt(b);
    l.SetAt(d, CString("D"));
    EXPECT_EQ(l.RemoveHead(), CString("a"));
    EXPECT_EQ(l.RemoveTail(), CString("e"));
    EXPECT_EQ(Items(l), (std::vector<std::string>{"c", "D"}));
    std::vector<std::string> back;
    for (POSITION pos = l.GetTailPosition(); pos;) back.push_back(l.GetPrev(pos).Std());
    EXPECT_EQ(back, (std::vector<std::string>{"D", "c"}));
    CStringList other;
    other.AddTail(&l);
    other.AddHead(&l);
    EXPECT_EQ(Items(other), (std::vector<std::string>{"c", "D", "c", "D"}));
    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_THROW(l.GetHead(), CInvalidArgException);
    EXPECT_THROW(l.RemoveTail(), CInvalidArgException);
    POSITION none = nullptr;
    EXPECT_THROW(l.GetNext(none), CInvalidArgException);
}

TEST(Array, GrowsAndChecksIndexes)
{
    CStringArray a;
    EXPECT_EQ(a.Add("x"), 0);
    EXPECT_EQ(a.Add(CString("z")), 1);
    a.InsertAt(1, CString("y"));
    a.InsertAt(5, CString("w"));  // the gap is filled with empty strings
    EXPECT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[2], CString("z"));
    EXPECT_TRUE(a[3].IsEmpty());
    a.RemoveAt(3, 2);
    EXPECT_EQ(a.GetUpperBound(), 3);
    a.SetAtGrow(5, CString("v"));
    EXPECT_EQ(a.GetSize(), 6);
    a.SetSize(10);
    EXPECT_EQ(a.GetSize(), 10);
    for (INT_PTR bad : {(INT_PTR)-1, (INT_PTR)10}) {
        EXPECT_THROW(a.GetAt(bad), CInvalidArgException);
        EXPECT_THROW(a.SetAt(bad, CString()), CInvalidArgException);
        EXPECT_THROW(a[bad], CInvalidArgException);
    }
    EXPECT_THROW(a.RemoveAt(9, 2), CInvalidArgException);
    EXPECT_THROW(a.SetSize(-1), CInvalidArgException);
    CStringArray b;
    b.Copy(a);
    EXPECT_EQ(b.GetSize(), 10);
    EXPECT_EQ(b.Append(a), 10);
    EXPECT_EQ(b.GetSize(), 20);
    CPtrArray p;
    int x;
    p.Add(&x);
    EXPECT_EQ(p[0], &x);
}

TEST(Map, LookupAndIterationInKeyOrder)
{
    CMapPtrToPtr m;
    int a, b;
    void* v = nullptr;
    EXPECT_FALSE(m.Lookup(&a, v));
    m.SetAt(&a, &b);
    m[&b] = &a;
    EXPECT_TRUE(m.Lookup(&a, v));
    EXPECT_EQ(v, &b);
    EXPECT_EQ(m.GetCount(), 2);
    int seen = 0;
    POSITION pos = m.GetStartPosition();
    while (pos) {
        void *k, *val;
        m.GetNextAssoc(pos, k, val);
        // Removing the entry just returned keeps the walk going.
        EXPECT_TRUE(m.RemoveKey(k));
        ++seen;
    }
    EXPECT_EQ(seen, 2);
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_FALSE(m.RemoveKey(&a));

    CMap<CString, const CString&, int, int> byName;
    byName[CString("b")] = 2;
    byName.SetAt(CString("a"), 1);
    std::vector<std::string> keys;
    for (POSITION p = byName.GetStartPosition(); p;) {
        CString k;
        int n;
        byName.GetNextAssoc(p, k, n);
        keys.push_back(k.Std());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "b"}));
}

TEST(CollectionSerialisation, StringArraysAndListsAsCountAndStrings)
{
    CStringArray a;
    a.Add("ab");
    a.Add("");
    const std::string bytes = fwtest::Store([&](CArchive& ar) { a.Serialize(ar); });
    EXPECT_EQ(ToHex(bytes), "02 00 02 61 62 00");
    CStringArray back;
    back.Add("old");
    fwtest::Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetSize(), 2);
    EXPECT_EQ(back[0], CString("ab"));

    CStringList l;
    l.AddTail("x");
    EXPECT_EQ(ToHex(fwtest::Store([&](CArchive& ar) { l.Serialize(ar); })), "01 00 01 78");
    CStringList lb;
    fwtest::Load(Hex("01 00 01 78"), [&](CArchive& ar) { lb.Serialize(ar); });
    EXPECT_EQ(Items(lb), (std::vector<std::string>{"x"}));
}

// A list read as an object of its own that fails part-way goes with every
// element it had read (a plain list does not own them); a list class that
// frees its elements itself frees none twice.
TEST(ArchiveHostileInput, AListObjectCutShortFreesTheElementsItRead)
{
    CFwItemA a1, a2, a3;
    CObList plain;
    CFwOwningList owning;
    // The lists only lend the items to the writing: they stay this test's.
    struct Lent {
        CObList& list;
        ~Lent() { list.RemoveAll(); }
    } lentPlain{plain}, lentOwning{owning};
    for (CObList* list : {&plain, static_cast<CObList*>(&owning)}) {
        list->AddTail(&a1);
        list->AddTail(&a2);
        list->AddTail(&a3);
    }
    const int liveBefore = CFwItemA::s_live;
    for (CObList* list : {&plain, static_cast<CObList*>(&owning)}) {
        const std::string valid = Store([&](CArchive& ar) { ar << list; });
        const char* const kind = list == &plain ? "plain list" : "owning list";
        for (size_t cut = 0; cut < valid.size(); ++cut) {
            try {
                Load(valid.substr(0, cut), [](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CObList)); });
                ADD_FAILURE() << kind << ": read a cut archive, cut " << cut;
            } catch (const CArchiveException&) {}
            EXPECT_EQ(CFwItemA::s_live, liveBefore) << kind << ", cut " << cut;
        }
        CObject* whole = nullptr;
        Load(valid, [&](CArchive& ar) { whole = ar.ReadObject(RUNTIME_CLASS(CObList)); });
        ASSERT_NE(whole, nullptr);
        auto* read = static_cast<CObList*>(whole);
        EXPECT_EQ(read->GetCount(), 3) << kind;
        while (!read->IsEmpty()) delete read->RemoveHead();
        delete read;
        EXPECT_EQ(CFwItemA::s_live, liveBefore) << kind;
    }
}

}  // namespace
