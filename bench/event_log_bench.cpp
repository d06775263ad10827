// The event log's file costs, over a log in the temporary folder:
// - N events in a row, as an import of N records does: once with every event
//   written to the file when it is added (unbatched), once inside a batch
//   (one write at its end);
// - one more event with N events already in the file (the first write after
//   reading the file, then a later one);
// - pruning N expired events read from the file (SaveAll).
//   event_log_bench [N ...]        (default: 100 1000 5000 80000)
// The unbatched run is skipped above 5000 events. Figures mean something only
// in a build without sanitizers (see database_bench.cpp).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/history/LogEvents.h"
#include "bench/BenchTiming.h"

namespace fs = std::filesystem;
namespace {

void AddImportEvent(CLogEvents& log, int i)
{
    CString first;
    first.Format("Imported account %d", i);
    log.AddEvent("Add record", "Record added", "Bench User", first, "", first);
}

// A file of n events, all dated the given day.
void WriteLogFile(const fs::path& file, int n, const CString& date)
{
    fs::remove(file);
    CLogEvents log(CString(file.string().c_str()));
    log.BeginBatch();
    for (int i = 0; i < n; ++i) {
        CString first;
        first.Format("Imported account %d", i);
        auto param = std::make_shared<CLogEventParam>(1);
        param->SetName("Add record").SetAction("Record added").SetUserName("Bench User");
        param->SetDescription(first).SetNewValue(first);
        param->SetDate(CDateValue(date, CDateValue::kTimestamp));
        log.Add(std::make_shared<CLogEvent>(param));
    }
    log.EndBatch();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {100, 1000, 5000, 80000};
    for (int n : counts) {
        const fs::path dir = fs::temp_directory_path() / ("zv-eventlog-bench-" + std::to_string(n));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const fs::path file = dir / "EventsLog.xml";
        const CString path(file.string().c_str());
        for (bool batch : {false, true}) {
            if (!batch && n > 5000) continue;
            fs::remove(file);
            const Clock::time_point start = Clock::now();
            {
                CLogEvents log(path);
                if (batch) log.BeginBatch();
                for (int i = 0; i < n; ++i) AddImportEvent(log, i);
                if (batch) log.EndBatch();
            }
            const double ms = MsSince(start);
            std::printf("%6d events%-12s: %9.1f ms, %7.3f ms per event, file %llu bytes\n", n,
                        batch ? " in a batch" : " unbatched", ms, ms / n, (unsigned long long)fs::file_size(file));
        }

        // One more event: the log is read as at start-up, then events come.
        WriteLogFile(file, n, CDateValue(CDateValue::kNow).FormatTimestamp());
        {
            CLogEvents log(path);
            log.Load();
            Clock::time_point start = Clock::now();
            AddImportEvent(log, n);
            const double first = MsSince(start);
            start = Clock::now();
            AddImportEvent(log, n + 1);
            const double second = MsSince(start);
            std::printf("%6d events in the file: one more %7.3f ms (first after reading), %7.3f ms (next)\n", n, first,
                        second);
        }

        // Pruning: every event of the file has expired.
        WriteLogFile(file, n, CString("2001-01-01 00:00:00 +0000"));
        {
            CLogEvents log(path);
            log.Load();
            const Clock::time_point start = Clock::now();
            log.SaveAll();
            std::printf("%6d expired events pruned: %9.1f ms, file %llu bytes\n", n, MsSince(start),
                        (unsigned long long)fs::file_size(file));
        }
        fs::remove_all(dir);
    }
    return 0;
}
