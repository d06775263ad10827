#include "bench/BenchRecords.h"

#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"

const CBaseItem* ItemAt(const CObjectList& list, int n)
{
    POSITION pos = list.FindIndex(n % static_cast<int>(list.GetCount()));
    return static_cast<const CBaseItem*>(list.GetAt(pos));
}

void SetLoginFields(CRecord& record, int n, int account)
{
    CString text;
    text.Format("Account number %d at a bank", account);
    record.SetField(0, text);
    text.Format("user%d@example.com", n);
    record.SetField(1, text);
    text.Format("Pw!%08x", n * 2654435761u);
    record.SetField(2, text);
    text.Format("https://login.example%d.com/signin", n % 500);
    record.SetField(3, text);
}

void FillRecords(CDatabaseObj& db, int count, const BenchFill& fill)
{
    if (db.GetTypes().GetCount() == 0) CreateDefaultTypes(db.GetTypes());
    if (db.GetCategories().GetCount() == 0) CreateDefaultCategories(db.GetCategories());
    for (int n = fill.first; n < fill.first + count; ++n) {
        CRecord* r = new CRecord;
        SetLoginFields(*r, n, fill.scatteredAccounts ? (int)((n * 2654435761u) % 1000003u) : n);
        r->SetField(9, "December 10, 2026");
        CString text;
        text.Format("Security question: first pet's name is Rex %d.\r\nSecond line, with a comma.", n);
        r->SetNotes(text);
        r->SetTypeKey(ItemAt(db.GetTypes(), n)->GetKey());
        r->SetCategoryKey(ItemAt(db.GetCategories(), n / 7)->GetKey());
        if (fill.labels && n % 5 == 0) {
            CStringArray labels;
            for (int i = 0; i < kItemFieldCount; ++i) labels.Add(i == 2 ? "PIN" : "");
            r->SetCustomLabels(labels);
        }
        r->SetId(n + 1);
        db.GetRecords().Add(r);
    }
}
