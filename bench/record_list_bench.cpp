// The main view's record list over N records (20 types, 8 categories, field 1
// random words, field 10 a month-name date, every tenth record with notes),
// in a view window of its own with the list control, as the program fills it:
// - FillRecordList: every record under all types, sorted by field 1;
// - SortRecordList from header clicks: field 1 descending, field 10 (dates)
//   ascending, the notes column (falls back to icon, type and category).
// Windows build, on a display (the list is a real list view):
//   xvfb-run -a wine build/windows/bin/record_list_bench.exe [N ...]   (default: 10000 100000)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Category.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/models/RecordColumns.h"
#include "mainwindow/models/RecordFilter.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "bench/BenchTiming.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

void Fill(CDatabaseObj& db, int n)
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
        db.GetTypes().Add(type);
    }
    for (int c = 1; c <= 8; ++c) {
        CCategory* category = new CCategory;
        CString name;
        name.Format("Category %d", c);
        category->SetName(name);
        Key(key, 2, c);
        category->SetKey(key);
        db.GetCategories().Add(category);
    }
    for (int i = 0; i < n; ++i) {
        CRecord* record = new CRecord;
        Key(key, 1, 1 + (int)(random() % 20));
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
        db.GetRecords().Add(record);
    }
}

// A click on a header item as the list passes it to the view.
void ClickHeader(CZorvikanDesktopView& view, int item)
{
    NMHEADERA nm{};
    nm.hdr.hwndFrom = view.GetRecordList().GetHeaderCtrl()->m_hWnd;
    nm.hdr.code = HDN_ITEMCLICKA;
    nm.iItem = item;
    ::SendMessageA(view.m_hWnd, WM_NOTIFY, 0, (LPARAM)&nm);
}

void Run(int n)
{
    auto* view = static_cast<CZorvikanDesktopView*>(RUNTIME_CLASS(CZorvikanDesktopView)->CreateObject());
    if (!view->CreateEx(0, nullptr, "bench", WS_POPUP, CRect(0, 0, 900, 600), nullptr, 0)) {
        std::printf("no window\n");
        std::exit(1);
    }
    view->GetRecordList().Create(CRect(0, 0, 900, 600), view, IDC_RECORD_LIST);
    view->GetRecordList().ShowWindow(SW_SHOW);
    view->LoadListColumns(false);
    Fill(view->GetDatabase(), n);

    // The portable half alone: which records, in which order.
    auto start = Clock::now();
    std::vector<CRecord*> shown =
        CollectShownRecords(view->GetDatabase().GetRecords(), KEY_ALL, KEY_ALL, RecordSearch());
    SortRecords(shown, kDefaultSortKey,
                RecordNames{view->GetDatabase().GetTypes(), view->GetDatabase().GetCategories()});
    std::printf("%7d records  of which collecting and sorting          %8.1f ms\n", n, MsSince(start));

    start = Clock::now();
    view->FillRecordList();
    view->GetRecordList().UpdateWindow();
    std::printf("%7d records  FillRecordList (field 1 ascending)  %8.1f ms  (%d rows)\n", n, MsSince(start),
                view->GetRecordList().GetItemCount());
    const struct {
        const char* what;
        int headerItem;
    } sorts[] = {{"field 1 descending", 3}, {"field 10 (dates)", 12}, {"notes column", 13}, {"field 1 again", 3}};
    for (const auto& sort : sorts) {
        start = Clock::now();
        ClickHeader(*view, sort.headerItem);
        view->GetRecordList().UpdateWindow();
        std::printf("%7d records  SortRecordList: %-18s   %8.1f ms\n", n, sort.what, MsSince(start));
    }
    view->DestroyWindow();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000};
    for (int n : sizes) Run(n);
    return 0;
}
