#pragma once
// CTypeItem: a record type. Its field strings are the labels of its records'
// ten fields; it keeps the record list's column layout for its records.
#include "core/items/Category.h"
#include "core/items/ShowColumns.h"

class CTypeItem : public CCategory {
    DECLARE_SERIAL(CTypeItem)

public:
    CTypeItem();
    ~CTypeItem() override;

    int GetItemKind() const override { return kItemKindType; }

    // Header: key at 2-9, icon at 10-11, hidden mask at 12-13, the rest
    // zero; body: the name and the ten labels.
    size_t PackedSize() const override;
    uint8_t* WriteBody(uint8_t* buffer) const override;
    const uint8_t* ReadBody(const uint8_t* buffer, const uint8_t* end, int schema) override;
    // The item record, then the 96-byte column layout (files of version 5 and
    // older carry one that is not used: the type gets the default layout).
    void Serialize(CArchive& ar) override;

    CShowColumns& GetColumns() { return m_columns; }
    const CShowColumns& GetColumns() const { return m_columns; }

protected:
    void FillOldSchemaDefaults() override;

    CShowColumns m_columns;
};
