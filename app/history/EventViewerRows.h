#pragma once
// The rows the event viewer lists: one per event, the event added last
// first, each with its date, name, description, action, user and computer.
#include <array>
#include <vector>

#include "framework/CString.h"

class CLogEvents;

using EventViewerRow = std::array<CString, 6>;

// The viewer's column headings and widths, as the sortable list takes them.
extern const char kEventViewerHeadings[];

std::vector<EventViewerRow> EventViewerRows(const CLogEvents& log);
