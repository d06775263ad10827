#include "core/items/TypeItem.h"

#include <cstring>

#include "core/items/ItemPacking.h"
#include "framework/CArchive.h"

IMPLEMENT_SERIAL(CTypeItem, CCategory, VERSIONABLE_SCHEMA | 7)

CTypeItem::CTypeItem() : m_columns(DefaultShowColumns()) {}

CTypeItem::~CTypeItem() = default;

size_t CTypeItem::PackedSize() const
{
    size_t size = kPackedHeaderSize + PackedStringSize(m_name) + kPackedTailSize;
    for (const CString& label : m_fields) size += PackedStringSize(label);
    return size;
}

uint8_t* CTypeItem::WriteBody(uint8_t* buffer) const
{
    memset(buffer, 0, kPackedHeaderSize);
    WriteBigEndian16(buffer, m_checksum);
    memcpy(buffer + 2, m_key, kUniqueKeySize);
    WriteBigEndian16(buffer + 10, m_icon);
    WriteBigEndian16(buffer + 12, m_hiddenMask);
    uint8_t* cursor = buffer + kPackedHeaderSize;
    WriteName(cursor);
    for (const CString& label : m_fields) WritePackedString(cursor, label);
    return cursor;
}

const uint8_t* CTypeItem::ReadBody(const uint8_t* buffer, const uint8_t* end, int schema)
{
    if (end - buffer < static_cast<ptrdiff_t>(kPackedHeaderSize)) return buffer;
    m_checksum = ReadBigEndian16(buffer);
    SetKey(buffer + 2);
    m_icon = ReadBigEndian16(buffer + 10);
    m_hiddenMask = ReadBigEndian16(buffer + 12);
    const uint8_t* cursor = buffer + kPackedHeaderSize;
    ReadName(cursor, end);
    ReadFieldStrings(cursor, end, schema < 6 ? 6 : kItemFieldCount);
    if (schema < 6) FillOldSchemaDefaults();
    return cursor;
}

void CTypeItem::FillOldSchemaDefaults() { m_fields[kItemFieldCount - 1] = "Date Mod"; }

void CTypeItem::Serialize(CArchive& ar)
{
    CBaseItem::Serialize(ar);
    if (ar.IsLoading() && ar.GetObjectSchema() <= 5) {
        CShowColumns unused(DefaultShowColumns());
        unused.Serialize(ar);
        m_columns = DefaultShowColumns();
        return;
    }
    m_columns.Serialize(ar);
}
