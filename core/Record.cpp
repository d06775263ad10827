#include "core/Record.h"

#include <cstring>

#include "core/FileSystemOs.h"
#include "core/FileUtils.h"
#include "core/FilterKeys.h"
#include "core/PathUtils.h"
#include "core/TextSearch.h"
#include "core/TypeItem.h"
#include "framework/CArchive.h"
#include "framework/CException.h"

IMPLEMENT_SERIAL(CRecord, CBaseItem, VERSIONABLE_SCHEMA | 7)

namespace {

bool IsFieldIndex(int index) { return index >= 0 && index < kItemFieldCount; }

// The "Files" folder beside a database file.
CString AttachmentFolder(const CString& databasePath) {
    return JoinPath(GetDirectoryOfPath(databasePath, false), "Files");
}

bool KeyMatches(const uint8_t* filter, const uint8_t* key) {
    return IsSameUniqueKey(filter, KEY_ALL) || IsSameUniqueKey(filter, key);
}

}  // namespace

CRecord::CRecord() { NewUniqueKey(m_uid); }

CRecord::~CRecord() = default;

void CRecord::SetUid(const uint8_t uid[kUniqueKeySize]) { CopyUniqueKey(m_uid, uid); }

void CRecord::SetCategoryKey(const uint8_t key[kUniqueKeySize]) { CopyUniqueKey(m_categoryKey, key); }

void CRecord::CopyFrom(const CBaseItem* source) {
    CBaseItem::CopyFrom(source);
    const CRecord* record = dynamic_cast<const CRecord*>(source);
    if (!record || record == this) return;
    m_notes = record->m_notes;
    CopyUniqueKey(m_categoryKey, record->m_categoryKey);
    m_attachmentName = record->m_attachmentName;
    m_attachmentKey = record->m_attachmentKey;
    for (int i = 0; i < kItemFieldCount; ++i) m_customLabels[i] = record->m_customLabels[i];
    CopyUniqueKey(m_uid, record->m_uid);
}

int CRecord::CopyInto(CBaseItem* target, const CBaseItem* source, const CString& sourceDatabasePath,
                      const CString& targetDatabasePath) const {
    if (!target || !source) return 0;
    target->CopyFrom(source);
    CRecord* to = dynamic_cast<CRecord*>(target);
    const CRecord* from = dynamic_cast<const CRecord*>(source);
    if (!to || !from || !from->HasAttachment() || sourceDatabasePath.IsEmpty() || targetDatabasePath.IsEmpty())
        return 1;
    to->m_attachmentName = from->m_attachmentName;
    to->m_attachmentKey = from->m_attachmentKey;
    const CString targetFolder = AttachmentFolder(targetDatabasePath);
    if (!PathExists(targetFolder)) CreateFolderPath(targetFolder);
    const CString sourceFolder = AttachmentFolder(sourceDatabasePath);
    if (PathExists(sourceFolder)) {
        const CString fromFile = JoinPath(sourceFolder, from->GetAttachmentFileName());
        const CString toFile = JoinPath(targetFolder, to->GetAttachmentFileName());
        if (fromFile != toFile) zvos::CopyFileOverwrite(fromFile.Std(), toFile.Std());
    }
    return 1;
}

int CRecord::NotesSize() const { return m_notes.GetLength() - CountCarriageReturns(m_notes) + 1; }

void CRecord::WriteNotes(uint8_t*& cursor) const {
    for (char c : m_notes.Std())
        if (c != '\r') *cursor++ = static_cast<uint8_t>(c);
    *cursor++ = 0;
}

void CRecord::ReadNotes(const uint8_t*& cursor, const uint8_t* end) {
    const CString packed = ReadPackedString(cursor, end);
    std::string notes;
    notes.reserve(static_cast<size_t>(packed.GetLength()) + 16);
    for (char c : packed.Std()) {
        if (c == '\n') notes += '\r';
        notes += c;
    }
    m_notes = CString(std::move(notes));
}

CString CRecord::GetFieldLabel(int index, const CTypeItem* type, bool appendColon) const {
    CString label = GetCustomLabel(index);
    if (label.IsEmpty()) label = type ? type->GetField(index) : DefaultFieldLabel(index);
    if (appendColon && !label.IsEmpty() && label[label.GetLength() - 1] != ':') label += ':';
    return label;
}

void CRecord::GetFieldLabels(const CTypeItem* type, CStringArray& labels) const {
    labels.SetSize(kItemFieldCount);
    for (int i = 0; i < kItemFieldCount; ++i) labels[i] = GetFieldLabel(i, type, false);
}

void CRecord::SetFieldLabel(int index, const CString& text, const CTypeItem* type) {
    if (!IsFieldIndex(index)) throw CInvalidArgException();
    m_customLabels[index] = (type && text == type->GetField(index)) ? CString() : text;
}

void CRecord::SetCustomLabels(const CStringArray& labels) {
    for (int i = 0; i < kItemFieldCount; ++i) m_customLabels[i] = i < labels.GetSize() ? labels[i] : CString();
}

CString CRecord::GetCustomLabel(int index) const { return IsFieldIndex(index) ? m_customLabels[index] : CString(); }

void CRecord::CopyCustomLabels(const CRecord& other) {
    if (&other == this) return;
    for (int i = 0; i < kItemFieldCount; ++i) m_customLabels[i] = other.m_customLabels[i];
    m_hiddenMask = other.m_hiddenMask;
}

void CRecord::SetType(const CTypeItem* type) {
    if (type) {
        SetKey(type->GetKey());
        m_icon = type->GetIcon();
        m_hiddenMask = type->GetHiddenMask();
    } else {
        ClearUniqueKey(m_key);
        m_icon = kDefaultItemIcon;
        m_hiddenMask = 0;
    }
    for (CString& label : m_customLabels) label.Empty();
}

bool CRecord::MatchesFilter(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize]) const {
    if (m_deleted) return false;
    return KeyMatches(typeKey, GetTypeKey()) && KeyMatches(categoryKey, m_categoryKey);
}

bool CRecord::MatchesSearch(const CString& text, bool caseSensitive, bool wholeWord, WORD fieldMask) const {
    // No search text: every record passes, whole word or not.
    if (text.IsEmpty()) return true;
    for (int i = 0; i < kItemFieldCount; ++i)
        if ((fieldMask >> i) & 1 && FindTextInString(m_fields[i], text, caseSensitive, wholeWord)) return true;
    return FindTextInString(m_notes, text, caseSensitive, wholeWord);
}

CString CRecord::GetAttachmentFileName() const {
    CString name;
    name.Format("%x.zfa", static_cast<unsigned int>(m_id));
    return name;
}

int CRecord::DeleteAttachmentFile(const CString& databasePath) {
    if (databasePath.IsEmpty()) return 0;
    const CString file = JoinPath(AttachmentFolder(databasePath), GetAttachmentFileName());
    const int deleted = zvos::DeleteFileAt(file.Std()) ? 1 : 0;
    m_attachmentName.Empty();
    m_attachmentKey.Empty();
    return deleted;
}
