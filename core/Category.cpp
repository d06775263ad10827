#include "core/Category.h"

#include <cstring>

#include "framework/CArchive.h"

IMPLEMENT_SERIAL(CCategory, CBaseItem, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CCategoryItem, CCategory, VERSIONABLE_SCHEMA | 7)

CCategory::CCategory() = default;
CCategory::~CCategory() = default;

bool CCategory::IsPresetKey() const {
    for (int i = 0; i < kUniqueKeySize - 1; ++i)
        if (m_key[i] != 0) return false;
    return true;
}

void CCategory::CopyFrom(const CBaseItem* source) {
    CBaseItem::CopyFrom(source);
    if (const CCategory* category = dynamic_cast<const CCategory*>(source)) m_name = category->m_name;
}

void CCategory::WriteName(uint8_t*& cursor) const {
    const int length = m_name.GetLength();
    memcpy(cursor, m_name.GetString(), static_cast<size_t>(length));
    cursor[length] = 0;
    cursor += length + 1;
}

void CCategory::ReadName(const uint8_t*& cursor, const uint8_t* end) { m_name = ReadPackedString(cursor, end); }

CCategoryItem::CCategoryItem() = default;
CCategoryItem::~CCategoryItem() = default;
