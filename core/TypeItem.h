#pragma once
// CTypeItem: a record type. Its field strings are the labels of its records'
// ten fields; it keeps the record list's column layout for its records.
#include "core/Category.h"
#include "core/ShowColumns.h"

class CTypeItem : public CCategory {
    DECLARE_SERIAL(CTypeItem)

public:
    CTypeItem();
    ~CTypeItem() override;

    int GetItemKind() const override { return kItemKindType; }

    CShowColumns& GetColumns() { return m_columns; }
    const CShowColumns& GetColumns() const { return m_columns; }

protected:
    CShowColumns m_columns;
};
