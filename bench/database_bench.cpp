// The database's save and load: times, heap and the raw passes over the same
// bytes, for a database of N records under a master password.
//   database_bench [N ...]        (default: 1000 10000 100000)
// Figures mean something only in a build without sanitizers:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZV_SANITIZERS=OFF -DZV_BUILD_TESTS=OFF
//   cmake --build build/bench --target database_bench && build/bench/bin/database_bench
// The windows build has it too (build/windows/bin/database_bench.exe, run
// under Wine).
//
// Each N runs in two fresh processes of this program: one creates the
// records and saves them (first save, then the best of several more), the
// other loads the file. "Cold" is the first load in that fresh process: its
// heap, code and data pages are untouched, but the file, written just
// before, is in the system's cache (dropping that cache needs root). "Warm"
// is the best of the loads that follow in the same process. Saves include
// the flush to disk. "Raw" passes go over the file's bytes once each: reading
// the file, decrypting all of it with Blowfish-ECB and computing the packed
// items' CRC over all of it, as a floor for what a load does with them; and
// the first touch of as much fresh memory as one loaded database holds, the
// floor of a cold load's page faults.
// Heap is counted by replacing operator new: the usable bytes of the blocks
// one loaded database holds, and the allocations its load makes.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "bench/BenchProcess.h"
#include "bench/BenchRecords.h"
#include "core/crypto/BlowfishKey.h"
#include "core/items/DefaultItems.h"
#include "core/items/ItemPacking.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "core/store/PasswordVerifier.h"
#include "framework/CFile.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::atomic<size_t> g_liveBytes{0};
std::atomic<size_t> g_allocations{0};

void* CountedAlloc(size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (block) {
        g_liveBytes.fetch_add(HeapBlockSize(block), std::memory_order_relaxed);
        g_allocations.fetch_add(1, std::memory_order_relaxed);
    }
    return block;
}

void CountedFree(void* block)
{
    if (!block) return;
    g_liveBytes.fetch_sub(HeapBlockSize(block), std::memory_order_relaxed);
    std::free(block);
}

}  // namespace

void* operator new(size_t size)
{
    if (void* block = CountedAlloc(size)) return block;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return CountedAlloc(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return CountedAlloc(size); }
void operator delete(void* block) noexcept { CountedFree(block); }
void operator delete[](void* block) noexcept { CountedFree(block); }
void operator delete(void* block, size_t) noexcept { CountedFree(block); }
void operator delete[](void* block, size_t) noexcept { CountedFree(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { CountedFree(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { CountedFree(block); }

namespace {

constexpr int kRepeats = 5;
const char kPassword[] = "a typical master password";

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }
double MBps(size_t bytes, double ms) { return ms > 0 ? bytes / 1048576.0 / (ms / 1000.0) : 0; }

// "N page faults", or "page faults not counted" where the system does not count them.
std::string FaultText(long before, long after)
{
    if (before < 0 || after < 0) return "page faults not counted";
    return std::to_string(after - before) + " page faults";
}

CString DatabasePath(const std::string& folder)
{
    return CString((fs::path(folder) / "ZorvikanDatabase.zdb").string());
}

// Typical field lengths of a login or card record; every tenth has notes.
CRecord* MakeRecord(int n)
{
    CRecord* r = new CRecord;
    SetLoginFields(*r, n, n);
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

// Creates and saves the database; prints the save times.
int CreateAndSave(int count, const std::string& folder)
{
    const BlowfishKeyPtr key = MakeBlowfishKey(CString(kPassword));
    CDatabaseObj db;
    db.SetFilePath(DatabasePath(folder));
    // The password's verifier, as every file the program saves carries.
    uint8_t verifier[kVerifierSize];
    MakeVerifierWithKey(key.get(), verifier);
    db.SetVerifier(verifier);
    CreateDefaultTypes(db.GetTypes());
    CreateDefaultCategories(db.GetCategories());
    for (int i = 0; i < count; ++i) db.GetRecords().Add(MakeRecord(i));

    Clock::time_point t = Clock::now();
    if (db.Save(0, key.get()) != 0) return 1;
    const double first = Ms(t);
    double warm = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        t = Clock::now();
        if (db.Save(0, key.get()) != 0) return 1;
        warm = std::min(warm, Ms(t));
    }
    const double size = static_cast<double>(fs::file_size(fs::path(DatabasePath(folder).Std())));
    std::printf("%8d records  file %.2f MB (%.0f bytes per record)\n", count, size / 1048576.0, size / count);
    std::printf("    save  first %8.1f ms   warm %8.1f ms (best of %d, flush to disk included)\n", first, warm,
                kRepeats);
    return 0;
}

// Each raw pass over the file's bytes, the best of several.
void RawPasses(const CString& path, const BlowfishContext* key, size_t heapBytes)
{
    std::vector<uint8_t> bytes;
    double read = 1e30, decrypt = 1e30, crcMs = 1e30;
    uint16_t crc = 0;
    for (int i = 0; i < kRepeats; ++i) {
        Clock::time_point t = Clock::now();
        {
            CFile file(path.GetString(), CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
            bytes.resize(static_cast<size_t>(file.GetLength()));
            file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        }
        read = std::min(read, Ms(t));

        t = Clock::now();
        for (size_t at = 0; at + 8 <= bytes.size();) {
            const size_t chunk = std::min<size_t>(bytes.size() - at, 0xFFF8) & ~size_t(7);
            BlowfishDecryptECB(key, bytes.data() + at, bytes.data() + at, static_cast<uint16_t>(chunk));
            at += chunk;
        }
        decrypt = std::min(decrypt, Ms(t));

        t = Clock::now();
        crc = PackedItemCrc(bytes.data(), bytes.size());
        crcMs = std::min(crcMs, Ms(t));
    }
    // As many fresh pages as one loaded database holds, touched once: what a
    // cold load pays for its memory before it does anything with it.
    double touch = 1e30;
    std::string touchFaults;
    for (int i = 0; i < kRepeats; ++i) {
        const long before = PageFaults();
        const Clock::time_point t = Clock::now();
        volatile char* fresh = static_cast<volatile char*>(MapFreshPages(heapBytes));
        if (!fresh) break;
        for (size_t at = 0; at < heapBytes; at += 4096) fresh[at] = 1;
        const double ms = Ms(t);
        touchFaults = FaultText(before, PageFaults());
        UnmapPages(const_cast<char*>(fresh), heapBytes);
        touch = std::min(touch, ms);
    }
    const size_t size = bytes.size();
    std::printf("    fresh memory  first touch of %.2f MB %8.1f ms (%s)\n", heapBytes / 1048576.0, touch,
                touchFaults.c_str());
    std::printf("    raw   read %8.1f ms (%5.0f MB/s)   Blowfish-ECB decrypt %8.1f ms (%5.0f MB/s)   "
                "CRC %8.1f ms (%5.0f MB/s) [%04X]   best of %d each\n",
                read, MBps(size, read), decrypt, MBps(size, decrypt), crcMs, MBps(size, crcMs), crc, kRepeats);
}

// Loads the file: cold first, then warm; prints times and heap.
int Load(int count, const std::string& folder)
{
    const BlowfishKeyPtr key = MakeBlowfishKey(CString(kPassword));
    const CString path = DatabasePath(folder);

    const size_t bytesBefore = g_liveBytes.load();
    const size_t allocationsBefore = g_allocations.load();
    const long faultsBefore = PageFaults();
    Clock::time_point t = Clock::now();
    CDatabaseObj* db = new CDatabaseObj;
    if (db->Load(path, key.get()) != 0 || db->GetRecords().GetCount() != count) return 2;
    const double cold = Ms(t);
    const std::string coldFaults = FaultText(faultsBefore, PageFaults());
    const size_t heap = g_liveBytes.load() - bytesBefore;
    const size_t allocations = g_allocations.load() - allocationsBefore;

    double resave = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        t = Clock::now();
        if (db->Save(0, key.get()) != 0) return 3;
        resave = std::min(resave, Ms(t));
    }
    delete db;

    double warm = 1e30;
    std::string warmFaults;
    for (int i = 0; i < kRepeats; ++i) {
        const long before = PageFaults();
        t = Clock::now();
        CDatabaseObj again;
        if (again.Load(path, key.get()) != 0 || again.GetRecords().GetCount() != count) return 2;
        const double ms = Ms(t);
        if (ms < warm) {
            warm = ms;
            warmFaults = FaultText(before, PageFaults());
        }
    }
    // Before the raw passes, whose buffers are none of the database's.
    const double peak = PeakResidentMB();

    RawPasses(path, key.get(), heap);
    std::printf("    load  cold  %8.1f ms (%s)   warm %8.1f ms (%s; best of %d)   "
                "re-save of the loaded database %8.1f ms\n",
                cold, coldFaults.c_str(), warm, warmFaults.c_str(), kRepeats, resave);
    std::printf("    heap  one loaded database %.2f MB: %.0f bytes and %.1f allocations per record; "
                "peak resident %.1f MB\n",
                heap / 1048576.0, static_cast<double>(heap) / count, static_cast<double>(allocations) / count, peak);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // The two halves of one N, each run in a process of its own.
    if (argc == 4 && std::string(argv[1]) == "--save") return CreateAndSave(std::atoi(argv[2]), argv[3]);
    if (argc == 4 && std::string(argv[1]) == "--load") return Load(std::atoi(argv[2]), argv[3]);

    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 10000, 100000};
    int failed = 0;
    for (int count : counts) {
        const fs::path folder = fs::temp_directory_path() / ("zv-bench-" + std::to_string(count) + "-" +
                                                             std::to_string(Clock::now().time_since_epoch().count()));
        fs::create_directories(folder);
        std::fflush(stdout);
        int result = RunSelf({"--save", std::to_string(count), folder.string()});
        if (result == 0) result = RunSelf({"--load", std::to_string(count), folder.string()});
        if (result != 0) {
            std::printf("%8d records  failed (%d)\n", count, result);
            failed = 1;
        }
        fs::remove_all(folder);
    }
    return failed;
}
