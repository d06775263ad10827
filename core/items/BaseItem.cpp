#include "core/items/BaseItem.h"

#include <cstring>
#include <new>

#include "core/items/ItemPacking.h"
#include "core/store/MasterPwdMgr.h"
#include "core/items/ObjectList.h"
#include "core/crypto/Random.h"
#include "framework/CArchive.h"
#include "framework/CException.h"

IMPLEMENT_SERIAL(CBaseItem, CObject, VERSIONABLE_SCHEMA | 7)

namespace {

// String-table entries of the default field labels.
constexpr UINT kFirstFieldLabelId = 2101;  // "Field 1" .. "Field 9": 2101..2109
constexpr UINT kDateModLabelId = 2110;     // "Date Mod"

bool IsFieldIndex(int index) { return index >= 0 && index < kItemFieldCount; }

}  // namespace

CString DefaultFieldLabel(int index)
{
    CString label;
    if (index >= 0 && index < kItemFieldCount - 1) {
        if (!label.LoadString(kFirstFieldLabelId + static_cast<UINT>(index))) label.Format("Field %d", index + 1);
    } else if (!label.LoadString(kDateModLabelId)) {
        label = "Date Mod";
    }
    return label;
}

CString ReadPackedString(const uint8_t*& cursor, const uint8_t* end)
{
    const uint8_t* start = cursor;
    while (cursor < end && *cursor != 0) ++cursor;
    CString text(reinterpret_cast<const char*>(start), static_cast<int>(cursor - start));
    if (cursor < end) ++cursor;  // past the zero
    return text;
}

CBaseItem::CBaseItem() : m_id(NewItemId()) {}

CBaseItem::~CBaseItem() = default;

void CBaseItem::SetKey(const uint8_t key[kUniqueKeySize]) { CopyUniqueKey(m_key, key); }

void CBaseItem::SetUid(const uint8_t uid[kUniqueKeySize]) { CopyUniqueKey(m_key, uid); }

bool CBaseItem::AllFieldsEmpty() const
{
    for (const CString& field : m_fields)
        if (!field.IsEmpty()) return false;
    return true;
}

void CBaseItem::CopyFrom(const CBaseItem* source)
{
    if (!source || source == this) return;
    m_modified = source->m_modified;
    m_deleted = source->m_deleted;
    for (int i = 0; i < kItemFieldCount; ++i) m_fields[i] = source->m_fields[i];
    m_hiddenMask = source->m_hiddenMask;
    CopyUniqueKey(m_key, source->m_key);
    m_icon = source->m_icon;
    m_blob = source->m_blob;
    m_checksum = source->m_checksum;
    if (source->m_modifiedTime > 0) m_modifiedTime = source->m_modifiedTime;
}

int CBaseItem::CopyInto(CBaseItem* target, const CBaseItem* source, const CString&, const CString&) const
{
    if (!target || !source) return 0;
    target->CopyFrom(source);
    return 1;
}

void CBaseItem::SetField(int index, const CString& text)
{
    if (!IsFieldIndex(index)) throw CInvalidArgException();
    m_fields[index] = text;
}

CString CBaseItem::GetField(int index) const { return IsFieldIndex(index) ? m_fields[index] : CString(); }

bool CBaseItem::HasFieldText(int index) const { return IsFieldIndex(index) && !m_fields[index].IsEmpty(); }

void CBaseItem::SetFieldsFrom(const CStringArray& strings)
{
    for (int i = 0; i < kItemFieldCount; ++i) m_fields[i] = i < strings.GetSize() ? strings[i] : CString();
}

CString CBaseItem::GetFieldDisplayText(int index, bool mask) const
{
    CString text = GetField(index);
    if (mask && !text.IsEmpty() && IsFieldMasked(index)) return CString(kMaskedFieldText);
    return text;
}

CString CBaseItem::GetFieldName(int index) const
{
    CString label = GetField(index);
    return label.IsEmpty() ? DefaultFieldLabel(index) : label;
}

void CBaseItem::SetMainText(const CString& text)
{
    if (CString* main = MainText()) *main = text;
}

bool CBaseItem::HasMainText() const
{
    const CString* main = MainText();
    return main && !main->IsEmpty();
}

// ---------------------------------------------------------------- packing

void CBaseItem::SetBlob(const uint8_t* bytes, size_t length)
{
    m_blob.assign(bytes, bytes + length);
    m_checksum = length >= 2 ? ReadBigEndian16(m_blob.data()) : 0;
}

size_t CBaseItem::GetBlob(uint8_t* buffer) const
{
    if (buffer && !m_blob.empty()) memcpy(buffer, m_blob.data(), m_blob.size());
    return m_blob.size();
}

int CBaseItem::Pack(const BlowfishContext* key)
{
    // The old form goes at once; its buffer takes the new one when large
    // enough (a save repacks every item: no allocation per item then).
    std::vector<uint8_t> blob;
    blob.swap(m_blob);
    const size_t size = PackedSize();
    if (size < kPackedHeaderSize + kPackedTailSize || size > kMaxPackedSize) return -1;
    try {
        blob.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    uint8_t* end = WriteBody(blob.data());
    // Size and body must agree, or the tail would land in the wrong place.
    if (end != blob.data() + size - kPackedTailSize) return -1;
    for (size_t i = 0; i < kPackedTailSize; ++i) *end++ = NextPackRandomByte();
    blob[0] = blob[1] = 0;
    // Over the whole form but its random tail, however long it is.
    WriteBigEndian16(blob.data(), PackedItemCrc(blob.data(), size - kPackedTailSize));
    CryptPackedRange(blob.data() + kPackedHeaderSize, size - kPackedHeaderSize, key, true);
    m_blob = std::move(blob);
    return 0;
}

int CBaseItem::Unpack(const BlowfishContext* key, int schema)
{
    if (m_blob.size() < kPackedHeaderSize) return -1;
    m_badChecksum = !DecryptPackedForm(m_blob, key);
    ReadBody(m_blob.data(), m_blob.data() + m_blob.size(), schema);
    return 0;
}

void CBaseItem::SetKeyFromOldId(const uint8_t* idBytes)
{
    const uint8_t key[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, idBytes[0], idBytes[1]};
    SetKey(key);
}

void CBaseItem::ReadFieldStrings(const uint8_t*& cursor, const uint8_t* end, int count)
{
    for (int i = 0; i < count && i < kItemFieldCount; ++i) m_fields[i] = ReadPackedString(cursor, end);
}

void CBaseItem::ReadOldStrings(const uint8_t*& cursor, const uint8_t* end)
{
    ReadName(cursor, end);
    ReadFieldStrings(cursor, end, 6);
    ReadNotes(cursor, end);
    FillOldSchemaDefaults();
}

int CBaseItem::UnpackV2(const BlowfishContext*)
{
    // 0-1 id, 2 icon, 3 unused, then the strings; types and categories
    // were never encrypted in this form.
    if (m_blob.size() < 4) return -1;
    SetKeyFromOldId(m_blob.data());
    m_icon = m_blob[2];
    const uint8_t* cursor = m_blob.data() + 4;
    ReadOldStrings(cursor, m_blob.data() + m_blob.size());
    return 0;
}

int CBaseItem::UnpackV4(const BlowfishContext* key)
{
    // 0-1 id, 2 icon, 3 unused, 4-5 checksum, then the strings, encrypted.
    if (m_blob.size() < 6) return -1;
    CryptPackedRange(m_blob.data() + 6, m_blob.size() - 6, key, false);
    SetKeyFromOldId(m_blob.data());
    m_icon = m_blob[2];
    m_checksum = ReadBigEndian16(m_blob.data() + 4);
    const uint8_t* cursor = m_blob.data() + 6;
    ReadOldStrings(cursor, m_blob.data() + m_blob.size());
    return 0;
}

void CBaseItem::Serialize(CArchive& ar)
{
    if (CItemKeyScope::IsActive()) {
        SerializeWithKey(ar, CItemKeyScope::CurrentKey());
    } else {
        // Hold the key for the whole item, whatever the manager does meanwhile.
        const BlowfishKeyPtr key = GetMasterPwdMgr()->GetKey();
        SerializeWithKey(ar, key.get());
    }
}

void CBaseItem::SerializeWithKey(CArchive& ar, const BlowfishContext* key)
{
    if (ar.IsStoring()) {
        // A save must fail rather than write an item without content.
        if (Pack(key) != 0) AfxThrowArchiveException(CArchiveException::genericException);
        ar << static_cast<int32_t>(m_blob.size());
        ar.Write(m_blob.data(), static_cast<UINT>(m_blob.size()));
        ar << m_id;
        ar.Write(GetUid(), kUniqueKeySize);
        ar << m_modifiedTime;
        ar << static_cast<int16_t>(m_modified ? 1 : 0);
        ar << static_cast<int16_t>(m_deleted ? 1 : 0);
        ar << m_reservedWord;
        ar << m_reservedLong;
        ar << m_attachmentChanged;
        return;
    }

    const UINT schema = ar.GetObjectSchema();
    if (schema > static_cast<UINT>(kCurrentItemSchema)) AfxThrowArchiveException(CArchiveException::badSchema);
    const int v = static_cast<int>(schema);
    int32_t length = 0;
    ar >> length;
    if (length < 0) AfxThrowArchiveException(CArchiveException::genericException);
    // ReadBlock grows only as data arrives, so a length beyond the data
    // ends in endOfFile instead of a huge allocation.
    m_blob = ar.ReadBlock(static_cast<DWORD>(length));
    int unpacked;
    if (v < 3)
        unpacked = UnpackV2(key);
    else if (v == 4)
        unpacked = UnpackV4(key);
    else
        unpacked = Unpack(key, v);
    if (unpacked != 0) AfxThrowArchiveException(CArchiveException::genericException);
    ar >> m_id;
    if (v >= 6) {
        uint8_t uid[kUniqueKeySize];
        ar.ReadExact(uid, kUniqueKeySize);
        if (GetItemKind() == kItemKindRecord) SetUid(uid);
        ar >> m_modifiedTime;
    } else if (GetItemKind() == kItemKindRecord && IsNullUniqueKey(GetUid())) {
        // A file without uids: a record made while loading has none yet.
        uint8_t uid[kUniqueKeySize];
        NewUniqueKey(uid);
        SetUid(uid);
    }
    int16_t flag = 0;
    ar >> flag;
    m_modified = flag != 0;
    ar >> flag;
    m_deleted = flag != 0;
    if (v < 3) {
        int16_t oldChecksum = 0;
        ar >> oldChecksum;
        m_checksum = static_cast<WORD>(oldChecksum);
        // Old forms are packed in the current layout at once. Older files
        // also kept types under item classes without a packed form of their
        // own (they become types on loading and are packed when saved).
        if (PackedSize() >= kPackedHeaderSize + kPackedTailSize && Pack(key) != 0)
            AfxThrowArchiveException(CArchiveException::genericException);
    }
    m_checksum = m_blob.size() >= 2 ? ReadBigEndian16(m_blob.data()) : 0;
    ar >> m_reservedWord;
    ar >> m_reservedLong;
    ar >> m_attachmentChanged;
}

// ---------------------------------------------------------------- cloning

int CBaseItem::CloneIntoList(CObjectList& list, CBaseItem* target, const CString& firstPath,
                             const CString& secondPath) const
{
    if (!target || target->IsModified()) {
        target = list.NewItem();
        if (!target) return -1;
        list.Add(target);
    }
    CopyInto(target, this, firstPath, secondPath);
    target->SetModified(true);
    return 0;
}

int CBaseItem::CloneIntoListReversed(CObjectList& list, CBaseItem* target, const CString& firstPath,
                                     const CString& secondPath) const
{
    return CloneIntoList(list, target, firstPath, secondPath);
}
