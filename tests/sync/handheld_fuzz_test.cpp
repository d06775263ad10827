// Deterministic fuzzing of the handheld database reader: damaged copies of
// the fixtures (bytes flipped, runs overwritten, cut short) must each give
// either the lists or a failure code, never a crash, a hang or a read past a
// buffer (the host build runs this under ASan and UBSan); a failed pass
// leaves the desktop's lists as they were.
#include <gtest/gtest.h>

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "tests/support/ScratchDir.h"
#include "tests/sync/HandheldTestLists.h"

using namespace zvtest;

namespace {

struct Rng {
    uint64_t state;
    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 16);
    }
    size_t Below(size_t n) { return n ? Next() % n : 0; }
};

std::string Mutate(std::string bytes, Rng& rng)
{
    int kind = static_cast<int>(rng.Below(4));
    // Leave the first page's header alone now and then: damage behind a
    // valid header reaches the readers instead of stopping at the open.
    size_t from = rng.Below(2) ? 100 : 0;
    if (bytes.size() <= from) return bytes;
    switch (kind) {
    case 0:  // a few bytes flipped
        for (int i = 0, n = 1 + static_cast<int>(rng.Below(16)); i < n; ++i)
            bytes[from + rng.Below(bytes.size() - from)] ^= static_cast<char>(1 + rng.Below(255));
        break;
    case 1: {  // a run overwritten
        size_t at = from + rng.Below(bytes.size() - from);
        size_t length = std::min(bytes.size() - at, 1 + rng.Below(600));
        char fill = static_cast<char>(rng.Below(256));
        for (size_t i = 0; i < length; ++i) bytes[at + i] = rng.Below(3) ? fill : static_cast<char>(rng.Next());
        break;
    }
    case 2:  // cut short
        bytes.resize(from + rng.Below(bytes.size() - from));
        break;
    default:  // one byte of a 512-byte page's cell area set to an extreme
        bytes[from + rng.Below(bytes.size() - from)] = rng.Below(2) ? '\xFF' : '\0';
        break;
    }
    return bytes;
}

TEST(HandheldFuzz, DamagedFilesGiveListsOrCodes)
{
    const char* seeds[] = {"plain.db", "encrypted.db", "quote_in_uid.db"};
    ScratchDir dir;
    std::string path = (dir / "received.db").string();
    Rng rng{0x9E3779B97F4A7C15ull};
    int failures = 0, reads = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = ReadFileBytes(HandheldFixture(seeds[round % 3]));
        for (int i = 0, n = 1 + static_cast<int>(rng.Below(3)); i < n; ++i) bytes = Mutate(bytes, rng);
        dir.WriteFile("received.db", bytes);

        HandheldLists lists;
        int result = ReadFile(path, lists);
        ASSERT_LE(result, 0);
        ASSERT_GE(result, kHandheldForeignSchema);
        (result == kHandheldOk ? reads : failures)++;

        // The desktop's side: one record in a category; a failed pass over
        // the deleted lists must leave it as it was.
        CCategoryList categories;
        CRecordList records;
        static const uint8_t c1[8] = {0, 0, 0, 0, 0, 0, 0, 0xC1};
        auto* category = new CCategoryItem;
        category->SetKey(c1);
        category->SetId(7);
        categories.Add(category);
        auto* record = new CRecord;
        record->SetId(1002);
        record->SetCategoryKey(c1);
        record->SetField(0, "kept");
        records.Add(record);
        std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabase(path.c_str());
        if (database->ApplyDeletedCategories(categories, records) != kHandheldOk) {
            EXPECT_EQ(1, categories.GetCount());
            EXPECT_FALSE(IsNullUniqueKey(record->GetCategoryKey()));
        }
        if (database->ApplyDeletedRecords(records) != kHandheldOk) {
            EXPECT_FALSE(record->IsDeleted());
        }
    }
    // Both outcomes occur, so the damage reaches past the open.
    EXPECT_GT(failures, 0);
    EXPECT_GT(reads, 0);
}

}  // namespace
