// Creates, saves, loads and saves again a database of N records under a
// master password and prints the times, the file size and the peak memory.
//   database_bench [N ...]        (default: 1000 10000 100000)
// Each N runs in a child process of its own, so that its peak resident size
// is its own. Figures mean something only in a build without sanitizers:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZV_SANITIZERS=OFF
//   cmake --build build/bench --target database_bench && build/bench/bin/database_bench
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "core/store/DatabaseObj.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

// Typical field lengths of a login or card record; every tenth has notes.
CRecord* MakeRecord(int n)
{
    CRecord* r = new CRecord;
    CString text;
    text.Format("Account number %d at a bank", n);
    r->SetField(0, text);
    text.Format("user%d@example.com", n);
    r->SetField(1, text);
    text.Format("Pw!%08x", n * 2654435761u);
    r->SetField(2, text);
    text.Format("https://login.example%d.com/signin", n % 500);
    r->SetField(3, text);
    r->SetField(9, "2026-12-10");
    if (n % 10 == 0) {
        std::string notes;
        while (notes.size() < 300) notes += "Security question: first pet's name is Rex.\r\n";
        r->SetNotes(notes.c_str());
    }
    const uint8_t type[8] = {0, 0, 0, 0, 0, 0, 0, 0x12};
    r->SetTypeKey(type);
    r->SetModifiedTime(1700000000 + n);
    return r;
}

int Run(int count, const fs::path& folder)
{
    const BlowfishKeyPtr key = MakeBlowfishKey(CString("a typical master password"));
    const CString path((folder / "ZorvikanDatabase.zdb").string().c_str());

    Clock::time_point t = Clock::now();
    CDatabaseObj db;
    db.SetFilePath(path);
    CreateDefaultTypes(db.GetTypes());
    CreateDefaultCategories(db.GetCategories());
    for (int i = 0; i < count; ++i) db.GetRecords().Add(MakeRecord(i));
    const double create = Ms(t);

    t = Clock::now();
    if (db.Save(0, key.get()) != 0) return 1;
    const double save = Ms(t);

    t = Clock::now();
    CDatabaseObj loaded;
    if (loaded.Load(path, key.get()) != 0 || loaded.GetRecords().GetCount() != count) return 2;
    const double load = Ms(t);

    t = Clock::now();
    if (loaded.Save(0, key.get()) != 0) return 3;
    const double resave = Ms(t);

    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "%8d records  create %9.1f ms  save %9.1f ms  load %9.1f ms  re-save %9.1f ms  file %7.2f MB  peak %7.1f MB\n",
        count, create, save, load, resave, fs::file_size(folder / "ZorvikanDatabase.zdb") / 1048576.0,
        usage.ru_maxrss / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 10000, 100000};
    const fs::path folder = fs::temp_directory_path() / ("zv-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    int failed = 0;
    for (int count : counts) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            const int result = Run(count, folder);
            std::fflush(stdout);
            _exit(result);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::printf("%8d records  failed (%d)\n", count, status);
            failed = 1;
        }
    }
    fs::remove_all(folder);
    return failed;
}
