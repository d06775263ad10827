// Window classes registered on demand: one name per combination of
// instance, style, cursor, brush and icon, with those attributes.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "framework/Wnd.h"
#include "framework/WinApp.h"

namespace {

template <class H> H Fake(uint64_t n) { return reinterpret_cast<H>(static_cast<uintptr_t>(n)); }

TEST(WndClass, EachCombinationHasItsOwnFixedWidthNameAndItsAttributes)
{
    const struct {
        UINT style;
        uint64_t cursor, brush, icon;
    } cases[] = {
        {0, 0, 0, 0},
        {CS_DBLCLKS, 0, 0, 0},
        {CS_DBLCLKS, 0x1'0000'0001ull, 0, 0},
        // Handles that differ only in their upper 32 bits.
        {CS_DBLCLKS, 0x2'0000'0001ull, 0, 0},
        {CS_DBLCLKS, 0, 0x1'0000'0006ull, 0},
        {CS_DBLCLKS, 0, 0x2'0000'0006ull, 0},
        {CS_DBLCLKS, 0, 0, 0x1'0000'0010ull},
        {CS_DBLCLKS, 0, 0, 0x2'0000'0010ull},
        {CS_DBLCLKS | CS_HREDRAW, 0x10, 0x20, 0x30},
    };
    const auto instance = (unsigned long long)(uintptr_t)AfxGetInstanceHandle();
    std::set<std::string> names;
    for (const auto& c : cases) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "Zv:%016llX:%08X:%016llX:%016llX:%016llX", instance, c.style,
                      (unsigned long long)c.cursor, (unsigned long long)c.brush, (unsigned long long)c.icon);
        SCOPED_TRACE(expected);
        LPCSTR name =
            CWnd::RegisterWndClass(c.style, Fake<HCURSOR>(c.cursor), Fake<HBRUSH>(c.brush), Fake<HICON>(c.icon));
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, expected);
        names.insert(name);
        EXPECT_EQ(CWnd::RegisterWndClass(c.style, Fake<HCURSOR>(c.cursor), Fake<HBRUSH>(c.brush), Fake<HICON>(c.icon)),
                  name)
            << "registered once";
        WNDCLASSA wc{};
        ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), name, &wc));
        EXPECT_EQ(wc.style, c.style);
        EXPECT_EQ(wc.hCursor, Fake<HCURSOR>(c.cursor));
        EXPECT_EQ(wc.hbrBackground, Fake<HBRUSH>(c.brush));
        EXPECT_EQ(wc.hIcon, Fake<HICON>(c.icon));
    }
    EXPECT_EQ(names.size(), std::size(cases));
}

}  // namespace
