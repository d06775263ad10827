#pragma once
// Selecting items of a report-style list-view control (windows only).
#include <windows.h>

void SelectListItem(HWND list, int index, bool clearOthers);
// Index of the first selected item, -1 when none is.
int GetFirstSelectedListItem(HWND list);
void SelectAllListItems(HWND list, bool select);
// Selects and focuses the item (-1 means item 0) and focuses the control.
void SelectAndFocusListItem(HWND list, int index);
