// The handheld database of a Wi-Fi sync: write-back (one transaction) and
// read of a file of N records, with and without the field cipher.
//   handheld_bench [N ...]        (default: 10000 50000)
// Figures mean something only in a build without sanitizers:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZV_SANITIZERS=OFF -DZV_BUILD_TESTS=OFF
//   cmake --build build/bench --target handheld_bench && build/bench/bin/handheld_bench
// The file is made here with the handheld's schema and an information row,
// then filled by the write-back itself; every figure is the best of five.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "sync/handheld/HandheldDatabase.h"
#include "sync/handheld/IPhoneRecordTable.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kSchema[] = {
    "CREATE TABLE CATAGORIESTABLE (UID TEXT PRIMARY KEY, NAME BLOB);",
    "CREATE TABLE TYPESTABLE (UID TEXT PRIMARY KEY, NAME BLOB, ICONID INTEGER, MASK INTEGER, FIELD1 BLOB, FIELD2 "
    "BLOB, FIELD3 BLOB, FIELD4 BLOB, FIELD5 BLOB, FIELD6 BLOB, FIELD7 BLOB, FIELD8 BLOB, FIELD9 BLOB, FIELD10 BLOB);",
    "CREATE TABLE CUSTOMTYPESTABLE (UID TEXT PRIMARY KEY, NAME BLOB, ICONID INTEGER, MASK INTEGER, FIELD1 BLOB, "
    "FIELD2 BLOB, FIELD3 BLOB, FIELD4 BLOB, FIELD5 BLOB, FIELD6 BLOB, FIELD7 BLOB, FIELD8 BLOB, FIELD9 BLOB, FIELD10 "
    "BLOB);",
    "CREATE TABLE RECORDSTABLE (UID TEXT PRIMARY KEY, DUID INTEGER UNIQUE, PALMUID INTEGER, CATEGORYUID TEXT, "
    "TYPEUID TEXT, VALUE1 BLOB, VALUE2 BLOB, VALUE3 BLOB, VALUE4 BLOB, VALUE5 BLOB, VALUE6 BLOB, VALUE7 BLOB, VALUE8 "
    "BLOB, VALUE9 BLOB, VALUE10 BLOB, NOTES BLOB, HASCUSTOMFIELD INTEGER, CUSTOMTYPEUID TEXT, FLAGS INTEGER, "
    "ATTACHMENTNAME BLOB, ATTACHMENTKEY BLOB, RESERVED INTEGER);",
    "CREATE TABLE DATABASEINFOTABLE (DATABASENAME TEXT PRIMARY KEY, VERSION INTEGER, PASSWORDCRIB BLOB, PASSWORD "
    "BLOB, DATECREATED INTEGER, USERNAME TEXT, USERID TEXT);",
    "CREATE TABLE DELETEDTYPESTABLE (UID TEXT PRIMARY KEY);",
    "CREATE TABLE DELETEDCATAGORIESTABLE (UID TEXT PRIMARY KEY);",
    "CREATE TABLE DELETEDRECORDSTABLE (UID TEXT PRIMARY KEY, DUID INTEGER);",
    "CREATE TABLE EDITEDTYPESTABLE (UID TEXT);",
    "CREATE TABLE EDITEDCATAGORIESTABLE (UID TEXT);",
    "CREATE TABLE EDITEDRECORDSTABLE (UID TEXT, DUID INTEGER);",
    "INSERT INTO DATABASEINFOTABLE VALUES ('Zorvikan', 3, NULL, NULL, 0, 'Bench', 'bench');",
};

struct Lists {
    CCategoryList categories;
    CTypesList types;
    CRecordList records;
    CiPhoneRecordTable table;
};

// N records of 10 types and 20 categories, each with five field values, a
// date and notes; one in ten with a label of its own.
void MakeLists(Lists& lists, int n)
{
    for (int i = 0; i < 10; ++i) {
        auto* type = new CTypeItem;
        uint8_t key[8] = {0, 0, 0, 0, 0, 1, 0, static_cast<uint8_t>(i + 1)};
        type->SetKey(key);
        type->SetMainText(CString("Type ") + CString(std::to_string(i).c_str()));
        for (int f = 0; f < kItemFieldCount; ++f) type->SetField(f, DefaultFieldLabel(f));
        lists.types.Add(type);
    }
    for (int i = 0; i < 20; ++i) {
        auto* category = new CCategoryItem;
        uint8_t key[8] = {0, 0, 0, 0, 0, 2, 0, static_cast<uint8_t>(i + 1)};
        category->SetKey(key);
        category->SetMainText(CString("Category ") + CString(std::to_string(i).c_str()));
        lists.categories.Add(category);
    }
    for (int i = 0; i < n; ++i) {
        auto* record = new CRecord;
        record->SetId(100000 + i);
        uint8_t uid[8] = {0xA0,
                          0,
                          0,
                          0,
                          static_cast<uint8_t>(i >> 24),
                          static_cast<uint8_t>(i >> 16),
                          static_cast<uint8_t>(i >> 8),
                          static_cast<uint8_t>(i)};
        record->SetUid(uid);
        auto* type = static_cast<const CTypeItem*>(lists.types.FindByKey(lists.types.GetKeyAt(i % 10)));
        record->SetType(type);
        record->SetCategoryKey(lists.categories.GetKeyAt(i % 20));
        std::string n_ = std::to_string(i);
        record->SetField(0, CString(("Login number " + n_).c_str()));
        record->SetField(1, CString(("user" + n_ + "@example.com").c_str()));
        record->SetField(2, CString(("pw-" + n_ + "-x7!Qz").c_str()));
        record->SetField(3, CString(("https://site" + n_ + ".example.com/login").c_str()));
        record->SetField(4, "Some further value");
        record->SetField(9, "March 05, 2009");
        record->SetNotes(CString(("Notes of record " + n_ + ", a line or two of text as people write them.").c_str()));
        if (i % 10 == 0) record->SetFieldLabel(1, "Login", type);
        lists.records.Add(record);
    }
}

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

void Run(int n, const char* password)
{
    fs::path path = fs::temp_directory_path() / ("zv_handheld_bench_" + std::to_string(n) + ".db");
    fs::remove(path);
    {
        CSQLiteDBWrapper db(path.string().c_str(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        for (const char* sql : kSchema)
            if (db.Exec(sql) != SQLITE_OK) std::abort();
    }
    Lists lists;
    MakeLists(lists, n);

    double bestWrite = 1e30, bestRead = 1e30;
    int readCount = 0;
    for (int round = 0; round < 5; ++round) {
        auto start = Clock::now();
        std::unique_ptr<CHandheldDatabase> writer = OpenHandheldDatabaseForWrite(path.string().c_str(), password);
        if (writer->BeginWriteBack() || writer->WriteCategories(lists.categories) || writer->WriteTypes(lists.types) ||
            writer->WriteRecords(lists.records, lists.types, lists.categories, lists.table) ||
            writer->CommitWriteBack(lists.table))
            std::abort();
        writer->Close();
        bestWrite = std::min(bestWrite, Ms(start, Clock::now()));

        Lists read;
        start = Clock::now();
        std::unique_ptr<CHandheldDatabase> reader = OpenHandheldDatabase(path.string().c_str());
        CHandheldDatabaseInfo info;
        if (reader->ReadInfo(info)) std::abort();
        reader->SetFieldPassword(password);
        if (reader->ReadCategories(read.categories) || reader->ReadTypes(read.types) ||
            reader->ReadRecords(read.records, read.types, read.table) ||
            reader->ApplyEditedCategories(read.categories) || reader->ApplyEditedTypes(read.types) ||
            reader->ApplyEditedRecords(read.records))
            std::abort();
        reader->Close();
        bestRead = std::min(bestRead, Ms(start, Clock::now()));
        readCount = read.records.GetCount();
    }
    std::printf("%6d records, %-9s write-back %7.1f ms   read %7.1f ms   (%d read, file %.1f MB)\n", n,
                *password ? "cipher" : "plain", bestWrite, bestRead, readCount,
                static_cast<double>(fs::file_size(path)) / (1024 * 1024));
    fs::remove(path);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 50000};
    for (int n : sizes) {
        Run(n, "");
        Run(n, "handheld password");
    }
    return 0;
}
