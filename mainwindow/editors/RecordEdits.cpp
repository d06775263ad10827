// The record editor's state and how it goes back into the record.
#include "mainwindow/editors/RecordEdits.h"

#include <cstring>
#include <ctime>

#include "core/items/Record.h"
#include "core/items/TypeItem.h"

namespace {

const char* const kDateWords[] = {"DATE", "Date", "date", "DAY", "Day", "day"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

}  // namespace

bool LabelNamesDate(const CString& label)
{
    for (const char* word : kDateWords)
        if (std::strstr((LPCSTR)label, word)) return true;
    return false;
}

CString LabelWithColon(const CString& label)
{
    if (!label.IsEmpty() && label[label.GetLength() - 1] == ':') return label;
    return label + ":";
}

CString ModificationDateText(int64_t secondsSince1970)
{
    const std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    // Month names in English whatever the locale: the text is parsed back
    // as a date by the list's sorting.
    CString text;
    text.Format("%s %.2d, %.4d", kMonths[local.tm_mon % 12], local.tm_mday, local.tm_year + 1900);
    return text;
}

void LoadRecordEdits(RecordEdits& edits, const CRecord& record, const CTypeItem* type)
{
    for (int i = 0; i < kItemFieldCount; ++i) {
        if (edits.values[i].IsEmpty()) edits.values[i] = record.GetFieldDisplayText(i, false);
        edits.labels[i] = record.GetFieldLabel(i, type, false);
    }
    edits.mask = record.GetHiddenMask();
    edits.icon = record.GetIcon();
    edits.notes = record.GetNotes();
    std::memcpy(edits.typeKey, record.GetTypeKey(), kUniqueKeySize);
    std::memcpy(edits.categoryKey, record.GetCategoryKey(), kUniqueKeySize);
}

bool ApplyRecordEdits(CRecord& record, RecordEdits& edits, const CTypeItem* type, const CString& databasePath,
                      int64_t nowSeconds)
{
    bool changed = false;
    if (std::memcmp(record.GetTypeKey(), edits.typeKey, kUniqueKeySize) != 0) {
        record.SetTypeKey(edits.typeKey);
        changed = true;
    }
    if (std::memcmp(record.GetCategoryKey(), edits.categoryKey, kUniqueKeySize) != 0) {
        record.SetCategoryKey(edits.categoryKey);
        changed = true;
    }
    for (int i = 0; i < kItemFieldCount; ++i) {
        if (record.GetFieldDisplayText(i, false) != edits.values[i]) {
            record.SetField(i, edits.values[i]);
            changed = true;
        }
    }
    for (int i = 0; i < kItemFieldCount; ++i) {
        if (record.GetFieldLabel(i, type, false) != edits.labels[i]) {
            record.SetFieldLabel(i, edits.labels[i], type);
            changed = true;
        }
    }
    if (record.GetHiddenMask() != edits.mask) {
        record.SetHiddenMask(edits.mask);
        changed = true;
    }
    if (record.GetIcon() != edits.icon) {
        record.SetIcon(edits.icon);
        changed = true;
    }
    if (record.GetNotes() != edits.notes) {
        record.SetMainText(edits.notes);
        changed = true;
    }
    if (record.GetAttachmentName() != edits.attachmentName) {
        if (edits.attachmentName.IsEmpty()) {
            record.DeleteAttachmentFile(databasePath);
            record.SetAttachmentChanged(1);
        }
        record.SetAttachmentName(edits.attachmentName);
        record.SetAttachmentKey(edits.attachmentKey);
        changed = true;
    }
    if (changed) {
        record.SetModifiedTime(static_cast<int32_t>(nowSeconds));
        record.SetModified(true);
        edits.values[kItemFieldCount - 1] = ModificationDateText(nowSeconds);
        record.SetField(kItemFieldCount - 1, edits.values[kItemFieldCount - 1]);
    }
    return changed;
}
