// Records N events in a row, as an import of N records does, into an event
// log over a file in the temporary folder, and prints the time per event and
// the final file size: once with every event written to the file when it is
// added, once inside a batch (one write at its end).
//   event_log_bench [N ...]        (default: 100 1000 5000)
// Figures mean something only in a build without sanitizers (see
// database_bench.cpp).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/history/LogEvents.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {100, 1000, 5000};
    for (int n : counts) {
        const fs::path dir = fs::temp_directory_path() / ("zv-eventlog-bench-" + std::to_string(n));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const fs::path file = dir / "EventsLog.xml";
        for (bool batch : {false, true}) {
            fs::remove(file);
            const Clock::time_point start = Clock::now();
            {
                CLogEvents log(CString(file.string().c_str()));
                if (batch) log.BeginBatch();
                for (int i = 0; i < n; ++i) {
                    CString first;
                    first.Format("Imported account %d", i);
                    log.AddEvent("Add record", "Record added", "Bench User", first, "", first);
                }
                if (batch) log.EndBatch();
            }
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::printf("%6d events%s: %9.1f ms, %7.3f ms per event, file %llu bytes\n", n, batch ? " in a batch" : "",
                        ms, ms / n, (unsigned long long)fs::file_size(file));
        }
        fs::remove_all(dir);
    }
    return 0;
}
