#include "toolkit/menus/BCMenuData.h"

namespace menurecords {

int FindRecord(const std::vector<BCMenuData*>& records, UINT_PTR commandId, bool fromEnd)
{
    const int n = (int)records.size();
    for (int k = 0; k < n; ++k) {
        const int i = fromEnd ? n - 1 - k : k;
        if (records[i]->commandId == commandId) return i;
    }
    return -1;
}

int RecordForCommandAt(const std::vector<BCMenuData*>& records, size_t position, UINT_PTR commandId)
{
    // Two items may carry one command: the item's own record comes first.
    if (position < records.size() && records[position]->commandId == commandId) return (int)position;
    return FindRecord(records, commandId);
}

int ClaimRecord(std::vector<BCMenuData*>& records, UINT_PTR commandId)
{
    for (size_t i = 0; i < records.size(); ++i) {
        if (!records[i]->claimed && records[i]->commandId == commandId) {
            records[i]->claimed = true;
            return (int)i;
        }
    }
    return -1;
}

void EraseRecord(std::vector<BCMenuData*>& records, int index)
{
    if (index < 0 || index >= (int)records.size()) return;
    delete records[index];
    records.erase(records.begin() + index);
}

void DeleteAll(std::vector<BCMenuData*>& records)
{
    for (BCMenuData* record : records) delete record;
    records.clear();
}

}  // namespace menurecords
