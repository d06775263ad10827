// Export and import of exchange text against a database of N records with
// notes and labels (every record has notes, every fifth its own labels,
// records spread over the default types and categories):
// - export to a version 4.0 ZkvFile in its exchange folder (all records, no
//   attachments), plain and with a file password: the text written to the
//   file as it is made, flushed to the disk;
// - import of each file into an empty database under a master password:
//   reading and settling the file, adding the records, its one save and the
//   event log's batch of "Record added" events (a log file in the temporary
//   folder, written once at the end of the batch);
// - import of export text whose every line makes a new category, or a new
//   type (2,500, 5,000 and 10,000 of them).
//   exchange_bench [N ...]        (default: 10000 100000)
// Times are the best of three runs, wall clock, with the process's own CPU
// time beside (user and system: on a busy machine the wall clock also counts
// the waits for a core). Figures mean something only in a build without
// sanitizers (see database_bench.cpp).
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/history/LogEvents.h"
#include "bench/BenchProcess.h"
#include "bench/BenchRecords.h"
#include "core/crypto/BlowfishKey.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/writers/ExportWriter.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const int kRuns = 3;
const char kMasterPassword[] = "a typical master password";
const char kFilePassword[] = "an export password";

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }
double CpuMs(std::clock_t from) { return (std::clock() - from) * 1000.0 / CLOCKS_PER_SEC; }

CString PathText(const fs::path& p) { return CString(p.string()); }

struct ExportTimes {
    double wall = 1e30, cpu = 0;
};

ExportTimes TimeExport(const CDatabaseObj& db, const fs::path& file, const BlowfishContext* cipher)
{
    ExportTimes best;
    for (int run = 0; run < kRuns; ++run) {
        fs::remove_all(file);
        const Clock::time_point start = Clock::now();
        const std::clock_t cpu = std::clock();
        if (WriteExportFile(db, kFormatZkv4, CollectAllRecords(db), false, PathText(file), cipher, CString()) != 0) {
            std::printf("export failed\n");
            std::exit(1);
        }
        const double wall = Ms(start);
        if (wall < best.wall) best = {wall, CpuMs(cpu)};
    }
    return best;
}

struct ImportTimes {
    double total = 1e30, cpu = 0, read = 0, add = 0, save = 0, log = 0;
};

ImportTimes TimeImport(const fs::path& file, const fs::path& work, const BlowfishKeyPtr& master, bool withPassword)
{
    ImportTimes best;
    for (int run = 0; run < kRuns; ++run) {
        fs::remove_all(work);
        fs::create_directories(work);
        CDatabaseObj db;
        db.SetFilePath(PathText(work / "ZorvikanDatabase.zdb"));
        CLogEvents log(PathText(work / "EventsLog.xml"));
        ImportTimes t;
        const Clock::time_point start = Clock::now();
        const std::clock_t cpu = std::clock();
        ImportFileCheck check = PrepareImportFile(PathText(file), kFormatDetect, master);
        BlowfishKeyPtr cipher = check.cipher;
        if (check.needsPassword) {
            unsigned message = 0;
            cipher = OpenWithFilePassword(check.text, CSecretString(kFilePassword), message);
        }
        if (check.messageId != 0 || (withPassword && !cipher)) {
            std::printf("import check failed\n");
            std::exit(1);
        }
        t.read = Ms(start);
        Clock::time_point at = Clock::now();
        ImportResult result;
        ImportExchangeText(db, check.format, check.text, cipher.get(), PathText(file), CString(), nullptr, result);
        t.add = Ms(at);
        at = Clock::now();
        if (db.Save(0, master.get()) != 0) {
            std::printf("save failed\n");
            std::exit(1);
        }
        t.save = Ms(at);
        at = Clock::now();
        log.BeginBatch();
        for (const CRecord* record : result.imported)
            log.AddEvent("Add record", "Record added", "Bench User", record->GetField(0), "", record->GetField(0));
        log.EndBatch();
        t.log = Ms(at);
        t.total = Ms(start);
        t.cpu = CpuMs(cpu);
        if (t.total < best.total) best = t;
    }
    return best;
}

// Adding export text whose every line names a new category (or a new type):
// the names are found and placed in name order for each line.
ExportTimes TimeNewNames(int count, bool types)
{
    std::string text = "Zorvikan Export File\r\n";
    char line[128];
    for (int n = 0; n < count; ++n) {
        // Spread over the alphabet, as a file's names are.
        const unsigned key = static_cast<unsigned>(n) * 2654435761u;
        if (types)
            std::snprintf(line, sizeof line, "Kind %08x,value %d,,,,,,,,,,,Unfiled\r\n", key, n);
        else
            std::snprintf(line, sizeof line, "Web Logins,value %d,,,,,,,,,,,Group %08x\r\n", n, key);
        text += line;
    }
    ExportTimes best;
    for (int run = 0; run < kRuns; ++run) {
        CDatabaseObj db;
        CreateDefaultTypes(db.GetTypes());
        CreateDefaultCategories(db.GetCategories());
        ImportResult result;
        const Clock::time_point start = Clock::now();
        const std::clock_t cpu = std::clock();
        ImportExchangeText(db, kFormatExportText, text, nullptr, CString(), CString(), nullptr, result);
        const double wall = Ms(start);
        if ((types ? result.types : result.categories) != count) {
            std::printf("import made %d types, %d categories\n", result.types, result.categories);
            std::exit(1);
        }
        if (wall < best.wall) best = {wall, CpuMs(cpu)};
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10000, 100000};
    const fs::path folder = fs::temp_directory_path() / "zv_exchange_bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const BlowfishKeyPtr master = MakeBlowfishKey(CSecretString(kMasterPassword));
    const BlowfishKeyPtr filePassword = MakeBlowfishKey(CSecretString(kFilePassword));
    for (int count : counts) {
        CDatabaseObj db;
        FillRecords(db, count);
        // Exchange folders, each holding the file of its own name.
        const fs::path plain = folder / "plain.zkv", locked = folder / "locked.zkv";
        std::printf("%7d records\n", count);
        for (bool withPassword : {false, true}) {
            const fs::path& target = withPassword ? locked : plain;
            const ExportTimes t = TimeExport(db, target, withPassword ? filePassword.get() : nullptr);
            std::printf("  export%-16s %8.1f ms  (cpu %.1f)  file %.2f MB\n",
                        withPassword ? ", password" : ", no password", t.wall, t.cpu,
                        fs::file_size(target / target.filename()) / 1048576.0);
        }
        for (bool withPassword : {false, true}) {
            const ImportTimes t = TimeImport(withPassword ? locked / "locked.zkv" : plain / "plain.zkv",
                                             folder / "import", master, withPassword);
            std::printf("  import%-16s %8.1f ms  (cpu %.1f; read %.1f, add %.1f, save %.1f, event log %.1f)\n",
                        withPassword ? ", password" : ", no password", t.total, t.cpu, t.read, t.add, t.save, t.log);
        }
    }
    for (bool types : {false, true}) {
        for (int count : {2500, 5000, 10000}) {
            const ExportTimes t = TimeNewNames(count, types);
            std::printf("  import making %5d new %-10s %8.1f ms  (cpu %.1f)\n", count, types ? "types" : "categories",
                        t.wall, t.cpu);
        }
    }
    std::printf("peak resident %.0f MB\n", PeakResidentMB());
    fs::remove_all(folder);
    return 0;
}
