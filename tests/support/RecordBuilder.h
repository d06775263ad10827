#pragma once
// Small record stores built in memory for the tests of what the main window
// shows: types, categories and records with chosen keys and fields.
#include <cstdint>
#include <initializer_list>

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"

namespace zvtest {

// A key 00 .. 00 nn: distinct, and never one of the filter keys for nn
// other than 0.
struct TestKey {
    uint8_t b[kUniqueKeySize] = {};
    explicit TestKey(uint8_t last) { b[kUniqueKeySize - 1] = last; }
};

class RecordBuilder {
public:
    CTypeItem* AddType(const char* name, uint8_t key)
    {
        CTypeItem* type = new CTypeItem;
        type->SetName(name);
        type->SetKey(TestKey(key).b);
        types.Add(type);
        return type;
    }
    CCategory* AddCategory(const char* name, uint8_t key)
    {
        CCategory* category = new CCategory;
        category->SetName(name);
        category->SetKey(TestKey(key).b);
        categories.Add(category);
        return category;
    }
    // A record of type typeKey and category categoryKey (0: unfiled) with
    // fields 1, 2, ... as given.
    CRecord* AddRecord(uint8_t typeKey, uint8_t categoryKey, std::initializer_list<const char*> fields)
    {
        CRecord* record = new CRecord;
        record->SetTypeKey(TestKey(typeKey).b);
        record->SetCategoryKey(TestKey(categoryKey).b);
        int i = 0;
        for (const char* field : fields) record->SetField(i++, field);
        records.Add(record);
        return record;
    }

    CTypesList types;
    CCategoryList categories;
    CRecordList records;
};

}  // namespace zvtest
