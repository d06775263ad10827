#include "mainwindow/view/ItemCombo.h"

#include <cstring>

#include "core/items/BaseItem.h"
#include "core/items/ObjectList.h"
#include "framework/Controls.h"

void FillItemCombo(const CObjectList& items, CComboBox& combo, const uint8_t key[kUniqueKeySize])
{
    while (combo.GetCount() > 2) combo.DeleteString(0);
    for (POSITION pos = items.GetHeadPosition(); pos;) {
        const CBaseItem* item = static_cast<const CBaseItem*>(items.GetNext(pos));
        if (!item || item->IsDeleted()) continue;
        const CString name = item->GetName();
        const int last = combo.GetCount() - 2;
        int index = 0;
        while (index < last) {
            const CBaseItem* there = reinterpret_cast<const CBaseItem*>(combo.GetItemData(index));
            if (there && there->GetName().CompareNoCase(name) > 0) break;
            ++index;
        }
        const int inserted = combo.InsertString(index, name);
        if (inserted >= 0) combo.SetItemData(inserted, (DWORD_PTR)item);
    }
    const int unfiled = combo.GetCount() - 2;
    int select = unfiled;
    for (int i = 0; i < unfiled; ++i) {
        const CBaseItem* item = reinterpret_cast<const CBaseItem*>(combo.GetItemData(i));
        if (item && std::memcmp(item->GetKey(), key, kUniqueKeySize) == 0) {
            select = i;
            break;
        }
    }
    combo.SetCurSel(select);
}
