// The platform-free arithmetic of the owner-drawn menus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/menus/MenuLook.h"

using namespace menulook;

TEST(MenuColourMixing, TableOfCases)
{
    struct Case {
        COLORREF in;
        double factor;
        bool white;
        COLORREF out;
    } cases[] = {
        {MakeRgb(0, 0, 0), 0.3, true, MakeRgb(76, 76, 76)},
        {MakeRgb(255, 255, 255), 0.02, false, MakeRgb(249, 249, 249)},
        {MakeRgb(10, 100, 200), 1.0, true, MakeRgb(255, 255, 255)},
        {MakeRgb(10, 100, 200), 1.0, false, MakeRgb(0, 0, 0)},
        // Each channel on its own, truncated toward zero.
        {MakeRgb(0, 128, 255), 0.5, true, MakeRgb(127, 191, 255)},
        {MakeRgb(0, 128, 255), 0.5, false, MakeRgb(0, 64, 127)},
        {MakeRgb(51, 0, 0), 0.7, true, MakeRgb(193, 178, 178)},
        // Factors outside (0, 1] leave the colour alone.
        {MakeRgb(1, 2, 3), 0.0, true, MakeRgb(1, 2, 3)},
        {MakeRgb(1, 2, 3), 1.5, true, MakeRgb(1, 2, 3)},
        {MakeRgb(1, 2, 3), -0.5, false, MakeRgb(1, 2, 3)},
        {MakeRgb(1, 2, 3), 0.0, false, MakeRgb(1, 2, 3)},
    };
    for (const Case& c : cases) {
        const COLORREF got = c.white ? MixWithWhite(c.in, c.factor) : MixWithBlack(c.in, c.factor);
        EXPECT_EQ(got, c.out) << std::hex << c.in << " x " << c.factor << (c.white ? " white" : " black");
    }
}

TEST(MenuLookProbes, WindowsKindTable)
{
    struct Case {
        bool win9x;
        int major;
        bool haveEx;
        int exMajor, exMinor;
        int kind;
    } cases[] = {
        {true, 3, true, 3, 95, 0}, {true, 4, true, 4, 10, 3}, {true, 4, true, 4, 90, 4},   {true, 4, true, 4, 0, 2},
        {true, 4, false, 0, 0, 2}, {false, 4, true, 4, 0, 5}, {false, 5, true, 5, 0, 6},   {false, 5, true, 5, 1, 7},
        {false, 5, true, 5, 2, 1}, {false, 6, true, 6, 1, 1}, {false, 10, true, 10, 0, 1}, {false, 5, false, 0, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowsVersionKind(c.win9x, c.major, c.haveEx, c.exMajor, c.exMinor), c.kind)
            << c.exMajor << "." << c.exMinor;
    EXPECT_TRUE(IsXPTheme(7, false));
    EXPECT_FALSE(IsXPTheme(7, true));
    EXPECT_FALSE(IsXPTheme(1, false));  // Vista and later count as kind 1
    EXPECT_FALSE(HasNewShell(1));
    EXPECT_TRUE(HasNewShell(2));
}

TEST(MenuLookProbes, ClassicThemeValue)
{
    EXPECT_TRUE(IsClassicThemeValue("C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme"));
    EXPECT_TRUE(IsClassicThemeValue("windows classic.THEME"));
    EXPECT_FALSE(IsClassicThemeValue("Luna.theme"));
    EXPECT_FALSE(IsClassicThemeValue("Classic.theme"));
    EXPECT_FALSE(IsClassicThemeValue("Windows Classic.theme.bak"));
    EXPECT_FALSE(IsClassicThemeValue(""));
    EXPECT_FALSE(IsClassicThemeValue(nullptr));
}

TEST(MenuLookProbes, BitmapColourCount)
{
    EXPECT_EQ(BitmapColourCount(1, 0), 2);
    EXPECT_EQ(BitmapColourCount(4, 0), 16);
    EXPECT_EQ(BitmapColourCount(8, 0), 256);
    EXPECT_EQ(BitmapColourCount(24, 0), 0);
    EXPECT_EQ(BitmapColourCount(8, 16), 16);
    EXPECT_EQ(BitmapColourCount(8, 0x10005), 5);  // only the low word counts
}

TEST(MenuGeometry, ItemSizesAndPositions)
{
    EXPECT_EQ(ItemHeight(19), 22);  // at least image height + pad
    EXPECT_EQ(ItemHeight(25), 25);
    EXPECT_EQ(ItemWidth(40), 71);
    EXPECT_EQ(ImageOffsetX(), 4);
    EXPECT_EQ(ImageOffsetY(22), 4);
    EXPECT_EQ(ImageOffsetY(23), 4);
    EXPECT_EQ(ImageOffsetY(24), 5);
    EXPECT_EQ(ImageOffsetY(10), 0);
    EXPECT_EQ(ClassicOffsetY(22), 1);
    EXPECT_EQ(ClassicOffsetY(15), 0);
    EXPECT_EQ(kXPTextOffset, 31);
    EXPECT_EQ(kClassicTextOffset, 25);
}

TEST(MenuText, SplitAtTabs)
{
    SplitText s = SplitMenuText(L"&Print\tCtrl+P");
    EXPECT_TRUE(s.hasTab);
    EXPECT_EQ(s.caption, L"&Print");
    EXPECT_EQ(s.accelerator, L"Ctrl+P");
    s = SplitMenuText(L"A\tB\tC");
    EXPECT_EQ(s.caption, L"A");
    EXPECT_EQ(s.accelerator, L"C");
    s = SplitMenuText(L"Plain");
    EXPECT_FALSE(s.hasTab);
    EXPECT_EQ(s.caption, L"Plain");
    EXPECT_TRUE(s.accelerator.empty());
}

TEST(MenuText, AcceleratorsAlignedByMeasuredWidth)
{
    // A fake font: "W" is 9 wide, every other character 3.
    auto measure = [](const std::wstring& s) {
        int w = 0;
        for (wchar_t c : s) w += c == L'W' ? 9 : 3;
        return w;
    };
    std::vector<std::wstring> texts = {L"Paste\tCtrl+V", L"Select All\tCtrl+A", L"WWW", L"Plain"};
    AlignAcceleratorTexts(texts, measure);
    // Widest "caption + space": "Select All " = 33; both captions reach it.
    EXPECT_EQ(texts[0], L"Paste      \tCtrl+V");
    EXPECT_EQ(texts[1], L"Select All \tCtrl+A");
    EXPECT_EQ(texts[2], L"WWW");
    EXPECT_EQ(texts[3], L"Plain");
    EXPECT_EQ(measure(texts[0].substr(0, texts[0].find(L'\t'))), measure(texts[1].substr(0, texts[1].find(L'\t'))));
}

TEST(MenuText, AlignmentEndsWithAMeasureThatNeverGrows)
{
    std::vector<std::wstring> texts = {L"A\tx", L"B\ty"};
    int calls = 0;
    // Wide at first, then never wide enough: the padding stops anyway.
    AlignAcceleratorTexts(texts, [&calls](const std::wstring&) { return calls++ < 2 ? 100 : 1; });
    EXPECT_EQ(texts[0].substr(texts[0].find(L'\t')), L"\tx");
    EXPECT_LT(texts[0].size(), 2000u);
}

TEST(MenuText, MnemonicLookup)
{
    const std::vector<std::string> texts = {"&Open", "Save &As", "&print\tCtrl+P", "No mnemonic"};
    EXPECT_EQ(FindMnemonicPosition(texts, 'P'), 2);
    EXPECT_EQ(FindMnemonicPosition(texts, 'a'), 1);
    EXPECT_EQ(FindMnemonicPosition(texts, 'O'), 0);
    EXPECT_EQ(FindMnemonicPosition(texts, 'N'), -1);
    EXPECT_EQ(FindMnemonicPosition({}, 'x'), -1);
}
