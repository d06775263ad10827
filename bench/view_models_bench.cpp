// The main view's portable work over N records (20 types, 8 categories, field
// 1 random words, field 10 a month-name date, every tenth record with notes):
// - the list fill: the records shown under all types, sorted by field 1;
// - a type filter switch: the records of one type, sorted, and the combo
//   entries with their counts refilled;
// - re-sorting the whole list by field 1 descending, by field 10 (dates) and
//   by the notes column (falls back to icon, type and category);
// - the tree's grouping and the panel's type rows;
// - search as you type over every field: each keystroke's list of shown
//   records, sorted, as the record list takes them (the filter combos'
//   counts ignore the search, so a keystroke searches once);
// - finding duplicates when every hundredth record repeats an earlier one.
//   view_models_bench [N ...]        (default: 10000 100000)
// Figures mean something only in a build without sanitizers (see
// database_bench.cpp).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <random>
#include <vector>

#include "core/items/Category.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "core/values/CellCompare.h"
#include "mainwindow/models/FilterComboModel.h"
#include "mainwindow/models/RecordColumns.h"
#include "mainwindow/models/RecordFilter.h"
#include "mainwindow/models/RecordGroups.h"
#include "mainwindow/upkeep/DuplicateFinder.h"
#include "bench/BenchTiming.h"

namespace {

struct Store {
    CTypesList types;
    CCategoryList categories;
    CRecordList records;
};

void Fill(Store& store, int n)
{
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    static const char* const kWords[] = {"bank", "mail", "shop", "forum", "cloud", "work", "game", "news"};
    std::mt19937 random(12345);
    uint8_t key[kUniqueKeySize];
    for (int t = 1; t <= 20; ++t) {
        CTypeItem* type = new CTypeItem;
        CString name;
        name.Format("Type %02d", 21 - t);
        type->SetName(name);
        Key(key, 1, t);
        type->SetKey(key);
        store.types.Add(type);
    }
    for (int c = 1; c <= 8; ++c) {
        CCategory* category = new CCategory;
        CString name;
        name.Format("Category %d", c);
        category->SetName(name);
        Key(key, 2, c);
        category->SetKey(key);
        store.categories.Add(category);
    }
    for (int i = 0; i < n; ++i) {
        CRecord* record = new CRecord;
        Key(key, 1, 1 + (int)(random() % 21));  // 21: unknown type, shown as unfiled by name
        record->SetTypeKey(key);
        Key(key, 2, (int)(random() % 9));
        if (key[7] == 0) key[0] = 0;  // unfiled
        record->SetCategoryKey(key);
        CString field;
        field.Format("%s %s %u", kWords[random() % 8], kWords[random() % 8], (unsigned)(random() % 100000));
        record->SetField(0, field);
        record->SetField(1, "user@example.com");
        CString date;
        date.Format("%s %.2u, %u", kMonths[random() % 12], (unsigned)(1 + random() % 28),
                    (unsigned)(2000 + random() % 25));
        record->SetField(9, date);
        if (i % 10 == 0) record->SetMainText("some notes");
        record->SetIcon((WORD)(random() % 64));
        store.records.Add(record);
    }
}

void Run(int n)
{
    Store store;
    Fill(store, n);
    const RecordNames names{store.types, store.categories};
    RecordSearch none;

    auto start = Clock::now();
    std::vector<CRecord*> rows = CollectShownRecords(store.records, KEY_ALL, KEY_ALL, none);
    SortRecords(rows, kDefaultSortKey, names);
    CFilterComboModel typeCombo(CFilterComboModel::kTypes), categoryCombo(CFilterComboModel::kCategories);
    typeCombo.Refill(store.types, store.records);
    categoryCombo.Refill(store.categories, store.records);
    std::printf("%7d records  list fill + sort + both combos   %8.1f ms  (%zu rows)\n", n, MsSince(start), rows.size());

    uint8_t typeKey[kUniqueKeySize];
    Key(typeKey, 1, 7);
    start = Clock::now();
    std::vector<CRecord*> typeRows = CollectShownRecords(store.records, typeKey, KEY_ALL, none);
    SortRecords(typeRows, kDefaultSortKey, names);
    typeCombo.Refill(store.types, store.records);
    std::printf("%7d records  type filter switch               %8.1f ms  (%zu rows)\n", n, MsSince(start),
                typeRows.size());

    const struct {
        const char* what;
        uint32_t key;
    } sorts[] = {{"re-sort field 1 descending", 0x00003},
                 {"re-sort by date (field 10)", 0x1000C},
                 {"re-sort by notes column", 0x1000D},
                 {"re-sort by type name", 0x10001}};
    for (const auto& sort : sorts) {
        start = Clock::now();
        SortRecords(rows, sort.key, names);
        std::printf("%7d records  %-32s %8.1f ms\n", n, sort.what, MsSince(start));
    }

    start = Clock::now();
    std::vector<RecordGroup> groups = BuildTreeGroups(typeCombo, store.records, KEY_ALL, none);
    std::printf("%7d records  tree grouping                    %8.1f ms  (%zu nodes)\n", n, MsSince(start),
                groups.size());
    start = Clock::now();
    std::vector<RecordGroup> panel = BuildPanelTypeRows(store.types, store.records, KEY_ALL, none);
    std::printf("%7d records  panel type rows                  %8.1f ms  (%zu rows)\n", n, MsSince(start),
                panel.size());

    // Typing "bank 4" into the search box, every field searched.
    const char* const typed = "bank 4";
    RecordSearch search;
    search.fieldMask = 0xFFFF;
    double slowest = 0, total = 0, searching = 0;
    size_t shown = 0;
    for (size_t len = 1; typed[len - 1] != 0; ++len) {
        search.text = CString(std::string(typed, len).c_str());
        start = Clock::now();
        std::vector<CRecord*> found = CollectShownRecords(store.records, KEY_ALL, KEY_ALL, search);
        searching += MsSince(start);
        SortRecords(found, kDefaultSortKey, names);
        const double ms = MsSince(start);
        total += ms;
        if (ms > slowest) slowest = ms;
        shown = found.size();
    }
    const size_t keys = std::strlen(typed);
    std::printf(
        "%7d records  search keystroke, all fields     %8.1f ms mean, %.1f ms slowest, the search alone %.1f ms "
        "mean  (%zu rows)\n",
        n, total / keys, slowest, searching / keys, shown);

    const std::vector<CRecord*> originals = CollectShownRecords(store.records, KEY_ALL, KEY_ALL, none);
    for (size_t i = 0; i < originals.size(); i += 100) {
        CRecord* copy = new CRecord;
        copy->CopyFrom(originals[i]);
        store.records.Add(copy);
    }
    start = Clock::now();
    CDuplicateFinder finder(store.records, [](const CRecord&, const CRecord&) { return true; });
    const size_t duplicates = finder.Find().size();
    std::printf("%7d records  find duplicates                  %8.1f ms  (%zu found)\n", n, MsSince(start), duplicates);
}

}  // namespace

int main(int argc, char** argv)
{
    SetLocaleFormats('.', '/', kDateOrderMonthDayYear);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000};
    for (int n : sizes) Run(n);
    return 0;
}
