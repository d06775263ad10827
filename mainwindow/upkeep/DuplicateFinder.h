#pragma once
// CDuplicateFinder: the records that repeat an earlier record of the list.
// Two live records are duplicates when field 1, the type, the category,
// fields 2 to 9, the attachment and the notes are all equal, compared
// exactly on the stored values; the modification date (field 10), masking,
// custom labels, icon and attachment key are not compared. Attachments of
// the same name are duplicates only when their files hold the same bytes.
// Each duplicate belongs to the earliest record it equals, which stays.
#include <functional>
#include <vector>

class CRecord;
class CRecordList;

class CDuplicateFinder {
public:
    // Whether two attachments of the same name hold the same bytes.
    using AttachmentsEqual = std::function<bool(const CRecord&, const CRecord&)>;

    CDuplicateFinder(const CRecordList& records, AttachmentsEqual attachmentsEqual);

    // The duplicates, grouped by the record they repeat (in list order of
    // those), each group in list order.
    std::vector<CRecord*> Find() const;
    bool IsDuplicate(const CRecord& first, const CRecord& later) const;
    // Live records; with fewer than two there is nothing to look for.
    int CountLive() const;

private:
    const CRecordList& m_records;
    AttachmentsEqual m_attachmentsEqual;
};
