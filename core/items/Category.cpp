#include "core/items/Category.h"

#include <cstring>

#include "core/items/ItemPacking.h"
#include "framework/CArchive.h"

IMPLEMENT_SERIAL(CCategory, CBaseItem, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CCategoryItem, CCategory, VERSIONABLE_SCHEMA | 7)

CCategory::CCategory() = default;
CCategory::~CCategory() = default;

bool CCategory::IsPresetKey() const
{
    for (int i = 0; i < kUniqueKeySize - 1; ++i)
        if (m_key[i] != 0) return false;
    return true;
}

void CCategory::CopyFrom(const CBaseItem* source)
{
    CBaseItem::CopyFrom(source);
    if (const CCategory* category = dynamic_cast<const CCategory*>(source)) m_name = category->m_name;
}

void CCategory::WriteName(uint8_t*& cursor) const { WritePackedString(cursor, m_name); }

void CCategory::ReadName(const uint8_t*& cursor, const uint8_t* end) { m_name = ReadPackedString(cursor, end); }

CCategoryItem::CCategoryItem() = default;
CCategoryItem::~CCategoryItem() = default;

size_t CCategoryItem::PackedSize() const { return kPackedHeaderSize + PackedStringSize(m_name) + kPackedTailSize; }

uint8_t* CCategoryItem::WriteBody(uint8_t* buffer) const
{
    memset(buffer, 0, kPackedHeaderSize);
    WriteBigEndian16(buffer, m_checksum);
    memcpy(buffer + 2, m_key, kUniqueKeySize);
    uint8_t* cursor = buffer + kPackedHeaderSize;
    WriteName(cursor);
    return cursor;
}

const uint8_t* CCategoryItem::ReadBody(const uint8_t* buffer, const uint8_t* end, int)
{
    if (end - buffer < static_cast<ptrdiff_t>(kPackedHeaderSize)) return buffer;
    m_checksum = ReadBigEndian16(buffer);
    SetKey(buffer + 2);
    const uint8_t* cursor = buffer + kPackedHeaderSize;
    ReadName(cursor, end);
    return cursor;
}
