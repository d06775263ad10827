#include "tests/support/DialogLayout.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>

namespace zvtest {

namespace {

enum class TextKind { kNone, kWrapped, kSingleLine, kPushButton, kCheck, kGroup };

std::string ClassOf(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    ::GetWindowTextA(window, &text[0], length + 1);
    text.resize(length);
    return text;
}

TextKind KindOf(HWND control)
{
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    const std::string cls = ClassOf(control);
    if (_stricmp(cls.c_str(), "Static") == 0) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT: return TextKind::kWrapped;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP: return TextKind::kSingleLine;
        default: return TextKind::kNone;
        }
    }
    if (_stricmp(cls.c_str(), "Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: return (style & BS_MULTILINE) ? TextKind::kWrapped : TextKind::kPushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return TextKind::kCheck;
        case BS_GROUPBOX: return TextKind::kGroup;
        default: return TextKind::kNone;
        }
    }
    return TextKind::kNone;
}

// Controls that lie on others on purpose: frames and group boxes around
// them, pictures and owner-drawn buttons over or against them, and spin
// buttons against their buddies.
bool Encloses(HWND control)
{
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    const std::string cls = ClassOf(control);
    if (_stricmp(cls.c_str(), UPDOWN_CLASSA) == 0) return true;
    if (_stricmp(cls.c_str(), "Button") == 0)
        return (style & BS_TYPEMASK) == BS_GROUPBOX || (style & BS_TYPEMASK) == BS_OWNERDRAW;
    if (_stricmp(cls.c_str(), "Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        return (type >= SS_BLACKRECT && type <= SS_WHITEFRAME) || type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT ||
               type == SS_ETCHEDFRAME || type == SS_ICON || type == SS_BITMAP || type == SS_OWNERDRAW;
    }
    return false;
}

// The text as drawn: "&x" shows "x", "&&" shows "&".
std::string Shown(const std::string& text, bool prefixes)
{
    if (!prefixes) return text;
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

RECT RectIn(HWND control, HWND dialog)
{
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(HWND control)
{
    char head[32];
    std::snprintf(head, sizeof head, "control %d \"", ::GetDlgCtrlID(control));
    return head + TextOf(control).substr(0, 60) + "\"";
}

bool IsShown(HWND control) { return (::GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

std::string CutText(HWND control)
{
    const TextKind kind = KindOf(control);
    const std::string text = TextOf(control);
    if (kind == TextKind::kNone || text.empty()) return "";
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    const bool isStatic = _stricmp(ClassOf(control).c_str(), "Static") == 0;
    const std::string shown = Shown(text, !(isStatic && (style & SS_NOPREFIX)));
    RECT client;
    ::GetClientRect(control, &client);
    const int width = client.right, height = client.bottom;

    HDC dc = ::GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(SYSTEM_FONT));
    RECT need = {0, 0, width, 0};
    std::string fault;
    switch (kind) {
    case TextKind::kWrapped: {
        const int inner = isStatic ? width : width - 6;
        need.right = inner;
        ::DrawTextA(dc, shown.c_str(), (int)shown.size(), &need,
                    DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        if (need.bottom > height)
            fault = "needs " + std::to_string(need.bottom) + " pixels of height, has " + std::to_string(height);
        else if (need.right > inner)
            fault = "has a word wider than its " + std::to_string(inner) + " pixels";
        break;
    }
    default: {
        ::DrawTextA(dc, shown.c_str(), (int)shown.size(), &need,
                    DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
        int room = width;
        if (kind == TextKind::kPushButton) room = width - 4;
        if (kind == TextKind::kCheck) room = width - ::GetSystemMetrics(SM_CXMENUCHECK) - 3;
        if (kind == TextKind::kGroup) room = width - 12;
        if (need.right > room)
            fault = "needs " + std::to_string(need.right) + " pixels of width, has " + std::to_string(room);
        if (kind != TextKind::kGroup && need.bottom > height)
            fault = "needs " + std::to_string(need.bottom) + " pixels of height, has " + std::to_string(height);
        break;
    }
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return fault;
}

std::vector<std::string> DialogLayoutFaults(HWND dialog)
{
    std::vector<std::string> faults;
    RECT area;
    ::GetClientRect(dialog, &area);
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        // A control placed wholly outside is kept out of sight on purpose.
        const RECT r = RectIn(child, dialog);
        RECT common;
        if (IsShown(child) && ::IntersectRect(&common, &r, &area)) controls.push_back(child);
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        HWND control = controls[i];
        const RECT r = RectIn(control, dialog);
        if (r.left < area.left || r.top < area.top || r.right > area.right || r.bottom > area.bottom)
            faults.push_back(Describe(control) + ": reaches beyond the dialog");
        const std::string cut = CutText(control);
        if (!cut.empty()) faults.push_back(Describe(control) + ": text cut, " + cut);
        if (Encloses(control)) continue;
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (Encloses(controls[j])) continue;
            const RECT other = RectIn(controls[j], dialog);
            RECT common;
            if (::IntersectRect(&common, &r, &other))
                faults.push_back(Describe(control) + " and " + Describe(controls[j]) + ": overlap");
        }
    }
    return faults;
}

bool SaveWindowPicture(HWND window, const std::string& path)
{
    RECT r;
    ::GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, picture);
    // As the display shows it: the window on top, its controls drawn.
    ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(memory, old);
    const DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
    const DWORD size = stride * (DWORD)height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    info.bmiHeader.biSizeImage = size;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    ::DeleteObject(picture);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return out.good();
}

}  // namespace zvtest
