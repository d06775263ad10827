#include "core/BaseItem.h"

#include "core/Random.h"
#include "framework/CArchive.h"
#include "framework/CException.h"

IMPLEMENT_SERIAL(CBaseItem, CObject, VERSIONABLE_SCHEMA | 7)

namespace {

// String-table entries of the default field labels.
constexpr UINT kFirstFieldLabelId = 2101;  // "Field 1" .. "Field 9": 2101..2109
constexpr UINT kDateModLabelId = 2110;     // "Date Mod"

bool IsFieldIndex(int index) { return index >= 0 && index < kItemFieldCount; }

}  // namespace

CString DefaultFieldLabel(int index) {
    CString label;
    if (index >= 0 && index < kItemFieldCount - 1) {
        if (!label.LoadString(kFirstFieldLabelId + static_cast<UINT>(index))) label.Format("Field %d", index + 1);
    } else if (!label.LoadString(kDateModLabelId)) {
        label = "Date Mod";
    }
    return label;
}

CString ReadPackedString(const uint8_t*& cursor, const uint8_t* end) {
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

bool CBaseItem::AllFieldsEmpty() const {
    for (const CString& field : m_fields)
        if (!field.IsEmpty()) return false;
    return true;
}

void CBaseItem::CopyFrom(const CBaseItem* source) {
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

int CBaseItem::CopyInto(CBaseItem* target, const CBaseItem* source, const CString&, const CString&) const {
    if (!target || !source) return 0;
    target->CopyFrom(source);
    return 1;
}

void CBaseItem::SetField(int index, const CString& text) {
    if (!IsFieldIndex(index)) throw CInvalidArgException();
    m_fields[index] = text;
}

CString CBaseItem::GetField(int index) const { return IsFieldIndex(index) ? m_fields[index] : CString(); }

bool CBaseItem::HasFieldText(int index) const { return IsFieldIndex(index) && !m_fields[index].IsEmpty(); }

void CBaseItem::SetFieldsFrom(const CStringArray& strings) {
    for (int i = 0; i < kItemFieldCount; ++i) m_fields[i] = i < strings.GetSize() ? strings[i] : CString();
}

CString CBaseItem::GetFieldDisplayText(int index, bool mask) const {
    CString text = GetField(index);
    if (mask && !text.IsEmpty() && IsFieldMasked(index)) return CString(kMaskedFieldText);
    return text;
}

CString CBaseItem::GetFieldName(int index) const {
    CString label = GetField(index);
    return label.IsEmpty() ? DefaultFieldLabel(index) : label;
}

void CBaseItem::SetMainText(const CString& text) {
    if (CString* main = MainText()) *main = text;
}

bool CBaseItem::HasMainText() const {
    const CString* main = MainText();
    return main && !main->IsEmpty();
}
