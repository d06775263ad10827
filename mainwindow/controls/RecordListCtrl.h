#pragma once
// CRecordListCtrl: the main view's record list, an owner-drawn report list
// whose rows are the database's records.
#include "toolkit/lists/OwnerListCtrl.h"

class CRecordListCtrl : public COwnerListCtrl {
    DECLARE_DYNAMIC(CRecordListCtrl)
public:
    CRecordListCtrl() = default;
};
