#include "mainwindow/models/ViewState.h"

#include <cstring>

#include "core/items/FilterKeys.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"

CViewState::CViewState()
{
    std::memcpy(typeFilter, KEY_ALL, kUniqueKeySize);
    std::memcpy(categoryFilter, KEY_ALL, kUniqueKeySize);
}

void CViewState::Read(CAppPrefs& prefs, CUserItem* user)
{
    sortKey = (uint32_t)prefs.GetSortInfo(user);
    showingDetails = prefs.GetShowingDetails(user);
    detailsWidth = prefs.GetDetailsPaneWidth(user);
    if (detailsWidth <= 0) detailsWidth = kDefaultDetailsWidth;
    prefs.GetCurrentType(user, typeFilter);
    prefs.GetCurrentCategory(user, categoryFilter);
    viewMode = prefs.GetLatestView(user);
    if (viewMode < kViewModeList || viewMode > kViewModePanel) viewMode = kViewModeList;
    rowColor = prefs.GetRowColor(user);
    BYTE stored[kLogFontSize] = {};
    hasFont = prefs.GetFont(user, stored);
    if (hasFont) std::memcpy(font, stored, kLogFontSize);
}

void CViewState::WriteOnClose(CAppPrefs& prefs, CUserItem* user) const
{
    prefs.SetSortInfo(user, (int)sortKey);
    prefs.SetShowingDetails(user, showingDetails ? 1 : 0);
    if (detailsWidth != 0) prefs.SetDetailsPaneWidth(user, detailsWidth);
    prefs.SetCurrentType(user, typeFilter);
    prefs.SetCurrentCategory(user, categoryFilter);
}

void CViewState::DropMissingFilters(const CDatabaseObj& database)
{
    if (!database.GetTypes().ContainsKey(typeFilter)) std::memcpy(typeFilter, KEY_ALL, kUniqueKeySize);
    if (!database.GetCategories().ContainsKey(categoryFilter)) std::memcpy(categoryFilter, KEY_ALL, kUniqueKeySize);
}
