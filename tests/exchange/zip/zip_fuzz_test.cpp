// Damaged zip archives from a fixed seed: cuts, byte flips, spliced runs and
// rewritten header fields of archives written by Python, by `zip` and by the
// writer itself. The reader must always end with a result code - never a
// crash, a read past the bytes or a name that leaves its folder (the
// sanitizer build watches the memory).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ZipExercise.h"
#include "ZipTestSupport.h"
#include "exchange/zip/ZipWriter.h"
#include "tests/support/ScratchDir.h"

namespace {

std::string WriterArchive(const char* password)
{
    HZIP hz = CreateZipInMemory(nullptr, 1 << 20, password);
    ZipAddFolder(hz, "Files");
    std::string text = zvtest::FixtureText();
    ZipAddMemory(hz, "Files\\a.txt", text.data(), 3000);
    ZipAddMemory(hz, "b.zip", text.data() + 100, 700);
    void* block = nullptr;
    uint32_t length = 0;
    ZipGetMemory(hz, &block, &length);
    std::string bytes(static_cast<const char*>(block), length);
    CloseZip(hz);
    return bytes;
}

std::string Mutate(std::string bytes, std::mt19937& rng)
{
    auto pick = [&](size_t n) { return n ? static_cast<size_t>(rng() % n) : 0; };
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        switch (rng() % 7) {
        case 0: bytes.resize(pick(bytes.size())); break;
        case 1: bytes[pick(bytes.size())] ^= static_cast<char>(1 + rng() % 255); break;
        case 2: bytes.erase(pick(bytes.size()), 1 + pick(64)); break;
        case 3: {
            const size_t from = pick(bytes.size()), at = pick(bytes.size());
            bytes.insert(at, bytes.substr(from, 1 + pick(80)));
            break;
        }
        case 4: {
            // A 16- or 32-bit field near a signature set to an extreme.
            size_t sig = bytes.find("PK", pick(bytes.size()));
            if (sig == std::string::npos) break;
            size_t at = sig + 4 + pick(42);
            static const uint32_t kValues[] = {0, 1, 0x7fff, 0xffff, 0x7fffffff, 0xffffffff, 0xfffffff0};
            uint32_t v = kValues[pick(7)];
            for (int b = 0; b < 4 && at + b < bytes.size(); ++b) bytes[at + b] = static_cast<char>(v >> (8 * b));
            break;
        }
        case 5: bytes.insert(pick(bytes.size() + 1), std::string("..\\..\\/C:", 1 + pick(9))); break;
        default: bytes[pick(bytes.size())] = static_cast<char>(rng()); break;
        }
    }
    return bytes;
}

}  // namespace

TEST(ZipFuzz, DamagedArchivesAlwaysEndWithAResult)
{
    std::vector<std::string> seeds = {WriterArchive(nullptr), WriterArchive("pw")};
    for (const char* name : {"python-mixed.zip", "python-evil-names.zip", "python-folder-attribute.zip",
                             "info-zip-plain.zip", "info-zip-secret.zip"})
        seeds.push_back(zvtest::ReadFileBytes(zvtest::FixturePath(std::string("zip/") + name)));
    std::mt19937 rng(20261211);
    zvtest::ScratchDir dir("zipfz");
    for (int round = 0; round < 3000; ++round) {
        const std::string& seed = seeds[round % seeds.size()];
        std::string bytes = Mutate(seed, rng);
        std::string failure;
        ASSERT_TRUE(zvtest::ExerciseZipBytes(bytes, failure)) << "round " << round << ": " << failure;
        if (round % 10 == 0) {
            ASSERT_TRUE(zvtest::ExerciseZipReplacement(bytes, dir.Path().string(), failure))
                << "round " << round << ": " << failure;
        }
    }
}
