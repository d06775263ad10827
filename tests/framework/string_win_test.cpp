#include <gtest/gtest.h>

#include "framework/CString.h"
#include "framework/ResourceModuleWin.h"

namespace {

TEST(CStringWin, LoadStringReadsTheResourceModule)
{
    CString s;
    ASSERT_TRUE(s.LoadString(64990));
    EXPECT_EQ(s, CString("From the resource module"));
    // An entry of the resource module wins over a registered one.
    ZvRegisterString(64991, "registered");
    ASSERT_TRUE(s.LoadString(64991));
    EXPECT_EQ(s, CString("Resource wins"));
    EXPECT_FALSE(s.LoadString(64992));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringWin, AnotherResourceModuleHasOtherStrings)
{
    // kernel32 has no entry 64990: the program's own table is no longer used.
    HINSTANCE own = AfxGetResourceHandle();
    AfxSetResourceHandle(GetModuleHandleA("kernel32.dll"));
    CString s;
    EXPECT_FALSE(s.LoadString(64990));
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), own);
    EXPECT_TRUE(s.LoadString(64990));
}

}  // namespace
