#pragma once
// CViewState: what the main view keeps per user between runs, read at its
// first update and written when its window goes (the view mode, row colour
// and font at once when they change). Read and written through the
// preferences interface, so the keys are those of core/prefs/PrefKeys.cpp:
// "Sort Info", "Showing Details", "Details Pane Width", "Current Type",
// "Current CategoryID", "latestView", "Row Color", "Font".
#include <cstdint>

#include "core/items/UniqueKey.h"
#include "mainwindow/models/RecordColumns.h"

class CAppPrefs;
class CDatabaseObj;
class CUserItem;

// View modes ("latestView").
enum ViewMode { kViewModeList = 0, kViewModeTree = 1, kViewModePanel = 2 };
constexpr int kDefaultDetailsWidth = 250;
constexpr uint32_t kDefaultRowColor = 0xFFFFFF;
constexpr int kLogFontSize = 60;

struct CViewState {
    uint32_t sortKey = kDefaultSortKey;
    bool showingDetails = true;
    int detailsWidth = kDefaultDetailsWidth;
    uint8_t typeFilter[kUniqueKeySize] = {};
    uint8_t categoryFilter[kUniqueKeySize] = {};
    int viewMode = kViewModeList;
    uint32_t rowColor = kDefaultRowColor;
    // The stored list font, when one is stored.
    bool hasFont = false;
    uint8_t font[kLogFontSize] = {};

    CViewState();

    // Reads every key; a width of 0 or less gives 250, a mode outside 0 to 2
    // list mode.
    void Read(CAppPrefs& prefs, CUserItem* user);
    // Writes what the shut-down writes: sort key, details flag, width (not a
    // width of 0) and both filters.
    void WriteOnClose(CAppPrefs& prefs, CUserItem* user) const;
    // Filters that name no type or category of the database become KEY_ALL;
    // the special keys are kept only when an item has that key.
    void DropMissingFilters(const CDatabaseObj& database);
};
