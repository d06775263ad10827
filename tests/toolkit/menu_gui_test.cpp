// Owner-drawn menus: records kept in step with every edit of the system
// menu, menus built from a template, mnemonics, the shared images, and the
// measured and painted items sampled on a memory canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/MemoryCanvas.h"
#include "tests/toolkit/ToolkitTestRes.h"
#include "toolkit/menus/BCMenu.h"

using zvtest::MemoryCanvas;

namespace {

// From the item's type: a popup's state carries its item count in bits that
// overlap the flags.
bool OwnerDrawn(HMENU menu, int pos)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoW(menu, (UINT)pos, TRUE, &info) && (info.fType & MFT_OWNERDRAW) != 0;
}

// Every position has its own record, carrying its id, as its item data.
::testing::AssertionResult InStep(BCMenu& menu)
{
    const auto& records = menu.GetRecords();
    const int count = (int)menu.GetMenuItemCount();
    if ((int)records.size() != count)
        return ::testing::AssertionFailure() << records.size() << " records for " << count << " items";
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu.m_hMenu, i);
        const UINT state = menu.GetMenuState((UINT)i, MF_BYPOSITION);
        const UINT_PTR id = sub ? (UINT_PTR)sub : (state & MF_SEPARATOR) ? 0 : menu.GetMenuItemID(i);
        if (records[i]->commandId != id) return ::testing::AssertionFailure() << "position " << i << ": wrong id";
        if (!OwnerDrawn(menu.m_hMenu, i)) continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        ::GetMenuItemInfoW(menu.m_hMenu, (UINT)i, TRUE, &info);
        if (info.dwItemData != (ULONG_PTR)records[i])
            return ::testing::AssertionFailure() << "position " << i << ": item data is not its record";
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::wstring> Texts(const BCMenu& menu)
{
    std::vector<std::wstring> texts;
    for (const BCMenuData* r : menu.GetRecords()) texts.push_back(r->text);
    return texts;
}

BCMenu* Sub(BCMenu& menu, int pos)
{
    CMenu* sub = menu.GetSubMenu(pos);
    return sub && sub->IsKindOf(RUNTIME_CLASS(BCMenu)) ? static_cast<BCMenu*>(sub) : nullptr;
}

// Gives access to the two painters whatever the display.
class PaintableMenu : public BCMenu {
public:
    using BCMenu::DrawItemClassic;
    using BCMenu::DrawItemXP;
};

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Fresh shared images; the look of Windows Vista and later (kind 1),
        // as Wine reports it, unless a test chooses another.
        auto state = std::make_shared<BCMenuShared>();
        state->windowsKind = 1;
        state->classicProbed = true;
        m_previous = BCMenu::ReplaceShared(state);
    }
    void TearDown() override { BCMenu::ReplaceShared(m_previous); }

    // A loose item with a record of its own, painted by menu.
    static DRAWITEMSTRUCT Request(HDC dc, BCMenuData& record, UINT id, UINT state, int width, int height)
    {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = id;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hDC = dc;
        dis.rcItem = RECT{0, 0, width, height};
        dis.itemData = (ULONG_PTR)&record;
        return dis;
    }

    std::shared_ptr<BCMenuShared> m_previous;
};

}  // namespace

TEST_F(MenuTest, LoadBuildsRecordsForEveryLevel)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    ASSERT_EQ(menu.GetMenuItemCount(), 2u);
    EXPECT_TRUE(menu.IsLoaded());
    EXPECT_TRUE(InStep(menu));
    // The bar's own items are plain strings that keep their records.
    EXPECT_FALSE(OwnerDrawn(menu.m_hMenu, 0));
    EXPECT_FALSE(OwnerDrawn(menu.m_hMenu, 1));
    EXPECT_EQ(menu.GetRecords()[0]->flags, (UINT)(MF_POPUP | MF_BYPOSITION));
    BCMenu* edit = Sub(menu, 0);
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(edit->GetMenuItemCount(), 5u);
    EXPECT_TRUE(InStep(*edit));
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(OwnerDrawn(edit->m_hMenu, i)) << i;
    EXPECT_EQ(edit->GetRecords()[2]->flags & (MF_SEPARATOR | MF_OWNERDRAW), (UINT)(MF_SEPARATOR | MF_OWNERDRAW));
    // The nested popup that ended "Edit" closed both levels: "Help" is
    // back on the bar, not inside "More".
    BCMenu* more = Sub(*edit, 4);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->GetMenuItemCount(), 1u);
    EXPECT_EQ(Texts(*more), std::vector<std::wstring>{L"&Deep"});
    ASSERT_NE(Sub(menu, 1), nullptr);
    EXPECT_EQ(Texts(*Sub(menu, 1)), std::vector<std::wstring>{L"&About"});
    EXPECT_TRUE(BCMenu::IsBCMenu(edit));
    EXPECT_TRUE(BCMenu::IsBCMenu(more));
}

TEST_F(MenuTest, AcceleratorsStartAtOneColumn)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    const auto texts = Texts(*Sub(menu, 0));
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = ::CreateFontIndirectA(&metrics.lfMenuFont);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    auto width = [dc](const std::wstring& s) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, s.c_str(), (int)s.size(), &size);
        return (int)size.cx;
    };
    const std::wstring paste = texts[0].substr(0, texts[0].find(L'\t'));
    const std::wstring selectAll = texts[1].substr(0, texts[1].find(L'\t'));
    // Every caption of the level counts, with one space after it.
    int column = 0;
    for (const wchar_t* caption : {L"&Paste ", L"Select &All ", L" ", L"&Print ", L"&More "})
        column = std::max(column, width(caption));
    const int space = width(L" ");
    for (const std::wstring& caption : {paste, selectAll}) {
        EXPECT_GE(width(caption), column) << std::string(caption.begin(), caption.end());
        EXPECT_LT(width(caption), column + space + 1);
    }
    EXPECT_EQ(texts[0].substr(texts[0].find(L'\t')), L"\tCtrl+V");
    EXPECT_EQ(texts[1].substr(texts[1].find(L'\t')), L"\tCtrl+A");
    EXPECT_EQ(texts[3], L"&Print");  // no tab: kept as it is
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
}

TEST_F(MenuTest, InsertsKeepRecordsInStep)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    BCMenu* edit = Sub(menu, 0);
    ASSERT_TRUE(edit->InsertMenu(1, MF_BYPOSITION, 42000, "Inserted"));
    EXPECT_TRUE(InStep(*edit));
    EXPECT_EQ(edit->GetRecords()[1]->text, L"Inserted");
    // By command: before the item that holds it, in whichever menu that is.
    ASSERT_TRUE(menu.InsertMenu(ID_TEST_PRINT, MF_BYCOMMAND, 42001, "Before print"));
    EXPECT_TRUE(InStep(*edit));
    EXPECT_EQ(edit->GetMenuItemID(4), 42001u);
    EXPECT_EQ(edit->GetMenuItemID(5), (UINT)ID_TEST_PRINT);
    ASSERT_TRUE(menu.InsertMenu(ID_TEST_DEEP, MF_BYCOMMAND, 0, (const char*)nullptr));
    EXPECT_TRUE(InStep(*Sub(*edit, 6)));
    // At the end, and a separator.
    ASSERT_TRUE(edit->InsertMenu((UINT)-1, MF_BYPOSITION, 42002, L"Last"));
    ASSERT_TRUE(edit->InsertMenu((UINT)-1, MF_BYPOSITION, 0, L""));
    EXPECT_TRUE(InStep(*edit));
    EXPECT_EQ(edit->GetRecords().back()->flags, (UINT)(MF_SEPARATOR | MF_OWNERDRAW | MF_BYPOSITION));
    // A command no item has: nothing inserted anywhere.
    const size_t before = edit->GetRecords().size();
    EXPECT_FALSE(menu.InsertMenu(49999, MF_BYCOMMAND, 42003, "Nowhere"));
    EXPECT_EQ(edit->GetRecords().size(), before);
    EXPECT_TRUE(InStep(menu));
    // A popup added to the bar stays a plain item there.
    auto* tools = new BCMenu;
    tools->CreatePopupMenu();
    tools->AppendOwnerDrawnItem(L"&Options", 0, 42004);
    ASSERT_TRUE(menu.InsertMenu((UINT)-1, MF_BYPOSITION | MF_POPUP, (UINT_PTR)tools->m_hMenu, "&Tools"));
    EXPECT_TRUE(InStep(menu));
    EXPECT_FALSE(OwnerDrawn(menu.m_hMenu, 2));
    EXPECT_EQ(menu.GetRecords()[2]->flags, (UINT)(MF_POPUP | MF_BYPOSITION));
    EXPECT_TRUE(BCMenu::IsBCMenu(tools));
}

TEST_F(MenuTest, ModifyingAnUnknownCommandAddsNothing)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    const size_t top = menu.GetRecords().size();
    EXPECT_FALSE(menu.ModifyOwnerDrawnItem("Ghost", 49999));
    EXPECT_FALSE(menu.ModifyOwnerDrawnItem(L"Ghost", 49999, (CImageList*)nullptr, 0));
    EXPECT_EQ(menu.GetRecords().size(), top);
    EXPECT_TRUE(InStep(menu));
    // A known command: every item with it gets the text and stays in step.
    BCMenu* edit = Sub(menu, 0);
    edit->InsertMenu((UINT)-1, MF_BYPOSITION, ID_TEST_PRINT, "Print again");
    ASSERT_TRUE(menu.ModifyOwnerDrawnItem("&Print...", ID_TEST_PRINT));
    EXPECT_EQ(edit->GetRecords()[3]->text, L"&Print...");
    EXPECT_EQ(edit->GetRecords()[5]->text, L"&Print...");
    EXPECT_TRUE(InStep(*edit));
    // NULL text keeps it.
    ASSERT_TRUE(menu.ModifyOwnerDrawnItem((const char*)nullptr, ID_TEST_ABOUT));
    EXPECT_EQ(Sub(menu, 1)->GetRecords()[0]->text, L"&About");
}

TEST_F(MenuTest, DeletesRemoveTheItemsOwnRecord)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    BCMenu* edit = Sub(menu, 0);
    // Two items with one command: deleting the second keeps the first's record.
    ASSERT_TRUE(edit->InsertMenu((UINT)-1, MF_BYPOSITION, ID_TEST_PASTE, "Paste again"));
    ASSERT_TRUE(edit->DeleteMenu(5, MF_BYPOSITION));
    EXPECT_TRUE(InStep(*edit));
    EXPECT_EQ(edit->GetRecords()[0]->text.substr(0, 6), L"&Paste");
    // By command, from the bar.
    ASSERT_TRUE(menu.DeleteMenu(ID_TEST_SELECT_ALL, MF_BYCOMMAND));
    EXPECT_TRUE(InStep(*edit));
    ASSERT_EQ(edit->GetMenuItemCount(), 4u);
    // The separator, then the sub-menu: its handle leaves the registry.
    ASSERT_TRUE(edit->DeleteMenu(1, MF_BYPOSITION));
    EXPECT_TRUE(InStep(*edit));
    HMENU more = ::GetSubMenu(edit->m_hMenu, 2);
    ASSERT_NE(more, nullptr);
    EXPECT_TRUE(BCMenu::IsBCMenu(more));
    ASSERT_TRUE(edit->DeleteMenu(2, MF_BYPOSITION));
    EXPECT_FALSE(BCMenu::IsBCMenu(more));
    EXPECT_TRUE(InStep(*edit));
    EXPECT_EQ(edit->GetMenuItemCount(), 2u);
    // No item has it: the system's answer.
    EXPECT_FALSE(menu.DeleteMenu(49999, MF_BYCOMMAND));
}

TEST_F(MenuTest, TextsByPositionAndCommand)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    CString text;
    ASSERT_TRUE(menu.GetItemText(ID_TEST_DEEP, text, MF_BYCOMMAND));
    EXPECT_STREQ(text, "&Deep");
    ASSERT_TRUE(menu.SetMenuText(ID_TEST_DEEP, "&Deeper", MF_BYCOMMAND));
    ASSERT_TRUE(menu.GetItemText(ID_TEST_DEEP, text, MF_BYCOMMAND));
    EXPECT_STREQ(text, "&Deeper");
    EXPECT_FALSE(menu.SetMenuText(49999, "x", MF_BYCOMMAND));
    EXPECT_FALSE(menu.GetItemText(7, text, MF_BYPOSITION));
    ASSERT_TRUE(menu.GetItemText(1, text, MF_BYPOSITION));
    EXPECT_STREQ(text, "&Help");
}

TEST_F(MenuTest, MenuCharFindsTheMnemonic)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    CMenu* edit = menu.GetSubMenu(0);
    EXPECT_EQ(BCMenu::FindMenuCharItem('P', MF_POPUP, edit), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMenuCharItem('p', MF_POPUP, edit), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMenuCharItem('a', MF_POPUP, edit), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMenuCharItem('m', MF_POPUP, edit), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMenuCharItem('q', MF_POPUP, edit), 0);
    EXPECT_EQ(BCMenu::FindMenuCharItem('P', 0, edit), 0);  // not from a popup
    CMenu plain;
    plain.CreatePopupMenu();
    plain.AppendMenu(MF_STRING, 5, "&Print");
    EXPECT_EQ(BCMenu::FindMenuCharItem('P', MF_POPUP, &plain), 0);
    EXPECT_FALSE(BCMenu::IsBCMenu(&plain));
    // An item someone added behind the menu's back gets a record first.
    ::AppendMenuA(edit->m_hMenu, MF_STRING, 42100, "&Zebra");
    EXPECT_EQ(BCMenu::FindMenuCharItem('z', MF_POPUP, edit), MAKELRESULT(5, MNC_EXECUTE));
    EXPECT_TRUE(InStep(*Sub(menu, 0)));
    EXPECT_TRUE(OwnerDrawn(edit->m_hMenu, 5));
}

TEST_F(MenuTest, SharedImagesWithVariants)
{
    CImageList strip;
    strip.Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1);
    ASSERT_TRUE(BCMenu::AddResourceBitmap(strip, IDR_TEST_IMAGES));
    EXPECT_EQ(strip.GetImageCount(), 2 + 3);  // the strip, then variants of its first image
    EXPECT_FALSE(BCMenu::Shared()->highColour);
    const int first = BCMenu::AddToSharedImages(&strip, 0, 500);
    EXPECT_EQ(first, 0);
    EXPECT_TRUE(BCMenu::HasShadedVariants(first));
    EXPECT_EQ(BCMenu::AddToSharedImages(&strip, 1, 501), 4);
    EXPECT_EQ(BCMenu::FindSharedImage(501), 4);
    EXPECT_EQ(BCMenu::FindSharedImage(502), -1);
    // A new image for a command replaces its four in place.
    EXPECT_EQ(BCMenu::AddToSharedImages(&strip, 1, 500), 0);
    EXPECT_EQ(BCMenu::Shared()->images.GetImageCount(), 8);
    MemoryCanvas canvas(16, 15, RGB(9, 9, 9));
    ImageList_Draw(BCMenu::Shared()->images, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(canvas.At(8, 8), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(1, 1), RGB(9, 9, 9));                   // the background is masked
    EXPECT_EQ(BCMenu::AddToSharedImages(&strip, 99, 503), -1);  // no such image
}

TEST_F(MenuTest, HighColourBitmapHasItsGreyReplaced)
{
    CImageList list;
    list.Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1);
    ASSERT_TRUE(BCMenu::AddResourceBitmap(list, IDB_TEST_GREEN256));
    EXPECT_TRUE(BCMenu::Shared()->highColour);
    MemoryCanvas canvas(16, 15, RGB(9, 9, 9));
    ImageList_Draw(list, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(canvas.At(8, 8), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(1, 1), RGB(9, 9, 9));
    EXPECT_FALSE(BCMenu::AddResourceBitmap(list, 799));  // no such bitmap
}

TEST_F(MenuTest, ToolbarImagesGoToTheirCommands)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    ASSERT_TRUE(menu.LoadToolbarImages(IDR_TEST_IMAGES));
    BCMenu* edit = Sub(menu, 0);
    const int paste = edit->GetRecords()[0]->sharedImageIndex;
    const int print = edit->GetRecords()[3]->sharedImageIndex;
    EXPECT_GE(paste, 0);
    EXPECT_GE(print, 0);
    EXPECT_NE(paste, print);
    EXPECT_EQ(edit->GetRecords()[1]->sharedImageIndex, -1);
    EXPECT_TRUE(InStep(*edit));
    MemoryCanvas canvas(16, 15, RGB(9, 9, 9));
    ImageList_Draw(BCMenu::Shared()->images, print, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(canvas.At(8, 8), RGB(0, 0, 255));
    EXPECT_FALSE(menu.LoadToolbarImages(799));
    // An image of a bitmap resource without a tool bar: its first image.
    ASSERT_TRUE(menu.ModifyOwnerDrawnItem((const char*)nullptr, ID_TEST_ABOUT, IDB_TEST_BLUE));
    EXPECT_GE(Sub(menu, 1)->GetRecords()[0]->sharedImageIndex, 0);
}

TEST_F(MenuTest, MeasuredSizes)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    BCMenu* edit = Sub(menu, 0);
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = (ULONG_PTR)edit->GetRecords()[2];
    edit->MeasureItem(&mis);
    EXPECT_EQ(mis.itemWidth, 0u);
    EXPECT_EQ(mis.itemHeight, 3u);
    mis.itemData = (ULONG_PTR)edit->GetRecords()[3];
    edit->MeasureItem(&mis);
    HDC dc = ::GetDC(::GetDesktopWindow());
    SIZE size{};
    ::GetTextExtentPoint32W(dc, L"&Print", 6, &size);  // Wine is kind 1: the DC's own font
    ::ReleaseDC(::GetDesktopWindow(), dc);
    EXPECT_EQ(mis.itemWidth, (UINT)size.cx + 31);
    EXPECT_EQ(mis.itemHeight, (UINT)std::max(::GetSystemMetrics(SM_CYMENU), 22));
    mis.itemData = 0;
    mis.itemWidth = 77;
    edit->MeasureItem(&mis);  // not one of ours: left alone
    EXPECT_EQ(mis.itemWidth, 77u);
}

TEST_F(MenuTest, OwnerWindowRoutesDrawingToTheSubMenu)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    BCMenu* edit = Sub(menu, 0);
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    MemoryCanvas canvas(200, 22, RGB(9, 9, 9));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = ID_TEST_PRINT;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = (HWND)edit->m_hMenu;
    dis.hDC = canvas.Dc();
    dis.rcItem = RECT{0, 0, 200, 22};
    dis.itemData = (ULONG_PTR)edit->GetRecords()[3];
    owner.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    EXPECT_EQ(canvas.At(199, 0), MixWithBlack(::GetSysColor(COLOR_WINDOW), 0.02));
    owner.DestroyWindow();
}
