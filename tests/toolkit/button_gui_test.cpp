// Owner-drawn buttons: the kind read from the style, the faces and borders
// of each state drawn to a memory canvas, icon and caption placement, the
// grey icon, hover tracking and clicks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/MemoryCanvas.h"
#include "toolkit/buttons/ShadeButtonST.h"

using zvtest::MemoryCanvas;

namespace {

const int kBW = 80;
const int kBH = 24;

class TestButton : public CShadeButtonST {
public:
    void SetHover(BOOL over) { m_bMouseOnButton = over; }
    BOOL Click() { return OnClicked(); }
};

// A square icon of one colour (opaque), 16 x 16.
HICON SolidIcon(COLORREF colour, bool halfBlack = false)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP colourBits = ::CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, colourBits);
    HBRUSH brush = ::CreateSolidBrush(colour);
    RECT all{0, 0, 16, 16};
    ::FillRect(dc, &all, brush);
    if (halfBlack) {
        RECT left{0, 0, 8, 16};
        ::FillRect(dc, &left, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, nullptr);  // all 0: opaque
    ICONINFO info{TRUE, 0, 0, mask, colourBits};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    ::DeleteObject(colourBits);
    return icon;
}

COLORREF FaceColour(const CCeXDib& face, int x, int y)
{
    const int row = face.Height() - 1 - y;  // bottom row first
    const BYTE index = face.Bits()[row * face.RowBytes() + x];
    const BYTE* entry = face.Palette() + index * 4;
    return RGB(entry[2], entry[1], entry[0]);
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_parent.CreateEx(0, nullptr, "buttons", WS_POPUP | WS_VISIBLE, 50, 50, 300, 120, nullptr, nullptr));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    void Make(TestButton& button, const char* caption, DWORD style = BS_PUSHBUTTON)
    {
        ASSERT_TRUE(
            button.Create(caption, WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 10 + kBW, 10 + kBH), &m_parent, 1000));
    }
    void Draw(TestButton& button, MemoryCanvas& canvas, UINT state = 0)
    {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.itemState = state;
        dis.hDC = canvas.Dc();
        dis.rcItem = RECT{0, 0, kBW, kBH};
        dis.hwndItem = button.m_hWnd;
        button.DrawItem(&dis);
    }

    CWnd m_parent;
};

}  // namespace

TEST_F(ButtonTest, KindComesFromTheStyle)
{
    TestButton plain, def, check;
    Make(plain, "Plain");
    Make(def, "Default", BS_DEFPUSHBUTTON);
    Make(check, "Check", BS_AUTOCHECKBOX);
    EXPECT_EQ(plain.GetStyle() & 0x1F, (DWORD)BS_OWNERDRAW);
    EXPECT_EQ(def.GetStyle() & 0x1F, (DWORD)BS_OWNERDRAW);
    EXPECT_EQ(def.GetTypeStyle(), (UINT)BS_PUSHBUTTON);
    EXPECT_TRUE(def.IsDefault());
    EXPECT_FALSE(plain.IsDefault());
    EXPECT_TRUE(check.IsCheckBox());
    EXPECT_TRUE(def.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(plain.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    def.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(def.IsDefault());
    EXPECT_EQ(def.GetStyle() & 0x1F, (DWORD)BS_OWNERDRAW);
    plain.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(plain.IsDefault());
    // A click in check-box mode toggles the check and still reaches the parent.
    EXPECT_FALSE(check.Click());
    EXPECT_EQ(check.GetCheck(), 1);
    check.Click();
    EXPECT_EQ(check.GetCheck(), 0);
}

TEST_F(ButtonTest, ShadedFacesPerState)
{
    TestButton button;
    Make(button, "");
    button.SetShade(7, 8, 10, 0, 0);
    const CCeXDib& normal = button.GetNormalFace();
    const CCeXDib& hover = button.GetHoverFace();
    ASSERT_EQ(normal.Width(), kBW);
    ASSERT_EQ(normal.Height(), kBH);
    // At rest: the normal face, no border.
    MemoryCanvas rest(kBW, kBH);
    Draw(button, rest);
    for (POINT p : {POINT{0, 0}, POINT{40, 12}, POINT{79, 23}, POINT{3, 20}})
        EXPECT_EQ(rest.At(p.x, p.y), FaceColour(normal, p.x, p.y)) << p.x << "," << p.y;
    // Hovered: the hover face and a raised border.
    button.SetHover(TRUE);
    MemoryCanvas over(kBW, kBH);
    Draw(button, over);
    EXPECT_EQ(over.At(40, 12), FaceColour(hover, 40, 12));
    EXPECT_EQ(over.At(0, 5), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(over.At(kBW - 1, 5), ::GetSysColor(COLOR_BTNSHADOW));
    // Hovered and pressed: the hover face one pixel right and down, sunken.
    MemoryCanvas pressed(kBW, kBH);
    Draw(button, pressed, ODS_SELECTED);
    EXPECT_EQ(pressed.At(41, 13), FaceColour(hover, 40, 12));
    EXPECT_EQ(pressed.At(21, 6), FaceColour(hover, 20, 5));
    EXPECT_EQ(pressed.At(0, 5), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(pressed.At(kBW - 1, 5), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ButtonTest, IconPlacement)
{
    const COLORREF green = RGB(0, 200, 0);
    TestButton captioned, bare;
    Make(captioned, "Go");
    Make(bare, "");
    ASSERT_EQ(captioned.SetIcon(SolidIcon(green), nullptr), 0u);
    ASSERT_EQ(bare.SetIcon(SolidIcon(green), nullptr), 0u);
    const int top = (kBH - 16) / 2;
    MemoryCanvas c1(kBW, kBH, RGB(9, 9, 9));
    Draw(captioned, c1);
    EXPECT_EQ(c1.At(3, top), green);  // 3 from the left, centred vertically
    EXPECT_EQ(c1.At(18, top + 15), green);
    EXPECT_NE(c1.At(2, top), green);
    EXPECT_NE(c1.At(3, top - 1), green);
    // The caption is centred in what is left right of the icon.
    const int textLeft = c1.FirstColumnNot(RGB(9, 9, 9), 22, 0, kBH);
    const int textRight = c1.LastColumnNot(RGB(9, 9, 9), 0, kBH);
    ASSERT_GT(textLeft, 22);
    EXPECT_LE(std::abs((textLeft - 19) - (kBW - 1 - textRight)), 3);  // caption rect from 3 + 16
    MemoryCanvas c2(kBW, kBH);
    Draw(bare, c2);
    EXPECT_EQ(c2.At((kBW - 16) / 2, top), green);  // centred without a caption
    EXPECT_NE(c2.At((kBW - 16) / 2 - 1, top), green);
    // Pressed: the icon moves one pixel right and down.
    MemoryCanvas c3(kBW, kBH);
    Draw(bare, c3, ODS_SELECTED);
    EXPECT_EQ(c3.At((kBW - 16) / 2 + 1, top + 1), green);
    EXPECT_NE(c3.At((kBW - 16) / 2, top), green);
}

TEST_F(ButtonTest, IconsTheSystemCannotDescribeAreRefused)
{
    TestButton button;
    Make(button, "");
    EXPECT_EQ(button.SetIcon((HICON)(INT_PTR)0x5A5A, nullptr), 1u);
    MemoryCanvas canvas(kBW, kBH, RGB(9, 9, 9));
    Draw(button, canvas);  // no face made, no icon: nothing drawn
    EXPECT_EQ(canvas.FirstColumnNot(RGB(9, 9, 9), 0, 0, kBH), -1);
    EXPECT_EQ(button.SetIcon(nullptr, nullptr), 0u);
    EXPECT_EQ(button.SetIcon(1, 16, 16, 0, 0, 0), 0u);  // no such resource: no icon
}

TEST_F(ButtonTest, GreyIconKeepsBlack)
{
    HICON source = SolidIcon(RGB(200, 100, 50), true);
    HICON grey = CButtonST::MakeGrayIcon(source);
    ASSERT_NE(grey, nullptr);
    MemoryCanvas canvas(16, 16, RGB(9, 9, 9));
    ::DrawIconEx(canvas.Dc(), 0, 0, grey, 16, 16, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.At(12, 8), RGB(124, 124, 124));  // 200 x .299 + 100 x .587 + 50 x .114
    EXPECT_EQ(canvas.At(3, 8), RGB(0, 0, 0));
    ::DestroyIcon(grey);
    ::DestroyIcon(source);
    EXPECT_EQ(CButtonST::MakeGrayIcon(nullptr), nullptr);
}

TEST_F(ButtonTest, HoverFollowsTheMouse)
{
    TestButton button;
    Make(button, "Hover");
    // Moving in with the left button held does not start the hover look.
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(button.IsMouseOver());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.IsMouseOver());
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(button.IsMouseOver());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    // A point outside the button ends it.
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-30, 60));
    EXPECT_FALSE(button.IsMouseOver());
    // A fast second click counts as a click.
    MSG msg{button.m_hWnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5), 0, {0, 0}};
    button.PreTranslateMessage(&msg);
    EXPECT_EQ(msg.message, (UINT)WM_LBUTTONDOWN);
}
