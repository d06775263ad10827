#include "core/winui/ListSelection.h"

#include <commctrl.h>

namespace {

void SetState(HWND list, int index, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void SelectListItem(HWND list, int index, bool clearOthers)
{
    if (clearOthers) SetState(list, -1, 0, LVIS_SELECTED);
    SetState(list, index, LVIS_SELECTED, LVIS_SELECTED);
    SetState(list, index, LVIS_FOCUSED, LVIS_FOCUSED);
}

int GetFirstSelectedListItem(HWND list)
{
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED) return i;
    return -1;
}

void SelectAllListItems(HWND list, bool select) { SetState(list, -1, select ? LVIS_SELECTED : 0, LVIS_SELECTED); }

void SelectAndFocusListItem(HWND list, int index)
{
    if (index == -1) index = 0;
    SetState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(list);
}
