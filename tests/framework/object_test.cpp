#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "framework/CArray.h"
#include "framework/CFile.h"
#include "framework/CList.h"
#include "framework/CMemFile.h"
#include "framework/CObject.h"
#include "tests/framework/ArchiveTestSupport.h"

namespace {

TEST(RuntimeClass, KindsFollowTheBaseChain)
{
    CFwItemA2 derived;
    CFwItemA base;
    EXPECT_TRUE(derived.IsKindOf(RUNTIME_CLASS(CFwItemA2)));
    EXPECT_TRUE(derived.IsKindOf(RUNTIME_CLASS(CFwItemA)));
    EXPECT_TRUE(derived.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(base.IsKindOf(RUNTIME_CLASS(CFwItemA2)));
    EXPECT_FALSE(base.IsKindOf(RUNTIME_CLASS(CFwItemB)));
    EXPECT_STREQ(derived.GetRuntimeClass()->m_lpszClassName, "CFwItemA2");
    EXPECT_EQ(derived.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CFwItemA));

    CObject* p = &derived;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CFwItemA, p), &derived);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CFwItemB, p), nullptr);
    CObject* none = nullptr;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CFwItemA, none), nullptr);

    // Framework classes carry their own records.
    CMemFile mem;
    EXPECT_TRUE(mem.IsKindOf(RUNTIME_CLASS(CFile)));
    CObList list;
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObList)));
    CStringArray arr;
    EXPECT_TRUE(arr.IsKindOf(RUNTIME_CLASS(CStringArray)));
}

TEST(RuntimeClass, CreationByName)
{
    std::unique_ptr<CObject> a(CRuntimeClass::CreateObject("CFwItemA"));
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->IsKindOf(RUNTIME_CLASS(CFwItemA)));
    EXPECT_EQ(CRuntimeClass::FromName("CFwItemB"), RUNTIME_CLASS(CFwItemB));
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRuntimeClass::FromName("NoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
    // Dynamic creation without serialisation; plain run-time classes cannot be made.
    std::unique_ptr<CObject> plain(CRuntimeClass::CreateObject("CFwPlain"));
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->IsSerializable());
    EXPECT_EQ(CRuntimeClass::CreateObject("CFile"), nullptr);
    EXPECT_TRUE(RUNTIME_CLASS(CFwItemA)->IsSerializable());
    EXPECT_EQ(RUNTIME_CLASS(CFwItemA)->m_wSchema, VERSIONABLE_SCHEMA | 7);
}

}  // namespace
