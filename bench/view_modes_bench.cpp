// The real main view filling its controls over N records (20 types, field 1
// random words), made by the document template as the program makes it, on
// a scratch data root under the system's temporary folder:
// - the first update (open the database, fill the list in list mode);
// - tree mode, a refill of the tree, panel mode and back to list mode;
// - a type filter switch in list mode to the first type (the type combo's
//   choice) and back to all types;
// - re-sorting the list by a header click, twice.
// Windows build, on a display (Xvfb), under Wine:
//   xvfb-run -a wine build/windows/bin/view_modes_bench.exe [N ...]   (default 10000 100000)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "app/frame/MainFrm.h"
#include "app/frame/ZorvikanDesktopDoc.h"
#include "app/res/Resource.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "framework/DocTemplate.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "toolkit/ToolkitIds.h"
#include "bench/BenchTiming.h"
#include "bench/BenchWindow.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

void WriteDatabase(const CString& folder, int n)
{
    static const char* const kWords[] = {"bank", "mail", "shop", "forum", "cloud", "work", "game", "news"};
    std::mt19937 random(12345);
    CDatabaseObj db;
    if (db.OpenInFolder(folder) != 0) return;
    std::vector<CTypeItem*> types;
    for (int t = 1; t <= 20; ++t) {
        auto* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
        CString name;
        name.Format("Bench type %02d", t);
        type->SetName(name);
        uint8_t key[kUniqueKeySize] = {0x42, 0, 0, 0, 0, 0, 0, (uint8_t)t};
        type->SetKey(key);
        db.GetTypes().Add(type);
        types.push_back(type);
    }
    // New ids are checked against an index of those in use, not by walking
    // the lists for every record: once the 16-bit ids run out, every draw
    // would walk them.
    CDatabaseIdIndexScope ids(db);
    for (int i = 0; i < n; ++i) {
        auto* record = static_cast<CRecord*>(db.GetRecords().NewItem());
        record->SetTypeKey(types[random() % types.size()]->GetKey());
        CString text;
        text.Format("%s %s %d", kWords[random() % 8], kWords[random() % 8], (int)(random() % 100000));
        record->SetField(0, text);
        record->SetField(1, "user");
        db.GetRecords().Add(record);
    }
    db.Save();
}

struct Run {
    std::unique_ptr<CSingleDocTemplate> docTemplate;
    CMainFrame* frame = nullptr;
    CZorvikanDesktopView* view = nullptr;
};

double Timed(CZorvikanDesktopView* view, UINT command)
{
    const Clock::time_point start = Clock::now();
    ::SendMessageA(view->m_hWnd, WM_COMMAND, command, 0);
    Pump();
    return MsSince(start);
}

void Bench(int n)
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::filesystem::path root = std::filesystem::path(temp) / ("zv-view-bench-" + std::to_string(n));
    CUserItem* user = OpenScratchUser(root);
    if (!user) {
        Print("no user\n");
        return;
    }
    const Clock::time_point written = Clock::now();
    WriteDatabase(CAppPrefMgr::GetInstance()->GetUserDirectory(user), n);
    Print("%7d records: database written in %8.1f ms\n", n, MsSince(written));
    CAppPrefMgr::GetInstance()->GetPrefs()->SetLatestView(user, 0);

    Run run;
    run.docTemplate =
        std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RUNTIME_CLASS(CZorvikanDesktopDoc),
                                             RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CZorvikanDesktopView));
    run.docTemplate->LoadTemplate();
    theApp.m_pMainWnd = nullptr;
    theApp.m_nCmdShow = -1;
    Clock::time_point start = Clock::now();
    run.docTemplate->OpenDocumentFile(nullptr);
    run.frame = theApp.GetMainFrame();
    run.view = run.frame ? static_cast<CZorvikanDesktopView*>(run.frame->GetMainView()) : nullptr;
    if (!run.view) {
        std::printf("no view\n");
        return;
    }
    run.frame->ShowWindow(SW_SHOW);
    Pump();
    const double startup = MsSince(start);
    const int listRows = run.view->GetRecordList().GetItemCount();
    // Each figure as soon as it is known: a size too large for one phase
    // still shows where the time went.
    Print("%7d records: first update %8.1f ms (list rows %d)\n", n, startup, listRows);

    const double tree = Timed(run.view, ID_VIEW_TREE);
    const int treeNodes = (int)run.view->GetTree().GetCount();
    Print("               tree mode %8.1f ms (%d nodes)\n", tree, treeNodes);
    // A refill in tree mode (a search, an edit): the tree emptied and filled again.
    const Clock::time_point refillStart = Clock::now();
    run.view->FillTree(nullptr);
    Pump();
    Print("             tree refill %8.1f ms\n", MsSince(refillStart));
    const double panel = Timed(run.view, ID_VIEW_PANEL);
    const int panelRows = run.view->GetPanelRecords().GetItemCount();
    Print("              panel mode %8.1f ms (%d description rows)\n", panel, panelRows);
    // Panel mode's parts: the type rows, one type's records, the smart lists.
    auto timedCall = [&](auto&& call) {
        const Clock::time_point s = Clock::now();
        call();
        Pump();
        return MsSince(s);
    };
    const double panelTypes = timedCall([&] { run.view->FillPanelTypes(nullptr); });
    const double panelRecords = timedCall([&] { run.view->FillPanelRecords(nullptr); });
    const double smartLists = timedCall([&] { run.view->FillSmartListEntries(); });
    Print("   panel: type rows %8.1f ms, one type's records %8.1f ms, smart lists %8.1f ms\n", panelTypes, panelRecords,
          smartLists);
    const double list = Timed(run.view, ID_VIEW_LIST);
    // Leaving tree mode destroys the tree; panel mode from list mode.
    Timed(run.view, ID_VIEW_TREE);
    const double listFromTree = Timed(run.view, ID_VIEW_LIST);
    Print("               list mode %8.1f ms (from tree mode %8.1f ms)\n", list, listFromTree);
    const double panelFromList = Timed(run.view, ID_VIEW_PANEL);
    Print("  panel mode from list mode %8.1f ms\n", panelFromList);
    Timed(run.view, ID_VIEW_LIST);

    // The first type's entry in the type combo (its texts carry counts, and
    // "Unfiled" comes before the types), then all types again.
    CComboBox& types = run.frame->GetDialogToolbar().m_cbTypes;
    int firstType = -1;
    for (int i = 0; i < types.GetCount() && firstType < 0; ++i) {
        CString entry;
        types.GetLBText(i, entry);
        if (entry.Left(13) == "Bench type 01") firstType = i;
    }
    auto chooseType = [&](int index) {
        const Clock::time_point s = Clock::now();
        types.SetCurSel(index);
        ::SendMessageA(run.view->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TOOLBAR_TYPES, CBN_SELCHANGE),
                       (LPARAM)types.m_hWnd);
        Pump();
        return MsSince(s);
    };
    const double oneType = chooseType(firstType);
    const int oneTypeRows = run.view->GetRecordList().GetItemCount();
    const double allTypes = chooseType(0);
    Print("  type filter to the first type (entry %d) %8.1f ms (list rows %d), back to all %8.1f ms\n", firstType,
          oneType, oneTypeRows, allTypes);

    // Two clicks on the header of field 1: descending, then ascending.
    auto headerClick = [&](int column) {
        NMHEADERA click{};
        CHeaderCtrl* header = run.view->GetRecordList().GetHeaderCtrl();
        click.hdr.hwndFrom = header ? header->m_hWnd : nullptr;
        click.hdr.idFrom = header ? (UINT_PTR)header->GetDlgCtrlID() : 0;
        click.hdr.code = HDN_ITEMCLICKA;
        click.iItem = column;
        const Clock::time_point s = Clock::now();
        ::SendMessageA(run.view->m_hWnd, WM_NOTIFY, click.hdr.idFrom, (LPARAM)&click);
        Pump();
        return MsSince(s);
    };
    const double sort1 = headerClick(1);
    const double sort2 = headerClick(1);
    Print("       re-sort by header %8.1f ms, again %8.1f ms\n", sort1, sort2);

    CloseMainWindow(run.frame->m_hWnd, root);
    run.docTemplate.reset();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000};
    for (int n : sizes) Bench(n);
    return 0;
}
