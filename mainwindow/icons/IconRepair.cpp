#include "mainwindow/icons/IconRepair.h"

#include "core/items/BaseItem.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/icons/IconCatalog.h"

namespace {

int ResetInList(CObjectList& list, const std::function<bool(const std::string&)>& exists)
{
    int changed = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(list.GetNext(pos));
        // Ids up to 64, 64 included, are never touched.
        if (item->GetIcon() <= kBuiltInIconCount || exists(IconFileName(item->GetIcon()))) continue;
        item->SetIcon(kDefaultItemIcon);
        item->SetModified(true);
        ++changed;
    }
    return changed;
}

}  // namespace

int ResetMissingCustomIcons(CDatabaseObj& db, const std::function<bool(const std::string&)>& exists)
{
    return ResetInList(db.GetRecords(), exists) + ResetInList(db.GetTypes(), exists);
}
