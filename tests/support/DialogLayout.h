#pragma once
// Layout checks of a dialog as it is on screen: every shown control lies
// inside the dialog, no two shown controls overlap (group boxes and frames
// aside), and every text fits its control in the control's own font. And a
// picture of a window, for a person to look at.
#include <windows.h>

#include <string>
#include <vector>

namespace zvtest {

// One line per fault: "control 1234 "text": what is wrong".
std::vector<std::string> DialogLayoutFaults(HWND dialog);

// The text of a static or button that its control cannot show whole, or ""
// (word-wrapped statics by their height, the others by their width).
std::string CutText(HWND control);

// Writes what the window shows as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path);

}  // namespace zvtest
