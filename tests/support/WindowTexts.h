#pragma once
// What the program's windows and the clipboard show, as text for assertions.
#include <windows.h>

#include <string>

#include "framework/CommonControls.h"

namespace zvtest {

// The clipboard's text; whenEmpty when it holds none.
inline std::string ClipboardText(const char* whenEmpty = "")
{
    if (!::OpenClipboard(nullptr)) return "<clipboard not opened>";
    std::string text = whenEmpty;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
            text = bytes;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

// The tree as text: "type: child child; ...".
inline std::string TreeText(CTreeCtrl& tree)
{
    std::string text;
    for (HTREEITEM node = tree.GetRootItem(); node; node = tree.GetNextSiblingItem(node)) {
        text += std::string(tree.GetItemText(node)) + ":";
        for (HTREEITEM child = tree.GetChildItem(node); child; child = tree.GetNextSiblingItem(child))
            text += " " + std::string(tree.GetItemText(child));
        text += "; ";
    }
    return text;
}

}  // namespace zvtest
