// Zip of an exchange folder and its reading back, against the `zip` and
// `unzip` programs on the same data in the same run:
// - the folder: a version 4.0 ZkvFile of N records (as exchange_bench makes
//   them) and a "Files" folder of A attachments of S KB each (stored
//   attachments are encrypted, so their bytes do not compress);
// - pack: the zip writer adds the exchange file, the folder entry and every
//   attachment to a new archive file; `zip -q -r` the same folder (its level
//   6, and `zip -8`, the writer's level);
// - read: the zip reader extracts every entry of that archive to files in an
//   empty folder; `unzip -q` the same archive;
// - e-mail: the packing of an exchange folder for the export's e-mail, in
//   the writer calls and order of ZipExportFolder (Windows only): the folder
//   entry, each attachment, the exchange file last, into a new archive;
// - entry replacement: ZipReplaceEntry of each attachment and then of the
//   exchange file, one by one, into an archive of the exchange file (the
//   function has no caller in the program; one run).
//   zip_bench [N A S]   (default: 10000 200 50)
// Times are the best of three runs, wall clock. Figures mean something only
// in a build without sanitizers (see database_bench.cpp).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "exchange/readers/ExchangeFormats.h"
#include "exchange/writers/ExportWriter.h"
#include "exchange/zip/ZipReader.h"
#include "exchange/zip/ZipReplace.h"
#include "exchange/zip/ZipWriter.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const int kRuns = 3;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::printf("failed: %s\n", what);
        std::exit(1);
    }
}

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

template <typename Step> double Best(const Step& step, int runs = kRuns)
{
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        step();
        best = std::min(best, Ms(start));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    int records = argc > 1 ? std::atoi(argv[1]) : 10000;
    int attachments = argc > 2 ? std::atoi(argv[2]) : 200;
    int kb = argc > 3 ? std::atoi(argv[3]) : 50;
    fs::path work = fs::temp_directory_path() / ("zv_zip_bench_" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    fs::path folder = work / "Records.zkv";

    CDatabaseObj db;
    BenchFill fill;
    fill.labels = false;
    FillRecords(db, records, fill);
    Check(WriteExportFile(db, kFormatZkv4, CollectAllRecords(db), false, CString(folder.string()), nullptr,
                          CString()) == 0,
          "export");
    fs::create_directories(folder / "Files");
    std::mt19937 rng(7);
    std::vector<fs::path> files;
    for (int i = 0; i < attachments; ++i) {
        std::string bytes(static_cast<size_t>(kb) * 1024, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        fs::path p = folder / "Files" / (std::to_string(100000 + i * 37) + ".dat");
        FILE* f = std::fopen(p.string().c_str(), "wb");
        Check(f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "attachment");
        std::fclose(f);
        files.push_back(p);
    }
    fs::path exchange = folder / "Records.zkv";
    std::printf("folder: %d records (%.1f MB exchange file), %d attachments of %d KB\n", records,
                fs::file_size(exchange) / 1048576.0, attachments, kb);

    fs::path ours = work / "ours.zip", theirs = work / "theirs.zip", theirs8 = work / "theirs8.zip";
    auto pack = [&]() {
        HZIP hz = CreateZipFile(ours.string().c_str(), nullptr);
        Check(hz != nullptr, "create");
        Check(ZipAddFile(hz, "Records.zkv", exchange.string().c_str()) == 0, "add exchange file");
        Check(ZipAddFolder(hz, "Files") == 0, "add folder");
        for (const fs::path& p : files)
            Check(ZipAddFile(hz, ("Files\\" + p.filename().string()).c_str(), p.string().c_str()) == 0, "add");
        Check(CloseZip(hz) == 0, "close");
    };
    double packOurs = Best(pack);
    double packZip = Best([&]() {
        fs::remove(theirs);
        Check(Shell("cd '" + folder.string() + "' && zip -q -r '" + theirs.string() + "' Records.zkv Files") == 0,
              "zip");
    });
    double packZip8 = Best([&]() {
        fs::remove(theirs8);
        Check(Shell("cd '" + folder.string() + "' && zip -q -8 -r '" + theirs8.string() + "' Records.zkv Files") == 0,
              "zip -8");
    });
    std::printf("pack:    ours %8.1f ms (%.2f MB)   zip %8.1f ms (%.2f MB)   zip -8 %8.1f ms   ours/zip %.2f  "
                "ours/zip-8 %.2f\n",
                packOurs, fs::file_size(ours) / 1048576.0, packZip, fs::file_size(theirs) / 1048576.0, packZip8,
                packOurs / packZip, packOurs / packZip8);

    fs::path outOurs = work / "out-ours", outTheirs = work / "out-theirs";
    double readOurs = Best([&]() {
        fs::remove_all(outOurs);
        fs::create_directories(outOurs);
        HZIP reader = OpenZipReaderFile(ours.string().c_str(), nullptr);
        Check(reader != nullptr, "open");
        ZipEntryInfo archive;
        GetZipReaderItem(reader, -1, &archive);
        for (int i = 0; i < archive.index; ++i) {
            ZipEntryInfo e;
            Check(GetZipReaderItem(reader, i, &e) == 0, "describe");
            std::string target = (outOurs / e.name).string();
            Check(UnzipItem(reader, i, const_cast<char*>(target.c_str()), 0, UNZIP_FILENAME) == 0, "unzip");
        }
        CloseZipReader(reader);
    });
    double readUnzip = Best([&]() {
        fs::remove_all(outTheirs);
        fs::create_directories(outTheirs);
        Check(Shell("unzip -q -o '" + ours.string() + "' -d '" + outTheirs.string() + "'") == 0, "unzip");
    });
    Check(fs::file_size(outOurs / "Records.zkv") == fs::file_size(exchange), "read back");
    std::printf("read:    ours %8.1f ms   unzip %8.1f ms   ours/unzip %.2f\n", readOurs, readUnzip,
                readOurs / readUnzip);

    const fs::path mail = work / "mail.zip";
    double email = Best([&]() {
        fs::remove(mail);
        HZIP hz = CreateZipFile(mail.string().c_str(), nullptr);
        Check(hz != nullptr, "create");
        Check(ZipAddFolder(hz, "Files") == 0, "add folder");
        for (const fs::path& p : files)
            Check(ZipAddFile(hz, ("Files\\" + p.filename().string()).c_str(), p.string().c_str()) == 0, "add");
        Check(ZipAddFile(hz, "Records.zkv", exchange.string().c_str()) == 0, "add exchange file");
        Check(CloseZip(hz) == 0, "close");
    });
    std::printf("e-mail:  the folder packed as ZipExportFolder packs it, %d entries %8.1f ms (%.2f MB)\n",
                attachments + 2, email, fs::file_size(mail) / 1048576.0);

    double replace = Best(
        [&]() {
            fs::path archive = work / "replaced.zip";
            HZIP hz = CreateZipFile(archive.string().c_str(), nullptr);
            ZipAddFile(hz, "Records.zkv", exchange.string().c_str());
            ZipAddFolder(hz, "Files");
            CloseZip(hz);
            for (const fs::path& p : files)
                Check(ZipReplaceEntry(archive.string().c_str(), ("Files\\" + p.filename().string()).c_str(),
                                      p.string().c_str()) == 0,
                      "replace");
            Check(ZipReplaceEntry(archive.string().c_str(), "Records.zkv", exchange.string().c_str()) == 0, "replace");
        },
        1);
    std::printf("entry replacement (ZipReplaceEntry, not used by the program): %d entries replaced one by one "
                "%8.1f ms (one run)\n",
                attachments + 1, replace);
    fs::remove_all(work);
    return 0;
}
