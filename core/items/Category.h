#pragma once
// CCategory: an item with a name, the base of types and categories (never
// stored by itself); CCategoryItem: a record category.
#include "core/items/BaseItem.h"

class CCategory : public CBaseItem {
    DECLARE_SERIAL(CCategory)

public:
    CCategory();
    ~CCategory() override;

    // Built-in items have keys whose bytes 0..6 are all zero.
    bool NeedsTombstone() const override { return IsPresetKey() || m_id != 0; }
    bool IsPresetKey() const override;
    void CopyFrom(const CBaseItem* source) override;

    CString GetName() const override { return m_name; }
    void SetName(const CString& name) { m_name = name; }
    int NameSize() const override { return m_name.GetLength() + 1; }
    void WriteName(uint8_t*& cursor) const override;
    void ReadName(const uint8_t*& cursor, const uint8_t* end) override;

protected:
    CString* MainText() override { return &m_name; }

    CString m_name;
};

class CCategoryItem : public CCategory {
    DECLARE_SERIAL(CCategoryItem)

public:
    CCategoryItem();
    ~CCategoryItem() override;

    int GetItemKind() const override { return kItemKindCategory; }

    // Header: key at 2-9, the rest zero; body: the name.
    size_t PackedSize() const override;
    uint8_t* WriteBody(uint8_t* buffer) const override;
    const uint8_t* ReadBody(const uint8_t* buffer, const uint8_t* end, int schema) override;
};
