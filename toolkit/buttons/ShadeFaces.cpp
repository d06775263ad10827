#include "toolkit/buttons/ShadeFaces.h"

namespace {

int Channel(DWORD colour, int shift) { return (int)((colour >> shift) & 0xFF); }

void FillPalette(CCeXDib& dib, const ShadeColours& c)
{
    auto mix = [](DWORD from, DWORD to, int i, int shift) {
        return (BYTE)(((128 - i) * Channel(from, shift) + i * Channel(to, shift)) / 128);
    };
    for (int i = 0; i <= 128; ++i)
        dib.SetPaletteEntry((BYTE)i, mix(c.shadow, c.face, i, 0), mix(c.shadow, c.face, i, 8),
                            mix(c.shadow, c.face, i, 16));
    for (int i = 1; i <= 128; ++i)
        dib.SetPaletteEntry((BYTE)(i + 127), mix(c.face, c.highlight, i, 0), mix(c.face, c.highlight, i, 8),
                            mix(c.face, c.highlight, i, 16));
}

}  // namespace

bool MakeShadeFaces(CCeXDib& normal, CCeXDib& hover, int width, int height, int kind, BYTE granularity, BYTE highlight,
                    BYTE coloring, DWORD colour, const ShadeColours& colours, const std::function<int()>& random)
{
    if (!normal.Create(width, height, 8)) return false;
    FillPalette(normal, colours);
    normal.TintPalette(colour, coloring);

    const int gran = granularity;
    const int g = gran > 0 ? 32767 / (2 * gran) : 32767;
    auto noise = [&]() { return random() / g - gran; };
    const int W = width, H = height;
    const DWORD rowBytes = normal.RowBytes();
    BYTE* bits = normal.Bits();
    auto pixel = [&](int i, int j) -> BYTE& { return bits[(size_t)i * rowBytes + (size_t)j]; };

    if (kind == 7) {
        for (int i = 0; i < H; ++i) {
            int k = 255 * i / H - 127;
            k = k * k * k / 16384;
            k = k * (128 - 2 * gran) / 128 + 128;
            for (int j = 0; j < W; ++j) pixel(i, j) = (BYTE)(k + noise());
        }
        const int d = W / 6 < 16 ? W / 6 : 16;
        const int a = H * H / 4;
        // A face too small for the bevel's divisions keeps its plain bump.
        if (d > 0 && a > 0) {
            for (int i = 0; i < H; ++i) {
                const int y = i - H / 2;
                for (int j = 0; j < W; ++j) {
                    const int x = j - W / 2;
                    const int xs = W / 2 - d + y * y * d / a;
                    if (x > xs) pixel(i, j) = (BYTE)(gran + (W - j) * 128 / d);
                    if (x + xs < 0) pixel(i, j) = (BYTE)((255 - gran) - j * 128 / d);
                    pixel(i, j) = (BYTE)(pixel(i, j) + noise());
                }
            }
        }
    } else if (kind == 6) {
        for (int i = 0; i < H; ++i) {
            const int h = 255 * i / H - 127;
            for (int j = 0; j < W; ++j) {
                const int k = 255 * (W - j) / W - 127;
                int v = h * h * h / 16384 + k * k * k / 16384;
                v = v * (128 - gran) / 128 + 128;
                if (v < gran) v = gran;
                if (v > 255 - gran) v = 255 - gran;
                pixel(i, j) = (BYTE)(v + noise());
            }
        }
    } else {
        for (int i = 0; i < H; ++i)
            for (int j = 0; j < W; ++j) pixel(i, j) = (BYTE)(128 + noise());
    }

    if (!hover.CopyFrom(normal)) return false;
    hover.TintPalette(colours.highlight, highlight);
    return true;
}
