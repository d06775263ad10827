#pragma once
// BCMenuData: what an owner-drawn menu keeps for one of its items, and the
// bookkeeping of a menu's list of them. Platform-free, so the host build
// checks the list handling.
#include <string>
#include <vector>

#include "framework/ZvTypes.h"

class BCMenuData {
public:
    // The caption as the system menu would show it: "&" marks the mnemonic,
    // a tab separates the accelerator text.
    std::wstring text;
    int sharedImageIndex = -1;  // into the shared menu images, -1: none
    UINT flags = 0;             // the item's menu flags
    UINT_PTR commandId = 0;     // a sub-menu's handle for a popup, 0 for a separator
    bool claimed = false;       // scratch mark while the records are rebuilt
};

namespace menurecords {

// Index of the first record with this command id from the start (or, with
// fromEnd, from the end); -1 when none has it.
int FindRecord(const std::vector<BCMenuData*>& records, UINT_PTR commandId, bool fromEnd = false);
// The record that describes the command item at a position: the one at
// that index when it carries the id, else the first with the id; -1 when
// no record has it.
int RecordForCommandAt(const std::vector<BCMenuData*>& records, size_t position, UINT_PTR commandId);
// Marks and returns the first unclaimed record with this id; -1 when none.
int ClaimRecord(std::vector<BCMenuData*>& records, UINT_PTR commandId);
// Deletes the record at index and takes it out of the list.
void EraseRecord(std::vector<BCMenuData*>& records, int index);
void DeleteAll(std::vector<BCMenuData*>& records);

}  // namespace menurecords
