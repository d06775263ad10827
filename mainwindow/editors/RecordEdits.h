#pragma once
// What the record editor holds while a record is open in it, and how that
// goes back into the record: the field values, labels, masking, icon,
// notes, type, category and attachment. Plain logic over the record store,
// so the rules (which label gets a date picker, what counts as a change,
// when the modification date is stamped) are tested without a window.
#include <cstdint>

#include "core/items/BaseItem.h"
#include "core/items/UniqueKey.h"
#include "framework/CString.h"

class CRecord;
class CTypeItem;

// A label names a date when it holds "DATE", "Date", "date", "DAY", "Day"
// or "day" (case-sensitive, anywhere in it, so "Birthday" does too).
bool LabelNamesDate(const CString& label);
// The text shown beside a field: the label with one ':' unless it already
// ends in one.
CString LabelWithColon(const CString& label);
// The modification date as the program writes it into field 10, from the
// local time: full month name, two-digit day, comma, four-digit year
// ("December 08, 2026").
CString ModificationDateText(int64_t secondsSince1970);

struct RecordEdits {
    CString values[kItemFieldCount];
    // The effective labels, without a trailing colon added for display.
    CString labels[kItemFieldCount];
    WORD mask = 0;
    WORD icon = 24;
    CString notes;
    uint8_t typeKey[kUniqueKeySize] = {};
    uint8_t categoryKey[kUniqueKeySize] = {};
    CString attachmentName;
    CString attachmentKey;
};

// Loads the editor's state from a record: values that are still empty are
// taken from the record unmasked (presets stay), labels from the record
// and its type, the mask, icon, notes and keys.
void LoadRecordEdits(RecordEdits& edits, const CRecord& record, const CTypeItem* type);

// Writes the edits into the record and answers whether anything changed.
// When something did, the record is marked modified, its modification time
// set to now and field 10 (and edits.values[9]) stamped with the date. A
// removed attachment deletes the stored file beside databasePath and sets
// the attachment sync mark.
bool ApplyRecordEdits(CRecord& record, RecordEdits& edits, const CTypeItem* type, const CString& databasePath,
                      int64_t nowSeconds);
