#include "core/winui/TextFitting.h"

#include <string>

#include "core/values/TextSearch.h"

namespace {

int TextWidth(HDC dc, const char* text, int length)
{
    SIZE size = {0, 0};
    if (length <= 0 || !GetTextExtentPoint32A(dc, text, length, &size)) return 0;
    return size.cx;
}

}  // namespace

int CountCharsThatFit(HDC dc, const CString& text, int width)
{
    if (width <= 0) return -1;
    const char* s = static_cast<const char*>(text);
    const int length = text.GetLength();
    for (int n = 1; n <= length; ++n)
        if (TextWidth(dc, s, n) >= width) return n - 1;
    return length;
}

int DrawTextWithEllipsis(HDC dc, const CString& text, const RECT& rect, UINT flags)
{
    CString flat = text;
    FlattenLineBreaks(flat);
    std::string shown(static_cast<const char*>(flat), static_cast<size_t>(flat.GetLength()));
    int width = TextWidth(dc, shown.data(), static_cast<int>(shown.size()));
    const int room = rect.right - rect.left;
    if (width > room) {
        static const char kDots[] = "...";
        const int dots = TextWidth(dc, kDots, 3);
        while (!shown.empty() && width + dots > room) {
            shown.pop_back();
            width = TextWidth(dc, shown.data(), static_cast<int>(shown.size()));
        }
        shown += kDots;
        width += dots;
    }
    RECT r = rect;
    DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &r, flags | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    return width;
}
