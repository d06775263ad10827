#pragma once
// The arithmetic of the owner-drawn menus' look, free of the platform so the
// host build checks it: colour mixing, the Windows-version kind, the classic
// theme name, bitmap colour counts, the fixed geometry of an item, caption
// splitting, accelerator padding and mnemonic lookup.
#include <functional>
#include <string>
#include <vector>

#include "framework/ZvTypes.h"

#if !defined(_WIN32)
typedef DWORD COLORREF;
#endif

namespace menulook {

inline COLORREF MakeRgb(int r, int g, int b) { return (COLORREF)((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }
inline int RedOf(COLORREF c) { return (int)(c & 0xFF); }
inline int GreenOf(COLORREF c) { return (int)((c >> 8) & 0xFF); }
inline int BlueOf(COLORREF c) { return (int)((c >> 16) & 0xFF); }

}  // namespace menulook

// Each channel c becomes factor x (255 - c) + c; a factor outside (0, 1]
// leaves the colour as it is.
COLORREF MixWithWhite(COLORREF colour, double factor);
// Each channel c becomes c - factor x c; same rule for the factor.
COLORREF MixWithBlack(COLORREF colour, double factor);

namespace menulook {

// The Windows kind from what the system reports: win9x is the high bit of
// GetVersion, versionMajor its low byte; exMajor/exMinor come from
// GetVersionEx when haveEx. 0..4 the 9x family, 5 NT 4, 6 2000, 7 XP, 1 any
// other NT (later ones included).
int WindowsVersionKind(bool win9x, int versionMajor, bool haveEx, int exMajor, int exMinor);
inline bool HasNewShell(int kind) { return kind >= 2; }
inline bool IsXPTheme(int kind, bool classicSelected) { return kind == 7 && !classicSelected; }
// The theme key's value names the classic theme (its end, any case).
bool IsClassicThemeValue(const char* value);
// Colours of a bitmap's palette: clrUsed's low word when set, else by depth.
int BitmapColourCount(int bitCount, DWORD clrUsed);

// ---- Geometry of one item (image 16 x 15) ----------------------------------
const int kImageWidth = 16;
const int kImageHeight = 15;
const int kPad = 7;
const int kImageColumn = kImageWidth + kPad;  // 23
const int kSeparatorHeight = 3;
const int kXPTextOffset = kImageColumn + 8;      // 31
const int kClassicTextOffset = kImageWidth + 9;  // 25
const int kAcceleratorInset = 16;                // from the right edge
inline int ItemHeight(int cyMenu) { return cyMenu > kImageHeight + kPad ? cyMenu : kImageHeight + kPad; }
inline int ItemWidth(int textWidth) { return textWidth + kImageWidth + kPad + 8; }
// Where the image sits inside an item of height h (XP look).
inline int ImageOffsetX() { return (int)((kImageColumn - kImageWidth) / 2.0 + 0.5); }
int ImageOffsetY(int itemHeight);
// Classic look: vertical offset of the 19-pixel image button.
inline int ClassicOffsetY(int itemHeight)
{
    int dy = (itemHeight - kImageHeight - 4) / 2;
    return dy > 0 ? dy : 0;
}

// A caption split at its tabs: the caption before the first tab and the
// accelerator text after the last; hasTab tells whether there was one.
struct SplitText {
    std::wstring caption;
    std::wstring accelerator;
    bool hasTab = false;
};
SplitText SplitMenuText(const std::wstring& text);

// Pads every caption that has an accelerator with spaces so that all
// accelerators begin at the same measured column: the widest "caption + one
// space" sets it. Captions without a tab stay as they are.
void AlignAcceleratorTexts(std::vector<std::wstring>& texts, const std::function<int(const std::wstring&)>& measure);

// The first position whose caption holds "&" followed by ch, compared
// without regard to case (ANSI); -1 when none does.
int FindMnemonicPosition(const std::vector<std::string>& texts, char ch);

}  // namespace menulook
