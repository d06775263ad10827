#pragma once
// The sortable list's pure parts: how two cell texts compare, how a headings
// string splits into columns, and where a column goes in the display order
// when the user hides or shows it.
#include <vector>

#include "framework/CString.h"

// A text of 25 characters that starts "dddd-dd-dd": the event log's time
// stamps ("2009-03-05 07:08:09 +0000").
bool IsTimestampText(const char* text);

// The list's text order (the locale's on Windows); negative, 0 or positive.
using SortTextCompare = int (*)(const char* a, const char* b);

// First against second: by time when both are time stamps, else by text.
// Deciding on one text alone would read a plain text as a date in some pairs
// and not in others, which gives no consistent order.
int CompareSortCells(const char* first, const char* second, SortTextCompare textCompare);

struct SortHeading {
    CString title;
    int width = 0;
};
// "Title,width;Title,width;...": one heading per comma; a trailing ";" and
// text after the last pair without a comma are ignored.
std::vector<SortHeading> ParseSortHeadings(const CString& headings);

// The display order after a column is shown (moved to min(visible - 1,
// column), counting itself) or hidden; then the visible columns fill the
// order from the front in their relative order and the hidden ones the back,
// in reverse of their encounter order. visible[i] is column i's flag after
// the change; order holds every column once.
std::vector<int> ReorderForVisibility(const std::vector<int>& order, const std::vector<bool>& visible, int column,
                                      bool show);
