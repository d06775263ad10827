// Painting of owner-drawn menu items on a memory canvas: rectangles and
// sampled pixels of each state, in the XP and the classic look.
#include <gtest/gtest.h>

#include "tests/support/MemoryCanvas.h"
#include "tests/toolkit/ToolkitTestRes.h"
#include "toolkit/menus/BCMenu.h"

using zvtest::MemoryCanvas;

namespace {

const int kW = 200;
const int kH = 22;
const COLORREF kRed = RGB(255, 0, 0);

class PaintableMenu : public BCMenu {
public:
    using BCMenu::DrawItemClassic;
    using BCMenu::DrawItemXP;
};

class MenuPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto state = std::make_shared<BCMenuShared>();
        state->windowsKind = 1;  // as Wine reports: no XP theme, no new shell
        state->classicProbed = true;
        m_previous = BCMenu::ReplaceShared(state);
        // The red square (16 x 15, square at columns 4-11, rows 4-10) as the
        // image of command 900, with its variants.
        CImageList strip;
        strip.Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1);
        ASSERT_TRUE(BCMenu::AddResourceBitmap(strip, IDR_TEST_IMAGES));
        m_image = BCMenu::AddToSharedImages(&strip, 0, 900);
        ASSERT_EQ(m_image, 0);
        m_menu.CreatePopupMenu();
    }
    void TearDown() override { BCMenu::ReplaceShared(m_previous); }

    void Paint(MemoryCanvas& canvas, BCMenuData& record, UINT state, int height = kH, bool classic = false)
    {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = (UINT)record.commandId;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hDC = canvas.Dc();
        dis.rcItem = RECT{0, 0, kW, height};
        dis.itemData = (ULONG_PTR)&record;
        if (classic)
            m_menu.DrawItemClassic(&dis);
        else
            m_menu.DrawItem(&dis);
    }
    BCMenuData Item(const wchar_t* text, UINT id, int image)
    {
        BCMenuData r;
        r.text = text;
        r.commandId = id;
        r.flags = MF_OWNERDRAW;
        r.sharedImageIndex = image;
        return r;
    }

    static COLORREF Sys(int index) { return ::GetSysColor(index); }
    static COLORREF MenuBack() { return MixWithBlack(Sys(COLOR_WINDOW), 0.02); }
    static COLORREF Column() { return MixWithWhite(Sys(COLOR_BTNFACE), 0.25); }
    static COLORREF HighlightFill() { return MixWithWhite(Sys(COLOR_HIGHLIGHT), 0.85); }

    std::shared_ptr<BCMenuShared> m_previous;
    PaintableMenu m_menu;
    int m_image = -1;
};

}  // namespace

TEST_F(MenuPaintTest, ItemAtRestWithImage)
{
    MemoryCanvas canvas(kW, kH);
    BCMenuData item = Item(L"&Open", 900, m_image);
    Paint(canvas, item, 0);
    EXPECT_EQ(canvas.At(kW - 1, 0), MenuBack());
    EXPECT_EQ(canvas.At(0, 0), Column());
    EXPECT_EQ(canvas.At(22, kH - 1), Column());  // the image column is 23 wide
    EXPECT_EQ(canvas.At(23, kH - 1), MenuBack());
    // The resting variant at (4, 4): the square mixed 0.3 toward white.
    EXPECT_EQ(canvas.At(4 + 4, 4 + 4), MixWithWhite(kRed, 0.3));
    EXPECT_EQ(canvas.At(4 + 11, 4 + 10), MixWithWhite(kRed, 0.3));
    EXPECT_EQ(canvas.At(4 + 12, 4 + 10), Column());
    // Text starts 31 pixels from the left.
    const int left = canvas.FirstColumnNot(MenuBack(), 23, 0, kH);
    EXPECT_GE(left, 31);
    EXPECT_LE(left, 34);
}

TEST_F(MenuPaintTest, HighlightedImageIsLiftedOverItsShadow)
{
    MemoryCanvas canvas(kW, kH);
    BCMenuData item = Item(L"&Open", 900, m_image);
    Paint(canvas, item, ODS_SELECTED);
    EXPECT_EQ(canvas.At(kW / 2, 0), Sys(COLOR_HIGHLIGHT));  // frame
    EXPECT_EQ(canvas.At(kW - 2, kH / 2), HighlightFill());
    // The image at (3, 3), the shadow variant at (5, 5).
    EXPECT_EQ(canvas.At(3 + 4, 3 + 4), kRed);
    EXPECT_EQ(canvas.At(3 + 11, 3 + 10), kRed);
    const COLORREF shadow = MixWithWhite(Sys(COLOR_BTNSHADOW), 0.49);
    EXPECT_EQ(canvas.At(5 + 11, 5 + 10), shadow);
    EXPECT_EQ(canvas.At(5 + 4, 5 + 10), shadow);
    EXPECT_EQ(canvas.At(2, 2), HighlightFill());
}

TEST_F(MenuPaintTest, CheckedImageIsFramedWithoutShadow)
{
    for (UINT state : {(UINT)ODS_CHECKED, (UINT)(ODS_CHECKED | ODS_SELECTED)}) {
        MemoryCanvas canvas(kW, kH);
        BCMenuData item = Item(L"&Open", 900, m_image);
        Paint(canvas, item, state);
        const double mix = (state & ODS_SELECTED) ? 0.55 : 0.85;
        EXPECT_EQ(canvas.At(1, 1), Sys(COLOR_HIGHLIGHT)) << state;  // the box's frame
        EXPECT_EQ(canvas.At(20, kH - 2), Sys(COLOR_HIGHLIGHT)) << state;
        EXPECT_EQ(canvas.At(2, 2), MixWithWhite(Sys(COLOR_HIGHLIGHT), mix)) << state;
        EXPECT_EQ(canvas.At(3 + 4, 3 + 4), kRed) << state;
        EXPECT_EQ(canvas.At(5 + 11, 5 + 10), MixWithWhite(Sys(COLOR_HIGHLIGHT), mix)) << state;  // no shadow
    }
}

TEST_F(MenuPaintTest, DisabledItemShowsTheGreyVariant)
{
    MemoryCanvas canvas(kW, kH);
    BCMenuData item = Item(L"&Open", 900, m_image);
    Paint(canvas, item, ODS_GRAYED);
    EXPECT_EQ(canvas.At(4 + 4, 4 + 4), MixWithWhite(Sys(COLOR_BTNSHADOW), 85 / 255.0));
    // Disabled text: grey text mixed 0.4 toward white (no XP theme).
    const COLORREF grey = MixWithWhite(Sys(COLOR_GRAYTEXT), 0.4);
    bool sawGrey = false;
    for (int x = 31; x < kW && !sawGrey; ++x)
        for (int y = 0; y < kH; ++y) sawGrey = sawGrey || canvas.At(x, y) == grey;
    EXPECT_TRUE(sawGrey);
}

TEST_F(MenuPaintTest, CheckMarksWithoutImage)
{
    ASSERT_TRUE(m_menu.AppendOwnerDrawnItem(L"&Tick", 0, 901));
    ASSERT_TRUE(m_menu.AppendOwnerDrawnItem(L"&Radio", 0, 902));
    HBITMAP bullet = ::CreateBitmap(8, 8, 1, 1, nullptr);
    ::SetMenuItemBitmaps(m_menu.m_hMenu, 902, MF_BYCOMMAND, nullptr, bullet);
    const COLORREF mark = Sys(COLOR_MENUTEXT);
    const COLORREF box = MixWithWhite(Sys(COLOR_HIGHLIGHT), 0.85);
    // Box (1, 1)-(21, 21): the mark at (1 + 7, 1 + 7).
    MemoryCanvas tick(kW, kH);
    Paint(tick, *m_menu.GetRecords()[0], ODS_CHECKED);
    EXPECT_EQ(tick.At(8, 8 + 2), mark);
    EXPECT_EQ(tick.At(8, 8 + 3), mark);
    EXPECT_EQ(tick.At(8, 8 + 4), box);  // narrow: two-pixel strokes
    EXPECT_EQ(tick.At(8 + 2, 8 + 4), mark);
    EXPECT_EQ(tick.At(8 + 2, 8 + 6), box);
    MemoryCanvas radio(kW, kH);
    Paint(radio, *m_menu.GetRecords()[1], ODS_CHECKED);
    EXPECT_EQ(radio.At(8 + 3, 8 + 3), mark);
    EXPECT_EQ(radio.At(8 + 7, 8 + 3), box);
    EXPECT_EQ(radio.At(1, 1), Sys(COLOR_HIGHLIGHT));
    ::DeleteObject(bullet);
}

TEST_F(MenuPaintTest, SeparatorLineStartsThirtyPixelsIn)
{
    MemoryCanvas canvas(kW, 3);
    BCMenuData separator = Item(L"", 0, -1);
    separator.flags = MF_SEPARATOR | MF_OWNERDRAW;
    Paint(canvas, separator, 0, 3);
    EXPECT_EQ(canvas.At(1, 1), Column());
    EXPECT_EQ(canvas.At(25, 1), MenuBack());
    EXPECT_EQ(canvas.At(29, 1), MenuBack());
    EXPECT_EQ(canvas.At(30, 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(kW - 1, 1), Sys(COLOR_BTNSHADOW));
}

TEST_F(MenuPaintTest, AcceleratorEndsSixteenPixelsInside)
{
    MemoryCanvas canvas(kW, kH);
    BCMenuData item = Item(L"&Paste\tCtrl+V", 903, -1);
    Paint(canvas, item, 0);
    const int right = canvas.LastColumnNot(MenuBack(), 0, kH);
    EXPECT_LE(right, kW - 16 - 1);
    EXPECT_GE(right, kW - 16 - 4);
}

TEST_F(MenuPaintTest, ItemWithoutRecordIsNotPainted)
{
    MemoryCanvas canvas(kW, kH, RGB(9, 9, 9));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = 904;
    dis.hDC = canvas.Dc();
    dis.rcItem = RECT{0, 0, kW, kH};
    dis.itemData = 0;
    m_menu.DrawItem(&dis);
    EXPECT_EQ(canvas.FirstColumnNot(RGB(9, 9, 9), 0, 0, kH), -1);
}

TEST_F(MenuPaintTest, ClassicLook)
{
    const COLORREF back = Sys(COLOR_MENU);
    const int dy = 1;  // (22 - 15 - 4) / 2
    MemoryCanvas selected(kW, kH, RGB(9, 9, 9));
    BCMenuData item = Item(L"&Open", 900, m_image);
    Paint(selected, item, ODS_SELECTED, kH, true);
    EXPECT_EQ(selected.At(21, kH / 2), Sys(COLOR_HIGHLIGHT));  // from left + 21
    EXPECT_EQ(selected.At(kW - 1, 0), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(selected.At(1, dy + 1), back);          // the inner box
    EXPECT_EQ(selected.At(2 + 4, dy + 2 + 4), kRed);  // the image at (2, dy + 2)
    MemoryCanvas disabled(kW, kH);
    Paint(disabled, item, ODS_GRAYED, kH, true);
    // Embossed: the shape in the shadow colour, its highlight one pixel down-right.
    EXPECT_EQ(disabled.At(2 + 4, dy + 2 + 4), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(disabled.At(2 + 12, dy + 2 + 11), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(disabled.At(kW - 1, 0), back);
    MemoryCanvas plain(kW, kH);
    BCMenuData text = Item(L"&Plain", 905, -1);
    Paint(plain, text, ODS_SELECTED, kH, true);
    EXPECT_EQ(plain.At(0, 0), Sys(COLOR_HIGHLIGHT));  // no image, not checked: all of it
    const int left = plain.FirstColumnNot(Sys(COLOR_HIGHLIGHT), 0, 0, kH);
    EXPECT_GE(left, 25);
    EXPECT_LE(left, 28);
}
