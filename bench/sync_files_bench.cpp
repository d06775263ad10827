// The desktop-file sync of two databases of N records that differ in one
// record in ten (changed on the remote side, each with a later time), in
// each mode, under one password.
//   sync_files_bench [N ...]        (default: 10000 20000)
// Figures mean something only in a build without sanitizers:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZV_SANITIZERS=OFF -DZV_BUILD_TESTS=OFF
//   cmake --build build/bench --target sync_files_bench && build/bench/bin/sync_files_bench
// Both files are written afresh before each run and the current one loaded;
// the time is that of CSyncDatabase::Sync alone (reading the remote file,
// the merge, the saves), the best of five.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/crypto/BlowfishKey.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "sync/files/SyncDatabase.h"
#include "sync/files/SyncResult.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

void Write(const fs::path& file, int n, bool remote, const BlowfishContext* key)
{
    CDatabaseObj db;
    db.SetFilePath(CString(file.string().c_str()));
    uint8_t verifier[kVerifierSize] = {};
    MakeVerifierWithKey(key, verifier);
    db.SetVerifier(verifier);
    for (int i = 0; i < n; ++i) {
        CRecord* r = static_cast<CRecord*>(db.GetRecords().NewItem());
        const uint8_t uid[8] = {1,
                                2,
                                3,
                                4,
                                static_cast<uint8_t>(i >> 24),
                                static_cast<uint8_t>(i >> 16),
                                static_cast<uint8_t>(i >> 8),
                                static_cast<uint8_t>(i)};
        r->SetUid(uid);
        const bool changed = remote && i % 10 == 0;
        char text[64];
        std::snprintf(text, sizeof(text), "record %d%s", i, changed ? " changed" : "");
        r->SetField(0, CString(text));
        r->SetField(1, CString("user@example.com"));
        r->SetField(2, CString("correct horse battery"));
        r->SetNotes(CString("Some notes that a record of this kind might carry."));
        r->SetModifiedTime(changed ? 2000 : 1000);
        db.GetRecords().Add(r);
    }
    if (db.Save(0, key) != 0) {
        std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 20000};
    const fs::path dir = fs::temp_directory_path() / "zv_sync_files_bench";
    fs::create_directories(dir);
    const fs::path current = dir / "ZorvikanDatabase.zdb", remote = dir / "remote.zdb";
    if (GetMasterPwdMgr()->SetPassword(CString("bench password")) != 0) return 1;
    BlowfishKeyPtr key = GetMasterPwdMgr()->GetKey();
    const char* const modes[] = {"current to remote", "remote to current", "both ways"};
    std::printf("%8s  %-18s  %10s\n", "records", "mode", "best ms");
    for (int n : sizes) {
        for (int mode = 0; mode <= 2; ++mode) {
            double best = 1e9;
            for (int run = 0; run < 5; ++run) {
                Write(current, n, false, key.get());
                Write(remote, n, true, key.get());
                CDatabaseObj db;
                if (db.Load(CString(current.string().c_str())) != 0) return 1;
                CSyncDatabase job;
                job.SetPath(CString(remote.string().c_str()));
                job.SetMode(mode);
                job.SetRule(kSyncLatestWins);
                const auto start = Clock::now();
                const int result = job.Sync(db, nullptr);
                const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                if (result != kSyncSuccess) {
                    std::fprintf(stderr, "sync failed: %s\n", SyncResultText(result));
                    return 1;
                }
                best = std::min(best, ms);
            }
            std::printf("%8d  %-18s  %10.1f\n", n, modes[mode], best);
        }
    }
    fs::remove_all(dir);
    return 0;
}
