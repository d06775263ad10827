#include "core/items/Record.h"

#include <cstdint>
#include <cstring>

#include "core/os/FileSystemOs.h"
#include "core/items/ItemPacking.h"
#include "core/os/FileUtils.h"
#include "core/items/FilterKeys.h"
#include "core/os/PathUtils.h"
#include "core/prefs/ProductNames.h"
#include "core/values/TextSearch.h"
#include "core/items/TypeItem.h"
#include "framework/CArchive.h"
#include "framework/CException.h"

IMPLEMENT_SERIAL(CRecord, CBaseItem, VERSIONABLE_SCHEMA | 7)

namespace {

bool IsFieldIndex(int index) { return index >= 0 && index < kItemFieldCount; }

// The "Files" folder beside a database file.
CString AttachmentFolder(const CString& databasePath)
{
    return JoinPath(GetDirectoryOfPath(databasePath, false), kAttachmentsFolderName);
}

// "%d" of the count, without the formatter's cost at every record saved.
CString ViewCountText(int32_t count)
{
    char text[12];
    char* const end = text + sizeof text;
    char* start = end;
    uint32_t magnitude = count < 0 ? 0u - static_cast<uint32_t>(count) : static_cast<uint32_t>(count);
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (count < 0) *--start = '-';
    return CString(start, static_cast<int>(end - start));
}

// Signed decimal text: leading blanks and a sign, digits up to the first
// other character; no digits give 0. Kept within 32 bits.
int32_t ParseViewCount(const CString& text)
{
    const char* p = text.GetString();
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p++ - '0');
        if (value > 0x80000000LL) value = 0x80000000LL;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<int32_t>(value);
}

bool KeyMatches(const uint8_t* filter, const uint8_t* key)
{
    return IsSameUniqueKey(filter, KEY_ALL) || IsSameUniqueKey(filter, key);
}

thread_local bool t_uidFromFile = false;

}  // namespace

CRecordUidFromFileScope::CRecordUidFromFileScope() : m_previous(t_uidFromFile) { t_uidFromFile = true; }

CRecordUidFromFileScope::~CRecordUidFromFileScope() { t_uidFromFile = m_previous; }

CRecord::CRecord()
{
    if (!t_uidFromFile) NewUniqueKey(m_uid);
}

CRecord::~CRecord() = default;

void CRecord::SetUid(const uint8_t uid[kUniqueKeySize]) { CopyUniqueKey(m_uid, uid); }

void CRecord::SetCategoryKey(const uint8_t key[kUniqueKeySize]) { CopyUniqueKey(m_categoryKey, key); }

void CRecord::CopyFrom(const CBaseItem* source)
{
    CBaseItem::CopyFrom(source);
    const CRecord* record = dynamic_cast<const CRecord*>(source);
    if (!record || record == this) return;
    m_notes = record->m_notes;
    CopyUniqueKey(m_categoryKey, record->m_categoryKey);
    // The custom labels and the attachment.
    for (int i = 0; i < kRareTextCount; ++i) SetRareText(i, CString(record->RareText(i)));
    CopyUniqueKey(m_uid, record->m_uid);
}

int CRecord::CopyInto(CBaseItem* target, const CBaseItem* source, const CString& sourceDatabasePath,
                      const CString& targetDatabasePath) const
{
    if (!target || !source) return 0;
    target->CopyFrom(source);
    CRecord* to = dynamic_cast<CRecord*>(target);
    const CRecord* from = dynamic_cast<const CRecord*>(source);
    if (!to || !from || !from->HasAttachment() || sourceDatabasePath.IsEmpty() || targetDatabasePath.IsEmpty())
        return 1;
    to->SetAttachmentName(from->GetAttachmentName());
    to->SetAttachmentKey(from->GetAttachmentKey());
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

void CRecord::WriteNotes(uint8_t*& cursor) const
{
    for (char c : m_notes.Std())
        if (c != '\r') *cursor++ = static_cast<uint8_t>(c);
    *cursor++ = 0;
}

void CRecord::ReadNotes(const uint8_t*& cursor, const uint8_t* end)
{
    CString packed = ReadPackedString(cursor, end);
    // Most records have no notes, many notes a single line: nothing to add.
    if (packed.Std().find('\n') == std::string::npos) {
        m_notes = std::move(packed);
        return;
    }
    std::string notes;
    notes.reserve(static_cast<size_t>(packed.GetLength()) + 16);
    for (char c : packed.Std()) {
        if (c == '\n') notes += '\r';
        notes += c;
    }
    m_notes = CString(std::move(notes));
}

CString CRecord::GetFieldLabel(int index, const CTypeItem* type, bool appendColon) const
{
    CString label = GetCustomLabel(index);
    if (label.IsEmpty()) label = type ? type->GetField(index) : DefaultFieldLabel(index);
    if (appendColon && !label.IsEmpty() && label[label.GetLength() - 1] != ':') label += ':';
    return label;
}

void CRecord::GetFieldLabels(const CTypeItem* type, CStringArray& labels) const
{
    labels.SetSize(kItemFieldCount);
    for (int i = 0; i < kItemFieldCount; ++i) labels[i] = GetFieldLabel(i, type, false);
}

void CRecord::SetFieldLabel(int index, const CString& text, const CTypeItem* type)
{
    if (!IsFieldIndex(index)) throw CInvalidArgException();
    SetRareText(index, (type && text == type->GetField(index)) ? CString() : CString(text));
}

void CRecord::SetCustomLabels(const CStringArray& labels)
{
    for (int i = 0; i < kItemFieldCount; ++i) SetRareText(i, i < labels.GetSize() ? CString(labels[i]) : CString());
}

CString CRecord::GetCustomLabel(int index) const { return IsFieldIndex(index) ? RareText(index) : CString(); }

void CRecord::CopyCustomLabels(const CRecord& other)
{
    if (&other == this) return;
    for (int i = 0; i < kItemFieldCount; ++i) SetRareText(i, CString(other.RareText(i)));
    m_hiddenMask = other.m_hiddenMask;
}

void CRecord::SetType(const CTypeItem* type)
{
    if (type) {
        SetKey(type->GetKey());
        m_icon = type->GetIcon();
        m_hiddenMask = type->GetHiddenMask();
    } else {
        ClearUniqueKey(m_key);
        m_icon = kDefaultItemIcon;
        m_hiddenMask = 0;
    }
    EmptyRareTexts(0, kItemFieldCount);
}

bool CRecord::MatchesFilter(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize]) const
{
    if (m_deleted) return false;
    return KeyMatches(typeKey, GetTypeKey()) && KeyMatches(categoryKey, m_categoryKey);
}

bool CRecord::MatchesSearch(const CString& text, bool caseSensitive, bool wholeWord, WORD fieldMask) const
{
    // No search text: every record passes, whole word or not.
    if (text.IsEmpty()) return true;
    for (int i = 0; i < kItemFieldCount; ++i)
        if ((fieldMask >> i) & 1 && FindTextInString(m_fields[i], text, caseSensitive, wholeWord)) return true;
    return FindTextInString(m_notes, text, caseSensitive, wholeWord);
}

CString CRecord::GetAttachmentFileName() const
{
    CString name;
    name.Format("%x.zfa", static_cast<unsigned int>(m_id));
    return name;
}

int CRecord::DeleteAttachmentFile(const CString& databasePath)
{
    if (databasePath.IsEmpty()) return 0;
    const CString file = JoinPath(AttachmentFolder(databasePath), GetAttachmentFileName());
    const int deleted = zvos::DeleteFileAt(file.Std()) ? 1 : 0;
    EmptyRareTexts(kAttachmentNameText, 2);
    return deleted;
}

// ---------------------------------------------------------------- packing

const CString& CRecord::RareText(int index) const
{
    static const CString kNone;
    return m_rare ? m_rare->texts[index] : kNone;
}

void CRecord::SetRareText(int index, CString&& text)
{
    if (!m_rare) {
        if (text.IsEmpty()) return;
        m_rare = std::make_unique<RareTexts>();
    }
    m_rare->texts[index] = std::move(text);
}

void CRecord::EmptyRareTexts(int first, int count)
{
    if (m_rare)
        for (int i = first; i < first + count; ++i) m_rare->texts[i].Empty();
}

bool CRecord::HasCustomLabels() const
{
    for (int i = 0; i < kItemFieldCount; ++i)
        if (!RareText(i).IsEmpty()) return true;
    return false;
}

size_t CRecord::PackedSize() const
{
    size_t size = kPackedHeaderSize + kPackedTailSize;
    for (const CString& value : m_fields) size += PackedStringSize(value);
    size += static_cast<size_t>(NotesSize());
    size += PackedStringSize(ViewCountText(m_viewCount)) + PackedStringSize(RareText(kAttachmentNameText)) +
            PackedStringSize(RareText(kAttachmentKeyText));
    if (HasCustomLabels())
        for (int i = 0; i < kItemFieldCount; ++i) size += PackedStringSize(RareText(i));
    return size;
}

uint8_t* CRecord::WriteBody(uint8_t* buffer) const
{
    WriteBigEndian16(buffer, m_checksum);
    memcpy(buffer + 2, m_key, kUniqueKeySize);
    memcpy(buffer + 10, m_categoryKey, kUniqueKeySize);
    WriteBigEndian16(buffer + 18, m_icon);
    WriteBigEndian16(buffer + 20, m_hiddenMask);
    uint8_t* cursor = buffer + kPackedHeaderSize;
    for (const CString& value : m_fields) WritePackedString(cursor, value);
    WriteNotes(cursor);
    WritePackedString(cursor, ViewCountText(m_viewCount));
    WritePackedString(cursor, RareText(kAttachmentNameText));
    WritePackedString(cursor, RareText(kAttachmentKeyText));
    if (HasCustomLabels())
        for (int i = 0; i < kItemFieldCount; ++i) WritePackedString(cursor, RareText(i));
    return cursor;
}

const uint8_t* CRecord::ReadBody(const uint8_t* buffer, const uint8_t* end, int schema)
{
    if (end - buffer < static_cast<ptrdiff_t>(kPackedHeaderSize)) return buffer;
    m_checksum = ReadBigEndian16(buffer);
    SetKey(buffer + 2);
    SetCategoryKey(buffer + 10);
    m_icon = ReadBigEndian16(buffer + 18);
    m_hiddenMask = ReadBigEndian16(buffer + 20);
    const uint8_t* cursor = buffer + kPackedHeaderSize;
    const int fields = schema < 6 ? 6 : kItemFieldCount;
    ReadFieldStrings(cursor, end, fields);
    ReadNotes(cursor, end);
    if (schema >= 7) {
        m_viewCount = ParseViewCount(ReadPackedString(cursor, end));
        SetRareText(kAttachmentNameText, ReadPackedString(cursor, end));
        SetRareText(kAttachmentKeyText, ReadPackedString(cursor, end));
    }
    if (end - cursor > static_cast<ptrdiff_t>(kPackedTailSize))
        for (int i = 0; i < fields; ++i) SetRareText(i, ReadPackedString(cursor, end));
    if (schema < 6) FillOldSchemaDefaults();
    return cursor;
}

void CRecord::FillOldSchemaDefaults()
{
    m_fields[kItemFieldCount - 1] = "Unknown";
    SetRareText(kItemFieldCount - 1, CString("Date Mod"));
}

int CRecord::UnpackV2(const BlowfishContext* key)
{
    if (m_blob.size() < 4) return -1;
    if (key) {
        // Encrypted from the byte after the first field's zero (rounded up to
        // an even offset by the decryption routine).
        const uint8_t* data = m_blob.data();
        const size_t size = m_blob.size();
        size_t zero = 4;
        while (zero < size && data[zero] != 0) ++zero;
        const size_t start = zero + 1;
        if (start < size)
            BlowfishDecryptInPlaceEven(m_blob.data(), static_cast<int32_t>(start), static_cast<uint16_t>(size - start),
                                       key);
    }
    return CBaseItem::UnpackV2(nullptr);
}

int CRecord::CloneIntoListReversed(CObjectList& list, CBaseItem* target, const CString& firstPath,
                                   const CString& secondPath) const
{
    return CloneIntoList(list, target, secondPath, firstPath);
}
