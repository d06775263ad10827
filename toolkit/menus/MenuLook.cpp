#include "toolkit/menus/MenuLook.h"

#include <cctype>
#include <cstring>

namespace {

COLORREF MixChannels(COLORREF colour, double factor, bool towardWhite)
{
    if (!(factor > 0.0 && factor <= 1.0)) return colour;
    int channels[3] = {menulook::RedOf(colour), menulook::GreenOf(colour), menulook::BlueOf(colour)};
    for (int& c : channels) c = towardWhite ? (int)(factor * (255 - c) + c) : (int)(c - factor * c);
    return menulook::MakeRgb(channels[0], channels[1], channels[2]);
}

}  // namespace

COLORREF MixWithWhite(COLORREF colour, double factor) { return MixChannels(colour, factor, true); }
COLORREF MixWithBlack(COLORREF colour, double factor) { return MixChannels(colour, factor, false); }

namespace menulook {

int WindowsVersionKind(bool win9x, int versionMajor, bool haveEx, int exMajor, int exMinor)
{
    if (win9x) {
        if (versionMajor < 4) return 0;
        if (!haveEx) return 2;
        if (exMajor == 4 && exMinor == 10) return 3;
        if (exMajor == 4 && exMinor == 90) return 4;
        return 2;
    }
    if (!haveEx) return 1;
    if (exMajor == 4) return 5;
    if (exMajor == 5 && exMinor == 0) return 6;
    if (exMajor == 5 && exMinor == 1) return 7;
    return 1;
}

bool IsClassicThemeValue(const char* value)
{
    static const char kClassic[] = "Windows Classic.theme";
    if (!value) return false;
    const size_t n = strlen(value);
    const size_t k = sizeof(kClassic) - 1;
    if (n < k) return false;
    const char* tail = value + n - k;
    for (size_t i = 0; i < k; ++i)
        if (tolower((unsigned char)tail[i]) != tolower((unsigned char)kClassic[i])) return false;
    return true;
}

int BitmapColourCount(int bitCount, DWORD clrUsed)
{
    if (clrUsed != 0) return (int)(clrUsed & 0xFFFF);
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

int ImageOffsetY(int itemHeight)
{
    int dy = (int)((itemHeight - kImageHeight) / 2.0 + 0.5);
    return dy > 0 ? dy : 0;
}

SplitText SplitMenuText(const std::wstring& text)
{
    SplitText split;
    const size_t first = text.find(L'\t');
    if (first == std::wstring::npos) {
        split.caption = text;
        return split;
    }
    split.hasTab = true;
    split.caption = text.substr(0, first);
    split.accelerator = text.substr(text.rfind(L'\t') + 1);
    return split;
}

void AlignAcceleratorTexts(std::vector<std::wstring>& texts, const std::function<int(const std::wstring&)>& measure)
{
    int widest = 0;
    for (const std::wstring& text : texts) {
        const int w = measure(text.substr(0, text.find(L'\t')) + L" ");
        if (w > widest) widest = w;
    }
    for (std::wstring& text : texts) {
        const size_t tab = text.find(L'\t');
        if (tab == std::wstring::npos) continue;
        std::wstring caption = text.substr(0, tab);
        // Bounded: a measure that never grows must not hang the menu.
        for (int guard = 0; measure(caption) < widest && guard < 1000; ++guard) caption += L' ';
        text = caption + text.substr(tab);
    }
}

int FindMnemonicPosition(const std::vector<std::string>& texts, char ch)
{
    char key[3] = {'&', (char)tolower((unsigned char)ch), 0};
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string lower = texts[i];
        for (char& c : lower) c = (char)tolower((unsigned char)c);
        if (lower.find(key) != std::string::npos) return (int)i;
    }
    return -1;
}

}  // namespace menulook
