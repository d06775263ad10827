#pragma once
// What the handheld database tests share: the three item lists and the
// sync's table of one read, read in the session's order, and their text
// form as the fixture generator writes it ("<fixture>.expected").
#include <string>

#include "core/items/RecordList.h"
#include "core/items/UniqueList.h"
#include "sync/handheld/HandheldDatabase.h"
#include "sync/handheld/IPhoneRecordTable.h"

namespace zvtest {

struct HandheldLists {
    CCategoryList categories;
    CTypesList types;
    CRecordList records;
    CiPhoneRecordTable table;
};

// Info, categories, types, records, then the three edited lists, stopping
// at the first failure: its result, or 0.
int ReadAll(CHandheldDatabase& database, HandheldLists& lists, CHandheldDatabaseInfo* info = nullptr);
// OpenHandheldDatabase and ReadAll on a file.
int ReadFile(const std::string& path, HandheldLists& lists, CHandheldDatabaseInfo* info = nullptr);

// One line per item: "C", "T", "R", then "I" lines of the table by id.
// With withCustomKeys false, the custom type keys (new at every write-back)
// are left out.
std::string Dump(const HandheldLists& lists, bool withCustomKeys = true);

// Writes the lists back into the file in the session's order; the result.
int WriteBack(const std::string& path, const CSecretString& password, HandheldLists& lists,
              const std::vector<CString>& deletedIds = {});

std::string HandheldFixture(const std::string& name);

}  // namespace zvtest
