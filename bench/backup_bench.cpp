// The automatic backup of a database of N records, each with an attachment
// file of 2 KB, under a master password: the exchange text of every record
// and a copy of every attachment file into a new folder, which then takes
// the place of the backup of the same number. Then the restore of that
// backup into a database that already holds the records: reading and
// importing into a database of its own, the one save, and the attachment
// folder put in place.
//   backup_bench [N ...]        (default: 10000)
// Times are the best of three runs, wall clock, with the process's own CPU
// time beside. Figures mean something only in a build without sanitizers
// (see database_bench.cpp).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchProcess.h"
#include "core/crypto/BlowfishKey.h"
#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "core/store/PasswordVerifier.h"
#include "exchange/backup/BackupRotation.h"
#include "exchange/backup/DatabaseRestore.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const int kRuns = 3;
const size_t kAttachmentBytes = 2048;
const char kMasterPassword[] = "a typical master password";

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }
double CpuMs(std::clock_t from) { return (std::clock() - from) * 1000.0 / CLOCKS_PER_SEC; }

CString PathText(const fs::path& p) { return CString(p.string()); }

const CBaseItem* ItemAt(const CObjectList& list, int n)
{
    POSITION pos = list.FindIndex(n % static_cast<int>(list.GetCount()));
    return static_cast<const CBaseItem*>(list.GetAt(pos));
}

void Fill(CDatabaseObj& db, int count, const fs::path& attachments)
{
    CreateDefaultTypes(db.GetTypes());
    CreateDefaultCategories(db.GetCategories());
    fs::create_directories(attachments);
    const std::string bytes(kAttachmentBytes, '\x5A');
    for (int n = 0; n < count; ++n) {
        CRecord* r = new CRecord;
        CString text;
        text.Format("Account number %d at a bank", n);
        r->SetField(0, text);
        text.Format("user%d@example.com", n);
        r->SetField(1, text);
        text.Format("Pw!%08x", n * 2654435761u);
        r->SetField(2, text);
        r->SetNotes("Security question: first pet's name is Rex.\r\nSecond line, with a comma.");
        r->SetTypeKey(ItemAt(db.GetTypes(), n)->GetKey());
        r->SetCategoryKey(ItemAt(db.GetCategories(), n / 7)->GetKey());
        r->SetId(n + 1);
        r->SetAttachmentName("scan.pdf");
        r->SetAttachmentKey("K3Y");
        db.GetRecords().Add(r);
        std::ofstream(attachments / r->GetAttachmentFileName().Std(), std::ios::binary) << bytes;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10000};
    const fs::path folder = fs::temp_directory_path() / "zv_backup_bench";
    const BlowfishKeyPtr master = MakeBlowfishKey(CSecretString(kMasterPassword));
    uint8_t verifier[kVerifierSize];
    MakeVerifierWithKey(master.get(), verifier);
    for (int count : counts) {
        fs::remove_all(folder);
        CDatabaseObj db;
        db.SetVerifier(verifier);
        const fs::path attachments = folder / "user" / "Files";
        Fill(db, count, attachments);
        std::printf("%7d records, each with a %zu-byte attachment file\n", count, kAttachmentBytes);

        double firstWall = 0, firstCpu = 0, bestWall = 1e30, bestCpu = 0;
        for (int run = 0; run <= kRuns; ++run) {
            // Always the same number: from the second run on it replaces a
            // backup that is there.
            int counter = 0;
            const Clock::time_point start = Clock::now();
            const std::clock_t cpu = std::clock();
            const AutomaticBackupResult r =
                WriteAutomaticBackup(db, PathText(folder / "backups"), counter, master.get(), PathText(attachments));
            const double wall = Ms(start), cpuMs = CpuMs(cpu);
            if (r.outcome != AutomaticBackupResult::kWritten) {
                std::printf("backup failed (%u)\n", r.messageId);
                return 1;
            }
            if (run == 0) {
                firstWall = wall;
                firstCpu = cpuMs;
            } else if (wall < bestWall) {
                bestWall = wall;
                bestCpu = cpuMs;
            }
        }
        const fs::path backup = folder / "backups" / "Backup-1.zkv";
        std::printf("  backup, new number        %8.1f ms  (cpu %.1f)  file %.2f MB\n", firstWall, firstCpu,
                    fs::file_size(backup / "Backup-1.zkv") / 1048576.0);
        std::printf("  backup, replacing one     %8.1f ms  (cpu %.1f)\n", bestWall, bestCpu);

        double restoreWall = 1e30, restoreCpu = 0;
        for (int run = 0; run < kRuns; ++run) {
            CDatabaseObj target;
            target.SetFilePath(PathText(folder / "user" / "ZorvikanDatabase.zdb"));
            target.SetVerifier(verifier);
            const Clock::time_point start = Clock::now();
            const std::clock_t cpu = std::clock();
            const RestoreResult r =
                RestoreFromFile(target, PathText(backup / "Backup-1.zkv"), master, nullptr, PathText(attachments));
            const double wall = Ms(start);
            if (r.outcome != RestoreResult::kRestored || r.records != count) {
                std::printf("restore failed (%d)\n", static_cast<int>(r.outcome));
                return 1;
            }
            if (wall < restoreWall) {
                restoreWall = wall;
                restoreCpu = CpuMs(cpu);
            }
        }
        std::printf("  restore of that backup    %8.1f ms  (cpu %.1f)\n", restoreWall, restoreCpu);
    }
    std::printf("peak resident %.0f MB\n", PeakResidentMB());
    fs::remove_all(folder);
    return 0;
}
