// Proves that real windows and common controls work in the test setup.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

TEST(ListViewSmoke, ItemTextReadsBack)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    HWND frame = CreateWindowExA(0, "STATIC", "smoke", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(frame, nullptr) << "no display? error " << GetLastError();
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200, frame, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);

    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 100;
    col.pszText = const_cast<char*>("Title");
    ASSERT_EQ(SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col)), 0);

    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("Bank login");
    ASSERT_EQ(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);

    char buffer[64] = {};
    LVITEMA get{};
    get.iSubItem = 0;
    get.pszText = buffer;
    get.cchTextMax = sizeof(buffer);
    SendMessageA(list, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&get));
    EXPECT_STREQ(buffer, "Bank login");
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);

    DestroyWindow(frame);
}
