#include "core/TypeItem.h"

#include "framework/CArchive.h"

IMPLEMENT_SERIAL(CTypeItem, CCategory, VERSIONABLE_SCHEMA | 7)

CTypeItem::CTypeItem() : m_columns(DefaultShowColumns()) {}

CTypeItem::~CTypeItem() = default;
