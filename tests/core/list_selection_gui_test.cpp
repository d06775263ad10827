#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "core/winui/ListSelection.h"
#include "core/os/SystemInfo.h"

namespace {

class ReportList : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 200, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list, nullptr);
        LVCOLUMNA col = {};
        col.mask = LVCF_WIDTH;
        col.cx = 100;
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
        for (int i = 0; i < 5; ++i) {
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            char text[8] = "item";
            item.pszText = text;
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    void TearDown() override { DestroyWindow(list); }
    UINT State(int i) const
    {
        return static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, i, LVIS_SELECTED | LVIS_FOCUSED));
    }
    HWND list = nullptr;
};

TEST_F(ReportList, FirstSelectedIsMinusOneWithoutSelection) { EXPECT_EQ(GetFirstSelectedListItem(list), -1); }

TEST_F(ReportList, SelectListItemWithAndWithoutClearingOthers)
{
    SelectListItem(list, 3, false);
    SelectListItem(list, 1, false);
    EXPECT_EQ(GetFirstSelectedListItem(list), 1);
    EXPECT_TRUE(State(3) & LVIS_SELECTED);
    EXPECT_EQ(State(1), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    SelectListItem(list, 4, true);
    EXPECT_EQ(GetFirstSelectedListItem(list), 4);
    EXPECT_FALSE(State(3) & LVIS_SELECTED);
    EXPECT_FALSE(State(1) & LVIS_SELECTED);
}

TEST_F(ReportList, SelectAllAndNone)
{
    SelectAllListItems(list, true);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(State(i) & LVIS_SELECTED) << i;
    SelectAllListItems(list, false);
    EXPECT_EQ(GetFirstSelectedListItem(list), -1);
}

TEST_F(ReportList, SelectAndFocusMinusOneMeansTheFirstItem)
{
    SelectAndFocusListItem(list, -1);
    EXPECT_EQ(State(0), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    SelectAndFocusListItem(list, 2);
    EXPECT_EQ(State(2), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
}

TEST(SystemInfo, SetCaptionVersionFormatsOnlyOneStringSlot)
{
    HWND w = CreateWindowExA(0, "STATIC", "Version %s here", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    SetCaptionVersion(w);
    char text[100];
    GetWindowTextA(w, text, 100);
    EXPECT_STREQ(text, "Version  here");  // the test program has no product version
    SetWindowTextA(w, "Bad %d %s");
    SetCaptionVersion(w);
    GetWindowTextA(w, text, 100);
    EXPECT_STREQ(text, "Bad %d %s");
    DestroyWindow(w);
    SetCaptionVersion(nullptr);
}

}  // namespace
