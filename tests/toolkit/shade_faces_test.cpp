// The shaded button's face images, built without the platform: block layout
// of the bitmap, the palette ramp and tint, and pixels computed by hand.
#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/buttons/ShadeFaces.h"

namespace {

const DWORD kShadow = 0x808080;     // RGB(128, 128, 128)
const DWORD kFace = 0xC0C0C0;       // RGB(192, 192, 192)
const DWORD kHighlight = 0xFFFFFF;  // RGB(255, 255, 255)

DWORD Le32(const BYTE* p) { return (DWORD)(p[0] | (p[1] << 8) | (p[2] << 16) | ((DWORD)p[3] << 24)); }

// The image's pixel in block order (row 0 is the bottom row).
int At(const CCeXDib& dib, int row, int col) { return dib.Bits()[row * dib.RowBytes() + col]; }

}  // namespace

TEST(CeXDib, BlockLayoutMatchesTheBitmapHeader)
{
    CCeXDib dib;
    ASSERT_NE(dib.Create(5, 3, 8), nullptr);
    const BYTE* b = dib.Block();
    EXPECT_EQ(Le32(b), 40u);
    EXPECT_EQ(Le32(b + 4), 5u);
    EXPECT_EQ(Le32(b + 8), 3u);
    EXPECT_EQ(b[12] | (b[13] << 8), 1);  // planes
    EXPECT_EQ(b[14] | (b[15] << 8), 8);  // bits per pixel
    EXPECT_EQ(Le32(b + 16), 0u);         // no compression
    EXPECT_EQ(dib.RowBytes(), 8u);       // 5 bytes padded to 8
    EXPECT_EQ(Le32(b + 20), 24u);        // image size = 3 rows x 8
    EXPECT_EQ(dib.PaletteEntries(), 256);
    EXPECT_EQ(dib.Bits(), b + 40 + 1024);
    dib.SetPaletteEntry(2, 10, 20, 30);
    EXPECT_EQ(0, memcmp(dib.Palette() + 8, "\x1e\x14\x0a\x00", 4));  // blue, green, red, 0
    CCeXDib four;
    four.Create(3, 1, 4);
    EXPECT_EQ(four.RowBytes(), 4u);
    EXPECT_EQ(four.PaletteEntries(), 16);
    four.SetPaletteEntry(16, 1, 1, 1);  // beyond the palette: ignored
    CCeXDib none;
    EXPECT_EQ(none.Create(0, 4, 8), nullptr);
    EXPECT_EQ(none.Bits(), nullptr);
}

TEST(CeXDib, TintMovesEveryEntryTowardTheColour)
{
    CCeXDib dib;
    dib.Create(1, 1, 1);
    dib.SetPaletteEntry(0, 100, 0, 200);
    dib.TintPalette(0x0000FF /* red */, 50);
    EXPECT_EQ(0, memcmp(dib.Palette(), "\x64\x00\xb1\x00", 4));  // blue 100, green 0, red 177
    dib.TintPalette(0x000000, 250);                              // capped at 100 %
    EXPECT_EQ(0, memcmp(dib.Palette(), "\x00\x00\x00\x00", 4));
}

TEST(ShadeFaces, BumpWithBevelledEnds)
{
    CCeXDib normal, hover;
    ASSERT_TRUE(MakeShadeFaces(normal, hover, 60, 20, 7, 8, 10, 0, 0, {kShadow, kFace, kHighlight}, [] { return 0; }));
    // Noise with granularity 8 and the generator at 0: 0 / 2047 - 8 = -8,
    // added once by the bump and once more by the bevel pass.
    EXPECT_EQ(At(normal, 0, 30), 19 - 16);      // bottom row, middle: dark
    EXPECT_EQ(At(normal, 10, 30), 128 - 16);    // middle row: the face
    EXPECT_EQ(At(normal, 10, 59), 8 + 12 - 8);  // right bevel: 8 + 1 x 128 / 10
    EXPECT_EQ(At(normal, 10, 0), 247 - 8);      // left bevel: 255 - 8 - 0
    // Palette: shadow, through the face, to the highlight.
    const BYTE* p = normal.Palette();
    EXPECT_EQ(p[0], 128);
    EXPECT_EQ(p[127 * 4], (1 * 128 + 127 * 192) / 128);
    EXPECT_EQ(p[128 * 4], (127 * 192 + 255) / 128);
    EXPECT_EQ(p[255 * 4], 255);
    // The hover face: the same pixels, its palette 10 % toward the highlight.
    EXPECT_EQ(At(hover, 10, 30), At(normal, 10, 30));
    EXPECT_EQ(hover.Palette()[0], (128 * 90 + 255 * 10) / 100);
}

TEST(ShadeFaces, NoiseFromTheGenerator)
{
    CCeXDib normal, hover;
    // Granularity 0: no noise, except 1 when the generator gives 32767.
    MakeShadeFaces(normal, hover, 8, 4, 0, 0, 0, 0, 0, {kShadow, kFace, kHighlight}, [] { return 32766; });
    EXPECT_EQ(At(normal, 0, 0), 128);
    MakeShadeFaces(normal, hover, 8, 4, 0, 0, 0, 0, 0, {kShadow, kFace, kHighlight}, [] { return 32767; });
    EXPECT_EQ(At(normal, 0, 0), 129);
    // Values wrap as bytes.
    MakeShadeFaces(normal, hover, 8, 4, 0, 200, 0, 0, 0, {kShadow, kFace, kHighlight}, [] { return 0; });
    EXPECT_EQ(At(normal, 3, 7), (128 - 200) & 0xFF);
}

TEST(ShadeFaces, TinyButtonsGetNoBevel)
{
    // Narrower than 6 pixels (bevel width 0) or 1 pixel high (H x H / 4 = 0).
    const struct {
        int w, h;
    } sizes[] = {{5, 20}, {1, 1}, {40, 1}, {3, 2}};
    for (const auto& s : sizes) {
        CCeXDib normal, hover;
        ASSERT_TRUE(
            MakeShadeFaces(normal, hover, s.w, s.h, 7, 8, 10, 0, 0, {kShadow, kFace, kHighlight}, [] { return 0; }))
            << s.w << " x " << s.h;
        // The plain bump with one noise term: row 0 of any height.
        int k = 255 * 0 / s.h - 127;
        k = k * k * k / 16384;
        k = k * (128 - 16) / 128 + 128;
        EXPECT_EQ(At(normal, 0, 0), (k - 8) & 0xFF) << s.w << " x " << s.h;
    }
}
