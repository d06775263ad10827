// Finding duplicate records.
#include "mainwindow/upkeep/DuplicateFinder.h"

#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

#include "core/items/Record.h"
#include "core/items/RecordList.h"

namespace {

// Everything compared but the attachment's bytes, as one text: records
// whose texts differ are never duplicates, so only equal texts need the
// full comparison.
std::string CompareText(const CRecord& r)
{
    std::string text;
    auto add = [&text](const CString& s) {
        text += std::to_string(s.GetLength());
        text += ':';
        text.append((LPCSTR)s, (size_t)s.GetLength());
    };
    for (int i = 0; i < kItemFieldCount - 1; ++i) add(r.GetField(i));
    text.append(reinterpret_cast<const char*>(r.GetTypeKey()), kUniqueKeySize);
    text.append(reinterpret_cast<const char*>(r.GetCategoryKey()), kUniqueKeySize);
    add(r.GetAttachmentName());
    add(r.GetNotes());
    return text;
}

}  // namespace

CDuplicateFinder::CDuplicateFinder(const CRecordList& records, AttachmentsEqual attachmentsEqual)
    : m_records(records), m_attachmentsEqual(std::move(attachmentsEqual))
{}

int CDuplicateFinder::CountLive() const
{
    int n = 0;
    for (POSITION pos = m_records.GetHeadPosition(); pos;)
        if (!static_cast<const CRecord*>(m_records.GetNext(pos))->IsDeleted()) ++n;
    return n;
}

bool CDuplicateFinder::IsDuplicate(const CRecord& r, const CRecord& s) const
{
    if (r.IsDeleted() || s.IsDeleted()) return false;
    if (r.GetField(0) != s.GetField(0)) return false;
    if (std::memcmp(r.GetTypeKey(), s.GetTypeKey(), kUniqueKeySize) != 0) return false;
    if (std::memcmp(r.GetCategoryKey(), s.GetCategoryKey(), kUniqueKeySize) != 0) return false;
    for (int i = 1; i < kItemFieldCount - 1; ++i)
        if (r.GetField(i) != s.GetField(i)) return false;
    if (r.GetAttachmentName() != s.GetAttachmentName()) return false;
    if (r.GetNotes() != s.GetNotes()) return false;
    // Two files of the same name may hold different things.
    if (r.HasAttachment() && m_attachmentsEqual && !m_attachmentsEqual(r, s)) return false;
    return true;
}

std::vector<CRecord*> CDuplicateFinder::Find() const
{
    // References in list order; each with the duplicates it keeps.
    std::vector<std::pair<CRecord*, std::vector<CRecord*>>> groups;
    std::unordered_map<std::string, std::vector<size_t>> byText;
    for (POSITION pos = m_records.GetHeadPosition(); pos;) {
        CRecord* record = static_cast<CRecord*>(m_records.GetNext(pos));
        if (record->IsDeleted()) continue;
        std::vector<size_t>& candidates = byText[CompareText(*record)];
        bool found = false;
        for (size_t group : candidates) {
            if (IsDuplicate(*groups[group].first, *record)) {
                groups[group].second.push_back(record);
                found = true;
                break;
            }
        }
        if (!found) {
            candidates.push_back(groups.size());
            groups.emplace_back(record, std::vector<CRecord*>());
        }
    }
    std::vector<CRecord*> duplicates;
    for (const auto& group : groups) duplicates.insert(duplicates.end(), group.second.begin(), group.second.end());
    return duplicates;
}
