#pragma once
// CSmartType: one smart list (recently added, modified or viewed) of at
// most ten records of the view's database, oldest first; CMostViewed keeps
// the records viewed most often. The lists do not own their records: the
// manager's owner must reset them whenever the database's records are
// replaced or freed.
#include "app/history/SmartTypesSerializer.h"
#include "framework/CArray.h"

class CRecord;
class CRecordList;

typedef CArray<CRecord*, CRecord*> CRecordPtrArray;

class CSmartType {
public:
    static const int kCapacity = 10;

    CSmartType(int kind, CSmartTypesSerializer* serializer, int capacity = kCapacity);
    virtual ~CSmartType();

    // Appends the record unless it is held already (same item id); the
    // oldest entries go to make room.
    virtual void Add(CRecord* record);
    // Removes this very record object.
    virtual void Remove(CRecord* record);
    // Loads the list on first use, then appends its records, oldest first.
    virtual void GetRecords(const CRecordList& records, CRecordPtrArray& out);
    // Not loaded, no entries; the document is not touched.
    virtual void Reset();
    virtual bool Contains(CRecord* record) const;
    // Replaces the kind's ids in the document with the entries'.
    virtual void Save();
    // Once: the stored ids whose records exist and are not deleted, each
    // through Add.
    virtual void Load(const CRecordList& records);

    int GetKind() const { return m_kind; }
    int GetCount() const { return (int)m_entries.GetSize(); }
    CRecord* GetAt(int index) const { return m_entries[index]; }
    bool IsLoaded() const { return m_loaded != 0; }

protected:
    int m_capacity;
    CRecordPtrArray m_entries;
    CSmartTypesSerializer* m_serializer;
    int m_kind;
    int m_loaded = 0;
};

class CMostViewed : public CSmartType {
public:
    CMostViewed(CSmartTypesSerializer* serializer, int capacity = kCapacity);

    // Appends while there is room; in a full list the record takes the place
    // of the least viewed entry when it has been viewed more often.
    void Add(CRecord* record) override;
    // The entry with the lowest view count, the last of equals; -1 when empty.
    int IndexOfLeastViewed() const;
};
