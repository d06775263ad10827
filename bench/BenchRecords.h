#pragma once
// The login records the benchmarks generate, the same from one bench to the
// next so their figures compare.
class CBaseItem;
class CDatabaseObj;
class CObjectList;
class CRecord;

// The item at n, wrapping round the list's length.
const CBaseItem* ItemAt(const CObjectList& list, int n);

// Fields 0 to 3 of login n: "Account number <account> at a bank", its
// user, password and address (500 sites).
void SetLoginFields(CRecord& record, int n, int account);

struct BenchFill {
    // Number of the first record; a record's id is its number plus one.
    int first = 0;
    // Field 0's account number scattered over a million instead of the
    // record's number, so the list's sort by it is not the insertion order.
    bool scatteredAccounts = false;
    // Every fifth record with its own labels ("PIN" for field 2).
    bool labels = true;
};

// Records over the default types and categories (made when the database has
// none), each with its date in field 9 and two lines of notes.
void FillRecords(CDatabaseObj& db, int count, const BenchFill& fill = BenchFill());
