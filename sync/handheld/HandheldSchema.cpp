#include "sync/handheld/HandheldSchema.h"

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "sync/handheld/HandheldResult.h"
#include "sync/handheld/HandheldStatement.h"
#include "sync/handheld/SQLiteDBWrapper.h"

namespace {

// Instructions between two looks at the clock.
const int kProgressInstructions = 1000;

// Each column of a table by what it holds: 'T' uid or text, 'I' integer,
// 'B' ciphered field, 'N' number of any kind. A table marked open may have
// more columns than these (the handheld's edited lists are read by position
// and only ever emptied).
struct ExpectedTable {
    const char* name;
    const char* columns;
    bool open;
};

const ExpectedTable kTables[] = {
    {"CATAGORIESTABLE", "TB", false},
    {"TYPESTABLE", "TBIIBBBBBBBBBB", false},
    {"CUSTOMTYPESTABLE", "TBIIBBBBBBBBBB", false},
    {"RECORDSTABLE", "TIITTBBBBBBBBBBBITIBBI", false},
    {"DATABASEINFOTABLE", "TIBBNTT", false},
    {"DELETEDTYPESTABLE", "T", false},
    {"DELETEDCATAGORIESTABLE", "T", false},
    {"DELETEDRECORDSTABLE", "TI", false},
    {"EDITEDTYPESTABLE", "T", true},
    {"EDITEDCATAGORIESTABLE", "T", true},
    {"EDITEDRECORDSTABLE", "TI", true},
};

int PastDeadline(void* context)
{
    const int64_t* deadline = static_cast<const int64_t*>(context);
    return HandheldClockMs() >= *deadline ? 1 : 0;
}

bool SameName(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != b[i]) return false;
    }
    return true;
}

// Whether values of the kind written into a column of this affinity read
// back as the kind: text stays text only under TEXT affinity, integers stay
// integers under INTEGER and NUMERIC, the ciphered fields are BLOBs that no
// affinity changes (TEXT and BLOB are what a handheld declares).
bool Fits(char kind, char affinity)
{
    switch (kind) {
    case 'T': return affinity == 'T';
    case 'I': return affinity == 'I' || affinity == 'N';
    case 'N': return affinity == 'I' || affinity == 'N' || affinity == 'R';
    default: return affinity == 'B' || affinity == 'T';
    }
}

// A TEXT or NULL column's bytes; a value of another type reads as no name.
std::string Text(CHandheldStatement& statement, int column)
{
    const void* data = nullptr;
    int length = 0;
    if (statement.Bytes(column, data, length) != kHandheldOk || !data) return std::string();
    return std::string(static_cast<const char*>(data), static_cast<size_t>(length));
}

int CheckColumns(CSQLiteDBWrapper& db, const ExpectedTable& table)
{
    CHandheldStatement info(&db);
    const std::string sql = std::string("PRAGMA table_xinfo(\"") + table.name + "\");";
    HH_CHECK(info.Prepare(sql.c_str()));
    const size_t wanted = std::strlen(table.columns);
    size_t count = 0;
    int row;
    while ((row = info.NextRow(7)) == 1) {
        int64_t hidden = 0;
        if (info.Integer(6, hidden) != kHandheldOk || hidden != 0) return kHandheldForeignSchema;
        if (count < wanted && !Fits(table.columns[count], DeclaredAffinity(Text(info, 2).c_str())))
            return kHandheldForeignSchema;
        ++count;
    }
    if (row < 0) return row == kHandheldBadRow ? kHandheldForeignSchema : row;
    if (count == 0) return kHandheldNotReadable;  // no such table
    if (count < wanted || (count > wanted && !table.open)) return kHandheldForeignSchema;
    return kHandheldOk;
}

}  // namespace

int64_t HandheldClockMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void GuardHandheldConnection(CSQLiteDBWrapper& db, const int64_t* deadlineMs)
{
    db.ConfigFlag(SQLITE_DBCONFIG_DEFENSIVE, 1);
    db.ConfigFlag(SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0);
    db.SetProgressHandler(kProgressInstructions, &PastDeadline, const_cast<int64_t*>(deadlineMs));
}

char DeclaredAffinity(const char* declaredType)
{
    std::string type(declaredType ? declaredType : "");
    for (char& c : type)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    auto has = [&type](const char* part) { return type.find(part) != std::string::npos; };
    if (has("INT")) return 'I';
    if (has("CHAR") || has("CLOB") || has("TEXT")) return 'T';
    if (type.empty() || has("BLOB")) return 'B';
    if (has("REAL") || has("FLOA") || has("DOUB")) return 'R';
    return 'N';
}

int CheckHandheldSchema(CSQLiteDBWrapper& db)
{
    CHandheldStatement objects(&db);
    HH_CHECK(objects.Prepare("SELECT type, name, rootpage FROM sqlite_master;"));
    std::vector<bool> found(sizeof kTables / sizeof kTables[0], false);
    int row;
    while ((row = objects.NextRow(3)) == 1) {
        const std::string type = Text(objects, 0);
        const std::string name = Text(objects, 1);
        int64_t rootPage = 0;
        if (objects.Integer(2, rootPage) != kHandheldOk) return kHandheldForeignSchema;
        if (type == "index") continue;
        // Views and triggers run queries of the file's own; a table without
        // pages of its own is a virtual table.
        if (type != "table" || rootPage <= 0) return kHandheldForeignSchema;
        for (size_t i = 0; i < found.size(); ++i)
            if (SameName(name, kTables[i].name)) found[i] = true;
    }
    if (row < 0) return row == kHandheldBadRow ? kHandheldForeignSchema : row;
    for (size_t i = 0; i < found.size(); ++i) {
        if (!found[i]) return kHandheldNotReadable;
        HH_CHECK(CheckColumns(db, kTables[i]));
    }
    return kHandheldOk;
}
