// An import through the real main view, as the program does it when started
// with an exchange file on its command line and the question "Do you want to
// import the file ...?" answered Yes: from the answer to a filled list (the
// view's import, its one save, the event log and smart lists, the combos and
// the list, then every message the work left queued). The view is made by the
// document template as the program makes it, over a scratch data root under
// the system's temporary folder, in list mode with all types shown.
// The file: a version 4.0 ZkvFile of N records with notes and labels, no
// password. Beside it, for scale, the exchange layer's own import of the same
// file into a database object (read, add, save), no window involved.
// Windows build, on a display (Xvfb), under Wine:
//   xvfb-run -a wine build/windows/bin/view_import_bench.exe [N ...]   (default 10000 100000)
// Add "-existing K" before the sizes to import into a database that already
// holds K records.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/frame/MainFrm.h"
#include "app/frame/ZorvikanDesktopDoc.h"
#include "app/res/Resource.h"
#include "app/services/ExchangeService.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "bench/BenchRecords.h"
#include "bench/BenchTiming.h"
#include "bench/BenchWindow.h"
#include "core/items/Record.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "exchange/dialogs/ExchangeService.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/writers/ExportWriter.h"
#include "framework/DocTemplate.h"
#include "framework/ModalSeam.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

CExchangeService g_exchange;

// The process's processor time (user and kernel) in milliseconds.
double CpuMs()
{
    FILETIME created, ended, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& t) { return (((uint64_t)t.dwHighDateTime << 32) | t.dwLowDateTime) / 10000.0; };
    return ms(kernel) + ms(user);
}

// Every question is answered Yes; nothing else modal is expected.
class CAnswerYes : public CModalSeam {
public:
    int MessageBox(HWND, LPCSTR text, LPCSTR, UINT) override
    {
        ++m_asked;
        if (std::strncmp(text, "Do you want to import", 21) != 0) Print("unexpected message: %s\n", text);
        return IDYES;
    }
    int m_asked = 0;
};

// Records whose field 0 sorts apart from their order of insertion, numbered
// from first.
void Fill(CDatabaseObj& db, int count, int first)
{
    BenchFill fill;
    fill.first = first;
    fill.scatteredAccounts = true;
    FillRecords(db, count, fill);
}

// The exchange file of n records; its path.
std::filesystem::path WriteExchangeFile(const std::filesystem::path& folder, int n)
{
    CDatabaseObj db;
    Fill(db, n, 1000000);
    const std::filesystem::path target = folder / "import";
    if (WriteExportFile(db, kFormatZkv4, CollectAllRecords(db), false, CString(target.string().c_str()), nullptr,
                        CString()) != 0)
        Print("export failed\n");
    return target / "import";
}

// The exchange layer alone: read, add, save.
double ExchangeOnly(const std::filesystem::path& file, const std::filesystem::path& folder)
{
    CDatabaseObj db;
    db.SetFilePath(CString((folder / "alone.zdb").string().c_str()));
    const Clock::time_point start = Clock::now();
    IExchangeService::ImportFile read = g_exchange.ReadImportFile(CString(file.string().c_str()), 13, nullptr);
    std::vector<CRecord*> added;
    g_exchange.ImportText(db, read.format, read.text, nullptr, CString(file.string().c_str()), CString(), nullptr,
                          added);
    db.Save();
    return MsSince(start);
}

void Bench(int n, int existing)
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::filesystem::path root = std::filesystem::path(temp) / ("zv-import-bench-" + std::to_string(n));
    CUserItem* user = OpenScratchUser(root);
    std::filesystem::create_directories(root / "files");
    if (!user) {
        Print("no user\n");
        return;
    }
    CDatabaseObj start;
    if (start.OpenInFolder(CAppPrefMgr::GetInstance()->GetUserDirectory(user)) == 0) {
        Fill(start, existing, 1);
        start.Save();
    }
    CAppPrefMgr::GetInstance()->GetPrefs()->SetLatestView(user, 0);
    const std::filesystem::path file = WriteExchangeFile(root / "files", n);
    const double alone = ExchangeOnly(file, root / "files");

    CSingleDocTemplate docTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZorvikanDesktopDoc), RUNTIME_CLASS(CMainFrame),
                                   RUNTIME_CLASS(CZorvikanDesktopView));
    docTemplate.LoadTemplate();
    theApp.m_pMainWnd = nullptr;
    theApp.m_nCmdShow = -1;
    docTemplate.OpenDocumentFile(nullptr);
    CMainFrame* frame = theApp.GetMainFrame();
    auto* view = frame ? static_cast<CZorvikanDesktopView*>(frame->GetMainView()) : nullptr;
    if (!view) {
        Print("no view\n");
        return;
    }
    frame->ShowWindow(SW_SHOW);
    Pump();
    const int rowsBefore = view->GetRecordList().GetItemCount();

    CAnswerYes yes;
    CModalSeam* previous = AfxSetModalSeam(&yes);
    const double cpuStart = CpuMs();
    const Clock::time_point begin = Clock::now();
    view->ImportFileAsk(CString(file.string().c_str()), TRUE);
    const double imported = MsSince(begin);
    Pump();
    const double filled = MsSince(begin);
    const double cpu = CpuMs() - cpuStart;
    AfxSetModalSeam(previous);
    const int rows = view->GetRecordList().GetItemCount();
    Print("%7d records into %d: through the view %8.1f ms (cpu %.1f; the call %.1f, queued messages %.1f), "
          "list rows %d -> %d; the exchange layer alone %.1f ms\n",
          n, existing, filled, cpu, imported, filled - imported, rowsBefore, rows, alone);

    CloseMainWindow(frame->m_hWnd, root);
}

}  // namespace

int main(int argc, char** argv)
{
    SetExchangeService(&g_exchange);
    std::vector<int> sizes;
    int existing = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-existing") == 0 && i + 1 < argc)
            existing = std::atoi(argv[++i]);
        else
            sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) sizes = {10000, 100000};
    for (int n : sizes) Bench(n, existing);
    return 0;
}
